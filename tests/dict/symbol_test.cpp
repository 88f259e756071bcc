// Symbol records, item files, drawing, the library, exchange files and the editing run.
#include "dict/symbol.h"
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

namespace {

SymbolElement element(int type, std::vector<SymbolPoint> points, int pen = 0, int penKind = 2,
                      int brushKind = 0) {
    return {type, pen, penKind, brushKind, std::move(points)};
}

const std::vector<SymbolElement> kTriangle = {
    element(kSymbolPolygon, {{0, 0}, {400, 0}, {200, 300}, {0, 0}}, 20, 2, 1),
    element(kSymbolSegment, {{0, 0}, {400, 0}}, 30)};

void put32(store::Bytes& b, std::size_t at, std::int32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
}

class SymbolStore : public ::testing::Test {
protected:
    SymbolStore() : folder(dir.path()) {
        std::filesystem::create_directories(dir / "DATA/DIC");
        EXPECT_EQ(*SaveNewSymbol(folder, "", {}), 0); // the built-in empty entry
    }
    std::filesystem::path list() const { return dir / "DATA/DIC/Symbols.SPS"; }
    std::filesystem::path item(int slot) const {
        return dir / ("DATA/DIC/" + symbolItemPath(slot).substr(9));
    }
    int save(const std::string& name, const std::vector<SymbolElement>& elements) {
        return *SaveNewSymbol(folder, name, elements);
    }
    TempDir dir;
    platform::WorkFolder folder;
};

} // namespace

TEST(SymbolFile, RecordAndItemLayout) {
    const SymbolListRecord rec = symbolRecordFor("Уровень", kTriangle);
    const auto bytes = store::recordBytes(rec);
    ASSERT_EQ(bytes.size(), 54u);
    EXPECT_EQ(le32(bytes, 0), 1);
    EXPECT_EQ(bytes[4], 0xD3); // "У" in Windows-1251
    EXPECT_EQ(bytes[4 + 7], 0);
    EXPECT_EQ(le32(bytes, 34), 300); // height
    EXPECT_EQ(le32(bytes, 38), 400); // width
    EXPECT_EQ(le32(bytes, 42), 0);
    EXPECT_EQ(le32(bytes, 50), 2);
    const auto item = symbolItemBytes(kTriangle);
    ASSERT_EQ(item.size(), 20u + 4 * 8 + 20 + 2 * 8);
    EXPECT_EQ(le32(item, 0), kSymbolPolygon);
    EXPECT_EQ(le32(item, 4), 20);
    EXPECT_EQ(le32(item, 12), 1);
    EXPECT_EQ(le32(item, 16), 4);
    EXPECT_EQ(le32(item, 20 + 2 * 8 + 4), 300);
    std::vector<SymbolElement> back;
    ASSERT_TRUE(parseSymbolItems(item, 2, "f", back));
    EXPECT_EQ(back, kTriangle);
}

TEST(SymbolFile, SaveFixesPointCountsAndGathersEveryPoint) {
    // An arc whose rays reach beyond its box: points 3 and 4 count for the size.
    SymbolElement arc = element(kSymbolArc, {{100, 100}, {300, 200}, {900, 50}, {20, 150}});
    SymbolElement shortSegment = element(kSymbolSegment, {{500, 500}});
    const auto item = symbolItemBytes({shortSegment, arc});
    EXPECT_EQ(le32(item, 16), 2); // written with its two ends, the missing one at 0, 0
    EXPECT_EQ(le32(item, 20 + 8), 0);
    const auto rec = symbolRecordFor("x", {arc});
    EXPECT_EQ(rec.minX, 20);
    EXPECT_EQ(rec.width, 880);
    EXPECT_EQ(rec.minY, 50);
    EXPECT_EQ(rec.height, 150);
    const auto empty = symbolRecordFor(std::string(40, 'N'), {});
    EXPECT_EQ(empty.height, -10000);
    EXPECT_EQ(empty.width, -10000);
    EXPECT_EQ(empty.minX, 5000);
    EXPECT_EQ(empty.minY, 5000);
    EXPECT_EQ(empty.elementCount, 0);
    EXPECT_EQ(empty.name.bytes(), std::string(29, 'N'));
}

