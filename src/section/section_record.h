// The section file "DATA\%5.5d.OBJ\%6.6d.DAT": a 178-byte header and the section's borehole
// numbers in drawing order.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/fixed_text.h"
#include "store/le_stream.h"
#include "store/project_store.h"
#include "store/records.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace orvo::section {

inline constexpr int kMaxSectionBoreholes = 100;

struct SectionHeader {
    static constexpr std::size_t kSize = 178;
    std::int32_t number = 0;
    std::int32_t created = 0; // seconds of the system clock
    store::FixedText<30> name;
    std::int32_t horizontalScale = 0;
    std::int32_t verticalScale = 0; // 0 = "AUTO"
    std::int32_t sheetWidthMm = 0;
    std::int32_t sheetHeightMm = 0;
    std::array<store::FixedText<30>, 4> signatures; // padded with spaces
    std::int16_t stampFirstSheet = 0;
    std::int16_t stampOtherSheets = 0;

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

struct Section {
    SectionHeader header;
    std::vector<std::int32_t> boreholes; // drawing order, left to right
};

// Refused ("Неверный формат файла") when shorter than the header or when the numbers after it
// are more than a section may hold; a remainder of 1..3 bytes is ignored as for every list.
Result<Section> parseSection(std::span<const std::uint8_t> bytes, std::string_view path);
store::Bytes sectionBytes(const Section& s);

Result<Section> ReadSection(const platform::WorkFolder& folder, std::int32_t object,
                            std::int32_t number);
Status WriteSection(const platform::WorkFolder& folder, std::int32_t object, const Section& s);

// "Сохранить" of the section dialog. A new section takes its number only now, so a cancelled
// "Новый разрез" uses none; `numbered` says whether that has happened, and a save that fails and
// is tried again keeps the number. Then the file is written, a new section's number appended to
// RAZ.SPS, and each working copy of the sub-editors moved over the section's own file.
Status SaveSection(const store::ProjectStore& store, store::StatusRecord& status,
                   std::int32_t object, Section& s, bool isNew, bool& numbered);

// A new section as "Новый разрез" starts it: number and creation time given, the defaults
// copied, the four signatures 30 spaces, no boreholes.
Section newSection(std::int32_t number, std::int32_t created, const store::SectionDefaults& d);

} // namespace orvo::section
