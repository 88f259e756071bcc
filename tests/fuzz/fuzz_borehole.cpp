// Fuzzes the borehole file reader, the editor's tables and the checks on what it yields.
#include "borehole/borehole_record.h"
#include "borehole/validation.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo::borehole;
    auto& f = orvo::fuzz::folder();
    f.put("DATA/00001.OBJ/00000001.SKV", data, size);
    auto b = ReadBorehole(f.folder, 1, 1);
    if (!b)
        return 0;
    if (boreholeBytes(*b) != orvo::store::Bytes(data, data + size))
        __builtin_trap(); // whatever is accepted is written back unchanged
    auto edit = BoreholeEditData::from(*b);
    edit.sortAll();
    for (auto kind : {TableKind::Ige, TableKind::Water, TableKind::Samples}) {
        auto& t = edit.table(kind);
        if (t.count() > kMaxRows || t.rowsShown() > kMaxRows)
            __builtin_trap();
        t.insertRow(10);
        t.deleteRow(10);
    }
    (void)CheckBorehole(f.folder, edit);
    return 0;
}
