// IGE areas of a sheet: hatching traced between the boundaries, and the boundaries themselves.
#include "drawing/sheet_parts.h"

#include "dict/hatch.h"
#include "drawing/section_content.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace orvo::drawing::detail {

namespace {

using platform::PointF;

// The hatch and its symbols per hatch slot, loaded once per sheet.
struct LoadedHatch {
    dict::HatchPattern pattern;
    dict::HatchSymbolShapes symbols;
};

class HatchCache {
public:
    explicit HatchCache(const platform::WorkFolder& folder) : m_folder(folder) {}
    const LoadedHatch* get(std::int32_t slot) {
        if (slot < 0)
            return nullptr;
        auto it = m_loaded.find(slot);
        if (it == m_loaded.end()) {
            std::optional<LoadedHatch> loaded;
            if (auto pattern = dict::LoadHatch(m_folder, slot)) {
                auto symbols = dict::LoadHatchSymbols(m_folder, *pattern);
                loaded = LoadedHatch{std::move(*pattern), std::move(symbols)};
            }
            it = m_loaded.emplace(slot, std::move(loaded)).first;
        }
        return it->second ? &*it->second : nullptr;
    }

private:
    const platform::WorkFolder& m_folder;
    std::map<std::int32_t, std::optional<LoadedHatch>> m_loaded;
};

} // namespace

int drawHatching(platform::Canvas& h, const SheetContext& s, RenderProgress& progress) {
    const auto& g = s.g;
    const auto& model = s.in.model;
    if (model.boreholes.empty())
        return 0;
    const auto positions = pointPositions(g, model);
    const connect::LinesByPoint lines(model);
    const auto hatchOf = HatchOfModelIges(s.in);
    HatchCache hatches(s.folder);
    // One origin and extent for every area of the sheet, so neighbouring areas line up.
    const std::int64_t x0 = g.dx(200);
    const std::int64_t y0 = g.dy(50);
    const std::int64_t x1 = g.widthPx - g.dx(50);
    const std::int64_t y1 = g.heightPx - g.dy(50);
    const auto clipLeft = static_cast<double>(g.dx(1200));
    const double clipBottom = g.y(500);
    const int total = std::min(model.boreholePointTotal(), model.pointCount());
    int hatched = 0;
    // An area between two boreholes is found from both of them; it is hatched once.
    std::set<std::vector<std::int32_t>> done;
    for (int start = 0; start < total; ++start) {
        progress.hatching(start + 1, total);
        const int b = model.points[static_cast<std::size_t>(start)].borehole;
        if (b < g.first || b > g.last)
            continue;
        for (const auto sense : {connect::Sense::Left, connect::Sense::Right}) {
            if ((sense == connect::Sense::Left && b == g.first) ||
                (sense == connect::Sense::Right && b == g.last))
                continue;
            const auto area = connect::TraceArea(model, lines, positions, start, sense);
            if (!area || area->ige < 0 || static_cast<std::size_t>(area->ige) >= hatchOf.size())
                continue;
            const auto* hatch = hatches.get(hatchOf[static_cast<std::size_t>(area->ige)]);
            if (!hatch)
                continue;
            auto key = area->outline;
            std::sort(key.begin(), key.end());
            if (!done.insert(std::move(key)).second)
                continue;
            std::vector<PointF> polygon;
            polygon.reserve(area->outline.size());
            dict::HatchCull cull{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
            for (const auto p : area->outline) {
                const auto& pos = positions[static_cast<std::size_t>(p)];
                const std::int64_t px = pos.x;
                const std::int64_t py = g.heightPx - pos.y;
                polygon.push_back({static_cast<double>(px), static_cast<double>(py)});
                cull = {std::min(cull.left, px), std::min(cull.top, py), std::max(cull.right, px),
                        std::max(cull.bottom, py)};
            }
            h.save();
            h.setFillRule(platform::FillRule::Winding);
            h.clipRect({clipLeft, 0, static_cast<double>(g.widthPx) - clipLeft, clipBottom});
            h.clipPolygon(polygon);
            dict::DrawHatch(h, hatch->pattern, hatch->symbols, s.dpiX, x0, y0, x1, y1, -1, -1,
                            cull);
            h.restore();
            ++hatched;
        }
    }
    return hatched;
}

std::vector<PointF> wavyLine(PointF a, PointF b, double dpiX) {
    const double r = dpiX / 50.8; // half a millimetre
    const double ex = b.x - a.x;
    const double ey = b.y - a.y;
    const double length = std::hypot(ex, ey);
    if (!(r > 0) || !(length > 0) || !std::isfinite(length))
        return {a, b};
    // Along the exact direction from a to b, so the zigzag stays on the line and meets b.
    const double ux = ex / length;
    const double uy = ey / length;
    const double px = std::trunc(2 * r * -uy);
    const double py = std::trunc(2 * r * ux);
    const auto steps = static_cast<std::int64_t>(std::min(length / r + 1, 1e6));
    std::vector<PointF> out;
    out.reserve(static_cast<std::size_t>(steps) + 1);
    for (std::int64_t i = 0; i < steps; ++i) {
        PointF v{a.x + r * static_cast<double>(i) * ux, a.y + r * static_cast<double>(i) * uy};
        if (i % 4 == 1)
            v = {v.x + px, v.y + py};
        else if (i % 4 == 3)
            v = {v.x - px, v.y - py};
        if (std::hypot(v.x - a.x, v.y - a.y) > length)
            v = b;
        out.push_back(v);
    }
    if (out.empty() || out.back().x != b.x || out.back().y != b.y)
        out.push_back(b);
    return out;
}

void drawBoundaries(platform::Canvas& c, const SheetContext& s) {
    const auto& g = s.g;
    const auto& model = s.in.model;
    if (model.boreholes.empty())
        return;
    const auto positions = pointPositions(g, model);
    c.setPen(linePen(g, s.in.form.igeLine));
    const auto device = [&](std::int32_t point) {
        const auto& p = positions[static_cast<std::size_t>(point)];
        return PointF{static_cast<double>(p.x), static_cast<double>(g.heightPx - p.y)};
    };
    for (const auto& line : model.lines) {
        if (line.visible != 1 || line.from < 0 || line.to < 0 || line.from >= model.pointCount() ||
            line.to >= model.pointCount())
            continue;
        const int b = model.points[static_cast<std::size_t>(line.from)].borehole;
        if (b < g.first || b >= g.last)
            continue;
        const PointF a = device(line.from);
        const PointF e = device(line.to);
        if (line.style == connect::LineStyle::Wavy) {
            const auto wave = wavyLine(a, e, s.dpiX);
            c.drawPolyline(wave);
        } else {
            c.drawLine(a, e);
        }
    }
}

} // namespace orvo::drawing::detail
