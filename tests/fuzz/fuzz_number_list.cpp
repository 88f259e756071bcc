// Fuzzes the section and borehole lists of an object folder.
#include "fuzz_folder.h"
#include "store/store_paths.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& f = orvo::fuzz::folder();
    f.put("DATA/00001.OBJ/SKV.SPS", data, size);
    auto list = f.store.ReadBoreholeList(1);
    if (!list)
        __builtin_trap();
    (void)f.store.AddBorehole(1, 77);
    auto added = f.store.ReadBoreholeList(1);
    if (!added || std::count(added->begin(), added->end(), 77) < 1)
        __builtin_trap();
    if (!f.store.RemoveFromList(orvo::store::paths::boreholeList(1),
                                orvo::store::paths::kBoreholeListDel, 77, 4))
        __builtin_trap();
    auto removed = f.store.ReadBoreholeList(1);
    if (!removed || std::count(removed->begin(), removed->end(), 77) != 0)
        __builtin_trap();
    return 0;
}
