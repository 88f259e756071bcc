// The data sheet on Qt paint devices: the viewer's in-memory picture and the printed pages
// (printer or PDF), with Qt Gui only so the command line can print too.
#pragma once
#include "datasheet/sheet_data.h"
#include "datasheet/sheet_layout.h"

#include <QPicture>

class QPainter;
class QPagedPaintDevice;

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

// Plays the picture of `pages` pages into `target` (device coordinates of `painter`). Qt
// scales a played picture by the device's dots per inch over 96; that is undone here.
void PlaySheetPicture(QPainter& painter, const QPicture& picture, int pages, const QRectF& target);

// Paints pages `from`..`to` (from 1) of the sheet on `device`, one sheet of paper each, with
// `painter` active on it. A page of the sheet falls on the paper at the device's resolution
// (dots per centimetre = dpi x 0.3937); what lies beside it on the picture is left out.
void PaintSheetPages(QPainter& painter, QPagedPaintDevice& device, const SheetSource& source,
                     int from, int to);

} // namespace orvo::datasheet
