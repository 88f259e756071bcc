// Rendering sections: the demonstration sections to metafiles at 300 dpi, and the hatching of a
// 100-borehole, 99-layer section on a counting canvas, by borehole count and by sheet width.
#include "borehole/borehole_record.h"
#include "connect/auto_connect.h"
#include "dict/hatch.h"
#include "drawing/prepare.h"
#include "drawing/sheet_parts.h"
#include "drawing/ui/sheet_pictures.h"
#include "platform/message_sink.h"
#include "section/section_record.h"
#include "support/demo_db.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cmath>
#include <optional>

namespace {

using namespace orvo;

// Counts what is drawn and draws nothing.
class CountingCanvas : public platform::Canvas {
public:
    std::int64_t calls = 0;
    void setPen(const platform::Pen&) override {}
    void setBrush(const platform::Brush&) override {}
    void setFont(const platform::Font&) override {}
    void setTextColor(const platform::Color&) override {}
    void setFillRule(platform::FillRule) override {}
    void drawLine(platform::PointF, platform::PointF) override { ++calls; }
    void drawPolyline(std::span<const platform::PointF>) override { ++calls; }
    void drawPolygon(std::span<const platform::PointF>) override { ++calls; }
    void drawRect(const platform::RectF&) override { ++calls; }
    void drawEllipse(const platform::RectF&) override { ++calls; }
    void drawArc(const platform::RectF&, double, double) override { ++calls; }
    void drawChord(const platform::RectF&, double, double) override { ++calls; }
    void drawPie(const platform::RectF&, double, double) override { ++calls; }
    void drawText(const platform::RectF&, unsigned, std::string_view) override { ++calls; }
    void drawTextAt(platform::PointF, std::string_view) override { ++calls; }
    platform::SizeF measureText(std::string_view s) override {
        return {6.0 * static_cast<double>(s.size()), 10};
    }
    void save() override {}
    void restore() override {}
    void clipRect(const platform::RectF&) override {}
    void clipPolygon(std::span<const platform::PointF>) override {}
};

constexpr int kBoreholes = 100;
constexpr int kLayers = connect::kMaxLayers;

// The demonstration database plus a long section: 100 boreholes 25 m apart, each with the same
// 99 layers, joined automatically, every IGE hatched with one line, one segment and one symbol.
struct LongSection {
    test::DemoDatabase db;
    drawing::SectionDrawingInput input;
    bool ready = false;

    LongSection() { ready = build(); }

    bool build() {
        std::vector<std::int32_t> numbers;
        for (int i = 0; i < kBoreholes; ++i) {
            auto b = borehole::newBorehole(1000 + i);
            b.header.name.setUtf8("Д-" + std::to_string(i + 1));
            b.header.x = 25.0f * static_cast<float>(i);
            b.header.elevation = 150.0f + 5.0f * static_cast<float>(std::sin(i * 0.2));
            const float thickness = 0.5f + 0.1f * static_cast<float>(i % 3);
            b.header.depth = thickness * kLayers;
            for (int r = 1; r <= kLayers; ++r) {
                borehole::IgeLayer l;
                l.ige.setUtf8(std::to_string(r), 10);
                l.baseDepth = thickness * static_cast<float>(r);
                b.ige.push_back(l);
            }
            if (!borehole::SaveBorehole(db.store, 1, b))
                return false;
            numbers.push_back(1000 + i);
            input.layout.boreholes.push_back({1000 + i, "Д", static_cast<std::int32_t>(2500 * i), 0,
                                              static_cast<std::int32_t>(b.header.elevation * 100),
                                              static_cast<std::int32_t>(b.header.depth * 100),
                                              true});
        }
        dict::HatchPattern pattern;
        pattern.name = "Штриховка для замера";
        pattern.lines.push_back({0.2f, 45, 3.0f});
        pattern.segments.push_back({0.2f, 0, 0, 1.5f, 0, 4.0f, 4.0f});
        pattern.symbols.push_back({1, 1.0f, 1.0f, 8.0f, 8.0f});
        const auto slot = dict::SaveHatch(db.folder, -1, pattern);
        if (!slot)
            return false;
        auto model = connect::LoadSectionBoreholes(db.folder, 1, numbers);
        if (!model || !connect::AutoConnect(*model, connect::LineStyle::Straight, 1))
            return false;
        input.model = std::move(*model);
        for (int r = 1; r <= kLayers; ++r) {
            section::IgeEntry e;
            e.number = dict::padIgeNumberUtf8(std::to_string(r));
            e.useStandard = 0;
            e.hatch = *slot;
            input.igeList.entries.push_back(e);
        }
        input.object = 1;
        input.layout.horizontalScale = 500;
        input.layout.verticalScale = 100;
        input.layout.sheetHeight = 8000;
        return true;
    }

