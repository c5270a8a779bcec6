#pragma once

#include <QFrame>

namespace zembrel {

class ImageSurface;

// Shows a surface's persistent bitmap inside a sunken 2-px border. Painting
// only blits the bitmap: covering or minimising the window never redraws
// the formula.
class PictureBox final : public QFrame
{
    Q_OBJECT

public:
    explicit PictureBox(ImageSurface &surface, QWidget *parent = nullptr);

    static constexpr int kBorder = 2;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ImageSurface &m_surface;
};

} // namespace zembrel
