// Writer of the text of one DXF drawing file (release AC1006) in memory, line by line.
#include "export/dxf_writer.h"

#include "platform/codepage.h"
#include "platform/work_folder.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace orvo::exporter {

namespace {

// Out-of-range codes come only from a faulty caller; a file with a made-up layer or style name
// would look right and be wrong, so stop here in every build.
void require(bool ok, const char* what, const char* file = __builtin_FILE(),
             int line = __builtin_LINE()) {
    if (ok)
        return;
    std::fprintf(stderr, "%s:%d: DXF writer: %s\n", file, line, what);
    std::abort();
}

constexpr std::array<std::string_view, 9> kLayerNames = {"Ramka", "Text",  "Line", "IGE",   "OtmH",
                                                         "OtmA",  "Proba", "Htr",  "Shtamp"};
constexpr std::array<DxfLayer, 4> kLegendLayers = {DxfLayer::Ramka, DxfLayer::Text, DxfLayer::Line,
                                                   DxfLayer::Htr};
constexpr std::array<std::string_view, 6> kStyleNames = {"Ramka", "Otm",  "IGE",
                                                         "Txt1",  "Txt2", "Txt3"};

// Right-aligned in a field of `width` characters, as the readers of this release expect.
std::string padded(long long value, std::size_t width) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    const std::size_t len = static_cast<std::size_t>(res.ptr - buf);
    std::string out(len < width ? width - len : 0, ' ');
    out.append(buf, len);
    return out;
}

} // namespace

std::string_view layerName(DxfLayer layer) {
    const int code = static_cast<int>(layer);
    require(code >= 1 && code <= 9, "layer code outside 1-9");
    return kLayerNames[static_cast<std::size_t>(code - 1)];
}

std::string styleName(DxfStyle style) {
    const int code = static_cast<int>(style);
    require(code <= 6, "text style code above 6");
    if (code > 0)
        return std::string(kStyleNames[static_cast<std::size_t>(code - 1)]);
    const std::string digits = padded(-static_cast<long long>(code), 0);
    return "FSH" + std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

void DxfWriter::line(std::string_view value) {
    m_out.append(value);
    m_out.append("\r\n");
}

void DxfWriter::code(int group) {
    line(padded(group, 3));
}

void DxfWriter::pair(int group, std::string_view value) {
    code(group);
    line(value);
}

void DxfWriter::integer(int group, int value) {
    code(group);
    line(padded(value, 6));
}

void DxfWriter::real(int group, double value) {
    // A reader stops at "nan" or "inf"; a point at the origin at least keeps the file usable.
    if (!std::isfinite(value))
        value = 0;
    char buf[400]; // room for the largest double in fixed notation
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6);
    code(group);
    line(std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)));
}

void DxfWriter::entityStart(std::string_view kind, DxfLayer layer) {
    pair(0, kind);
    pair(8, layerName(layer));
}

void DxfWriter::writeHeader() {
    pair(0, "SECTION");
    pair(2, "HEADER");
    pair(9, "$ACADVER");
    pair(1, "AC1006");
    // Without it current readers take the Cyrillic texts for Western European ones.
    pair(9, "$DWGCODEPAGE");
    pair(3, "ANSI_1251");
    pair(9, "$LTSCALE");
    pair(40, "0.100000");
    pair(0, "ENDSEC");
}

void DxfWriter::beginTables() {
    pair(0, "SECTION");
    pair(2, "TABLES");
}

void DxfWriter::writeLtypeTable() {
    pair(0, "TABLE");
    pair(2, "LTYPE");
    integer(70, 9);
    pair(0, "LTYPE");
    pair(2, "CONTINUOUS");
    integer(70, 64);
    pair(3, "Solid line");
    integer(72, 65);
    integer(73, 0);
    pair(40, "0.000000");
    pair(0, "ENDTAB");
}

