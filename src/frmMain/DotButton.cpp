#include "DotButton.h"

#include <QPainter>
#include <QStyleOption>

namespace zembrel {

DotButton::DotButton(QWidget *parent) : QToolButton(parent)
{
    setCheckable(true);
}

void DotButton::paintEvent(QPaintEvent *event)
{
    if (!isChecked()) {
        QToolButton::paintEvent(event);
        return;
    }
    const QColor highlight = palette().color(QPalette::Highlight);
    const QColor base = palette().color(QPalette::Base);
    // Half the highlight over the base: clearly coloured, and the black dot on it stays plain.
    const QColor face((highlight.red() + base.red()) / 2, (highlight.green() + base.green()) / 2,
        (highlight.blue() + base.blue()) / 2);
    const QColor frame = highlight.darker(170);

    QPainter painter(this);
    const QRect outer = rect();
    painter.fillRect(outer, frame);
    const QRect inner = outer.adjusted(2, 2, -2, -2);
    painter.fillRect(inner, face);
    // A shadow along the inner top and left edges: the face lies below the frame.
    painter.fillRect(QRect(inner.topLeft(), QSize(inner.width(), 1)), face.darker(130));
    painter.fillRect(QRect(inner.topLeft(), QSize(1, inner.height())), face.darker(130));

    // The picture where it stands when up, a pixel lower and to the right, as pressed.
    const QPixmap dot = icon().pixmap(iconSize(), devicePixelRatio());
    const QSize shown = dot.deviceIndependentSize().toSize();
    painter.drawPixmap(
        QRect(outer.center() - QPoint(shown.width() / 2, shown.height() / 2) + QPoint(1, 1), shown), dot);

    // Focus reached by the keyboard shows as a light ring inside the frame, as the style shows it on a
    // button that is up.
    QStyleOption state;
    state.initFrom(this);
    if (state.state.testFlags(QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange)) {
        painter.setPen(base);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(inner.adjusted(0, 0, -1, -1));
    }
}

} // namespace zembrel
