// The sheets of a section in DXF, drawn anew from the same geometry as the screen drawing.
#include "export/section_dxf.h"

#include "borehole/borehole_record.h"
#include "borehole/borehole_types.h"
#include "connect/auto_connect.h"
#include "dict/mark_type.h"
#include "dict/title_block.h"
#include "drawing/section_content.h"
#include "drawing/sheet_geometry.h"
#include "export/dxf_convert.h"
#include "export/legend_dxf.h"
#include "platform/codepage.h"
#include "platform/numbers.h"
#include "store/le_stream.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>

namespace orvo::exporter {

namespace {

// The first `n` characters of a UTF-8 text.
std::string firstChars(std::string_view utf8, std::size_t n) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < n && pos < utf8.size(); ++i)
        (void)platform::decodeUtf8(utf8, pos);
    return std::string(utf8.substr(0, pos));
}

std::string trimmed(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

std::string format(const char* fmt, auto... args) {
    char buf[512];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

// The section's boreholes as the sheets need them: the record and the type's widths.
struct BoreholeData {
    std::optional<borehole::Borehole> record;
    double halfColumn = 0; // millimetres
    double columnWidth = 0;
    double lineWidth = 0;
};

std::vector<BoreholeData> loadBoreholes(const platform::WorkFolder& folder,
                                        const drawing::SectionDrawingInput& in) {
    std::vector<BoreholeData> out(in.layout.boreholes.size());
    std::map<int, std::optional<borehole::BoreholeType>> types;
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto record = borehole::ReadBorehole(folder, in.object, in.layout.boreholes[i].number);
        if (!record)
            continue;
        const int t = record->header.type;
        auto it = types.find(t);
        if (it == types.end()) {
            std::optional<borehole::BoreholeType> type;
            if (auto read = borehole::ReadBoreholeType(folder, t))
                type = *read;
            it = types.emplace(t, type).first;
        }
        if (!it->second)
            continue;
        out[i].columnWidth = it->second->columnWidth * 0.1;
        out[i].halfColumn = out[i].columnWidth / 2;
        out[i].lineWidth = it->second->lineWidth * 0.1;
        out[i].record = std::move(*record);
    }
    return out;
}

struct Heights {
    double h1 = 0, h2 = 0, h3 = 0;
};

Heights textHeights(const dict::DrawingForm& form, const platform::TextMetrics& metrics) {
    const auto h = [&](std::size_t role) {
        const int points = form.fontSize[role];
        return points * kMmPerPoint * metrics.capRatio(form.fontFace[role].utf8Trimmed(), points);
    };
    return {h(0), h(1), h(2)};
}

class SheetBuilder {
public:
    SheetBuilder(const platform::WorkFolder& folder, const drawing::SectionDrawingInput& in,
                 const platform::TextMetrics& metrics, const DxfBuildOptions& options,
                 DxfDictionaries& dictionaries)
        : m_folder(folder), m_in(in), m_metrics(metrics), m_options(options), m_d(dictionaries),
          m_heights(textHeights(in.form, metrics)), m_boreholes(loadBoreholes(folder, in)),
          m_hatchOf(drawing::HatchOfModelIges(in)), m_lines(in.model) {
        for (std::size_t i = 0; i < in.texts.size(); ++i)
            m_textsOf[in.texts[i].fileNumber].push_back(i);
        m_w1 = in.form.frameLine * 0.1;
        m_w2 = in.form.scaleLine * 0.1;
        m_w3 = in.form.igeLine * 0.1;
    }

    std::pair<double, double> build(DxfWriter& w, int sheet) {
        m_sheet = sheet;
        m_g = drawing::MakeSheetGeometry(m_in.layout, sheet, 254, 254);
        m_ws = 0.1 * static_cast<double>(m_g.widthPx);
        m_hs = 0.1 * static_cast<double>(m_g.heightPx);
        const auto* block = titleBlock();
        const auto faces = block ? titleBlockFaces(*block) : TitleBlockFaces{};
        w.writeHeader();
        w.beginTables();
        w.writeLtypeTable();
        w.writeLayerTable(LayerSet::SectionSheet);
        w.beginStyleTable();
        static constexpr std::array<DxfStyle, 3> kStyles{DxfStyle::Ramka, DxfStyle::Otm,
                                                         DxfStyle::Ige};
        for (std::size_t r = 0; r < kStyles.size(); ++r)
            w.writeStyle(styleName(kStyles[r]), m_in.form.fontFace[r].utf8Trimmed());
        WriteTitleBlockStyles(w, faces);
        w.endStyleTable();
        w.endTables();
        w.beginEntities();
        frames(w);
        scale(w);
        areas(w);
        boundaries(w);
        for (int b = m_g.first; b <= m_g.last; ++b)
            boreholeEntities(w, b);
        footer(w);
        captions(w);
        if (block)
            WriteTitleBlockDxf(w, *block, faces, static_cast<double>(m_g.widthPx),
                               [&](int code) { return field(code); });
        w.writeTrailer();
        return {m_ws, m_hs};
    }

private:
    using Points = std::vector<DxfPoint>;

    void line(DxfWriter& w, DxfLayer layer, double width, DxfPoint a, DxfPoint b) const {
        const std::array<DxfPoint, 2> p{a, b};
        w.writePolyline(layer, false, width, p);
    }
    void text(DxfWriter& w, DxfLayer layer, DxfStyle style, double h, double x, double y,
              DxfAlign align, double ax, const std::string& s, double rotation = 0) const {
        w.writeText(layer, style, x, y, h, rotation, align, ax, y, dxfText(s));
    }
    double mm(std::int64_t tenths) const { return 0.1 * static_cast<double>(tenths); }
    double level(int b, std::int64_t depth) const { return mm(m_g.depthUp(b, depth)); }
    double columnX(int b) const { return mm(m_g.designX[static_cast<std::size_t>(b)]); }

    const dict::TitleBlock* titleBlock() {
        const int slot = m_sheet == 0 ? m_in.layout.stampFirstSheet : m_in.layout.stampOtherSheets;
        if (slot == 0)
            return nullptr;
        auto it = m_blocks.find(slot);
        if (it == m_blocks.end()) {
            std::optional<dict::TitleBlock> block;
            if (auto read = dict::ReadTitleBlock(m_folder, slot))
                block = std::move(*read);
            it = m_blocks.emplace(slot, std::move(block)).first;
        }
        return it->second ? &*it->second : nullptr;
    }

    std::string field(int code) const {
        const auto& l = m_in.layout;
        switch (code) {
        case 0:
            return m_in.objectFullName;
        case 1:
            return l.name.utf8Trimmed();
        case 2:
            return "1:" + std::to_string(l.verticalScale);
        case 3:
            return "1:" + std::to_string(l.horizontalScale);
        case 4:
            return std::to_string(m_sheet + 1);
        case 5:
            return std::to_string(l.sheets.size());
        case 6:
        case 7:
        case 8:
        case 9:
            return l.signatures[static_cast<std::size_t>(code - 6)].utf8Trimmed();
        case 10:
            return m_in.objectContract;
        default:
            return {};
        }
    }

    void frames(DxfWriter& w) const {
        const Points outer{{0, 0}, {0, m_hs}, {m_ws, m_hs}, {m_ws, 0}, {0, 0}};
        w.writePolyline(DxfLayer::Ramka, false, m_w1, outer);
        const Points inner{{20, 5}, {20, m_hs - 5}, {m_ws - 5, m_hs - 5}, {m_ws - 5, 5}, {20, 5}};
        w.writePolyline(DxfLayer::Ramka, false, m_w1, inner);
    }

    void scale(DxfWriter& w) const {
        const auto& range = m_in.layout.sheets[static_cast<std::size_t>(m_sheet)];
        const std::int64_t v = m_g.verticalScale;
        const std::int64_t base = m_g.baseMetres;
        const std::int64_t n = std::clamp<std::int64_t>(1 + (range.top - 100 * base) / v, 0, 10000);
        const double top = 60.0 + 10.0 * static_cast<double>(n);
        const Points bar{{99, 60}, {100, 60}, {100, top}, {99, top}, {99, 60}};
        w.writePolyline(DxfLayer::Ramka, false, m_w2, bar);
        const double h1 = m_heights.h1;
        for (std::int64_t k = 0; k <= n; ++k) {
            const double y = 60.0 + 10.0 * static_cast<double>(k);
            line(w, DxfLayer::Ramka, m_w2, {98, y}, {100, y});
            text(w, DxfLayer::Ramka, DxfStyle::Ramka, h1, 59, y - h1 / 2, DxfAlign::Right, 97,
                 std::to_string(base + k * v / 100));
        }
    }

    // Whether a model point lies on its borehole's axis.
    bool onBorehole(std::int32_t p) const {
        const auto& point = m_in.model.points[static_cast<std::size_t>(p)];
        return point.kind == connect::PointKind::Borehole || point.offset == 0;
    }
    double halfColumnOf(int b) const {
        return b >= 0 && static_cast<std::size_t>(b) < m_boreholes.size()
                   ? m_boreholes[static_cast<std::size_t>(b)].halfColumn
                   : 0;
    }

    void areas(DxfWriter& w) {
        const auto& model = m_in.model;
        if (model.boreholes.empty() || model.points.empty())
            return;
        const auto positions = drawing::pointPositions(m_g, model);
        std::set<std::vector<std::int32_t>> done;
        const int total = std::min(model.boreholePointTotal(), model.pointCount());
        Points polygon;
        for (int start = 0; start < total; ++start) {
            const int b = model.points[static_cast<std::size_t>(start)].borehole;
            if (b < m_g.first || b > m_g.last)
                continue;
            for (const auto sense : {connect::Sense::Left, connect::Sense::Right}) {
                if ((sense == connect::Sense::Left && b == m_g.first) ||
                    (sense == connect::Sense::Right && b == m_g.last))
                    continue;
                const auto area = connect::TraceArea(model, m_lines, positions, start, sense);
                if (!area || area->outline.empty())
                    continue;
                auto key = area->outline;
                std::sort(key.begin(), key.end());
                if (!done.insert(std::move(key)).second)
                    continue;
                movedOutline(*area, positions, sense, polygon);
                area_(w, *area, polygon);
            }
        }
    }

    // The outline in millimetres, vertices on a borehole moved off its column into the area.
    void movedOutline(const connect::TracedArea& area,
                      const std::vector<connect::PointPosition>& positions, connect::Sense sense,
                      Points& out) const {
        // The outline ends where it started; the closed polyline does not repeat it.
        auto outline = std::span<const std::int32_t>(area.outline);
        if (outline.size() > 1 && outline.front() == outline.back())
            outline = outline.first(outline.size() - 1);
        int left = INT32_MAX, right = INT32_MIN;
        for (const auto p : outline)
            if (onBorehole(p)) {
                const int b = m_in.model.points[static_cast<std::size_t>(p)].borehole;
                left = std::min(left, b);
                right = std::max(right, b);
            }
        out.clear();
        for (const auto p : outline) {
            const auto& pos = positions[static_cast<std::size_t>(p)];
            double x = mm(pos.x);
            if (onBorehole(p)) {
                const int b = m_in.model.points[static_cast<std::size_t>(p)].borehole;
                double dir;
                if (left != right)
                    dir = b == left ? 1 : -1;
                else
                    dir = sense == connect::Sense::Right ? 1 : -1;
                x += dir * halfColumnOf(b);
            }
            out.push_back({x, mm(pos.y)});
        }
    }

    void area_(DxfWriter& w, const connect::TracedArea& area, const Points& polygon) {
        if (polygon.size() >= 2 && m_options.hatchBoundary)
            w.writePolyline(DxfLayer::Htr, true, 0.1, polygon);
        if (area.ige < 0 || static_cast<std::size_t>(area.ige) >= m_hatchOf.size())
            return;
        const auto* hatch = m_d.hatch(m_hatchOf[static_cast<std::size_t>(area.ige)]);
        if (!hatch || polygon.size() < 3)
            return;
        // One pattern rectangle for every area of the sheet, ending at the sheet's right edge:
        // ending it at each area's own rightmost point would shift the lines of a hatch that
        // falls to the right from one area to the next, where the screen shows one pattern.
        m_clip.setPolygon(polygon);
        WriteHatchDxf(w, *hatch, {129, m_hs - 5, m_ws, 59}, m_clip);
    }

    void boundaries(DxfWriter& w) const {
        const auto& model = m_in.model;
        if (model.boreholes.empty())
            return;
        const auto positions = drawing::pointPositions(m_g, model);
        for (const auto& l : model.lines) {
            if (l.visible != 1 || l.from < 0 || l.to < 0 || l.from >= model.pointCount() ||
                l.to >= model.pointCount())
                continue;
            const int b = model.points[static_cast<std::size_t>(l.from)].borehole;
            if (b < m_g.first || b >= m_g.last)
                continue;
            const auto& a = positions[static_cast<std::size_t>(l.from)];
            const auto& e = positions[static_cast<std::size_t>(l.to)];
            DxfPoint from{mm(a.x), mm(a.y)}, to{mm(e.x), mm(e.y)};
            const int bf = model.points[static_cast<std::size_t>(l.from)].borehole;
            const int bt = model.points[static_cast<std::size_t>(l.to)].borehole;
            const bool fromOn = onBorehole(l.from), toOn = onBorehole(l.to);
            if (!(fromOn && toOn && bf == bt)) {
                if (fromOn)
                    from.x += halfColumnOf(bf);
                if (toOn)
                    to.x -= halfColumnOf(bt);
            }
            line(w, DxfLayer::Line, m_w3, from, to);
        }
    }

    const drawing::SheetText* shownText(std::int32_t file, std::int32_t group, float key,
                                        std::int32_t type) const {
        const auto it = m_textsOf.find(file);
        if (it == m_textsOf.end())
            return nullptr;
        for (const auto i : it->second) {
            const auto& t = m_in.texts[i];
            if (t.sameIdentity(file, group, key, type))
                return t.visible == 1 ? &t : nullptr;
        }
        return nullptr;
    }

    const dict::MarkTypeRecord* markType(dict::MarkList list, int kind) {
        const auto key = std::pair{static_cast<int>(list), kind};
        auto it = m_marks.find(key);
        if (it == m_marks.end()) {
            std::optional<dict::MarkTypeRecord> record;
            if (auto read = dict::ReadMarkType(m_folder, list, kind))
                record = *read;
            it = m_marks.emplace(key, record).first;
        }
        return it->second && it->second->used != 0 ? &*it->second : nullptr;
    }

    double offsetX(float metres) const {
        return static_cast<double>(metres) * 1000.0 / m_g.horizontalScale;
    }
    double offsetY(float metres) const {
        return static_cast<double>(metres) * 1000.0 / m_g.verticalScale;
    }

    void boreholeEntities(DxfWriter& w, int b) {
        const auto i = static_cast<std::size_t>(b);
        const auto& lb = m_in.layout.boreholes[i];
        const double x = columnX(b);
        const double h1 = m_heights.h1, h2 = m_heights.h2, h3 = m_heights.h3;
        text(w, DxfLayer::Ramka, DxfStyle::Ramka, h1, x - 20, 42.5 - h1 / 2, DxfAlign::Centre, x,
             trimmed(firstChars(lb.name, 10)));
        text(w, DxfLayer::Ramka, DxfStyle::Ramka, h1, x + h1 / 2, 21, DxfAlign::Left, 0,
             platform::formatFixed(static_cast<float>(lb.elevation) / 100.0f, 2), 90);
        line(w, DxfLayer::Ramka, m_w2, {x, 10}, {x, 20});
        const auto& data = m_boreholes[i];
        if (lb.visible && data.record) {
            leader(w, x, level(b, lb.depth));
            column(w, b, x, data);
        }
        if (b < m_g.last) {
            const float d = drawing::distanceMetres(m_g.distanceToNext[i]);
            const double paper = static_cast<double>(d) * 1000.0 / m_g.horizontalScale;
            text(w, DxfLayer::Ramka, DxfStyle::Ramka, h1, x, 15 - h1 / 2, DxfAlign::Centre,
                 x + paper / 2, platform::formatFixed(d, 2));
        }
        (void)h2;
        (void)h3;
    }

    void leader(DxfWriter& w, double x, double end) const {
        int n = 0;
        for (double y = 50; y < end && n < kMaxSegmentsPerElement; y = 50 + (++n) * 7.0)
            line(w, DxfLayer::Ramka, m_w2, {x, y}, {x, std::min(y + 5, end)});
    }

    void column(DxfWriter& w, int b, double x, const BoreholeData& data) {
        const auto& record = *data.record;
        const double c = data.halfColumn;
        const double wb = data.lineWidth;
        const double top = level(b, 0);
        const double bottom = level(b, connect::hundredths(record.header.depth));
        const Points outline{
            {x - c, top}, {x + c, top}, {x + c, bottom}, {x - c, bottom}, {x - c, top}};
        w.writePolyline(DxfLayer::Line, true, wb, outline);
        const double h2 = m_heights.h2, h3 = m_heights.h3;
        const auto file = record.header.number;
        double previous = top;
        for (const auto& layer : record.ige) {
            const double yb = level(b, connect::hundredths(layer.baseDepth));
            line(w, DxfLayer::Line, wb, {x - c - 0.5, yb}, {x + c + 0.5, yb});
            m_d.consistency(w, layer.consistency, x - c, yb, x + c, previous);
            previous = yb;
            if (const auto* t = shownText(file, 0, layer.baseDepth, drawing::kIgeLabel))
                text(w, DxfLayer::Text, DxfStyle::Ige, h3, x + c + offsetX(t->dx),
                     yb - h3 / 2 + offsetY(t->dy), DxfAlign::Left, 0, firstChars(t->shown(), 10));
            if (const auto* t = shownText(file, 0, layer.baseDepth, drawing::kBaseElevation))
                text(w, DxfLayer::OtmA, DxfStyle::Otm, h2, x + c + offsetX(t->dx),
                     yb - h2 / 2 + offsetY(t->dy), DxfAlign::Left, 0, t->shown());
            if (const auto* t = shownText(file, 0, layer.baseDepth, drawing::kBaseDepth)) {
                const double xr = x - c + offsetX(t->dx);
                const double yr = yb - h2 / 2 + offsetY(t->dy);
                text(w, DxfLayer::OtmH, DxfStyle::Otm, h2, xr - 50, yr, DxfAlign::Right, xr,
                     t->shown());
            }
        }
        for (const auto& water : record.water) {
            const double yw = level(b, connect::hundredths(water.depth));
            line(w, DxfLayer::Proba, wb, {x - c - 1, yw}, {x - c, yw});
            const auto* t = shownText(file, 1, water.depth, drawing::kWaterLevel);
            if (!t)
                continue;
            const auto first = firstChars(t->shown(), 10);
            const auto second = firstChars(t->date(), 8);
            const auto face = m_in.form.fontFace[1].utf8Trimmed();
            const int points = m_in.form.fontSize[1];
            const double width = std::max(m_metrics.textWidthMm(face, points, first),
                                          m_metrics.textWidthMm(face, points, second));
            // Right of the texts is the column's left edge moved by the offset, as drawn.
            const double xl = x - c + offsetX(t->dx) - width;
            const double yl = yw + offsetY(t->dy);
            text(w, DxfLayer::Proba, DxfStyle::Otm, h2, xl, yl - 1 + h2, DxfAlign::Left, 0, first);
            text(w, DxfLayer::Proba, DxfStyle::Otm, h2, xl, yl - 1 - h2, DxfAlign::Left, 0, second);
            line(w, DxfLayer::Proba, wb, {xl, yl}, {xl + width, yl});
            if (const auto* type = markType(dict::MarkList::Groundwater, water.kind))
                m_d.symbol(w, type->symbol, xl, yl, DxfLayer::Proba, true);
        }
        for (const auto& sample : record.samples)
            if (const auto* type = markType(dict::MarkList::Samples, sample.kind))
                m_d.symbol(w, type->symbol, x + c + 1, level(b, connect::hundredths(sample.depth)),
                           DxfLayer::Proba, false);
    }

    void footer(DxfWriter& w) const {
        const double h1 = m_heights.h1;
        const double y0 = 60 + 8 * h1;
        const auto& l = m_in.layout;
        const auto put = [&](double y, const std::string& s) {
            text(w, DxfLayer::Ramka, DxfStyle::Ramka, h1, 30, y, DxfAlign::Left, 0, s);
        };
        put(y0, "Разрез: " + l.name.utf8Trimmed());
        put(y0 - 1.6 * h1, format("Лист %d из %d", m_sheet + 1, static_cast<int>(l.sheets.size())));
        put(y0 - 4.8 * h1, "Масштаб:");
        put(y0 - 6.4 * h1, format("- по вертикали 1:%d", l.verticalScale));
        put(y0 - 8 * h1, format("- по горизонтали 1:%d", l.horizontalScale));
    }

    void captions(DxfWriter& w) const {
        const double h1 = m_heights.h1;
        const Points box{{30, 50}, {90, 50}, {90, 10}, {30, 10}, {30, 50}};
        w.writePolyline(DxfLayer::Ramka, false, m_w2, box);
        line(w, DxfLayer::Ramka, m_w2, {30, 35}, {90, 35});
        line(w, DxfLayer::Ramka, m_w2, {30, 20}, {90, 20});
        const auto put = [&](double y, const char* s) {
            text(w, DxfLayer::Ramka, DxfStyle::Ramka, h1, 30, y, DxfAlign::Centre, 60, s);
        };
        put(42.5 + 0.3 * h1, "Наименование");
        put(42.5 - 1.3 * h1, "и № выработки");
        put(27.5 + 0.3 * h1, "Абсолютная отметка");
        put(27.5 - 1.3 * h1, "устья (м)");
        put(15 - 0.5 * h1, "Расстояние (м)");
        const double right = columnX(m_g.last);
        for (const double y : {50.0, 35.0, 20.0, 10.0})
            line(w, DxfLayer::Ramka, m_w2, {130, y}, {right, y});
    }

    const platform::WorkFolder& m_folder;
    const drawing::SectionDrawingInput& m_in;
    const platform::TextMetrics& m_metrics;
    const DxfBuildOptions& m_options;
    DxfDictionaries& m_d;
    Heights m_heights;
    std::vector<BoreholeData> m_boreholes;
    std::vector<std::int32_t> m_hatchOf;
    connect::LinesByPoint m_lines;
    std::map<std::int32_t, std::vector<std::size_t>> m_textsOf;
    std::map<int, std::optional<dict::TitleBlock>> m_blocks;
    std::map<std::pair<int, int>, std::optional<dict::MarkTypeRecord>> m_marks;
    ClipSegmentToPolygon m_clip;
    drawing::SheetGeometry m_g;
    int m_sheet = 0;
    double m_ws = 0, m_hs = 0;
    double m_w1 = 0, m_w2 = 0, m_w3 = 0;
};

std::string cut(std::string_view s, std::size_t n) {
    return std::string(s.substr(0, std::min(s.size(), n)));
}

} // namespace

