// Hatch types, standard IGE descriptions and the demo sections' own descriptions of the default
// database. Hatches name their symbols, descriptions their hatches, by name, not by slot.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"

#include <nlohmann/json.hpp>

#include <cstdint>

namespace orvo::seed {

// "hatches", after the symbols they use are in the library.
Status writeHatches(const platform::WorkFolder& folder, const nlohmann::json& def);
// "igeDescriptions", after the hatches.
Status writeStandardIgeDescriptions(const platform::WorkFolder& folder, const nlohmann::json& def);
// A section's own "igeDescriptions" as its .OIE file.
Status writeSectionIgeDescriptions(const platform::WorkFolder& folder, std::int32_t object,
                                   std::int32_t section, const nlohmann::json& def);

} // namespace orvo::seed
