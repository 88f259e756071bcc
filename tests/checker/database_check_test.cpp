// The checker's scan and repair on a database with every kind of fault, the names that count as
// borehole files, and repairs that fail midway.
#include "checker/check_texts.h"
#include "checker/database_check.h"
#include "checker/faulty_database.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::checker;
using orvo::test::readBytes;
using orvo::test::TempDir;

namespace {

// Status 2 for object 2 although its counts agree; 00000003.SKV is shown by its file name (its
// header holds five bytes); the look-alikes of object 3 are not listed; the partial last record
// of OBJ.SPS is no object.
const char* const kFaultyReport = "00001\t0\tрабочий\tСквозной\n"
                                  "\t00000001\tСкв-1\tв списке\n"
                                  "\t00000002\tСкв-2\tв списке\n"
                                  "00002\t2\tрабочий\tЧужие номера\n"
                                  "\t00000010\tШ-10\tнет в списке\n"
                                  "\t00000011\tШ-11\tнет в списке\n"
                                  "\t00000012\tШ-12\tнет в списке\n"
                                  "00003\t0\tрабочий\tИмена\n"
                                  "\t00000003\t00000003.SKV\tв списке\n"
                                  "\t12345678\tДлинная\tв списке\n"
                                  "00004\t2\tрабочий\tБез списка\n"
                                  "\t00000040\tС-40\tнет в списке\n"
                                  "00005\t1\tрабочий\t*** Объект не обнаружен ***\n"
                                  "00006\t1\tрабочий\t*** Объект не обнаружен ***\n"
                                  "00007\t0\tархивный\tАрхив\n"
                                  "00008\t1\tрабочий\t*** Объект не обнаружен ***\n"
                                  "00009\t2\tрабочий\tПустой список\n"
                                  "\t00000090\tДевяносто\tнет в списке\n"
                                  "Обнаружено ошибок: 6 шт\n";

const char* const kRepairedReport = "00001\t0\tрабочий\tСквозной\n"
                                    "\t00000001\tСкв-1\tв списке\n"
                                    "\t00000002\tСкв-2\tв списке\n"
                                    "00002\t0\tрабочий\tЧужие номера\n"
                                    "\t00000010\tШ-10\tв списке\n"
                                    "\t00000011\tШ-11\tв списке\n"
                                    "\t00000012\tШ-12\tв списке\n"
                                    "00003\t0\tрабочий\tИмена\n"
                                    "\t00000003\t00000003.SKV\tв списке\n"
                                    "\t12345678\tДлинная\tв списке\n"
                                    "00004\t0\tрабочий\tБез списка\n"
                                    "\t00000040\tС-40\tв списке\n"
                                    "00005\t1\tрабочий\t*** Объект не обнаружен ***\n"
                                    "00006\t1\tрабочий\t*** Объект не обнаружен ***\n"
                                    "00007\t0\tархивный\tАрхив\n"
                                    "00008\t1\tрабочий\t*** Объект не обнаружен ***\n"
                                    "00009\t0\tрабочий\tПустой список\n"
                                    "\t00000090\tДевяносто\tв списке\n"
                                    "Обнаружено ошибок: 3 шт\n";

class CheckerTest : public ::testing::Test {
protected:
    CheckerTest() : folder(dir.path()) { test::buildFaultyDatabase(dir.path()); }

    CheckReport scan() {
        auto report = ScanDatabase(folder);
        EXPECT_TRUE(report);
        return report ? *report : CheckReport{};
    }

