#include "PictureView.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace zembrel {

namespace {

// The picture a drag shows under the pointer; large molecules need not be whole.
constexpr int kDragPictureSide = 160;

} // namespace

PictureView::PictureView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::OpenHandCursor);
}

void PictureView::setImage(const QImage &image)
{
    m_image = image;
    setMinimumSize(shownSize());
    updateGeometry();
    update();
}

QSize PictureView::shownSize() const
{
    return (QSizeF(m_image.size()) / m_image.devicePixelRatio()).toSize();
}

QSize PictureView::sizeHint() const
{
    return shownSize();
}

void PictureView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_image.isNull())
        return;
    const QSize size = shownSize();
    painter.drawImage(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), m_image);
}

void PictureView::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton && !m_image.isNull();
    m_pressedAt = event->position().toPoint();
    QWidget::mousePressEvent(event);
}

void PictureView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed || !(event->buttons() & Qt::LeftButton) || !m_dragData
        || (event->position().toPoint() - m_pressedAt).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressed = false;
    std::unique_ptr<QMimeData> carried = m_dragData();
    if (!carried)
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(carried.release());
    const bool large = m_image.width() > kDragPictureSide || m_image.height() > kDragPictureSide;
    drag->setPixmap(QPixmap::fromImage(large ? m_image.scaled(kDragPictureSide, kDragPictureSide,
                                           Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                             : m_image));
    drag->exec(Qt::CopyAction);
}

} // namespace zembrel