    // Sheets of `perSheet` boreholes over the first `count` boreholes.
    void cut(int count, int perSheet) {
        input.layout.sheets.clear();
        for (int first = 0; first + 1 < count; first += perSheet - 1) {
            const int last = std::min(count - 1, first + perSheet - 1);
            input.layout.sheets.push_back({first, last, 16000, 8000, 2500 * (last - first)});
        }
    }
};

LongSection& longSection() {
    static LongSection s;
    return s;
}

// Hatches every sheet; returns the number of areas hatched.
int hatchAll(LongSection& s, CountingCanvas& canvas) {
    drawing::NoProgress progress;
    int areas = 0;
    const int count = static_cast<int>(s.input.layout.sheets.size());
    for (int m = 0; m < count; ++m) {
        const auto g = drawing::MakeSheetGeometry(s.input.layout, m, 300, 300);
        const drawing::detail::SheetContext ctx{s.db.folder, s.input, g, m, count, 300, 300, true};
        areas += drawing::detail::drawHatching(canvas, ctx, progress);
    }
    return areas;
}

// Hatching time by borehole count (10 boreholes a sheet): twice the boreholes should take about
// twice the time.
void BM_HatchBoreholes(benchmark::State& state) {
    auto& s = longSection();
    if (!s.ready) {
        state.SkipWithError("section not built");
        return;
    }
    s.cut(static_cast<int>(state.range(0)), 10);
    int areas = 0;
    CountingCanvas canvas;
    for (auto _ : state)
        benchmark::DoNotOptimize(areas = hatchAll(s, canvas));
    state.counters["areas"] = areas;
    state.counters["drawn"] = static_cast<double>(canvas.calls) / state.iterations();
}
BENCHMARK(BM_HatchBoreholes)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

// Time per area by sheet width: the same areas on sheets of 10 or 40 boreholes. Each area is
// culled to its own box, so a wider sheet should not make an area dearer.
void BM_HatchSheetWidth(benchmark::State& state) {
    auto& s = longSection();
    if (!s.ready) {
        state.SkipWithError("section not built");
        return;
    }
    s.cut(kBoreholes, static_cast<int>(state.range(0)));
    int areas = 0;
    CountingCanvas canvas;
    for (auto _ : state)
        benchmark::DoNotOptimize(areas = hatchAll(s, canvas));
    state.counters["areas"] = areas;
    state.counters["per_area"] =
        benchmark::Counter(static_cast<double>(areas) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_HatchSheetWidth)->Arg(10)->Arg(40)->Unit(benchmark::kMillisecond);

// The demonstration sections, all sheets and the legend, to metafiles at 300 dpi.
void BM_RenderDemoToMetafiles(benchmark::State& state) {
    test::DemoDatabase db;
    platform::RecordingMessageSink sink;
    std::vector<drawing::PreparedSection> sections;
    for (const int number : {1, 2}) {
        const auto section = section::ReadSection(db.folder, 1, number);
        if (!section)
            continue;
        // Each section's working connections go before the next is prepared.
        if (auto p = drawing::PrepareSectionDrawing(db.store, sink, 1, number, *section,
                                                    drawing::TextSource::StoredSection)) {
            drawing::FinishSectionDrawing(db.folder, *p);
            sections.push_back(std::move(*p));
        }
    }
    if (sections.size() != 2) {
        const std::string why = sink.entries().empty() ? db.made ? "?" : db.made.error().text
                                                       : sink.entries().back().text;
        state.SkipWithError(("demo sections not prepared: " + why).c_str());
        return;
    }
    drawing::NoProgress progress;
    for (auto _ : state)
        for (const auto& p : sections) {
            drawing::PictureSheetSink pictures(db.folder, 300, 300);
            benchmark::DoNotOptimize(
                drawing::RenderSection(db.folder, p.input, pictures, progress, true, {}));
        }
}
BENCHMARK(BM_RenderDemoToMetafiles)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
