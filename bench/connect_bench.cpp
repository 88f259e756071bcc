// Building the connection model of a 100-borehole section with 99 shared layers, connecting it
// automatically and tracing every area, on a database generated once in a temporary folder.
#include "borehole/borehole_record.h"
#include "connect/auto_connect.h"
#include "connect/connection_model.h"
#include "connect/editing_rules.h"
#include "connect/editor_session.h"
#include "platform/message_sink.h"
#include "store/project_store.h"
#include "support/db_builder.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace orvo;

constexpr int kBoreholes = 100;
constexpr int kLayers = connect::kMaxLayers;

struct Database {
    test::TempDir dir;
    platform::WorkFolder folder{dir.path()};
    std::vector<std::int32_t> boreholes;
    bool ready = false;

    Database() {
        test::DbBuilder db(dir.path());
        db.object(1, "Объект");
        ready = addBoreholes();
    }

    // Boreholes 25 m apart on a gently rolling surface, every one with the same layer sequence
    // at slightly varying depths, so automatic connection joins every row of every pair.
    bool addBoreholes() {
        store::ProjectStore store(folder);
        for (int i = 0; i < kBoreholes; ++i) {
            borehole::Borehole b = borehole::newBorehole(i + 1);
            b.header.name.setUtf8("С-" + std::to_string(i + 1));
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
            if (!borehole::SaveBorehole(store, 1, b))
                return false;
            boreholes.push_back(i + 1);
        }
        return true;
    }
};

const Database& database() {
    static const Database db;
    return db;
}

// Model coordinates of every point as the connection editor places the whole section.
std::vector<connect::PointPosition> positionsOf(const connect::ConnectionModel& m) {
    std::vector<connect::PointPosition> out;
    auto map = connect::MakeScreenMapping(m, 4000, 3000, 0, m.boreholeCount());
    if (!map)
        return out;
    for (std::int32_t i = 0; i < m.pointCount(); ++i) {
        const auto s = map->pointPos(m, i);
        out.push_back({map->modelX(s), map->modelY(s)});
    }
    return out;
}

int traceEverything(const connect::ConnectionModel& m, const connect::LinesByPoint& lines,
                    const std::vector<connect::PointPosition>& positions) {
    int areas = 0;
    for (std::int32_t p = 0; p < m.boreholePointTotal(); ++p)
        for (auto sense : {connect::Sense::Right, connect::Sense::Left})
            if (auto area = connect::TraceArea(m, lines, positions, p, sense)) {
                benchmark::DoNotOptimize(area->outline.data());
                ++areas;
            }
    return areas;
}

// Skips the benchmark with the reason and returns false when the database or model is missing.
bool ready(benchmark::State& state, const Database& db) {
    if (!db.ready)
        state.SkipWithError("database not built");
    return db.ready;
}

// The section's model with every shared layer joined, or nothing (and the benchmark skipped).
std::optional<connect::ConnectionModel> autoConnected(benchmark::State& state, const Database& db) {
    auto model = connect::LoadSectionBoreholes(db.folder, 1, db.boreholes);
    if (!model || !connect::AutoConnect(*model, connect::LineStyle::Straight, 1)) {
        state.SkipWithError("model not built");
        return std::nullopt;
    }
    return std::move(*model);
}

void BM_LoadSectionBoreholes(benchmark::State& state) {
    const Database& db = database();
    if (!ready(state, db))
        return;
    std::int32_t points = 0;
    for (auto _ : state) {
        auto model = connect::LoadSectionBoreholes(db.folder, 1, db.boreholes);
        if (!model) {
            state.SkipWithError(model.error().text.c_str());
            return;
        }
        points = model->pointCount();
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = points;
}

void BM_AutoConnect(benchmark::State& state) {
    const Database& db = database();
    if (!ready(state, db))
        return;
    auto fresh = connect::LoadSectionBoreholes(db.folder, 1, db.boreholes);
    if (!fresh) {
        state.SkipWithError(fresh.error().text.c_str());
        return;
    }
    std::int32_t lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        connect::ConnectionModel model = *fresh;
        state.ResumeTiming();
        auto joined = connect::AutoConnect(model, connect::LineStyle::Straight, 1);
        if (!joined) {
            state.SkipWithError(joined.error().text.c_str());
            return;
        }
        lines = *joined;
        benchmark::DoNotOptimize(model.lines.data());
    }
    state.counters["lines"] = lines;
}

void BM_TraceAllAreas(benchmark::State& state) {
    const Database& db = database();
    if (!ready(state, db))
        return;
    auto model = autoConnected(state, db);
    if (!model)
        return;
    const connect::LinesByPoint lines(*model);
    const auto positions = positionsOf(*model);
    int areas = 0;
    for (auto _ : state)
        areas = traceEverything(*model, lines, positions);
    state.counters["areas"] = areas;
}

// The three steps as the editor runs them on opening a section without connections.
void BM_LoadConnectTrace(benchmark::State& state) {
    const Database& db = database();
    if (!ready(state, db))
        return;
    int areas = 0;
    for (auto _ : state) {
        auto model = connect::LoadSectionBoreholes(db.folder, 1, db.boreholes);
        if (!model || !connect::AutoConnect(*model, connect::LineStyle::Straight, 1)) {
            state.SkipWithError("model not built");
            return;
        }
        const connect::LinesByPoint lines(*model);
        areas = traceEverything(*model, lines, positionsOf(*model));
    }
    state.counters["areas"] = areas;
}

// What one repaint of the editor prepares: every area traced and the picture of 3 boreholes.
void BM_EditorScene(benchmark::State& state) {
    const Database& db = database();
    if (!ready(state, db))
        return;
    auto model = autoConnected(state, db);
    if (!model)
        return;
    connect::EditorSession session(std::move(*model));
    session.resize(1600, 900);
    std::size_t areas = 0;
    for (auto _ : state) {
        const auto scene = session.scene();
        areas = scene.areas.size();
        benchmark::DoNotOptimize(scene.lines.data());
    }
    state.counters["areas"] = static_cast<double>(areas);
}

// One undoable edit on the big model: the step is recorded by copying points and lines.
void BM_EditorEditWithUndo(benchmark::State& state) {
    const Database& db = database();
    if (!ready(state, db))
        return;
    auto model = autoConnected(state, db);
    if (!model)
        return;
    connect::EditorSession session(std::move(*model));
    session.resize(1600, 900);
    platform::RecordingMessageSink sink;
    session.run(connect::EditorCommand::SelectLine, sink);
    const auto* map = session.mapping();
    const auto& m = session.model();
    // Select the first line by the pixel hit testing takes for it.
    const auto a = map->pointPos(m, m.lines[0].from);
    const auto b = map->pointPos(m, m.lines[0].to);
    for (int y = std::min(a.y, b.y) - 2; y <= std::max(a.y, b.y) + 2; ++y)
        if (connect::hitLine(m, *map, {(a.x + b.x) / 2, y}) == 0)
            session.leftDown({(a.x + b.x) / 2, y});
    if (session.state().selectedLine != 0) {
        state.SkipWithError("line not selected");
        return;
    }
    bool wavy = true;
    for (auto _ : state) {
        session.run(wavy ? connect::EditorCommand::WavyLine : connect::EditorCommand::StraightLine,
                    sink);
        wavy = !wavy;
    }
}

} // namespace

BENCHMARK(BM_LoadSectionBoreholes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutoConnect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TraceAllAreas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadConnectTrace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorScene)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorEditWithUndo)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
