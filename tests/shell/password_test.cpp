// PASSWORD.SAV layout and the login rules.
#include "platform/codepage.h"
#include "shell/password.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <random>

using namespace orvo;
using namespace orvo::shell;
using orvo::test::readBytes;
using orvo::test::TempDir;
using orvo::test::writeBytes;

namespace {

RandomSource seeded(unsigned seed) {
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine] { return static_cast<std::uint32_t>((*engine)()); };
}

// A file made by hand: stride k, the password, the flag byte, filler 50.
platform::Bytes handMade(int k, const std::string& cp1251, std::uint8_t flag) {
    platform::Bytes b(1024, 50);
    b[0] = static_cast<std::uint8_t>(k + 11);
    std::string padded = cp1251;
    padded.resize(20, ' ');
    for (int i = 0; i < 20; ++i)
        b[static_cast<std::size_t>(k * (i + 1))] =
            static_cast<std::uint8_t>(padded[static_cast<std::size_t>(i)] - 32);
    b[static_cast<std::size_t>(21 * k)] = flag;
    return b;
}

class PasswordTest : public ::testing::Test {
protected:
    PasswordTest() : folder(dir.path()) {}
    StoredPassword stored() {
        auto p = ReadPassword(folder);
        EXPECT_TRUE(p);
        return p ? *p : StoredPassword{};
    }
    TempDir dir;
    platform::WorkFolder folder;
    platform::RecordingMessageSink sink;
};

} // namespace

TEST_F(PasswordTest, WithoutAFileOnlyTheEmptyPasswordLogsIn) {
    const auto p = stored();
    EXPECT_FALSE(p.fromFile);
    EXPECT_EQ(prefilledPassword(p), "");
    EXPECT_TRUE(Login(folder, p, "", true, sink));
    EXPECT_TRUE(Login(folder, p, "   ", false, sink));
    EXPECT_FALSE(std::filesystem::exists(dir / "PASSWORD.SAV")); // no flag to store
    EXPECT_TRUE(sink.empty());
    EXPECT_FALSE(Login(folder, p, "x", false, sink));
    ASSERT_EQ(sink.entries().size(), 1u);
    EXPECT_EQ(sink.entries()[0].caption, "EXIT");
    EXPECT_EQ(sink.entries()[0].text,
              "Введенный пароль НЕ ВЕРНЫЙ,\rДальнейшая работа невозможна !");
    EXPECT_EQ(sink.entries()[0].icon, platform::Icon::Error);
}

