// Widgets of the hatch dictionary; the files, rules and drawing are in dict/hatch.
#include "dict/ui/hatch_dialogs.h"

#include "platform/ui/qpainter_canvas.h"
#include "platform/ui/widgets.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace orvo::dict::ui {

using platform::ui::makeButton;
using platform::ui::named;
using platform::ui::qs;

namespace {

const QString kFilter = QStringLiteral("Файлы видов штриховки ORVO-II (*.OHT)");

bool askPrinter(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile);
    return dialog.exec() == QDialog::Accepted;
}

std::string text(const QLineEdit* e) {
    return e->text().toStdString();
}

// "Изображение:": the chosen symbol at true screen size, centred; a larger one is centred as if
// it had the frame's size and clipped.
class SymbolView : public QWidget {
public:
    SymbolView(const platform::WorkFolder& folder, std::function<int()> slot, QWidget* parent)
        : QWidget(parent), m_folder(folder), m_slot(std::move(slot)) {
        setMinimumSize(90, 90);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        auto list = ReadSymbolList(m_folder);
        const int slot = m_slot();
        if (!list || slot <= 0 || slot >= static_cast<int>(list->size()))
            return;
        const SymbolListRecord& rec = (*list)[static_cast<std::size_t>(slot)];
        const float scale = static_cast<float>(logicalDpiX() / 2540.0);
        const double w = std::min<double>(width(), rec.width * scale);
        const double h = std::min<double>(height(), rec.height * scale);
        platform::QPainterCanvas canvas(painter);
        canvas.clipRect({0, 0, static_cast<double>(width()), static_cast<double>(height())});
        (void)DrawSymbol(canvas, m_folder, slot, {(width() - w) / 2, (height() - h) / 2}, scale,
                         scale);
    }

private:
    const platform::WorkFolder& m_folder;
    std::function<int()> m_slot;
};

} // namespace

// ---- the preview ----

HatchView::HatchView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(200, 200);
}

void HatchView::setHatch(HatchPattern pattern, HatchSymbolShapes symbols, int highlightKind,
                         int highlightIndex) {
    m_pattern = std::move(pattern);
    m_symbols = std::move(symbols);
    m_highlightKind = highlightKind;
    m_highlightIndex = highlightIndex;
    update();
}

void HatchView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const QRect inner = rect().adjusted(2, 2, -2, -2);
    painter.fillRect(inner, Qt::white);
    painter.setClipRect(inner);
    platform::QPainterCanvas canvas(painter);
    DrawHatch(canvas, m_pattern, m_symbols, logicalDpiX(), inner.left(), inner.top(),
              inner.right() + 1, inner.bottom() + 1, m_highlightKind, m_highlightIndex,
              {inner.left(), inner.top(), inner.right() + 1, inner.bottom() + 1});
}

// ---- the list ----

void EditHatchTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                    QWidget* parent) {
    HatchTypesDialog dialog(folder, sink, {}, parent);
    dialog.exec();
}

HatchTypesDialog::HatchTypesDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                                   HatchDialogHooks hooks, QWidget* parent)
    : DictionaryListDialog(folder, sink, parent), m_hooks(std::move(hooks)) {
    if (!m_hooks.choosePrinter)
        m_hooks.choosePrinter = [this](QPrinter& p) { return askPrinter(p, this); };
    setWindowTitle(QStringLiteral("Список видов штриховки"));

    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(list());
    layout->addLayout(left, 1);
    auto* buttons = new QVBoxLayout;
    using N = Needs;
    buttons->addWidget(
        addButton(makeButton("Новый", "new", this), N::Nothing, [this] { create(); }));
    buttons->addWidget(
        addButton(makeButton("Изменить", "edit", this), N::Entry, [this] { edit(); }));
    buttons->addWidget(
        addButton(makeButton("Удалить", "delete", this), N::OwnEntry, [this] { remove(); }));
    buttons->addWidget(
        addButton(makeButton("Экспорт", "export", this), N::Entry, [this] { exportHatch(); }));
    buttons->addWidget(
        addButton(makeButton("Импорт", "import", this), N::Nothing, [this] { importHatch(); }));
    buttons->addWidget(
        addButton(makeButton("Печать", "print", this), N::Entry, [this] { print(); }));
    auto* exit = makeButton("Выход", "exit", this);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addStretch();
    buttons->addWidget(exit);
    layout->addLayout(buttons);
    m_preview = named(new HatchView(this), "preview");
    m_preview->setMinimumSize(240, 240);
    layout->addWidget(m_preview, 1);
    refill(-1);
}

