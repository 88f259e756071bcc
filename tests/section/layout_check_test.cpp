// Tests of the section layout check on small databases built in a temporary folder.
#include "section/layout_check.h"

#include "borehole/borehole_record.h"
#include "borehole/borehole_types.h"
#include "dict/title_block.h"
#include "section/settings_lists.h"
#include "support/db_builder.h"

#include <gtest/gtest.h>

namespace {

using namespace orvo;
using section::CheckSectionLayout;
using section::SheetRange;

constexpr int kVisible = 1;
constexpr int kHidden = 2;
constexpr int kDeletedType = 3;

// A sheet of 420 × 297 mm; the first-sheet title block leaves 200 mm of working width, the
// other-sheet block 100 mm, and the working height is 222 mm.
class LayoutCheck : public ::testing::Test {
protected:
    void SetUp() override {
        db.object(1, "Участок");
        for (auto [inUse, shown] : {std::pair{1, 1}, {1, 1}, {1, 0}, {0, 1}}) {
            borehole::BoreholeType t;
            t.inUse = static_cast<std::int16_t>(inUse);
            t.shownOnSection = static_cast<std::int16_t>(shown);
            ASSERT_TRUE(borehole::AddBoreholeType(folder, t));
        }
        addTitleBlock(0, "Шаблон", 550);
        addTitleBlock(1, "Первый", 550);
        addTitleBlock(2, "Прочие", 1550);
        sec.header.horizontalScale = 1000;
        sec.header.verticalScale = 100;
        sec.header.sheetWidthMm = 420;
        sec.header.sheetHeightMm = 297;
        sec.header.stampFirstSheet = 1;
        sec.header.stampOtherSheets = 2;
    }

    void addTitleBlock(int slot, const char* name, int width) {
        dict::TitleBlock b;
        b.segments.push_back({0, 0, static_cast<std::int16_t>(width), 0, 1});
        ASSERT_TRUE(dict::SaveTitleBlock(folder, slot, name, b));
    }

    // Adds a borehole at the end of the section; lengths in metres.
    void add(float x, float elevation = 100, float depth = 10, int type = kVisible, float y = 0) {
        const std::int32_t n = ++m_lastNumber;
        borehole::Borehole b = borehole::newBorehole(n);
        // Named after its place in the section, so that messages are easy to predict.
        b.header.name.setUtf8("B" + std::to_string(sec.boreholes.size()));
        b.header.x = x;
        b.header.y = y;
        b.header.elevation = elevation;
        b.header.depth = depth;
        b.header.type = static_cast<std::int16_t>(type);
        ASSERT_TRUE(borehole::SaveBorehole(store, 1, b));
        sec.boreholes.push_back(n);
    }
    // `count` boreholes 50 m apart: 5 cm on paper at 1:1000.
    void addRow(int count) {
        for (int i = 0; i < count; ++i)
            add(50.0f * static_cast<float>(i));
    }

    Result<section::SectionLayout> check() { return CheckSectionLayout(folder, 1, sec); }
    std::string refusal() {
        auto r = check();
        if (r)
            return "(accepted)";
        EXPECT_EQ(r.error().caption, "Stop");
        return r.error().text;
    }
    static std::vector<std::pair<int, int>> ranges(const section::SectionLayout& l) {
        std::vector<std::pair<int, int>> out;
        for (const SheetRange& s : l.sheets)
            out.emplace_back(s.first, s.last);
        return out;
    }

