// The IGE list of a section: gathering from the boreholes, repeats, the exchange-sort order,
// WORK.OIE over the stored file, HatchForIge and writing WORK.OIE.
#include "borehole/borehole_record.h"
#include "platform/codepage.h"
#include "section/ige_list.h"
#include "section/section_record.h"
#include "store/store_paths.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace orvo;
using namespace orvo::section;
using dict::IgeNumber;
using dict::padIgeNumber;
using dict::padIgeNumberUtf8;
using test::readBytes;
using test::TempDir;

namespace {

constexpr std::int32_t kObject = 1;

// Numbers shown as lists and tests spell them: UTF-8, trailing spaces trimmed.
std::vector<std::string> shown(const std::vector<IgeNumber>& numbers) {
    std::vector<std::string> out;
    for (const auto& n : numbers)
        out.push_back(dict::igeNumberText(n));
    return out;
}
std::vector<std::string> shown(const IgeList& list) {
    std::vector<std::string> out;
    for (const auto& e : list.entries)
        out.push_back(dict::igeNumberText(e.number));
    return out;
}
std::vector<IgeNumber> numbers(std::initializer_list<const char*> utf8) {
    std::vector<IgeNumber> out;
    for (const char* s : utf8)
        out.push_back(padIgeNumberUtf8(s));
    return out;
}

class IgeListDb : public ::testing::Test {
protected:
    IgeListDb() : folder(dir.path()) {
        std::filesystem::create_directories(dir / "DATA/DIC");
        std::filesystem::create_directories(dir / "DATA/00001.OBJ");
    }
    // A stored name as a path under the test folder.
    std::filesystem::path real(std::string stored) const {
        std::replace(stored.begin(), stored.end(), '\\', '/');
        return dir / stored;
    }

    // A borehole file whose layers carry these IGE texts (raw Windows-1251 bytes).
    void borehole(std::int32_t number, const std::vector<std::string>& iges) {
        borehole::Borehole b = borehole::newBorehole(number);
        for (const auto& ige : iges) {
            borehole::IgeLayer layer;
            layer.ige.set(ige, 10);
            b.ige.push_back(layer);
        }
        test::writeBytes(real(store::paths::boreholeFile(kObject, number)),
                         borehole::boreholeBytes(b));
    }
    void descriptions(std::string_view path, const std::vector<dict::IgeDescriptionRecord>& r) {
        ASSERT_TRUE(dict::WriteIgeDescriptionFile(folder, path, r));
    }
    std::string cp(const char* utf8) { return platform::utf8ToCp1251(utf8); }

    TempDir dir;
    platform::WorkFolder folder;
};

} // namespace

