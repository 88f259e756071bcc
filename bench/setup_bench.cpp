// The installer's unpacking against raw writes of the same files.
//
// The package holds the three programs, the default database and 10,000 synthetic files of
// 5,000 bytes in 100 folders (about 50 MB). BM_ParseAndInstall parses it and installs it into
// an empty root as a first installation does: folders made, each file replaced atomically with
// its mode, one sync at the end. BM_SetupRawWrite makes the same folders and writes the same
// bytes with open, write and close: no temporary files, no syncing. ORVO_BENCH_SETUP_FILES
// scales the synthetic files down for the CTest run. Each install iteration also times a raw
// write outside the measured time, so `over_raw` compares the two under the same load.
#include "platform/message_sink.h"
#include "seed/seed.h"
#include "setup/install.h"
#include "setup/package.h"
#include "setup/package_builder.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace orvo::setup;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int syntheticFiles() {
    const char* env = std::getenv("ORVO_BENCH_SETUP_FILES");
    return env ? std::max(1, std::atoi(env)) : 10000;
}

constexpr int kFilesPerFolder = 100;
constexpr std::size_t kFileBytes = 5000;

const Bytes& package() {
    static const Bytes bytes = [] {
        orvo::test::TempDir stage;
        if (!orvo::seed::InitWorkingFolder(stage.path(), orvo::seed::builtinDefinitions()))
            std::abort();
        for (const char* p : {"Orvo2", "O2_Check", "orvo"})
            orvo::test::writeBytes(stage / p, Bytes(100000, 0x7f));
        auto entries =
            collectPackage({stage / "Orvo2", stage / "O2_Check", stage / "orvo"}, stage.path());
        if (!entries)
            std::abort();
        const int n = syntheticFiles();
        for (int i = 0; i < n; ++i) {
            if (i % kFilesPerFolder == 0)
                entries->push_back({'D', "DATA\\S" + std::to_string(i / kFilesPerFolder), {}});
            Bytes b(kFileBytes);
            for (std::size_t k = 0; k < b.size(); ++k)
                b[k] = static_cast<std::uint8_t>(i + k * 7);
            entries->push_back({'F', std::to_string(i) + ".DAT", std::move(b)});
        }
        return packageBytes(*entries);
    }();
    return bytes;
}

// The same folders and files written directly.
void rawWrite(const std::vector<PackageEntry>& entries, const fs::path& root) {
    fs::create_directories(root);
    fs::path current = root;
    for (const auto& e : entries) {
        if (e.isFolder()) {
            std::string rel = e.name;
            for (auto& c : rel)
                if (c == '\\')
                    c = '/';
            current = root / rel;
            fs::create_directories(current);
            continue;
        }
        const int fd = ::open((current / e.name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 ||
            ::write(fd, e.bytes.data(), e.bytes.size()) != static_cast<ssize_t>(e.bytes.size()))
            std::abort();
        ::close(fd);
    }
}

void BM_SetupRawWrite(benchmark::State& state) {
    const auto entries = parsePackage(package());
    orvo::test::TempDir dir;
    for (auto _ : state) {
        rawWrite(*entries, dir / "raw");
        state.PauseTiming();
        fs::remove_all(dir / "raw");
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * package().size()));
}

void BM_ParseAndInstall(benchmark::State& state) {
    orvo::test::TempDir dir;
    orvo::platform::RecordingMessageSink sink;
    double installSeconds = 0, rawSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        auto entries = parsePackage(package());
        if (!entries || !InstallPackage(*entries, dir / "root", InstallMode::Full, sink))
            state.SkipWithError("installation failed");
        installSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        state.PauseTiming();
        fs::remove_all(dir / "root");
        const auto rawStart = Clock::now();
        rawWrite(*entries, dir / "raw");
        rawSeconds += std::chrono::duration<double>(Clock::now() - rawStart).count();
        fs::remove_all(dir / "raw");
        state.ResumeTiming();
    }
    state.counters["over_raw"] = installSeconds / rawSeconds;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * package().size()));
}

BENCHMARK(BM_SetupRawWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParseAndInstall)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
