// Rules of the section dialogs kept apart from the widgets: scale texts, the choice shown in
// each combo, the section's borehole list and which buttons it enables.
#pragma once
#include "section/section_record.h"
#include "section/settings_lists.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::section {

inline constexpr std::string_view kAutoScale = "AUTO";

// "1:%d " with the trailing space every scale list entry carries.
std::string scaleText(int denominator);
// "AUTO" is 0; otherwise the number after a leading "1:", 0 when the text does not start so.
std::int32_t parseScaleText(std::string_view text);

// Row of `value` in the list, or 0 (the first entry) when it is not there.
int rowOrFirst(const std::vector<int>& values, int value);
// Row of the first format with these sizes, or 0.
int sheetFormatRow(const std::vector<SheetFormat>& formats, std::int32_t heightMm,
                   std::int32_t widthMm);

// The list "Разрез" with its current entry (-1 only while empty).
class SectionBoreholeList {
public:
    explicit SectionBoreholeList(std::vector<std::int32_t> numbers);

    const std::vector<std::int32_t>& numbers() const { return m_numbers; }
    int current() const { return m_current; }
    void setCurrent(int row);

    // "<": after the current entry (at the front of an empty list); refused once the section
    // holds as many as it may.
    bool insertAfterCurrent(std::int32_t borehole);
    // ">": the entry after the removed one, else the new last one, becomes current.
    bool removeCurrent();
    bool moveUp();
    bool moveDown();

private:
    std::vector<std::int32_t> m_numbers;
    int m_current = -1;
};

struct SectionButtonState {
    bool needsBoreholes = false; // the six sub-editor buttons and ">"
    bool up = false;
    bool down = false;
    bool insert = false;
};
SectionButtonState sectionButtonState(const SectionBoreholeList& list, int objectBoreholes);

} // namespace orvo::section
