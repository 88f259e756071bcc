// Widgets of the shared groundwater horizon / sample type dialog; the records are handled by
// dict/mark_type and the symbol is drawn by dict/symbol.
#include "dict/ui/mark_type_dialog.h"

#include "dict/symbol.h"
#include "dict/ui/symbol_dialogs.h"
#include "platform/ui/qpainter_canvas.h"
#include "platform/ui/widgets.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo::dict::ui {

using platform::ui::makeButton;

namespace {

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
    : DictionaryListDialog(folder, sink, parent), m_which(which), m_picker(std::move(picker)) {
    if (!m_picker)
        m_picker = [this](int current) {
            return PickSymbol(this->folder(), this->sink(), current, this);
        };
    setWindowTitle(which == MarkList::Groundwater ? QStringLiteral("Подземные воды")
                                                  : QStringLiteral("Отборы проб"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Существующие")));
    left->addWidget(list());
    m_name = platform::ui::named(new QLineEdit(this), "name");
    m_name->setMaxLength(79);
    left->addWidget(m_name);
    auto* editRow = new QHBoxLayout;
    m_save = makeButton("Сохранить", "save", this);
    m_cancel = makeButton("Отмена", "cancel", this);
    editRow->addWidget(m_save);
    editRow->addWidget(m_cancel);
    left->addLayout(editRow);
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    using N = Needs;
    for (auto* b :
         {addButton(makeButton("Новый тип", "new", this), N::Nothing, [this] { startNew(); }),
          addButton(makeButton("Переименовать", "rename", this), N::OwnEntry,
                    [this] { startRename(); }),
          addButton(makeButton("Удалить", "delete", this), N::OwnEntry, [this] { remove(); }),
          addButton(makeButton("Сменить значок", "symbol", this), N::OwnEntry,
                    [this] { changeSymbol(); })})
        right->addWidget(b);
    auto* frame = new QGroupBox(QStringLiteral("Значок"), this);
    auto* frameLayout = new QVBoxLayout(frame);
    m_symbolView = platform::ui::named(new SymbolView(
                                           this->folder(), [this] { return m_work.symbol; }, frame),
                                       "symbolView");
    frameLayout->addWidget(m_symbolView);
    right->addWidget(frame, 1);
    right->addWidget(
        addButton(makeButton("Выход", "exit", this), N::Nothing, [this] { accept(); }));
    layout->addLayout(right);

    connect(m_save, &QPushButton::clicked, this, &MarkTypesDialog::save);
    connect(m_cancel, &QPushButton::clicked, this, &MarkTypesDialog::cancelEdit);
    edit(std::nullopt);
    refill(-1);
}

Result<std::vector<platform::ui::SlotEntry>> MarkTypesDialog::readEntries() {
    auto types = ReadMarkTypeList(folder(), m_which);
    if (!types)
        return types.error();
    std::vector<platform::ui::SlotEntry> entries;
    for (std::size_t i = 0; i < types->size(); ++i)
        if ((*types)[i].used != 0)
            entries.push_back({(*types)[i].name.utf8Trimmed(), static_cast<int>(i)});
    return entries;
}

void MarkTypesDialog::showSelection(int slot) {
    m_work = MarkTypeRecord{};
    if (slot >= 0) {
        auto rec = ReadMarkType(folder(), m_which, slot);
        if (rec)
            m_work = *rec;
        else
            sink().report(rec.error());
    }
    m_symbolView->update();
}

void MarkTypesDialog::edit(std::optional<int> slot) {
    m_editSlot = slot.value_or(kNewType);
    setEditing(slot.has_value());
    for (QWidget* w : std::initializer_list<QWidget*>{m_name, m_save, m_cancel})
        w->setVisible(editing());
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
    edit(kNewType);
    m_symbolView->update();
}

void MarkTypesDialog::startRename() {
    const int slot = selectedSlot();
    if (editing() || !isOwnEntry(slot))
        return;
    m_name->setText(platform::ui::qs(m_work.name.utf8Trimmed()));
    edit(slot);
}

void MarkTypesDialog::save() {
    if (!editing())
        return;
    int slot = m_editSlot;
    if (slot == kNewType) {
        auto types = ReadMarkTypeList(folder(), m_which);
        if (!types) {
            sink().report(types.error());
            return;
        }
        slot = static_cast<int>(types->size());
    }
    setMarkTypeName(m_work, m_name->text().toStdString());
    auto saved = SaveMarkType(folder(), m_which, slot, m_work);
    if (!saved) {
        sink().report(saved.error());
        return;
    }
    edit(std::nullopt);
    refill(*saved);
}

void MarkTypesDialog::cancelEdit() {
    edit(std::nullopt);
    showSelection(selectedSlot());
}

std::optional<MarkTypesDialog::Question> MarkTypesDialog::deleteQuestion(int) const {
    return Question{"Удаление", "Вы действительно хотите удалить ?"};
}

Status MarkTypesDialog::deleteEntry(int slot) {
    return DeleteMarkType(folder(), m_which, slot);
}

void MarkTypesDialog::changeSymbol() {
    const int slot = selectedSlot();
    if (editing() || !isOwnEntry(slot))
        return;
    const int chosen = m_picker(m_work.symbol);
    if (chosen < 0)
        return;
    if (auto st = SetMarkTypeSymbol(folder(), m_which, slot, chosen); !st)
        sink().report(st.error());
    showSelection(slot);
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
