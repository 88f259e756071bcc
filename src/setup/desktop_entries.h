// Shortcuts as freedesktop.org desktop entries: one on the desktop, two in a submenu.
#pragma once
#include "platform/message_sink.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::setup {

// Where the shortcuts go; the installer takes them from the XDG variables of the user.
struct ShortcutPlaces {
    std::filesystem::path desktop;      // the desktop folder
    std::filesystem::path applications; // $XDG_DATA_HOME/applications
    std::filesystem::path directories;  // $XDG_DATA_HOME/desktop-directories
    std::filesystem::path menus;        // $XDG_CONFIG_HOME/menus/applications-merged
};

struct DesktopFile {
    std::filesystem::path place; // the file's full name
    std::string text;
    bool executable = false; // the desktop copy, so that file managers start it
};

// The files of both kinds of shortcut for a system installed in `root`.
struct DesktopEntries {
    DesktopFile desktop;           // "ОРВО - версия 2.0.desktop"
    std::vector<DesktopFile> menu; // orvo2-main, orvo2-check, the directory, the merged menu
};
DesktopEntries desktopEntries(const std::filesystem::path& root, const ShortcutPlaces& places);

// A program path as one argument of Exec: in double quotes with `"`, `` ` ``, `$` and `\`
// escaped, `%` doubled, then escaped once more as a string value (backslashes doubled).
std::string execArgument(std::string_view path);
// A string value of a desktop entry (Path, Icon): backslashes and line breaks escaped.
std::string stringValue(std::string_view text);

// Writes the shortcuts asked for, with their icons in the root. A failed desktop shortcut is
// reported ("На рабочем столе ...") and no further shortcut is made; a failed menu shortcut is
// reported too ("В папке программы ..."). False when any shortcut failed.
bool CreateShortcuts(const std::filesystem::path& root, bool onDesktop, bool inMenu,
                     const ShortcutPlaces& places, platform::MessageSink& sink);

} // namespace orvo::setup
