// Consistency types: records, item and exchange files, pattern drawing, editor rules and the
// list operations.
#include "dict/consistency_type.h"
#include "platform/recording_canvas.h"
#include "support/bytes.h"
#include "support/golden.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace orvo;
using namespace orvo::dict;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

using orvo::test::le32;
using orvo::test::text;

namespace {

ConsistencyElement element(int kind, int repeat, int step, int angle = 0, int direction = 0,
                           int width = 10) {
    ConsistencyElement e;
    e.kind = kind;
    e.repeat = repeat;
    e.step = step;
    e.angle = angle;
    e.direction = direction;
    e.lineWidth = width;
    return e;
}

// The pattern rectangle of the golden cases: 100 x 60 device units at (10, 20), drawn at 0.1
// device units per 0.01 mm, so a step of 200 is 20 units.
constexpr PatternRect kRect{10, 20, 110, 80};

std::string draw(const std::vector<ConsistencyElement>& elements, int selected = -1) {
    platform::RecordingCanvas canvas;
    DrawConsistencyPattern(canvas, kRect, elements, 0.1, selected);
    return canvas.dump();
}

class ConsistencyStore : public ::testing::Test {
protected:
    ConsistencyStore() : folder(dir.path()) {
        std::filesystem::create_directories(dir / "DATA/DIC");
    }
    store::Bytes listBytes() const { return readBytes(dir / "DATA/DIC/TipIGE.SPS"); }
    TempDir dir;
    platform::WorkFolder folder;
};

} // namespace

// ---- files ----

TEST(ConsistencyFiles, RecordAndElementLayout) {
    const ConsistencyTypeRecord rec = consistencyRecord("Тугопластичный");
    const auto bytes = store::recordBytes(rec);
    ASSERT_EQ(bytes.size(), 32u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 0xD2);                            // "Т" in Windows-1251
    EXPECT_EQ(text(bytes, 16, 16), std::string(16, ' ')); // 14 letters, then spaces, no zero
    // A name longer than the field is cut to 30 bytes.
    EXPECT_EQ(consistencyRecord(std::string(40, 'x')).name.bytes(), std::string(30, 'x'));

    const auto elems = consistencyElementsBytes({element(kDiagonal, 1, 250, -45, 1, 35)});
    ASSERT_EQ(elems.size(), 24u);
    EXPECT_EQ(le32(elems, 0), 250);
    EXPECT_EQ(le32(elems, 4), -45);
    EXPECT_EQ(le32(elems, 8), kDiagonal);
    EXPECT_EQ(le32(elems, 12), 1);
    EXPECT_EQ(le32(elems, 16), 1);
    EXPECT_EQ(le32(elems, 20), 35);
    EXPECT_EQ(consistencyElementsBytes(parseConsistencyElements(elems)), elems);
}

TEST(ConsistencyFiles, ItemFileForDrawingIsClampedNotRefused) {
    auto bytes = consistencyElementsBytes({element(7, 5, -30, 120, 9, -4), element(0, -1, 10)});
    bytes.resize(bytes.size() + 10); // a torn third element
    const auto elems = parseConsistencyElements(bytes);
    ASSERT_EQ(elems.size(), 2u);
    EXPECT_EQ(elems[0], element(kDiagonal, 1, -30, 89, 1, 0)); // a step keeps its sign
    EXPECT_EQ(elems[1].kind, kVertical);
    EXPECT_EQ(elems[1].repeat, 0);
    for (const auto& e : elems)
        EXPECT_TRUE(elementAllowed(e));
    // More than 100 elements: the first 100 are used.
    std::vector<ConsistencyElement> many(130, element(kHorizontal, 1, 100));
    EXPECT_EQ(parseConsistencyElements(consistencyElementsBytes(many)).size(), 100u);
}

// ---- drawing ----

