// Building the library tree data through the store against a raw read of the same files.
//
// The database has ORVO_BENCH_OBJECTS objects (1,000 by default) with 20 boreholes and 5
// sections each. BM_RawBaseline opens every file by its exact name and reads what the tree
// needs; BM_TreeThroughStore builds the whole tree through the store; BM_TreeLowerCaseCopy
// does the same on a copy whose every name is in lower case, as a DATA folder copied from
// another machine may be.
#include "shell/library_tree.h"
#include "support/db_builder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

using orvo::test::DbBuilder;

int objectCount() {
    const char* env = std::getenv("ORVO_BENCH_OBJECTS");
    return env ? std::max(1, std::atoi(env)) : 1000;
}

void lowerCaseAll(const std::filesystem::path& root) {
    std::vector<std::filesystem::path> all;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        all.push_back(e.path());
    // Deepest first, so a folder is renamed after everything in it.
    std::sort(all.begin(), all.end(),
              [](const auto& a, const auto& b) { return a.string().size() > b.string().size(); });
    for (const auto& p : all)
        std::filesystem::rename(p, p.parent_path() /
                                       orvo::platform::asciiLower(p.filename().string()));
}

struct Database {
    orvo::test::TempDir dir;
    std::filesystem::path exact;
    std::filesystem::path lower;
    int objects = objectCount();

    Database() : exact(dir / "exact"), lower(dir / "lower") {
        for (const auto& root : {exact, lower}) {
            DbBuilder db(root);
            std::int32_t section = 1;
            std::int32_t borehole = 1;
            for (int obj = 1; obj <= objects; ++obj) {
                db.object(obj, "Объект " + std::to_string(obj), obj % 10 == 0);
                for (int s = 0; s < 5; ++s, ++section)
                    db.section(obj, section, "Разрез " + std::to_string(section));
                for (int b = 0; b < 20; ++b, ++borehole)
                    db.borehole(obj, borehole, "Скв." + std::to_string(borehole % 97));
            }
        }
        lowerCaseAll(lower);
    }
};

const Database& database() {
    static const Database db;
    return db;
}

std::size_t readPrefix(const char* path, std::uint8_t* buf, std::size_t want) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const ssize_t n = ::read(fd, buf, want);
    ::close(fd);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

std::vector<std::uint8_t> readAll(const char* path) {
    std::vector<std::uint8_t> out(1 << 16);
    out.resize(readPrefix(path, out.data(), out.size()));
    return out;
}

// Reads every title, section header and borehole header by its exact name, as the tree does
// for working objects, and nothing else.
void BM_RawBaseline(benchmark::State& state) {
    const auto root = database().exact.string();
    char path[512];
    std::uint8_t buf[264];
    for (auto _ : state) {
        std::size_t bytes = 0;
        std::snprintf(path, sizeof path, "%s/DATA/OBJ.SPS", root.c_str());
        const auto objects = readAll(path);
        for (std::size_t at = 0; at + 36 <= objects.size(); at += 36) {
            std::int32_t obj;
            std::memcpy(&obj, &objects[at], 4);
            const bool archived = objects[at + 34] != 0;
            std::snprintf(path, sizeof path, "%s/DATA/%.5d.OBJ/OBJ.TIT", root.c_str(), obj);
            bytes += readPrefix(path, buf, 264);
            if (archived)
                continue;
            std::snprintf(path, sizeof path, "%s/DATA/%.5d.OBJ/RAZ.SPS", root.c_str(), obj);
            const auto sections = readAll(path);
            for (std::size_t s = 0; s + 4 <= sections.size(); s += 4) {
                std::int32_t sec;
                std::memcpy(&sec, &sections[s], 4);
                std::snprintf(path, sizeof path, "%s/DATA/%.5d.OBJ/%.6d.DAT", root.c_str(), obj,
                              sec);
                bytes += readPrefix(path, buf, 178);
            }
            std::snprintf(path, sizeof path, "%s/DATA/%.5d.OBJ/SKV.SPS", root.c_str(), obj);
            const auto boreholes = readAll(path);
            for (std::size_t b = 0; b + 4 <= boreholes.size(); b += 4) {
                std::int32_t num;
                std::memcpy(&num, &boreholes[b], 4);
                std::snprintf(path, sizeof path, "%s/DATA/%.5d.OBJ/%.8d.SKV", root.c_str(), obj,
                              num);
                bytes += readPrefix(path, buf, 38);
            }
        }
        benchmark::DoNotOptimize(bytes);
    }
}

void treeThroughStore(benchmark::State& state, const std::filesystem::path& root) {
    std::size_t nodes = 0;
    for (auto _ : state) {
        // A new folder object each time: no listing survives from one build to the next.
        orvo::platform::WorkFolder folder(root);
        orvo::store::ProjectStore store(folder);
        auto tree = orvo::shell::BuildLibraryTree(store);
        if (!tree || !tree->skipped.empty()) {
            state.SkipWithError("tree build failed");
            return;
        }
        nodes = tree->nodes().size();
        benchmark::DoNotOptimize(nodes);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
}

void BM_TreeThroughStore(benchmark::State& state) {
    treeThroughStore(state, database().exact);
}
void BM_TreeLowerCaseCopy(benchmark::State& state) {
    treeThroughStore(state, database().lower);
}

} // namespace

BENCHMARK(BM_RawBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeThroughStore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeLowerCaseCopy)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
