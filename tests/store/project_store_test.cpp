// Numbering, list files, the list rewrite under faults and the working-copy cycle.
#include "store/project_store.h"
#include "store/store_paths.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::store;
using orvo::test::readBytes;
using orvo::test::TempDir;
using orvo::test::writeBytes;

namespace {

class StoreTest : public ::testing::Test {
protected:
    StoreTest() : folder(dir.path()), store(folder) {
        std::filesystem::create_directories(dir / "DATA/DIC");
    }

    std::vector<std::int32_t> numbersIn(const std::string& rel) {
        return parseNumberList(readBytes(dir / rel));
    }
    std::int32_t newObject(StatusRecord& status, const std::string& name = "Объект") {
        auto n = store.CreateObject(status, name, "Полное", "Д-1");
        EXPECT_TRUE(n) << (n ? "" : n.error().text);
        return n ? *n : -1;
    }

    TempDir dir;
    platform::WorkFolder folder;
    ProjectStore store;
};

} // namespace

TEST_F(StoreTest, FirstNumbersNameTheFirstFiles) {
    auto status = store.LoadStatus(); // no status.sav yet: counters start at 1
    ASSERT_TRUE(status);
    EXPECT_EQ(status->nextObjectNumber, 1);
    EXPECT_EQ(newObject(*status), 1);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "DATA/00001.OBJ"));
    for (const char* f : {"OBJ.TIT", "RAZ.SPS", "SKV.SPS"})
        EXPECT_TRUE(std::filesystem::exists(dir / "DATA/00001.OBJ" / f)) << f;
    EXPECT_EQ(std::filesystem::file_size(dir / "DATA/00001.OBJ/RAZ.SPS"), 0u);

    auto section = store.TakeSectionNumber(*status);
    auto borehole = store.TakeBoreholeNumber(*status);
    ASSERT_TRUE(section && borehole);
    EXPECT_EQ(paths::sectionFile(1, *section, "DAT"), "DATA\\00001.OBJ\\000001.DAT");
    EXPECT_EQ(paths::boreholeFile(1, *borehole), "DATA\\00001.OBJ\\00000001.SKV");

    // The counters on disk are always current.
    auto onDisk = store.LoadStatus();
    ASSERT_TRUE(onDisk);
    EXPECT_EQ(onDisk->nextObjectNumber, 2);
    EXPECT_EQ(onDisk->nextSectionNumber, 2);
    EXPECT_EQ(onDisk->nextBoreholeNumber, 2);
    auto objects = store.ReadObjectList();
    ASSERT_TRUE(objects);
    ASSERT_EQ(objects->size(), 1u);
    EXPECT_EQ((*objects)[0].number, 1);
    EXPECT_EQ((*objects)[0].archived, 0);
}

TEST_F(StoreTest, ANewObjectTitleKeepsTheFirst29Characters) {
    StatusRecord status;
    const auto n = newObject(status, std::string(35, 'A'));
    auto title = store.ReadObjectTitle(n);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->number, n);
    EXPECT_EQ(title->shortName.bytes(), std::string(29, 'A'));
    EXPECT_EQ(title->shortName.raw[29], '\0');
    EXPECT_EQ(title->fullName.utf8(), "Полное");
}

TEST_F(StoreTest, DeletedObjectNumbersAreNotReused) {
    StatusRecord status;
    for (int i = 0; i < 5; ++i)
        newObject(status);
    ASSERT_TRUE(store.DeleteObject(5));
    EXPECT_FALSE(std::filesystem::exists(dir / "DATA/00005.OBJ"));
    EXPECT_EQ(newObject(status), 6);
    auto objects = store.ReadObjectList();
    ASSERT_TRUE(objects);
    std::vector<std::int32_t> numbers;
    for (const auto& e : *objects)
        numbers.push_back(e.number);
    EXPECT_EQ(numbers, (std::vector<std::int32_t>{1, 2, 3, 4, 6}));
}