TEST(ConsistencyDraw, GoldenDumps) {
    const struct {
        const char* name;
        std::vector<ConsistencyElement> elements;
        int selected;
    } cases[] = {
        {"vertical-repeated", {element(kVertical, 1, 250)}, -1},
        {"horizontal-repeated", {element(kHorizontal, 1, 200, 0, 0, 25)}, -1},
        {"single-lines", {element(kVertical, 0, 150), element(kHorizontal, 0, 300)}, -1},
        {"diagonal-positive", {element(kDiagonal, 1, 200, 30)}, -1},
        {"diagonal-negative", {element(kDiagonal, 1, 200, -30)}, -1},
        {"diagonal-single",
         {element(kDiagonal, 0, 500, 30, 0), element(kDiagonal, 0, 500, -30, 1)},
         -1},
        {"zero-step",
         {element(kVertical, 1, 0), element(kHorizontal, 1, 0), element(kDiagonal, 1, 0, 30, 1),
          element(kVertical, 1, 5)},
         -1},
        {"selected", {element(kVertical, 1, 500), element(kHorizontal, 0, 100)}, 1},
    };
    for (const auto& c : cases) {
        const std::string dump = draw(c.elements, c.selected);
        const std::filesystem::path folder =
            std::filesystem::path(ORVO_GOLDEN_DIR) / (std::string("consistency-") + c.name);
        EXPECT_TRUE(test::matchesGolden(folder, dump)) << c.name;
    }
}

TEST(ConsistencyDraw, SingleVerticalWithoutStepIsOnTheCentreLine) {
    for (const PatternRect r : {PatternRect{0, 0, 101, 50}, PatternRect{-40, 5, 60, 9}}) {
        platform::RecordingCanvas canvas;
        DrawConsistencyPattern(canvas, r, std::vector{element(kVertical, 0, 0)}, 3.0);
        const std::string x = std::to_string(r.left + (r.right - r.left) / 2) + ".00";
        EXPECT_NE(canvas.dump().find("line " + x + "," + std::to_string(r.top) + ".00 " + x),
                  std::string::npos)
            << canvas.dump();
    }
}

TEST(ConsistencyDraw, NegativeStepsKeepTheirSign) {
    // kRect is 10..110 x 20..80 at 0.1 units per 0.01 mm: the centre line is x = 60.
    const struct {
        ConsistencyElement element;
        const char* line;
    } singles[] = {
        {element(kVertical, 0, -150), "line 45.00,20.00 45.00,80.00"},    // left of the centre
        {element(kVertical, 0, 150), "line 75.00,20.00 75.00,80.00"},     // right of it
        {element(kHorizontal, 0, -100), "line 10.00,10.00 110.00,10.00"}, // above the top
        {element(kHorizontal, 0, 100), "line 10.00,30.00 110.00,30.00"},
    };
    for (const auto& c : singles) {
        const std::string dump = draw({c.element});
        EXPECT_NE(dump.find(c.line), std::string::npos) << c.line << "\n" << dump;
    }
    // Repeated, the step is a spacing whatever its sign: the same lines as with the positive
    // step, and never a loop or a single line.
    for (const auto& e : {element(kVertical, 1, -250), element(kHorizontal, 1, -200),
                          element(kDiagonal, 1, -200, 30), element(kDiagonal, 1, -200, -30)}) {
        ConsistencyElement positive = e;
        positive.step = -e.step;
        EXPECT_EQ(draw({e}), draw({positive})) << e.kind << " " << e.angle;
    }
}

TEST(ConsistencyDraw, AbsurdElementsStayBounded) {
    // A one-unit step over a huge column, and a maximal angle: the line count is capped.
    platform::RecordingCanvas canvas;
    DrawConsistencyPattern(canvas, {0, 0, 1000000, 1000000},
                           std::vector{element(kVertical, 1, 10), element(kDiagonal, 1, 10, -89),
                                       element(kHorizontal, 1, 2147483647)},
                           0.1);
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = canvas.dump().find("\nline", at)) != std::string::npos; ++at)
        ++lines;
    EXPECT_EQ(lines, 4000u);
    // An empty rectangle draws nothing at all.
    platform::RecordingCanvas empty;
    DrawConsistencyPattern(empty, {10, 10, 10, 50}, std::vector{element(kVertical, 1, 10)}, 1.0);
    EXPECT_EQ(empty.dump(), "");
}

