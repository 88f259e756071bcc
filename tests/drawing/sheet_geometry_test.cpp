// Sheet geometry against hand-computed numbers, the wavy boundary, text layout, the placement
// file, and rendering properties over random connections.
#include "drawing/sheet_geometry.h"
#include "drawing/sheet_texts.h"
#include "drawing_fixture.h"
#include "platform/numbers.h"
#include "platform/recording_canvas.h"

#include <cmath>
#include <random>
#include <sstream>

namespace orvo::test {
namespace {

section::SectionLayout threeBoreholes(std::int32_t bottom, std::int32_t verticalScale) {
    section::SectionLayout l;
    l.horizontalScale = 200;
    l.verticalScale = verticalScale;
    l.sheetHeight = 4200;
    l.stampFirstWidth = 1850;
    l.boreholes = {{1, "1", 0, 0, 15000, 2000, true},
                   {2, "2", 2000, 0, 14900, 1900, true},
                   {3, "3", 5000, 0, 15100, 2100, false}};
    l.sheets = {{0, 2, 15100, bottom, 5000}};
    return l;
}

TEST(SheetGeometry, MatchesHandComputedPositionsAt254Dpi) {
    struct Case {
        std::int32_t bottom, verticalScale;
        std::int64_t elevation, expectedY; // design Y of an elevation
        std::int32_t baseMetres;
    };
    const Case cases[] = {
        {13000, 100, 15000, 2600, 130},
        // -5.5 m: the base is -5 m (toward zero), so -5.5 m lies 5 mm below the 60 mm line.
        {-550, 100, -550, 550, -5},
        // Division toward zero: -50 cm at 1:300 is -16, not -17.
        {0, 300, -50, 584, 0},
    };
    for (const auto& c : cases) {
        const auto g =
            drawing::MakeSheetGeometry(threeBoreholes(c.bottom, c.verticalScale), 0, 254, 254);
        EXPECT_EQ(g.heightPx, 4200);
        EXPECT_EQ(g.widthPx, 1650 + 1850 + 5000 * 100 / 200);
        EXPECT_EQ(g.baseMetres, c.baseMetres);
        EXPECT_EQ(g.designY(c.elevation), c.expectedY);
        // trunc((d + 0.5) * 100 / 200): 1000 and 1500 design units apart.
        EXPECT_EQ(g.x, (std::vector<std::int64_t>{1300, 2300, 3800}));
        EXPECT_EQ(g.depthY(0, 1000),
                  static_cast<double>(4200 - g.designY(15000) + 1000 * 100 / c.verticalScale));
    }
    // At 300 dpi every conversion truncates v * 300 / 254.
    const auto g = drawing::MakeSheetGeometry(threeBoreholes(13000, 100), 0, 300, 300);
    EXPECT_EQ(g.heightPx, static_cast<std::int64_t>(4200 * (300.0f / 254.0f)));
    EXPECT_EQ(g.x[1], static_cast<std::int64_t>(2300 * (300.0f / 254.0f)));
}

TEST(SheetGeometry, PointsLieOnTheirBoreholeScale) {
    const auto g = drawing::MakeSheetGeometry(threeBoreholes(13000, 100), 0, 254, 254);
    connect::ConnectionModel m;
    m.boreholes.resize(3);
    m.points = {{connect::PointKind::Borehole, 1, 0, 0, 250},
                {connect::PointKind::Bend, 0, 0, 400, 100}};
    const auto pos = drawing::pointPositions(g, m);
    ASSERT_EQ(pos.size(), 2u);
    EXPECT_EQ(pos[0].x, 2300);
    EXPECT_EQ(pos[0].y, g.designY(14900) - 250);
    EXPECT_EQ(pos[1].x, 1300 + 400 * 100 / 200);
    EXPECT_EQ(pos[1].y, g.designY(15000) - 100);
}

// The zigzag keeps within its 1 mm amplitude of the straight line and ends exactly at B.
TEST(WavyLine, StaysOnTheLineAndEndsAtB) {
    const platform::PointF cases[][2] = {
        {{0, 0}, {2000, 0}},   {{100, 100}, {1700, 1300}}, {{0, 0}, {3, 4}},
        {{500, 0}, {0, 2000}}, {{0, 0}, {1999, -7}},
    };
    for (const auto& c : cases) {
        const auto a = c[0];
        const auto b = c[1];
        const auto wave = drawing::detail::wavyLine(a, b, 254);
        ASSERT_FALSE(wave.empty());
        EXPECT_EQ(wave.front().x, a.x);
        EXPECT_EQ(wave.back().x, b.x);
        EXPECT_EQ(wave.back().y, b.y);
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        for (const auto& v : wave) {
            const double cross = ((v.x - a.x) * (b.y - a.y) - (v.y - a.y) * (b.x - a.x)) / len;
            EXPECT_LE(std::abs(cross), 10.0 + 1e-9) << v.x << "," << v.y;
        }
    }
}

TEST(TextLayout, WrapsAtBlanksAndKeepsLongWordsWhole) {
    platform::RecordingCanvas c;
    c.setFont({"Arial", 10}); // 6 units per character
    const struct {
        const char* text;
        double width;
        std::vector<std::string> lines;
    } cases[] = {
        {"aaa bbb ccc ddd", 60, {"aaa bbb", "ccc ddd"}},
        {"short", 60, {"short"}},
        {"averyveryverylongword and", 60, {"averyveryverylongword", "and"}},
        {"one\ntwo three", 60, {"one", "two three"}},
        {"", 60, {""}},
    };
    for (const auto& t : cases)
        EXPECT_EQ(platform::wrapText(c, t.text, t.width), t.lines) << t.text;
    c.clear();
    platform::drawTextLines(c, {0, 0, 100, 100}, platform::kAlignHCenter | platform::kAlignBottom,
                            "a\n\nb");
    EXPECT_EQ(c.dump(), "text 0.00,70.00 100.00x10.00 hcenter/top \"a\"\n"
                        "text 0.00,90.00 100.00x10.00 hcenter/top \"b\"\n");
}

drawing::SheetText text(std::int32_t file, float key, std::int32_t type) {
    drawing::SheetText t;
    t.fileNumber = file;
    t.key = key;
    t.type = type;
    t.dx = 1;
    return t;
}

TEST(SheetTexts, PlacementsMatchByIdentityAndRescale) {
    std::vector<drawing::SheetText> texts = {text(1, 2.5f, 0), text(1, 2.5f, 1), text(2, 2.5f, 0),
                                             text(2, 2.5f, 0)};
    drawing::SheetTextFile file{500, 100, {}};
    file.placements = {
        {1, 0, 2.5f, 1, 0, 3.0f, -1.0f},        // moves and hides the elevation of borehole 1
        {2, 0, 2.5f, 0, 1, 0.5f, 0.25f},        // the first of two equal identities
        {1, 0, 2.5001f, 0, 0, 9.0f, 9.0f},      // another depth: dropped
        {1, 0, 2.5f, 0, 1, std::nanf(""), 0.f}, // not a number: dropped
    };
    drawing::applyPlacements(texts, file, 1000);
    EXPECT_EQ(texts[0].dx, 1.0f);
    EXPECT_EQ(texts[0].visible, 1);
    EXPECT_EQ(texts[1].visible, 0);
    EXPECT_EQ(texts[1].dx, 6.0f); // 3 m at 1:500 keeps its millimetres at 1:1000
    EXPECT_EQ(texts[1].dy, -1.0f);
    EXPECT_EQ(texts[2].dx, 1.0f);
    EXPECT_EQ(texts[2].dy, 0.25f);
    EXPECT_EQ(texts[3].dy, 0.0f);
}

TEST(SheetTexts, FileRoundTripsAndAShortOneHasNoRecords) {
    const std::vector<drawing::SheetText> texts = {text(7, 1.25f, 2), text(8, 3.5f, 3)};
    auto bytes = drawing::sheetTextFileBytes(200, 100, texts);
    ASSERT_EQ(bytes.size(), 8u + 2 * 28);
    bytes.push_back(0); // a torn last record is ignored
    const auto file = drawing::parseSheetTextFile(bytes);
    EXPECT_EQ(file.horizontalScale, 200);
    ASSERT_EQ(file.placements.size(), 2u);
    EXPECT_EQ(file.placements[1].key, 3.5f);
    EXPECT_EQ(file.placements[1].type, 3);
    bytes.pop_back();
    const std::vector<drawing::SheetText> again = {text(7, 1.25f, 2), text(8, 3.5f, 3)};
    EXPECT_EQ(drawing::sheetTextFileBytes(200, 100, again), bytes);
    EXPECT_TRUE(drawing::parseSheetTextFile(std::vector<std::uint8_t>(7, 0)).placements.empty());
}

// The defaults follow the borehole records; the dialog reads WORK.MTX first, a stored section
// its own file only; damaged files leave the defaults.
TEST(SheetTexts, BuiltFromTheBoreholesWithTheirSourcesPlacements) {
    DemoDatabase db;
    platform::RecordingMessageSink sink;
    using drawing::TextSource;
    const auto build = [&](TextSource source) {
        return drawing::BuildSheetTexts(db.folder, sink, 1, {1}, 2, 200, source);
    };
    auto texts = build(TextSource::SectionDialog);
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0].type, drawing::kIgeLabel);
    EXPECT_EQ(texts[0].dx, 0.0040f * 200);
    EXPECT_EQ(texts[0].dy, texts[0].key / 2);
    EXPECT_EQ(texts[2].shown(), platform::formatFixed(texts[2].key, 2));
    texts[1].visible = 0;
    ASSERT_TRUE(drawing::SaveSheetTexts(db.folder, 200, 100, texts));
    EXPECT_EQ(build(TextSource::SectionDialog)[1].visible, 0);
    EXPECT_EQ(build(TextSource::StoredSection)[1].visible, 1);
    ASSERT_TRUE(db.folder.copyFile("WORK.MTX", "DATA\\00001.OBJ\\000002.MTX"));
    EXPECT_EQ(build(TextSource::StoredSection)[1].visible, 0);

