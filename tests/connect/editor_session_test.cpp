// Tests of the editor run without its window: view rules, toolbar states, the painted picture,
// undo and redo, and opening and closing on a working folder.
#include "connect/connection_file.h"
#include "connect/editor_session.h"
#include "connect/reconcile.h"
#include "connect_fixture.h"
#include "store/store_paths.h"

#include <gtest/gtest.h>

#include <random>

namespace orvo::connect {
namespace {

IgeName ige(const char* s) {
    IgeName n;
    n.fill(' ');
    for (std::size_t i = 0; s[i] != '\0' && i < n.size(); ++i)
        n[i] = s[i];
    return n;
}

// n boreholes 10 m apart, collars at 150 m, layers "1" to 1 m, "2" to 3 m, "3" to 6 m.
ConnectionModel section(std::int32_t n) {
    ConnectionModel m;
    m.igeNumbers = {ige(""), ige("1"), ige("2"), ige("3")};
    for (std::int32_t b = 0; b < n; ++b) {
        SectionBorehole h;
        h.fileNumber = b + 1;
        h.name = {'B', static_cast<char>('1' + b)};
        h.x = 1000 * b;
        h.collarElevation = 15000;
        h.depth = 600;
        h.rowIge = {0, 1, 2, 3};
        h.rowDepth = {0, 100, 300, 600};
        m.boreholes.push_back(h);
        for (std::size_t r = 0; r < h.rowIge.size(); ++r)
            m.points.push_back({PointKind::Borehole, b, h.rowIge[r], 0, h.rowDepth[r]});
    }
    return m;
}

EditorSession opened(std::int32_t boreholes, std::int32_t width = 800, std::int32_t height = 600) {
    EditorSession s(section(boreholes));
    s.resize(width, height);
    return s;
}

ScreenPos at(const EditorSession& s, std::int32_t b, std::int32_t row) {
    return s.mapping()->pointPos(s.model(), s.model().boreholePointIndex(b, row));
}

// The pixel in the middle of a line that hit testing takes for it.
ScreenPos onLine(const EditorSession& s, std::int32_t line) {
    const auto& l = s.model().lines[static_cast<std::size_t>(line)];
    const auto a = s.mapping()->pointPos(s.model(), l.from);
    const auto b = s.mapping()->pointPos(s.model(), l.to);
    ScreenPos mid{(a.x + b.x) / 2, a.y};
    for (int y = std::min(a.y, b.y) - 1; y <= std::max(a.y, b.y) + 1; ++y)
        if (hitLine(s.model(), *s.mapping(), {mid.x, y}) == line)
            mid.y = y;
    return mid;
}

TEST(EditorView, OpensOnThreeOrTwoBoreholes) {
    const auto three = opened(5);
    EXPECT_EQ(three.shown(), 3);
    EXPECT_EQ(three.firstShown(), 0);
    EXPECT_EQ(three.status(), kEditorStarted);
    const auto two = opened(2);
    EXPECT_EQ(two.shown(), 2);
    const auto t = two.toolbar();
    EXPECT_FALSE(t.isEnabled(EditorCommand::Show3));
    EXPECT_TRUE(t.isPressed(EditorCommand::Show2));
    EXPECT_FALSE(t.scrollVisible);
    EXPECT_FALSE(t.isEnabled(EditorCommand::ToRight));
    EXPECT_FALSE(t.isEnabled(EditorCommand::ToBegin));
}

TEST(EditorView, NavigationAndDisplayCountKeepTheViewInsideTheSection) {
    platform::RecordingMessageSink sink;
    auto s = opened(5);
    EXPECT_FALSE(s.run(EditorCommand::ToLeft, sink)); // nothing left of the first
    EXPECT_TRUE(s.run(EditorCommand::ToEnd, sink));
    EXPECT_EQ(s.firstShown(), 2);
    EXPECT_EQ(s.status(), "Смена текущих выработок");
    EXPECT_FALSE(s.run(EditorCommand::ToRight, sink));
    EXPECT_TRUE(s.run(EditorCommand::Show2, sink));
    EXPECT_EQ(s.firstShown(), 2);
    EXPECT_EQ(s.status(), "Выбран режим отображения по 2 выработки");
    EXPECT_TRUE(s.run(EditorCommand::ToRight, sink));
    EXPECT_EQ(s.firstShown(), 3);
    EXPECT_TRUE(s.run(EditorCommand::Show3, sink)); // 3 + 3 > 5: one step back
    EXPECT_EQ(s.firstShown(), 2);
    EXPECT_EQ(s.status(), "Выбран режим отображения по 3 выработки");

    // Scroll bar: pages clamp, the thumb is clamped, other codes do nothing.
    EXPECT_TRUE(s.scroll(ScrollAction::Thumb, 1));
    EXPECT_TRUE(s.scroll(ScrollAction::PageRight));
    EXPECT_EQ(s.firstShown(), 2);
    EXPECT_FALSE(s.scroll(ScrollAction::LineRight));
    EXPECT_TRUE(s.scroll(ScrollAction::PageLeft));
    EXPECT_EQ(s.firstShown(), 0);
    EXPECT_FALSE(s.scroll(ScrollAction::LineLeft));
    EXPECT_FALSE(s.scroll(ScrollAction::Other));
    EXPECT_TRUE(s.scroll(ScrollAction::Thumb, 99));
    EXPECT_EQ(s.firstShown(), 2);
    const auto t = s.toolbar();
    EXPECT_TRUE(t.scrollVisible);
    EXPECT_EQ(t.scrollMax, 2);
    EXPECT_EQ(t.scrollPos, 2);
    EXPECT_EQ(t.scrollPage, 3);
    // The mapping follows the view: the first displayed borehole sits at W div 8.
    EXPECT_EQ(at(s, 2, 0).x, 800 / 8);
}

TEST(EditorView, WithoutADrawingAreaMouseInputIsIgnored) {
    platform::RecordingMessageSink sink;
    EditorSession s(section(3));
    EXPECT_EQ(s.mapping(), nullptr);
    EXPECT_FALSE(s.leftDown({10, 10}));
    EXPECT_FALSE(s.mouseMove({10, 10}));
    EXPECT_TRUE(s.scene().lines.empty());
    // Toolbar commands still work on the model.
    EXPECT_TRUE(s.run(EditorCommand::AutoBuild, sink));
    EXPECT_EQ(s.model().lineCount(), 8);
    EXPECT_TRUE(s.resize(400, 300));
    EXPECT_EQ(s.scene().lines.size(), 8u);
}

TEST(EditorToolbar, StatesFollowModeSelectionAndLines) {
    platform::RecordingMessageSink sink;
    auto s = opened(3);
    auto t = s.toolbar();
    EXPECT_TRUE(t.isPressed(EditorCommand::Draw));
    EXPECT_TRUE(t.isEnabled(EditorCommand::AutoBuild));
    EXPECT_FALSE(t.isEnabled(EditorCommand::DeleteAllLines));
    EXPECT_FALSE(t.isEnabled(EditorCommand::NextLine));
    EXPECT_TRUE(t.isPressed(EditorCommand::StraightLine));
    EXPECT_TRUE(t.isPressed(EditorCommand::VisibleLine));

    // The current style and visibility when no line is selected.
    EXPECT_TRUE(s.run(EditorCommand::WavyLine, sink));
    EXPECT_EQ(s.status(), "Выбран тип линии: РАЗМЫТАЯ");
    EXPECT_FALSE(s.canUndo()); // a setting, not an edit
    s.run(EditorCommand::InvisibleLine, sink);
    t = s.toolbar();
    EXPECT_TRUE(t.isPressed(EditorCommand::WavyLine));
    EXPECT_TRUE(t.isPressed(EditorCommand::InvisibleLine));

    s.run(EditorCommand::AutoBuild, sink);
    EXPECT_EQ(s.model().lines.front().style, LineStyle::Wavy); // new lines take the settings
    EXPECT_EQ(s.model().lines.front().visible, 0);
    EXPECT_FALSE(s.toolbar().isEnabled(EditorCommand::AutoBuild));
    EXPECT_FALSE(s.run(EditorCommand::AutoBuild, sink));

    s.run(EditorCommand::SelectLine, sink);
    EXPECT_TRUE(s.toolbar().isPressed(EditorCommand::SelectLine));
    s.run(EditorCommand::StraightLine, sink); // back to the current setting, no line selected
    const auto& first = s.model().lines.front();
    const auto a = s.mapping()->pointPos(s.model(), first.from);
    const auto b = s.mapping()->pointPos(s.model(), first.to);
    ScreenPos mid{(a.x + b.x) / 2, a.y};
    EXPECT_TRUE(s.leftDown(mid));
    t = s.toolbar();
    EXPECT_EQ(s.state().selectedLine, 0);
    EXPECT_TRUE(t.isEnabled(EditorCommand::DeleteLine));
    EXPECT_TRUE(t.isEnabled(EditorCommand::NextLine));
    EXPECT_FALSE(t.isEnabled(EditorCommand::PreviousLine));
    // The selected line's own style shows, not the current one.
    EXPECT_TRUE(t.isPressed(EditorCommand::WavyLine));
    EXPECT_TRUE(t.isPressed(EditorCommand::InvisibleLine));
    for (int i = 1; i < s.model().lineCount(); ++i)
        s.run(EditorCommand::NextLine, sink);
    EXPECT_FALSE(s.toolbar().isEnabled(EditorCommand::NextLine));
    EXPECT_TRUE(s.toolbar().isEnabled(EditorCommand::PreviousLine));
    // Choosing point mode clears the line selection.
    s.run(EditorCommand::SelectPoint, sink);
    EXPECT_FALSE(s.toolbar().isEnabled(EditorCommand::DeleteLine));
}

TEST(EditorScene, PicturesBoreholesLabelsLinesAndPoints) {
    platform::RecordingMessageSink sink;
    auto s = opened(4);
    s.run(EditorCommand::AutoBuild, sink);
    auto scene = s.scene();
    ASSERT_EQ(scene.boreholes.size(), 3u); // the displayed ones only
    EXPECT_EQ(scene.boreholes[1].name, "B2");
    EXPECT_EQ(scene.boreholes[1].collar, at(s, 1, 0));
    EXPECT_EQ(scene.boreholes[1].bottom, at(s, 1, 3));
    ASSERT_EQ(scene.labels.size(), 9u);
    EXPECT_EQ(scene.labels[1].text, "2");
    EXPECT_EQ(scene.labels[1].rightX, at(s, 0, 0).x - 5);
    EXPECT_EQ(scene.labels[1].centreY, (at(s, 0, 1).y + at(s, 0, 2).y) / 2);
    EXPECT_EQ(scene.points.size(), 16u);
    EXPECT_FALSE(scene.rubberBand.has_value());
    // Every layer between fully joined neighbours is closed: 3 layers x 3 intervals.
    EXPECT_EQ(scene.areas.size(), 9u);
    for (const auto& area : scene.areas) {
        EXPECT_EQ(area.outline.size(), 5u);
        EXPECT_EQ(area.outline.front(), area.outline.back());
    }
    for (const auto& l : scene.lines)
        EXPECT_EQ(l.colour, LineColour::Straight);

    // Colours: selected red over everything, hovered green only while choosing lines.
    s.run(EditorCommand::SelectLine, sink);
    const auto pick = [&](std::int32_t line) {
        const auto a = s.mapping()->pointPos(s.model(), s.model().lines[line].from);
        const auto b = s.mapping()->pointPos(s.model(), s.model().lines[line].to);
        return ScreenPos{(a.x + b.x) / 2, (a.y + b.y) / 2};
    };
    s.leftDown(pick(1));
    s.run(EditorCommand::WavyLine, sink);
    s.mouseMove(pick(2));
    s.run(EditorCommand::NextLine, sink); // the selection moves to line 2, which is hovered
    s.run(EditorCommand::InvisibleLine, sink);
    scene = s.scene();
    EXPECT_EQ(scene.lines[1].colour, LineColour::Wavy);
    EXPECT_EQ(scene.lines[2].colour, LineColour::Selected);
    s.run(EditorCommand::PreviousLine, sink);
    scene = s.scene();
    EXPECT_EQ(scene.lines[1].colour, LineColour::Selected);
    EXPECT_EQ(scene.lines[2].colour, LineColour::Hovered);
    s.run(EditorCommand::Draw, sink);
    scene = s.scene();
    EXPECT_EQ(scene.lines[2].colour, LineColour::Invisible);

    // A pending segment shows its rubber band from the first point to the cursor.
    const auto start = at(s, 1, 3);
    s.leftDown(start);
    EXPECT_FALSE(s.capturing());                // a middle base with both its lines
    s.run(EditorCommand::DeleteAllLines, sink); // answered No: nothing changes
    EXPECT_EQ(s.model().lineCount(), 12);
    sink.queueAnswer(platform::Answer::Yes);
    s.run(EditorCommand::DeleteAllLines, sink);
    s.leftDown(start);
    ASSERT_TRUE(s.capturing());
    s.mouseMove({start.x + 40, start.y + 7});
    scene = s.scene();
    ASSERT_TRUE(scene.rubberBand.has_value());
    EXPECT_EQ(scene.rubberBand->a, start);
    EXPECT_EQ(scene.rubberBand->b, (ScreenPos{start.x + 40, start.y + 7}));
    EXPECT_FALSE(
        scene.points[static_cast<std::size_t>(s.model().boreholePointIndex(1, 3))].hovered);
}

TEST(EditorUndo, StepsRestoreModelAndSelection) {
    platform::RecordingMessageSink sink;
    auto s = opened(3);
    EXPECT_FALSE(s.run(EditorCommand::Undo, sink));
    s.run(EditorCommand::AutoBuild, sink);
    const auto joined = s.model().lines;
    s.run(EditorCommand::SelectLine, sink);
    s.run(EditorCommand::SelectLine, sink);
    const auto a = s.mapping()->pointPos(s.model(), joined[3].from);
    const auto b = s.mapping()->pointPos(s.model(), joined[3].to);
    ASSERT_TRUE(s.leftDown({(a.x + b.x) / 2, (a.y + b.y) / 2}));
    ASSERT_EQ(s.state().selectedLine, 3);
    s.run(EditorCommand::DeleteLine, sink);
    EXPECT_EQ(s.state().selectedLine, -1);
    EXPECT_TRUE(s.run(EditorCommand::Undo, sink));
    EXPECT_EQ(s.model().lines, joined);
    EXPECT_EQ(s.state().selectedLine, 3); // selected again, as before the deletion
    EXPECT_EQ(s.status(), "Отменено: удаление линии");
    EXPECT_TRUE(s.run(EditorCommand::Undo, sink));
    EXPECT_EQ(s.model().lineCount(), 0);
    EXPECT_EQ(s.state().selectedLine, -1);
    EXPECT_EQ(s.status(), "Отменено: автоматическое соединение");
    EXPECT_TRUE(s.toolbar().isEnabled(EditorCommand::AutoBuild));
    EXPECT_TRUE(s.run(EditorCommand::Redo, sink));
    EXPECT_EQ(s.model().lines, joined);
    EXPECT_EQ(s.status(), "Повторено: автоматическое соединение");
    // A fresh edit forgets what could be redone.
    s.run(EditorCommand::Undo, sink);
    s.run(EditorCommand::Redo, sink);
    EXPECT_TRUE(s.canRedo()); // the deletion
    ASSERT_TRUE(s.leftDown({(a.x + b.x) / 2, (a.y + b.y) / 2}));
    s.run(EditorCommand::DeleteLine, sink);
    EXPECT_FALSE(s.canRedo());
    // Nothing is undone while a segment is pending.
    s.run(EditorCommand::Draw, sink);
    ASSERT_TRUE(s.leftDown(at(s, 1, 3)));
    EXPECT_FALSE(s.canUndo());
    EXPECT_FALSE(s.run(EditorCommand::Undo, sink));
    s.rightDown(at(s, 1, 3));
    EXPECT_TRUE(s.canUndo());
    // A refused confirmation records nothing.
    s.run(EditorCommand::Undo, sink);
    ASSERT_TRUE(s.canRedo());
    s.run(EditorCommand::DeleteAllLines, sink); // answered No
    EXPECT_TRUE(s.canRedo());
    sink.queueAnswer(platform::Answer::Yes);
    s.run(EditorCommand::DeleteAllLines, sink);
    EXPECT_FALSE(s.canRedo());
    EXPECT_EQ(s.model().lineCount(), 0);
}

TEST(EditorUndo, OnlyTheCurrentModesSelectionComesBack) {
    platform::RecordingMessageSink sink;
    auto s = opened(3);
    s.run(EditorCommand::AutoBuild, sink);
    s.run(EditorCommand::SelectLine, sink);
    const auto a = at(s, 0, 0);
    const auto b = at(s, 1, 0);
    ASSERT_TRUE(s.leftDown({(a.x + b.x) / 2, a.y}));
    s.run(EditorCommand::WavyLine, sink);
    s.run(EditorCommand::Draw, sink);
    ASSERT_TRUE(s.run(EditorCommand::Undo, sink));
    EXPECT_EQ(s.model().lines[0].style, LineStyle::Straight);
    EXPECT_EQ(s.state().selectedLine, -1);
    const auto t = s.toolbar();
    EXPECT_FALSE(t.isEnabled(EditorCommand::DeleteLine));
    EXPECT_TRUE(t.isPressed(EditorCommand::StraightLine));
    // The style buttons change the setting again, not a line.
    s.run(EditorCommand::WavyLine, sink);
    EXPECT_EQ(s.model().lines[0].style, LineStyle::Straight);
    EXPECT_EQ(s.state().currentStyle, LineStyle::Wavy);
}

TEST(EditorUndo, AMoveEndsBeforeTheNextCommandAndIsUndoneAfterIt) {
    platform::RecordingMessageSink sink;
    auto s = opened(3);
    s.run(EditorCommand::AutoBuild, sink);
    s.run(EditorCommand::SelectPoint, sink);
    const auto mid = onLine(s, 1);
    ASSERT_TRUE(s.doubleClick(mid));
    const auto bent = s.model().points;
    ASSERT_TRUE(s.leftDown(mid));
    s.mouseMove({mid.x + 5, mid.y + 9});
    const auto moved = s.model().points;
    // Deleting the point while it is held: the move is recorded first, then the deletion.
    ASSERT_TRUE(s.run(EditorCommand::DeletePoint, sink));
    EXPECT_FALSE(s.capturing());
    s.run(EditorCommand::Undo, sink);
    EXPECT_EQ(s.model().points, moved);
    s.run(EditorCommand::Undo, sink);
    EXPECT_EQ(s.model().points, bent);
    EXPECT_EQ(s.status(), "Отменено: перемещение точки");
    // Losing the drawing area ends a move as well.
    ASSERT_TRUE(s.leftDown(mid));
    s.mouseMove({mid.x, mid.y + 12});
    EXPECT_FALSE(s.resize(0, 0));
    EXPECT_FALSE(s.capturing());
    EXPECT_TRUE(s.canUndo());
    EXPECT_FALSE(s.rightDown(mid));
}

// Random mouse and toolbar input through the session: selections always point into the
// model, and undoing every step gives back the start, redoing every step the end.
TEST(EditorUndo, RandomSessionsUndoAndRedoWhole) {
    std::mt19937 rng(20261208);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int steps = 0;
    for (int round = 0; round < 8; ++round) {
        platform::RecordingMessageSink sink;
        auto s = opened(pick(2, 5), pick(300, 900), pick(250, 700));
        const auto start = std::make_pair(s.model().points, s.model().lines);
        auto cursor = [&]() -> ScreenPos {
            const auto& m = s.model();
            if (pick(0, 2) > 0) {
                const auto p = s.mapping()->pointPos(m, pick(0, m.pointCount() - 1));
                return {p.x + pick(-1, 1), p.y + pick(-1, 1)};
            }
            if (m.lineCount() > 0 && pick(0, 1) == 0)
                return onLine(s, pick(0, m.lineCount() - 1));
            return {pick(0, s.mapping()->width - 1), pick(0, s.mapping()->height - 1)};
        };
        for (int step = 0; step < 400; ++step) {
            switch (pick(0, 9)) {
            case 0:
                s.run(static_cast<EditorCommand>(pick(0, kEditorCommandCount - 3)), sink);
                break;
            case 1:
                sink.queueAnswer(pick(0, 7) == 0 ? platform::Answer::Yes : platform::Answer::No);
                s.run(EditorCommand::DeleteAllLines, sink);
                break;
            case 2:
                s.mouseMove(cursor());
                break;
            case 3:
                s.doubleClick(cursor());
                break;
            case 4:
                s.leftUp(cursor());
                break;
            case 5:
                s.rightDown(cursor());
                break;
            default:
                s.leftDown(cursor());
                break;
            }
            const auto& st = s.state();
            ASSERT_LT(st.selectedLine, s.model().lineCount());
            ASSERT_LT(st.selectedPoint, s.model().pointCount());
            ASSERT_LT(st.startPoint, s.model().pointCount());
            for (const auto& l : s.model().lines) {
                ASSERT_LT(l.from, s.model().pointCount());
                ASSERT_LT(l.to, s.model().pointCount());
            }
        }
        s.endCapture();
        const auto end = std::make_pair(s.model().points, s.model().lines);
        int undone = 0;
        while (s.run(EditorCommand::Undo, sink))
            ++undone;
        steps += undone;
        EXPECT_EQ(std::make_pair(s.model().points, s.model().lines), start) << round;
        for (int i = 0; i < undone; ++i)
            ASSERT_TRUE(s.run(EditorCommand::Redo, sink));
        EXPECT_FALSE(s.canRedo());
        EXPECT_EQ(std::make_pair(s.model().points, s.model().lines), end) << round;
    }
    EXPECT_GT(steps, 100); // the input really edited
}

TEST(EditorUndo, KeepsTheLatestFiveHundredSteps) {
    platform::RecordingMessageSink sink;
    auto s = opened(2);
    s.run(EditorCommand::AutoBuild, sink);
    s.run(EditorCommand::SelectLine, sink);
    const auto a = at(s, 0, 0);
    const auto b = at(s, 1, 0);
    ASSERT_TRUE(s.leftDown({(a.x + b.x) / 2, a.y}));
    for (int i = 0; i < 600; ++i)
        s.run(i % 2 == 0 ? EditorCommand::WavyLine : EditorCommand::StraightLine, sink);
    int undone = 0;
    while (s.run(EditorCommand::Undo, sink))
        ++undone;
    EXPECT_EQ(undone, 500);
    EXPECT_EQ(s.model().lineCount(), 4); // the automatic connection itself was dropped
    int redone = 0;
    while (s.run(EditorCommand::Redo, sink))
        ++redone;
    EXPECT_EQ(redone, 500);
}

TEST(EditorUndo, AMoveIsOneStepAndACancelledMoveStillCounts) {
    platform::RecordingMessageSink sink;
    auto s = opened(3);
    s.run(EditorCommand::AutoBuild, sink);
    s.run(EditorCommand::SelectPoint, sink);
    const auto mid = onLine(s, 1);
    ASSERT_TRUE(s.doubleClick(mid));
    const auto bent = s.model().points;
    const auto bend = s.model().pointCount() - 1;
    ASSERT_TRUE(s.leftDown(mid));
    EXPECT_TRUE(s.capturing());
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(s.mouseMove({mid.x, mid.y + 4 * i}));
    EXPECT_TRUE(s.leftUp({mid.x, mid.y + 20}));
    EXPECT_NE(s.model().points, bent);
    s.run(EditorCommand::Undo, sink);
    EXPECT_EQ(s.model().points, bent);
    EXPECT_EQ(s.status(), "Отменено: перемещение точки");
    // Right button ends a move where the point is; the move is still undoable.
    s.leftDown(s.mapping()->pointPos(s.model(), bend));
    s.mouseMove({mid.x + 6, mid.y + 6});
    EXPECT_TRUE(s.rightDown({mid.x + 6, mid.y + 6}));
    EXPECT_FALSE(s.capturing());
    EXPECT_NE(s.model().points, bent);
    s.run(EditorCommand::Undo, sink);
    EXPECT_EQ(s.model().points, bent);
    // A click without moving records nothing.
    s.leftDown(s.mapping()->pointPos(s.model(), bend));
    s.leftUp(s.mapping()->pointPos(s.model(), bend));
    s.run(EditorCommand::Undo, sink);
    EXPECT_EQ(s.status(), "Отменено: создание точки изгиба");
}

TEST(EditorOpen, RefusesBoreholesItCannotScale) {
    auto same = section(3);
    same.boreholes[2].x = same.boreholes[1].x;
    auto st = CheckEditable(same);
    ASSERT_FALSE(st);
    EXPECT_EQ(st.error().caption, "Stop");
    EXPECT_NE(st.error().text.find("B2 и B3"), std::string::npos);
    auto flat = section(2);
    for (auto& b : flat.boreholes)
        b.depth = 0;
    EXPECT_FALSE(CheckEditable(flat));
    EXPECT_TRUE(CheckEditable(section(4)));
}

struct EditorFolder : test::ConnectFixture, ::testing::Test {
    EditorFolder() {
        hole(1, "11", 0.0f, {{"1", 1.0f}, {"2", 3.0f}});
        hole(2, "12", 12.0f, {{"1", 1.5f}, {"2", 4.0f}});
        hole(3, "13", 25.0f, {{"1", 1.2f}, {"2", 3.5f}});
    }
};

TEST_F(EditorFolder, LeavingWithoutSavingRemovesOnlyTheCopyTheEditorMade) {
    // No stored file: the editor starts empty and makes nothing.
    auto opening = OpenConnectionEditor(folder, sink, 1, std::nullopt, {1, 2, 3});
    ASSERT_TRUE(opening);
    EXPECT_FALSE(opening->workCopyExisted);
    EXPECT_EQ(opening->model.lineCount(), 0);
    EditorSession s(std::move(opening->model));
    s.run(EditorCommand::AutoBuild, sink);
    ASSERT_TRUE(SaveConnections(folder, s.model()));
    CloseConnectionEditor(folder, *opening, true);
    EXPECT_TRUE(folder.exists(store::paths::kWorkSlo));

    // The saved copy is there now and stays when the next run is left unsaved.
    auto again = OpenConnectionEditor(folder, sink, 1, std::nullopt, {1, 2, 3});
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->workCopyExisted);
    EXPECT_EQ(again->model.lines, s.model().lines);
    CloseConnectionEditor(folder, *again, false);
    EXPECT_TRUE(folder.exists(store::paths::kWorkSlo));

