// The sheet texts of a section drawing (IGE labels, base elevations and depths, groundwater
// levels) with the user's placements, and the placement file (WORK.MTX, the section's .MTX).
#pragma once
#include "platform/message_sink.h"
#include "platform/result.h"
#include "platform/work_folder.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvo::drawing {

enum SheetTextType : std::int32_t {
    kIgeLabel = 0,
    kBaseElevation = 1,
    kBaseDepth = 2,
    kWaterLevel = 3,
};

struct SheetText {
    std::int32_t fileNumber = 0;
    std::int32_t group = 0; // 0 layer texts, 1 groundwater texts
    float key = 0;          // base depth or level depth in metres, as stored
    std::int32_t type = kIgeLabel;
    std::int32_t visible = 1;
    float dx = 0; // metres of ground at the horizontal scale
    float dy = 0; // metres at the vertical scale
    // Windows-1251: the IGE number, "%.2f" values; a level has its date at bytes 10..17.
    std::array<char, 20> text{};

    // The text as drawn, UTF-8 without trailing blanks; `date` gives a level's second line.
    std::string shown() const;
    std::string date() const;
    bool sameIdentity(std::int32_t file, std::int32_t grp, float k, std::int32_t t) const {
        return fileNumber == file && group == grp && key == k && type == t;
    }
};

// One stored placement: 28 bytes.
struct SheetTextPlacement {
    static constexpr std::size_t kSize = 28;
    std::int32_t fileNumber = 0;
    std::int32_t group = 0;
    float key = 0;
    std::int32_t type = 0;
    std::int32_t visible = 1;
    float dx = 0;
    float dy = 0;
};

struct SheetTextFile {
    std::int32_t horizontalScale = 0; // at saving
    std::int32_t verticalScale = 0;
    std::vector<SheetTextPlacement> placements;
};

// 8 header bytes, then whole 28-byte records (a trailing part of a record is ignored). A file
// shorter than the header has no records.
SheetTextFile parseSheetTextFile(std::span<const std::uint8_t> bytes);
platform::Bytes sheetTextFileBytes(std::int32_t horizontalScale, std::int32_t verticalScale,
                                   const std::vector<SheetText>& texts);

// The texts of the listed boreholes (file numbers, section order) with their default places:
// per borehole its layers top down (types 0, 1, 2), then its groundwater horizons. A borehole
// file that cannot be read gives no texts.
std::vector<SheetText> defaultSheetTexts(const platform::WorkFolder& folder, std::int32_t object,
                                         const std::vector<std::int32_t>& boreholes,
                                         std::int32_t horizontalScale);

// Placement offsets beyond this many metres are damage, not a move the editor can make.
inline constexpr float kMaxOffsetMetres = 1e5f;

// Lays the placements over the texts in file order (a later one overwrites): the first text of
// the same identity takes visible, dy and dx rescaled from the saved to the current horizontal
// scale; the others are dropped, and so are placements with offsets that are not numbers or
// beyond kMaxOffsetMetres.
void applyPlacements(std::vector<SheetText>& texts, const SheetTextFile& file,
                     std::int32_t horizontalScale);

// Where the placements come from: the open section dialog reads WORK.MTX, or without it the
// stored section's .MTX (none for a section being created); a stored section drawn from the
// library tree or the command line reads its own .MTX only.
enum class TextSource { SectionDialog, StoredSection };

// Defaults, then the placements of the source. A file whose saved scales are not positive is
// ignored with a warning (its offsets cannot be rescaled); the defaults stay.
std::vector<SheetText> BuildSheetTexts(const platform::WorkFolder& folder,
                                       platform::MessageSink& sink, std::int32_t object,
                                       const std::vector<std::int32_t>& boreholes,
                                       std::optional<std::int32_t> storedSection,
                                       std::int32_t horizontalScale, TextSource source);

// The sheet editor's "Save": WORK.MTX, replaced atomically.
Status SaveSheetTexts(const platform::WorkFolder& folder, std::int32_t horizontalScale,
                      std::int32_t verticalScale, const std::vector<SheetText>& texts);

} // namespace orvo::drawing
