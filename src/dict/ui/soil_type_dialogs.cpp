// Widgets of the consistency types dialog; the rules, files and drawing are in
// dict/consistency_type.
#include "dict/ui/soil_type_dialogs.h"

#include "platform/collate.h"
#include "platform/numbers.h"
#include "platform/ui/qpainter_canvas.h"

#include "platform/ui/slot_list.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

namespace orvo::dict::ui {

namespace {

const QString kTitle = QStringLiteral("Показатель текучести, влажность");

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QPushButton* button(const char* text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QRadioButton* radio(const char* text, const char* name, QButtonGroup* group, int id,
                    QWidget* parent) {
    auto* b = new QRadioButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    group->addButton(b, id);
    return b;
}

QLineEdit* field(const char* name, QWidget* parent) {
    auto* f = new QLineEdit(parent);
    f->setObjectName(QString::fromLatin1(name));
    return f;
}

std::optional<std::filesystem::path> askFile(QWidget* parent, bool save) {
    QFileDialog dialog(parent, (save ? QStringLiteral("Экспорт - ") : QStringLiteral("Импорт - ")) +
                                   kTitle);
    dialog.setNameFilters(
        {QStringLiteral("Файлы ORVO-II (*.OTI)"), QStringLiteral("Все файлы (*.*)")});
    dialog.setDefaultSuffix(QStringLiteral("OTI"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().first().toStdString());
}

// The "Просмотр" frame's client area: the preview draws itself from the dialog's state.
class PatternView : public QWidget {
public:
    using Source =
        std::function<void(ConsistencyPreview&, std::vector<ConsistencyElement>&, int& selected)>;
    PatternView(Source source, QWidget* parent) : QWidget(parent), m_source(std::move(source)) {
        setMinimumSize(160, 260);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        ConsistencyPreview p;
        std::vector<ConsistencyElement> elements;
        int selected = -1;
        m_source(p, elements, selected);
        p.frame = {0, 0, width(), height()};
        p.dpi = logicalDpiX();
        const QColor light = palette().color(QPalette::Midlight);
        p.background = {static_cast<std::uint8_t>(light.red()),
                        static_cast<std::uint8_t>(light.green()),
                        static_cast<std::uint8_t>(light.blue())};
        QPainter painter(this);
        platform::QPainterCanvas canvas(painter);
        DrawConsistencyPreview(canvas, p, elements, selected);
    }

private:
    Source m_source;
};

} // namespace

ConsistencyTypesDialog::ConsistencyTypesDialog(const platform::WorkFolder& folder,
                                               platform::MessageSink& sink,
                                               ConsistencyDialogHooks hooks, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_sink(sink), m_hooks(std::move(hooks)) {
    if (!m_hooks.chooseFile)
        m_hooks.chooseFile = [this](bool save) { return askFile(this, save); };
    setWindowTitle(kTitle);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Существующие")));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    left->addWidget(m_list);
    m_editButton = button("Отредактировать", "edit", this);
    auto* create = button("Новый", "new", this);
    m_deleteButton = button("Удалить", "delete", this);
    m_exportButton = button("Экспорт", "export", this);
    auto* import = button("Импорт", "import", this);
    m_listButtons = {m_editButton, create, m_deleteButton, m_exportButton, import};
    for (auto* b : m_listButtons)
        left->addWidget(b);
    layout->addLayout(left);
    layout->addWidget(buildEditPanel());
    auto* right = new QVBoxLayout;
    right->addWidget(buildPreview());
    auto* exit = button("Выход", "exit", this);
    right->addWidget(exit);
    layout->addLayout(right);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] {
        if (!m_editing)
            loadSelected();
    });
    connect(m_editButton, &QPushButton::clicked, this, [this] { startEdit(false); });
    connect(create, &QPushButton::clicked, this, [this] { startEdit(true); });
    connect(m_deleteButton, &QPushButton::clicked, this, &ConsistencyTypesDialog::remove);
    connect(m_exportButton, &QPushButton::clicked, this, &ConsistencyTypesDialog::exportSelected);
    connect(import, &QPushButton::clicked, this, &ConsistencyTypesDialog::importFile);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    setEditing(false);
    refill(-1);
}

ConsistencyTypesDialog::~ConsistencyTypesDialog() {
    // The fields report losing focus while the base class tears the window down, when this
    // part of the dialog is already gone.
    for (QObject* o : findChildren<QObject*>())
        QObject::disconnect(o, nullptr, this, nullptr);
}

QWidget* ConsistencyTypesDialog::buildEditPanel() {
    m_editPanel = new QWidget(this);
    m_editPanel->setObjectName(QStringLiteral("editPanel"));
    auto* grid = new QGridLayout(m_editPanel);
    m_name = field("name", m_editPanel);
    m_name->setMaxLength(79);
    grid->addWidget(new QLabel(QStringLiteral("Описание"), m_editPanel), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    m_elements = new QListWidget(m_editPanel);
    m_elements->setObjectName(QStringLiteral("elements"));
    grid->addWidget(m_elements, 1, 0, 6, 1);
    auto* addElement = button("Новый элемент", "newElement", m_editPanel);
    m_deleteElement = button("Удалить", "deleteElement", m_editPanel);
    grid->addWidget(addElement, 7, 0);
    grid->addWidget(m_deleteElement, 8, 0);

    m_kinds = new QButtonGroup(m_editPanel);
    grid->addWidget(radio("Вертикаль", "vertical", m_kinds, kVertical, m_editPanel), 1, 1);
    grid->addWidget(radio("Горизонталь", "horizontal", m_kinds, kHorizontal, m_editPanel), 2, 1);
    grid->addWidget(radio("Диагональ", "diagonal", m_kinds, kDiagonal, m_editPanel), 3, 1);
    m_repeat = new QCheckBox(QStringLiteral("Итерация"), m_editPanel);
    m_repeat->setObjectName(QStringLiteral("repeat"));
    grid->addWidget(m_repeat, 4, 1);
    m_stepLabel = new QLabel(m_editPanel);
    m_step = field("step", m_editPanel);
    grid->addWidget(m_stepLabel, 5, 1);
    grid->addWidget(m_step, 5, 2);
    m_angleLabel = new QLabel(QStringLiteral("- угол наклона (град)"), m_editPanel);
    m_angle = field("angle", m_editPanel);
    grid->addWidget(m_angleLabel, 6, 1);
    grid->addWidget(m_angle, 6, 2);
    m_directions = new QButtonGroup(m_editPanel);
    grid->addWidget(radio("- сверху вниз", "down", m_directions, 0, m_editPanel), 7, 1);
    grid->addWidget(radio("- снизу вверх", "up", m_directions, 1, m_editPanel), 8, 1);
    m_lineWidth = field("lineWidth", m_editPanel);
    grid->addWidget(new QLabel(QStringLiteral("Толщина линии"), m_editPanel), 9, 1);
    grid->addWidget(m_lineWidth, 9, 2);
    auto* saveButton = button("Сохранить", "save", m_editPanel);
    auto* cancel = button("Отмена", "cancel", m_editPanel);
    grid->addWidget(saveButton, 10, 1);
    grid->addWidget(cancel, 10, 2);

    connect(m_elements, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_loading || row < 0)
            return;
        takeFields();
        m_edit.select(row);
        showElement();
    });
    connect(addElement, &QPushButton::clicked, this, [this] {
        takeFields();
        if (m_edit.addElement())
            fillElementList();
    });
    connect(m_deleteElement, &QPushButton::clicked, this, [this] {
        if (m_edit.removeSelected())
            fillElementList();
    });
    connect(m_kinds, &QButtonGroup::idClicked, this, [this](int id) {
        takeFields();
        m_edit.current().kind = id;
        showElement();
    });
    connect(m_repeat, &QCheckBox::clicked, this, [this](bool on) {
        takeFields();
        m_edit.current().repeat = on ? 1 : 0;
        showElement();
    });
    connect(m_directions, &QButtonGroup::idClicked, this, [this](int id) {
        m_edit.current().direction = id;
        changed();
    });
    for (auto* f : {m_step, m_angle, m_lineWidth})
        connect(f, &QLineEdit::editingFinished, this, [this] {
            if (m_loading)
                return;
            takeFields();
            showElement();
        });
    connect(saveButton, &QPushButton::clicked, this, &ConsistencyTypesDialog::save);
    connect(cancel, &QPushButton::clicked, this, &ConsistencyTypesDialog::cancelEdit);
    return m_editPanel;
}

QWidget* ConsistencyTypesDialog::buildPreview() {
    auto* frame = new QGroupBox(QStringLiteral("Просмотр"), this);
    auto* box = new QVBoxLayout(frame);
    m_preview = new PatternView(
        [this](ConsistencyPreview& p, std::vector<ConsistencyElement>& elements, int& selected) {
            p.widthHundredths = m_columnWidth;
            p.zoom = m_zoom;
            elements = shownElements();
            selected = shownSelection();
        },
        frame);
    m_preview->setObjectName(QStringLiteral("preview"));
    box->addWidget(m_preview, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Ширина"), frame));
    m_widthField = field("columnWidth", frame);
    m_widthField->setText(QStringLiteral("10.0 mm"));
    row->addWidget(m_widthField);
    box->addLayout(row);
    auto* zooms = new QButtonGroup(frame);
    auto* zoomRow = new QHBoxLayout;
    zoomRow->addWidget(radio("X1", "zoom1", zooms, 1, frame));
    zoomRow->addWidget(radio("X2", "zoom2", zooms, 2, frame));
    zoomRow->addWidget(radio("X3", "zoom3", zooms, 3, frame));
    zooms->button(1)->setChecked(true);
    box->addLayout(zoomRow);
    connect(zooms, &QButtonGroup::idClicked, this, [this](int id) {
        m_zoom = id;
        m_preview->update();
    });
    connect(m_widthField, &QLineEdit::editingFinished, this, [this] {
        m_columnWidth = parseHundredths(m_widthField->text().toStdString());
        m_widthField->setText(qs(platform::formatFixed(m_columnWidth / 100.0, 1) + " mm"));
        m_preview->update();
    });
    return frame;
}

int ConsistencyTypesDialog::selectedSlot() const {
    const auto* item = m_list->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

void ConsistencyTypesDialog::selectSlot(int slot) {
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->data(Qt::UserRole).toInt() == slot)
            m_list->setCurrentRow(i);
}

std::vector<ConsistencyElement> ConsistencyTypesDialog::shownElements() const {
    return m_editing ? m_edit.elements() : m_loaded;
}

void ConsistencyTypesDialog::refill(int slot) {
    auto list = ReadConsistencyTypeList(m_folder);
    if (!list)
        m_sink.report(list.error());
    std::vector<platform::ui::SlotEntry> entries;
    if (list)
        for (std::size_t i = 0; i < list->size(); ++i)
            if ((*list)[i].used != 0)
                entries.push_back({(*list)[i].name.utf8Trimmed(), static_cast<int>(i)});
    platform::ui::fillSlotList(*m_list, std::move(entries), slot);
    loadSelected();
}

void ConsistencyTypesDialog::loadSelected() {
    m_loaded.clear();
    const int slot = selectedSlot();
    if (slot >= 0) {
        auto type = LoadConsistencyType(m_folder, slot);
        if (type)
            m_loaded = type->elements;
        else
            m_sink.report(type.error());
    }
    updateButtons();
    m_preview->update();
}

void ConsistencyTypesDialog::updateButtons() {
    const bool builtIn = selectedSlot() <= 0;
    m_list->setEnabled(!m_editing);
    for (auto* b : m_listButtons)
        b->setEnabled(!m_editing);
    if (!m_editing)
        for (auto* b : {m_editButton, m_deleteButton, m_exportButton})
            b->setEnabled(!builtIn);
}

void ConsistencyTypesDialog::setEditing(bool on) {
    m_editing = on;
    m_editPanel->setVisible(on);
    updateButtons();
    m_preview->update();
}

void ConsistencyTypesDialog::startEdit(bool newType) {
    if (m_editing || (!newType && selectedSlot() <= 0))
        return;
    if (newType) {
        m_editSlot = -1;
        m_edit = ConsistencyEdit();
        m_name->clear();
    } else {
        m_editSlot = selectedSlot();
        m_edit = ConsistencyEdit(m_loaded);
        m_name->setText(m_list->currentItem()->text());
    }
    setEditing(true);
    fillElementList();
    m_name->setFocus();
}

void ConsistencyTypesDialog::fillElementList() {
    m_loading = true;
    m_elements->clear();
    for (std::size_t i = 0; i < m_edit.elements().size(); ++i) {
        char label[16];
        std::snprintf(label, sizeof label, "# %3.3d", static_cast<int>(i + 1));
        m_elements->addItem(QString::fromLatin1(label));
    }
    m_elements->setCurrentRow(m_edit.selected());
    m_loading = false;
    showElement();
}

void ConsistencyTypesDialog::showElement() {
    m_loading = true;
    const ConsistencyElement& e = m_edit.current();
    const ElementFields f = elementFields(e);
    m_kinds->button(e.kind)->setChecked(true);
    m_repeat->setChecked(e.repeat != 0);
    m_stepLabel->setVisible(f.stepLabel != nullptr);
    m_step->setVisible(f.stepLabel != nullptr);
    m_stepLabel->setText(f.stepLabel ? QString::fromUtf8(f.stepLabel) : QString());
    m_step->setText(qs(formatHundredths(e.step)));
    m_angleLabel->setVisible(f.angle);
    m_angle->setVisible(f.angle);
    m_angle->setText(QString::number(e.angle));
    for (int id : {0, 1}) {
        m_directions->button(id)->setVisible(f.direction);
        m_directions->button(id)->setChecked(e.direction == id);
    }
    m_lineWidth->setText(qs(formatHundredths(e.lineWidth) + " mm"));
    m_deleteElement->setEnabled(m_edit.canRemove());
    m_loading = false;
    changed();
}

void ConsistencyTypesDialog::takeFields() {
    if (!m_editing)
        return;
    ConsistencyElement& e = m_edit.current();
    const ElementFields f = elementFields(e);
    if (f.stepLabel)
        e.step = parseHundredths(m_step->text().toStdString());
    if (f.angle)
        e.angle = parseConsistencyAngle(m_angle->text().toStdString());
    e.lineWidth = parseHundredths(m_lineWidth->text().toStdString());
}

void ConsistencyTypesDialog::changed() {
    m_preview->update();
}

void ConsistencyTypesDialog::save() {
    if (!m_editing)
        return;
    takeFields();
    const std::string name = m_name->text().toStdString();
    Result<int> slot = m_editSlot;
    if (m_editSlot < 0)
        slot = SaveNewConsistencyType(m_folder, name, m_edit.elements());
    else if (auto st = SaveConsistencyType(m_folder, m_editSlot, name, m_edit.elements()); !st)
        slot = st.error();
    if (!slot) {
        m_sink.report(slot.error());
        return;
    }
    setEditing(false);
    refill(*slot);
}

void ConsistencyTypesDialog::cancelEdit() {
    setEditing(false);
    loadSelected();
}

void ConsistencyTypesDialog::remove() {
    const int slot = selectedSlot();
    if (m_editing || slot <= 0)
        return;
    if (m_sink.askYesNo("Удаление", "Вы действительно хотите удалить показатель ?") !=
        platform::Answer::Yes)
        return;
    if (auto st = DeleteConsistencyType(m_folder, slot); !st)
        m_sink.report(st.error());
    refill(-1);
}

void ConsistencyTypesDialog::exportSelected() {
    const int slot = selectedSlot();
    if (m_editing || slot <= 0)
        return;
    const auto file = m_hooks.chooseFile(true);
    if (!file)
        return;
    if (auto st = ExportConsistencyType(m_folder, slot, *file); !st)
        m_sink.show(st.error().caption, st.error().text, platform::Icon::Error);
}

bool ConsistencyTypesDialog::confirmOverwrite(const QString& name) {
    QDialog d(this);
    d.setWindowTitle(QStringLiteral("Импорт - ") + kTitle);
    auto* layout = new QVBoxLayout(&d);
    layout->addWidget(new QLabel(kTitle + QStringLiteral(" с наименованием:"), &d));
    layout->addWidget(new QLabel(name, &d));
    layout->addWidget(new QLabel(QStringLiteral("Уже существует в системе !"), &d));
    auto* buttons = new QDialogButtonBox(&d);
    buttons->addButton(QStringLiteral("Перезаписать"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена импорта"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    layout->addWidget(buttons);
    return d.exec() == QDialog::Accepted;
}

void ConsistencyTypesDialog::importFile() {
    if (m_editing)
        return;
    const auto file = m_hooks.chooseFile(false);
    if (!file)
        return;
    auto item = ReadConsistencyExchange(*file);
    if (!item) {
        m_sink.show(item.error().caption, item.error().text, platform::Icon::Error);
        return;
    }
    auto list = ReadConsistencyTypeList(m_folder);
    if (!list) {
        m_sink.report(list.error());
        return;
    }
    const std::optional<int> match = findConsistencyTypeByName(*list, item->record);
    if (match && !confirmOverwrite(qs(item->record.name.utf8Trimmed())))
        return;
    auto slot = ImportConsistencyType(m_folder, *item, match);
    if (!slot) {
        m_sink.report(slot.error());
        return;
    }
    refill(*slot);
}

void EditConsistencyTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                          QWidget* parent) {
    ConsistencyTypesDialog dialog(folder, sink, {}, parent);
    dialog.exec();
}

} // namespace orvo::dict::ui
