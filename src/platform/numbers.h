// Numbers typed into dialogs and shown in them, read and written the same way in every locale.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace orvo::platform {

// The longest decimal number at the start of the text, after leading blanks: "2.5" is 2.5,
// "2,5" is 2 (a comma ends the number), "abc" and "" are 0. An exponent is accepted.
double parseDecimal(std::string_view text);
// A whole number at the start of the text after leading blanks, with an optional sign;
// 0 when there is none. Values beyond the 64-bit range are clamped.
std::int64_t parseWholeNumber(std::string_view text);
// A parsed number as a stored 32-bit float; values beyond its range are clamped, not undefined.
float toFloat32(double value);
// Fixed notation with the given number of decimals and a point: formatFixed(0.25, 1) is "0.2"
// as printf("%.1f") gives it in the C locale.
std::string formatFixed(double value, int decimals);

} // namespace orvo::platform

namespace orvo::platform {

// Millimetres typed with a decimal point, stored in tenths and truncated: "0.35" is 3,
// "2,5" is 20. Negative values become 0; huge ones are clamped to the int32 range.
std::int32_t parseTenths(std::string_view text);
// Tenths shown in millimetres with one decimal: 3 is "0.3".
std::string formatTenths(std::int32_t tenths);

} // namespace orvo::platform
