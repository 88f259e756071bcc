// The desktop's part of exchanging dictionary items: choosing the file, and the box asking what
// to do with a name that is in use already.
#pragma once
#include "platform/messages.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace orvo::platform::ui {

// The file dialogs of one dictionary's "Экспорт" and "Импорт".
struct FileChoice {
    QString exportTitle;
    QString importTitle;
    QStringList filters; // the first one is chosen
    QString suffix;      // added to a name typed without one
    bool confirmOverwrite = true;
};

// A file to export to (save) or import from; nothing when cancelled. Tests replace it.
using ChooseFile = std::function<std::optional<std::filesystem::path>(bool save)>;

std::optional<std::filesystem::path> chooseExchangeFile(QWidget* parent, const FileChoice& choice,
                                                        bool save);

// The position of the choice clicked, or -1 when the box was closed otherwise. The name is shown
// in a label named "name".
int askNameTaken(QWidget* parent, const NameTakenQuestion& question, const std::string& nameUtf8);

} // namespace orvo::platform::ui
