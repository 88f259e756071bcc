// Fuzzes the reader of a section file's name for the library tree.
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& f = orvo::fuzz::folder();
    f.put("DATA/00001.OBJ/000001.DAT", data, size);
    auto name = f.store.ReadSectionName(1, 1);
    if (name.ok() != (size >= 178))
        __builtin_trap();
    if (name)
        (void)name->utf8();
    return 0;
}
