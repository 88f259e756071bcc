// Locale-independent parsing and formatting of numbers with <charconv>.
#include "platform/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace orvo::platform {

namespace {
std::string_view skipBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}
} // namespace

double parseDecimal(std::string_view text) {
    std::string_view s = skipBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    // from_chars takes no sign of its own here, so "+-5" stays 0.
    if (s.empty() || (s.front() != '.' && (s.front() < '0' || s.front() > '9')))
        return 0;
    double value = 0;
    const auto res =
        std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range)
        value = std::numeric_limits<double>::max();
    else if (res.ec != std::errc())
        return 0;
    return negative ? -value : value;
}

std::int64_t parseWholeNumber(std::string_view text) {
    std::string_view s = skipBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    std::int64_t value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            break;
        const int digit = c - '0';
        if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10)
            return negative ? std::numeric_limits<std::int64_t>::min()
                            : std::numeric_limits<std::int64_t>::max();
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

float toFloat32(double value) {
    if (std::isnan(value))
        return 0.0f;
    constexpr double kMax = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(value, -kMax, kMax));
}

std::string formatFixed(double value, int decimals) {
    if (!std::isfinite(value))
        return "0";
    char buf[400];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (res.ec != std::errc())
        return "0";
    return std::string(buf, res.ptr);
}

} // namespace orvo::platform

namespace orvo::platform {

std::int32_t parseTenths(std::string_view text) {
    const double tenths = parseDecimal(text) * 10.0;
    if (!(tenths > 0))
        return 0;
    if (tenths >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(tenths); // truncated, as the stored value always was
}

std::string formatTenths(std::int32_t tenths) {
    return formatFixed(tenths / 10.0, 1);
}

} // namespace orvo::platform
