#pragma once

#include <QToolButton>

namespace zembrel {

// A dot-slot button: a toggle showing the dot picture. Down, it must be plain
// to see which slots are on, so it has a coloured, sunken face with a dark
// frame, the picture still on it.
class DotButton final : public QToolButton
{
    Q_OBJECT

public:
    explicit DotButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace zembrel
