// Painted pictures of the connection editor toolbar: moving along the boreholes, the number of
// columns shown, drawing and editing boundary lines and points, the line kinds, exit and undo.
// Everything is drawn on a 16-unit grid and scaled, so the 1-px lines stay crisp at 16 px.
#include "connect/ui/editor_icons.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace orvo::connect::ui {

namespace {

const QColor kOutline(60, 60, 60);
const QColor kSandy(235, 205, 140);
const QColor kLoam(200, 160, 110);
const QColor kClay(170, 120, 80);
const QColor kGreen(30, 150, 40);
const QColor kRed(200, 30, 30);
const QColor kBlue(40, 90, 190);
const QColor kPencil(220, 150, 30);
const QColor kSpark(250, 190, 20);
const QColor kDoor(150, 100, 50);
// The colours the editor draws its lines in.
const QColor kLine(0, 0, 128);
const QColor kWavy(255, 0, 255);
const QColor kHidden(128, 128, 255);

constexpr double kGrid = 16.0;

QImage blank(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// A filled arrow head with its point at tip, looking along dir.
void arrowHead(QPainter& p, QPointF tip, QPointF dir, const QColor& color, double len = 4,
               double half = 3) {
    const QPointF d = dir / std::hypot(dir.x(), dir.y());
    const QPointF n(-d.y(), d.x());
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({tip, tip - d * len + n * half, tip - d * len - n * half}));
}

// A shaft from -> to ending in a head.
void arrow(QPainter& p, QPointF from, QPointF to, const QColor& color) {
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    p.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(from, to - d * 2.5);
    arrowHead(p, to, d, color, 3.5, 2.5);
}

// A left-pointing navigation triangle with its point at x, centred on the middle row.
void leftTriangle(QPainter& p, double x, double width = 5, double half = 5) {
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(
        QPolygonF({QPointF(x, 8), QPointF(x + width, 8 - half), QPointF(x + width, 8 + half)}));
}

// A borehole column: sandy, loamy and clay layers in an outline.
void column(QPainter& p, const QRectF& r) {
    const QColor layers[3] = {kSandy, kLoam, kClay};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        p.setBrush(layers[i]);
        p.drawRect(QRectF(r.left(), r.top() + r.height() * i / 3, r.width(), r.height() / 3));
    }
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

void boundary(QPainter& p, QPointF a, QPointF b, double width = 1.5) {
    p.setPen(QPen(kLine, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, b);
}

// The usual mouse pointer, its point at tip.
void cursor(QPainter& p, QPointF tip) {
    QPolygonF shape({{0, 0}, {0, 9}, {2, 7}, {3, 10}, {5, 9}, {4, 6}, {7, 6}});
    shape.translate(tip);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(shape);
}

void cross(QPainter& p, QPointF c, double a, double width = 2.2) {
    p.setPen(QPen(kRed, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(c + QPointF(-a, -a), c + QPointF(a, a));
    p.drawLine(c + QPointF(-a, a), c + QPointF(a, -a));
}

// A layer base point as the editor marks it: a small filled square.
void point(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kBlue);
    p.drawRect(r);
}

void pencil(QPainter& p, QPointF tip) {
    const QPointF body = tip + QPointF(1.5, -2);
    p.setPen(QPen(kPencil, 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(body, body + QPointF(5, -7));
    p.setPen(QPen(kOutline, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(tip, body);
}

// A lightning flash: the mark of something done by the program itself.
void spark(QPainter& p, QPointF at) {
    QPolygonF bolt({{2, 0}, {5, 0}, {3.5, 2.5}, {5.5, 2.5}, {1, 7}, {2.2, 3.8}, {0, 3.8}});
    bolt.translate(at);
    p.setPen(QPen(kOutline, 0.6));
    p.setBrush(kSpark);
    p.drawPolygon(bolt);
}

void door(QPainter& p) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(QRectF(2.5, 1.5, 7, 13));
    p.setBrush(kDoor);
    p.drawPolygon(QPolygonF({{2.5, 1.5}, {6.5, 3.5}, {6.5, 15.5}, {2.5, 14.5}}));
    p.setPen(QPen(kSpark, 1));
    p.drawPoint(QPointF(5.5, 9));
}

// A curved arrow rising from the bottom right and turning to the left.
void turnLeft(QPainter& p) {
    QPainterPath path;
    path.moveTo(13, 15);
    path.cubicTo(14.5, 8, 11, 5, 6, 5);
    p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    arrowHead(p, QPointF(1, 5), QPointF(-1, 0), kBlue, 5.5, 4);
}

void paint(QPainter& p, int index) {
    switch (index) {
    case 0: // to begin: |<<
        p.setPen(Qt::NoPen);
        p.setBrush(kOutline);
        p.drawRect(QRectF(1, 3, 2, 10));
        leftTriangle(p, 4);
        leftTriangle(p, 9);
        break;
    case 1: // to left: <
        leftTriangle(p, 4, 7, 6);
        break;
    case 4: // two columns
        column(p, QRectF(2.5, 1.5, 4, 13));
        column(p, QRectF(9.5, 1.5, 4, 13));
        break;
    case 5: // three columns
        column(p, QRectF(0.5, 1.5, 4, 13));
        column(p, QRectF(5.5, 1.5, 4, 13));
        column(p, QRectF(10.5, 1.5, 4, 13));
        break;
    case 6: // draw: a pencil joining two points
        point(p, QRectF(0.5, 11.5, 3, 3));
        point(p, QRectF(12.5, 11.5, 3, 3));
        boundary(p, QPointF(3.5, 13), QPointF(8, 13));
        pencil(p, QPointF(8.5, 12.5));
        break;
    case 7: // select line
        boundary(p, QPointF(1, 8), QPointF(15, 1));
        cursor(p, QPointF(6.5, 5.5));
        break;
    case 8: // next line: the arrow goes on down to the right
        boundary(p, QPointF(1, 9), QPointF(12, 2));
        arrow(p, QPointF(8, 9), QPointF(15, 15), kGreen);
        break;
    case 9: // previous line: the arrow goes back up to the left
        boundary(p, QPointF(4, 14), QPointF(15, 7));
        arrow(p, QPointF(8, 7), QPointF(1, 1), kGreen);
        break;
    case 10: // auto connect: two columns joined at every layer, with a flash
        column(p, QRectF(0.5, 4.5, 3, 11));
        column(p, QRectF(12.5, 4.5, 3, 11));
        boundary(p, QPointF(3.5, 7), QPointF(12.5, 8), 1);
        boundary(p, QPointF(3.5, 10.5), QPointF(12.5, 10), 1);
        boundary(p, QPointF(3.5, 13.5), QPointF(12.5, 14), 1);
        spark(p, QPointF(5.5, 0));
        break;
    case 11: // delete line
        boundary(p, QPointF(1, 11), QPointF(15, 2));
        cross(p, QPointF(11.5, 11.5), 3);
        break;
    case 12: // delete all lines
        for (int i = 0; i < 3; ++i)
            boundary(p, QPointF(1, 5 + i * 4), QPointF(15, 2 + i * 4), 1);
        cross(p, QPointF(8, 8), 6, 2.5);
        break;
    case 13: // select point
        point(p, QRectF(1.5, 1.5, 5, 5));
        cursor(p, QPointF(5.5, 5.5));
        break;
    case 14: // delete point
        point(p, QRectF(1.5, 1.5, 6, 6));
        cross(p, QPointF(11.5, 11.5), 3);
        break;
    case 15: // straight line
        boundary(p, QPointF(1.5, 13), QPointF(14.5, 3), 2);
        break;
    case 16: { // wavy line
        QPainterPath wave;
        wave.moveTo(1, 8);
        wave.cubicTo(3, 2, 5, 2, 6, 8);
        wave.cubicTo(7, 14, 9, 14, 10.5, 8);
        wave.cubicTo(11.5, 3, 13.5, 3, 15, 8);
        p.setPen(QPen(kWavy, 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
        break;
    }
    case 17: // visible boundary: a solid line between two columns
    case 18: // invisible boundary: a dashed pale one
        column(p, QRectF(0.5, 2.5, 3, 12));
        column(p, QRectF(12.5, 2.5, 3, 12));
        if (index == 17) {
            p.setPen(QPen(kLine, 2, Qt::SolidLine, Qt::FlatCap));
        } else {
            QPen dashed(kHidden, 2, Qt::SolidLine, Qt::FlatCap);
            dashed.setDashPattern({1, 1}); // in pen widths: 2 px on, 2 px off
            p.setPen(dashed);
        }
        p.drawLine(QPointF(3.5, 8), QPointF(12.5, 8));
        break;
    case 19: // exit: out of the door
        door(p);
        arrow(p, QPointF(7, 8.5), QPointF(15.5, 8.5), kGreen);
        break;
    case 20: // undo
        turnLeft(p);
        break;
    default:
        break;
    }
}

} // namespace

QImage editorIconImage(int index, int size) {
    QImage img = blank(size);
    if (index < 0 || index >= kEditorIconCount || size <= 0)
        return img;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kGrid, size / kGrid);
    // "To right", "to end" and "redo" are the mirror pictures of their opposites.
    int drawn = index;
    if (index == 2 || index == 3 || index == 21) {
        p.translate(kGrid, 0);
        p.scale(-1, 1);
        drawn = index == 2 ? 1 : index == 3 ? 0 : 20;
    }
    paint(p, drawn);
    return img;
}

QIcon editorIcon(int index) {
    QIcon icon;
    for (int size : {16, 32})
        icon.addPixmap(QPixmap::fromImage(editorIconImage(index, size)));
    return icon;
}

} // namespace orvo::connect::ui
