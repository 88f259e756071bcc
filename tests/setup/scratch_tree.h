// Helpers of the installer tests: a listing of a scratch tree, small packages to install.
#pragma once
#include "setup/package.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace orvo::test {

// One line per file or folder under `top`, in name order: the relative path, the mode in octal,
// and for a file its size and a checksum of its bytes. Two listings are equal only when the
// trees are the same byte for byte.
inline std::string treeListing(const std::filesystem::path& top) {
    std::vector<std::string> lines;
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(top, ec), end; !ec && it != end;
         it.increment(ec)) {
        struct stat st {};
        ::lstat(it->path().c_str(), &st);
        char mode[8];
        std::snprintf(mode, sizeof mode, "%o", static_cast<unsigned>(st.st_mode & 07777));
        std::string line = it->path().lexically_relative(top).string() + " " + mode;
        if (it->is_regular_file(ec)) {
            std::uint32_t sum = 2166136261u;
            for (const auto b : readBytes(it->path()))
                sum = (sum ^ b) * 16777619u;
            line += " " + std::to_string(it->file_size(ec)) + " " + std::to_string(sum);
        } else {
            line += " /";
        }
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    std::string out;
    for (const auto& l : lines)
        out += l + "\n";
    return out;
}

inline setup::PackageEntry file(const std::string& name, const std::string& content) {
    return {'F', name, setup::Bytes(content.begin(), content.end())};
}
inline setup::PackageEntry folder(const std::string& name) {
    return {'D', name, {}};
}

// The three programs and a small database: DATA with status.sav, DATA\DIC with one list.
inline std::vector<setup::PackageEntry> smallPackage() {
    return {file("Orvo2", "main program"),
            file("O2_Check", "checker"),
            file("orvo", "command line"),
            folder("DATA"),
            file("status.sav", "status record"),
            file("OBJ.SPS", "objects"),
            folder("DATA\\DIC"),
            file("TipSKV.SPS", "types"),
            folder("DATA/00001.OBJ"),
            file("OBJ.TIT", "title")};
}

} // namespace orvo::test
