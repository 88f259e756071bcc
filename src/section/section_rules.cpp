// Scale texts, combo choices and the borehole list of a section.
#include "section/section_rules.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <utility>

namespace orvo::section {

std::string scaleText(int denominator) {
    char text[24];
    std::snprintf(text, sizeof text, "1:%d ", denominator);
    return text;
}

std::int32_t parseScaleText(std::string_view text) {
    if (text == kAutoScale)
        return 0;
    if (!text.starts_with("1:"))
        return 0;
    const std::int64_t n = platform::parseWholeNumber(text.substr(2));
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        n, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

int rowOrFirst(const std::vector<int>& values, int value) {
    const auto it = std::find(values.begin(), values.end(), value);
    return it == values.end() ? 0 : static_cast<int>(it - values.begin());
}

int sheetFormatRow(const std::vector<SheetFormat>& formats, std::int32_t heightMm,
                   std::int32_t widthMm) {
    for (std::size_t i = 0; i < formats.size(); ++i)
        if (formats[i].heightMm == heightMm && formats[i].widthMm == widthMm)
            return static_cast<int>(i);
    return 0;
}

SectionBoreholeList::SectionBoreholeList(std::vector<std::int32_t> numbers)
    : m_numbers(std::move(numbers)), m_current(m_numbers.empty() ? -1 : 0) {}

void SectionBoreholeList::setCurrent(int row) {
    if (row >= 0 && row < static_cast<int>(m_numbers.size()))
        m_current = row;
}

bool SectionBoreholeList::insertAfterCurrent(std::int32_t borehole) {
    if (m_numbers.size() >= static_cast<std::size_t>(kMaxSectionBoreholes))
        return false;
    const int at = m_current + 1;
    m_numbers.insert(m_numbers.begin() + at, borehole);
    m_current = at;
    return true;
}

bool SectionBoreholeList::removeCurrent() {
    if (m_current < 0)
        return false;
    m_numbers.erase(m_numbers.begin() + m_current);
    m_current = std::min(m_current, static_cast<int>(m_numbers.size()) - 1);
    return true;
}

bool SectionBoreholeList::moveUp() {
    if (m_current <= 0)
        return false;
    std::swap(m_numbers[static_cast<std::size_t>(m_current)],
              m_numbers[static_cast<std::size_t>(m_current - 1)]);
    --m_current;
    return true;
}

bool SectionBoreholeList::moveDown() {
    if (m_current < 0 || m_current + 1 >= static_cast<int>(m_numbers.size()))
        return false;
    std::swap(m_numbers[static_cast<std::size_t>(m_current)],
              m_numbers[static_cast<std::size_t>(m_current) + 1]);
    ++m_current;
    return true;
}

SectionButtonState sectionButtonState(const SectionBoreholeList& list, int objectBoreholes) {
    const int count = static_cast<int>(list.numbers().size());
    SectionButtonState s;
    s.needsBoreholes = count > 0;
    s.up = count > 0 && list.current() > 0;
    s.down = count > 0 && list.current() >= 0 && list.current() < count - 1;
    s.insert = objectBoreholes > 0;
    return s;
}

} // namespace orvo::section
