// Drawing the borehole data sheet and the layout preview.
#include "datasheet/borehole_sheet.h"

#include "platform/codepage.h"
#include "platform/numbers.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orvo::datasheet {

namespace {

using platform::Canvas;
using platform::PointF;
using platform::RectF;

constexpr platform::Color kRed{255, 0, 0};
// Device pixels per inch at which element fonts are sized (see the header).
constexpr double kFontDpi = 96;

RectF box(double left, double top, double right, double bottom) {
    return {left, top, right - left, bottom - top};
}

std::string utf8(const std::string& cp1251) {
    return platform::cp1251ToUtf8(cp1251);
}

// Stored names padded with blanks are shown without them, so they sit centred.
std::string trimmedUtf8(std::string cp1251) {
    while (!cp1251.empty() && cp1251.back() == ' ')
        cp1251.pop_back();
    return utf8(cp1251);
}

std::string fixed2(double v) {
    return platform::formatFixed(v, 2);
}

// What the preview marks: a text element and a line element in red, fonts at a scale.
struct Style {
    int text = -1;
    int line = -1;
    double fontScale = 1;
};

unsigned elementAlignment(const TextAttributes& a) {
    if (a.alignRight != 0)
        return platform::kAlignRight;
    if (a.alignCentre != 0)
        return platform::kAlignHCenter;
    return platform::kAlignLeft;
}

void elementText(Canvas& c, const SheetLayout& l, const Style& s, std::string_view text,
                 int element, const RectF& r, bool useAlignment,
                 unsigned alignment = platform::kAlignLeft) {
    c.setFont(CreateElementFont(l, element, s.fontScale));
    c.setTextColor(s.text == element ? kRed : platform::kBlack);
    const unsigned h =
        useAlignment ? elementAlignment(l.textAttr[static_cast<std::size_t>(element)]) : alignment;
    c.drawText(r, h | platform::kAlignVCenter, text);
}

// Sets the pen of a line element; false when its width is 0 and nothing is to be drawn.
bool linePen(Canvas& c, const SheetLayout& l, const Style& s, int element) {
    const int width = l.linePen[static_cast<std::size_t>(element)];
    if (width == 0)
        return false;
    c.setPen({s.line == element ? kRed : platform::kBlack, static_cast<double>(std::max(0, width)),
              platform::Pen::Style::Solid});
    return true;
}

void outline(Canvas& c, double left, double top, double right, double bottom) {
    const std::array<PointF, 5> p{
        {{left, top}, {left, bottom}, {right, bottom}, {right, top}, {left, top}}};
    c.drawPolyline(p);
}

// The column edges of a table from its left edge.
std::vector<double> columnEdges(double x0, const std::vector<int>& widths) {
    std::vector<double> edges{x0};
    for (int w : widths)
        edges.push_back(edges.back() + w);
    return edges;
}

void innerLines(Canvas& c, const std::vector<double>& edges, double top, double bottom) {
    for (std::size_t i = 1; i + 1 < edges.size(); ++i)
        c.drawLine({edges[i], top}, {edges[i], bottom});
}

// A table heading at y, `height` high: the column titles, or the column numbers.
void drawHeading(Canvas& c, const SheetLayout& l, const Style& s, const SheetTable& t,
                 const std::vector<double>& edges, double y, double height, bool numbered) {
    const double right = edges.back();
    if (linePen(c, l, s, kTableOutline))
        outline(c, edges.front(), y, right, y + height);
    if (linePen(c, l, s, kTableLines))
        innerLines(c, edges, y, y + height);
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const double a = edges[i];
        const double b = edges[i + 1];
        if (numbered) {
            elementText(c, l, s, std::to_string(i + 1), kColumnHeads, box(a, y, b, y + height),
                        false, platform::kAlignHCenter);
            continue;
        }
        if (i >= t.heads.size())
            continue;
        const auto& head = t.heads[i];
        if (head.bottom.empty()) {
            elementText(c, l, s, head.top, kColumnHeads, box(a, y, b, y + height), false,
                        platform::kAlignHCenter);
        } else {
            const double mid = y + height / 2;
            elementText(c, l, s, head.top, kColumnHeads, box(a, y, b, mid), false,
                        platform::kAlignHCenter);
            elementText(c, l, s, head.bottom, kColumnHeads, box(a, mid, b, y + height), false,
                        platform::kAlignHCenter);
        }
    }
}

void drawRow(Canvas& c, const SheetLayout& l, const Style& s, const std::vector<std::string>& cells,
             const std::vector<double>& edges, double y, double height) {
    for (std::size_t i = 0; i + 1 < edges.size() && i < cells.size(); ++i)
        elementText(c, l, s, cells[i], kCellText, box(edges[i], y, edges[i + 1], y + height), false,
                    platform::kAlignHCenter);
    if (linePen(c, l, s, kTableLines))
        c.drawLine({edges.front(), y + height}, {edges.back(), y + height});
}

