// The hatch renderer on a dense pattern (a 45° line, staggered segments, a symbol) filling 1,000
// areas of 20 x 10 mm at 600 dpi, the pattern's origin and extent an A0 or an A4 sheet, on a
// counting canvas. The cost per area should not depend on the extent, and the tiles looked at
// should stay near the tiles drawn.
#include "dict/hatch.h"
#include "platform/recording_canvas.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

using namespace orvo;
using namespace orvo::dict;

class CountingCanvas : public platform::RecordingCanvas {
public:
    void setPen(const platform::Pen&) override {}
    void setBrush(const platform::Brush&) override {}
    void drawLine(platform::PointF, platform::PointF) override { ++lines; }
    void drawRect(const platform::RectF&) override { ++lines; }
    void save() override {}
    void restore() override {}
    std::int64_t lines = 0;
};

const HatchPattern kDense{"Плотная",
                          {{0.2f, 45, 1}},
                          {{0.2f, 0, 0, 1, 0, 2, 1}, {0.2f, 1, 0.5f, 2, 0.5f, 2, 1}},
                          {{1, 0, 0, 3, 3}}};

HatchSymbolShapes shapes() {
    SymbolElement e;
    e.type = kSymbolRectangle;
    e.points = {{0, 0}, {50, 50}};
    return {HatchSymbolShape{50, 50, 0, 0, {e}}};
}

constexpr double kDpi = 600;
constexpr int kAreas = 1000;

// Sheet sizes in device units at 600 dpi.
void fill(benchmark::State& state, std::int64_t sheetW, std::int64_t sheetH) {
    const HatchSymbolShapes symbols = shapes();
    const std::int64_t w = 472, h = 236; // 20 x 10 mm
    HatchDrawStats total;
    for (auto _ : state) {
        CountingCanvas canvas;
        for (int i = 0; i < kAreas; ++i) {
            // Areas spread over the sheet, as the IGE areas of a section are.
            const std::int64_t x = (i * 7919) % (sheetW - w);
            const std::int64_t y = (i * 104729) % (sheetH - h);
            const HatchDrawStats s = DrawHatch(canvas, kDense, symbols, kDpi, 0, 0, sheetW, sheetH,
                                               -1, -1, {x, y, x + w, y + h});
            total.examined += s.examined;
            total.drawn += s.drawn;
        }
        benchmark::DoNotOptimize(canvas.lines);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["per_area_us"] =
        benchmark::Counter(static_cast<double>(kAreas) * runs,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["examined_per_area"] = static_cast<double>(total.examined) / (kAreas * runs);
    state.counters["drawn_per_area"] = static_cast<double>(total.drawn) / (kAreas * runs);
    state.counters["examined_over_drawn"] =
        static_cast<double>(total.examined) / static_cast<double>(total.drawn);
}

void BM_HatchAreasA0(benchmark::State& state) {
    fill(state, 19866, 28087); // 841 x 1189 mm
}
void BM_HatchAreasA4(benchmark::State& state) {
    fill(state, 4961, 7016); // 210 x 297 mm
}

BENCHMARK(BM_HatchAreasA0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HatchAreasA4)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
