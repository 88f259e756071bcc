// The package format: round trip, the hostile packages the reader refuses, and the builder's
// order, limits, determinism and listing.
#include "scratch_tree.h"
#include "setup/package.h"
#include "setup/package_builder.h"
#include "support/golden.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace orvo;
using namespace orvo::setup;
using orvo::test::TempDir;
namespace fs = std::filesystem;

namespace {

// A raw header, so hostile packages can say what a valid writer never would.
Bytes header(char kind, std::string_view name, std::int32_t size) {
    Bytes h(kHeaderSize, 0);
    h[0] = static_cast<std::uint8_t>(kind);
    std::memcpy(h.data() + 1, name.data(), std::min(name.size(), kNameField));
    const auto u = static_cast<std::uint32_t>(size);
    for (int i = 0; i < 4; ++i)
        h[32 + i] = static_cast<std::uint8_t>(u >> (8 * i));
    return h;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes content(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

// The three programs every package starts with.
Bytes programs() {
    return header('F', "Orvo2", 1) + content("a") + header('F', "O2_Check", 1) + content("b") +
           header('F', "orvo", 1) + content("c");
}

TEST(PackageFormat, RoundTripsAndKeepsFolderSizesOutOfTheStream) {
    const auto entries = test::smallPackage();
    const Bytes bytes = packageBytes(entries);
    auto parsed = parsePackage(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, entries);
    EXPECT_EQ(packageBytes(*parsed), bytes);

    // A folder's size field is not a count of bytes to skip: the file after it is still read.
    auto odd =
        parsePackage(programs() + header('D', "DATA", 5) + header('F', "x", 2) + content("xy"));
    ASSERT_TRUE(odd);
    ASSERT_EQ(odd->size(), 5u);
    EXPECT_EQ((*odd)[4], test::file("x", "xy"));
}

TEST(PackageFormat, AcceptsNamesUpToThirtyBytesAndEitherSeparator) {
    const std::string thirty(30, 'n');
    auto parsed =
        parsePackage(programs() + header('D', "DATA/DIC\\SUB", 0) + header('F', thirty, 0));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->back().name, thirty);
}

struct Hostile {
    const char* what;
    Bytes bytes;
};

class HostilePackage : public ::testing::TestWithParam<Hostile> {};

// Every one of these is refused whole with the reading message; none crashes the reader.
const Hostile kHostile[] = {
    {"absolute folder", programs() + header('D', "/etc", 0)},
    {"absolute folder, backslash", programs() + header('D', "\\DATA", 0)},
    {"drive letter", programs() + header('D', "C:\\DATA", 0)},
    {"drive letter in a file", programs() + header('F', "C:x", 0)},
    {"dot-dot folder", programs() + header('D', "DATA\\..\\..", 0)},
    {"dot-dot file", programs() + header('F', "..", 0)},
    {"empty folder name", programs() + header('D', "", 0)},
    {"empty part", programs() + header('D', "DATA\\\\DIC", 0)},
    {"empty file name", programs() + header('F', "", 0)},
    {"separator in a file name", programs() + header('F', "DATA/x", 0)},
    {"backslash in a file name", programs() + header('F', "DATA\\x", 0)},
    {"control character", programs() + header('F', "a\nb", 0)},
    {"control character in a folder", programs() + header('D', "DATA\x01", 0)},
    {"negative size", programs() + header('F', "x", -1)},
    {"size past the end", programs() + header('F', "x", 10) + content("short")},
    {"largest size", programs() + header('F', "x", 0x7fffffff)},
    {"unknown kind", programs() + header('X', "x", 0)},
    {"lower-case kind", programs() + header('f', "x", 0)},
    {"name of 31 bytes without a zero", programs() + header('F', std::string(31, 'n'), 0)},
    {"cut header", programs() + Bytes(20, 'F')},
    {"folder first", header('D', "DATA", 0) + programs()},
    {"folder among the programs",
     header('F', "Orvo2", 0) + header('D', "DATA", 0) + header('F', "a", 0) + header('F', "b", 0)},
    {"two programs only", header('F', "Orvo2", 0) + header('F', "O2_Check", 0)},
    {"empty package", {}},
};

TEST_P(HostilePackage, IsRefusedWhole) {
    std::string why;
    auto parsed = parsePackage(GetParam().bytes, &why);
    ASSERT_FALSE(parsed) << GetParam().what;
    EXPECT_EQ(parsed.error().text, "Ошибка чтения диска");
    EXPECT_EQ(parsed.error().caption, "Чтение диска");
    EXPECT_FALSE(why.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, HostilePackage, ::testing::ValuesIn(kHostile));

// A staged folder as `orvo init` leaves one, in miniature, with names out of order on disk.
struct Staged {
    TempDir dir;
    std::vector<fs::path> programs;
    Staged() {
        for (const char* name : {"Orvo2", "O2_Check", "orvo"}) {
            test::writeBytes(dir / ("bin/" + std::string(name)), content(name));
            programs.push_back(dir / ("bin/" + std::string(name)));
        }
        for (const char* file :
             {"w/DATA/status.sav", "w/DATA/OBJ.SPS", "w/DATA/razrez.prm", "w/DATA/DIC/shtrix.sps",
              "w/DATA/DIC/TipSKV.SPS", "w/DATA/00002.OBJ/OBJ.TIT", "w/DATA/00001.OBJ/SKV.SPS",
              "w/DATA/00001.OBJ/000001.DAT", "w/DATA/00001.OBJ/sub/deep.x"})
            test::writeBytes(dir / file, content(file));
        fs::create_directories(dir / "w/DATA/EMPTY");
    }
};

TEST(PackageBuilder, ListsProgramsThenFoldersDepthFirstInNameOrder) {
    Staged staged;
    auto entries = collectPackage(staged.programs, staged.dir / "w");
    ASSERT_TRUE(entries) << entries.error().text;
    EXPECT_TRUE(test::matchesGolden(ORVO_GOLDEN_DIR "/setup-pack-list", listPackage(*entries)));
    // The DATA folder itself names the same package as the working folder holding it.
    auto direct = collectPackage(staged.programs, staged.dir / "w/DATA/");
    ASSERT_TRUE(direct);
    EXPECT_EQ(packageBytes(*direct), packageBytes(*entries));
    // A second build of the same inputs gives the same bytes, and the reader takes them.
    auto again = collectPackage(staged.programs, staged.dir / "w");
    ASSERT_TRUE(again);
    EXPECT_EQ(packageBytes(*again), packageBytes(*entries));
    EXPECT_TRUE(parsePackage(packageBytes(*entries)));
}

TEST(PackageBuilder, RefusesWhatThePackageCannotHold) {
    struct Case {
        const char* what;
        const char* file; // made under w/DATA
        std::uintmax_t size;
    };
    const Case cases[] = {
        {"file name of 31 bytes", "abcdefghijklmnopqrstuvwxyz01234", 1},
        {"folder path of 31 bytes", "abcdefghijklmnopqrstuvwxyz/f", 1},
        {"file over 2 GiB", "big.bin", std::uintmax_t{0x80000000}},
    };
    for (const auto& c : cases) {
        Staged staged;
        const fs::path f = staged.dir / "w/DATA" / c.file;
        test::writeBytes(f, {});
        fs::resize_file(f, c.size); // sparse: no disk space is taken
        auto entries = collectPackage(staged.programs, staged.dir / "w");
        EXPECT_FALSE(entries) << c.what;
    }
    Staged staged;
    EXPECT_FALSE(collectPackage({staged.programs[0], staged.programs[1]}, staged.dir / "w"));
    EXPECT_FALSE(collectPackage(staged.programs, staged.dir / "missing"));
}

} // namespace
