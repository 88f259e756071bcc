// The hatch renderer and the test-print page.
//
// Each loop of the pattern (lines at k·step, segment and symbol tiles on a grid) visits device
// positions that never go back, so the positions inside the cull box form one run of the loop
// counter. The renderer finds that run by bisection and draws only it, each distinct position
// once: the picture of the full loop, for work that depends on the cull box alone. Sub-pixel
// steps, NaN and huge values cannot keep it busy.
#include "dict/hatch.h"

#include "platform/numbers.h"
#include "store/project_store.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace orvo::dict {

namespace {

constexpr std::int64_t kPxLimit = std::int64_t{1} << 40;
// The last loop counter looked at; a loop whose positions never reach the end of the extent
// (a step that underflows to nothing) ends here, having drawn every distinct position.
constexpr std::int64_t kMaxCounter = std::int64_t{1} << 40;

using Stats = HatchDrawStats;

// The first k in [lo, hi] for which `pred` holds, `pred` being false and then true over the
// range; hi + 1 when it never holds.
template <class Pred>
std::int64_t firstTrue(std::int64_t lo, std::int64_t hi, Pred pred, Stats& stats) {
    std::int64_t a = lo, b = hi + 1;
    while (a < b) {
        const std::int64_t mid = a + (b - a) / 2;
        ++stats.examined;
        if (pred(mid))
            b = mid;
        else
            a = mid + 1;
    }
    return a;
}

// The first k in (from, last] for which `pred` holds, looking near `from` first, so that a run
// of equal positions costs the logarithm of its length; last + 1 when it never holds.
template <class Pred>
std::int64_t nextTrue(std::int64_t from, std::int64_t last, Pred pred, Stats& stats) {
    std::int64_t lo = from;
    for (std::int64_t step = 1; lo < last; step *= 2) {
        const std::int64_t probe = last - lo <= step ? last : lo + step;
        ++stats.examined;
        if (pred(probe))
            return firstTrue(lo + 1, probe - 1, pred, stats);
        lo = probe;
    }
    return last + 1;
}

// Emits each distinct d(k), k = 0, 1, ..., up to and including the first k with d(k) >= stop,
// that lies in [lo, hi]. d is non-decreasing.
template <class D, class Emit>
void distinctRun(D d, std::int64_t stop, std::int64_t lo, std::int64_t hi, Emit emit,
                 Stats& stats) {
    std::int64_t last = firstTrue(
        0, kMaxCounter, [&](std::int64_t k) { return d(k) >= stop; }, stats);
    last = std::min(last, kMaxCounter);
    std::int64_t k = firstTrue(
        0, last, [&](std::int64_t i) { return d(i) >= lo; }, stats);
    while (k <= last) {
        const std::int64_t v = d(k);
        ++stats.examined;
        if (v > hi)
            break;
        emit(v);
        k = nextTrue(
            k, last, [&](std::int64_t i) { return d(i) > v; }, stats);
    }
}

std::int64_t mmPx(float mm, float pxPerMm) {
    return hatchToPx(mm * pxPerMm);
}

platform::Pen elementPen(float width, float pxPerMm, bool highlighted) {
    platform::Pen pen;
    pen.width = static_cast<double>(std::max<std::int64_t>(1, mmPx(width, pxPerMm)));
    pen.color = highlighted ? kHatchHighlight : platform::kBlack;
    return pen;
}

void line(platform::Canvas& canvas, std::int64_t ax, std::int64_t ay, std::int64_t bx,
          std::int64_t by, Stats& stats) {
    ++stats.drawn;
    canvas.drawLine({static_cast<double>(ax), static_cast<double>(ay)},
                    {static_cast<double>(bx), static_cast<double>(by)});
}

struct Area {
    std::int64_t x0, y0, x1, y1;
    HatchCull cull;
    float pxPerMm;
    // Segment or symbol tiles one element may draw: four per device unit of the cull box, far
    // beyond any pattern, reached only by segments much longer than the extent.
    std::int64_t budget;
};

// The share [ta, tb] of the line's length from y0 to y1 that lies within the cull box's rows.
struct RowShare {
    bool any = false;
    double ta = 0, tb = 1;
};

RowShare rowShare(std::int64_t y0, std::int64_t y1, const HatchCull& c) {
    if (y0 == y1)
        return {y0 >= c.top && y0 <= c.bottom, 0, 1};
    const double lo = static_cast<double>(std::max(std::min(y0, y1), c.top));
    const double hi = static_cast<double>(std::min(std::max(y0, y1), c.bottom));
    if (lo > hi)
        return {};
    const double span = static_cast<double>(y1 - y0);
    double ta = (lo - static_cast<double>(y0)) / span;
    double tb = (hi - static_cast<double>(y0)) / span;
    if (ta > tb)
        std::swap(ta, tb);
    return {true, ta, tb};
}

std::int64_t clampedDevice(double v) {
    return static_cast<std::int64_t>(std::clamp(v, -4.0 * kPxLimit, 4.0 * kPxLimit));
}

// Lines parallel to an axis: x = x0 + d (vertical) or y = y0 + d (horizontal).
void axisLines(platform::Canvas& canvas, const Area& a, float step, bool vertical, Stats& stats) {
    const float stepPx = step * a.pxPerMm;
    auto d = [stepPx](std::int64_t k) {
        if (k == 0)
            return std::int64_t{0};
        return std::max<std::int64_t>(1, hatchToPx(stepPx * static_cast<float>(k)));
    };
    if (vertical)
        distinctRun(
            d, a.x1 - a.x0, a.cull.left - a.x0, a.cull.right - a.x0,
            [&](std::int64_t v) { line(canvas, a.x0 + v, a.y0, a.x0 + v, a.y1, stats); }, stats);
    else
        distinctRun(
            d, a.y1 - a.y0, a.cull.top - a.y0, a.cull.bottom - a.y0,
            [&](std::int64_t v) { line(canvas, a.x0, a.y0 + v, a.x1, a.y0 + v, stats); }, stats);
}

void inclinedLines(platform::Canvas& canvas, const Area& a, float step, float sinA, float cosA,
                   Stats& stats) {
    const std::int64_t shift = hatchToPx(static_cast<float>(a.y1 - a.y0) * sinA / cosA);
    const float factor = sinA * sinA / cosA + cosA;
    const float stepPx = step * a.pxPerMm;
    auto d = [&](std::int64_t k) {
        const std::int64_t v = hatchToPx(stepPx * static_cast<float>(k) * factor);
        return v < 0 ? -v : v;
    };
    const RowShare rows = rowShare(a.y0, a.y1, a.cull);
    // Both ends of a line lie within [top + eLo, top + eHi] over the cull box's rows.
    const double ea = -static_cast<double>(shift) * rows.ta;
    const double eb = -static_cast<double>(shift) * rows.tb;
    const double eLo = std::min(ea, eb), eHi = std::max(ea, eb);
    const std::int64_t right = std::max<std::int64_t>(0, -shift); // bottom end right of top
    const std::int64_t left = std::min<std::int64_t>(0, -shift);
    auto draw = [&](std::int64_t top) {
        const std::int64_t bottom = top - shift;
        if (hatchLineVisible(top, bottom, a.y0, a.y1, a.cull))
            line(canvas, top, a.y0, bottom, a.y1, stats);
        else
            ++stats.examined;
    };
    const double x0 = static_cast<double>(a.x0);
    const double cl = static_cast<double>(a.cull.left), cr = static_cast<double>(a.cull.right);
    if (!rows.any)
        return;
    // Forward: top = x0 + d, until both ends reach x1. The window is widened a little so that
    // rounding never loses a line; the exact test decides.
    distinctRun(
        d, a.x1 - a.x0 - left, clampedDevice(std::floor(cl - x0 - eHi)) - 2,
        clampedDevice(std::ceil(cr - x0 - eLo)) + 2, [&](std::int64_t v) { draw(a.x0 + v); },
        stats);
    // Backward: top = x0 - d, while either end is still right of x0.
    distinctRun(
        d, right + 1, clampedDevice(std::floor(x0 + eLo - cr)) - 2,
        clampedDevice(std::ceil(x0 + eHi - cl)) + 2, [&](std::int64_t v) { draw(a.x0 - v); },
        stats);
}

void drawLines(platform::Canvas& canvas, const HatchPattern& p, const Area& a, int highlightKind,
               int highlightIndex, Stats& stats) {
    const std::size_t n = std::min<std::size_t>(p.lines.size(), kMaxHatchElements);
    for (std::size_t i = 0; i < n; ++i) {
        const HatchLine& e = p.lines[i];
        // NaN and infinite steps would never advance: skipped as a step of 0 is.
        if (!(e.step > 0) || !std::isfinite(e.step))
            continue;
        canvas.setPen(
            elementPen(e.width, a.pxPerMm,
                       highlightKind == kHighlightLines && static_cast<int>(i) == highlightIndex));
        if (e.angle == 0) {
            axisLines(canvas, a, e.step, true, stats);
            continue;
        }
        if (e.angle == 90) {
            axisLines(canvas, a, e.step, false, stats);
            continue;
        }
        // Whole turns are dropped first: the direction is the same, and a huge angle would
        // otherwise lose its precision in 32-bit floats, its cosine landing near but not at 0.
        const float rad = static_cast<float>(e.angle % 360) * 6.2831855f * 0.0027777778f;
        const float sinA = std::sin(rad), cosA = std::cos(rad);
        // 270 and -90 are horizontal too; their float cosine is only nearly 0.
        if (std::fabs(cosA) < 1e-6f)
            axisLines(canvas, a, e.step, false, stats);
        else
            inclinedLines(canvas, a, e.step, sinA, cosA, stats);
    }
}

// The positions of a grid's columns (or rows): two device values per index, moving the same way.
struct Run {
    std::int64_t first = 0;
    std::int64_t last = -1;
};

// The indexes in [0, n) whose pair (lo(i), hi(i)) is not wholly before `from` nor wholly after
// `to`; `rising` tells which way the pairs move.
template <class Pair>
Run visibleRun(std::int64_t n, Pair pair, bool rising, std::int64_t from, std::int64_t to,
               Stats& stats) {
    auto maxOf = [&](std::int64_t i) {
        const auto [u, v] = pair(i);
        return std::max(u, v);
    };
    auto minOf = [&](std::int64_t i) {
        const auto [u, v] = pair(i);
        return std::min(u, v);
    };
    if (n <= 0)
        return {};
    if (rising)
        return {firstTrue(
                    0, n - 1, [&](std::int64_t i) { return maxOf(i) >= from; }, stats),
                firstTrue(
                    0, n - 1, [&](std::int64_t i) { return minOf(i) > to; }, stats) -
                    1};
    return {firstTrue(
                0, n - 1, [&](std::int64_t i) { return minOf(i) <= to; }, stats),
            firstTrue(
                0, n - 1, [&](std::int64_t i) { return maxOf(i) < from; }, stats) -
                1};
}

using Place = std::pair<std::int64_t, std::int64_t>;

// The distinct pairs of the run in order (a pair equal to the one before is a repeat).
template <class Pair>
std::vector<Place> distinctPlaces(const Run& run, Pair pair, std::int64_t limit, Stats& stats) {
    std::vector<Place> out;
    for (std::int64_t i = run.first; i <= run.last && std::ssize(out) < limit;) {
        const Place at = pair(i);
        out.push_back(at);
        i = nextTrue(
            i, run.last, [&](std::int64_t j) { return pair(j) != at; }, stats);
    }
    return out;
}

std::int64_t gridCount(std::int64_t extent, std::int64_t start, std::int64_t length,
                       std::int64_t step) {
    if (step == 0)
        return 1;
    return std::max<std::int64_t>(0, (extent - start + length) / step + 1);
}

void drawSegment(platform::Canvas& canvas, const HatchSegment& e, const Area& a, Stats& stats) {
    const float p = a.pxPerMm;
    const std::int64_t X1 = mmPx(e.x1, p), Y1 = mmPx(e.y1, p), X2 = mmPx(e.x2, p),
                       Y2 = mmPx(e.y2, p);
    const std::int64_t dx = X1 > X2 ? X1 - X2 : X2 - X1;
    const std::int64_t dy = Y1 > Y2 ? Y1 - Y2 : Y2 - Y1;
    const std::int64_t nx = gridCount(a.x1 - a.x0, X1, dx, mmPx(e.stepX, p));
    const std::int64_t ny = gridCount(a.y1 - a.y0, Y1, dy, mmPx(e.stepY, p));
    auto xs = [&](std::int64_t col) {
        const float c = static_cast<float>(col) * e.stepX;
        return std::pair{a.x0 + mmPx(c + e.x1, p), a.x0 + mmPx(c + e.x2, p)};
    };
    auto ys = [&](std::int64_t row) {
        const float r = static_cast<float>(row) * e.stepY;
        return std::pair{a.y0 + mmPx(r + e.y1, p), a.y0 + mmPx(r + e.y2, p)};
    };
    const Run cols = visibleRun(nx, xs, e.stepX >= 0, a.cull.left, a.cull.right, stats);
    const Run rows = visibleRun(ny, ys, e.stepY >= 0, a.cull.top, a.cull.bottom, stats);
    if (rows.last < rows.first)
        return;
    const std::vector<Place> ysAt = distinctPlaces(rows, ys, a.budget, stats);
    std::int64_t left = a.budget;
    for (const Place& x : distinctPlaces(cols, xs, a.budget, stats))
        for (const Place& y : ysAt) {
            if (left-- <= 0)
                return;
            line(canvas, x.first, y.first, x.second, y.second, stats);
        }
}

void drawSegments(platform::Canvas& canvas, const HatchPattern& p, const Area& a, int highlightKind,
                  int highlightIndex, Stats& stats) {
    const std::size_t n = std::min<std::size_t>(p.segments.size(), kMaxHatchElements);
    for (std::size_t i = 0; i < n; ++i) {
        const HatchSegment& e = p.segments[i];
        const std::int64_t X1 = mmPx(e.x1, a.pxPerMm), Y1 = mmPx(e.y1, a.pxPerMm);
        const std::int64_t X2 = mmPx(e.x2, a.pxPerMm), Y2 = mmPx(e.y2, a.pxPerMm);
        if (X1 == X2 && Y1 == Y2)
            continue;
        canvas.setPen(elementPen(e.width, a.pxPerMm,
                                 highlightKind == kHighlightSegments &&
                                     static_cast<int>(i) == highlightIndex));
        drawSegment(canvas, e, a, stats);
    }
}

// A symbol grid: rows until a row starts below y1, columns until one starts right of x1.
void drawSymbol(platform::Canvas& canvas, const HatchSymbol& e, const HatchSymbolShape& shape,
                const Area& a, Stats& stats) {
    const float p = a.pxPerMm;
    const std::int64_t w = hatchToPx(platform::toFloat32(0.01 * shape.width * p));
    const std::int64_t h = hatchToPx(platform::toFloat32(0.01 * shape.height * p));
    auto xs = [&](std::int64_t col) {
        const std::int64_t x = a.x0 + mmPx(static_cast<float>(col) * e.stepX + e.cornerX, p);
        return std::pair{x, x + w};
    };
    auto ys = [&](std::int64_t row) {
        const std::int64_t y = a.y0 + mmPx(static_cast<float>(row) * e.stepY + e.cornerY, p);
        return std::pair{y, y + h};
    };
    const std::int64_t lastCol =
        std::min(kMaxCounter,
                 firstTrue(
                     0, kMaxCounter, [&](std::int64_t c) { return xs(c).first > a.x1; }, stats));
    const std::int64_t lastRow =
        std::min(kMaxCounter,
                 firstTrue(
                     0, kMaxCounter, [&](std::int64_t r) { return ys(r).first > a.y1; }, stats));
    const Run cols = visibleRun(lastCol + 1, xs, true, a.cull.left, a.cull.right, stats);
    const Run rows = visibleRun(lastRow + 1, ys, true, a.cull.top, a.cull.bottom, stats);
    if (cols.last < cols.first)
        return;
    const float scale = 0.01f * p;
    const std::vector<Place> xsAt = distinctPlaces(cols, xs, a.budget, stats);
    std::int64_t left = a.budget;
    for (const Place& y : distinctPlaces(rows, ys, a.budget, stats))
        for (const Place& x : xsAt) {
            if (left-- <= 0)
                return;
            ++stats.drawn;
            const platform::PointF at{static_cast<double>(x.first), static_cast<double>(y.first)};
            DrawSymbolElements(canvas, shape.elements, {at, shape.minX, shape.minY, scale, scale});
        }
}

void drawSymbols(platform::Canvas& canvas, const HatchPattern& p, const HatchSymbolShapes& shapes,
                 const Area& a, Stats& stats) {
    const std::size_t n =
        std::min({p.symbols.size(), shapes.size(), static_cast<std::size_t>(kMaxHatchElements)});
    for (std::size_t i = 0; i < n; ++i) {
        const HatchSymbol& e = p.symbols[i];
        // A negative step would never leave its row: skipped as a zero step is.
        if (e.symbol <= 0 || !shapes[i] || !(e.stepX > 0) || !(e.stepY > 0) ||
            !std::isfinite(e.stepX) || !std::isfinite(e.stepY))
            continue;
        drawSymbol(canvas, e, *shapes[i], a, stats);
    }
}

} // namespace

