// Rendering a prepared section: every sheet in order, its title block, then the legend.
#include "drawing/render_section.h"

#include "dict/title_block.h"
#include "dict/title_block_draw.h"
#include "drawing/sheet_parts.h"

#include <cstdio>

namespace orvo::drawing {

namespace detail {

void drawStamp(platform::Canvas& c, const SheetContext& s) {
    const auto& l = s.in.layout;
    const int slot = s.sheet == 0 ? l.stampFirstSheet : l.stampOtherSheets;
    if (slot == 0)
        return;
    const auto stored = dict::ReadTitleBlock(s.folder, slot);
    if (!stored)
        return;
    const auto block = dict::normalisedTitleBlock(*stored);
    const auto& g = s.g;
    const double scale = g.px;
    const double width = static_cast<double>(g.dx(block.width));
    const double height = static_cast<double>(g.dy(block.height));
    const platform::PointF origin{static_cast<double>(g.widthPx) - width -
                                      static_cast<double>(g.dx(50)),
                                  static_cast<double>(g.heightPx - g.dy(50)) - height};
    const auto scaleText = [](std::int32_t v) { return "1:" + std::to_string(v); };
    const auto field = [&](int code) -> std::string {
        switch (code) {
        case 0:
            return s.in.objectFullName;
        case 1:
            return l.name.utf8Trimmed();
        case 2:
            return scaleText(l.verticalScale);
        case 3:
            return scaleText(l.horizontalScale);
        case 4:
            return std::to_string(s.sheet + 1);
        case 5:
            return std::to_string(s.sheetCount);
        case 6:
        case 7:
        case 8:
        case 9:
            return l.signatures[static_cast<std::size_t>(code - 6)].utf8Trimmed();
        case 10:
            return s.in.objectContract;
        default:
            return {};
        }
    };
    dict::DrawTitleBlock(c, block, origin, scale, field, 0);
}

} // namespace detail

std::vector<SheetSize> RenderSection(const platform::WorkFolder& folder,
                                     const SectionDrawingInput& input, SheetSink& sink,
                                     RenderProgress& progress, bool withTexts,
                                     const FooterTime& time) {
    std::vector<SheetSize> sizes;
    const int count = static_cast<int>(input.layout.sheets.size());
    for (int m = 0; m < count; ++m) {
        progress.sheet(m + 1, count);
        const auto g = MakeSheetGeometry(input.layout, m, sink.dpiX(), sink.dpiY());
        auto canvases = sink.beginSheet(m);
        const detail::SheetContext s{folder, input,       g,           m,
                                     count,  sink.dpiX(), sink.dpiY(), withTexts};
        auto& p = canvases.p;
        p.setTextColor(platform::kBlack);
        detail::drawFrameAndFooter(p, g, input.form, sink.dpiY(), time);
        detail::drawScale(p, s);
        detail::drawTitleAndTable(p, s);
        detail::drawHatching(canvases.h, s, progress);
        detail::drawBoundaries(p, s);
        detail::drawBoreholes(p, s, progress);
        detail::drawStamp(p, s);
        sink.endSheet(m, g.widthPx, g.heightPx);
        sizes.push_back({g.widthPx, g.heightPx});
    }
    sizes.push_back(RenderLegend(folder, input, sink, count, time));
    progress.finished();
    return sizes;
}

} // namespace orvo::drawing
