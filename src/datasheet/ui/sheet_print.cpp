// Rendering the data sheet into a picture and onto paper.
#include "datasheet/ui/sheet_print.h"

#include "datasheet/borehole_sheet.h"
#include "platform/ui/qpainter_canvas.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace orvo::datasheet {

QPicture RenderSheetPicture(const SheetSource& source, int& pages) {
    QPicture picture;
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    platform::QPainterCanvas canvas(painter);
    pages = RenderBoreholeSheet(canvas, source.layout, source.data, source.names, source.parts);
    painter.end();
    picture.setBoundingRect(
        QRect(0, 0, static_cast<int>(sheetPictureWidth(pages)), static_cast<int>(kPageHeight)));
    return picture;
}

void PlaySheetPicture(QPainter& painter, const QPicture& picture, int pages, const QRectF& target) {
    if (target.width() <= 0 || target.height() <= 0 || painter.device() == nullptr)
        return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / sheetPictureWidth(pages), target.height() / kPageHeight);
    painter.scale(96.0 / painter.device()->logicalDpiX(), 96.0 / painter.device()->logicalDpiY());
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

void PaintSheetPages(QPainter& painter, QPagedPaintDevice& device, const SheetSource& source,
                     int from, int to) {
    int pages = 0;
    const QPicture picture = RenderSheetPicture(source, pages);
    // Dots per centimetre; the picture is 22n - 1 cm wide and 29.7 cm high.
    const double u = device.logicalDpiX() * 0.39370078740157477;
    const double v = device.logicalDpiY() * 0.39370078740157477;
    for (int page = from; page <= to; ++page) {
        if (page != from)
            device.newPage();
        painter.save();
        // Page p falls on the paper; the strips beside it stay empty.
        painter.setClipRect(QRectF(0, 0, 21 * u, 29.7 * v));
        PlaySheetPicture(painter, picture, pages,
                         QRectF(-22.0 * (page - 1) * u, 0, (22.0 * pages - 1) * u, 29.7 * v));
        painter.restore();
    }
}

} // namespace orvo::datasheet
