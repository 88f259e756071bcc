// Widgets of the borehole types dialog; the records are handled by borehole/borehole_types.
#include "borehole/ui/borehole_types_dialog.h"

#include "borehole/borehole_types.h"
#include "platform/numbers.h"
#include "platform/ui/widgets.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo::borehole::ui {

using platform::ui::makeButton;
using platform::ui::named;

BoreholeTypesDialog::BoreholeTypesDialog(const platform::WorkFolder& folder,
                                         platform::MessageSink& sink, QWidget* parent)
    : DictionaryListDialog(folder, sink, parent) {
    setWindowTitle(QStringLiteral("Тип выработки"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Существующие")));
    left->addWidget(list());
    auto* buttons = new QHBoxLayout;
    // Record 0 means "no type": it can be neither changed nor deleted.
    using N = Needs;
    for (auto* b :
         {addButton(makeButton("Изменить", "change", this), N::OwnEntry,
                    [this] { enterEdit(selectedIndex()); }),
          addButton(makeButton("Удалить", "delete", this), N::OwnEntry, [this] { remove(); }),
          addButton(makeButton("Добавить", "add", this), N::Nothing,
                    [this] { enterEdit(kNewRecord); }),
          addButton(makeButton("Выход", "exit", this), N::Nothing, [this] { accept(); })})
        buttons->addWidget(b);
    left->addLayout(buttons);
    layout->addLayout(left);
    layout->addWidget(buildEditPanel());
    m_editPanel->setVisible(false);
    refill(-1);
}

QWidget* BoreholeTypesDialog::buildEditPanel() {
    m_editPanel = named(new QWidget(this), "editPanel");
    auto* form = new QFormLayout(m_editPanel);
    m_name = named(new QLineEdit(m_editPanel), "name");
    m_name->setMaxLength(29);
    m_columnWidth = named(new QLineEdit(m_editPanel), "columnWidth");
    m_lineWidth = named(new QLineEdit(m_editPanel), "lineWidth");
    m_shown = named(new QCheckBox(QStringLiteral("Отображать на череже"), m_editPanel), "shown");
    form->addRow(QStringLiteral("Наименование"), m_name);
    form->addRow(QStringLiteral("Ширина колонки, мм"), m_columnWidth);
    form->addRow(QStringLiteral("Толщина линии, мм"), m_lineWidth);
    form->addRow(m_shown);
    auto* editButtons = new QHBoxLayout;
    auto* apply = makeButton("Применить", "apply", m_editPanel);
    auto* cancel = makeButton("Отменить", "cancelEdit", m_editPanel);
    editButtons->addWidget(apply);
    editButtons->addWidget(cancel);
    form->addRow(editButtons);
    connect(apply, &QPushButton::clicked, this, &BoreholeTypesDialog::onApply);
    connect(cancel, &QPushButton::clicked, this, &BoreholeTypesDialog::leaveEdit);
    return m_editPanel;
}

Result<std::vector<platform::ui::SlotEntry>> BoreholeTypesDialog::readEntries() {
    auto types = ListBoreholeTypes(folder());
    if (!types)
        return types.error();
    std::vector<platform::ui::SlotEntry> entries;
    for (const auto& t : *types)
        entries.push_back({t.type.name.utf8(), t.index});
    return entries;
}

void BoreholeTypesDialog::enterEdit(int index) {
    BoreholeType type;
    if (index >= 0) {
        auto read = ReadBoreholeType(folder(), index);
        if (!read) {
            sink().report(read.error());
            return;
        }
        type = *read;
    }
    m_editIndex = index;
    m_name->setText(platform::ui::qs(type.name.utf8()));
    m_columnWidth->setText(platform::ui::qs(platform::formatTenths(type.columnWidth)));
    m_lineWidth->setText(platform::ui::qs(platform::formatTenths(type.lineWidth)));
    m_shown->setChecked(type.shownOnSection != 0);
    m_editPanel->setVisible(true);
    m_name->setFocus();
    setEditing(true);
}

void BoreholeTypesDialog::leaveEdit() {
    m_editPanel->setVisible(false);
    setEditing(false);
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
        auto added = AddBoreholeType(folder(), type);
        if (!added) {
            sink().report(added.error());
            return;
        }
        written = *added;
    } else if (auto st = UpdateBoreholeType(folder(), m_editIndex, type); !st) {
        sink().report(st.error());
        return;
    }
    leaveEdit();
    refill(written);
}

Status BoreholeTypesDialog::deleteEntry(int index) {
    return DeleteBoreholeType(folder(), index);
}

} // namespace orvo::borehole::ui
