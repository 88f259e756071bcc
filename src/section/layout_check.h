// The layout check of a section: whether its boreholes fit the logical sheets, the automatic
// vertical scale, and the cut into sheets.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"
#include "section/section_record.h"

#include <cstdint>
#include <vector>

namespace orvo::section {

struct SheetRange {
    int first = 0; // index in the section's borehole list
    int last = 0;
    std::int32_t top = 0;    // centimetres, as the check computes them
    std::int32_t bottom = 0;
    std::int32_t length = 0;
};

struct SectionLayout {
    std::int32_t verticalScale = 0; // the scale in use
    bool automatic = false;         // chosen by AUTO
    std::vector<SheetRange> sheets;
};

// Checks the section (header values and borehole list as given: the open dialog's or the
// stored ones) of `object`. A refusal comes back as the error with its message and caption.
Result<SectionLayout> CheckSectionLayout(const platform::WorkFolder& folder, std::int32_t object,
                                         const Section& section);

} // namespace orvo::section