    auto zeroScale = drawing::sheetTextFileBytes(0, 100, texts);
    auto huge = texts;
    huge[1].dy = 2e5f;
    const std::vector<platform::Bytes> damaged = {
        {1, 2, 3}, zeroScale, drawing::sheetTextFileBytes(200, 100, huge)};
    for (const auto& bytes : damaged) {
        ASSERT_TRUE(db.folder.writeAtomic("WORK.MTX", bytes));
        EXPECT_EQ(build(TextSource::SectionDialog)[1].visible, 1);
    }
    ASSERT_EQ(sink.entries().size(), 1u); // the zero scale's warning
    EXPECT_EQ(sink.entries()[0].caption, "Warning");
}

// The model upper-cases Latin letters of IGE numbers; the list keeps them as typed. "1x" still
// finds its hatch.
TEST(SheetAreas, LatinLettersFindTheirHatch) {
    DrawingFixture f;
    ASSERT_TRUE(f.prepared);
    auto& in = f.input();
    for (auto& name : in.model.igeNumbers)
        if (name == connect::normaliseIge("1"))
            name = connect::normaliseIge("1x");
    for (auto& e : in.igeList.entries)
        if (dict::igeNumberText(e.number) == "1") {
            e.number = dict::padIgeNumberUtf8("1x");
            e.useStandard = 0;
            e.hatch = 1;
        }
    const auto dump =
        f.part(0, true, [](platform::Canvas& c, const drawing::detail::SheetContext& s) {
            drawing::NoProgress progress;
            EXPECT_GT(drawing::detail::drawHatching(c, s, progress), 0);
        });
    EXPECT_NE(dump.find("clippolygon"), std::string::npos);
}

