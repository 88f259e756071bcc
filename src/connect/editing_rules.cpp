// The connection editor's operations: screen mapping, hit testing and the rules of every edit.
#include "connect/editing_rules.h"

#include "platform/codepage.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace orvo::connect {

namespace {

const char* const kStopCaption = "Stop";

std::size_t ix(std::int32_t i) {
    assert(i >= 0);
    return static_cast<std::size_t>(i);
}

// Stored coordinates can be far outside the displayed range, so products are clamped instead of
// overflowing.
std::int32_t truncClamped(double v) {
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (!(v >= lo))
        return std::numeric_limits<std::int32_t>::min();
    if (v > hi)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v);
}

double distance(const SectionBorehole& a, const SectionBorehole& b) {
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

bool touches(const ConnectionLine& l, std::int32_t p) {
    return l.from == p || l.to == p;
}

bool isBorehole(const ConnectionPoint& p) {
    return p.kind == PointKind::Borehole;
}

// A segment never crosses a borehole: free points share their interval, and a borehole point on
// borehole k only reaches interval k - 1 (left) or k (right), whose owners are k - 1 and k.
bool spansBorehole(const ConnectionPoint& a, const ConnectionPoint& b) {
    if (isBorehole(a) && isBorehole(b))
        return std::abs(a.borehole - b.borehole) > 1;
    if (isBorehole(b))
        return spansBorehole(b, a);
    if (isBorehole(a))
        return b.borehole != a.borehole && b.borehole != a.borehole - 1;
    return a.borehole != b.borehole;
}

// Kind of a free point from the number of lines it keeps.
PointKind kindForCount(std::int32_t count) {
    if (count >= 3)
        return PointKind::Node;
    return count == 2 ? PointKind::Bend : PointKind::PinchOut;
}

std::string styleStatus(LineStyle s) {
    return s == LineStyle::Straight ? "Выбран тип линии: ПРЯМАЯ" : "Выбран тип линии: РАЗМЫТАЯ";
}

std::string visibleStatus(std::int32_t v) {
    return v != 0 ? "Выбран режим видимых границ ИГЭ" : "Выбран режим невидимых границ ИГЭ";
}

} // namespace

ScreenPos ScreenMapping::toScreen(std::int32_t mx, std::int32_t my) const {
    return {mx - originX, originY - my};
}

ScreenPos ScreenMapping::pos(const ConnectionPoint& p) const {
    const auto b = ix(p.borehole);
    assert(b < boreX.size());
    const auto mx = truncClamped(static_cast<float>(p.offset) * hScale) + boreX[b];
    const auto my = collarY[b] - truncClamped(static_cast<float>(p.depth) * vScale);
    return toScreen(mx, my);
}

ScreenPos ScreenMapping::pointPos(const ConnectionModel& m, std::int32_t point) const {
    return pos(m.points[ix(point)]);
}

std::int32_t ScreenMapping::offsetAt(std::int32_t b, ScreenPos c) const {
    return truncClamped((static_cast<double>(modelX(c)) - boreX[ix(b)]) / hScale);
}

std::int32_t ScreenMapping::depthAt(std::int32_t b, ScreenPos c) const {
    return truncClamped((static_cast<double>(collarY[ix(b)]) - modelY(c)) / vScale);
}