TEST(SymbolFile, CountsThatDoNotFitStopTheReader) {
    const auto good = symbolItemBytes(kTriangle);
    auto refused = [](store::Bytes bytes, int count) {
        std::vector<SymbolElement> out;
        return !parseSymbolItems(bytes, count, "f", out);
    };
    EXPECT_TRUE(refused(good, -1));
    EXPECT_TRUE(refused(good, 3));           // fewer elements than the record says
    EXPECT_TRUE(refused(good, 1));           // bytes left over
    for (std::int32_t n : {0, 100, -5, 5}) { // polygon counts outside 1..99, or past the end
        auto bad = good;
        put32(bad, 16, n);
        EXPECT_TRUE(refused(bad, 2)) << n;
    }
    auto segment = good;
    put32(segment, 20 + 32 + 16, 3); // a segment has two points
    EXPECT_TRUE(refused(segment, 2));
    auto unknown = good;
    put32(unknown, 0, 7);
    EXPECT_TRUE(refused(unknown, 2));
    // The elements before the damage are kept for the drawing.
    auto truncated = good;
    truncated.resize(good.size() - 3);
    std::vector<SymbolElement> out;
    auto st = parseSymbolItems(truncated, 2, "DATA\\DIC\\000004.SYM", out);
    ASSERT_FALSE(st);
    EXPECT_EQ(st.error().text, "Неверный формат файла \"DATA\\DIC\\000004.SYM\"");
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], kTriangle[0]);
}

// ---- drawing ----

namespace {

struct DrawCase {
    const char* name;
    std::vector<SymbolElement> elements;
    float scaleX;
    float scaleY;
};

void PrintTo(const DrawCase& c, std::ostream* os) {
    *os << c.name;
}

} // namespace

class SymbolDraw : public SymbolStore, public ::testing::WithParamInterface<DrawCase> {};

TEST_P(SymbolDraw, GoldenDump) {
    const DrawCase& c = GetParam();
    const int slot = save(c.name, c.elements);
    platform::RecordingCanvas canvas;
    ASSERT_TRUE(DrawSymbol(canvas, folder, slot, {10.5, 20}, c.scaleX, c.scaleY));
    EXPECT_TRUE(test::matchesGolden(
        std::filesystem::path(ORVO_GOLDEN_DIR) / ("symbol-" + std::string(c.name)), canvas.dump()));
}

INSTANTIATE_TEST_SUITE_P(
    Primitives, SymbolDraw,
    ::testing::Values(
        // Pen width 0; the far end lands at 382.21 and 266.5 before truncation.
        DrawCase{"segment", {element(kSymbolSegment, {{100, 200}, {1133, 733}})}, 0.37f, 0.5f},
        DrawCase{"polygon-closed", {kTriangle[0]}, 0.1f, 0.1f},
        DrawCase{"polygon-open",
                 {element(kSymbolPolygon, {{0, 0}, {400, 0}, {200, 300}}, 20, 2, 2)},
                 0.1f,
                 0.1f},
        // Corners given bottom-right first; white pen 30 at 0.25 is trunc(7.5 + 0.5) = 8.
        DrawCase{"rectangle",
                 {element(kSymbolRectangle, {{500, 300}, {100, 100}}, 30, 1, 2)},
                 0.25f,
                 0.25f},
        DrawCase{"ellipse", {element(kSymbolEllipse, {{0, 0}, {600, 400}}, 10, 0, 1)}, 0.5f, 0.3f},
        DrawCase{"arc",
                 {element(kSymbolArc, {{0, 0}, {1000, 600}, {1000, 300}, {500, 0}}, 15)},
                 0.2f,
                 0.2f},
        DrawCase{"chord",
                 {element(kSymbolChord, {{0, 0}, {1000, 600}, {500, 0}, {1000, 300}}, 15, 2, 2)},
                 0.2f,
                 0.2f},
        DrawCase{"pie",
                 {element(kSymbolPie, {{0, 0}, {1000, 600}, {0, 600}, {1000, 100}}, 15, 1, 1)},
                 0.2f,
                 0.2f},
        // Pen and brush kinds 0, 1, 2 and kinds no editor writes (drawn as 0).
        DrawCase{"kinds",
                 {element(kSymbolRectangle, {{0, 0}, {100, 100}}, 10, 0, 0),
                  element(kSymbolRectangle, {{0, 0}, {100, 100}}, 10, 1, 1),
                  element(kSymbolRectangle, {{0, 0}, {100, 100}}, 10, 2, 2),
                  element(kSymbolRectangle, {{0, 0}, {100, 100}}, 10, 3, -1)},
                 1.0f,
                 1.0f}),
    [](const auto& testInfo) {
        std::string n = testInfo.param.name;
        std::replace(n.begin(), n.end(), '-', '_');
        return n;
    });

