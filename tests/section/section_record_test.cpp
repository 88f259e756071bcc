// The section file: the 178-byte header at its offsets, round trips, and files that are refused.
#include "section/section_record.h"
#include "support/db_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::section;

namespace {

Section sample() {
    Section s;
    s.header.number = 0x01020304;
    s.header.created = 1000;
    s.header.name.set("AB");
    s.header.horizontalScale = 500;
    s.header.verticalScale = 0;
    s.header.sheetWidthMm = 420;
    s.header.sheetHeightMm = 297;
    s.header.signatures[0].setPadded("X");
    s.header.signatures[1].setPadded("");
    s.header.signatures[2].setPadded("");
    s.header.signatures[3].setPadded("YZ");
    s.header.stampFirstSheet = -2;
    s.header.stampOtherSheets = 3;
    s.boreholes = {7, 258};
    return s;
}

std::vector<std::uint8_t> slice(const store::Bytes& b, std::size_t at, std::size_t n) {
    return {b.begin() + static_cast<std::ptrdiff_t>(at),
            b.begin() + static_cast<std::ptrdiff_t>(at + n)};
}

} // namespace

TEST(SectionRecord, HeaderFieldsLieAtTheirOffsets) {
    const auto bytes = sectionBytes(sample());
    ASSERT_EQ(bytes.size(), 178u + 8u);
    using V = std::vector<std::uint8_t>;
    EXPECT_EQ(slice(bytes, 0, 4), (V{0x04, 0x03, 0x02, 0x01}));
    EXPECT_EQ(slice(bytes, 4, 4), (V{0xE8, 0x03, 0x00, 0x00}));
    // Name: zero-terminated, the rest of its 30 bytes zero.
    EXPECT_EQ(slice(bytes, 8, 3), (V{'A', 'B', 0}));
    EXPECT_EQ(slice(bytes, 11, 27), V(27, 0));
    EXPECT_EQ(slice(bytes, 38, 4), (V{0xF4, 0x01, 0x00, 0x00}));
    EXPECT_EQ(slice(bytes, 42, 4), (V{0, 0, 0, 0}));
    EXPECT_EQ(slice(bytes, 46, 4), (V{0xA4, 0x01, 0x00, 0x00}));
    EXPECT_EQ(slice(bytes, 50, 4), (V{0x29, 0x01, 0x00, 0x00}));
    // Signatures: space-padded to 30, no terminator.
    V first(30, ' ');
    first[0] = 'X';
    EXPECT_EQ(slice(bytes, 54, 30), first);
    EXPECT_EQ(slice(bytes, 84, 60), V(60, ' '));
    V fourth(30, ' ');
    fourth[0] = 'Y';
    fourth[1] = 'Z';
    EXPECT_EQ(slice(bytes, 144, 30), fourth);
    EXPECT_EQ(slice(bytes, 174, 2), (V{0xFE, 0xFF}));
    EXPECT_EQ(slice(bytes, 176, 2), (V{0x03, 0x00}));
    EXPECT_EQ(slice(bytes, 178, 8), (V{7, 0, 0, 0, 0x02, 0x01, 0, 0}));
}

TEST(SectionRecord, RoundTripKeepsEveryByte) {
    auto bytes = sectionBytes(sample());
    // Leftovers after the name's terminator must survive a rewrite.
    bytes[20] = 0x5A;
    const auto parsed = parseSection(bytes, "x");
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed->header.number, 0x01020304);
    EXPECT_EQ(parsed->header.stampFirstSheet, -2);
    EXPECT_EQ(parsed->header.name.bytes(), "AB");
    EXPECT_EQ(parsed->boreholes, (std::vector<std::int32_t>{7, 258}));
    EXPECT_EQ(sectionBytes(*parsed), bytes);

    // A remainder of up to three bytes is not a number and is dropped.
    auto longer = bytes;
    longer.insert(longer.end(), {1, 2, 3});
    const auto trimmed = parseSection(longer, "x");
    ASSERT_TRUE(trimmed.ok());
    EXPECT_EQ(trimmed->boreholes.size(), 2u);
}

TEST(SectionRecord, ReadsBackWhatWasWritten) {
    test::TempDir dir;
    platform::WorkFolder folder(dir.path());
    std::filesystem::create_directories(dir / "DATA/00003.OBJ");
    Section s = sample();
    s.header.number = 12;
    ASSERT_TRUE(WriteSection(folder, 3, s).ok());
    EXPECT_EQ(test::readBytes(dir / "DATA/00003.OBJ/000012.DAT"), sectionBytes(s));
    const auto read = ReadSection(folder, 3, 12);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(sectionBytes(*read), sectionBytes(s));
    EXPECT_FALSE(ReadSection(folder, 3, 13).ok());
}

