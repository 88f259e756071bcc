// Scale, sheet format and surname lists and the rules of their editors.
#include "platform/codepage.h"
#include "section/settings_lists.h"
#include "store/list_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::section;

namespace {

class ListsTest : public ::testing::Test {
protected:
    ListsTest() : folder(dir.path()) { std::filesystem::create_directories(dir / "DATA/DIC"); }
    test::TempDir dir;
    platform::WorkFolder folder;
};

SheetFormat format(const std::string& description, std::int32_t h, std::int32_t w) {
    SheetFormat f;
    f.description.setPadded(platform::utf8ToCp1251(description));
    f.heightMm = h;
    f.widthMm = w;
    return f;
}

} // namespace

TEST(ScaleListModel, AddingKeepsOrderAndIgnoresRepeats) {
    ScaleListModel model({1000, 200, 50});
    EXPECT_EQ(model.scales(), (std::vector<std::int16_t>{50, 200, 1000}));
    EXPECT_TRUE(*model.add("500"));
    EXPECT_EQ(model.scales(), (std::vector<std::int16_t>{50, 200, 500, 1000}));
    EXPECT_EQ(model.selected(), 2);
    EXPECT_FALSE(*model.add("500")); // silently ignored
    EXPECT_FALSE(*model.add("0"));
    EXPECT_FALSE(*model.add(""));
    EXPECT_FALSE(*model.add("abc"));
    EXPECT_EQ(model.scales().size(), 4u);
    EXPECT_TRUE(*model.add("25000")); // beyond 99999 the text order would no longer be numeric
    EXPECT_EQ(model.scales().back(), 25000);
}

TEST(ScaleListModel, DenominatorsThatDoNotFitAreRefused) {
    ScaleListModel model({100});
    for (const char* typed : {"40000", "65536", "-5"}) {
        auto r = model.add(typed);
        ASSERT_FALSE(r) << typed;
        EXPECT_EQ(r.error().caption, "Warning");
        EXPECT_EQ(r.error().text, "Масштаб должен быть целым числом от 1 до 32767");
    }
    EXPECT_EQ(model.scales(), (std::vector<std::int16_t>{100}));
    EXPECT_TRUE(*model.add("32767"));
}

TEST(ScaleListModel, TheLastScaleStays) {
    ScaleListModel model({100, 200, 500});
    model.select(2);
    EXPECT_TRUE(model.removeSelected());
    EXPECT_EQ(model.selected(), 1); // the new last one
    model.select(0);
    EXPECT_TRUE(model.removeSelected());
    EXPECT_EQ(model.scales(), (std::vector<std::int16_t>{200}));
    EXPECT_FALSE(model.removeSelected());
    EXPECT_EQ(model.scales().size(), 1u);
}

TEST_F(ListsTest, ScalesAreStoredAsInt16) {
    ASSERT_TRUE(WriteScales(folder, {50, 500, 10000}));
    EXPECT_EQ(test::readBytes(dir / "DATA/DIC/mashtab.sps"),
              (store::Bytes{50, 0, 0xF4, 0x01, 0x10, 0x27}));
    EXPECT_EQ(*ReadScales(folder), (std::vector<std::int16_t>{50, 500, 10000}));
    EXPECT_EQ(formatScaleEntry(500), "  500 ");
}

TEST_F(ListsTest, SheetFormatLayout) {
    const auto b = store::recordBytes(format("А3", 297, 420));
    ASSERT_EQ(b.size(), 28u);
    EXPECT_EQ(b[0] | b[1] << 8, 297);
    EXPECT_EQ(b[4] | b[5] << 8, 420);
    EXPECT_EQ(b[8], 0xC0); // "А"
    EXPECT_EQ(b[9], '3');
    EXPECT_EQ(b[10], ' '); // padded with spaces, no terminator
    EXPECT_EQ(b[27], ' ');
}

