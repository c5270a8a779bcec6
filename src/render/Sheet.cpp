#include "Sheet.h"

#include "RenderText.h"
#include "Renderer.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QSvgRenderer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace zembrel {

namespace {

constexpr double kMillimetresPerPixel = 25.4 / kDotsPerInch; // a picture's units, 96 to the inch
constexpr double kMargin = 15; // mm: what printers keep clear, and a hand's hold
constexpr double kGap = 6; // mm between cells
constexpr double kTitleHeight = 12; // mm
constexpr double kCaptionHeight = 11; // mm: two lines of 9 pt
constexpr double kPngDotsPerInch = 150;

// Paints pages in millimetres on any device.
class PagePainter
{
public:
    PagePainter(QPainter &painter, double dotsPerMillimetre, QSizeF page)
        : m_painter(painter), m_scale(dotsPerMillimetre), m_page(page)
    { }

    // An answers page has its pictures filled in and says so in its title.
    void paint(const Sheet &sheet, int firstPicture, bool answerPage)
    {
        m_painter.save();
        m_painter.scale(m_scale, m_scale);
        m_painter.fillRect(QRectF(QPointF(0, 0), m_page), Qt::white);
        double top = kMargin;
        const double width = m_page.width() - 2 * kMargin;
        QFont font(sheet.pictures.isEmpty() ? u"Arial"_s : sheet.pictures.front().picture.font.Name);
        if (!sheet.title.isEmpty() || answerPage) {
            QFont bold = font;
            bold.setPointSizeF(points(14));
            bold.setBold(true);
            m_painter.setFont(bold);
            m_painter.setPen(Qt::black);
            const QString title = answerPage
                ? (sheet.title.isEmpty() ? RenderText::tr("Answers") : RenderText::tr("%1: answers").arg(sheet.title))
                : sheet.title;
            m_painter.drawText(QRectF(kMargin, top, width, kTitleHeight), Qt::AlignLeft | Qt::AlignTop, title);
            top += kTitleHeight;
        }
        const double cellWidth = (width - (kSheetColumns - 1) * kGap) / kSheetColumns;
        const double cellHeight = (m_page.height() - kMargin - top - (kSheetRows - 1) * kGap) / kSheetRows;
        QFont small = font;
        small.setPointSizeF(points(9));
        for (int k = 0; k < kSheetColumns * kSheetRows; ++k) {
            const int index = firstPicture + k;
            if (index >= sheet.pictures.size())
                break;
            const QRectF cell(kMargin + (k % kSheetColumns) * (cellWidth + kGap),
                top + (k / kSheetColumns) * (cellHeight + kGap), cellWidth, cellHeight);
            Picture picture = sheet.pictures[index].picture;
            if (answerPage)
                picture.blanks = {};
            picture.scale = 1;
            QSvgRenderer svg(renderSvg(picture));
            // At its size on screen, or smaller where the cell is smaller.
            const QSizeF natural = QSizeF(svg.defaultSize()) * kMillimetresPerPixel;
            const QSizeF room(cell.width(), cell.height() - kCaptionHeight);
            const double fit = std::min({1.0, room.width() / natural.width(), room.height() / natural.height()});
            const QSizeF size = natural * fit;
            svg.render(&m_painter,
                QRectF(QPointF(cell.center().x() - size.width() / 2, cell.top() + (room.height() - size.height()) / 2),
                    size));
            m_painter.setFont(small);
            m_painter.setPen(Qt::black);
            m_painter.drawText(QRectF(cell.left(), cell.bottom() - kCaptionHeight, cell.width(), kCaptionHeight),
                Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                RenderText::tr("%1. %2").arg(index + 1).arg(sheet.pictures[index].caption));
        }
        m_painter.restore();
    }

private:
    // The size to give a font of `size` points: the painter's millimetres
    // scale it once more.
    double points(double size) const { return size / m_scale; }

    QPainter &m_painter;
    double m_scale;
    QSizeF m_page;
};

struct Page
{
    int firstPicture;
    bool answers;
};

QList<Page> pagesOf(const Sheet &sheet)
{
    QList<Page> pages;
    const int perPage = kSheetColumns * kSheetRows;
    for (const bool answers : {false, true}) {
        if (answers && !sheet.answers)
            break;
        for (int first = 0; first < std::max<qsizetype>(sheet.pictures.size(), 1); first += perPage)
            pages.push_back({first, answers});
    }
    return pages;
}

} // namespace

QList<QByteArray> sheetDocuments(const Sheet &sheet, SheetFormat format)
{
    const QSizeF page = sheet.page.size(QPageSize::Millimeter);
    const QList<Page> pages = pagesOf(sheet);
    QList<QByteArray> documents;
    if (format != SheetFormat::Pdf) {
        for (const Page &each : pages) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            if (format == SheetFormat::Svg) {
                QSvgGenerator generator;
                generator.setOutputDevice(&buffer);
                const double dotsPerMillimetre = kDotsPerInch / 25.4;
                generator.setResolution(kDotsPerInch);
                generator.setSize((page * dotsPerMillimetre).toSize());
                generator.setViewBox(QRectF(QPointF(0, 0), page * dotsPerMillimetre));
                generator.setTitle(sheet.title);
                QPainter painter(&generator);
                PagePainter(painter, dotsPerMillimetre, page).paint(sheet, each.firstPicture, each.answers);
            } else {
                const double dotsPerMillimetre = kPngDotsPerInch / 25.4;
                QImage image((page * dotsPerMillimetre).toSize(), QImage::Format_RGB32);
                image.setDotsPerMeterX(int(std::lround(dotsPerMillimetre * 1000)));
                image.setDotsPerMeterY(int(std::lround(dotsPerMillimetre * 1000)));
                {
                    QPainter painter(&image);
                    painter.setRenderHint(QPainter::Antialiasing);
                    painter.setRenderHint(QPainter::TextAntialiasing);
                    PagePainter(painter, dotsPerMillimetre, page)
                        .paint(sheet, each.firstPicture, each.answers);
                }
                image.save(&buffer, "png");
            }
            documents << bytes;
        }
        return documents;
    }
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(sheet.page);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(1200);
        writer.setTitle(sheet.title);
        writer.setCreator(u"zembrel-render"_s);
        QPainter painter(&writer);
        const double dotsPerMillimetre = 1200 / 25.4;
        for (qsizetype k = 0; k < pages.size(); ++k) {
            if (k > 0)
                writer.newPage();
            PagePainter(painter, dotsPerMillimetre, page)
                .paint(sheet, pages[k].firstPicture, pages[k].answers);
        }
    }
    documents << bytes;
    return documents;
}

QString sheetPagePath(const QString &output, int index)
{
    if (index == 0)
        return output;
    const qsizetype slash = output.lastIndexOf(u'/');
    const qsizetype dot = output.lastIndexOf(u'.');
    const qsizetype stem = dot > slash + 1 ? dot : output.size();
    return output.left(stem) + u'-' + QString::number(index + 1) + output.mid(stem);
}

} // namespace zembrel
