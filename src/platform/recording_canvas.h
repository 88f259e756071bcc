// A canvas that writes every call as a line of text, for golden tests of drawings.
#pragma once
#include "platform/canvas.h"

#include <string>

namespace orvo::platform {

// Coordinates are written with two decimals; text is measured as 0.6 of the font height per
// character, so dumps do not depend on installed fonts.
class RecordingCanvas : public Canvas {
public:
    const std::string& dump() const { return m_out; }
    void clear() { m_out.clear(); }

    void setPen(const Pen& pen) override;
    void setBrush(const Brush& brush) override;
    void setFont(const Font& font) override;
    void setTextColor(const Color& color) override;
    void setFillRule(FillRule rule) override;
    void drawLine(PointF a, PointF b) override;
    void drawPolyline(std::span<const PointF> points) override;
    void drawPolygon(std::span<const PointF> points) override;
    void drawRect(const RectF& r) override;
    void drawEllipse(const RectF& r) override;
    void drawArc(const RectF& r, double startDeg, double spanDeg) override;
    void drawChord(const RectF& r, double startDeg, double spanDeg) override;
    void drawPie(const RectF& r, double startDeg, double spanDeg) override;
    void drawText(const RectF& box, unsigned align, std::string_view utf8) override;
    void drawTextAt(PointF baseline, std::string_view utf8) override;
    SizeF measureText(std::string_view utf8) override;
    void save() override;
    void restore() override;
    void clipRect(const RectF& r) override;
    void clipPolygon(std::span<const PointF> points) override;

private:
    void line(const std::string& s) {
        m_out += s;
        m_out += '\n';
    }
    std::string m_out;
    Font m_font;
};

std::string formatColor(const Color& c);

} // namespace orvo::platform
