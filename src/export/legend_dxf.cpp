// The legend sheet in DXF.
#include "export/legend_dxf.h"

#include "borehole/borehole_record.h"
#include "dict/consistency_type.h"
#include "dict/ige_description.h"
#include "dict/mark_type.h"
#include "drawing/section_content.h"

#include <algorithm>
#include <array>

namespace orvo::exporter {

namespace {

class Legend {
public:
    Legend(DxfWriter& w, DxfDictionaries& d, const drawing::SectionDrawingInput& in)
        : m_w(w), m_d(d), m_in(in), m_hs(in.layout.sheetHeight * 0.1),
          m_wl(in.form.frameLine * 0.1) {
        const auto height = [&](int role) {
            return in.form.fontSize[static_cast<std::size_t>(role)] * kMmPerPoint * kFixedCapRatio;
        };
        m_ht = height(3);
        m_hg = height(4);
        m_hm = height(5);
    }

    double run() {
        const auto codes = drawing::CollectLegendCodes(m_d.folder(), m_in);
        m_y = m_hs - m_ht - 10;
        text(DxfStyle::Txt1, m_ht, m_xc, m_y, DxfAlign::Centre, m_xc + 80,
             "Л И С Т   У С Л О В Н Ы Х   О Б О З Н А Ч Е Н И Й");
        m_y -= 3;
        marks("Уровни подземных вод", dict::MarkList::Groundwater, codes.water);
        marks("Отборы проб", dict::MarkList::Samples, codes.samples);
        consistency(codes.consistency);
        igeTable();
        const double r = m_width;
        polyline({{10, m_hs}, {r - 5, m_hs}, {r - 5, 0}, {10, 0}, {10, m_hs}});
        polyline({{30, m_hs - 5}, {r - 10, m_hs - 5}, {r - 10, 5}, {30, 5}, {30, m_hs - 5}});
        return m_width;
    }

private:
    void text(DxfStyle style, double h, double x, double y, DxfAlign align, double ax,
              const std::string& s) {
        m_w.writeText(DxfLayer::Text, style, x, y, h, 0, align, ax, y, dxfText(s));
    }
    void polyline(std::initializer_list<DxfPoint> points) {
        m_w.writePolyline(DxfLayer::Line, false, m_wl,
                          std::span<const DxfPoint>(points.begin(), points.size()));
    }

    void heading(const char* title, double gap) {
        m_y -= m_hg;
        text(DxfStyle::Txt2, m_hg, m_xc, m_y, DxfAlign::Centre, m_xc + 80, title);
        polyline({{m_xc, m_y - 1}, {m_xc + 160, m_y - 1}});
        m_y -= gap;
    }

    void marks(const char* title, dict::MarkList list, const std::vector<int>& codes) {
        if (codes.empty())
            return;
        heading(title, 5);
        double x = m_xc;
        for (const int code : codes) {
            const auto type = dict::ReadMarkType(m_d.folder(), list, code);
            if (!type)
                continue;
            if (x > 150) {
                x = m_xc;
                m_y -= 5;
            }
            text(DxfStyle::Txt3, m_hm, x + 5, m_y, DxfAlign::Left, 0, type->name.utf8Trimmed());
            if (type->used != 0)
                m_d.symbol(m_w, type->symbol, x, m_y + m_hm / 2, DxfLayer::Text, false);
            x += 55;
        }
        m_y -= 5;
    }

    void consistency(const std::vector<int>& codes) {
        if (codes.empty())
            return;
        heading("Показатель текучести", 3);
        double x = m_xc;
        for (const int code : codes) {
            const auto type = dict::LoadConsistencyType(m_d.folder(), code);
            if (!type)
                continue;
            if (x > 150) {
                x = m_xc;
                m_y -= 11;
            }
            m_d.consistency(m_w, code, x, m_y - 10, x + 10, m_y);
            polyline({{x, m_y}, {x + 10, m_y}, {x + 10, m_y - 10}, {x, m_y - 10}, {x, m_y}});
            text(DxfStyle::Txt3, m_hm, x + 11, m_y - 5 - m_hm / 2, DxfAlign::Left, 0,
                 type->record.name.utf8Trimmed());
            x += 55;
        }
        m_y -= 11;
    }

    void closeColumn(double top) {
        for (const double x : {m_xc, m_xc + 15, m_xc + 30, m_xc + 160})
            polyline({{x, top}, {x, m_y}});
    }

    void igeTable() {
        heading("Описание инженерно-геологических элементов", 3);
        polyline({{m_xc, m_y}, {m_xc + 160, m_y}});
        double top = m_y;
        for (const auto& entry : m_in.igeList.entries) {
            if (m_y < 15) {
                closeColumn(top);
                m_y = m_hs - 10;
                top = m_y;
                m_xc += 165;
                m_width += 165;
                polyline({{m_xc, m_y}, {m_xc + 160, m_y}});
            }
            const auto choice = section::HatchForIge(entry, m_in.standardIges);
            const double ty = m_y - 5 - m_hm / 2;
            text(DxfStyle::Txt3, m_hm, m_xc, ty, DxfAlign::Centre, m_xc + 7.5,
                 dict::igeNumberText(entry.number));
            if (const auto* hatch = m_d.hatch(choice.hatch)) {
                const std::array<DxfPoint, 5> box{{{m_xc + 15, m_y},
                                                   {m_xc + 30, m_y},
                                                   {m_xc + 30, m_y - 10},
                                                   {m_xc + 15, m_y - 10},
                                                   {m_xc + 15, m_y}}};
                ClipSegmentToPolygon clip(box);
                WriteHatchDxf(m_w, *hatch, {m_xc, m_hs, m_xc + 100, 0}, clip);
            }
            text(DxfStyle::Txt3, m_hm, m_xc + 31, ty, DxfAlign::Left, 0, choice.descriptionUtf8);
            polyline({{m_xc, m_y - 10}, {m_xc + 160, m_y - 10}});
            m_y -= 10;
        }
        closeColumn(top);
    }

    DxfWriter& m_w;
    DxfDictionaries& m_d;
    const drawing::SectionDrawingInput& m_in;
    double m_hs;
    double m_wl;
    double m_ht = 0, m_hg = 0, m_hm = 0;
    double m_xc = 35;
    double m_width = 210;
    double m_y = 0;
};

} // namespace

double WriteLegendDxf(DxfWriter& w, DxfDictionaries& dictionaries,
                      const drawing::SectionDrawingInput& input) {
    w.writeHeader();
    w.beginTables();
    w.writeLtypeTable();
    w.writeLayerTable(LayerSet::LegendSheet);
    w.beginStyleTable();
    static constexpr std::array<std::pair<DxfStyle, int>, 3> kStyles{
        {{DxfStyle::Txt1, 3}, {DxfStyle::Txt2, 4}, {DxfStyle::Txt3, 5}}};
    for (const auto& [style, role] : kStyles)
        w.writeStyle(styleName(style),
                     input.form.fontFace[static_cast<std::size_t>(role)].utf8Trimmed());
    w.endStyleTable();
    w.endTables();
    w.beginEntities();
    const double width = Legend(w, dictionaries, input).run();
    w.writeTrailer();
    return width;
}

} // namespace orvo::exporter
