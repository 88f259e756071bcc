// Finds stored names on disk whatever their letter case and path separator.
#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvo::platform {

// "DATA\\DIC/TipSKV.SPS" and "DATA//dic\\tipskv.sps" both give {"DATA", "DIC", "TipSKV.SPS"}
// (in their own spelling). Empty and "." components are dropped; ".." is kept and later refused.
std::vector<std::string> splitStoredPath(std::string_view stored);
std::string asciiLower(std::string_view s);

// Maps stored relative names to real paths under a root. The listing of a folder is read once
// and kept, keyed by the folder's stored name in lower case, so however many names are looked
// up in a folder it is read once; a name not in a kept listing makes it be read again, in case
// the folder changed behind our back. Whoever creates, renames or deletes entries calls
// invalidate() for the folder.
class PathResolver {
public:
    // An empty root means the current folder.
    explicit PathResolver(std::filesystem::path root);

    const std::filesystem::path& root() const { return m_root; }
    // The path as spelled, under the root, without looking at the disk; empty for names that
    // leave the root or name nothing ("", ".", "\\").
    std::filesystem::path literal(std::string_view stored) const;
    // The real path: existing components in their on-disk spelling, missing ones as given (so
    // new files get the stored spelling). Empty for names that leave the root.
    std::filesystem::path resolve(std::string_view stored) const;
    // Like resolve(), but only when the name's folder has been listed already; no disk access.
    std::optional<std::filesystem::path> resolveFromCache(std::string_view stored) const;
    // Forgets the listing of the folder and of every folder below it.
    void invalidate(const std::filesystem::path& folder) const;
    void invalidateAll() const { m_folders.clear(); }

private:
    struct Folder {
        std::filesystem::path real;
        std::unordered_map<std::string, std::string> names; // lower case -> on disk
        std::unordered_set<std::string> exact;              // as on disk
        // The entry as spelled if it exists so, else one differing only in case.
        const std::string* lookup(const std::string& name) const;
    };
    // The listed folder for the first `count` parts, or nullptr when it does not exist.
    const Folder* folder(const std::vector<std::string>& parts, std::size_t count) const;
    const Folder* list(const std::string& key, std::filesystem::path real) const;

    std::filesystem::path m_root;
    mutable std::unordered_map<std::string, Folder> m_folders;
};

} // namespace orvo::platform
