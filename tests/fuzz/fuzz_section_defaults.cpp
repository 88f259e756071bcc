// Fuzzes the reader of DATA\razrez.prm.
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& f = orvo::fuzz::folder();
    f.put("DATA/razrez.prm", data, size);
    auto d = f.store.LoadSectionDefaults();
    if (d.ok() != (size >= orvo::store::SectionDefaults::kSize))
        __builtin_trap();
    return 0;
}
