// Golden-file, byte-level and locale tests of the DXF writer; CTest reads the files back by ezdxf.
#include "export/dxf_writer.h"
#include "platform/codepage.h"
#include "platform/work_folder.h"
#include "support/golden.h"

#include <array>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <locale>
#include <random>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;
using namespace orvo::exporter;

namespace {

constexpr const char* kLoam = "Суглинок тугопластичный";

void writeTables(DxfWriter& w, LayerSet set) {
    w.writeHeader();
    w.beginTables();
    w.writeLtypeTable();
    w.writeLayerTable(set);
    w.beginStyleTable();
    if (set == LayerSet::SectionSheet) {
        w.writeStyle("Ramka", "Arial Cyr");
        w.writeStyle("Otm", "Times New Roman Cyr");
        w.writeStyle("IGE", "Courier New Cyr");
        w.writeStyle(styleName(titleBlockStyle(0)), "Arial Cyr");
        w.writeStyle(styleName(titleBlockStyle(12)), "MS Sans Serif");
    } else {
        w.writeStyle("Txt1", "Arial Cyr");
        w.writeStyle("Txt2", "Arial Cyr");
        w.writeStyle("Txt3", "Times New Roman Cyr");
    }
    w.endStyleTable();
    w.endTables();
    w.beginEntities();
}

DxfWriter emptySectionSheet() {
    DxfWriter w;
    writeTables(w, LayerSet::SectionSheet);
    w.writeTrailer();
    return w;
}

DxfWriter legendSheet() {
    DxfWriter w;
    writeTables(w, LayerSet::LegendSheet);
    const std::array<DxfPoint, 5> box = {{{10, 250}, {25, 250}, {25, 240}, {10, 240}, {10, 250}}};
    w.writePolyline(DxfLayer::Line, true, 0.3, box);
    w.writePolyline(DxfLayer::Htr, false, 0, std::array<DxfPoint, 2>{{{10, 245}, {25, 245}}});
    w.writeText(DxfLayer::Text, DxfStyle::Txt1, 30, 243.5, 3, 0, DxfAlign::Left, 0, 0, kLoam);
    w.writeTrailer();
    return w;
}

DxfWriter entitiesSheet() {
    DxfWriter w;
    writeTables(w, LayerSet::SectionSheet);
    const std::array<DxfPoint, 5> frame = {{{0, 0}, {420, 0}, {420, 297}, {0, 297}, {0, 0}}};
    w.writePolyline(DxfLayer::Ramka, false, 0.5, frame);
    w.beginPolyline(DxfLayer::Line, true, 0.25);
    w.writeVertex(DxfLayer::Line, 35.125, 120.5);
    w.writeVertex(DxfLayer::Line, 47.875, -3.25);
    w.writeVertex(DxfLayer::Line, 35.125, 120.5);
    w.endPolyline();
    w.writeText(DxfLayer::Ramka, DxfStyle::Ramka, 12, 8, 2.5, 0, DxfAlign::Left, 0, 0, "L");
    w.writeText(DxfLayer::OtmA, DxfStyle::Otm, 0, 0, 2, 90, DxfAlign::Centre, 41.5, 60.25, "C");
    w.writeText(DxfLayer::Text, DxfStyle::Ige, 0, 0, 3.5, 0, DxfAlign::Right, 47.875, 100, kLoam);
    w.writeText(DxfLayer::Shtamp, titleBlockStyle(0), 300, 20, 5, 0, DxfAlign::Left, 0, 0, "F0");
    w.writeText(DxfLayer::Shtamp, titleBlockStyle(12), 300, 10, 5, 0, DxfAlign::Left, 0, 0, "F12");
    w.writeTrailer();
    return w;
}

// Non-finite numbers, an empty text and characters outside Windows-1251 are read back too.
DxfWriter edgeSheet() {
    DxfWriter w;
    writeTables(w, LayerSet::SectionSheet);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    w.writePolyline(DxfLayer::Proba, false, nan, std::array<DxfPoint, 2>{{{nan, inf}, {-inf, 5}}});
    w.writeText(DxfLayer::Proba, DxfStyle::Ige, nan, 1, inf, -inf, DxfAlign::Centre, inf, nan,
                "Скв. №5 中");
    w.writeText(DxfLayer::Proba, DxfStyle::Otm, 1, 1, 2, 0, DxfAlign::Left, 0, 0, "");
    w.writeTrailer();
    return w;
}

fs::path writtenDir() {
    const char* env = std::getenv("ORVO_DXF_OUT");
    return env ? fs::path(env) : fs::path(ORVO_DXF_OUT_DEFAULT);
}

// Keeps the file for the ezdxf read-back that CTest runs after this program.
void keepForReadback(const std::string& name, const DxfWriter& dxf) {
    fs::create_directories(writtenDir());
    ASSERT_TRUE(dxf.save(orvo::platform::WorkFolder(writtenDir()), name + ".dxf").ok());
}

std::string utf8Line(std::string_view line) {
    return orvo::platform::cp1251ToUtf8(line);
}

void expectGolden(const std::string& caseName, const std::string& actual) {
    EXPECT_TRUE(orvo::test::matchesGolden(fs::path(ORVO_GOLDEN_DIR) / ("dxf-" + caseName), actual,
                                          "dxf", utf8Line));
}

bool contains(const std::string& text, const std::string& piece) {
    return text.find(piece) != std::string::npos;
}

TEST(DxfWriterGolden, SheetsMatchStoredFilesAndAreKeptForReadback) {
    const std::array<std::pair<const char*, DxfWriter>, 4> cases = {{
        {"section-empty", emptySectionSheet()},
        {"legend", legendSheet()},
        {"entities", entitiesSheet()},
        {"edge", edgeSheet()},
    }};
    for (const auto& [name, dxf] : cases) {
        SCOPED_TRACE(name);
        if (std::string(name) != "edge")
            expectGolden(name, dxf.text());
        keepForReadback(name, dxf);
    }
}

// The groups that readers trip over, stated here so a careless golden accept cannot drop them.
TEST(DxfWriterBytes, GroupsThatReadersDependOn) {
    const std::string sheet = entitiesSheet().take();
    EXPECT_TRUE(contains(sheet, "AC1006\r\n  9\r\n$DWGCODEPAGE\r\n  3\r\nANSI_1251\r\n  9\r\n"));
    EXPECT_TRUE(contains(sheet, "  2\r\nSTYLE\r\n 70\r\n    3\r\n  0\r\nSTYLE\r\n"));
    EXPECT_TRUE(contains(sheet, "  0\r\nPOLYLINE\r\n  8\r\nLine\r\n  6\r\nCONTINUOUS\r\n 70\r\n"
                                "     1\r\n 40\r\n0.250000\r\n 41\r\n0.250000\r\n 66\r\n"));
    EXPECT_TRUE(contains(sheet, "  8\r\nRamka\r\n  6\r\nCONTINUOUS\r\n 40\r\n0.500000\r\n"));
    EXPECT_TRUE(contains(sheet, " 41\r\n1.000000\r\n  7\r\nFSH000\r\n 71\r\n     0\r\n  0\r\n"));
    EXPECT_TRUE(contains(sheet, "  7\r\nFSH012\r\n"));
    EXPECT_TRUE(contains(sheet, "  7\r\nRamka\r\n 71\r\n     0\r\n  0\r\nTEXT\r\n"));
    EXPECT_TRUE(contains(sheet, " 72\r\n     2\r\n 11\r\n47.875000\r\n 21\r\n100.000000\r\n"));
    EXPECT_TRUE(contains(sheet, "  1\r\n" + orvo::platform::utf8ToCp1251(kLoam) + "\r\n"));

    const std::string edge = edgeSheet().take();
    EXPECT_FALSE(contains(edge, "nan") || contains(edge, "inf"));
    EXPECT_TRUE(contains(edge, " 10\r\n0.000000\r\n 20\r\n0.000000\r\n"));
    EXPECT_TRUE(contains(edge, "  1\r\n" + orvo::platform::utf8ToCp1251("Скв. №5 ?") + "\r\n"));
}

// Face names reach the writer padded to their stored fields; the STYLE entry names the face
// alone, or no reader finds the font.
TEST(DxfWriterBytes, StyleFaceLosesTrailingBlanks) {
    const struct {
        std::string face;
        std::string written;
    } cases[] = {
        {"Arial Cyr" + std::string(91, ' '), "Arial Cyr"},
        {"Times New Roman Cyr ", "Times New Roman Cyr"},
        {"Courier New Cyr", "Courier New Cyr"},
        {" Lead", " Lead"},          // only the end is trimmed
        {std::string(100, ' '), ""}, // nothing but blanks
        {"Курсив  ", orvo::platform::utf8ToCp1251("Курсив")},
    };
    for (const auto& c : cases) {
        DxfWriter w;
        w.writeStyle("Ramka", c.face);
        EXPECT_TRUE(contains(w.text(), " 42\r\n0.000000\r\n  3\r\n" + c.written + "\r\n"))
            << '"' << c.face << '"' << "\n"
            << w.text();
    }
}

std::string toCharsSix(double v) {
    char buf[400];
    return std::string(buf,
                       std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6).ptr);
}