void DxfWriter::writeLayerTable(LayerSet set) {
    pair(0, "TABLE");
    pair(2, "LAYER");
    // The count has always been 6 whatever follows, and readers ignore it.
    integer(70, 6);
    auto entry = [this](std::string_view name) {
        pair(0, "LAYER");
        pair(2, name);
        integer(70, 64);
        integer(62, 7);
        pair(6, "CONTINUOUS");
    };
    if (set == LayerSet::LegendSheet) {
        for (DxfLayer layer : kLegendLayers)
            entry(layerName(layer));
    } else {
        for (std::string_view name : kLayerNames)
            entry(name);
    }
    pair(0, "ENDTAB");
}

void DxfWriter::beginStyleTable() {
    pair(0, "TABLE");
    pair(2, "STYLE");
    // Five characters, not six: the files have always had it so.
    code(70);
    line("    3");
}

void DxfWriter::writeStyle(std::string_view name, std::string_view fontFaceUtf8) {
    pair(0, "STYLE");
    integer(70, 0);
    pair(2, platform::utf8ToCp1251(name));
    pair(40, "0.000000");
    pair(41, "0.000000");
    pair(50, "0.000000");
    integer(71, 0);
    pair(42, "0.000000");
    // The face name stands where a font file would, so the reader can substitute its own font.
    // Faces come padded to their stored fields; a reader looks up the name as written.
    const auto end = fontFaceUtf8.find_last_not_of(' ');
    fontFaceUtf8 =
        end == std::string_view::npos ? std::string_view{} : fontFaceUtf8.substr(0, end + 1);
    pair(3, platform::utf8ToCp1251(fontFaceUtf8));
}

void DxfWriter::endStyleTable() {
    pair(0, "ENDTAB");
}

void DxfWriter::endTables() {
    pair(0, "ENDSEC");
}

void DxfWriter::beginEntities() {
    pair(0, "SECTION");
    pair(2, "ENTITIES");
}

void DxfWriter::beginPolyline(DxfLayer layer, bool closed, double width) {
    entityStart("POLYLINE", layer);
    pair(6, "CONTINUOUS");
    if (closed)
        integer(70, 1);
    real(40, width);
    real(41, width);
    integer(66, 1);
}

void DxfWriter::writeVertex(DxfLayer layer, double x, double y) {
    entityStart("VERTEX", layer);
    pair(6, "CONTINUOUS");
    real(10, x);
    real(20, y);
}

void DxfWriter::endPolyline() {
    pair(0, "SEQEND");
    pair(8, "0");
}

void DxfWriter::writePolyline(DxfLayer layer, bool closed, double width,
                              std::span<const DxfPoint> points) {
    beginPolyline(layer, closed, width);
    for (const DxfPoint& p : points)
        writeVertex(layer, p.x, p.y);
    endPolyline();
}

void DxfWriter::writeText(DxfLayer layer, DxfStyle style, double x, double y, double height,
                          double rotation, DxfAlign align, double ax, double ay,
                          std::string_view textUtf8) {
    require(align == DxfAlign::Left || align == DxfAlign::Centre || align == DxfAlign::Right,
            "text alignment other than L, C, R");
    entityStart("TEXT", layer);
    real(10, x);
    real(20, y);
    real(40, height);
    pair(1, platform::utf8ToCp1251(textUtf8));
    real(50, rotation);
    pair(41, "1.000000");
    pair(7, styleName(style));
    integer(71, 0);
    if (align == DxfAlign::Left)
        return;
    integer(72, align == DxfAlign::Centre ? 1 : 2);
    real(11, ax);
    real(21, ay);
}

void DxfWriter::writeTrailer() {
    pair(0, "ENDSEC");
    pair(0, "EOF");
}

Status DxfWriter::save(const platform::WorkFolder& folder, std::string_view storedName) const {
    return folder.writeAtomic(storedName, platform::Bytes(m_out.begin(), m_out.end()));
}

} // namespace orvo::exporter
