// IGE hatches of the model and the legend's type codes.
#include "drawing/section_content.h"

#include "borehole/borehole_record.h"

#include <algorithm>
#include <string_view>

namespace orvo::drawing {

std::vector<std::int32_t> HatchOfModelIges(const SectionDrawingInput& in) {
    std::vector<std::int32_t> out(in.model.igeNumbers.size(), -1);
    for (std::size_t i = 0; i < out.size(); ++i) {
        for (const auto& entry : in.igeList.entries) {
            const std::string_view raw(entry.number.data(), entry.number.size());
            if (connect::normaliseIge(raw) == in.model.igeNumbers[i]) {
                out[i] = section::HatchForIge(entry, in.standardIges).hatch;
                break;
            }
        }
    }
    return out;
}

namespace {

void addOnce(std::vector<int>& codes, int code) {
    if (std::find(codes.begin(), codes.end(), code) == codes.end())
        codes.push_back(code);
}

} // namespace

LegendCodes CollectLegendCodes(const platform::WorkFolder& folder, const SectionDrawingInput& in) {
    LegendCodes codes;
    for (const auto& b : in.layout.boreholes) {
        const auto record = borehole::ReadBorehole(folder, in.object, b.number);
        if (!record)
            continue;
        for (const auto& l : record->ige)
            addOnce(codes.consistency, l.consistency);
        for (const auto& w : record->water)
            addOnce(codes.water, w.kind);
        for (const auto& s : record->samples)
            addOnce(codes.samples, s.kind);
    }
    return codes;
}

} // namespace orvo::drawing
