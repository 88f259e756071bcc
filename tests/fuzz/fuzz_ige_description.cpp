// Fuzzes the IGE description readers: a section's description file (as WORK.OIE under the
// section's IGE list), the standard list OIE.sps and the ordering of arbitrary IGE numbers.
#include "dict/ige_description.h"
#include "fuzz_folder.h"
#include "section/ige_list.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo;
    const std::span<const std::uint8_t> bytes(data, size);

    // Whatever the section file reader accepts is written back unchanged.
    if (auto records = dict::parseIgeDescriptionFile(bytes, "WORK.OIE")) {
        if (dict::igeDescriptionFileBytes(*records) != store::Bytes(data, data + size))
            __builtin_trap();
    }

    // The same bytes as the standard list: every whole record round-trips.
    const auto standard = store::parseList<dict::IgeDescriptionRecord>(bytes);
    for (std::size_t i = 0; i < standard.size(); ++i) {
        const auto back = store::recordBytes(standard[i]);
        if (!std::equal(back.begin(), back.end(), data + i * dict::IgeDescriptionRecord::kSize))
            __builtin_trap();
    }

    // Every 10 bytes as an IGE number: the order holds no repeats and no inversions.
    std::vector<dict::IgeNumber> numbers;
    for (std::size_t at = 0; at + dict::kIgeNumberWidth <= size && numbers.size() < 64;
         at += dict::kIgeNumberWidth) {
        dict::IgeNumber n{};
        std::copy_n(data + at, n.size(), n.begin());
        numbers.push_back(n);
    }
    const auto sorted = section::sortedIgeNumbers(numbers);
    for (std::size_t i = 0; i < sorted.size(); ++i)
        for (std::size_t j = i + 1; j < sorted.size(); ++j)
            if (sorted[i] == sorted[j] || section::igeSortsBefore(sorted[j], sorted[i]))
                __builtin_trap();

    // The section's list over WORK.OIE, each entry resolved against the same standard list.
    auto& f = fuzz::folder();
    f.put("WORK.OIE", data, size);
    if (auto list = section::BuildIgeList(f.folder, 1, {}, std::nullopt)) {
        section::IgeEntry e;
        e.number = numbers.empty() ? dict::padIgeNumber("1") : numbers.front();
        list->entries.push_back(e);
        if (auto records = dict::ReadIgeDescriptionFile(f.folder, "WORK.OIE"); records && *records)
            section::applyDescriptions(*list, **records);
        for (const auto& entry : list->entries)
            (void)section::HatchForIge(entry, standard);
    }
    return 0;
}
