// Fuzzes the soil-element dictionary readers: consistency list, item and exchange files with
// drawing and import, and the mark type lists.
#include "dict/consistency_type.h"
#include "dict/mark_type.h"
#include "fuzz_folder.h"
#include "platform/recording_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo::dict;
    auto& f = orvo::fuzz::folder();
    std::filesystem::create_directories(f.root / "DATA/DIC");
    f.put("DATA/DIC/TipIGE.SPS", data, size);
    f.put("DATA/DIC/000001.TIE", data, size);
    f.put("DATA/DIC/TipPV.SPS", data, size);
    f.put("exchange.OTI", data, size);
    if (auto type = LoadConsistencyType(f.folder, 1)) {
        for (const auto& e : type->elements)
            if (!elementAllowed(e))
                __builtin_trap();
        orvo::platform::RecordingCanvas canvas;
        DrawConsistencyPattern(canvas, {3, 7, 250, 600}, type->elements, 0.37, 0);
    }
    if (auto marks = ReadMarkTypeList(f.folder, MarkList::Groundwater); marks && marks->size() > 1)
        SetMarkTypeSymbol(f.folder, MarkList::Groundwater, 1, 2);
    auto item = ReadConsistencyExchange(f.root / "exchange.OTI");
    auto list = ReadConsistencyTypeList(f.folder);
    if (item && list) {
        auto slot =
            ImportConsistencyType(f.folder, *item, findConsistencyTypeByName(*list, item->record));
        if (slot) {
            auto back = LoadConsistencyType(f.folder, *slot);
            if (!back || back->elements != item->elements)
                __builtin_trap();
            if (*slot != 1) // keeps the scratch folder from filling with item files
                f.folder.removeFile(consistencyTypePath(*slot));
        }
    }
    return 0;
}
