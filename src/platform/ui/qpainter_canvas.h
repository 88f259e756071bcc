// The canvas on a QPainter: screen widgets, QPicture metafiles, printers, PDF and images.
#pragma once
#include "platform/canvas.h"

class QPainter;

namespace orvo::platform {

class QPainterCanvas : public Canvas {
public:
    // The painter stays the caller's; it must be active while the canvas is used.
    explicit QPainterCanvas(QPainter& painter) : m_p(painter) {}

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
    QPainter& m_p;
    Pen m_pen;
    Color m_textColor = kBlack;
    int m_escapement = 0;
    FillRule m_fillRule = FillRule::OddEven;
};

} // namespace orvo::platform
