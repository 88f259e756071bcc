// The dictionaries and the borehole data behind a sheet.
#include "datasheet/sheet_data.h"

namespace orvo::datasheet {

SheetNames SheetNames::read(const platform::WorkFolder& folder) {
    using borehole::BoreholeDictionary;
    using borehole::DictionarySlots;
    return {DictionarySlots::readOrEmpty(folder, BoreholeDictionary::BoreholeType),
            DictionarySlots::readOrEmpty(folder, BoreholeDictionary::Consistency),
            DictionarySlots::readOrEmpty(folder, BoreholeDictionary::Water),
            DictionarySlots::readOrEmpty(folder, BoreholeDictionary::Sample)};
}

std::string slotNameOr(const borehole::DictionarySlots& slots, int slot,
                       const std::string& deleted) {
    return slots.inUse(slot) ? slots.storedName(slot) : deleted;
}

borehole::BoreholeEditData sheetDataOf(const borehole::Borehole& b) {
    return borehole::BoreholeEditData::from(b);
}

} // namespace orvo::datasheet