TEST(SymbolDrawRules, ArcSpansRunCounterClockwiseFromRayToRay) {
    auto dumpOf = [](SymbolPoint p3, SymbolPoint p4) {
        platform::RecordingCanvas canvas;
        DrawSymbolElements(canvas, {element(kSymbolArc, {{0, 0}, {200, 100}, p3, p4})},
                           {{0, 0}, 0, 0, 1, 1});
        return canvas.dump();
    };
    // Right (0°) to top (90°); top back to right is the long way round; equal rays: all of it.
    EXPECT_NE(dumpOf({200, 50}, {100, 0}).find("arc 0.00,0.00 200.00x100.00 0.00 90.00"),
              std::string::npos);
    EXPECT_NE(dumpOf({100, 0}, {200, 50}).find(" 90.00 270.00"), std::string::npos);
    EXPECT_NE(dumpOf({0, 100}, {0, 100}).find(" 360.00"), std::string::npos);
    // Rays, not points on the ellipse: the bottom-left corner is at -153.43° from the centre.
    EXPECT_NE(dumpOf({0, 100}, {200, 50}).find(" -153.43 153.43"), std::string::npos);
}

TEST_F(SymbolStore, DrawingWhatThereIs) {
    platform::RecordingCanvas canvas;
    EXPECT_TRUE(DrawSymbol(canvas, folder, 0, {0, 0}, 1, 1)); // "no symbol"
    const int empty = save("Пустой", {});
    EXPECT_TRUE(DrawSymbol(canvas, folder, empty, {0, 0}, 1, 1));
    const int deleted = save("Удалённый", kTriangle);
    ASSERT_TRUE(DeleteSymbol(folder, deleted));
    EXPECT_TRUE(DrawSymbol(canvas, folder, deleted, {0, 0}, 1, 1));
    EXPECT_EQ(canvas.dump(), "");
    EXPECT_FALSE(DrawSymbol(canvas, folder, 99, {0, 0}, 1, 1));

    // A short item file draws its first element and reports the rest.
    const int slot = save("Треугольник", kTriangle);
    auto bytes = readBytes(item(slot));
    bytes.resize(bytes.size() - 1);
    writeBytes(item(slot), bytes);
    EXPECT_FALSE(DrawSymbol(canvas, folder, slot, {0, 0}, 1, 1));
    EXPECT_NE(canvas.dump().find("polygon 0.00,0.00 400.00,0.00 200.00,300.00"), std::string::npos);
    EXPECT_EQ(canvas.dump().find("line"), std::string::npos);
    std::filesystem::remove(item(slot));
    canvas.clear();
    EXPECT_FALSE(DrawSymbol(canvas, folder, slot, {0, 0}, 1, 1));
    EXPECT_EQ(canvas.dump(), "");
}

// ---- the library and exchange files ----

