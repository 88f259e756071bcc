// Hatch types: item and exchange files, the list operations, the renderer against a plain
// reference loop, its work bounds, the test-print page and the editor's element table.
#include "dict/hatch.h"
#include "platform/codepage.h"
#include "platform/recording_canvas.h"
#include "support/golden.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>

using namespace orvo;
using namespace orvo::dict;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

namespace {

const std::filesystem::path kGolden = ORVO_GOLDEN_DIR;

HatchPattern pattern(std::vector<HatchLine> lines, std::vector<HatchSegment> segments = {},
                     std::vector<HatchSymbol> symbols = {}, std::string name = "Проба") {
    return {std::move(name), std::move(lines), std::move(segments), std::move(symbols)};
}

// A 2 x 1 mm rectangle outline, the symbol the tiling cases use.
HatchSymbolShape box() {
    SymbolElement e;
    e.type = kSymbolRectangle;
    e.penWidth = 0;
    e.brushKind = 0;
    e.points = {{0, 0}, {200, 100}};
    return {200, 100, 0, 0, {e}};
}

// ---- the reference: the loops as plainly written, with the same skips and cull rules ----

class Reference {
public:
    Reference(platform::Canvas& c, double dpi, std::int64_t x0, std::int64_t y0, std::int64_t x1,
              std::int64_t y1, HatchCull cull)
        : m_c(c), m_p(hatchPxPerMm(dpi)), m_x0(x0), m_y0(y0), m_x1(x1), m_y1(y1), m_cull(cull) {}

    void draw(const HatchPattern& p, const HatchSymbolShapes& shapes, int hk, int hi) {
        for (std::size_t i = 0; i < p.lines.size(); ++i)
            lineElement(p.lines[i], hk == 0 && static_cast<int>(i) == hi);
        for (std::size_t i = 0; i < p.segments.size(); ++i)
            segment(p.segments[i], hk == 1 && static_cast<int>(i) == hi);
        for (std::size_t i = 0; i < p.symbols.size(); ++i)
            if (i < shapes.size() && shapes[i])
                symbol(p.symbols[i], *shapes[i]);
    }

private:
    std::int64_t px(float mm) const { return hatchToPx(mm * m_p); }
    void pen(float width, bool blue) {
        m_c.setPen({blue ? kHatchHighlight : platform::kBlack,
                    static_cast<double>(std::max<std::int64_t>(1, px(width))),
                    platform::Pen::Style::Solid});
    }
    void line(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) {
        ASSERT_LT(++m_work, 5'000'000) << "the reference loop does not end";
        m_c.drawLine({double(ax), double(ay)}, {double(bx), double(by)});
    }
    bool guard() { return ++m_work < 50'000'000; }

    void axis(float step, bool vertical) {
        std::int64_t prev = -1;
        for (std::int64_t k = 0; guard(); ++k) {
            std::int64_t d = hatchToPx(step * m_p * static_cast<float>(k));
            if (d == 0 && k > 0)
                d = 1;
            const std::int64_t at = (vertical ? m_x0 : m_y0) + d;
            if (d != prev && vertical && m_cull.left <= at && at <= m_cull.right)
                line(at, m_y0, at, m_y1);
            if (d != prev && !vertical && m_cull.top <= at && at <= m_cull.bottom)
                line(m_x0, at, m_x1, at);
            prev = d;
            if (at >= (vertical ? m_x1 : m_y1))
                break;
        }
    }

    void lineElement(const HatchLine& e, bool blue) {
        if (!(e.step > 0) || !std::isfinite(e.step))
            return;
        pen(e.width, blue);
        if (e.angle == 0 || e.angle == 90)
            return axis(e.step, e.angle == 0);
        const float a = static_cast<float>(e.angle % 360) * 6.2831855f * 0.0027777778f;
        const float s = std::sin(a), c = std::cos(a);
        if (std::fabs(c) < 1e-6f)
            return axis(e.step, false);
        const std::int64_t shift = hatchToPx(static_cast<float>(m_y1 - m_y0) * s / c);
        const float f = s * s / c + c;
        for (int dir : {1, -1}) {
            std::int64_t prev = -1, top = 0, bottom = 0;
            for (std::int64_t k = 0; guard(); ++k) {
                const std::int64_t d = std::llabs(hatchToPx(e.step * m_p * float(k) * f));
                top = m_x0 + dir * d;
                bottom = top - shift;
                if (d != prev && hatchLineVisible(top, bottom, m_y0, m_y1, m_cull))
                    line(top, m_y0, bottom, m_y1);
                prev = d;
                if (dir > 0 ? !(top < m_x1 || bottom < m_x1) : !(top >= m_x0 || bottom >= m_x0))
                    break;
            }
        }
    }