TEST(SectionRecord, RefusesShortFilesAndTooManyNumbers) {
    const auto bytes = sectionBytes(sample());
    const store::Bytes header(bytes.begin(), bytes.begin() + 178);
    const store::Bytes shortFile(bytes.begin(), bytes.begin() + 177);
    const auto refused = parseSection(shortFile, "DATA\\00001.OBJ\\000001.DAT");
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().text.find("Неверный формат файла"), std::string::npos);
    EXPECT_FALSE(parseSection({}, "x").ok());

    // One hundred numbers are a full section; one more is not a file this program wrote.
    auto full = header;
    full.resize(178 + 4 * 100, 0);
    const auto parsedFull = parseSection(full, "x");
    ASSERT_TRUE(parsedFull.ok());
    EXPECT_EQ(parsedFull->boreholes.size(), 100u);
    auto over = full;
    over.resize(178 + 4 * 101, 0);
    EXPECT_FALSE(parseSection(over, "x").ok());

    test::TempDir dir;
    platform::WorkFolder folder(dir.path());
    std::filesystem::create_directories(dir / "DATA/00001.OBJ");
    Section tooMany = sample();
    tooMany.boreholes.assign(101, 5);
    EXPECT_FALSE(WriteSection(folder, 1, tooMany).ok());
    EXPECT_FALSE(std::filesystem::exists(dir / "DATA/00001.OBJ/000016909060.DAT"));
}

TEST(SectionRecord, NewSectionStartsFromTheDefaults) {
    store::SectionDefaults d;
    d.verticalScale = 0;
    d.horizontalScale = 2000;
    d.sheetHeightMm = 297;
    d.sheetWidthMm = 841;
    d.stampFirstSheet = 2;
    d.stampOtherSheets = 4;
    const Section s = newSection(9, 123456, d);
    EXPECT_EQ(s.header.number, 9);
    EXPECT_EQ(s.header.created, 123456);
    EXPECT_EQ(s.header.horizontalScale, 2000);
    EXPECT_EQ(s.header.sheetWidthMm, 841);
    EXPECT_EQ(s.header.stampOtherSheets, 4);
    EXPECT_EQ(s.header.name.bytes(), "");
    for (const auto& sig : s.header.signatures)
        EXPECT_EQ(std::string(sig.raw.begin(), sig.raw.end()), std::string(30, ' '));
    EXPECT_TRUE(s.boreholes.empty());
}

// "Сохранить" of a new section: the number is taken once, even when the first try fails, and the
// section's working copies become its own files.
TEST(SectionRecord, SavingANewSectionNumbersItOnce) {
    test::TempDir dir;
    test::DbBuilder db(dir.path());
    db.object(3, "Объект");
    platform::WorkFolder folder(dir.path());
    store::ProjectStore store(folder);
    store::StatusRecord status;
    status.nextSectionNumber = 12;
    test::writeBytes(dir / "WORK.SLO", {1, 2, 3});
    Section s = sample();
    bool numbered = false;
    // A folder where the file goes makes the first save fail after the number is taken.
    std::filesystem::create_directories(dir / "DATA/00003.OBJ/000012.DAT/x");
    EXPECT_FALSE(SaveSection(store, status, 3, s, true, numbered));
    EXPECT_TRUE(numbered);
    EXPECT_EQ(s.header.number, 12);
    EXPECT_TRUE(store.ReadSectionList(3)->empty());
    std::filesystem::remove_all(dir / "DATA/00003.OBJ/000012.DAT");

    ASSERT_TRUE(SaveSection(store, status, 3, s, true, numbered));
    EXPECT_EQ(s.header.number, 12);
    EXPECT_EQ(status.nextSectionNumber, 13);
    EXPECT_EQ(store.LoadStatus()->nextSectionNumber, 13);
    EXPECT_EQ(*store.ReadSectionList(3), std::vector<std::int32_t>{12});
    EXPECT_EQ(sectionBytes(*ReadSection(folder, 3, 12)), sectionBytes(s));
    EXPECT_EQ(test::readBytes(dir / "DATA/00003.OBJ/000012.SLO"), (store::Bytes{1, 2, 3}));
    EXPECT_FALSE(std::filesystem::exists(dir / "WORK.SLO"));

    // Saved again as an existing section: no new number, listed once.
    s.header.name.set("CD");
    ASSERT_TRUE(SaveSection(store, status, 3, s, false, numbered));
    EXPECT_EQ(status.nextSectionNumber, 13);
    EXPECT_EQ(*store.ReadSectionList(3), std::vector<std::int32_t>{12});
    EXPECT_EQ(ReadSection(folder, 3, 12)->header.name.bytes(), "CD");
}
