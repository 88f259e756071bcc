// The borehole types dictionary: layout, stable indexes, record 0.
#include "borehole/borehole_types.h"
#include "store/records.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::borehole;

namespace {

BoreholeType type(const std::string& name, std::int32_t column, std::int32_t line, bool shown) {
    BoreholeType t;
    t.name.setUtf8(name);
    t.columnWidth = column;
    t.lineWidth = line;
    t.shownOnSection = shown ? 1 : 0;
    return t;
}

class BoreholeTypesTest : public ::testing::Test {
protected:
    BoreholeTypesTest() : folder(dir.path()) {
        std::filesystem::create_directories(dir / "DATA/DIC");
    }
    test::TempDir dir;
    platform::WorkFolder folder;
};

} // namespace

TEST(BoreholeType, FieldsAtTheirOffsets) {
    const auto b = store::recordBytes(type("Шурф", 80, 5, true));
    ASSERT_EQ(b.size(), 42u);
    EXPECT_EQ(b[0], 1);    // in use
    EXPECT_EQ(b[2], 0xD8); // "Ш"
    EXPECT_EQ(b[6], 0);
    EXPECT_EQ(b[32], 80);
    EXPECT_EQ(b[36], 5);
    EXPECT_EQ(b[40], 1);
    EXPECT_EQ(b[41], 0);
}

TEST_F(BoreholeTypesTest, AddingDeletingAndEditingKeepIndexes) {
    ASSERT_EQ(*AddBoreholeType(folder, type("- нет -", 60, 3, true)), 0);
    ASSERT_EQ(*AddBoreholeType(folder, type("Скважина", 60, 3, true)), 1);
    ASSERT_EQ(*AddBoreholeType(folder, type("Шурф", 80, 5, true)), 2);
    ASSERT_TRUE(DeleteBoreholeType(folder, 1));
    EXPECT_EQ(std::filesystem::file_size(dir / "DATA/DIC/TipSKV.SPS"), 3u * 42);
    auto deleted = ReadBoreholeType(folder, 1);
    ASSERT_TRUE(deleted);
    EXPECT_EQ(deleted->inUse, 0);
    EXPECT_EQ(deleted->name.utf8(), "Скважина"); // the record stays as it was
    // A new type goes to the end: its index is the count before.
    ASSERT_EQ(*AddBoreholeType(folder, type("Канава", 80, 3, false)), 3);
    ASSERT_TRUE(UpdateBoreholeType(folder, 2, type("Шурф глубокий", 90, 5, true)));
    auto list = ListBoreholeTypes(folder);
    ASSERT_TRUE(list);
    std::vector<int> indexes;
    for (const auto& t : *list)
        indexes.push_back(t.index);
    EXPECT_EQ(indexes, (std::vector<int>{0, 2, 3}));
    EXPECT_EQ((*list)[1].type.name.utf8(), "Шурф глубокий");
    EXPECT_EQ((*list)[1].type.columnWidth, 90);
}

TEST_F(BoreholeTypesTest, RecordZeroIsNeverChanged) {
    ASSERT_TRUE(AddBoreholeType(folder, type("- нет -", 60, 3, true)));
    const auto before = test::readBytes(dir / "DATA/DIC/TipSKV.SPS");
    EXPECT_FALSE(UpdateBoreholeType(folder, 0, type("x", 1, 1, false)));
    EXPECT_FALSE(DeleteBoreholeType(folder, 0));
    EXPECT_EQ(test::readBytes(dir / "DATA/DIC/TipSKV.SPS"), before);
    EXPECT_FALSE(ReadBoreholeType(folder, 1)); // past the end
    EXPECT_FALSE(ReadBoreholeType(folder, -1));
    EXPECT_FALSE(UpdateBoreholeType(folder, 5, type("x", 1, 1, false)));
}

TEST_F(BoreholeTypesTest, ATornTailIsIgnoredAndKeptOutOfTheWay) {
    store::Bytes bytes = store::recordBytes(type("- нет -", 60, 3, true));
    bytes.push_back(0x77); // a partial record
    test::writeBytes(dir / "DATA/DIC/TipSKV.SPS", bytes);
    EXPECT_EQ(ListBoreholeTypes(folder)->size(), 1u);
    ASSERT_EQ(*AddBoreholeType(folder, type("Скважина", 60, 3, true)), 1);
    EXPECT_EQ(std::filesystem::file_size(dir / "DATA/DIC/TipSKV.SPS"), 84u);
    EXPECT_EQ(ReadBoreholeType(folder, 1)->name.utf8(), "Скважина");
}
