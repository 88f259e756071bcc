// The converters of symbols, consistency patterns, hatches and title blocks: golden DXF files
// with fixed inputs, and the rules a golden file would not show by itself.
#include "export/dxf_convert.h"
#include "export_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <sstream>

#include <array>

using namespace orvo;
using namespace orvo::exporter;
using test::dxfGolden;
using test::sheetAround;

namespace {

dict::SymbolElement element(int type, int pen, int brush, int width,
                            std::vector<dict::SymbolPoint> points) {
    dict::SymbolElement e;
    e.type = type;
    e.penKind = pen;
    e.brushKind = brush;
    e.penWidth = width;
    e.points = std::move(points);
    return e;
}

dict::ConsistencyElement pattern(int kind, int step, int repeat, int angle = 0, int direction = 0,
                                 int width = 20) {
    dict::ConsistencyElement e;
    e.kind = kind;
    e.step = step;
    e.repeat = repeat;
    e.angle = angle;
    e.direction = direction;
    e.lineWidth = width;
    return e;
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(ConverterGolden, SymbolsWriteBlackSegmentsPolygonsAndRectangles) {
    dict::SymbolListRecord record;
    record.used = 1;
    record.width = 400;
    record.height = 300;
    record.elementCount = 5;
    const std::vector<dict::SymbolElement> elements{
        element(dict::kSymbolSegment, 2, 0, 25, {{0, 0}, {400, 300}}),
        element(dict::kSymbolPolygon, 0, 2, 0, {{0, 300}, {200, 0}, {400, 300}}),
        element(dict::kSymbolRectangle, 2, 1, 10, {{50, 50}, {350, 250}}),
        element(dict::kSymbolEllipse, 2, 2, 10, {{0, 0}, {400, 300}}),
        element(dict::kSymbolSegment, 1, 1, 10, {{0, 150}, {400, 150}}), // white: left out
        element(dict::kSymbolPolygon, 2, 2, 10, {{7, 7}}),               // one point: left out
    };
    const auto text = sheetAround([&](DxfWriter& w) {
        WriteSymbolDxf(w, record, elements, 7, 100, 50, DxfLayer::Proba, false);
        WriteSymbolDxf(w, record, elements, 7, 100, 80, DxfLayer::Proba, true);
        // Slot 2 with five elements is the fixed glyph whatever its elements are.
        WriteSymbolDxf(w, record, {}, 2, 120, 50, DxfLayer::Text, false);
        record.used = 0;
        WriteSymbolDxf(w, record, elements, 7, 100, 20, DxfLayer::Proba, false);
    });
    EXPECT_TRUE(dxfGolden("dxf-convert-symbols", text));
    EXPECT_EQ(count(text, "POLYLINE"), 7u); // three per symbol, the glyph
}

TEST(ConverterGolden, ConsistencyPatternsInAColumn) {
    const std::vector<dict::ConsistencyElement> elements{
        pattern(dict::kVertical, 150, 1),            // repeated from the left edge
        pattern(dict::kVertical, -100, 0, 0, 0, 50), // one line left of the centre
        pattern(dict::kHorizontal, 200, 1),
        pattern(dict::kHorizontal, 200, 0), // a single horizontal line draws nothing
        pattern(dict::kDiagonal, 150, 1, 30),
        pattern(dict::kDiagonal, 150, 1, -45),
        pattern(dict::kDiagonal, 0, 1, 30, 1), // no step: the single diagonal
        pattern(dict::kDiagonal, 0, 0, 0, 0),
    };
    const auto text =
        sheetAround([&](DxfWriter& w) { WriteConsistencyDxf(w, elements, 100, 40, 106, 52); });
    EXPECT_TRUE(dxfGolden("dxf-convert-consistency", text));
    EXPECT_EQ(text.find("Line\r\n  6\r\nCONTINUOUS\r\n 70"), std::string::npos); // all open
}

TEST(ConverterGolden, HatchClippedToATriangle) {
    dict::HatchPattern hatch;
    hatch.lines = {{0.2f, 0, 3}, {0.1f, 90, 4}, {0.3f, 45, 5}, {0.1f, -30, 6}};
    hatch.segments = {{0.25f, 1, 1, 3, 2, 6, 5}};
    hatch.symbols = {{3, 0, 0, 5, 5}}; // never exported
    const std::array<DxfPoint, 3> triangle{{{140, 60}, {180, 60}, {160, 90}}};
    const auto text = sheetAround([&](DxfWriter& w) {
        ClipSegmentToPolygon clip(triangle);
        EXPECT_GT(WriteHatchDxf(w, hatch, {129, 115, 181, 59}, clip), 0u);
    });
    EXPECT_TRUE(dxfGolden("dxf-convert-hatch", text));
}

// Only the rows and columns near the polygon are generated, and a hatch of symbols only writes
// nothing; far-off areas get exactly what the whole-sheet loops would give them.
TEST(Converters, HatchLoopsStartNearThePolygon) {
    dict::HatchPattern hatch;
    hatch.lines = {{0.2f, 0, 3}, {0.1f, 90, 4}, {0.3f, 45, 5}, {0.1f, -30, 6}, {0.1f, 1, 2}};
    hatch.segments = {{0.25f, 1, 1, 3, 2, 6, 5}};
    const std::array<DxfPoint, 4> far{{{2000, 60}, {2010, 60}, {2010, 70}, {2000, 70}}};
    DxfWriter w;
    ClipSegmentToPolygon clip(far);
    const auto pieces = WriteHatchDxf(w, hatch, {129, 115, 2011, 59}, clip);
    // Counted by hand from the spacing: 4 vertical, 3 horizontal, per inclined family the lines
    // crossing a 10 mm box, and 2 x 2 tiles.
    EXPECT_GT(pieces, 10u);
    EXPECT_LT(pieces, 40u);
    EXPECT_LT(w.bytes().size(), 20000u);

    dict::HatchPattern symbolsOnly;
    symbolsOnly.symbols = {{3, 0, 0, 5, 5}};
    DxfWriter none;
    EXPECT_EQ(WriteHatchDxf(none, symbolsOnly, {129, 115, 2011, 59}, clip), 0u);
    EXPECT_TRUE(none.bytes().empty());
}

// The vertices the file holds, in order: every 10/20 group pair.
std::vector<DxfPoint> vertices(const std::string& dxf) {
    std::vector<DxfPoint> out;
    // Read whatever the locale: a Russian one would take the point for a separator.
    const auto number = [](const std::string& text) {
        double v = 0;
        const auto first = text.find_first_not_of(' ');
        if (first == std::string::npos)
            return v;
        std::from_chars(text.data() + first, text.data() + text.find_last_not_of("\r ") + 1, v);
        return v;
    };
    std::istringstream in(dxf);
    std::string code, value;
    double x = 0;
    while (std::getline(in, code) && std::getline(in, value)) {
        const auto c = static_cast<int>(number(code));
        if (c == 10)
            x = number(value);
        else if (c == 20)
            out.push_back({x, number(value)});
    }
    return out;
}

// Neighbouring areas hatched over one sheet-wide rectangle continue each other's lines, a
// family falling to the right too: every piece ending on the shared edge x = 150 of the left
// square is met there by a piece of the right one.
TEST(Converters, NeighbouringAreasShareTheirLines) {
    dict::HatchPattern hatch;
    hatch.lines = {{0.1f, -30, 4}};
    const std::array<DxfPoint, 4> left{{{130, 60}, {150, 60}, {150, 80}, {130, 80}}};
    const std::array<DxfPoint, 4> right{{{150, 60}, {170, 60}, {170, 80}, {150, 80}}};
    const HatchRect sheet{129, 115, 400, 59};
    DxfWriter a, b;
    ClipSegmentToPolygon clipA(left), clipB(right);
    ASSERT_GT(WriteHatchDxf(a, hatch, sheet, clipA), 0u);
    ASSERT_GT(WriteHatchDxf(b, hatch, sheet, clipB), 0u);
    const auto va = vertices(a.text());
    const auto vb = vertices(b.text());
    int met = 0;
    for (const auto& p : va) {
        if (std::abs(p.x - 150) > 1e-6 || p.y <= 60.01 || p.y >= 79.99)
            continue;
        const bool continued = std::any_of(vb.begin(), vb.end(), [&](const DxfPoint& q) {
            return std::abs(q.x - 150) < 1e-6 && std::abs(q.y - p.y) < 0.011;
        });
        EXPECT_TRUE(continued) << p.y;
        ++met;
    }
    EXPECT_GT(met, 2);
}

TEST(ConverterGolden, TitleBlockWithStylesAndControlCharacters) {
    dict::TitleBlock block;
    block.width = 1850;
    block.height = 400;
    block.segments = {{100, 100, 1950, 100, 3}, {100, 500, 1950, 500, 5}, {700, 100, 700, 500, 1}};
    dict::TitleProgramText name;
    name.fieldCode = 0;
    name.font.faceName.setUtf8("Arial Cyr");
    name.box = {dict::kTitleCentred, 12, 700, 300, 1950, 500};
    dict::TitleProgramText sheet;
    sheet.fieldCode = 4;
    sheet.font.faceName.setUtf8("Times New Roman Cyr");
    sheet.box = {dict::kTitleRight, 10, 100, 100, 700, 300};
    dict::TitleEditableText fixed;
    fixed.text.setUtf8("Лист");
    fixed.font.faceName.setUtf8("Arial Cyr");
    fixed.box = {dict::kTitleLeft, 8, 100, 300, 700, 500};
    block.programTexts = {name, sheet};
    block.editableTexts = {fixed};
    const auto faces = titleBlockFaces(block);
    ASSERT_EQ(faces.faces, (std::vector<std::string>{"Arial Cyr", "Times New Roman Cyr"}));
    ASSERT_EQ(faces.editableFace, std::vector<int>{0});
    DxfWriter w;
    w.writeHeader();
    w.beginTables();
    w.writeLtypeTable();
    w.writeLayerTable(LayerSet::SectionSheet);
    w.beginStyleTable();
    WriteTitleBlockStyles(w, faces);
    w.endStyleTable();
    w.endTables();
    w.beginEntities();
    WriteTitleBlockDxf(w, block, faces, 5000, [](int code) {
        return code == 0 ? std::string("Жилой дом\r\nпо ул. Береговой") : std::to_string(code);
    });
    w.writeTrailer();
    EXPECT_TRUE(dxfGolden("dxf-convert-title-block", w.text()));
    // The line break of the full name is a blank: the file stays readable.
    EXPECT_NE(w.text().find(platform::utf8ToCp1251("Жилой дом  по ул. Береговой")),
              std::string::npos);
}
