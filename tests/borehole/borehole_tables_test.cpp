// The editor's tables: sorting, inserting, deleting and the hundred-row limit.
#include "borehole/borehole_tables.h"

#include <gtest/gtest.h>

using namespace orvo::borehole;

namespace {

std::vector<float> depths(const EditTable& t) {
    std::vector<float> out;
    for (const auto& r : t.rows())
        out.push_back(r.depth);
    return out;
}

void addRow(EditTable& t, const std::string& text, float depth, std::int16_t type) {
    t.setCurrent(t.count(), 10); // the empty last row
    t.setText(text);
    t.setDepth(depth);
    t.setType(type);
    t.sort();
}

} // namespace

TEST(EditTable, SortMovesWholeRowsAndDropsEmptyOnes) {
    EditTable t(10);
    t.assign({{"5", 5.0f, 1}, {"2", 2.5f, 2}, {"x", 0.0f, 3}, {"neg", -1.0f, 4}, {"3", 3.0f, 5}});
    t.setCurrent(3, 10);
    t.sort();
    EXPECT_EQ(depths(t), (std::vector<float>{2.5f, 3.0f, 5.0f}));
    EXPECT_EQ(t.row(0).text, "2");
    EXPECT_EQ(t.row(0).type, 2);
    EXPECT_EQ(t.row(2).text, "5");
    EXPECT_EQ(t.current(), 0);
    EXPECT_EQ(t.count(), 3);
    // The empty last row starts empty again; typing a depth there adds a row at the next sort.
    EXPECT_EQ(t.row(3).text, "");
    addRow(t, "1", 1.0f, 7);
    EXPECT_EQ(t.count(), 4);
    EXPECT_EQ(t.row(0).text, "1");
}

TEST(EditTable, TextIsCutToTheField) {
    EditTable t(8);
    t.setText("1234567890");
    EXPECT_EQ(t.row(0).text, "12345678");
}

TEST(EditTable, InsertAfterTheCurrentRowUpTo99) {
    EditTable t(10);
    t.assign({{"a", 1.0f, 0}, {"b", 2.0f, 0}});
    t.setCurrent(0, 5);
    ASSERT_TRUE(t.insertRow(5));
    EXPECT_EQ(t.count(), 3);
    EXPECT_EQ(t.current(), 1);
    EXPECT_EQ(t.row(1).text, "");
    EXPECT_EQ(t.row(2).text, "b");
    std::vector<TableRow> many(99, TableRow{"r", 1.0f, 0});
    t.assign(many);
    EXPECT_FALSE(t.insertRow(5));
    EXPECT_EQ(t.count(), 99);
}

TEST(EditTable, InsertKeepsWhatWasTypedIntoTheEmptyRow) {
    EditTable t(10);
    t.assign({{"a", 1.0f, 0}, {"b", 2.0f, 0}});
    t.setCurrent(2, 5); // the empty last row
    t.setText("c");
    t.setDepth(5.0f);
    t.setCurrent(0, 5);
    ASSERT_TRUE(t.insertRow(5));
    EXPECT_EQ(t.row(1).text, "");
    EXPECT_EQ(t.row(3).text, "c"); // moved down with the rest
    t.setCurrent(1, 5);
    t.setDepth(0.5f);
    t.sort();
    EXPECT_EQ(depths(t), (std::vector<float>{0.5f, 1.0f, 2.0f, 5.0f}));
    // Inserting with the cursor on the empty row puts the new row after it.
    t.setCurrent(t.count(), 5);
    t.setText("d");
    t.setDepth(9.0f);
    ASSERT_TRUE(t.insertRow(5));
    EXPECT_EQ(t.row(4).text, "d");
    EXPECT_EQ(t.current(), 5);
}

TEST(EditTable, NeverMoreThanAHundredRows) {
    EditTable t(10);
    std::vector<TableRow> many;
    for (int i = 0; i < 100; ++i)
        many.push_back({"r", static_cast<float>(i + 1), 0});
    t.assign(many);
    EXPECT_EQ(t.rowsShown(), 100); // no empty 101st row
    t.setCurrent(500, 10);
    EXPECT_EQ(t.current(), 99);
    t.sort();
    EXPECT_EQ(t.count(), 100);
    t.assign(std::vector<TableRow>(150, TableRow{"r", 1.0f, 0}));
    EXPECT_EQ(t.count(), 100);
}

TEST(EditTable, DeleteMovesRowsUpAndKeepsTheViewSane) {
    EditTable t(10);
    t.assign({{"a", 1.0f, 0}, {"b", 2.0f, 0}, {"c", 3.0f, 0}});
    t.setCurrent(1, 2);
    t.deleteRow(2);
    EXPECT_EQ(t.count(), 2);
    EXPECT_EQ(t.row(1).text, "c");
    t.setCurrent(2, 2); // the empty last row
    t.deleteRow(2);
    EXPECT_EQ(t.count(), 1);
    EXPECT_EQ(t.current(), 1);
    EditTable empty(10);
    empty.deleteRow(5);
    EXPECT_EQ(empty.count(), 0);
    EXPECT_EQ(empty.current(), 0);
}

TEST(EditTable, ScrollingFollowsTheCurrentRow) {
    EditTable t(10);
    t.assign(std::vector<TableRow>(30, TableRow{"r", 1.0f, 0}));
    t.setCurrent(12, 5);
    EXPECT_EQ(t.firstVisible(), 8);
    t.setCurrent(3, 5);
    EXPECT_EQ(t.firstVisible(), 3);
}

TEST(BoreholeEditData, ToAndFromTheStoredBorehole) {
    Borehole b = newBorehole(9);
    b.header.depth = 10.0f;
    b.header.type = 2;
    IgeLayer l;
    l.ige.setUtf8("2");
    l.baseDepth = 3.0f;
    l.consistency = 4;
    b.ige = {l};
    b.samples = {{1.5f, 1}};
    auto d = BoreholeEditData::from(b);
    EXPECT_EQ(d.ige.count(), 1);
    EXPECT_EQ(d.ige.row(0).text, "2");
    const Borehole back = d.toBorehole(9);
    EXPECT_EQ(boreholeBytes(back), boreholeBytes(b));
}
