#include "Formula.h"
#include "ImageSurface.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

using namespace zembrel;

namespace {

struct NoDots final : DotSlots
{
    short Value(int) const override { return 0; }
    void setValue(int, short) override { }
};

struct StartSpin final : SpinButton
{
    short Max() const override { return 20; }
    short Value() const override { return 17; }
};

struct NoCaption final : Caption
{
    void setCaption(const QString &) override { }
};

class Preview final : public QWidget
{
public:
    Preview() : m_surface(QSize(120, 109), startFont()), m_formula(m_surface, m_dots, m_spin, m_caption)
    {
        setWindowTitle(QStringLiteral("Зембрель"));
        setFixedSize(120, 109);
        m_surface.setChangeHandler([this] { update(); });
        m_formula.blnDotEvents = true;
        m_formula.vscRadiusUpDown_Change();
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        m_formula.keyStroke(event->key(), event->modifiers(), event->text());
    }
    void paintEvent(QPaintEvent *) override { QPainter(this).drawImage(0, 0, m_surface.Image()); }

private:
    ImageSurface m_surface;
    NoDots m_dots;
    StartSpin m_spin;
    NoCaption m_caption;
    Formula m_formula;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Preview preview;
    preview.show();
    return app.exec();
}