    void segment(const HatchSegment& e, bool blue) {
        const std::int64_t X1 = px(e.x1), Y1 = px(e.y1), X2 = px(e.x2), Y2 = px(e.y2);
        const std::int64_t dx = std::llabs(X1 - X2), dy = std::llabs(Y1 - Y2);
        if (dx + dy == 0)
            return;
        const std::int64_t SX = px(e.stepX), SY = px(e.stepY);
        std::int64_t nx = 1, ny = 1;
        if (SX != 0)
            nx = std::max<std::int64_t>(0, (m_x1 - m_x0 - X1 + dx) / SX + 1);
        if (SY != 0)
            ny = std::max<std::int64_t>(0, (m_y1 - m_y0 - Y1 + dy) / SY + 1);
        pen(e.width, blue);
        std::pair<std::int64_t, std::int64_t> prevX{-1, -1};
        for (std::int64_t col = 0; col < nx; ++col) {
            const float cx = float(col) * e.stepX;
            const std::pair xs{m_x0 + px(cx + e.x1), m_x0 + px(cx + e.x2)};
            if (col > 0 && xs == prevX)
                continue;
            prevX = xs;
            std::pair<std::int64_t, std::int64_t> prevY{-1, -1};
            for (std::int64_t row = 0; row < ny; ++row) {
                const float ry = float(row) * e.stepY;
                const std::pair ys{m_y0 + px(ry + e.y1), m_y0 + px(ry + e.y2)};
                if (row > 0 && ys == prevY)
                    continue;
                prevY = ys;
                if (!outside(xs, ys))
                    line(xs.first, ys.first, xs.second, ys.second);
            }
        }
    }

    bool outside(std::pair<std::int64_t, std::int64_t> xs,
                 std::pair<std::int64_t, std::int64_t> ys) const {
        return (xs.first < m_cull.left && xs.second < m_cull.left) ||
               (xs.first > m_cull.right && xs.second > m_cull.right) ||
               (ys.first < m_cull.top && ys.second < m_cull.top) ||
               (ys.first > m_cull.bottom && ys.second > m_cull.bottom);
    }

    void symbol(const HatchSymbol& e, const HatchSymbolShape& shape) {
        if (e.symbol <= 0 || !(e.stepX > 0) || !(e.stepY > 0))
            return;
        const std::int64_t w = hatchToPx(float(0.01 * shape.width * m_p));
        const std::int64_t h = hatchToPx(float(0.01 * shape.height * m_p));
        std::int64_t prevY = std::numeric_limits<std::int64_t>::min();
        for (std::int64_t row = 0; guard(); ++row) {
            const std::int64_t y = m_y0 + px(float(row) * e.stepY + e.cornerY);
            std::int64_t prevX = std::numeric_limits<std::int64_t>::min();
            std::int64_t x = 0;
            for (std::int64_t col = 0; guard(); ++col) {
                x = m_x0 + px(float(col) * e.stepX + e.cornerX);
                if (y != prevY && x != prevX && !outside({x, x + w}, {y, y + h})) {
                    ASSERT_LT(++m_work, 5'000'000);
                    DrawSymbolElements(
                        m_c, shape.elements,
                        {{double(x), double(y)}, shape.minX, shape.minY, 0.01f * m_p, 0.01f * m_p});
                }
                prevX = x;
                if (x > m_x1)
                    break;
            }
            prevY = y;
            if (y > m_y1)
                break;
        }
    }

