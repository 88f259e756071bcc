// Drawing forms: byte layouts, the list rules, the fallback of the drawing and the thickness field.
#include "dict/drawing_form.h"

#include "platform/codepage.h"
#include "platform/numbers.h"
#include "store/records.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace orvo;
using namespace orvo::dict;
using orvo::store::Bytes;
using orvo::test::TempDir;

namespace {

Bytes cp1251(std::string_view utf8) {
    const std::string s = platform::utf8ToCp1251(utf8);
    return Bytes(s.begin(), s.end());
}

// A list entry written by hand: flag, then the name padded with spaces to 40.
Bytes entryBytes(std::int16_t inUse, std::string_view utf8Name) {
    Bytes b{static_cast<std::uint8_t>(inUse & 0xFF), static_cast<std::uint8_t>(inUse >> 8)};
    Bytes name = cp1251(utf8Name);
    name.resize(40, ' ');
    b.insert(b.end(), name.begin(), name.end());
    return b;
}

class DrawingFormFiles : public ::testing::Test {
protected:
    TempDir dir;
    platform::WorkFolder folder{dir.path()};
    platform::RecordingMessageSink sink;

    std::filesystem::path listPath() const { return dir / "DATA/DIC/RazForm.SPS"; }
    std::filesystem::path bodyPath(const char* name) const { return dir / "DATA/DIC" / name; }

    // Forms 0..n-1 named as given, each with a body whose frame line is its index + 1.
    void makeForms(std::initializer_list<std::pair<std::int16_t, const char*>> forms) {
        Bytes list;
        int i = 0;
        for (const auto& [inUse, name] : forms) {
            const Bytes e = entryBytes(inUse, name);
            list.insert(list.end(), e.begin(), e.end());
            DrawingForm body = newDrawingForm();
            body.frameLine = i + 1;
            test::writeBytes(dir / ("DATA/DIC/" + drawingFormBodyPath(i).substr(9)),
                             store::recordBytes(body));
            ++i;
        }
        test::writeBytes(listPath(), list);
    }
    std::vector<DrawingFormEntry> entries() {
        auto list = ReadDrawingFormList(folder);
        EXPECT_TRUE(list.ok());
        return list.ok() ? *list : std::vector<DrawingFormEntry>{};
    }
};

} // namespace

TEST(DrawingFormRecords, EntryLayout) {
    DrawingFormEntry e;
    e.inUse = 1;
    e.name.setPadded(platform::utf8ToCp1251("Форма А"));
    const Bytes b = store::recordBytes(e);
    ASSERT_EQ(b.size(), 42u);
    // "Форма А" in Windows-1251: D4 EE F0 EC E0 20 C0.
    const Bytes head{0x01, 0x00, 0xD4, 0xEE, 0xF0, 0xEC, 0xE0, 0x20, 0xC0};
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 9), head);
    EXPECT_TRUE(std::all_of(b.begin() + 9, b.end(), [](auto c) { return c == ' '; }));
}

TEST(DrawingFormRecords, BodyFieldsAtTheirOffsets) {
    DrawingForm f;
    f.frameLine = 0x01020304;
    f.scaleLine = -2;
    f.igeLine = 5;
    for (std::size_t i = 0; i < 6; ++i) {
        f.fontFace[i].set(std::string(1, static_cast<char>('A' + i)));
        f.fontSize[i] = static_cast<std::int16_t>(0x0100 + i);
        f.fontStyle[i] = static_cast<std::int8_t>(i == 5 ? -1 : i);
    }
    const Bytes b = store::recordBytes(f);
    ASSERT_EQ(b.size(), 270u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 12),
              (Bytes{4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF, 5, 0, 0, 0}));
    for (std::size_t i = 0; i < 6; ++i) {
        const std::size_t face = 12 + 40 * i;
        EXPECT_EQ(b[face], 'A' + i) << i;
        EXPECT_EQ(b[face + 1], 0) << i;
        EXPECT_EQ(b[252 + 2 * i], i) << i;
        EXPECT_EQ(b[253 + 2 * i], 1) << i;
    }
    EXPECT_EQ(Bytes(b.begin() + 264, b.end()), (Bytes{0, 1, 2, 3, 4, 0xFF}));
}

