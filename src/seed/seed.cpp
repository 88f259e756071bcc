// Writing the default database from its JSON definitions through the project store.
#include "seed/seed.h"

#include "platform/work_folder.h"
#include "store/project_store.h"
#include "store/store_paths.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>
#include <set>
#include <system_error>
#include <unistd.h>

namespace orvo::seed {
namespace {

using nlohmann::json;

Error definitionError(const std::string& what) {
    return {"Ошибка в описании базы данных по умолчанию: " + what, "Ошибка", false};
}

std::int32_t int32Of(const json& j, const char* key, std::int32_t fallback = 0) {
    if (!j.contains(key))
        return fallback;
    return j.at(key).get<std::int32_t>();
}

Status writeObject(const store::ProjectStore& store, const json& obj, store::StatusRecord& status,
                   std::set<std::int32_t>& used) {
    const auto number = obj.at("number").get<std::int32_t>();
    // The counter after the highest number must still fit.
    if (number < 1 || number >= std::numeric_limits<std::int32_t>::max() - 1 ||
        !used.insert(number).second)
        return definitionError("номер объекта " + std::to_string(number));
    auto& folder = store.folder();
    if (auto st = folder.makeFolder(store::paths::objectFolder(number)); !st)
        return st;
    store::ObjectTitle title;
    title.number = number;
    title.shortName.setUtf8(obj.value("shortName", ""));
    title.fullName.setUtf8(obj.value("fullName", ""));
    title.contract.setUtf8(obj.value("contract", ""));
    if (auto st = store.WriteObjectTitle(title); !st)
        return st;
    for (const auto& list : {store::paths::sectionList(number), store::paths::boreholeList(number)})
        if (auto st = folder.writeAtomic(list, {}); !st)
            return st;
    if (auto st = store.AppendObject(number); !st)
        return st;
    if (obj.value("archived", false))
        if (auto st = store.SetArchived(number, true); !st)
            return st;
    status.nextObjectNumber = std::max(status.nextObjectNumber, number + 1);
    return success();
}

Status writeDatabase(const store::ProjectStore& store, const json& def) {
    auto& folder = store.folder();
    if (auto st = folder.makeFolder(store::paths::kDictionaries); !st)
        return st;
    const json& d = def.at("sectionDefaults");
    store::SectionDefaults defaults;
    defaults.verticalScale = int32Of(d, "verticalScale");
    defaults.horizontalScale = int32Of(d, "horizontalScale");
    defaults.sheetHeightMm = int32Of(d, "sheetHeightMm");
    defaults.sheetWidthMm = int32Of(d, "sheetWidthMm");
    defaults.stampFirstSheet = int32Of(d, "stampFirstSheet");
    defaults.stampOtherSheets = int32Of(d, "stampOtherSheets");
    defaults.drawingForm = int32Of(d, "drawingForm");
    if (auto st = store.SaveSectionDefaults(defaults); !st)
        return st;

    if (auto st = folder.writeAtomic(store::paths::kObjectList, {}); !st)
        return st;
    store::StatusRecord status;
    const json st = def.value("status", json::object());
    status.launchCount = int32Of(st, "launchCount");
    status.workSeconds = int32Of(st, "workSeconds");
    std::set<std::int32_t> used;
    for (const auto& obj : def.value("objects", json::array()))
        if (auto r = writeObject(store, obj, status, used); !r)
            return r;
    // Written last: a folder with status.sav is a finished database.
    return store.SaveStatus(status);
}

} // namespace

Status InitWorkingFolder(const std::filesystem::path& dir, std::string_view definitionsJson) {
    json def;
    try {
        def = json::parse(definitionsJson);
        if (!def.is_object() || !def.contains("sectionDefaults"))
            return definitionError("нет раздела sectionDefaults");
    } catch (const json::exception& e) {
        return definitionError(e.what());
    }
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!std::filesystem::is_directory(dir, ec))
        return Error{"Ошибка создания папки \"" + dir.string() + "\"", "Ошибка", false};
    if (platform::WorkFolder(dir).exists("DATA"))
        return Error{"В папке \"" + dir.string() + "\" уже есть база данных DATA", "Ошибка", false};
    // Built aside and moved in whole, so a failure leaves no half-made DATA behind.
    const auto staging = dir / (".init~" + std::to_string(::getpid()));
    std::filesystem::remove_all(staging, ec);
    std::filesystem::create_directories(staging, ec);
    platform::WorkFolder folder(staging);
    store::ProjectStore store(folder);
    Status written = success();
    try {
        written = writeDatabase(store, def);
    } catch (const json::exception& e) {
        written = definitionError(e.what());
    }
    if (written) {
        std::filesystem::rename(staging / "DATA", dir / "DATA", ec);
        if (ec)
            written = platform::writeError("DATA");
    }
    std::filesystem::remove_all(staging, ec);
    return written;
}

} // namespace orvo::seed
