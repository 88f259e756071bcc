// Canvas calls mapped onto QPainter.
#include "platform/ui/qpainter_canvas.h"

#include "platform/ui/qt_fonts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace orvo::platform {

namespace {

QColor qc(const Color& c) {
    return QColor(c.r, c.g, c.b, c.a);
}
QPointF qp(PointF p) {
    return {p.x, p.y};
}
QRectF qr(const RectF& r) {
    return {r.x, r.y, r.width, r.height};
}
QPolygonF poly(std::span<const PointF> ps) {
    QPolygonF out;
    out.reserve(static_cast<qsizetype>(ps.size()));
    for (const auto& p : ps)
        out << qp(p);
    return out;
}
QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
// QPainter counts angles in sixteenths of a degree.
int sixteenths(double deg) {
    return static_cast<int>(std::lround(deg * 16));
}

} // namespace

void QPainterCanvas::setPen(const Pen& pen) {
    m_pen = pen;
    if (pen.style == Pen::Style::None) {
        m_p.setPen(Qt::NoPen);
        return;
    }
    QPen qpen(qc(pen.color));
    qpen.setWidthF(pen.width);
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::MiterJoin);
    switch (pen.style) {
    case Pen::Style::Dash:
        qpen.setStyle(Qt::DashLine);
        break;
    case Pen::Style::Dot:
        qpen.setStyle(Qt::DotLine);
        break;
    case Pen::Style::DashDot:
        qpen.setStyle(Qt::DashDotLine);
        break;
    default:
        qpen.setStyle(Qt::SolidLine);
        break;
    }
    m_p.setPen(qpen);
}

void QPainterCanvas::setBrush(const Brush& brush) {
    m_p.setBrush(brush.style == Brush::Style::None ? QBrush(Qt::NoBrush) : QBrush(qc(brush.color)));
}

void QPainterCanvas::setFont(const Font& font) {
    QFont f = fontForFace(font.family, 10, font.weight);
    // The height is the character cell in device units, whatever the device's resolution.
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.height))));
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    m_p.setFont(f);
}

void QPainterCanvas::setTextColor(const Color& color) {
    m_textColor = color;
}
void QPainterCanvas::drawLine(PointF a, PointF b) {
    m_p.drawLine(qp(a), qp(b));
}
void QPainterCanvas::drawPolyline(std::span<const PointF> ps) {
    m_p.drawPolyline(poly(ps));
}
void QPainterCanvas::drawPolygon(std::span<const PointF> ps) {
    m_p.drawPolygon(poly(ps));
}
void QPainterCanvas::drawRect(const RectF& r) {
    m_p.drawRect(qr(r));
}
void QPainterCanvas::drawEllipse(const RectF& r) {
    m_p.drawEllipse(qr(r));
}

void QPainterCanvas::drawArc(const RectF& r, double startDeg, double spanDeg) {
    m_p.drawArc(qr(r), sixteenths(startDeg), sixteenths(spanDeg));
}

void QPainterCanvas::drawChord(const RectF& r, double startDeg, double spanDeg) {
    m_p.drawChord(qr(r), sixteenths(startDeg), sixteenths(spanDeg));
}

void QPainterCanvas::drawPie(const RectF& r, double startDeg, double spanDeg) {
    m_p.drawPie(qr(r), sixteenths(startDeg), sixteenths(spanDeg));
}

void QPainterCanvas::drawText(const RectF& box, unsigned align, std::string_view utf8) {
    int flags = Qt::TextSingleLine | Qt::TextDontClip;
    flags |= (align & kAlignHCenter) ? Qt::AlignHCenter
             : (align & kAlignRight) ? Qt::AlignRight
                                     : Qt::AlignLeft;
    flags |= (align & kAlignVCenter)  ? Qt::AlignVCenter
             : (align & kAlignBottom) ? Qt::AlignBottom
                                      : Qt::AlignTop;
    const QPen pen = m_p.pen();
    m_p.setPen(qc(m_textColor));
    m_p.drawText(qr(box).normalized(), flags, qs(utf8));
    m_p.setPen(pen);
}

void QPainterCanvas::drawTextAt(PointF baseline, std::string_view utf8) {
    const QPen pen = m_p.pen();
    m_p.setPen(qc(m_textColor));
    m_p.drawText(qp(baseline), qs(utf8));
    m_p.setPen(pen);
}

SizeF QPainterCanvas::measureText(std::string_view utf8) {
    const QFontMetricsF fm(m_p.font(), m_p.device());
    return {fm.horizontalAdvance(qs(utf8)), fm.height()};
}

void QPainterCanvas::save() {
    m_p.save();
}
void QPainterCanvas::restore() {
    m_p.restore();
}

void QPainterCanvas::clipRect(const RectF& r) {
    m_p.setClipRect(qr(r), Qt::IntersectClip);
}

void QPainterCanvas::clipPolygon(std::span<const PointF> ps) {
    QPainterPath path;
    path.addPolygon(poly(ps));
    path.closeSubpath();
    m_p.setClipPath(path, Qt::IntersectClip);
}

} // namespace orvo::platform
