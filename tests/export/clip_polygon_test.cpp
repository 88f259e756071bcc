// The segment clipper: table cases on degenerate, collinear and self-touching polygons, and a
// property test against an independent crossing-number winding test.
#include "export/clip_polygon.h"
#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace orvo::exporter;

namespace {

using Poly = std::vector<DxfPoint>;

std::string show(std::span<const ClipPiece> pieces) {
    std::string s;
    const auto f = [](double v) { return orvo::platform::formatFixed(v, 3); };
    for (const auto& p : pieces)
        s += "(" + f(p.a.x) + "," + f(p.a.y) + ")-(" + f(p.b.x) + "," + f(p.b.y) + ") ";
    return s;
}

const Poly kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
// A lens outline that touches itself at (10, 5): two lobes, the right one wound backwards.
const Poly kFigureEight{{0, 0}, {10, 5}, {20, 0}, {20, 10}, {10, 5}, {0, 10}};
// Two squares joined through one vertex.
const Poly kBowTie{{0, 0}, {5, 5}, {10, 0}, {10, 10}, {5, 5}, {0, 10}};

struct Case {
    const char* name;
    Poly polygon;
    DxfPoint a, b;
    const char* expected;
};

const Case kCases[] = {
    {"crosses", kSquare, {-5, 5}, {15, 5}, "(0.000,5.000)-(10.000,5.000) "},
    {"reversed", kSquare, {15, 5}, {-5, 5}, "(10.000,5.000)-(0.000,5.000) "},
    {"outside", kSquare, {-5, 20}, {15, 20}, ""},
    {"inside whole", kSquare, {2, 2}, {8, 3}, "(2.000,2.000)-(8.000,3.000) "},
    // Along an edge the midpoint sees the edge at 180 degrees: the piece counts as inside.
    {"along the bottom edge", kSquare, {-5, 0}, {15, 0}, "(0.000,0.000)-(10.000,0.000) "},
    {"through a vertex", kSquare, {-5, -5}, {15, 15}, "(0.000,0.000)-(10.000,10.000) "},
    {"touching a corner only", kSquare, {-5, 5}, {5, 15}, ""},
    {"shorter than the tolerance", kSquare, {1, 1}, {1.005, 1}, ""},
    {"zero-area outline", Poly{{0, 0}, {10, 0}, {20, 0}}, {5, -5}, {5, 5}, ""},
    {"two vertices", Poly{{0, 0}, {10, 10}}, {0, 10}, {10, 0}, ""},
    {"no polygon", Poly{}, {0, 0}, {1, 1}, ""},
    {"figure eight, both lobes", kFigureEight, {-1, 5}, {21, 5}, "(0.000,5.000)-(20.000,5.000) "},
    {"figure eight, over the waist",
     kFigureEight,
     {-1, 8},
     {21, 8},
     "(0.000,8.000)-(4.000,8.000) (16.000,8.000)-(20.000,8.000) "},
    {"bow tie through the knot", kBowTie, {5, -1}, {5, 11}, ""},
    {"bow tie across",
     kBowTie,
     {-1, 2},
     {11, 2},
     "(0.000,2.000)-(2.000,2.000) (8.000,2.000)-(10.000,2.000) "},
};

// Nonzero winding by crossings: upward crossings left of the point count +1, downward -1.
int winding(const Poly& poly, DxfPoint p) {
    int w = 0;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const auto& a = poly[i];
        const auto& b = poly[(i + 1) % poly.size()];
        const double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
        if (a.y <= p.y) {
            if (b.y > p.y && side > 0)
                ++w;
        } else if (b.y <= p.y && side < 0) {
            --w;
        }
    }
    return w;
}

double distanceToBoundary(const Poly& poly, DxfPoint p) {
    double best = HUGE_VAL;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const auto& a = poly[i];
        const auto& b = poly[(i + 1) % poly.size()];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        best = std::min(best, std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y));
    }
    return best;
}

} // namespace

TEST(ClipSegmentToPolygon, TableCases) {
    for (const auto& c : kCases) {
        ClipSegmentToPolygon clip(c.polygon);
        EXPECT_EQ(show(clip.clip(c.a, c.b)), c.expected) << c.name;
    }
}

TEST(ClipSegmentToPolygon, MidpointOnAVertexIsANumber) {
    ClipSegmentToPolygon clip(kSquare);
    EXPECT_TRUE(clip.inside({10, 10})); // the corner's own angle is 0, not NaN
    EXPECT_TRUE(clip.inside({5, 0}));
    EXPECT_FALSE(clip.inside({11, 10}));
}

// Random star-shaped and self-intersecting polygons: every piece lies in order along the
// segment, pieces do not overlap, each is at least the tolerance long and its midpoint is inside
// by the independent winding test (or on the boundary); every sample point between pieces that
// lies clearly inside is covered by a piece.
TEST(ClipSegmentToPolygon, AgreesWithAnIndependentWindingTest) {
    std::mt19937 rng(20261208);
    std::uniform_real_distribution<double> u(-50, 50);
    std::uniform_int_distribution<int> count(3, 12);
    for (int round = 0; round < 400; ++round) {
        Poly poly(static_cast<std::size_t>(count(rng)));
        for (auto& p : poly)
            p = {std::round(u(rng)), std::round(u(rng))};
        ClipSegmentToPolygon clip(poly);
        for (int s = 0; s < 10; ++s) {
            const DxfPoint a{u(rng), u(rng)}, b{u(rng), u(rng)};
            const double len = std::hypot(b.x - a.x, b.y - a.y);
            const auto pieces = clip.clip(a, b);
            std::vector<std::pair<double, double>> spans;
            for (const auto& p : pieces) {
                const double ta =
                    ((p.a.x - a.x) * (b.x - a.x) + (p.a.y - a.y) * (b.y - a.y)) / (len * len);
                const double tb =
                    ((p.b.x - a.x) * (b.x - a.x) + (p.b.y - a.y) * (b.y - a.y)) / (len * len);
                ASSERT_LT(ta, tb);
                ASSERT_GE((tb - ta) * len, ClipSegmentToPolygon::kTolerance);
                ASSERT_GE(ta * len, -ClipSegmentToPolygon::kTolerance - 1e-9);
                ASSERT_LE(tb * len, len + ClipSegmentToPolygon::kTolerance + 1e-9);
                if (!spans.empty()) {
                    ASSERT_LE(spans.back().second, ta + 1e-12);
                }
                spans.push_back({ta, tb});
                const DxfPoint mid{(p.a.x + p.b.x) / 2, (p.a.y + p.b.y) / 2};
                EXPECT_TRUE(winding(poly, mid) != 0 || distanceToBoundary(poly, mid) < 1e-6)
                    << "round " << round;
            }
            for (int k = 1; k < 50; ++k) {
                const double t = k / 50.0;
                const DxfPoint p{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
                if (winding(poly, p) == 0 || distanceToBoundary(poly, p) < 0.05)
                    continue;
                bool covered = false;
                for (const auto& [ta, tb] : spans)
                    covered = covered || (t >= ta - 1e-9 && t <= tb + 1e-9);
                EXPECT_TRUE(covered) << "round " << round << " t " << t;
            }
        }
    }
}