TEST_F(SymbolStore, DeletingKeepsTheItemFileAndTheSlot) {
    const int a = save("Первый", kTriangle);
    const int b = save("Второй", kTriangle);
    ASSERT_TRUE(DeleteSymbol(folder, a));
    EXPECT_TRUE(std::filesystem::exists(item(a)));
    auto records = *ReadSymbolList(folder);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].used, 0);
    EXPECT_EQ(records[1].elementCount, 2); // the rest of the record stays
    EXPECT_FALSE(DeleteSymbol(folder, 0));
    EXPECT_EQ(save("Третий", {}), 3); // slots are never reused
    // Names match after padding with spaces, only among used symbols other than slot 0.
    records = *ReadSymbolList(folder);
    EXPECT_EQ(findSymbolByName(records, "\xc2\xf2\xee\xf0\xee\xe9   "), b); // "Второй   "
    EXPECT_FALSE(findSymbolByName(records, "\xcf\xe5\xf0\xe2\xfb\xe9")); // "Первый", deleted
    EXPECT_FALSE(findSymbolByName(records, ""));                         // slot 0's name
    EXPECT_FALSE(findSymbolByName(records, "\xc2\xf2\xee\xf0\xee\xe9", b));
}

TEST_F(SymbolStore, ExchangeRoundTripsByteForByte) {
    const int slot = save("Уровень", kTriangle);
    auto exported = ExportSymbolBytes(folder, slot);
    ASSERT_TRUE(exported);
    EXPECT_EQ(std::string(exported->begin(), exported->begin() + 14), "ORVO-II TipSYM");
    EXPECT_EQ(exported->size(), 14u + 54 + readBytes(item(slot)).size());
    EXPECT_FALSE(ExportSymbolBytes(folder, 0));

    TempDir other;
    std::filesystem::create_directories(other / "DATA/DIC");
    platform::WorkFolder otherFolder(other.path());
    auto parsed = parseSymbolExchange(*exported);
    ASSERT_TRUE(parsed);
    auto imported = ImportSymbol(otherFolder, *parsed, std::nullopt);
    ASSERT_TRUE(imported);
    EXPECT_EQ(*imported, 1); // an empty library gets its empty entry first
    EXPECT_EQ(ReadSymbolList(otherFolder)->at(0).elementCount, 0);
    EXPECT_EQ(*ExportSymbolBytes(otherFolder, 1), *exported);
    // Replacing a slot keeps the slot count.
    ASSERT_TRUE(ImportSymbol(otherFolder, *parsed, 1));
    EXPECT_EQ(ReadSymbolList(otherFolder)->size(), 2u);
    EXPECT_FALSE(ImportSymbol(otherFolder, *parsed, 0));
}

TEST_F(SymbolStore, DamagedExchangeFilesAreRefused) {
    const auto good = *ExportSymbolBytes(folder, save("Уровень", kTriangle));
    const std::size_t items = 14 + 54;
    auto changed = [&](std::size_t at, std::int32_t v) {
        auto b = good;
        put32(b, at, v);
        return b;
    };
    auto wrongMagic = good;
    wrongMagic[8] = 'X';
    auto truncated = good;
    truncated.pop_back();
    auto longer = good;
    longer.push_back(0);
    for (const auto& bad :
         {wrongMagic, truncated, longer, changed(14 + 50, 3), changed(14 + 50, 1),
          changed(items + 16, 100), changed(items + 20, 2001), changed(items + 24, -1),
          store::Bytes(good.begin(), good.begin() + 60)}) {
        auto r = parseSymbolExchange(bad);
        ASSERT_FALSE(r);
        EXPECT_EQ(r.error().text, "Неверный формат файла");
        EXPECT_EQ(r.error().caption, "ОШИБКА");
    }
    // The stored record travels as it is, sizes included.
    auto odd = changed(14 + 34, 77);
    ASSERT_TRUE(parseSymbolExchange(odd));
    EXPECT_EQ(parseSymbolExchange(odd)->record.height, 77);
}

// ---- the editor ----

