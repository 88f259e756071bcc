// Fuzzes the hatch readers: the stored item file with the renderer, and the exchange file with
// its import. The drawing runs on a counting canvas: whatever the file holds, the work stays
// bounded by the cull box.
#include "dict/hatch.h"
#include "fuzz_folder.h"
#include "platform/recording_canvas.h"

namespace {

class CountingCanvas : public orvo::platform::RecordingCanvas {
public:
    void drawLine(orvo::platform::PointF, orvo::platform::PointF) override { ++lines; }
    long lines = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo::dict;
    const HatchPattern stored = parseHatchItem({data, size});
    HatchSymbolShapes shapes;
    for (std::size_t i = 0; i < stored.symbols.size(); ++i)
        shapes.push_back(HatchSymbolShape{150, 120, 0, 0, {}});
    // A 20 x 10 mm box (76 x 38 units) on an A0 sheet at 96 dpi.
    CountingCanvas canvas;
    const HatchDrawStats stats =
        DrawHatch(canvas, stored, shapes, 96, 0, 0, 3179, 4494, 0, 1, {1500, 2000, 1576, 2038});
    // Per element at most a line per position across the box (an inclined line at most 58
    // units across per unit down) or four tiles per unit of its area, and a search of some
    // dozens of probes per position: far more means the work grew with something else.
    constexpr long kPerElement = 4 * 78 * 40;
    if (canvas.lines > 300 * kPerElement || stats.examined > 300 * 64 * kPerElement)
        __builtin_trap();
    if (hatchItemBytes(parseHatchItem(hatchItemBytes(stored))) != hatchItemBytes(stored))
        __builtin_trap();

    auto item = parseHatchExchange({data, size});
    if (!item)
        return 0;
    // What an import accepts comes back out byte for byte.
    if (hatchItemBytes(item->pattern) != item->item)
        __builtin_trap();
    auto& f = orvo::fuzz::folder();
    std::filesystem::create_directories(f.root / "DATA/DIC");
    f.folder.removeFile(kHatchList);
    auto slot = ImportHatch(f.folder, *item, [](const std::string&) {
        return HatchImportAnswer{HatchImportAnswer::Choice::Overwrite, {}};
    });
    if (!slot || !*slot || LoadHatch(f.folder, **slot)->lines != item->pattern.lines)
        __builtin_trap();
    return 0;
}
