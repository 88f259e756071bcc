// Rules of the title block editor: box arithmetic, the grid, element lists and picking.
#include "dict/title_block_edit_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvo::dict::editrules {

namespace {

int floorHalf(int v) {
    return v >= 0 ? v / 2 : -((-v + 1) / 2);
}

std::int16_t toInt16(int v) {
    return static_cast<std::int16_t>(std::clamp(v, -32768, 32767));
}

template <class T> void assignBox(T& target, const Box& b) {
    target.x1 = toInt16(b.x1);
    target.y1 = toInt16(b.y1);
    target.x2 = toInt16(b.x2);
    target.y2 = toInt16(b.y2);
}

template <class T> Box boxFrom(const T& t) {
    return {t.x1, t.y1, t.x2, t.y2};
}

double segmentDistance2(Point p, const Box& s) {
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - s.x1) * dx + (p.y - s.y1) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = s.x1 + t * dx - p.x, ey = s.y1 + t * dy - p.y;
    return ex * ex + ey * ey;
}

double boxDistance2(Point p, const Box& b) {
    const double dx = std::max({std::min(b.x1, b.x2) - p.x, 0, p.x - std::max(b.x1, b.x2)});
    const double dy = std::max({std::min(b.y1, b.y2) - p.y, 0, p.y - std::max(b.y1, b.y2)});
    return dx * dx + dy * dy;
}

} // namespace

BoxFields fieldsFor(const Box& b) {
    return {std::abs(b.x1 - b.x2), std::abs(b.y1 - b.y2), 0, 0, b};
}

Box applyFields(const BoxFields& f) {
    Box b = f.box;
    if (f.sizeX != std::abs(b.x1 - b.x2))
        b.x2 = b.x1 + f.sizeX;
    if (f.sizeY != std::abs(b.y1 - b.y2))
        b.y2 = b.y1 - f.sizeY;
    b.x1 += f.dX;
    b.x2 += f.dX;
    b.y1 += f.dY;
    b.y2 += f.dY;
    return b;
}

Box normalised(Box b) {
    if (b.x1 > b.x2)
        std::swap(b.x1, b.x2);
    if (b.y1 < b.y2)
        std::swap(b.y1, b.y2);
    return b;
}

Box rotated(const Box& b) {
    const int w = std::abs(b.x2 - b.x1);
    const int h = std::abs(b.y1 - b.y2);
    // Working from the doubled centre keeps whole tenths without drifting the box sideways.
    Box r;
    r.x1 = floorHalf(b.x1 + b.x2 - h);
    r.x2 = r.x1 + h;
    r.y1 = floorHalf(b.y1 + b.y2 + w);
    r.y2 = r.y1 - w;
    return r;
}

bool outOfBounds(const Box& b) {
    return std::max({std::abs(b.x1), std::abs(b.y1), std::abs(b.x2), std::abs(b.y2)}) >
           kCoordinateLimit;
}

int snapToGrid(int tenths, int step) {
    if (step <= 0)
        return tenths;
    return static_cast<int>(std::lround(static_cast<double>(tenths) / step)) * step;
}

Box dragSegment(Point a, Point b, int step) {
    const Point s{snapToGrid(a.x, step), snapToGrid(a.y, step)};
    const Point e{snapToGrid(b.x, step), snapToGrid(b.y, step)};
    if (std::abs(e.x - s.x) >= std::abs(e.y - s.y))
        return normalised({s.x, s.y, e.x, s.y});
    return normalised({s.x, s.y, s.x, e.y});
}

Box dragBox(Point a, Point b, int step) {
    return normalised({snapToGrid(a.x, step), snapToGrid(a.y, step), snapToGrid(b.x, step),
                       snapToGrid(b.y, step)});
}

bool segmentVertical(const TitleSegment& s) {
    return s.x1 == s.x2;
}

Box boxOf(const TitleBlockEdit& edit, Selection s) {
    const auto i = static_cast<std::size_t>(s.index);
    switch (s.kind) {
    case Kind::Segment:
        return boxFrom(edit.segments[i].item);
    case Kind::ProgramText:
        return boxFrom(edit.programTexts[i].item.box);
    case Kind::EditableText:
        break;
    }
    return boxFrom(edit.editableTexts[i].item.box);
}

