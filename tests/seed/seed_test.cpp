// The default database: what `orvo init` writes and what it refuses.
#include "borehole/borehole_record.h"
#include "borehole/borehole_types.h"
#include "borehole/validation.h"
#include "connect/auto_connect.h"
#include "connect/connection_file.h"
#include "connect/editing_rules.h"
#include "connect/reconcile.h"
#include "dict/drawing_form.h"
#include "dict/mark_type.h"
#include "dict/symbol.h"
#include "platform/codepage.h"
#include "section/section_record.h"
#include "section/settings_lists.h"
#include "seed/seed.h"
#include "shell/library_tree.h"
#include "store/project_store.h"
#include "store/store_paths.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace orvo;
using orvo::test::TempDir;

TEST(Seed, BuiltinDatabaseShowsTheDemoObject) {
    TempDir dir;
    ASSERT_TRUE(seed::InitWorkingFolder(dir / "work", seed::builtinDefinitions()));
    platform::WorkFolder folder(dir / "work");
    store::ProjectStore store(folder);
    auto status = store.LoadStatus();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->launchCount, 0);
    EXPECT_GE(status->nextObjectNumber, 2);
    ASSERT_TRUE(store.LoadSectionDefaults());
    EXPECT_TRUE(folder.isFolder("DATA\\DIC"));

    auto tree = shell::BuildLibraryTree(store);
    ASSERT_TRUE(tree);
    EXPECT_TRUE(tree->skipped.empty());
    const auto& working = tree->node(1);
    ASSERT_FALSE(working.children.empty());
    const auto& demo = tree->node(working.children.front());
    EXPECT_EQ(demo.label, "Демонстрационный объект");
    auto title = store.ReadObjectTitle(demo.record.object);
    ASSERT_TRUE(title);
    EXPECT_FALSE(title->fullName.utf8().empty());
    EXPECT_FALSE(title->contract.utf8().empty());
    // Nothing is left over from building it.
    std::vector<std::string> top;
    for (const auto& e : std::filesystem::directory_iterator(dir / "work"))
        top.push_back(e.path().filename().string());
    EXPECT_EQ(top, (std::vector<std::string>{"DATA"}));
}

TEST(Seed, BuiltinDictionaries) {
    TempDir dir;
    ASSERT_TRUE(seed::InitWorkingFolder(dir.path(), seed::builtinDefinitions()));
    platform::WorkFolder folder(dir.path());
    auto types = borehole::ListBoreholeTypes(folder);
    ASSERT_TRUE(types);
    ASSERT_GE(types->size(), 5u);
    EXPECT_EQ((*types)[0].index, 0); // record 0: "no type"
    bool pit = false;
    for (const auto& t : *types) {
        pit = pit || t.type.name.utf8() == "Шурф";
        EXPECT_GT(t.type.columnWidth, 0);
        EXPECT_GT(t.type.lineWidth, 0);
    }
    EXPECT_TRUE(pit);
    auto scales = section::ReadScales(folder);
    ASSERT_TRUE(scales);
    EXPECT_TRUE(std::is_sorted(scales->begin(), scales->end()));
    EXPECT_EQ(scales->front(), 50);
    EXPECT_EQ(scales->back(), 10000);
    auto formats = section::ReadSheetFormats(folder);
    ASSERT_TRUE(formats);
    EXPECT_GE(formats->size(), 6u);
    auto names = section::ReadSurnames(folder);
    ASSERT_TRUE(names);
    EXPECT_FALSE(names->empty());
    platform::RecordingMessageSink sink;
    auto form = dict::ReadDrawingForm(folder, 0, sink);
    ASSERT_TRUE(form);
    EXPECT_TRUE(sink.empty());
    EXPECT_TRUE(std::filesystem::exists(dir / "DATA/DIC/000.FRR"));
    // The default sheet size of new sections is one of the listed formats.
    auto defaults = store::ProjectStore(folder).LoadSectionDefaults();
    ASSERT_TRUE(defaults);
    EXPECT_TRUE(std::any_of(formats->begin(), formats->end(), [&](const auto& f) {
        return f.heightMm == defaults->sheetHeightMm && f.widthMm == defaults->sheetWidthMm;
    }));
}

