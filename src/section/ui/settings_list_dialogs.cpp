// Widgets of the settings list editors; the list rules live in section/settings_lists.
#include "section/ui/settings_list_dialogs.h"

#include "platform/ui/widgets.h"
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo::section::ui {

namespace {

QListWidget* listBox(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QStringLiteral("list"));
    QFont mono(QStringLiteral("monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    list->setFont(mono); // the entries are padded texts
    return list;
}

std::vector<std::int16_t> scalesOrEmpty(const platform::WorkFolder& folder,
                                        platform::MessageSink& sink) {
    auto scales = ReadScales(folder);
    if (!scales) {
        sink.report(scales.error());
        return {};
    }
    return *scales;
}

std::vector<Surname> surnamesOrEmpty(const platform::WorkFolder& folder,
                                     platform::MessageSink& sink) {
    auto names = ReadSurnames(folder);
    if (!names) {
        sink.report(names.error());
        return {};
    }
    return *names;
}

} // namespace

// ---- Scales ----

ScaleListDialog::ScaleListDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                                 QWidget* parent)
    : QDialog(parent), m_folder(folder), m_sink(sink), m_model(scalesOrEmpty(folder, sink)) {
    setWindowTitle(QStringLiteral("Список зарезервированных масштабов"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Существующие")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Новый")), 0, 2);
    m_list = listBox(this);
    grid->addWidget(m_list, 1, 0, 4, 1);
    m_new = new QLineEdit(this);
    m_new->setObjectName(QStringLiteral("new"));
    grid->addWidget(m_new, 1, 2);
    auto* add = platform::ui::makeButton("Добавить <", "add", this);
    auto* remove = platform::ui::makeButton("Удалить >", "remove", this);
    grid->addWidget(add, 1, 1);
    grid->addWidget(remove, 2, 1);
    auto* buttons = new QHBoxLayout;
    auto* save = platform::ui::makeButton("Сохранить", "save", this);
    auto* cancel = platform::ui::makeButton("Отмена", "cancel", this);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 5, 0, 1, 3);
    connect(add, &QPushButton::clicked, this, &ScaleListDialog::onAdd);
    connect(remove, &QPushButton::clicked, this, &ScaleListDialog::onRemove);
    connect(save, &QPushButton::clicked, this, &ScaleListDialog::onSave);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QListWidget::currentRowChanged, this,
            [this](int row) { m_model.select(row); });
    refill();
}

void ScaleListDialog::refill() {
    const int selected = m_model.selected();
    m_list->blockSignals(true);
    m_list->clear();
    for (auto s : m_model.scales())
        m_list->addItem(platform::ui::qs(formatScaleEntry(s)));
    m_list->setCurrentRow(selected);
    m_list->blockSignals(false);
}

void ScaleListDialog::onAdd() {
    auto added = m_model.add(m_new->text().toStdString());
    if (!added) {
        m_sink.report(added.error());
        return;
    }
    if (*added) {
        m_new->clear();
        refill();
    }
}

void ScaleListDialog::onRemove() {
    if (m_model.removeSelected())
        refill();
}

void ScaleListDialog::onSave() {
    // Written in list order, each entry read back from its text.
    std::vector<std::int16_t> scales;
    for (int i = 0; i < m_list->count(); ++i)
        scales.push_back(static_cast<std::int16_t>(m_list->item(i)->text().trimmed().toInt()));
    if (auto st = WriteScales(m_folder, scales); !st) {
        m_sink.report(st.error());
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
        new SheetFormatDialog(std::move(*editor), sink, parent));
}

SheetFormatDialog::SheetFormatDialog(SheetFormatEditor editor, platform::MessageSink& sink,
                                     QWidget* parent)
    : QDialog(parent), m_editor(std::move(editor)), m_sink(sink) {
    setWindowTitle(QStringLiteral("Список логических листов"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Существующие")));
    m_list = listBox(this);
    left->addWidget(m_list);
    layout->addLayout(left);
    auto* right = new QVBoxLayout;
    auto* form = new QFormLayout;
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("description"));
    m_description->setMaxLength(19);
    m_height = new QLineEdit(this);
    m_height->setObjectName(QStringLiteral("height"));
    m_width = new QLineEdit(this);
    m_width->setObjectName(QStringLiteral("width"));
    form->addRow(QStringLiteral("Описание"), m_description);
    form->addRow(QStringLiteral("Размер по вертикали (мм)"), m_height);
    form->addRow(QStringLiteral("Размер по горизонтали (мм)"), m_width);
    right->addLayout(form);
    auto* add = platform::ui::makeButton("Добавить", "add", this);
    auto* replace = platform::ui::makeButton("Заменить", "replace", this);
    auto* remove = platform::ui::makeButton("Удалить", "remove", this);
    auto* save = platform::ui::makeButton("Сохранить", "save", this);
    auto* cancel = platform::ui::makeButton("Отмена", "cancel", this);
    for (auto* b : {add, replace, remove, save, cancel})
        right->addWidget(b);
    layout->addLayout(right);
    connect(add, &QPushButton::clicked, this, &SheetFormatDialog::onAdd);
    connect(replace, &QPushButton::clicked, this, &SheetFormatDialog::onReplace);
    connect(remove, &QPushButton::clicked, this, &SheetFormatDialog::onRemove);
    connect(save, &QPushButton::clicked, this, &SheetFormatDialog::onSave);
    connect(cancel, &QPushButton::clicked, this, &SheetFormatDialog::reject);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        m_editor.select(m_list->item(row)->data(Qt::UserRole).toInt());
        showSelected();
    });
    refill();
}

