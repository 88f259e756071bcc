// A section's DXF set: golden sheets, legend and description of the demonstration section and of
// a two-borehole section with hatch boundaries; the settings file; the delivery with its
// refusals, archive and clean-up.
#include "connect/auto_connect.h"
#include "dict/consistency_type.h"
#include "drawing/drawing_fixture.h"
#include "export/dxf_export.h"
#include "export/legend_dxf.h"
#include "export_support.h"
#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace orvo;
using namespace orvo::exporter;

namespace {

const platform::FixedTextMetrics kMetrics(0.75, 0.5);

std::string asText(const platform::Bytes& b) {
    return std::string(b.begin(), b.end());
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(SectionDxfGolden, DemoSectionSheetsLegendAndDescription) {
    test::DrawingFixture f;
    ASSERT_TRUE(f.prepared);
    const auto dxf = BuildSectionDxf(f.folder, f.input(), kMetrics, {false, false, "R2_"});
    ASSERT_EQ(dxf.sheetCount(), 2);
    EXPECT_TRUE(test::dxfGolden("dxf-section-2-2-sheet1", asText(dxf.files[0])));
    EXPECT_TRUE(test::dxfGolden("dxf-section-2-2-sheet2", asText(dxf.files[1])));
    EXPECT_TRUE(test::dxfGolden("dxf-section-2-2-legend", asText(dxf.files[2])));
    EXPECT_TRUE(test::matchesGolden(std::filesystem::path(ORVO_GOLDEN_DIR) / "dxf-description",
                                    platform::cp1251ToUtf8(asText(dxf.description))));
    // Sheet 2 takes the other sheets' title block; both carry FSH styles of their own block.
    EXPECT_NE(asText(dxf.files[0]).find("FSH000"), std::string::npos);
    // Without boundaries nothing on Htr is closed.
    EXPECT_EQ(count(asText(dxf.files[0]), "Htr\r\n  6\r\nCONTINUOUS\r\n 70"), 0u);
    // Sizes: the sheet's design width and the legend's 210 mm.
    EXPECT_NEAR(dxf.sizes[0].first, 852.3, 0.05);
    EXPECT_DOUBLE_EQ(dxf.sizes[2].first, 210);
}

// A section of the demonstration's first two boreholes, joined automatically, with boundaries:
// one sheet, so 0.DXF and 1.DXF; every area's boundary is closed and does not repeat its first
// vertex.
TEST(SectionDxfGolden, TwoBoreholesWithBoundaries) {
    test::DemoDatabase db;
    ASSERT_TRUE(db.made);
    auto section = section::ReadSection(db.folder, 1, 2);
    ASSERT_TRUE(section);
    section->boreholes.resize(2);
    platform::RecordingMessageSink sink;
    auto prepared = drawing::PrepareSectionDrawing(db.store, sink, 1, std::nullopt, *section,
                                                   drawing::TextSource::SectionDialog);
    ASSERT_TRUE(prepared);
    auto& in = prepared->input;
    in.model.lines.clear();
    ASSERT_TRUE(connect::AutoConnect(in.model, connect::LineStyle::Straight, 1));
    in.layout.stampFirstSheet = 0; // title block 0: no block, no FSH styles
    const auto dxf = BuildSectionDxf(db.folder, in, kMetrics, {true, true, "R9_"});
    ASSERT_EQ(dxf.files.size(), 2u);
    const auto sheet = asText(dxf.files[0]);
    EXPECT_TRUE(test::dxfGolden("dxf-section-two-boreholes", sheet));
    EXPECT_EQ(sheet.find("FSH"), std::string::npos);
    EXPECT_EQ(count(sheet, "Shtamp\r\n"), 1u); // the layer table only
    const auto closedHtr = count(sheet, "Htr\r\n  6\r\nCONTINUOUS\r\n 70\r\n     1");
    EXPECT_EQ(closedHtr, 3u); // the areas of IGE 1, 2 and 3а
    const auto text = platform::cp1251ToUtf8(asText(dxf.description));
    EXPECT_NE(text.find("- R9_0.dxf  - лист 1"), std::string::npos);
    EXPECT_NE(text.find("- R9_1.dxf  - лист Условных обозначений"), std::string::npos);
    EXPECT_NE(text.find("архивный файл R9_.ZIP"), std::string::npos);
    drawing::FinishSectionDrawing(db.folder, *prepared);
}

// The legend grows by 165 mm per column of the IGE table; a deleted consistency type keeps its
// box and name but draws no pattern.
TEST(LegendDxf, ColumnsAndDeletedTypes) {
    test::DrawingFixture f;
    ASSERT_TRUE(f.prepared);
    auto& in = f.input();
    const auto entries = in.igeList.entries;
    struct Case {
        std::size_t rows;
        double width;
    };
    for (const auto& c : {Case{5, 210}, Case{50, 375}, Case{100, 540}}) {
        in.igeList.entries.clear();
        for (std::size_t i = 0; i < c.rows; ++i)
            in.igeList.entries.push_back(entries[i % entries.size()]);
        DxfWriter w;
        DxfDictionaries d(f.folder);
        EXPECT_DOUBLE_EQ(WriteLegendDxf(w, d, in), c.width) << c.rows;
    }
    in.igeList.entries = entries;
    const auto before = BuildSectionDxf(f.folder, in, kMetrics, {false, false, "R2_"});
    // Every consistency type the section uses goes; the legend loses their patterns only.
    for (int slot = 1; slot < 10; ++slot)
        (void)dict::DeleteConsistencyType(f.folder, slot);
    const auto after = BuildSectionDxf(f.folder, in, kMetrics, {false, false, "R2_"});
    const auto legendBefore = asText(before.files.back());
    const auto legendAfter = asText(after.files.back());
    EXPECT_LT(count(legendAfter, "POLYLINE"), count(legendBefore, "POLYLINE"));
    EXPECT_EQ(count(legendAfter, "Txt3"), count(legendBefore, "Txt3"));
    EXPECT_LT(asText(after.files[0]).size(), asText(before.files[0]).size());
}

namespace {

class RecordingOpener : public platform::FileOpener {
public:
    std::vector<std::filesystem::path> opened;
    bool open(const std::filesystem::path& file) override {
        opened.push_back(file);
        return true;
    }
};

} // namespace

// The icon button: every file into the temporary folder as "<time>-<i>.DXF", each opened; the
// working folder keeps nothing.
TEST(OpenSectionDxf, WritesIntoTheTemporaryFolderAndOpensEach) {
    test::DemoDatabase db;
    ASSERT_TRUE(db.made);
    const auto tmp = db.dir.path() / "tmp";
    std::filesystem::create_directories(tmp);
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    ::setenv("TMPDIR", tmp.c_str(), 1);
    auto section = section::ReadSection(db.folder, 1, 2);
    ASSERT_TRUE(section);
    platform::RecordingMessageSink sink;
    RecordingOpener opener;
    const auto before = db.folder.listFolder("");
    const auto files =
        OpenSectionDxf(db.store, sink, 1, 2, *section, ExportEnvironment(kMetrics), opener);
    if (old)
        ::setenv("TMPDIR", saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(opener.opened, files);
    for (const auto& file : files) {
        EXPECT_EQ(file.parent_path(), tmp);
        EXPECT_EQ(file.extension(), ".DXF");
        EXPECT_TRUE(std::filesystem::exists(file));
    }
    EXPECT_EQ(db.folder.listFolder(""), before);
}

TEST(ExportSettings, RoundTripShortFileAndDefaults) {
    const ExportSettings s{false, "/home/геолог/чертежи", true};
    const auto bytes = exportSettingsBytes(s);
    ASSERT_EQ(bytes.size(), 264u);
    const auto back = parseExportSettings(bytes, "/x");
    EXPECT_EQ(back.archive, false);
    EXPECT_EQ(back.path, s.path);
    EXPECT_EQ(back.hatchBoundary, true);
    const std::vector<std::uint8_t> shortFile(bytes.begin(), bytes.begin() + 263);
    const auto defaults = parseExportSettings(shortFile, "/home/u");
    EXPECT_TRUE(defaults.archive);
    EXPECT_FALSE(defaults.hatchBoundary);
    EXPECT_EQ(defaults.path, "/home/u");
}

TEST(ExportNames, SplitPrefixAndRefusals) {
    struct Split {
        const char* chosen;
        const char* folder;
        const char* prefix;
    };
    for (const auto& c : {Split{"C:\\OUT\\R12_.DXF", "C:\\OUT", "R12_"},
                          Split{"/tmp/out/R12.a.b", "/tmp/out", "R12"}, Split{"R3_", "", "R3_"}}) {
        const auto [folder, prefix] = splitChosenName(c.chosen);
        EXPECT_EQ(folder, c.folder) << c.chosen;
        EXPECT_EQ(prefix, c.prefix) << c.chosen;
    }
    EXPECT_FALSE(checkPrefix("/tmp", "R2_", 3));
    EXPECT_FALSE(checkPrefix("/tmp", "Разрез_", 3));
    for (const char* bad : {"a/b", "a\\b", "..", "x..y"})
        EXPECT_TRUE(checkPrefix("/tmp", bad, 3)) << bad;
    EXPECT_TRUE(checkPrefix("/tmp/" + std::string(250, 'd'), "R2_", 3));
    EXPECT_EQ(deliveredNames("R2_", 3, false),
              (std::vector<std::string>{"R2_0.DXF", "R2_1.DXF", "R2_2.DXF", "R2_.txt"}));
    EXPECT_EQ(deliveredNames("R2_", 3, true), (std::vector<std::string>{"R2_.zip", "R2_.txt"}));
}

namespace {

// The demonstration database, its section 2 and an export into a folder of the test's own.
struct ExportFixture : test::DemoDatabase {
    platform::RecordingMessageSink sink;
    ExportEnvironment env{kMetrics};
    std::filesystem::path out = dir.path() / "out";
    int dialogs = 0;

    ExportFixture() { std::filesystem::create_directories(out); }

    ExportOutcome run(std::optional<ExportChoice> choice, std::int32_t sectionNumber = 2) {
        auto section = section::ReadSection(folder, 1, sectionNumber);
        EXPECT_TRUE(section);
        return ExportSectionDxf(
            store, sink, 1, sectionNumber, *section, drawing::TextSource::SectionDialog,
            [&](const ExportDialogInfo& info) {
                ++dialogs;
                EXPECT_EQ(info.prefix, "R2_");
                EXPECT_EQ(info.sheets, 2);
                return choice;
            },
            env);
    }
    ExportChoice choice(bool archive, const std::string& prefix = "R2_") const {
        return {{archive, out.string(), false}, prefix, true};
    }
    std::vector<std::string> delivered() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(out))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> workFiles() const {
        auto names = folder.listFolder("");
        std::sort(names.begin(), names.end());
        return names;
    }
    bool said(const std::string& text) const {
        for (const auto& e : sink.entries())
            if (e.text == text)
                return true;
        return false;
    }
};

} // namespace

TEST(ExportSectionDxf, DeliversSheetsAndDescriptionAndCleansUp) {
    ExportFixture f;
    ASSERT_TRUE(f.made);
    const auto before = f.workFiles();
    const auto outcome = f.run(f.choice(false));
    EXPECT_TRUE(outcome.completed);
    EXPECT_TRUE(f.said(kExportDone));
    EXPECT_EQ(outcome.delivered,
              (std::vector<std::string>{"R2_0.DXF", "R2_1.DXF", "R2_2.DXF", "R2_.txt"}));
    EXPECT_EQ(f.delivered(),
              (std::vector<std::string>{"R2_.txt", "R2_0.DXF", "R2_1.DXF", "R2_2.DXF"}));
    auto after = f.workFiles();
    after.erase(std::remove(after.begin(), after.end(), "DXF.SAV"), after.end());
    EXPECT_EQ(after, before); // no working file, no WORK.SLO left
    const auto stored = ReadExportSettings(f.folder);
    EXPECT_FALSE(stored.archive);
    EXPECT_EQ(stored.path, f.out.string());
}

TEST(ExportSectionDxf, CancelAndRefusalDeliverNothing) {
    ExportFixture f;
    ASSERT_TRUE(f.made);
    const auto before = f.workFiles();
    EXPECT_FALSE(f.run(std::nullopt).completed);
    EXPECT_EQ(f.dialogs, 1);
    EXPECT_TRUE(f.delivered().empty());
    EXPECT_EQ(f.workFiles(), before); // and no DXF.SAV either

    // A section without boreholes is refused by the layout check: no dialog.
    auto empty = section::ReadSection(f.folder, 1, 2);
    ASSERT_TRUE(empty);
    empty->boreholes.clear();
    const auto outcome = ExportSectionDxf(
        f.store, f.sink, 1, 2, *empty, drawing::TextSource::SectionDialog,
        [&](const ExportDialogInfo&) {
            ++f.dialogs;
            return std::optional(f.choice(false));
        },
        f.env);
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(f.dialogs, 1);
    EXPECT_EQ(f.workFiles(), before);
}

TEST(ExportSectionDxf, FullDiskStopsWithoutCompletion) {
    ExportFixture f;
    ASSERT_TRUE(f.made);
    f.env.freeSpace = [](const std::filesystem::path&) {
        return std::optional<std::uint64_t>(100);
    };
    const auto outcome = f.run(f.choice(false));
    EXPECT_FALSE(outcome.completed);
    EXPECT_TRUE(f.said(kNoSpace));
    EXPECT_FALSE(f.said(kExportDone));
    EXPECT_TRUE(f.delivered().empty());
}

TEST(ExportSectionDxf, ArchiveWithACyrillicPrefix) {
    ExportFixture f;
    ASSERT_TRUE(f.made);
    const auto outcome = f.run(f.choice(true, "Разрез_"));
    EXPECT_TRUE(outcome.completed);
    EXPECT_EQ(f.delivered(), (std::vector<std::string>{"Разрез_.txt", "Разрез_.zip"}));
    const auto zip = test::readText(f.out / "Разрез_.zip");
    // Local headers with the UTF-8 name flag (bit 11) and the names as given.
    EXPECT_EQ(zip.substr(0, 4), std::string("PK\x03\x04", 4));
    EXPECT_EQ(static_cast<unsigned char>(zip[7]) & 0x08, 0x08);
    for (const char* name : {"Разрез_0.DXF", "Разрез_1.DXF", "Разрез_2.DXF"})
        EXPECT_NE(zip.find(name), std::string::npos) << name;
    const auto description = platform::cp1251ToUtf8(test::readText(f.out / "Разрез_.txt"));
    EXPECT_NE(description.find("архивный файл Разрез_.ZIP"), std::string::npos);
}

TEST(ExportSectionDxf, FailedArchiveLeavesNoFile) {
    ExportFixture f;
    ASSERT_TRUE(f.made);
    // The target folder is a file: nothing can be written there.
    std::filesystem::remove(f.out);
    test::writeBytes(f.out, {'x'});
    const auto outcome = f.run(f.choice(true));
    EXPECT_FALSE(outcome.completed);
    EXPECT_FALSE(f.said(kExportDone));
    EXPECT_TRUE(outcome.delivered.empty());
    EXPECT_FALSE(std::filesystem::exists(f.out.parent_path() / "R2_.zip"));
    const auto bad = f.run(f.choice(false, "../R2_"));
    EXPECT_FALSE(bad.completed);
}