    test::TempDir dir;
    test::DbBuilder db{dir.path()};
    platform::WorkFolder folder{dir.path()};
    store::ProjectStore store{folder};
    section::Section sec;
    std::int32_t m_lastNumber = 0;
};

using Ranges = std::vector<std::pair<int, int>>;

TEST_F(LayoutCheck, RefusesBoreholesCloserThanOneCentimetreOnPaper) {
    add(0);
    add(9);
    EXPECT_EQ(refusal(), "При горизонтальном масштабе 1:1000\rРасстояние между выработками B0 и B1 "
                         "= 0.90 см\rДопускается не менее 1.00 см");
    // 9.99 m is 0.9995 cm: shown rounded as 1.00 but still short of the whole centimetre.
    sec.boreholes.clear();
    add(0);
    add(9.99f);
    EXPECT_NE(refusal().find("= 1.00 см"), std::string::npos);
    sec.boreholes.clear();
    add(0);
    add(0, 100, 10, kVisible, 10);
    EXPECT_TRUE(check());
}

TEST_F(LayoutCheck, OneSheetWithConvertedUnitsAndExtents) {
    sec.header.horizontalScale = 100;
    sec.header.verticalScale = 1000;
    add(1.234f, 100, 10);
    add(4.234f, 101.5f, 20, kVisible, 4);
    add(15.234f, -1.236f, 5);
    auto l = check();
    ASSERT_TRUE(l) << l.error().text;
    EXPECT_EQ(l->boreholes[0].x, 123);
    EXPECT_EQ(l->boreholes[2].elevation, -123); // truncated toward zero after adding 0.5
    EXPECT_EQ(l->boreholes[1].depth, 2000);
    ASSERT_EQ(ranges(*l), (Ranges{{0, 2}}));
    EXPECT_EQ(l->sheets[0].top, 10150);
    EXPECT_EQ(l->sheets[0].bottom, -623);
    EXPECT_EQ(l->sheets[0].length, 500 + 1170); // 3-4-5 triangle, then √(1100² + 400²)
    EXPECT_EQ(l->verticalScale, 1000);
    EXPECT_FALSE(l->automatic);
    EXPECT_TRUE(l->notice.empty());
    EXPECT_EQ(l->workWidthFirst, 2000);
    EXPECT_EQ(l->workWidthOther, 1000);
    EXPECT_EQ(l->workHeight, 2220);
}

TEST_F(LayoutCheck, SplitsWithTheFirstAndOtherWorkingWidths) {
    addRow(9);
    auto l = check();
    ASSERT_TRUE(l) << l.error().text;
    EXPECT_EQ(ranges(*l), (Ranges{{0, 4}, {4, 6}, {6, 8}}));
    EXPECT_EQ(l->sheets[1].length, 10000);
}

TEST_F(LayoutCheck, SheetsNeverEndOnInvisibleBoreholes) {
    addRow(4);
    add(200, 100, 10, kHidden);
    add(250);
    add(300);
    auto l = check();
    ASSERT_TRUE(l) << l.error().text;
    EXPECT_EQ(ranges(*l), (Ranges{{0, 3}, {3, 5}, {5, 6}}));

    // Stepping back reaches the sheet's first borehole: the pair after it is named.
    sec.boreholes.clear();
    add(0);
    add(50, 100, 10, kHidden);
    add(300);
    EXPECT_EQ(refusal(), "При горизонтальном масштабе 1:1000\rПара выработок B0 и B1\rНе вмещается "
                         "в рабочую область чертежа\r\rИзмените масштаб по горизонтали");
}

TEST_F(LayoutCheck, FixedVerticalScaleShortensSheets) {
    for (int i = 0; i < 5; ++i)
        add(50.0f * static_cast<float>(i), 100 - 5.0f * static_cast<float>(i), 5);
    auto l = check();
    ASSERT_TRUE(l) << l.error().text;
    EXPECT_EQ(ranges(*l), (Ranges{{0, 3}, {3, 4}}));

    sec.boreholes.clear();
    addRow(3);
    add(150, 100, 30);
    EXPECT_EQ(refusal(), "Разрез не вмещается в рабочую область чертежа.Вертикальный масштаб "
                         "1:100\rВыработка B2\r\rИзмените масштаб по вертикали");

    // 22.2 m at 1:100 fills the 222 mm working height exactly; a centimetre more does not fit.
    sec.boreholes.clear();
    addRow(1);
    add(50, 100, 22.2f);
    EXPECT_TRUE(check());
    sec.boreholes.pop_back();
    add(50, 100, 22.21f);
    EXPECT_NE(refusal().find("Выработка B0"), std::string::npos);
}

TEST_F(LayoutCheck, AutomaticScaleFromTheList) {
    ASSERT_TRUE(section::WriteScales(folder, {100, 200, 500, 1000}));
    sec.header.verticalScale = 0;
    addRow(2);
    add(100, 100, 100);
    add(150);
    add(200);
    auto l = check();
    ASSERT_TRUE(l) << l.error().text;
    EXPECT_TRUE(l->automatic);
    EXPECT_EQ(l->verticalScale, 500);
    EXPECT_EQ(l->notice, "Автоматический подбор вертикального масштаба завершен.\r\rВыбран "
                         "вертикальный масштаб 1:500");
    EXPECT_EQ(l->noticeCaption, "ПОДБОР МАСШТАБА");
    EXPECT_EQ(sec.header.verticalScale, 0);

    // A later sheet needing less keeps the larger scale chosen before.
    add(250);
    add(300);
    l = check();
    ASSERT_TRUE(l) << l.error().text;
    EXPECT_EQ(ranges(*l).size(), 2u);
    EXPECT_EQ(l->verticalScale, 500);

    add(350, 100, 300);
    EXPECT_EQ(refusal(), "Разрез не вмещается в рабочую область чертежа.При автоматическом подборе "
                         "вертикального масштаба\rисчерпан список масштабов\rВыработка "
                         "B6\r\rИзмените список масштабов");
}

TEST_F(LayoutCheck, ExhaustedListShortensTheSheetAndStartsOver) {
    // The five boreholes span 34 m (more than 1:150 allows) but each half fits 1:100, so the
    // scale must go back to where the sheet began once the list runs out.
    ASSERT_TRUE(section::WriteScales(folder, {100, 150}));
    sec.header.verticalScale = 0;
    add(0, 122, 10);
    for (int i = 1; i < 4; ++i)
        add(50.0f * static_cast<float>(i), 110, 5);
    add(200, 100, 12);
    auto l = check();
    ASSERT_TRUE(l) << l.error().text;
    EXPECT_EQ(ranges(*l), (Ranges{{0, 3}, {3, 4}}));
    EXPECT_EQ(l->verticalScale, 100);
}

TEST_F(LayoutCheck, RefusesBoreholeListsItCannotDraw) {
    add(0);
    EXPECT_EQ(refusal(), "В резрезе не может быть\rменьше 2-х выработок");
    add(50, 100, 10, 0);
    EXPECT_EQ(refusal(), "Не определен тип выработки.\rВыработка - B1");
    sec.boreholes.pop_back();
    add(50, 100, 10, kDeletedType);
    EXPECT_EQ(refusal(), "Тип выработки удален.\rВыработка - B1");
    sec.boreholes.pop_back();
    add(50, 100, 10, kHidden);
    EXPECT_EQ(refusal(), "Последняя выработка должна быть\rотображаема на разрезе");
    sec.boreholes.erase(sec.boreholes.begin());
    add(100);
    EXPECT_EQ(refusal(), "Первая выработка должна быть\rотображаема на разрезе");
}

TEST_F(LayoutCheck, RefusesDeletedTitleBlocksAndSmallSheets) {
    addRow(2);
    ASSERT_TRUE(dict::DeleteTitleBlock(folder, 2, false));
    EXPECT_EQ(refusal(), "Штамп Прочие удален");
    sec.header.stampOtherSheets = 1;
    sec.header.sheetWidthMm = 219;
    EXPECT_EQ(refusal(), "Размер логического листа\rпо горизонтали слишком мал.");
    sec.header.sheetWidthMm = 220;
    sec.header.sheetHeightMm = 74;
    EXPECT_EQ(refusal(), "Размер логического листа\rпо вертикали слишком мал.");
    sec.header.sheetHeightMm = 75;
    sec.header.stampFirstSheet = 9;
    EXPECT_NE(refusal().find("Штамп 9"), std::string::npos);
}

TEST_F(LayoutCheck, RefusesScalesThatCannotDivide) {
    addRow(3);
    add(150, 100, 30);
    sec.header.horizontalScale = 0;
    EXPECT_NE(refusal().find("1:0"), std::string::npos);
    sec.header.horizontalScale = 1000;
    sec.header.verticalScale = -100;
    EXPECT_NE(refusal().find("1:-100"), std::string::npos);
    sec.header.verticalScale = 0;
    const std::vector<std::vector<std::int16_t>> bad = {{}, {100, 0, 200}, {-5}, {100, 200, 100}};
    for (const auto& list : bad) {
        ASSERT_TRUE(section::WriteScales(folder, list));
        const std::string text = refusal();
        EXPECT_NE(text.find("Измените список масштабов"), std::string::npos) << text;
        EXPECT_EQ(text.find("исчерпан"), std::string::npos) << text;
    }
    ASSERT_TRUE(section::WriteScales(folder, {100, 200}));
    EXPECT_TRUE(check());
}

} // namespace
