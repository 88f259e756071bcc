// The IGEs of a section (`IgeList`): their numbers gathered from the section's boreholes in the
// order drawings list them, each with the choice between the standard description and the
// section's own, and the working copy WORK.OIE that holds that choice while a section is edited.
#pragma once
#include "dict/ige_description.h"
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/fixed_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvo::section {

struct IgeEntry {
    dict::IgeNumber number{};
    std::int32_t useStandard = 1;      // 1 takes the standard description, else the entry's own
    store::FixedText<256> description; // the entry's own text, zero-terminated
    std::int32_t hatch = -1;           // the entry's own hatch

    bool takesStandard() const { return useStandard == 1; }
};

struct IgeList {
    std::vector<IgeEntry> entries;
    // The description file (WORK.OIE or the section's own) was refused: the entries keep their
    // start values and the caller shows this.
    std::optional<Error> badDescriptions;

    // The entry with this number, or null.
    const IgeEntry* find(const dict::IgeNumber& number) const;
};

// The order of the IGE list (dict/ige_description.h).
using dict::igeSortsBefore;
using dict::sortedIgeNumbers;

// Lays the records of a description file over the entries: a record whose number an entry has
// sets its flag, text and hatch; records of numbers no longer present are dropped.
void applyDescriptions(IgeList& list, const std::vector<dict::IgeDescriptionRecord>& records);

// The numbers of the layers of `boreholes` (file numbers, section order), sorted, each starting
// with the standard description, then WORK.OIE or, without it, the description file of
// `storedSection` (none for a section not saved yet). A missing borehole file leaves its layers
// out; one that cannot be read stops the build with a message naming it.
Result<IgeList> BuildIgeList(const platform::WorkFolder& folder, std::int32_t object,
                             const std::vector<std::int32_t>& boreholes,
                             std::optional<std::int32_t> storedSection);

// What an entry draws and prints with. A standard entry takes the first used record of OIE.sps
// with the same 10 bytes (its space padding trimmed), else no text and hatch -1; an entry of its
// own takes its own text and hatch.
struct IgeChoice {
    bool standard = true;
    std::int32_t hatch = -1;
    std::string descriptionUtf8;
};
IgeChoice HatchForIge(const IgeEntry& entry,
                      const std::vector<dict::IgeDescriptionRecord>& standardList);

// The records WORK.OIE holds for the list: flag = useStandard, number, own text, own hatch.
std::vector<dict::IgeDescriptionRecord> igeDescriptionRecords(const IgeList& list);
// "Сохранить" of the section's description dialog: replaces WORK.OIE atomically.
Status WriteWorkingIgeDescriptions(const platform::WorkFolder& folder, const IgeList& list);

// One line of a stored section's IGE list, as the command line prints it.
struct IgeSummary {
    std::string numberUtf8; // trailing spaces trimmed
    bool standard = true;
    std::int32_t hatch = -1;
    std::string descriptionUtf8; // trimmed
};
// The IgeList of the stored section (its .DAT boreholes; WORK.OIE when present, else its .OIE),
// each entry resolved with HatchForIge against OIE.sps.
Result<std::vector<IgeSummary>> DescribeSectionIges(const platform::WorkFolder& folder,
                                                    std::int32_t object, std::int32_t section);

} // namespace orvo::section
