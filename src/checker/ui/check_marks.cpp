// Marks of the checker's lists, drawn with QPainter so no image files are needed.
#include "checker/ui/check_marks.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace orvo::checker::ui {

namespace {

constexpr int kSize = 16;

void paintWarning(QPainter& p) {
    QPainterPath triangle;
    triangle.moveTo(8, 1);
    triangle.lineTo(15, 14.5);
    triangle.lineTo(1, 14.5);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(150, 90, 0), 1));
    p.setBrush(QColor(250, 200, 40));
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 30, 0));
    p.drawRect(QRectF(7.2, 5, 1.6, 5.5));
    p.drawEllipse(QRectF(7.1, 11.3, 1.8, 1.8));
}

// A drill rig: a mast over a collar, the sign of an object being worked on.
void paintWorking(QPainter& p) {
    p.setPen(QPen(QColor(40, 90, 190), 1.6));
    p.drawLine(QPointF(8, 1.5), QPointF(3, 14));
    p.drawLine(QPointF(8, 1.5), QPointF(13, 14));
    p.drawLine(QPointF(5, 9), QPointF(11, 9));
    p.setPen(QPen(QColor(90, 60, 30), 2));
    p.drawLine(QPointF(8, 4), QPointF(8, 15));
}

void paintOk(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 150, 40));
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath tick;
    tick.moveTo(4.5, 8.5);
    tick.lineTo(7, 11);
    tick.lineTo(11.5, 5.5);
    p.drawPath(tick);
}

void paintMark(QPainter& p, Mark mark) {
    p.setRenderHint(QPainter::Antialiasing);
    switch (mark) {
    case Mark::Warning:
        paintWarning(p);
        break;
    case Mark::Working:
        paintWorking(p);
        break;
    case Mark::Ok:
        paintOk(p);
        break;
    }
}

} // namespace

QPixmap markPixmap(Mark mark) {
    QPixmap pix(kSize, kSize);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    paintMark(p, mark);
    return pix;
}

QIcon objectIcon(bool faulty, bool working) {
    QPixmap pix(2 * kSize + 2, kSize);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    if (faulty)
        paintMark(p, Mark::Warning);
    if (working) {
        p.translate(kSize + 2, 0);
        paintMark(p, Mark::Working);
    }
    p.end();
    return QIcon(pix);
}

QIcon boreholeIcon(bool notInList) {
    return QIcon(markPixmap(notInList ? Mark::Warning : Mark::Ok));
}

} // namespace orvo::checker::ui
