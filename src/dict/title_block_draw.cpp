// Title block drawing rules.
#include "dict/title_block_draw.h"

#include <cmath>

namespace orvo::dict {

int titleTextHeight(int points) {
    // MulDiv(points, 254, 72): rounded half away from zero.
    const long long num = static_cast<long long>(points) * 254;
    return static_cast<int>(num >= 0 ? (num + 36) / 72 : -((-num + 36) / 72));
}

namespace {

void drawText(platform::Canvas& canvas, const TitleBlock& block, platform::PointF origin,
              double scale, const LogFont& font, const TitleTextBox& box, const std::string& text) {
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
    unsigned align = platform::kAlignVCenter;
    align |= (box.style & kTitleCentred) ? platform::kAlignHCenter
             : (box.style & kTitleRight) ? platform::kAlignRight
                                         : platform::kAlignLeft;
    canvas.drawText(r, align, text);
}

} // namespace

void DrawTitleBlock(platform::Canvas& canvas, const TitleBlock& block, platform::PointF origin,
                    double scale, const TitleFieldText& fieldText) {
    for (const auto& s : block.segments) {
        canvas.setPen({platform::kBlack, s.penWidth * scale, platform::Pen::Style::Solid});
        canvas.drawLine({origin.x + s.x1 * scale, origin.y + (block.height - s.y1) * scale},
                        {origin.x + s.x2 * scale, origin.y + (block.height - s.y2) * scale});
    }
    canvas.setTextColor(platform::kBlack);
    for (const auto& t : block.programTexts) {
        const std::string text =
            fieldText ? fieldText(t.fieldCode) : std::string(titleFieldPlaceholder(t.fieldCode));
        drawText(canvas, block, origin, scale, t.font, t.box, text);
    }
    for (const auto& t : block.editableTexts)
        drawText(canvas, block, origin, scale, t.font, t.box, t.text.utf8());
}

} // namespace orvo::dict
