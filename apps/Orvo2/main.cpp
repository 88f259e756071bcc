// Orvo2: the drafting program. Wiring only: single instance, then the start-up sequence.
#include "platform/ui/display.h"
#include "platform/ui/qt_language.h"
#include "platform/ui/qt_message_sink.h"
#include "platform/ui/single_instance.h"
#include "shell/ui/startup.h"

#include <QApplication>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    if (!orvo::platform::ui::haveDisplay()) {
        std::fprintf(stderr, "Orvo2: нет графического дисплея (переменная DISPLAY не задана), "
                             "программа не может быть запущена.\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvo2"));
    orvo::platform::ui::loadRussianCatalogue(app);

    orvo::platform::SingleInstance instance(orvo::platform::SingleInstance::defaultKey());
    if (instance.activateRunning())
        return 0;
    instance.listen();

    // The working folder is the one holding DATA: the current folder, or the one named.
    const std::filesystem::path work =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::current_path();
    orvo::platform::QtMessageSink sink;
    orvo::shell::ui::StartupOptions options;
    options.workFolder = work;
    options.sink = &sink;
    auto orvo2 = orvo::shell::ui::Orvo2App::start(std::move(options));
    if (!orvo2)
        return 1;

    auto& window = orvo2->window();
    sink.setParent(&window);
    QObject::connect(&instance, &orvo::platform::SingleInstance::activationRequested, &window,
                     [&window] {
                         if (window.isMinimized())
                             window.showNormal();
                         window.raise();
                         window.activateWindow();
                     });
    window.show();
    window.tree()->setFocus();
    return app.exec();
}
