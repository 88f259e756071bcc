// Lays a section's boreholes out on logical sheets and picks the automatic vertical scale.
#include "section/layout_check.h"

#include "borehole/borehole_record.h"
#include "borehole/borehole_types.h"
#include "dict/title_block.h"
#include "platform/messages.h"
#include "platform/numbers.h"
#include "section/settings_lists.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <string>

namespace orvo::section {

namespace {

using std::to_string;

Error stop(std::string text) {
    return {std::move(text), kLayoutCaption, false};
}

std::int32_t clampToInt32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Metres × 100 + 0.5, truncated toward zero; a value no int32 can hold is pinned to its range
// rather than left to an undefined conversion.
std::int32_t toCentimetres(float metres) {
    const double cm = static_cast<double>(metres * 100.0f) + 0.5;
    if (std::isnan(cm))
        return 0;
    const double lo = std::numeric_limits<std::int32_t>::min();
    const double hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(cm, lo, hi));
}

// Squares in single precision, as the stored drawings were computed, so that borderline
// pairs are refused or accepted exactly as before.
double terrainRoot(const LayoutBorehole& a, const LayoutBorehole& b) {
    const float dx = static_cast<float>(static_cast<std::int64_t>(b.x) - a.x);
    const float dy = static_cast<float>(static_cast<std::int64_t>(b.y) - a.y);
    const float squares = dx * dx + dy * dy;
    return std::sqrt(static_cast<double>(squares));
}

struct PaperDistance {
    float cm = 0;            // what the refusal shows
    std::int64_t tenths = 0; // what the fit adds up
};

PaperDistance paperDistance(const LayoutBorehole& a, const LayoutBorehole& b,
                            std::int32_t horizontalScale) {
    const float rounded = static_cast<float>(terrainRoot(a, b) + 0.5);
    const float cm = static_cast<float>(static_cast<double>(rounded) / horizontalScale);
    return {cm, static_cast<std::int64_t>(cm * 100.0f)};
}

std::int64_t terrainLength(const LayoutBorehole& a, const LayoutBorehole& b) {
    // Half up on a non-negative root, as the stored layouts were computed.
    // NOLINTNEXTLINE(bugprone-incorrect-roundings)
    return static_cast<std::int64_t>(terrainRoot(a, b) + 0.5);
}

Status loadBoreholes(const platform::WorkFolder& folder, std::int32_t object,
                     const std::vector<std::int32_t>& numbers, SectionLayout& layout) {
    auto types = borehole::ReadBoreholeTypeFile(folder);
    if (!types)
        return types.error();
    for (const std::int32_t number : numbers) {
        auto b = borehole::ReadBorehole(folder, object, number);
        if (!b)
            return b.error();
        const store::BoreholeHeader& h = b->header;
        LayoutBorehole lb{number,
                          h.name.utf8(),
                          toCentimetres(h.x),
                          toCentimetres(h.y),
                          toCentimetres(h.elevation),
                          toCentimetres(h.depth),
                          false};
        if (h.type == 0)
            return stop("Не определен тип выработки.\rВыработка - " + lb.name);
        // A type index the file does not reach names no type in use, like a deleted one.
        const auto index = static_cast<std::size_t>(h.type);
        if (h.type < 0 || index >= types->size() || (*types)[index].inUse == 0)
            return stop("Тип выработки удален.\rВыработка - " + lb.name);
        lb.visible = (*types)[index].shownOnSection != 0;
        layout.boreholes.push_back(std::move(lb));
    }
    if (!layout.boreholes.front().visible)
        return stop("Первая выработка должна быть\rотображаема на разрезе");
    if (!layout.boreholes.back().visible)
        return stop("Последняя выработка должна быть\rотображаема на разрезе");
    return success();
}

Status checkStampInUse(const dict::TitleBlockList& list, int slot) {
    if (slot < 0 || slot >= static_cast<int>(list.entries.size()))
        return stop("Штамп " + to_string(slot) + " отсутствует в списке штампов");
    if (!list.used(slot))
        return stop("Штамп " + list.entries[static_cast<std::size_t>(slot)].name.utf8() +
                    " удален");
    return success();
}

Status loadStamps(const platform::WorkFolder& folder, SectionLayout& layout) {
    auto list = dict::ReadTitleBlockList(folder);
    if (!list)
        return list.error();
    // Both flags before any item file, so a deleted block is named even if the other's file
    // is unreadable.
    for (const int slot : {layout.stampFirstSheet, layout.stampOtherSheets})
        if (auto st = checkStampInUse(*list, slot); !st)
            return st;
    auto first = dict::ReadTitleBlock(folder, layout.stampFirstSheet);
    if (!first)
        return first.error();
    auto other = dict::ReadTitleBlock(folder, layout.stampOtherSheets);
    if (!other)
        return other.error();
    layout.stampFirstWidth = first->width;
    layout.stampOtherWidth = other->width;
    return success();
}

Status takeParameters(const SectionHeader& h, SectionLayout& layout) {
    layout.horizontalScale = h.horizontalScale;
    layout.verticalScale = h.verticalScale;
    layout.automatic = h.verticalScale == 0;
    layout.sheetWidth = clampToInt32(std::int64_t{h.sheetWidthMm} * 10);
    layout.sheetHeight = clampToInt32(std::int64_t{h.sheetHeightMm} * 10);
    layout.stampFirstSheet = h.stampFirstSheet;
    layout.stampOtherSheets = h.stampOtherSheets;
    layout.name = h.name;
    layout.signatures = h.signatures;
    return success();
}

Status checkWorkingArea(SectionLayout& layout) {
    const std::int64_t rest = std::int64_t{layout.sheetWidth} - kSheetMarginWidth;
    layout.workWidthFirst = clampToInt32(rest - layout.stampFirstWidth);
    layout.workWidthOther = clampToInt32(rest - layout.stampOtherWidth);
    layout.workHeight = clampToInt32(std::int64_t{layout.sheetHeight} - kSheetMarginHeight);
    if (layout.workWidthFirst < 0 || layout.workWidthOther < 0)
        return stop("Размер логического листа\rпо горизонтали слишком мал.");
    if (layout.workHeight < 0)
        return stop("Размер логического листа\rпо вертикали слишком мал.");
    return success();
}

// Every scale is a divisor below; a section or list edited outside the program may hold
// anything.
Status checkScales(const SectionLayout& layout, const std::vector<std::int16_t>& list) {
    if (layout.horizontalScale <= 0)
        return stop("Недопустимый горизонтальный масштаб 1:" + to_string(layout.horizontalScale) +
                    "\r\rИзмените масштаб по горизонтали");
    if (layout.verticalScale < 0)
        return stop("Недопустимый вертикальный масштаб 1:" + to_string(layout.verticalScale) +
                    "\r\rИзмените масштаб по вертикали");
    if (!layout.automatic)
        return success();
    if (list.empty())
        return stop("При автоматическом подборе вертикального масштаба\rсписок масштабов пуст"
                    "\r\rИзмените список масштабов");
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] <= 0)
            return stop("В списке масштабов недопустимый масштаб 1:" + to_string(list[i]) +
                        "\r(позиция " + to_string(i + 1) + ")\r\rИзмените список масштабов");
        if (std::find(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(i), list[i]) !=
            list.begin() + static_cast<std::ptrdiff_t>(i))
            return stop("В списке масштабов повторяется масштаб 1:" + to_string(list[i]) +
                        "\r\rИзмените список масштабов");
    }
    return success();
}