void SheetFormatDialog::refill() {
    m_list->blockSignals(true);
    m_list->clear();
    for (const auto& row : m_editor.rows()) {
        auto* item = new QListWidgetItem(platform::ui::qs(row.description), m_list);
        item->setData(Qt::UserRole, row.scratchIndex);
        if (row.scratchIndex == m_editor.selected())
            m_list->setCurrentItem(item);
    }
    m_list->blockSignals(false);
    showSelected();
}

void SheetFormatDialog::showSelected() {
    if (m_editor.selected() < 0)
        return;
    const SheetFormat& f = m_editor.format(m_editor.selected());
    m_description->setText(platform::ui::qs(f.description.utf8Trimmed()));
    m_height->setText(QString::number(f.heightMm));
    m_width->setText(QString::number(f.widthMm));
}

void SheetFormatDialog::onAdd() {
    if (auto st = m_editor.add(m_description->text().toStdString(), m_height->text().toStdString(),
                               m_width->text().toStdString());
        !st) {
        m_sink.report(st.error());
        return;
    }
    refill();
}

void SheetFormatDialog::onReplace() {
    if (auto st = m_editor.replace(m_description->text().toStdString(),
                                   m_height->text().toStdString(), m_width->text().toStdString());
        !st) {
        m_sink.report(st.error());
        return;
    }
    refill();
}

void SheetFormatDialog::onRemove() {
    if (auto st = m_editor.removeSelected(); !st)
        m_sink.report(st.error());
    refill();
}

void SheetFormatDialog::onSave() {
    if (auto st = m_editor.save(); !st) {
        m_sink.report(st.error());
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
    : QDialog(parent), m_folder(folder), m_sink(sink), m_model(surnamesOrEmpty(folder, sink)) {
    setWindowTitle(QStringLiteral("Список фамилий "));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Существующие")));
    m_list = listBox(this);
    left->addWidget(m_list);
    layout->addLayout(left);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Новая")));
    m_new = new QLineEdit(this);
    m_new->setObjectName(QStringLiteral("new"));
    m_new->setMaxLength(29);
    right->addWidget(m_new);
    auto* add = platform::ui::makeButton("Добавить в список", "add", this);
    auto* replace = platform::ui::makeButton("Заменить", "replace", this);
    auto* remove = platform::ui::makeButton("Удалить из списка", "remove", this);
    auto* save = platform::ui::makeButton("Сохранить", "save", this);
    auto* cancel = platform::ui::makeButton("Отмена", "cancel", this);
    for (auto* b : {add, replace, remove, save, cancel})
        right->addWidget(b);
    layout->addLayout(right);
    connect(add, &QPushButton::clicked, this, &SurnameListDialog::onAdd);
    connect(replace, &QPushButton::clicked, this, &SurnameListDialog::onReplace);
    connect(remove, &QPushButton::clicked, this, &SurnameListDialog::onRemove);
    connect(save, &QPushButton::clicked, this, &SurnameListDialog::onSave);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        m_model.select(row);
        m_new->setText(
            platform::ui::qs(m_model.names()[static_cast<std::size_t>(row)].utf8Trimmed()));
    });
    refill();
}

void SurnameListDialog::refill() {
    const int selected = m_model.selected();
    m_list->blockSignals(true);
    m_list->clear();
    for (const auto& n : m_model.names())
        m_list->addItem(platform::ui::qs(n.utf8()));
    m_list->setCurrentRow(selected);
    m_list->blockSignals(false);
    if (selected >= 0)
        m_new->setText(
            platform::ui::qs(m_model.names()[static_cast<std::size_t>(selected)].utf8Trimmed()));
}

void SurnameListDialog::onAdd() {
    if (auto st = m_model.add(m_new->text().toStdString()); !st) {
        m_sink.report(st.error());
        return;
    }
    refill();
}

void SurnameListDialog::onReplace() {
    if (auto st = m_model.replace(m_new->text().toStdString()); !st) {
        m_sink.report(st.error());
        return;
    }
    refill();
}

void SurnameListDialog::onRemove() {
    if (m_model.removeSelected())
        refill();
}

void SurnameListDialog::onSave() {
    if (auto st = WriteSurnames(m_folder, m_model.names()); !st) {
        m_sink.report(st.error());
        return;
    }
    accept();
}

} // namespace orvo::section::ui
