// Free disk space and the temporary folder on top of std::filesystem.
#include "platform/system_paths.h"

#include <system_error>

namespace orvo::platform {

std::optional<std::uint64_t> freeDiskSpace(const std::filesystem::path& path) {
    std::error_code ec;
    const auto info = std::filesystem::space(path, ec);
    if (ec)
        return std::nullopt;
    return static_cast<std::uint64_t>(info.available);
}

std::filesystem::path tempFolder() {
    std::error_code ec;
    auto p = std::filesystem::temp_directory_path(ec);
    return ec ? std::filesystem::path("/tmp") : p;
}

} // namespace orvo::platform
