#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <memory>

class QMimeData;

namespace zembrel {

// Shows a picture in the middle of a white ground, at its own size; a drag
// that starts on it carries what `dragData` gives.
class PictureView final : public QWidget
{
    Q_OBJECT

public:
    explicit PictureView(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }
    void setDragData(std::function<std::unique_ptr<QMimeData>()> dragData)
    {
        m_dragData = std::move(dragData);
    }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QSize shownSize() const;

    QImage m_image;
    std::function<std::unique_ptr<QMimeData>()> m_dragData;
    QPoint m_pressedAt;
    bool m_pressed = false;
};

} // namespace zembrel