float hatchPxPerMm(double dpiX) {
    return platform::toFloat32(dpiX * 0.03937007874015748);
}

std::int64_t hatchToPx(float v) {
    if (std::isnan(v))
        return 0;
    const double d = std::clamp(static_cast<double>(v) + 0.5, -static_cast<double>(kPxLimit),
                                static_cast<double>(kPxLimit));
    return static_cast<std::int64_t>(d); // toward zero, as stored drawings expect
}

bool hatchLineVisible(std::int64_t top, std::int64_t bottom, std::int64_t y0, std::int64_t y1,
                      const HatchCull& cull) {
    const RowShare rows = rowShare(y0, y1, cull);
    if (!rows.any)
        return false;
    const double run = static_cast<double>(bottom - top);
    const double xa = static_cast<double>(top) + run * rows.ta;
    const double xb = static_cast<double>(top) + run * rows.tb;
    return std::max(xa, xb) >= static_cast<double>(cull.left) &&
           std::min(xa, xb) <= static_cast<double>(cull.right);
}

HatchSymbolShapes LoadHatchSymbols(const platform::WorkFolder& folder,
                                   const HatchPattern& pattern) {
    HatchSymbolShapes out(pattern.symbols.size());
    auto list = ReadSymbolList(folder);
    if (!list)
        return out;
    std::map<int, std::optional<HatchSymbolShape>> loaded;
    for (std::size_t i = 0; i < pattern.symbols.size(); ++i) {
        const int slot = pattern.symbols[i].symbol;
        if (slot <= 0 || slot >= static_cast<int>(list->size()))
            continue;
        auto [it, fresh] = loaded.try_emplace(slot);
        if (fresh) {
            const SymbolListRecord& rec = (*list)[static_cast<std::size_t>(slot)];
            if (rec.used == 0)
                continue;
            HatchSymbolShape shape{rec.width, rec.height, rec.minX, rec.minY, {}};
            const std::string path = symbolItemPath(slot);
            const auto in = folder.read(path, kMaxSymbolItemBytes);
            // What could be read is drawn, as the library's own renderer does.
            if (in.ok())
                (void)parseSymbolItems(in.bytes, rec.elementCount, path, shape.elements);
            it->second = std::move(shape);
        }
        out[i] = it->second;
    }
    return out;
}

