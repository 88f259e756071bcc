// The DXF writer on a large sheet, built and saved through its own save path, against a raw
// atomic write of the same bytes from memory to the same folder.
//
// BM_DxfPlainSheet: 100,000 open polylines of 10 vertices on one layer and 100,000 texts
// "Скважина 12" with varying coordinates (about 100 MB). BM_DxfFullSheet: the same counts with
// closed polylines over every layer and width, and texts in every style, title-block fonts and
// alignment, so every path of the writer is timed. BM_RawWrite writes the plain sheet's bytes as
// the save does (temporary file, write, fsync, rename) and nothing else. ORVO_BENCH_DXF_ENTITIES
// scales the counts down for the CTest run.
//
// Each writer iteration also times a raw write of its own bytes, outside the measured time, so
// the `over_raw` counter compares the two under the same load of the machine.
#include "export/dxf_writer.h"
#include "platform/work_folder.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace orvo::exporter;
using Clock = std::chrono::steady_clock;

int entityCount() {
    const char* env = std::getenv("ORVO_BENCH_DXF_ENTITIES");
    return env ? std::max(1, std::atoi(env)) : 100000;
}

constexpr int kVertices = 10;
constexpr const char* kText = "Скважина 12";

enum class Sheet { Plain, Full };

void writeTables(DxfWriter& w) {
    w.writeHeader();
    w.beginTables();
    w.writeLtypeTable();
    w.writeLayerTable(LayerSet::SectionSheet);
    w.beginStyleTable();
    w.writeStyle("Ramka", "Arial Cyr");
    w.writeStyle("Otm", "Times New Roman Cyr");
    w.writeStyle("IGE", "Courier New Cyr");
    for (int font = 0; font < 8; ++font)
        w.writeStyle(styleName(titleBlockStyle(font)), "MS Sans Serif" + std::string(87, ' '));
    w.endStyleTable();
    w.endTables();
}

void writePlain(DxfWriter& w, int count) {
    std::array<DxfPoint, kVertices> points;
    for (int i = 0; i < count; ++i) {
        const double x0 = (i % 400) * 1.0625;
        const double y0 = (i / 400) * 0.75;
        for (int v = 0; v < kVertices; ++v)
            points[static_cast<std::size_t>(v)] = {x0 + v * 2.5, y0 - v * 0.125};
        w.writePolyline(DxfLayer::Line, false, 0, points);
    }
    for (int i = 0; i < count; ++i)
        w.writeText(DxfLayer::Text, DxfStyle::Ige, (i % 700) * 0.6, (i / 700) * 2.25, 2.5, 0,
                    DxfAlign::Left, 0, 0, kText);
}

void writeFull(DxfWriter& w, int count) {
    constexpr std::array<DxfAlign, 3> aligns = {DxfAlign::Left, DxfAlign::Centre, DxfAlign::Right};
    std::array<DxfPoint, kVertices> points;
    for (int i = 0; i < count; ++i) {
        const auto layer = static_cast<DxfLayer>(1 + i % 9);
        const double x0 = (i % 400) * 1.0625 - 100;
        const double y0 = (i / 400) * 0.75 - 50;
        if (i % 2 == 0) {
            for (int v = 0; v < kVertices; ++v)
                points[static_cast<std::size_t>(v)] = {x0 + v * 2.5, y0 - v * 0.125};
            w.writePolyline(layer, true, 0.25 * (i % 4), points);
        } else {
            w.beginPolyline(layer, true, 0.5);
            for (int v = 0; v < kVertices; ++v)
                w.writeVertex(layer, x0 - v * 3.75, y0 + v * 1234.5);
            w.endPolyline();
        }
    }
    for (int i = 0; i < count; ++i) {
        const auto style = i % 3 == 0 ? titleBlockStyle(i % 8) : static_cast<DxfStyle>(1 + i % 6);
        const double x = (i % 700) * 0.6;
        const double y = (i / 700) * 2.25;
        w.writeText(static_cast<DxfLayer>(1 + i % 9), style, x, y, 2.5, (i % 4) * 90,
                    aligns[static_cast<std::size_t>(i % 3)], x + 10, y - 0.5, kText);
    }
}

DxfWriter buildSheet(Sheet sheet, int count) {
    DxfWriter w;
    const auto n = static_cast<std::size_t>(count);
    w.reserve(DxfWriter::estimatedSize(n, n * kVertices, n));
    writeTables(w);
    w.beginEntities();
    if (sheet == Sheet::Plain)
        writePlain(w, count);
    else
        writeFull(w, count);
    w.writeTrailer();
    return w;
}

const orvo::test::TempDir& folder() {
    static const orvo::test::TempDir dir;
    return dir;
}

// What the save does with the file, with nothing in between: a temporary file beside the target,
// one write, fsync, rename.
bool rawAtomicWrite(const std::filesystem::path& target, const std::string& bytes) {
    const std::string temp = target.string() + ".~raw";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced && ::rename(temp.c_str(), target.c_str()) == 0;
}

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void buildAndSave(benchmark::State& state, Sheet sheet) {
    const int count = entityCount();
    const orvo::platform::WorkFolder work(folder().path());
    const std::string bytes = buildSheet(sheet, count).text();
    const auto rawTarget = folder() / "raw.dxf";
    double buildSeconds = 0;
    double saveSeconds = 0;
    double rawSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        DxfWriter w = buildSheet(sheet, count);
        const auto built = Clock::now();
        if (!w.save(work, "SHEET.DXF").ok()) {
            state.SkipWithError("save failed");
            return;
        }
        buildSeconds += seconds(built - start);
        saveSeconds += seconds(Clock::now() - built);
        state.PauseTiming();
        const auto rawStart = Clock::now();
        if (!rawAtomicWrite(rawTarget, bytes)) {
            state.SkipWithError("raw write failed");
            return;
        }
        rawSeconds += seconds(Clock::now() - rawStart);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes.size()) * state.iterations());
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
    const double runs = static_cast<double>(state.iterations());
    state.counters["build_ms"] = 1e3 * buildSeconds / runs;
    state.counters["save_ms"] = 1e3 * saveSeconds / runs;
    state.counters["raw_ms"] = 1e3 * rawSeconds / runs;
    state.counters["over_raw"] = rawSeconds > 0 ? (buildSeconds + saveSeconds) / rawSeconds : 0;
}

void BM_DxfPlainSheet(benchmark::State& state) {
    buildAndSave(state, Sheet::Plain);
}

void BM_DxfFullSheet(benchmark::State& state) {
    buildAndSave(state, Sheet::Full);
}

void BM_RawWrite(benchmark::State& state) {
    const std::string bytes = buildSheet(Sheet::Plain, entityCount()).text();
    const auto target = folder() / "raw.dxf";
    for (auto _ : state) {
        if (!rawAtomicWrite(target, bytes)) {
            state.SkipWithError("raw write failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes.size()) * state.iterations());
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

} // namespace

BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DxfPlainSheet)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_DxfFullSheet)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_MAIN();
