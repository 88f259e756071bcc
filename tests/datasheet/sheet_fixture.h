// The default database, seeded once per test program (a failure shows as a missing layout), with
// its demo borehole and layout, and boreholes made up for a test.
#pragma once
#include "borehole/borehole_record.h"
#include "datasheet/sheet_data.h"
#include "datasheet/sheet_layout.h"
#include "seed/seed.h"
#include "support/temp_dir.h"

#include <memory>

namespace orvo::test {

class SeededDatabase {
public:
    static const SeededDatabase& get() {
        static const std::unique_ptr<SeededDatabase> db(new SeededDatabase);
        return *db;
    }
    const std::filesystem::path& root() const { return m_dir.path(); }
    platform::WorkFolder folder() const { return platform::WorkFolder(m_dir.path()); }

    datasheet::SheetLayout layout() const {
        auto l = datasheet::ReadSheetLayout(folder());
        return l ? *l : datasheet::SheetLayout{};
    }
    datasheet::SheetNames names() const { return datasheet::SheetNames::read(folder()); }
    // Demo borehole 1 of object 1, as stored.
    borehole::BoreholeEditData demo() const {
        auto b = borehole::ReadBorehole(folder(), 1, 1);
        return b ? datasheet::sheetDataOf(*b) : borehole::BoreholeEditData{};
    }

private:
    // A seed that fails leaves no layout file, which the tests of the layout notice.
    SeededDatabase() { (void)seed::InitWorkingFolder(m_dir.path(), seed::builtinDefinitions()); }
    TempDir m_dir;
};

// A borehole with the given numbers of rows: IGE "И<n>" every 0.5 m, horizons and samples
// likewise, all with the dictionaries' slot 1.
inline borehole::BoreholeEditData madeUpBorehole(int ige, int water, int samples) {
    borehole::Borehole b = borehole::newBorehole(7);
    b.header.name.setUtf8("С-7");
    b.header.type = 1;
    for (int i = 0; i < ige; ++i) {
        borehole::IgeLayer l;
        l.ige.setUtf8(std::to_string(i + 1), 10);
        l.baseDepth = 0.5f * static_cast<float>(i + 1);
        l.consistency = 1;
        b.ige.push_back(l);
    }
    for (int i = 0; i < water; ++i) {
        borehole::WaterHorizon w;
        w.date.setUtf8("01.02.26", 8);
        w.depth = 0.5f * static_cast<float>(i + 1);
        w.kind = 1;
        b.water.push_back(w);
    }
    for (int i = 0; i < samples; ++i)
        b.samples.push_back({0.5f * static_cast<float>(i + 1), 1});
    return datasheet::sheetDataOf(b);
}

} // namespace orvo::test
