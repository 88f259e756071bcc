// The converters of drawing dictionaries into DXF entities.
#include "export/dxf_convert.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace orvo::exporter {

namespace {

constexpr double kDegree = std::numbers::pi / 180;

void segment(DxfWriter& w, DxfLayer layer, double width, DxfPoint a, DxfPoint b) {
    const std::array<DxfPoint, 2> points{a, b};
    w.writePolyline(layer, false, width, points);
}

// The first and last k of 0, 1, ... whose line value v0 - k·step (step > 0) lies in [lo, hi],
// within the `limit` the generating loop would reach.
struct KRange {
    std::int64_t first = 0;
    std::int64_t last = -1;
};
KRange linesWithin(double v0, double step, double lo, double hi, std::int64_t limit) {
    if (!(step > 0) || !std::isfinite(step) || !(lo <= hi))
        return {};
    const double a = std::ceil((v0 - hi) / step);
    const double b = std::floor((v0 - lo) / step);
    const double first = std::max(0.0, a);
    const double last = std::min(static_cast<double>(limit), b);
    if (!(first <= last))
        return {};
    return {static_cast<std::int64_t>(first), static_cast<std::int64_t>(last)};
}

struct Box {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};
Box boundingBox(const std::vector<DxfPoint>& polygon) {
    Box b{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (const auto& p : polygon)
        b = {std::min(b.x0, p.x), std::min(b.y0, p.y), std::max(b.x1, p.x), std::max(b.y1, p.y)};
    return b;
}

class HatchOut {
public:
    HatchOut(DxfWriter& w, ClipSegmentToPolygon& clip) : m_w(w), m_clip(clip) {}
    void line(double width, DxfPoint a, DxfPoint b) {
        if (++m_lines > kMaxSegmentsPerHatch)
            return;
        for (const auto& piece : m_clip.clip(a, b)) {
            segment(m_w, DxfLayer::Htr, width, piece.a, piece.b);
            ++m_pieces;
        }
    }
    std::size_t pieces() const { return m_pieces; }

private:
    DxfWriter& m_w;
    ClipSegmentToPolygon& m_clip;
    std::size_t m_pieces = 0;
    std::size_t m_lines = 0;
};

// Parallel lines of a hatch line element; the angle is measured from the vertical, positive
// rising to the right, and neighbours lie `step` apart perpendicularly.
void hatchLines(HatchOut& out, const dict::HatchLine& e, const HatchRect& r, const Box& box) {
    const double step = e.step;
    const double width = e.width;
    const double w = r.right - r.left;
    const int angle = e.angle % 360;
    const double sinA = std::sin(angle * kDegree);
    const double cosA = std::cos(angle * kDegree);
    constexpr std::int64_t kLimit = kMaxSegmentsPerElement;
    if (angle == 0 || std::fabs(sinA) < 1e-6) {
        // Vertical: x = left + k·step while x < right.
        const double last = std::ceil(w / step) - 1;
        const auto range = linesWithin(0, step, -(box.x1 - r.left), -(box.x0 - r.left),
                                       static_cast<std::int64_t>(std::min(last, 1e12)));
        std::int64_t n = 0;
        for (auto k = range.first; k <= range.last && n < kLimit; ++k, ++n) {
            const double x = r.left + static_cast<double>(k) * step;
            out.line(width, {x, r.top}, {x, r.bottom});
        }
        return;
    }
    if (angle == 90 || std::fabs(cosA) < 1e-6) {
        // Horizontal: y = top - k·step while y > bottom.
        const double last = std::ceil((r.top - r.bottom) / step) - 1;
        const auto range = linesWithin(r.top, step, box.y0, box.y1,
                                       static_cast<std::int64_t>(std::min(last, 1e12)));
        std::int64_t n = 0;
        for (auto k = range.first; k <= range.last && n < kLimit; ++k, ++n) {
            const double y = r.top - static_cast<double>(k) * step;
            out.line(width, {r.left, y}, {r.right, y});
        }
        return;
    }
    const double m = cosA / sinA;
    const double rise = m * w;
    // The lower end starts at the top; lines go down until both ends are below the bottom.
    const double y0 = rise >= 0 ? r.top : r.top - rise;
    const double vstep = step / std::fabs(sinA);
    const double higher = std::max(0.0, rise); // of the higher end above the left end
    const double last = std::ceil((y0 + higher - r.bottom) / vstep) - 1;
    // Over the polygon's x range the line's height above its left end spans [lo, hi].
    const double hA = m * (box.x0 - r.left);
    const double hB = m * (box.x1 - r.left);
    const auto range = linesWithin(y0, vstep, box.y0 - std::max(hA, hB), box.y1 - std::min(hA, hB),
                                   static_cast<std::int64_t>(std::min(last, 1e12)));
    std::int64_t n = 0;
    for (auto k = range.first; k <= range.last && n < kLimit; ++k, ++n) {
        const double yl = y0 - static_cast<double>(k) * vstep;
        out.line(width, {r.left, yl}, {r.right, yl + rise});
    }
}

// A segment tiled over the rectangle from its top left corner, x to the right and y down.
void hatchSegments(HatchOut& out, const dict::HatchSegment& e, const HatchRect& r, const Box& box) {
    const double sx = e.stepX;
    const double sy = e.stepY;
    if (!(sx > 0) || !(sy > 0) || !std::isfinite(sx) || !std::isfinite(sy))
        return;
    const double ax = r.left + e.x1, bx = r.left + e.x2;
    const double ay = r.top - e.y1, by = r.top - e.y2;
    if (!std::isfinite(ax + bx + ay + by))
        return;
    // Columns from the first whose right end reaches the box to the last whose left end does.
    const double c0 = std::max(0.0, std::ceil((box.x0 - std::max(ax, bx)) / sx));
    const double c1 = std::floor((box.x1 - std::min(ax, bx)) / sx);
    // Rows from the first whose lower end reaches the box to the last whose upper end does.
    const double r0 = std::max(0.0, std::ceil((std::min(ay, by) - box.y1) / sy));
    const double r1 = std::floor((std::max(ay, by) - box.y0) / sy);
    if (!(c0 <= c1) || !(r0 <= r1))
        return;
    std::int64_t n = 0;
    for (double row = r0; row <= r1; ++row)
        for (double col = c0; col <= c1; ++col) {
            if (++n > kMaxSegmentsPerElement)
                return;
            const double dx = col * sx, dy = row * sy;
            out.line(e.width, {ax + dx, ay - dy}, {bx + dx, by - dy});
        }
}

} // namespace

std::string dxfText(std::string_view utf8) {
    std::string s(utf8);
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = ' ';
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

void WriteSymbolDxf(DxfWriter& w, const dict::SymbolListRecord& record,
                    const std::vector<dict::SymbolElement>& elements, int symbol, double x,
                    double y, DxfLayer layer, bool anchorRight) {
    if (record.used == 0)
        return;
    const double left = anchorRight ? x - record.width * 0.01 : x;
    const double top = y + record.height * 0.01 * 0.5;
    if (symbol == 2 && record.elementCount == 5) {
        const std::array<DxfPoint, 8> glyph{{{left, top},
                                             {left + 2.5, top},
                                             {left + 2, top},
                                             {left + 2, top - 4.5},
                                             {left + 1.5, top - 5},
                                             {left + 1, top - 5},
                                             {left + 0.5, top - 4.5},
                                             {left + 0.5, top}}};
        w.writePolyline(layer, false, 0.3, glyph);
        return;
    }
    std::vector<DxfPoint> points;
    for (const auto& e : elements) {
        if (e.penKind != 2 && e.brushKind != 2)
            continue;
        double width = e.penWidth * 0.01;
        if (width < 0.001)
            width = 0.1;
        const auto at = [&](const dict::SymbolPoint& p) {
            return DxfPoint{left + 0.01 * p.x, top - 0.01 * p.y};
        };
        points.clear();
        if (e.type == dict::kSymbolSegment || e.type == dict::kSymbolPolygon) {
            for (const auto& p : e.points)
                points.push_back(at(p));
            if (points.size() >= 2)
                w.writePolyline(layer, false, width, points);
        } else if (e.type == dict::kSymbolRectangle && e.points.size() >= 2) {
            const auto a = at(e.points[0]);
            const auto b = at(e.points[1]);
            const std::array<DxfPoint, 5> box{{a, {a.x, b.y}, b, {b.x, a.y}, a}};
            w.writePolyline(layer, true, width, box);
        }
    }
}

void WriteConsistencyDxf(DxfWriter& w, std::span<const dict::ConsistencyElement> elements,
                         double x1, double y1, double x2, double y2) {
    constexpr DxfLayer kLayer = DxfLayer::Line;
    for (const auto& e : elements) {
        double lw = e.lineWidth * 0.01;
        const double s = e.step * 0.01;
        const bool repeated = e.step != 0 && e.repeat != 0;
        if (e.kind == dict::kVertical) {
            if (repeated) {
                if (!(s > 0))
                    continue;
                int n = 0;
                for (double x = x1 + lw / 2; x <= x2 - lw / 2 && n < kMaxSegmentsPerElement;
                     x = x1 + lw / 2 + (++n) * s)
                    segment(w, kLayer, lw, {x, y1}, {x, y2});
            } else {
                lw = std::min(lw, x2 - x1);
                const double x = x1 + (x2 - x1) / 2 + s;
                if (x <= x2 - lw / 2)
                    segment(w, kLayer, lw, {x, y1}, {x, y2});
            }
        } else if (e.kind == dict::kHorizontal) {
            if (!repeated || !(s > 0))
                continue;
            int n = 0;
            for (double y = y1 + lw / 2; y <= y2 - lw / 2 && n < kMaxSegmentsPerElement;
                 y = y1 + lw / 2 + (++n) * s)
                segment(w, kLayer, lw, {x1, y}, {x2, y});
        } else if (e.kind == dict::kDiagonal) {
            // A repeated diagonal without a step is the single diagonal.
            if (!repeated) {
                if (e.direction == 0)
                    segment(w, kLayer, lw, {x1, y2}, {x2, y1});
                else
                    segment(w, kLayer, lw, {x1, y1}, {x2, y2});
                continue;
            }
            const std::array<DxfPoint, 4> rect{{{x1, y1}, {x1, y2}, {x2, y2}, {x2, y1}}};
            ClipSegmentToPolygon clip(rect);
            const double left = x1 - 1, right = x2 + 1;
            const double c = std::cos(e.angle * kDegree);
            if (std::fabs(c) < 1e-9) {
                // No slope to speak of: drawn as horizontal lines.
                int n = 0;
                for (double y = y2; y > y1 && n < kMaxSegmentsPerElement;
                     y = y2 - (++n) * std::fabs(s))
                    for (const auto& p : clip.clip({left, y}, {right, y}))
                        segment(w, kLayer, lw, p.a, p.b);
                continue;
            }
            const double rise = std::tan(e.angle * kDegree) * (right - left);
            DxfPoint a{left, y2}, b{right, y2 + rise};
            if (b.y < y2)
                a = {left, y2 - rise}, b = {right, y2};
            const double down = std::fabs(s);
            for (int n = 0; (a.y > y1 || b.y > y1) && n < kMaxSegmentsPerElement; ++n) {
                const double dy = n * down;
                const DxfPoint p{a.x, a.y - dy}, q{b.x, b.y - dy};
                if (p.y <= y1 && q.y <= y1)
                    break;
                for (const auto& piece : clip.clip(p, q))
                    segment(w, kLayer, lw, piece.a, piece.b);
            }
        }
    }
}

std::size_t WriteHatchDxf(DxfWriter& w, const dict::HatchPattern& pattern, const HatchRect& rect,
                          ClipSegmentToPolygon& clip) {
    if (clip.polygon().size() < 3)
        return 0;
    const Box box = boundingBox(clip.polygon());
    HatchOut out(w, clip);
    const std::size_t lines = std::min<std::size_t>(pattern.lines.size(), dict::kMaxHatchElements);
    for (std::size_t i = 0; i < lines; ++i) {
        const auto& e = pattern.lines[i];
        if (e.step > 0 && std::isfinite(e.step) && std::isfinite(e.width))
            hatchLines(out, e, rect, box);
    }
    const std::size_t segments =
        std::min<std::size_t>(pattern.segments.size(), dict::kMaxHatchElements);
    for (std::size_t i = 0; i < segments; ++i)
        if (std::isfinite(pattern.segments[i].width))
            hatchSegments(out, pattern.segments[i], rect, box);
    return out.pieces();
}

DxfDictionaries::DxfDictionaries(const platform::WorkFolder& folder) : m_folder(folder) {
    if (auto list = dict::ReadSymbolList(folder))
        m_symbolList = std::move(*list);
}

void DxfDictionaries::symbol(DxfWriter& w, int slot, double x, double y, DxfLayer layer,
                             bool anchorRight) {
    if (slot <= 0 || static_cast<std::size_t>(slot) >= m_symbolList.size())
        return;
    const auto& record = m_symbolList[static_cast<std::size_t>(slot)];
    if (record.used == 0)
        return;
    auto it = m_symbolItems.find(slot);
    if (it == m_symbolItems.end()) {
        std::vector<dict::SymbolElement> elements;
        const auto path = dict::symbolItemPath(slot);
        const auto read = m_folder.read(path, dict::kMaxSymbolItemBytes);
        if (read.ok())
            (void)dict::parseSymbolItems(read.bytes, record.elementCount, path, elements);
        it = m_symbolItems.emplace(slot, std::move(elements)).first;
    }
    const bool glyph = slot == 2 && record.elementCount == 5;
    if (it->second.empty() && !glyph)
        return;
    WriteSymbolDxf(w, record, it->second, slot, x, y, layer, anchorRight);
}

void DxfDictionaries::consistency(DxfWriter& w, int type, double x1, double y1, double x2,
                                  double y2) {
    if (type < 0)
        return;
    auto it = m_consistency.find(type);
    if (it == m_consistency.end()) {
        std::optional<dict::ConsistencyType> loaded;
        if (auto t = dict::LoadConsistencyType(m_folder, type))
            loaded = std::move(*t);
        it = m_consistency.emplace(type, std::move(loaded)).first;
    }
    if (!it->second || it->second->record.used == 0)
        return;
    WriteConsistencyDxf(w, it->second->elements, x1, y1, x2, y2);
}

const dict::HatchPattern* DxfDictionaries::hatch(std::int32_t slot) {
    if (slot < 0)
        return nullptr;
    auto it = m_hatches.find(slot);
    if (it == m_hatches.end()) {
        std::optional<dict::HatchPattern> loaded;
        if (auto h = dict::LoadHatch(m_folder, slot))
            loaded = std::move(*h);
        it = m_hatches.emplace(slot, std::move(loaded)).first;
    }
    return it->second ? &*it->second : nullptr;
}

TitleBlockFaces titleBlockFaces(const dict::TitleBlock& block) {
    TitleBlockFaces out;
    // Compared as stored, padded with blanks.
    std::vector<std::string> raw;
    const auto number = [&](const dict::LogFont& font) {
        std::string padded = font.faceName.utf8();
        const auto nul = padded.find('\0');
        if (nul != std::string::npos)
            padded.resize(nul);
        while (!padded.empty() && padded.back() == ' ')
            padded.pop_back();
        const auto it = std::find(raw.begin(), raw.end(), padded);
        if (it != raw.end())
            return static_cast<int>(it - raw.begin());
        raw.push_back(padded);
        out.faces.push_back(dxfText(padded));
        return static_cast<int>(raw.size()) - 1;
    };
    for (const auto& t : block.programTexts)
        out.programFace.push_back(number(t.font));
    for (const auto& t : block.editableTexts)
        out.editableFace.push_back(number(t.font));
    return out;
}

void WriteTitleBlockStyles(DxfWriter& w, const TitleBlockFaces& faces) {
    for (std::size_t k = 0; k < faces.faces.size(); ++k)
        w.writeStyle(styleName(titleBlockStyle(static_cast<int>(k))), faces.faces[k]);
}

void WriteTitleBlockDxf(DxfWriter& w, const dict::TitleBlock& block, const TitleBlockFaces& faces,
                        double sheetWidth, const std::function<std::string(int)>& field) {
    if (block.empty())
        return;
    int mx = INT32_MAX, my = INT32_MAX;
    const auto take = [&](int x, int y) {
        mx = std::min(mx, x);
        my = std::min(my, y);
    };
    for (const auto& s : block.segments) {
        take(s.x1, s.y1);
        take(s.x2, s.y2);
    }
    const auto takeBox = [&](const dict::TitleTextBox& b) {
        take(b.x1, b.y1);
        take(b.x2, b.y2);
    };
    for (const auto& t : block.programTexts)
        takeBox(t.box);
    for (const auto& t : block.editableTexts)
        takeBox(t.box);
    const double ox = sheetWidth - block.width - 50 - mx;
    const double oy = 50.0 - my;
    const auto X = [&](double v) { return (v + ox) * 0.1; };
    const auto Y = [&](double v) { return (v + oy) * 0.1; };
    for (const auto& s : block.segments)
        segment(w, DxfLayer::Shtamp, s.penWidth * 0.1, {X(s.x1), Y(s.y1)}, {X(s.x2), Y(s.y2)});
    const auto text = [&](const dict::TitleTextBox& b, int face, const std::string& value) {
        const double height = b.size * kMmPerPoint * kFixedCapRatio;
        const double left = X(std::min(b.x1, b.x2));
        const double right = X(std::max(b.x1, b.x2));
        const double y = (Y(b.y1) + Y(b.y2)) / 2 - height / 2;
        DxfAlign align = DxfAlign::Left;
        double ax = 0;
        if (b.style & dict::kTitleRight) {
            align = DxfAlign::Right;
            ax = right;
        } else if (b.style & dict::kTitleCentred) {
            align = DxfAlign::Centre;
            ax = (left + right) / 2;
        }
        w.writeText(DxfLayer::Shtamp, titleBlockStyle(face), left, y, height, 0, align, ax, y,
                    dxfText(value));
    };
    for (std::size_t i = 0; i < block.programTexts.size(); ++i) {
        const auto& t = block.programTexts[i];
        text(t.box, faces.programFace[i], field ? field(t.fieldCode) : std::string());
    }
    for (std::size_t i = 0; i < block.editableTexts.size(); ++i) {
        const auto& t = block.editableTexts[i];
        text(t.box, faces.editableFace[i], t.text.utf8());
    }
}

} // namespace orvo::exporter
