// The element table of the hatch editor: kinds, selection, fields and their values.
#include "dict/hatch.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvo::dict {

namespace {

template <class E> E* at(std::vector<E>& v, int i) {
    return i >= 0 && i < static_cast<int>(v.size()) ? &v[static_cast<std::size_t>(i)] : nullptr;
}
template <class E> const E* at(const std::vector<E>& v, int i) {
    return i >= 0 && i < static_cast<int>(v.size()) ? &v[static_cast<std::size_t>(i)] : nullptr;
}

// The float fields of segments and symbols in the order the editor shows them.
constexpr float HatchSegment::*kSegmentFields[] = {
    &HatchSegment::width, &HatchSegment::x1,    &HatchSegment::y1,   &HatchSegment::x2,
    &HatchSegment::y2,    &HatchSegment::stepX, &HatchSegment::stepY};
constexpr float HatchSymbol::*kSymbolFields[] = {&HatchSymbol::cornerX, &HatchSymbol::cornerY,
                                                 &HatchSymbol::stepX, &HatchSymbol::stepY};

std::string shown(float v) {
    return platform::formatFixed(static_cast<double>(v), 2);
}

float typed(std::string_view text) {
    const double v = platform::parseDecimal(text);
    return std::isfinite(v) ? platform::toFloat32(v) : 0.0f;
}

std::int32_t typedAngle(std::string_view text) {
    const double v = platform::parseDecimal(text);
    if (!std::isfinite(v))
        return 0;
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::trunc(v), kMin, kMax));
}

} // namespace

HatchEdit::HatchEdit(HatchPattern pattern, int slot)
    : name(pattern.name), m_pattern(std::move(pattern)), m_slot(slot) {}

HatchPattern HatchEdit::patternToSave() const {
    HatchPattern p = m_pattern;
    p.name = name;
    return p;
}

void HatchEdit::setKind(HatchKind kind) {
    m_kind = kind;
    m_selected = -1;
}

int HatchEdit::count() const {
    switch (m_kind) {
    case HatchKind::Lines:
        return static_cast<int>(m_pattern.lines.size());
    case HatchKind::Segments:
        return static_cast<int>(m_pattern.segments.size());
    default:
        return static_cast<int>(m_pattern.symbols.size());
    }
}

void HatchEdit::select(int index) {
    m_selected = index >= 0 && index < count() ? index : -1;
}

std::string HatchEdit::elementLabel(int index) const {
    static constexpr const char* kLabels[] = {"Линия #", "Отрезок #", "Значок #"};
    return kLabels[static_cast<int>(m_kind)] + std::to_string(index + 1) + " ";
}

bool HatchEdit::add() {
    if (!canAdd())
        return false;
    switch (m_kind) {
    case HatchKind::Lines:
        m_pattern.lines.emplace_back();
        break;
    case HatchKind::Segments:
        m_pattern.segments.emplace_back();
        break;
    default:
        m_pattern.symbols.emplace_back();
        break;
    }
    m_selected = count() - 1;
    return true;
}

bool HatchEdit::removeSelected() {
    if (m_selected < 0 || m_selected >= count())
        return false;
    auto erase = [this](auto& v) { v.erase(v.begin() + m_selected); };
    switch (m_kind) {
    case HatchKind::Lines:
        erase(m_pattern.lines);
        break;
    case HatchKind::Segments:
        erase(m_pattern.segments);
        break;
    default:
        erase(m_pattern.symbols);
        break;
    }
    m_selected = -1;
    return true;
}

std::vector<std::string> HatchEdit::fieldLabels(HatchKind kind) {
    switch (kind) {
    case HatchKind::Lines:
        return {"Толщина линии:", "Угол наклона:", "Шаг итерации:"};
    case HatchKind::Segments:
        return {"Толщина отрезка:", "1-я точка, X:",      "1-я точка, Y:",     "2-я точка, X:",
                "2-я точка, Y:",    "Шаг итерации по X:", "Шаг итерации по Y:"};
    default:
        return {
            "Координаты угла X:", "Координаты угла Y:", "Шаг итерации по X:", "Шаг итерации по Y:"};
    }
}

std::string HatchEdit::fieldText(int field) const {
    switch (m_kind) {
    case HatchKind::Lines: {
        const HatchLine* e = at(m_pattern.lines, m_selected);
        if (!e || field < 0 || field > 2)
            return {};
        return field == 1 ? std::to_string(e->angle) : shown(field == 0 ? e->width : e->step);
    }
    case HatchKind::Segments: {
        const HatchSegment* e = at(m_pattern.segments, m_selected);
        if (!e || field < 0 || field >= static_cast<int>(std::size(kSegmentFields)))
            return {};
        return shown(e->*kSegmentFields[field]);
    }
    default: {
        const HatchSymbol* e = at(m_pattern.symbols, m_selected);
        if (!e || field < 0 || field >= static_cast<int>(std::size(kSymbolFields)))
            return {};
        return shown(e->*kSymbolFields[field]);
    }
    }
}

void HatchEdit::setField(int field, std::string_view text) {
    switch (m_kind) {
    case HatchKind::Lines:
        if (HatchLine* e = at(m_pattern.lines, m_selected)) {
            if (field == 0)
                e->width = typed(text);
            else if (field == 1)
                e->angle = typedAngle(text);
            else if (field == 2)
                e->step = typed(text);
        }
        break;
    case HatchKind::Segments:
        if (HatchSegment* e = at(m_pattern.segments, m_selected);
            e && field >= 0 && field < static_cast<int>(std::size(kSegmentFields)))
            e->*kSegmentFields[field] = typed(text);
        break;
    default:
        if (HatchSymbol* e = at(m_pattern.symbols, m_selected);
            e && field >= 0 && field < static_cast<int>(std::size(kSymbolFields)))
            e->*kSymbolFields[field] = typed(text);
        break;
    }
}

int HatchEdit::symbolOfSelected() const {
    const HatchSymbol* e =
        m_kind == HatchKind::Symbols ? at(m_pattern.symbols, m_selected) : nullptr;
    return e ? e->symbol : 0;
}

void HatchEdit::setSymbol(int symbolSlot) {
    if (m_kind != HatchKind::Symbols)
        return;
    if (HatchSymbol* e = at(m_pattern.symbols, m_selected))
        e->symbol = symbolSlot;
}

int HatchEdit::highlightKind() const {
    if (m_selected < 0)
        return -1;
    switch (m_kind) {
    case HatchKind::Lines:
        return kHighlightLines;
    case HatchKind::Segments:
        return kHighlightSegments;
    default:
        return -1;
    }
}

Result<int> HatchEdit::save(const platform::WorkFolder& folder) {
    auto slot = SaveHatch(folder, m_slot, patternToSave());
    if (slot)
        m_slot = *slot;
    return slot;
}

} // namespace orvo::dict
