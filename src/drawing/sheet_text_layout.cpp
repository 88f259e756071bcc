// Sheet text geometry.
#include "drawing/sheet_text_layout.h"

#include "borehole/borehole_record.h"
#include "borehole/borehole_types.h"

#include <algorithm>
#include <unordered_map>

namespace orvo::drawing {

TextLayout layoutSheetText(platform::Canvas& c, const detail::SheetContext& s, const SheetText& t,
                           double columnX, double half, double levelY) {
    const auto& g = s.g;
    const double offX = static_cast<double>(g.dx(static_cast<double>(g.offsetX(t.dx))));
    const double offY = static_cast<double>(g.dy(static_cast<double>(g.offsetY(t.dy))));
    const double mmX = static_cast<double>(g.dx(10));
    const double mmY = static_cast<double>(g.dy(10));
    TextLayout l;
    switch (t.type) {
    case kIgeLabel: {
        // The text's top-left corner half a text height above the base, the box 1 mm round it.
        c.setFont(formFont(s.in.form, 2, s.dpiY));
        const auto size = c.measureText(t.shown());
        const double left = columnX + half + offX;
        const double top = levelY - offY - size.height / 2;
        l.box = {left, top, size.width, size.height};
        l.align = platform::kAlignLeft | platform::kAlignTop;
        l.frame = {left - mmX, top - mmY, size.width + 2 * mmX, size.height + 2 * mmY};
        break;
    }
    case kBaseElevation:
    case kBaseDepth: {
        c.setFont(formFont(s.in.form, 1, s.dpiY));
        const auto size = c.measureText(t.shown());
        const bool left = t.type == kBaseElevation;
        const double x = left ? columnX + half + offX : columnX - half + offX;
        const double cy = levelY - offY;
        l.box = {x, cy - mmX, 0, 2 * mmX};
        l.align = (left ? platform::kAlignLeft : platform::kAlignRight) | platform::kAlignVCenter;
        l.frame = {left ? x : x - size.width, cy - size.height / 2, size.width, size.height};
        break;
    }
    default: {
        // A level above and its date below a short line as long as the wider of them.
        c.setFont(formFont(s.in.form, 1, s.dpiY));
        const double wide = std::max(c.measureText(t.shown()).width, c.measureText(t.date()).width);
        const double right = columnX - half + offX;
        const double line = levelY - offY;
        const double cell = c.measureText("0").height;
        l.box = {right - wide, line - cell, wide, cell};
        l.align = platform::kAlignRight | platform::kAlignBottom;
        l.dateBox = {right - wide, line, wide, cell};
        l.lineFrom = {right - wide, line};
        l.lineTo = {right, line};
        l.frame = {right - wide, line - cell, wide, 2 * cell};
        break;
    }
    }
    return l;
}

std::vector<TextSite> sheetTextSites(const detail::SheetContext& s) {
    std::unordered_map<std::int32_t, std::vector<std::size_t>> textsOf;
    for (std::size_t i = 0; i < s.in.texts.size(); ++i)
        textsOf[s.in.texts[i].fileNumber].push_back(i);
    const auto find = [&](std::int32_t file, std::int32_t group, float key, std::int32_t type,
                          std::vector<TextSite>& out, double x, double half, double y) {
        const auto it = textsOf.find(file);
        if (it == textsOf.end())
            return;
        for (const auto i : it->second)
            if (s.in.texts[i].sameIdentity(file, group, key, type)) {
                out.push_back({i, x, half, y});
                return;
            }
    };
    std::vector<TextSite> out;
    for (int b = s.g.first; b <= s.g.last; ++b) {
        const auto& lb = s.in.layout.boreholes[static_cast<std::size_t>(b)];
        if (!lb.visible)
            continue;
        const auto record = borehole::ReadBorehole(s.folder, s.in.object, lb.number);
        if (!record)
            continue;
        const auto type = borehole::ReadBoreholeType(s.folder, record->header.type);
        if (!type)
            continue;
        const double x = static_cast<double>(s.g.x[static_cast<std::size_t>(b)]);
        const double half = static_cast<double>(s.g.dx(type->columnWidth)) / 2;
        const auto file = record->header.number;
        for (const auto& layer : record->ige) {
            const double y = s.g.depthY(b, connect::hundredths(layer.baseDepth));
            for (const std::int32_t t : {kIgeLabel, kBaseElevation, kBaseDepth})
                find(file, 0, layer.baseDepth, t, out, x, half, y);
        }
        for (const auto& w : record->water)
            find(file, 1, w.depth, kWaterLevel, out, x, half,
                 s.g.depthY(b, connect::hundredths(w.depth)));
    }
    return out;
}

} // namespace orvo::drawing