Result<std::vector<platform::ui::SlotEntry>> HatchTypesDialog::readEntries() {
    auto records = ReadHatchList(folder());
    if (!records)
        return records.error();
    std::vector<platform::ui::SlotEntry> entries;
    for (std::size_t i = 0; i < records->size(); ++i)
        if ((*records)[i].used != 0)
            entries.push_back({(*records)[i].name.utf8(), static_cast<int>(i)});
    m_count = static_cast<int>(entries.size());
    return entries;
}

void HatchTypesDialog::showSelection(int slot) {
    auto pattern = LoadHatch(folder(), slot);
    m_shown = pattern ? std::move(*pattern) : HatchPattern{};
    m_preview->setHatch(m_shown, LoadHatchSymbols(folder(), m_shown));
}

bool HatchTypesDialog::isOwnEntry(int slot) const {
    return slot >= 0 && m_count > 1;
}

std::optional<platform::ui::DictionaryListDialog::Question>
HatchTypesDialog::deleteQuestion(int slot) const {
    auto pattern = LoadHatch(folder(), slot);
    return Question{"Удаление", hatchDeleteQuestion(pattern ? pattern->name : std::string())};
}

Status HatchTypesDialog::deleteEntry(int slot) {
    return DeleteHatch(folder(), slot);
}

void HatchTypesDialog::create() {
    runEditor(-1);
}

void HatchTypesDialog::edit() {
    if (selectedSlot() >= 0)
        runEditor(selectedSlot());
}

void HatchTypesDialog::runEditor(int slot) {
    HatchEditorDialog editor(folder(), sink(), slot, this);
    editor.exec();
    refill(editor.savedSlot() >= 0 ? editor.savedSlot() : selectedSlot());
}

std::optional<std::filesystem::path> HatchTypesDialog::pickFile(bool save) {
    if (m_hooks.chooseFile)
        return m_hooks.chooseFile(save);
    return platform::ui::chooseExchangeFile(this,
                                            {QStringLiteral("Экспорт видов штриховки"),
                                             QStringLiteral("Импорт видов штриховки"),
                                             {kFilter, QStringLiteral("Все файлы (*.*)")},
                                             QStringLiteral("OHT"),
                                             false},
                                            save);
}

void HatchTypesDialog::exportHatch() {
    const int slot = selectedSlot();
    if (slot < 0)
        return;
    const auto file = pickFile(true);
    if (!file)
        return;
    if (auto st = ExportHatch(folder(), slot, *file); !st)
        showFileError(st.error());
}

void HatchTypesDialog::importHatch() {
    const auto file = pickFile(false);
    if (!file)
        return;
    auto item = ReadHatchExchange(*file);
    if (!item) {
        showFileError(item.error());
        return;
    }
    auto slot = ImportHatch(folder(), *item, [this](const std::string& name) {
        HatchImportDialog box(name, this);
        box.exec();
        return box.answer();
    });
    if (!slot) {
        sink().report(slot.error());
        return;
    }
    if (*slot)
        refill(**slot);
}

void HatchTypesDialog::print() {
    if (selectedSlot() < 0)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("ORVO-II - Тестовая печать штриховки"));
    if (!m_hooks.choosePrinter(printer))
        return;
    paintHatchSample(printer, m_shown, LoadHatchSymbols(folder(), m_shown));
}

void paintHatchSample(QPaintDevice& device, const HatchPattern& pattern,
                      const HatchSymbolShapes& symbols) {
    QPainter painter(&device);
    const double dpiX = device.logicalDpiX();
    painter.scale(1.0, static_cast<double>(device.logicalDpiY()) / dpiX);
    platform::QPainterCanvas canvas(painter);
    DrawHatchSample(canvas, pattern, symbols, dpiX);
}

// ---- the editor ----

