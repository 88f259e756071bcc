// Fuzzes the library tree over a whole hostile database cut from the input: object list,
// titles, section and borehole lists, section and borehole files.
#include "fuzz_folder.h"
#include "shell/library_tree.h"

#include <vector>

namespace {
// Pieces separated by the byte sequence "||".
std::vector<std::pair<const std::uint8_t*, std::size_t>> pieces(const std::uint8_t* d,
                                                                std::size_t n) {
    std::vector<std::pair<const std::uint8_t*, std::size_t>> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i + 1 < n; ++i)
        if (d[i] == '|' && d[i + 1] == '|') {
            out.emplace_back(d + start, i - start);
            start = i + 2;
            ++i;
        }
    out.emplace_back(d + start, n - start);
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& f = orvo::fuzz::folder();
    static const char* const kFiles[] = {"DATA/OBJ.SPS",
                                         "DATA/00001.OBJ/OBJ.TIT",
                                         "DATA/00001.OBJ/RAZ.SPS",
                                         "DATA/00001.OBJ/SKV.SPS",
                                         "DATA/00001.OBJ/000001.DAT",
                                         "DATA/00001.OBJ/00000001.SKV",
                                         "DATA/00001.OBJ/00000002.SKV"};
    const auto parts = pieces(data, size);
    for (std::size_t i = 0; i < std::size(kFiles); ++i) {
        if (i < parts.size())
            f.put(kFiles[i], parts[i].first, parts[i].second);
        else
            std::filesystem::remove(f.root / kFiles[i]);
    }
    auto tree = orvo::shell::BuildLibraryTree(f.store);
    if (tree) {
        (void)orvo::shell::formatTree(*tree);
        if (orvo::shell::treeRecordsBytes(*tree).size() != tree->nodes().size() * 14)
            __builtin_trap();
    }
    return 0;
}
