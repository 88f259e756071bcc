// Writer of the text of one DXF drawing file (release AC1006) in memory, line by line.
#include "export/dxf_writer.h"

#include "platform/codepage.h"
#include "platform/codepage_tables.h"
#include "platform/work_folder.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

// Group codes of this writer are 0-999, right-aligned in three characters.
constexpr std::size_t kCodeWidth = 3;
// Integers are right-aligned in six characters; longer ones are written whole.
constexpr std::size_t kIntegerWidth = 6;

// The largest double in fixed notation with six decimals, its sign and the line end.
constexpr std::size_t kMaxRealLine = 320;

// The highest code point Windows-1251 has (U+2122).
constexpr std::size_t kCp1251Top = 0x2123;

// Windows-1251 byte of each code point below kCp1251Top, 0 for none; the first byte of a code
// point wins, as in the platform's conversion.
const std::array<unsigned char, kCp1251Top>& cp1251Bytes() {
    static const std::array<unsigned char, kCp1251Top> table = [] {
        std::array<unsigned char, kCp1251Top> t{};
        for (std::size_t i = 0; i < platform::kCp1251High.size(); ++i) {
            const char16_t cp = platform::kCp1251High[i];
            require(cp < kCp1251Top, "Windows-1251 table beyond U+2122");
            if (t[cp] == 0)
                t[cp] = static_cast<unsigned char>(0x80 + i);
        }
        return t;
    }();
    return table;
}

// `value` with six decimals, exactly as std::to_chars in fixed notation writes it. Drawing
// coordinates are scaled to whole millionths and printed as an integer, which is several times
// faster; a value whose millionths lie too near a rounding tie for the scaled product to tell,
// or too large for it to be exact enough, goes through std::to_chars itself.
char* fixedSix(double value, char* first, char* last) {
    // Below 1e7 the product stays under 2^44, so it is off by at most 2^-9 of a millionth.
    constexpr double kFastLimit = 1e7;
    constexpr double kTieMargin = 1.0 / 64;
    const double magnitude = std::fabs(value);
    const double scaled = magnitude * 1e6;
    const double whole = std::floor(scaled);
    const double frac = scaled - whole;
    if (!(magnitude < kFastLimit) || std::fabs(frac - 0.5) < kTieMargin)
        return std::to_chars(first, last, value, std::chars_format::fixed, 6).ptr;
    const auto millionths = static_cast<std::uint64_t>(whole) + (frac > 0.5 ? 1 : 0);
    char* p = first;
    if (std::signbit(value))
        *p++ = '-';
    p = std::to_chars(p, last, millionths / 1000000).ptr;
    *p++ = '.';
    std::uint64_t fraction = millionths % 1000000;
    for (int i = 5; i >= 0; --i) {
        p[i] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    return p + 6;
}

// Collects the lines of one call on the stack and appends them to the file in one piece, so the
// file is checked for room once per entity instead of once per line and no line is a string.
class Lines {
public:
    explicit Lines(platform::Bytes& out) : m_out(out) {}
    ~Lines() { flush(); }
    Lines(const Lines&) = delete;
    Lines& operator=(const Lines&) = delete;

    // Bytes as they stand, line ends included by the caller.
    Lines& raw(std::string_view bytes) {
        if (bytes.size() > free()) {
            flush();
            if (bytes.size() > free()) {
                append(bytes.data(), bytes.size());
                return *this;
            }
        }
        std::memcpy(m_end, bytes.data(), bytes.size());
        m_end += bytes.size();
        return *this;
    }
    Lines& line(std::string_view value) { return raw(value).raw("\r\n"); }

    Lines& code(int group) {
        require(group >= 0 && group <= 999, "group code outside 0-999");
        room(kCodeWidth + 2);
        char* p = m_end + kCodeWidth;
        do {
            *--p = static_cast<char>('0' + group % 10);
            group /= 10;
        } while (group > 0);
        while (p > m_end)
            *--p = ' ';
        m_end += kCodeWidth;
        return raw("\r\n");
    }

    Lines& integer(long long value) {
        char digits[24];
        const auto res = std::to_chars(digits, digits + sizeof digits, value);
        const auto len = static_cast<std::size_t>(res.ptr - digits);
        room(kIntegerWidth + len + 2);
        for (std::size_t i = len; i < kIntegerWidth; ++i)
            *m_end++ = ' ';
        return line(std::string_view(digits, len));
    }

    Lines& real(double value) {
        // A reader stops at "nan" or "inf"; a point at the origin at least keeps the file usable.
        if (!std::isfinite(value))
            value = 0;
        room(kMaxRealLine);
        m_end = fixedSix(value, m_end, m_bufEnd);
        return raw("\r\n");
    }

    // UTF-8 text stored in Windows-1251; what the code page lacks, and malformed UTF-8, become
    // '?'. Each UTF-8 sequence gives one byte, so the output is never longer than the input.
    Lines& cp1251Line(std::string_view utf8) {
        if (utf8.size() + 2 > kCapacity)
            return line(platform::utf8ToCp1251(utf8)); // a long text: the rare, slow way
        room(utf8.size() + 2);
        const auto& table = cp1251Bytes();
        std::size_t pos = 0;
        while (pos < utf8.size()) {
            const auto b = static_cast<unsigned char>(utf8[pos]);
            if (b < 0x80) {
                *m_end++ = static_cast<char>(b);
                ++pos;
                continue;
            }
            const char32_t cp = platform::decodeUtf8(utf8, pos);
            const unsigned char byte = cp < kCp1251Top ? table[cp] : 0;
            *m_end++ = byte != 0 ? static_cast<char>(byte) : '?';
        }
        return raw("\r\n");
    }

    void flush() {
        append(m_buf, static_cast<std::size_t>(m_end - m_buf));
        m_end = m_buf;
    }

private:
    static constexpr std::size_t kCapacity = 4096;

    std::size_t free() const { return static_cast<std::size_t>(m_bufEnd - m_end); }
    void room(std::size_t n) {
        if (n > free())
            flush();
    }
    void append(const char* data, std::size_t n) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
        m_out.insert(m_out.end(), bytes, bytes + n);
    }

    platform::Bytes& m_out;
    char m_buf[kCapacity];
    char* m_end = m_buf;
    char* const m_bufEnd = m_buf + kCapacity;
};

