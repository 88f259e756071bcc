// Hatch types and IGE descriptions of the default database, through the dictionaries' writers.
#include "seed/seed_descriptions.h"

#include "dict/hatch.h"
#include "dict/ige_description.h"
#include "dict/symbol.h"
#include "seed/seed_connections.h"
#include "store/store_paths.h"

#include <string>
#include <vector>

namespace orvo::seed {

namespace {

using nlohmann::json;

// The slot of the used record of `list` named `name` (trailing blanks ignored), or an error.
template <class Record>
Result<std::int32_t> slotNamed(const std::vector<Record>& list, const std::string& name,
                               const char* what) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].used != 0 && list[i].name.utf8Trimmed() == name)
            return static_cast<std::int32_t>(i);
    return definitionError(std::string(what) + " \"" + name + "\" не найден");
}

float real(const json& j, std::size_t i) {
    return j.at(i).get<float>();
}

Result<dict::HatchPattern> hatchPattern(const platform::WorkFolder& folder, const json& h) {
    auto symbols = dict::ReadSymbolList(folder);
    if (!symbols)
        return symbols.error();
    dict::HatchPattern p;
    p.name = h.at("name").get<std::string>();
    for (const auto& e : h.at("elements")) {
        const auto kind = e.at("kind").get<std::string>();
        if (kind == "line") {
            p.lines.push_back({e.value("width", 0.2f), e.at("angle").get<std::int32_t>(),
                               e.at("step").get<float>()});
        } else if (kind == "segment") {
            const auto& from = e.at("from");
            const auto& to = e.at("to");
            const auto& step = e.at("step");
            p.segments.push_back({e.value("width", 0.2f), real(from, 0), real(from, 1), real(to, 0),
                                  real(to, 1), real(step, 0), real(step, 1)});
        } else if (kind == "symbol") {
            auto slot = slotNamed(*symbols, e.at("symbol").get<std::string>(), "значок");
            if (!slot)
                return slot.error();
            const auto& corner = e.at("corner");
            const auto& step = e.at("step");
            p.symbols.push_back(
                {*slot, real(corner, 0), real(corner, 1), real(step, 0), real(step, 1)});
        } else {
            return definitionError("вид элемента штриховки " + kind);
        }
    }
    return p;
}

Result<std::int32_t> hatchNamed(const platform::WorkFolder& folder, const json& d) {
    if (!d.contains("hatch"))
        return -1;
    auto list = dict::ReadHatchList(folder);
    if (!list)
        return list.error();
    return slotNamed(*list, d.at("hatch").get<std::string>(), "вид штриховки");
}

} // namespace

Status writeHatches(const platform::WorkFolder& folder, const json& def) {
    for (const auto& h : def.value("hatches", json::array())) {
        auto pattern = hatchPattern(folder, h);
        if (!pattern)
            return pattern.error();
        if (auto saved = dict::SaveHatch(folder, -1, *pattern); !saved)
            return saved.error();
    }
    return Done{};
}

Status writeStandardIgeDescriptions(const platform::WorkFolder& folder, const json& def) {
    for (const auto& d : def.value("igeDescriptions", json::array())) {
        auto hatch = hatchNamed(folder, d);
        if (!hatch)
            return hatch.error();
        if (auto saved = dict::SaveStandardIge(folder, -1, d.at("number").get<std::string>(),
                                               d.at("text").get<std::string>(), *hatch);
            !saved)
            return saved.error();
    }
    return Done{};
}

Status writeSectionIgeDescriptions(const platform::WorkFolder& folder, std::int32_t object,
                                   std::int32_t section, const json& def) {
    std::vector<dict::IgeDescriptionRecord> records;
    for (const auto& d : def) {
        auto hatch = hatchNamed(folder, d);
        if (!hatch)
            return hatch.error();
        records.push_back(
            dict::sectionIgeRecord(dict::padIgeNumberUtf8(d.at("number").get<std::string>()), false,
                                   d.at("text").get<std::string>(), *hatch));
    }
    return dict::WriteIgeDescriptionFile(folder, store::paths::sectionFile(object, section, "OIE"),
                                         records);
}

} // namespace orvo::seed