// The table's sides, bottom and column lines from its top down to y.
void closeTable(Canvas& c, const SheetLayout& l, const Style& s, const std::vector<double>& edges,
                double top, double y) {
    if (linePen(c, l, s, kTableOutline)) {
        const std::array<PointF, 4> p{
            {{edges.front(), top}, {edges.front(), y}, {edges.back(), y}, {edges.back(), top}}};
        c.drawPolyline(p);
    }
    if (linePen(c, l, s, kTableLines))
        innerLines(c, edges, top, y);
}

void newPage(Canvas& c, const SheetLayout& l, SheetCursor& cursor) {
    ++cursor.pages;
    cursor.xo += kPageStep;
    StartSheetPage(c, l, cursor.xo);
    cursor.y = l.size(0) + l.size(4);
}

// The heading and the six title rows with their labels and values.
void drawTitle(Canvas& c, const SheetLayout& l, const Style& s, double headingLeft,
               const std::array<std::string, 6>& values) {
    const int s0 = l.size(0);
    elementText(c, l, s, "Исходные данные по выработке", kHeadingText,
                box(headingLeft, s0 + l.size(4), l.size(1) + l.size(2),
                    s0 + l.size(4) + l.textHeight[kHeadingText]),
                true);

    static const std::array<const char*, 6> kLabels = {
        "Выработка: ",         "Координата по Х: ",
        "Координата по Y: ",   "Абсолютная отметка выработки: ",
        "Глубина выработки: ", "Тип выработки: "};
    std::array<double, 6> labelWidth{};
    std::array<double, 6> valueWidth{};
    c.setFont(CreateElementFont(l, kTitleLabels, s.fontScale));
    for (std::size_t i = 0; i < 6; ++i)
        labelWidth[i] = c.measureText(kLabels[i]).width;
    c.setFont(CreateElementFont(l, kTitleValues, s.fontScale));
    for (std::size_t i = 0; i < 6; ++i)
        valueWidth[i] = c.measureText(values[i]).width;
    const double lm = *std::max_element(labelWidth.begin(), labelWidth.end());
    const double vm = *std::max_element(valueWidth.begin(), valueWidth.end());
    const double x0 = l.size(1) + l.size(7);
    const unsigned align = elementAlignment(l.textAttr[kTitleLabels]);
    const double rowHeight = l.size(8);
    for (std::size_t i = 0; i < 6; ++i) {
        const double y = s0 + l.size(6) + static_cast<double>(i) * rowHeight;
        double valueLeft = x0 + labelWidth[i];
        if (align == platform::kAlignHCenter)
            valueLeft = x0 + lm;
        else if (align == platform::kAlignRight)
            valueLeft = x0 + lm + vm - valueWidth[i];
        elementText(c, l, s, kLabels[i], kTitleLabels,
                    box(valueLeft - labelWidth[i], y, valueLeft, y + rowHeight), true);
        elementText(c, l, s, values[i], kTitleValues,
                    box(valueLeft, y, valueLeft + valueWidth[i], y + rowHeight), true);
    }
}

double titleBottom(const SheetLayout& l) {
    return l.size(0) + l.size(6) + 6.0 * l.size(8);
}

// The three tables' shapes and headings; rows are added by the caller.
SheetTable igeTable(const SheetLayout& l) {
    SheetTable t;
    t.left = l.size(14);
    t.heading = l.size(15);
    t.numbered = l.size(16);
    t.row = l.size(17);
    t.widths = {l.size(18), l.size(19), l.size(20), l.size(21)};
    t.gap = l.size(22);
    t.heads = {
        {"№", "п/п"}, {"Номер", "ИГЭ"}, {"Глубина", ""}, {"Показатель текучести,", "влажность"}};
    return t;
}

SheetTable waterTable(const SheetLayout& l) {
    SheetTable t;
    t.left = l.size(23);
    t.heading = l.size(24);
    t.numbered = l.size(25);
    t.row = l.size(26);
    t.widths = {l.size(27), l.size(28), l.size(29), l.size(30)};
    t.gap = l.size(31);
    t.heads = {{"№", "п/п"}, {"Дата", ""}, {"Глубина", "горизонта"}, {"Тип", "горизонта"}};
    return t;
}

SheetTable sampleTable(const SheetLayout& l) {
    SheetTable t;
    t.left = l.size(32);
    t.heading = l.size(33);
    t.numbered = l.size(34);
    t.row = l.size(35);
    t.widths = {l.size(36), l.size(37), l.size(38)};
    t.heads = {{"№", "п/п"}, {"Тип", "пробы"}, {"Глубина", "отбора"}};
    return t;
}

} // namespace