// The style's name as the STYLE table and the TEXT entities give it, written into `buf`.
std::string_view styleNameInto(DxfStyle style, std::array<char, 24>& buf) {
    const int code = static_cast<int>(style);
    require(code <= 6, "text style code above 6");
    if (code > 0)
        return kStyleNames[static_cast<std::size_t>(code - 1)];
    char digits[20];
    const auto res = std::to_chars(digits, digits + sizeof digits, -static_cast<long long>(code));
    const auto len = static_cast<std::size_t>(res.ptr - digits);
    char* p = std::copy_n("FSH", 3, buf.data());
    for (std::size_t i = len; i < 3; ++i)
        *p++ = '0';
    p = std::copy_n(digits, len, p);
    return {buf.data(), static_cast<std::size_t>(p - buf.data())};
}

// Every entity starts with its kind and layer; most also name the line type.
void entityStart(Lines& out, std::string_view kindLines, DxfLayer layer) {
    out.raw(kindLines).line(layerName(layer));
}

} // namespace

std::string_view layerName(DxfLayer layer) {
    const int code = static_cast<int>(layer);
    require(code >= 1 && code <= 9, "layer code outside 1-9");
    return kLayerNames[static_cast<std::size_t>(code - 1)];
}

std::string styleName(DxfStyle style) {
    std::array<char, 24> buf;
    return std::string(styleNameInto(style, buf));
}