HatchDrawStats DrawHatch(platform::Canvas& canvas, const HatchPattern& pattern,
                         const HatchSymbolShapes& symbols, double dpiX, std::int64_t x0,
                         std::int64_t y0, std::int64_t x1, std::int64_t y1, int highlightKind,
                         int highlightIndex, const HatchCull& cull) {
    Stats stats;
    // Device positions far beyond any page are held where sums of them cannot overflow.
    auto c = [](std::int64_t v) { return std::clamp(v, -kPxLimit, kPxLimit); };
    const HatchCull box{c(cull.left), c(cull.top), c(cull.right), c(cull.bottom)};
    const std::int64_t boxW = std::clamp<std::int64_t>(box.right - box.left, 0, kPxLimit);
    const std::int64_t boxH = std::clamp<std::int64_t>(box.bottom - box.top, 0, kPxLimit);
    const std::int64_t budget = static_cast<std::int64_t>(
        std::min(4.0 * static_cast<double>(boxW + 2) * static_cast<double>(boxH + 2),
                 static_cast<double>(kPxLimit)));
    const Area area{c(x0), c(y0), c(x1), c(y1), box, hatchPxPerMm(dpiX), budget};
    drawLines(canvas, pattern, area, highlightKind, highlightIndex, stats);
    drawSegments(canvas, pattern, area, highlightKind, highlightIndex, stats);
    drawSymbols(canvas, pattern, symbols, area, stats);
    return stats;
}