ExportSettings parseExportSettings(std::span<const std::uint8_t> bytes,
                                   const std::string& defaultPath) {
    ExportSettings s;
    s.path = defaultPath;
    if (bytes.size() < ExportSettings::kSize)
        return s;
    store::LeReader r(bytes);
    s.archive = r.i32() == 1;
    std::string path(reinterpret_cast<const char*>(bytes.data()) + 4, 256);
    path.resize(std::min(path.find('\0'), path.size()));
    s.path = platform::cp1251ToUtf8(path);
    store::LeReader tail(bytes.subspan(260));
    s.hatchBoundary = tail.i32() == 1;
    return s;
}

platform::Bytes exportSettingsBytes(const ExportSettings& settings) {
    platform::Bytes out(ExportSettings::kSize, 0);
    const auto put = [&](std::size_t at, std::int32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xff);
    };
    put(0, settings.archive ? 1 : 0);
    const auto path = cut(platform::utf8ToCp1251(settings.path), 255);
    std::copy(path.begin(), path.end(), out.begin() + 4);
    put(260, settings.hatchBoundary ? 1 : 0);
    return out;
}

std::string defaultExportPath() {
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) : std::string("/");
}

ExportSettings ReadExportSettings(const platform::WorkFolder& folder) {
    const auto read = folder.read(kExportSettingsFile, ExportSettings::kSize);
    return parseExportSettings(read.ok() ? std::span<const std::uint8_t>(read.bytes)
                                         : std::span<const std::uint8_t>(),
                               defaultExportPath());
}

