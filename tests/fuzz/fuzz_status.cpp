// Fuzzes the reader of DATA\status.sav and the numbering on what it yields.
#include "fuzz_folder.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& f = orvo::fuzz::folder();
    f.put("DATA/status.sav", data, size);
    auto status = f.store.LoadStatus();
    if (status) {
        // What was accepted must be usable for numbering without overflow.
        orvo::store::StatusRecord s = *status;
        if (f.store.TakeBoreholeNumber(s)) {
            // What was saved must load again.
            auto again = f.store.LoadStatus();
            if (!again || again->nextBoreholeNumber != status->nextBoreholeNumber + 1)
                __builtin_trap();
        } else if (status->nextBoreholeNumber < INT32_MAX - 1) {
            __builtin_trap();
        }
    }
    return 0;
}
