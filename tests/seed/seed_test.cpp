// The default database: what `orvo init` writes and what it refuses.
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