Status SaveExportSettings(const platform::WorkFolder& folder, const ExportSettings& settings) {
    return folder.writeAtomic(kExportSettingsFile, exportSettingsBytes(settings));
}

std::string sectionDxfDescription(const drawing::SectionDrawingInput& input,
                                  const std::vector<std::pair<double, double>>& sizes,
                                  const DxfBuildOptions& options) {
    std::string out = "Описание листов чертежа\n-----------------------\n\n";
    out += "Обьект: " + input.objectFullName + "\n";
    out += "Разрез: " + input.layout.name.utf8Trimmed() + "\n\n";
    const char* dash = options.archive ? "- " : "";
    if (options.archive)
        out += "Чертеж разреза помещен в архивный файл " + options.prefix + ".ZIP, в составе:\n";
    const int n = static_cast<int>(sizes.size()) - 1;
    for (int i = 0; i <= n; ++i) {
        const auto& [w, h] = sizes[static_cast<std::size_t>(i)];
        out += dash + options.prefix + std::to_string(i) + ".dxf  - ";
        out += i < n ? "лист " + std::to_string(i + 1) : std::string("лист Условных обозначений");
        out += ", размер " + platform::formatFixed(w, 1) + "x" + platform::formatFixed(h, 1) +
               "мм, формат - Autocad DXF\n";
    }
    return out;
}

