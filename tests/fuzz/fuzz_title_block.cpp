// Fuzzes the title block readers: list, item file, exchange file and its import.
#include "dict/title_block.h"
#include "dict/title_block_draw.h"
#include "fuzz_folder.h"
#include "platform/recording_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo::dict;
    auto& f = orvo::fuzz::folder();
    std::filesystem::create_directories(f.root / "DATA/DIC");
    f.put("DATA/DIC/00001.SHT", data, size);
    f.put("DATA/DIC/shtamp.sps", data, size);
    if (auto block = ReadTitleBlock(f.folder, 1)) {
        orvo::platform::RecordingCanvas canvas;
        DrawTitleBlock(canvas, *block, {0, 0}, 0.4);
        auto again = parseTitleBlock(titleBlockBytes(*block), "again");
        if (!again || titleBlockBytes(*again) != titleBlockBytes(*block))
            __builtin_trap();
    }
    auto list = ReadTitleBlockList(f.folder);
    auto item = parseExchange({data, size});
    if (item && list) {
        const auto slot = findTitleBlockByName(*list, item->record);
        if (!slot || *slot != 0) {
            auto imported = ImportTitleBlock(f.folder, *item, slot);
            if (imported && !ReadTitleBlock(f.folder, *imported))
                __builtin_trap();
        }
    }
    return 0;
}
