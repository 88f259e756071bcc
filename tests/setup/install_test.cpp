// Installing into scratch bases: the probe, full and partial installation, reinstallation with
// each answer, write failures, and hostile or missing packages leaving the disk as it was.
#include "platform/message_sink.h"
#include "scratch_tree.h"
#include "setup/install.h"
#include "setup/installer.h"
#include "setup/unattended.h"
#include "support/golden.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace orvo;
using namespace orvo::setup;
using orvo::platform::Answer;
using orvo::test::readBytes;
using orvo::test::TempDir;
using orvo::test::treeListing;
namespace fs = std::filesystem;

namespace {

struct Scratch {
    TempDir dir;
    fs::path base = dir / "base";
    ShortcutPlaces places{dir / "Desktop", dir / "data/applications",
                          dir / "data/desktop-directories",
                          dir / "config/menus/applications-merged"};
    platform::RecordingMessageSink sink;
    std::vector<PackageEntry> package = test::smallPackage();

    InstallOutcome install(bool desktop = false, bool menu = false,
                           const platform::FaultHook& fault = {}) {
        return RunInstallation(package, {base, desktop, menu}, places, sink, fault);
    }
    fs::path root() const { return installRoot(base); }
    std::vector<std::string> captions() const {
        std::vector<std::string> out;
        for (const auto& e : sink.entries())
            out.push_back(e.caption + ": " + e.text);
        return out;
    }
};

const std::string kDone = std::string("Установка завершена: ") + kDoneText;
const std::string kReinstall = std::string("Установка: ") + kReinstallQuestion;
const std::string kReplace = std::string("Установка: ") + kReplaceDataQuestion;

TEST(Install, FullInstallationWritesTheTreeWithModes) {
    Scratch s;
    EXPECT_EQ(s.install(), InstallOutcome::Installed);
    EXPECT_EQ(s.captions(), std::vector<std::string>{kDone});
    // Files land in the folder of the last folder entry; folder names are from the root.
    const std::string expected = "DATA 755 /\n"
                                 "DATA/00001.OBJ 755 /\n"
                                 "DATA/00001.OBJ/OBJ.TIT 644 5 2556802313\n"
                                 "DATA/DIC 755 /\n"
                                 "DATA/DIC/TipSKV.SPS 644 5 4292920474\n"
                                 "DATA/OBJ.SPS 644 7 2831556715\n"
                                 "DATA/status.sav 644 13 3552999220\n"
                                 "O2_Check 755 7 856779548\n"
                                 "Orvo2 755 12 632144356\n"
                                 "orvo 755 12 3189038684\n";
    EXPECT_EQ(treeListing(s.root()), expected);
    EXPECT_EQ(readBytes(s.root() / "DATA/DIC/TipSKV.SPS"), s.package[7].bytes);
}

TEST(Install, ProbeGivesTheStateForEachCombination) {
    struct Case {
        std::vector<const char*> files; // under the base
        int state;
    };
    const Case cases[] = {
        {{}, 0},
        {{"Orvo-2/DATA/OBJ.SPS"}, 0},
        {{"Orvo-2/DATA/status.sav"}, 1},
        {{"orvo-2/data/STATUS.SAV"}, 1},
        {{"Orvo-2/Orvo2"}, 2},
        {{"ORVO-2/orvo2"}, 2},
        {{"Orvo-2/Orvo2", "Orvo-2/DATA/status.sav"}, 2},
        {{"Orvo-2/Orvo2/DATA/x"}, 0}, // a folder named like the program is no program
        {{"Orvo2", "DATA/status.sav"}, 0},
    };
    for (const auto& c : cases) {
        TempDir dir;
        for (const char* f : c.files)
            test::writeBytes(dir / f, {1});
        EXPECT_EQ(ProbeInstall(dir.path()), c.state) << (c.files.empty() ? "" : c.files[0]);
    }
}

// A root already there in another letter case is the one probed, filled and moved about in.
TEST(Install, AnExistingRootInAnotherCaseIsUsed) {
    struct Case {
        const char* folder;          // the existing root under the base
        const char* existing;        // a file in it
        std::vector<Answer> answers; // to the reinstall and database questions
        bool dataAside;
    };
    const Case cases[] = {
        {"orvo-2", "DATA/status.sav", {}, false},
        {"ORVO-2", "orvo2", {Answer::Yes, Answer::No}, false},
        {"orvo-2", "Orvo2", {Answer::Yes, Answer::Yes}, true},
    };
    for (const auto& c : cases) {
        Scratch s;
        const fs::path existing = s.base / c.folder;
        test::writeBytes(existing / c.existing, {1});
        test::writeBytes(existing / "DATA/status.sav", {2});
        for (auto a : c.answers)
            s.sink.queueAnswer(a);
        EXPECT_EQ(s.root(), existing) << c.folder;
        EXPECT_EQ(s.install(true, true), InstallOutcome::Installed) << c.folder;
        std::vector<std::string> top;
        for (const auto& e : fs::directory_iterator(s.base))
            top.push_back(e.path().filename().string());
        EXPECT_EQ(top, std::vector<std::string>{c.folder}) << "no second root beside it";
        EXPECT_EQ(readBytes(existing / "O2_Check"), s.package[1].bytes) << c.folder;
        bool aside = false;
        for (const auto& e : fs::directory_iterator(existing))
            aside = aside || e.path().filename().string().rfind("DATA.old-", 0) == 0;
        EXPECT_EQ(aside, c.dataAside) << c.folder;
        const std::string entry = test::readText(s.places.applications / "orvo2-main.desktop");
        EXPECT_NE(entry.find("Path=" + existing.string() + "\n"), std::string::npos) << entry;
    }
}

TEST(Install, PartialInstallationWritesOnlyThePrograms) {
    Scratch s;
    test::writeBytes(s.root() / "DATA/status.sav", {9, 9});
    test::writeBytes(s.root() / "DATA/OBJ.SPS", {7});
    const std::string dataBefore = treeListing(s.root() / "DATA");
    EXPECT_EQ(s.install(), InstallOutcome::Installed);
    EXPECT_EQ(treeListing(s.root() / "DATA"), dataBefore);
    EXPECT_EQ(fs::directory_iterator(s.root() / "DATA/") == fs::directory_iterator(), false);
    for (const char* p : {"Orvo2", "O2_Check", "orvo"})
        EXPECT_TRUE(fs::is_regular_file(s.root() / p)) << p;
    EXPECT_FALSE(fs::exists(s.root() / "DATA/DIC"));
}

TEST(Install, ReinstallationAsksAndKeepsOrReplacesTheDatabase) {
    struct Case {
        const char* what;
        std::vector<Answer> answers;
        std::vector<std::string> messages;
        InstallOutcome outcome;
        bool dataKept;    // the user's DATA is where it was
        bool dataAside;   // the user's DATA went to DATA.old-...
        bool programsNew; // the programs were rewritten
    };
    const Case cases[] = {
        {"No: nothing is written",
         {Answer::No},
         {kReinstall},
         InstallOutcome::Declined,
         true,
         false,
         false},
        {"Yes, keep the database",
         {Answer::Yes, Answer::No},
         {kReinstall, kReplace, kDone},
         InstallOutcome::Installed,
         true,
         false,
         true},
        {"Yes, replace the database",
         {Answer::Yes, Answer::Yes},
         {kReinstall, kReplace, kDone},
         InstallOutcome::Installed,
         false,
         true,
         true},
    };
    for (const auto& c : cases) {
        Scratch s;
        ASSERT_EQ(s.install(), InstallOutcome::Installed);
        test::writeBytes(s.root() / "DATA/status.sav", {1, 2, 3});
        test::writeBytes(s.root() / "DATA/mine.txt", {4});
        test::writeBytes(s.root() / "Orvo2", {5});
        const std::string userData = treeListing(s.root() / "DATA");
        const std::string before = treeListing(s.dir.path());
        s.sink.clear();
        for (auto a : c.answers)
            s.sink.queueAnswer(a);
        EXPECT_EQ(s.install(), c.outcome) << c.what;
        EXPECT_EQ(s.captions(), c.messages) << c.what;
        if (c.outcome == InstallOutcome::Declined) {
            EXPECT_EQ(treeListing(s.dir.path()), before) << c.what;
        }
        EXPECT_EQ(treeListing(s.root() / "DATA") == userData, c.dataKept) << c.what;
        fs::path aside;
        for (const auto& e : fs::directory_iterator(s.root()))
            if (e.path().filename().string().rfind("DATA.old-", 0) == 0)
                aside = e.path();
        EXPECT_EQ(!aside.empty(), c.dataAside) << c.what;
        if (c.dataAside) {
            EXPECT_EQ(treeListing(aside), userData) << c.what;
            EXPECT_EQ(readBytes(s.root() / "DATA/status.sav"), s.package[4].bytes) << c.what;
        }
        EXPECT_EQ(readBytes(s.root() / "Orvo2") == s.package[0].bytes, c.programsNew) << c.what;
    }
}

TEST(Install, AWriteFailureStopsWithItsMessageAndNoCompletion) {
    for (const char* step : {"folder", "write"}) {
        Scratch s;
        int writes = 0;
        // The fourth write (the first database file) or the first folder fails.
        const auto fault = [&](std::string_view at) {
            return at == step && (at == "folder" || ++writes == 4);
        };
        EXPECT_EQ(s.install(true, true, fault), InstallOutcome::Failed) << step;
        ASSERT_EQ(s.sink.entries().size(), 1u) << step;
        const auto& m = s.sink.entries()[0];
        EXPECT_EQ(m.caption, "Установка");
        const std::string failed = std::string(step) == "folder"
                                       ? s.root().string()
                                       : (s.root() / "DATA/status.sav").string();
        EXPECT_EQ(m.text, "Ошибка записи \"" + failed + "\"\rУстановка прервана");
        EXPECT_FALSE(fs::exists(s.dir / "Desktop")) << "no shortcut after a failure";
    }
}

TEST(Install, HostileOrMissingPackagesLeaveTheDiskAsItWas) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> make; // writes the package file, or not
        const char* message;
    };
    const std::vector<Case> cases = {
        {"missing", [](const fs::path&) {}, "Чтение диска: Отсутствует установочный файл\n"},
        {"a folder", [](const fs::path& p) { fs::create_directories(p); },
         "Чтение диска: Ошибка чтения диска\n"},
        {"cut short",
         [](const fs::path& p) {
             auto b = packageBytes(test::smallPackage());
             b.resize(b.size() - 3);
             test::writeBytes(p, b);
         },
         "Чтение диска: Ошибка чтения диска\n"},
        {"escaping the root",
         [](const fs::path& p) {
             auto entries = test::smallPackage();
             entries[3].name = "..\\..\\evil";
             test::writeBytes(p, packageBytes(entries));
         },
         "Чтение диска: Ошибка чтения диска\n"},
    };
    for (const auto& c : cases) {
        Scratch s;
        const fs::path package = s.dir / "in/Orvo2.cab";
        fs::create_directories(package.parent_path());
        c.make(package);
        const std::string before = treeListing(s.dir.path());
        std::ostringstream err;
        const int rc =
            runUnattended({"--unattended", "--base", s.base.string()}, package, s.places, err);
        EXPECT_EQ(rc, 1) << c.what;
        EXPECT_EQ(err.str(), c.message) << c.what;
        EXPECT_EQ(treeListing(s.dir.path()), before) << c.what;
    }
}

