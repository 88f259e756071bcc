// Writer of the text of one DXF drawing file (release AC1006) in memory, line by line.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"

#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace orvo::exporter {

// Layer codes chosen by the caller; each names one layer of the layer table.
enum class DxfLayer : int {
    Ramka = 1,
    Text = 2,
    Line = 3,
    Ige = 4,
    OtmH = 5,
    OtmA = 6,
    Proba = 7,
    Htr = 8,
    Shtamp = 9,
};

// Text style codes. Zero and negative codes name the title-block fonts: -k is "FSH%3.3d" of k.
enum class DxfStyle : int {
    Ramka = 1,
    Otm = 2,
    Ige = 3,
    Txt1 = 4,
    Txt2 = 5,
    Txt3 = 6,
};
constexpr DxfStyle titleBlockStyle(int fontNumber) {
    return static_cast<DxfStyle>(-fontNumber);
}

// For Centre and Right the text hangs on the alignment point instead of the insertion point.
enum class DxfAlign : char { Left = 'L', Centre = 'C', Right = 'R' };

// The legend sheet declares only the four layers it draws on.
enum class LayerSet { SectionSheet, LegendSheet };

struct DxfPoint {
    double x = 0;
    double y = 0;
};

std::string_view layerName(DxfLayer layer);
std::string styleName(DxfStyle style);

// Geometry is in millimetres of paper. Texts and font faces are given in UTF-8 and stored in
// Windows-1251. The caller writes the parts in file order: header, tables, entities, trailer.
class DxfWriter {
public:
    // Room for a drawing of about this size, so a large sheet is not copied as it grows.
    void reserve(std::size_t bytes) { m_out.reserve(bytes); }
    // A close upper estimate of the file size for these entity counts, for reserve().
    static std::size_t estimatedSize(std::size_t polylines, std::size_t vertices,
                                     std::size_t texts);

    void writeHeader();

    void beginTables();
    void writeLtypeTable();
    void writeLayerTable(LayerSet set);
    void beginStyleTable();
    // Trailing blanks of the face (padded in its stored field) are not written.
    void writeStyle(std::string_view name, std::string_view fontFaceUtf8);
    void endStyleTable();
    void endTables();

    void beginEntities();
    void beginPolyline(DxfLayer layer, bool closed, double width);
    void writeVertex(DxfLayer layer, double x, double y);
    void endPolyline();
    void writePolyline(DxfLayer layer, bool closed, double width, std::span<const DxfPoint> points);
    void writeText(DxfLayer layer, DxfStyle style, double x, double y, double height,
                   double rotation, DxfAlign align, double ax, double ay,
                   std::string_view textUtf8);

    void writeTrailer();

    // The text is held as the bytes the save writes, so saving needs no copy of the file.
    const platform::Bytes& bytes() const { return m_out; }
    std::string text() const { return std::string(m_out.begin(), m_out.end()); }
    std::string take();
    // The bytes themselves, moved out; the writer is empty afterwards.
    platform::Bytes takeBytes() { return std::exchange(m_out, {}); }
    // Replaces the stored file atomically, so a failed export never leaves half a drawing.
    Status save(const platform::WorkFolder& folder, std::string_view storedName) const;

private:
    void pair(int group, std::string_view value);
    void integer(int group, int value);

    platform::Bytes m_out;
};

} // namespace orvo::exporter
