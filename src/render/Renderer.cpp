#include "Renderer.h"

#include "Chemistry.h"
#include "Exchange.h"
#include "Formula.h"
#include "ImageSurface.h"
#include "MoleculePicture.h"
#include "Output.h"
#include "RenderText.h"
#include "ShapeLayout.h"
#include "Sheet.h"
#include "SvgSurface.h"
#include "WholeFile.h"

#include <QBuffer>
#include <QFontInfo>
#include <QHash>
#include <QImageWriter>
#include <QMutex>
#include <QThreadPool>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <new>
#include <sys/stat.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

// Enough files at once to keep the disk busy while others are drawn.
constexpr int kWriters = 8;

class FixedDots final : public DotSlots
{
public:
    explicit FixedDots(const std::array<bool, kCount> &dots) : m_dots(dots) { }
    short Value(int index) const override { return m_dots[std::size_t(index)] ? 1 : 0; }
    void setValue(int index, short value) override { m_dots[std::size_t(index)] = value == 1; }

private:
    std::array<bool, kCount> m_dots;
};

// DrawPic reads neither; they only complete the engine.
class NoSpin final : public SpinButton
{
public:
    short Max() const override { return 0; }
    short Value() const override { return 0; }
};

class NoCaption final : public Caption
{
public:
    void setCaption(const QString &) override { }
};

// The engine drawn once on `picOut` with the picture's symbol, dots and radius.
class DrawnFormula
{
public:
    DrawnFormula(Surface &picOut, const Picture &picture)
        : m_dots(picture.dots), m_formula(picOut, m_dots, m_spin, m_caption)
    {
        m_formula.strFormula = picture.symbol;
        m_formula.sngRadius = picture.radius;
        m_formula.DrawPic();
    }
    const Formula &formula() const { return m_formula; }

private:
    FixedDots m_dots;
    NoSpin m_spin;
    NoCaption m_caption;
    Formula m_formula;
};

// Ink is black on white, so a pixel's grey says how much of it is ink.
QImage clearWhite(const QImage &opaque)
{
    QImage image(opaque.size(), QImage::Format_ARGB32);
    image.setDotsPerMeterX(opaque.dotsPerMeterX());
    image.setDotsPerMeterY(opaque.dotsPerMeterY());
    for (int y = 0; y < image.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(opaque.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            out[x] = qRgba(0, 0, 0, 255 - qGray(in[x]));
    }
    return image;
}

// True when every pixel is a grey: black ink, white ground and the shades between.
bool allGrey(const QImage &image)
{
    if (image.format() != QImage::Format_RGB32)
        return false;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qRed(line[x]) != qGreen(line[x]) || qGreen(line[x]) != qBlue(line[x]))
                return false;
        }
    }
    return true;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    // A grey PNG holds the same pixels in a third of the bytes, and is made
    // in a third of the time: a large molecule's picture is mostly encoding.
    if (qstrcmp(format, "png") == 0 && allGrey(image)) {
        if (!writer.write(image.convertToFormat(QImage::Format_Grayscale8)))
            throw RuntimeError(error::kInternalError, writer.errorString());
        return bytes;
    }
    if (!writer.write(image))
        throw RuntimeError(error::kInternalError, writer.errorString());
    return bytes;
}

// Why a file could not be written, in words.
QString fileReason(const FileError &e)
{
    if (e.notAFileMode) {
        const unsigned mode = e.notAFileMode;
        if (S_ISDIR(mode))
            return RenderText::tr("it is a folder");
        if (S_ISSOCK(mode))
            return RenderText::tr("it is a socket");
        if (S_ISBLK(mode))
            return RenderText::tr("it is a block device");
        return RenderText::tr("it is not a file");
    }
    switch (e.code) {
    case ENOENT:
    case ENOTDIR: return RenderText::tr("no such folder");
    case EACCES:
    case EPERM: return RenderText::tr("permission denied");
    case EROFS: return RenderText::tr("read-only file system");
    case EISDIR: return RenderText::tr("it is a folder");
    case ENAMETOOLONG: return RenderText::tr("file name too long");
    case EILSEQ:
    case EINVAL: return RenderText::tr("invalid file name");
    case ENOSPC:
    case EDQUOT: return RenderText::tr("no space left on device");
    case EIO: return RenderText::tr("input/output error");
    case EPIPE: return RenderText::tr("the reader closed the pipe");
    case EBADF: return RenderText::tr("no such open descriptor");
    default: return QString::fromLocal8Bit(std::strerror(e.code));
    }
}

// Why a picture could not be made, in words: the surfaces word their errors
// for the window's boxes.
QString pictureReason(const RuntimeError &e)
{
    switch (e.number()) {
    case error::kOutOfMemory: return RenderText::tr("not enough memory for the picture");
    case error::kOverflow: return RenderText::tr("the picture is too large to draw");
    case error::kInvalidPropertyValue: return RenderText::tr("the font cannot take this value");
    default: return RenderText::tr("cannot encode the picture (%1)").arg(e.description());
    }
}

