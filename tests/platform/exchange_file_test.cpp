// Exchange files: the checks every importer relies on, and writing a picked file whole.
#include "platform/exchange_file.h"
#include "platform/messages.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::platform;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

namespace {

// A small format: the 14-byte magic, a 4-byte record, at most 10 bytes of item.
constexpr ExchangeFormat kFormat{"ORVO-II Sample", 4, 14 + 4 + 10};

Bytes file(std::string_view magic, std::size_t rest) {
    Bytes b(magic.begin(), magic.end());
    for (std::size_t i = 0; i < rest; ++i)
        b.push_back(static_cast<std::uint8_t>(i + 1));
    return b;
}

struct Case {
    const char* what;
    Bytes bytes;
    bool accepted;
};

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"empty", {}, false},
        {"magic only", file("ORVO-II Sample", 0), false},
        {"one byte short of the record", file("ORVO-II Sample", 3), false},
        {"record and no item", file("ORVO-II Sample", 4), true},
        {"the largest item", file("ORVO-II Sample", 14), true},
        {"one byte too many", file("ORVO-II Sample", 15), false},
        {"another kind's magic", file("ORVO-II TipSYM", 8), false},
        {"magic in other letter case", file("ORVO-II SAMPLE", 8), false},
        {"magic cut short", file("ORVO-II Sampl", 9), false},
    };
    return all;
}

} // namespace

TEST(ExchangeFile, SizeAndMagicAreCheckedInMemoryAndOnDisk) {
    TempDir dir;
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.what);
        const auto checked = checkExchange(c.bytes, kFormat);
        EXPECT_EQ(checked.ok(), c.accepted);
        const auto path = dir / "case.OXX";
        writeBytes(path, c.bytes);
        const auto read = ReadExchangeFile(path, kFormat);
        ASSERT_EQ(read.ok(), c.accepted);
        if (read) {
            EXPECT_EQ(*read, c.bytes);
        } else {
            EXPECT_EQ(read.error().text, std::string(kBadFormatText));
            EXPECT_EQ(read.error().caption, std::string("ОШИБКА"));
            EXPECT_EQ(checked.error().text, read.error().text);
        }
    }
}

TEST(ExchangeFile, AFileFarTooLongIsRefusedWithoutReadingItAll) {
    TempDir dir;
    // A megabyte of what looks like the right file: refused as a whole, not cut to fit.
    writeBytes(dir / "huge.OXX", file("ORVO-II Sample", 1 << 20));
    const auto read = ReadExchangeFile(dir / "huge.OXX", kFormat);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().text, std::string(kBadFormatText));
}

TEST(ExchangeFile, UnreadableFilesNameThePath) {
    TempDir dir;
    std::filesystem::create_directories(dir / "folder.OXX");
    for (const auto& path : {dir / "missing.OXX", dir / "folder.OXX"}) {
        SCOPED_TRACE(path.string());
        const auto read = ReadExchangeFile(path, kFormat);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.error().text, "Ошибка открытия (" + path.string() + ")");
        EXPECT_EQ(read.error().caption, std::string("ОШИБКА"));
    }
}

TEST(ExchangeFile, WriteRoundTripsAndReplacesWhole) {
    TempDir dir;
    // The name is taken as given: no case folding, and a backslash is part of the name.
    const auto path = dir / "Pick\\ed.oxx";
    writeBytes(dir / "PICK\\ED.OXX", {7});
    Bytes out = startExchange(kFormat);
    EXPECT_EQ(out, file("ORVO-II Sample", 0));
    out.insert(out.end(), {1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(WriteExchangeFile(path, file("ORVO-II Sample", 14)));
    ASSERT_TRUE(WriteExchangeFile(path, out)); // an older, longer file is replaced, not patched
    EXPECT_EQ(readBytes(path), out);
    EXPECT_EQ(*ReadExchangeFile(path, kFormat), out);
    EXPECT_EQ(readBytes(dir / "PICK\\ED.OXX"), Bytes{7});
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"PICK\\ED.OXX", "Pick\\ed.oxx"}));
}

TEST(ExchangeFile, AFileThatCannotBeWrittenIsReportedAndNothingIsLeft) {
    TempDir dir;
    const auto path = dir / "no such folder" / "out.OXX";
    const auto st = WriteExchangeFile(path, file("ORVO-II Sample", 4));
    ASSERT_FALSE(st);
    EXPECT_EQ(st.error().text, "Ошибка открытия (" + path.string() + ")");
    EXPECT_EQ(st.error().caption, std::string("ОШИБКА"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}
