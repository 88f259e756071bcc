// A temporary project with one object whose boreholes tests write and load as a section.
#pragma once
#include "borehole/borehole_record.h"
#include "connect/connection_model.h"
#include "platform/message_sink.h"
#include "store/project_store.h"
#include "support/db_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace orvo::test {

struct ConnectFixture {
    TempDir dir;
    platform::WorkFolder folder{dir.path()};
    store::ProjectStore store{folder};
    platform::RecordingMessageSink sink;

    ConnectFixture() { DbBuilder(dir.path()).object(1, "Площадка"); }

    // A borehole at x with layers given as (IGE number, base depth in metres).
    void hole(std::int32_t number, const std::string& name, float x,
              const std::vector<std::pair<std::string, float>>& layers) {
        auto b = borehole::newBorehole(number);
        b.header.name.setUtf8(name);
        b.header.x = x;
        b.header.y = 2.5f;
        b.header.elevation = 150.0f;
        b.header.depth = layers.empty() ? 5.0f : layers.back().second;
        for (const auto& [ige, depth] : layers) {
            borehole::IgeLayer l;
            l.ige.setUtf8(ige);
            l.baseDepth = depth;
            b.ige.push_back(l);
        }
        ASSERT_TRUE(borehole::SaveBorehole(store, 1, b));
    }

    connect::ConnectionModel load(const std::vector<std::int32_t>& numbers) {
        auto m = connect::LoadSectionBoreholes(folder, 1, numbers);
        EXPECT_TRUE(m) << (m ? "" : m.error().text);
        return m ? std::move(*m) : connect::ConnectionModel{};
    }
};

// Joins row r of borehole b to row r of borehole b + 1, as automatic connection would.
inline void joinRow(connect::ConnectionModel& m, std::int32_t b, std::int32_t row) {
    ASSERT_TRUE(m.addLine({m.boreholePointIndex(b, row), m.boreholePointIndex(b + 1, row), {}, 1}));
}

// A bend point in interval b on a line from row `row` of b to row `row` of b + 1: two lines.
inline std::int32_t bendRow(connect::ConnectionModel& m, std::int32_t b, std::int32_t row) {
    const auto first = m.lineCount();
    const auto bend = m.pointCount();
    EXPECT_TRUE(m.addPoint({connect::PointKind::Bend, b, first, 300, 100 * (row + 1)}));
    EXPECT_TRUE(m.addLine({m.boreholePointIndex(b, row), bend, connect::LineStyle::Wavy, 0}));
    EXPECT_TRUE(m.addLine({bend, m.boreholePointIndex(b + 1, row), connect::LineStyle::Wavy, 0}));
    return bend;
}

} // namespace orvo::test