TEST(DrawingFormRecords, ArbitraryBytesRoundTrip) {
    Bytes body(270);
    std::iota(body.begin(), body.end(), std::uint8_t{7});
    auto form = store::parseRecord<DrawingForm>(body);
    ASSERT_TRUE(form.has_value());
    EXPECT_EQ(store::recordBytes(*form), body);

    Bytes entry(42);
    std::iota(entry.begin(), entry.end(), std::uint8_t{200});
    auto e = store::parseRecord<DrawingFormEntry>(entry);
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(store::recordBytes(*e), entry);
}

TEST(DrawingFormRecords, NewFormDefaults) {
    const DrawingForm f = newDrawingForm();
    EXPECT_EQ(f.frameLine, 3);
    EXPECT_EQ(f.scaleLine, 3);
    EXPECT_EQ(f.igeLine, 5);
    for (const auto& face : f.fontFace)
        EXPECT_EQ(face.utf8(), "Arial Cyr");
    EXPECT_EQ(f.fontSize, (std::array<std::int16_t, 6>{10, 10, 12, 16, 14, 10}));
    EXPECT_EQ(f.fontStyle, (std::array<std::int8_t, 6>{0, 0, 0, 1, 3, 0}));
    EXPECT_EQ(drawingFormBodyPath(7), "DATA\\DIC\\007.FRR");
    EXPECT_EQ(drawingFormBodyPath(1234), "DATA\\DIC\\1234.FRR");
}