void DrawHatchIn(platform::Canvas& canvas, const platform::WorkFolder& folder,
                 const HatchPattern& pattern, double dpiX, const HatchCull& rect, int highlightKind,
                 int highlightIndex) {
    canvas.save();
    canvas.clipRect({static_cast<double>(rect.left), static_cast<double>(rect.top),
                     static_cast<double>(rect.right - rect.left),
                     static_cast<double>(rect.bottom - rect.top)});
    DrawHatch(canvas, pattern, LoadHatchSymbols(folder, pattern), dpiX, rect.left, rect.top,
              rect.right, rect.bottom, highlightKind, highlightIndex, rect);
    canvas.restore();
}

// ---- the test-print page ----

namespace {

// Device units of a position given in tenths of a millimetre.
struct Tenths {
    double u;
    double operator()(double tenths) const { return tenths * u; }
    platform::RectF box(double l, double t, double r, double b) const {
        return {l * u, t * u, (r - l) * u, (b - t) * u};
    }
    void line(platform::Canvas& c, double ax, double ay, double bx, double by) const {
        c.drawLine({ax * u, ay * u}, {bx * u, by * u});
    }
};

platform::Font pageFont(double points, int weight, double dpiX) {
    platform::Font f;
    f.family = "Arial Cyr";
    f.height = points * dpiX / 72.0;
    f.weight = weight;
    return f;
}

} // namespace

