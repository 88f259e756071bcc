// Groundwater horizon and sample types: the two lists, their slots and the symbol preview.
#include "dict/mark_type.h"
#include "store/le_stream.h"
#include "store/records.h"
#include "support/bytes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::dict;
using test::readBytes;
using test::TempDir;

using orvo::test::le32;
using orvo::test::text;

namespace {

class MarkStore : public ::testing::Test {
protected:
    MarkStore() : folder(dir.path()) { std::filesystem::create_directories(dir / "DATA/DIC"); }
    TempDir dir;
    platform::WorkFolder folder;
};

} // namespace

TEST_F(MarkStore, MarkTypesAppendRenameDeleteAndSymbol) {
    const auto path = dir / "DATA/DIC/TipOP.SPS";
    ASSERT_EQ(*SaveNewMarkType(folder, MarkList::Samples, "Нет", 0), 0); // list created
    ASSERT_EQ(*SaveNewMarkType(folder, MarkList::Samples, "", 4), 1);
    auto bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 2u * 38);
    EXPECT_EQ(le32(bytes, 38), 1);
    EXPECT_EQ(text(bytes, 42, 30), std::string(30, ' ')); // empty name: 30 spaces
    EXPECT_EQ(le32(bytes, 72), 4);
    EXPECT_FALSE(std::filesystem::exists(dir / "DATA/DIC/TipPV.SPS")); // the other list

    MarkTypeRecord rec = *ReadMarkType(folder, MarkList::Samples, 1);
    setMarkTypeName(rec, "Монолит ненарушенной структуры грунта");
    ASSERT_EQ(*SaveMarkType(folder, MarkList::Samples, 1, rec), 1);
    EXPECT_EQ(ReadMarkType(folder, MarkList::Samples, 1)->name.utf8(),
              "Монолит ненарушенной структуры");
    ASSERT_TRUE(SetMarkTypeSymbol(folder, MarkList::Samples, 1, 7));
    EXPECT_EQ(ReadMarkType(folder, MarkList::Samples, 1)->symbol, 7);

    ASSERT_TRUE(DeleteMarkType(folder, MarkList::Samples, 1));
    bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 2u * 38); // the slot stays
    EXPECT_EQ(le32(bytes, 38), 0);
    EXPECT_EQ(le32(bytes, 72), 7);

    // Slot 0 keeps its name, symbol and flag; gaps are not written.
    EXPECT_FALSE(DeleteMarkType(folder, MarkList::Samples, 0));
    EXPECT_FALSE(SetMarkTypeSymbol(folder, MarkList::Samples, 0, 3));
    EXPECT_FALSE(SaveMarkType(folder, MarkList::Samples, 0, rec));
    EXPECT_FALSE(SaveMarkType(folder, MarkList::Samples, 5, rec));
    EXPECT_FALSE(SetMarkTypeSymbol(folder, MarkList::Samples, 9, 3));
    EXPECT_EQ(readBytes(path), bytes);
}

TEST(MarkTypePreview, SymbolFittedAndCentred) {
    const SymbolFrame client{0, 0, 126, 96};
    const SymbolFrame area = markSymbolArea(client);
    EXPECT_EQ(area.left, 13);
    EXPECT_EQ(area.top, 18);
    EXPECT_EQ(area.right, 113);
    EXPECT_EQ(area.bottom, 78);
    EXPECT_EQ(markPreviewArea(client).left, 3);
    EXPECT_EQ(markPreviewArea(client).bottom, 88);
    // 100 x 60 units for a symbol 500 wide and 1000 high: height decides, 0.06 per 0.01 mm.
    auto p = fitSymbol(area, 1000, 500);
    ASSERT_TRUE(p);
    EXPECT_FLOAT_EQ(p->scale, 0.06f);
    EXPECT_EQ(p->at.x, 13 + (100 - 30) / 2);
    EXPECT_EQ(p->at.y, 18);
    // A wide symbol: width decides and it is centred vertically.
    p = fitSymbol(area, 100, 2000);
    ASSERT_TRUE(p);
    EXPECT_FLOAT_EQ(p->scale, 0.05f);
    EXPECT_EQ(p->at.x, 13);
    EXPECT_EQ(p->at.y, 18 + (60 - 5) / 2);
    EXPECT_FALSE(fitSymbol(area, -10000, -10000));                     // saved without elements
    EXPECT_FALSE(fitSymbol(markSymbolArea({0, 0, 20, 20}), 100, 100)); // no room left
}
