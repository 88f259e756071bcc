// Fuzzes the reader of an object's OBJ.TIT and the text fields it yields.
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& f = orvo::fuzz::folder();
    f.put("DATA/00001.OBJ/OBJ.TIT", data, size);
    auto t = f.store.ReadObjectTitle(1);
    if (t) {
        const auto bytes = orvo::store::recordBytes(*t);
        if (!std::equal(bytes.begin(), bytes.end(), data))
            __builtin_trap();
        (void)t->shortName.utf8Trimmed();
        (void)t->fullName.utf8();
    }
    return 0;
}
