// Fuzzes the DXF converters with damaged dictionary items: the first byte chooses the kind
// (0 hatch .HTR, 1 symbol .SYM, 2 consistency .TIE, 3 title block .SHT), the rest is the item
// file. Nothing may crash or hang, and what is written stays within the converters' bounds.
#include "dict/consistency_type.h"
#include "dict/hatch.h"
#include "dict/symbol.h"
#include "dict/title_block.h"
#include "export/dxf_convert.h"

#include <algorithm>
#include <array>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo;
    using namespace orvo::exporter;
    if (size < 1)
        return 0;
    const std::span<const std::uint8_t> item(data + 1, size - 1);
    DxfWriter w;
    switch (data[0] % 4) {
    case 0: {
        const auto pattern = dict::parseHatchItem(item);
        // A 20 x 10 mm area far right on an A0 sheet.
        const std::array<DxfPoint, 5> area{
            {{1000, 300}, {1020, 305}, {1020, 315}, {1000, 310}, {1010, 307}}};
        ClipSegmentToPolygon clip(area);
        const auto pieces = WriteHatchDxf(w, pattern, {129, 836, 1021, 59}, clip);
        if (pieces > kMaxSegmentsPerHatch * 4)
            __builtin_trap();
        break;
    }
    case 1: {
        if (item.size() < 1)
            return 0;
        std::vector<dict::SymbolElement> elements;
        (void)dict::parseSymbolItems(item.subspan(1), item[0], "fuzz", elements);
        dict::SymbolListRecord record;
        record.used = 1;
        record.width = 500;
        record.height = 500;
        record.elementCount = static_cast<std::int32_t>(elements.size());
        WriteSymbolDxf(w, record, elements, item[0] % 4, 100, 100, DxfLayer::Proba,
                       (item[0] & 4) != 0);
        break;
    }
    case 2: {
        auto elements = dict::parseConsistencyElements(item);
        // Eight elements reach every path; a hundred only take longer.
        elements.resize(std::min<std::size_t>(elements.size(), 8));
        WriteConsistencyDxf(w, elements, 100, 40, 106, 52);
        // Each element: at most a line per 0.01 mm across the 6 x 12 mm column, or the
        // diagonals that cross it at up to 89 degrees: (12 + 6 tan 89°) / 0.01 of them.
        const std::string_view text(reinterpret_cast<const char*>(w.bytes().data()),
                                    w.bytes().size());
        std::size_t segments = 0;
        for (auto at = text.find("SEQEND"); at != std::string_view::npos;
             at = text.find("SEQEND", at + 6))
            ++segments;
        if (segments > elements.size() * 36000)
            __builtin_trap();
        break;
    }
    default: {
        const auto block = dict::parseTitleBlock(item, "fuzz");
        if (!block)
            return 0;
        const auto faces = titleBlockFaces(*block);
        if (faces.programFace.size() != block->programTexts.size() ||
            faces.editableFace.size() != block->editableTexts.size())
            __builtin_trap();
        WriteTitleBlockStyles(w, faces);
        WriteTitleBlockDxf(w, *block, faces, 8000, [](int code) {
            return code == 0 ? std::string("line\r\nbreak") : std::to_string(code);
        });
        if (w.text().find("line\r\nbreak") != std::string::npos)
            __builtin_trap(); // a control character reached a text line
        break;
    }
    }
    return 0;
}
