// Finds stored names on disk whatever their letter case and path separator.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvo::platform {

// "DATA\\DIC/TipSKV.SPS" and "DATA//dic\\tipskv.sps" both give {"DATA", "DIC", "TipSKV.SPS"}
// (in their own spelling). Empty and "." components are dropped; ".." is kept and later refused.
std::vector<std::string> splitStoredPath(std::string_view stored);
std::string asciiLower(std::string_view s);

// Maps stored relative names to real paths under a root. Folder listings are cached, so a
// folder is read once however many names are looked up in it; a name not found in a cached
// listing makes the listing be read again once, in case the folder changed behind our back.
// Callers that create, rename or delete entries call invalidate() for the folder.
class PathResolver {
public:
    explicit PathResolver(std::filesystem::path root);

    const std::filesystem::path& root() const { return m_root; }
    // The path as spelled, under the root, without looking at the disk; empty for names that
    // leave the root.
    std::filesystem::path literal(std::string_view stored) const;
    // The real path: existing components in their on-disk spelling, missing ones as given (so
    // new files get the stored spelling). Returns an empty path for names that leave the root.
    std::filesystem::path resolve(std::string_view stored) const;
    void invalidate(const std::filesystem::path& folder) const;
    void invalidateAll() const { m_listings.clear(); }

private:
    using Listing = std::unordered_map<std::string, std::string>; // lower-case -> on disk
    const Listing* listing(const std::filesystem::path& folder, bool reload) const;

    std::filesystem::path m_root;
    mutable std::unordered_map<std::string, Listing> m_listings;
};

} // namespace orvo::platform
