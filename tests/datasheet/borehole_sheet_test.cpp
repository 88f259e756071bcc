// The data sheet on a recording canvas: goldens of the demo borehole, page splits of long
// tables, line widths of 0, deleted types, fonts and the layout preview.
#include "datasheet/borehole_sheet.h"

#include "platform/recording_canvas.h"
#include "sheet_fixture.h"
#include "support/golden.h"

#include <gtest/gtest.h>

using namespace orvo;
using datasheet::SheetLayout;

namespace {

const std::filesystem::path kGolden = ORVO_GOLDEN_DIR;

// Records the drawing and keeps every text with its box.
class TextCanvas : public platform::RecordingCanvas {
public:
    struct Text {
        platform::RectF box;
        std::string text;
    };
    std::vector<Text> texts;
    void drawText(const platform::RectF& box, unsigned align, std::string_view utf8) override {
        texts.push_back({box, std::string(utf8)});
        RecordingCanvas::drawText(box, align, utf8);
    }
    std::vector<Text> find(const std::string& s) const {
        std::vector<Text> out;
        for (const auto& t : texts)
            if (t.text == s)
                out.push_back(t);
        return out;
    }
};

int render(TextCanvas& c, const SheetLayout& l, const borehole::BoreholeEditData& data,
           int parts = datasheet::kAllParts) {
    return datasheet::RenderBoreholeSheet(c, l, data, test::SeededDatabase::get().names(), parts);
}

} // namespace

TEST(BoreholeSheet, DemoBoreholeGoldens) {
    const auto& db = test::SeededDatabase::get();
    struct Case {
        int parts;
        const char* golden;
    };
    for (const Case c : {Case{15, "borehole-sheet-demo"}, Case{1, "borehole-sheet-parts-1"}}) {
        TextCanvas canvas;
        EXPECT_EQ(render(canvas, db.layout(), db.demo(), c.parts), 1);
        EXPECT_TRUE(test::matchesGolden(kGolden / c.golden, canvas.dump()));
    }
}

