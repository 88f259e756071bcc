// What a data sheet and its text export show: the borehole as the editor hands it over, the
// dictionaries its type numbers name, and which parts are shown.
#pragma once
#include "borehole/borehole_tables.h"
#include "borehole/dictionary_slots.h"
#include "platform/work_folder.h"

#include <string>

namespace orvo::datasheet {

// Show flags: bit 0 the drawing frame, bits 1-3 the three tables.
enum SheetPart : int {
    kPartDrawing = 1,
    kPartIge = 2,
    kPartWater = 4,
    kPartSamples = 8,
    kAllParts = 15,
};

// The dictionaries a borehole's type numbers refer to, read fresh for one sheet or export.
struct SheetNames {
    borehole::DictionarySlots types;
    borehole::DictionarySlots consistency;
    borehole::DictionarySlots water;
    borehole::DictionarySlots samples;

    // A dictionary that cannot be read has no slots: every reference to it counts as deleted.
    static SheetNames read(const platform::WorkFolder& folder);
};

// The stored name of a slot in use (Windows-1251, padding kept), or `deleted` for a slot that
// is not in use or lies past the dictionary.
std::string slotNameOr(const borehole::DictionarySlots& slots, int slot,
                       const std::string& deleted);

// The borehole data a sheet shows, straight from the stored borehole (rows as stored).
borehole::BoreholeEditData sheetDataOf(const borehole::Borehole& b);

} // namespace orvo::datasheet
