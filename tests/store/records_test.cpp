// Byte layouts of the database records and the text-field rules.
#include "store/records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

using namespace orvo::store;

namespace {

Bytes sequence(std::size_t n, std::uint8_t start = 1) {
    Bytes b(n);
    std::iota(b.begin(), b.end(), start);
    return b;
}

std::int32_t le32(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                     (static_cast<std::uint32_t>(b[at + 3]) << 24));
}

// Reading any bytes and writing the record again gives the same bytes.
template <class R> void expectRoundTrip(const Bytes& bytes) {
    auto rec = parseRecord<R>(bytes);
    ASSERT_TRUE(rec.has_value());
    EXPECT_EQ(recordBytes(*rec), Bytes(bytes.begin(), bytes.begin() + R::kSize));
}

} // namespace

TEST(Records, ArbitraryBytesRoundTripIncludingReservedAndLeftovers) {
    expectRoundTrip<StatusRecord>(sequence(22));
    expectRoundTrip<SectionDefaults>(sequence(28));
    expectRoundTrip<ObjectListEntry>(sequence(36));
    expectRoundTrip<ObjectTitle>(sequence(264, 0x20));
    expectRoundTrip<BoreholeHeader>(sequence(38, 0x41));
    // Float fields keep their exact bits, even a NaN's payload.
    Bytes nan = sequence(38);
    nan[14] = 0x01, nan[15] = 0x00, nan[16] = 0xC0, nan[17] = 0x7F;
    expectRoundTrip<BoreholeHeader>(nan);
}

TEST(Records, StatusFieldsAtTheirOffsets) {
    StatusRecord s;
    s.launchCount = 7;
    s.workSeconds = 3600;
    s.nextObjectNumber = 2;
    s.nextSectionNumber = 0x01020304;
    s.nextBoreholeNumber = -1;
    s.reserved = {0xAB, 0xCD};
    const Bytes b = recordBytes(s);
    ASSERT_EQ(b.size(), 22u);
    EXPECT_EQ(le32(b, 0), 7);
    EXPECT_EQ(le32(b, 4), 3600);
    EXPECT_EQ(le32(b, 8), 2);
    EXPECT_EQ((Bytes{b[12], b[13], b[14], b[15]}), (Bytes{4, 3, 2, 1}));
    EXPECT_EQ(le32(b, 16), -1);
    EXPECT_EQ(b[20], 0xAB);
    EXPECT_EQ(b[21], 0xCD);
}

TEST(Records, ObjectListEntryAndTitleLayout) {
    ObjectListEntry e;
    e.number = 12;
    e.archived = 1;
    const Bytes eb = recordBytes(e);
    ASSERT_EQ(eb.size(), 36u);
    EXPECT_EQ(le32(eb, 0), 12);
    EXPECT_EQ(eb[34], 1);
    EXPECT_EQ(eb[35], 0);
    EXPECT_TRUE(std::all_of(eb.begin() + 4, eb.begin() + 34, [](auto c) { return c == 0; }));

    ObjectTitle t;
    t.number = 12;
    t.shortName.setUtf8("Объект");
    t.fullName.setUtf8("Полное\r\nнаименование");
    t.contract.setUtf8("№ 5");
    const Bytes tb = recordBytes(t);
    ASSERT_EQ(tb.size(), 264u);
    EXPECT_EQ(le32(tb, 0), 12);
    EXPECT_EQ(tb[4], 0xCE);  // "О" in Windows-1251
    EXPECT_EQ(tb[10], 0);    // terminator after six letters
    EXPECT_EQ(tb[34], 0xCF); // "П"
    EXPECT_EQ(tb[40], '\r');
    EXPECT_EQ(tb[234], 0xB9); // "№"
    EXPECT_EQ(tb[237], 0);
}

TEST(Records, SectionDefaultsFieldOrder) {
    SectionDefaults d;
    d.verticalScale = 0;
    d.horizontalScale = 500;
    d.sheetHeightMm = 297;
    d.sheetWidthMm = 420;
    d.stampFirstSheet = 3;
    d.stampOtherSheets = 4;
    d.drawingForm = 5;
    const Bytes b = recordBytes(d);
    ASSERT_EQ(b.size(), 28u);
    EXPECT_EQ(le32(b, 0), 0);
    EXPECT_EQ(le32(b, 4), 500);
    EXPECT_EQ(le32(b, 8), 297); // height before width
    EXPECT_EQ(le32(b, 12), 420);
    EXPECT_EQ(le32(b, 16), 3);
    EXPECT_EQ(le32(b, 20), 4);
    EXPECT_EQ(le32(b, 24), 5);
}

