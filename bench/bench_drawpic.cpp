#include "Formula.h"
#include "ImageSurface.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <array>

using namespace zembrel;

namespace {

struct AllDots final : DotSlots
{
    short Value(int) const override { return 1; }
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

void BM_DrawPicTwoLettersAllDots(benchmark::State &state)
{
    ImageSurface surface(QSize(120, 109), startFont());
    AllDots dots;
    StartSpin spin;
    NoCaption caption;
    Formula formula(surface, dots, spin, caption);
    formula.vscRadiusUpDown_Change();
    formula.strFormula = QStringLiteral("Na");
    for (auto _ : state)
        formula.DrawPic();
}
BENCHMARK(BM_DrawPicTwoLettersAllDots);

void BM_Cls(benchmark::State &state)
{
    ImageSurface surface(QSize(120, 109), startFont());
    for (auto _ : state)
        surface.Cls();
}
BENCHMARK(BM_Cls);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
