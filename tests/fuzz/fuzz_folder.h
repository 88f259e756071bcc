// A scratch working folder shared by the iterations of one fuzzer process.
#pragma once
#include "platform/system_paths.h"
#include "platform/work_folder.h"
#include "store/project_store.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace orvo::fuzz {

struct Folder {
    std::filesystem::path root;
    platform::WorkFolder folder;
    store::ProjectStore store;

    Folder()
        : root(platform::tempFolder() / ("orvo-fuzz-" + std::to_string(::getpid()))), folder(root),
          store(folder) {
        std::filesystem::create_directories(root / "DATA" / "00001.OBJ");
    }

    // Puts the bytes at a path under the root, spelled the Linux way.
    void put(const std::string& rel, const std::uint8_t* data, std::size_t size) const {
        std::ofstream out(root / rel, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
};

inline Folder& folder() {
    static Folder f;
    return f;
}

} // namespace orvo::fuzz
