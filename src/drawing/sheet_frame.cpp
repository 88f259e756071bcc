// The fixed parts of a section sheet: border, frame, footer, elevation scale, title and table.
#include "drawing/sheet_parts.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cstdio>

namespace orvo::drawing {

std::string footerText(const FooterTime& t) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "ORVO-V2.0      %d-%2.2d-%d %d:%2.2d:%2.2d      Tarvel", t.day,
                  t.month, t.year, t.hour, t.minute, t.second);
    return buf;
}

namespace {

std::string trimmedFace(const store::FixedText<40>& face) {
    return face.utf8Trimmed();
}

} // namespace

platform::Font formFont(const dict::DrawingForm& form, int role, double dpiY) {
    const auto r = static_cast<std::size_t>(std::clamp(role, 0, dict::kTextRoleCount - 1));
    platform::Font f;
    f.family = trimmedFace(form.fontFace[r]);
    // Whole em pixels, as the platform's font height in points was converted.
    const int pixels = form.fontSize[r] * static_cast<int>(dpiY) / 72;
    f.height = pixels;
    const auto style = static_cast<dict::FontStyle>(form.fontStyle[r]);
    f.weight = style == dict::FontStyle::Bold || style == dict::FontStyle::BoldItalic ? 700 : 400;
    f.italic = style == dict::FontStyle::Italic || style == dict::FontStyle::BoldItalic;
    return f;
}

platform::Font footerFont(const dict::DrawingForm& form, double dpiY) {
    platform::Font f;
    f.family = trimmedFace(form.fontFace[0]);
    const int pixels = 6 * static_cast<int>(dpiY) / 72;
    f.height = pixels;
    f.weight = 200;
    f.italic = true;
    return f;
}

