// The viewer's and sheet editor's state without windows: zoom, offsets, scroll ranges, the zoom
// rectangle, the readout, the editor's commands, picking, dragging and saving; and the overlay.
#include "drawing/sheet_editor_session.h"
#include "drawing/sheet_view.h"
#include "drawing_fixture.h"
#include "support/golden.h"

namespace orvo::test {
namespace {

// A 2000 × 1000 sheet in a 500 × 400 view: the fit is 0.25.
drawing::SheetView fitted() {
    drawing::SheetView v;
    v.setViewSize(500, 400);
    v.setSheet(2000, 1000);
    return v;
}

TEST(SheetView, ZoomsKeepTheOriginsSheetPoint) {
    auto v = fitted();
    EXPECT_EQ(v.zoom(), 0.25);
    EXPECT_FALSE(v.canZoomOut());
    EXPECT_FALSE(v.canWholeSheet());
    EXPECT_FALSE(v.horizontal().shown);
    v.zoomIn();
    v.setOffsets(100, 40);
    v.zoomIn(); // the point (100, 40) at zoom 0.5 is (200, 80) at zoom 1
    EXPECT_EQ(v.zoom(), 1.0);
    EXPECT_EQ(v.offsetX(), 200);
    EXPECT_EQ(v.offsetY(), 80);
    const auto h = v.horizontal();
    EXPECT_TRUE(h.shown);
    EXPECT_EQ(h.maximum, 2000 - 500);
    EXPECT_EQ(h.page, 250);
    EXPECT_EQ(h.line, 10);
    for (int i = 0; i < 5; ++i)
        v.zoomIn();
    EXPECT_EQ(v.zoom(), drawing::kMaxZoom);
    EXPECT_FALSE(v.canZoomIn());
    v.zoomOut();
    EXPECT_EQ(v.zoom(), 5.0);
    for (int i = 0; i < 5; ++i)
        v.zoomOut();
    EXPECT_EQ(v.zoom(), 0.25); // snapped back to the fit, offsets 0
    EXPECT_EQ(v.offsetX(), 0);
    // The scroll range keeps an offset beyond the scaled sheet reachable.
    v.setOffsets(300, 0);
    EXPECT_EQ(v.horizontal().maximum, 300);
}

TEST(SheetView, ZoomRectangleAndReadout) {
    auto v = fitted();
    EXPECT_FALSE(v.zoomToRect(10, 10, 10, 50)); // no width
    // 100 × 50 view pixels at 0.25 are 400 × 200 sheet pixels: min(500/400, 400/200) = 1.25.
    ASSERT_TRUE(v.zoomToRect(150, 120, 50, 70));
    EXPECT_EQ(v.zoom(), 1.25);
    EXPECT_EQ(v.offsetX(), 50 / 0.25 * 1.25);
    EXPECT_EQ(v.offsetY(), 70 / 0.25 * 1.25);
    ASSERT_TRUE(v.zoomToRect(0, 0, 2, 1)); // capped at 10
    EXPECT_EQ(v.zoom(), drawing::kMaxZoom);
    // At 254 dpi and zoom 1 a view pixel is 0.1 mm; Y counts from the sheet's bottom.
    drawing::SheetView r;
    r.setViewSize(2000, 1000);
    r.setSheet(2000, 1000);
    EXPECT_EQ(r.readout(100, 900, 254), "X=10.00 Y=10.00");
}

struct EditorFixture : DrawingFixture {
    drawing::SheetEditorSession session{input().texts, 2, 200, 100, 96};
};

TEST(SheetEditorSession, CommandsFollowTheState) {
    EditorFixture f;
    using C = drawing::EditorCommand;
    auto& s = f.session;
    const auto enabled = [&](C c) { return s.state(c).enabled; };
    EXPECT_TRUE(enabled(C::PageNext));
    EXPECT_FALSE(enabled(C::PagePrevious));
    EXPECT_TRUE(s.state(C::ViewPlus).checked); // the zoom rectangle is the first tool
    EXPECT_FALSE(enabled(C::TextVisible));
    EXPECT_FALSE(enabled(C::Save));
    s.setOverlay({{5, {100, 100, 40, 20}}, {9, {120, 110, 40, 20}}});
    EXPECT_TRUE(s.pick(130, 115)); // both hold it: the first wins
    EXPECT_EQ(s.selected(), 5);
    EXPECT_TRUE(s.state(C::TextVisible).checked);
    s.run(C::TextHidden);
    EXPECT_EQ(s.texts()[5].visible, 0);
    EXPECT_TRUE(s.modified());
    EXPECT_TRUE(s.state(C::TextHidden).checked);
    EXPECT_TRUE(s.run(C::PageNext)); // a new sheet: no selection, nothing to go to
    EXPECT_EQ(s.selected(), -1);
    EXPECT_FALSE(enabled(C::PageNext));
    EXPECT_FALSE(s.pick(0, 0));
    s.run(C::Select);
    EXPECT_TRUE(s.state(C::Select).checked);
}

TEST(SheetEditorSession, DragMovesByTheScreensResolution) {
    EditorFixture f;
    auto& s = f.session;
    s.view().setViewSize(1000, 1000);
    s.view().setSheet(1000, 1000); // zoom 1
    s.setOverlay({{0, {0, 0, 50, 50}}});
    ASSERT_TRUE(s.pick(10, 10));
    const auto before = s.texts()[0];
    s.moveSelected(96, 48);
    // dx += mx * 0.0001 * H / (dpiX / 254 * zoom), dy -= my * 0.0001 * V / (same).
    EXPECT_FLOAT_EQ(s.texts()[0].dx,
                    before.dx + static_cast<float>(96 * 0.0001 * 200 / (96.0 / 254)));
    EXPECT_FLOAT_EQ(s.texts()[0].dy,
                    before.dy - static_cast<float>(48 * 0.0001 * 100 / (96.0 / 254)));
}

TEST(SheetEditorSession, ExitAsksAndSaves) {
    using platform::Answer;
    const struct {
        Answer answer;
        bool closes;
        bool saved;
    } cases[] = {
        {Answer::Yes, true, true}, {Answer::No, true, false}, {Answer::Cancel, false, false}};
    for (const auto& c : cases) {
        EditorFixture f;
        f.session.setOverlay({{0, {0, 0, 50, 50}}});
        ASSERT_TRUE(f.session.pick(1, 1));
        f.session.run(drawing::EditorCommand::TextHidden);
        platform::RecordingMessageSink sink;
        sink.queueAnswer(c.answer);
        EXPECT_EQ(f.session.exit(f.folder, sink), c.closes);
        ASSERT_EQ(sink.entries().size(), 1u);
        EXPECT_EQ(sink.entries()[0].caption, "Редактирование разреза");
        EXPECT_EQ(sink.entries()[0].text, "Сохранить изменения ?");
        EXPECT_EQ(f.folder.exists("WORK.MTX"), c.saved);
    }
    // A failed save keeps the texts modified and the window open.
    EditorFixture f;
    f.session.setOverlay({{0, {0, 0, 50, 50}}});
    ASSERT_TRUE(f.session.pick(1, 1));
    f.session.run(drawing::EditorCommand::TextHidden);
    f.folder.setFaultHook([](std::string_view) { return true; });
    platform::RecordingMessageSink sink;
    sink.queueAnswer(Answer::Yes);
    EXPECT_FALSE(f.session.exit(f.folder, sink));
    EXPECT_TRUE(f.session.modified());
}

// The overlay of sheet 1: visible texts blue, the selected one red, a hidden one grey.
TEST(SheetOverlay, MatchesGoldenDump) {
    DrawingFixture f;
    ASSERT_TRUE(f.prepared);
    f.input().texts[1].visible = 0;
    std::vector<drawing::OverlayText> overlay;
    const auto dump =
        f.part(0, true, [&](platform::Canvas& c, const drawing::detail::SheetContext& s) {
            auto g = s.g;
            g.last = g.first; // the first borehole's texts
            const drawing::detail::SheetContext one{s.folder, s.in, g, 0, 2, s.dpiX, s.dpiY, true};
            overlay = drawing::drawSheetOverlay(c, one, drawing::sheetTextSites(one), 0);
        });
    EXPECT_FALSE(overlay.empty());
    EXPECT_NE(dump.find("textcolor #ff0000"), std::string::npos);
    EXPECT_NE(dump.find("textcolor #808080"), std::string::npos);
    EXPECT_TRUE(matchesGolden(std::filesystem::path(ORVO_GOLDEN_DIR) / "sheet-overlay", dump));
}

} // namespace
} // namespace orvo::test