TEST(IgeOrder, ExchangeSortAsTheListIsDrawn) {
    struct Case {
        std::vector<IgeNumber> in;
        std::vector<std::string> out;
    };
    const Case cases[] = {
        {numbers({"10б", "10", "2а", "2"}), {"2", "2а", "10", "10б"}},
        // Integer 2 and a blank suffix tie: the exchange sort leaves them as it meets them.
        {numbers({"2-2", "2-1", "1"}), {"1", "2-1", "2-2"}},
        // The swap of 1 with the first entry moves 2-1 behind 2-2: not a stable order.
        {numbers({"2-1", "2-2", "1"}), {"1", "2-2", "2-1"}},
        // Cyrillic bytes are above '9' unsigned, so they start the suffix.
        {numbers({"3б", "3а", "3"}), {"3", "3а", "3б"}},
        // No leading integer reads as 0; the suffix then starts at the first letter.
        {numbers({"5", "пр", "ИГЭ", "1"}), {"ИГЭ", "пр", "1", "5"}},
        // Ten digits do not overflow.
        {numbers({"9999999999", "4294967297", "1"}), {"1", "4294967297", "9999999999"}},
        {numbers({"2", "2", "1", "2"}), {"1", "2"}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shown(sortedIgeNumbers(c.in)), c.out);
}

TEST(IgeOrder, RepeatsAreRemovedByteForByteOnly) {
    // Letter case is not folded: "2А" and "2а" are two IGEs.
    EXPECT_EQ(shown(sortedIgeNumbers(numbers({"2а", "2А", "2а"}))),
              (std::vector<std::string>{"2А", "2а"}));
}

TEST(IgeOrder, PropertyTheResultIsOrderedAndComplete) {
    std::mt19937 rng(20240515);
    const char* pool[] = {"1", "2", "2а", "2б", "10", "10б", "2-1", "2-2", "", "х", "03", "3"};
    for (int round = 0; round < 200; ++round) {
        std::vector<IgeNumber> in;
        const int n = static_cast<int>(rng() % 15);
        for (int i = 0; i < n; ++i)
            in.push_back(padIgeNumberUtf8(pool[rng() % std::size(pool)]));
        const auto out = sortedIgeNumbers(in);
        for (std::size_t i = 0; i < out.size(); ++i)
            for (std::size_t j = i + 1; j < out.size(); ++j) {
                EXPECT_FALSE(igeSortsBefore(out[j], out[i]));
                EXPECT_NE(out[i], out[j]);
            }
        for (const auto& x : in)
            EXPECT_NE(std::find(out.begin(), out.end(), x), out.end());
    }
}

TEST_F(IgeListDb, GathersFromBoreholesInOrderWithStartValues) {
    borehole(11, {"2", cp("2а"), "10"});
    borehole(12, {cp("10б"), "2", std::string("2\0junk", 6)});
    // 13 has no file: its layers are left out.
    auto list = BuildIgeList(folder, kObject, {11, 12, 13}, std::nullopt);
    ASSERT_TRUE(list);
    EXPECT_EQ(shown(*list), (std::vector<std::string>{"2", "2а", "10", "10б"}));
    for (const auto& e : list->entries) {
        EXPECT_EQ(e.useStandard, 1);
        EXPECT_EQ(e.description.bytes(), "");
        EXPECT_EQ(e.hatch, -1);
    }
    EXPECT_FALSE(list->badDescriptions);
}

TEST_F(IgeListDb, DamagedBoreholeStopsWithItsNumber) {
    borehole(11, {"1"});
    test::writeBytes(real(store::paths::boreholeFile(kObject, 12)), {1, 2, 3});
    auto list = BuildIgeList(folder, kObject, {11, 12}, std::nullopt);
    ASSERT_FALSE(list);
    EXPECT_NE(list.error().text.find("00000012"), std::string::npos);
}

TEST_F(IgeListDb, DescriptionSources) {
    borehole(11, {"1", "2", "3"});
    const auto own = [](const char* n, const char* text, int hatch) {
        return dict::sectionIgeRecord(padIgeNumber(n), false, text, hatch);
    };
    const std::string stored = store::paths::sectionFile(kObject, 5, "OIE");
    descriptions(stored, {own("1", "stored one", 1), own("9", "vanished", 9)});
    struct Case {
        const char* name;
        bool work;
        std::optional<std::int32_t> section;
        std::vector<std::string> texts; // own text of 1, 2, 3
    };
    const Case cases[] = {
        {"stored file of a saved section", false, 5, {"stored one", "", ""}},
        {"a new section reads none", false, std::nullopt, {"", "", ""}},
        {"WORK.OIE wins", true, 5, {"", "work two", ""}},
        {"WORK.OIE of a new section", true, std::nullopt, {"", "work two", ""}},
    };
    for (const auto& c : cases) {
        folder.removeFile(store::paths::kWorkOie);
        if (c.work)
            descriptions(store::paths::kWorkOie, {own("2", "work two", 2)});
        auto list = BuildIgeList(folder, kObject, {11}, c.section);
        ASSERT_TRUE(list) << c.name;
        ASSERT_EQ(list->entries.size(), 3u) << c.name;
        for (std::size_t i = 0; i < 3; ++i) {
            const auto& e = list->entries[i];
            EXPECT_EQ(e.description.utf8(), c.texts[i]) << c.name << " " << i;
            EXPECT_EQ(e.takesStandard(), c.texts[i].empty()) << c.name << " " << i;
        }
        // The record of the vanished number 9 is dropped and not written back.
        EXPECT_EQ(igeDescriptionRecords(*list).size(), 3u);
    }
}

TEST_F(IgeListDb, BadDescriptionFileIsReportedAndStartValuesKept) {
    borehole(11, {"1"});
    auto bytes =
        dict::igeDescriptionFileBytes({dict::sectionIgeRecord(padIgeNumber("1"), false, "own", 3)});
    bytes[0] = 2; // announces a record the file does not hold
    test::writeBytes(dir / "WORK.OIE", bytes);
    auto list = BuildIgeList(folder, kObject, {11}, 5);
    ASSERT_TRUE(list);
    ASSERT_TRUE(list->badDescriptions);
    EXPECT_NE(list->badDescriptions->text.find("Неверный формат файла"), std::string::npos);
    ASSERT_EQ(list->entries.size(), 1u);
    EXPECT_TRUE(list->entries[0].takesStandard());
    EXPECT_EQ(list->entries[0].hatch, -1);
}

TEST_F(IgeListDb, HatchForIgeChoosesTheSource) {
    ASSERT_TRUE(dict::SaveStandardIge(folder, -1, "1", "Насыпной", 4));
    ASSERT_TRUE(dict::SaveStandardIge(folder, -1, "2", "Глина", 5));
    ASSERT_TRUE(dict::DeleteStandardIge(folder, 1));
    const auto standard = dict::ReadStandardIgeList(folder);
    ASSERT_TRUE(standard);
    const auto entry = [](const char* n, int useStandard, const char* own, int hatch) {
        IgeEntry e;
        e.number = padIgeNumber(n);
        e.useStandard = useStandard;
        e.description.setUtf8(own);
        e.hatch = hatch;
        return e;
    };
    struct Case {
        IgeEntry e;
        bool standard;
        int hatch;
        std::string text;
    };
    const Case cases[] = {
        {entry("1", 1, "ignored", 9), true, 4, "Насыпной"}, // padding trimmed
        {entry("2", 1, "ignored", 9), true, -1, ""},        // its record was deleted
        {entry("3", 1, "", 9), true, -1, ""},               // never described
        {entry("1", 0, "Своё описание", 7), false, 7, "Своё описание"},
        {entry("1", 2, "x", 8), false, 8, "x"}, // only 1 takes the standard one
    };
    for (const auto& c : cases) {
        const IgeChoice got = HatchForIge(c.e, *standard);
        EXPECT_EQ(got.standard, c.standard) << c.text;
        EXPECT_EQ(got.hatch, c.hatch) << c.text;
        EXPECT_EQ(got.descriptionUtf8, c.text);
    }
}

TEST_F(IgeListDb, WorkingCopyRoundTripsByteForByte) {
    borehole(11, {"1", cp("3б")});
    auto list = BuildIgeList(folder, kObject, {11}, std::nullopt);
    ASSERT_TRUE(list);
    auto& e = list->entries[1];
    e.useStandard = 0;
    e.description.setUtf8("Суглинок мягкопластичный");
    e.hatch = 6;
    ASSERT_TRUE(WriteWorkingIgeDescriptions(folder, *list));
    const auto bytes = readBytes(dir / "WORK.OIE");
    ASSERT_EQ(bytes.size(), 4 + 2 * dict::IgeDescriptionRecord::kSize);
    auto again = BuildIgeList(folder, kObject, {11}, std::nullopt);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->entries[1].description.utf8(), "Суглинок мягкопластичный");
    EXPECT_EQ(again->entries[1].hatch, 6);
    ASSERT_TRUE(WriteWorkingIgeDescriptions(folder, *again));
    EXPECT_EQ(readBytes(dir / "WORK.OIE"), bytes);
}

