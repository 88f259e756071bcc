// The installation sequence shared by the dialog and the unattended mode.
#include "setup/installer.h"

#include "platform/path_resolver.h"
#include "setup/install.h"

#include <chrono>
#include <ctime>
#include <system_error>

namespace fs = std::filesystem;

namespace orvo::setup {

namespace {

Error readDiskError(const char* text) {
    return {text, "Чтение диска", false};
}

// "DATA.old-20240131-235959" in local time; a number is added if that name is taken.
fs::path asideName(const fs::path& root) {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    fs::path aside = root / (std::string("DATA.old-") + stamp);
    std::error_code ec;
    for (int n = 2; fs::exists(aside, ec); ++n)
        aside = root / (std::string("DATA.old-") + stamp + "-" + std::to_string(n));
    return aside;
}

// Moves the old database aside; false, reported, when it cannot be moved.
bool moveDataAside(const fs::path& root, platform::MessageSink& sink) {
    const fs::path data = platform::PathResolver(root).resolve("DATA");
    const fs::path aside = asideName(root);
    std::error_code ec;
    fs::rename(data, aside, ec);
    if (ec) {
        sink.report({"Ошибка записи \"" + aside.string() + "\"\rУстановка прервана", "Установка"});
        return false;
    }
    return true;
}

} // namespace

std::optional<std::vector<PackageEntry>> LoadPackage(const fs::path& file,
                                                     platform::MessageSink& sink) {
    const platform::ReadOutcome read = platform::readFile(file, kMaxPackageBytes);
    if (read.state == platform::ReadOutcome::State::Missing) {
        sink.report(readDiskError("Отсутствует установочный файл"));
        return std::nullopt;
    }
    if (!read.ok() || read.reachedLimit) {
        sink.report(readDiskError("Ошибка чтения диска"));
        return std::nullopt;
    }
    auto parsed = parsePackage(read.bytes);
    if (!parsed) {
        sink.report(parsed.error());
        return std::nullopt;
    }
    return std::move(*parsed);
}

InstallOutcome RunInstallation(const std::vector<PackageEntry>& entries,
                               const InstallChoice& choice, const ShortcutPlaces& places,
                               platform::MessageSink& sink, const platform::FaultHook& fault) {
    const fs::path root = installRoot(choice.base);
    const int state = ProbeInstall(choice.base);
    InstallOptions options;
    options.fault = fault;
    if (state == 2) {
        if (sink.askYesNo("Установка", kReinstallQuestion) != platform::Answer::Yes)
            return InstallOutcome::Declined;
        std::error_code ec;
        const fs::path status = platform::PathResolver(root).resolve("DATA/status.sav");
        if (fs::exists(status, ec)) {
            if (sink.askYesNo("Установка", kReplaceDataQuestion) == platform::Answer::Yes) {
                if (!moveDataAside(root, sink))
                    return InstallOutcome::Failed;
            } else {
                options.keepData = true;
            }
        }
    }
    const InstallMode mode = state == 1 ? InstallMode::Partial : InstallMode::Full;
    if (!InstallPackage(entries, root, mode, sink, options))
        return InstallOutcome::Failed;
    CreateShortcuts(root, choice.desktopShortcut, choice.menuShortcut, places, sink);
    sink.show("Установка завершена", kDoneText, platform::Icon::Information);
    return InstallOutcome::Installed;
}

} // namespace orvo::setup
