// Fuzzes the borehole types dictionary: listing, reading and changing records.
#include "borehole/borehole_types.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& f = orvo::fuzz::folder();
    std::filesystem::create_directories(f.root / "DATA/DIC");
    f.put("DATA/DIC/TipSKV.SPS", data, size);
    auto list = orvo::borehole::ListBoreholeTypes(f.folder);
    if (!list)
        __builtin_trap();
    for (const auto& t : *list)
        (void)t.type.name.utf8();
    const int count = static_cast<int>(size / 42);
    if (count > 1 && !orvo::borehole::DeleteBoreholeType(f.folder, count - 1))
        __builtin_trap();
    auto added = orvo::borehole::AddBoreholeType(f.folder, orvo::borehole::BoreholeType{});
    if (!added || *added != count)
        __builtin_trap();
    return 0;
}