// Coordinates take a faster way than std::to_chars; every byte must still be what it writes,
// most of all at rounding ties, signed zeros and the edge of the fast range.
TEST(DxfWriterBytes, RealsAreWrittenAsToCharsWritesThem) {
    const double cases[] = {0,
                            -0.0,
                            1e-7,
                            -1e-7,
                            5e-7,
                            -5e-7,
                            0.0000005,
                            1.0000005,
                            2.0000015,
                            0.1234565,
                            123.456789,
                            -47.875,
                            9999999.9999995,
                            1e7 - 1e-7,
                            1e7,
                            -1e7,
                            12345678.9,
                            1e300,
                            -1e-300,
                            4.9e-324,
                            0.49999999999999994,
                            1234.5,
                            0.3,
                            8191.9999999};
    std::vector<double> values(std::begin(cases), std::end(cases));
    std::mt19937_64 rng(22);
    std::uniform_real_distribution<double> coord(-20000, 20000);
    std::uniform_int_distribution<long long> millionths(-20000000000LL, 20000000000LL);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(coord(rng));
        // Half a millionth away from a printed value: the ties the fast way must hand over.
        const double tie = (static_cast<double>(millionths(rng)) + 0.5) / 1e6;
        values.push_back(tie);
        values.push_back(std::nextafter(tie, 0.0));
        values.push_back(std::nextafter(tie, 1e9));
    }
    for (double v : values) {
        DxfWriter w;
        w.writeVertex(DxfLayer::Line, v, 0);
        EXPECT_TRUE(contains(w.text(), " 10\r\n" + toCharsSix(v) + "\r\n 20\r\n"))
            << std::hexfloat << v << "\n"
            << w.text();
    }
}

