// The export dialog and the export commands run from the section dialog.
#include "export/ui/export_dialog.h"

#include "platform/ui/qt_fonts.h"
#include "platform/ui/qt_text_metrics.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo::exporter {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QString defaultChoosePath(QWidget* parent, const QString& folder, const QString& prefix) {
    QFileDialog dialog(parent, "Экспорт чертежа в формате AutoCAD (DXF)", folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({"AutoCAD (*.DXF)", "Архив (*.ZIP)", "Все файлы (*.*)"});
    dialog.selectFile(prefix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

} // namespace

ExportDxfDialog::ExportDxfDialog(const ExportDialogInfo& info, QWidget* parent,
                                 ChoosePath choosePath)
    : QDialog(parent), m_choosePath(choosePath ? std::move(choosePath) : defaultChoosePath) {
    setWindowTitle("Экспорт чертежа разреза - формат DXF");
    m_choice.settings = info.settings;
    m_choice.prefix = info.prefix;
    m_choice.storeSettings = true;
    QFont valueFont = platform::fontForFace("MS Sans Serif", 8, QFont::Bold);
    const auto value = [&](const QString& text, const char* name) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        label->setFont(valueFont);
        return label;
    };
    auto* form = new QFormLayout;
    form->addRow("Объект:", value(qs(info.objectName).left(30), "object"));
    form->addRow("Разрез:", value(qs(info.sectionName), "section"));
    form->addRow("Листов:", value(QString::number(info.sheets), "sheets"));
    m_path = value(qs(info.settings.path), "path");
    m_prefix = value(qs(info.prefix), "prefix");
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_path, 1);
    auto* change = new QPushButton("Сменить путь...", this);
    change->setObjectName("changePath");
    pathRow->addWidget(change);
    form->addRow("Путь:", pathRow);
    form->addRow("Префикс:", m_prefix);
    m_archive = new QCheckBox("Предварительно архивировать чертеж (ZIP)", this);
    m_archive->setObjectName("archive");
    m_archive->setChecked(info.settings.archive);
    m_boundary = new QCheckBox("Формировать границу области штриховки ИГЭ", this);
    m_boundary->setObjectName("boundary");
    m_boundary->setChecked(info.settings.hatchBoundary);
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton("Экспорт", QDialogButtonBox::AcceptRole);
    ok->setObjectName("export");
    ok->setDefault(true);
    auto* cancel = buttons->addButton("Отмена", QDialogButtonBox::RejectRole);
    cancel->setObjectName("cancel");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_archive);
    layout->addWidget(m_boundary);
    layout->addWidget(buttons);
    connect(change, &QPushButton::clicked, this, &ExportDxfDialog::changePath);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void ExportDxfDialog::changePath() {
    const QString chosen = m_choosePath(this, qs(m_choice.settings.path), qs(m_choice.prefix));
    if (chosen.isEmpty())
        return;
    const auto [folder, prefix] = splitChosenName(chosen.toStdString());
    m_choice.settings.path = folder;
    m_choice.prefix = prefix;
    m_path->setText(qs(folder));
    m_prefix->setText(qs(prefix));
}

ExportChoice ExportDxfDialog::choice() const {
    ExportChoice c = m_choice;
    c.settings.archive = m_archive->isChecked();
    c.settings.hatchBoundary = m_boundary->isChecked();
    return c;
}

ExportOutcome ExportSectionDxfWindow(QWidget* parent, const store::ProjectStore& store,
                                     platform::MessageSink& sink,
                                     const drawing::DrawingRequest& request,
                                     const ExportDialog& dialog) {
    const platform::QtTextMetrics metrics;
    const ExportEnvironment env(metrics);
    const ExportDialog ask = dialog ? dialog : [parent](const ExportDialogInfo& info) {
        ExportDxfDialog d(info, parent);
        return d.exec() == QDialog::Accepted ? std::optional(d.choice()) : std::nullopt;
    };
    return ExportSectionDxf(store, sink, request.object, request.storedSection, request.section,
                            request.source, ask, env);
}

void OpenSectionDxfWindow(QWidget*, const store::ProjectStore& store, platform::MessageSink& sink,
                          const drawing::DrawingRequest& request) {
    const platform::QtTextMetrics metrics;
    const ExportEnvironment env(metrics);
    platform::DesktopFileOpener opener;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    (void)OpenSectionDxf(store, sink, request.object, request.storedSection, request.section, env,
                         opener);
    QApplication::restoreOverrideCursor();
}

} // namespace orvo::exporter
