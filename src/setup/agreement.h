// The usage agreement the installer shows before anything is installed.
#pragma once
#include <array>
#include <string_view>

namespace orvo::setup {

inline constexpr int kAgreementLines = 54;

// The 54 lines, in order.
const std::array<std::string_view, kAgreementLines>& agreementLines();
// Whether line `number` (counted from 1) is shown in red: line 3 and the last four.
bool isRedAgreementLine(int number);

} // namespace orvo::setup