HatchEditorDialog::HatchEditorDialog(const platform::WorkFolder& folder,
                                     platform::MessageSink& sink, int slot, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_sink(sink), m_edit(HatchPattern{}, slot) {
    setWindowTitle(QStringLiteral("Редактирование вида штриховки"));
    auto loaded = LoadHatch(folder, slot);
    if (!loaded)
        m_sink.report(loaded.error());
    m_edit = HatchEdit(loaded ? std::move(*loaded) : *LoadHatch(folder, -1), loaded ? slot : -1);

    auto* grid = new QGridLayout(this);
    m_name = named(new QLineEdit(qs(m_edit.name), this), "name");
    m_name->setMaxLength(static_cast<int>(kHatchNameChars));
    grid->addWidget(new QLabel(QStringLiteral("Наименование:"), this), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 3);

    m_kinds = new QButtonGroup(this);
    auto* kindRow = new QHBoxLayout;
    int id = 0;
    for (const auto& [label, name] : {std::pair{"Линии", "lines"}, std::pair{"Отрезки", "segments"},
                                      std::pair{"Значки", "symbols"}}) {
        auto* b = named(new QRadioButton(QString::fromUtf8(label), this), name);
        m_kinds->addButton(b, id++);
        kindRow->addWidget(b);
    }
    m_kinds->button(0)->setChecked(true);
    grid->addLayout(kindRow, 1, 0, 1, 4);

    m_elementsLabel = new QLabel(QStringLiteral("Элементы:"), this);
    m_elements = named(new QListWidget(this), "elements");
    auto* add = makeButton("Новый", "newElement", this);
    m_remove = makeButton("Удалить", "deleteElement", this);
    grid->addWidget(m_elementsLabel, 2, 0);
    grid->addWidget(m_elements, 3, 0, 3, 1);
    grid->addWidget(add, 6, 0);
    grid->addWidget(m_remove, 7, 0);
    grid->addWidget(buildFields(), 2, 1, 6, 1);
    m_preview = named(new HatchView(this), "preview");
    grid->addWidget(m_preview, 2, 2, 6, 2);
    grid->addWidget(
        new QLabel(
            QStringLiteral("Примечание:  Ось X направлена слева на право, ось Y сверху вниз"),
            this),
        8, 0, 1, 4);
    auto* saveButton = makeButton("Сохранить", "save", this);
    auto* cancel = makeButton("Отмена", "cancel", this);
    grid->addWidget(saveButton, 9, 2);
    grid->addWidget(cancel, 9, 3);

    connect(m_kinds, &QButtonGroup::idClicked, this,
            [this](int kind) { setKind(static_cast<HatchKind>(kind)); });
    connect(m_elements, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_loading)
            return;
        m_edit.select(row);
        showElement();
        redraw();
    });
    connect(add, &QPushButton::clicked, this, [this] {
        if (!m_edit.add())
            return;
        fillElements();
        if (const auto& f = m_fields[static_cast<std::size_t>(m_edit.kind())]; !f.empty())
            f.front()->setFocus();
    });
    connect(m_remove, &QPushButton::clicked, this, [this] {
        m_edit.removeSelected();
        fillElements();
    });
    connect(m_symbol, &QComboBox::activated, this, [this](int index) {
        m_edit.setSymbol(m_symbol->itemData(index).toInt());
        m_symbolView->update();
        redraw();
    });
    connect(saveButton, &QPushButton::clicked, this, &HatchEditorDialog::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    fillElements();
}

HatchEditorDialog::~HatchEditorDialog() {
    // The fields report losing focus while the window is torn down.
    for (QObject* o : findChildren<QObject*>())
        QObject::disconnect(o, nullptr, this, nullptr);
}

QWidget* HatchEditorDialog::buildFields() {
    auto* box = new QWidget(this);
    auto* v = new QVBoxLayout(box);
    static constexpr const char* kNames[3][7] = {
        {"width", "angle", "step"},
        {"segWidth", "x1", "y1", "x2", "y2", "segStepX", "segStepY"},
        {"cornerX", "cornerY", "symStepX", "symStepY"}};
    for (int k = 0; k < 3; ++k) {
        auto* group = new QWidget(box);
        auto* form = new QGridLayout(group);
        std::vector<QLineEdit*> fields;
        const auto labels = HatchEdit::fieldLabels(static_cast<HatchKind>(k));
        for (std::size_t f = 0; f < labels.size(); ++f) {
            auto* e = named(new QLineEdit(group), kNames[k][f]);
            form->addWidget(new QLabel(qs(labels[f]), group), static_cast<int>(f), 0);
            form->addWidget(e, static_cast<int>(f), 1);
            connect(e, &QLineEdit::editingFinished, this,
                    [this, f = static_cast<int>(f)] { takeField(f); });
            connect(e, &QLineEdit::textEdited, this,
                    [this, f = static_cast<int>(f)] { m_typedField = f; });
            fields.push_back(e);
        }
        if (k == 2) {
            m_symbol = named(new QComboBox(group), "symbol");
            m_symbol->addItem(QString(), 0);
            if (auto symbols = ReadSymbolList(m_folder))
                for (std::size_t i = 1; i < symbols->size(); ++i)
                    if ((*symbols)[i].used != 0)
                        m_symbol->addItem(qs((*symbols)[i].name.utf8()), static_cast<int>(i));
            m_symbolView = new SymbolView(
                m_folder, [this] { return m_edit.symbolOfSelected(); }, group);
            const int row = static_cast<int>(labels.size());
            form->addWidget(m_symbol, row, 0, 1, 2);
            form->addWidget(new QLabel(QStringLiteral("Изображение:"), group), row + 1, 0);
            form->addWidget(m_symbolView, row + 1, 1);
        }
        m_groups.push_back(group);
        m_fields.push_back(std::move(fields));
        v->addWidget(group);
    }
    return box;
}

