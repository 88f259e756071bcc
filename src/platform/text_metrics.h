// Text measurement for drawings written without a screen canvas (DXF): the height of capital
// letters relative to a font's em height, and the width of a text.
#pragma once
#include <string_view>

namespace orvo::platform {

class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    // (cell height - internal leading) / cell height of the face at `points` on the screen, from
    // the font's integer pixel metrics: the share of the em height a capital letter takes.
    virtual double capRatio(std::string_view faceUtf8, int points) const = 0;
    // Width in millimetres of the text in the face at `points`, measured on the screen.
    virtual double textWidthMm(std::string_view faceUtf8, int points,
                               std::string_view textUtf8) const = 0;
};

// For tests and fuzzers: a fixed ratio, and every character `charWidth` em wide.
class FixedTextMetrics : public TextMetrics {
public:
    explicit FixedTextMetrics(double ratio = 0.75, double charWidth = 0.5)
        : m_ratio(ratio), m_charWidth(charWidth) {}
    double capRatio(std::string_view, int) const override { return m_ratio; }
    double textWidthMm(std::string_view, int points, std::string_view textUtf8) const override;

private:
    double m_ratio;
    double m_charWidth;
};

} // namespace orvo::platform
