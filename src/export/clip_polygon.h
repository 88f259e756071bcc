// Clipping of straight segments to a polygon: the pieces of a segment that lie inside it.
#pragma once
#include "export/dxf_writer.h"

#include <span>
#include <vector>

namespace orvo::exporter {

struct ClipPiece {
    DxfPoint a;
    DxfPoint b;
};

// The polygon closes from its last vertex back to the first; it may touch itself (a lens
// outline). Inside means a nonzero winding number, as the screen fills areas.
class ClipSegmentToPolygon {
public:
    ClipSegmentToPolygon() = default;
    explicit ClipSegmentToPolygon(std::span<const DxfPoint> polygon) { setPolygon(polygon); }

    void setPolygon(std::span<const DxfPoint> polygon);
    const std::vector<DxfPoint>& polygon() const { return m_polygon; }

    // The pieces of p1-p2 inside the polygon, in order from p1. Crossings found within
    // kTolerance past the segment's ends are kept, so a piece may reach that far beyond them;
    // pieces shorter than kTolerance are dropped. A piece running along an edge counts as
    // inside.
    std::span<const ClipPiece> clip(DxfPoint p1, DxfPoint p2);

    // Whether the point lies inside: the angles it sees the vertices under, summed in order.
    bool inside(DxfPoint p) const;

    static constexpr double kTolerance = 0.01; // millimetres

private:
    // The angle sum itself, for a point on the outline where the crossing count cannot tell.
    bool angleSumInside(DxfPoint p) const;

    std::vector<DxfPoint> m_polygon;
    std::vector<double> m_edgeLength;
    std::vector<double> m_cuts; // positions along the segment, 0 at p1 and 1 at p2
    std::vector<ClipPiece> m_pieces;
};

} // namespace orvo::exporter