TEST(SymbolEditRules, TypedCoordinates) {
    EXPECT_EQ(parseSymbolCoordinate("25"), 2000);
    EXPECT_EQ(parseSymbolCoordinate("-3"), 0);
    EXPECT_EQ(parseSymbolCoordinate("1.234"), 123);
    EXPECT_EQ(formatSymbolCoordinate(123), "1.23");
    EXPECT_EQ(parseSymbolCoordinate("1,5"), 100); // a comma ends the number
    EXPECT_EQ(parseSymbolCoordinate("abc"), 0);
    EXPECT_EQ(parseSymbolCoordinate("1e400"), 2000);
    // Every value reads back as shown, so leaving a field never changes it.
    for (std::int32_t v = 0; v <= kMaxSymbolCoordinate; ++v)
        ASSERT_EQ(parseSymbolCoordinate(formatSymbolCoordinate(v)), v) << v;
}

TEST(SymbolEditRules, NumberingOrderAndLimits) {
    SymbolEdit edit = SymbolEdit::New();
    EXPECT_EQ(edit.name, "Новый");
    const auto s1 = *edit.add(kSymbolSegment);
    const auto p1 = *edit.add(kSymbolPolygon);
    const auto s2 = *edit.add(kSymbolSegment);
    const auto s3 = *edit.add(kSymbolSegment);
    EXPECT_EQ(s3.code(), 2);
    EXPECT_EQ(edit.element(p1)->points.size(), 1u);
    EXPECT_EQ(edit.element(s1)->points.size(), 2u);
    EXPECT_EQ(edit.element(s1)->penKind, 2);
    EXPECT_EQ(edit.element(s1)->brushKind, 2);
    edit.element(s3)->penWidth = 33;
    edit.remove(s2);
    // The third segment is now the second, in the order too.
    const std::vector<SymbolElementRef> order = {s1, p1, {kSymbolSegment, 1}};
    EXPECT_EQ(edit.order(), order);
    EXPECT_EQ(edit.elementsOf(kSymbolSegment)[1].penWidth, 33);
    ASSERT_TRUE(edit.move(2, -1));
    EXPECT_EQ(edit.order()[1], (SymbolElementRef{kSymbolSegment, 1}));
    EXPECT_FALSE(edit.move(0, -1));
    EXPECT_EQ(edit.inDrawingOrder()[1].penWidth, 33);

    EXPECT_FALSE(edit.canRemovePoint(p1));
    for (int i = 1; i < kMaxPolygonPoints; ++i)
        ASSERT_TRUE(edit.insertPoint(p1, 0));
    EXPECT_FALSE(edit.insertPoint(p1, 0));
    EXPECT_TRUE(edit.removePoint(p1, 98));
    EXPECT_FALSE(edit.insertPoint(s1, 0)); // only polygons have a point list
    while (edit.canAdd(kSymbolPie))
        edit.add(kSymbolPie);
    EXPECT_EQ(edit.elementsOf(kSymbolPie).size(), 99u);
    EXPECT_EQ(edit.order().size(), 3u + 99);
}

TEST_F(SymbolStore, EditingRunLoadsAndSaves) {
    const int slot = save("Уровень", kTriangle);
    auto loaded = SymbolEdit::Load(folder, slot);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->name, "Уровень");
    EXPECT_EQ(loaded->inDrawingOrder(), kTriangle);
    EXPECT_FALSE(SymbolEdit::Load(folder, 0));
    auto never = [] {
        ADD_FAILURE() << "no duplicate expected";
        return DuplicateChoice::Leave;
    };
    loaded->element({kSymbolSegment, 0})->points[1] = {800, 0};
    auto saved = loaded->save(folder, never);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->slot, slot);
    EXPECT_EQ(ReadSymbolList(folder)->at(static_cast<std::size_t>(slot)).width, 800);

    SymbolEdit fresh = SymbolEdit::New();
    saved = fresh.save(folder, never);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->slot, 2);
    const auto rec = ReadSymbolList(folder)->at(2);
    EXPECT_EQ(rec.height, -10000);
    EXPECT_EQ(rec.minX, 5000);
    EXPECT_TRUE(readBytes(item(2)).empty());
}

