// Where a sheet text lies on its sheet: the one geometry the renderer draws with and the sheet
// editor's overlay outlines and picks with.
#pragma once
#include "drawing/sheet_parts.h"

#include <vector>

namespace orvo::drawing {

struct TextLayout {
    platform::RectF box; // where the text is drawn, with `align`
    unsigned align = 0;
    platform::RectF frame; // what a label's box is, or the texts' own extent: what is picked
    // A groundwater level: the date below the short line, and the line.
    platform::RectF dateBox;
    platform::PointF lineFrom;
    platform::PointF lineTo;
};

// Sets the text's font on the canvas (it measures with it) and lays the text out beside its
// column: `columnX` the borehole's x, `half` half the column width, `levelY` the device y of the
// layer base or the groundwater level, all in device pixels.
TextLayout layoutSheetText(platform::Canvas& c, const detail::SheetContext& s, const SheetText& t,
                           double columnX, double half, double levelY);

// One sheet text beside the column of a visible borehole of the sheet.
struct TextSite {
    std::size_t index = 0; // into the input's texts
    double columnX = 0;
    double half = 0;
    double levelY = 0;
};
// Every text of the sheet's visible boreholes, as the renderer would draw it with texts on
// (hidden ones included), reading the borehole files and types.
std::vector<TextSite> sheetTextSites(const detail::SheetContext& s);

} // namespace orvo::drawing
