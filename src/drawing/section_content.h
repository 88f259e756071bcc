// What a section's drawing shows that the sheet, the legend and the DXF export work out alike:
// the hatch of each IGE of the connection model, and the types the legend explains.
#pragma once
#include "drawing/render_section.h"

#include <cstdint>
#include <vector>

namespace orvo::drawing {

// The hatch slot of each IGE of the model (-1 none): the list entry with the same number after
// normalising (the model upper-cases Latin letters, the list keeps them as typed); the first
// such entry wins.
std::vector<std::int32_t> HatchOfModelIges(const SectionDrawingInput& input);

// The type codes of all section boreholes (invisible ones too), each once, in the order they
// first appear.
struct LegendCodes {
    std::vector<int> consistency;
    std::vector<int> water;
    std::vector<int> samples;
};
LegendCodes CollectLegendCodes(const platform::WorkFolder& folder,
                               const SectionDrawingInput& input);

} // namespace orvo::drawing
