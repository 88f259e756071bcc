// A sheet sink that records each sheet's two canvases as text, for golden tests.
#pragma once
#include "drawing/render_section.h"
#include "platform/recording_canvas.h"

#include <memory>
#include <vector>

namespace orvo::drawing {

class RecordingSheetSink : public SheetSink {
public:
    struct Sheet {
        std::unique_ptr<platform::RecordingCanvas> p =
            std::make_unique<platform::RecordingCanvas>();
        std::unique_ptr<platform::RecordingCanvas> h =
            std::make_unique<platform::RecordingCanvas>();
        std::int64_t widthPx = 0;
        std::int64_t heightPx = 0;
    };

    explicit RecordingSheetSink(double dpi = 254) : m_dpi(dpi) {}
    double dpiX() const override { return m_dpi; }
    double dpiY() const override { return m_dpi; }
    SheetCanvases beginSheet(int) override {
        sheets.emplace_back();
        return {*sheets.back().p, *sheets.back().h};
    }
    void endSheet(int, std::int64_t widthPx, std::int64_t heightPx) override {
        sheets.back().widthPx = widthPx;
        sheets.back().heightPx = heightPx;
    }

    std::vector<Sheet> sheets;

private:
    double m_dpi;
};

} // namespace orvo::drawing
