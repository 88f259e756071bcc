// The layout check of a section: whether its boreholes fit the logical sheets, the automatic
// vertical scale, and the cut into sheets.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"
#include "section/section_record.h"
#include "store/fixed_text.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orvo::section {

struct SheetRange {
    int first = 0; // index in the section's borehole list
    int last = 0;
    std::int32_t top = 0; // centimetres, as the check computes them
    std::int32_t bottom = 0;
    std::int32_t length = 0;
};

// One borehole of the section as the check saw it; lengths in centimetres of terrain.
struct LayoutBorehole {
    std::int32_t number = 0;
    std::string name; // UTF-8, as stored up to the terminator
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t elevation = 0;
    std::int32_t depth = 0;
    bool visible = false; // shown-on-section flag of its type
};

struct SectionLayout {
    std::int32_t verticalScale = 0; // the scale in use
    bool automatic = false;         // chosen by AUTO
    std::vector<SheetRange> sheets;

    std::vector<LayoutBorehole> boreholes;
    std::int32_t horizontalScale = 0;
    // Tenths of a millimetre on paper.
    std::int32_t sheetWidth = 0;
    std::int32_t sheetHeight = 0;
    std::int16_t stampFirstSheet = 0;
    std::int16_t stampOtherSheets = 0;
    std::int32_t stampFirstWidth = 0;
    std::int32_t stampOtherWidth = 0;
    std::int32_t workWidthFirst = 0;
    std::int32_t workWidthOther = 0;
    std::int32_t workHeight = 0;
    store::FixedText<30> name;
    std::array<store::FixedText<30>, 4> signatures;

    // After an automatic choice the caller shows this with an information icon before drawing;
    // empty for a fixed scale.
    std::string notice;
    std::string noticeCaption;
};

inline constexpr const char* kLayoutCaption = "Stop";
inline constexpr const char* kAutoScaleCaption = "ПОДБОР МАСШТАБА";
// Frame and margins of a logical sheet that the drawing never uses, tenths of a millimetre.
inline constexpr std::int32_t kSheetMarginWidth = 1650;
inline constexpr std::int32_t kSheetMarginHeight = 750;
// Boreholes closer than this on paper (tenths of a millimetre) cannot be drawn apart.
inline constexpr std::int64_t kMinPaperDistance = 100;

// Checks the section (header values and borehole list as given: the open dialog's or the
// stored ones) of `object`. A refusal comes back as the error with its message and caption.
Result<SectionLayout> CheckSectionLayout(const platform::WorkFolder& folder, std::int32_t object,
                                         const Section& section);

} // namespace orvo::section
