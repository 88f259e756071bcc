// The installer without windows, for scripts and tests:
//   SetupO2 --unattended --base DIR [--package FILE] [--no-desktop] [--no-menu] [--overwrite]
//           [--replace-data]
// The agreement counts as accepted; messages go to the error stream.
#pragma once
#include "setup/desktop_entries.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace orvo::setup {

struct UnattendedOptions {
    std::filesystem::path base;
    std::filesystem::path package; // empty: the default package
    bool desktopShortcut = true;
    bool menuShortcut = true;
    bool overwrite = false; // Yes to "перезаписать ?"
    bool replaceData = false; // Yes to "Заменить базу данных стандартной ?"
};

inline constexpr const char* kUnattendedUsage =
    "usage: SetupO2 --unattended --base DIR [--package FILE] [--no-desktop] [--no-menu]\n"
    "                [--overwrite] [--replace-data]\n";

// Whether the arguments (without the program name) ask for the unattended mode.
bool wantsUnattended(const std::vector<std::string>& args);
// The options, or nothing with `error` saying what is wrong.
std::optional<UnattendedOptions> parseUnattended(const std::vector<std::string>& args,
                                                 std::string& error);

// Exit status: 0 installed, 1 refused or failed, 2 a usage error.
int runUnattended(const std::vector<std::string>& args, const std::filesystem::path& defaultPackage,
                  const ShortcutPlaces& places, std::ostream& err);

} // namespace orvo::setup