TEST(Seed, DemoBoreholesAreValidAndReferToSeededMarks) {
    TempDir dir;
    ASSERT_TRUE(seed::InitWorkingFolder(dir.path(), seed::builtinDefinitions()));
    platform::WorkFolder folder(dir.path());
    store::ProjectStore store(folder);
    auto numbers = store.ReadBoreholeList(1);
    ASSERT_TRUE(numbers);
    ASSERT_EQ(numbers->size(), 8u);
    EXPECT_EQ(store.LoadStatus()->nextBoreholeNumber, 9);
    auto symbols = dict::ReadSymbolList(folder);
    ASSERT_TRUE(symbols);
    for (auto n : *numbers) {
        auto b = borehole::ReadBorehole(folder, 1, n);
        ASSERT_TRUE(b) << n;
        EXPECT_GE(b->header.depth, 8.0f);
        EXPECT_LE(b->header.depth, 25.0f);
        EXPECT_GE(b->ige.size(), 3u);
        auto data = borehole::BoreholeEditData::from(*b);
        data.sortAll();
        EXPECT_TRUE(borehole::CheckBorehole(folder, data).empty()) << n;
        // The stored tables are already in depth order: sorting changes nothing.
        EXPECT_EQ(borehole::boreholeBytes(data.toBorehole(n)), borehole::boreholeBytes(*b)) << n;
    }
    // Every groundwater and sample type shows a symbol that exists.
    for (auto list : {dict::MarkList::Groundwater, dict::MarkList::Samples}) {
        auto types = dict::ReadMarkTypeList(folder, list);
        ASSERT_TRUE(types);
        for (std::size_t i = 1; i < types->size(); ++i) {
            const int sym = (*types)[i].symbol;
            ASSERT_GT(sym, 0);
            ASSERT_LT(static_cast<std::size_t>(sym), symbols->size());
            EXPECT_EQ((*symbols)[static_cast<std::size_t>(sym)].used, 1);
        }
    }
}

TEST(Seed, CountersFollowTheNumbersUsed) {
    TempDir dir;
    const char* defs = R"({"sectionDefaults": {"horizontalScale": 200},
        "objects": [{"number": 4, "shortName": "А"},
                    {"number": 2, "shortName": "Б", "archived": true}]})";
    ASSERT_TRUE(seed::InitWorkingFolder(dir.path(), defs));
    platform::WorkFolder folder(dir.path());
    store::ProjectStore store(folder);
    auto status = store.LoadStatus();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->nextObjectNumber, 5);
    EXPECT_EQ(status->nextSectionNumber, 1);
    EXPECT_EQ(status->nextBoreholeNumber, 1);
    auto objects = store.ReadObjectList();
    ASSERT_TRUE(objects);
    ASSERT_EQ(objects->size(), 2u);
    EXPECT_EQ((*objects)[0].number, 4);
    EXPECT_EQ((*objects)[1].archived, 1);
    EXPECT_EQ(store.LoadSectionDefaults()->horizontalScale, 200);
}

