// Object creation, titles, archiving and the deletion of objects, sections and boreholes.
#include "section/section_record.h"
#include "shell/object_lifecycle.h"
#include "support/db_builder.h"

#include <gtest/gtest.h>

#include <map>

using namespace orvo;
using namespace orvo::shell;
using orvo::test::DbBuilder;
using orvo::test::TempDir;

namespace {

class LifecycleTest : public ::testing::Test {
protected:
    LifecycleTest() : db(dir.path()), folder(dir.path()), store(folder) {}

    bool exists(const std::string& rel) const { return std::filesystem::exists(dir / rel); }
    std::vector<std::int32_t> numbers(const std::string& rel) const {
        return store::parseNumberList(test::readBytes(dir / rel));
    }
    // Gives the sections of object 1 their borehole lists (section -> its boreholes).
    void setUses(const std::map<std::int32_t, std::vector<std::int32_t>>& uses) {
        for (const auto& [number, boreholes] : uses) {
            auto s = section::ReadSection(folder, 1, number);
            ASSERT_TRUE(s) << s.error().text;
            s->boreholes = boreholes;
            ASSERT_TRUE(section::WriteSection(folder, 1, *s));
        }
    }

    TempDir dir;
    DbBuilder db;
    platform::WorkFolder folder;
    store::ProjectStore store;
    platform::RecordingMessageSink sink;
};

} // namespace

TEST_F(LifecycleTest, NewObjectsAreNumberedFromTheCounterWithTheirFiles) {
    store::StatusRecord status; // all counters at 1
    const ObjectTitleForm form{"Карьер Северный, участок номер 2", "Д-17/04",
                               "Первая строка\nвторая"};
    auto first = CreateNewObject(store, status, form);
    ASSERT_TRUE(first) << first.error().text;
    EXPECT_EQ(*first, 1);
    EXPECT_EQ(status.nextObjectNumber, 2);
    EXPECT_EQ(store.LoadStatus()->nextObjectNumber, 2);
    EXPECT_TRUE(exists("DATA/00001.OBJ/RAZ.SPS"));
    EXPECT_TRUE(exists("DATA/00001.OBJ/SKV.SPS"));
    EXPECT_EQ(std::filesystem::file_size(dir / "DATA/00001.OBJ/RAZ.SPS"), 0u);
    auto title = store.ReadObjectTitle(1);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->number, 1);
    EXPECT_EQ(title->shortName.utf8(), "Карьер Северный, участок номе"); // 29 characters
    EXPECT_EQ(title->contract.utf8(), "Д-17/04");
    EXPECT_EQ(title->fullName.bytes(), platform::utf8ToCp1251("Первая строка\r\nвторая"));
    auto list = store.ReadObjectList();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ((*list)[0].archived, 0);

    // Empty and repeated names are accepted; a deleted number is never handed out again.
    ASSERT_TRUE(CreateNewObject(store, status, {}));
    sink.queueAnswer(platform::Answer::Yes);
    ASSERT_TRUE(AskDeleteObject(store, sink, 2));
    auto third = CreateNewObject(store, status, {});
    ASSERT_TRUE(third);
    EXPECT_EQ(*third, 3);
    EXPECT_FALSE(exists("DATA/00002.OBJ"));
}

TEST_F(LifecycleTest, TitleFormKeepsTheRecordAndConvertsLineBreaks) {
    store::ObjectTitle title;
    title.number = 7;
    title.fullName.set(platform::utf8ToCp1251("Строка 1\r\nСтрока 2"));
    const ObjectTitleForm form = titleForm(title);
    EXPECT_EQ(form.fullName, "Строка 1\nСтрока 2");

    applyTitleForm({"Новое имя", "Д-1", "А\nБ\r\nВ"}, title);
    EXPECT_EQ(title.number, 7);
    EXPECT_EQ(title.shortName.utf8(), "Новое имя");
    EXPECT_EQ(title.fullName.bytes(), platform::utf8ToCp1251("А\r\nБ\r\nВ"));

    // Each break takes two of the 199 bytes, and a break is never cut in half.
    const std::string lines = std::string(198, 'x') + "\nyz";
    EXPECT_EQ(clampFullName(lines), std::string(198, 'x'));
    const std::string fits = std::string(196, 'x') + "\ny";
    EXPECT_EQ(clampFullName(fits), fits);
    applyTitleForm({"", "", std::string(250, 'a')}, title);
    EXPECT_EQ(title.fullName.bytes().size(), 199u);
}