TEST_F(StoreTest, ANumberWhoseFolderExistsIsSkipped) {
    // An earlier run died after making the folder but before saving the counter.
    std::filesystem::create_directories(dir / "DATA/00001.OBJ");
    writeBytes(dir / "DATA/00001.OBJ/OBJ.TIT", Bytes(264, 0));
    StatusRecord status;
    EXPECT_EQ(newObject(status), 2);
    EXPECT_EQ(readBytes(dir / "DATA/00001.OBJ/OBJ.TIT"), Bytes(264, 0));
}

TEST_F(StoreTest, SavingABoreholeTwiceListsItOnce) {
    EXPECT_FALSE(store.AddBorehole(3, 17)); // no object folder
    ASSERT_TRUE(folder.makeFolder("DATA\\00003.OBJ"));
    ASSERT_TRUE(store.AddBorehole(3, 17));
    ASSERT_TRUE(store.AddBorehole(3, 17));
    ASSERT_TRUE(store.AddBorehole(3, 18));
    EXPECT_EQ(numbersIn("DATA/00003.OBJ/SKV.SPS"), (std::vector<std::int32_t>{17, 18}));
}

TEST_F(StoreTest, RemovingTheOnlyEntryLeavesAnEmptyFile) {
    StatusRecord status;
    const auto obj = newObject(status);
    ASSERT_TRUE(store.AppendSection(obj, 4));
    ASSERT_TRUE(store.DeleteSection(obj, 4));
    EXPECT_TRUE(std::filesystem::exists(dir / "DATA/00001.OBJ/RAZ.SPS"));
    EXPECT_EQ(std::filesystem::file_size(dir / "DATA/00001.OBJ/RAZ.SPS"), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir / "RAZ.DEL"));
}

TEST_F(StoreTest, RemoveFromListDropsEveryOccurrenceAndKeepsOrder) {
    writeBytes(dir / "DATA/00001.OBJ/RAZ.SPS", numberListBytes({5, 9, 5, 7, 1}));
    ASSERT_TRUE(store.RemoveFromList(paths::sectionList(1), paths::kSectionListDel, 5, 4));
    EXPECT_EQ(numbersIn("DATA/00001.OBJ/RAZ.SPS"), (std::vector<std::int32_t>{9, 7, 1}));
    // A leftover scratch .DEL does not get in the way.
    writeBytes(dir / "RAZ.DEL", numberListBytes({42}));
    ASSERT_TRUE(store.RemoveFromList(paths::sectionList(1), paths::kSectionListDel, 7, 4));
    EXPECT_EQ(numbersIn("DATA/00001.OBJ/RAZ.SPS"), (std::vector<std::int32_t>{9, 1}));
    EXPECT_FALSE(std::filesystem::exists(dir / "RAZ.DEL"));
}

// Stops the rewrite at every step it takes in turn: the list on disk must always be the whole
// old list or the whole new one, and a later rewrite must finish the job.
TEST_F(StoreTest, AnInterruptedListRewriteLosesNothing) {
    Bytes oldList;
    for (std::int32_t n : {3, 8, 5, 8}) {
        ObjectListEntry e;
        e.number = n;
        e.reserved[0] = static_cast<std::uint8_t>(n);
        appendRecord(oldList, e);
    }
    oldList.push_back(0xEE); // a torn tail the rewrite may drop
    Bytes newList;
    for (std::size_t i : {0u, 2u})
        newList.insert(newList.end(), oldList.begin() + static_cast<long>(i * 36),
                       oldList.begin() + static_cast<long>(i * 36 + 36));

    int steps = 0;
    for (int stopAt = 1;; ++stopAt) {
        writeBytes(dir / "DATA/OBJ.SPS", oldList);
        int seen = 0;
        folder.setFaultHook([&](std::string_view) { return ++seen == stopAt; });
        const auto st = store.RemoveFromList(paths::kObjectList, paths::kObjectListDel, 8, 36);
        folder.setFaultHook({});
        const Bytes now = readBytes(dir / "DATA/OBJ.SPS");
        EXPECT_TRUE(now == oldList || now == newList) << "stopped at step " << stopAt;
        if (st) {
            EXPECT_EQ(now, newList);
            steps = stopAt;
            break;
        }
        EXPECT_EQ(st.error().caption, "Ошибка");
        // Running it again after the failure completes it.
        ASSERT_TRUE(store.RemoveFromList(paths::kObjectList, paths::kObjectListDel, 8, 36));
        EXPECT_EQ(readBytes(dir / "DATA/OBJ.SPS"), newList);
        ASSERT_LT(stopAt, 50);
    }
    EXPECT_GE(steps, 5); // backup, its write and rename, list, its write and rename, cleanup
    EXPECT_FALSE(std::filesystem::exists(dir / "OBJ.DEL"));
}

