// The borehole data sheet drawn on a canvas in layout units (tenths of a millimetre on paper):
// page k spans x = 2200k .. 2200k + 2100 and y = 0 .. 2970 downwards, so the picture of n pages
// is (2200n - 100) x 2970. Also the layout dialog's preview with sample data.
//
// Text heights: a font gets textHeight x dpi / 254 device pixels, the formula layout files are
// tuned to. The sheet is drawn in tenths of a millimetre, so the formula is evaluated at a fixed
// 96 dpi: a text is 0.378 of its nominal height on every screen and printer (a "9 mm" element
// gives 3.4 mm letters). The preview multiplies the height by its font scale.
#pragma once
#include "datasheet/sheet_data.h"
#include "datasheet/sheet_layout.h"
#include "platform/canvas.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvo::datasheet {

inline constexpr double kPageWidth = 2100;
inline constexpr double kPageHeight = 2970;
inline constexpr double kPageStep = 2200;

// The width of the picture of `pages` pages.
inline double sheetPictureWidth(int pages) {
    return kPageStep * pages - (kPageStep - kPageWidth);
}

platform::Font CreateElementFont(const SheetLayout& layout, int element, double scale = 1.0);

// One line of text in the box, vertically centred, black or red. With `useAlignment` the
// element's own alignment (right before centre before left), else `alignment`.
void DrawElementText(platform::Canvas& canvas, const SheetLayout& layout, std::string_view utf8,
                     int element, const platform::RectF& box, bool highlight, bool useAlignment,
                     unsigned alignment = platform::kAlignLeft);

// A white page at offset `xo` with the page frame when its pen is not 0.
void StartSheetPage(platform::Canvas& canvas, const SheetLayout& layout, double xo);

// One table of the sheet: what its heading says and its rows' cells (UTF-8).
struct SheetTable {
    int left = 0;     // offset from the frame left on the first page with the drawing frame
    int heading = 0;  // full heading height
    int numbered = 0; // numbered heading height on later pages
    int row = 0;      // row height
    int gap = 0;      // after the table
    std::vector<int> widths;
    struct Head {
        std::string top;
        std::string bottom; // empty: `top` takes the full height
    };
    std::vector<Head> heads;
    std::vector<std::vector<std::string>> rows;
};

// Where the sheet goes on: the pages started, the current page offset and y.
struct SheetCursor {
    int pages = 1;
    double xo = 0;
    double y = 0;
    bool drawingShown = false;
};

// Draws the table from the cursor on, starting new pages as the rows need them. After the last
// row a page is started only when `breakAfterLast` (a further table follows).
void DrawSheetTable(platform::Canvas& canvas, const SheetLayout& layout, const SheetTable& table,
                    SheetCursor& cursor, bool breakAfterLast);

// The whole sheet; returns the number of pages.
int RenderBoreholeSheet(platform::Canvas& canvas, const SheetLayout& layout,
                        const borehole::BoreholeEditData& data, const SheetNames& names, int parts);

// The layout with sample data on one page, both headings of every table and five rows each;
// the texts of `textElement` and the lines of `lineElement` in red (-1 for none).
void DrawLayoutPreview(platform::Canvas& canvas, const SheetLayout& layout, int textElement,
                       int lineElement, double fontScale = 1.0);

} // namespace orvo::datasheet
