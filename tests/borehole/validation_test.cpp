// Borehole checks: order, texts, dictionary flags, and the report file.
#include "borehole/borehole_types.h"
#include "borehole/validation.h"
#include "dict/consistency_type.h"
#include "dict/mark_type.h"
#include "platform/codepage.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::borehole;

namespace {

class ValidationTest : public ::testing::Test {
protected:
    ValidationTest() : folder(dir.path()) {
        std::filesystem::create_directories(dir / "DATA/DIC");
        // Record 0 and one type of each dictionary in use, written with the dictionaries' own
        // record layouts.
        BoreholeType t;
        AddBoreholeType(folder, t);
        AddBoreholeType(folder, t);
        test::writeBytes(dir / "DATA/DIC/TipIGE.SPS",
                         flagged<dict::ConsistencyTypeRecord>({1, 1, 0}));
        test::writeBytes(dir / "DATA/DIC/TipPV.SPS", flagged<dict::MarkTypeRecord>({1, 1}));
        test::writeBytes(dir / "DATA/DIC/TipOP.SPS", flagged<dict::MarkTypeRecord>({1, 1, 0}));
    }
    template <class Record> static platform::Bytes flagged(std::vector<int> used) {
        platform::Bytes out;
        for (int u : used) {
            Record r;
            r.used = static_cast<decltype(r.used)>(u);
            r.name.setUtf8("Тип");
            store::appendRecord(out, r);
        }
        return out;
    }
    BoreholeEditData valid() {
        BoreholeEditData d;
        d.name.setUtf8("Скв.1");
        d.depth = 10.0f;
        d.type = 1;
        d.ige.assign({{"1", 10.0f, 1}}); // base exactly at the borehole depth: fine
        d.water.assign({{"01.06.26", 3.0f, 1}});
        d.samples.assign({{"", 2.0f, 1}});
        return d;
    }
    test::TempDir dir;
    platform::WorkFolder folder;
};

} // namespace

TEST_F(ValidationTest, AValidBoreholeHasNoMessages) {
    EXPECT_TRUE(CheckBorehole(folder, valid()).empty());
}

TEST_F(ValidationTest, HeaderChecksComeFirstInTheirOrder) {
    BoreholeEditData d;
    const auto lines = CheckBorehole(folder, d);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Не указано наименование выработки");
    EXPECT_EQ(lines[1], "Глубина выработки = 0.00");
    EXPECT_EQ(lines[2], "Не определен тип выработки");
    // Record 0 is in use here, so no "deleted" line for type 0.
    EXPECT_EQ(lines.size(), 3u);
}

TEST_F(ValidationTest, RowChecksNameTheRowAndTheDepth) {
    BoreholeEditData d = valid();
    d.ige.assign({{"1", 10.0f, 1}, {"  ", 10.01f, 0}, {"3", 5.0f, 2}});
    d.water.assign({{"", 3.0f, 0}, {"02.06.26", 12.5f, 5}});
    d.samples.assign({{"", 11.0f, 2}});
    d.ige.sort();
    const auto lines = CheckBorehole(folder, d);
    const std::vector<std::string> want{
        "ИГЭ #1: Тип ИГЭ удален из системы", // depth 5 sorts first; its type 2 is deleted
        "ИГЭ #3: Не указан номер ИГЭ",
        "ИГЭ #3: Глубина подошвы (10.01) > глубины выработки",
        "ИГЭ #3: Не определен тип ИГЭ",
        "ПВ #1: Не указана дата",
        "ПВ #1: Не определен тип горизонта",
        "ПВ #2: Глубина горизонта (12.50) > глубины выработки",
        "ПВ #2: Тип горизонта удален из системы", // past the end of the file
        "ОП #1: Глубина отбора пробы (11.00) > глубины выработки",
        "ОП #1: Тип пробы удален из системы"};
    EXPECT_EQ(lines, want);
}

TEST_F(ValidationTest, ADeletedBoreholeTypeIsReported) {
    ASSERT_TRUE(DeleteBoreholeType(folder, 1));
    const auto lines = CheckBorehole(folder, valid());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "Тип выработки удален из системы");
}

TEST_F(ValidationTest, ReportFileAndTexts) {
    ASSERT_TRUE(WriteReport(folder, {"Не указано наименование выработки", "ИГЭ #1: x"}));
    const auto bytes = test::readBytes(dir / "Data.err");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text, platform::utf8ToCp1251("Не указано наименование выработки\r\nИГЭ #1: x\r\n"));
    EXPECT_EQ(reportCountLine(10), "Всего обнаружено 010 ошибок");
    store::FixedText<10> name;
    EXPECT_EQ(reportCaption(name), "Анализ ошибок, выработка - Без имени");
    name.setUtf8("Скв.2");
    EXPECT_EQ(reportCaption(name), "Анализ ошибок, выработка - Скв.2");
}
