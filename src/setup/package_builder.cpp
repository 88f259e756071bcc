// Walks the staged folder in a fixed order, so one build gives the same package bytes.
#include "setup/package_builder.h"

#include "platform/path_resolver.h"
#include "platform/work_folder.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace orvo::setup {

namespace {

Error fault(const std::string& text) {
    return {text, "orvo_pack", false};
}

Result<PackageEntry> fileEntry(const fs::path& file) {
    const std::string name = file.filename().string();
    if (name.size() > kMaxNameBytes)
        return fault(file.string() + ": the name is longer than 30 bytes");
    if (!isSafeFileName(name))
        return fault(file.string() + ": the name cannot be stored");
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        return fault(file.string() + ": not a file");
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec || size > kMaxEntryBytes)
        return fault(file.string() + (ec ? ": cannot be read" : ": larger than 2 GiB"));
    platform::ReadOutcome read = platform::readFile(file, kMaxEntryBytes + 1);
    if (!read.ok() || read.bytes.size() > kMaxEntryBytes)
        return fault(file.string() + ": cannot be read");
    return PackageEntry{'F', name, std::move(read.bytes)};
}

// The folder entry `stored` for `folder`, its files, then its folders, each in name order.
Status addFolder(const fs::path& folder, const std::string& stored,
                 std::vector<PackageEntry>& out) {
    if (stored.size() > kMaxNameBytes)
        return fault(folder.string() + ": the path \"" + stored + "\" is longer than 30 bytes");
    if (!isSafeFolderName(stored))
        return fault(folder.string() + ": the path cannot be stored");
    out.push_back({'D', stored, {}});
    std::vector<std::string> files, folders;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        (it->is_directory(ec) && !it->is_symlink(ec) ? folders : files).push_back(name);
    }
    if (ec)
        return fault(folder.string() + ": cannot be listed");
    std::sort(files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    for (const auto& name : files) {
        auto entry = fileEntry(folder / name);
        if (!entry)
            return entry.error();
        out.push_back(std::move(*entry));
    }
    for (const auto& name : folders) {
        std::string child = stored;
        child += '\\';
        child += name;
        if (auto st = addFolder(folder / name, child, out); !st)
            return st;
    }
    return success();
}

} // namespace

Result<std::vector<PackageEntry>> collectPackage(const std::vector<fs::path>& programs,
                                                 const fs::path& data) {
    if (programs.size() != kProgramCount)
        return fault("three programs are needed");
    std::vector<PackageEntry> entries;
    for (const auto& program : programs) {
        auto entry = fileEntry(program);
        if (!entry)
            return entry.error();
        entries.push_back(std::move(*entry));
    }
    std::error_code ec;
    fs::path folder = data;
    fs::path named = fs::absolute(data, ec).lexically_normal();
    if (named.filename().empty())
        named = named.parent_path();
    if (platform::asciiLower(named.filename().string()) != "data") {
        const fs::path inner = platform::PathResolver(data).resolve("DATA");
        if (!inner.empty() && fs::is_directory(inner, ec))
            folder = inner;
    }
    if (!fs::is_directory(folder, ec))
        return fault(data.string() + ": not a folder");
    if (auto st = addFolder(folder, "DATA", entries); !st)
        return st.error();
    return entries;
}

std::string listPackage(const std::vector<PackageEntry>& entries) {
    std::string out;
    for (const auto& e : entries)
        out += std::string(1, e.kind) + ' ' + e.name + ' ' + std::to_string(e.bytes.size()) + '\n';
    return out;
}

} // namespace orvo::setup
