// Desktop entries, the submenu's directory entry and merged menu, and the icons they show.
#include "setup/desktop_entries.h"

#include "platform/work_folder.h"
#include "setup/icon_data.h"
#include "setup/install.h"

#include <system_error>

namespace fs = std::filesystem;

namespace orvo::setup {

namespace {

constexpr const char* kMainName = "ОРВО - версия 2.0";
constexpr const char* kCheckName = "Проверка базы данных";
constexpr const char* kMenuName = "ОРВО версия 2.0";
constexpr const char* kMainIcon = "orvo2.png";
constexpr const char* kCheckIcon = "orvo2-check.png";

std::string applicationEntry(const fs::path& root, const std::string& name,
                             const std::string& comment, const char* program, const char* icon) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Version=1.0\n"
           "Name=" +
           name + "\nComment=" + comment + "\nExec=" + execArgument((root / program).string()) +
           "\nPath=" + stringValue(root.string()) +
           "\nIcon=" + stringValue((root / icon).string()) +
           "\nTerminal=false\n"
           "Categories=Science;Geology;\n";
}

constexpr fs::perms kEntryMode =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
constexpr fs::perms kExecutableEntryMode =
    kEntryMode | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;

// Created with its final mode in the same atomic replacement, so the desktop never shows a
// copy that cannot be started.
bool writeText(const DesktopFile& file) {
    std::error_code ec;
    fs::create_directories(file.place.parent_path(), ec);
    return replaceWithMode(file.place, Bytes(file.text.begin(), file.text.end()),
                           file.executable ? kExecutableEntryMode : kEntryMode, true);
}

bool writeIcon(const fs::path& root, const char* name, const platform::Bytes& png) {
    return replaceWithMode(root / name, png, kEntryMode, true);
}

} // namespace

std::string execArgument(std::string_view path) {
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    quoted += '"';
    return stringValue(quoted);
}

std::string stringValue(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

DesktopEntries desktopEntries(const fs::path& root, const ShortcutPlaces& places) {
    const std::string mainComment = "Выпуск инженерно-геологических разрезов";
    DesktopEntries e;
    e.desktop = {places.desktop / (std::string(kMainName) + ".desktop"),
                 applicationEntry(root, kMainName, mainComment, "Orvo2", kMainIcon), true};
    e.menu.push_back({places.applications / "orvo2-main.desktop",
                      applicationEntry(root, kMainName, mainComment, "Orvo2", kMainIcon)});
    e.menu.push_back(
        {places.applications / "orvo2-check.desktop",
         applicationEntry(root, kCheckName, "Проверка базы данных ОРВО", "O2_Check", kCheckIcon)});
    e.menu.push_back(
        {places.directories / "orvo2.directory",
         "[Desktop Entry]\nType=Directory\nVersion=1.0\nName=" + std::string(kMenuName) +
             "\nIcon=" + stringValue((root / kMainIcon).string()) + "\n"});
    e.menu.push_back({places.menus / "orvo2.menu",
                      "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
                      " \"http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd\">\n"
                      "<Menu>\n"
                      "  <Name>Applications</Name>\n"
                      "  <Menu>\n"
                      "    <Name>orvo2</Name>\n"
                      "    <Directory>orvo2.directory</Directory>\n"
                      "    <Include>\n"
                      "      <Filename>orvo2-main.desktop</Filename>\n"
                      "      <Filename>orvo2-check.desktop</Filename>\n"
                      "    </Include>\n"
                      "  </Menu>\n"
                      "</Menu>\n"});
    return e;
}

bool CreateShortcuts(const fs::path& root, bool onDesktop, bool inMenu,
                     const ShortcutPlaces& places, platform::MessageSink& sink) {
    const DesktopEntries entries = desktopEntries(root, places);
    // An icon is written only once a shortcut showing it exists.
    if (onDesktop) {
        if (!writeText(entries.desktop) || !writeIcon(root, kMainIcon, mainIconPng())) {
            sink.show("Warning", "На рабочем столе\rсоздать ярлык не удалось",
                      platform::Icon::Warning);
            return false;
        }
    }
    if (inMenu) {
        const bool ok = writeText(entries.menu[0]) && writeIcon(root, kMainIcon, mainIconPng()) &&
                        writeText(entries.menu[1]) && writeIcon(root, kCheckIcon, checkIconPng()) &&
                        writeText(entries.menu[2]) && writeText(entries.menu[3]);
        if (!ok) {
            sink.show("Warning", "В папке программы\rсоздать ярлык не удалось",
                      platform::Icon::Warning);
            return false;
        }
    }
    return true;
}

} // namespace orvo::setup
