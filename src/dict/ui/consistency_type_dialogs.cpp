// Widgets of the consistency types dialog; the rules, files and drawing are in
// dict/consistency_type.
#include "dict/ui/consistency_type_dialogs.h"

#include "platform/numbers.h"
#include "platform/ui/qpainter_canvas.h"
#include "platform/ui/widgets.h"

#include <QButtonGroup>
#include <QCheckBox>
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

#include <cstdio>

namespace orvo::dict::ui {

using platform::ui::makeButton;
using platform::ui::named;
using platform::ui::qs;

namespace {

const QString kTitle = QStringLiteral("Показатель текучести, влажность");

QRadioButton* radio(const char* text, const char* name, QButtonGroup* group, int id,
                    QWidget* parent) {
    auto* b = new QRadioButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    group->addButton(b, id);
    return b;
}

QLineEdit* field(const char* name, QWidget* parent) {
    return named(new QLineEdit(parent), name);
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
    : DictionaryListDialog(folder, sink, parent) {
    setExchange(exchangeHooks(std::move(hooks)));
    setWindowTitle(kTitle);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Существующие")));
    left->addWidget(list());
    using N = Needs;
    for (auto* b :
         {addButton(makeButton("Отредактировать", "edit", this), N::OwnEntry,
                    [this] { startEdit(false); }),
          addButton(makeButton("Новый", "new", this), N::Nothing, [this] { startEdit(true); }),
          addButton(makeButton("Удалить", "delete", this), N::OwnEntry, [this] { remove(); }),
          addButton(makeButton("Экспорт", "export", this), N::OwnEntry,
                    [this] { exportSelected(); }),
          addButton(makeButton("Импорт", "import", this), N::Nothing, [this] { importFile(); })})
        left->addWidget(b);
    layout->addLayout(left);
    layout->addWidget(buildEditPanel());
    auto* right = new QVBoxLayout;
    right->addWidget(buildPreview());
    // "Выход" stays available while editing and leaves without saving.
    auto* exit = makeButton("Выход", "exit", this);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    right->addWidget(exit);
    layout->addLayout(right);
    edit(false);
    refill(-1);
}

platform::ui::ExchangeHooks ConsistencyTypesDialog::exchangeHooks(ConsistencyDialogHooks hooks) {
    platform::ui::ExchangeHooks x;
    x.files = {QStringLiteral("Экспорт - ") + kTitle,
               QStringLiteral("Импорт - ") + kTitle,
               {QStringLiteral("Файлы ORVO-II (*.OTI)"), QStringLiteral("Все файлы (*.*)")},
               QStringLiteral("OTI")};
    x.chooseFile = std::move(hooks.chooseFile);
    x.exportTo = [this](int slot, const std::filesystem::path& file) {
        return ExportConsistencyType(folder(), slot, file);
    };
    x.readImport =
        [this](const std::filesystem::path& file) -> Result<platform::ui::PendingImport> {
        auto item = ReadConsistencyExchange(file);
        if (!item)
            return item.error();
        auto types = ReadConsistencyTypeList(folder());
        if (!types)
            return types.error();
        return platform::ui::PendingImport{
            item->record.name.utf8Trimmed(), findConsistencyTypeByName(*types, item->record),
            [this, parsed = std::move(*item)](std::optional<int> slot) {
                return ImportConsistencyType(folder(), parsed, slot);
            }};
    };
    x.nameTaken = consistencyNameTaken();
    return x;
}

ConsistencyTypesDialog::~ConsistencyTypesDialog() {
    // The fields report losing focus while the base class tears the window down, when this
    // part of the dialog is already gone.
    for (QObject* o : findChildren<QObject*>())
        QObject::disconnect(o, nullptr, this, nullptr);
}

QWidget* ConsistencyTypesDialog::buildEditPanel() {
    m_editPanel = named(new QWidget(this), "editPanel");
    auto* grid = new QGridLayout(m_editPanel);
    m_name = field("name", m_editPanel);
    m_name->setMaxLength(79);
    grid->addWidget(new QLabel(QStringLiteral("Описание"), m_editPanel), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    m_elements = named(new QListWidget(m_editPanel), "elements");
    grid->addWidget(m_elements, 1, 0, 6, 1);
    auto* addElement = makeButton("Новый элемент", "newElement", m_editPanel);
    m_deleteElement = makeButton("Удалить", "deleteElement", m_editPanel);
    grid->addWidget(addElement, 7, 0);
    grid->addWidget(m_deleteElement, 8, 0);

    m_kinds = new QButtonGroup(m_editPanel);
    grid->addWidget(radio("Вертикаль", "vertical", m_kinds, kVertical, m_editPanel), 1, 1);
    grid->addWidget(radio("Горизонталь", "horizontal", m_kinds, kHorizontal, m_editPanel), 2, 1);
    grid->addWidget(radio("Диагональ", "diagonal", m_kinds, kDiagonal, m_editPanel), 3, 1);
    m_repeat = named(new QCheckBox(QStringLiteral("Итерация"), m_editPanel), "repeat");
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
    auto* saveButton = makeButton("Сохранить", "save", m_editPanel);
    auto* cancel = makeButton("Отмена", "cancel", m_editPanel);
    grid->addWidget(saveButton, 10, 1);
    grid->addWidget(cancel, 10, 2);
    connectEditPanel(addElement, saveButton, cancel);
    return m_editPanel;
}

void ConsistencyTypesDialog::connectEditPanel(QPushButton* addElement, QPushButton* saveButton,
                                              QPushButton* cancel) {
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
        m_preview->update();
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

std::vector<ConsistencyElement> ConsistencyTypesDialog::shownElements() const {
    return editing() ? m_edit.elements() : m_loaded;
}

Result<std::vector<platform::ui::SlotEntry>> ConsistencyTypesDialog::readEntries() {
    auto types = ReadConsistencyTypeList(folder());
    if (!types)
        return types.error();
    std::vector<platform::ui::SlotEntry> entries;
    for (std::size_t i = 0; i < types->size(); ++i)
        if ((*types)[i].used != 0)
            entries.push_back({(*types)[i].name.utf8Trimmed(), static_cast<int>(i)});
    return entries;
}

void ConsistencyTypesDialog::showSelection(int slot) {
    m_loaded.clear();
    if (slot >= 0) {
        auto type = LoadConsistencyType(folder(), slot);
        if (type)
            m_loaded = type->elements;
        else
            sink().report(type.error());
    }
    m_preview->update();
}

void ConsistencyTypesDialog::edit(bool on) {
    setEditing(on);
    m_editPanel->setVisible(on);
    m_preview->update();
}

void ConsistencyTypesDialog::startEdit(bool newType) {
    const int slot = selectedSlot();
    if (editing() || (!newType && !isOwnEntry(slot)))
        return;
    if (newType) {
        m_editSlot = -1;
        m_edit = ConsistencyEdit();
        m_name->clear();
    } else {
        m_editSlot = slot;
        m_edit = ConsistencyEdit(m_loaded);
        m_name->setText(list()->selectedText());
    }
    edit(true);
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
    m_preview->update();
}

void ConsistencyTypesDialog::takeFields() {
    if (!editing())
        return;
    ConsistencyElement& e = m_edit.current();
    const ElementFields f = elementFields(e);
    if (f.stepLabel)
        e.step = parseSignedHundredths(m_step->text().toStdString());
    if (f.angle)
        e.angle = parseConsistencyAngle(m_angle->text().toStdString());
    e.lineWidth = parseHundredths(m_lineWidth->text().toStdString());
}

void ConsistencyTypesDialog::save() {
    if (!editing())
        return;
    takeFields();
    const std::string name = m_name->text().toStdString();
    Result<int> slot = m_editSlot;
    if (m_editSlot < 0)
        slot = SaveNewConsistencyType(folder(), name, m_edit.elements());
    else if (auto st = SaveConsistencyType(folder(), m_editSlot, name, m_edit.elements()); !st)
        slot = st.error();
    if (!slot) {
        sink().report(slot.error());
        return;
    }
    edit(false);
    refill(*slot);
}

void ConsistencyTypesDialog::cancelEdit() {
    edit(false);
    showSelection(selectedSlot());
}

std::optional<ConsistencyTypesDialog::Question> ConsistencyTypesDialog::deleteQuestion(int) const {
    return Question{"Удаление", "Вы действительно хотите удалить показатель ?"};
}

Status ConsistencyTypesDialog::deleteEntry(int slot) {
    return DeleteConsistencyType(folder(), slot);
}

void EditConsistencyTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                          QWidget* parent) {
    ConsistencyTypesDialog dialog(folder, sink, {}, parent);
    dialog.exec();
}

} // namespace orvo::dict::ui