TEST(DrawingFormThickness, ParseAndFormat) {
    EXPECT_EQ(parseThickness("0.25"), 2);
    EXPECT_EQ(parseThickness("2,5"), 20);
    EXPECT_EQ(parseThickness("abc"), 0);
    EXPECT_EQ(parseThickness(""), 0);
    EXPECT_EQ(parseThickness("-1.5"), 0);
    EXPECT_EQ(parseThickness(" 1.5 мм"), 15);
    EXPECT_EQ(parseThickness("1e30"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(formatThickness(2), "0.2");
    EXPECT_EQ(formatThickness(0), "0.0");
    EXPECT_EQ(formatThickness(123), "12.3");
    // What the field shows is read back as the same value, whatever the locale.
    for (std::int32_t t = 0; t <= 2000; ++t)
        ASSERT_EQ(parseThickness(formatThickness(t)), t) << t;
}

TEST_F(DrawingFormFiles, ListIsSortedInUseOnly) {
    EXPECT_TRUE(ListDrawingForms(folder)->empty()); // no list file yet
    makeForms({{1, "Стандартная"}, {1, "Бета"}, {0, "Альфа"}, {1, "альфа 2"}});
    auto forms = ListDrawingForms(folder);
    ASSERT_TRUE(forms.ok());
    ASSERT_EQ(forms->size(), 3u);
    EXPECT_EQ((*forms)[0].index, 3);
    EXPECT_EQ((*forms)[1].index, 1);
    EXPECT_EQ((*forms)[2].index, 0);
    EXPECT_EQ((*forms)[0].entry.name.utf8Trimmed(), "альфа 2");
}

TEST_F(DrawingFormFiles, SaveNewAppendsAtCount) {
    const std::string longName = "Моя форма" + std::string(40, 'x');
    // Without the dictionary folder the save is refused, not half done.
    auto noFolder = SaveDrawingForm(folder, -1, longName, newDrawingForm());
    ASSERT_FALSE(noFolder.ok());
    EXPECT_EQ(noFolder.error().text, "Ошибка записи файла \"DATA\\DIC\\000.FRR\"");

    makeForms({{1, "Стандартная"}, {0, "Удалённая"}});
    DrawingForm body = newDrawingForm();
    body.igeLine = 9;
    auto saved = SaveDrawingForm(folder, -1, longName, body);
    ASSERT_TRUE(saved.ok()) << saved.error().text;
    EXPECT_EQ(*saved, 2);
    const Bytes list = test::readBytes(listPath());
    ASSERT_EQ(list.size(), 3 * 42u);
    // Cut to 39 characters, the last byte a space.
    EXPECT_EQ(Bytes(list.begin() + 84, list.end()),
              entryBytes(1, "Моя форма" + std::string(30, 'x')));
    EXPECT_EQ(list.back(), ' ');
    EXPECT_EQ(test::readBytes(bodyPath("002.FRR")), store::recordBytes(body));
}

TEST_F(DrawingFormFiles, SaveWithReplaceOrExistingKeepsIndexAndEntry) {
    makeForms({{1, "Стандартная"}, {1, "Форма"}, {1, "Другая"}});
    const Bytes before = test::readBytes(listPath());
    DrawingForm body = newDrawingForm();
    body.frameLine = 77;
    body.fontStyle[0] = 2;
    auto replaced = SaveDrawingForm(folder, -1, "Форма", body, 1);
    ASSERT_TRUE(replaced.ok());
    EXPECT_EQ(*replaced, 1);
    EXPECT_EQ(test::readBytes(bodyPath("001.FRR")), store::recordBytes(body));
    EXPECT_EQ(ReadDrawingFormBody(folder, 2)->frameLine, 3);

    body.scaleLine = 12;
    auto existing = SaveDrawingForm(folder, 2, "ignored", body);
    ASSERT_TRUE(existing.ok());
    EXPECT_EQ(*existing, 2);
    EXPECT_EQ(test::readBytes(bodyPath("002.FRR")), store::recordBytes(body));
    EXPECT_FALSE(SaveDrawingForm(folder, 5, "", body).ok());
    EXPECT_FALSE(SaveDrawingForm(folder, -1, "x", body, 5).ok());
    EXPECT_EQ(test::readBytes(listPath()), before);
}

TEST_F(DrawingFormFiles, SaveAskingAboutATakenName) {
    makeForms({{1, "Стандартная"}, {1, "Форма"}, {0, "Старая"}});
    DrawingForm body = newDrawingForm();
    body.frameLine = 42;

    // No: nothing written, no index, the editor stays.
    auto no = SaveDrawingFormAsking(folder, -1, "Форма", body, sink);
    ASSERT_TRUE(no.ok());
    EXPECT_FALSE(no->has_value());
    ASSERT_EQ(sink.entries().size(), 1u);
    EXPECT_EQ(sink.entries()[0].kind, "yesno");
    EXPECT_EQ(sink.entries()[0].caption, "Stop");
    EXPECT_EQ(sink.entries()[0].text, "Такое наименование уже есть.\rЗаменить ?");
    EXPECT_EQ(entries().size(), 3u);
    EXPECT_EQ(ReadDrawingFormBody(folder, 1)->frameLine, 2);

    sink.queueAnswer(platform::Answer::Yes);
    auto yes = SaveDrawingFormAsking(folder, -1, "Форма   ", body, sink);
    ASSERT_TRUE(yes.ok());
    EXPECT_EQ(**yes, 1);
    EXPECT_EQ(entries().size(), 3u);
    EXPECT_EQ(ReadDrawingFormBody(folder, 1)->frameLine, 42);

    // A deleted form's name is free: appended without a question.
    sink.clear();
    auto fresh = SaveDrawingFormAsking(folder, -1, "Старая", body, sink);
    ASSERT_TRUE(fresh.ok());
    EXPECT_EQ(**fresh, 3);
    EXPECT_TRUE(sink.empty());
}

TEST_F(DrawingFormFiles, RenameRefusals) {
    makeForms({{1, "Стандартная"}, {1, "Форма"}, {1, "Другая"}, {0, "Удалённая"}});
    const Bytes before = test::readBytes(listPath());
    auto own = RenameDrawingForm(folder, 1, "Форма");
    ASSERT_FALSE(own.ok());
    EXPECT_EQ(own.error().text, "Такое наименование уже есть.");
    EXPECT_EQ(own.error().caption, "Stop");
    EXPECT_FALSE(RenameDrawingForm(folder, 1, "Другая").ok());
    EXPECT_FALSE(RenameDrawingForm(folder, 0, "Новое имя").ok());
    EXPECT_FALSE(RenameDrawingForm(folder, 9, "Новое имя").ok());
    EXPECT_EQ(test::readBytes(listPath()), before);

    ASSERT_TRUE(RenameDrawingForm(folder, 1, "Удалённая").ok());
    const Bytes after = test::readBytes(listPath());
    EXPECT_EQ(Bytes(after.begin() + 42, after.begin() + 84), entryBytes(1, "Удалённая"));
    EXPECT_EQ(Bytes(after.begin() + 126, after.end()), entryBytes(0, "Удалённая"));
}

TEST_F(DrawingFormFiles, DeleteKeepsRecordAndBody) {
    makeForms({{1, "Стандартная"}, {1, "Форма"}});
    const Bytes body = test::readBytes(bodyPath("001.FRR"));
    ASSERT_TRUE(DeleteDrawingForm(folder, 1).ok());
    const Bytes list = test::readBytes(listPath());
    ASSERT_EQ(list.size(), 84u);
    EXPECT_EQ(Bytes(list.begin() + 42, list.end()), entryBytes(0, "Форма"));
    EXPECT_EQ(test::readBytes(bodyPath("001.FRR")), body);
    EXPECT_FALSE(DeleteDrawingForm(folder, 0).ok());
    EXPECT_FALSE(DeleteDrawingForm(folder, 2).ok());
    EXPECT_EQ(entries()[0].inUse, 1);
    EXPECT_EQ(deleteFormQuestion("Форма"), "Вы действительно хотите удалить\rформу: Форма");
}

TEST_F(DrawingFormFiles, DrawingFallsBackToTheStandardForm) {
    makeForms({{1, "Стандартная"}, {1, "Форма"}});
    int used = -1;
    auto chosen = ReadDrawingForm(folder, 1, sink, &used);
    ASSERT_TRUE(chosen.ok());
    EXPECT_EQ(used, 1);
    EXPECT_EQ(chosen->frameLine, 2);
    EXPECT_TRUE(sink.empty());

    ASSERT_TRUE(DeleteDrawingForm(folder, 1).ok());
    // A deleted form is named; an index the list does not hold is shown as its number.
    for (const auto& [index, shown] :
         std::vector<std::pair<int, std::string>>{{1, "Форма"}, {5, "5"}, {-1, "-1"}}) {
        sink.clear();
        used = -1;
        auto form = ReadDrawingForm(folder, index, sink, &used);
        ASSERT_TRUE(form.ok());
        EXPECT_EQ(used, 0);
        EXPECT_EQ(form->frameLine, 1);
        ASSERT_EQ(sink.entries().size(), 1u);
        EXPECT_EQ(sink.entries()[0].kind, "show");
        EXPECT_EQ(sink.entries()[0].caption, "Построение разреза");
        EXPECT_EQ(sink.entries()[0].text, "Схема оформления разреза\r..." + shown +
                                              "... УДАЛЕНА.\r\rБудет использована стандартная");
        EXPECT_EQ(sink.entries()[0].icon, platform::Icon::Information);
    }
}

TEST_F(DrawingFormFiles, MissingOrShortBodyIsAnError) {
    makeForms({{1, "Стандартная"}, {1, "Форма"}});
    std::filesystem::remove(bodyPath("001.FRR"));
    auto missing = ReadDrawingForm(folder, 1, sink);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().text, "Ошибка открытия файла \"DATA\\DIC\\001.FRR\"");
    test::writeBytes(bodyPath("001.FRR"), Bytes(269, 1));
    auto shortBody = ReadDrawingForm(folder, 1, sink);
    ASSERT_FALSE(shortBody.ok());
    EXPECT_NE(shortBody.error().text.find("001.FRR"), std::string::npos);
    EXPECT_NE(shortBody.error().text, missing.error().text);
    EXPECT_TRUE(sink.empty());
}

TEST_F(DrawingFormFiles, HostileBodyIsClampedWhenRead) {
    DrawingForm fine = newDrawingForm();
    EXPECT_FALSE(fine.clampToValid());
    makeForms({{1, "Стандартная"}});
    Bytes body(270, 0xFF); // every number -1, every face 40 bytes without a terminator
    body[4] = 40, body[5] = body[6] = body[7] = 0;
    body[252] = 0x00, body[253] = 0x7F;
    body[254] = 31, body[255] = 0;
    body[264] = 4, body[265] = 0x80;
    test::writeBytes(bodyPath("000.FRR"), body);
    auto form = ReadDrawingFormBody(folder, 0);
    ASSERT_TRUE(form.ok());
    EXPECT_EQ(form->frameLine, 0);
    EXPECT_EQ(form->scaleLine, 40);
    EXPECT_EQ(form->fontSize, (std::array<std::int16_t, 6>{30, 30, 1, 1, 1, 1}));
    EXPECT_EQ(form->fontStyle, (std::array<std::int8_t, 6>{3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(form->fontFace[0].bytes().size(), 40u);
}
