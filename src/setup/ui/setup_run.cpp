// The installer's sequence with windows; ends with the installation dialog.
#include "setup/ui/setup_run.h"

#include "setup/installer.h"
#include "setup/ui/agreement_dialog.h"
#include "setup/ui/backdrop_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace orvo::setup::ui {

platform::Answer SetupMessageSink::askYesNo(const std::string& caption, const std::string& text) {
    if (text != kReplaceDataQuestion)
        return QtMessageSink::askYesNo(caption, text);
    QMessageBox box(QMessageBox::Question, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    return box.exec() == QMessageBox::Yes ? platform::Answer::Yes : platform::Answer::No;
}

int runSetup(const SetupRun& run, SetupO2& window, platform::MessageSink& sink) {
    // The package is read whole before anything is shown, and refused whole if faulty.
    const auto entries = LoadPackage(run.package, sink);
    if (!entries)
        return 1;
    window.showOnScreen();
    AgreementDialog agreement(&window);
    if (agreement.exec() != QDialog::Accepted)
        return 1;
    InstallDialog dialog(*entries, run.places, sink, run.base, run.chooser, &window);
    dialog.exec();
    return dialog.outcome() == InstallOutcome::Installed ? 0 : 1;
}

} // namespace orvo::setup::ui
