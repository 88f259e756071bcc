// Widgets of the borehole editor and its validation report; the rules live in borehole_tables
// and validation.
#include "borehole/ui/borehole_editor.h"

#include "borehole/borehole_record.h"
#include "borehole/borehole_types.h"
#include "borehole/dictionary_slots.h"
#include "borehole/ui/borehole_types_dialog.h"
#include "borehole/validation.h"
#include "platform/numbers.h"
#include "platform/ui/widgets.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvo::borehole::ui {

using platform::ui::makeButton;
using platform::ui::qs;

namespace {

constexpr const char* kNoDataSheetText = "Лист данных по выработке пока недоступен.";

// The records offered for choice: in use and not record 0, which stands for "no type".
std::vector<TypeName> offeredNames(const platform::WorkFolder& folder, BoreholeDictionary which,
                                   platform::MessageSink& sink) {
    auto available = DictionarySlots::read(folder, which);
    if (!available) {
        sink.report(available.error());
        return {};
    }
    std::vector<TypeName> out;
    for (const auto& s : available->offered())
        out.push_back({s.slot, qs(s.name)});
    return out;
}

QString fixed2(float value) {
    return qs(platform::formatFixed(value, 2));
}

} // namespace

BoreholeEditor::BoreholeEditor(const store::ProjectStore& store, std::int32_t object,
                               std::int32_t number, BoreholeEditData& editData,
                               BoreholeClipboard& clipboard, platform::MessageSink& sink,
                               BoreholeEditorHooks hooks, QWidget* parent)
    : QDialog(parent), m_store(store), m_object(object), m_number(number), m_data(editData),
      m_clipboard(clipboard), m_sink(sink), m_hooks(std::move(hooks)) {
    setObjectName(QStringLiteral("boreholeEditor"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildHeader());
    layout->addWidget(buildTables());
    layout->addWidget(buildActions());
    for (auto kind : {TableKind::Ige, TableKind::Water, TableKind::Samples})
        refillTableTypes(kind);
    refillBoreholeTypes();
    showHeader();
    m_tables[0]->setChecked(true);
    chooseTable(TableKind::Ige);
}

BoreholeEditor::~BoreholeEditor() {
    // Closing moves the focus out of an edit while the dialog is already half gone.
    for (FieldEdit* e : {m_name, m_x, m_y, m_elevation, m_depth})
        disconnect(e, nullptr, this, nullptr);
}

QWidget* BoreholeEditor::buildHeader() {
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    m_name = new FieldEdit("name", box);
    m_name->setMaxLength(9);
    m_x = new FieldEdit("x", box);
    m_y = new FieldEdit("y", box);
    m_elevation = new FieldEdit("elevation", box);
    m_depth = new FieldEdit("depth", box);
    m_type = new QComboBox(box);
    m_type->setObjectName(QStringLiteral("type"));
    auto* editTypes = makeButton("...", "editBoreholeTypes", box);
    editTypes->setFixedWidth(editTypes->fontMetrics().horizontalAdvance(editTypes->text()) * 3);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(m_type, 1);
    typeRow->addWidget(editTypes);
    form->addRow(QStringLiteral("Наименование выработки :"), m_name);
    form->addRow(QStringLiteral("Координата по X :"), m_x);
    form->addRow(QStringLiteral("Координата по Y :"), m_y);
    form->addRow(QStringLiteral("Абсолютная отметка выработки :"), m_elevation);
    form->addRow(QStringLiteral("Глубина выработки :"), m_depth);
    form->addRow(QStringLiteral("Тип выработки :"), typeRow);

    for (FieldEdit* e : {m_name, m_x, m_y, m_elevation, m_depth})
        connect(e, &QLineEdit::editingFinished, this, &BoreholeEditor::readHeader);
    connect(m_type, &QComboBox::activated, this, [this](int i) {
        m_data.type = static_cast<std::int16_t>(m_type->itemData(i).toInt());
    });
    connect(editTypes, &QPushButton::clicked, this, [this] {
        if (m_hooks.editBoreholeTypes) {
            m_hooks.editBoreholeTypes();
        } else {
            BoreholeTypesDialog dialog(m_store.folder(), m_sink, this);
            dialog.exec();
        }
        refillBoreholeTypes();
    });
    return box;
}

QWidget* BoreholeEditor::buildTables() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    auto* choice = new QGroupBox(box);
    auto* choiceLayout = new QHBoxLayout(choice);
    const std::array<std::pair<const char*, const char*>, 3> radios{{
        {"Инженерно-геологические элементы", "tableIge"},
        {"Подземные воды", "tableWater"},
        {"Отборы проб", "tableSamples"},
    }};
    for (std::size_t i = 0; i < radios.size(); ++i) {
        m_tables[i] = new QRadioButton(QString::fromUtf8(radios[i].first), choice);
        m_tables[i]->setObjectName(QString::fromLatin1(radios[i].second));
        choiceLayout->addWidget(m_tables[i]);
        const auto kind = static_cast<TableKind>(i);
        connect(m_tables[i], &QRadioButton::toggled, this, [this, kind](bool on) {
            if (on)
                chooseTable(kind);
        });
    }
    layout->addWidget(choice);

    auto* gridRow = new QHBoxLayout;
    m_grid = new BoreholeGrid(box);
    gridRow->addWidget(m_grid);
    auto* rowButtons = new QVBoxLayout;
    auto* insert = makeButton("Вставить", "insertRow", box);
    auto* remove = makeButton("Удалить", "deleteRow", box);
    auto* sort = makeButton("Сортировать", "sortRows", box);
    auto* types = makeButton("Справочник", "editRowTypes", box);
    for (auto* b : {insert, remove, sort, types})
        rowButtons->addWidget(b);
    rowButtons->addStretch(1);
    gridRow->addLayout(rowButtons);
    layout->addLayout(gridRow);

    auto rowAction = [this](auto action) {
        return [this, action] {
            m_grid->commit();
            action(m_data.table(m_kind));
            m_grid->refresh();
        };
    };
    connect(insert, &QPushButton::clicked, this,
            rowAction([](EditTable& t) { t.insertRow(BoreholeGrid::kVisibleRows); }));
    connect(remove, &QPushButton::clicked, this,
            rowAction([](EditTable& t) { t.deleteRow(BoreholeGrid::kVisibleRows); }));
    connect(sort, &QPushButton::clicked, this, rowAction([](EditTable& t) { t.sort(); }));
    connect(types, &QPushButton::clicked, this, &BoreholeEditor::editTableTypes);
    return box;
}