TEST_F(IgeListDb, DescribeStoredSectionForTheCommandLine) {
    borehole(11, {"1", cp("3б")});
    borehole(12, {"1", "4"});
    Section s;
    s.header.number = 5;
    s.boreholes = {11, 12};
    ASSERT_TRUE(WriteSection(folder, kObject, s));
    ASSERT_TRUE(dict::SaveStandardIge(folder, -1, "1", "Насыпной", 4));
    descriptions(store::paths::sectionFile(kObject, 5, "OIE"),
                 {dict::sectionIgeRecord(padIgeNumberUtf8("3б"), false, "  Своё  ", 2)});
    // A working copy of a dialog open elsewhere is not the stored section.
    descriptions(store::paths::kWorkOie,
                 {dict::sectionIgeRecord(padIgeNumber("1"), false, "unsaved", 1)});
    auto lines = DescribeSectionIges(folder, kObject, 5);
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 3u);
    const IgeSummary want[] = {
        {"1", true, 4, "Насыпной"}, {"3б", false, 2, "Своё"}, {"4", true, -1, ""}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ((*lines)[i].numberUtf8, want[i].numberUtf8);
        EXPECT_EQ((*lines)[i].standard, want[i].standard);
        EXPECT_EQ((*lines)[i].hatch, want[i].hatch);
        EXPECT_EQ((*lines)[i].descriptionUtf8, want[i].descriptionUtf8);
    }
    EXPECT_FALSE(DescribeSectionIges(folder, kObject, 6)); // no such section
}