Result<ScreenMapping> MakeScreenMapping(const ConnectionModel& m, std::int32_t width,
                                        std::int32_t height, std::int32_t firstShown,
                                        std::int32_t shown) {
    const auto n = m.boreholeCount();
    if (shown < 2 || firstShown < 0 || firstShown + shown > n)
        return Error{"Нет выработок для показа", kStopCaption};
    ScreenMapping map;
    map.width = width;
    map.height = height;
    map.firstShown = firstShown;
    map.shown = shown;
    double sum = 0;
    for (auto i = firstShown; i + 1 < firstShown + shown; ++i)
        sum = std::trunc(sum + distance(m.boreholes[ix(i)], m.boreholes[ix(i + 1)]));
    if (sum <= 0)
        return Error{"Выработки разреза совпадают:\rмасштаб не определен", kStopCaption};
    double top = m.boreholes[ix(firstShown)].collarElevation;
    double bottom = top - m.boreholes[ix(firstShown)].depth;
    for (auto i = firstShown; i < firstShown + shown; ++i) {
        const auto& b = m.boreholes[ix(i)];
        top = std::max(top, static_cast<double>(b.collarElevation));
        bottom = std::min(bottom, static_cast<double>(b.collarElevation) - b.depth);
    }
    if (top - bottom <= 0)
        return Error{"Нулевой перепад отметок выработок:\rмасштаб не определен", kStopCaption};
    // A quarter of the window, in whole pixels, stays free around the boreholes.
    const int usedWidth = width - width / 4;
    const int usedHeight = height - height / 4;
    map.hScale = static_cast<float>(usedWidth) / static_cast<float>(sum);
    map.vScale = static_cast<float>(usedHeight) / static_cast<float>(top - bottom);
    if (!(map.hScale > 0) || !(map.vScale > 0) || !std::isfinite(map.hScale) ||
        !std::isfinite(map.vScale))
        return Error{"Слишком мала область рисования", kStopCaption};

    map.boreX.assign(ix(n), 0);
    map.collarY.assign(ix(n), 0);
    double d = 0;
    for (std::int32_t j = 0; j < n; ++j) {
        if (j > 0) {
            d = std::trunc(d + distance(m.boreholes[ix(j - 1)], m.boreholes[ix(j)]));
            map.boreX[ix(j)] = truncClamped(map.hScale * static_cast<float>(d));
        }
        map.collarY[ix(j)] =
            truncClamped(static_cast<float>(m.boreholes[ix(j)].collarElevation) * map.vScale);
    }
    std::int32_t highest = map.collarY[ix(firstShown)];
    for (auto i = firstShown; i < firstShown + shown; ++i)
        highest = std::max(highest, map.collarY[ix(i)]);
    map.originX = map.boreX[ix(firstShown)] - width / 8;
    map.originY = highest + height / 8;
    return map;
}

std::int32_t pointLineCount(const ConnectionModel& m, std::int32_t point) {
    return static_cast<std::int32_t>(
        std::count_if(m.lines.begin(), m.lines.end(),
                      [&](const ConnectionLine& l) { return touches(l, point); }));
}

std::int32_t hitPoint(const ConnectionModel& m, const ScreenMapping& map, ScreenPos c,
                      bool freeOnly) {
    for (std::int32_t i = 0; i < m.pointCount(); ++i) {
        if (freeOnly && !m.points[ix(i)].isFree())
            continue;
        const auto p = map.pointPos(m, i);
        if (std::abs(p.x - c.x) <= 1 && std::abs(p.y - c.y) <= 1)
            return i;
    }
    return -1;
}

std::int32_t hitLine(const ConnectionModel& m, const ScreenMapping& map, ScreenPos c) {
    for (std::int32_t i = 0; i < m.lineCount(); ++i) {
        const auto a = map.pointPos(m, m.lines[ix(i)].from);
        const auto b = map.pointPos(m, m.lines[ix(i)].to);
        if (c.x < std::min(a.x, b.x) + 2 || c.x > std::max(a.x, b.x) - 2)
            continue;
        if (lineRowAt(a, b, c.x) == c.y)
            return i;
    }
    return -1;
}

std::int32_t lineRowAt(ScreenPos a, ScreenPos b, std::int32_t x) {
    const auto bx = a.x == b.x ? a.x + 1 : b.x;
    const float y = static_cast<float>(a.y) + static_cast<float>(b.y - a.y) /
                                                  static_cast<float>(bx - a.x) *
                                                  static_cast<float>(x - a.x);
    return truncClamped(y + 0.5f);
}

std::string igeLabel(const ConnectionModel& m, std::int32_t index) {
    if (index <= 0 || index >= m.igeCount())
        return {};
    const auto& ige = m.igeNumbers[ix(index)];
    std::string_view raw(ige.data(), ige.size());
    raw = raw.substr(0, raw.find('\0'));
    const auto end = raw.find_last_not_of(' ');
    return platform::cp1251ToUtf8(end == std::string_view::npos ? std::string_view{}
                                                                : raw.substr(0, end + 1));
}

std::string describePoint(const ConnectionModel& m, std::int32_t point) {
    const auto& p = m.points[ix(point)];
    switch (p.kind) {
    case PointKind::Borehole:
        if (p.ref <= 0 || p.ref >= m.igeCount())
            return "Точка: Устье выработки";
        return "Точка: Подошва ИГЭ " + igeLabel(m, p.ref);
    case PointKind::Node:
        return "Точка: Узловая точка";
    case PointKind::Bend:
        return "Точка: Точка изгиба";
    case PointKind::PinchOut:
        return "Точка: Точка висячки";
    }
    return {};
}

void Editor::hover(ScreenPos c) {
    if (state.mode == EditMode::SelectLine)
        hoverLine(c);
    else if (state.mode == EditMode::Draw || !state.dragging)
        hoverPoint(c);
}

