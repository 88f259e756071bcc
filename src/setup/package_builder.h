// Building a package from the programs and a DATA folder that `orvo init` filled.
#pragma once
#include "platform/result.h"
#include "setup/package.h"

#include <filesystem>
#include <string>
#include <vector>

namespace orvo::setup {

// The largest file a package can hold: its size is an int32.
inline constexpr std::uint64_t kMaxEntryBytes = 0x7fffffff;

// The programs first, as files of the root; then every folder of `data` as a folder entry,
// depth first and in name order, named by its path from the root with "\" ("DATA",
// "DATA\DIC"), each followed by its files in name order. `data` is the DATA folder itself or a
// working folder holding one. Names over 30 bytes, files over 2 GiB and anything that is
// neither a file nor a folder are refused. The same inputs give the same entries.
Result<std::vector<PackageEntry>> collectPackage(const std::vector<std::filesystem::path>& programs,
                                                 const std::filesystem::path& data);

// One line per entry: kind, name and size, separated by spaces.
std::string listPackage(const std::vector<PackageEntry>& entries);

} // namespace orvo::setup
