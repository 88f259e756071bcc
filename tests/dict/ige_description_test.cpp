// Standard IGE descriptions (OIE.sps) and a section's description file: layout, the save rules
// of the standard dialog, deletion, and the checks of the section file's count.
#include "dict/ige_description.h"
#include "platform/codepage.h"
#include "store/le_stream.h"
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

class IgeStore : public ::testing::Test {
protected:
    IgeStore() : folder(dir.path()) { std::filesystem::create_directories(dir / "DATA/DIC"); }
    store::Bytes list() const { return readBytes(dir / "DATA/DIC/OIE.sps"); }
    TempDir dir;
    platform::WorkFolder folder;
};

} // namespace

TEST(IgeNumberText, PaddedUpToTheTerminatorAndCutToTen) {
    struct Case {
        std::string in;
        std::string padded;
    };
    const Case cases[] = {
        {"2", "2         "},
        {std::string("3a\0xyz", 6), "3a        "},
        {"12345678901", "1234567890"},
        {"", "          "},
    };
    for (const auto& c : cases) {
        const IgeNumber n = padIgeNumber(c.in);
        EXPECT_EQ(std::string(n.begin(), n.end()), c.padded) << c.in;
    }
    EXPECT_EQ(igeNumberText(padIgeNumberUtf8("3б")), "3б");
    EXPECT_TRUE(blankIgeNumber(padIgeNumber("")));
    EXPECT_FALSE(blankIgeNumber(padIgeNumber(" 1")));
}

TEST_F(IgeStore, StandardRecordLayoutAndRoundTrip) {
    ASSERT_EQ(*SaveStandardIge(folder, -1, "3б", "Суглинок тугопластичный", 7), 0);
    const auto b = list();
    ASSERT_EQ(b.size(), IgeDescriptionRecord::kSize);
    EXPECT_EQ(le32(b, 0), 1);
    EXPECT_EQ(text(b, 4, 10), platform::utf8ToCp1251("3б") + std::string(8, ' '));
    const std::string desc = platform::utf8ToCp1251("Суглинок тугопластичный");
    EXPECT_EQ(text(b, 14, 256), desc + std::string(256 - desc.size(), ' '));
    EXPECT_EQ(le32(b, 270), 7);

    // Whatever the bytes, a record read and written again is the same.
    store::Bytes odd(IgeDescriptionRecord::kSize);
    for (std::size_t i = 0; i < odd.size(); ++i)
        odd[i] = static_cast<std::uint8_t>(i * 37 + 11);
    EXPECT_EQ(store::recordBytes(*store::parseRecord<IgeDescriptionRecord>(odd)), odd);
}

TEST_F(IgeStore, NumberOfTenCharactersIsKeptWhole) {
    // The number field takes the whole 10 bytes, as borehole layers do: an IGE numbered with
    // ten characters can have a standard description.
    ASSERT_EQ(*SaveStandardIge(folder, -1, "10б-верхн.", "", -1), 0);
    EXPECT_EQ(text(list(), 4, 10), platform::utf8ToCp1251("10б-верхн."));
    const auto saved = ReadStandardIgeList(folder);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(findStandardIge(*saved, padIgeNumberUtf8("10б-верхн.")));
}

TEST_F(IgeStore, DescriptionKeepsAtMost255Bytes) {
    ASSERT_TRUE(SaveStandardIge(folder, -1, "1", std::string(300, 'x'), -1));
    EXPECT_EQ(text(list(), 14, 256), std::string(255, 'x') + " ");
    const auto own = sectionIgeRecord(padIgeNumber("1"), false, std::string(300, 'y'), 2);
    EXPECT_EQ(own.description.bytes(), std::string(255, 'y'));
    EXPECT_EQ(own.description.raw[255], '\0');
}

TEST_F(IgeStore, SaveRefusalsWriteNothing) {
    ASSERT_EQ(*SaveStandardIge(folder, -1, "1", "Насыпной", 1), 0);
    ASSERT_EQ(*SaveStandardIge(folder, -1, "2", "Глина", 2), 1);
    const auto before = list();
    struct Case {
        int slot;
        std::string number;
        std::string text; // the message, empty for a bad slot
    };
    const Case cases[] = {
        {-1, "", "Не задан номер ИГЭ\rСохранение невозможно."},
        {-1, "   ", "Не задан номер ИГЭ\rСохранение невозможно."},
        {-1, "2", "ИГЭ 2         \rуже описан\rСохранение невозможно."},
        {0, "2", "ИГЭ 2         \rуже описан\rСохранение невозможно."},
        {5, "7", ""},
        {-2, "7", ""},
    };
    for (const auto& c : cases) {
        const auto r = SaveStandardIge(folder, c.slot, c.number, "x", -1);
        ASSERT_FALSE(r) << c.number;
        if (!c.text.empty()) {
            EXPECT_EQ(r.error().text, c.text);
            EXPECT_EQ(r.error().caption, "Ошибка");
        }
        EXPECT_EQ(list(), before);
    }
    // The record being edited may keep its number; a case twin and a trailing-space twin are
    // decided byte for byte after padding.
    EXPECT_EQ(*SaveStandardIge(folder, 1, "2", "Глина твёрдая", 3), 1);
    EXPECT_EQ(le32(list(), 274 + 270), 3);
    EXPECT_FALSE(SaveStandardIge(folder, -1, "2 ", "", -1));
    EXPECT_EQ(*SaveStandardIge(folder, -1, " 2", "", -1), 2);
}