QString outputName(const QString &output)
{
    return output == u"-"_s ? RenderText::tr("standard output") : output;
}

// The whole units that hold `rect`, so a bitmap and an SVG cut the same picture.
QRect wholeUnits(const QRectF &rect)
{
    const QPoint topLeft(int(std::floor(rect.left())), int(std::floor(rect.top())));
    const QPoint past(int(std::ceil(rect.right())), int(std::ceil(rect.bottom())));
    return QRect(topLeft, QSize(past.x() - topLeft.x(), past.y() - topLeft.y()));
}

Drawing moleculeDrawing(const Picture &picture)
{
    const MeasureText measure = measureIn(picture.font);
    return withBlanks(picture.style == MarkStyle::Shape
            ? layOutShape(*picture.molecule, measure, picture.radius)
            : layOutMolecule(*picture.molecule, measure, picture.style, picture.radius, picture.markOptions),
        picture.blanks);
}

// An atom's ion: its picture's crop with the brackets and the charge around it.
IonFrame atomIonFrame(const Picture &picture, const Formula &f)
{
    return ionFrame(QRectF(f.sngCropLeft, f.sngCropTop, f.sngCropWidth, f.sngCropHeight), picture.charge,
        measureIn(picture.font), picture.radius);
}

// The picture as the job wants it: with `transparent`, the white ground cleared.
QImage finished(const Picture &picture, const QImage &image)
{
    return picture.transparent ? clearWhite(image) : image;
}

Drawing frameDrawing(const IonFrame &frame)
{
    Drawing drawing;
    drawing.lines = frame.brackets;
    drawing.texts.push_back(frame.charge);
    drawing.crop = frame.crop;
    return drawing;
}

} // namespace

QImage renderImage(const Picture &picture)
{
    if (picture.molecule) {
        const Drawing drawing = moleculeDrawing(picture);
        const QRect crop = wholeUnits(drawing.crop);
        ImageSurface surface(crop.size(), picture.font, 0, picture.scale);
        paintDrawing(surface, drawing, picture.font, -QPointF(crop.topLeft()));
        return finished(picture, surface.Image());
    }
    ImageSurface picOut(kDrawingArea, picture.font, 0, picture.scale);
    ImageSurface picTemp(QSize(1, 1), picture.font, 0, picture.scale);
    const DrawnFormula drawn(picOut, picture);
    const QImage &image = cropPicture(drawn.formula(), picOut, picTemp);
    if (picture.charge == 0)
        return finished(picture, image);

    const Formula &f = drawn.formula();
    const IonFrame frame = atomIonFrame(picture, f);
    const QRect crop = wholeUnits(frame.crop);
    const QPointF origin = crop.topLeft();
    ImageSurface surface(crop.size(), picture.font, 0, picture.scale);
    // The atom's picture as the export cuts it, at the whole unit its crop starts on.
    const QPointF at(std::round(f.sngCropLeft) - origin.x(), std::round(f.sngCropTop) - origin.y());
    surface.PaintPicture(image, float(at.x()), float(at.y()), 0, 0,
        float(image.width()) / float(picture.scale), float(image.height()) / float(picture.scale));
    paintDrawing(surface, frameDrawing(frame), picture.font, -origin);
    return finished(picture, surface.Image());
}

QByteArray renderSvg(const Picture &picture)
{
    if (picture.molecule) {
        const Drawing drawing = moleculeDrawing(picture);
        const QRect crop = wholeUnits(drawing.crop);
        SvgSurface surface(crop.size(), picture.font);
        paintDrawing(surface, drawing, picture.font, -QPointF(crop.topLeft()));
        return surface.svg(
            QRectF(QPointF(0, 0), QSizeF(crop.size())), picture.scale, !picture.transparent, picture.title);
    }
    SvgSurface picOut(kDrawingArea, picture.font);
    const DrawnFormula drawn(picOut, picture);
    const Formula &f = drawn.formula();
    QRectF crop(f.sngCropLeft, f.sngCropTop, f.sngCropWidth, f.sngCropHeight);
    if (picture.charge != 0) {
        const IonFrame frame = atomIonFrame(picture, f);
        picOut.setClipped(false);
        paintDrawing(picOut, frameDrawing(frame), picture.font);
        crop = wholeUnits(frame.crop);
    }
    return picOut.svg(
        crop, picture.scale, !picture.transparent, picture.title.isEmpty() ? picture.symbol : picture.title);
}

QByteArray renderBytes(const RenderJob &job)
{
    switch (job.format) {
    case Format::Bmp: return encoded(renderImage(job.picture), "bmp");
    case Format::Png: return encoded(renderImage(job.picture), "png");
    case Format::Svg: return renderSvg(job.picture);
    }
    return {};
}

