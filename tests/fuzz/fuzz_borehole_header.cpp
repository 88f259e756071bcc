// Fuzzes the borehole header reader used by lists and the library tree.
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& f = orvo::fuzz::folder();
    f.put("DATA/00001.OBJ/00000001.SKV", data, size);
    auto h = f.store.ReadBoreholeHeader(1, 1);
    if (h.ok() != (size >= orvo::store::BoreholeHeader::kSize))
        __builtin_trap();
    if (h)
        (void)h->name.utf8();
    return 0;
}
