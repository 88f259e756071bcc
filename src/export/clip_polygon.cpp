// Segment clipping: crossings with every edge, then the pieces between them kept by the winding
// of their midpoints.
#include "export/clip_polygon.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvo::exporter {

void ClipSegmentToPolygon::setPolygon(std::span<const DxfPoint> polygon) {
    m_polygon.assign(polygon.begin(), polygon.end());
    const std::size_t n = m_polygon.size();
    m_edgeLength.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const DxfPoint& a = m_polygon[i];
        const DxfPoint& b = m_polygon[(i + 1) % n];
        m_edgeLength[i] = std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
    }
}

// The angle sum is 360° times the winding number wherever the point is off the outline, so the
// crossings count it there at a fraction of the cost; a point on an edge (where the sum is
// ±180° per edge) is left to the sum.
bool ClipSegmentToPolygon::inside(DxfPoint p) const {
    const std::size_t n = m_polygon.size();
    if (n < 2)
        return false;
    int winding = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const DxfPoint& a = m_polygon[i];
        const DxfPoint& b = m_polygon[i + 1 == n ? 0 : i + 1];
        const double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
        if (std::fabs(side) <= 1e-9 * (m_edgeLength[i] + 1) && p.x >= std::min(a.x, b.x) - 1e-9 &&
            p.x <= std::max(a.x, b.x) + 1e-9 && p.y >= std::min(a.y, b.y) - 1e-9 &&
            p.y <= std::max(a.y, b.y) + 1e-9)
            return angleSumInside(p);
        if (a.y <= p.y) {
            if (b.y > p.y && side > 0)
                ++winding;
        } else if (b.y <= p.y && side < 0) {
            --winding;
        }
    }
    return winding != 0;
}

bool ClipSegmentToPolygon::angleSumInside(DxfPoint p) const {
    const std::size_t n = m_polygon.size();
    constexpr double kDegrees = 180 / std::numbers::pi;
    double sum = 0;
    double previous = std::atan2(m_polygon[0].y - p.y, m_polygon[0].x - p.x);
    for (std::size_t i = 1; i <= n; ++i) {
        const DxfPoint& v = m_polygon[i % n];
        // atan2(0, 0) is 0: a point on a vertex gives a number, never NaN.
        const double angle = std::atan2(v.y - p.y, v.x - p.x);
        double d = (angle - previous) * kDegrees;
        while (d > 180)
            d -= 360;
        while (d <= -180)
            d += 360;
        sum += d;
        previous = angle;
    }
    return std::fabs(sum) >= 0.001;
}

std::span<const ClipPiece> ClipSegmentToPolygon::clip(DxfPoint p1, DxfPoint p2) {
    m_pieces.clear();
    m_cuts.clear();
    const std::size_t n = m_polygon.size();
    const double dx = p2.x - p1.x;
    const double dy = p2.y - p1.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (n < 2 || !(length >= kTolerance) || !std::isfinite(length))
        return {};
    const double slack = kTolerance / length;
    for (std::size_t i = 0; i < n; ++i) {
        const DxfPoint& a = m_polygon[i];
        const DxfPoint& b = m_polygon[(i + 1) % n];
        const double ex = b.x - a.x;
        const double ey = b.y - a.y;
        const double edge = m_edgeLength[i];
        const double denom = dx * ey - dy * ex;
        // Parallel within a relative tolerance: such an edge meets the segment nowhere.
        if (!(edge > 0) || std::fabs(denom) <= 1e-12 * length * edge)
            continue;
        const double wx = a.x - p1.x;
        const double wy = a.y - p1.y;
        const double t = (wx * ey - wy * ex) / denom;
        const double u = (wx * dy - wy * dx) / denom;
        const double edgeSlack = kTolerance / edge;
        if (t >= -slack && t <= 1 + slack && u >= -edgeSlack && u <= 1 + edgeSlack)
            m_cuts.push_back(t);
    }
    std::sort(m_cuts.begin(), m_cuts.end());
    const auto at = [&](double t) { return DxfPoint{p1.x + t * dx, p1.y + t * dy}; };
    double from = 0;
    const auto piece = [&](double to) {
        if ((to - from) * length >= kTolerance) {
            const DxfPoint a = at(from);
            const DxfPoint b = at(to);
            if (inside(at((from + to) / 2)))
                m_pieces.push_back({a, b});
        }
        from = to;
    };
    for (const double t : m_cuts)
        piece(t);
    piece(1);
    // Neighbouring inside pieces (split at a vertex or where an edge was only touched) join.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_pieces.size(); ++i) {
        if (kept > 0 && std::hypot(m_pieces[kept - 1].b.x - m_pieces[i].a.x,
                                   m_pieces[kept - 1].b.y - m_pieces[i].a.y) < 1e-9)
            m_pieces[kept - 1].b = m_pieces[i].b;
        else
            m_pieces[kept++] = m_pieces[i];
    }
    m_pieces.resize(kept);
    return m_pieces;
}

} // namespace orvo::exporter