int count(const std::string& dump, const std::string& what) {
    int n = 0;
    for (auto at = dump.find(what); at != std::string::npos; at = dump.find(what, at + 1))
        ++n;
    return n;
}

// Random subsets of the demonstration connections, some lines wavy or invisible: every sheet
// renders, and no area is hatched more often than the section has borehole points.
TEST(RenderSection, RandomConnectionsRenderWithFewerHatchesThanPoints) {
    DrawingFixture f;
    ASSERT_TRUE(f.prepared);
    const auto original = f.input();
    std::mt19937 random(20261208);
    for (int round = 0; round < 6; ++round) {
        auto& in = f.input();
        in = original;
        std::vector<connect::ConnectionLine> kept;
        for (auto l : original.model.lines) {
            if (random() % 4 == 0)
                continue;
            l.style = random() % 3 == 0 ? connect::LineStyle::Wavy : connect::LineStyle::Straight;
            l.visible = random() % 5 == 0 ? 0 : 1;
            kept.push_back(l);
        }
        in.model.lines = kept;
        drawing::RecordingSheetSink sink(100);
        drawing::NoProgress progress;
        const auto sizes =
            drawing::RenderSection(f.folder, in, sink, progress, round % 2 == 0, f.time);
        ASSERT_EQ(sizes.size(), in.layout.sheets.size() + 1);
        for (std::size_t n = 0; n + 1 < sink.sheets.size(); ++n)
            EXPECT_LE(count(sink.sheets[n].h->dump(), "clippolygon"),
                      in.model.boreholePointTotal());
        EXPECT_TRUE(sink.sheets.back().h->dump().empty());
    }
}

