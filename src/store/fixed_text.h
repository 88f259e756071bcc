// Fixed-width Windows-1251 text field of a stored record.
#pragma once
#include "platform/codepage.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace orvo::store {

// Keeps the field's bytes verbatim, so a record read and written again is byte-identical even
// when the bytes after the terminator hold leftovers.
template <std::size_t N> struct FixedText {
    static constexpr std::size_t kWidth = N;
    std::array<char, N> raw{};

    // The text up to the terminator; a field without one is taken whole.
    std::string bytes() const {
        const auto end = std::find(raw.begin(), raw.end(), '\0');
        return std::string(raw.begin(), end);
    }
    std::string utf8() const { return platform::cp1251ToUtf8(bytes()); }
    // Without trailing spaces: how labels and messages show the text.
    std::string utf8Trimmed() const {
        std::string s = bytes();
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return platform::cp1251ToUtf8(s);
    }

    // Stores at most maxChars bytes, a terminator, and zeros up to the field's end.
    void set(std::string_view cp1251, std::size_t maxChars = N - 1) {
        raw.fill('\0');
        const std::size_t n = std::min({cp1251.size(), maxChars, N});
        std::copy_n(cp1251.begin(), n, raw.begin());
    }
    void setUtf8(std::string_view utf8, std::size_t maxChars = N - 1) {
        set(platform::utf8ToCp1251(utf8), maxChars);
    }
    // Text padded with spaces to the full width, without a terminator.
    void setPadded(std::string_view cp1251) {
        raw.fill(' ');
        std::copy_n(cp1251.begin(), std::min(cp1251.size(), N), raw.begin());
    }

    // Names are compared after padding both with spaces to the field width, byte for byte.
    bool samePadded(std::string_view cp1251) const {
        std::string a = bytes();
        std::string b(cp1251.substr(0, std::min(cp1251.size(), N)));
        a.resize(N, ' ');
        b.resize(N, ' ');
        return a == b;
    }
};

} // namespace orvo::store