HatchCull hatchSampleFrame(double dpiX) {
    const Tenths t{dpiX * 0.003937007874015748};
    return {std::llround(t(350)), std::llround(t(550)), std::llround(t(1350)),
            std::llround(t(1550))};
}

void DrawHatchSample(platform::Canvas& canvas, const HatchPattern& pattern,
                     const HatchSymbolShapes& symbols, double dpiX) {
    const Tenths t{dpiX * 0.003937007874015748};
    canvas.setTextColor(platform::kBlack);
    canvas.setFont(pageFont(14, 700, dpiX));
    canvas.drawText(t.box(300, 200, 1350, 300), platform::kAlignHCenter | platform::kAlignTop,
                    "Тестовая печать вида штриховки");
    canvas.setFont(pageFont(12, 400, dpiX));
    canvas.drawText(t.box(300, 300, 2000, 400), platform::kAlignLeft | platform::kAlignTop,
                    "Наименование: " + pattern.name);
    canvas.setFont(pageFont(8, 400, dpiX));
    for (int i = 0; i <= 10; ++i) {
        const std::string label = std::to_string(i);
        canvas.drawText(t.box(200, 500 + 100 * i, 270, 600 + 100 * i),
                        platform::kAlignRight | platform::kAlignVCenter, label);
        canvas.drawText(t.box(300 + 100 * i, 400, 400 + 100 * i, 470),
                        platform::kAlignHCenter | platform::kAlignBottom, label);
    }
    canvas.setPen({platform::kBlack, t.u, platform::Pen::Style::Solid});
    canvas.setBrush({platform::kWhite, platform::Brush::Style::None});
    t.line(canvas, 300, 500, 1350, 500);
    t.line(canvas, 300, 500, 300, 1550);
    canvas.drawRect(t.box(350, 550, 1350, 1550));
    for (int i = 0; i <= 10; ++i) {
        t.line(canvas, 350 + 100 * i, 480, 350 + 100 * i, 520);
        t.line(canvas, 280, 550 + 100 * i, 320, 550 + 100 * i);
    }
    for (int i = 0; i < 100; ++i) {
        t.line(canvas, 350 + 10 * i, 490, 350 + 10 * i, 500);
        t.line(canvas, 290, 550 + 10 * i, 300, 550 + 10 * i);
    }
    const HatchCull frame = hatchSampleFrame(dpiX);
    canvas.save();
    canvas.clipRect(t.box(350, 550, 1350, 1550));
    DrawHatch(canvas, pattern, symbols, dpiX, frame.left, frame.top, frame.right, frame.bottom, -1,
              -1, frame);
    canvas.restore();
}

} // namespace orvo::dict
