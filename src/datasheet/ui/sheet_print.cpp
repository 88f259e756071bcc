// Rendering the data sheet into a picture and onto paper.
#include "datasheet/ui/sheet_print.h"

#include "datasheet/borehole_sheet.h"
#include "platform/ui/picture_play.h"
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

void PlaySheetPicture(QPainter& painter, const QPicture& picture, int pages, const QRectF& target,
                      const QRectF& visible) {
    if (target.width() <= 0 || target.height() <= 0)
        return;
    const double sx = target.width() / sheetPictureWidth(pages);
    const double sy = target.height() / kPageHeight;
    QTransform toTarget;
    toTarget.translate(target.left(), target.top());
    toTarget.scale(1.0, sy / sx);
    painter.save();
    painter.setTransform(toTarget, true);
    platform::ui::PlayPicture(painter, picture, sx,
                              visible.isEmpty() ? QRectF() : toTarget.inverted().mapRect(visible));
    painter.restore();
}

void PaintSheetPage(QPainter& painter, const QPaintDevice& device, const QPicture& picture,
                    int page) {
    // Dots per centimetre; a layout unit is a tenth of a millimetre.
    const double u = device.logicalDpiX() * 0.39370078740157477;
    const double v = device.logicalDpiY() * 0.39370078740157477;
    const double shift = 22.0 * (page - 1) * u;
    painter.save();
    painter.translate(-shift, 0);
    painter.scale(1.0, v / u);
    // Only what meets page p is played.
    platform::ui::PlayPicture(painter, picture, u / 100.0,
                              QRectF(shift, 0, 21.0 * u, kPageHeight * u / 100.0));
    painter.restore();
    // Left of the page is off the paper; paper wider than 21 cm would show the next page.
    const double paperWidth = device.width();
    if (paperWidth > 21.0 * u)
        painter.fillRect(QRectF(21.0 * u, 0, paperWidth - 21.0 * u, device.height()), Qt::white);
}

void PaintSheetPages(QPainter& painter, QPagedPaintDevice& device, const QPicture& picture,
                     int from, int to) {
    for (int page = from; page <= to; ++page) {
        if (page != from)
            device.newPage();
        PaintSheetPage(painter, device, picture, page);
    }
}

} // namespace orvo::datasheet
