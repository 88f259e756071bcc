// Lookup of stored names on a case-sensitive file system.
#include "platform/path_resolver.h"
#include "platform/work_folder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace orvo::platform;
using orvo::test::readBytes;
using orvo::test::TempDir;
using orvo::test::writeBytes;

TEST(SplitStoredPath, EitherSeparatorAndDoubledOnes) {
    const std::vector<std::string> want{"DATA", "DIC", "TipSKV.SPS"};
    EXPECT_EQ(splitStoredPath("DATA\\DIC\\TipSKV.SPS"), want);
    EXPECT_EQ(splitStoredPath("DATA/DIC/TipSKV.SPS"), want);
    EXPECT_EQ(splitStoredPath("DATA//DIC\\\\TipSKV.SPS"), want);
    EXPECT_EQ(splitStoredPath("./DATA/./DIC/TipSKV.SPS/"), want);
}

TEST(PathResolver, TheTreesSpellingAndTheStoresNameTheSameFile) {
    TempDir dir;
    writeBytes(dir / "DATA/OBJ.SPS", {1, 2, 3});
    PathResolver r(dir.path());
    EXPECT_EQ(r.resolve("DATA//obj.sps"), dir / "DATA/OBJ.SPS");
    EXPECT_EQ(r.resolve("DATA\\OBJ.SPS"), dir / "DATA/OBJ.SPS");
    EXPECT_EQ(r.resolve("data\\Obj.Sps"), dir / "DATA/OBJ.SPS");
}

TEST(PathResolver, FolderCopiedWithOtherLetterCaseIsFound) {
    TempDir dir;
    writeBytes(dir / "data/00001.obj/obj.tit", {7});
    writeBytes(dir / "data/dic/tipskv.sps", {8});
    WorkFolder folder(dir.path());
    auto title = folder.read("DATA\\00001.OBJ\\OBJ.TIT");
    ASSERT_TRUE(title.ok());
    EXPECT_EQ(title.bytes, (std::vector<std::uint8_t>{7}));
    EXPECT_TRUE(folder.read("DATA/DIC/TipSKV.SPS").ok());
    // A new file in an existing folder goes into that folder, with the name as given.
    ASSERT_TRUE(folder.writeAtomic("DATA\\00001.OBJ\\RAZ.SPS", {1, 0, 0, 0}));
    EXPECT_TRUE(std::filesystem::exists(dir / "data/00001.obj/RAZ.SPS"));
    EXPECT_FALSE(std::filesystem::exists(dir / "DATA"));
}

TEST(PathResolver, SeesFilesCreatedAfterAFolderWasListed) {
    TempDir dir;
    writeBytes(dir / "DATA/a.sps", {1});
    WorkFolder folder(dir.path());
    EXPECT_FALSE(folder.read("data/B.SPS").ok()); // lists DATA
    writeBytes(dir / "DATA/b.sps", {2});          // behind the resolver's back
    EXPECT_TRUE(folder.read("data/B.SPS").ok());
    std::filesystem::remove(dir / "DATA/b.sps");
    EXPECT_EQ(folder.read("data/B.SPS").state, ReadOutcome::State::Missing);
}

TEST(PathResolver, NamesThatLeaveTheWorkingFolderAreRefused) {
    TempDir dir;
    writeBytes(dir / "secret", {1});
    std::filesystem::create_directories(dir / "w");
    WorkFolder folder(dir / "w");
    EXPECT_TRUE(folder.resolve("..\\secret").empty());
    EXPECT_EQ(folder.read("../secret").state, ReadOutcome::State::Missing);
    EXPECT_FALSE(folder.writeAtomic("DATA/../../secret", {2}));
    EXPECT_EQ(readBytes(dir / "secret"), (std::vector<std::uint8_t>{1}));
}

TEST(PathResolver, ExactSpellingWinsOverAnotherCase) {
    TempDir dir;
    writeBytes(dir / "DATA/OBJ.SPS", {1});
    writeBytes(dir / "DATA/obj.sps", {2});
    WorkFolder folder(dir.path());
    EXPECT_EQ(folder.read("DATA\\OBJ.SPS").bytes, (std::vector<std::uint8_t>{1}));
    EXPECT_EQ(folder.read("DATA\\obj.sps").bytes, (std::vector<std::uint8_t>{2}));
    // Any other spelling settles on one of them, the same every time.
    const auto first = folder.read("Data\\Obj.Sps").bytes;
    EXPECT_EQ(folder.read("dAtA/oBj.sPs").bytes, first);
    // Now DATA is listed: reads and writes of an exact spelling still meet the same file.
    EXPECT_EQ(folder.read("DATA\\obj.sps").bytes, (std::vector<std::uint8_t>{2}));
    ASSERT_TRUE(folder.writeAtomic("DATA\\obj.sps", {5}));
    EXPECT_EQ(readBytes(dir / "DATA/obj.sps"), (std::vector<std::uint8_t>{5}));
    EXPECT_EQ(readBytes(dir / "DATA/OBJ.SPS"), (std::vector<std::uint8_t>{1}));
    EXPECT_EQ(folder.read("DATA\\obj.sps").bytes, (std::vector<std::uint8_t>{5}));
}

TEST(PathResolver, NamesThatNameNothingAreRefused) {
    TempDir dir;
    writeBytes(dir / "keep", {1});
    WorkFolder folder(dir.path());
    for (const char* nothing : {"", ".", "\\", "./", "//"}) {
        EXPECT_TRUE(folder.resolve(nothing).empty()) << nothing;
        EXPECT_FALSE(folder.writeAtomic(nothing, {1})) << nothing;
        EXPECT_TRUE(folder.removeFolder(nothing)) << nothing; // nothing to remove
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "keep"));
    // An empty root is the current folder, not the file-system root.
    EXPECT_EQ(PathResolver("").literal("DATA\\OBJ.SPS"), std::filesystem::path("./DATA/OBJ.SPS"));
}
