// Building the connection model from borehole files and the byte layout of its file.
#include "connect/connection_file.h"
#include "connect_fixture.h"
#include "store/store_paths.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace orvo;
using namespace orvo::connect;

namespace {

std::string ige(const IgeName& n) {
    return std::string(n.begin(), n.end());
}

std::int32_t i32At(const platform::Bytes& b, std::size_t at) {
    std::int32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

void putI32(platform::Bytes& b, std::size_t at, std::int32_t v) {
    std::memcpy(b.data() + at, &v, 4);
}

} // namespace

TEST(LoadSectionBoreholes, TableRowsAndIgeListFromTheFiles) {
    test::ConnectFixture f;
    f.hole(10, "Скв.1", 0.29f, {{"1a", 2.29f}, {"2", 5.0f}, {"1a", 7.5f}});
    f.hole(11, "Скв.2", -1.239f, {{"1A", 3.0f}, {"3б", 4.0f}});
    const auto m = f.load({10, 11});
    ASSERT_EQ(m.boreholeCount(), 2);
    const auto& a = m.boreholes[0];
    EXPECT_EQ(a.fileNumber, 10);
    EXPECT_EQ(a.displayName(), "Скв.1");
    EXPECT_EQ(a.x, 28);                // 0.29 in single precision truncates to 28
    EXPECT_EQ(m.boreholes[1].x, -123); // toward zero
    EXPECT_EQ(a.rowDepth, (std::vector<std::int32_t>{0, 228, 500, 750}));
    EXPECT_EQ(a.collarElevation, 15000);
    // Lower- and upper-case Latin give one entry; A, B, A rows share the index of A.
    ASSERT_EQ(m.igeCount(), 4);
    EXPECT_EQ(ige(m.igeNumbers[0]), "          ");
    EXPECT_EQ(ige(m.igeNumbers[1]), "1A        ");
    EXPECT_EQ(ige(m.igeNumbers[2]), "2         ");
    EXPECT_EQ(ige(m.igeNumbers[3]), platform::utf8ToCp1251("3б") + "        ");
    EXPECT_EQ(a.rowIge, (std::vector<std::int32_t>{0, 1, 2, 1}));
    EXPECT_EQ(m.boreholes[1].rowIge, (std::vector<std::int32_t>{0, 1, 3}));
    EXPECT_EQ(m.rowStride(), 4);
    // One borehole point per row, borehole by borehole.
    ASSERT_EQ(m.pointCount(), 7);
    EXPECT_EQ(m.boreholePointIndex(1, 2), 6);
    EXPECT_EQ(m.points[6], (ConnectionPoint{PointKind::Borehole, 1, 3, 0, 400}));
    EXPECT_EQ(m.points[3], (ConnectionPoint{PointKind::Borehole, 0, 1, 0, 750}));
    EXPECT_EQ(m.lineCount(), 0);
}

TEST(LoadSectionBoreholes, RefusalsComeInTheirOrder) {
    test::ConnectFixture f;
    for (std::int32_t n = 1; n <= 3; ++n)
        f.hole(n, "B" + std::to_string(n), static_cast<float>(n), {{"1", 2.0f}});
    std::vector<std::pair<std::string, float>> many;
    for (int i = 1; i <= 100; ++i)
        many.emplace_back("1", static_cast<float>(i));
    f.hole(4, "Deep", 4.0f, many);
    auto refusal = [&](const std::vector<std::int32_t>& list) {
        auto m = LoadSectionBoreholes(f.folder, 1, list);
        EXPECT_FALSE(m);
        return m ? Error{} : m.error();
    };
    EXPECT_EQ(refusal({1}).text, "В резрезе не может быть\rменьше 2-х выработок");
    EXPECT_EQ(refusal({1}).caption, "Stop");
    EXPECT_EQ(refusal({99}).text, tooFewBoreholesError().text); // count before reading
    EXPECT_EQ(refusal({1, 2, 3, 2, 1}).text, "Пара выработок B1-B2\rпоявляется дважды");
    EXPECT_EQ(refusal({1, 1, 2}).text, "Пара выработок B1-B1\rпоявляется дважды");
    // Reading comes before the pair check.
    EXPECT_NE(refusal({1, 2, 1, 99}).text.find("00000099"), std::string::npos);
    EXPECT_NE(refusal({1, 2, 1, 4}).text.find("больше 99 слоев"), std::string::npos);
    EXPECT_EQ(refusal({1, 2, 1, 4}).caption, "Stop");
    many.pop_back();
    f.hole(4, "Deep", 4.0f, many);
    EXPECT_TRUE(LoadSectionBoreholes(f.folder, 1, {1, 4}));
    EXPECT_TRUE(LoadSectionBoreholes(f.folder, 1, {1, 2, 3, 1}));
}

TEST(ConnectionModel, AdditionsStopAtTheCapacities) {
    ConnectionModel m;
    m.boreholes.resize(2);
    m.points.resize(static_cast<std::size_t>(m.pointCapacity()) - 1);
    EXPECT_TRUE(m.addPoint({PointKind::PinchOut, 0, 0, 1, 1}));
    auto refused = m.addPoint({});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().caption, "Stop");
    EXPECT_EQ(m.pointCount(), 400);
    m.lines.resize(199);
    EXPECT_TRUE(m.addLine({}));
    EXPECT_FALSE(m.addLine({}));
    EXPECT_EQ(m.lineCount(), 200);
}

