// Tests of the connection editor's operations: mapping, hit testing, drawing, deleting, point mode.
#include "connect/connection_file.h"
#include "connect/editing_rules.h"
#include "connect_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

namespace orvo::connect {
namespace {

// One IGE name from plain ASCII, padded with spaces.
IgeName ige(const char* s) {
    IgeName n;
    n.fill(' ');
    for (std::size_t i = 0; s[i] != '\0' && i < n.size(); ++i)
        n[i] = s[i];
    return n;
}

// A section built in memory: borehole b at x[b], every borehole with the same rows.
ConnectionModel section(const std::vector<std::int32_t>& xs,
                        const std::vector<std::int32_t>& depths, std::int32_t collar = 15000) {
    ConnectionModel m;
    m.igeNumbers = {ige(""), ige("1a"), ige("2"), ige("3")};
    for (std::size_t b = 0; b < xs.size(); ++b) {
        SectionBorehole h;
        h.fileNumber = static_cast<std::int32_t>(b + 1);
        h.x = xs[b];
        h.collarElevation = collar;
        h.depth = depths.back();
        h.rowIge.push_back(0);
        h.rowDepth.push_back(0);
        for (std::size_t r = 0; r < depths.size(); ++r) {
            h.rowIge.push_back(static_cast<std::int32_t>(r % 3 + 1));
            h.rowDepth.push_back(depths[r]);
        }
        m.boreholes.push_back(h);
    }
    for (std::int32_t b = 0; b < m.boreholeCount(); ++b)
        for (std::size_t r = 0; r < m.boreholes[b].rowIge.size(); ++r)
            m.points.push_back(
                {PointKind::Borehole, b, m.boreholes[b].rowIge[r], 0, m.boreholes[b].rowDepth[r]});
    return m;
}

bool spans(const ConnectionPoint& a, const ConnectionPoint& b) {
    const bool ba = a.kind == PointKind::Borehole;
    const bool bb = b.kind == PointKind::Borehole;
    if (ba && bb)
        return std::abs(a.borehole - b.borehole) != 1;
    if (ba || bb) {
        const auto& hole = ba ? a : b;
        const auto& free = ba ? b : a;
        return free.borehole != hole.borehole && free.borehole != hole.borehole - 1;
    }
    return a.borehole != b.borehole;
}

// Everything the stored layout and the editor rely on after any sequence of edits.
void expectInvariants(const ConnectionModel& m, const EditorState& s) {
    const auto total = m.boreholePointTotal();
    ASSERT_LE(total, m.pointCount());
    ASSERT_LE(m.pointCount(), m.pointCapacity());
    ASSERT_LE(m.lineCount(), m.lineCapacity());
    for (std::int32_t b = 0; b < m.boreholeCount(); ++b)
        for (std::int32_t r = 0; r < m.boreholes[b].rowCount(); ++r) {
            const auto& p = m.points[m.boreholePointIndex(b, r)];
            ASSERT_EQ(p.kind, PointKind::Borehole);
            ASSERT_EQ(p.borehole, b);
            ASSERT_LE(pointLineCount(m, m.boreholePointIndex(b, r)), 2);
        }
    for (const auto& l : m.lines) {
        ASSERT_GE(l.from, 0);
        ASSERT_LT(l.from, m.pointCount());
        ASSERT_GE(l.to, 0);
        ASSERT_LT(l.to, m.pointCount());
        ASSERT_NE(l.from, l.to);
        ASSERT_FALSE(spans(m.points[l.from], m.points[l.to])) << l.from << "-" << l.to;
    }
    for (std::int32_t i = total; i < m.pointCount(); ++i) {
        const auto& p = m.points[i];
        ASSERT_TRUE(p.isFree()) << i;
        ASSERT_GE(p.borehole, 0);
        ASSERT_LT(p.borehole, m.boreholeCount() - 1);
        const auto n = pointLineCount(m, i);
        const auto expected = n >= 3   ? PointKind::Node
                              : n == 2 ? PointKind::Bend
                                       : PointKind::PinchOut;
        ASSERT_GE(n, 1) << i;
        ASSERT_LE(n, 4) << i;
        ASSERT_EQ(p.kind, expected) << i;
        ASSERT_GE(p.ref, 0);
        ASSERT_LT(p.ref, m.lineCount());
        ASSERT_TRUE(m.lines[p.ref].from == i || m.lines[p.ref].to == i) << i;
    }
    ASSERT_LT(s.selectedLine, m.lineCount());
    ASSERT_LT(s.selectedPoint, m.pointCount());
    if (s.selectedPoint >= 0) {
        ASSERT_TRUE(m.points[s.selectedPoint].isFree());
    }
    if (s.dragging && s.mode == EditMode::Draw) {
        ASSERT_GE(s.startPoint, 0);
        ASSERT_LT(s.startPoint, m.pointCount());
    }
}

// Four boreholes 10.24 m apart, rows at 0, 2, 6 and 10 m: with a 682 × 666 area the scales are
// exactly 0.25 and 0.5, so borehole x on screen is 85, 341, 597, 853 and row y 83, 183, 383, 583.
struct Session : ::testing::Test {
    ConnectionModel m = section({0, 1024, 2048, 3072}, {200, 600, 1000});
    ScreenMapping map = *MakeScreenMapping(m, 682, 666, 0, 3);
    EditorState s;
    Editor e{m, map, s};
    platform::RecordingMessageSink sink;

