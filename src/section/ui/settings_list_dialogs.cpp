// Widgets of the settings list editors; the list rules live in section/settings_lists.
#include "section/ui/settings_list_dialogs.h"

#include "platform/ui/widgets.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo::section::ui {

using platform::ui::makeButton;
using platform::ui::qs;
using platform::ui::SlotEntry;

namespace {

// The entries are padded texts, shown in list order.
void setUpList(platform::ui::SlotList* list) {
    QFont mono(QStringLiteral("monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    list->setFont(mono);
    list->setOrder(platform::ui::SlotList::Order::AsGiven);
}

template <class T>
std::vector<T> orEmpty(Result<std::vector<T>> read, platform::MessageSink& sink) {
    if (!read) {
        sink.report(read.error());
        return {};
    }
    return std::move(*read);
}

bool isRow(int row, std::size_t count) {
    return row >= 0 && static_cast<std::size_t>(row) < count;
}

} // namespace

// ---- Scales ----

ScaleListDialog::ScaleListDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                                 QWidget* parent)
    : DictionaryListDialog(folder, sink, parent), m_model(orEmpty(ReadScales(folder), sink)) {
    setWindowTitle(QStringLiteral("Список зарезервированных масштабов"));
    setUpList(list());
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Существующие")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Новый")), 0, 2);
    grid->addWidget(list(), 1, 0, 4, 1);
    m_new = platform::ui::named(new QLineEdit(this), "new");
    grid->addWidget(m_new, 1, 2);
    auto* add = makeButton("Добавить <", "add", this);
    auto* remove = makeButton("Удалить >", "remove", this);
    grid->addWidget(add, 1, 1);
    grid->addWidget(remove, 2, 1);
    auto* buttons = new QHBoxLayout;
    auto* save = makeButton("Сохранить", "save", this);
    auto* cancel = makeButton("Отмена", "cancel", this);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 5, 0, 1, 3);
    connect(add, &QPushButton::clicked, this, &ScaleListDialog::onAdd);
    connect(remove, &QPushButton::clicked, this, &ScaleListDialog::remove);
    connect(save, &QPushButton::clicked, this, &ScaleListDialog::onSave);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    refill(m_model.selected());
}

Result<std::vector<SlotEntry>> ScaleListDialog::readEntries() {
    std::vector<SlotEntry> entries;
    for (auto s : m_model.scales())
        entries.push_back({formatScaleEntry(s), static_cast<int>(entries.size())});
    return entries;
}

void ScaleListDialog::showSelection(int row) {
    m_model.select(row);
}

bool ScaleListDialog::canDelete(int row) const {
    return isRow(row, m_model.scales().size()) && m_model.scales().size() > 1;
}

Status ScaleListDialog::deleteEntry(int) {
    m_model.removeSelected();
    return success();
}

void ScaleListDialog::onAdd() {
    auto added = m_model.add(m_new->text().toStdString());
    if (!added) {
        sink().report(added.error());
        return;
    }
    if (*added) {
        m_new->clear();
        refill(m_model.selected());
    }
}

void ScaleListDialog::onSave() {
    // Written in list order, each entry read back from its text.
    std::vector<std::int16_t> scales;
    for (int i = 0; i < list()->count(); ++i)
        scales.push_back(static_cast<std::int16_t>(list()->item(i)->text().trimmed().toInt()));
    if (auto st = WriteScales(folder(), scales); !st) {
        sink().report(st.error());
        return;
    }
    accept();
}

// ---- Sheet formats ----

std::unique_ptr<SheetFormatDialog> SheetFormatDialog::create(const platform::WorkFolder& folder,
                                                             platform::MessageSink& sink,
                                                             Error& error, QWidget* parent) {
    auto editor = SheetFormatEditor::Open(folder);
    if (!editor) {
        error = editor.error();
        return nullptr;
    }
    return std::unique_ptr<SheetFormatDialog>(
        new SheetFormatDialog(folder, std::move(*editor), sink, parent));
}

SheetFormatDialog::SheetFormatDialog(const platform::WorkFolder& folder, SheetFormatEditor editor,
                                     platform::MessageSink& sink, QWidget* parent)
    : DictionaryListDialog(folder, sink, parent), m_editor(std::move(editor)) {
    setWindowTitle(QStringLiteral("Список логических листов"));
    setUpList(list());
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Существующие")));
    left->addWidget(list());
    layout->addLayout(left);
    auto* right = new QVBoxLayout;
    auto* form = new QFormLayout;
    m_description = platform::ui::named(new QLineEdit(this), "description");
    m_description->setMaxLength(19);
    m_height = platform::ui::named(new QLineEdit(this), "height");
    m_width = platform::ui::named(new QLineEdit(this), "width");
    form->addRow(QStringLiteral("Описание"), m_description);
    form->addRow(QStringLiteral("Размер по вертикали (мм)"), m_height);
    form->addRow(QStringLiteral("Размер по горизонтали (мм)"), m_width);
    right->addLayout(form);
    auto* add = makeButton("Добавить", "add", this);
    auto* replace = makeButton("Заменить", "replace", this);
    auto* remove = makeButton("Удалить", "remove", this);
    auto* save = makeButton("Сохранить", "save", this);
    auto* cancel = makeButton("Отмена", "cancel", this);
    for (auto* b : {add, replace, remove, save, cancel})
        right->addWidget(b);
    layout->addLayout(right);
    connect(add, &QPushButton::clicked, this, &SheetFormatDialog::onAdd);
    connect(replace, &QPushButton::clicked, this, &SheetFormatDialog::onReplace);
    connect(remove, &QPushButton::clicked, this, &SheetFormatDialog::remove);
    connect(save, &QPushButton::clicked, this, &SheetFormatDialog::onSave);
    connect(cancel, &QPushButton::clicked, this, &SheetFormatDialog::reject);
    refill(m_editor.selected());
}

