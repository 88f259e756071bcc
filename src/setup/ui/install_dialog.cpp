// The installation dialog maps its boxes to an InstallChoice and runs the installation.
#include "setup/ui/install_dialog.h"

#include "setup/install.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace orvo::setup::ui {

namespace {
QString qpath(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}
} // namespace

// Qt's own dialog rather than the desktop's, so that it can show, under the folders, the root
// the highlighted folder would give.
QString chooseFolder(QWidget* parent, const QString& title, const QString& start) {
    QFileDialog dialog(parent, title, start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    auto* status = new QLabel(&dialog);
    status->setObjectName(QStringLiteral("status"));
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(status, grid->rowCount(), 0, 1, grid->columnCount());
    const auto showRootOf = [status](const QString& folder) {
        status->setText(qpath(installRoot(std::filesystem::path(folder.toStdString()))));
    };
    showRootOf(start);
    QObject::connect(&dialog, &QFileDialog::currentChanged, status, showRootOf);
    QObject::connect(&dialog, &QFileDialog::directoryEntered, status, showRootOf);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

InstallDialog::InstallDialog(const std::vector<PackageEntry>& entries, const ShortcutPlaces& places,
                             platform::MessageSink& sink, const std::filesystem::path& base,
                             FolderChooser chooser, QWidget* parent)
    : QDialog(parent), m_entries(entries), m_places(places), m_sink(sink), m_base(base),
      m_chooser(std::move(chooser)) {
    setWindowTitle(QStringLiteral("Установка программы"));
    m_path = new QLabel(this);
    m_path->setObjectName(QStringLiteral("path"));
    m_path->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_path->setMinimumWidth(320);
    auto* change = new QPushButton(QStringLiteral("Сменить..."), this);
    change->setObjectName(QStringLiteral("change"));
    m_desktop = new QCheckBox(QStringLiteral("Создать ярлык на рабочем столе :"), this);
    m_desktop->setObjectName(QStringLiteral("desktop"));
    m_desktop->setLayoutDirection(Qt::RightToLeft);
    m_desktop->setChecked(true);
    m_menu = new QCheckBox(QStringLiteral("Создать ярлык в папке программы :"), this);
    m_menu->setObjectName(QStringLiteral("menu"));
    m_menu->setLayoutDirection(Qt::RightToLeft);
    m_menu->setChecked(true);
    auto* installButton = new QPushButton(QStringLiteral("Установить"), this);
    installButton->setObjectName(QStringLiteral("install"));
    installButton->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("cancel"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Путь :"), this), 0, 0);
    grid->addWidget(m_path, 0, 1);
    grid->addWidget(change, 0, 2);
    grid->addWidget(m_desktop, 1, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(m_menu, 2, 0, 1, 2, Qt::AlignLeft);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(installButton);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(change, &QPushButton::clicked, this, &InstallDialog::changeFolder);
    connect(installButton, &QPushButton::clicked, this, &InstallDialog::install);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    showRoot();
}

void InstallDialog::showRoot() {
    m_path->setText(qpath(installRoot(m_base)));
}

void InstallDialog::changeFolder() {
    QString chosen = m_chooser(this, QStringLiteral("Путь установки"), qpath(m_base));
    if (chosen.isEmpty())
        return;
    while (chosen.size() > 1 && (chosen.endsWith(QLatin1Char('/')) || chosen.endsWith('\\')))
        chosen.chop(1);
    m_base = std::filesystem::path(chosen.toStdString());
    showRoot();
}

void InstallDialog::install() {
    const InstallChoice choice{m_base, m_desktop->isChecked(), m_menu->isChecked()};
    m_outcome = RunInstallation(m_entries, choice, m_places, m_sink, m_fault);
    // Refusing to overwrite the installed program leaves the dialog open.
    if (m_outcome == InstallOutcome::Installed)
        accept();
    else if (m_outcome == InstallOutcome::Failed)
        reject();
}

} // namespace orvo::setup::ui
