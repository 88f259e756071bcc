// Drawing dictionaries as DXF polylines and texts: library symbols, consistency patterns,
// hatches clipped to IGE areas, title blocks.
#pragma once
#include "dict/consistency_type.h"
#include "dict/hatch.h"
#include "dict/symbol.h"
#include "dict/title_block.h"
#include "export/clip_polygon.h"
#include "export/dxf_writer.h"
#include "platform/work_folder.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvo::exporter {

// Millimetres on paper per point of a font size, and the share of it a title-block or legend
// text takes as its DXF height.
inline constexpr double kMmPerPoint = 0.35277777777777775;
inline constexpr double kFixedCapRatio = 0.625;

// The text as a DXF text line may hold it: control characters (a line break of a full name)
// become blanks, trailing blanks go.
std::string dxfText(std::string_view utf8);

// No generated family (hatch lines, tiles, pattern lines) writes more than this many segments.
inline constexpr int kMaxSegmentsPerElement = 100000;
// Nor does one hatch over one area write more than this many.
inline constexpr std::size_t kMaxSegmentsPerHatch = 1000000;

// A library symbol as it is drawn: frame left x (or right x with anchorRight), centred
// vertically on y. Slot 2 with exactly five elements is the fixed glyph; elsewhere only
// segments, polygons and rectangles with a black pen or brush are written.
void WriteSymbolDxf(DxfWriter& w, const dict::SymbolListRecord& record,
                    const std::vector<dict::SymbolElement>& elements, int symbol, double x,
                    double y, DxfLayer layer, bool anchorRight);

// The pattern of a consistency type in the rectangle x1 < x2, y1 (lower) < y2 (upper), on
// layer Line. Every element is drawn; the caller checks the type is in use.
void WriteConsistencyDxf(DxfWriter& w, std::span<const dict::ConsistencyElement> elements,
                         double x1, double y1, double x2, double y2);

// The rectangle a hatch is generated over; its top left corner is the pattern's origin.
struct HatchRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// Line and segment elements of the hatch over the rectangle, clipped to the clipper's polygon,
// each inside piece an open two-vertex polyline on layer Htr. Only rows and columns that can
// reach the polygon's bounding box are generated. Returns the pieces written.
std::size_t WriteHatchDxf(DxfWriter& w, const dict::HatchPattern& pattern, const HatchRect& rect,
                          ClipSegmentToPolygon& clip);

// The dictionaries the converters read, each item loaded once per export.
class DxfDictionaries {
public:
    explicit DxfDictionaries(const platform::WorkFolder& folder);
    const platform::WorkFolder& folder() const { return m_folder; }

    // Nothing for a deleted record, a missing item file or an index out of range.
    void symbol(DxfWriter& w, int slot, double x, double y, DxfLayer layer, bool anchorRight);
    // Nothing for a type not in use (a deleted one) or out of range.
    void consistency(DxfWriter& w, int type, double x1, double y1, double x2, double y2);
    // The hatch of a slot, or null for -1, a missing or unreadable one.
    const dict::HatchPattern* hatch(std::int32_t slot);

private:
    const platform::WorkFolder& m_folder;
    std::vector<dict::SymbolListRecord> m_symbolList;
    std::map<int, std::vector<dict::SymbolElement>> m_symbolItems;
    std::map<int, std::optional<dict::ConsistencyType>> m_consistency;
    std::map<std::int32_t, std::optional<dict::HatchPattern>> m_hatches;
};

// The distinct font faces of a title block (program texts first, then editable texts) and the
// face number of every text.
struct TitleBlockFaces {
    std::vector<std::string> faces; // UTF-8, trailing blanks removed
    std::vector<int> programFace;
    std::vector<int> editableFace;
};
TitleBlockFaces titleBlockFaces(const dict::TitleBlock& block);

// The STYLE entries "FSH%3.3d" of the faces.
void WriteTitleBlockStyles(DxfWriter& w, const TitleBlockFaces& faces);

// The block placed 5 mm inside the right and bottom edges of a sheet `sheetWidth` tenths of a
// millimetre wide, on layer Shtamp; `field` gives the program texts' values.
void WriteTitleBlockDxf(DxfWriter& w, const dict::TitleBlock& block, const TitleBlockFaces& faces,
                        double sheetWidth, const std::function<std::string(int)>& field);

} // namespace orvo::exporter
