// SetupO2: the installer. Wiring only: the unattended mode, or one instance with its windows.
#include "platform/path_resolver.h"
#include "platform/ui/display.h"
#include "platform/ui/qt_language.h"
#include "platform/ui/single_instance.h"
#include "setup/installer.h"
#include "setup/ui/backdrop_window.h"
#include "setup/ui/setup_run.h"
#include "setup/ui/shortcut_places.h"
#include "setup/unattended.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

// The package beside the installer's own file, not in the current folder.
std::filesystem::path packageBesideProgram(const char* argv0) {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        self = std::filesystem::absolute(argv0, ec);
    const std::filesystem::path folder = self.parent_path();
    const std::filesystem::path found =
        orvo::platform::PathResolver(folder).resolve(orvo::setup::kPackageName);
    return found.empty() ? folder / orvo::setup::kPackageName : found;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::filesystem::path package = packageBesideProgram(argv[0]);
    if (orvo::setup::wantsUnattended(args))
        return orvo::setup::runUnattended(args, package, orvo::setup::ui::standardShortcutPlaces(),
                                          std::cerr);
    if (!orvo::platform::ui::haveDisplay()) {
        std::fprintf(stderr, "SetupO2: нет графического дисплея (переменная DISPLAY не задана), "
                             "программа не может быть запущена.\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("SetupO2"));
    orvo::platform::ui::loadRussianCatalogue(app);

    // A key of its own: the installer may run while the main program does.
    orvo::platform::SingleInstance instance(QStringLiteral("SETUPO2-%1").arg(::getuid()));
    if (instance.activateRunning())
        return 0;
    instance.listen();

    orvo::setup::ui::SetupO2 window;
    QObject::connect(&instance, &orvo::platform::SingleInstance::activationRequested, &window,
                     [&window] {
                         if (window.isMinimized())
                             window.showMaximized();
                         window.raise();
                         window.activateWindow();
                     });
    orvo::setup::ui::SetupMessageSink sink(&window);
    orvo::setup::ui::SetupRun run;
    run.package = package;
    run.base = std::filesystem::path(QDir::homePath().toStdString());
    run.places = orvo::setup::ui::standardShortcutPlaces();
    return orvo::setup::ui::runSetup(run, window, sink);
}
