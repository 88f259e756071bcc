// The scan and the repair. Files are found by listing the folders, never by probing names, and
// every stored name goes through the resolver, so any letter case on disk is found and no list
// is ever made beside one that differs only in case.
#include "checker/database_check.h"

#include "checker/check_texts.h"
#include "store/records.h"
#include "store/store_paths.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace orvo::checker {

namespace fs = std::filesystem;

namespace {

// Reads stop here: a list this long is damaged, and what was read is still checked.
constexpr std::uint64_t kObjectListLimit = 36ull * 1000 * 1000;
constexpr std::uint64_t kBoreholeListLimit = 4ull * 1000 * 1000;
constexpr std::size_t kHeaderNameSize = 10;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string headerName(const fs::path& file, const std::string& fileName) {
    const auto read = platform::readFile(file, kHeaderNameSize);
    if (!read.ok() || read.bytes.size() < kHeaderNameSize)
        return fileName;
    store::FixedText<kHeaderNameSize> name;
    std::copy_n(read.bytes.begin(), kHeaderNameSize, name.raw.begin());
    return name.utf8Trimmed();
}

// The numbers of the object's borehole list; nothing when the list cannot be read.
std::optional<std::vector<std::int32_t>> readBoreholeList(const platform::WorkFolder& folder,
                                                          std::int32_t object) {
    const auto read = folder.read(store::paths::boreholeList(object), kBoreholeListLimit);
    if (!read.ok())
        return std::nullopt;
    return store::parseNumberList(read.bytes);
}

// Marks the files missing from the list and says whether list and files agree. Files that share
// a number (a case-sensitive disk allows 00000001.skv beside 00000001.SKV) count once, as the
// rebuilt list holds each number once.
bool markAgainstList(std::vector<BoreholeFile>& files,
                     const std::optional<std::vector<std::int32_t>>& list) {
    std::set<std::int32_t> listed;
    if (list)
        listed.insert(list->begin(), list->end());
    std::set<std::int32_t> found;
    bool allListed = true;
    for (auto& f : files) {
        f.notInList = listed.count(f.number) == 0;
        allListed = allListed && !f.notInList;
        found.insert(f.number);
    }
    return list && list->size() == found.size() && allListed;
}

ObjectCheck checkObject(const platform::WorkFolder& folder, const store::ObjectListEntry& entry) {
    ObjectCheck check;
    check.number = entry.number;
    check.archived = entry.archived != 0;
    const auto title =
        folder.read(store::paths::objectTitle(entry.number), store::ObjectTitle::kSize);
    const auto record = title.ok() ? store::parseRecord<store::ObjectTitle>(title.bytes)
                                   : std::optional<store::ObjectTitle>();
    // A title too short to hold its record is as unusable as a missing one.
    if (!record) {
        check.shortName = std::string(kObjectNotFound);
        check.status = ObjectStatus::TitleMissing;
        return check;
    }
    check.shortName = record->shortName.utf8Trimmed();
    auto files = CollectBoreholeFiles(folder, entry.number);
    const auto list = readBoreholeList(folder, entry.number);
    if (files)
        check.files = std::move(*files);
    const bool agree = markAgainstList(check.files, list);
    check.status = files && agree ? ObjectStatus::Sound : ObjectStatus::ListFaulty;
    return check;
}

} // namespace

bool isBoreholeFileName(std::string_view name) {
    if (name.size() != 12 || !std::all_of(name.begin(), name.begin() + 8, isDigit))
        return false;
    return platform::asciiLower(name.substr(8)) == ".skv";
}

std::optional<std::vector<BoreholeFile>> CollectBoreholeFiles(const platform::WorkFolder& folder,
                                                              std::int32_t object) {
    const fs::path dir = folder.resolve(store::paths::objectFolder(object));
    if (dir.empty() || folder.faultAt("list"))
        return std::nullopt;
    std::vector<BoreholeFile> files;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; it != end; it.increment(ec)) {
        if (ec)
            break;
        const std::string name = it->path().filename().string();
        std::error_code typeEc;
        if (!isBoreholeFileName(name) || !it->is_regular_file(typeEc))
            continue;
        BoreholeFile file;
        file.fileName = name;
        file.number = std::stoi(name.substr(0, 8));
        file.headerName = headerName(it->path(), name);
        files.push_back(std::move(file));
    }
    if (ec)
        return std::nullopt;
    std::sort(files.begin(), files.end(),
              [](const BoreholeFile& a, const BoreholeFile& b) { return a.fileName < b.fileName; });
    return files;
}

Result<CheckReport> ScanDatabase(const platform::WorkFolder& folder, const ScanProgress& progress) {
    const auto list = folder.read(store::paths::kObjectList, kObjectListLimit);
    if (!list.ok())
        return Error{std::string(kNoObjectList), "Ошибка", false};
    const auto entries = store::parseList<store::ObjectListEntry>(list.bytes);
    const int total = static_cast<int>(entries.size());
    if (progress)
        progress(0, total);
    CheckReport report;
    report.objects.reserve(entries.size());
    for (const auto& entry : entries) {
        report.objects.push_back(checkObject(folder, entry));
        if (progress)
            progress(static_cast<int>(report.objects.size()), total);
    }
    return report;
}

int faultCount(const CheckReport& report) {
    return static_cast<int>(
        std::count_if(report.objects.begin(), report.objects.end(),
                      [](const ObjectCheck& o) { return o.status != ObjectStatus::Sound; }));
}

FixOutcome FixBoreholeLists(const platform::WorkFolder& folder, const CheckReport& report) {
    FixOutcome outcome;
    for (const auto& object : report.objects) {
        if (object.status != ObjectStatus::ListFaulty)
            continue;
        const std::string list = store::paths::boreholeList(object.number);
        const auto files = CollectBoreholeFiles(folder, object.number);
        if (!files) {
            outcome.failures.push_back(
                platform::openError(store::paths::objectFolder(object.number)));
            continue;
        }
        std::set<std::int32_t> numbers;
        for (const auto& f : *files)
            numbers.insert(f.number);
        const auto written =
            folder.writeAtomic(list, store::numberListBytes({numbers.begin(), numbers.end()}));
        if (!written) {
            outcome.failures.push_back(written.error());
            continue;
        }
        ++outcome.rewritten;
    }
    return outcome;
}

} // namespace orvo::checker