TEST_F(StoreTest, LeftoversOfACrashDoNotDisturbTheNextRewrite) {
    writeBytes(dir / "DATA/OBJ.SPS", Bytes(72, 0));
    const Bytes list = numberListBytes({1, 2, 3});
    std::filesystem::create_directories(dir / "DATA/00001.OBJ");
    writeBytes(dir / "DATA/00001.OBJ/RAZ.SPS", list);
    // What a crash in the middle may leave: a torn temporary file and the .DEL copy.
    writeBytes(dir / "DATA/00001.OBJ/RAZ.SPS.~tmp", {0xDE, 0xAD});
    writeBytes(dir / "RAZ.DEL", numberListBytes({9, 9}));
    platform::WorkFolder fresh(dir.path());
    ProjectStore again(fresh);
    ASSERT_TRUE(again.RemoveFromList(paths::sectionList(1), paths::kSectionListDel, 2, 4));
    EXPECT_EQ(numbersIn("DATA/00001.OBJ/RAZ.SPS"), (std::vector<std::int32_t>{1, 3}));
    EXPECT_EQ(fresh.listFolder("DATA\\00001.OBJ"), (std::vector<std::string>{"RAZ.SPS"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "RAZ.DEL"));
}

TEST_F(StoreTest, CountersStopBeforeTheyCannotBeStored) {
    StatusRecord s;
    s.nextSectionNumber = INT32_MAX - 2;
    auto taken = store.TakeSectionNumber(s);
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, INT32_MAX - 2);
    EXPECT_TRUE(store.LoadStatus()); // what was saved can be read back
    EXPECT_FALSE(store.TakeSectionNumber(s));
    EXPECT_EQ(s.nextSectionNumber, INT32_MAX - 1);
    s.nextObjectNumber = INT32_MAX - 1;
    EXPECT_FALSE(store.CreateObject(s, "a", "b", "c"));
    EXPECT_FALSE(std::filesystem::exists(dir / "DATA/OBJ.SPS"));
}

TEST_F(StoreTest, SetArchivedChangesOnlyTheFlagOfTheFirstMatch) {
    Bytes list;
    for (std::int32_t n : {1, 2, 2}) {
        ObjectListEntry e;
        e.number = n;
        e.reserved.fill(static_cast<std::uint8_t>(0x30 + n));
        appendRecord(list, e);
    }
    writeBytes(dir / "DATA/OBJ.SPS", list);
    ASSERT_TRUE(store.SetArchived(2, true));
    Bytes expected = list;
    expected[36 + 34] = 1;
    EXPECT_EQ(readBytes(dir / "DATA/OBJ.SPS"), expected);
    ASSERT_TRUE(store.SetArchived(9, true)); // not in the list: nothing changes
    EXPECT_EQ(readBytes(dir / "DATA/OBJ.SPS"), expected);
    ASSERT_TRUE(store.SetArchived(2, false));
    EXPECT_EQ(readBytes(dir / "DATA/OBJ.SPS"), list);
}

