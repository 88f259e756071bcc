// The default database: readable definitions turned into the binary files of a working folder.
#pragma once
#include "platform/result.h"

#include <filesystem>
#include <string_view>

namespace orvo::seed {

// The definitions built into the program (data/seed/database.json).
std::string_view builtinDefinitions();

// Creates `dir` with DATA, DATA\DIC and everything the definitions describe. Refuses a folder
// that already holds a database, so nobody's data is overwritten.
Status InitWorkingFolder(const std::filesystem::path& dir, std::string_view definitionsJson);

} // namespace orvo::seed
