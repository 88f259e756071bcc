// O2_Check: the database checker. Wiring only: the working folder, the dialog, its first scan.
#include "checker/ui/check_dialog.h"
#include "platform/ui/display.h"
#include "platform/ui/qt_language.h"
#include "platform/ui/qt_message_sink.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    if (!orvo::platform::ui::haveDisplay()) {
        std::fprintf(stderr, "O2_Check: нет графического дисплея (переменная DISPLAY не задана), "
                             "программа не может быть запущена.\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("O2_Check"));
    orvo::platform::ui::loadRussianCatalogue(app);

    // The working folder is the one holding DATA: the one named, or the current folder.
    const std::filesystem::path work =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::current_path();
    orvo::platform::WorkFolder folder(work);
    orvo::platform::QtMessageSink sink;
    orvo::checker::ui::CheckDialog dialog(folder, sink);
    sink.setParent(&dialog);
    dialog.show();
    // The scan runs once the dialog is on screen, so its progress bar is seen moving.
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.scan(); });
    dialog.exec();
    return 0;
}