std::size_t DxfWriter::estimatedSize(std::size_t polylines, std::size_t vertices,
                                     std::size_t texts) {
    // A polyline with its end is about 110 bytes, a vertex about 80 with coordinates of up to
    // four integer digits, a text about 170 with a short string; the tables about 1.5 kB.
    return 2048 + polylines * 128 + vertices * 88 + texts * 192;
}

std::string DxfWriter::take() {
    std::string out(m_out.begin(), m_out.end());
    m_out = {};
    return out;
}

void DxfWriter::pair(int group, std::string_view value) {
    Lines(m_out).code(group).line(value);
}

void DxfWriter::integer(int group, int value) {
    Lines(m_out).code(group).integer(value);
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
    pair(70, "    3");
}

namespace {

// A name on one line: a line break inside it would end the group value early.
std::string oneLine(std::string_view s) {
    std::string out(s);
    for (auto& c : out)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return out;
}

} // namespace

void DxfWriter::writeStyle(std::string_view nameIn, std::string_view faceIn) {
    const std::string name = oneLine(nameIn);
    const std::string faceLine = oneLine(faceIn);
    std::string_view fontFaceUtf8 = faceLine;
    Lines out(m_out);
    out.raw("  0\r\nSTYLE\r\n").code(70).integer(0).code(2).cp1251Line(name);
    out.raw(" 40\r\n0.000000\r\n 41\r\n0.000000\r\n 50\r\n0.000000\r\n");
    out.code(71).integer(0).raw(" 42\r\n0.000000\r\n");
    // The face name stands where a font file would, so the reader can substitute its own font.
    // Faces come padded to their stored fields; a reader looks up the name as written.
    const auto end = fontFaceUtf8.find_last_not_of(' ');
    fontFaceUtf8 =
        end == std::string_view::npos ? std::string_view{} : fontFaceUtf8.substr(0, end + 1);
    out.code(3).cp1251Line(fontFaceUtf8);
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
    Lines out(m_out);
    entityStart(out, "  0\r\nPOLYLINE\r\n  8\r\n", layer);
    out.raw("  6\r\nCONTINUOUS\r\n");
    if (closed)
        out.raw(" 70\r\n     1\r\n");
    out.raw(" 40\r\n").real(width).raw(" 41\r\n").real(width).raw(" 66\r\n     1\r\n");
}

void DxfWriter::writeVertex(DxfLayer layer, double x, double y) {
    Lines out(m_out);
    entityStart(out, "  0\r\nVERTEX\r\n  8\r\n", layer);
    out.raw("  6\r\nCONTINUOUS\r\n 10\r\n").real(x).raw(" 20\r\n").real(y);
}

void DxfWriter::endPolyline() {
    Lines(m_out).raw("  0\r\nSEQEND\r\n  8\r\n0\r\n");
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
    std::array<char, 24> styleBuf;
    const std::string_view styleText = styleNameInto(style, styleBuf);
    Lines out(m_out);
    entityStart(out, "  0\r\nTEXT\r\n  8\r\n", layer);
    out.raw(" 10\r\n").real(x).raw(" 20\r\n").real(y).raw(" 40\r\n").real(height);
    out.raw("  1\r\n").cp1251Line(textUtf8);
    out.raw(" 50\r\n").real(rotation).raw(" 41\r\n1.000000\r\n  7\r\n").line(styleText);
    out.raw(" 71\r\n     0\r\n");
    if (align == DxfAlign::Left)
        return;
    out.raw(align == DxfAlign::Centre ? " 72\r\n     1\r\n" : " 72\r\n     2\r\n");
    out.raw(" 11\r\n").real(ax).raw(" 21\r\n").real(ay);
}

void DxfWriter::writeTrailer() {
    pair(0, "ENDSEC");
    pair(0, "EOF");
}

Status DxfWriter::save(const platform::WorkFolder& folder, std::string_view storedName) const {
    return folder.writeAtomic(storedName, m_out);
}

} // namespace orvo::exporter
