// Free disk space and the temporary folder.
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>

namespace orvo::platform {

// Bytes available to this user on the disk holding `path`; nothing when it cannot be told.
std::optional<std::uint64_t> freeDiskSpace(const std::filesystem::path& path);
// The system's temporary folder (TMPDIR or /tmp).
std::filesystem::path tempFolder();

} // namespace orvo::platform
