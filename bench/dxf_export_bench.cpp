// The DXF export of a long section: BuildSectionDxf on a synthetic section of boreholes 25 m
// apart with 10 layers each, joined automatically, every area hatched, and the files written as
// the export writes them; against a raw atomic write of the same bytes.
//
// BM_SectionDxf100: 100 boreholes, built and written. BM_SectionDxfRawWrite: the same bytes
// written, nothing else. BM_SectionDxfScaling/N: built only, for N = 25, 50, 100, 200 boreholes:
// the time per borehole should stay flat. With ORVO_BENCH_DXF_DUMP=DIR the 100-borehole files
// are also left in DIR for tools/bench-ezdxf.py, which writes the same entities with ezdxf.
#include "borehole/borehole_record.h"
#include "connect/auto_connect.h"
#include "dict/drawing_form.h"
#include "dict/hatch.h"
#include "drawing/sheet_texts.h"
#include "export/section_dxf.h"
#include "platform/text_metrics.h"
#include "support/demo_db.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <map>

namespace {

using namespace orvo;

constexpr int kMaxBoreholes = 200;
constexpr int kLayers = 10;
constexpr int kPerSheet = 12;

struct Synthetic {
    test::DemoDatabase db;
    std::vector<std::int32_t> numbers;
    std::int32_t hatch = -1;
    std::map<int, drawing::SectionDrawingInput> inputs;
    bool ready = false;

    Synthetic() { ready = build(); }

    bool build() {
        for (int i = 0; i < kMaxBoreholes; ++i) {
            auto b = borehole::newBorehole(1000 + i);
            b.header.name.setUtf8("Д-" + std::to_string(i + 1));
            b.header.x = 25.0f * static_cast<float>(i);
            b.header.elevation = 150.0f + 5.0f * static_cast<float>(std::sin(i * 0.2));
            b.header.type = 1;
            const float thickness = 1.5f + 0.3f * static_cast<float>(i % 3);
            b.header.depth = thickness * kLayers;
            for (int r = 1; r <= kLayers; ++r) {
                borehole::IgeLayer l;
                l.ige.setUtf8(std::to_string(r), 10);
                l.baseDepth = thickness * static_cast<float>(r);
                l.consistency = static_cast<std::int16_t>(r % 4);
                b.ige.push_back(l);
            }
            if (!borehole::SaveBorehole(db.store, 1, b))
                return false;
            numbers.push_back(1000 + i);
        }
        dict::HatchPattern pattern;
        pattern.name = "Штриховка для замера";
        pattern.lines.push_back({0.2f, 45, 3.0f});
        pattern.lines.push_back({0.1f, 90, 4.0f});
        pattern.segments.push_back({0.2f, 0, 0, 1.5f, 0, 4.0f, 4.0f});
        const auto slot = dict::SaveHatch(db.folder, -1, pattern);
        if (!slot)
            return false;
        hatch = *slot;
        return true;
    }

