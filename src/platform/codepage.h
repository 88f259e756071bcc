// Conversion between UTF-8 and the single-byte code pages of stored and exported texts.
#pragma once
#include <string>
#include <string_view>

namespace orvo::platform {

enum class CodePage { Cp1251, Cp866 };

// Every byte has a code point, so decoding never fails.
std::string toUtf8(std::string_view bytes, CodePage cp);
// Characters the code page lacks, and malformed UTF-8, become `replacement`.
std::string fromUtf8(std::string_view utf8, CodePage cp, char replacement = '?');

inline std::string cp1251ToUtf8(std::string_view bytes) {
    return toUtf8(bytes, CodePage::Cp1251);
}
inline std::string utf8ToCp1251(std::string_view utf8) {
    return fromUtf8(utf8, CodePage::Cp1251);
}
// Windows-1251 to the OEM code page used by the plain-text borehole export.
std::string cp1251ToCp866(std::string_view bytes);

// Decodes one UTF-8 sequence at `pos`, advancing it; returns U+FFFD for malformed input.
char32_t decodeUtf8(std::string_view s, std::size_t& pos);
void appendUtf8(std::string& out, char32_t cp);

} // namespace orvo::platform