TEST(ConsistencyDraw, PreviewColumnCentredAtScreenScaleAndZoom) {
    ConsistencyPreview p;
    p.frame = {0, 0, 300, 240};
    p.widthHundredths = 1000; // 10 mm at 96 dpi: trunc(37.79) = 37 units
    p.dpi = 96;
    p.zoom = 2;
    const PatternRect col = previewColumn(p);
    EXPECT_EQ(col.right - col.left, 74);
    EXPECT_EQ(col.left, 2 + (296 - 74) / 2);
    EXPECT_EQ(col.top, 25);
    EXPECT_EQ(col.bottom, 215);
    p.zoom = 3;
    p.widthHundredths = 5000; // wider than the frame: the full width
    EXPECT_EQ(previewColumn(p).left, 2);
    EXPECT_EQ(previewColumn(p).right, 298);

    platform::RecordingCanvas canvas;
    // Width 10 at 96 dpi and zoom 3: trunc(1.13) = 1 unit; the centre of 2..298 is 150.
    DrawConsistencyPreview(canvas, p, std::vector{element(kVertical, 0, 0)}, 0);
    EXPECT_NE(canvas.dump().find("pen #ff0000 1.00 solid\nline 150.00,25.00 150.00,215.00"),
              std::string::npos)
        << canvas.dump();
    EXPECT_NE(canvas.dump().find("pen #0000ff 1.00 solid\nbrush none\nrect 2.00,25.00"),
              std::string::npos);
    platform::RecordingCanvas none;
    DrawConsistencyPreview(none, p, {}, -1);
    EXPECT_EQ(none.dump().find("line"), std::string::npos);
    EXPECT_EQ(none.dump().find("#0000ff"), std::string::npos);
}

// ---- editor rules ----

TEST(ConsistencyEditor, TypedValues) {
    EXPECT_EQ(parseHundredths("0.29"), 29);
    EXPECT_EQ(parseHundredths("1.234"), 123);
    EXPECT_EQ(parseHundredths("2,5"), 200);
    EXPECT_EQ(parseHundredths("-3"), 0); // widths
    EXPECT_EQ(parseHundredths("1e20"), 2147483647);
    // Steps and offsets keep their sign and truncate toward zero.
    const std::pair<const char*, std::int32_t> signedCases[] = {
        {"-1", -100},   {"-0.29", -29},       {"-1.234", -123},
        {"-2,5", -200}, {"0.29", 29},         {"-0", 0},
        {"x", 0},       {"1e20", 2147483647}, {"-1e20", -2147483647 - 1},
        {"-0.001", 0},
    };
    for (const auto& [typed, hundredths] : signedCases)
        EXPECT_EQ(parseSignedHundredths(typed), hundredths) << typed;
    EXPECT_EQ(formatHundredths(-150), "-1.50");
    EXPECT_EQ(formatHundredths(123), "1.23");
    EXPECT_EQ(parseConsistencyAngle("90"), 89);
    EXPECT_EQ(parseConsistencyAngle("-120"), -89);
    EXPECT_EQ(parseConsistencyAngle("45.9"), 45);
    EXPECT_EQ(parseConsistencyAngle("-7.5"), -7);
    EXPECT_EQ(parseConsistencyAngle("x"), 0);
}

TEST(ConsistencyEditor, ElementTable) {
    ConsistencyEdit edit;
    ASSERT_EQ(edit.elements().size(), 1u);
    EXPECT_EQ(edit.elements()[0], ConsistencyElement{});
    EXPECT_FALSE(edit.canRemove());
    EXPECT_FALSE(edit.removeSelected());
    for (int i = 1; i < kMaxConsistencyElements; ++i) {
        ASSERT_TRUE(edit.addElement());
        edit.current().step = i;
    }
    EXPECT_EQ(edit.selected(), 99);
    EXPECT_FALSE(edit.addElement()); // refused silently at 100
    EXPECT_EQ(edit.elements().size(), 100u);
    edit.select(1);
    ASSERT_TRUE(edit.removeSelected());
    EXPECT_EQ(edit.elements().size(), 99u);
    EXPECT_EQ(edit.current().step, 2); // the later ones moved up
    edit.select(500);
    EXPECT_EQ(edit.selected(), 98);
    ASSERT_TRUE(edit.removeSelected());
    EXPECT_EQ(edit.selected(), 97); // the last one went: its predecessor is selected
    // A loaded table gets at least one element and only allowed values.
    ConsistencyEdit loaded({element(9, 0, -5)});
    EXPECT_TRUE(elementAllowed(loaded.current()));
}

// ---- the list ----

