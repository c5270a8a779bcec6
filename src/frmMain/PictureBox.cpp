#include "PictureBox.h"

#include "ImageSurface.h"

#include <QPainter>

namespace zembrel {

PictureBox::PictureBox(ImageSurface &surface, QWidget *parent) : QFrame(parent), m_surface(surface)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_surface.setChangeHandler([this] { update(); });
    m_surface.setScreenDevice(this);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_surface.Image());
    painter.end();
    QFrame::paintEvent(event);
}

} // namespace zembrel
