// Fuzzes the sheet text placement file: parsing, and laying the placements over a table of
// texts; whatever is accepted leaves every offset a finite number.
#include "drawing/sheet_texts.h"

#include <bit>
#include <cmath>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo::drawing;
    const auto file = parseSheetTextFile(std::span<const std::uint8_t>(data, size));
    if (file.placements.size() != (size < 8 ? 0 : (size - 8) / SheetTextPlacement::kSize))
        std::abort();
    std::vector<SheetText> texts;
    for (int i = 0; i < 8; ++i) {
        SheetText t;
        t.fileNumber = i % 3;
        t.group = i % 2;
        t.key = static_cast<float>(i) / 2;
        t.type = i % 4;
        texts.push_back(t);
    }
    for (const std::int32_t scale : {0, 1, 200, -5})
        applyPlacements(texts, file, scale);
    for (const auto& t : texts)
        if (!std::isfinite(t.dx) || !std::isfinite(t.dy) || std::abs(t.dy) > kMaxOffsetMetres)
            std::abort();
    // What the editor saves reads back to the same offsets.
    const auto again = parseSheetTextFile(sheetTextFileBytes(200, 100, texts));
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (std::bit_cast<std::uint32_t>(again.placements[i].dx) !=
            std::bit_cast<std::uint32_t>(texts[i].dx))
            std::abort();
    return 0;
}
