// The boreholes of a sheet: columns with layer ticks and consistency patterns, the sheet texts
// beside them, groundwater levels and sample marks.
#include "drawing/sheet_parts.h"
#include "drawing/sheet_text_layout.h"

#include "borehole/borehole_record.h"
#include "borehole/borehole_types.h"
#include "dict/consistency_type.h"
#include "dict/mark_type.h"
#include "dict/symbol.h"

#include <algorithm>
#include <unordered_map>

namespace orvo::drawing::detail {

namespace {

using platform::PointF;
using platform::RectF;

struct Column {
    double x = 0;    // device x of the borehole
    double half = 0; // half the column width, pixels
};

class BoreholePainter {
public:
    BoreholePainter(platform::Canvas& c, const SheetContext& s)
        : m_c(c), m_s(s), m_g(s.g), m_symbolScale(s.g.px * 0.1f, s.g.py * 0.1f) {
        if (auto list = dict::ReadSymbolList(s.folder))
            m_symbols = std::move(*list);
        for (std::size_t i = 0; i < s.in.texts.size(); ++i)
            m_textsOf[s.in.texts[i].fileNumber].push_back(i);
    }

    void draw(int b) {
        const auto& lb = m_s.in.layout.boreholes[static_cast<std::size_t>(b)];
        const auto record = borehole::ReadBorehole(m_s.folder, m_s.in.object, lb.number);
        if (!record)
            return;
        const auto type = borehole::ReadBoreholeType(m_s.folder, record->header.type);
        if (!type)
            return;
        const Column col{static_cast<double>(m_g.x[static_cast<std::size_t>(b)]),
                         static_cast<double>(m_g.dx(type->columnWidth)) / 2};
        const double top = m_g.depthY(b, 0);
        const double bottom = m_g.depthY(b, connect::hundredths(record->header.depth));
        m_c.setPen(linePen(m_g, type->lineWidth));
        m_c.setBrush({platform::kWhite, platform::Brush::Style::Solid});
        m_c.drawRect({col.x - col.half, top, 2 * col.half, bottom - top});
        m_c.setBrush({});
        layers(b, *record, col);
        water(b, *record, col);
        samples(b, *record, col);
    }

private:
    const SheetText* text(std::int32_t file, std::int32_t group, float key, std::int32_t type) {
        const auto it = m_textsOf.find(file);
        if (it == m_textsOf.end())
            return nullptr;
        for (const auto i : it->second)
            if (m_s.in.texts[i].sameIdentity(file, group, key, type))
                return &m_s.in.texts[i];
        return nullptr;
    }
    const SheetText* shownText(std::int32_t file, std::int32_t group, float key,
                               std::int32_t type) {
        if (!m_s.withTexts)
            return nullptr;
        const auto* t = text(file, group, key, type);
        return t && t->visible == 1 ? t : nullptr;
    }

    void layers(int b, const borehole::Borehole& record, const Column& col) {
        const auto scalePen = linePen(m_g, m_s.in.form.scaleLine);
        const double mm = static_cast<double>(m_g.dx(10));
        std::int64_t previous = 0;
        for (const auto& layer : record.ige) {
            const std::int64_t depth = connect::hundredths(layer.baseDepth);
            const double y = m_g.depthY(b, depth);
            m_c.setPen(scalePen);
            m_c.drawLine({col.x - col.half - mm, y}, {col.x + col.half + mm, y});
            pattern(layer.consistency, col, m_g.depthY(b, previous), y);
            previous = depth;
            const auto file = record.header.number;
            for (const std::int32_t type : {kIgeLabel, kBaseElevation, kBaseDepth})
                if (const auto* t = shownText(file, 0, layer.baseDepth, type))
                    drawText(*t, col, y);
        }
    }

    void pattern(std::int16_t consistency, const Column& col, double top, double bottom) {
        const auto type = dict::LoadConsistencyType(m_s.folder, consistency);
        if (!type || type->record.used == 0)
            return;
        const dict::PatternRect r{static_cast<int>(col.x - col.half), static_cast<int>(top),
                                  static_cast<int>(col.x + col.half), static_cast<int>(bottom)};
        dict::DrawConsistencyPattern(m_c, r, type->elements, m_g.px / 10.0);
    }