    std::int32_t P(std::int32_t b, std::int32_t row) const { return m.boreholePointIndex(b, row); }
    ScreenPos at(std::int32_t p) const { return map.pointPos(m, p); }
    bool draw(ScreenPos a, ScreenPos b) {
        EXPECT_TRUE(e.beginSegment(a)) << s.status;
        return e.finishSegment(b);
    }
    void join(std::int32_t a, std::int32_t b) { ASSERT_TRUE(draw(at(a), at(b))) << s.status; }
    // Draws a pinch-out from point a to the empty cursor c and returns its index.
    std::int32_t pinch(std::int32_t a, ScreenPos c) {
        EXPECT_TRUE(draw(at(a), c)) << s.status;
        return m.pointCount() - 1;
    }
    void refusedFinish(ScreenPos c, const char* status) {
        const auto before = m;
        EXPECT_FALSE(e.finishSegment(c));
        EXPECT_EQ(s.status, status);
        EXPECT_TRUE(s.dragging);
        EXPECT_EQ(m.points, before.points);
        EXPECT_EQ(m.lines, before.lines);
    }
    void start(std::int32_t p) { // a pending segment set up directly, bypassing BeginSegment
        s.startPoint = p;
        s.dragging = true;
    }
};

TEST_F(Session, MappingPlacesBoreholesAndPointsAndConvertsBack) {
    EXPECT_FLOAT_EQ(map.hScale, 0.25f);
    EXPECT_FLOAT_EQ(map.vScale, 0.5f);
    EXPECT_EQ(map.boreX, (std::vector<std::int32_t>{0, 256, 512, 768}));
    EXPECT_EQ(map.originX, -85);
    EXPECT_EQ(map.originY, 7583);
    EXPECT_EQ(at(P(1, 2)), (ScreenPos{341, 383}));
    EXPECT_EQ(map.offsetAt(0, {213, 300}), 512);
    EXPECT_EQ(map.depthAt(0, {213, 300}), 434);
    EXPECT_EQ(map.pos({PointKind::PinchOut, 0, 0, 512, 434}), (ScreenPos{213, 300}));
    // Shifting the shown window moves the origin by the first shown borehole.
    const auto shifted = *MakeScreenMapping(m, 682, 666, 1, 3);
    EXPECT_EQ(shifted.pointPos(m, P(1, 0)).x, 85);
}

TEST(ScreenMappingGuard, RefusesCoincidentBoreholesZeroRangeAndTinyArea) {
    auto same = section({500, 500, 900}, {200});
    auto r = MakeScreenMapping(same, 600, 400, 0, 2);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().caption, "Stop");
    EXPECT_TRUE(MakeScreenMapping(same, 600, 400, 1, 2)); // the other pair is apart
    auto flat = section({0, 1000}, {0});
    EXPECT_FALSE(MakeScreenMapping(flat, 600, 400, 0, 2));
    auto ok = section({0, 1000}, {300});
    EXPECT_FALSE(MakeScreenMapping(ok, 0, 400, 0, 2));
    EXPECT_FALSE(MakeScreenMapping(ok, 600, 400, 1, 2)); // beyond the section
    EXPECT_TRUE(MakeScreenMapping(ok, 600, 400, 0, 2));
}

TEST_F(Session, HitTestingUsesThreePixelSquareAndExactLinePixel) {
    const auto p = at(P(1, 1));
    EXPECT_EQ(hitPoint(m, map, {p.x + 1, p.y - 1}), P(1, 1));
    EXPECT_EQ(hitPoint(m, map, {p.x + 2, p.y}), -1);
    EXPECT_EQ(hitPoint(m, map, p, true), -1);
    join(P(1, 1), P(2, 2)); // (341,183) to (597,383)
    EXPECT_EQ(hitLine(m, map, {469, 283}), 0);
    EXPECT_EQ(hitLine(m, map, {469, 284}), -1);
    EXPECT_EQ(hitLine(m, map, {342, 184}), -1); // within 2 pixels of an end
    EXPECT_EQ(hitLine(m, map, {343, 185}), 0);
    // A vertical line (a free point straight below a borehole point) is never hit.
    m.points.push_back({PointKind::PinchOut, 1, 1, 0, 900});
    m.lines.push_back({P(1, 2), m.pointCount() - 1, LineStyle::Straight, 1});
    for (std::int32_t y = 383; y <= 533; ++y)
        EXPECT_EQ(hitLine(m, map, {341, y}), -1);
}

TEST_F(Session, HoverDescribesEveryPointKind) {
    e.hover(at(P(0, 0)));
    EXPECT_EQ(s.status, "Точка: Устье выработки");
    e.hover(at(P(0, 1)));
    EXPECT_EQ(s.status, "Точка: Подошва ИГЭ 1a");
    EXPECT_EQ(s.hoverPoint, P(0, 1));
    e.hover({200, 20});
    EXPECT_EQ(s.status, "");
    EXPECT_EQ(s.hoverPoint, -1);
    const auto q = pinch(P(0, 1), {213, 300});
    e.hover(at(q));
    EXPECT_EQ(s.status, "Точка: Точка висячки");
    join(P(1, 2), q);
    e.hover(at(q));
    EXPECT_EQ(s.status, "Точка: Точка изгиба");
    join(P(0, 2), q);
    e.hover(at(q));
    EXPECT_EQ(s.status, "Точка: Узловая точка");
}

TEST(HoverFromFiles, ShowsTheIgeNumberInUtf8) {
    test::ConnectFixture f;
    f.hole(1, "С-1", 0, {{"2б", 3.0f}});
    f.hole(2, "С-2", 10, {{"2б", 4.0f}});
    const auto m = f.load({1, 2});
    EXPECT_EQ(describePoint(m, m.boreholePointIndex(1, 1)), "Точка: Подошва ИГЭ 2б");
    EXPECT_EQ(describePoint(m, m.boreholePointIndex(1, 0)), "Точка: Устье выработки");
}

TEST_F(Session, BeginSegmentAcceptsAndRefusesStartPoints) {
    EXPECT_FALSE(e.beginSegment({200, 20})); // empty ground: nothing happens
    EXPECT_FALSE(s.dragging);
    EXPECT_EQ(s.status, "");
    join(P(0, 0), P(1, 0));
    EXPECT_FALSE(e.beginSegment(at(P(0, 0))));
    EXPECT_EQ(s.status, "Не верный выбор точки");
    EXPECT_FALSE(s.dragging);
    EXPECT_TRUE(e.beginSegment(at(P(1, 0)))); // middle borehole with one line
    EXPECT_EQ(s.status, "Точка №1 для создания отрезка выбрана");
    EXPECT_EQ(s.startPoint, P(1, 0));
    EXPECT_TRUE(e.finishSegment(at(P(2, 0))));
    EXPECT_FALSE(e.beginSegment(at(P(1, 0)))); // two lines now
    EXPECT_EQ(s.status, "Не верный выбор точки");
    // A node takes a fifth line nowhere; a bend is always a valid start.
    const auto q = pinch(P(0, 1), {213, 300});
    join(P(1, 2), q);
    EXPECT_TRUE(e.beginSegment(at(q)));
    EXPECT_TRUE(e.cancelDrag());
    join(P(0, 2), q);
    join(P(1, 3), q);
    EXPECT_EQ(m.points[q].kind, PointKind::Node);
    EXPECT_FALSE(e.beginSegment(at(q)));
    EXPECT_EQ(s.status, "Не верный выбор точки");
}

TEST_F(Session, FinishSegmentRefusesOutsideTheSection) {
    ASSERT_TRUE(e.beginSegment(at(P(2, 1))));
    refusedFinish({60, 300}, "ОШИБКА: Висячка за пределами разреза");
    refusedFinish({853, 300}, "ОШИБКА: Висячка за пределами разреза");
    refusedFinish({900, 300}, "ОШИБКА: Висячка за пределами разреза");
    EXPECT_TRUE(e.finishSegment({852, 300})); // still inside the last interval
    EXPECT_EQ(s.status, "Висячка создана");
}

TEST_F(Session, FinishSegmentChecksInOrder) {
    ASSERT_TRUE(e.beginSegment(at(P(1, 1))));
    refusedFinish(at(P(1, 2)), "ОШИБКА: Две точки подошв ИГЭ выработки на одной линии");
    refusedFinish(at(P(3, 1)), "ОШИБКА: Пересечение выработки не допустимо");
    refusedFinish({700, 300}, "ОШИБКА: Пересечение выработки не допустимо"); // interval 2
    EXPECT_TRUE(e.cancelDrag());
    EXPECT_FALSE(s.dragging);

    // Free points of different intervals never join; a free point joins the borehole points
    // bounding its interval.
    const auto a = pinch(P(1, 1), {469, 300}); // interval 1
    const auto b = pinch(P(3, 1), {725, 300}); // interval 2
    ASSERT_TRUE(e.beginSegment(at(a)));
    refusedFinish(at(b), "ОШИБКА: Пересечение выработки не допустимо");
    refusedFinish(at(a), "ОШИБКА: Начало и конец отрезка совпадают");
    EXPECT_TRUE(e.finishSegment(at(P(2, 3))));
    EXPECT_EQ(s.status, "Создан отрезок");
}

TEST_F(Session, FinishSegmentChecksLineCountsOfBothEnds) {
    // A node with four lines in interval 0.
    const auto q = pinch(P(0, 1), {213, 300});
    join(P(0, 2), q);
    join(P(1, 2), q);
    join(P(1, 3), q);
    ASSERT_EQ(pointLineCount(m, q), 4);
    start(q);
    refusedFinish(at(P(0, 3)), "ОШИБКА: Из точки не может выходить более 4 линий");
    // Check 1 comes before the line counts.
    e.cancelDrag();
    join(P(2, 2), P(1, 2)); // P(1,2) now has q on the left and borehole 2 on the right
    start(P(1, 2));
    refusedFinish(at(P(1, 1)), "ОШИБКА: Две точки подошв ИГЭ выработки на одной линии");
    refusedFinish(at(P(0, 3)), "ОШИБКА: Из точки подошвы ИГЭ не может выходить более 2 линий");
    // Middle borehole base with one line to the left: another line to the left is refused.
    start(P(1, 3)); // its line goes to q, left of it
    refusedFinish(at(P(0, 3)),
                  "ОШИБКА: Из точки подошвы ИГЭ не может выходить 2 линии в одном направлении");
    // The same three checks for the end point.
    e.cancelDrag();
    ASSERT_TRUE(e.beginSegment(at(P(0, 3))));
    refusedFinish(at(q), "ОШИБКА: Из точки не может выходить более 4 линий");
    refusedFinish(at(P(1, 2)), "ОШИБКА: Из точки подошвы ИГЭ не может выходить более 2 линий");
    refusedFinish(at(P(1, 3)),
                  "ОШИБКА: Из точки подошвы ИГЭ не может выходить 2 линии в одном направлении");
    EXPECT_TRUE(e.finishSegment(at(P(1, 1))));
    expectInvariants(m, s);
}

TEST_F(Session, CommitSetsKindsDirectionAndCurrentStyle) {
    ASSERT_TRUE(e.setStyle(LineStyle::Wavy));
    ASSERT_TRUE(e.setVisible(0));
    const auto q = pinch(P(1, 1), {213, 300}); // drawn right to left
    EXPECT_EQ(s.status, "Висячка создана");
    EXPECT_FALSE(s.dragging);
    EXPECT_EQ(s.startPoint, -1);
    EXPECT_EQ(m.points[q], (ConnectionPoint{PointKind::PinchOut, 0, 0, 512, 434}));
    EXPECT_EQ(m.lines[0], (ConnectionLine{q, P(1, 1), LineStyle::Wavy, 0}));
    join(q, P(0, 1));
    EXPECT_EQ(s.status, "Создан отрезок");
    EXPECT_EQ(m.points[q].kind, PointKind::Bend);
    EXPECT_EQ(m.lines[1].from, P(0, 1));
    join(P(0, 2), q);
    EXPECT_EQ(m.points[q].kind, PointKind::Node);
    EXPECT_EQ(m.points[q].ref, 0);
    expectInvariants(m, s);
}

TEST_F(Session, DeleteLineDemotesAndRemovesFreeEnds) {
    const auto q = pinch(P(1, 1), {213, 300});
    join(P(0, 1), q);                          // q is a bend with lines 0, 1
    const auto r = pinch(P(1, 2), {469, 400}); // a later pinch-out, line 2
    EXPECT_FALSE(e.deleteLine());              // nothing selected
    s.selectedLine = 0;                        // q's parent line
    ASSERT_TRUE(e.deleteLine());
    EXPECT_EQ(s.status, "Линия удалена");
    EXPECT_EQ(s.selectedLine, -1);
    EXPECT_EQ(m.points[q].kind, PointKind::PinchOut);
    EXPECT_EQ(m.points[q].ref, 0); // the remaining line, renumbered from 1
    EXPECT_EQ(m.points[r].ref, 1);
    expectInvariants(m, s);
    // The pinch-out's last line goes with it and the later point and its line end move down.
    s.selectedLine = 0;
    ASSERT_TRUE(e.deleteLine());
    EXPECT_EQ(m.pointCount(), r);
    ASSERT_EQ(m.lineCount(), 1);
    EXPECT_EQ(m.lines[0], (ConnectionLine{P(1, 2), r - 1, LineStyle::Straight, 1}));
    EXPECT_EQ(m.points[r - 1].ref, 0);
    expectInvariants(m, s);
}

TEST_F(Session, DeletePointRemovesANodeWithItsLinesAndNeighbours) {
    const auto q = pinch(P(0, 1), {213, 300});
    join(P(0, 2), q);
    join(P(1, 2), q);
    const auto n = pinch(q, {280, 320}); // q becomes a node, n a pinch-out beside it
    const auto b = pinch(P(1, 3), {250, 450});
    join(b, n);       // n: bend
    join(b, P(0, 3)); // b: node with 3 lines
    ASSERT_EQ(m.points[q].kind, PointKind::Node);
    ASSERT_EQ(pointLineCount(m, q), 4);
    ASSERT_EQ(m.points[n].kind, PointKind::Bend);
    ASSERT_TRUE(e.setMode(EditMode::Point));
    EXPECT_FALSE(e.deletePoint());
    ASSERT_TRUE(e.beginMove(at(q)));
    ASSERT_FALSE(e.endMove());
    ASSERT_TRUE(e.deletePoint());
    EXPECT_EQ(s.status, "Точка удалена");
    EXPECT_EQ(s.selectedPoint, -1);
    // q and its four lines are gone; n lost its line to q and is a pinch-out, b keeps 2 lines.
    EXPECT_EQ(m.pointCount(), m.boreholePointTotal() + 2);
    EXPECT_EQ(m.lineCount(), 3);
    EXPECT_EQ(m.points[n - 1].kind, PointKind::PinchOut);
    EXPECT_EQ(m.points[b - 1].kind, PointKind::Node);
    expectInvariants(m, s);
}

TEST_F(Session, DeleteAllLinesAsksFirst) {
    EXPECT_FALSE(e.deleteAllLines(sink));
    EXPECT_TRUE(sink.empty());
    pinch(P(0, 1), {213, 300});
    join(P(1, 1), P(2, 1));
    const auto before = m;
    sink.queueAnswer(platform::Answer::No);
    EXPECT_FALSE(e.deleteAllLines(sink));
    EXPECT_EQ(m.lines, before.lines);
    ASSERT_EQ(sink.entries().size(), 1u);
    EXPECT_EQ(sink.entries()[0].caption, "Stop");
    EXPECT_EQ(sink.entries()[0].text, "Вы действительно хотите\rудалить все соединения ИГЭ");
    sink.queueAnswer(platform::Answer::Yes);
    EXPECT_TRUE(e.deleteAllLines(sink));
    EXPECT_EQ(s.status, "Все соединения ИГЭ удалены");
    EXPECT_EQ(m.lineCount(), 0);
    EXPECT_EQ(m.pointCount(), m.boreholePointTotal());
}

TEST_F(Session, LineSelectionAndStyles) {
    join(P(0, 1), P(1, 1));                 // (85,183)-(341,183)
    join(P(1, 2), P(2, 2));                 // (341,383)-(597,383)
    EXPECT_FALSE(e.selectLine({200, 183})); // draw mode
    ASSERT_TRUE(e.setMode(EditMode::SelectLine));
    EXPECT_EQ(s.status, "Включен режим выбора линий");
    e.hover({200, 183});
    EXPECT_EQ(s.status, "Для выбора динии кликните мышью");
    EXPECT_EQ(s.hoverLine, 0);
    e.hover({200, 190});
    EXPECT_EQ(s.status, "");
    EXPECT_FALSE(e.selectLine({200, 190}));
    EXPECT_FALSE(e.previousLine());
    ASSERT_TRUE(e.selectLine({200, 183}));
    EXPECT_EQ(s.status, "Линия выбрана");
    EXPECT_FALSE(e.previousLine());
    EXPECT_TRUE(e.nextLine());
    EXPECT_EQ(s.status, "Смена выбранной линии");
    EXPECT_EQ(s.selectedLine, 1);
    EXPECT_FALSE(e.nextLine());
    EXPECT_TRUE(e.setStyle(LineStyle::Wavy));
    EXPECT_EQ(s.status, "Выбран тип линии: РАЗМЫТАЯ");
    EXPECT_EQ(m.lines[1].style, LineStyle::Wavy);
    s.status.clear();
    EXPECT_FALSE(e.setStyle(LineStyle::Wavy)); // unchanged: only the toolbar
    EXPECT_EQ(s.status, "");
    EXPECT_TRUE(e.setVisible(0));
    EXPECT_EQ(s.status, "Выбран режим невидимых границ ИГЭ");
    EXPECT_EQ(m.lines[1].visible, 0);
    EXPECT_EQ(s.currentStyle, LineStyle::Straight);
    EXPECT_EQ(m.lines[0], (ConnectionLine{P(0, 1), P(1, 1), LineStyle::Straight, 1}));
    // Without a selection the current settings change; visibility always reports.
    ASSERT_TRUE(e.setMode(EditMode::Draw));
    EXPECT_EQ(s.selectedLine, -1);
    EXPECT_EQ(s.status, "Включен режим отрисовки линий");
    EXPECT_FALSE(e.setStyle(LineStyle::Straight));
    EXPECT_EQ(s.status, "Включен режим отрисовки линий");
    EXPECT_TRUE(e.setStyle(LineStyle::Wavy));
    EXPECT_EQ(s.status, "Выбран тип линии: РАЗМЫТАЯ");
    EXPECT_FALSE(e.setVisible(1));
    EXPECT_EQ(s.status, "Выбран режим видимых границ ИГЭ");
    EXPECT_FALSE(e.setMode(EditMode::Draw));
}

TEST_F(Session, PointModeMovesBendsAndDeletes) {
    join(P(1, 1), P(2, 2)); // (341,183)-(597,383)
    const auto q = pinch(P(1, 2), {469, 450});
    ASSERT_TRUE(e.setMode(EditMode::Point));
    EXPECT_EQ(s.status, "Включен режим работы с точками");
    e.hover(at(P(1, 1))); // borehole points count as nothing here
    EXPECT_EQ(s.hoverPoint, -1);
    EXPECT_EQ(s.status, "");
    e.hover({469, 283});
    EXPECT_EQ(s.hoverLine, 0);
    EXPECT_EQ(s.status, "Для создания точки дважды кликните мышью");
    e.hover(at(q));
    EXPECT_EQ(s.status, "Точка: Точка висячки");
    EXPECT_FALSE(e.beginMove(at(P(1, 1))));
    ASSERT_TRUE(e.beginMove(at(q)));
    EXPECT_EQ(s.selectedPoint, q);
    EXPECT_FALSE(e.createBend({469, 283})); // not while moving
    ASSERT_TRUE(e.moveTo({700, 500}));      // past borehole 2: the owner stays
    EXPECT_EQ(s.status, "Перемещение точки");
    EXPECT_EQ(m.points[q].borehole, 1);
    EXPECT_EQ(m.points[q].offset, 1436); // (615 - 256) / 0.25: outside its interval
    EXPECT_EQ(at(q), (ScreenPos{700, 500}));
    EXPECT_TRUE(e.endMove());
    EXPECT_EQ(s.status, "Перемещение точки завершено");
    EXPECT_FALSE(e.moveTo({600, 500}));
    // A right click while moving ends the move where the point is.
    ASSERT_TRUE(e.beginMove(at(q)));
    EXPECT_TRUE(e.cancelDrag());
    EXPECT_EQ(at(q), (ScreenPos{700, 500}));

    ASSERT_TRUE(e.createBend({469, 283}));
    EXPECT_EQ(s.status, "Точка изгиба создана");
    const auto n = m.pointCount() - 1;
    EXPECT_EQ(s.selectedPoint, n);
    EXPECT_EQ(m.points[n], (ConnectionPoint{PointKind::Bend, 1, 0, 512, 400}));
    EXPECT_EQ(m.lines[0], (ConnectionLine{P(1, 1), n, LineStyle::Straight, 1}));
    EXPECT_EQ(m.lines[2], (ConnectionLine{n, P(2, 2), LineStyle::Straight, 1}));
    expectInvariants(m, s);
    ASSERT_TRUE(e.deletePoint()); // the bend and both halves
    EXPECT_EQ(m.lineCount(), 1);
    EXPECT_EQ(m.pointCount(), n);
    ASSERT_TRUE(e.setMode(EditMode::Draw));
    EXPECT_EQ(s.selectedPoint, -1);
    expectInvariants(m, s);
}

TEST_F(Session, VerticalLinesCannotBeBent) {
    m.points.push_back({PointKind::PinchOut, 1, 0, 0, 900});
    m.lines.push_back({P(1, 2), m.pointCount() - 1, LineStyle::Straight, 1});
    ASSERT_TRUE(e.setMode(EditMode::Point));
    EXPECT_FALSE(e.createBend({341, 450}));
    EXPECT_EQ(m.lineCount(), 1);
}

// Random editing on random sections: whatever the user does, the model stays storable.
TEST(EditingProperty, RandomOperationsKeepTheInvariants) {
    std::mt19937 rng(20240611);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int nodes = 0;
    for (int round = 0; round < 12; ++round) {
        std::vector<std::int32_t> xs{0};
        const int holes = pick(2, 5);
        while (static_cast<int>(xs.size()) < holes)
            xs.push_back(xs.back() + pick(300, 3000));
        std::vector<std::int32_t> depths{pick(50, 400)};
        const int rows = pick(1, 5);
        while (static_cast<int>(depths.size()) < rows)
            depths.push_back(depths.back() + pick(50, 500));
        auto m = section(xs, depths, pick(10000, 20000));
        const auto shown = holes == 2 ? 2 : pick(2, 3);
        auto map =
            MakeScreenMapping(m, pick(200, 900), pick(200, 700), pick(0, holes - shown), shown);
        ASSERT_TRUE(map);
        EditorState s;
        Editor e{m, *map, s};
        platform::RecordingMessageSink sink;
        auto cursor = [&]() -> ScreenPos {
            if (m.pointCount() > 0 && pick(0, 2) > 0) {
                auto p = map->pointPos(m, pick(0, m.pointCount() - 1));
                return {p.x + pick(-1, 1), p.y + pick(-1, 1)};
            }
            if (m.lineCount() > 0 && pick(0, 1) == 0) {
                const auto& l = m.lines[pick(0, m.lineCount() - 1)];
                const auto a = map->pointPos(m, l.from);
                const auto b = map->pointPos(m, l.to);
                return {(a.x + b.x) / 2, (a.y + b.y) / 2 + pick(-1, 1)};
            }
            return {pick(-20, map->width + 20), pick(-20, map->height + 20)};
        };
        int lines = 0;
        for (int step = 0; step < 600; ++step) {
            const int op = pick(0, 20);
            switch (op > 14 ? 2 + op % 4 : op) {
            case 0:
                e.setMode(static_cast<EditMode>(pick(0, 2)));
                break;
            case 1:
                e.hover(cursor());
                break;
            case 2:
            case 3:
                e.beginSegment(cursor());
                break;
            case 4:
            case 5:
                e.finishSegment(cursor());
                break;
            case 6:
                e.cancelDrag();
                break;
            case 7:
                e.selectLine(cursor());
                pick(0, 1) ? e.nextLine() : e.previousLine();
                break;
            case 8:
                e.setStyle(static_cast<LineStyle>(pick(0, 1)));
                e.setVisible(pick(0, 1));
                break;
            case 9:
                e.deleteLine();
                break;
            case 10:
                if (pick(0, 30) == 0) {
                    sink.queueAnswer(platform::Answer::Yes);
                    e.deleteAllLines(sink);
                }
                break;
            case 11:
                e.beginMove(cursor());
                e.moveTo(cursor());
                break;
            case 12:
                e.endMove();
                break;
            case 13:
                e.createBend(cursor());
                break;
            case 14:
                if (pick(0, 2) == 0)
                    e.deletePoint();
                break;
            }
            lines = std::max(lines, m.lineCount());
            nodes += static_cast<int>(std::count_if(m.points.begin(), m.points.end(), [](auto& p) {
                return p.kind == PointKind::Node;
            }));
            expectInvariants(m, s);
            if (::testing::Test::HasFatalFailure())
                FAIL() << "round " << round << " step " << step << ": " << s.status;
            // Whatever the edits made is a file that reads back byte for byte.
            if (step % 50 == 49) {
                const auto bytes = connectionBytes(m);
                auto back = parseConnections(bytes, "SLO");
                ASSERT_TRUE(back) << "round " << round << " step " << step << ": "
                                  << back.error().text;
                ASSERT_EQ(connectionBytes(*back), bytes) << "round " << round << " step " << step;
            }
        }
        EXPECT_GT(lines, 0) << "round " << round << " never drew a line";
    }
    EXPECT_GT(nodes, 0) << "no node point was ever made";
}

} // namespace
} // namespace orvo::connect
