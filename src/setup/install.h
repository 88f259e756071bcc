// Unpacking the package into the installation root: the probe, the full and partial installation.
#pragma once
#include "platform/message_sink.h"
#include "platform/work_folder.h"
#include "setup/package.h"

#include <filesystem>

namespace orvo::setup {

// The folder the system is installed into: the base followed by "Orvo-2", or the existing
// folder of that name in any letter case.
std::filesystem::path installRoot(const std::filesystem::path& base);

// 2 when the main program is installed in installRoot(base), else 1 when a database is there
// (DATA/status.sav), else 0. Names are compared without regard to letter case.
int ProbeInstall(const std::filesystem::path& base);

enum class InstallMode {
    Full,   // every entry: the programs, the folders and the database
    Partial // only the programs, the first three entries; the database is not touched
};

struct InstallOptions {
    // Entries under DATA are skipped: a reinstallation that keeps the user's database.
    bool keepData = false;
    // A test's way to make a write fail: called with "folder" or "write" before each step.
    platform::FaultHook fault;
};

// Writes the entries under `root`, each file replaced atomically with its mode (the programs
// 0755, every other file 0644), and syncs once at the end. Free space is checked first. The first
// failure stops it with "Ошибка записи ..." sent to the sink; the return value says whether all was
// written.
bool InstallPackage(const std::vector<PackageEntry>& entries, const std::filesystem::path& root,
                    InstallMode mode, platform::MessageSink& sink,
                    const InstallOptions& options = {});

// The total of the content bytes the installation would write.
std::uint64_t installSize(const std::vector<PackageEntry>& entries, InstallMode mode,
                          bool keepData);

// The file replaced atomically: a temporary file beside it gets the bytes and the final mode,
// then is renamed over it, so the name always holds a whole file with its mode. With `sync` the
// bytes reach the disk before the rename.
bool replaceWithMode(const std::filesystem::path& target, const Bytes& bytes,
                     std::filesystem::perms mode, bool sync);

// Whether the folder entry names DATA or a folder under it.
bool isDataFolder(std::string_view folderName);

} // namespace orvo::setup
