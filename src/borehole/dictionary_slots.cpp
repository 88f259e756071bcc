// Slots of the dictionaries a borehole refers to, through the dictionaries' readers.
#include "borehole/dictionary_slots.h"

#include "borehole/borehole_types.h"
#include "dict/consistency_type.h"
#include "dict/mark_type.h"

namespace orvo::borehole {

namespace {

template <class Record, class Flag>
void appendAll(std::vector<Record> records, Flag flag, auto& out) {
    out.reserve(records.size());
    for (const auto& r : records)
        out.push_back({flag(r) != 0, r.name.utf8Trimmed(), r.name.bytes()});
}

} // namespace

Result<DictionarySlots> DictionarySlots::read(const platform::WorkFolder& folder,
                                              BoreholeDictionary which) {
    DictionarySlots out;
    switch (which) {
    case BoreholeDictionary::BoreholeType: {
        auto list = ReadBoreholeTypeFile(folder);
        if (!list)
            return list.error();
        appendAll(
            std::move(*list), [](const BoreholeType& t) { return t.inUse; }, out.m_entries);
        break;
    }
    case BoreholeDictionary::Consistency: {
        auto list = dict::ReadConsistencyTypeList(folder);
        if (!list)
            return list.error();
        appendAll(
            std::move(*list), [](const dict::ConsistencyTypeRecord& t) { return t.used; },
            out.m_entries);
        break;
    }
    case BoreholeDictionary::Water:
    case BoreholeDictionary::Sample: {
        const auto kind = which == BoreholeDictionary::Water ? dict::MarkList::Groundwater
                                                             : dict::MarkList::Samples;
        auto list = dict::ReadMarkTypeList(folder, kind);
        if (!list)
            return list.error();
        appendAll(
            std::move(*list), [](const dict::MarkTypeRecord& t) { return t.used; }, out.m_entries);
        break;
    }
    }
    return out;
}

DictionarySlots DictionarySlots::readOrEmpty(const platform::WorkFolder& folder,
                                             BoreholeDictionary which) {
    auto list = read(folder, which);
    return list ? std::move(*list) : DictionarySlots{};
}

bool DictionarySlots::inUse(int slot) const {
    return slot >= 0 && static_cast<std::size_t>(slot) < m_entries.size() &&
           m_entries[static_cast<std::size_t>(slot)].inUse;
}

std::string DictionarySlots::shownName(int slot) const {
    if (slot <= 0 || static_cast<std::size_t>(slot) >= m_entries.size())
        return kUndefinedName;
    return m_entries[static_cast<std::size_t>(slot)].name;
}

std::string DictionarySlots::storedName(int slot) const {
    if (slot < 0 || static_cast<std::size_t>(slot) >= m_entries.size())
        return {};
    return m_entries[static_cast<std::size_t>(slot)].stored;
}

std::vector<SlotName> DictionarySlots::offered() const {
    std::vector<SlotName> out;
    for (std::size_t i = 1; i < m_entries.size(); ++i)
        if (m_entries[i].inUse)
            out.push_back({static_cast<int>(i), m_entries[i].name});
    return out;
}

} // namespace orvo::borehole