void Editor::hoverLine(ScreenPos c) {
    state.hoverLine = hitLine(model, map, c);
    state.status = state.hoverLine >= 0 ? "Для выбора динии кликните мышью" : "";
}

void Editor::hoverPoint(ScreenPos c) {
    const bool pointMode = state.mode == EditMode::Point;
    state.hoverPoint = hitPoint(model, map, c, pointMode);
    state.hoverLine = -1;
    if (state.hoverPoint >= 0) {
        state.status = describePoint(model, state.hoverPoint);
        return;
    }
    state.status.clear();
    if (pointMode) {
        state.hoverLine = hitLine(model, map, c);
        if (state.hoverLine >= 0)
            state.status = "Для создания точки дважды кликните мышью";
    }
}

bool Editor::beginSegment(ScreenPos c) {
    if (state.mode != EditMode::Draw || state.dragging)
        return false;
    hoverPoint(c);
    const auto p = state.hoverPoint;
    if (p < 0)
        return false;
    const auto& pt = model.points[ix(p)];
    const auto n = pointLineCount(model, p);
    const bool outer = pt.borehole == 0 || pt.borehole == model.boreholeCount() - 1;
    if ((isBorehole(pt) && (n >= 2 || (outer && n >= 1))) ||
        (pt.kind == PointKind::Node && n >= 4)) {
        state.status = "Не верный выбор точки";
        return false;
    }
    state.startPoint = p;
    state.dragging = true;
    state.status = "Точка №1 для создания отрезка выбрана";
    return true;
}

// Checks 3 to 5 of one end p whose new partner lies at screen x `otherX`.
bool Editor::checkEnd(std::int32_t p, std::int32_t otherX) {
    const auto n = pointLineCount(model, p);
    const bool onBorehole = isBorehole(model.points[ix(p)]);
    if (n > 3) {
        state.status = "ОШИБКА: Из точки не может выходить более 4 линий";
        return false;
    }
    if (onBorehole && n > 1) {
        state.status = "ОШИБКА: Из точки подошвы ИГЭ не может выходить более 2 линий";
        return false;
    }
    if (onBorehole && n == 1) {
        const auto& l = *std::find_if(model.lines.begin(), model.lines.end(),
                                      [&](const ConnectionLine& x) { return touches(x, p); });
        const auto xp = map.pointPos(model, p).x;
        const auto xo = map.pointPos(model, l.from == p ? l.to : l.from).x;
        if ((otherX > xp && xo > xp) || (otherX < xp && xo < xp)) {
            state.status = "ОШИБКА: Из точки подошвы ИГЭ не может выходить 2 линии в одном "
                           "направлении";
            return false;
        }
    }
    return true;
}

void Editor::normalise(std::int32_t line) {
    auto& l = model.lines[ix(line)];
    if (map.pointPos(model, l.to).x < map.pointPos(model, l.from).x)
        std::swap(l.from, l.to);
}

bool Editor::finishSegment(ScreenPos c) {
    if (state.mode != EditMode::Draw || !state.dragging)
        return false;
    hoverPoint(c);
    const auto s = state.startPoint;
    auto e = state.hoverPoint;
    ConnectionPoint proposal;
    if (e < 0) {
        std::int32_t b = -1;
        for (std::int32_t j = 0; j < model.boreholeCount(); ++j)
            if (map.boreX[ix(j)] <= map.modelX(c))
                b = j;
        if (b < 0 || b == model.boreholeCount() - 1) {
            state.status = "ОШИБКА: Висячка за пределами разреза";
            return false;
        }
        proposal = {PointKind::PinchOut, b, model.lineCount(), map.offsetAt(b, c),
                    map.depthAt(b, c)};
    }
    const auto& ps = model.points[ix(s)];
    const auto& pe = e >= 0 ? model.points[ix(e)] : proposal;
    if (isBorehole(ps) && isBorehole(pe) && ps.borehole == pe.borehole) {
        state.status = "ОШИБКА: Две точки подошв ИГЭ выработки на одной линии";
        return false;
    }
    if (e == s) {
        state.status = "ОШИБКА: Начало и конец отрезка совпадают";
        return false;
    }
    if (spansBorehole(ps, pe)) {
        state.status = "ОШИБКА: Пересечение выработки не допустимо";
        return false;
    }
    if (!checkEnd(s, map.pos(pe).x) || (e >= 0 && !checkEnd(e, map.pos(ps).x)))
        return false;
    if (e < 0 && model.pointCount() >= model.pointCapacity()) {
        state.status = "ОШИБКА: Превышено допустимое число точек";
        return false;
    }
    if (model.lineCount() >= model.lineCapacity()) {
        state.status = "ОШИБКА: Превышено допустимое число линий";
        return false;
    }
    if (e < 0) {
        e = model.pointCount();
        model.points.push_back(proposal);
    }
    model.lines.push_back({s, e, state.currentStyle, state.currentVisible});
    bool pinchOut = false;
    for (const auto p : {s, e}) {
        auto& pt = model.points[ix(p)];
        const auto n = pointLineCount(model, p);
        if (pt.kind == PointKind::Bend && n > 2)
            pt.kind = PointKind::Node;
        if (pt.kind == PointKind::PinchOut && n > 1)
            pt.kind = PointKind::Bend;
        pinchOut = pinchOut || pt.kind == PointKind::PinchOut;
    }
    normalise(model.lineCount() - 1);
    state.dragging = false;
    state.startPoint = -1;
    state.status = pinchOut ? "Висячка создана" : "Создан отрезок";
    return true;
}

