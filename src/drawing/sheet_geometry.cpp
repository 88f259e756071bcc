// Sheet geometry: units, borehole positions, the depth scale.
#include "drawing/sheet_geometry.h"

#include <algorithm>
#include <cmath>

namespace orvo::drawing {

namespace {

constexpr double kLimit = 1e12; // far beyond any sheet, far within int64

std::int64_t saturate(double v) {
    if (!(v == v))
        return 0;
    return static_cast<std::int64_t>(std::clamp(v, -kLimit, kLimit));
}

float distance(const section::LayoutBorehole& a, const section::LayoutBorehole& b) {
    const auto dx = static_cast<float>(b.x) - static_cast<float>(a.x);
    const auto dy = static_cast<float>(b.y) - static_cast<float>(a.y);
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace

float pixelsPerDesignUnit(double dpi) {
    return static_cast<float>(dpi) / 254.0f;
}

std::int64_t toPixels(double v, float factor) {
    return saturate(static_cast<double>(static_cast<float>(v) * factor));
}

float distanceMetres(float hundredths) {
    return (hundredths + 0.5f) / 100.0f;
}

std::int64_t paperLength(std::int64_t hundredths, std::int32_t scale) {
    return scale > 0 ? hundredths * 100 / scale : 0;
}

std::int64_t SheetGeometry::designY(std::int64_t elevation) const {
    return (elevation - std::int64_t{baseMetres} * 100) * 100 / std::max(verticalScale, 1) +
           kBaseLineY;
}

std::int64_t SheetGeometry::depthUp(int b, std::int64_t depth) const {
    return collarUp[static_cast<std::size_t>(b)] -
           dy(static_cast<double>(paperLength(depth, verticalScale)));
}

platform::RectF SheetGeometry::box(double x1, double y1, double x2, double y2) const {
    const auto left = static_cast<double>(dx(x1));
    const auto right = static_cast<double>(dx(x2));
    const double top = y(y2);
    const double bottom = y(y1);
    return {left, top, right - left, bottom - top};
}

std::int64_t SheetGeometry::offsetX(float metres) const {
    return saturate(static_cast<double>(metres * 10000.0f / static_cast<float>(horizontalScale)));
}

std::int64_t SheetGeometry::offsetY(float metres) const {
    return saturate(static_cast<double>(metres * 10000.0f / static_cast<float>(verticalScale)));
}

SheetGeometry MakeSheetGeometry(const section::SectionLayout& layout, int sheet, double dpiX,
                                double dpiY) {
    SheetGeometry g;
    g.px = pixelsPerDesignUnit(dpiX);
    g.py = pixelsPerDesignUnit(dpiY);
    g.horizontalScale = std::max(layout.horizontalScale, 1);
    g.verticalScale = std::max(layout.verticalScale, 1);
    const auto& range = layout.sheets.at(static_cast<std::size_t>(sheet));
    g.first = range.first;
    g.last = range.last;
    g.baseMetres = range.bottom / 100; // toward zero: -5.5 m gives -5
    const std::int64_t stampWidth = sheet == 0 ? layout.stampFirstWidth : layout.stampOtherWidth;
    g.heightPx = g.dy(static_cast<double>(layout.sheetHeight));
    g.widthPx = g.dx(static_cast<double>(section::kSheetMarginWidth + stampWidth +
                                         paperLength(range.length, g.horizontalScale)));

    const auto n = layout.boreholes.size();
    g.designX.assign(n, 0);
    g.distanceToNext.assign(n, 0);
    std::vector<std::int64_t> step(n, 0);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        g.distanceToNext[i] = distance(layout.boreholes[i], layout.boreholes[i + 1]);
        step[i] = saturate(static_cast<double>((g.distanceToNext[i] + 0.5f) * 100.0f /
                                               static_cast<float>(g.horizontalScale)));
    }
    if (n > 0) {
        const auto first = static_cast<std::size_t>(std::clamp(g.first, 0, int(n) - 1));
        g.designX[first] = kFirstBoreholeX;
        for (std::size_t i = first + 1; i < n; ++i)
            g.designX[i] = g.designX[i - 1] + step[i - 1];
        for (std::size_t i = first; i-- > 0;)
            g.designX[i] = g.designX[i + 1] - step[i];
    }
    g.x.resize(n);
    g.collarUp.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        g.x[i] = g.dx(static_cast<double>(g.designX[i]));
        g.collarUp[i] = g.dy(static_cast<double>(g.designY(layout.boreholes[i].elevation)));
    }
    return g;
}

std::vector<connect::PointPosition> pointPositions(const SheetGeometry& g,
                                                   const connect::ConnectionModel& model) {
    std::vector<connect::PointPosition> out;
    out.reserve(model.points.size());
    const auto clamp32 = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
    };
    for (const auto& p : model.points) {
        const int b = std::clamp(p.borehole, 0, static_cast<int>(g.x.size()) - 1);
        if (g.x.empty()) {
            out.push_back({});
            continue;
        }
        const auto x = g.dx(static_cast<double>(paperLength(p.offset, g.horizontalScale))) +
                       g.x[static_cast<std::size_t>(b)];
        out.push_back({clamp32(x), clamp32(g.depthUp(b, p.depth))});
    }
    return out;
}

} // namespace orvo::drawing
