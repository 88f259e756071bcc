// Merging stored connections into a fresh model, the change report and its box.
#include "connect/connection_file.h"
#include "connect/reconcile.h"
#include "connect_fixture.h"
#include "store/store_paths.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvo;
using namespace orvo::connect;

namespace {

using Lines = std::vector<std::string>;

// Four boreholes A..D (file numbers 1..4), each interval joined at the collar and at row 1, the
// middle interval also bent at row 2.
class Merge : public ::testing::Test {
protected:
    void SetUp() override {
        const char* names[] = {"A", "B", "C", "D"};
        for (std::int32_t n = 1; n <= 4; ++n)
            f.hole(n, names[n - 1], 10.0f * static_cast<float>(n),
                   {{"1", 2.0f}, {"2", 4.0f}, {"1", 6.0f}});
        stored = f.load({1, 2, 3, 4});
        for (std::int32_t b = 0; b < 3; ++b) {
            test::joinRow(stored, b, 0);
            test::joinRow(stored, b, 1);
        }
        test::bendRow(stored, 1, 2);
    }

    Lines merge(ConnectionModel& fresh) {
        auto report = mergeConnections(fresh, stored);
        EXPECT_TRUE(report);
        return report ? *report : Lines{"refused"};
    }

    // Lines of the model as pairs of (borehole, row) or (-1, free point index) ends.
    // The merge lists lines interval by interval, so they are compared in sorted order.
    static std::vector<std::pair<std::int32_t, std::int32_t>> ends(const ConnectionModel& m) {
        std::vector<std::pair<std::int32_t, std::int32_t>> out;
        for (const auto& l : m.lines) {
            for (const auto p : {l.from, l.to}) {
                const auto& pt = m.points[static_cast<std::size_t>(p)];
                out.emplace_back(pt.isFree() ? -1 : pt.borehole,
                                 pt.isFree() ? p : p - m.boreholePointIndex(pt.borehole, 0));
            }
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    test::ConnectFixture f;
    ConnectionModel stored;
};

} // namespace

TEST_F(Merge, UnchangedSectionKeepsEverythingWithoutReport) {
    auto fresh = f.load({1, 2, 3, 4});
    EXPECT_EQ(merge(fresh), Lines{});
    EXPECT_EQ(ends(fresh), ends(stored));
    // Once saved in interval order, merging again gives the same file.
    stored = fresh;
    auto again = f.load({1, 2, 3, 4});
    EXPECT_EQ(merge(again), Lines{});
    EXPECT_EQ(connectionBytes(again), connectionBytes(stored));
}

TEST_F(Merge, NamesAndIgeLabelsDoNotCount) {
    f.hole(2, "B-renamed", 20.0f, {{"7", 2.0f}, {"8", 4.0f}, {"9", 6.0f}});
    auto fresh = f.load({1, 2, 3, 4});
    EXPECT_EQ(merge(fresh), Lines{});
    EXPECT_EQ(fresh.lineCount(), stored.lineCount());
    EXPECT_EQ(ends(fresh), ends(stored));
}

TEST_F(Merge, ChangedLayerDropsBothIntervalsOfThatBorehole) {
    f.hole(3, "C", 30.0f, {{"1", 2.0f}, {"2", 4.01f}, {"1", 6.0f}});
    auto fresh = f.load({1, 2, 3, 4});
    EXPECT_EQ(merge(fresh), Lines{"Атрибуты выработки C изменены."});
    // Only interval A-B survives: its collar and row-1 lines.
    EXPECT_EQ(ends(fresh),
              (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
    EXPECT_EQ(fresh.pointCount(), fresh.boreholePointTotal());
}

TEST_F(Merge, RemovedBoreholeIsReportedBeforeTheList) {
    auto fresh = f.load({1, 2, 3});
    EXPECT_EQ(merge(fresh), (Lines{"Выработка D удалена.", "Изменен список выработок."}));
    // A-B and B-C with its bend point stay.
    EXPECT_EQ(fresh.lineCount(), 6);
    EXPECT_EQ(fresh.pointCount(), fresh.boreholePointTotal() + 1);
}

TEST_F(Merge, CarriedByPairAndOrientationOnly) {
    auto reversed = f.load({4, 3, 2, 1});
    EXPECT_EQ(merge(reversed), Lines{"Изменен список выработок."});
    EXPECT_EQ(reversed.lineCount(), 0);
    EXPECT_EQ(reversed.pointCount(), reversed.boreholePointTotal());
    // A-C and B-D are new neighbours, C-B is B-C reversed.
    auto shuffled = f.load({1, 3, 2, 4});
    EXPECT_EQ(merge(shuffled), Lines{"Изменен список выработок."});
    EXPECT_EQ(shuffled.lineCount(), 0);
    auto shifted = f.load({2, 3, 4});
    EXPECT_EQ(merge(shifted), (Lines{"Выработка A удалена.", "Изменен список выработок."}));
    EXPECT_EQ(shifted.lineCount(), 6);
    const auto bend = shifted.points.back();
    EXPECT_EQ(bend.kind, PointKind::Bend);
    EXPECT_EQ(bend.borehole, 0); // interval B-C is now the first one
}

TEST_F(Merge, RowsMapRowByRowEvenWhenIgeRepeats) {
    // Rows 1 and 3 both hold IGE "1": the row-3 bases stay joined to each other.
    test::joinRow(stored, 0, 3);
    auto fresh = f.load({1, 2, 3, 4});
    EXPECT_EQ(merge(fresh), Lines{});
    const auto& last = fresh.lines[2]; // interval A-B comes first
    EXPECT_EQ(last.from, fresh.boreholePointIndex(0, 3));
    EXPECT_EQ(last.to, fresh.boreholePointIndex(1, 3));
}

TEST_F(Merge, ParentLinesFollowTheCompleteLineMap) {
    // Bends added after the middle interval's lines: their old parent indexes coincide with new
    // indexes that earlier intervals hand out, which a step-by-step remap would confuse.
    test::bendRow(stored, 0, 3);
    test::bendRow(stored, 2, 3);
    auto fresh = f.load({1, 2, 3, 4});
    EXPECT_EQ(merge(fresh), Lines{});
    std::int32_t free = 0;
    for (std::int32_t i = 0; i < fresh.pointCount(); ++i) {
        const auto& p = fresh.points[static_cast<std::size_t>(i)];
        if (!p.isFree())
            continue;
        ++free;
        ASSERT_GE(p.ref, 0);
        ASSERT_LT(p.ref, fresh.lineCount());
        const auto& parent = fresh.lines[static_cast<std::size_t>(p.ref)];
        EXPECT_TRUE(parent.from == i || parent.to == i) << i;
    }
    EXPECT_EQ(free, 3);
}

TEST_F(Merge, CapacityOverflowLeavesTheFreshModelAlone) {
    // 590 free points in interval A-B fit four boreholes but not the two that remain.
    for (int i = 0; i < 590; ++i)
        ASSERT_TRUE(stored.addPoint({PointKind::PinchOut, 0, 0, i, 10}));
    auto fresh = f.load({1, 2});
    const auto before = connectionBytes(fresh);
    auto refused = mergeConnections(fresh, stored);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().text, pointCapacityError().text);
    EXPECT_EQ(connectionBytes(fresh), before);
}

TEST_F(Merge, ReconcileWritesShowsAndDeletesTheReport) {
    ASSERT_TRUE(SaveConnections(f.folder, stored));
    auto same = f.load({1, 2, 3, 4});
    ASSERT_TRUE(ReconcileConnections(f.folder, f.sink, same, 1, std::nullopt));
    EXPECT_FALSE(f.folder.exists(kChangeReport));
    EXPECT_FALSE(ShowChangeReport(f.folder, f.sink, true));
    EXPECT_TRUE(f.sink.empty());

    auto fewer = f.load({1, 2, 3});
    ASSERT_TRUE(ReconcileConnections(f.folder, f.sink, fewer, 1, std::nullopt));
    const auto raw = test::readBytes(f.dir / "SLO.CMP");
    EXPECT_EQ(std::string(raw.begin(), raw.end()),
              platform::utf8ToCp1251("Выработка D удалена.\nИзменен список выработок.\n"));
    ASSERT_TRUE(ShowChangeReport(f.folder, f.sink, true));
    ASSERT_EQ(f.sink.entries().size(), 1u);
    EXPECT_EQ(f.sink.entries()[0].caption, "Соединение ИГЭ");
    EXPECT_EQ(f.sink.entries()[0].text,
              "Текущее состояние разреза\rне соответствует\rсохраненному описанию соединений "
              "ИГЭ.\rВыработка D удалена.\rИзменен список выработок.\rЗапустите редактор "
              "Соединений ИГЭ");
    EXPECT_FALSE(f.folder.exists(kChangeReport));
    EXPECT_FALSE(ShowChangeReport(f.folder, f.sink, false));
}

TEST_F(Merge, StoredSectionFileIsCopiedWhenThereIsNoWorkingCopy) {
    const auto own = store::paths::sectionFile(1, 7, "SLO");
    ASSERT_TRUE(f.folder.writeAtomic(own, connectionBytes(stored)));
    auto fresh = f.load({1, 2, 3, 4});
    // A new section has no stored file to look at.
    ASSERT_TRUE(ReconcileConnections(f.folder, f.sink, fresh, 1, std::nullopt));
    EXPECT_EQ(fresh.lineCount(), 0);
    EXPECT_FALSE(f.folder.exists(store::paths::kWorkSlo));
    ASSERT_TRUE(ReconcileConnections(f.folder, f.sink, fresh, 1, 7));
    EXPECT_EQ(fresh.lineCount(), stored.lineCount());
    EXPECT_EQ(test::readBytes(f.dir / "WORK.SLO"), connectionBytes(stored));
}

TEST_F(Merge, DamagedWorkingCopyIsReportedAndSkipped) {
    auto bytes = connectionBytes(stored);
    bytes.resize(bytes.size() - 3);
    test::writeBytes(f.dir / "WORK.SLO", bytes);
    test::writeBytes(f.dir / "SLO.CMP", {'x', '\n'}); // left by an interrupted run
    auto fresh = f.load({1, 2, 3, 4});
    ASSERT_TRUE(ReconcileConnections(f.folder, f.sink, fresh, 1, 7));
    EXPECT_EQ(fresh.lineCount(), 0);
    ASSERT_EQ(f.sink.entries().size(), 1u);
    EXPECT_EQ(f.sink.entries()[0].caption, "Warning");
    EXPECT_NE(f.sink.entries()[0].text.find("WORK.SLO"), std::string::npos);
    EXPECT_FALSE(ShowChangeReport(f.folder, f.sink, false));
}