void setBox(TitleBlockEdit& edit, Selection s, const Box& b) {
    const auto i = static_cast<std::size_t>(s.index);
    if (s.kind == Kind::Segment)
        assignBox(edit.segments[i].item, b);
    else if (s.kind == Kind::ProgramText)
        assignBox(edit.programTexts[i].item.box, b);
    else
        assignBox(edit.editableTexts[i].item.box, b);
}

bool isAlive(const TitleBlockEdit& edit, Selection s) {
    auto alive = [&](const auto& v) {
        return s.index >= 0 && s.index < static_cast<int>(v.size()) &&
               v[static_cast<std::size_t>(s.index)].alive;
    };
    if (s.kind == Kind::Segment)
        return alive(edit.segments);
    return s.kind == Kind::ProgramText ? alive(edit.programTexts) : alive(edit.editableTexts);
}

std::vector<std::pair<std::string, int>> elementEntries(const TitleBlockEdit& edit, Kind kind) {
    std::vector<std::pair<std::string, int>> out;
    if (kind == Kind::ProgramText) {
        for (int code = 0; code < kTitleFieldCount; ++code)
            out.emplace_back(titleFieldLabel(code), code);
        return out;
    }
    const std::size_t n = kind == Kind::Segment ? edit.segments.size() : edit.editableTexts.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (kind == Kind::Segment && edit.segments[i].alive)
            out.emplace_back("Отрезок #" + std::to_string(out.size() + 1), static_cast<int>(i));
        else if (kind == Kind::EditableText && edit.editableTexts[i].alive)
            out.emplace_back(edit.editableTexts[i].item.text.utf8(), static_cast<int>(i));
    }
    return out;
}

std::optional<Selection> nearestElement(const TitleBlockEdit& edit, Point p) {
    std::optional<Selection> best;
    double bestDistance = std::numeric_limits<double>::max();
    auto consider = [&](Kind kind, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const Selection s{kind, static_cast<int>(i)};
            if (!isAlive(edit, s))
                continue;
            const double d = kind == Kind::Segment ? segmentDistance2(p, boxOf(edit, s))
                                                   : boxDistance2(p, boxOf(edit, s));
            if (d < bestDistance) {
                bestDistance = d;
                best = s;
            }
        }
    };
    consider(Kind::Segment, edit.segments.size());
    consider(Kind::ProgramText, edit.programTexts.size());
    consider(Kind::EditableText, edit.editableTexts.size());
    return best;
}

std::optional<Applied> applyEdit(TitleBlockEdit& edit, Selection s, const BoxFields& f,
                                 const std::string& textUtf8, bool asCopy) {
    if (!isAlive(edit, s) || (asCopy && s.kind == Kind::ProgramText))
        return std::nullopt;
    Box b = applyFields(f);
    if (s.kind == Kind::Segment) {
        // Segments stay horizontal or vertical, whichever they were.
        if (segmentVertical(edit.segments[static_cast<std::size_t>(s.index)].item))
            b.x2 = b.x1;
        else
            b.y2 = b.y1;
    }
    Selection target = s;
    if (asCopy) {
        auto copy = [&](auto& v) {
            v.push_back(v[static_cast<std::size_t>(s.index)]);
            target.index = static_cast<int>(v.size()) - 1;
        };
        if (s.kind == Kind::Segment)
            copy(edit.segments);
        else
            copy(edit.editableTexts);
    }
    setBox(edit, target, normalised(b));
    if (s.kind == Kind::EditableText)
        edit.editableTexts[static_cast<std::size_t>(target.index)].item.text.setUtf8(textUtf8);
    return Applied{target, outOfBounds(b)};
}

bool rotateElement(TitleBlockEdit& edit, Selection s) {
    if (!isAlive(edit, s))
        return false;
    const Box b = normalised(rotated(boxOf(edit, s)));
    setBox(edit, s, b);
    return outOfBounds(b);
}

} // namespace orvo::dict::editrules
