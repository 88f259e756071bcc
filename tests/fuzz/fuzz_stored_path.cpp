// Fuzzes the resolution of stored names: no name may lead outside the working folder.
#include "fuzz_folder.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& f = orvo::fuzz::folder();
    const std::string stored(reinterpret_cast<const char*>(data), size);
    if (stored.find('\0') != std::string::npos)
        return 0;
    const auto p = f.folder.resolve(stored);
    if (!p.empty()) {
        if (p.string().rfind(f.root.string(), 0) != 0)
            __builtin_trap();
        for (const auto& part : p.lexically_relative(f.root))
            if (part == "..")
                __builtin_trap();
    }
    (void)f.folder.read(stored, 64);
    return 0;
}
