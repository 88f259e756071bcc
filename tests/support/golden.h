// Golden-file comparison: a case folder under tests/golden holds `expected.<ext>`; a mismatch
// writes `actual.<ext>` beside it (tools/accept-golden promotes it) and names the first line that
// differs, and a pass removes an `actual.<ext>` left by an earlier failure.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

namespace orvo::test {

inline std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using ShowLine = std::string (*)(std::string_view);
inline std::string asIs(std::string_view line) {
    return std::string(line);
}

// "line N: expected "..." but got "..."", or "" when the texts are equal. `show` turns a stored
// line into readable text (a Windows-1251 DXF line into UTF-8, say).
inline std::string firstDifference(const std::string& expected, const std::string& actual,
                                   ShowLine show = asIs) {
    std::istringstream e(expected), a(actual);
    std::string le, la;
    for (int n = 1;; ++n) {
        const bool moreE = static_cast<bool>(std::getline(e, le));
        const bool moreA = static_cast<bool>(std::getline(a, la));
        if (!moreE && !moreA)
            return "";
        if (moreE != moreA || le != la)
            return "line " + std::to_string(n) + ": expected \"" + (moreE ? show(le) : "<end>") +
                   "\" but got \"" + (moreA ? show(la) : "<end>") + "\"";
    }
}

// Compares `actual` with `caseDir`/expected.<ext> byte for byte.
inline ::testing::AssertionResult matchesGolden(const std::filesystem::path& caseDir,
                                                const std::string& actual,
                                                const std::string& ext = "txt",
                                                ShowLine show = asIs) {
    const auto expectedFile = caseDir / ("expected." + ext);
    const auto actualFile = caseDir / ("actual." + ext);
    const bool haveExpected = std::filesystem::exists(expectedFile);
    const std::string expected = haveExpected ? readText(expectedFile) : std::string();
    if (haveExpected && expected == actual) {
        std::filesystem::remove(actualFile);
        return ::testing::AssertionSuccess();
    }
    std::filesystem::create_directories(caseDir);
    std::ofstream(actualFile, std::ios::binary) << actual;
    return ::testing::AssertionFailure()
           << expectedFile.string() << " differs from actual." << ext << " beside it, "
           << (haveExpected ? firstDifference(expected, actual, show) : "expected file is missing")
           << " (tools/accept-golden promotes it)";
}

} // namespace orvo::test