TEST_F(StoreTest, AppendingAfterATornRecordStaysInStep) {
    Bytes list(36 + 7, 0);
    list[0] = 1;
    writeBytes(dir / "DATA/OBJ.SPS", list);
    ASSERT_TRUE(store.AppendObject(2));
    auto objects = store.ReadObjectList();
    ASSERT_TRUE(objects);
    ASSERT_EQ(objects->size(), 2u);
    EXPECT_EQ((*objects)[1].number, 2);
    EXPECT_EQ(std::filesystem::file_size(dir / "DATA/OBJ.SPS"), 72u);
}

TEST_F(StoreTest, MissingAndDamagedFilesGiveTheSystemsMessages) {
    auto defaults = store.LoadSectionDefaults();
    ASSERT_FALSE(defaults);
    EXPECT_EQ(defaults.error().text,
              "Ошибка открытия \"DATA\\razrez.prm\" - дальнейшая работа невозможна...");
    EXPECT_EQ(defaults.error().caption, "FATAL ERROR");
    EXPECT_TRUE(defaults.error().fatal);

    auto title = store.ReadObjectTitle(2);
    ASSERT_FALSE(title);
    EXPECT_EQ(title.error().text,
              "Ошибка открытия \"DATA\\00002.OBJ\\OBJ.TIT\" - дальнейшая работа невозможна...");

    writeBytes(dir / "DATA/00002.OBJ/OBJ.TIT", Bytes(263, 0x41));
    title = store.ReadObjectTitle(2);
    ASSERT_FALSE(title);
    EXPECT_EQ(title.error().text, "Неверный формат файла \"DATA\\00002.OBJ\\OBJ.TIT\"");
    EXPECT_TRUE(title.error().fatal);

    writeBytes(dir / "DATA/status.sav", Bytes(21, 1));
    EXPECT_FALSE(store.LoadStatus());
    StatusRecord bad;
    bad.nextSectionNumber = 0;
    writeBytes(dir / "DATA/status.sav", recordBytes(bad));
    EXPECT_FALSE(store.LoadStatus());
    bad.nextSectionNumber = INT32_MAX;
    EXPECT_FALSE(store.TakeSectionNumber(bad)); // would overflow
}

TEST_F(StoreTest, HeaderReadersRefuseShortFiles) {
    writeBytes(dir / "DATA/00001.OBJ/00000007.SKV", Bytes(37, 0x41));
    EXPECT_FALSE(store.ReadBoreholeHeader(1, 7));
    EXPECT_FALSE(store.ReadBoreholeHeader(1, 8)); // missing
    Bytes section(178, 0);
    section[8] = 0xD0; // "Р"
    section[9] = '1';
    writeBytes(dir / "DATA/00001.OBJ/000003.DAT", section);
    auto name = store.ReadSectionName(1, 3);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->utf8(), "Р1");
    section.resize(100);
    writeBytes(dir / "DATA/00001.OBJ/000003.DAT", section);
    EXPECT_FALSE(store.ReadSectionName(1, 3));
}

TEST_F(StoreTest, AnOversizedListIsRefused) {
    std::filesystem::create_directories(dir / "DATA/00001.OBJ");
    writeBytes(dir / "DATA/00001.OBJ/SKV.SPS", {});
    std::filesystem::resize_file(dir / "DATA/00001.OBJ/SKV.SPS", kMaxListBytes + 4);
    auto list = store.ReadBoreholeList(1);
    ASSERT_FALSE(list);
    EXPECT_EQ(list.error().text, "Неверный формат файла \"DATA\\00001.OBJ\\SKV.SPS\"");
    EXPECT_FALSE(store.AddBorehole(1, 5)); // and nothing is written over it
    EXPECT_EQ(std::filesystem::file_size(dir / "DATA/00001.OBJ/SKV.SPS"), kMaxListBytes + 4);
}

