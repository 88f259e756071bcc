// Golden dumps of the parts of a section sheet and of the legend, drawn from the demonstration
// section at 254 dpi (one pixel per tenth of a millimetre).
#include "drawing_fixture.h"
#include "support/golden.h"

#include <functional>

namespace orvo::test {
namespace {

namespace d = drawing::detail;
using Canvas = platform::RecordingCanvas;

struct PartCase {
    const char* golden;
    int sheet;
    bool withTexts;
    // Changes to the prepared input before drawing.
    std::function<void(drawing::SectionDrawingInput&)> adjust;
    bool firstBoreholeOnly;
    std::function<void(Canvas&, const d::SheetContext&, const DrawingFixture&)> draw;
};

const PartCase kParts[] = {
    {"sheet-frame-footer",
     0,
     true,
     {},
     false,
     [](Canvas& c, const d::SheetContext& s, const DrawingFixture& f) {
         d::drawFrameAndFooter(c, s.g, s.in.form, s.dpiY, f.time);
     }},
    // The sheet's bottom at -5.5 m: the base is -5 m, truncated toward zero.
    {"sheet-scale-negative-base", 0, true,
     [](drawing::SectionDrawingInput& in) {
         in.layout.sheets[0].bottom = -550;
         in.layout.sheets[0].top = 250;
     },
     false, [](Canvas& c, const d::SheetContext& s, const DrawingFixture&) { d::drawScale(c, s); }},
    {"sheet-title-table",
     1,
     true,
     {},
     false,
     [](Canvas& c, const d::SheetContext& s, const DrawingFixture&) {
         d::drawTitleAndTable(c, s);
     }},
    // Borehole 1: layers with patterns and texts, two groundwater levels, samples.
    {"sheet-column",
     0,
     true,
     {},
     true,
     [](Canvas& c, const d::SheetContext& s, const DrawingFixture&) {
         drawing::NoProgress progress;
         d::drawBoreholes(c, s, progress);
     }},
    {"sheet-column-no-texts",
     0,
     false,
     {},
     true,
     [](Canvas& c, const d::SheetContext& s, const DrawingFixture&) {
         drawing::NoProgress progress;
         d::drawBoreholes(c, s, progress);
     }},
    // Every boundary of the first sheet, the second one wavy.
    {"sheet-boundaries", 0, true,
     [](drawing::SectionDrawingInput& in) {
         in.model.lines.at(1).style = connect::LineStyle::Wavy;
     },
     false,
     [](Canvas& c, const d::SheetContext& s, const DrawingFixture&) { d::drawBoundaries(c, s); }},
    // Only the collar line and the first base line between boreholes 1 and 2: one area.
    {"sheet-hatched-area", 0, true,
     [](drawing::SectionDrawingInput& in) {
         const auto& m = in.model;
         std::vector<connect::ConnectionLine> kept;
         for (const auto& l : m.lines)
             if (l.from == m.boreholePointIndex(0, 0) || l.from == m.boreholePointIndex(0, 1))
                 kept.push_back(l);
         in.model.lines = kept;
     },
     false,
     [](Canvas& c, const d::SheetContext& s, const DrawingFixture&) {
         drawing::NoProgress progress;
         EXPECT_EQ(d::drawHatching(c, s, progress), 1);
     }},
    {"sheet-title-block",
     0,
     true,
     {},
     false,
     [](Canvas& c, const d::SheetContext& s, const DrawingFixture&) { d::drawStamp(c, s); }},
};

TEST(SheetParts, MatchGoldenDumps) {
    DrawingFixture f;
    ASSERT_TRUE(f.prepared);
    const auto original = f.input();
    for (const auto& pc : kParts) {
        SCOPED_TRACE(pc.golden);
        f.input() = original;
        if (pc.adjust)
            pc.adjust(f.input());
        auto g = drawing::MakeSheetGeometry(f.input().layout, pc.sheet, kDpi, kDpi);
        if (pc.firstBoreholeOnly)
            g.last = g.first;
        const d::SheetContext s{f.folder, f.input(), g, pc.sheet, 2, kDpi, kDpi, pc.withTexts};
        Canvas canvas;
        pc.draw(canvas, s, f);
        EXPECT_TRUE(
            matchesGolden(std::filesystem::path(ORVO_GOLDEN_DIR) / pc.golden, canvas.dump()));
    }
}

std::string legendDump(DrawingFixture& f) {
    drawing::RecordingSheetSink sink(kDpi);
    drawing::RenderLegend(f.folder, f.input(), sink, 2, f.time);
    EXPECT_EQ(sink.sheets.size(), 1u);
    return sink.sheets.at(0).p->dump() + "size " + std::to_string(sink.sheets[0].widthPx) + "x" +
           std::to_string(sink.sheets[0].heightPx) + "\n";
}

TEST(Legend, ListsTheSectionsTypesAndDescriptions) {
    DrawingFixture f;
    ASSERT_TRUE(f.prepared);
    EXPECT_TRUE(
        matchesGolden(std::filesystem::path(ORVO_GOLDEN_DIR) / "legend-types", legendDump(f)));
}

// Twenty own descriptions on a sheet 150 mm high continue in further 210 mm columns.
TEST(Legend, ManyDescriptionsOpenMoreColumns) {
    DrawingFixture f;
    ASSERT_TRUE(f.prepared);
    auto& in = f.input();
    in.layout.sheetHeight = 1500;
    in.igeList.entries.clear();
    for (int i = 1; i <= 20; ++i) {
        section::IgeEntry e;
        e.number = dict::padIgeNumberUtf8(std::to_string(i));
        e.useStandard = 0;
        e.description.setUtf8("Описание " + std::to_string(i));
        in.igeList.entries.push_back(e);
    }
    const auto dump = legendDump(f);
    EXPECT_NE(dump.find("size 6301x1501"), std::string::npos) << dump.substr(dump.size() - 40);
    EXPECT_TRUE(matchesGolden(std::filesystem::path(ORVO_GOLDEN_DIR) / "legend-two-columns", dump));
}

} // namespace
} // namespace orvo::test
