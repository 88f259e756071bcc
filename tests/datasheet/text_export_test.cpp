// The text export: the demo borehole in both code pages against goldens, the parts shown, the
// fallback names, float formatting and writing the file.
#include "datasheet/text_export.h"

#include "platform/codepage.h"
#include "sheet_fixture.h"
#include "support/golden.h"

#include <gtest/gtest.h>

using namespace orvo;
using datasheet::Charset;

namespace {

const std::filesystem::path kGolden = ORVO_GOLDEN_DIR;

std::string ansiText(const borehole::BoreholeEditData& data, int parts) {
    return platform::cp1251ToUtf8(datasheet::boreholeTextBytes(
        data, test::SeededDatabase::get().names(), parts, Charset::Ansi));
}

std::string show1251(std::string_view line) {
    return platform::cp1251ToUtf8(line);
}

} // namespace

TEST(TextExport, DemoBoreholeInBothCodePages) {
    const auto& db = test::SeededDatabase::get();
    const auto ansi = datasheet::boreholeTextBytes(db.demo(), db.names(), 15, Charset::Ansi);
    const auto oem = datasheet::boreholeTextBytes(db.demo(), db.names(), 15, Charset::Oem);
    EXPECT_TRUE(test::matchesGolden(kGolden / "borehole-text-1251", ansi, "txt", show1251));
    EXPECT_TRUE(test::matchesGolden(kGolden / "borehole-text-866", oem));
    // Same length; only Cyrillic bytes differ, never digits, points, tabs or line ends.
    ASSERT_EQ(ansi.size(), oem.size());
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        if (static_cast<unsigned char>(ansi[i]) < 0x80) {
            ASSERT_EQ(ansi[i], oem[i]) << "byte " << i;
        }
    }
    // Cyrillic X of the coordinate label, and № / ё as the OEM page has them.
    EXPECT_NE(ansi.find("\xCA\xEE\xEE\xF0\xE4\xE8\xED\xE0\xF2\xE0 \xEF\xEE \xD5:"),
              std::string::npos);
    EXPECT_NE(oem.find("\x8A\xAE\xAE\xE0\xA4\xA8\xAD\xA0\xE2\xA0 \xAF\xAE \x95:"),
              std::string::npos);
    EXPECT_EQ(platform::cp1251ToCp866("\xB9\xB8"), "\xFC\xF1");
}

TEST(TextExport, PartsChooseTheTables) {
    const auto demo = test::SeededDatabase::get().demo();
    struct Case {
        int parts;
        bool ige, water, samples;
    };
    for (const Case c :
         {Case{15, true, true, true}, Case{1, false, false, false}, Case{0, false, false, false},
          Case{2, true, false, false}, Case{4, false, true, false}, Case{8, false, false, true},
          Case{12, false, true, true}}) {
        const auto text = ansiText(demo, c.parts);
        SCOPED_TRACE(c.parts);
        EXPECT_EQ(text.find("Таблица ИГЭ:\r\n------------\r\n") != std::string::npos, c.ige);
        EXPECT_EQ(text.find("Таблица ПВ:\r\n-----------\r\n") != std::string::npos, c.water);
        EXPECT_EQ(text.find("Таблица ОП:\r\n------------\r\n") != std::string::npos, c.samples);
        EXPECT_EQ(text.rfind("Исходные данные по выработке\r\n=", 0), 0u);
    }
    // The sample table ends with its last row; the others with an empty line after it.
    const auto samplesOnly = ansiText(demo, 8);
    EXPECT_TRUE(samplesOnly.ends_with("\t13.00\tОбразец нарушенной структуры  \r\n"));
    EXPECT_TRUE(ansiText(demo, 2).ends_with("насыщенный водой              \r\n\r\n"));
}

TEST(TextExport, BoreholeWithoutTablesGivesTheHeaderOnly) {
    auto data = test::madeUpBorehole(0, 0, 0);
    data.x = 1234.565f;
    data.y = 102.675f;
    data.elevation = -0.004f;
    data.depth = 0;
    EXPECT_EQ(ansiText(data, 15), "Исходные данные по выработке\r\n"
                                  "============================\r\n"
                                  "\r\n"
                                  "Выработка: С-7\r\n"
                                  "Координата по Х: 1234.56\r\n"
                                  "Координата по Y: 102.68\r\n"
                                  "Абсолютная отметка выработки: -0.00\r\n"
                                  "Глубина выработки: 0.00\r\n"
                                  "Тип выработки: Скважина\r\n");
}

TEST(TextExport, DeletedAndUnknownTypesShowTheFallbacks) {
    auto data = test::madeUpBorehole(1, 1, 1);
    data.type = 99; // past the list
    data.ige.setCurrent(0, 10);
    data.ige.setType(-1);
    data.water.setCurrent(0, 10);
    data.water.setType(500);
    data.samples.setCurrent(0, 10);
    data.samples.setType(1000);
    const auto text = ansiText(data, 15);
    EXPECT_NE(text.find("Тип выработки: << удалена >>\r\n"), std::string::npos);
    EXPECT_NE(text.find("1\t1\t0.50\t<< тип удален >>\r\n"), std::string::npos);
    EXPECT_NE(text.find("1\t01.02.26\t0.50\t<< тип удален >>\r\n"), std::string::npos);
    EXPECT_NE(text.find("1\t0.50\t<< тип удален >>\r\n"), std::string::npos);
}

TEST(TextExport, WritesTheFileOrSaysWhy) {
    test::TempDir dir;
    const auto& db = test::SeededDatabase::get();
    const auto file = dir / "out.txt";
    ASSERT_TRUE(datasheet::ExportBoreholeText(Charset::Oem, 15, file, db.demo(), db.names()));
    EXPECT_EQ(test::readText(file),
              datasheet::boreholeTextBytes(db.demo(), db.names(), 15, Charset::Oem));
    const auto bad = dir / "no/such/folder/out.txt";
    const auto st = datasheet::ExportBoreholeText(Charset::Ansi, 15, bad, db.demo(), db.names());
    ASSERT_FALSE(st);
    EXPECT_EQ(st.error().text, "Ошибка открытия (" + bad.string() + ")");
    EXPECT_EQ(st.error().caption, "ОШИБКА");
}