QWidget* BoreholeEditor::buildActions() {
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    auto* view = makeButton("Просмотр и печать", "view", box);
    auto* copy = makeButton("В буфер обмена", "toClipboard", box);
    m_fromClipboard = makeButton("Из буфера обмена", "fromClipboard", box);
    auto* save = makeButton("Сохранить", "save", box);
    auto* cancel = makeButton("Отмена", "cancel", box);
    for (auto* b : {view, copy, m_fromClipboard, save, cancel})
        layout->addWidget(b);
    m_fromClipboard->setEnabled(m_clipboard.data.has_value());
    connect(view, &QPushButton::clicked, this, &BoreholeEditor::onView);
    connect(copy, &QPushButton::clicked, this, &BoreholeEditor::onCopy);
    connect(m_fromClipboard, &QPushButton::clicked, this, &BoreholeEditor::onPaste);
    connect(save, &QPushButton::clicked, this, &BoreholeEditor::onSave);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    return box;
}

void BoreholeEditor::showHeader() {
    m_name->showText(qs(m_data.name.utf8()));
    m_x->showText(fixed2(m_data.x));
    m_y->showText(fixed2(m_data.y));
    m_elevation->showText(fixed2(m_data.elevation));
    m_depth->showText(fixed2(m_data.depth));
    setWindowTitle(QStringLiteral("Выработка: ") + qs(m_data.name.utf8()));
}

void BoreholeEditor::readHeader() {
    if (m_name->edited()) {
        m_data.name.setUtf8(m_name->text().toStdString(), 9);
        m_name->showText(qs(m_data.name.utf8()));
        setWindowTitle(QStringLiteral("Выработка: ") + qs(m_data.name.utf8()));
    }
    const std::array<std::pair<FieldEdit*, float*>, 4> numbers{{
        {m_x, &m_data.x},
        {m_y, &m_data.y},
        {m_elevation, &m_data.elevation},
        {m_depth, &m_data.depth},
    }};
    for (auto [edit, value] : numbers) {
        if (!edit->edited())
            continue;
        *value = platform::toFloat32(platform::parseDecimal(edit->text().toStdString()));
        edit->showText(fixed2(*value));
    }
}

void BoreholeEditor::refillBoreholeTypes() {
    auto types = ListBoreholeTypes(m_store.folder());
    if (!types)
        m_sink.report(types.error());
    m_type->clear();
    if (types) {
        for (const auto& t : *types) {
            if (t.index > 0)
                m_type->addItem(qs(t.type.name.utf8Trimmed()), t.index);
        }
    }
    // No type (0), or one missing from the list, shows no entry: whatever the user picks is a
    // new choice and is stored, and what is shown is always what is stored.
    m_type->setCurrentIndex(m_type->findData(static_cast<int>(m_data.type)));
}

