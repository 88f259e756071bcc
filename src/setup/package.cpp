// Reading and writing the package: every header and name is checked before any entry is used.
#include "setup/package.h"

#include <algorithm>
#include <cstring>

namespace orvo::setup {

Error readFailedError() {
    return {"Ошибка чтения диска", "Чтение диска", false};
}

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

bool hasControl(std::string_view s) {
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f)
            return true;
    }
    return false;
}

// A colon would make a drive letter ("C:") where the package came from; no name needs one.
bool isSafePart(std::string_view part) {
    return !part.empty() && part != "." && part != ".." && part.find(':') == std::string_view::npos;
}

std::int32_t readLe32(const std::uint8_t* p) {
    const std::uint32_t u = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                            std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
    return static_cast<std::int32_t>(u);
}

Error refuse(std::string* why, std::size_t index, const std::string& fault) {
    if (why)
        *why = "entry " + std::to_string(index + 1) + ": " + fault;
    return readFailedError();
}

} // namespace

bool isSafeFolderName(std::string_view name) {
    if (name.empty() || hasControl(name) || isSeparator(name.front()))
        return false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || isSeparator(name[i])) {
            if (!isSafePart(name.substr(start, i - start)))
                return false;
            start = i + 1;
        }
    }
    return true;
}

bool isSafeFileName(std::string_view name) {
    if (!isSafePart(name) || hasControl(name))
        return false;
    for (const char c : name)
        if (isSeparator(c))
            return false;
    return true;
}

Result<std::vector<PackageEntry>> parsePackage(const Bytes& bytes, std::string* why) {
    std::vector<PackageEntry> entries;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t index = entries.size();
        if (bytes.size() - at < kHeaderSize)
            return refuse(why, index, "the header is cut short");
        const std::uint8_t* head = bytes.data() + at;
        PackageEntry entry;
        entry.kind = static_cast<char>(head[0]);
        if (entry.kind != 'D' && entry.kind != 'F')
            return refuse(why, index, "kind is neither D nor F");
        const void* zero = std::memchr(head + 1, 0, kNameField);
        if (!zero)
            return refuse(why, index, "the name has no terminating zero");
        entry.name.assign(reinterpret_cast<const char*>(head + 1),
                          static_cast<const std::uint8_t*>(zero) - (head + 1));
        at += kHeaderSize;
        if (entry.isFolder()) {
            // A folder carries no content whatever its size field says.
            if (!isSafeFolderName(entry.name))
                return refuse(why, index, "unsafe folder name \"" + entry.name + "\"");
        } else {
            if (!isSafeFileName(entry.name))
                return refuse(why, index, "unsafe file name \"" + entry.name + "\"");
            const std::int32_t size = readLe32(head + 32);
            if (size < 0)
                return refuse(why, index, "negative size");
            if (static_cast<std::uint64_t>(size) > bytes.size() - at)
                return refuse(why, index, "the content runs past the end");
            const auto from = bytes.begin() + static_cast<std::ptrdiff_t>(at);
            entry.bytes.assign(from, from + size);
            at += static_cast<std::size_t>(size);
        }
        if (index < kProgramCount && entry.isFolder())
            return refuse(why, index, "the first three entries must be files of the root");
        entries.push_back(std::move(entry));
    }
    if (entries.size() < kProgramCount)
        return refuse(why, entries.size(), "fewer than three programs");
    return entries;
}

Bytes packageBytes(const std::vector<PackageEntry>& entries) {
    std::size_t total = 0;
    for (const auto& e : entries)
        total += kHeaderSize + e.bytes.size();
    Bytes out;
    out.reserve(total);
    for (const auto& e : entries) {
        std::uint8_t head[kHeaderSize] = {};
        head[0] = static_cast<std::uint8_t>(e.kind);
        // The name and at least one zero after it: the field is zeroed above.
        std::copy_n(e.name.begin(), std::min(e.name.size(), kMaxNameBytes), head + 1);
        const auto size = static_cast<std::uint32_t>(e.isFolder() ? 0 : e.bytes.size());
        for (int i = 0; i < 4; ++i)
            head[32 + i] = static_cast<std::uint8_t>(size >> (8 * i));
        out.insert(out.end(), head, head + kHeaderSize);
        out.insert(out.end(), e.bytes.begin(), e.bytes.end());
    }
    return out;
}

} // namespace orvo::setup
