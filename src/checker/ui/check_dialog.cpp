// The checker dialog maps the report to its lists and labels; the scan and the repair are the
// core's.
#include "checker/ui/check_dialog.h"

#include "checker/check_texts.h"
#include "checker/ui/check_marks.h"
#include "platform/ui/qstring.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace orvo::checker::ui {

using platform::ui::qs;

namespace {

QListWidget* titledList(QGridLayout* grid, int column, std::string_view title, QWidget* parent) {
    auto* caption = new QLabel(qs(title), parent);
    auto* list = new QListWidget(parent);
    list->setIconSize(QSize(34, 16));
    caption->setBuddy(list);
    grid->addWidget(caption, 0, column);
    grid->addWidget(list, 1, column);
    return list;
}

} // namespace

CheckDialog::CheckDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                         QWidget* parent)
    : QDialog(parent), m_folder(folder), m_sink(sink) {
    setWindowTitle(qs(kCaption));
    auto* grid = new QGridLayout;
    m_objects = titledList(grid, 0, kObjectListCaption, this);
    m_boreholes = titledList(grid, 1, kBoreholeListCaption, this);
    m_boreholes->setIconSize(QSize(16, 16));
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);

    m_objectLabel = new QLabel(this);
    m_boreholeLabel = new QLabel(this);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 0);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_fix = new QPushButton(qs(kFixButton), this);
    m_fix->setEnabled(false);
    auto* exit = new QPushButton(qs(kExitButton), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_progress, 1);
    buttons->addWidget(m_fix);
    buttons->addWidget(exit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addWidget(m_objectLabel);
    layout->addWidget(m_boreholeLabel);
    layout->addLayout(buttons);
    resize(640, 420);

    connect(m_objects, &QListWidget::currentRowChanged, this, &CheckDialog::showObject);
    connect(m_boreholes, &QListWidget::currentRowChanged, this, &CheckDialog::showBorehole);
    connect(m_fix, &QPushButton::clicked, this, &CheckDialog::fix);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

void CheckDialog::scan() {
    runScan(false);
}

void CheckDialog::runScan(bool afterFix) {
    m_report = {};
    fill();
    auto report = ScanDatabase(m_folder, [this](int done, int total) {
        m_progress->setRange(0, total);
        m_progress->setValue(done);
    });
    if (!report) {
        m_sink.report(report.error());
        return;
    }
    m_report = std::move(*report);
    fill();
    if (!m_report.objects.empty())
        m_objects->setCurrentRow(0);
    const int faults = faultCount(m_report);
    if (faults == 0)
        return;
    m_sink.show(std::string(kFaultsCaption), faultsMessage(faults), platform::Icon::Information);
    // After a repair only a list that still could not be rewritten is worth another press:
    // missing titles are never repaired.
    const bool repairable =
        std::any_of(m_report.objects.begin(), m_report.objects.end(),
                    [](const ObjectCheck& o) { return o.status == ObjectStatus::ListFaulty; });
    m_fix->setEnabled(!afterFix || repairable);
}

void CheckDialog::fill() {
    m_objects->clear();
    for (const auto& object : m_report.objects) {
        const bool faulty = object.status != ObjectStatus::Sound;
        auto* item = new QListWidgetItem(objectIcon(faulty, !object.archived), qs(object.shortName),
                                         m_objects);
        item->setData(kFaultyRole, faulty);
        item->setData(kWorkingRole, !object.archived);
    }
    showObject(m_objects->currentRow());
}

void CheckDialog::showObject(int row) {
    m_boreholes->clear();
    if (row < 0 || row >= static_cast<int>(m_report.objects.size())) {
        m_objectLabel->clear();
        m_boreholeLabel->clear();
        return;
    }
    const auto& object = m_report.objects[static_cast<std::size_t>(row)];
    m_objectLabel->setText(qs(checker::objectLabel(object)));
    for (const auto& file : object.files) {
        auto* item =
            new QListWidgetItem(boreholeIcon(file.notInList), qs(file.headerName), m_boreholes);
        item->setData(kFaultyRole, file.notInList);
    }
    if (!object.files.empty())
        m_boreholes->setCurrentRow(0);
    else
        m_boreholeLabel->clear();
}

void CheckDialog::showBorehole(int row) {
    const int objectRow = m_objects->currentRow();
    if (objectRow < 0 || objectRow >= static_cast<int>(m_report.objects.size()))
        return;
    const auto& object = m_report.objects[static_cast<std::size_t>(objectRow)];
    if (row < 0 || row >= static_cast<int>(object.files.size())) {
        m_boreholeLabel->clear();
        return;
    }
    m_boreholeLabel->setText(
        qs(checker::boreholeLabel(object.number, object.files[static_cast<std::size_t>(row)])));
}

void CheckDialog::fix() {
    m_fix->setEnabled(false);
    const auto outcome = FixBoreholeLists(m_folder, m_report);
    for (const auto& failure : outcome.failures)
        m_sink.report(failure);
    runScan(true);
}

} // namespace orvo::checker::ui