void HatchEditorDialog::setKind(HatchKind kind) {
    m_edit.setKind(kind);
    m_kinds->button(static_cast<int>(kind))->setChecked(true);
    fillElements();
}

void HatchEditorDialog::fillElements() {
    m_loading = true;
    m_elements->clear();
    for (int i = 0; i < m_edit.count(); ++i)
        m_elements->addItem(qs(m_edit.elementLabel(i)));
    const bool any = m_edit.count() > 0;
    if (any && m_edit.selected() < 0)
        m_edit.select(0);
    m_elements->setCurrentRow(m_edit.selected());
    m_loading = false;
    for (QWidget* w : {static_cast<QWidget*>(m_elements), static_cast<QWidget*>(m_elementsLabel),
                       static_cast<QWidget*>(m_remove)})
        w->setEnabled(any);
    for (std::size_t k = 0; k < m_groups.size(); ++k)
        m_groups[k]->setEnabled(static_cast<int>(k) == static_cast<int>(m_edit.kind()));
    showElement();
    redraw();
}

void HatchEditorDialog::showElement() {
    m_loading = true;
    for (auto& fields : m_fields)
        for (QLineEdit* e : fields)
            e->clear();
    const auto& fields = m_fields[static_cast<std::size_t>(m_edit.kind())];
    for (std::size_t f = 0; f < fields.size(); ++f)
        fields[f]->setText(qs(m_edit.fieldText(static_cast<int>(f))));
    const int at = m_symbol->findData(m_edit.symbolOfSelected());
    m_symbol->setCurrentIndex(at < 0 ? 0 : at);
    m_symbolView->update();
    m_loading = false;
}

void HatchEditorDialog::takeField(int field) {
    if (m_loading || m_edit.selected() < 0)
        return;
    auto* e = m_fields[static_cast<std::size_t>(m_edit.kind())][static_cast<std::size_t>(field)];
    if (!e->isEnabled())
        return;
    m_edit.setField(field, text(e));
    m_typedField = -1;
    m_loading = true;
    e->setText(qs(m_edit.fieldText(field)));
    m_loading = false;
    redraw();
}

void HatchEditorDialog::redraw() {
    const HatchPattern p = m_edit.pattern();
    m_preview->setHatch(p, LoadHatchSymbols(m_folder, p), m_edit.highlightKind(),
                        m_edit.highlightIndex());
}

void HatchEditorDialog::save() {
    // A value typed and saved without leaving its field counts.
    if (m_typedField >= 0)
        takeField(m_typedField);
    m_edit.name = text(m_name);
    auto slot = m_edit.save(m_folder);
    if (!slot) {
        m_sink.report(slot.error());
        return;
    }
    accept();
}

// ---- the name box ----

HatchImportDialog::HatchImportDialog(const std::string& nameUtf8, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Импорт вида штриховки"));
    auto* v = new QVBoxLayout(this);
    v->addWidget(new QLabel(QStringLiteral("Вид штриховки с наименованием"), this));
    v->addWidget(named(new QLabel(qs(nameUtf8), this), "name"));
    v->addWidget(new QLabel(QStringLiteral("уже СУЩЕСТВУЕТ в системе."), this));
    v->addWidget(new QLabel(QStringLiteral("Ваши действия :"), this));
    m_choices = new QButtonGroup(this);
    int id = 0;
    for (const auto& [label, name] :
         {std::pair{"Отменить Импорт", "cancelImport"},
          std::pair{"Перезаписать поверх существующего вида", "overwrite"},
          std::pair{"Записать с новым наименованием", "newName"}}) {
        auto* b = named(new QRadioButton(QString::fromUtf8(label), this), name);
        m_choices->addButton(b, id++);
        v->addWidget(b);
    }
    m_choices->button(0)->setChecked(true);
    m_newName = named(new QLineEdit(qs(nameUtf8), this), "newNameText");
    m_newName->setMaxLength(static_cast<int>(kHatchNameChars));
    m_newName->setEnabled(false);
    v->addWidget(m_newName);
    connect(m_choices, &QButtonGroup::idClicked, this,
            [this](int choice) { m_newName->setEnabled(choice == 2); });
    auto* ok = named(new QPushButton(QStringLiteral("OK"), this), "ok");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    v->addWidget(ok);
}

HatchImportAnswer HatchImportDialog::answer() const {
    using C = HatchImportAnswer::Choice;
    if (result() != QDialog::Accepted)
        return {C::Cancel, {}};
    switch (m_choices->checkedId()) {
    case 1:
        return {C::Overwrite, {}};
    case 2:
        return {C::NewName, m_newName->text().toStdString()};
    default:
        return {C::Cancel, {}};
    }
}

} // namespace orvo::dict::ui
