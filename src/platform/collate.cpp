// Case-insensitive alphabetical order of Latin and Cyrillic names.
#include "platform/collate.h"

#include "platform/codepage.h"

#include <cstdint>

namespace orvo::platform {

namespace {

// Sort key of one code point: lower case, with "ё" between "е" and "ж".
std::uint64_t sortKey(char32_t c) {
    // Latin and Cyrillic capitals lie 0x20 below their small letters.
    if ((c >= U'A' && c <= U'Z') || (c >= 0x0410 && c <= 0x042F))
        c += 0x20;
    else if (c == 0x0401)
        c = 0x0451;
    if (c == 0x0451)
        return 2 * std::uint64_t{0x0435} + 1;
    return 2 * std::uint64_t{c};
}

} // namespace

int compareText(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ka = sortKey(decodeUtf8(a, i));
        const auto kb = sortKey(decodeUtf8(b, j));
        if (ka != kb)
            return ka < kb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

} // namespace orvo::platform