    platform::Canvas& m_c;
    float m_p;
    std::int64_t m_x0, m_y0, m_x1, m_y1;
    HatchCull m_cull;
    std::int64_t m_work = 0;
};

std::string drawn(const HatchPattern& p, const HatchSymbolShapes& shapes, double dpi,
                  HatchCull area, HatchCull cull, int hk = -1, int hi = -1) {
    platform::RecordingCanvas canvas;
    DrawHatch(canvas, p, shapes, dpi, area.left, area.top, area.right, area.bottom, hk, hi, cull);
    return canvas.dump();
}

std::string reference(const HatchPattern& p, const HatchSymbolShapes& shapes, double dpi,
                      HatchCull area, HatchCull cull, int hk = -1, int hi = -1) {
    platform::RecordingCanvas canvas;
    Reference(canvas, dpi, area.left, area.top, area.right, area.bottom, cull)
        .draw(p, shapes, hk, hi);
    return canvas.dump();
}

// ---- golden drawings ----

// At 254 dpi a millimetre is 10 device units: the area is 30 x 20 mm at (10, 20).
constexpr HatchCull kArea{10, 20, 310, 220};
constexpr HatchCull kCull{60, 70, 210, 170};

struct GoldenCase {
    const char* name;
    HatchPattern pattern;
    HatchCull cull;
    int highlightKind = -1;
    int highlightIndex = -1;
};

TEST(HatchDrawing, GoldenDumps) {
    const HatchSymbolShapes one{box()};
    const HatchSymbolShapes two{box(), box()};
    const std::vector<GoldenCase> cases = {
        {"hatch-lines-0", pattern({{0.3f, 0, 5}}), kCull},
        {"hatch-lines-90", pattern({{0.2f, 90, 4}}), kCull},
        {"hatch-lines-45", pattern({{0.2f, 45, 5}}), kCull},
        {"hatch-lines-minus45", pattern({{0.2f, -45, 5}}), kCull},
        {"hatch-lines-135", pattern({{0.2f, 135, 5}}), kCull},
        {"hatch-segments",
         pattern({},
                 {{0.2f, 0, 0, 3, 0, 6, 4}, {0.5f, 3, 2, 6, 2, 6, 4}, {0.2f, 1, 1, 1, 3, 0, 0}}),
         kArea},
        {"hatch-symbols", pattern({}, {}, {{1, 0, 0, 8, 6}, {1, 4, 3, 8, 6}}), kArea},
        {"hatch-highlight", pattern({{0.2f, 0, 10}, {0.2f, 90, 10}}, {{0.2f, 1, 1, 3, 3, 10, 10}}),
         kArea, 0, 1},
        {"hatch-empty", pattern({}), kArea},
    };
    for (const auto& c : cases) {
        const HatchSymbolShapes& shapes = c.pattern.symbols.size() == 2 ? two : one;
        const std::string dump =
            drawn(c.pattern, shapes, 254, kArea, c.cull, c.highlightKind, c.highlightIndex);
        EXPECT_TRUE(test::matchesGolden(kGolden / c.name, dump)) << c.name;
        EXPECT_EQ(dump, reference(c.pattern, shapes, 254, kArea, c.cull, c.highlightKind,
                                  c.highlightIndex))
            << c.name;
    }
}

TEST(HatchDrawing, SamplePageGolden) {
    platform::RecordingCanvas canvas;
    DrawHatchSample(canvas, pattern({{0.2f, 45, 10}}, {}, {}, "Суглинок"), {}, 254);
    EXPECT_TRUE(test::matchesGolden(kGolden / "hatch-sample-page", canvas.dump()));
    const HatchCull frame = hatchSampleFrame(254);
    EXPECT_EQ(frame.right - frame.left, 1000); // 100 mm at 10 units per millimetre
}

// ---- the windowed renderer against the reference ----

HatchPattern randomPattern(std::mt19937& rng) {
    auto real = [&](double lo, double hi) {
        return static_cast<float>(std::uniform_real_distribution<double>(lo, hi)(rng));
    };
    auto count = [&](int hi) { return std::uniform_int_distribution<int>(0, hi)(rng); };
    static constexpr int kAngles[] = {0, 90, 45, -45, 135, 30, -60, 270, 180, -90, 89, 1};
    HatchPattern p;
    for (int i = count(3); i > 0; --i) {
        const int angle =
            count(3) == 0 ? std::uniform_int_distribution<int>(-360, 360)(rng) : kAngles[count(11)];
        p.lines.push_back({real(0, 1), angle, count(5) == 0 ? real(0.005, 0.05) : real(-1, 6)});
    }
    for (int i = count(3); i > 0; --i)
        p.segments.push_back({real(0, 1), real(-3, 8), real(-3, 8), real(-3, 8), real(-3, 8),
                              count(4) == 0 ? 0.0f : real(-4, 6),
                              count(4) == 0 ? 0.0f : real(-4, 6)});
    for (int i = count(2); i > 0; --i)
        p.symbols.push_back({count(3), real(-3, 5), real(-3, 5),
                             count(5) == 0 ? real(0.005, 0.05) : real(-1, 6), real(0.3, 6)});
    return p;
}

TEST(HatchDrawing, WindowedDrawingMatchesReferenceLoop) {
    std::mt19937 rng(20240515);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 400; ++round) {
        const HatchPattern p = randomPattern(rng);
        HatchSymbolShapes shapes;
        for (std::size_t i = 0; i < p.symbols.size(); ++i)
            shapes.push_back(box());
        const double dpi = std::array{72.0, 96.0, 254.0, 300.0}[pick(0, 3)];
        const HatchCull area{pick(-50, 50), pick(-50, 50), 0, 0};
        const HatchCull a{area.left, area.top, area.left + pick(0, 300), area.top + pick(0, 300)};
        const HatchCull cull{pick(-80, 200), pick(-80, 200), 0, 0};
        const HatchCull c{cull.left, cull.top, cull.left + pick(0, 250), cull.top + pick(0, 250)};
        const int hk = pick(-1, 1), hi = pick(-1, 2);
        ASSERT_EQ(drawn(p, shapes, dpi, a, c, hk, hi), reference(p, shapes, dpi, a, c, hk, hi))
            << "round " << round;
    }
}

