// The one drawing surface of the core: lines, shapes and text in device units, with a
// recording implementation for tests and a QPainter one for screen, printer, PDF and images.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::platform {

struct PointF {
    double x = 0;
    double y = 0;
};

struct RectF {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    double right() const { return x + width; }
    double bottom() const { return y + height; }
};

struct SizeF {
    double width = 0;
    double height = 0;
};

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;
    bool operator==(const Color&) const = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};

struct Pen {
    enum class Style { None, Solid, Dash, Dot, DashDot };
    Color color = kBlack;
    double width = 0; // device units; 0 is the thinnest line the device draws
    Style style = Style::Solid;
};

struct Brush {
    enum class Style { None, Solid };
    Color color = kWhite;
    Style style = Style::None;
};

struct Font {
    std::string family = "Arial Cyr"; // a stored face name; backends map it to an installed one
    double height = 10;               // device units, the height of the character cell
    int weight = 400;                 // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    // Direction of the baseline in tenths of a degree counter-clockwise: 900 runs upward.
    int escapement = 0;
};

// How a self-crossing polygon is filled and clips: odd-even leaves the overlaps out, winding
// fills everything the outline goes round.
enum class FillRule { OddEven, Winding };

// Text placement in a box: one horizontal and one vertical flag.
enum TextAlign : unsigned {
    kAlignLeft = 1,
    kAlignHCenter = 2,
    kAlignRight = 4,
    kAlignTop = 8,
    kAlignVCenter = 16,
    kAlignBottom = 32,
};

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void setPen(const Pen& pen) = 0;
    virtual void setBrush(const Brush& brush) = 0;
    virtual void setFont(const Font& font) = 0;
    virtual void setTextColor(const Color& color) = 0;

    virtual void drawLine(PointF a, PointF b) = 0;
    virtual void drawPolyline(std::span<const PointF> points) = 0;
    // Filled with the brush and outlined with the pen.
    virtual void drawPolygon(std::span<const PointF> points) = 0;
    virtual void drawRect(const RectF& r) = 0;
    virtual void drawEllipse(const RectF& r) = 0;
    // Angles in degrees, counter-clockwise from three o'clock, of rays from the centre: the arc
    // runs from where the start ray meets the ellipse to where the end ray does.
    virtual void drawArc(const RectF& r, double startDeg, double spanDeg) = 0;
    virtual void drawChord(const RectF& r, double startDeg, double spanDeg) = 0;
    virtual void drawPie(const RectF& r, double startDeg, double spanDeg) = 0;
    virtual void setFillRule(FillRule rule) = 0;

    // One line of text placed in the box by the alignment flags; nothing is clipped. With an
    // escaped font the box is the turned text's box and the flags apply along the baseline.
    virtual void drawText(const RectF& box, unsigned align, std::string_view utf8) = 0;
    // Text with its baseline starting at the point.
    virtual void drawTextAt(PointF baseline, std::string_view utf8) = 0;
    // Advance along the baseline and the height of the character cell, whatever the escapement.
    virtual SizeF measureText(std::string_view utf8) = 0;

    virtual void save() = 0;
    virtual void restore() = 0;
    // Narrows the clip to the rectangle or polygon (intersected with the current clip).
    virtual void clipRect(const RectF& r) = 0;
    virtual void clipPolygon(std::span<const PointF> points) = 0;
};

// Text of several lines (split at '\n'), one character cell per line: the block is placed in
// the box by the vertical flag, each line by the horizontal one.
void drawTextLines(Canvas& canvas, const RectF& box, unsigned align, std::string_view utf8);

// The text broken into lines no wider than `width` at blanks (and at '\n'); a word wider than
// that stays whole on a line of its own.
std::vector<std::string> wrapText(Canvas& canvas, std::string_view utf8, double width);

} // namespace orvo::platform