TEST(BoreholeSheet, LongTablesContinueOnNewPages) {
    const auto& db = test::SeededDatabase::get();
    const SheetLayout l = db.layout();
    const double restartY = l.size(0) + l.size(4);
    using Page = std::array<int, 3>; // IGE, groundwater and sample rows on a page
    struct Case {
        int ige, water, samples, parts;
        std::vector<Page> pages;
    };
    const std::vector<Case> cases = {
        {90, 60, 39, 15, {{34, 0, 0}, {45, 0, 0}, {11, 31, 0}, {0, 29, 13}, {0, 0, 26}}},
        {90, 60, 39, 14, {{34, 0, 0}, {45, 0, 0}, {11, 31, 0}, {0, 29, 13}, {0, 0, 26}}},
        {0, 0, 100, 8, {{0, 0, 34}, {0, 0, 45}, {0, 0, 21}}},
        // A table that ends on the page's last row starts no page when nothing follows...
        {34, 0, 0, 15, {{34, 0, 0}}},
        {0, 0, 34, 15, {{0, 0, 34}}},
        // ...and one when a table follows.
        {34, 1, 0, 15, {{34, 0, 0}, {0, 1, 0}}},
        // No room for the groundwater heading and one row: it starts a page.
        {30, 2, 0, 15, {{30, 0, 0}, {0, 2, 0}}},
        {0, 0, 0, 15, {{0, 0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.ige << "/" << c.water << "/" << c.samples << " parts " << c.parts);
        TextCanvas canvas;
        const int pages =
            render(canvas, l, test::madeUpBorehole(c.ige, c.water, c.samples), c.parts);
        ASSERT_EQ(pages, static_cast<int>(c.pages.size()));
        std::vector<Page> found(c.pages.size(), Page{});
        for (const auto& t : canvas.texts) {
            const auto page = static_cast<std::size_t>(std::floor(t.box.x / datasheet::kPageStep));
            ASSERT_LT(page, found.size()) << t.text;
            const double pageX = t.box.x - static_cast<double>(page) * datasheet::kPageStep;
            EXPECT_LE(t.box.bottom(), l.size(0) + l.size(3)) << t.text;
            if (t.text == "твердая")
                ++found[page][0];
            else if (t.text == "Появившийся уровень")
                ++found[page][1];
            else if (t.text == "Монолит")
                ++found[page][2];
            // Headings at the top of a later page, numbered or full, start at S10.
            if (page > 0 && t.box.y == restartY && (t.text == "1" || t.text == "№")) {
                EXPECT_EQ(pageX, l.size(10));
            }
        }
        EXPECT_EQ(found, c.pages);
    }
}

TEST(BoreholeSheet, ZeroPensAndDeletedTypes) {
    const auto& db = test::SeededDatabase::get();
    SheetLayout l = db.layout();
    l.linePen = {0, 5, 0};
    auto data = test::madeUpBorehole(2, 1, 1);
    data.type = 0x7FFF;
    data.ige.setCurrent(1, 10);
    data.ige.setType(-3);
    data.water.setCurrent(0, 10);
    data.water.setType(3000);
    data.samples.setCurrent(0, 10);
    data.samples.setType(77);
    TextCanvas canvas;
    EXPECT_EQ(render(canvas, l, data), 1);
    EXPECT_TRUE(test::matchesGolden(kGolden / "borehole-sheet-pen0-deleted", canvas.dump()));
    EXPECT_EQ(canvas.find("<< удален >>").size(), 1u);
    EXPECT_EQ(canvas.find("<< тип удален >>").size(), 3u);
    EXPECT_EQ(canvas.find("твердая").size(), 1u) << "the first layer keeps its type";
}

TEST(BoreholeSheet, ElementFontsAreSizedAt96Dpi) {
    SheetLayout l;
    l.setFace(3, "Times New Roman Cyr");
    l.textHeight = {90, 120, 100, 10, 200};
    l.textAttr[1].bold = 1;
    l.textAttr[2].italic = 1;
    l.textAttr[2].underline = 1;
    struct Case {
        int element;
        double scale;
        double height;
        int weight;
    };
    for (const Case c : {Case{0, 1, 34, 400}, Case{1, 1, 45, 700}, Case{2, 2, 76, 400},
                         Case{3, 1, 4, 400}, Case{4, 0.5, 38, 400}}) {
        const auto f = datasheet::CreateElementFont(l, c.element, c.scale);
        EXPECT_EQ(f.height, c.height) << c.element;
        EXPECT_EQ(f.weight, c.weight) << c.element;
    }
    EXPECT_TRUE(datasheet::CreateElementFont(l, 2).italic);
    EXPECT_TRUE(datasheet::CreateElementFont(l, 2).underline);
    EXPECT_EQ(datasheet::CreateElementFont(l, 3).family, "Times New Roman Cyr");
}

TEST(BoreholeSheet, TitleRowsFollowTheLabelAlignment) {
    const auto& db = test::SeededDatabase::get();
    SheetLayout l = db.layout();
    const double x0 = l.size(1) + l.size(7);
    for (int align = 0; align < 3; ++align) {
        auto& a = l.textAttr[datasheet::kTitleLabels];
        a.alignLeft = align == 0;
        a.alignCentre = align == 1;
        a.alignRight = align == 2;
        TextCanvas canvas;
        render(canvas, l, db.demo());
        const auto label = canvas.find("Выработка: ").at(0).box;
        const auto value = canvas.find("1").at(0).box;
        const auto wide = canvas.find("Абсолютная отметка выработки: ").at(0).box;
        SCOPED_TRACE(align);
        EXPECT_EQ(label.right(), value.x) << "a value starts where its label ends";
        const double expected[] = {x0, wide.right(), canvas.find("Скважина").at(0).box.right()};
        const double got[] = {label.x, label.right(), value.right()};
        EXPECT_EQ(got[align], expected[align]);
    }
}

TEST(BoreholeSheet, LayoutPreviewGolden) {
    TextCanvas canvas;
    datasheet::DrawLayoutPreview(canvas, test::SeededDatabase::get().layout(),
                                 datasheet::kTitleLabels, datasheet::kTableLines);
    EXPECT_TRUE(test::matchesGolden(kGolden / "borehole-sheet-preview", canvas.dump()));
    EXPECT_EQ(canvas.find("<тип пробы>").size(), 5u);
    EXPECT_EQ(canvas.find("ИГЭ #5").size(), 1u);
}