platform::Font CreateElementFont(const SheetLayout& layout, int element, double scale) {
    platform::Font f;
    if (element < 0 || element >= kTextElements)
        return f;
    const auto e = static_cast<std::size_t>(element);
    const std::string face = layout.face(element);
    if (!face.empty())
        f.family = face;
    f.height = std::trunc(layout.textHeight[e] * kFontDpi * 0.003937007874015748 * scale + 0.5);
    f.weight = layout.textAttr[e].bold != 0 ? 700 : 400;
    f.italic = layout.textAttr[e].italic != 0;
    f.underline = layout.textAttr[e].underline != 0;
    return f;
}

void DrawElementText(Canvas& canvas, const SheetLayout& layout, std::string_view utf8Text,
                     int element, const RectF& r, bool highlight, bool useAlignment,
                     unsigned alignment) {
    if (element < 0 || element >= kTextElements)
        return;
    Style s;
    if (highlight)
        s.text = element;
    elementText(canvas, layout, s, utf8Text, element, r, useAlignment, alignment);
}

void StartSheetPage(Canvas& canvas, const SheetLayout& layout, double xo) {
    canvas.setPen({platform::kBlack, 0, platform::Pen::Style::None});
    canvas.setBrush({platform::kWhite, platform::Brush::Style::Solid});
    canvas.drawRect({xo, 0, kPageWidth, kPageHeight});
    canvas.setBrush({});
    if (!linePen(canvas, layout, {}, kPageFrameLine))
        return;
    const double left = layout.size(1) + xo;
    const double top = layout.size(0);
    outline(canvas, left, top, left + layout.size(2), top + layout.size(3));
}

void DrawSheetTable(Canvas& canvas, const SheetLayout& layout, const SheetTable& table,
                    SheetCursor& cursor, bool breakAfterLast) {
    const Style s;
    const double bottom = layout.size(0) + layout.size(3);
    const double rowHeight = table.row;
    bool headingDue = true;
    bool continued = false;
    double top = cursor.y;
    std::vector<double> edges;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        if (headingDue) {
            const double left = cursor.pages == 1 && cursor.drawingShown
                                    ? layout.size(1) + table.left
                                    : layout.size(10);
            edges = columnEdges(left + cursor.xo, table.widths);
            const double height = continued ? table.numbered : table.heading;
            drawHeading(canvas, layout, s, table, edges, cursor.y, height, continued);
            top = cursor.y;
            cursor.y += height;
            headingDue = false;
        }
        const double rowTop = cursor.y;
        drawRow(canvas, layout, s, table.rows[i], edges, rowTop, rowHeight);
        cursor.y = rowTop + rowHeight;
        const bool last = i + 1 == table.rows.size();
        if (bottom < rowTop + 2 * rowHeight || last) {
            closeTable(canvas, layout, s, edges, top, cursor.y);
            cursor.y += table.gap;
        }
        if (bottom < cursor.y + rowHeight && (!last || breakAfterLast)) {
            newPage(canvas, layout, cursor);
            headingDue = true;
            continued = true;
        }
    }
}