// ---- work bounds and hostile values ----

class CountingCanvas : public platform::RecordingCanvas {
public:
    void drawLine(platform::PointF, platform::PointF) override { ++lines; }
    std::int64_t lines = 0;
};

struct BoundCase {
    const char* what;
    HatchPattern pattern;
};

TEST(HatchDrawing, EveryPatternEndsWithWorkBoundedByTheCullBox) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<BoundCase> cases = {
        {"sub-pixel vertical", pattern({{0.2f, 0, 0.001f}})},
        {"sub-pixel inclined", pattern({{0.2f, 30, 0.001f}})},
        {"270 degrees", pattern({{0.2f, 270, 2}})},
        {"-90 degrees", pattern({{0.2f, -90, 2}})},
        {"90 and a million turns", pattern({{0.2f, 90 + 360 * 1000000, 0.001f}})},
        {"NaN step", pattern({{nan, 45, nan}})},
        {"huge step", pattern({{1e30f, 45, 1e30f}})},
        {"huge segment", pattern({}, {{1e30f, 1e30f, nan, -1e30f, 2, 1e-30f, inf}})},
        {"sub-pixel segment", pattern({}, {{0.2f, 0, 0, 1, 1, 0.03f, 0.03f}})},
        {"negative symbol step", pattern({}, {}, {{1, 0, 0, -2, 3}})},
        {"sub-pixel symbol", pattern({}, {}, {{1, 0, 0, 0.001f, 0.001f}})},
    };
    // An A0 sheet at 600 dpi as the extent, a 20 x 10 mm area as the cull box.
    const HatchCull sheet{0, 0, 19866, 28087};
    const HatchCull cull{9000, 9000, 9472, 9236};
    for (const auto& c : cases) {
        CountingCanvas canvas;
        const HatchDrawStats stats = DrawHatch(canvas, c.pattern, {box()}, 600, sheet.left,
                                               sheet.top, sheet.right, sheet.bottom, -1, -1, cull);
        // A sub-pixel step costs a search of about log(1 / step) per position drawn.
        EXPECT_LT(stats.examined, 20 * stats.drawn + 2000) << c.what;
        EXPECT_LT(stats.drawn, 300'000) << c.what;
    }
}

TEST(HatchDrawing, TilesExaminedStayNearTilesDrawn) {
    // The benchmark's dense pattern into one area of a large sheet.
    const HatchPattern p =
        pattern({{0.2f, 45, 1}}, {{0.2f, 0, 0, 1, 0, 2, 1}, {0.2f, 1, 0.5f, 2, 0.5f, 2, 1}},
                {{1, 0, 0, 3, 3}});
    CountingCanvas canvas;
    const HatchDrawStats stats =
        DrawHatch(canvas, p, {box()}, 600, 0, 0, 19866, 28087, -1, -1, {9000, 9000, 9472, 9236});
    EXPECT_GT(stats.drawn, 200);
    EXPECT_LE(stats.examined, 2 * stats.drawn + 4 * 400);
}