// Top and bottom of the boreholes first..last, centimetres.
std::pair<std::int32_t, std::int32_t> extent(const std::vector<LayoutBorehole>& bs, int first,
                                             int last) {
    std::int32_t top = std::numeric_limits<std::int32_t>::min();
    std::int64_t bottom = std::numeric_limits<std::int64_t>::max();
    for (int i = first; i <= last; ++i) {
        const auto& b = bs[static_cast<std::size_t>(i)];
        top = std::max(top, b.elevation);
        bottom = std::min(bottom, std::int64_t{b.elevation} - b.depth);
    }
    return {top, clampToInt32(bottom)};
}

class SheetSplitter {
public:
    SheetSplitter(const SectionLayout& layout, const std::vector<std::int16_t>& scales)
        : m_layout(layout), m_scales(scales), m_count(static_cast<int>(layout.boreholes.size())) {
        m_v = layout.automatic ? scales.front() : layout.verticalScale;
        for (int i = 0; i + 1 < m_count; ++i)
            m_pairs.push_back(paperDistance(at(i), at(i + 1), layout.horizontalScale));
    }

    Result<std::vector<SheetRange>> run();
    std::int32_t scale() const { return m_v; }

private:
    const LayoutBorehole& at(int i) const {
        return m_layout.boreholes[static_cast<std::size_t>(i)];
    }
    Result<int> horizontalEnd(int first, std::int64_t limit) const;
    Result<int> verticalEnd(int first, int last);
    bool fits(int first, int last) const;
    int previousVisible(int first, int last) const;

    const SectionLayout& m_layout;
    const std::vector<std::int16_t>& m_scales;
    int m_count;
    std::vector<PaperDistance> m_pairs;
    std::int32_t m_v = 0;
    std::size_t m_p = 0;
};

Result<std::vector<SheetRange>> SheetSplitter::run() {
    std::vector<SheetRange> sheets;
    int first = 0;
    // Every sheet ends past its first borehole, so the split ends after at most count - 1.
    for (;;) {
        const std::int64_t limit =
            sheets.empty() ? m_layout.workWidthFirst : m_layout.workWidthOther;
        auto candidate = horizontalEnd(first, limit);
        if (!candidate)
            return candidate.error();
        auto last = verticalEnd(first, *candidate);
        if (!last)
            return last.error();
        sheets.push_back({first, *last, 0, 0, 0});
        if (*last == m_count - 1)
            return sheets;
        first = *last;
    }
}

