// Gathering, ordering and describing the IGEs of a section.
#include "section/ige_list.h"

#include "borehole/borehole_record.h"
#include "platform/codepage.h"
#include "section/section_record.h"
#include "store/store_paths.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace orvo::section {

namespace {

using dict::IgeNumber;

std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    const auto first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first);
}

std::string boreholeText(std::int32_t number) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.8d", number);
    return buf;
}

Error unreadableBorehole(std::int32_t number, const Error& cause) {
    return {"Не удается прочитать выработку " + boreholeText(number) + "\r" + cause.text, "Stop"};
}

Result<std::vector<IgeNumber>> layerNumbers(const platform::WorkFolder& folder, std::int32_t object,
                                            const std::vector<std::int32_t>& boreholes) {
    std::vector<IgeNumber> numbers;
    for (const auto b : boreholes) {
        if (!folder.exists(store::paths::boreholeFile(object, b)))
            continue;
        auto file = borehole::ReadBorehole(folder, object, b);
        if (!file)
            return unreadableBorehole(b, file.error());
        for (const auto& layer : file->ige)
            numbers.push_back(dict::padIgeNumber(layer.ige.bytes()));
    }
    return numbers;
}

Result<IgeList> build(const platform::WorkFolder& folder, std::int32_t object,
                      const std::vector<std::int32_t>& boreholes,
                      std::optional<std::int32_t> storedSection, bool workingCopyFirst) {
    auto numbers = layerNumbers(folder, object, boreholes);
    if (!numbers)
        return numbers.error();
    IgeList list;
    for (const auto& n : sortedIgeNumbers(*numbers)) {
        IgeEntry e;
        e.number = n;
        list.entries.push_back(e);
    }
    std::optional<std::string> path;
    if (workingCopyFirst && folder.exists(store::paths::kWorkOie))
        path = std::string(store::paths::kWorkOie);
    else if (storedSection)
        path = store::paths::sectionFile(object, *storedSection, "OIE");
    if (!path)
        return list;
    auto records = dict::ReadIgeDescriptionFile(folder, *path);
    if (!records)
        list.badDescriptions = records.error();
    else if (*records)
        applyDescriptions(list, **records);
    return list;
}

} // namespace

const IgeEntry* IgeList::find(const dict::IgeNumber& number) const {
    for (const auto& e : entries)
        if (e.number == number)
            return &e;
    return nullptr;
}

void applyDescriptions(IgeList& list, const std::vector<dict::IgeDescriptionRecord>& records) {
    for (const auto& rec : records)
        for (auto& e : list.entries)
            if (e.number == rec.igeNumber) {
                e.useStandard = rec.flag;
                e.description = rec.description;
                e.hatch = rec.hatch;
            }
}

Result<IgeList> BuildIgeList(const platform::WorkFolder& folder, std::int32_t object,
                             const std::vector<std::int32_t>& boreholes,
                             std::optional<std::int32_t> storedSection) {
    return build(folder, object, boreholes, storedSection, true);
}

IgeChoice HatchForIge(const IgeEntry& entry,
                      const std::vector<dict::IgeDescriptionRecord>& standardList) {
    IgeChoice choice;
    if (!entry.takesStandard()) {
        choice.standard = false;
        choice.hatch = entry.hatch;
        choice.descriptionUtf8 = entry.description.utf8();
        return choice;
    }
    if (const auto slot = dict::findStandardIge(standardList, entry.number)) {
        const auto& rec = standardList[static_cast<std::size_t>(*slot)];
        choice.hatch = rec.hatch;
        choice.descriptionUtf8 = rec.description.utf8Trimmed();
    }
    return choice;
}

std::vector<dict::IgeDescriptionRecord> igeDescriptionRecords(const IgeList& list) {
    std::vector<dict::IgeDescriptionRecord> out;
    out.reserve(list.entries.size());
    for (const auto& e : list.entries) {
        dict::IgeDescriptionRecord rec;
        rec.flag = e.useStandard;
        rec.igeNumber = e.number;
        rec.description = e.description;
        rec.hatch = e.hatch;
        out.push_back(rec);
    }
    return out;
}

Status WriteWorkingIgeDescriptions(const platform::WorkFolder& folder, const IgeList& list) {
    return dict::WriteIgeDescriptionFile(folder, store::paths::kWorkOie,
                                         igeDescriptionRecords(list));
}

Result<std::vector<IgeSummary>> DescribeSectionIges(const platform::WorkFolder& folder,
                                                    std::int32_t object, std::int32_t section) {
    auto stored = ReadSection(folder, object, section);
    if (!stored)
        return stored.error();
    // The stored section alone: a working copy belongs to a dialog open elsewhere.
    auto list = build(folder, object, stored->boreholes, section, false);
    if (!list)
        return list.error();
    if (list->badDescriptions)
        return *list->badDescriptions;
    auto standard = dict::ReadStandardIgeList(folder);
    if (!standard)
        return standard.error();
    std::vector<IgeSummary> out;
    for (const auto& e : list->entries) {
        const IgeChoice c = HatchForIge(e, *standard);
        out.push_back(
            {dict::igeNumberText(e.number), c.standard, c.hatch, trimmed(c.descriptionUtf8)});
    }
    return out;
}

} // namespace orvo::section
