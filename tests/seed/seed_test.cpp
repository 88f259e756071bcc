// The default database: what `orvo init` writes and what it refuses.
#include "borehole/borehole_record.h"
#include "borehole/borehole_types.h"
#include "borehole/validation.h"
#include "dict/mark_type.h"
#include "dict/symbol.h"
#include "section/drawing_form.h"
#include "section/settings_lists.h"
#include "seed/seed.h"
#include "shell/library_tree.h"
#include "store/project_store.h"
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
    auto form = section::ReadDrawingForm(folder, 0, sink);
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
