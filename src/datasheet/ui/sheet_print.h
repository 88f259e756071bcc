// The data sheet on Qt paint devices: the viewer's in-memory picture and the printed pages
// (printer or PDF), with Qt Gui only so the command line can print too.
#pragma once
#include "datasheet/sheet_data.h"
#include "datasheet/sheet_layout.h"

#include <QPicture>

class QPainter;
class QPagedPaintDevice;
class QPaintDevice;

namespace orvo::datasheet {

inline constexpr const char* kPrintJobName = "Печать данных по выработке";

// Everything one rendering needs, read when the sheet is opened or re-rendered.
struct SheetSource {
    SheetLayout layout;
    borehole::BoreholeEditData data;
    SheetNames names;
    int parts = kAllParts;
};

// The whole sheet in layout units; `pages` gets the page count.
QPicture RenderSheetPicture(const SheetSource& source, int& pages);

// Plays the picture of `pages` pages into `target` (coordinates of `painter`), whatever the
// resolution of the device. Only what meets `visible` (same coordinates; empty: everything) is
// drawn.
void PlaySheetPicture(QPainter& painter, const QPicture& picture, int pages, const QRectF& target,
                      const QRectF& visible = {});

// Paints page `page` (from 1) of the sheet's picture on the paper of `device`, with `painter`
// active on it. The page falls on the paper at the device's resolution (dots per centimetre =
// dpi x 0.3937); what lies beside it on the picture is left out.
void PaintSheetPage(QPainter& painter, const QPaintDevice& device, const QPicture& picture,
                    int page);
// Pages `from`..`to`, one sheet of paper each.
void PaintSheetPages(QPainter& painter, QPagedPaintDevice& device, const QPicture& picture,
                     int from, int to);

} // namespace orvo::datasheet
