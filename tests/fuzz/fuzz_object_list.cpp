// Fuzzes DATA\OBJ.SPS: reading it, archiving in it and removing from it.
#include "fuzz_folder.h"
#include "store/store_paths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& f = orvo::fuzz::folder();
    f.put("DATA/OBJ.SPS", data, size);
    auto list = f.store.ReadObjectList();
    if (!list || list->size() != size / 36)
        __builtin_trap();
    const std::int32_t victim = list->empty() ? 1 : list->front().number;
    (void)f.store.SetArchived(victim, true);
    if (!f.store.RemoveFromList(orvo::store::paths::kObjectList, orvo::store::paths::kObjectListDel,
                                victim, 36))
        __builtin_trap();
    auto after = f.store.ReadObjectList();
    if (!after)
        __builtin_trap();
    for (const auto& e : *after)
        if (e.number == victim)
            __builtin_trap();
    return 0;
}
