// The borehole file: layout, refusals, saving with numbering and the name check.
#include "borehole/borehole_record.h"
#include "support/db_builder.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::borehole;

namespace {

Borehole sample() {
    Borehole b = newBorehole(7);
    b.header.name.setUtf8("Скв.3");
    b.header.elevation = 151.25f;
    b.header.depth = 12.0f;
    b.header.type = 1;
    IgeLayer l;
    l.ige.setUtf8("3а");
    l.baseDepth = 4.5f;
    l.consistency = 2;
    b.ige = {l, l};
    b.ige[1].ige.setUtf8("ABCDEFGHIJ", 10); // ten characters, no terminator
    b.ige[1].baseDepth = 12.0f;
    WaterHorizon w;
    w.date.setUtf8("12.05.26", 8);
    w.depth = 3.2f;
    w.kind = 1;
    b.water = {w};
    b.samples = {{2.0f, 1}, {5.5f, 2}, {9.0f, 3}};
    return b;
}

} // namespace

TEST(BoreholeFile, LayoutAndRoundTrip) {
    const auto bytes = boreholeBytes(sample());
    ASSERT_EQ(bytes.size(), 38u + 2 * 16 + 14 + 3 * 6);
    EXPECT_EQ(bytes[32], 2); // nIge
    EXPECT_EQ(bytes[34], 1); // nWater
    EXPECT_EQ(bytes[36], 3); // nSamples
    EXPECT_EQ(bytes[38], '3');
    EXPECT_EQ(bytes[39], 0xE0); // "а"
    EXPECT_EQ(bytes[40], 0);
    EXPECT_EQ(bytes[38 + 14], 2); // consistency of the first layer
    EXPECT_EQ(bytes[38 + 16 + 9], 'J');
    const std::size_t water = 38 + 32;
    EXPECT_EQ(std::string(bytes.begin() + water, bytes.begin() + water + 8), "12.05.26");
    const std::size_t samples = water + 14;
    EXPECT_EQ(bytes[samples + 4], 1);
    EXPECT_EQ(bytes[samples + 6 + 4], 2);
    auto back = parseBorehole(bytes, "f");
    ASSERT_TRUE(back);
    EXPECT_EQ(boreholeBytes(*back), bytes);
    EXPECT_EQ(back->ige[1].ige.bytes(), "ABCDEFGHIJ");
}

TEST(BoreholeFile, CountsAndSizesThatDisagreeAreRefused) {
    const auto good = boreholeBytes(sample());
    auto tooLong = good;
    tooLong.push_back(0);
    const store::Bytes tooShort(good.begin(), good.end() - 1);
    auto bigCount = good;
    bigCount[32] = 101;
    auto negative = good;
    negative[36] = 0xFF;
    negative[37] = 0xFF;
    for (const auto& bad : {tooLong, tooShort, bigCount, negative, store::Bytes(37, 0)}) {
        auto r = parseBorehole(bad, "DATA\\00001.OBJ\\00000007.SKV");
        ASSERT_FALSE(r);
        EXPECT_EQ(r.error().text, "Неверный формат файла \"DATA\\00001.OBJ\\00000007.SKV\"");
    }
    // A hundred rows is the most a table may hold, and is fine.
    Borehole full = newBorehole(1);
    full.samples.assign(100, SampleRecord{1.0f, 1});
    EXPECT_TRUE(parseBorehole(boreholeBytes(full), "f"));
}

TEST(BoreholeFile, SavingNumbersOnceAndChecksNames) {
    test::TempDir dir;
    test::DbBuilder db(dir.path());
    db.object(1, "Объект");
    db.borehole(1, 5, "1");
    platform::WorkFolder folder(dir.path());
    store::ProjectStore store(folder);
    store::StatusRecord status;
    status.nextBoreholeNumber = 6;
    Borehole b = sample();
    // The first save fails after the number is taken (a folder stands where the file goes);
    // trying again keeps that number instead of taking another.
    const auto blocker = dir / "DATA/00001.OBJ/00000006.SKV";
    std::filesystem::create_directories(blocker / "x");
    std::int32_t number = 0;
    EXPECT_FALSE(SaveNewBorehole(store, status, 1, number, b));
    EXPECT_EQ(number, 6);
    EXPECT_EQ(*store.ReadBoreholeList(1), std::vector<std::int32_t>{5});
    std::filesystem::remove_all(blocker);
    ASSERT_TRUE(SaveNewBorehole(store, status, 1, number, b));
    EXPECT_EQ(number, 6);
    EXPECT_EQ(status.nextBoreholeNumber, 7);
    EXPECT_EQ(store.LoadStatus()->nextBoreholeNumber, 7);
    auto read = ReadBorehole(folder, 1, 6);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->header.number, 6);
    b.header.number = 6;
    ASSERT_TRUE(SaveBorehole(store, 1, b)); // saved again: listed once
    EXPECT_EQ(*store.ReadBoreholeList(1), (std::vector<std::int32_t>{5, 6}));

    store::FixedText<10> name;
    name.setUtf8("1");
    EXPECT_TRUE(*BoreholeNameTaken(store, 1, name, 6));  // "1" is borehole 5
    EXPECT_FALSE(*BoreholeNameTaken(store, 1, name, 5)); // its own name
    name.setUtf8("1   ");
    EXPECT_TRUE(*BoreholeNameTaken(store, 1, name, 6)); // trailing spaces do not count
    name.setUtf8("Скв.3");
    EXPECT_FALSE(*BoreholeNameTaken(store, 1, name, 6));
    name.setUtf8("скв.3"); // case matters
    EXPECT_FALSE(*BoreholeNameTaken(store, 1, name, 5));
}