    const drawing::SectionDrawingInput* input(int count) {
        if (auto it = inputs.find(count); it != inputs.end())
            return &it->second;
        drawing::SectionDrawingInput in;
        const std::vector<std::int32_t> chosen(numbers.begin(), numbers.begin() + count);
        auto model = connect::LoadSectionBoreholes(db.folder, 1, chosen);
        if (!model || !connect::AutoConnect(*model, connect::LineStyle::Straight, 1))
            return nullptr;
        in.model = std::move(*model);
        for (int i = 0; i < count; ++i) {
            const auto& b = in.model.boreholes[static_cast<std::size_t>(i)];
            in.layout.boreholes.push_back({chosen[static_cast<std::size_t>(i)],
                                           "Д-" + std::to_string(i + 1), b.x, b.y,
                                           b.collarElevation, b.depth, true});
        }
        for (int r = 1; r <= kLayers; ++r) {
            section::IgeEntry e;
            e.number = dict::padIgeNumberUtf8(std::to_string(r));
            e.useStandard = 0;
            e.hatch = hatch;
            in.igeList.entries.push_back(e);
        }
        in.object = 1;
        in.layout.horizontalScale = 500;
        in.layout.verticalScale = 100;
        in.layout.sheetHeight = 4200;
        in.layout.name.setUtf8("Разрез для замера");
        for (int first = 0; first + 1 < count; first += kPerSheet - 1) {
            const int last = std::min(count - 1, first + kPerSheet - 1);
            in.layout.sheets.push_back({first, last, 15600, 13000, 2500 * (last - first)});
        }
        if (auto form = dict::ReadDrawingFormBody(db.folder, 0))
            in.form = *form;
        in.texts = drawing::defaultSheetTexts(db.folder, 1, chosen, in.layout.horizontalScale);
        in.objectFullName = "Объект для замера";
        return &inputs.emplace(count, std::move(in)).first->second;
    }
};

Synthetic& synthetic() {
    static Synthetic s;
    return s;
}

const platform::FixedTextMetrics kMetrics(0.75, 0.5);

std::size_t bytesOf(const exporter::SectionDxf& dxf) {
    std::size_t n = dxf.description.size();
    for (const auto& f : dxf.files)
        n += f.size();
    return n;
}

void writeAll(const platform::WorkFolder& folder, const exporter::SectionDxf& dxf,
              benchmark::State& state) {
    for (std::size_t i = 0; i < dxf.files.size(); ++i)
        if (!folder.writeAtomic("R_" + std::to_string(i) + ".DXF", dxf.files[i]))
            state.SkipWithError("write failed");
    if (!folder.writeAtomic("R_.txt", dxf.description))
        state.SkipWithError("write failed");
}

void BM_SectionDxf100(benchmark::State& state) {
    auto& s = synthetic();
    const auto* in = s.ready ? s.input(100) : nullptr;
    if (!in) {
        state.SkipWithError("no synthetic section");
        return;
    }
    test::TempDir out;
    const platform::WorkFolder target(out.path());
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto dxf = exporter::BuildSectionDxf(s.db.folder, *in, kMetrics, {true, false, "R_"});
        writeAll(target, dxf, state);
        bytes = bytesOf(dxf);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["files"] = static_cast<double>(in->layout.sheets.size() + 1);
    if (const char* dump = std::getenv("ORVO_BENCH_DXF_DUMP"); dump && *dump) {
        std::filesystem::create_directories(dump);
        writeAll(platform::WorkFolder(dump),
                 exporter::BuildSectionDxf(s.db.folder, *in, kMetrics, {true, false, "R_"}), state);
    }
}
BENCHMARK(BM_SectionDxf100)->Unit(benchmark::kMillisecond);

void BM_SectionDxfRawWrite(benchmark::State& state) {
    auto& s = synthetic();
    const auto* in = s.ready ? s.input(100) : nullptr;
    if (!in) {
        state.SkipWithError("no synthetic section");
        return;
    }
    const auto dxf = exporter::BuildSectionDxf(s.db.folder, *in, kMetrics, {true, false, "R_"});
    test::TempDir out;
    const platform::WorkFolder target(out.path());
    for (auto _ : state)
        writeAll(target, dxf, state);
    state.SetBytesProcessed(static_cast<std::int64_t>(bytesOf(dxf)) * state.iterations());
}
BENCHMARK(BM_SectionDxfRawWrite)->Unit(benchmark::kMillisecond);

void BM_SectionDxfScaling(benchmark::State& state) {
    auto& s = synthetic();
    const int count = static_cast<int>(state.range(0));
    const auto* in = s.ready ? s.input(count) : nullptr;
    if (!in) {
        state.SkipWithError("no synthetic section");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(
            exporter::BuildSectionDxf(s.db.folder, *in, kMetrics, {true, false, "R_"}));
    state.counters["per_borehole"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SectionDxfScaling)
    ->Arg(25)
    ->Arg(50)
    ->Arg(100)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