TEST_F(ListsTest, SheetFormatEditorWorksOnTheScratchFile) {
    ASSERT_TRUE(store::WriteRecordList(
        folder, kSheetFormatList,
        std::vector<SheetFormat>{format("А3", 297, 420), format("А1", 594, 841)}));
    const auto original = test::readBytes(dir / "DATA/DIC/ListForm.sps");
    auto editor = SheetFormatEditor::Open(folder);
    ASSERT_TRUE(editor);
    // 30-byte scratch records: a flag, then the format.
    const auto scratch = test::readBytes(dir / "-.tmp");
    ASSERT_EQ(scratch.size(), 60u);
    EXPECT_EQ(scratch[0], 1);
    EXPECT_EQ(std::vector<std::uint8_t>(scratch.begin() + 2, scratch.begin() + 30),
              std::vector<std::uint8_t>(original.begin(), original.begin() + 28));
    // Sorted by description, the first selected.
    ASSERT_EQ(editor->rows().size(), 2u);
    EXPECT_EQ(editor->rows()[0].description.substr(0, 3), "А1");
    EXPECT_EQ(editor->selected(), 1);

    auto refused = editor->add("а3", "1", "2"); // same description in another case
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().text, "Уже есть такой формат");
    EXPECT_EQ(refused.error().caption, "Warning");
    ASSERT_TRUE(editor->add("А4х3 очень длинное описание", "297", "630"));
    EXPECT_EQ(editor->selected(), 2);
    EXPECT_EQ(editor->format(2).description.bytes().size(), 20u);
    EXPECT_EQ(editor->format(2).description.utf8(), "А4х3 очень длинное  "); // 19 typed, padded
    EXPECT_EQ(test::readBytes(dir / "DATA/DIC/ListForm.sps"), original);     // only -.tmp changes
    EXPECT_EQ(std::filesystem::file_size(dir / "-.tmp"), 90u);

    // Renaming to another format's description is refused; keeping its own is fine.
    editor->select(0); // А3
    EXPECT_FALSE(editor->replace("А1", "297", "420"));
    ASSERT_TRUE(editor->replace("А3", "300", "400"));
    EXPECT_EQ(editor->format(0).heightMm, 300);

    ASSERT_TRUE(editor->save());
    EXPECT_FALSE(std::filesystem::exists(dir / "-.tmp"));
    auto saved = ReadSheetFormats(folder);
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->size(), 3u); // scratch order, not list order
    EXPECT_EQ((*saved)[0].widthMm, 400);
    EXPECT_EQ((*saved)[1].description.utf8Trimmed(), "А1");
}

TEST_F(ListsTest, DeletingFormatsAndCancelling) {
    ASSERT_TRUE(store::WriteRecordList(
        folder, kSheetFormatList,
        std::vector<SheetFormat>{format("Б", 1, 1), format("А", 2, 2), format("В", 3, 3)}));
    const auto original = test::readBytes(dir / "DATA/DIC/ListForm.sps");
    auto editor = SheetFormatEditor::Open(folder);
    ASSERT_TRUE(editor);
    editor->select(2); // "В", last in the list: the one before it is selected next
    ASSERT_TRUE(editor->removeSelected());
    EXPECT_EQ(editor->selected(), 0);
    ASSERT_TRUE(editor->removeSelected()); // "Б": the entry after it is gone, so "А"
    EXPECT_EQ(editor->selected(), 1);
    ASSERT_TRUE(editor->removeSelected()); // the last one stays
    EXPECT_EQ(editor->rows().size(), 1u);
    editor->cancel();
    EXPECT_FALSE(std::filesystem::exists(dir / "-.tmp"));
    EXPECT_EQ(test::readBytes(dir / "DATA/DIC/ListForm.sps"), original);
}

TEST_F(ListsTest, AMissingSheetFormatListIsFatal) {
    auto editor = SheetFormatEditor::Open(folder);
    ASSERT_FALSE(editor);
    EXPECT_TRUE(editor.error().fatal);
    EXPECT_EQ(editor.error().text,
              "Ошибка открытия \"DATA\\DIC\\ListForm.sps\" - дальнейшая работа невозможна...");
    EXPECT_FALSE(std::filesystem::exists(dir / "-.tmp"));
}

TEST_F(ListsTest, SurnamesStaySortedAndUnique) {
    std::vector<Surname> start(2);
    start[0].setPadded(platform::utf8ToCp1251("Петров"));
    start[1].setPadded(platform::utf8ToCp1251("Андреев"));
    SurnameListModel model(start);
    EXPECT_EQ(model.names()[0].utf8Trimmed(), "Андреев");
    ASSERT_TRUE(model.add("Борисова"));
    EXPECT_EQ(model.selected(), 1);
    auto refused = model.add("Петров   ");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().text, "Уже есть такая фамилия");
    // Replacing with the selected name itself is refused too: the check covers every entry.
    model.select(1);
    EXPECT_FALSE(model.replace("Борисова"));
    ASSERT_TRUE(model.replace("Яковлева"));
    EXPECT_EQ(model.selected(), 2);
    EXPECT_EQ(model.names()[2].utf8Trimmed(), "Яковлева");
    EXPECT_EQ(model.names().size(), 3u);

    ASSERT_TRUE(WriteSurnames(folder, model.names()));
    const auto bytes = test::readBytes(dir / "DATA/DIC/podpis.sps");
    ASSERT_EQ(bytes.size(), 90u);
    EXPECT_EQ(bytes[0], 0xC0); // "А"
    EXPECT_EQ(bytes[29], ' ');
    auto read = ReadSurnames(folder);
    ASSERT_TRUE(read);
    EXPECT_EQ((*read)[1].utf8Trimmed(), "Петров");

    model.select(2);
    EXPECT_TRUE(model.removeSelected());
    EXPECT_EQ(model.selected(), 1);
    EXPECT_TRUE(model.removeSelected());
    EXPECT_FALSE(model.removeSelected()); // the last name stays
}
