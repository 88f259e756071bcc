// Title block files, list, exchange and drawing.
#include "dict/title_block.h"
#include "dict/title_block_draw.h"
#include "platform/recording_canvas.h"
#include "support/golden.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace orvo;
using namespace orvo::dict;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

namespace {

TitleSegment seg(int x1, int y1, int x2, int y2, int pen = 3) {
    return {static_cast<std::int16_t>(x1), static_cast<std::int16_t>(y1),
            static_cast<std::int16_t>(x2), static_cast<std::int16_t>(y2),
            static_cast<std::int16_t>(pen)};
}

TitleTextBox box(int x1, int y1, int x2, int y2, int style = kTitleLeft, int size = 10) {
    return {static_cast<std::int16_t>(style), static_cast<std::int16_t>(size),
            static_cast<std::int16_t>(x1),    static_cast<std::int16_t>(y1),
            static_cast<std::int16_t>(x2),    static_cast<std::int16_t>(y2)};
}

// A small block: a frame 185 x 55 mm with one field and one caption.
TitleBlock sample() {
    TitleBlock b;
    b.segments = {seg(0, 550, 1850, 550), seg(0, 0, 1850, 0), seg(0, 0, 0, 550, 5),
                  seg(1850, 0, 1850, 550, 5)};
    TitleProgramText field;
    field.fieldCode = 1;
    field.font = logFontFor("Arial Cyr");
    field.box = box(100, 500, 1800, 400, kTitleCentred | kTitleBold, 14);
    b.programTexts.push_back(field);
    TitleEditableText caption;
    caption.text.setUtf8("Разработал");
    caption.font = logFontFor("Arial Cyr");
    caption.box = box(50, 150, 500, 50, kTitleLeft, 8);
    b.editableTexts.push_back(caption);
    b.computeExtent();
    return b;
}

class TitleBlockStore : public ::testing::Test {
protected:
    TitleBlockStore() : folder(dir.path()) {
        std::filesystem::create_directories(dir / "DATA/DIC");
    }
    TempDir dir;
    platform::WorkFolder folder;
};

std::uint16_t le16(const store::Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

} // namespace

TEST(TitleBlockFile, LayoutOfHeaderAndRecords) {
    const TitleBlock b = sample();
    EXPECT_EQ(b.width, 1850);
    EXPECT_EQ(b.height, 550);
    const auto bytes = titleBlockBytes(b);
    ASSERT_EQ(bytes.size(), 10u + 4 * 10 + 74 + 200);
    EXPECT_EQ(le16(bytes, 0), 4);
    EXPECT_EQ(le16(bytes, 2), 1);
    EXPECT_EQ(le16(bytes, 4), 1);
    EXPECT_EQ(le16(bytes, 6), 1850);
    EXPECT_EQ(le16(bytes, 10 + 2), 550); // first segment's y1
    EXPECT_EQ(le16(bytes, 10 + 8), 3);   // its pen
    const std::size_t prog = 10 + 40;
    EXPECT_EQ(le16(bytes, prog), 1);          // field code
    EXPECT_EQ(bytes[prog + 2 + 20 + 3], 204); // charset in the font record
    EXPECT_EQ(bytes[prog + 2 + 28], 'A');     // face name
    EXPECT_EQ(le16(bytes, prog + 62), kTitleCentred | kTitleBold);
    EXPECT_EQ(le16(bytes, prog + 64), 14);
    EXPECT_EQ(le16(bytes, prog + 66), 100);
    const std::size_t edit = prog + 74;
    EXPECT_EQ(bytes[edit], 0xD0); // "Р"
    EXPECT_EQ(le16(bytes, edit + 128 + 60 + 2), 8);
    EXPECT_EQ(le16(bytes, edit + 198), 50); // y2
    auto back = parseTitleBlock(bytes, "x");
    ASSERT_TRUE(back);
    EXPECT_EQ(titleBlockBytes(*back), bytes);
}

TEST(TitleBlockFile, CountsThatDoNotFitAreRefused) {
    auto bytes = titleBlockBytes(sample());
    for (std::size_t cut : {std::size_t{0}, std::size_t{9}, bytes.size() - 1}) {
        auto shorter = bytes;
        shorter.resize(cut);
        EXPECT_FALSE(parseTitleBlock(shorter, "f")) << cut;
    }
    bytes[0] = 0xFF; // -1 segments
    bytes[1] = 0xFF;
    EXPECT_FALSE(parseTitleBlock(bytes, "f"));
    bytes[0] = 0x10; // 4112 segments
    bytes[1] = 0x10;
    auto r = parseTitleBlock(bytes, "DATA\\DIC\\00003.SHT");
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().text, "Неверный формат файла \"DATA\\DIC\\00003.SHT\"");
}