TEST(Seed, AnExistingDatabaseIsNeverOverwritten) {
    TempDir dir;
    test::writeBytes(dir / "data/status.sav", {1, 2, 3});
    const auto st = seed::InitWorkingFolder(dir.path(), seed::builtinDefinitions());
    ASSERT_FALSE(st);
    EXPECT_NE(st.error().text.find("уже есть база данных"), std::string::npos);
    EXPECT_EQ(test::readBytes(dir / "data/status.sav"), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(Seed, BrokenDefinitionsLeaveNoHalfMadeDatabase) {
    for (const char* defs :
         {"{", R"({"objects": []})", R"({"sectionDefaults": {}, "objects": [{"number": "x"}]})",
          R"({"sectionDefaults": {}, "objects": [{"number": 0}]})"}) {
        TempDir dir;
        const auto st = seed::InitWorkingFolder(dir.path(), defs);
        ASSERT_FALSE(st) << defs;
        EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << defs;
    }
}

namespace {

// Model coordinates of the whole section as the connection editor places them.
std::vector<connect::PointPosition> sectionPositions(const connect::ConnectionModel& m) {
    auto map = connect::MakeScreenMapping(m, 4000, 4000, 0, m.boreholeCount());
    std::vector<connect::PointPosition> out;
    if (!map)
        return out;
    for (std::int32_t i = 0; i < m.pointCount(); ++i) {
        const auto s = map->pointPos(m, i);
        out.push_back({map->modelX(s), map->modelY(s)});
    }
    return out;
}

std::vector<connect::TracedArea> allAreas(const connect::ConnectionModel& m) {
    const auto positions = sectionPositions(m);
    const connect::LinesByPoint lines(m);
    std::vector<connect::TracedArea> areas;
    for (std::int32_t p = 0; p < m.boreholePointTotal(); ++p)
        for (auto sense : {connect::Sense::Right, connect::Sense::Left})
            if (auto area = connect::TraceArea(m, lines, positions, p, sense))
                areas.push_back(std::move(*area));
    return areas;
}

std::string igeOf(const connect::ConnectionModel& m, std::int32_t ige) {
    const auto& name = m.igeNumbers[static_cast<std::size_t>(ige)];
    auto text = platform::cp1251ToUtf8(std::string(name.begin(), name.end()));
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

} // namespace

TEST(Seed, DemoSectionsCarryConnectionsWithClosedAreas) {
    TempDir dir;
    ASSERT_TRUE(seed::InitWorkingFolder(dir.path(), seed::builtinDefinitions()));
    platform::WorkFolder folder(dir.path());
    std::vector<std::vector<connect::TracedArea>> bySection;
    std::vector<connect::ConnectionModel> models;
    for (const std::int32_t number : {1, 2}) {
        auto sec = section::ReadSection(folder, 1, number);
        ASSERT_TRUE(sec);
        auto fresh = connect::LoadSectionBoreholes(folder, 1, sec->boreholes);
        ASSERT_TRUE(fresh);
        auto stored = connect::ReadConnections(folder, store::paths::sectionFile(1, number, "SLO"));
        ASSERT_FALSE(stored.missing);
        ASSERT_TRUE(stored.model);
        // The stored file matches the boreholes as they are, so merging reports nothing.
        auto report = connect::mergeConnections(*fresh, *stored.model);
        ASSERT_TRUE(report);
        EXPECT_TRUE(report->empty());
        EXPECT_EQ(fresh->points, stored.model->points);
        // Merging may carry the lines in another order; none is lost or changed.
        auto key = [](const connect::ConnectionLine& l) { return std::pair(l.from, l.to); };
        auto sorted = [&](std::vector<connect::ConnectionLine> v) {
            std::sort(v.begin(), v.end(), [&](auto& a, auto& b) { return key(a) < key(b); });
            return v;
        };
        EXPECT_EQ(sorted(fresh->lines), sorted(stored.model->lines));
        bySection.push_back(allAreas(*fresh));
        models.push_back(std::move(*fresh));
    }
    // Section 1-1 is joined automatically; borehole 4 is too shallow to close "3б" and "4".
    EXPECT_GE(bySection[0].size(), 10u);
    // In section 2-2 "3а" wedges out between boreholes 5 and 6: its area closes through a node
    // on the base of "2", and "3б" and "4" close past the wedge.
    const auto& m = models[1];
    bool wedge = false;
    for (const auto& area : bySection[1]) {
        const auto& first = m.points[static_cast<std::size_t>(area.outline.front())];
        bool throughNode = false;
        for (auto p : area.outline)
            throughNode = throughNode ||
                          m.points[static_cast<std::size_t>(p)].kind == connect::PointKind::Node;
        if (throughNode && igeOf(m, area.ige) == "3а") {
            wedge = true;
            EXPECT_EQ(area.areaCount(), 4);
            EXPECT_EQ(m.boreholes[static_cast<std::size_t>(first.borehole)].fileNumber, 5);
        }
    }
    EXPECT_TRUE(wedge);
    std::vector<std::string> rightOfFive;
    for (const auto& area : bySection[1]) {
        const auto& first = m.points[static_cast<std::size_t>(area.outline.front())];
        const auto& next = m.points[static_cast<std::size_t>(area.outline[1])];
        if (first.borehole == 4 && (next.borehole == 5 || next.isFree()))
            rightOfFive.push_back(igeOf(m, area.ige));
    }
    EXPECT_EQ(rightOfFive, (std::vector<std::string>{"1", "2", "3а", "3б", "4"}));
}

TEST(Seed, LensDefinitionClosesTheLensAndTheLayerAroundIt) {
    TempDir dir;
    // Borehole 1 meets a lens of "Л" inside "А"; borehole 2 goes through "А" alone.
    const char* defs = R"({"sectionDefaults": {"horizontalScale": 200},
        "objects": [{"number": 1, "shortName": "А",
          "boreholes": [
            {"number": 1, "name": "1", "x": 0, "elevation": 100, "depth": 10, "type": 1,
             "ige": [["П", 1, 0], ["А", 3, 0], ["Л", 4.5, 0], ["А", 7, 0], ["Б", 10, 0]]},
            {"number": 2, "name": "2", "x": 30, "elevation": 99.5, "depth": 10, "type": 1,
             "ige": [["П", 1.2, 0], ["А", 6.5, 0], ["Б", 10, 0]]}],
          "sections": [{"number": 1, "name": "Л", "boreholes": [1, 2], "verticalScale": 100,
            "horizontalScale": 200, "sheetHeightMm": 297, "sheetWidthMm": 420,
            "connections": {"lenses": [{"borehole": 1, "ige": "Л", "reach": 0.4}]}}]}]})";
    ASSERT_TRUE(seed::InitWorkingFolder(dir.path(), defs));
    platform::WorkFolder folder(dir.path());
    auto stored = connect::ReadConnections(folder, store::paths::sectionFile(1, 1, "SLO"));
    ASSERT_TRUE(stored.model);
    const auto& m = *stored.model;
    std::vector<std::pair<std::string, std::int32_t>> areas;
    for (const auto& area : allAreas(m))
        areas.emplace_back(igeOf(m, area.ige), area.areaCount());
    // "А" runs around the lens: down borehole 2, back to the base of the lower "А", up past the
    // lens and around its bend point.
    EXPECT_EQ(areas, (std::vector<std::pair<std::string, std::int32_t>>{
                         {"П", 5}, {"А", 8}, {"Л", 4}, {"Б", 5}}));
    EXPECT_EQ(m.points.back().kind, connect::PointKind::Bend);
}
