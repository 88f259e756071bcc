// The order of names in lists and the tree: alphabetical, without regard to letter case.
#pragma once
#include <string_view>

namespace orvo::platform {

// Compares UTF-8 texts letter by letter without regard to case, with "ё" right after "е";
// returns <0, 0 or >0.
int compareText(std::string_view a, std::string_view b);
// Equal without regard to case (Latin and Cyrillic letters).
inline bool sameTextIgnoringCase(std::string_view a, std::string_view b) {
    return compareText(a, b) == 0;
}

} // namespace orvo::platform
