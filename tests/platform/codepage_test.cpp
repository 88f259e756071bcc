// Code-page conversion checked byte by byte against the C library's iconv.
#include "platform/codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

using namespace orvo::platform;

namespace {

// Independent reference: glibc's converter. Returns nothing when it rejects the input.
std::optional<std::string> iconvConvert(const char* from, const char* to, const std::string& in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string src = in;
    std::string out(in.size() * 4 + 4, '\0');
    char* inp = src.data();
    size_t inLeft = src.size();
    char* outp = out.data();
    size_t outLeft = out.size();
    const size_t rc = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

std::string byte(int b) {
    return std::string(1, static_cast<char>(b));
}

struct PageCase {
    CodePage cp;
    const char* iconvName;
};

class EveryByte : public ::testing::TestWithParam<PageCase> {};

TEST_P(EveryByte, DecodesLikeIconvAndRoundTrips) {
    const auto [cp, name] = GetParam();
    int compared = 0;
    for (int b = 0; b < 256; ++b) {
        const std::string utf8 = toUtf8(byte(b), cp);
        EXPECT_EQ(fromUtf8(utf8, cp, '#'), byte(b)) << "byte " << b;
        if (auto ref = iconvConvert(name, "UTF-8", byte(b))) {
            EXPECT_EQ(utf8, *ref) << "byte " << b;
            ++compared;
        }
    }
    // Only 0x98 of Windows-1251 is unassigned and unknown to iconv.
    EXPECT_GE(compared, 255);
}

INSTANTIATE_TEST_SUITE_P(Pages, EveryByte,
                         ::testing::Values(PageCase{CodePage::Cp1251, "CP1251"},
                                           PageCase{CodePage::Cp866, "CP866"}));

TEST(Codepage, KnownLettersSitWhereTheyShould) {
    EXPECT_EQ(toUtf8("\xC0\xFF\xA8\xB8\xB9", CodePage::Cp1251), "АяЁё№");
    EXPECT_EQ(toUtf8("\x80\xEF\xF0\xF1\xFC", CodePage::Cp866), "АяЁё№");
    EXPECT_EQ(utf8ToCp1251("Скважина 1"), "\xD1\xEA\xE2\xE0\xE6\xE8\xED\xE0 1");
    EXPECT_EQ(toUtf8("\x98", CodePage::Cp1251), "\xC2\x98");
}

TEST(Codepage, WholeTextsMatchIconvBothWays) {
    const std::string text = "Инженерно-геологический разрез № 3, ИГЭ-2а; ёлка 10 м";
    for (auto [cp, name] :
         {PageCase{CodePage::Cp1251, "CP1251"}, PageCase{CodePage::Cp866, "CP866"}}) {
        const auto ref = iconvConvert("UTF-8", name, text);
        ASSERT_TRUE(ref) << name;
        EXPECT_EQ(fromUtf8(text, cp), *ref) << name;
        EXPECT_EQ(toUtf8(*ref, cp), text) << name;
    }
    // 866 has no guillemets, 1251 has.
    EXPECT_EQ(toUtf8(fromUtf8("«а»", CodePage::Cp866), CodePage::Cp866), "?а?");
    EXPECT_EQ(toUtf8(fromUtf8("«а»", CodePage::Cp1251), CodePage::Cp1251), "«а»");
}

TEST(Codepage, UnmappableAndMalformedInputBecomeTheReplacement) {
    EXPECT_EQ(utf8ToCp1251("a\xE2\x82\xAC"), "a\x88"); // euro exists in 1251
    EXPECT_EQ(utf8ToCp1251("漢字"), "??");             // CJK does not
    EXPECT_EQ(utf8ToCp1251("x\xFFy"), "x?y");          // invalid lead byte
    EXPECT_EQ(utf8ToCp1251("x\xD0"), "x?");            // cut-off sequence
    EXPECT_EQ(utf8ToCp1251("\xC0\xAF"), "?");          // overlong slash
    EXPECT_EQ(utf8ToCp1251("\xED\xA0\x80"), "?");      // surrogate
    EXPECT_EQ(fromUtf8("😀", CodePage::Cp866, '_'), "_");
}

TEST(Codepage, Windows1251ToOemForTextExport) {
    const std::string cp1251 = utf8ToCp1251("Глубина подошвы, м");
    const auto ref = iconvConvert("CP1251", "CP866", cp1251);
    ASSERT_TRUE(ref);
    EXPECT_EQ(cp1251ToCp866(cp1251), *ref);
}

} // namespace