TEST(Unattended, OptionsAnswersAndExitStatus) {
    Scratch s;
    const fs::path package = s.dir / "Orvo2.cab";
    test::writeBytes(package, packageBytes(s.package));
    const std::string base = s.base.string();
    struct Case {
        std::vector<std::string> args;
        int rc;
    };
    const Case cases[] = {
        {{"--unattended"}, 2},
        {{"--unattended", "--base"}, 2},
        {{"--unattended", "--base", base, "--bogus"}, 2},
        {{"--unattended", "--base", base, "--no-desktop", "--no-menu"}, 0},
        {{"--unattended", "--base", base, "--no-desktop", "--no-menu"}, 1}, // installed: No
        {{"--unattended", "--base", base, "--no-desktop", "--no-menu", "--overwrite"}, 0},
        {{"--unattended", "--base", base, "--package", package.string(), "--overwrite",
          "--replace-data", "--no-desktop", "--no-menu"},
         0},
    };
    for (const auto& c : cases) {
        std::ostringstream err;
        EXPECT_EQ(runUnattended(c.args, package, s.places, err), c.rc) << err.str();
    }
    int aside = 0;
    for (const auto& e : fs::directory_iterator(s.root()))
        aside += e.path().filename().string().rfind("DATA.old-", 0) == 0;
    EXPECT_EQ(aside, 1) << "only --replace-data moves DATA aside";
    EXPECT_FALSE(fs::exists(s.dir / "Desktop"));
    EXPECT_FALSE(fs::exists(s.dir / "data"));
}

// The shortcuts name the programs by full path, so the base is made absolute.
TEST(Unattended, ARelativeBaseIsMadeAbsolute) {
    const fs::path here = fs::current_path();
    const std::pair<const char*, fs::path> cases[] = {
        {"rel", here / "rel"},
        {"rel/sub/", here / "rel/sub"},
        {"./a/../b", here / "b"},
        {"/abs/base", "/abs/base"},
    };
    for (const auto& [given, expected] : cases) {
        std::string error;
        const auto o = parseUnattended({"--unattended", "--base", given}, error);
        ASSERT_TRUE(o) << given << ": " << error;
        EXPECT_EQ(o->base, expected) << given;
    }
}

} // namespace
