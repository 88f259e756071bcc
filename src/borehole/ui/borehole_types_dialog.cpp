// Widgets of the borehole types dialog; the records are handled by borehole/borehole_types.
#include "borehole/ui/borehole_types_dialog.h"

#include "borehole/borehole_types.h"
#include "platform/collate.h"
#include "platform/numbers.h"
#include "platform/ui/slot_list.h"
#include "platform/ui/widgets.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvo::borehole::ui {

BoreholeTypesDialog::BoreholeTypesDialog(const platform::WorkFolder& folder,
                                         platform::MessageSink& sink, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_sink(sink) {
    setWindowTitle(QStringLiteral("Тип выработки"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Существующие")));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    left->addWidget(m_list);
    auto* buttons = new QHBoxLayout;
    m_change = platform::ui::makeButton("Изменить", "change", this);
    m_delete = platform::ui::makeButton("Удалить", "delete", this);
    m_add = platform::ui::makeButton("Добавить", "add", this);
    m_exit = platform::ui::makeButton("Выход", "exit", this);
    for (auto* b : {m_change, m_delete, m_add, m_exit})
        buttons->addWidget(b);
    left->addLayout(buttons);
    layout->addLayout(left);

    m_editPanel = new QWidget(this);
    m_editPanel->setObjectName(QStringLiteral("editPanel"));
    auto* form = new QFormLayout(m_editPanel);
    m_name = new QLineEdit(m_editPanel);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setMaxLength(29);
    m_columnWidth = new QLineEdit(m_editPanel);
    m_columnWidth->setObjectName(QStringLiteral("columnWidth"));
    m_lineWidth = new QLineEdit(m_editPanel);
    m_lineWidth->setObjectName(QStringLiteral("lineWidth"));
    m_shown = new QCheckBox(QStringLiteral("Отображать на череже"), m_editPanel);
    m_shown->setObjectName(QStringLiteral("shown"));
    form->addRow(QStringLiteral("Наименование"), m_name);
    form->addRow(QStringLiteral("Ширина колонки, мм"), m_columnWidth);
    form->addRow(QStringLiteral("Толщина линии, мм"), m_lineWidth);
    form->addRow(m_shown);
    auto* editButtons = new QHBoxLayout;
    auto* apply = platform::ui::makeButton("Применить", "apply", m_editPanel);
    auto* cancel = platform::ui::makeButton("Отменить", "cancelEdit", m_editPanel);
    editButtons->addWidget(apply);
    editButtons->addWidget(cancel);
    form->addRow(editButtons);
    layout->addWidget(m_editPanel);
    m_editPanel->setVisible(false);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] { updateButtons(); });
    connect(m_change, &QPushButton::clicked, this, [this] { enterEdit(selectedIndex()); });
    connect(m_add, &QPushButton::clicked, this, [this] { enterEdit(kNewRecord); });
    connect(m_delete, &QPushButton::clicked, this, &BoreholeTypesDialog::onDelete);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
    connect(apply, &QPushButton::clicked, this, &BoreholeTypesDialog::onApply);
    connect(cancel, &QPushButton::clicked, this, &BoreholeTypesDialog::leaveEdit);
    refill(-1);
}

int BoreholeTypesDialog::selectedIndex() const {
    return platform::ui::currentSlot(*m_list);
}

void BoreholeTypesDialog::refill(int selectIndex) {
    auto types = ListBoreholeTypes(m_folder);
    if (!types)
        m_sink.report(types.error());
    std::vector<platform::ui::SlotEntry> entries;
    if (types)
        for (const auto& t : *types)
            entries.push_back({t.type.name.utf8(), t.index});
    platform::ui::fillSlotList(*m_list, std::move(entries), selectIndex);
    updateButtons();
}

void BoreholeTypesDialog::updateButtons() {
    // Record 0 means "no type": it can be neither changed nor deleted.
    const bool realType = selectedIndex() > 0;
    const bool listMode = !editing();
    m_change->setEnabled(listMode && realType);
    m_delete->setEnabled(listMode && realType);
    m_add->setEnabled(listMode);
    m_exit->setEnabled(listMode);
    m_list->setEnabled(listMode);
}

void BoreholeTypesDialog::enterEdit(int index) {
    BoreholeType type;
    if (index >= 0) {
        auto read = ReadBoreholeType(m_folder, index);
        if (!read) {
            m_sink.report(read.error());
            return;
        }
        type = *read;
    }
    m_editIndex = index;
    m_name->setText(QString::fromStdString(type.name.utf8()));
    m_columnWidth->setText(QString::fromStdString(platform::formatTenths(type.columnWidth)));
    m_lineWidth->setText(QString::fromStdString(platform::formatTenths(type.lineWidth)));
    m_shown->setChecked(type.shownOnSection != 0);
    m_editPanel->setVisible(true);
    m_name->setFocus();
    updateButtons();
}

void BoreholeTypesDialog::leaveEdit() {
    m_editIndex = kNotEditing;
    m_editPanel->setVisible(false);
    updateButtons();
}

void BoreholeTypesDialog::onApply() {
    BoreholeType type;
    type.inUse = 1;
    type.name.setUtf8(m_name->text().toStdString());
    type.columnWidth = platform::parseTenths(m_columnWidth->text().toStdString());
    type.lineWidth = platform::parseTenths(m_lineWidth->text().toStdString());
    type.shownOnSection = m_shown->isChecked() ? 1 : 0;
    int written = m_editIndex;
    if (m_editIndex == kNewRecord) {
        auto added = AddBoreholeType(m_folder, type);
        if (!added) {
            m_sink.report(added.error());
            return;
        }
        written = *added;
    } else if (auto st = UpdateBoreholeType(m_folder, m_editIndex, type); !st) {
        m_sink.report(st.error());
        return;
    }
    leaveEdit();
    refill(written);
}

void BoreholeTypesDialog::onDelete() {
    const int index = selectedIndex();
    if (index <= 0)
        return;
    if (auto st = DeleteBoreholeType(m_folder, index); !st)
        m_sink.report(st.error());
    refill(-1);
    m_list->setCurrentRow(0);
}

} // namespace orvo::borehole::ui
