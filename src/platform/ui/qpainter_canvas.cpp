// Canvas calls mapped onto QPainter.
#include "platform/ui/qpainter_canvas.h"

#include "platform/ui/qstring.h"
#include "platform/ui/qt_fonts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace orvo::platform {

using ui::qs;

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
// QPainter counts angles in sixteenths of a degree.
int sixteenths(double deg) {
    return static_cast<int>(std::lround(deg * 16));
}

// The canvas gives the angle of a ray from the centre; QPainter measures angles on the
// ellipse as if it were a stretched circle. On anything but a circle they differ.
double parametric(const RectF& r, double rayDeg) {
    const double a = r.width / 2;
    const double b = r.height / 2;
    if (a <= 0 || b <= 0 || a == b)
        return rayDeg;
    constexpr double kPi = 3.14159265358979323846;
    const double theta = rayDeg * kPi / 180;
    const double t = std::atan2(a * std::sin(theta), b * std::cos(theta)) * 180 / kPi;
    // The ray and its parametric angle lie in the same quarter, so the whole turns are the
    // nearest multiple of 360 to their difference. Taken from the ray alone they would be a
    // turn off due west, where atan2 may answer +180 for a ray of -180 or the reverse.
    const double turns = std::round((rayDeg - t) / 360);
    return t + turns * 360;
}

// Start and span for QPainter from a ray start and span. The mapping keeps the order of rays
// and whole turns, so a span of up to a full turn stays one; QPainter draws anything longer as
// the whole ellipse.
std::pair<int, int> arcAngles(const RectF& r, double startDeg, double spanDeg) {
    spanDeg = std::clamp(spanDeg, -360.0, 360.0);
    const double start = parametric(r, startDeg);
    const double end = parametric(r, startDeg + spanDeg);
    return {sixteenths(start), sixteenths(end - start)};
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
    m_escapement = font.escapement;
}

void QPainterCanvas::setTextColor(const Color& color) {
    m_textColor = color;
}
void QPainterCanvas::setFillRule(FillRule rule) {
    m_fillRule = rule;
}
void QPainterCanvas::drawLine(PointF a, PointF b) {
    m_p.drawLine(qp(a), qp(b));
}
void QPainterCanvas::drawPolyline(std::span<const PointF> ps) {
    m_p.drawPolyline(poly(ps));
}
void QPainterCanvas::drawPolygon(std::span<const PointF> ps) {
    m_p.drawPolygon(poly(ps), m_fillRule == FillRule::Winding ? Qt::WindingFill : Qt::OddEvenFill);
}
void QPainterCanvas::drawRect(const RectF& r) {
    m_p.drawRect(qr(r));
}
void QPainterCanvas::drawEllipse(const RectF& r) {
    m_p.drawEllipse(qr(r));
}

void QPainterCanvas::drawArc(const RectF& r, double startDeg, double spanDeg) {
    const auto [start, span] = arcAngles(r, startDeg, spanDeg);
    m_p.drawArc(qr(r), start, span);
}

void QPainterCanvas::drawChord(const RectF& r, double startDeg, double spanDeg) {
    const auto [start, span] = arcAngles(r, startDeg, spanDeg);
    m_p.drawChord(qr(r), start, span);
}

void QPainterCanvas::drawPie(const RectF& r, double startDeg, double spanDeg) {
    const auto [start, span] = arcAngles(r, startDeg, spanDeg);
    m_p.drawPie(qr(r), start, span);
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
    if (m_escapement % 3600 == 0) {
        m_p.drawText(qr(box).normalized(), flags, qs(utf8));
    } else {
        // Turned about the box's centre; a quarter turn swaps the box's sides.
        const QRectF r = qr(box).normalized();
        const bool quarter = (m_escapement / 900) % 2 != 0 && m_escapement % 900 == 0;
        const QSizeF along = quarter ? QSizeF(r.height(), r.width()) : r.size();
        m_p.save();
        m_p.translate(r.center());
        m_p.rotate(-m_escapement / 10.0);
        m_p.drawText(QRectF(QPointF(-along.width() / 2, -along.height() / 2), along), flags,
                     qs(utf8));
        m_p.restore();
    }
    m_p.setPen(pen);
}

void QPainterCanvas::drawTextAt(PointF baseline, std::string_view utf8) {
    const QPen pen = m_p.pen();
    m_p.setPen(qc(m_textColor));
    if (m_escapement % 3600 == 0) {
        m_p.drawText(qp(baseline), qs(utf8));
    } else {
        m_p.save();
        m_p.translate(qp(baseline));
        m_p.rotate(-m_escapement / 10.0);
        m_p.drawText(QPointF(0, 0), qs(utf8));
        m_p.restore();
    }
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
    path.setFillRule(m_fillRule == FillRule::Winding ? Qt::WindingFill : Qt::OddEvenFill);
    m_p.setClipPath(path, Qt::IntersectClip);
}

} // namespace orvo::platform
