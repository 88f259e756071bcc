// The installation proper: folders created, files replaced atomically with their modes.
#include "setup/install.h"

#include "platform/path_resolver.h"
#include "platform/system_paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <unordered_map>

namespace fs = std::filesystem;

namespace orvo::setup {

namespace {

Error writeFailed(const fs::path& what) {
    return {"Ошибка записи \"" + what.string() + "\"\rУстановка прервана", "Установка", false};
}

Error noSpace(const fs::path& root) {
    return {"Недостаточно места на диске \"" + root.string() + "\"\rУстановка прервана",
            "Установка", false};
}

// The nearest folder of `p` that exists, for asking about free space before it is made.
fs::path existingAncestor(fs::path p) {
    std::error_code ec;
    while (!p.empty() && !fs::exists(p, ec)) {
        if (p == p.parent_path())
            break;
        p = p.parent_path();
    }
    return p.empty() ? fs::path(".") : p;
}

// One folder being filled: its listing is read once, so a file whose name differs only in
// letter case from the package's replaces that file instead of landing beside it.
class TargetFolder {
public:
    explicit TargetFolder(fs::path path) : m_path(std::move(path)) {
        std::error_code ec;
        for (fs::directory_iterator it(m_path, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            m_names.emplace(platform::asciiLower(name), name);
        }
    }
    fs::path file(const std::string& name) const {
        const auto found = m_names.find(platform::asciiLower(name));
        return m_path / (found == m_names.end() ? name : found->second);
    }

private:
    fs::path m_path;
    std::unordered_map<std::string, std::string> m_names;
};

} // namespace

// Nothing is synced unless asked: the installation syncs the whole file system once at the end,
// which for thousands of small files costs less than one sync per file.
bool replaceWithMode(const fs::path& target, const Bytes& bytes, fs::perms mode, bool sync) {
    const fs::path temp = target.string() + ".~tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, static_cast<mode_t>(mode)) == 0;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += static_cast<std::size_t>(n);
    }
    if (ok && sync)
        ok = ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

namespace {

// Makes everything written under `root` durable at once.
void syncAll(const fs::path& root) {
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::syncfs(fd);
        ::close(fd);
    }
}

constexpr fs::perms kProgramMode = fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec;
constexpr fs::perms kFileMode =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;

} // namespace

fs::path installRoot(const fs::path& base) {
    // An existing folder in another letter case ("orvo-2") is the installation, not a new one
    // beside it.
    const fs::path found = platform::PathResolver(base).resolve("Orvo-2");
    return found.empty() ? base / "Orvo-2" : found;
}

int ProbeInstall(const fs::path& base) {
    const platform::PathResolver resolver(installRoot(base));
    std::error_code ec;
    if (fs::is_regular_file(resolver.resolve("Orvo2"), ec))
        return 2;
    if (fs::is_regular_file(resolver.resolve("DATA/status.sav"), ec))
        return 1;
    return 0;
}

bool isDataFolder(std::string_view folderName) {
    const auto parts = platform::splitStoredPath(folderName);
    return !parts.empty() && platform::asciiLower(parts.front()) == "data";
}

std::uint64_t installSize(const std::vector<PackageEntry>& entries, InstallMode mode,
                          bool keepData) {
    std::uint64_t total = 0;
    bool skipping = false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (mode == InstallMode::Partial && i >= kProgramCount)
            break;
        if (entries[i].isFolder())
            skipping = keepData && isDataFolder(entries[i].name);
        else if (!skipping)
            total += entries[i].bytes.size();
    }
    return total;
}

bool InstallPackage(const std::vector<PackageEntry>& entries, const fs::path& root,
                    InstallMode mode, platform::MessageSink& sink, const InstallOptions& options) {
    const auto fault = [&](std::string_view step) { return options.fault && options.fault(step); };
    const std::uint64_t need = installSize(entries, mode, options.keepData);
    const auto free = platform::freeDiskSpace(existingAncestor(root));
    if (free && *free < need) {
        sink.report(noSpace(root));
        return false;
    }
    std::error_code ec;
    if (fault("folder") || (!fs::create_directories(root, ec) && !fs::is_directory(root, ec))) {
        sink.report(writeFailed(root));
        return false;
    }
    const platform::PathResolver resolver(root);
    TargetFolder current(root);
    bool skipping = false;
    const std::size_t count = mode == InstallMode::Partial ? kProgramCount : entries.size();
    for (std::size_t i = 0; i < count && i < entries.size(); ++i) {
        const PackageEntry& entry = entries[i];
        if (entry.isFolder()) {
            skipping = options.keepData && isDataFolder(entry.name);
            if (skipping)
                continue;
            // Folder names are relative to the root, never to the folder before.
            const fs::path folder = resolver.resolve(entry.name);
            if (folder.empty() || fault("folder") ||
                (!fs::create_directories(folder, ec) && !fs::is_directory(folder, ec))) {
                sink.report(writeFailed(folder.empty() ? root / entry.name : folder));
                return false;
            }
            resolver.invalidate(folder.parent_path());
            current = TargetFolder(folder);
            continue;
        }
        if (skipping)
            continue;
        const fs::path target = current.file(entry.name);
        if (fault("write") ||
            !replaceWithMode(target, entry.bytes, i < kProgramCount ? kProgramMode : kFileMode,
                             false)) {
            sink.report(writeFailed(target));
            return false;
        }
    }
    syncAll(root);
    return true;
}

} // namespace orvo::setup
