// The borehole types dictionary DATA\DIC\TipSKV.SPS: how a borehole's column is drawn and
// whether it is shown on sections. Boreholes refer to a type by its record index.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/fixed_text.h"
#include "store/le_stream.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace orvo::borehole {

inline constexpr std::string_view kBoreholeTypeList = "DATA\\DIC\\TipSKV.SPS";

struct BoreholeType {
    static constexpr std::size_t kSize = 42;
    std::int16_t inUse = 1;
    store::FixedText<30> name;
    std::int32_t columnWidth = 0; // tenths of a millimetre
    std::int32_t lineWidth = 0;   // tenths of a millimetre
    std::int16_t shownOnSection = 0;

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

struct BoreholeTypeItem {
    int index;
    BoreholeType type;
};

// Every record of the file (a missing file has none).
Result<std::vector<BoreholeType>> ReadBoreholeTypeFile(const platform::WorkFolder& folder);
// The in-use records in file order with their indexes (record 0, "no type", included).
Result<std::vector<BoreholeTypeItem>> ListBoreholeTypes(const platform::WorkFolder& folder);
// The record at `index`; an index past the end is refused.
Result<BoreholeType> ReadBoreholeType(const platform::WorkFolder& folder, int index);
// Appends a record; its index is the record count before.
Result<int> AddBoreholeType(const platform::WorkFolder& folder, const BoreholeType& type);
// Rewrites a record in place. Record 0 stands for "no type" and is never changed.
Status UpdateBoreholeType(const platform::WorkFolder& folder, int index, const BoreholeType& type);
// Clears the in-use flag; the record stays so that indexes do not move.
Status DeleteBoreholeType(const platform::WorkFolder& folder, int index);

} // namespace orvo::borehole