Result<std::vector<SlotEntry>> SheetFormatDialog::readEntries() {
    std::vector<SlotEntry> entries;
    for (const auto& row : m_editor.rows())
        entries.push_back({row.description, row.scratchIndex});
    return entries;
}

void SheetFormatDialog::showSelection(int scratchIndex) {
    if (scratchIndex < 0)
        return;
    m_editor.select(scratchIndex);
    const SheetFormat& f = m_editor.format(scratchIndex);
    m_description->setText(qs(f.description.utf8Trimmed()));
    m_height->setText(QString::number(f.heightMm));
    m_width->setText(QString::number(f.widthMm));
}

Status SheetFormatDialog::deleteEntry(int) {
    return m_editor.removeSelected();
}

void SheetFormatDialog::onAdd() {
    if (auto st = m_editor.add(m_description->text().toStdString(), m_height->text().toStdString(),
                               m_width->text().toStdString());
        !st) {
        sink().report(st.error());
        return;
    }
    refill(m_editor.selected());
}

void SheetFormatDialog::onReplace() {
    if (auto st = m_editor.replace(m_description->text().toStdString(),
                                   m_height->text().toStdString(), m_width->text().toStdString());
        !st) {
        sink().report(st.error());
        return;
    }
    refill(m_editor.selected());
}

void SheetFormatDialog::onSave() {
    if (auto st = m_editor.save(); !st) {
        sink().report(st.error());
        return;
    }
    accept();
}

void SheetFormatDialog::reject() {
    m_editor.cancel();
    QDialog::reject();
}

// ---- Surnames ----

SurnameListDialog::SurnameListDialog(const platform::WorkFolder& folder,
                                     platform::MessageSink& sink, QWidget* parent)
    : DictionaryListDialog(folder, sink, parent), m_model(orEmpty(ReadSurnames(folder), sink)) {
    setWindowTitle(QStringLiteral("Список фамилий "));
    setUpList(list());
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Существующие")));
    left->addWidget(list());
    layout->addLayout(left);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Новая")));
    m_new = platform::ui::named(new QLineEdit(this), "new");
    m_new->setMaxLength(29);
    right->addWidget(m_new);
    auto* add = makeButton("Добавить в список", "add", this);
    auto* replace = makeButton("Заменить", "replace", this);
    auto* remove = makeButton("Удалить из списка", "remove", this);
    auto* save = makeButton("Сохранить", "save", this);
    auto* cancel = makeButton("Отмена", "cancel", this);
    for (auto* b : {add, replace, remove, save, cancel})
        right->addWidget(b);
    layout->addLayout(right);
    connect(add, &QPushButton::clicked, this, &SurnameListDialog::onAdd);
    connect(replace, &QPushButton::clicked, this, &SurnameListDialog::onReplace);
    connect(remove, &QPushButton::clicked, this, &SurnameListDialog::remove);
    connect(save, &QPushButton::clicked, this, &SurnameListDialog::onSave);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    refill(m_model.selected());
}

Result<std::vector<SlotEntry>> SurnameListDialog::readEntries() {
    std::vector<SlotEntry> entries;
    for (const auto& n : m_model.names())
        entries.push_back({n.utf8(), static_cast<int>(entries.size())});
    return entries;
}

void SurnameListDialog::showSelection(int row) {
    if (!isRow(row, m_model.names().size()))
        return;
    m_model.select(row);
    m_new->setText(qs(m_model.names()[static_cast<std::size_t>(row)].utf8Trimmed()));
}

bool SurnameListDialog::canDelete(int row) const {
    return isRow(row, m_model.names().size()) && m_model.names().size() > 1;
}

Status SurnameListDialog::deleteEntry(int) {
    m_model.removeSelected();
    return success();
}

void SurnameListDialog::onAdd() {
    if (auto st = m_model.add(m_new->text().toStdString()); !st) {
        sink().report(st.error());
        return;
    }
    refill(m_model.selected());
}

void SurnameListDialog::onReplace() {
    if (auto st = m_model.replace(m_new->text().toStdString()); !st) {
        sink().report(st.error());
        return;
    }
    refill(m_model.selected());
}

void SurnameListDialog::onSave() {
    if (auto st = WriteSurnames(folder(), m_model.names()); !st) {
        sink().report(st.error());
        return;
    }
    accept();
}

} // namespace orvo::section::ui
