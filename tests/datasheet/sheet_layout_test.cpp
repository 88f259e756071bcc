// The layout file: field offsets, byte-exact round trips, refusals, and what the seed writes.
#include "datasheet/sheet_layout.h"

#include "sheet_fixture.h"
#include "support/bytes.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

using namespace orvo;
using datasheet::SheetLayout;

namespace {

std::int16_t le16(const store::Bytes& b, std::size_t at) {
    return static_cast<std::int16_t>(b[at] | (b[at + 1] << 8));
}

} // namespace

TEST(SheetLayout, FieldsLieAtTheirOffsets) {
    SheetLayout l;
    l.setFace(0, "Arial Cyr");
    l.setFace(4, "Times New Roman Cyr");
    for (int i = 0; i < datasheet::kTextElements; ++i)
        l.textHeight[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(10 * (i + 1));
    l.textAttr[4] = {1, 2, 3, 4, 5, 6, 204, 34};
    l.linePen = {5, 6, 7};
    std::iota(l.layoutSize.begin(), l.layoutSize.end(), std::int16_t{1000});
    const auto b = datasheet::sheetLayoutBytes(l);
    ASSERT_EQ(b.size(), SheetLayout::kSize);

    EXPECT_EQ(test::text(b, 0, 10), std::string("Arial Cyr\0", 10));
    EXPECT_EQ(test::text(b, 160, 20), std::string("Times New Roman Cyr\0", 20));
    struct Field {
        std::size_t offset;
        int value;
    };
    for (const Field f : {Field{200, 10}, Field{208, 50}, Field{250, 5}, Field{254, 7},
                          Field{256, 1000}, Field{256 + 2 * 13, 1013}, Field{332, 1038}})
        EXPECT_EQ(le16(b, f.offset), f.value) << "offset " << f.offset;
    const store::Bytes attr(b.begin() + 242, b.begin() + 250);
    EXPECT_EQ(attr, (store::Bytes{1, 2, 3, 4, 5, 6, 204, 34}));
    // The face is cut to the 32 characters a font takes.
    l.setFace(1, std::string(50, 'A'));
    EXPECT_EQ(l.face(1).size(), 31u);
}

TEST(SheetLayout, AnyFileRoundTripsByteForByte) {
    std::mt19937 rng(19);
    for (int round = 0; round < 20; ++round) {
        store::Bytes in(SheetLayout::kSize);
        for (auto& byte : in)
            byte = static_cast<std::uint8_t>(rng());
        auto l = datasheet::parseSheetLayout(in, "x");
        ASSERT_TRUE(l);
        EXPECT_EQ(datasheet::sheetLayoutBytes(*l), in);
    }
}

TEST(SheetLayout, MissingOrShortFileIsRefused) {
    test::TempDir dir;
    platform::WorkFolder folder(dir.path());
    EXPECT_FALSE(datasheet::ReadSheetLayout(folder));
    for (std::size_t size : {0u, 1u, 333u}) {
        test::writeBytes(dir / "DATA/View_SKV.prm", store::Bytes(size, 7));
        const auto l = datasheet::ReadSheetLayout(folder);
        ASSERT_FALSE(l) << size;
        EXPECT_EQ(l.error().caption, "Ошибка");
    }
    // A longer file gives its first 334 bytes.
    store::Bytes longer(400, 0);
    longer[256] = 42;
    test::writeBytes(dir / "DATA/View_SKV.prm", longer);
    const auto l = datasheet::ReadSheetLayout(folder);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->size(0), 42);
}

TEST(SheetLayout, WrittenAtomicallyAndReadBack) {
    test::TempDir dir;
    platform::WorkFolder folder(dir.path());
    ASSERT_TRUE(folder.makeFolder("DATA"));
    SheetLayout l;
    l.layoutSize[38] = -5;
    l.setFace(2, "Шрифт");
    ASSERT_TRUE(datasheet::WriteSheetLayout(folder, l));
    const auto back = datasheet::ReadSheetLayout(folder);
    ASSERT_TRUE(back);
    EXPECT_EQ(datasheet::sheetLayoutBytes(*back), datasheet::sheetLayoutBytes(l));
    EXPECT_EQ(back->face(2), "Шрифт");
    EXPECT_EQ(folder.listFolder("DATA"), std::vector<std::string>{"View_SKV.prm"});
}

TEST(SheetLayout, SeedWritesAnA4LayoutWithItsFrame) {
    const auto l = test::SeededDatabase::get().layout();
    EXPECT_EQ(std::filesystem::file_size(test::SeededDatabase::get().root() / "DATA/View_SKV.prm"),
              SheetLayout::kSize);
    // 5 mm top, 20 mm left, and 5 mm right and bottom on 210 x 297 mm.
    EXPECT_EQ(l.size(0), 50);
    EXPECT_EQ(l.size(1), 200);
    EXPECT_EQ(l.size(1) + l.size(2), 2100 - 50);
    EXPECT_EQ(l.size(0) + l.size(3), 2970 - 50);
    for (int i = 0; i < datasheet::kTextElements; ++i) {
        EXPECT_EQ(l.face(i), "Arial Cyr");
        EXPECT_EQ(l.textHeight[static_cast<std::size_t>(i)] % 10, 0) << "whole millimetres";
    }
    EXPECT_EQ(l.linePen, (std::array<std::int16_t, 3>{5, 5, 2}));
    // The layout dialog's fallback is the same layout.
    EXPECT_EQ(datasheet::sheetLayoutBytes(datasheet::defaultSheetLayout()),
              datasheet::sheetLayoutBytes(l));
    EXPECT_EQ(datasheet::kLayoutSizeNames[38], std::string("Таблица ОП: ширина 3 столбца"));
}