TEST(Records, BoreholeHeaderLayout) {
    BoreholeHeader h;
    h.name.setUtf8("Скв.12");
    h.number = 44;
    h.x = 1.0f;  // 0x3F800000
    h.y = -2.0f; // 0xC0000000
    h.elevation = 152.25f;
    h.depth = 0.5f; // 0x3F000000
    h.type = 3;
    h.nIge = 5;
    h.nWater = 1;
    h.nSamples = 100;
    const Bytes b = recordBytes(h);
    ASSERT_EQ(b.size(), 38u);
    EXPECT_EQ(b[0], 0xD1);
    EXPECT_EQ(le32(b, 10), 44);
    // 152.25 = 0x43184000
    EXPECT_EQ((Bytes{b[14], b[15], b[16], b[17]}), (Bytes{0x00, 0x00, 0x80, 0x3F}));
    EXPECT_EQ((Bytes{b[18], b[19], b[20], b[21]}), (Bytes{0x00, 0x00, 0x00, 0xC0}));
    EXPECT_EQ((Bytes{b[22], b[23], b[24], b[25]}), (Bytes{0x00, 0x40, 0x18, 0x43}));
    EXPECT_EQ((Bytes{b[26], b[27], b[28], b[29]}), (Bytes{0x00, 0x00, 0x00, 0x3F}));
    EXPECT_EQ(b[30], 3);
    EXPECT_EQ(b[32], 5);
    EXPECT_EQ(b[34], 1);
    EXPECT_EQ(b[36], 100);
}

TEST(FixedText, LongTextsKeepTheirFirstCharactersAndATerminator) {
    FixedText<30> f;
    f.setUtf8("Очень длинное короткое наименование объекта");
    EXPECT_EQ(f.raw[29], '\0');
    EXPECT_EQ(f.utf8(), "Очень длинное короткое наимен");
    EXPECT_EQ(f.utf8().size(), 29u * 2 - 3); // 26 Cyrillic letters and 3 spaces
    f.setUtf8("abc");
    EXPECT_EQ(f.bytes(), "abc");
    EXPECT_TRUE(std::all_of(f.raw.begin() + 3, f.raw.end(), [](char c) { return c == 0; }));
}

TEST(FixedText, AFieldWithoutTerminatorIsReadWhole) {
    FixedText<10> f;
    f.raw.fill('x');
    EXPECT_EQ(f.bytes(), std::string(10, 'x'));
    f.raw = {'a', 'b', '\0', 'g', 'a', 'r', 'b', 'a', 'g', 'e'};
    EXPECT_EQ(f.bytes(), "ab");
}

TEST(FixedText, PaddedComparisonAndSpacePaddedFields) {
    using orvo::platform::utf8ToCp1251;
    FixedText<30> f;
    f.setUtf8("Иванов");
    EXPECT_TRUE(f.samePadded(utf8ToCp1251("Иванов")));
    EXPECT_TRUE(f.samePadded(utf8ToCp1251("Иванов    ")));
    EXPECT_FALSE(f.samePadded(utf8ToCp1251("иванов")));
    EXPECT_FALSE(f.samePadded(utf8ToCp1251("Иванова")));
    f.setPadded(utf8ToCp1251("Петров"));
    EXPECT_EQ(f.bytes().size(), 30u);
    EXPECT_EQ(f.utf8Trimmed(), "Петров");
    EXPECT_TRUE(f.samePadded(utf8ToCp1251("Петров")));
}

TEST(Records, ShortDataAndListRemainders) {
    EXPECT_FALSE(parseRecord<StatusRecord>(sequence(21)).has_value());
    EXPECT_FALSE(parseRecord<ObjectTitle>(Bytes{}).has_value());
    // Record count is size / record size; the remainder is ignored.
    Bytes list = sequence(36 * 2 + 35);
    EXPECT_EQ(parseList<ObjectListEntry>(list).size(), 2u);
    EXPECT_EQ(parseNumberList(Bytes{1, 0, 0, 0, 2, 0, 0, 0, 9}), (std::vector<std::int32_t>{1, 2}));
    EXPECT_TRUE(parseNumberList(Bytes{1, 2, 3}).empty());
    EXPECT_EQ(numberListBytes({1, -2}), (Bytes{1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
}
