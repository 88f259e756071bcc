// Case- and separator-insensitive lookup of stored names with cached folder listings.
#include "platform/path_resolver.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace orvo::platform {

std::vector<std::string> splitStoredPath(std::string_view stored) {
    std::vector<std::string> parts;
    std::string cur;
    auto flush = [&] {
        if (!cur.empty() && cur != ".")
            parts.push_back(cur);
        cur.clear();
    };
    for (char c : stored) {
        if (c == '/' || c == '\\')
            flush();
        else
            cur += c;
    }
    flush();
    return parts;
}

std::string asciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

PathResolver::PathResolver(fs::path root) : m_root(std::move(root)) {}

fs::path PathResolver::literal(std::string_view stored) const {
    fs::path p = m_root;
    for (const auto& part : splitStoredPath(stored)) {
        if (part == "..")
            return {};
        p /= part;
    }
    return p;
}

const PathResolver::Listing* PathResolver::listing(const fs::path& folder, bool reload) const {
    const std::string key = folder.string();
    auto it = m_listings.find(key);
    if (it != m_listings.end() && !reload)
        return &it->second;
    std::error_code ec;
    fs::directory_iterator dir(folder, ec);
    if (ec) {
        if (it != m_listings.end())
            m_listings.erase(it);
        return nullptr;
    }
    // Sorted so that of two names differing only in case the choice does not depend on the
    // order the file system returns them in.
    std::vector<std::string> names;
    for (const auto& entry : dir)
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    Listing fresh;
    for (const auto& n : names)
        fresh.emplace(asciiLower(n), n);
    auto& slot = m_listings[key];
    slot = std::move(fresh);
    return &slot;
}

fs::path PathResolver::resolve(std::string_view stored) const {
    const auto parts = splitStoredPath(stored);
    fs::path cur = m_root;
    bool resolving = true;
    for (const auto& part : parts) {
        if (part == "..")
            return {};
        if (resolving) {
            const Listing* names = listing(cur, false);
            auto findIn = [&](const Listing* l) -> const std::string* {
                if (!l)
                    return nullptr;
                auto exact = l->find(asciiLower(part));
                return exact == l->end() ? nullptr : &exact->second;
            };
            const std::string* found = findIn(names);
            if (!found && names)
                found = findIn(listing(cur, true));
            if (found) {
                cur /= *found;
                continue;
            }
            resolving = false;
        }
        cur /= part;
    }
    return cur;
}

void PathResolver::invalidate(const fs::path& folder) const {
    m_listings.erase(folder.string());
}

} // namespace orvo::platform