int RenderBoreholeSheet(Canvas& canvas, const SheetLayout& layout,
                        const borehole::BoreholeEditData& data, const SheetNames& names,
                        int parts) {
    SheetCursor cursor;
    cursor.drawingShown = (parts & kPartDrawing) != 0;
    StartSheetPage(canvas, layout, 0);
    drawTitle(
        canvas, layout, {}, layout.size(1),
        {utf8(data.name.bytes()), fixed2(data.x), fixed2(data.y), fixed2(data.elevation),
         fixed2(data.depth),
         trimmedUtf8(slotNameOr(names.types, data.type, platform::utf8ToCp1251("<< удален >>")))});
    cursor.y = titleBottom(layout) + layout.size(9);
    if (cursor.drawingShown) {
        if (!linePen(canvas, layout, {}, kPageFrameLine))
            canvas.setPen({platform::kBlack, 0, platform::Pen::Style::Solid});
        canvas.setBrush({platform::kWhite, platform::Brush::Style::Solid});
        canvas.drawRect({static_cast<double>(layout.size(10)), cursor.y,
                         static_cast<double>(layout.size(11)),
                         static_cast<double>(layout.size(12))});
        canvas.setBrush({});
    }

    const std::string deleted = platform::utf8ToCp1251("<< тип удален >>");
    const bool showIge = (parts & kPartIge) != 0 && data.ige.count() > 0;
    const bool showWater = (parts & kPartWater) != 0 && data.water.count() > 0;
    const bool showSamples = (parts & kPartSamples) != 0 && data.samples.count() > 0;
    const double bottom = layout.size(0) + layout.size(3);
    if (showIge) {
        SheetTable t = igeTable(layout);
        for (int i = 0; i < data.ige.count(); ++i) {
            const auto& r = data.ige.row(i);
            t.rows.push_back({std::to_string(i + 1), utf8(r.text), fixed2(r.depth),
                              trimmedUtf8(slotNameOr(names.consistency, r.type, deleted))});
        }
        DrawSheetTable(canvas, layout, t, cursor, showWater || showSamples);
    }
    if (showWater) {
        SheetTable t = waterTable(layout);
        if (bottom < cursor.y + t.heading + t.row)
            newPage(canvas, layout, cursor);
        for (int i = 0; i < data.water.count(); ++i) {
            const auto& r = data.water.row(i);
            t.rows.push_back({std::to_string(i + 1), utf8(r.text), fixed2(r.depth),
                              trimmedUtf8(slotNameOr(names.water, r.type, deleted))});
        }
        DrawSheetTable(canvas, layout, t, cursor, showSamples);
    }
    if (showSamples) {
        SheetTable t = sampleTable(layout);
        if (bottom < cursor.y + t.heading + t.row)
            newPage(canvas, layout, cursor);
        for (int i = 0; i < data.samples.count(); ++i) {
            const auto& r = data.samples.row(i);
            t.rows.push_back({std::to_string(i + 1),
                              trimmedUtf8(slotNameOr(names.samples, r.type, deleted)),
                              fixed2(r.depth)});
        }
        DrawSheetTable(canvas, layout, t, cursor, false);
    }
    return cursor.pages;
}

void DrawLayoutPreview(Canvas& canvas, const SheetLayout& layout, int textElement, int lineElement,
                       double fontScale) {
    const Style s{textElement, lineElement, fontScale};
    canvas.setPen({platform::kBlack, 0, platform::Pen::Style::None});
    canvas.setBrush({platform::kWhite, platform::Brush::Style::Solid});
    canvas.drawRect({0, 0, kPageWidth, kPageHeight});
    canvas.setBrush({});
    if (linePen(canvas, layout, s, kPageFrameLine))
        outline(canvas, layout.size(1), layout.size(0), layout.size(1) + layout.size(2),
                layout.size(0) + layout.size(3));
    drawTitle(
        canvas, layout, s, layout.size(5),
        {"<наименование выработки>", "000.00", "000.00", "000.00", "000.00", "<тип выработки>"});

    double y = titleBottom(layout) + layout.size(9);
    // The drawing frame, cross-hatched.
    const RectF frame{static_cast<double>(layout.size(10)), y, static_cast<double>(layout.size(11)),
                      static_cast<double>(layout.size(12))};
    if (!linePen(canvas, layout, s, kPageFrameLine))
        canvas.setPen({platform::kBlack, 0, platform::Pen::Style::Solid});
    canvas.drawRect(frame);
    canvas.save();
    canvas.clipRect(frame);
    canvas.setPen({platform::kBlack, 0, platform::Pen::Style::Solid});
    constexpr double kHatchStep = 50;
    const double span = std::min(std::abs(frame.width) + std::abs(frame.height), 20000.0);
    for (double d = 0; d <= span; d += kHatchStep)
        canvas.drawLine({frame.x + d, frame.y}, {frame.x + d - span, frame.y + span});
    for (double d = -span; d <= span; d += kHatchStep)
        canvas.drawLine({frame.x + d, frame.y}, {frame.x + d + span, frame.y + span});
    canvas.restore();

    for (int which = 0; which < 3; ++which) {
        SheetTable t = which == 0   ? igeTable(layout)
                       : which == 1 ? waterTable(layout)
                                    : sampleTable(layout);
        const auto edges = columnEdges(layout.size(1) + t.left, t.widths);
        const double top = y;
        drawHeading(canvas, layout, s, t, edges, y, t.heading, false);
        y += t.heading;
        drawHeading(canvas, layout, s, t, edges, y, t.numbered, true);
        y += t.numbered;
        for (int i = 1; i <= 5; ++i) {
            std::vector<std::string> cells;
            if (which == 0)
                cells = {std::to_string(i), "ИГЭ #" + std::to_string(i), "0.00", "<показатель>"};
            else if (which == 1)
                cells = {std::to_string(i), "00.00.0000", "0.00", "<тип горизонта>"};
            else
                cells = {std::to_string(i), "<тип пробы>", "0.00"};
            drawRow(canvas, layout, s, cells, edges, y, t.row);
            y += t.row;
        }
        closeTable(canvas, layout, s, edges, top, y);
        y += t.gap;
    }
}

} // namespace orvo::datasheet
