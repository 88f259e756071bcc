// Title block drawing rules.
#include "dict/title_block_draw.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace orvo::dict {

int titleTextHeight(int points) {
    // MulDiv(points, 254, 72): rounded half away from zero.
    const long long num = static_cast<long long>(points) * 254;
    return static_cast<int>(num >= 0 ? (num + 36) / 72 : -((-num + 36) / 72));
}

namespace {

void drawText(platform::Canvas& canvas, const TitleBlock& block, platform::PointF origin,
              double scale, const LogFont& font, const TitleTextBox& box, const std::string& text,
              bool wrap) {
    platform::Font f;
    f.family = font.faceName.utf8();
    f.height = titleTextHeight(box.size) * scale;
    f.weight = (box.style & kTitleBold) ? 700 : 400;
    f.italic = (box.style & kTitleItalic) != 0;
    f.underline = (box.style & kTitleUnderline) != 0;
    canvas.setFont(f);
    const double ax = origin.x + box.x1 * scale;
    const double ay = origin.y + (block.height - box.y1) * scale;
    const double bx = origin.x + box.x2 * scale;
    const double by = origin.y + (block.height - box.y2) * scale;
    const platform::RectF r{std::min(ax, bx), std::min(ay, by), std::abs(bx - ax),
                            std::abs(by - ay)};
    if (wrap) {
        std::string lines;
        for (const auto& line : platform::wrapText(canvas, text, r.width))
            lines += (lines.empty() ? "" : "\n") + line;
        platform::drawTextLines(canvas, r, platform::kAlignHCenter | platform::kAlignVCenter,
                                lines);
        return;
    }
    unsigned align = platform::kAlignVCenter;
    align |= (box.style & kTitleCentred) ? platform::kAlignHCenter
             : (box.style & kTitleRight) ? platform::kAlignRight
                                         : platform::kAlignLeft;
    canvas.drawText(r, align, text);
}

} // namespace

void DrawTitleBlock(platform::Canvas& canvas, const TitleBlock& block, platform::PointF origin,
                    double scale, const TitleFieldText& fieldText, int wrapField) {
    for (const auto& s : block.segments) {
        canvas.setPen({platform::kBlack, s.penWidth * scale, platform::Pen::Style::Solid});
        canvas.drawLine({origin.x + s.x1 * scale, origin.y + (block.height - s.y1) * scale},
                        {origin.x + s.x2 * scale, origin.y + (block.height - s.y2) * scale});
    }
    canvas.setTextColor(platform::kBlack);
    for (const auto& t : block.programTexts) {
        const std::string text =
            fieldText ? fieldText(t.fieldCode) : std::string(titleFieldPlaceholder(t.fieldCode));
        drawText(canvas, block, origin, scale, t.font, t.box, text,
                 fieldText && t.fieldCode == wrapField);
    }
    for (const auto& t : block.editableTexts)
        drawText(canvas, block, origin, scale, t.font, t.box, t.text.utf8(), false);
}

TitleBlock normalisedTitleBlock(const TitleBlock& block) {
    int minX = INT_MAX;
    int minY = INT_MAX;
    int maxX = INT_MIN;
    int maxY = INT_MIN;
    const auto take = [&](int x1, int y1, int x2, int y2) {
        minX = std::min({minX, x1, x2});
        minY = std::min({minY, y1, y2});
        maxX = std::max({maxX, x1, x2});
        maxY = std::max({maxY, y1, y2});
    };
    for (const auto& s : block.segments)
        take(s.x1, s.y1, s.x2, s.y2);
    for (const auto& t : block.programTexts)
        take(t.box.x1, t.box.y1, t.box.x2, t.box.y2);
    for (const auto& t : block.editableTexts)
        take(t.box.x1, t.box.y1, t.box.x2, t.box.y2);
    TitleBlock out = block;
    if (block.empty())
        return out;
    const auto shift = [&](std::int16_t& v, int by) { v = static_cast<std::int16_t>(v - by); };
    const auto shiftBox = [&](TitleTextBox& b) {
        shift(b.x1, minX);
        shift(b.x2, minX);
        shift(b.y1, minY);
        shift(b.y2, minY);
    };
    for (auto& s : out.segments) {
        shift(s.x1, minX);
        shift(s.x2, minX);
        shift(s.y1, minY);
        shift(s.y2, minY);
    }
    for (auto& t : out.programTexts)
        shiftBox(t.box);
    for (auto& t : out.editableTexts)
        shiftBox(t.box);
    // The true extent, which placing the block needs (the stored one pairs x1 with x2 only).
    out.width = static_cast<std::int16_t>(std::clamp(maxX - minX, 0, INT16_MAX));
    out.height = static_cast<std::int16_t>(std::clamp(maxY - minY, 0, INT16_MAX));
    return out;
}

} // namespace orvo::dict