namespace detail {

platform::Pen linePen(const SheetGeometry& g, std::int32_t tenths) {
    platform::Pen pen;
    pen.width = static_cast<double>(std::max<std::int64_t>(1, g.dx(tenths)));
    return pen;
}

void drawInsideFrame(platform::Canvas& c, const platform::RectF& r, double penWidth) {
    const double half = penWidth / 2;
    c.drawRect({r.x + half, r.y + half, r.width - penWidth, r.height - penWidth});
}

void drawFrameAndFooter(platform::Canvas& c, const SheetGeometry& g, const dict::DrawingForm& form,
                        double dpiY, const FooterTime& time) {
    const auto pen = linePen(g, form.frameLine);
    c.setPen(pen);
    c.setBrush({});
    const auto w = static_cast<double>(g.widthPx);
    const auto h = static_cast<double>(g.heightPx);
    drawInsideFrame(c, {0, 0, w, h}, pen.width);
    const auto left = static_cast<double>(g.dx(200));
    const auto right = w - static_cast<double>(g.dx(50));
    const auto top = static_cast<double>(g.dy(50));
    const auto bottom = h - static_cast<double>(g.dy(50));
    drawInsideFrame(c, {left, top, right - left, bottom - top}, pen.width);
    c.setFont(footerFont(form, dpiY));
    c.setTextColor(platform::kBlack);
    c.drawText(g.box(200, 0, 1500, 50), platform::kAlignLeft | platform::kAlignVCenter,
               footerText(time));
}

namespace {} // namespace

void drawScale(platform::Canvas& c, const SheetContext& s) {
    const auto& g = s.g;
    const auto& range = s.in.layout.sheets[static_cast<std::size_t>(s.sheet)];
    const std::int64_t vs = g.verticalScale;
    const std::int64_t r = g.baseMetres;
    const std::int64_t t = range.top - r * 100;
    const std::int64_t o = ((vs + t) / vs) * vs / 100 + r;
    const std::int64_t steps = std::clamp<std::int64_t>((o - r) * 100 / vs, 0, 10000);
    c.setPen(linePen(g, s.in.form.scaleLine));
    c.setBrush({});
    const auto bar = g.box(990, 600, 1000, static_cast<double>(600 + steps * 100));
    c.drawRect(bar);
    c.setBrush({platform::kBlack, platform::Brush::Style::Solid});
    for (std::int64_t i = 0; i < steps; i += 2)
        c.drawRect(g.box(990, static_cast<double>(600 + i * 100), 1000,
                         static_cast<double>(700 + i * 100)));
    c.setBrush({});
    c.setFont(formFont(s.in.form, 0, s.dpiY));
    for (std::int64_t i = 0; i <= steps; ++i) {
        const auto y = static_cast<double>(600 + i * 100);
        c.drawLine(g.at(980, y), g.at(1000, y));
        c.drawText(g.box(590, y - 50, 970, y + 50), platform::kAlignRight | platform::kAlignVCenter,
                   std::to_string(i * vs / 100 + r));
    }
}

namespace {

void drawTitle(platform::Canvas& c, const SheetContext& s) {
    const auto& l = s.in.layout;
    char buf[512];
    std::snprintf(buf, sizeof buf,
                  "Разрез: %s\nЛист %d из %d\n\nМасштаб:\n- по вертикали 1:%d\n- по "
                  "горизонтали 1:%d",
                  l.name.utf8Trimmed().c_str(), s.sheet + 1, s.sheetCount, l.verticalScale,
                  l.horizontalScale);
    platform::drawTextLines(c, s.g.box(300, 600, 1200, 1800),
                            platform::kAlignLeft | platform::kAlignBottom, buf);
}

void drawTableHeadings(platform::Canvas& c, const SheetContext& s) {
    const auto& g = s.g;
    c.drawRect(g.box(300, 100, 900, 500));
    c.drawLine(g.at(300, 350), g.at(900, 350));
    c.drawLine(g.at(300, 200), g.at(900, 200));
    const unsigned bottom = platform::kAlignHCenter | platform::kAlignBottom;
    c.drawText(g.box(300, 425, 900, 500), bottom, "Наименование");
    c.drawText(g.box(300, 350, 900, 425), bottom, "и № выработки");
    c.drawText(g.box(300, 275, 900, 350), bottom, "Абсолютная отметка");
    c.drawText(g.box(300, 200, 900, 275), bottom, "устья (м)");
    c.drawText(g.box(300, 100, 900, 200), platform::kAlignHCenter | platform::kAlignVCenter,
               "Расстояние (м)");
}

// The dashed leader from the table up to the borehole's bottom: 5 mm dashes, 2 mm gaps.
void drawLeader(platform::Canvas& c, const SheetGeometry& g, int b, std::int64_t bottomUp) {
    const auto x = static_cast<double>(g.x[static_cast<std::size_t>(b)]);
    const auto dash = static_cast<double>(g.dy(50));
    const auto gap = static_cast<double>(g.dy(20));
    const auto end = static_cast<double>(bottomUp);
    if (dash <= 0)
        return;
    for (double up = static_cast<double>(g.dy(500)); up < end; up += dash + gap) {
        const double top = std::min(up + dash, end);
        c.drawLine({x, static_cast<double>(g.heightPx) - up},
                   {x, static_cast<double>(g.heightPx) - top});
    }
}

} // namespace

void drawTitleAndTable(platform::Canvas& c, const SheetContext& s) {
    const auto& g = s.g;
    c.setPen(linePen(g, s.in.form.scaleLine));
    c.setBrush({});
    c.setFont(formFont(s.in.form, 0, s.dpiY));
    drawTitle(c, s);
    drawTableHeadings(c, s);
    const auto right = static_cast<double>(g.designX[static_cast<std::size_t>(g.last)]);
    for (const double y : {500.0, 350.0, 200.0, 100.0})
        c.drawLine(g.at(1300, y), g.at(right, y));

    auto rotated = formFont(s.in.form, 0, s.dpiY);
    rotated.escapement = 900;
    const auto cell = rotated.height;
    for (int b = g.first; b <= g.last; ++b) {
        const auto i = static_cast<std::size_t>(b);
        const auto& bh = s.in.layout.boreholes[i];
        const auto dx = static_cast<double>(g.designX[i]);
        const auto x = static_cast<double>(g.x[i]);
        c.setFont(formFont(s.in.form, 0, s.dpiY));
        std::string name = bh.name;
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        c.drawText(g.box(dx - 200, 350, dx + 200, 500),
                   platform::kAlignHCenter | platform::kAlignVCenter, name);
        c.setFont(rotated);
        const auto collar = g.box(dx, 200, dx, 350);
        c.drawText({x - cell / 2, collar.y, cell, collar.height},
                   platform::kAlignHCenter | platform::kAlignVCenter,
                   platform::formatFixed(static_cast<float>(bh.elevation) / 100.0f, 2));
        if (bh.visible)
            drawLeader(c, g, b, g.depthUp(b, bh.depth));
        c.drawLine(g.at(dx, 100), g.at(dx, 200));
        if (b < g.last) {
            c.setFont(formFont(s.in.form, 0, s.dpiY));
            const float d = g.distanceToNext[i];
            c.drawText(g.box(dx, 100, static_cast<double>(g.designX[i + 1]), 200),
                       platform::kAlignHCenter | platform::kAlignVCenter,
                       platform::formatFixed(distanceMetres(d), 2));
        }
    }
}

} // namespace detail
} // namespace orvo::drawing
