// The demonstration section prepared for drawing, and the parts of a sheet drawn one at a time.
#pragma once
#include "drawing/prepare.h"
#include "drawing/recording_sheet_sink.h"
#include "drawing/sheet_parts.h"
#include "platform/message_sink.h"
#include "platform/recording_canvas.h"
#include "section/section_record.h"
#include "support/demo_db.h"

#include <gtest/gtest.h>

#include <optional>

namespace orvo::test {

inline constexpr double kDpi = 254; // one pixel per design unit

struct DrawingFixture : DemoDatabase {
    platform::RecordingMessageSink sink;
    std::optional<drawing::PreparedSection> prepared;
    drawing::FooterTime time{2026, 12, 8, 9, 5, 7};

    // Section 2 of the demonstration object ("Разрез 2-2": two sheets).
    explicit DrawingFixture(std::int32_t section = 2) {
        EXPECT_TRUE(made) << (made ? "" : made.error().text);
        const auto s = section::ReadSection(folder, 1, section);
        EXPECT_TRUE(s);
        if (s)
            prepared = drawing::PrepareSectionDrawing(store, sink, 1, section, *s,
                                                      drawing::TextSource::StoredSection);
        EXPECT_TRUE(prepared.has_value());
        // The input stays in memory; the working connections go, as after a drawing.
        if (prepared)
            drawing::FinishSectionDrawing(folder, *prepared);
    }
    drawing::SectionDrawingInput& input() { return prepared->input; }

    // Draws one part of sheet `sheet` on a recording canvas and returns the dump.
    template <class Part> std::string part(int sheet, bool withTexts, Part&& draw) {
        const auto g = drawing::MakeSheetGeometry(input().layout, sheet, kDpi, kDpi);
        const drawing::detail::SheetContext s{
            folder, input(), g,        sheet, static_cast<int>(input().layout.sheets.size()),
            kDpi,   kDpi,    withTexts};
        platform::RecordingCanvas canvas;
        draw(canvas, s);
        return canvas.dump();
    }
};

} // namespace orvo::test