// Vertical 5 mm lines at 254 dpi land on columns origin + 50k, one pixel wide.
TEST(HatchDrawing, PixelColumnsAt254Dpi) {
    class Raster : public platform::RecordingCanvas {
    public:
        std::set<int> columns;
        void drawLine(platform::PointF a, platform::PointF b) override {
            ASSERT_EQ(a.x, b.x);
            columns.insert(static_cast<int>(a.x));
        }
    } raster;
    const int x0 = 37;
    DrawHatch(raster, pattern({{0.05f, 0, 5}}), {}, 254, x0, 10, x0 + 1000, 500, -1, -1,
              {0, 0, 2000, 2000});
    ASSERT_EQ(raster.columns.size(), 21u);
    for (int x : raster.columns)
        EXPECT_EQ((x - x0) % 50, 0) << x;
    EXPECT_EQ(*raster.columns.rbegin(), x0 + 1000);
}

TEST(HatchDrawing, DeviceScaleAndRounding) {
    EXPECT_FLOAT_EQ(hatchPxPerMm(254), 10.0f);
    const std::vector<std::pair<float, std::int64_t>> cases = {
        {2.7f, 3},
        {-2.7f, -2},
        {0.49f, 0},
        {-0.5f, 0},
        {std::numeric_limits<float>::quiet_NaN(), 0},
        {1e30f, std::int64_t{1} << 40},
        {-1e30f, -(std::int64_t{1} << 40)}};
    for (const auto& [v, px] : cases)
        EXPECT_EQ(hatchToPx(v), px) << v;
}

// ---- files ----

class HatchStore : public ::testing::Test {
protected:
    HatchStore() : folder(dir.path()) { std::filesystem::create_directories(dir / "DATA/DIC"); }
    store::Bytes list() const { return readBytes(dir / "DATA/DIC/shtrix.sps"); }
    TempDir dir;
    platform::WorkFolder folder;
};

const HatchPattern kMixed = pattern({{0.2f, 45, 2}, {0.3f, -30, 1.5f}},
                                    {{0.25f, 0.5f, 1, 2.5f, 1, 4, 3}}, {{2, 1, 1, 5, 5}}, "Песок");

TEST_F(HatchStore, ItemFileLayoutAndRoundTrip) {
    const store::Bytes item = hatchItemBytes(kMixed);
    ASSERT_EQ(item.size(), 12u + 4 * (3 * 2 + 7 * 1 + 5 * 1));
    // Column-wise: both widths, then both angles.
    EXPECT_EQ(item[0], 2);
    EXPECT_EQ(item[4], 1);
    EXPECT_EQ(item[8], 1);
    const std::int32_t angle2 =
        static_cast<std::int32_t>(item[24] | item[25] << 8 | item[26] << 16 | item[27] << 24);
    EXPECT_EQ(angle2, -30);
    HatchPattern back = *parseHatchItemStrict(item);
    back.name = kMixed.name;
    EXPECT_EQ(back, kMixed);
    EXPECT_EQ(hatchItemBytes(parseHatchItem(item)), item);
}

TEST_F(HatchStore, ExchangeFileRoundTripsByteForByte) {
    const store::Bytes file = hatchExchangeBytes(hatchRecord("Песок"), kMixed);
    ASSERT_EQ(file.size(), 14u + 44u + hatchItemBytes(kMixed).size());
    const auto x = parseHatchExchange(file);
    ASSERT_TRUE(x.ok());
    EXPECT_EQ(x->pattern, kMixed);
    EXPECT_EQ(hatchExchangeBytes(x->record, x->pattern), file);
    EXPECT_EQ(x->item, hatchItemBytes(kMixed));
}

