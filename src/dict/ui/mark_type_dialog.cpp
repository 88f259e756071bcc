// Widgets of the shared groundwater horizon / sample type dialog; the records are handled by
// dict/mark_type and the symbol is drawn by dict/symbol.
#include "dict/symbol.h"
#include "dict/ui/soil_type_dialogs.h"
#include "dict/ui/symbol_dialogs.h"
#include "platform/collate.h"
#include "platform/ui/qpainter_canvas.h"

#include "platform/ui/slot_list.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvo::dict::ui {

namespace {

QPushButton* button(const char* text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

// The "Значок" frame's client area: the type's symbol fitted and centred.
class SymbolView : public QWidget {
public:
    SymbolView(const platform::WorkFolder& folder, std::function<int()> symbol, QWidget* parent)
        : QWidget(parent), m_folder(folder), m_symbol(std::move(symbol)) {
        setMinimumSize(120, 100);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const SymbolFrame client{0, 0, width(), height()};
        const SymbolFrame fill = markPreviewArea(client);
        painter.fillRect(QRect(fill.left, fill.top, fill.right - fill.left, fill.bottom - fill.top),
                         palette().color(QPalette::Midlight));
        const int index = m_symbol();
        if (index <= 0)
            return;
        // Nothing is cached between paints: the library may have changed in the picker.
        auto symbols = ReadSymbolList(m_folder);
        if (!symbols || static_cast<std::size_t>(index) >= symbols->size())
            return;
        const SymbolListRecord& rec = (*symbols)[static_cast<std::size_t>(index)];
        const SymbolFrame area = markSymbolArea(client);
        const auto place = fitSymbol(area, rec.height, rec.width);
        if (!place)
            return;
        platform::QPainterCanvas canvas(painter);
        canvas.save();
        canvas.clipRect({static_cast<double>(area.left), static_cast<double>(area.top),
                         static_cast<double>(area.right - area.left),
                         static_cast<double>(area.bottom - area.top)});
        DrawSymbol(canvas, m_folder, index, place->at, place->scale, place->scale);
        canvas.restore();
    }

private:
    const platform::WorkFolder& m_folder;
    std::function<int()> m_symbol;
};

} // namespace

MarkTypesDialog::MarkTypesDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                                 MarkList which, SymbolPicker picker, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_sink(sink), m_which(which), m_picker(std::move(picker)) {
    if (!m_picker)
        m_picker = [this](int current) { return PickSymbol(m_folder, m_sink, current, this); };
    setWindowTitle(which == MarkList::Groundwater ? QStringLiteral("Подземные воды")
                                                  : QStringLiteral("Отборы проб"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Существующие")));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    left->addWidget(m_list);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setMaxLength(79);
    left->addWidget(m_name);
    auto* editRow = new QHBoxLayout;
    m_save = button("Сохранить", "save", this);
    m_cancel = button("Отмена", "cancel", this);
    editRow->addWidget(m_save);
    editRow->addWidget(m_cancel);
    left->addLayout(editRow);
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    m_new = button("Новый тип", "new", this);
    m_rename = button("Переименовать", "rename", this);
    m_delete = button("Удалить", "delete", this);
    m_symbol = button("Сменить значок", "symbol", this);
    for (auto* b : {m_new, m_rename, m_delete, m_symbol})
        right->addWidget(b);
    auto* frame = new QGroupBox(QStringLiteral("Значок"), this);
    auto* frameLayout = new QVBoxLayout(frame);
    m_symbolView = new SymbolView(
        m_folder, [this] { return m_work.symbol; }, frame);
    m_symbolView->setObjectName(QStringLiteral("symbolView"));
    frameLayout->addWidget(m_symbolView);
    right->addWidget(frame, 1);
    m_exit = button("Выход", "exit", this);
    right->addWidget(m_exit);
    layout->addLayout(right);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] {
        if (!editing())
            readSelected();
    });
    connect(m_new, &QPushButton::clicked, this, &MarkTypesDialog::startNew);
    connect(m_rename, &QPushButton::clicked, this, &MarkTypesDialog::startRename);
    connect(m_delete, &QPushButton::clicked, this, &MarkTypesDialog::remove);
    connect(m_symbol, &QPushButton::clicked, this, &MarkTypesDialog::changeSymbol);
    connect(m_save, &QPushButton::clicked, this, &MarkTypesDialog::save);
    connect(m_cancel, &QPushButton::clicked, this, &MarkTypesDialog::cancelEdit);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
    setEditing(kNotEditing);
    refill(-1);
}

int MarkTypesDialog::selectedSlot() const {
    const auto* item = m_list->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

void MarkTypesDialog::selectSlot(int slot) {
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->data(Qt::UserRole).toInt() == slot)
            m_list->setCurrentRow(i);
}

void MarkTypesDialog::refill(int slot) {
    auto list = ReadMarkTypeList(m_folder, m_which);
    if (!list)
        m_sink.report(list.error());
    std::vector<platform::ui::SlotEntry> entries;
    if (list)
        for (std::size_t i = 0; i < list->size(); ++i)
            if ((*list)[i].used != 0)
                entries.push_back({(*list)[i].name.utf8Trimmed(), static_cast<int>(i)});
    platform::ui::fillSlotList(*m_list, std::move(entries), slot);
    readSelected();
}

void MarkTypesDialog::readSelected() {
    m_work = MarkTypeRecord{};
    if (const int slot = selectedSlot(); slot >= 0) {
        auto rec = ReadMarkType(m_folder, m_which, slot);
        if (rec)
            m_work = *rec;
        else
            m_sink.report(rec.error());
    }
    updateButtons();
    m_symbolView->update();
}

void MarkTypesDialog::updateButtons() {
    const bool browsing = !editing();
    const bool real = selectedSlot() > 0;
    m_list->setEnabled(browsing);
    m_new->setEnabled(browsing);
    m_rename->setEnabled(browsing && real);
    m_delete->setEnabled(browsing && real);
    m_symbol->setEnabled(browsing && real);
    m_exit->setEnabled(browsing);
}

void MarkTypesDialog::setEditing(int slot) {
    m_editSlot = slot;
    for (QWidget* w : std::initializer_list<QWidget*>{m_name, m_save, m_cancel})
        w->setVisible(editing());
    updateButtons();
    if (editing())
        m_name->setFocus();
}

void MarkTypesDialog::startNew() {
    if (editing())
        return;
    m_work = MarkTypeRecord{};
    m_work.used = 1;
    setMarkTypeName(m_work, "");
    m_name->clear();
    setEditing(kNewType);
    m_symbolView->update();
}

void MarkTypesDialog::startRename() {
    const int slot = selectedSlot();
    if (editing() || slot <= 0)
        return;
    m_name->setText(QString::fromStdString(m_work.name.utf8Trimmed()));
    setEditing(slot);
}

void MarkTypesDialog::save() {
    if (!editing())
        return;
    int slot = m_editSlot;
    if (slot == kNewType) {
        auto list = ReadMarkTypeList(m_folder, m_which);
        if (!list) {
            m_sink.report(list.error());
            return;
        }
        slot = static_cast<int>(list->size());
    }
    setMarkTypeName(m_work, m_name->text().toStdString());
    auto saved = SaveMarkType(m_folder, m_which, slot, m_work);
    if (!saved) {
        m_sink.report(saved.error());
        return;
    }
    setEditing(kNotEditing);
    refill(*saved);
}

void MarkTypesDialog::cancelEdit() {
    setEditing(kNotEditing);
    readSelected();
}

void MarkTypesDialog::remove() {
    const int slot = selectedSlot();
    if (editing() || slot <= 0)
        return;
    if (m_sink.askYesNo("Удаление", "Вы действительно хотите удалить ?") != platform::Answer::Yes)
        return;
    if (auto st = DeleteMarkType(m_folder, m_which, slot); !st)
        m_sink.report(st.error());
    refill(-1);
}

void MarkTypesDialog::changeSymbol() {
    const int slot = selectedSlot();
    if (editing() || slot <= 0)
        return;
    const int chosen = m_picker(m_work.symbol);
    if (chosen < 0)
        return;
    if (auto st = SetMarkTypeSymbol(m_folder, m_which, slot, chosen); !st)
        m_sink.report(st.error());
    readSelected();
}

void EditGroundwaterTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                          QWidget* parent) {
    MarkTypesDialog dialog(folder, sink, MarkList::Groundwater, {}, parent);
    dialog.exec();
}

void EditSampleTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                     QWidget* parent) {
    MarkTypesDialog dialog(folder, sink, MarkList::Samples, {}, parent);
    dialog.exec();
}

} // namespace orvo::dict::ui