    // The section's own file is brought in as WORK.SLO and removed again on "No".
    ASSERT_TRUE(folder.copyFile(store::paths::kWorkSlo, store::paths::sectionFile(1, 5, "SLO")));
    ASSERT_TRUE(folder.removeFile(store::paths::kWorkSlo));
    auto stored = OpenConnectionEditor(folder, sink, 1, 5, {1, 2, 3});
    ASSERT_TRUE(stored);
    EXPECT_FALSE(stored->workCopyExisted);
    EXPECT_EQ(stored->model.lineCount(), s.model().lineCount());
    EXPECT_TRUE(folder.exists(store::paths::kWorkSlo));
    CloseConnectionEditor(folder, *stored, false);
    EXPECT_FALSE(folder.exists(store::paths::kWorkSlo));
}

TEST_F(EditorFolder, ChangesAreReportedWithoutTheHintAndRefusalsLeaveNothing) {
    auto first = OpenConnectionEditor(folder, sink, 1, std::nullopt, {1, 2, 3});
    ASSERT_TRUE(first);
    EditorSession s(std::move(first->model));
    s.run(EditorCommand::AutoBuild, sink);
    ASSERT_TRUE(SaveConnections(folder, s.model()));
    sink.clear();
    // Borehole 3 left the list: the stored lines to it are dropped and reported.
    auto fewer = OpenConnectionEditor(folder, sink, 1, std::nullopt, {1, 2});
    ASSERT_TRUE(fewer);
    ASSERT_EQ(sink.entries().size(), 1u);
    EXPECT_EQ(sink.entries()[0].caption, kReportCaption);
    EXPECT_NE(sink.entries()[0].text.find("Выработка 13 удалена."), std::string::npos);
    EXPECT_EQ(sink.entries()[0].text.find(kReportHint), std::string::npos);
    EXPECT_FALSE(folder.exists(kChangeReport));

    // A borehole at the place of its neighbour cannot be shown: refused, no copy made.
    ASSERT_TRUE(folder.removeFile(store::paths::kWorkSlo));
    hole(4, "14", 12.0f, {{"1", 1.0f}});
    sink.clear();
    auto refused = OpenConnectionEditor(folder, sink, 1, std::nullopt, {1, 2, 4});
    ASSERT_FALSE(refused);
    ASSERT_EQ(sink.entries().size(), 1u);
    EXPECT_NE(sink.entries()[0].text.find("12 и 14"), std::string::npos);
    EXPECT_FALSE(folder.exists(store::paths::kWorkSlo));
    // Too few boreholes is the model's own refusal.
    EXPECT_FALSE(OpenConnectionEditor(folder, sink, 1, std::nullopt, {1}));
}

} // namespace
} // namespace orvo::connect