    TempDir dir;
    platform::WorkFolder folder;
};

TEST_F(CheckerTest, ReportsEveryFaultAndRepairsOnlyTheLists) {
    std::vector<std::pair<int, int>> progress;
    auto report =
        ScanDatabase(folder, [&](int done, int total) { progress.emplace_back(done, total); });
    ASSERT_TRUE(report);
    EXPECT_EQ(formatReport(*report), kFaultyReport);
    EXPECT_EQ(faultCount(*report), 6);
    ASSERT_EQ(progress.size(), 10u);
    EXPECT_EQ(progress.front(), std::make_pair(0, 9));
    EXPECT_EQ(progress.back(), std::make_pair(9, 9));

    const auto before = test::snapshot(dir.path());
    const auto outcome = FixBoreholeLists(folder, *report);
    EXPECT_EQ(outcome.rewritten, 3);
    EXPECT_TRUE(outcome.failures.empty());
    auto after = test::snapshot(dir.path());

    // The rebuilt lists, byte for byte; object 4's list is made in the store's spelling and
    // object 9's lower-case list is replaced, not joined by a second one.
    const std::map<std::string, std::vector<std::int32_t>> rebuilt = {
        {"DATA/00002.OBJ/SKV.SPS", {10, 11, 12}},
        {"DATA/00004.OBJ/SKV.SPS", {40}},
        {"DATA/00009.obj/skv.sps", {90}},
    };
    for (const auto& [path, numbers] : rebuilt) {
        ASSERT_TRUE(after.count(path)) << path;
        EXPECT_EQ(after[path], store::numberListBytes(numbers)) << path;
        after.erase(path);
    }
    auto untouched = before;
    for (const auto& [path, numbers] : rebuilt)
        untouched.erase(path);
    EXPECT_EQ(after, untouched) << "only the faulty lists change; no title is made";

    EXPECT_EQ(formatReport(scan()), kRepairedReport);
    // Nothing left to repair: a second pass writes nothing.
    EXPECT_EQ(FixBoreholeLists(folder, scan()).rewritten, 0);
}

TEST_F(CheckerTest, MissingObjectListIsRefusedWithTheCheckersMessage) {
    std::filesystem::remove(dir / "DATA/OBJ.SPS");
    auto report = ScanDatabase(folder);
    ASSERT_FALSE(report);
    EXPECT_EQ(report.error().text, "Не обнаружен список объектов");
    EXPECT_EQ(report.error().caption, "Ошибка");
}

TEST_F(CheckerTest, EmptyListPassesAnEmptyFolderButMissingListFails) {
    // Object 7: a list of 0 bytes and no files is sound; without the list it is faulty.
    EXPECT_EQ(scan().objects[6].status, ObjectStatus::Sound);
    std::filesystem::remove(test::DbBuilder(dir.path()).objectDir(7) / "SKV.SPS");
    EXPECT_EQ(scan().objects[6].status, ObjectStatus::ListFaulty);
}

// A repair that stops at any step keeps the old list, says why, and leaves no stray file.
TEST_F(CheckerTest, FailedRepairKeepsTheOldList) {
    for (const char* step : {"list", "write", "rename"}) {
        SCOPED_TRACE(step);
        const auto report = scan();
        const auto before = test::snapshot(dir.path());
        folder.setFaultHook([step](std::string_view at) { return at == step; });
        const auto outcome = FixBoreholeLists(folder, report);
        folder.setFaultHook({});
        EXPECT_EQ(outcome.rewritten, 0);
        EXPECT_EQ(outcome.failures.size(), 3u);
        EXPECT_EQ(test::snapshot(dir.path()), before);
        EXPECT_EQ(faultCount(scan()), 6);
    }
}

TEST(BoreholeFileName, EightDigitsAndSkvInAnyCase) {
    const std::pair<const char*, bool> cases[] = {
        {"12345678.skv", true},       {"00000003.SKV", true},
        {"00000007.Skv", true},       {"1234567a.skv", false},
        {"notes.skv", false},         {"00000001.skv.bak", false},
        {"12345678 copy.skv", false}, {"123456789.skv", false},
        {"1234567.skv", false},       {"12345678.sk", false},
        {"12345678.skvv", false},     {"12345678_skv", false},
        {"-1234567.skv", false},      {"", false},
    };
    for (const auto& [name, counts] : cases)
        EXPECT_EQ(isBoreholeFileName(name), counts) << name;
}

TEST(CheckerTexts, LabelsSpellTheDatabasesNames) {
    ObjectCheck object;
    object.number = 7;
    BoreholeFile file{"00000042.SKV", 42, "С-42", false};
    const std::pair<ObjectStatus, const char*> objects[] = {
        {ObjectStatus::Sound, "Объект: DATA\\00007.OBJ\\OBJ.TIT"},
        {ObjectStatus::TitleMissing, "Объект: DATA\\00007.OBJ\\OBJ.TIT - нет титула ***"},
        {ObjectStatus::ListFaulty,
         "Объект: DATA\\00007.OBJ\\OBJ.TIT - ошибка списка выработок ***"},
    };
    for (const auto& [status, text] : objects) {
        object.status = status;
        EXPECT_EQ(objectLabel(object), text);
    }
    EXPECT_EQ(boreholeLabel(7, file), "Выработка: DATA\\00007.OBJ\\00000042.skv");
    file.notInList = true;
    EXPECT_EQ(boreholeLabel(7, file),
              "Выработка: DATA\\00007.OBJ\\00000042.skv - нет в списке ***");
    EXPECT_EQ(faultsMessage(2), "Обнаружено ошибок: 2 шт");
    EXPECT_EQ(fixedMessage(1), "Исправлено списков выработок: 1");
}

} // namespace