TEST_F(PasswordTest, HandMadeFileDecodesAndComparesByTwentyCharacters) {
    writeBytes(dir / "PASSWORD.SAV", handMade(7, platform::utf8ToCp1251("Геолог2026"), 3));
    const auto p = stored();
    EXPECT_TRUE(p.remember);
    EXPECT_EQ(p.stride, 7);
    EXPECT_EQ(prefilledPassword(p), "Геолог2026");
    EXPECT_TRUE(passwordMatches(p, "Геолог2026"));
    EXPECT_TRUE(passwordMatches(p, "Геолог2026   ")); // trailing spaces do not count
    EXPECT_FALSE(passwordMatches(p, "геолог2026"));   // case matters
    EXPECT_FALSE(passwordMatches(p, " Геолог2026"));

    writeBytes(dir / "PASSWORD.SAV", handMade(41, "ABCDEFGHIJKLMNOPQRST", 0));
    const auto longOne = stored();
    EXPECT_FALSE(longOne.remember);
    EXPECT_EQ(prefilledPassword(longOne), ""); // not remembered: not prefilled
    EXPECT_TRUE(passwordMatches(longOne, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    EXPECT_FALSE(passwordMatches(longOne, "ABCDEFGHIJKLMNOPQRS"));
}

TEST_F(PasswordTest, RememberFlagFlipsByLoweringItsByte) {
    writeBytes(dir / "PASSWORD.SAV", handMade(2, "pw", 0)); // even: not remembered
    auto before = readBytes(dir / "PASSWORD.SAV");
    ASSERT_TRUE(Login(folder, stored(), "pw", true, sink));
    auto after = readBytes(dir / "PASSWORD.SAV");
    EXPECT_EQ(after[42], 255); // 0 - 1 wraps to an odd value
    after[42] = before[42];
    EXPECT_EQ(after, before); // nothing else changed
    EXPECT_EQ(prefilledPassword(stored()), "pw");

    // Same state as the box: the file is left alone.
    const auto stamp = std::filesystem::last_write_time(dir / "PASSWORD.SAV");
    ASSERT_TRUE(Login(folder, stored(), "pw", true, sink));
    EXPECT_EQ(std::filesystem::last_write_time(dir / "PASSWORD.SAV"), stamp);
    EXPECT_EQ(readBytes(dir / "PASSWORD.SAV")[42], 255);

    ASSERT_TRUE(Login(folder, stored(), "pw", false, sink));
    EXPECT_EQ(readBytes(dir / "PASSWORD.SAV")[42], 254);
    EXPECT_FALSE(stored().remember);
    // A wrong password changes nothing.
    EXPECT_FALSE(Login(folder, stored(), "nope", true, sink));
    EXPECT_EQ(readBytes(dir / "PASSWORD.SAV")[42], 254);
}

TEST_F(PasswordTest, NewFilesHideThePasswordAtAStrideAmongFiller) {
    std::set<int> strides;
    for (unsigned seed = 0; seed < 300; ++seed) {
        const auto bytes = encodePasswordFile("Новый пароль", seeded(seed));
        ASSERT_EQ(bytes.size(), 1024u);
        const int k = bytes[0] - 11;
        ASSERT_GE(k, 2);
        ASSERT_LE(k, 41);
        strides.insert(k);
        for (std::size_t i = 1; i < bytes.size(); ++i) {
            const bool isChar =
                i % static_cast<std::size_t>(k) == 0 && i / static_cast<std::size_t>(k) <= 20;
            if (!isChar) {
                ASSERT_LT(bytes[i], 100) << "filler at " << i;
            }
        }
        const auto decoded = decodePasswordFile(bytes);
        ASSERT_TRUE(decoded);
        EXPECT_TRUE(passwordMatches(*decoded, "Новый пароль"));
        EXPECT_EQ(decoded->text, platform::utf8ToCp1251("Новый пароль        "));
    }
    EXPECT_GT(strides.size(), 30u); // the stride really varies
}

TEST_F(PasswordTest, ChangingThePassword) {
    const auto p = stored();
    EXPECT_FALSE(MayChangePassword(p, "wrong", sink));
    ASSERT_EQ(sink.entries().size(), 1u);
    EXPECT_EQ(sink.entries()[0].caption, "Смена пароля");
    EXPECT_EQ(sink.entries()[0].text, "Введенный пароль НЕ ВЕРНЫЙ,\rСменить пароль невозможно!");
    ASSERT_TRUE(MayChangePassword(p, "", sink));
    ASSERT_TRUE(ChangePassword(folder, "бур-01", seeded(5)));
    const auto changed = stored();
    EXPECT_TRUE(changed.fromFile);
    EXPECT_TRUE(passwordMatches(changed, "бур-01"));
    EXPECT_FALSE(passwordMatches(changed, ""));
}

TEST_F(PasswordTest, DamagedFilesAreRefusedWithAMessage) {
    for (const auto& bad : {platform::Bytes(1023, 20), platform::Bytes(1025, 20),
                            handMade(2, "a", 0), handMade(41, "a", 0)}) {
        auto b = bad;
        if (b.size() == 1024)
            b[0] = b[0] == 13 ? 12 : 53; // stride 1 or 42
        writeBytes(dir / "PASSWORD.SAV", b);
        auto p = ReadPassword(folder);
        ASSERT_FALSE(p);
        EXPECT_EQ(p.error().caption, "EXIT");
        EXPECT_NE(p.error().text.find("PASSWORD.SAV"), std::string::npos);
    }
}

TEST_F(PasswordTest, CancelIsARefusal) {
    EXPECT_FALSE(CancelLogin(sink));
    ASSERT_EQ(sink.entries().size(), 1u);
    EXPECT_EQ(sink.entries()[0].text,
              "Отказ в подтверждении пароля,\rДальнейшая работа невозможна !");
    EXPECT_EQ(sink.entries()[0].caption, "EXIT");
}