class ConnectionFile : public ::testing::Test {
protected:
    void SetUp() override {
        f.hole(21, "Скв.1", 0.0f, {{"1", 2.0f}, {"2", 4.0f}});
        f.hole(22, "Скв.2", 10.0f, {{"1", 3.0f}});
        model = f.load({21, 22});
        test::joinRow(model, 0, 0);
        test::bendRow(model, 0, 1);
        bytes = connectionBytes(model);
    }
    test::ConnectFixture f;
    ConnectionModel model;
    platform::Bytes bytes;
};

TEST_F(ConnectionFile, LayoutOfEveryRecord) {
    ASSERT_EQ(bytes.size(), 20u + 3 * 10 + 2 * 834 + 6 * 20 + 3 * 16);
    EXPECT_EQ(i32At(bytes, 0), 2);
    EXPECT_EQ(i32At(bytes, 4), 3);
    EXPECT_EQ(i32At(bytes, 8), 3); // row stride
    EXPECT_EQ(i32At(bytes, 12), 6);
    EXPECT_EQ(i32At(bytes, 16), 3);
    EXPECT_EQ(std::string(bytes.begin() + 20, bytes.begin() + 30), "          ");
    const std::size_t hole2 = 50 + 834;
    EXPECT_EQ(i32At(bytes, hole2), 22);
    EXPECT_EQ(bytes[hole2 + 4], 0xD1); // "С"
    EXPECT_EQ(i32At(bytes, hole2 + 14), 1000);
    EXPECT_EQ(i32At(bytes, hole2 + 30), 2);
    EXPECT_EQ(i32At(bytes, hole2 + 34 + 4), 1);    // rowIge[1]
    EXPECT_EQ(i32At(bytes, hole2 + 34 + 8), 0);    // past rowCount
    EXPECT_EQ(i32At(bytes, hole2 + 434 + 4), 300); // rowDepth[1]
    const std::size_t bend = 50 + 2 * 834 + 5 * 20;
    EXPECT_EQ(i32At(bytes, bend), 3);
    EXPECT_EQ(i32At(bytes, bend + 8), 1); // parent line
    EXPECT_EQ(i32At(bytes, bend + 12), 300);
    const std::size_t line2 = bend + 20 + 2 * 16;
    EXPECT_EQ(i32At(bytes, line2), 5);
    EXPECT_EQ(i32At(bytes, line2 + 4), 4);
    EXPECT_EQ(i32At(bytes, line2 + 8), 1);
    EXPECT_EQ(i32At(bytes, line2 + 12), 0);
}

TEST_F(ConnectionFile, SavedAndReadBackByteForByte) {
    ASSERT_TRUE(SaveConnections(f.folder, model));
    EXPECT_EQ(test::readBytes(f.dir / "WORK.SLO"), bytes);
    auto back = ReadConnections(f.folder, store::paths::kWorkSlo);
    ASSERT_FALSE(back.missing);
    ASSERT_TRUE(back.model);
    EXPECT_EQ(back.model->points, model.points);
    EXPECT_EQ(back.model->lines, model.lines);
    EXPECT_EQ(connectionBytes(*back.model), bytes);
    EXPECT_TRUE(ReadConnections(f.folder, "NONE.SLO").missing);
}

TEST_F(ConnectionFile, DamagedFilesAreRefused) {
    for (std::size_t n = 0; n < bytes.size(); n += 7)
        EXPECT_FALSE(parseConnections({bytes.data(), n}, "WORK.SLO")) << n;
    auto longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(parseConnections(longer, "WORK.SLO"));
    const std::size_t points = 50 + 2 * 834;
    const std::size_t lines = points + 6 * 20;
    const std::vector<std::pair<std::size_t, std::int32_t>> damage = {
        {0, 1},                   // one borehole, and the size no longer fits
        {0, 0x40000000},          // sizes that overflow 32 bits
        {12, -1},                 // negative count
        {8, 2},                   // stride smaller than a row count
        {50 + 30, 0},             // borehole without its collar row
        {50 + 34 + 4, 3},         // IGE index past the list
        {50 + 34 + 12, 1},        // row table not zero past rowCount
        {points + 20, 2},         // a borehole row that is no borehole point
        {points + 20 + 4, 1},     // a borehole point on the wrong borehole
        {points + 5 * 20, 5},     // unknown kind of free point
        {points + 5 * 20 + 4, 2}, // free point past the last borehole
        {points + 5 * 20 + 8, 3}, // parent line past the table
        {lines + 4, 6},           // line end past the points
        {lines + 16, -1},         // negative line end
    };
    for (const auto& [at, value] : damage) {
        auto bad = bytes;
        putI32(bad, at, value);
        auto parsed = parseConnections(bad, "WORK.SLO");
        ASSERT_FALSE(parsed) << at;
        EXPECT_EQ(parsed.error().text,
                  "Файл соединений ИГЭ \"WORK.SLO\" поврежден.\rСохраненные соединения не учтены");
    }
}
