// Tests of automatic connection, the bearing and turn measures and the tracing of area outlines.
#include "connect/auto_connect.h"

#include "connect_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace orvo::connect {
namespace {

using test::ConnectFixture;
using Layers = std::vector<std::pair<std::string, float>>;
using Outline = std::vector<std::int32_t>;

// Boreholes 1000 units apart, every collar level, y going up with elevation.
std::vector<PointPosition> positions(const ConnectionModel& m) {
    std::vector<PointPosition> out;
    for (const auto& p : m.points)
        out.push_back({1000 * p.borehole + p.offset, -p.depth});
    return out;
}

std::optional<TracedArea> trace(const ConnectionModel& m, std::int32_t start, Sense sense) {
    const auto pos = positions(m);
    return TraceArea(m, LinesByPoint(m), pos, start, sense);
}

Outline traced(const ConnectionModel& m, std::int32_t start, Sense sense) {
    const auto area = trace(m, start, sense);
    return area ? area->outline : Outline{};
}

std::int32_t addFree(ConnectionModel& m, PointKind kind, std::int32_t b, std::int32_t offset,
                     std::int32_t depth) {
    const auto index = m.pointCount();
    EXPECT_TRUE(m.addPoint({kind, b, m.lineCount(), offset, depth}));
    return index;
}

void line(ConnectionModel& m, std::int32_t from, std::int32_t to) {
    ASSERT_TRUE(m.addLine({from, to, LineStyle::Straight, 1}));
}

ConnectionLine joined(const ConnectionModel& m, std::int32_t b, std::int32_t row) {
    return {m.boreholePointIndex(b, row), m.boreholePointIndex(b + 1, row), LineStyle::Wavy, 0};
}

class AutoConnectTest : public ::testing::Test, public ConnectFixture {};

TEST_F(AutoConnectTest, JoinsSharedRowsTopDownAndStopsAtTheFirstMismatch) {
    hole(1, "С-1", 0, Layers{{"A", 1}, {"B", 2}, {"E", 3}});
    hole(2, "С-2", 10, Layers{{"A", 1.5f}, {"B", 2.5f}, {"D", 4}});
    auto m = load({1, 2});
    const auto added = AutoConnect(m, LineStyle::Wavy, 0);
    ASSERT_TRUE(added);
    EXPECT_EQ(*added, 3);
    EXPECT_EQ(m.lines,
              (std::vector<ConnectionLine>{joined(m, 0, 0), joined(m, 0, 1), joined(m, 0, 2)}));
    EXPECT_EQ(m.pointCount(), 8); // no free points are created
}

TEST_F(AutoConnectTest, JoinsOnlyTheRowsBothBoreholesHave) {
    hole(1, "С-1", 0, Layers{{"A", 1}, {"B", 2}});
    hole(2, "С-2", 10, Layers{{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}, {"E", 5}});
    auto m = load({1, 2});
    ASSERT_TRUE(AutoConnect(m, LineStyle::Straight, 1));
    EXPECT_EQ(m.lines, (std::vector<ConnectionLine>{{0, 3, LineStyle::Straight, 1},
                                                    {1, 4, LineStyle::Straight, 1},
                                                    {2, 5, LineStyle::Straight, 1}}));
}

TEST_F(AutoConnectTest, RepeatedLayersJoinRowToRow) {
    hole(1, "С-1", 0, Layers{{"A", 1}, {"B", 2}, {"A", 3}});
    hole(2, "С-2", 10, Layers{{"A", 2}, {"B", 3}, {"A", 4}});
    auto m = load({1, 2});
    ASSERT_TRUE(AutoConnect(m, LineStyle::Wavy, 0));
    ASSERT_EQ(m.lineCount(), 4);
    EXPECT_EQ(m.lines[3], joined(m, 0, 3));
}

TEST_F(AutoConnectTest, AMismatchStopsOnlyItsOwnPair) {
    hole(1, "С-1", 0, Layers{{"X", 1}, {"A", 2}});
    hole(2, "С-2", 10, Layers{{"A", 1}, {"B", 2}});
    hole(3, "С-3", 20, Layers{{"A", 1}, {"B", 2}});
    auto m = load({1, 2, 3});
    ASSERT_TRUE(AutoConnect(m, LineStyle::Wavy, 0));
    EXPECT_EQ(m.lines, (std::vector<ConnectionLine>{joined(m, 0, 0), joined(m, 1, 0),
                                                    joined(m, 1, 1), joined(m, 1, 2)}));
}

TEST_F(AutoConnectTest, IsNotOfferedAndChangesNothingOnceALineExists) {
    hole(1, "С-1", 0, Layers{{"A", 1}});
    hole(2, "С-2", 10, Layers{{"A", 1}});
    auto m = load({1, 2});
    EXPECT_TRUE(AutoConnectOffered(m));
    test::joinRow(m, 0, 1);
    EXPECT_FALSE(AutoConnectOffered(m));
    const auto before = m.lines;
    const auto added = AutoConnect(m, LineStyle::Straight, 1);
    ASSERT_TRUE(added);
    EXPECT_EQ(*added, 0);
    EXPECT_EQ(m.lines, before);
}

TEST(BearingTest, AxesDiagonalsAndTheSamePoint) {
    const PointPosition o{10, 10};
    EXPECT_EQ(Bearing(o, {10, 20}), 0);
    EXPECT_EQ(Bearing(o, {20, 20}), 45);
    EXPECT_EQ(Bearing(o, {20, 10}), 90);
    EXPECT_EQ(Bearing(o, {20, 0}), 135);
    EXPECT_EQ(Bearing(o, {10, 0}), 180);
    EXPECT_EQ(Bearing(o, {0, 0}), 225);
    EXPECT_EQ(Bearing(o, {0, 10}), 270);
    EXPECT_EQ(Bearing(o, {0, 20}), 315);
    EXPECT_EQ(Bearing(o, o), 0);
    // Rounded to the nearest degree: atan(1/3) is 18.43 degrees off the axis.
    EXPECT_EQ(Bearing(o, {40, 20}), 72);
    EXPECT_EQ(Bearing(o, {-20, 0}), 252);
}

TEST(TurnTest, StraightReversedAndBothSenses) {
    const PointPosition a{0, 0}, m{10, 0};
    for (const auto sense : {Sense::Right, Sense::Left}) {
        EXPECT_EQ(Turn(sense, a, m, {20, 0}), 180) << "collinear, straight on";
        EXPECT_EQ(Turn(sense, a, m, a), 0) << "reversed";
    }
    EXPECT_EQ(Turn(Sense::Right, a, m, {10, -10}), 90); // walking right, turning down
    EXPECT_EQ(Turn(Sense::Left, a, m, {10, -10}), 270);
    EXPECT_EQ(Turn(Sense::Right, a, m, {10, 10}), 270);
    EXPECT_EQ(Turn(Sense::Left, a, m, {10, 10}), 90);
    // Walking left along the same line mirrors the senses.
    EXPECT_EQ(Turn(Sense::Right, m, a, {0, 10}), 90);
}

class TraceAreaTest : public ::testing::Test, public ConnectFixture {};

TEST_F(TraceAreaTest, ALayerBetweenJoinedBoreholesHasFourCorners) {
    hole(1, "С-1", 0, Layers{{"A", 1}, {"B", 2}});
    hole(2, "С-2", 10, Layers{{"A", 1.5f}, {"B", 2.5f}});
    auto m = load({1, 2});
    ASSERT_TRUE(AutoConnect(m, LineStyle::Straight, 1));
    const auto area = trace(m, 1, Sense::Right);
    ASSERT_TRUE(area);
    EXPECT_EQ(area->outline, (Outline{1, 4, 5, 2, 1}));
    EXPECT_EQ(area->areaCount(), 5);
    EXPECT_EQ(area->ige, m.boreholes[0].rowIge[2]);
    EXPECT_EQ(traced(m, 0, Sense::Right), (Outline{0, 3, 4, 1, 0}));
    // The deepest row has nothing below it, the last point no successor.
    EXPECT_FALSE(trace(m, 2, Sense::Right));
    EXPECT_FALSE(trace(m, 5, Sense::Right));
    // A right-hand area seen from the right borehole lies on its left and never closes there.
    EXPECT_FALSE(trace(m, 3, Sense::Left));
    EXPECT_FALSE(trace(m, -1, Sense::Right));
}

TEST_F(TraceAreaTest, NothingClosesWithoutLinesOrAcrossAMismatch) {
    hole(1, "С-1", 0, Layers{{"A", 1}, {"B", 2}, {"E", 3}});
    hole(2, "С-2", 10, Layers{{"A", 1}, {"B", 2}, {"D", 3}});
    auto m = load({1, 2});
    EXPECT_FALSE(trace(m, 0, Sense::Right));
    ASSERT_TRUE(AutoConnect(m, LineStyle::Straight, 1));
    EXPECT_TRUE(trace(m, 1, Sense::Right));
    EXPECT_FALSE(trace(m, 2, Sense::Right)) << "E below on one side, D on the other";
}

// Rows of С-1: collar, base of X, base of upper A, base of lens B, base of lower A.
TEST_F(TraceAreaTest, ALensOnTheLeftBoreholeIsFollowedAroundAndTracedItself) {
    hole(1, "С-1", 0, Layers{{"X", 1}, {"A", 2}, {"B", 3}, {"A", 4}});
    hole(2, "С-2", 10, Layers{{"X", 1}, {"A", 4}});
    auto m = load({1, 2});
    test::joinRow(m, 0, 0);
    test::joinRow(m, 0, 1);
    line(m, 4, m.boreholePointIndex(1, 2));
    const auto bend = addFree(m, PointKind::Bend, 0, 400, 250);
    line(m, 2, bend);
    line(m, 3, bend);
    const auto c1 = m.boreholePointIndex(1, 1);
    const auto outer = trace(m, 1, Sense::Right);
    ASSERT_TRUE(outer);
    EXPECT_EQ(outer->outline, (Outline{1, c1, c1 + 1, 4, 3, bend, 2, 1}));
    EXPECT_EQ(outer->ige, m.boreholes[0].rowIge[2]);
    const auto lens = trace(m, 2, Sense::Right);
    ASSERT_TRUE(lens);
    EXPECT_EQ(lens->outline, (Outline{2, bend, 3, 2}));
    EXPECT_EQ(lens->ige, m.boreholes[0].rowIge[3]);
    EXPECT_NE(lens->ige, outer->ige);
}

TEST_F(TraceAreaTest, ALensOnTheRightBoreholeClosesInTheLeftSense) {
    hole(1, "С-1", 0, Layers{{"A", 4}});
    hole(2, "С-2", 10, Layers{{"A", 2}, {"B", 3}, {"A", 4}});
    auto m = load({1, 2});
    const auto c1 = m.boreholePointIndex(1, 1);
    const auto bend = addFree(m, PointKind::Bend, 0, 600, 250);
    line(m, bend, c1);
    line(m, bend, c1 + 1);
    EXPECT_EQ(traced(m, c1, Sense::Left), (Outline{c1, bend, c1 + 1, c1}));
    EXPECT_FALSE(trace(m, c1, Sense::Right)) << "nothing leaves to the right";
}

TEST_F(TraceAreaTest, APinchOutLeavesTheAreasOnBothSidesOpen) {
    hole(1, "С-1", 0, Layers{{"X", 1}, {"A", 2}, {"Y", 3}});
    hole(2, "С-2", 10, Layers{{"X", 1}, {"Y", 3}});
    auto m = load({1, 2});
    ASSERT_TRUE(AutoConnect(m, LineStyle::Straight, 1));
    ASSERT_EQ(m.lineCount(), 2);
    const auto pinch = addFree(m, PointKind::PinchOut, 0, 500, 200);
    line(m, 2, pinch);
    line(m, 3, m.boreholePointIndex(1, 2));
    EXPECT_TRUE(trace(m, 0, Sense::Right)) << "X above is closed";
    EXPECT_FALSE(trace(m, 1, Sense::Right)) << "A ends in open ground";
    EXPECT_FALSE(trace(m, 2, Sense::Right)) << "Y starts at the pinch-out";
}

TEST_F(TraceAreaTest, ANodeTakesTheSharpestTurnWhateverTheLineOrder) {
    hole(1, "С-1", 0, Layers{{"X", 1}, {"A", 2}});
    hole(2, "С-2", 10, Layers{{"X", 1}, {"A", 2}});
    for (const bool downFirst : {true, false}) {
        auto m = load({1, 2});
        const auto node = addFree(m, PointKind::Node, 0, 500, 150);
        const auto c1 = m.boreholePointIndex(1, 1);
        line(m, 1, node);
        if (downFirst)
            line(m, 2, node);
        line(m, node, c1);
        if (!downFirst)
            line(m, 2, node);
        EXPECT_EQ(traced(m, 1, Sense::Right), (Outline{1, node, 2, 1})) << downFirst;
    }
}

TEST_F(TraceAreaTest, AWalkThatCirclesStopsAtTheCapAsNotClosed) {
    hole(1, "С-1", 0, Layers{{"A", 1}, {"B", 2}});
    hole(2, "С-2", 10, Layers{{"A", 1}, {"B", 2}});
    auto m = load({1, 2});
    const auto b1 = addFree(m, PointKind::Bend, 0, 300, 50);
    const auto b2 = addFree(m, PointKind::Bend, 0, 600, 50);
    const auto b3 = addFree(m, PointKind::Bend, 0, 450, 150);
    // The ring comes first in line order, so the walk entering it never turns back to С-1.
    line(m, b1, b2);
    line(m, b2, b3);
    line(m, b3, b1);
    line(m, 0, b1);
    EXPECT_FALSE(trace(m, 0, Sense::Right));
}

TEST_F(TraceAreaTest, AHundredBoreholesOfNinetyNineLayersConnectAndTraceQuickly) {
    Layers layers;
    for (int i = 1; i <= kMaxLayers; ++i)
        layers.push_back({"L" + std::to_string(i), static_cast<float>(i)});
    std::vector<std::int32_t> numbers;
    for (int b = 1; b <= 100; ++b) {
        hole(b, "С-" + std::to_string(b), static_cast<float>(10 * b), layers);
        numbers.push_back(b);
    }
    auto m = load(numbers);
    const auto begin = std::chrono::steady_clock::now();
    const auto added = AutoConnect(m, LineStyle::Straight, 1);
    ASSERT_TRUE(added);
    EXPECT_EQ(*added, 99 * 100);
    const auto pos = positions(m);
    const LinesByPoint lines(m);
    int right = 0, left = 0;
    for (std::int32_t p = 0; p < m.pointCount(); ++p) {
        right += TraceArea(m, lines, pos, p, Sense::Right) ? 1 : 0;
        left += TraceArea(m, lines, pos, p, Sense::Left) ? 1 : 0;
    }
    const auto elapsed = std::chrono::steady_clock::now() - begin;
    EXPECT_EQ(right, 99 * 99);
    EXPECT_EQ(left, 0);
    EXPECT_LT(elapsed, std::chrono::seconds(5));
}

} // namespace
} // namespace orvo::connect