TEST_F(IgeStore, DeleteKeepsTheSlotAndFreesTheNumber) {
    ASSERT_EQ(*SaveStandardIge(folder, -1, "1", "Насыпной", 1), 0);
    ASSERT_EQ(*SaveStandardIge(folder, -1, "2", "Глина", 2), 1);
    const auto before = list();
    ASSERT_TRUE(DeleteStandardIge(folder, 0));
    auto after = list();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(le32(after, 0), 0);
    after[0] = before[0];
    EXPECT_EQ(after, before); // nothing but the flag changed
    EXPECT_FALSE(DeleteStandardIge(folder, 2));
    EXPECT_FALSE(DeleteStandardIge(folder, -1));
    // The deleted number can be described again; it gets a new slot.
    EXPECT_EQ(*SaveStandardIge(folder, -1, "1", "Насыпной грунт", 4), 2);
    const auto saved = ReadStandardIgeList(folder);
    ASSERT_TRUE(saved);
    EXPECT_EQ(findStandardIge(*saved, padIgeNumber("1")), 2);
}

TEST(IgeDescriptionFile, CountMustMatchTheSize) {
    std::vector<IgeDescriptionRecord> records = {
        sectionIgeRecord(padIgeNumber("1"), true, "", -1),
        sectionIgeRecord(padIgeNumberUtf8("3б"), false, "Суглинок", 4),
    };
    const auto good = igeDescriptionFileBytes(records);
    ASSERT_EQ(good.size(), 4 + 2 * IgeDescriptionRecord::kSize);
    EXPECT_EQ(le32(good, 0), 2);
    const auto parsed = parseIgeDescriptionFile(good, "WORK.OIE");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(igeDescriptionFileBytes(*parsed), good);
    EXPECT_EQ((*parsed)[1].description.utf8(), "Суглинок");

    auto withCount = [&](std::int32_t count, std::size_t size) {
        store::Bytes b(good.begin(),
                       good.begin() + static_cast<std::ptrdiff_t>(std::min(size, good.size())));
        b.resize(size, 0);
        if (size >= 4) {
            const auto c = static_cast<std::uint32_t>(count);
            for (int i = 0; i < 4; ++i)
                b[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c >> (8 * i));
        }
        return b;
    };
    struct Case {
        std::int32_t count;
        std::size_t size;
        bool ok;
    };
    const Case cases[] = {
        {0, 4, true},
        {2, good.size(), true},
        {3, good.size(), false},
        {1, good.size(), false},
        {-1, good.size(), false},
        {2, good.size() - 1, false},
        {2, good.size() + 1, false},
        {0, 3, false},
        {0, 0, false},
        {0x7fffffff, good.size(), false},
    };
    for (const auto& c : cases) {
        const auto r = parseIgeDescriptionFile(withCount(c.count, c.size), "WORK.OIE");
        EXPECT_EQ(r.ok(), c.ok) << c.count << " " << c.size;
        if (!r.ok()) {
            EXPECT_NE(r.error().text.find("Неверный формат файла"), std::string::npos);
        }
    }
}

TEST(IgeDescriptionFile, ReadAndAtomicWrite) {
    TempDir dir;
    platform::WorkFolder folder(dir.path());
    auto missing = ReadIgeDescriptionFile(folder, "WORK.OIE");
    ASSERT_TRUE(missing);
    EXPECT_FALSE(*missing);

    const std::vector<IgeDescriptionRecord> records = {
        sectionIgeRecord(padIgeNumber("4"), false, "Песок", 2)};
    ASSERT_TRUE(WriteIgeDescriptionFile(folder, "WORK.OIE", records));
    auto back = ReadIgeDescriptionFile(folder, "WORK.OIE");
    ASSERT_TRUE(back && *back);
    EXPECT_EQ(igeDescriptionFileBytes(**back), igeDescriptionFileBytes(records));

    // A write stopped half-way leaves the old file whole.
    const auto before = readBytes(dir / "WORK.OIE");
    folder.setFaultHook([](std::string_view) { return true; });
    EXPECT_FALSE(WriteIgeDescriptionFile(folder, "WORK.OIE", {}));
    EXPECT_EQ(readBytes(dir / "WORK.OIE"), before);
}
