// The package file Orvo2.cab: a run of entries, each a 36-byte header and, for a file, its bytes.
#pragma once
#include "platform/result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::setup {

using Bytes = std::vector<std::uint8_t>;

// Header: 1 byte of kind, 31 bytes of name ending in a zero, an int32 size (little-endian).
inline constexpr std::size_t kHeaderSize = 36;
inline constexpr std::size_t kNameField = 31;
// The longest name that leaves room for its terminating zero.
inline constexpr std::size_t kMaxNameBytes = kNameField - 1;
// The programs are the first entries; a partial installation writes exactly these.
inline constexpr std::size_t kProgramCount = 3;

struct PackageEntry {
    char kind = 'F'; // 'D' a folder, relative to the root; 'F' a file in the current folder
    std::string name;
    Bytes bytes; // a file's content; always empty for a folder
    bool isFolder() const { return kind == 'D'; }
    bool operator==(const PackageEntry&) const = default;
};

// Whether a folder name stays inside the root: parts split at either separator, none empty,
// ".", ".." or holding a colon (a drive letter), no control characters.
bool isSafeFolderName(std::string_view name);
// Whether a file name names one file in the current folder: no separator, colon or control
// character, not empty, "." or "..".
bool isSafeFileName(std::string_view name);

// The whole package is checked before anything is used: headers, kinds, sizes, every name, and
// that the first three entries are files of the root. Any fault refuses it whole, with
// "Ошибка чтения диска"; `why` (when given) gets the fault in words, for the package tool.
Result<std::vector<PackageEntry>> parsePackage(const Bytes& bytes, std::string* why = nullptr);
// The package bytes of the entries (a folder's size field is zero). The entries must be valid.
Bytes packageBytes(const std::vector<PackageEntry>& entries);

// The message for a package that cannot be read completely or is refused.
Error readFailedError();

} // namespace orvo::setup