TEST_F(StoreTest, OnlyTheWorkingCopiesPresentAreMovedBack) {
    std::filesystem::create_directories(dir / "DATA/00001.OBJ");
    writeBytes(dir / "DATA/00001.OBJ/000004.SLO", {1, 1});
    writeBytes(dir / "DATA/00001.OBJ/000004.MTX", {2, 2});
    writeBytes(dir / "WORK.MTX", {7, 7, 7});
    EXPECT_TRUE(store.HasWorkingCopies());
    ASSERT_TRUE(store.CopyWorkingCopiesBack(1, 4));
    EXPECT_EQ(readBytes(dir / "DATA/00001.OBJ/000004.MTX"), (Bytes{7, 7, 7}));
    EXPECT_EQ(readBytes(dir / "DATA/00001.OBJ/000004.SLO"), (Bytes{1, 1}));
    EXPECT_FALSE(std::filesystem::exists(dir / "DATA/00001.OBJ/000004.OIE"));
    EXPECT_FALSE(store.HasWorkingCopies());

    // A section saved for the first time gets its files created.
    writeBytes(dir / "WORK.SLO", {5});
    writeBytes(dir / "WORK.OIE", {6});
    ASSERT_TRUE(store.CopyWorkingCopiesBack(1, 9));
    EXPECT_EQ(readBytes(dir / "DATA/00001.OBJ/000009.SLO"), (Bytes{5}));
    EXPECT_EQ(readBytes(dir / "DATA/00001.OBJ/000009.OIE"), (Bytes{6}));
}

TEST_F(StoreTest, AWorkingCopyThatCannotBeMovedStays) {
    std::filesystem::create_directories(dir / "DATA/00001.OBJ");
    writeBytes(dir / "DATA/00001.OBJ/000004.SLO", {1});
    writeBytes(dir / "WORK.SLO", {9, 9});
    folder.setFaultHook([](std::string_view step) { return step == "write"; });
    EXPECT_FALSE(store.CopyWorkingCopiesBack(1, 4));
    folder.setFaultHook({});
    EXPECT_EQ(readBytes(dir / "WORK.SLO"), (Bytes{9, 9}));
    EXPECT_EQ(readBytes(dir / "DATA/00001.OBJ/000004.SLO"), (Bytes{1}));
    store.DeleteWorkingCopies();
    EXPECT_FALSE(store.HasWorkingCopies());
}

TEST_F(StoreTest, DeletingASectionRemovesItsFilesButNotOthers) {
    std::filesystem::create_directories(dir / "DATA/00001.OBJ");
    writeBytes(dir / "DATA/00001.OBJ/RAZ.SPS", numberListBytes({4, 5}));
    for (const char* ext : {"DAT", "SLO", "MTX"})
        writeBytes(dir / (std::string("DATA/00001.OBJ/000004.") + ext), {1});
    writeBytes(dir / "DATA/00001.OBJ/000005.DAT", {1});
    ASSERT_TRUE(store.DeleteSection(1, 4)); // no .OIE: not an error
    EXPECT_EQ(numbersIn("DATA/00001.OBJ/RAZ.SPS"), (std::vector<std::int32_t>{5}));
    EXPECT_EQ(folder.listFolder("DATA\\00001.OBJ"),
              (std::vector<std::string>{"000005.DAT", "RAZ.SPS"}));
}

TEST_F(StoreTest, ListsInACopiedLowerCaseFolderAreUpdatedInPlace) {
    std::filesystem::remove_all(dir / "DATA");
    writeBytes(dir / "data/obj.sps", {});
    std::filesystem::create_directories(dir / "data/00001.obj");
    writeBytes(dir / "data/00001.obj/skv.sps", numberListBytes({3}));
    ASSERT_TRUE(store.AppendObject(1));
    ASSERT_TRUE(store.AddBorehole(1, 4));
    EXPECT_EQ(std::filesystem::file_size(dir / "data/obj.sps"), 36u);
    EXPECT_EQ(numbersIn("data/00001.obj/skv.sps"), (std::vector<std::int32_t>{3, 4}));
    EXPECT_FALSE(std::filesystem::exists(dir / "DATA"));
}