TEST(TitleBlockFile, EmptyBlockHasNoSize) {
    TitleBlock b;
    b.computeExtent();
    EXPECT_EQ(b.width, 0);
    EXPECT_EQ(b.height, 0);
    EXPECT_EQ(titleBlockBytes(b), store::Bytes(10, 0));
    platform::RecordingCanvas canvas;
    DrawTitleBlock(canvas, b, {0, 0}, 1.0);
    EXPECT_EQ(canvas.dump().find("line"), std::string::npos);
    EXPECT_EQ(canvas.dump().find("text "), std::string::npos);
}

TEST_F(TitleBlockStore, SavingRenamingDeleting) {
    ASSERT_TRUE(SaveTitleBlock(folder, 0, "Шаблон", TitleBlock{}));
    auto first = SaveNewTitleBlock(folder, "Штамп основной надписи формы 1 по ГОСТ 21.101 длинный",
                                   sample());
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, 1);
    auto list = test::readBytes(dir / "DATA/DIC/shtamp.sps");
    ASSERT_EQ(list.size(), 2u + 2 * 42);
    EXPECT_EQ(le16(list, 0), 2);
    EXPECT_EQ(le16(list, 2 + 42), 1);
    EXPECT_EQ(list[2 + 42 + 2 + 39], 0); // 39 characters and a terminator
    EXPECT_TRUE(std::filesystem::exists(dir / "DATA/DIC/00001.SHT"));

    ASSERT_TRUE(RenameTitleBlock(folder, 1, "Новое имя"));
    EXPECT_EQ(ReadTitleBlockList(folder)->entries[1].name.utf8(), "Новое имя");
    EXPECT_FALSE(RenameTitleBlock(folder, 0, "x")); // the template keeps its name
    EXPECT_FALSE(DeleteTitleBlock(folder, 0, true));

    ASSERT_TRUE(DeleteTitleBlock(folder, 1, false));
    EXPECT_TRUE(std::filesystem::exists(dir / "DATA/DIC/00001.SHT")); // kept on disk
    auto after = ReadTitleBlockList(folder);
    ASSERT_EQ(after->entries.size(), 2u); // the slot stays
    EXPECT_EQ(after->entries[1].used, 0);
    ASSERT_EQ(*SaveNewTitleBlock(folder, "Третий", sample()), 2);
    ASSERT_TRUE(DeleteTitleBlock(folder, 2, true));
    EXPECT_FALSE(std::filesystem::exists(dir / "DATA/DIC/00002.SHT"));
}

TEST_F(TitleBlockStore, AListCountLargerThanItsRecordsIsNotTrusted) {
    store::Bytes list{9, 0}; // claims nine slots
    TitleBlockListRecord rec;
    rec.used = 1;
    rec.name.setUtf8("один");
    store::appendRecord(list, rec);
    writeBytes(dir / "DATA/DIC/shtamp.sps", list);
    auto read = ReadTitleBlockList(folder);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->entries.size(), 1u);
    writeBytes(dir / "DATA/DIC/shtamp.sps", {0xFF, 0xFF}); // negative count
    EXPECT_TRUE(ReadTitleBlockList(folder)->entries.empty());
    writeBytes(dir / "DATA/DIC/shtamp.sps", {1});
    EXPECT_FALSE(ReadTitleBlockList(folder));
}

TEST_F(TitleBlockStore, WorkingFilesAndCancelling) {
    ASSERT_TRUE(SaveTitleBlock(folder, 0, "Шаблон", sample()));
    const auto listBefore = readBytes(dir / "DATA/DIC/shtamp.sps");
    auto edit = TitleBlockEdit::Load(folder, 0);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->name, ""); // the template's name is cleared
    // Each element behind an int32 alive flag.
    const auto lines = readBytes(dir / "SHT_LIN.tmp");
    ASSERT_EQ(lines.size(), 4u * (4 + 10));
    EXPECT_EQ(lines[0], 1);
    EXPECT_EQ(readBytes(dir / "SHT_TXS.tmp").size(), 4u + 74);
    EXPECT_EQ(readBytes(dir / "SHT_TXE.tmp").size(), 4u + 200);
    EXPECT_TRUE(edit->fieldUsed(1));
    EXPECT_FALSE(edit->fieldUsed(0));
    edit->segments[2].alive = false;
    ASSERT_TRUE(edit->flush());
    EXPECT_EQ(readBytes(dir / "SHT_LIN.tmp")[2 * 14], 0);
    edit->discard(); // cancelled: nothing else changes
    EXPECT_FALSE(std::filesystem::exists(dir / "SHT_LIN.tmp"));
    EXPECT_EQ(readBytes(dir / "DATA/DIC/shtamp.sps"), listBefore);

    auto again = TitleBlockEdit::Load(folder, 0);
    ASSERT_TRUE(again);
    for (auto& s : again->segments)
        s.alive = false;
    for (auto& t : again->programTexts)
        t.alive = false;
    for (auto& t : again->editableTexts)
        t.alive = false;
    again->name = "Пустой";
    auto slot = again->save(std::nullopt);
    ASSERT_TRUE(slot);
    EXPECT_EQ(*slot, 1);
    EXPECT_EQ(readBytes(dir / "DATA/DIC/00001.SHT"), store::Bytes(10, 0)); // zero counts
    EXPECT_FALSE(std::filesystem::exists(dir / "SHT_TXE.tmp"));
}

