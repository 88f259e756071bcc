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

namespace {

bool leavesRoot(const std::vector<std::string>& parts) {
    return std::find(parts.begin(), parts.end(), "..") != parts.end();
}

std::string folderKey(const std::vector<std::string>& parts, std::size_t count) {
    std::string key;
    for (std::size_t i = 0; i < count; ++i) {
        key += asciiLower(parts[i]);
        key += '/';
    }
    return key;
}

} // namespace

PathResolver::PathResolver(fs::path root)
    : m_root(root.empty() ? fs::path(".") : std::move(root)) {}

const std::string* PathResolver::Folder::lookup(const std::string& name) const {
    if (auto e = exact.find(name); e != exact.end())
        return &*e;
    auto it = names.find(asciiLower(name));
    return it == names.end() ? nullptr : &it->second;
}

fs::path PathResolver::literal(std::string_view stored) const {
    // Built as one string: this runs for every file the program opens.
    std::string p = m_root.native();
    std::size_t partStart = std::string::npos;
    auto endPart = [&](std::size_t end) {
        if (partStart == std::string::npos)
            return true;
        const std::string_view part = stored.substr(partStart, end - partStart);
        partStart = std::string::npos;
        if (part == "..")
            return false;
        if (part == ".")
            return true;
        if (p.empty() || p.back() != '/')
            p += '/';
        p += part;
        return true;
    };
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '/' || stored[i] == '\\') {
            if (!endPart(i))
                return {};
        } else if (partStart == std::string::npos) {
            partStart = i;
        }
    }
    if (!endPart(stored.size()) || p.size() == m_root.native().size())
        return {};
    return fs::path(std::move(p));
}

const PathResolver::Folder* PathResolver::list(const std::string& key, fs::path real) const {
    std::error_code ec;
    std::vector<std::string> names;
    fs::directory_iterator it(real, ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    if (ec) {
        m_folders.erase(key);
        return nullptr;
    }
    // Sorted so that of two names differing only in case the choice does not depend on the
    // order the file system returns them in.
    std::sort(names.begin(), names.end());
    Folder fresh{std::move(real), {}, {}};
    for (auto& n : names) {
        fresh.exact.insert(n);
        fresh.names.emplace(asciiLower(n), std::move(n));
    }
    auto& slot = m_folders[key];
    slot = std::move(fresh);
    return &slot;
}

const PathResolver::Folder* PathResolver::folder(const std::vector<std::string>& parts,
                                                 std::size_t count) const {
    const std::string key = folderKey(parts, count);
    if (auto it = m_folders.find(key); it != m_folders.end())
        return &it->second;
    if (count == 0)
        return list(key, m_root);
    const Folder* parent = folder(parts, count - 1);
    if (!parent)
        return nullptr;
    const std::string& name = parts[count - 1];
    const std::string* found = parent->lookup(name);
    if (!found) {
        parent = list(folderKey(parts, count - 1), parent->real);
        if (!parent)
            return nullptr;
        found = parent->lookup(name);
        if (!found)
            return nullptr;
    }
    return list(key, parent->real / *found);
}

fs::path PathResolver::resolve(std::string_view stored) const {
    const auto parts = splitStoredPath(stored);
    if (parts.empty() || leavesRoot(parts))
        return {};
    // The deepest existing folder, then the rest as given.
    std::size_t have = parts.empty() ? 0 : parts.size() - 1;
    const Folder* dir = nullptr;
    while (!(dir = folder(parts, have)) && have > 0)
        --have;
    if (!dir)
        return literal(stored);
    fs::path out = dir->real;
    if (have == parts.size())
        return out;
    const std::string& name = parts[have];
    const std::string* found = dir->lookup(name);
    if (!found && have + 1 == parts.size()) {
        dir = list(folderKey(parts, have), dir->real);
        if (dir)
            found = dir->lookup(name);
    }
    out /= found ? *found : name;
    for (std::size_t i = have + 1; i < parts.size(); ++i)
        out /= parts[i];
    return out;
}

std::optional<fs::path> PathResolver::resolveFromCache(std::string_view stored) const {
    if (m_folders.empty())
        return std::nullopt;
    const auto parts = splitStoredPath(stored);
    if (parts.empty() || leavesRoot(parts))
        return std::nullopt;
    const auto it = m_folders.find(folderKey(parts, parts.size() - 1));
    if (it == m_folders.end())
        return std::nullopt;
    const std::string* name = it->second.lookup(parts.back());
    if (!name)
        return std::nullopt;
    return it->second.real / *name;
}

void PathResolver::invalidate(const fs::path& folder) const {
    // The folder and everything below it, which may have gone with it.
    const std::string& top = folder.native();
    for (auto it = m_folders.begin(); it != m_folders.end();) {
        const std::string& real = it->second.real.native();
        const bool below = real.size() > top.size() && real.compare(0, top.size(), top) == 0 &&
                           real[top.size()] == '/';
        if (real == top || below)
            it = m_folders.erase(it);
        else
            ++it;
    }
}

} // namespace orvo::platform
