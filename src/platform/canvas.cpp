// Text layout shared by every canvas: stacked lines and word wrapping.
#include "platform/canvas.h"

#include <algorithm>

namespace orvo::platform {

namespace {

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return lines;
        start = end + 1;
    }
}

} // namespace

void drawTextLines(Canvas& canvas, const RectF& box, unsigned align, std::string_view utf8) {
    const auto lines = splitLines(utf8);
    if (lines.size() == 1) {
        canvas.drawText(box, align, utf8);
        return;
    }
    const double cell = canvas.measureText("X").height;
    const double block = cell * static_cast<double>(lines.size());
    double y = box.y;
    if (align & kAlignBottom)
        y = box.bottom() - block;
    else if (align & kAlignVCenter)
        y = box.y + (box.height - block) / 2;
    const unsigned horizontal = align & (kAlignLeft | kAlignHCenter | kAlignRight);
    for (const auto line : lines) {
        if (!line.empty())
            canvas.drawText({box.x, y, box.width, cell}, horizontal | kAlignTop, line);
        y += cell;
    }
}

std::vector<std::string> wrapText(Canvas& canvas, std::string_view utf8, double width) {
    std::vector<std::string> out;
    for (const auto paragraph : splitLines(utf8)) {
        std::string line;
        std::size_t i = 0;
        while (i < paragraph.size()) {
            if (paragraph[i] == ' ') {
                ++i;
                continue;
            }
            const auto end = std::min(paragraph.find(' ', i), paragraph.size());
            const std::string_view word = paragraph.substr(i, end - i);
            i = end;
            std::string candidate =
                line.empty() ? std::string(word) : line + " " + std::string(word);
            if (!line.empty() && canvas.measureText(candidate).width > width) {
                out.push_back(std::move(line));
                line = std::string(word);
            } else {
                line = std::move(candidate);
            }
        }
        out.push_back(std::move(line));
    }
    return out;
}

} // namespace orvo::platform