TEST_F(TitleBlockStore, ExchangeFilesRoundTripAndRefuseDamage) {
    ASSERT_TRUE(SaveTitleBlock(folder, 0, "Шаблон", TitleBlock{}));
    TitleBlockListRecord rec;
    rec.used = 1;
    rec.name.setUtf8("Штамп А");
    const auto bytes = exchangeBytes(rec, sample());
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 14), "ORVO-II Shtamp");
    EXPECT_EQ(bytes.size(), 14u + 42 + titleBlockBytes(sample()).size());
    auto item = parseExchange(bytes);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->record.name.utf8(), "Штамп А");

    // A new name goes to a new last slot; the same name again matches it.
    auto slot = ImportTitleBlock(folder, *item,
                                 findTitleBlockByName(*ReadTitleBlockList(folder), item->record));
    ASSERT_TRUE(slot);
    EXPECT_EQ(*slot, 1);
    EXPECT_EQ(readBytes(dir / "DATA/DIC/00001.SHT"), titleBlockBytes(sample()));
    EXPECT_EQ(findTitleBlockByName(*ReadTitleBlockList(folder), item->record), 1);
    TitleBlockListRecord other = rec;
    other.name.setUtf8("штамп а"); // names match case-sensitively
    EXPECT_FALSE(findTitleBlockByName(*ReadTitleBlockList(folder), other));

    auto wrongMagic = bytes;
    wrongMagic[0] = 'X';
    auto r = parseExchange(wrongMagic);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().text, "Неверный формат файла");
    EXPECT_EQ(r.error().caption, "ОШИБКА");
    auto truncated = bytes;
    truncated.resize(bytes.size() - 5);
    EXPECT_FALSE(parseExchange(truncated));
    truncated.resize(20);
    EXPECT_FALSE(parseExchange(truncated));
    // The template is never replaced by an import.
    EXPECT_FALSE(ImportTitleBlock(folder, *item, 0));
}

TEST(TitleBlockDraw, GoldenDump) {
    platform::RecordingCanvas canvas;
    DrawTitleBlock(canvas, sample(), {10, 20}, 0.5);
    EXPECT_TRUE(test::matchesGolden(ORVO_GOLDEN_DIR "/title-block-draw", canvas.dump()));
}

TEST(TitleBlockDraw, TextHeightsAndPlacement) {
    EXPECT_EQ(titleTextHeight(10), 35); // 2540 / 72 = 35.27
    EXPECT_EQ(titleTextHeight(14), 49); // 3556 / 72 = 49.39
    EXPECT_EQ(titleTextHeight(9), 32);  // 2286 / 72 = 31.75, rounded up
    platform::RecordingCanvas canvas;
    DrawTitleBlock(canvas, sample(), {0, 0}, 1.0,
                   [](int code) { return "поле " + std::to_string(code); });
    // The field box (100,500)-(1800,400) in a block 550 high lands at y 50..150, centred, bold.
    EXPECT_NE(canvas.dump().find("font \"Arial Cyr\" 49.00 700\ntext 100.00,50.00 1700.00x100.00 "
                                 "hcenter/vcenter \"поле 1\""),
              std::string::npos)
        << canvas.dump();
    // The top segment (y 550) is drawn at the top (y 0) with its pen width.
    EXPECT_NE(canvas.dump().find("pen #000000 3.00 solid\nline 0.00,0.00 1850.00,0.00"),
              std::string::npos);
    // The stored height, not the elements, decides the flip: one stored short moves everything.
    TitleBlock b = sample();
    b.height = 500;
    platform::RecordingCanvas shifted;
    DrawTitleBlock(shifted, b, {0, 0}, 1.0);
    EXPECT_NE(shifted.dump().find("line 0.00,-50.00 1850.00,-50.00"), std::string::npos);
}
