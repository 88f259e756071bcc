// "Установка программы": the installation root, the two shortcut boxes, "Установить".
#pragma once
#include "platform/message_sink.h"
#include "setup/installer.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;

namespace orvo::setup::ui {

// Asks for a folder: parent, title, the folder to start in. An empty answer means cancelled.
using FolderChooser = std::function<QString(QWidget*, const QString&, const QString&)>;
// A folder browser, folders only, showing the root the highlighted folder gives.
QString chooseFolder(QWidget* parent, const QString& title, const QString& start);

class InstallDialog : public QDialog {
    Q_OBJECT
public:
    InstallDialog(const std::vector<PackageEntry>& entries, const ShortcutPlaces& places,
                  platform::MessageSink& sink, const std::filesystem::path& base,
                  FolderChooser chooser = chooseFolder, QWidget* parent = nullptr);

    const std::filesystem::path& base() const { return m_base; }
    InstallOutcome outcome() const { return m_outcome; }
    // For tests: a write failure made on purpose.
    void setFaultHook(platform::FaultHook hook) { m_fault = std::move(hook); }

private:
    void changeFolder();
    void install();
    void showRoot();

    const std::vector<PackageEntry>& m_entries;
    ShortcutPlaces m_places;
    platform::MessageSink& m_sink;
    std::filesystem::path m_base;
    FolderChooser m_chooser;
    platform::FaultHook m_fault;
    InstallOutcome m_outcome = InstallOutcome::Declined;
    QLabel* m_path;
    QCheckBox* m_desktop;
    QCheckBox* m_menu;
};

} // namespace orvo::setup::ui
