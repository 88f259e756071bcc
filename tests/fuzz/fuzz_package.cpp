// The package reader on fuzzed bytes: no crash, and whatever it accepts is safe to install by
// rules checked here independently: every folder stays under the root, every file name names
// one file, the programs come first, and writing the entries back gives a package read the same.
#include "setup/package.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

void require(bool ok) {
    if (!ok)
        std::abort();
}

bool plainText(const std::string& s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return false;
    return !s.empty() && s.size() <= orvo::setup::kMaxNameBytes;
}

void checkFolder(std::string name) {
    require(plainText(name));
    for (auto& c : name)
        if (c == '\\')
            c = '/';
    require(name.front() != '/' && name.find(':') == std::string::npos);
    const std::filesystem::path root("/root-of-install");
    const auto joined = (root / name).lexically_normal();
    const auto rel = joined.lexically_relative(root);
    require(!rel.empty() && *rel.begin() != ".." && *rel.begin() != ".");
    for (const auto& part : std::filesystem::path(name))
        require(part != ".." && part != "." && !part.empty());
}

void checkFile(const std::string& name) {
    require(plainText(name));
    require(name != "." && name != "..");
    require(name.find_first_of("/\\:") == std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const orvo::setup::Bytes bytes(data, data + size);
    auto parsed = orvo::setup::parsePackage(bytes);
    if (!parsed)
        return 0;
    require(parsed->size() >= orvo::setup::kProgramCount);
    for (std::size_t i = 0; i < parsed->size(); ++i) {
        const auto& e = (*parsed)[i];
        require(e.kind == 'D' || e.kind == 'F');
        require(i >= orvo::setup::kProgramCount || e.kind == 'F');
        if (e.isFolder()) {
            require(e.bytes.empty());
            checkFolder(e.name);
        } else {
            checkFile(e.name);
        }
    }
    auto again = orvo::setup::parsePackage(orvo::setup::packageBytes(*parsed));
    require(again && *again == *parsed);
    return 0;
}
