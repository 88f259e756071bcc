// What "Установить" does: the probe, the questions, the installation, shortcuts, the last word.
#pragma once
#include "platform/message_sink.h"
#include "platform/work_folder.h"
#include "setup/desktop_entries.h"
#include "setup/package.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace orvo::setup {

inline constexpr const char* kPackageName = "Orvo2.cab";
// The largest package read into memory.
inline constexpr std::uint64_t kMaxPackageBytes = std::uint64_t{4} << 30;

inline constexpr const char* kReinstallQuestion =
    "Программа ранее была установлена\rперезаписать ?";
inline constexpr const char* kReplaceDataQuestion = "Заменить базу данных стандартной ?";
inline constexpr const char* kDoneText =
    "В Н И М А Н И Е\r\rПрограмма выпуска инженерно-геологических разрезов v2.0\r успешно "
    "установлена на Ваш компьютер.";

// The package file read whole and checked. A missing file is reported as "Отсутствует
// установочный файл", any other fault as "Ошибка чтения диска" (both captioned "Чтение диска").
std::optional<std::vector<PackageEntry>> LoadPackage(const std::filesystem::path& file,
                                                     platform::MessageSink& sink);

struct InstallChoice {
    std::filesystem::path base;
    bool desktopShortcut = true;
    bool menuShortcut = true;
};

enum class InstallOutcome {
    Installed, // the completion message has been shown; the installer ends
    Declined,  // the user would not overwrite the installed program; nothing was written
    Failed     // a write failed and was reported; the installation stopped
};

// Installs as "Установить" does. The question about replacing an existing database comes only
// when an installed program is overwritten and DATA/status.sav exists; No (the default) keeps
// DATA, Yes first moves it aside to "DATA.old-<date-time>".
InstallOutcome RunInstallation(const std::vector<PackageEntry>& entries,
                               const InstallChoice& choice, const ShortcutPlaces& places,
                               platform::MessageSink& sink, const platform::FaultHook& fault = {});

} // namespace orvo::setup
