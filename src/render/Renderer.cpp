#include "Renderer.h"

#include "Exchange.h"
#include "Formula.h"
#include "ImageSurface.h"
#include "SvgSurface.h"
#include "WholeFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QHash>
#include <QImageWriter>
#include <QThreadPool>

#include <cerrno>
#include <cstdio>
#include <new>
#include <optional>
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

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        throw RuntimeError(error::kIoError,
            u"Не удалось закодировать картинку %1 × %2 пикселей (%3)"_s.arg(image.width())
                .arg(image.height())
                .arg(writer.errorString()));
    }
    return bytes;
}

void writeStandardOutput(const QByteArray &bytes)
{
    QFile out;
    errno = 0;
    if (!out.open(stdout, QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush())
        throw fileError(errno ? errno : EIO);
}

// One name for each file, however a job names it: through a link to the
// file or its folder, or with "." and "..".
QString outputKey(const QString &output)
{
    if (output == u"-"_s)
        return output;
    const QFileInfo file(output);
    if (const QString real = file.canonicalFilePath(); !real.isEmpty())
        return real;
    if (const QString folder = file.absoluteDir().canonicalPath(); !folder.isEmpty())
        return folder + u'/' + file.fileName();
    return file.absoluteFilePath();
}

} // namespace

QImage renderImage(const Picture &picture)
{
    ImageSurface picOut(kDrawingArea, picture.font, 0, picture.scale);
    ImageSurface picTemp(QSize(1, 1), picture.font, 0, picture.scale);
    const DrawnFormula drawn(picOut, picture);
    const QImage &image = cropPicture(drawn.formula(), picOut, picTemp);
    return picture.transparent ? clearWhite(image) : image;
}

QByteArray renderSvg(const Picture &picture)
{
    SvgSurface picOut(kDrawingArea, picture.font);
    const DrawnFormula drawn(picOut, picture);
    const Formula &f = drawn.formula();
    return picOut.svg(QRectF(f.sngCropLeft, f.sngCropTop, f.sngCropWidth, f.sngCropHeight), picture.scale,
        !picture.transparent, picture.symbol);
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

Renderer::Renderer(std::function<void(const QString &)> warn) : m_warn(std::move(warn))
{ }

void renderAndWrite(const RenderJob &job)
{
    const QByteArray bytes = renderBytes(job);
    if (job.output == u"-"_s)
        writeStandardOutput(bytes);
    else
        writeWholeFile(job.output, [&bytes](QIODevice &file) { return file.write(bytes) == bytes.size(); });
}

void Renderer::run(const RenderJob &job)
{
    checkFamily(job.picture.font);
    renderAndWrite(job);
}

std::map<qsizetype, RuntimeError> Renderer::runAll(const QList<RenderJob> &jobs)
{
    // One chain of jobs per output, in the order of their first job.
    std::vector<std::vector<qsizetype>> chains;
    QHash<QString, std::size_t> chainOf;
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        checkFamily(jobs[i].picture.font);
        const QString output = outputKey(jobs[i].output);
        auto at = chainOf.constFind(output);
        if (at == chainOf.cend()) {
            at = chainOf.insert(output, chains.size());
            chains.emplace_back();
        }
        chains[at.value()].push_back(i);
    }

    std::vector<std::optional<RuntimeError>> failures(std::size_t(jobs.size()));
    QThreadPool writers;
    writers.setMaxThreadCount(kWriters);
    for (const auto &chain : chains) {
        // Each job's slot is written by its chain's thread alone.
        writers.start([&jobs, &failures, &chain] {
            for (const qsizetype i : chain) {
                try {
                    renderAndWrite(jobs[i]);
                } catch (const RuntimeError &e) {
                    failures[std::size_t(i)] = e;
                } catch (const std::bad_alloc &) {
                    failures[std::size_t(i)] = RuntimeError(error::kOutOfMemory, u"Недостаточно памяти"_s);
                }
            }
        });
    }
    writers.waitForDone();

    std::map<qsizetype, RuntimeError> failed;
    for (std::size_t i = 0; i < failures.size(); ++i) {
        if (failures[i])
            failed.emplace(qsizetype(i), *failures[i]);
    }
    return failed;
}

void Renderer::checkFamily(const SurfaceFont &font)
{
    if (m_warned.contains(font.Name))
        return;
    m_warned.insert(font.Name);
    const QString used = QFontInfo(QFont(font.Name)).family();
    if (used.compare(font.Name, Qt::CaseInsensitive) != 0)
        m_warn(u"шрифта «%1» в системе нет, рисую шрифтом «%2»"_s.arg(font.Name, used));
}

} // namespace zembrel
