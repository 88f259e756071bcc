// The page plan of section printing: mode, grid, each sheet's block, page origins, cut marks,
// the dialogs' information lines and the sheet list matching.
#include "export/print_plan.h"

#include <gtest/gtest.h>

namespace orvo::exporter {
namespace {

PrinterMetrics printer(std::int64_t w, std::int64_t h, double dpi = 254) {
    return {w, h, dpi, dpi, "PDF", true};
}

TEST(PrintPlan, ModeAndGridFollowTheLargestSheet) {
    const struct {
        std::vector<drawing::SheetSize> sheets;
        std::int64_t pageW, pageH;
        PrintMode mode;
        int nx, ny;
    } cases[] = {
        // Whole sheets; the grid is not used, and a full-height sheet would need two steps.
        {{{900, 600}, {400, 1000}}, 1000, 1000, PrintMode::FullSheet, 1, 2},
        // The legend counts like any sheet: it alone sends the section to printing by parts.
        {{{900, 600}, {1001, 500}}, 1000, 1000, PrintMode::ByParts, 2, 1},
        // Pages step by 998: 1997 pixels need 2 columns, 1998 need 3.
        {{{1997, 998}}, 1000, 1000, PrintMode::ByParts, 2, 1},
        {{{1998, 999}}, 1000, 1000, PrintMode::ByParts, 3, 1},
        {{{8523, 4200}, {5480, 4200}, {2101, 4201}}, 1016, 1524, PrintMode::ByParts, 9, 3},
    };
    for (const auto& c : cases) {
        const auto plan = PrintPlan::make(c.sheets, printer(c.pageW, c.pageH));
        ASSERT_TRUE(plan);
        EXPECT_EQ(plan->mode(), c.mode);
        EXPECT_EQ(plan->nx(), c.nx);
        EXPECT_EQ(plan->ny(), c.ny);
    }
    EXPECT_FALSE(PrintPlan::make({{10, 10}}, printer(2, 500)));
}

TEST(PrintPlan, BlocksOriginsAndSelection) {
    // A narrow sheet selects only its own block: the bottom rows and the left columns.
    auto plan = PrintPlan::make({{3000, 2500}, {1500, 1200}}, printer(1000, 1000));
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->nx(), 4); // (3000 - 1) / 998 rounded up
    EXPECT_EQ(plan->ny(), 3);
    EXPECT_EQ(plan->blockColumns(1), 2);
    EXPECT_EQ(plan->blockRows(1), 2);
    EXPECT_EQ(plan->selectedPages(), 4 * 3 + 2 * 2);
    EXPECT_FALSE(plan->selected(1, 0, 0)); // top row: outside the block
    EXPECT_TRUE(plan->selected(1, 1, 0));
    EXPECT_TRUE(plan->selected(1, 2, 1));
    EXPECT_FALSE(plan->selected(1, 2, 2));
    plan->invertBlock(1);
    EXPECT_FALSE(plan->selected(1, 2, 1));
    EXPECT_FALSE(plan->selected(1, 0, 3)); // outside the block stays as it was
    plan->toggle(1, 0, 3);
    EXPECT_TRUE(plan->selected(1, 0, 3));
    plan->selectBlock(1);
    EXPECT_TRUE(plan->selected(1, 2, 1));
    EXPECT_FALSE(plan->selected(1, 0, 3));
    // x0 = 1 - (pageW - 2) col; y0 = (ny - s)(pageH - 2) - sheetH + 1: the bottom row holds the
    // sheet's bottom edge on its last pixel row.
    EXPECT_EQ(plan->origin(1, 2, 0).first, 1);
    EXPECT_EQ(plan->origin(1, 2, 0).second, 998 - 1200 + 1);
    EXPECT_EQ(plan->origin(1, 1, 1).first, 1 - 998);
    EXPECT_EQ(plan->origin(1, 2, 0).second + 1200, 999);
}

TEST(PrintPlan, CutMarksLeaveTheFirstColumnsLeftEdge) {
    const auto plan = PrintPlan::make({{3000, 900}}, printer(1000, 1000, 300));
    ASSERT_TRUE(plan);
    const std::int64_t m = 59; // trunc(300 * 5 * 0.03937... + 0.5)
    const std::vector<PrintLine> corners = {{0, 0, m, 0},     {999 - m, 0, 999, 0},
                                            {999, 0, 999, m}, {999, 999 - m, 999, 999},
                                            {0, 999, m, 999}, {999 - m, 999, 999, 999}};
    EXPECT_EQ(plan->cutMarks(CutMarks::Corners, 0), corners);
    auto withLeft = corners;
    withLeft.push_back({0, 0, 0, m});
    withLeft.push_back({0, 999 - m, 0, 999});
    EXPECT_EQ(plan->cutMarks(CutMarks::Corners, 1), withLeft);
    EXPECT_EQ(plan->cutMarks(CutMarks::DashDot, 0).size(), 3u);
    EXPECT_EQ(plan->cutMarks(CutMarks::DashDot, 2).size(), 4u);
    EXPECT_TRUE(plan->cutMarks(CutMarks::None, 1).empty());
}

TEST(PrintPlan, InformationLinesAndSheetLists) {
    const auto plan = PrintPlan::make({{2100, 2970}}, printer(2100, 2970, 254));
    ASSERT_TRUE(plan);
    const auto lines = plan->infoLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], std::make_pair(std::string("Размеры чертежа:"), std::string("210x297 мм")));
    EXPECT_EQ(lines[2].second, "210x297 мм");
    EXPECT_EQ(lines[3].second, "254x254 dpi");
    EXPECT_EQ(lines[4].second, "Книжная");
    const auto entries = sheetEntries(11);
    ASSERT_EQ(entries.size(), 12u);
    EXPECT_EQ(entries[0], "Лист 1 ");
    EXPECT_EQ(entries[11], "Лист УО");
    // "Лист 1 " is not found in "Лист 10 ": the trailing blank tells them apart.
    const auto chosen = sheetsInList(entries, {"Лист 10 ", "Лист УО"});
    EXPECT_FALSE(chosen[0]);
    EXPECT_TRUE(chosen[9]);
    EXPECT_TRUE(chosen[11]);
    EXPECT_EQ(std::count(chosen.begin(), chosen.end(), true), 2);
}

} // namespace
} // namespace orvo::exporter
