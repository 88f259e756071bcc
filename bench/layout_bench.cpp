// The layout check of a 100-borehole section with an automatic vertical scale and a 30-entry
// scale list, on a database generated once in a temporary folder.
#include "borehole/borehole_record.h"
#include "borehole/borehole_types.h"
#include "dict/title_block.h"
#include "section/layout_check.h"
#include "section/settings_lists.h"
#include "support/db_builder.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

using namespace orvo;

constexpr int kBoreholes = 100;
constexpr int kScales = 30;

struct Database {
    test::TempDir dir;
    platform::WorkFolder folder{dir.path()};
    section::Section sec;
    bool ready = false;

    Database() {
        test::DbBuilder db(dir.path());
        db.object(1, "Объект");
        ready = addTypes() && addTitleBlocks() && addScales() && addBoreholes();
        sec.header.horizontalScale = 1000;
        sec.header.verticalScale = 0;
        sec.header.sheetWidthMm = 420;
        sec.header.sheetHeightMm = 297;
        sec.header.stampFirstSheet = 1;
        sec.header.stampOtherSheets = 1;
    }

    bool addTypes() {
        for (const std::int16_t shown : {1, 1, 0}) {
            borehole::BoreholeType t;
            t.shownOnSection = shown;
            if (!borehole::AddBoreholeType(folder, t))
                return false;
        }
        return true;
    }

    bool addTitleBlocks() {
        dict::TitleBlock b;
        b.segments.push_back({0, 0, 550, 0, 1});
        return dict::SaveTitleBlock(folder, 0, "Шаблон", b) &&
               dict::SaveTitleBlock(folder, 1, "Штамп", b);
    }

    bool addScales() {
        std::vector<std::int16_t> scales;
        for (int i = 1; i <= kScales; ++i)
            scales.push_back(static_cast<std::int16_t>(50 * i));
        return static_cast<bool>(section::WriteScales(folder, scales));
    }

    // Boreholes 40 m apart with a rolling terrain and growing depths, every seventh hidden, so
    // that the split both steps back and climbs the scale list.
    bool addBoreholes() {
        store::ProjectStore store(folder);
        for (int i = 0; i < kBoreholes; ++i) {
            borehole::Borehole b = borehole::newBorehole(i + 1);
            b.header.name.setUtf8("С-" + std::to_string(i + 1));
            b.header.x = 40.0f * static_cast<float>(i);
            b.header.y = 3.0f * static_cast<float>(i % 5);
            b.header.elevation = 150.0f + 30.0f * static_cast<float>(std::sin(i * 0.3));
            b.header.depth = 10.0f + 0.5f * static_cast<float>(i);
            const bool hidden = i % 7 == 3 && i != kBoreholes - 1;
            b.header.type = hidden ? 2 : 1;
            if (!borehole::SaveBorehole(store, 1, b))
                return false;
            sec.boreholes.push_back(i + 1);
        }
        return true;
    }
};

const Database& database() {
    static const Database db;
    return db;
}

void BM_CheckSectionLayoutAuto(benchmark::State& state) {
    const Database& db = database();
    if (!db.ready) {
        state.SkipWithError("database not built");
        return;
    }
    std::size_t sheets = 0;
    std::int32_t scale = 0;
    for (auto _ : state) {
        auto layout = section::CheckSectionLayout(db.folder, 1, db.sec);
        if (!layout) {
            state.SkipWithError(layout.error().text.c_str());
            return;
        }
        sheets = layout->sheets.size();
        scale = layout->verticalScale;
        benchmark::DoNotOptimize(sheets);
    }
    state.counters["sheets"] = static_cast<double>(sheets);
    state.counters["scale"] = scale;
}

} // namespace

BENCHMARK(BM_CheckSectionLayoutAuto)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