SectionDxf BuildSectionDxf(const platform::WorkFolder& folder,
                           const drawing::SectionDrawingInput& input,
                           const platform::TextMetrics& metrics, const DxfBuildOptions& options) {
    SectionDxf out;
    DxfDictionaries dictionaries(folder);
    SheetBuilder sheets(folder, input, metrics, options, dictionaries);
    const int count = static_cast<int>(input.layout.sheets.size());
    // Sheets of one section come out of a size: the last one's, with room, sizes the next.
    std::size_t room = std::size_t{1} << 20;
    for (int i = 0; i < count; ++i) {
        DxfWriter w;
        w.reserve(room);
        out.sizes.push_back(sheets.build(w, i));
        room = std::max(room, w.bytes().size() + w.bytes().size() / 4);
        out.files.push_back(w.takeBytes());
    }
    DxfWriter legend;
    const double wl = WriteLegendDxf(legend, dictionaries, input);
    out.sizes.emplace_back(wl, 0.1 * input.layout.sheetHeight);
    out.files.push_back(legend.takeBytes());
    std::string text;
    for (const char c : platform::utf8ToCp1251(sectionDxfDescription(input, out.sizes, options))) {
        if (c == '\n')
            text += '\r';
        text += c;
    }
    out.description.assign(text.begin(), text.end());
    return out;
}

} // namespace orvo::exporter
