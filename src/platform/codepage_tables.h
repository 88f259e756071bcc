// Unicode code points of the upper halves of the two single-byte code pages the data uses.
#pragma once
#include <array>

namespace orvo::platform {

extern const std::array<char16_t, 128> kCp1251High;
extern const std::array<char16_t, 128> kCp866High;

} // namespace orvo::platform
