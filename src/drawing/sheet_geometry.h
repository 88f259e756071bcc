// Where things lie on a section sheet: design units (tenths of a millimetre, Y upward from the
// bottom edge), the reference device's pixels, borehole positions and the depth scale.
#pragma once
#include "connect/auto_connect.h"
#include "connect/connection_model.h"
#include "platform/canvas.h"
#include "section/layout_check.h"

#include <cstdint>
#include <vector>

namespace orvo::drawing {

// Pixels of the reference device per design unit: dots per inch / 254, single precision as the
// drawings stored so far were computed.
float pixelsPerDesignUnit(double dpi);

// trunc(v × factor), saturated so that no value from a damaged file overflows.
std::int64_t toPixels(double v, float factor);

// Design units on paper of a ground length (hundredths of a metre) at a scale 1:scale.
std::int64_t paperLength(std::int64_t hundredths, std::int32_t scale);

struct SheetGeometry {
    float px = 1;
    float py = 1;
    std::int32_t horizontalScale = 1;
    std::int32_t verticalScale = 1;
    int first = 0; // section borehole indices of the sheet
    int last = 0;
    std::int32_t baseMetres = 0;
    std::int64_t widthPx = 0;
    std::int64_t heightPx = 0;
    // Per section borehole (all of them, placed relative to this sheet's first one).
    std::vector<std::int64_t> designX;  // design units from the left edge
    std::vector<std::int64_t> x;        // device pixels
    std::vector<std::int64_t> collarUp; // device pixels above the bottom edge
    std::vector<float> distanceToNext;  // hundredths of a metre; 0 after the last borehole

    std::int64_t dx(double design) const { return toPixels(design, px); }
    std::int64_t dy(double design) const { return toPixels(design, py); }
    // Design Y of an elevation (hundredths of a metre).
    std::int64_t designY(std::int64_t elevation) const;
    // Device y (down from the top) of a design Y.
    double y(double up) const { return static_cast<double>(heightPx - dy(up)); }
    // Device pixels above the bottom edge of a depth below borehole b's collar (hundredths):
    // the one depth scale of columns, ticks, patterns, texts and boundaries.
    std::int64_t depthUp(int b, std::int64_t depth) const;
    double depthY(int b, std::int64_t depth) const {
        return static_cast<double>(heightPx - depthUp(b, depth));
    }
    platform::PointF at(double ax, double ay) const { return {static_cast<double>(dx(ax)), y(ay)}; }
    // A design rectangle x1..x2, Y1..Y2 as a device box.
    platform::RectF box(double x1, double y1, double x2, double y2) const;
    // Design units of an offset in metres (dx at the horizontal scale, dy at the vertical one).
    std::int64_t offsetX(float metres) const;
    std::int64_t offsetY(float metres) const;
};

inline constexpr std::int64_t kFirstBoreholeX = 1300; // 130 mm
inline constexpr std::int64_t kBaseLineY = 600;       // the base elevation sits 60 mm up

// The geometry of sheet `sheet` of the layout on a device of the given resolution. Its width
// and height are also what the sheet reports.
SheetGeometry MakeSheetGeometry(const section::SectionLayout& layout, int sheet, double dpiX,
                                double dpiY);

// The distance row's value in metres: (d + 0.5) / 100 in single precision. The sheet and the
// DXF export both print it with "%.2f" from this one float, so a tie of whole centimetres
// rounds the same way in both.
float distanceMetres(float hundredths);

// Positions of every point of the model on the sheet, y upward, as the area tracing wants them.
std::vector<connect::PointPosition> pointPositions(const SheetGeometry& g,
                                                   const connect::ConnectionModel& model);

} // namespace orvo::drawing
