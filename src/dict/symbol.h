// The symbol library: DATA\DIC\Symbols.SPS (54-byte records) and one item file
// "DATA\DIC\%6.6d.SYM" per symbol with its elements, the renderer and the exchange files.
#pragma once
#include "platform/canvas.h"
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/fixed_text.h"
#include "store/le_stream.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvo::dict {

inline constexpr std::string_view kSymbolList = "DATA\\DIC\\Symbols.SPS";
inline constexpr std::string_view kSymbolMagic = "ORVO-II TipSYM";

struct SymbolListRecord {
    static constexpr std::size_t kSize = 54;
    std::int32_t used = 0;
    store::FixedText<30> name; // zero-filled after the text
    std::int32_t height = 0;   // 0.01 mm
    std::int32_t width = 0;
    std::int32_t minX = 0;
    std::int32_t minY = 0;
    std::int32_t elementCount = 0;

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

// Every record of Symbols.SPS (a missing list has none).
Result<std::vector<SymbolListRecord>> ReadSymbolList(const platform::WorkFolder& folder);

// Draws symbol `index` with its top-left corner (minX, minY) at device point `at`; scaleX and
// scaleY are device units per 0.01 mm. Index <= 0 or a deleted symbol draws nothing.
Status DrawSymbol(platform::Canvas& canvas, const platform::WorkFolder& folder, int index,
                  platform::PointF at, float scaleX, float scaleY);

} // namespace orvo::dict
