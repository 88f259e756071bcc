// Text dump of canvas calls.
#include "platform/recording_canvas.h"

#include "platform/codepage.h"
#include "platform/numbers.h"

#include <cstdio>

namespace orvo::platform {

namespace {

std::string n(double v) {
    std::string s = formatFixed(v, 2);
    return s == "-0.00" ? "0.00" : s;
}
std::string pt(PointF p) {
    return n(p.x) + "," + n(p.y);
}
std::string rect(const RectF& r) {
    return n(r.x) + "," + n(r.y) + " " + n(r.width) + "x" + n(r.height);
}
std::string points(std::span<const PointF> ps) {
    std::string s;
    for (const auto& p : ps)
        s += " " + pt(p);
    return s;
}
const char* penStyle(Pen::Style s) {
    switch (s) {
    case Pen::Style::None:
        return "none";
    case Pen::Style::Solid:
        return "solid";
    case Pen::Style::Dash:
        return "dash";
    case Pen::Style::Dot:
        return "dot";
    case Pen::Style::DashDot:
        return "dashdot";
    }
    return "?";
}
std::string alignText(unsigned a) {
    std::string s;
    s += (a & kAlignHCenter) ? "hcenter" : (a & kAlignRight) ? "right" : "left";
    s += (a & kAlignVCenter) ? "/vcenter" : (a & kAlignBottom) ? "/bottom" : "/top";
    return s;
}
std::size_t characters(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        decodeUtf8(utf8, i);
        ++count;
    }
    return count;
}

} // namespace

std::string formatColor(const Color& c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    std::string s = buf;
    if (c.a != 255) {
        std::snprintf(buf, sizeof buf, "%02x", c.a);
        s += buf;
    }
    return s;
}

void RecordingCanvas::setPen(const Pen& pen) {
    line("pen " + formatColor(pen.color) + " " + n(pen.width) + " " + penStyle(pen.style));
}

void RecordingCanvas::setBrush(const Brush& brush) {
    line(std::string("brush ") +
         (brush.style == Brush::Style::None ? "none" : formatColor(brush.color)));
}

void RecordingCanvas::setFont(const Font& font) {
    m_font = font;
    line("font \"" + font.family + "\" " + n(font.height) + " " + std::to_string(font.weight) +
         (font.italic ? " italic" : "") + (font.underline ? " underline" : "") +
         (font.escapement != 0 ? " esc" + std::to_string(font.escapement) : ""));
}

void RecordingCanvas::setTextColor(const Color& color) {
    line("textcolor " + formatColor(color));
}
void RecordingCanvas::setFillRule(FillRule rule) {
    line(rule == FillRule::Winding ? "fillrule winding" : "fillrule oddeven");
}
void RecordingCanvas::drawLine(PointF a, PointF b) {
    line("line " + pt(a) + " " + pt(b));
}
void RecordingCanvas::drawPolyline(std::span<const PointF> ps) {
    line("polyline" + points(ps));
}
void RecordingCanvas::drawPolygon(std::span<const PointF> ps) {
    line("polygon" + points(ps));
}
void RecordingCanvas::drawRect(const RectF& r) {
    line("rect " + rect(r));
}
void RecordingCanvas::drawEllipse(const RectF& r) {
    line("ellipse " + rect(r));
}

void RecordingCanvas::drawArc(const RectF& r, double startDeg, double spanDeg) {
    line("arc " + rect(r) + " " + n(startDeg) + " " + n(spanDeg));
}

void RecordingCanvas::drawChord(const RectF& r, double startDeg, double spanDeg) {
    line("chord " + rect(r) + " " + n(startDeg) + " " + n(spanDeg));
}

void RecordingCanvas::drawPie(const RectF& r, double startDeg, double spanDeg) {
    line("pie " + rect(r) + " " + n(startDeg) + " " + n(spanDeg));
}

void RecordingCanvas::drawText(const RectF& box, unsigned align, std::string_view utf8) {
    line("text " + rect(box) + " " + alignText(align) + " \"" + std::string(utf8) + "\"");
}

void RecordingCanvas::drawTextAt(PointF baseline, std::string_view utf8) {
    line("textat " + pt(baseline) + " \"" + std::string(utf8) + "\"");
}

SizeF RecordingCanvas::measureText(std::string_view utf8) {
    return {0.6 * m_font.height * static_cast<double>(characters(utf8)), m_font.height};
}

void RecordingCanvas::save() {
    line("save");
}
void RecordingCanvas::restore() {
    line("restore");
}
void RecordingCanvas::clipRect(const RectF& r) {
    line("cliprect " + rect(r));
}
void RecordingCanvas::clipPolygon(std::span<const PointF> ps) {
    line("clippolygon" + points(ps));
}

} // namespace orvo::platform