TEST_F(ConsistencyStore, SaveAppendsDeleteKeepsTheSlot) {
    EXPECT_EQ(ReadConsistencyTypeList(folder)->size(), 0u); // missing: empty
    ASSERT_EQ(*SaveNewConsistencyType(folder, "Встроенный", {element(kVertical, 0, 0)}), 0);
    ASSERT_EQ(*SaveNewConsistencyType(folder, "Мягкий", {element(kHorizontal, 1, 200)}), 1);
    // Two types with the same name are allowed.
    ASSERT_EQ(*SaveNewConsistencyType(folder, "Мягкий", {element(kDiagonal, 1, 300, 20)}), 2);
    EXPECT_EQ(listBytes().size(), 3u * 32);
    EXPECT_EQ(readBytes(dir / "DATA/DIC/000002.TIE").size(), 24u);
    // Rewrite in place.
    ASSERT_TRUE(SaveConsistencyType(folder, 1, "Текучий",
                                    {element(kVertical, 1, 100), element(kHorizontal, 0, 50)}));
    auto t = LoadConsistencyType(folder, 1);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->record.name.utf8Trimmed(), "Текучий");
    EXPECT_EQ(t->elements.size(), 2u);
    // Delete: the slot stays, the item file goes, the others keep their numbers.
    ASSERT_TRUE(DeleteConsistencyType(folder, 1));
    EXPECT_EQ(listBytes().size(), 3u * 32);
    EXPECT_EQ((*ReadConsistencyTypeList(folder))[1].used, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "DATA/DIC/000001.TIE"));
    auto gone = LoadConsistencyType(folder, 1);
    ASSERT_TRUE(gone);
    EXPECT_TRUE(gone->elements.empty());
    EXPECT_EQ(LoadConsistencyType(folder, 2)->elements[0].angle, 20);
}

TEST_F(ConsistencyStore, BuiltInSlotAndBadCallsAreRefused) {
    ASSERT_TRUE(SaveNewConsistencyType(folder, "Встроенный", {element(kVertical, 0, 0)}));
    const auto before = listBytes();
    EXPECT_FALSE(SaveConsistencyType(folder, 0, "Другой", {ConsistencyElement{}}));
    EXPECT_FALSE(DeleteConsistencyType(folder, 0));
    EXPECT_FALSE(DeleteConsistencyType(folder, 5));
    EXPECT_FALSE(SaveConsistencyType(folder, 3, "Дыра", {ConsistencyElement{}}));
    EXPECT_FALSE(SaveNewConsistencyType(folder, "Пустой", {}));
    EXPECT_FALSE(SaveNewConsistencyType(folder, "Много", std::vector<ConsistencyElement>(101)));
    EXPECT_FALSE(ExportConsistencyType(folder, 0, dir / "x.OTI"));
    EXPECT_FALSE(LoadConsistencyType(folder, 1));
    EXPECT_EQ(listBytes(), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.OTI"));
}

// ---- exchange ----

TEST_F(ConsistencyStore, ExchangeRoundTripIsByteExact) {
    ASSERT_TRUE(SaveNewConsistencyType(folder, "Встроенный", {element(kVertical, 0, 0)}));
    const std::vector elems{element(kDiagonal, 1, 250, -45, 0, 20), element(kVertical, 0, 70),
                            element(kVertical, 0, -70), element(kHorizontal, 1, -300)};
    ASSERT_TRUE(SaveNewConsistencyType(folder, "Полутвёрдый", elems));
    const auto file = dir / "out" / "type.OTI";
    std::filesystem::create_directories(file.parent_path());
    ASSERT_TRUE(ExportConsistencyType(folder, 1, file));
    const auto bytes = readBytes(file);
    ASSERT_EQ(bytes.size(), 14u + 32 + 4 * 24);
    EXPECT_EQ(text(bytes, 0, 14), "ORVO-II TipIGE");
    EXPECT_EQ(text(bytes, 14, 32), text(listBytes(), 32, 32));
    EXPECT_EQ(store::Bytes(bytes.begin() + 46, bytes.end()),
              readBytes(dir / "DATA/DIC/000001.TIE"));

    // Same name: found (but not deleted records and not the built-in slot).
    auto item = ReadConsistencyExchange(file);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->elements, elems); // negative offsets and steps included
    const auto list = *ReadConsistencyTypeList(folder);
    EXPECT_EQ(findConsistencyTypeByName(list, item->record), 1);
    ConsistencyTypeRecord builtIn = consistencyRecord("Встроенный");
    EXPECT_EQ(findConsistencyTypeByName(list, builtIn), std::nullopt);
    ConsistencyTypeRecord shortName; // zero-terminated "Полутвёрдый" still matches when padded
    shortName.name.set(consistencyRecord("Полутвёрдый").name.bytes().substr(0, 11));
    EXPECT_EQ(findConsistencyTypeByName(list, shortName), 1);
    ConsistencyTypeRecord otherCase = consistencyRecord("полутвёрдый");
    EXPECT_EQ(findConsistencyTypeByName(list, otherCase), std::nullopt);

    // Appended as a new slot and exported again: the same bytes.
    const int slot = *ImportConsistencyType(folder, *item, std::nullopt);
    EXPECT_EQ(slot, 2);
    ASSERT_TRUE(ExportConsistencyType(folder, slot, dir / "again.OTI"));
    EXPECT_EQ(readBytes(dir / "again.OTI"), bytes);
    // Overwriting the match replaces it in place.
    ASSERT_TRUE(DeleteConsistencyType(folder, 2));
    EXPECT_EQ(findConsistencyTypeByName(*ReadConsistencyTypeList(folder), item->record), 1);
    EXPECT_EQ(*ImportConsistencyType(folder, *item, 1), 1);
    EXPECT_EQ(ReadConsistencyTypeList(folder)->size(), 3u);
}

