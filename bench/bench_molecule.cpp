#include "Drawing.h"
#include "Formula.h"
#include "Molecule.h"
#include "Renderer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <optional>

using namespace zembrel;

namespace {

// Ibuprofen's 2-(dimethylamino)ethyl ester: 20 heavy atoms, a ring, a branch,
// lone pairs on O and N; 47 atoms with its hydrogens.
const QString kSmiles = QStringLiteral("CC(C)Cc1ccc(cc1)C(C)C(=O)OCCN(C)C");

// Text measured as the renderer measures it: the start font at 96 dpi.
struct Fonts
{
    Fonts()
    {
        device.setDotsPerMeterX(3780);
        device.setDotsPerMeterY(3780);
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(21.75);
        symbols.emplace(font, &device);
        font.setPointSizeF(14.5);
        charges.emplace(font, &device);
    }
    MeasureText measure() const
    {
        return [this](const QString &text, TextRole role) {
            const QFontMetricsF &m = role == TextRole::Charge ? *charges : *symbols;
            return TextSize{float(m.horizontalAdvance(text)), float(m.height()), float(m.ascent())};
        };
    }
    QImage device{1, 1, QImage::Format_RGB32};
    std::optional<QFontMetricsF> symbols;
    std::optional<QFontMetricsF> charges;
};

// Every benchmark runs with both layouts: the textbook one (the default, 1)
// and the toolkit's depiction (0) as the baseline beside it.
MoleculeLayout layoutOf(std::int64_t textbook)
{
    return textbook != 0 ? MoleculeLayout::Textbook : MoleculeLayout::Depiction;
}

void BM_ParseAndLayOut(benchmark::State &state)
{
    const Fonts fonts;
    const MeasureText measure = fonts.measure();
    for (auto _ : state) {
        const Molecule molecule = moleculeFromSmiles(kSmiles, layoutOf(state.range(0)));
        benchmark::DoNotOptimize(layOutMolecule(molecule, measure, MarkStyle::Lewis));
    }
}
BENCHMARK(BM_ParseAndLayOut)->ArgName("textbook")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_Parse(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(moleculeFromSmiles(kSmiles, layoutOf(state.range(0))));
}
BENCHMARK(BM_Parse)->ArgName("textbook")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_LayOut(benchmark::State &state)
{
    const Fonts fonts;
    const MeasureText measure = fonts.measure();
    const Molecule molecule = moleculeFromSmiles(kSmiles, layoutOf(state.range(1)));
    const auto style = MarkStyle(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(layOutMolecule(molecule, measure, style));
}
BENCHMARK(BM_LayOut)
    ->ArgNames({"style", "textbook"})
    ->ArgsProduct({{int(MarkStyle::Lewis), int(MarkStyle::Dots), int(MarkStyle::Bars)}, {1, 0}})
    ->Unit(benchmark::kMicrosecond);

// Layout and drawing, as the renderer makes a picture: a bitmap at scale 1
// (before it is encoded), or an SVG document.
void BM_LayOutAndDraw(benchmark::State &state)
{
    Picture picture;
    picture.molecule = std::make_shared<const Molecule>(moleculeFromSmiles(kSmiles, layoutOf(state.range(1))));
    picture.font = startFont();
    const bool svg = state.range(0) == 1;
    for (auto _ : state) {
        if (svg)
            benchmark::DoNotOptimize(renderSvg(picture));
        else
            benchmark::DoNotOptimize(renderImage(picture));
    }
}
BENCHMARK(BM_LayOutAndDraw)
    ->ArgNames({"svg", "textbook"})
    ->ArgsProduct({{0, 1}, {1, 0}})
    ->Unit(benchmark::kMicrosecond);

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
