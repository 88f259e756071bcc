// Groundwater horizon types (DATA\DIC\TipPV.SPS) and sample types (DATA\DIC\TipOP.SPS): a name
// and a library symbol per slot, with the rules of their shared dialog.
#pragma once
#include "platform/canvas.h"
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/fixed_text.h"
#include "store/le_stream.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace orvo::dict {

enum class MarkList { Groundwater, Samples };

// "DATA\DIC\TipPV.SPS" or "DATA\DIC\TipOP.SPS"
std::string_view markListPath(MarkList which);

struct MarkTypeRecord {
    static constexpr std::size_t kSize = 38;
    std::int32_t used = 0;
    store::FixedText<30> name; // padded with spaces, no terminator
    std::int32_t symbol = 0;   // slot in Symbols.SPS; 0 = none

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

// The name as the dialog stores it: followed by spaces and cut to 30 bytes.
void setMarkTypeName(MarkTypeRecord& record, std::string_view nameUtf8);

// Every record (a missing list has none).
Result<std::vector<MarkTypeRecord>> ReadMarkTypeList(const platform::WorkFolder& folder,
                                                     MarkList which);
Result<MarkTypeRecord> ReadMarkType(const platform::WorkFolder& folder, MarkList which, int slot);
// Writes the whole record at `slot`; a slot equal to the count appends. Returns the slot. The
// built-in slot 0 is written only as the first record of an empty list.
Result<int> SaveMarkType(const platform::WorkFolder& folder, MarkList which, int slot,
                         const MarkTypeRecord& record);
Result<int> SaveNewMarkType(const platform::WorkFolder& folder, MarkList which,
                            std::string_view nameUtf8, int symbolIndex);
// Clears the used flag; the slot stays so that boreholes keep their references.
Status DeleteMarkType(const platform::WorkFolder& folder, MarkList which, int slot);
Status SetMarkTypeSymbol(const platform::WorkFolder& folder, MarkList which, int slot,
                         int symbolIndex);

// Where the "Значок" frame draws a symbol of `height` x `width` (0.01 mm) fitted into `frame`
// and centred; nothing for a symbol without size or a frame without room.
struct SymbolPlacement {
    platform::PointF at;
    float scale = 0; // device units per 0.01 mm
};
struct SymbolFrame {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
// The frame's client area less 3 pixels at the sides and 8 at the top and bottom: the part
// filled with the light colour.
SymbolFrame markPreviewArea(const SymbolFrame& client);
// That area less 10 more pixels on each side: the clip region of the symbol.
SymbolFrame markSymbolArea(const SymbolFrame& client);
std::optional<SymbolPlacement> fitSymbol(const SymbolFrame& frame, int height, int width);

} // namespace orvo::dict