TEST_F(LifecycleTest, ReturnedObjectIsFilledAsAtStartUp) {
    db.object(1, "Объект");
    db.section(1, 8, "Разрез Б");
    db.section(1, 3, "Разрез А");
    db.section(1, 9, "Без файла", false);
    db.borehole(1, 20, "Скв.3");
    db.borehole(1, 21, "скв.1");
    db.borehole(1, 22, "Скв.2");
    ASSERT_TRUE(store.SetArchived(1, true));
    EXPECT_FALSE(WorkingObjectSubtree(store, 1)); // archived: not among the working ones
    ASSERT_TRUE(store.SetArchived(1, false));
    auto sub = WorkingObjectSubtree(store, 1);
    ASSERT_TRUE(sub) << sub.error().text;
    EXPECT_EQ(formatTree(*sub), "[3] Объект\n"
                                "  [7] Список выработок обьекта\n"
                                "    [6] скв.1\n"
                                "    [6] Скв.2\n"
                                "    [6] Скв.3\n"
                                "  [5] Разрез Б\n"
                                "  [5] Разрез А\n");
    // Records in the order they are appended: object, sections, list, boreholes.
    const auto& n = sub->nodes();
    ASSERT_EQ(n.size(), 7u);
    EXPECT_EQ(n[1].record.section, 8);
    EXPECT_EQ(n[2].record.section, 3);
    EXPECT_EQ(n[3].record.kind, 7);
    EXPECT_EQ(n[4].record.borehole, 20);
    EXPECT_EQ(n[6].record.borehole, 22);
}

TEST_F(LifecycleTest, DeletingObjectsAndSectionsAsksFirst) {
    db.object(1, "Площадка  ");
    db.object(2, "Другая");
    db.section(1, 4, "Разрез 1-1   ");
    db.section(1, 5, "Разрез 2-2");
    test::writeBytes(dir / "DATA/00001.OBJ/000004.SLO", {1, 2});

    auto declined = AskDeleteSection(store, sink, 1, 4);
    ASSERT_TRUE(declined);
    EXPECT_EQ(*declined, Deletion::Declined);
    EXPECT_EQ(numbers("DATA/00001.OBJ/RAZ.SPS"), (std::vector<std::int32_t>{4, 5}));
    ASSERT_EQ(sink.entries().size(), 1u);
    EXPECT_EQ(sink.entries()[0].caption, "Удаление разреза");
    EXPECT_EQ(sink.entries()[0].text, "Вы действительно хотите удалить\rразрез Разрез 1-1 ?");

    // Only some of the section's files exist: that is no error.
    sink.queueAnswer(platform::Answer::Yes);
    EXPECT_EQ(*AskDeleteSection(store, sink, 1, 4), Deletion::Deleted);
    EXPECT_EQ(numbers("DATA/00001.OBJ/RAZ.SPS"), std::vector<std::int32_t>{5});
    EXPECT_FALSE(exists("DATA/00001.OBJ/000004.DAT"));
    EXPECT_FALSE(exists("DATA/00001.OBJ/000004.SLO"));
    EXPECT_FALSE(exists("RAZ.DEL"));

    sink.clear();
    EXPECT_EQ(*AskDeleteObject(store, sink, 1), Deletion::Declined);
    EXPECT_TRUE(exists("DATA/00001.OBJ/OBJ.TIT"));
    EXPECT_EQ(sink.entries()[0].caption, "Удаление объекта");
    EXPECT_EQ(sink.entries()[0].text, "Вы действительно хотите удалить\rобъект Площадка ?");
    sink.queueAnswer(platform::Answer::Yes);
    EXPECT_EQ(*AskDeleteObject(store, sink, 1), Deletion::Deleted);
    EXPECT_FALSE(exists("DATA/00001.OBJ"));
    EXPECT_FALSE(exists("OBJ.DEL"));
    auto list = store.ReadObjectList();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ((*list)[0].number, 2);

    // The title of a vanished object cannot be read: fatal, as for any missing title.
    auto gone = AskDeleteObject(store, sink, 1);
    ASSERT_FALSE(gone);
    EXPECT_TRUE(gone.error().fatal);
}

