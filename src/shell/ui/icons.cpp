// Painted pictures: folders, objects, layered sections and borehole columns, with small marks
// for "new" (green plus) and "delete" (red cross).
#include "shell/ui/icons.h"

#include <QPainter>
#include <QPainterPath>

namespace orvo::shell::ui {

namespace {

const QColor kOutline(60, 60, 60);
const QColor kFolder(240, 200, 80);
const QColor kArchive(170, 160, 140);
const QColor kSandy(235, 205, 140);
const QColor kClay(170, 120, 80);
const QColor kLoam(200, 160, 110);
const QColor kWater(70, 140, 220);
const QColor kGreen(30, 150, 40);
const QColor kRed(200, 30, 30);
const QColor kBlue(40, 90, 190);

QImage blank(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void folder(QPainter& p, const QRectF& r, const QColor& fill) {
    QPainterPath path;
    path.moveTo(r.left(), r.top() + r.height() * 0.2);
    path.lineTo(r.left() + r.width() * 0.4, r.top() + r.height() * 0.2);
    path.lineTo(r.left() + r.width() * 0.5, r.top() + r.height() * 0.35);
    path.lineTo(r.right(), r.top() + r.height() * 0.35);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(fill);
    p.drawPath(path);
}

// Three soil layers with a wavy boundary: the picture of a section.
void section(QPainter& p, const QRectF& r, bool selected) {
    const QColor layers[3] = {kSandy, kLoam, kClay};
    for (int i = 0; i < 3; ++i) {
        const double top = r.top() + r.height() * i / 3.0;
        QPainterPath band;
        band.moveTo(r.left(), top + (i ? 1 : 0));
        band.cubicTo(r.left() + r.width() * 0.3, top - 2 * (i % 2), r.left() + r.width() * 0.7,
                     top + 2 * (i % 2), r.right(), top);
        band.lineTo(r.right(), r.bottom());
        band.lineTo(r.left(), r.bottom());
        band.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(layers[i]);
        p.drawPath(band);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(selected ? kBlue : kOutline, selected ? 2 : 1));
    p.drawRect(r);
}

// A borehole column: collar mark and layered core.
void borehole(QPainter& p, const QRectF& r) {
    const double w = r.width() * 0.4;
    const QRectF col(r.center().x() - w / 2, r.top() + r.height() * 0.15, w, r.height() * 0.85);
    p.setPen(Qt::NoPen);
    p.setBrush(kSandy);
    p.drawRect(QRectF(col.left(), col.top(), col.width(), col.height() / 3));
    p.setBrush(kLoam);
    p.drawRect(QRectF(col.left(), col.top() + col.height() / 3, col.width(), col.height() / 3));
    p.setBrush(kClay);
    p.drawRect(QRectF(col.left(), col.top() + 2 * col.height() / 3, col.width(), col.height() / 3));
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(col);
    p.drawLine(QPointF(col.left() - 2, col.top()), QPointF(col.right() + 2, col.top()));
    p.setPen(QPen(kWater, 1));
    p.drawLine(QPointF(col.right() + 1, col.top() + col.height() * 0.55),
               QPointF(r.right(), col.top() + col.height() * 0.55));
}

// A survey site: a flag on a plot.
void object(QPainter& p, const QRectF& r, const QColor& plot, bool selected) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(plot);
    p.drawRect(QRectF(r.left(), r.top() + r.height() * 0.6, r.width(), r.height() * 0.4));
    p.drawLine(QPointF(r.left() + r.width() * 0.3, r.top() + r.height() * 0.6),
               QPointF(r.left() + r.width() * 0.3, r.top()));
    p.setBrush(selected ? kBlue : kRed);
    p.drawPolygon(QPolygonF({QPointF(r.left() + r.width() * 0.3, r.top()),
                             QPointF(r.right(), r.top() + r.height() * 0.15),
                             QPointF(r.left() + r.width() * 0.3, r.top() + r.height() * 0.3)}));
}

void plusMark(QPainter& p, int size) {
    const double c = size * 0.75;
    const double a = size * 0.22;
    p.setPen(QPen(kGreen, 2.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(c - a, c), QPointF(c + a, c));
    p.drawLine(QPointF(c, c - a), QPointF(c, c + a));
}

void crossMark(QPainter& p, int size) {
    const double c = size * 0.75;
    const double a = size * 0.2;
    p.setPen(QPen(kRed, 2.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(c - a, c - a), QPointF(c + a, c + a));
    p.drawLine(QPointF(c - a, c + a), QPointF(c + a, c - a));
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& color) {
    p.setPen(QPen(color, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    p.setBrush(color);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({to + d * 1.5, to - d * 3 + n * 3, to - d * 3 - n * 3}));
}

void archiveBox(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kArchive);
    p.drawRect(QRectF(r.left(), r.top() + r.height() * 0.45, r.width(), r.height() * 0.55));
    p.drawRect(
        QRectF(r.left() - 0.5, r.top() + r.height() * 0.3, r.width() + 1, r.height() * 0.15));
}

void document(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(kBlue, 1));
    for (int i = 1; i <= 3; ++i) {
        const double y = r.top() + r.height() * i / 4.5;
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    }
}

void tray(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(r.left(), r.top() + r.height() * 0.6),
                              QPointF(r.left(), r.bottom()), QPointF(r.right(), r.bottom()),
                              QPointF(r.right(), r.top() + r.height() * 0.6)}));
}

} // namespace

