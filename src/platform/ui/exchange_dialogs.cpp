// The exchange file dialog and the name-taken question box.
#include "platform/ui/exchange_dialogs.h"

#include "platform/ui/widgets.h"

#include <QDialog>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace orvo::platform::ui {

std::optional<std::filesystem::path> chooseExchangeFile(QWidget* parent, const FileChoice& choice,
                                                        bool save) {
    QFileDialog dialog(parent, save ? choice.exportTitle : choice.importTitle);
    dialog.setNameFilters(choice.filters);
    dialog.setDefaultSuffix(choice.suffix);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !choice.confirmOverwrite);
    // Qt's own dialog, so its labels can be given in Russian.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLabelText(QFileDialog::Accept,
                        save ? QStringLiteral("Сохранить") : QStringLiteral("Открыть"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Отмена"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Папка:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Имя файла:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Тип файлов:"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

int askNameTaken(QWidget* parent, const NameTakenQuestion& question, const std::string& nameUtf8) {
    QDialog d(parent);
    d.setWindowTitle(qs(question.caption));
    auto* layout = new QVBoxLayout(&d);
    layout->addWidget(new QLabel(qs(question.lead), &d));
    layout->addWidget(named(new QLabel(qs(nameUtf8), &d), "name"));
    for (const auto& line : question.after)
        layout->addWidget(new QLabel(qs(line), &d));
    auto* row = new QHBoxLayout;
    // Codes start at 1: 0 is what closing the box gives.
    int code = 1;
    for (const auto& text : question.choices) {
        auto* b = named(new QPushButton(qs(text), &d), "choice");
        // With a default, Return answers with the focused button as in any dialog; without one
        // it answers nothing, so a stray key press neither overwrites nor throws work away.
        b->setAutoDefault(question.defaultChoice >= 0);
        b->setDefault(code - 1 == question.defaultChoice);
        QObject::connect(b, &QPushButton::clicked, &d, [&d, code] { d.done(code); });
        row->addWidget(b);
        ++code;
    }
    layout->addLayout(row);
    return d.exec() - 1;
}

} // namespace orvo::platform::ui
