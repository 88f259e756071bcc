// The legend sheet: groundwater, sample and consistency types met in the section's boreholes,
// and the described IGEs with their hatches, in 210 mm columns.
#include "borehole/borehole_record.h"
#include "dict/consistency_type.h"
#include "dict/hatch.h"
#include "dict/mark_type.h"
#include "dict/symbol.h"
#include "drawing/section_content.h"
#include "drawing/sheet_parts.h"

#include <algorithm>
#include <cmath>

namespace orvo::drawing {

namespace {

using platform::RectF;

constexpr double kLeft = 250;         // items start 25 mm from the left edge
constexpr double kRight = 2000;       // headings and rules end at 200 mm
constexpr double kRowWidth = 1750;    // what a row or a table row may take
constexpr double kColumnWidth = 2100; // one legend column
constexpr double kTop = 150;

std::string trimmed(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

struct LegendItem {
    std::string name;
    int symbol = 0; // library slot for a mark type; 0 none
    double symbolWidth = 0;
    double symbolHeight = 0; // design units
    std::vector<dict::ConsistencyElement> pattern;
    bool hasPattern = false;
};

struct LegendIge {
    std::string number;
    std::string description;
    std::int32_t hatch = -1;
};

// One pass over the legend. The first pass only measures (it learns the columns the IGE table
// needs, so that the sheet can be clipped to them); the second draws.
class LegendPainter {
public:
    LegendPainter(platform::Canvas& c, const platform::WorkFolder& folder,
                  const SectionDrawingInput& in, double dpiX, double dpiY, bool draw)
        : m_c(c), m_folder(folder), m_in(in), m_dpiX(dpiX), m_dpiY(dpiY),
          m_px(pixelsPerDesignUnit(dpiX)), m_py(pixelsPerDesignUnit(dpiY)), m_draw(draw),
          m_height(in.layout.sheetHeight) {}

    int columns() const { return m_columns; }

    void run(const std::vector<LegendItem> (&sections)[3], const std::vector<LegendIge>& iges) {
        m_c.setTextColor(platform::kBlack);
        m_c.setPen(pen(m_in.form.scaleLine));
        m_c.setBrush({});
        m_c.setFont(formFont(m_in.form, 3, m_dpiY));
        const double titleHeight = heightOf("Л");
        text({200, m_y, kRight - 200, titleHeight}, platform::kAlignHCenter | platform::kAlignTop,
             "Л И С Т   У С Л О В Н Ы Х   О Б О З Н А Ч Е Н И Й");
        m_y += titleHeight + 50;
        static const char* const headings[3] = {"Уровни подземных вод", "Отборы проб",
                                                "Показатель текучести"};
        for (int i = 0; i < 3; ++i)
            typeSection(headings[i], sections[i], i == 2);
        igeTable(iges);
    }

private:
    double dx(double v) const { return static_cast<double>(toPixels(v, m_px)); }
    double dy(double v) const { return static_cast<double>(toPixels(v, m_py)); }
    RectF box(double x, double y, double w, double h) const {
        return {dx(x), dy(y), dx(x + w) - dx(x), dy(y + h) - dy(y)};
    }
    platform::Pen pen(std::int32_t tenths) const {
        platform::Pen p;
        p.width = std::max(1.0, dx(tenths));
        return p;
    }
    // Measurements come back in design units.
    double widthOf(const std::string& s) { return m_c.measureText(s).width / m_px; }
    double heightOf(const std::string& s) { return m_c.measureText(s).height / m_py; }

    void text(const RectF& designBox, unsigned align, const std::string& s) {
        if (m_draw)
            m_c.drawText(box(designBox.x, designBox.y, designBox.width, designBox.height), align,
                         s);
    }
    void line(double x1, double y1, double x2, double y2) {
        if (m_draw)
            m_c.drawLine({dx(x1), dy(y1)}, {dx(x2), dy(y2)});
    }

    void heading(const std::string& title, double left) {
        m_c.setFont(formFont(m_in.form, 4, m_dpiY));
        const double h = heightOf(title);
        text({left, m_y, kRight - kLeft, h}, platform::kAlignLeft | platform::kAlignBottom, title);
        m_y += h;
        m_c.setPen(pen(m_in.form.scaleLine));
        line(left, m_y, left + kRight - kLeft, m_y);
        m_y += 30;
    }

    void typeSection(const char* title, const std::vector<LegendItem>& items, bool patterns) {
        heading(title, kLeft);
        m_c.setFont(formFont(m_in.form, 5, m_dpiY));
        double k = patterns ? 100 : 0;
        double t = 0;
        double row = patterns ? 100 : 0;
        for (const auto& item : items) {
            if (!patterns && item.symbol > 0) {
                k = std::max(k, item.symbolWidth);
                row = std::max(row, item.symbolHeight);
            }
            t = std::max(t, widthOf(item.name));
            row = std::max(row, heightOf(item.name.empty() ? "X" : item.name));
        }
        const double itemWidth = k + 20 + t;
        double x = kLeft;
        bool rowEmpty = true;
        for (const auto& item : items) {
            // At least one item per row, however wide, so that the flow always ends.
            if (!rowEmpty && x + itemWidth > kLeft + kRowWidth) {
                x = kLeft;
                m_y += patterns ? row + 30 : 1.5 * row;
            }
            drawItem(item, x, k, t, row, patterns);
            x += itemWidth + 100;
            rowEmpty = false;
        }
        m_y += row + 50;
    }

    void drawItem(const LegendItem& item, double x, double k, double t, double row, bool patterns) {
        if (m_draw && patterns && item.hasPattern) {
            const auto r = box(x + k - 100, m_y + (row - 100) / 2, 100, 100);
            m_c.setPen(pen(m_in.form.scaleLine));
            m_c.drawRect(r);
            dict::DrawConsistencyPattern(m_c,
                                         {static_cast<int>(r.x), static_cast<int>(r.y),
                                          static_cast<int>(r.right()),
                                          static_cast<int>(r.bottom())},
                                         item.pattern, m_px / 10.0);
        } else if (m_draw && item.symbol > 0) {
            const platform::PointF at{dx(x + k - item.symbolWidth),
                                      dy(m_y + (row - item.symbolHeight) / 2)};
            (void)dict::DrawSymbol(m_c, m_folder, item.symbol, at, m_px * 0.1f, m_py * 0.1f);
        }
        m_c.setFont(formFont(m_in.form, 5, m_dpiY));
        text({x + k + 20, m_y, t, row}, platform::kAlignLeft | platform::kAlignVCenter, item.name);
    }

    void igeTable(const std::vector<LegendIge>& iges) {
        heading("Описание инженерно-геологических элементов", kLeft);
        m_c.setFont(formFont(m_in.form, 5, m_dpiY));
        double m = 100;
        for (const auto& e : iges)
            m = std::max(m, widthOf(e.number));
        const double textWidth = std::max(10.0, kRowWidth - 20 - m - 150 - 10);
        const double cell = heightOf("X");
        double rowHeight = 100;
        std::vector<std::string> wrapped;
        for (const auto& e : iges) {
            const auto lines = platform::wrapText(m_c, e.description, dx(textWidth));
            std::string joined;
            for (const auto& l : lines)
                joined += (joined.empty() ? "" : "\n") + l;
            wrapped.push_back(joined);
            rowHeight = std::max(rowHeight, cell * static_cast<double>(lines.size()));
        }
        const double bottomLimit = static_cast<double>(m_height) - 100;
        bool columnEmpty = true;
        for (std::size_t i = 0; i < iges.size(); ++i) {
            // At least one row per column, however tall, so that the columns always end.
            if (!columnEmpty && m_y + rowHeight > bottomLimit) {
                ++m_columns;
                m_y = kTop;
                columnEmpty = true;
            }
            const double left = (m_columns - 1) * kColumnWidth + kLeft;
            if (columnEmpty && m_columns > 1) {
                m_c.setPen(pen(m_in.form.scaleLine));
                line(left, m_y, left + kRowWidth, m_y);
            }
            igeRow(iges[i], wrapped[i], left, m, textWidth, rowHeight);
            m_y += rowHeight;
            columnEmpty = false;
        }
    }

    void igeRow(const LegendIge& e, const std::string& description, double left, double m,
                double textWidth, double row) {
        m_c.setPen(pen(m_in.form.scaleLine));
        const double right = left + kRowWidth;
        for (const double x : {left, left + m, left + m + 150, right})
            line(x, m_y, x, m_y + row);
        line(right, m_y + row, left, m_y + row);
        m_c.setFont(formFont(m_in.form, 5, m_dpiY));
        text({left, m_y, m, row}, platform::kAlignHCenter | platform::kAlignVCenter, e.number);
        if (m_draw && e.hatch >= 0) {
            if (const auto hatch = dict::LoadHatch(m_folder, e.hatch)) {
                const auto r = box(left + m, m_y, 150, row);
                dict::DrawHatchIn(m_c, m_folder, *hatch, m_dpiX,
                                  {static_cast<std::int64_t>(r.x), static_cast<std::int64_t>(r.y),
                                   static_cast<std::int64_t>(r.right()),
                                   static_cast<std::int64_t>(r.bottom())});
                m_c.setPen(pen(m_in.form.scaleLine));
            }
        }
        m_c.setFont(formFont(m_in.form, 5, m_dpiY));
        if (m_draw)
            platform::drawTextLines(m_c, box(left + m + 160, m_y, textWidth, row),
                                    platform::kAlignLeft | platform::kAlignVCenter, description);
    }

    platform::Canvas& m_c;
    const platform::WorkFolder& m_folder;
    const SectionDrawingInput& m_in;
    double m_dpiX;
    double m_dpiY;
    float m_px;
    float m_py;
    bool m_draw;
    std::int32_t m_height;
    double m_y = kTop;
    int m_columns = 1;
};

std::vector<LegendItem> markItems(const platform::WorkFolder& folder, dict::MarkList list,
                                  const std::vector<int>& codes) {
    std::vector<dict::SymbolListRecord> symbols;
    if (auto s = dict::ReadSymbolList(folder))
        symbols = std::move(*s);
    std::vector<LegendItem> items;
    for (const int code : codes) {
        const auto type = dict::ReadMarkType(folder, list, code);
        if (!type)
            continue;
        LegendItem item;
        item.name = trimmed(type->name.utf8());
        const auto slot = static_cast<std::size_t>(std::max(type->symbol, 0));
        if (type->used != 0 && type->symbol > 0 && slot < symbols.size() &&
            symbols[slot].used != 0 && symbols[slot].elementCount > 0) {
            item.symbol = type->symbol;
            item.symbolWidth = symbols[slot].width / 10.0;
            item.symbolHeight = symbols[slot].height / 10.0;
        }
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<LegendItem> consistencyItems(const platform::WorkFolder& folder,
                                         const std::vector<int>& codes) {
    std::vector<LegendItem> items;
    for (const int code : codes) {
        const auto type = dict::LoadConsistencyType(folder, code);
        if (!type)
            continue;
        LegendItem item;
        item.name = trimmed(type->record.name.utf8());
        item.hasPattern = type->record.used != 0;
        item.pattern = type->elements;
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<LegendIge> legendIges(const SectionDrawingInput& in) {
    std::vector<LegendIge> out;
    for (const auto& entry : in.igeList.entries) {
        const auto choice = section::HatchForIge(entry, in.standardIges);
        out.push_back({trimmed(dict::igeNumberText(entry.number)), trimmed(choice.descriptionUtf8),
                       choice.hatch});
    }
    return out;
}

} // namespace

SheetSize RenderLegend(const platform::WorkFolder& folder, const SectionDrawingInput& input,
                       SheetSink& sink, int number, const FooterTime& time) {
    const auto codes = CollectLegendCodes(folder, input);
    const std::vector<LegendItem> sections[3] = {
        markItems(folder, dict::MarkList::Groundwater, codes.water),
        markItems(folder, dict::MarkList::Samples, codes.samples),
        consistencyItems(folder, codes.consistency)};
    const auto iges = legendIges(input);
    auto canvases = sink.beginSheet(number);
    auto& c = canvases.p;
    LegendPainter measure(c, folder, input, sink.dpiX(), sink.dpiY(), false);
    measure.run(sections, iges);
    const float px = pixelsPerDesignUnit(sink.dpiX());
    const float py = pixelsPerDesignUnit(sink.dpiY());
    const double designWidth = kColumnWidth * measure.columns();
    SheetGeometry g;
    g.px = px;
    g.py = py;
    g.widthPx = toPixels(designWidth, px);
    g.heightPx = toPixels(input.layout.sheetHeight, py);
    c.save();
    c.clipRect({0, 0, static_cast<double>(g.widthPx), static_cast<double>(g.heightPx)});
    LegendPainter paint(c, folder, input, sink.dpiX(), sink.dpiY(), true);
    paint.run(sections, iges);
    c.restore();
    detail::drawFrameAndFooter(c, g, input.form, sink.dpiY(), time);
    const SheetSize size{g.widthPx + 1, g.heightPx + 1};
    sink.endSheet(number, size.widthPx, size.heightPx);
    return size;
}

} // namespace orvo::drawing