bool Editor::cancelDrag() {
    if (!state.dragging)
        return false;
    state.dragging = false;
    state.startPoint = -1;
    return true;
}

bool Editor::selectLine(ScreenPos c) {
    if (state.mode != EditMode::SelectLine)
        return false;
    const auto l = hitLine(model, map, c);
    if (l < 0)
        return false;
    state.selectedLine = l;
    state.status = "Линия выбрана";
    return true;
}

bool Editor::nextLine() {
    if (state.selectedLine < 0 || state.selectedLine >= model.lineCount() - 1)
        return false;
    ++state.selectedLine;
    state.status = "Смена выбранной линии";
    return true;
}

bool Editor::previousLine() {
    if (state.selectedLine <= 0)
        return false;
    --state.selectedLine;
    state.status = "Смена выбранной линии";
    return true;
}

bool Editor::setStyle(LineStyle style) {
    if (state.selectedLine >= 0) {
        auto& l = model.lines[ix(state.selectedLine)];
        if (l.style == style)
            return false;
        l.style = style;
        state.status = styleStatus(style);
        return true;
    }
    if (state.currentStyle == style)
        return false;
    state.currentStyle = style;
    state.status = styleStatus(style);
    return true;
}

bool Editor::setVisible(std::int32_t visible) {
    visible = visible != 0 ? 1 : 0;
    if (state.selectedLine >= 0) {
        auto& l = model.lines[ix(state.selectedLine)];
        if (l.visible == visible)
            return false;
        l.visible = visible;
        state.status = visibleStatus(visible);
        return true;
    }
    const bool changed = state.currentVisible != visible;
    state.currentVisible = visible;
    state.status = visibleStatus(visible);
    return changed;
}

// Removes `line`, demoting or removing its free ends; `tracked` follows its point through the
// renumbering and becomes -1 if that point goes.
void Editor::removeLine(std::int32_t line, std::int32_t& tracked) {
    const auto& l = model.lines[ix(line)];
    std::vector<std::int32_t> ends{std::max(l.from, l.to)};
    if (l.from != l.to)
        ends.push_back(std::min(l.from, l.to));
    std::vector<std::int32_t> removed;
    for (const auto e : ends) {
        auto& p = model.points[ix(e)];
        if (!p.isFree())
            continue;
        const auto remaining = pointLineCount(model, e) - 1;
        if (remaining <= 0) {
            removed.push_back(e);
            continue;
        }
        if (p.ref == line) {
            for (std::int32_t i = 0; i < model.lineCount(); ++i)
                if (i != line && touches(model.lines[ix(i)], e))
                    p.ref = i;
        }
        p.kind = kindForCount(remaining);
    }
    for (const auto r : removed) { // already higher index first
        model.points.erase(model.points.begin() + r);
        for (auto& x : model.lines) {
            x.from -= x.from > r ? 1 : 0;
            x.to -= x.to > r ? 1 : 0;
        }
        tracked = tracked == r ? -1 : tracked - (tracked > r ? 1 : 0);
    }
    model.lines.erase(model.lines.begin() + line);
    for (auto& p : model.points)
        if (p.isFree() && p.ref > line)
            --p.ref;
}

bool Editor::deleteLine() {
    if (state.selectedLine < 0 || state.selectedLine >= model.lineCount())
        return false;
    removeLine(state.selectedLine, state.selectedPoint);
    state.selectedLine = -1;
    state.hoverLine = -1;
    state.hoverPoint = -1;
    state.status = "Линия удалена";
    return true;
}

