// File operations of the working folder: partial reads, atomic replacement under faults.
#include "platform/system_paths.h"
#include "platform/work_folder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace orvo::platform;
using orvo::test::readBytes;
using orvo::test::TempDir;
using orvo::test::writeBytes;

namespace {
std::vector<std::string> namesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
} // namespace

TEST(WorkFolder, ReadsAPrefixOrTheWholeFile) {
    TempDir dir;
    writeBytes(dir / "f.bin", {1, 2, 3, 4, 5});
    WorkFolder folder(dir.path());
    auto r = folder.read("f.bin", 2);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.bytes, (Bytes{1, 2}));
    EXPECT_TRUE(r.reachedLimit);
    r = folder.read("f.bin", 5);
    EXPECT_EQ(r.bytes, (Bytes{1, 2, 3, 4, 5}));
    r = folder.read("f.bin");
    EXPECT_EQ(r.bytes.size(), 5u);
    EXPECT_FALSE(r.reachedLimit);
    // Bigger than the first chunk the reader takes.
    Bytes big(300000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>(i * 7);
    writeBytes(dir / "big.bin", big);
    EXPECT_EQ(folder.read("big.bin").bytes, big);
    r = folder.read("big.bin", 200000);
    EXPECT_EQ(r.bytes, Bytes(big.begin(), big.begin() + 200000));
    EXPECT_TRUE(r.reachedLimit);
    EXPECT_EQ(folder.read("missing.bin").state, ReadOutcome::State::Missing);
    std::filesystem::create_directories(dir / "sub");
    EXPECT_EQ(folder.read("sub").state, ReadOutcome::State::Failed);
    EXPECT_EQ(folder.read("f.bin/x").state, ReadOutcome::State::Missing);
}

TEST(WorkFolder, AtomicWriteReplacesWholeAndLeavesNoTemporaryFile) {
    TempDir dir;
    WorkFolder folder(dir.path());
    ASSERT_TRUE(folder.writeAtomic("a.sps", {1, 2, 3}));
    ASSERT_TRUE(folder.writeAtomic("A.SPS", {9}));
    EXPECT_EQ(readBytes(dir / "a.sps"), (Bytes{9}));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.sps"}));
    ASSERT_TRUE(folder.writeAtomic("empty.sps", {}));
    EXPECT_EQ(std::filesystem::file_size(dir / "empty.sps"), 0u);
}

TEST(WorkFolder, AFailedWriteKeepsTheOldContent) {
    for (const char* step : {"write", "rename"}) {
        TempDir dir;
        writeBytes(dir / "list.sps", {1, 2, 3, 4});
        WorkFolder folder(dir.path());
        folder.setFaultHook([&](std::string_view s) { return s == step; });
        const auto st = folder.writeAtomic("list.sps", {5, 6});
        ASSERT_FALSE(st);
        EXPECT_EQ(st.error().text, "Ошибка записи файла \"list.sps\"");
        EXPECT_EQ(readBytes(dir / "list.sps"), (Bytes{1, 2, 3, 4})) << step;
        EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"list.sps"})) << step;
    }
}

TEST(WorkFolder, WriteIntoAMissingFolderFailsCleanly) {
    TempDir dir;
    WorkFolder folder(dir.path());
    EXPECT_FALSE(folder.writeAtomic("NOPE\\x.sps", {1}));
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST(WorkFolder, RemovingFilesAndFolders) {
    TempDir dir;
    writeBytes(dir / "DATA/00003.OBJ/OBJ.TIT", {1});
    writeBytes(dir / "DATA/00003.OBJ/RAZ.SPS", {});
    WorkFolder folder(dir.path());
    EXPECT_TRUE(folder.removeFile("WORK.SLO")); // missing is fine
    EXPECT_EQ(folder.listFolder("data\\00003.obj"),
              (std::vector<std::string>{"OBJ.TIT", "RAZ.SPS"}));
    ASSERT_TRUE(folder.removeFolder("DATA\\00003.OBJ"));
    EXPECT_FALSE(std::filesystem::exists(dir / "DATA/00003.OBJ"));
    EXPECT_FALSE(folder.isFolder("DATA\\00003.OBJ"));
    ASSERT_TRUE(folder.makeFolder("DATA\\00003.OBJ"));
    EXPECT_TRUE(folder.isFolder("data/00003.obj"));
}

TEST(SystemPaths, FreeSpaceAndTemporaryFolder) {
    const auto tmp = tempFolder();
    EXPECT_TRUE(std::filesystem::is_directory(tmp));
    const auto space = freeDiskSpace(tmp);
    ASSERT_TRUE(space.has_value());
    EXPECT_GT(*space, 0u);
    EXPECT_FALSE(freeDiskSpace("/no/such/folder/anywhere").has_value());
}