    // A layer text as the sheet editor's overlay places it too; an IGE label in its white box.
    void drawText(const SheetText& t, const Column& col, double levelY) {
        const auto l = layoutSheetText(m_c, m_s, t, col.x, col.half, levelY);
        if (t.type == kIgeLabel) {
            m_c.setPen(linePen(m_g, m_s.in.form.scaleLine));
            m_c.setBrush({platform::kWhite, platform::Brush::Style::Solid});
            m_c.drawRect(l.frame);
            m_c.setBrush({});
        }
        m_c.drawText(l.box, l.align, t.shown());
    }

    const dict::SymbolListRecord* symbolRecord(int slot) const {
        if (slot <= 0 || static_cast<std::size_t>(slot) >= m_symbols.size())
            return nullptr;
        const auto& r = m_symbols[static_cast<std::size_t>(slot)];
        return r.used != 0 && r.elementCount > 0 ? &r : nullptr;
    }

    // The symbol of a groundwater or sample type, `anchor` its left (or right) edge's middle.
    void markSymbol(dict::MarkList list, int kind, PointF anchor, bool rightEdge) {
        const auto type = dict::ReadMarkType(m_s.folder, list, kind);
        if (!type || type->used == 0)
            return;
        const auto* rec = symbolRecord(type->symbol);
        if (!rec)
            return;
        const double w = static_cast<double>(static_cast<float>(rec->width) * m_symbolScale.first);
        const double h =
            static_cast<double>(static_cast<float>(rec->height) * m_symbolScale.second);
        const PointF at{rightEdge ? anchor.x - w : anchor.x, anchor.y - h / 2};
        (void)dict::DrawSymbol(m_c, m_s.folder, type->symbol, at, m_symbolScale.first,
                               m_symbolScale.second);
    }

    void water(int b, const borehole::Borehole& record, const Column& col) {
        const double mm = static_cast<double>(m_g.dx(10));
        for (const auto& w : record.water) {
            const double y = m_g.depthY(b, connect::hundredths(w.depth));
            m_c.setPen(linePen(m_g, m_s.in.form.scaleLine));
            m_c.drawLine({col.x - col.half - mm, y}, {col.x - col.half, y});
            const auto* t = shownText(record.header.number, 1, w.depth, kWaterLevel);
            if (!t)
                continue;
            const auto l = layoutSheetText(m_c, m_s, *t, col.x, col.half, y);
            m_c.drawLine(l.lineFrom, l.lineTo);
            m_c.drawText(l.box, l.align, t->shown());
            m_c.drawText(l.dateBox, platform::kAlignRight | platform::kAlignTop, t->date());
            markSymbol(dict::MarkList::Groundwater, w.kind, l.lineFrom, true);
        }
    }

    void samples(int b, const borehole::Borehole& record, const Column& col) {
        const double mm = static_cast<double>(m_g.dx(10));
        for (const auto& sample : record.samples)
            markSymbol(dict::MarkList::Samples, sample.kind,
                       {col.x + col.half + mm, m_g.depthY(b, connect::hundredths(sample.depth))},
                       false);
    }

    platform::Canvas& m_c;
    const SheetContext& m_s;
    const SheetGeometry& m_g;
    std::pair<float, float> m_symbolScale;
    std::vector<dict::SymbolListRecord> m_symbols;
    std::unordered_map<std::int32_t, std::vector<std::size_t>> m_textsOf;
};

} // namespace

void drawBoreholes(platform::Canvas& c, const SheetContext& s, RenderProgress& progress) {
    BoreholePainter painter(c, s);
    const int count = s.g.last - s.g.first + 1;
    for (int b = s.g.first; b <= s.g.last; ++b) {
        progress.borehole(b - s.g.first + 1, count);
        if (s.in.layout.boreholes[static_cast<std::size_t>(b)].visible)
            painter.draw(b);
    }
}

} // namespace orvo::drawing::detail
