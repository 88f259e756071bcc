// Shortcuts: the files and their places, Exec quoting, desktop-file-validate, and the rules
// when a shortcut fails or none is asked for.
#include "platform/message_sink.h"
#include "scratch_tree.h"
#include "setup/desktop_entries.h"
#include "support/golden.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace orvo;
using namespace orvo::setup;
using orvo::test::TempDir;
using orvo::test::treeListing;
namespace fs = std::filesystem;

namespace {

ShortcutPlaces placesUnder(const fs::path& home) {
    return {home / "Desktop", home / ".local/share/applications",
            home / ".local/share/desktop-directories", home / ".config/menus/applications-merged"};
}

TEST(DesktopEntries, ExecQuotesThePathByTheDesktopEntryRules) {
    struct Case {
        const char* path;
        const char* exec; // as it appears in the file
    };
    const Case cases[] = {
        {"/home/u/Orvo-2/Orvo2", R"("/home/u/Orvo-2/Orvo2")"},
        {"/home/u/my dir/Orvo2", R"("/home/u/my dir/Orvo2")"},
        {"/home/u/Проекты/Orvo2", R"("/home/u/Проекты/Orvo2")"},
        {"/home/u/$HOME/Orvo2", R"("/home/u/\\$HOME/Orvo2")"},
        {"/home/u/a\"b`c/Orvo2", R"("/home/u/a\\"b\\`c/Orvo2")"},
        {"/home/u/back\\slash/Orvo2", R"("/home/u/back\\\\slash/Orvo2")"},
        {"/home/u/100%/Orvo2", R"("/home/u/100%%/Orvo2")"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(execArgument(c.path), c.exec) << c.path;
}

// The files for a root with a space, a dollar and Cyrillic, as one dump: place, mode, text.
TEST(DesktopEntries, FilesAndPlacesForAnAwkwardRoot) {
    TempDir home;
    const fs::path root = "/home/u/Мои $файлы/Orvo-2";
    const DesktopEntries e = desktopEntries(root, placesUnder("/home/u"));
    std::string dump;
    for (const DesktopFile* f : {&e.desktop, &e.menu[0], &e.menu[1], &e.menu[2], &e.menu[3]})
        dump += "== " + f->place.string() + (f->executable ? " (executable)" : "") + "\n" + f->text;
    EXPECT_TRUE(test::matchesGolden(ORVO_GOLDEN_DIR "/setup-desktop-entries", dump));
}

// Writes both kinds of shortcut under a scratch home and runs desktop-file-validate on each.
TEST(DesktopEntries, WrittenShortcutsPassTheValidator) {
    TempDir home;
    const fs::path root = home / "Мои $файлы/Orvo-2";
    fs::create_directories(root);
    platform::RecordingMessageSink sink;
    ASSERT_TRUE(CreateShortcuts(root, true, true, placesUnder(home.path()), sink));
    EXPECT_TRUE(sink.empty());
    const auto e = desktopEntries(root, placesUnder(home.path()));
    EXPECT_NE(fs::status(e.desktop.place).permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_TRUE(fs::exists(root / "orvo2.png"));
    EXPECT_TRUE(fs::exists(root / "orvo2-check.png"));
    for (const DesktopFile* f : {&e.desktop, &e.menu[0], &e.menu[1], &e.menu[2]}) {
        ASSERT_EQ(test::readText(f->place), f->text);
        const std::string cmd = "desktop-file-validate '" + f->place.string() + "' 2>&1";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
}

TEST(DesktopEntries, FailuresAndUnaskedShortcuts) {
    struct Case {
        const char* what;
        bool desktop, menu;
        bool blockDesktop, blockMenu; // the folder cannot be made
        std::vector<std::string> messages;
        bool anyFile; // anything written at all
        bool menuFiles;
    };
    const std::string desktopFailed = "Warning: На рабочем столе\rсоздать ярлык не удалось";
    const std::string menuFailed = "Warning: В папке программы\rсоздать ярлык не удалось";
    const Case cases[] = {
        {"both off", false, false, false, false, {}, false, false},
        {"menu only", false, true, false, false, {}, true, true},
        {"desktop fails: no menu either", true, true, true, false, {desktopFailed}, false, false},
        {"menu fails", true, true, false, true, {menuFailed}, true, false},
    };
    for (const auto& c : cases) {
        TempDir home;
        const fs::path root = home / "Orvo-2";
        fs::create_directories(root);
        ShortcutPlaces places = placesUnder(home.path());
        // A file where a folder should be: even root cannot create the folder under it.
        if (c.blockDesktop) {
            test::writeBytes(home / "blocked", {0});
            places.desktop = home / "blocked/Desktop";
        }
        if (c.blockMenu) {
            test::writeBytes(home / "blocked", {0});
            places.applications = home / "blocked/applications";
        }
        const std::string before = treeListing(home.path());
        platform::RecordingMessageSink sink;
        EXPECT_EQ(CreateShortcuts(root, c.desktop, c.menu, places, sink), c.messages.empty())
            << c.what;
        std::vector<std::string> messages;
        for (const auto& m : sink.entries())
            messages.push_back(m.caption + ": " + m.text);
        EXPECT_EQ(messages, c.messages) << c.what;
        EXPECT_EQ(treeListing(home.path()) != before, c.anyFile) << c.what;
        EXPECT_EQ(fs::exists(places.directories / "orvo2.directory"), c.menuFiles) << c.what;
        // The icon comes only with a shortcut that shows it.
        EXPECT_EQ(fs::exists(root / "orvo2.png"), c.anyFile) << c.what;
    }
}

} // namespace