QImage toolbarImage(int index) {
    constexpr int s = 16;
    QImage img = blank(s);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF full(1.5, 1.5, s - 3, s - 3);
    const QRectF left(0.5, 0.5, s * 0.7, s * 0.7);
    switch (index) {
    case 0: // data: a page with a pencil
        document(p, QRectF(1.5, 1.5, 10, 13));
        p.setPen(QPen(QColor(220, 150, 30), 3, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(6, 14), QPointF(14, 5));
        p.setPen(QPen(kOutline, 1));
        p.drawLine(QPointF(5, 15), QPointF(6.5, 13.5));
        break;
    case 1:
        folder(p, left, kFolder);
        plusMark(p, s);
        break;
    case 2:
        section(p, left, false);
        plusMark(p, s);
        break;
    case 3:
        borehole(p, QRectF(0.5, 0.5, s * 0.6, s * 0.9));
        plusMark(p, s);
        break;
    case 4:
        folder(p, left, kFolder);
        crossMark(p, s);
        break;
    case 5:
        section(p, left, false);
        crossMark(p, s);
        break;
    case 6:
        borehole(p, QRectF(0.5, 0.5, s * 0.6, s * 0.9));
        crossMark(p, s);
        break;
    case 7: // print: a printer with a sheet
        p.setPen(QPen(kOutline, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 6));
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        p.setPen(kGreen);
        p.drawPoint(QPointF(12.5, 8.5));
        break;
    case 8: // view: a magnifier over a section
        section(p, QRectF(0.5, 0.5, 11, 9), false);
        p.setPen(QPen(kOutline, 1.5));
        p.setBrush(QColor(255, 255, 255, 170));
        p.drawEllipse(QPointF(8.5, 8.5), 4, 4);
        p.setPen(QPen(kOutline, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11.5, 11.5), QPointF(14.5, 14.5));
        break;
    case 9: // to the archive
        archiveBox(p, full);
        arrow(p, QPointF(8, 0.5), QPointF(8, 7), kBlue);
        break;
    case 10: // from the archive
        archiveBox(p, full);
        arrow(p, QPointF(8, 9), QPointF(8, 2), kGreen);
        break;
    case 11: // import: into the tray
        tray(p, full);
        arrow(p, QPointF(8, 0.5), QPointF(8, 10), kGreen);
        break;
    case 12: // export: out of the tray
        tray(p, full);
        arrow(p, QPointF(8, 12), QPointF(8, 2), kBlue);
        break;
    default:
        break;
    }
    return img;
}

QImage treeImage(int index) {
    constexpr int s = 20;
    QImage img = blank(s);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF full(1.5, 1.5, s - 3, s - 3);
    switch (index) {
    case kImgLibrary: // books on a shelf
        for (int i = 0; i < 4; ++i) {
            const QColor c[4] = {kRed, kBlue, kGreen, kClay};
            p.setPen(QPen(kOutline, 1));
            p.setBrush(c[i]);
            p.drawRect(QRectF(2.5 + i * 4, 3.5 + (i % 2) * 2, 3, 13 - (i % 2) * 2));
        }
        p.drawLine(QPointF(1, 17.5), QPointF(19, 17.5));
        break;
    case kImgWorkingFolder:
        folder(p, full, kFolder);
        break;
    case kImgArchiveFolder:
        folder(p, full, kArchive);
        archiveBox(p, QRectF(7.5, 7.5, 9, 9));
        break;
    case kImgArchivedObject:
        object(p, full, kArchive, false);
        break;
    case kImgWorkingObjectSelected:
        object(p, full, QColor(140, 200, 120), true);
        break;
    case kImgWorkingObject:
        object(p, full, QColor(140, 200, 120), false);
        break;
    case kImgSectionSelected:
        section(p, full, true);
        break;
    case kImgSection:
        section(p, full, false);
        break;
    case kImgBorehole:
        borehole(p, full);
        break;
    case kImgBoreholeList:
        for (int i = 0; i < 3; ++i)
            borehole(p, QRectF(0.5 + i * 6, 1.5, 7, 17));
        break;
    default:
        break;
    }
    return img;
}

QIcon toolbarIcon(int index) {
    return QIcon(QPixmap::fromImage(toolbarImage(index)));
}

QIcon treeIcon(int index) {
    return QIcon(QPixmap::fromImage(treeImage(index)));
}

} // namespace orvo::shell::ui