TEST_F(SymbolStore, SavingUnderAnotherSymbolsName) {
    const int mine = save("Мой", kTriangle);
    const int theirs = save("Чужой", {element(kSymbolEllipse, {{0, 0}, {100, 100}})});
    const auto myItem = readBytes(item(mine));
    const auto listBefore = readBytes(list());
    auto edit = *SymbolEdit::Load(folder, mine);
    edit.name = "Чужой";
    int asked = 0;
    for (auto choice : {DuplicateChoice::KeepEditing, DuplicateChoice::Leave}) {
        auto outcome = edit.save(folder, [&] {
            ++asked;
            return choice;
        });
        ASSERT_TRUE(outcome);
        EXPECT_NE(outcome->step, SymbolSaveOutcome::Step::Saved);
        EXPECT_EQ(readBytes(list()), listBefore);
    }
    auto outcome = edit.save(folder, [&] {
        ++asked;
        return DuplicateChoice::Overwrite;
    });
    ASSERT_TRUE(outcome);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(outcome->slot, theirs);
    EXPECT_EQ(readBytes(item(theirs)), myItem);
    EXPECT_EQ(readBytes(item(mine)), myItem);
    const auto records = *ReadSymbolList(folder);
    EXPECT_EQ(records.size(), 3u);
    EXPECT_EQ(records[static_cast<std::size_t>(mine)].name.utf8(), "Мой"); // left as it was
    EXPECT_EQ(records[static_cast<std::size_t>(theirs)].name.utf8(), "Чужой");
    // Its own name is no duplicate; a new symbol under it is.
    auto again = *SymbolEdit::Load(folder, mine);
    EXPECT_FALSE(again.duplicateIn(records));
    SymbolEdit fresh = SymbolEdit::New();
    fresh.name = "Мой" + std::string(3, ' ');
    EXPECT_EQ(fresh.duplicateIn(records), mine);
}

// ---- previews ----

TEST(SymbolPreviews, LibraryFitAndEditorCentring) {
    SymbolListRecord rec = symbolRecordFor("x", {element(kSymbolRectangle, {{0, 0}, {400, 200}})});
    const platform::RectF frame{10, 20, 100, 100};
    auto fit = fitSymbolPreview(rec, frame, std::nullopt);
    ASSERT_TRUE(fit);
    EXPECT_DOUBLE_EQ(fit->scale, 0.25); // the width decides
    EXPECT_DOUBLE_EQ(fit->at.x, 10);
    EXPECT_DOUBLE_EQ(fit->at.y, 20 + 25);
    fit = fitSymbolPreview(rec, frame, 0.5); // true size is larger than the frame
    EXPECT_DOUBLE_EQ(fit->at.x, 10);
    EXPECT_DOUBLE_EQ(fit->at.y, 20);
    EXPECT_FALSE(fitSymbolPreview(symbolRecordFor("", {}), frame, std::nullopt));

    // A degenerate segment and a one-point polygon give no extent: nothing is drawn.
    std::vector<SymbolElement> elements = {element(kSymbolSegment, {{700, 700}, {700, 700}}),
                                           element(kSymbolPolygon, {{100, 100}})};
    EXPECT_FALSE(editorTransform(elements, {200, 100}, std::nullopt));
    elements.push_back(element(kSymbolSegment, {{100, 200}, {420, 400}}));
    auto t = editorTransform(elements, {200, 100}, std::nullopt);
    ASSERT_TRUE(t);
    EXPECT_FLOAT_EQ(t->scaleX, 0.25f); // 4/5 of the height over the larger extent, 320
    // Centred: 100 + 2 - 160 * 0.25 - 100 * 0.25 = 37; 50 + 2 - 100 * 0.25 - 200 * 0.25 = -23.
    EXPECT_DOUBLE_EQ(t->origin.x, 37);
    EXPECT_DOUBLE_EQ(t->origin.y, -23);
    t = editorTransform(elements, {200, 100}, 0.5); // real scale: centred all the same
    EXPECT_DOUBLE_EQ(t->origin.x, 102 - 80 - 50);
}