Result<int> SheetSplitter::horizontalEnd(int first, std::int64_t limit) const {
    const std::string hs = to_string(m_layout.horizontalScale);
    std::int64_t sum = 0;
    for (int i = first; i + 1 < m_count; ++i) {
        const PaperDistance& d = m_pairs[static_cast<std::size_t>(i)];
        if (d.tenths < kMinPaperDistance)
            return stop("При горизонтальном масштабе 1:" + hs + "\rРасстояние между выработками " +
                        at(i).name + " и " + at(i + 1).name + " = " +
                        platform::formatFixed(d.cm, 2) + " см\rДопускается не менее 1.00 см");
        sum += d.tenths;
        if (sum <= limit)
            continue;
        int end = i;
        while (end > first && !at(end).visible)
            --end;
        if (end == first)
            return stop("При горизонтальном масштабе 1:" + hs + "\rПара выработок " +
                        at(first).name + " и " + at(first + 1).name +
                        "\rНе вмещается в рабочую область чертежа\r\rИзмените масштаб по "
                        "горизонтали");
        return end;
    }
    return m_count - 1;
}

Result<int> SheetSplitter::verticalEnd(int first, int last) {
    const std::int32_t startV = m_v;
    const std::size_t startP = m_p;
    // Either the scale advances or `last` moves back, so this ends within list size × count.
    while (!fits(first, last)) {
        if (m_layout.automatic && m_p + 1 < m_scales.size()) {
            ++m_p;
            m_v = m_scales[m_p];
            continue;
        }
        m_v = startV;
        m_p = startP;
        last = previousVisible(first, last);
        if (last != first)
            continue;
        if (m_layout.automatic)
            return stop("Разрез не вмещается в рабочую область чертежа.При автоматическом "
                        "подборе вертикального масштаба\rисчерпан список масштабов\rВыработка " +
                        at(first).name + "\r\rИзмените список масштабов");
        return stop("Разрез не вмещается в рабочую область чертежа.Вертикальный масштаб 1:" +
                    to_string(m_v) + "\rВыработка " + at(first).name +
                    "\r\rИзмените масштаб по вертикали");
    }
    return last;
}

bool SheetSplitter::fits(int first, int last) const {
    const auto [top, bottom] = extent(m_layout.boreholes, first, last);
    return (std::int64_t{top} - bottom) * 100 / m_v <= m_layout.workHeight;
}

int SheetSplitter::previousVisible(int first, int last) const {
    int i = last - 1;
    while (i > first && !at(i).visible)
        --i;
    return i;
}

void fillSheetExtents(SectionLayout& layout) {
    for (SheetRange& s : layout.sheets) {
        const auto [top, bottom] = extent(layout.boreholes, s.first, s.last);
        s.top = top;
        s.bottom = bottom;
        std::int64_t length = 0;
        for (int i = s.first; i < s.last; ++i)
            length += terrainLength(layout.boreholes[static_cast<std::size_t>(i)],
                                    layout.boreholes[static_cast<std::size_t>(i) + 1]);
        s.length = clampToInt32(length);
    }
}

Result<SectionLayout> checkLayout(const platform::WorkFolder& folder, std::int32_t object,
                                  const Section& section) {
    if (section.boreholes.size() < 2)
        return stop("В резрезе не может быть\rменьше 2-х выработок");
    SectionLayout layout;
    if (auto st = loadBoreholes(folder, object, section.boreholes, layout); !st)
        return st.error();
    takeParameters(section.header, layout);
    if (auto st = loadStamps(folder, layout); !st)
        return st.error();
    if (auto st = checkWorkingArea(layout); !st)
        return st.error();
    std::vector<std::int16_t> scales;
    if (layout.automatic) {
        auto read = ReadScales(folder);
        if (!read)
            return read.error();
        scales = std::move(*read);
    }
    if (auto st = checkScales(layout, scales); !st)
        return st.error();
    SheetSplitter splitter(layout, scales);
    auto sheets = splitter.run();
    if (!sheets)
        return sheets.error();
    layout.sheets = std::move(*sheets);
    layout.verticalScale = splitter.scale();
    fillSheetExtents(layout);
    if (layout.automatic) {
        layout.notice = "Автоматический подбор вертикального масштаба завершен.\r\rВыбран "
                        "вертикальный масштаб 1:" +
                        to_string(layout.verticalScale);
        layout.noticeCaption = kAutoScaleCaption;
    }
    return layout;
}

} // namespace

Result<SectionLayout> CheckSectionLayout(const platform::WorkFolder& folder, std::int32_t object,
                                         const Section& section) {
    try {
        return checkLayout(folder, object, section);
    } catch (const std::bad_alloc&) {
        return stop(platform::kNoMemoryText);
    }
}

} // namespace orvo::section
