// Table-driven conversion between UTF-8 and Windows-1251 / 866.
#include "platform/codepage.h"

#include "platform/codepage_tables.h"

#include <unordered_map>

namespace orvo::platform {
namespace {

const std::array<char16_t, 128>& highHalf(CodePage cp) {
    return cp == CodePage::Cp1251 ? kCp1251High : kCp866High;
}

using ReverseMap = std::unordered_map<char32_t, char>;

ReverseMap buildReverse(const std::array<char16_t, 128>& high) {
    ReverseMap map;
    for (std::size_t i = 0; i < high.size(); ++i)
        map.emplace(high[i], static_cast<char>(0x80 + i));
    return map;
}

const ReverseMap& reverse(CodePage cp) {
    static const ReverseMap k1251 = buildReverse(kCp1251High);
    static const ReverseMap k866 = buildReverse(kCp866High);
    return cp == CodePage::Cp1251 ? k1251 : k866;
}

} // namespace

char32_t decodeUtf8(std::string_view s, std::size_t& pos) {
    constexpr char32_t kBad = 0xFFFD;
    const auto b0 = static_cast<unsigned char>(s[pos++]);
    if (b0 < 0x80)
        return b0;
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
        return kBad;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= s.size())
            return kBad;
        const auto b = static_cast<unsigned char>(s[pos]);
        if ((b & 0xC0) != 0x80)
            return kBad;
        cp = (cp << 6) | (b & 0x3F);
        ++pos;
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return kBad;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string toUtf8(std::string_view bytes, CodePage cp) {
    const auto& high = highHalf(cp);
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        appendUtf8(out, b < 0x80 ? char32_t{b} : char32_t{high[b - 0x80]});
    }
    return out;
}

std::string fromUtf8(std::string_view utf8, CodePage cp, char replacement) {
    const auto& map = reverse(cp);
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = decodeUtf8(utf8, pos);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        const auto it = map.find(c);
        out += it == map.end() ? replacement : it->second;
    }
    return out;
}

std::string cp1251ToCp866(std::string_view bytes) {
    return fromUtf8(toUtf8(bytes, CodePage::Cp1251), CodePage::Cp866);
}

} // namespace orvo::platform