QString writeSheet(const Sheet &sheet, SheetFormat format, const QString &output)
{
    QList<QByteArray> documents;
    try {
        documents = sheetDocuments(sheet, format);
    } catch (const ChemistryError &e) {
        return RenderText::tr("%1: cannot make the sheet: %2").arg(outputName(output), e.message);
    } catch (const RuntimeError &e) {
        return RenderText::tr("%1: cannot make the sheet: %2").arg(outputName(output), pictureReason(e));
    } catch (const std::bad_alloc &) {
        return RenderText::tr("%1: cannot make the sheet: %2")
            .arg(outputName(output), RenderText::tr("not enough memory for the picture"));
    }
    for (qsizetype k = 0; k < documents.size(); ++k) {
        const QString path = sheetPagePath(output, int(k));
        try {
            writeOutput(path, documents[k]);
        } catch (const FileError &e) {
            return RenderText::tr("%1: cannot write: %2").arg(outputName(path), fileReason(e));
        }
    }
    return {};
}

Renderer::Renderer(std::function<void(const QString &)> warn) : m_warn(std::move(warn))
{ }

QString renderAndWrite(const RenderJob &job)
{
    QByteArray bytes;
    try {
        bytes = renderBytes(job);
    } catch (const ChemistryError &e) {
        return RenderText::tr("%1: cannot make the picture: %2").arg(outputName(job.output), e.message);
    } catch (const RuntimeError &e) {
        return RenderText::tr("%1: cannot make the picture: %2")
            .arg(outputName(job.output), pictureReason(e));
    } catch (const std::bad_alloc &) {
        return RenderText::tr("%1: cannot make the picture: %2")
            .arg(outputName(job.output), RenderText::tr("not enough memory for the picture"));
    }
    try {
        writeOutput(job.output, bytes);
    } catch (const FileError &e) {
        return RenderText::tr("%1: cannot write: %2").arg(outputName(job.output), fileReason(e));
    }
    return {};
}

QString Renderer::run(const RenderJob &job)
{
    warnAbout(job);
    return renderAndWrite(job);
}

void Renderer::warnAbout(const RenderJob &job)
{
    checkFamily(job);
    checkForms(job);
}

void Renderer::runAll(
    const QList<RenderJob> &jobs, const std::function<void(qsizetype, const QString &)> &done)
{
    // One chain of jobs per output, in the order of their first job.
    std::vector<std::vector<qsizetype>> chains;
    QHash<QString, std::size_t> chainOf;
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        checkFamily(jobs[i]);
        checkForms(jobs[i]);
        const QString output = outputKey(jobs[i].output);
        auto at = chainOf.constFind(output);
        if (at == chainOf.cend()) {
            at = chainOf.insert(output, chains.size());
            chains.emplace_back();
        }
        chains[at.value()].push_back(i);
    }

    QMutex reporting;
    QThreadPool writers;
    writers.setMaxThreadCount(kWriters);
    for (const auto &chain : chains) {
        writers.start([&jobs, &chain, &done, &reporting] {
            for (const qsizetype i : chain) {
                const QString failure = renderAndWrite(jobs[i]);
                const QMutexLocker one(&reporting);
                done(i, failure);
            }
        });
    }
    writers.waitForDone();
}

void Renderer::checkForms(const RenderJob &job)
{
    if (!job.resonance || !job.picture.molecule)
        return;
    const QString &title = job.picture.title;
    bool more = false; // found, or perhaps there
    for (const Component &component : job.picture.molecule->components) {
        more = more || component.forms > 1 || component.formsStopped;
        if (component.formsLeftOut > 0) {
            m_warn(RenderText::tr("%1: %2 of the %3 resonance forms found are drawn")
                       .arg(title)
                       .arg(component.forms)
                       .arg(component.forms + component.formsLeftOut));
        }
        if (component.formsStopped && component.form == 0)
            m_warn(RenderText::tr("%1: the search for resonance forms stopped at its limits; there may be more")
                       .arg(title));
    }
    if (!more)
        m_warn(RenderText::tr("%1: no resonance form besides the one given").arg(title));
    const bool forms = std::any_of(job.picture.molecule->components.cbegin(),
        job.picture.molecule->components.cend(), [](const Component &c) { return c.forms > 1; });
    if (forms && job.picture.style == MarkStyle::DotCross) {
        // Where a pair moves to another bond or atom, its electrons' marks
        // cannot be followed: each form's are given by the rules alone.
        m_warn(RenderText::tr("%1: in dots and crosses, each resonance form's electrons take their marks by "
                              "the rules alone; a pair that moves is not followed from form to form")
                   .arg(title));
    }
}

void Renderer::checkFamily(const RenderJob &job)
{
    // The start font is ours to choose; its replacement by a metric twin is
    // what the user expects and not worth a word.
    const QString &name = job.picture.font.Name;
    if (!job.fontNamed || m_warned.contains(name))
        return;
    m_warned.insert(name);
    const QString used = QFontInfo(QFont(name)).family();
    if (used.compare(name, Qt::CaseInsensitive) != 0)
        m_warn(RenderText::tr("the font \"%1\" is not on this system; drawing with \"%2\"").arg(name, used));
}

} // namespace zembrel