TEST(DxfWriterDeathTest, CodesOutsideTheTablesAbort) {
    DxfWriter w;
    EXPECT_DEATH(w.beginPolyline(static_cast<DxfLayer>(0), false, 1), "layer code");
    EXPECT_DEATH(w.writeVertex(static_cast<DxfLayer>(10), 0, 0), "layer code");
    EXPECT_DEATH(w.writeText(DxfLayer::Text, static_cast<DxfStyle>(7), 0, 0, 1, 0, DxfAlign::Left,
                             0, 0, "x"),
                 "style code");
    EXPECT_DEATH(w.writeText(DxfLayer::Text, DxfStyle::Txt1, 0, 0, 1, 0, static_cast<DxfAlign>('X'),
                             0, 0, "x"),
                 "alignment");
    EXPECT_EQ(styleName(titleBlockStyle(1234)), "FSH1234");
}

// The test program runs under the locale of the environment too; this checks it in one run.
TEST(DxfWriterLocale, CommaLocaleChangesNoByte) {
    const std::string before = entitiesSheet().take();
    const std::string oldC = std::setlocale(LC_ALL, nullptr);
    const std::locale oldCpp;
    if (!std::setlocale(LC_ALL, "ru_RU.UTF-8"))
        GTEST_SKIP() << "ru_RU.UTF-8 is not installed";
    std::locale::global(std::locale("ru_RU.UTF-8"));
    const std::string comma = std::localeconv()->decimal_point;
    const std::string under = entitiesSheet().take();
    std::locale::global(oldCpp);
    std::setlocale(LC_ALL, oldC.c_str());
    EXPECT_EQ(comma, ",");
    EXPECT_EQ(before, under);
}

} // namespace
