// Fuzzes the symbol readers: the list, the item file with the drawing, and the exchange file
// with its import.
#include "dict/symbol.h"
#include "fuzz_folder.h"
#include "platform/recording_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo::dict;
    auto& f = orvo::fuzz::folder();
    std::filesystem::create_directories(f.root / "DATA/DIC");
    // The input is both the list (slot 1 names elementCount) and the item file of slot 1.
    f.put("DATA/DIC/Symbols.SPS", data, size);
    f.put("DATA/DIC/000001.SYM", data, size);
    orvo::platform::RecordingCanvas canvas;
    (void)DrawSymbol(canvas, f.folder, 1, {3, 4}, 0.37f, 0.5f);
    if (auto edit = SymbolEdit::Load(f.folder, 1)) {
        // Whatever the editor can load, it writes back in a form the reader takes.
        const auto elements = edit->inDrawingOrder();
        std::vector<SymbolElement> again;
        const auto bytes = symbolItemBytes(elements);
        if (!parseSymbolItems(bytes, static_cast<std::int32_t>(elements.size()), "again", again) ||
            again != elements)
            __builtin_trap();
    }

    auto item = parseSymbolExchange({data, size});
    if (!item)
        return 0;
    f.folder.removeFile("DATA/DIC/Symbols.SPS");
    auto slot = ImportSymbol(f.folder, *item, std::nullopt);
    if (!slot)
        return 0;
    // An accepted import is a symbol the library can draw and export unchanged.
    auto list = ReadSymbolList(f.folder);
    if (!list || list->size() != 2 || !DrawSymbol(canvas, f.folder, *slot, {0, 0}, 1, 1))
        __builtin_trap();
    auto exported = ExportSymbolBytes(f.folder, *slot);
    if (!exported || !std::equal(exported->begin(), exported->end(), data, data + size) ||
        exported->size() != size)
        __builtin_trap();
    return 0;
}