// A description taller than the sheet still takes one column, and the legend ends.
TEST(Legend, OversizeRowsStillEnd) {
    DrawingFixture f;
    ASSERT_TRUE(f.prepared);
    auto& in = f.input();
    in.layout.sheetHeight = 300;
    for (auto& e : in.igeList.entries) {
        e.useStandard = 0;
        std::string words;
        for (int i = 0; i < 80; ++i)
            words += "слово ";
        e.description.setUtf8(words);
    }
    drawing::RecordingSheetSink sink(254);
    const auto size = drawing::RenderLegend(f.folder, in, sink, 2, f.time);
    EXPECT_EQ(size.widthPx, static_cast<std::int64_t>(2100 * in.igeList.entries.size()) + 1);
}

} // namespace
} // namespace orvo::test

namespace orvo::test {
namespace {

// Every visible boundary is drawn on exactly one sheet: the one where its left end's borehole
// is not the last. An invisible borehole keeps its table entries and loses everything else.
TEST(RenderSection, BoundariesOnceAndInvisibleBoreholes) {
    DrawingFixture f;
    ASSERT_TRUE(f.prepared);
    auto& in = f.input();
    const auto boundaryDump = [&](int sheet) {
        return f.part(sheet, true, [](platform::Canvas& c, const drawing::detail::SheetContext& s) {
            drawing::detail::drawBoundaries(c, s);
        });
    };
    int visible = 0;
    for (const auto& l : in.model.lines)
        visible += l.visible == 1 ? 1 : 0;
    // "line " also ends "polyline ": straight and wavy boundaries alike.
    EXPECT_EQ(count(boundaryDump(0), "line ") + count(boundaryDump(1), "line "), visible);

    in.layout.boreholes[0].visible = false;
    const auto table =
        f.part(0, true, [](platform::Canvas& c, const drawing::detail::SheetContext& s) {
            drawing::detail::drawTitleAndTable(c, s);
        });
    EXPECT_NE(table.find("\"" + in.layout.boreholes[0].name + "\""), std::string::npos);
    EXPECT_EQ(count(table, "line 1300.00,"), 5); // four table rules start there, and the tick
    auto g = drawing::MakeSheetGeometry(in.layout, 0, kDpi, kDpi);
    g.last = g.first;
    const drawing::detail::SheetContext s{f.folder, in, g, 0, 2, kDpi, kDpi, true};
    platform::RecordingCanvas column;
    drawing::NoProgress progress;
    drawing::detail::drawBoreholes(column, s, progress);
    EXPECT_EQ(column.dump(), "");
}

// The preparation stops at a change report and uses form 0 in place of a deleted form; the
// working connections it made are gone afterwards.
TEST(PrepareSectionDrawing, ReportsStopsAndCleansUp) {
    DemoDatabase db;
    ASSERT_TRUE(db.made);
    auto defaults = db.store.LoadSectionDefaults();
    ASSERT_TRUE(defaults);
    defaults->drawingForm = 1;
    ASSERT_TRUE(db.store.SaveSectionDefaults(*defaults));
    ASSERT_TRUE(dict::DeleteDrawingForm(db.folder, 1));
    platform::RecordingMessageSink sink;
    auto section = section::ReadSection(db.folder, 1, 2);
    ASSERT_TRUE(section);
    const auto source = drawing::TextSource::StoredSection;
    auto prepared = drawing::PrepareSectionDrawing(db.store, sink, 1, 2, *section, source);
    ASSERT_TRUE(prepared);
    ASSERT_EQ(sink.entries().size(), 1u);
    EXPECT_EQ(sink.entries()[0].caption, "Построение разреза");
    EXPECT_TRUE(db.folder.exists("WORK.SLO"));
    drawing::FinishSectionDrawing(db.folder, *prepared);
    EXPECT_FALSE(db.folder.exists("WORK.SLO"));

    // One borehole fewer than the stored connections know: the report, and no drawing.
    section->boreholes.pop_back();
    platform::RecordingMessageSink reported;
    EXPECT_FALSE(drawing::PrepareSectionDrawing(db.store, reported, 1, 2, *section, source));
    ASSERT_FALSE(reported.entries().empty());
    EXPECT_NE(reported.entries().back().text.find("Запустите редактор Соединений ИГЭ"),
              std::string::npos);
    EXPECT_FALSE(db.folder.exists("WORK.SLO"));
}

} // namespace
} // namespace orvo::test