TEST_F(LifecycleTest, UsedBoreholeIsRefusedWithOneLinePerReference) {
    db.object(1, "Объект");
    db.section(1, 4, "Разрез 1-1");
    db.section(1, 5, "Разрез 2-2  ");
    db.section(1, 6, "Разрез 3-3");
    db.section(1, 7, "Без файла", false);
    db.borehole(1, 30, "Скв.1 ");
    db.borehole(1, 31, "Скв.2");
    setUses({{4, {31, 30, 31}}, {5, {30}}, {6, {31}}});
    const auto listBefore = test::readBytes(dir / "DATA/00001.OBJ/SKV.SPS");

    auto refs = FindBoreholeReferences(store, 1, 31);
    ASSERT_TRUE(refs);
    EXPECT_EQ(*refs, (std::vector<std::int32_t>{4, 4, 6}));
    EXPECT_EQ(numbers("SKV.DEL"), *refs); // the scratch list holds them too

    sink.queueAnswer(platform::Answer::Yes);
    auto refused = AskDeleteBorehole(store, sink, 1, 31);
    ASSERT_TRUE(refused) << refused.error().text;
    EXPECT_EQ(refused->outcome, Deletion::Refused);
    EXPECT_EQ(refused->name, "Скв.2");
    EXPECT_EQ(refused->sections,
              (std::vector<std::string>{"Разрез 1-1", "Разрез 1-1", "Разрез 3-3"}));
    EXPECT_EQ(test::readBytes(dir / "DATA/00001.OBJ/SKV.SPS"), listBefore);
    EXPECT_TRUE(exists("DATA/00001.OBJ/00000031.SKV"));
    EXPECT_FALSE(exists("SKV.DEL"));

    sink.clear();
    sink.queueAnswer(platform::Answer::Yes);
    auto other = AskDeleteBorehole(store, sink, 1, 30);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->sections, (std::vector<std::string>{"Разрез 1-1", "Разрез 2-2"}));
    EXPECT_EQ(sink.entries()[0].caption, "Удаление выработки");
    EXPECT_EQ(sink.entries()[0].text, "Вы действительно хотите удалить\rвыработку Скв.1 ?");
}

TEST_F(LifecycleTest, AnUnreadableSectionBlocksTheDeletion) {
    db.object(1, "Объект");
    db.section(1, 4, "Разрез 1-1");
    test::writeBytes(dir / "DATA/00001.OBJ/000004.DAT", store::Bytes(10, 0)); // a torn header
    db.borehole(1, 30, "Скв.1");
    auto refs = FindBoreholeReferences(store, 1, 30);
    EXPECT_FALSE(refs); // it might use the borehole: no guessing
    sink.queueAnswer(platform::Answer::Yes);
    EXPECT_FALSE(AskDeleteBorehole(store, sink, 1, 30));
    EXPECT_TRUE(exists("DATA/00001.OBJ/00000030.SKV"));
    EXPECT_EQ(numbers("DATA/00001.OBJ/SKV.SPS"), (std::vector<std::int32_t>{30}));
}

TEST_F(LifecycleTest, UnusedBoreholeGoesWithItsFile) {
    db.object(1, "Объект");
    db.section(1, 4, "Разрез 1-1");
    db.borehole(1, 30, "Скв.1");
    db.borehole(1, 31, "Скв.2");
    setUses({{4, {30}}});

    auto declined = AskDeleteBorehole(store, sink, 1, 31);
    ASSERT_TRUE(declined);
    EXPECT_EQ(declined->outcome, Deletion::Declined);
    EXPECT_FALSE(exists("SKV.DEL")); // No does not even check
    EXPECT_EQ(numbers("DATA/00001.OBJ/SKV.SPS"), (std::vector<std::int32_t>{30, 31}));

    sink.queueAnswer(platform::Answer::Yes);
    auto deleted = AskDeleteBorehole(store, sink, 1, 31);
    ASSERT_TRUE(deleted) << deleted.error().text;
    EXPECT_EQ(deleted->outcome, Deletion::Deleted);
    EXPECT_TRUE(deleted->sections.empty());
    EXPECT_EQ(numbers("DATA/00001.OBJ/SKV.SPS"), std::vector<std::int32_t>{30});
    EXPECT_FALSE(exists("DATA/00001.OBJ/00000031.SKV"));
    EXPECT_TRUE(exists("DATA/00001.OBJ/00000030.SKV"));
    EXPECT_FALSE(exists("SKV.DEL"));
}