TEST_F(HatchStore, ImportRefusesWhatTheEditorCouldNotHaveMade) {
    auto withCounts = [](std::int32_t a, std::int32_t b, std::int32_t c, std::size_t words) {
        store::Bytes out = platform::startExchange(kHatchExchange);
        store::appendRecord(out, hatchRecord("X"));
        store::LeWriter w(out);
        for (auto n : {a, b, c})
            w.i32(n);
        for (std::size_t i = 0; i < words; ++i)
            w.f32(1.0f);
        return out;
    };
    store::Bytes nanFile = withCounts(1, 0, 0, 3);
    nanFile.back() = 0x7F, nanFile[nanFile.size() - 2] = 0xC0; // step NaN
    store::Bytes infFile = withCounts(0, 1, 0, 7);
    infFile.back() = 0x7F, infFile[infFile.size() - 2] = 0x80, infFile[infFile.size() - 3] = 0,
    infFile[infFile.size() - 4] = 0;
    store::Bytes wrongMagic = withCounts(0, 0, 0, 0);
    wrongMagic[0] = 'X';
    const std::vector<std::pair<const char*, store::Bytes>> cases = {
        {"negative count", withCounts(-1, 0, 0, 0)},
        {"101 lines", withCounts(101, 0, 0, 303)},
        {"short", withCounts(1, 1, 1, 3 + 7 + 4)},
        {"long", withCounts(1, 0, 0, 4)},
        {"huge count", withCounts(0x7FFFFFFF, 0, 0, 3)},
        {"NaN", nanFile},
        {"infinity", infFile},
        {"wrong magic", wrongMagic},
        {"no item", store::Bytes(wrongMagic.begin(), wrongMagic.begin() + 58)},
    };
    for (const auto& [what, bytes] : cases) {
        const auto x = parseHatchExchange(bytes);
        ASSERT_FALSE(x.ok()) << what;
        EXPECT_EQ(x.error().text, "Неверный формат файла") << what;
    }
    EXPECT_TRUE(parseHatchExchange(withCounts(100, 0, 1, 300 + 5)).ok());
}