void BoreholeEditor::refillTableTypes(TableKind kind) {
    const auto& folder = m_store.folder();
    auto& names = m_tableTypes[static_cast<std::size_t>(kind)];
    switch (kind) {
    case TableKind::Ige:
        names = offeredNames(folder, BoreholeDictionary::Consistency, m_sink);
        break;
    case TableKind::Water:
        names = offeredNames(folder, BoreholeDictionary::Water, m_sink);
        break;
    case TableKind::Samples:
        names = offeredNames(folder, BoreholeDictionary::Sample, m_sink);
        break;
    }
    if (kind == m_kind)
        m_grid->setTypes(names);
}

void BoreholeEditor::chooseTable(TableKind kind) {
    m_grid->commit();
    m_kind = kind;
    m_grid->setTable(&m_data.table(kind), kind, m_tableTypes[static_cast<std::size_t>(kind)]);
}

void BoreholeEditor::editTableTypes() {
    m_grid->commit();
    const auto& hook = m_kind == TableKind::Ige     ? m_hooks.editConsistencyTypes
                       : m_kind == TableKind::Water ? m_hooks.editWaterTypes
                                                    : m_hooks.editSampleTypes;
    if (hook)
        hook();
    refillTableTypes(m_kind);
}

void BoreholeEditor::sortAll() {
    readHeader();
    m_grid->commit();
    m_data.sortAll();
    m_grid->refresh();
}

bool BoreholeEditor::validate() {
    // The report is rewritten every time, empty when all is well, so it never shows the
    // lines of an earlier failure.
    const auto lines = CheckBorehole(m_store.folder(), m_data);
    if (auto written = WriteReport(m_store.folder(), lines); !written)
        m_sink.report(written.error());
    if (lines.empty())
        return true;
    ShowValidationReport(m_data.name, lines, this);
    return false;
}

void BoreholeEditor::onView() {
    sortAll();
    if (!validate())
        return;
    if (m_hooks.viewDataSheet)
        m_hooks.viewDataSheet(m_data);
    else
        m_sink.show("Information", kNoDataSheetText, platform::Icon::Information);
}

void BoreholeEditor::onCopy() {
    sortAll();
    if (!validate())
        return;
    m_clipboard.data = m_data;
    m_fromClipboard->setEnabled(true);
}

void BoreholeEditor::onPaste() {
    if (!m_clipboard.data)
        return;
    const BoreholeEditData& from = *m_clipboard.data;
    m_data.name = from.name;
    m_data.x = from.x;
    m_data.y = from.y;
    m_data.elevation = from.elevation;
    m_data.depth = from.depth;
    m_data.type = from.type;
    for (auto kind : {TableKind::Ige, TableKind::Water, TableKind::Samples}) {
        m_data.table(kind) = from.table(kind);
        m_data.table(kind).setCurrent(0, BoreholeGrid::kVisibleRows);
    }
    showHeader();
    refillBoreholeTypes();
    m_grid->refresh();
}

void BoreholeEditor::onSave() {
    sortAll();
    auto taken = BoreholeNameTaken(m_store, m_object, m_data.name, m_number);
    if (!taken) {
        m_sink.report(taken.error());
        return;
    }
    if (*taken) {
        m_sink.show("Information", kNameTakenText, platform::Icon::Information);
        return;
    }
    if (validate())
        accept();
}

void ShowValidationReport(const store::FixedText<10>& name, const std::vector<std::string>& lines,
                          QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("validationReport"));
    dialog.setWindowTitle(qs(reportCaption(name)));
    auto* layout = new QVBoxLayout(&dialog);
    const std::array<std::pair<const char*, const char*>, 3> fixed{{
        {"В данных по этой выработке обнаружены ошибки", "reportFound"},
        {"По этой причине ПРОСМОТР. ПЕЧАТЬ. РАЗМЕЩЕНИЕ В БУФЕР ОБМЕНА и СОХРАНЕНИЕ",
         "reportReason"},
        {"НЕ    В О З М О Ж Н Ы", "reportImpossible"},
    }};
    for (auto [text, objectName] : fixed) {
        auto* label = new QLabel(QString::fromUtf8(text), &dialog);
        label->setObjectName(QString::fromLatin1(objectName));
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
    }
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("reportLines"));
    // The report file is read back with lines of at most 200 characters.
    for (const auto& line : lines)
        list->addItem(qs(line).left(200));
    layout->addWidget(list);
    auto* count = new QLabel(qs(reportCountLine(lines.size())), &dialog);
    count->setObjectName(QStringLiteral("reportCount"));
    layout->addWidget(count);
    auto* ok = makeButton("OK", "ok", &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    dialog.exec();
}

} // namespace orvo::borehole::ui
