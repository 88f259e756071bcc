// The dictionaries a borehole refers to by slot (borehole types, consistency types, groundwater
// and sample types), read through each dictionary's own reader.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"

#include <string>
#include <vector>

namespace orvo::borehole {

enum class BoreholeDictionary { BoreholeType, Consistency, Water, Sample };

// What a reference shows when it names no record: slot 0 or a slot past the list.
inline constexpr const char* kUndefinedName = "*** Не определен ***";

struct SlotName {
    int slot = 0;
    std::string name; // UTF-8, trailing blanks removed
};

// The in-use flag and name of every slot of one dictionary.
class DictionarySlots {
public:
    DictionarySlots() = default;
    // Reads the list; a missing list has no slots.
    static Result<DictionarySlots> read(const platform::WorkFolder& folder,
                                        BoreholeDictionary which);
    // As `read`, but a list that cannot be read has no slots, so every reference counts as
    // deleted.
    static DictionarySlots readOrEmpty(const platform::WorkFolder& folder,
                                       BoreholeDictionary which);

    // False for a negative slot or one past the list.
    bool inUse(int slot) const;
    // The stored name of a slot, in use or not; kUndefinedName for slot 0 or one not listed.
    std::string shownName(int slot) const;
    // The name's stored Windows-1251 bytes up to the terminator, padding kept; "" for a slot
    // not listed. The data sheet and the text export show these for the slots in use.
    std::string storedName(int slot) const;
    // The records a user may choose: in use, record 0 ("no type") left out.
    std::vector<SlotName> offered() const;

private:
    struct Entry {
        bool inUse = false;
        std::string name;
        std::string stored;
    };
    std::vector<Entry> m_entries;
};

} // namespace orvo::borehole