TEST_F(HatchStore, StoredItemFilesDrawTheirWholeElements) {
    const store::Bytes item = hatchItemBytes(kMixed);
    struct Case {
        const char* what;
        store::Bytes bytes;
        std::size_t lines, segments, symbols;
    };
    store::Bytes big = item;
    big[0] = 0xFF, big[1] = 0xFF, big[2] = 0xFF, big[3] = 0x7F;
    store::Bytes negative = item;
    negative[4] = 0xFF, negative[5] = 0xFF, negative[6] = 0xFF, negative[7] = 0xFF;
    const std::vector<Case> cases = {
        {"whole", item, 2, 1, 1},
        {"last symbol field missing", store::Bytes(item.begin(), item.end() - 4), 2, 1, 0},
        {"cut in the line steps", store::Bytes(item.begin(), item.begin() + 12 + 16 + 4), 1, 0, 0},
        {"header only", store::Bytes(item.begin(), item.begin() + 12), 0, 0, 0},
        {"less than a header", store::Bytes(item.begin(), item.begin() + 5), 0, 0, 0},
        {"huge line count", big, 0, 0, 0},
        {"negative count", negative, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const HatchPattern p = parseHatchItem(c.bytes);
        EXPECT_EQ(p.lines.size(), c.lines) << c.what;
        EXPECT_EQ(p.segments.size(), c.segments) << c.what;
        EXPECT_EQ(p.symbols.size(), c.symbols) << c.what;
    }
    // More than 100 of a kind: the first 100 are kept.
    HatchPattern many = pattern(std::vector<HatchLine>(130, HatchLine{0.2f, 0, 1}));
    EXPECT_EQ(parseHatchItem(hatchItemBytes(many)).lines.size(), 100u);
}

TEST_F(HatchStore, SaveLoadDeleteAndNames) {
    // No shtrix.sps yet: the first save creates it.
    ASSERT_EQ(*SaveHatch(folder, -1, kMixed), 0);
    ASSERT_EQ(list().size(), 44u);
    const store::Bytes first = list();
    EXPECT_EQ(first[0], 1);
    EXPECT_EQ(std::string(first.begin() + 4, first.end()),
              platform::utf8ToCp1251("Песок") + std::string(35, ' '));
    EXPECT_EQ(*LoadHatch(folder, 0), kMixed);
    EXPECT_EQ(readBytes(dir / "DATA/DIC/000000.HTR"), hatchItemBytes(kMixed));

    struct NameCase {
        const char* name;
        bool accepted;
    };
    const std::vector<NameCase> names = {
        {"Песок   ", false}, // a trailing-space twin
        {"песок", true},     // a case twin
        {"Глина", true},
    };
    for (const auto& n : names) {
        auto saved = SaveHatch(folder, -1, pattern({}, {}, {}, n.name));
        EXPECT_EQ(saved.ok(), n.accepted) << n.name;
        if (!saved.ok()) {
            EXPECT_EQ(saved.error().text,
                      "Вид штриховки\rПесок\rуже существует в системе.\rИзмените наименование");
        }
    }
    ASSERT_EQ(list().size(), 3 * 44u);
    // Saving a hatch under its own name rewrites its slot.
    EXPECT_EQ(*SaveHatch(folder, 0, kMixed), 0);

    ASSERT_TRUE(DeleteHatch(folder, 1).ok());
    EXPECT_FALSE(std::filesystem::exists(dir / "DATA/DIC/000001.HTR"));
    const auto records = *ReadHatchList(folder);
    EXPECT_EQ(records[1].used, 0);
    EXPECT_EQ(records[1].name.utf8Trimmed(), "песок");
    EXPECT_EQ(LoadHatch(folder, 1)->name, "песок");
    EXPECT_TRUE(LoadHatch(folder, 1)->lines.empty());
    // The deleted name is free again, and the next hatch gets a new slot.
    EXPECT_EQ(*SaveHatch(folder, -1, pattern({}, {}, {}, "песок")), 3);

    const auto fresh = LoadHatch(folder, -1);
    EXPECT_EQ(fresh->name, "- Новая -");
    EXPECT_TRUE(fresh->lines.empty() && fresh->segments.empty() && fresh->symbols.empty());
    EXPECT_FALSE(LoadHatch(folder, 9).ok());
}

TEST_F(HatchStore, NamesKeepTheirFirst39Characters) {
    const std::string longName(45, 'x');
    ASSERT_TRUE(SaveHatch(folder, -1, pattern({}, {}, {}, longName)).ok());
    EXPECT_EQ(LoadHatch(folder, 0)->name, std::string(39, 'x'));
    EXPECT_EQ(list()[4 + 39], ' ');
}

TEST_F(HatchStore, AFailedItemWriteLeavesTheListAlone) {
    ASSERT_EQ(*SaveHatch(folder, -1, kMixed), 0);
    const store::Bytes before = list();
    // A folder where the next item file would go cannot be replaced by a file.
    std::filesystem::create_directories(dir / "DATA/DIC/000001.HTR/x");
    EXPECT_FALSE(SaveHatch(folder, -1, pattern({}, {}, {}, "Глина")).ok());
    EXPECT_EQ(list(), before);
}

TEST_F(HatchStore, ImportConflicts) {
    ASSERT_EQ(*SaveHatch(folder, -1, pattern({}, {}, {}, "Песок")), 0);
    ASSERT_EQ(*SaveHatch(folder, -1, pattern({}, {}, {}, "Глина")), 1);
    const HatchExchange item =
        *parseHatchExchange(hatchExchangeBytes(hatchRecord("Песок"), kMixed));
    using C = HatchImportAnswer::Choice;
    struct Case {
        const char* what;
        std::vector<HatchImportAnswer> answers;
        std::optional<int> slot;
        std::vector<std::string> asked;
    };
    const std::vector<Case> cases = {
        {"cancel", {{C::Cancel, ""}}, std::nullopt, {"Песок"}},
        {"overwrite", {{C::Overwrite, ""}}, 0, {"Песок"}},
        {"new name taken again",
         {{C::NewName, "Глина"}, {C::NewName, "Песок мелкий"}},
         2,
         {"Песок", "Глина"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> asked;
        std::size_t next = 0;
        const store::Bytes before = list();
        auto slot = ImportHatch(folder, item, [&](const std::string& name) {
            asked.push_back(name);
            return c.answers.at(next++);
        });
        ASSERT_TRUE(slot.ok()) << c.what;
        EXPECT_EQ(*slot, c.slot) << c.what;
        EXPECT_EQ(asked, c.asked) << c.what;
        if (!c.slot) {
            EXPECT_EQ(list(), before);
        } else {
            EXPECT_EQ(readBytes(folder.resolve(hatchItemPath(*c.slot))), item.item) << c.what;
        }
    }
    EXPECT_EQ(LoadHatch(folder, 2)->name, "Песок мелкий");
}

TEST_F(HatchStore, ExportWritesMagicRecordAndItem) {
    ASSERT_EQ(*SaveHatch(folder, -1, kMixed), 0);
    const auto file = dir / "out.OHT";
    ASSERT_TRUE(ExportHatch(folder, 0, file).ok());
    const store::Bytes bytes = readBytes(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 14), "ORVO-II Shtrix");
    EXPECT_EQ(store::Bytes(bytes.begin() + 14, bytes.begin() + 58), list());
    EXPECT_EQ(store::Bytes(bytes.begin() + 58, bytes.end()), hatchItemBytes(kMixed));
    const auto bad = ExportHatch(folder, 0, dir / "no/such/folder/x.OHT");
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.error().text.rfind("Ошибка открытия (", 0), 0u);
}

TEST_F(HatchStore, SymbolsAreLoadedOncePerEntry) {
    SymbolElement e;
    e.type = kSymbolEllipse;
    e.points = {{0, 0}, {100, 100}};
    ASSERT_EQ(*SaveNewSymbol(folder, "", {}), 0);
    ASSERT_EQ(*SaveNewSymbol(folder, "Кружок", {e}), 1);
    const HatchPattern p = pattern({}, {}, {{1, 0, 0, 2, 2}, {0, 0, 0, 2, 2}, {7, 0, 0, 2, 2}});
    const HatchSymbolShapes shapes = LoadHatchSymbols(folder, p);
    ASSERT_EQ(shapes.size(), 3u);
    ASSERT_TRUE(shapes[0]);
    EXPECT_EQ(shapes[0]->elements.size(), 1u);
    EXPECT_FALSE(shapes[1]); // no symbol
    EXPECT_FALSE(shapes[2]); // past the library
    platform::RecordingCanvas canvas;
    DrawHatchIn(canvas, folder, p, 254, {0, 0, 50, 50});
    EXPECT_NE(canvas.dump().find("ellipse"), std::string::npos);
}

// ---- the editor's element table ----

TEST(HatchEditTable, AddSelectRemoveAndFields) {
    HatchEdit edit(*parseHatchItemStrict(hatchItemBytes(HatchPattern{})), -1);
    EXPECT_EQ(edit.selected(), -1);
    ASSERT_TRUE(edit.add());
    EXPECT_EQ(edit.selected(), 0);
    EXPECT_EQ(edit.elementLabel(0), "Линия #1 ");
    EXPECT_EQ(edit.fieldText(0), "0.20");
    EXPECT_EQ(edit.highlightKind(), kHighlightLines);

    struct FieldCase {
        int field;
        const char* typed;
        const char* shown;
    };
    for (const auto& f : std::vector<FieldCase>{
             {0, "0.35", "0.35"}, {1, "-45.9", "-45"}, {1, "abc", "0"}, {2, "2,5", "2.00"}}) {
        edit.setField(f.field, f.typed);
        EXPECT_EQ(edit.fieldText(f.field), f.shown) << f.typed;
    }

    edit.setKind(HatchKind::Symbols);
    EXPECT_EQ(edit.selected(), -1);
    ASSERT_TRUE(edit.add());
    EXPECT_EQ(edit.elementLabel(0), "Значок #1 ");
    EXPECT_EQ(edit.pattern().symbols[0], HatchSymbol{});
    edit.setSymbol(3);
    EXPECT_EQ(edit.symbolOfSelected(), 3);
    EXPECT_EQ(edit.highlightKind(), -1);

    edit.setKind(HatchKind::Segments);
    for (int i = 0; i < kMaxHatchElements; ++i)
        ASSERT_TRUE(edit.add());
    EXPECT_FALSE(edit.add()); // the 101st is refused
    EXPECT_EQ(edit.elementLabel(99), "Отрезок #100 ");
    edit.select(5);
    edit.setField(1, "7");
    edit.select(4);
    ASSERT_TRUE(edit.removeSelected());
    EXPECT_EQ(edit.selected(), -1);
    EXPECT_EQ(edit.count(), 99);
    EXPECT_EQ(edit.pattern().segments[4].x1, 7.0f); // the later ones moved down
    EXPECT_EQ(HatchEdit::fieldLabels(HatchKind::Segments).size(), 7u);
}

TEST_F(HatchStore, EditorSavesTheTypedName) {
    HatchEdit edit(*LoadHatch(folder, -1), -1);
    edit.name = "Торф";
    edit.add();
    edit.setField(2, "3");
    ASSERT_EQ(*edit.save(folder), 0);
    EXPECT_EQ(edit.slot(), 0);
    EXPECT_EQ(LoadHatch(folder, 0)->lines.at(0).step, 3.0f);
}

} // namespace
