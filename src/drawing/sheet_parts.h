// The steps of drawing one section sheet, shared by the renderer's files.
#pragma once
#include "drawing/render_section.h"
#include "drawing/sheet_geometry.h"

#include <vector>

namespace orvo::drawing::detail {

struct SheetContext {
    const platform::WorkFolder& folder;
    const SectionDrawingInput& in;
    const SheetGeometry& g;
    int sheet = 0;
    int sheetCount = 0;
    double dpiX = 0;
    double dpiY = 0;
    bool withTexts = true;
};

// A pen of `tenths` of a millimetre, at least one pixel wide.
platform::Pen linePen(const SheetGeometry& g, std::int32_t tenths);
// A rectangle outlined inside its edges, as a frame pen draws it.
void drawInsideFrame(platform::Canvas& c, const platform::RectF& r, double penWidth);

// The sheet border, the drawing frame 20/5/5/5 mm inside it and the footer in the bottom margin.
void drawFrameAndFooter(platform::Canvas& c, const SheetGeometry& g, const dict::DrawingForm& form,
                        double dpiY, const FooterTime& time);
// The elevation scale left of the section.
void drawScale(platform::Canvas& c, const SheetContext& s);
// Sheet title, table headings and rows, and the boreholes' table entries.
void drawTitleAndTable(platform::Canvas& c, const SheetContext& s);
// IGE areas hatched on the H canvas; returns the number of hatched areas.
int drawHatching(platform::Canvas& h, const SheetContext& s, RenderProgress& progress);
// The visible boundaries whose left end lies on the sheet.
void drawBoundaries(platform::Canvas& c, const SheetContext& s);
// Columns, layer ticks, patterns, sheet texts, groundwater and samples of the visible boreholes.
void drawBoreholes(platform::Canvas& c, const SheetContext& s, RenderProgress& progress);
// The title block of the sheet, right and bottom 5 mm from the edges.
void drawStamp(platform::Canvas& c, const SheetContext& s);

// The zigzag of a wavy boundary from a to b: 2 mm period, 1 mm amplitude at `dpiX`, ending
// exactly at b.
std::vector<platform::PointF> wavyLine(platform::PointF a, platform::PointF b, double dpiX);

} // namespace orvo::drawing::detail