TEST_F(ConsistencyStore, ImportRefusalsWriteNothing) {
    ASSERT_TRUE(SaveNewConsistencyType(folder, "Встроенный", {element(kVertical, 0, 0)}));
    ASSERT_TRUE(SaveNewConsistencyType(folder, "Первый", {element(kHorizontal, 1, 100)}));
    ConsistencyType good{consistencyRecord("Новый"), {element(kVertical, 1, 100)}};
    const auto goodBytes = consistencyExchangeBytes(good);
    const auto listBefore = listBytes();
    const auto itemBefore = readBytes(dir / "DATA/DIC/000001.TIE");

    std::vector<store::Bytes> bad;
    auto wrongMagic = goodBytes;
    wrongMagic[8] = 'X';
    bad.push_back(wrongMagic);
    bad.push_back(store::Bytes(goodBytes.begin(), goodBytes.begin() + 46 + 23)); // no element
    bad.push_back(store::Bytes(goodBytes.begin(), goodBytes.begin() + 20));      // torn record
    ConsistencyType many = good;
    many.elements.assign(101, element(kVertical, 1, 100));
    bad.push_back(consistencyExchangeBytes(many));
    std::vector<ConsistencyElement> badValues(8, element(kHorizontal, 0, 10));
    badValues[0].kind = 4;
    badValues[1].kind = 0;
    badValues[2].repeat = 2;
    badValues[3].direction = -1;
    badValues[4].angle = 90;
    badValues[5].angle = -90;
    badValues[6].repeat = -1;
    badValues[7].lineWidth = -1;
    for (const auto& e : badValues) {
        ConsistencyType t = good;
        t.elements.push_back(e);
        bad.push_back(consistencyExchangeBytes(t));
        // Even handed over directly, the import writes nothing.
        EXPECT_FALSE(ImportConsistencyType(folder, t, std::nullopt));
        EXPECT_FALSE(ImportConsistencyType(folder, t, 1));
    }
    for (std::size_t i = 0; i < bad.size(); ++i) {
        const auto file = dir / ("bad" + std::to_string(i) + ".OTI");
        writeBytes(file, bad[i]);
        auto r = ReadConsistencyExchange(file);
        ASSERT_FALSE(r) << i;
        EXPECT_EQ(r.error().text, "Неверный формат файла") << i;
        EXPECT_EQ(r.error().caption, "ОШИБКА");
    }
    EXPECT_EQ(listBytes(), listBefore);
    EXPECT_EQ(readBytes(dir / "DATA/DIC/000001.TIE"), itemBefore);
    EXPECT_FALSE(std::filesystem::exists(dir / "DATA/DIC/000002.TIE"));

    auto missing = ReadConsistencyExchange(dir / "nowhere.OTI");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().text, "Ошибка открытия (" + (dir / "nowhere.OTI").string() + ")");

    // A partial last element is ignored; 100 whole elements are still fine.
    auto torn = goodBytes;
    torn.resize(torn.size() + 23, 0x7F);
    writeBytes(dir / "torn.OTI", torn);
    auto r = ReadConsistencyExchange(dir / "torn.OTI");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->elements, good.elements);
    many.elements.resize(100);
    EXPECT_TRUE(parseConsistencyExchange(consistencyExchangeBytes(many)));
}
