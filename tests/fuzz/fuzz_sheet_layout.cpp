// Fuzzes the data-sheet layout reader and draws a 100/100/100-row borehole and the layout
// preview with whatever it accepts: no crash, no hang, and at most 1 + rows + 3 pages.
#include "datasheet/borehole_sheet.h"
#include "datasheet/sheet_layout.h"
#include "fuzz_folder.h"
#include "platform/recording_canvas.h"

namespace {

const orvo::borehole::BoreholeEditData& fullBorehole() {
    static const auto data = [] {
        orvo::borehole::Borehole b = orvo::borehole::newBorehole(1);
        for (int i = 0; i < orvo::borehole::kMaxRows; ++i) {
            orvo::borehole::IgeLayer l;
            l.ige.raw.fill('7'); // no terminator
            l.baseDepth = static_cast<float>(i);
            l.consistency = static_cast<std::int16_t>(i - 1);
            b.ige.push_back(l);
            orvo::borehole::WaterHorizon w;
            w.date.raw.fill('1');
            w.depth = static_cast<float>(i);
            b.water.push_back(w);
            b.samples.push_back({static_cast<float>(i), static_cast<std::int16_t>(i)});
        }
        return orvo::borehole::BoreholeEditData::from(b);
    }();
    return data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo::datasheet;
    auto& f = orvo::fuzz::folder();
    f.put("DATA/View_SKV.prm", data, size);
    auto layout = ReadSheetLayout(f.folder);
    if (!layout)
        return 0;
    if (sheetLayoutBytes(*layout) != orvo::store::Bytes(data, data + SheetLayout::kSize))
        __builtin_trap(); // what is read is written back unchanged
    orvo::platform::RecordingCanvas canvas;
    const int rows = 3 * orvo::borehole::kMaxRows;
    const int pages = RenderBoreholeSheet(canvas, *layout, fullBorehole(), SheetNames{}, kAllParts);
    if (pages < 1 || pages > 1 + rows + 3)
        __builtin_trap();
    canvas.clear();
    DrawLayoutPreview(canvas, *layout, static_cast<int>(size % 7) - 1,
                      static_cast<int>(size % 5) - 1, 1 + static_cast<double>(size % 3));
    return 0;
}