bool Editor::deleteAllLines(platform::MessageSink& sink) {
    if (model.lines.empty())
        return false;
    if (sink.askYesNo(kStopCaption, "Вы действительно хотите\rудалить все соединения ИГЭ") !=
        platform::Answer::Yes)
        return false;
    model.lines.clear();
    std::erase_if(model.points, [](const ConnectionPoint& p) { return p.isFree(); });
    state.selectedLine = state.selectedPoint = state.hoverLine = state.hoverPoint = -1;
    state.startPoint = -1;
    state.dragging = false;
    state.status = "Все соединения ИГЭ удалены";
    return true;
}

bool Editor::beginMove(ScreenPos c) {
    if (state.mode != EditMode::Point || state.dragging)
        return false;
    hoverPoint(c);
    if (state.hoverPoint < 0)
        return false;
    state.selectedPoint = state.hoverPoint;
    state.dragging = true;
    state.pointMoved = false;
    return true;
}

bool Editor::moveTo(ScreenPos c) {
    if (state.mode != EditMode::Point || !state.dragging || state.selectedPoint < 0)
        return false;
    auto& p = model.points[ix(state.selectedPoint)];
    p.offset = map.offsetAt(p.borehole, c);
    p.depth = map.depthAt(p.borehole, c);
    state.pointMoved = true;
    state.status = "Перемещение точки";
    return true;
}

bool Editor::endMove() {
    if (state.mode != EditMode::Point || !state.dragging)
        return false;
    state.dragging = false;
    if (state.pointMoved)
        state.status = "Перемещение точки завершено";
    return state.pointMoved;
}

bool Editor::createBend(ScreenPos c) {
    if (state.mode != EditMode::Point || state.dragging)
        return false;
    hoverPoint(c);
    const auto l = state.hoverLine;
    if (l < 0)
        return false;
    if (model.pointCount() >= model.pointCapacity()) {
        state.status = "ОШИБКА: Превышено допустимое число точек";
        return false;
    }
    if (model.lineCount() >= model.lineCapacity()) {
        state.status = "ОШИБКА: Превышено допустимое число линий";
        return false;
    }
    const auto a = model.lines[ix(l)].from;
    const auto b = model.lines[ix(l)].to;
    const auto owner = std::min(model.points[ix(a)].borehole, model.points[ix(b)].borehole);
    const auto n = model.pointCount();
    model.points.push_back(
        {PointKind::Bend, owner, l, map.offsetAt(owner, c), map.depthAt(owner, c)});
    const auto added = model.lineCount();
    model.lines.push_back({n, b, model.lines[ix(l)].style, model.lines[ix(l)].visible});
    model.lines[ix(l)].to = n;
    // B no longer touches L, so a free B whose parent was L takes the new half instead.
    auto& pb = model.points[ix(b)];
    if (pb.isFree() && pb.ref == l)
        pb.ref = added;
    normalise(l);
    normalise(added);
    state.selectedPoint = n;
    state.hoverLine = -1;
    state.status = "Точка изгиба создана";
    return true;
}

bool Editor::deletePoint() {
    auto p = state.selectedPoint;
    if (p < 0 || p >= model.pointCount())
        return false;
    while (p >= 0) {
        std::int32_t last = -1;
        for (std::int32_t i = 0; i < model.lineCount(); ++i)
            if (touches(model.lines[ix(i)], p))
                last = i;
        if (last < 0) { // a stored free point without lines goes on its own
            model.points.erase(model.points.begin() + p);
            for (auto& x : model.lines) {
                x.from -= x.from > p ? 1 : 0;
                x.to -= x.to > p ? 1 : 0;
            }
            break;
        }
        removeLine(last, p);
    }
    state.selectedPoint = state.selectedLine = state.hoverPoint = state.hoverLine = -1;
    state.status = "Точка удалена";
    return true;
}

bool Editor::setMode(EditMode mode) {
    if (mode == state.mode)
        return false;
    if (mode == EditMode::Draw || mode == EditMode::Point)
        state.selectedLine = -1;
    if (state.mode == EditMode::Point)
        state.selectedPoint = -1;
    state.dragging = false;
    state.startPoint = state.hoverPoint = state.hoverLine = -1;
    state.mode = mode;
    state.status = mode == EditMode::Draw ? "Включен режим отрисовки линий"
                   : mode == EditMode::SelectLine ? "Включен режим выбора линий"
                                                  : "Включен режим работы с точками";
    return true;
}

} // namespace orvo::connect
