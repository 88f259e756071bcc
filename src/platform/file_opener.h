// Opening a file with the program the desktop associates with its type.
#pragma once
#include <filesystem>

namespace orvo::platform {

class FileOpener {
public:
    virtual ~FileOpener() = default;
    // False when no program could be started for it.
    virtual bool open(const std::filesystem::path& file) = 0;
};

} // namespace orvo::platform
