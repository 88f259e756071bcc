// The checker on fuzzed OBJ.SPS, SKV.SPS, OBJ.TIT and borehole bytes: no crash, and the repair
// converges, so a second scan finds no faulty borehole list.
#include "checker/database_check.h"
#include "fuzz_folder.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& f = orvo::fuzz::folder();
    // The rest is cut in four pieces at the positions the first six bytes give (16 bits each).
    constexpr std::size_t kHead = 6;
    if (size < kHead)
        return 0;
    const std::size_t rest = size - kHead;
    auto cut = [&](int i) {
        return (data[2 * i] | std::size_t(data[2 * i + 1]) << 8) % (rest + 1);
    };
    std::size_t cuts[] = {cut(0), cut(1), cut(2)};
    std::sort(std::begin(cuts), std::end(cuts));
    const std::uint8_t* body = data + kHead;
    f.put("DATA/OBJ.SPS", body, cuts[0]);
    f.put("DATA/00001.OBJ/SKV.SPS", body + cuts[0], cuts[1] - cuts[0]);
    f.put("DATA/00001.OBJ/OBJ.TIT", body + cuts[1], cuts[2] - cuts[1]);
    f.put("DATA/00001.OBJ/00000001.skv", body + cuts[2], rest - cuts[2]);
    f.put("DATA/00001.OBJ/00000002.SKV", body, cuts[0]);
    f.folder.resolver().invalidateAll();

    auto report = orvo::checker::ScanDatabase(f.folder);
    if (!report)
        return 0;
    const auto outcome = orvo::checker::FixBoreholeLists(f.folder, *report);
    if (!outcome.failures.empty())
        return 0;
    auto again = orvo::checker::ScanDatabase(f.folder);
    if (!again)
        std::abort();
    for (const auto& object : again->objects)
        if (object.status == orvo::checker::ObjectStatus::ListFaulty)
            std::abort();
    return 0;
}
