// Widgets of the standard IGE description list; the records are handled by
// dict/ige_description and the hatches drawn by dict/hatch.
#include "dict/ui/ige_description_dialogs.h"

#include "dict/hatch.h"
#include "platform/ui/qpainter_canvas.h"
#include "platform/ui/widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvo::dict::ui {

using platform::ui::makeButton;
using platform::ui::named;
using platform::ui::qs;

void fillIgeHatchCombo(QComboBox* combo, const platform::WorkFolder& folder, int hatch) {
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItem(QString::fromUtf8(kNoHatchEntry), -1);
    // An unreadable list offers no hatch but the first entry; the drawing has none either.
    if (const auto list = ReadHatchList(folder))
        for (std::size_t i = 0; i < list->size(); ++i)
            if ((*list)[i].used == 1)
                combo->addItem(qs((*list)[i].name.utf8Trimmed()), static_cast<int>(i));
    const int row = combo->findData(hatch);
    combo->setCurrentIndex(row >= 0 ? row : 0);
}

int chosenHatch(const QComboBox* combo) {
    return combo->currentIndex() >= 0 ? combo->currentData().toInt() : -1;
}

HatchPreview::HatchPreview(const platform::WorkFolder& folder, std::function<int()> hatch,
                           QWidget* parent)
    : QWidget(parent), m_folder(folder), m_hatch(std::move(hatch)) {
    setMinimumSize(120, 100);
}

void HatchPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const int slot = m_hatch();
    if (slot < 0)
        return;
    // Read at every paint: the hatch list may have changed in another dialog.
    const auto pattern = LoadHatch(m_folder, slot);
    if (!pattern)
        return;
    platform::QPainterCanvas canvas(painter);
    const HatchCull area{2, 2, width() - 2, height() - 2};
    if (area.right <= area.left || area.bottom <= area.top)
        return;
    DrawHatchIn(canvas, m_folder, *pattern, logicalDpiX(), area);
}

// ---- the standard list ----

StandardIgeDialog::StandardIgeDialog(const platform::WorkFolder& folder,
                                     platform::MessageSink& sink, QWidget* parent)
    : DictionaryListDialog(folder, sink, parent) {
    setWindowTitle(QStringLiteral("Список стандартных описаний ИГЭ"));
    list()->setOrder(platform::ui::SlotList::Order::AsGiven);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(list(), 1);
    auto* fields = new QGridLayout;
    m_number = named(new QLineEdit(this), "number");
    m_number->setMaxLength(static_cast<int>(kIgeNumberWidth));
    m_description = named(new QPlainTextEdit(this), "description");
    m_hatches = named(new QComboBox(this), "hatch");
    fields->addWidget(new QLabel(QStringLiteral("Номер ИГЭ:")), 0, 0);
    fields->addWidget(m_number, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Описание ИГЭ:")), 1, 0, Qt::AlignTop);
    fields->addWidget(m_description, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("Вид штриховки:")), 2, 0);
    fields->addWidget(m_hatches, 2, 1);
    left->addLayout(fields);
    layout->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    using N = Needs;
    right->addWidget(addButton(makeButton("Новый элемент", "new", this), N::Nothing,
                               [this] { startEdit(true); }));
    right->addWidget(addButton(makeButton("Изменить атрибуты", "change", this), N::Entry,
                               [this] { startEdit(false); }));
    // Enabled by the entry count, which the base's needs do not cover: kept by hand.
    m_delete = makeButton("Удалить элемент", "delete", this);
    connect(m_delete, &QPushButton::clicked, this, [this] { remove(); });
    right->addWidget(m_delete);
    m_save = makeButton("Сохранить", "save", this);
    m_cancel = makeButton("Отмена", "cancel", this);
    right->addWidget(m_save);
    right->addWidget(m_cancel);
    auto* frame = new QGroupBox(this);
    auto* frameLayout = new QVBoxLayout(frame);
    m_preview = named(new HatchPreview(
                          this->folder(), [this] { return m_hatch; }, frame),
                      "preview");
    frameLayout->addWidget(m_preview);
    right->addWidget(frame, 1);
    m_exit = addButton(makeButton("Выход", "exit", this), N::Nothing, [this] { accept(); });
    right->addWidget(m_exit);
    layout->addLayout(right);

    connect(m_save, &QPushButton::clicked, this, &StandardIgeDialog::save);
    connect(m_cancel, &QPushButton::clicked, this, &StandardIgeDialog::cancelEdit);
    connect(m_hatches, &QComboBox::currentIndexChanged, this, [this] {
        m_hatch = chosenHatch(m_hatches);
        m_preview->update();
    });
    fillIgeHatchCombo(m_hatches, this->folder(), -1);
    setFieldsEnabled(false);
    refill(-1);
}

Result<std::vector<platform::ui::SlotEntry>> StandardIgeDialog::readEntries() {
    auto records = ReadStandardIgeList(folder());
    if (!records)
        return records.error();
    std::vector<int> usedSlots;
    for (std::size_t i = 0; i < records->size(); ++i)
        if ((*records)[i].flag == 1)
            usedSlots.push_back(static_cast<int>(i));
    // In the order the section lists show IGEs: 2, 2а, 10, 10б.
    std::stable_sort(usedSlots.begin(), usedSlots.end(), [&](int a, int b) {
        return igeSortsBefore((*records)[static_cast<std::size_t>(a)].igeNumber,
                              (*records)[static_cast<std::size_t>(b)].igeNumber);
    });
    std::vector<platform::ui::SlotEntry> entries;
    for (const int slot : usedSlots)
        entries.push_back(
            {igeNumberText((*records)[static_cast<std::size_t>(slot)].igeNumber), slot});
    return entries;
}

void StandardIgeDialog::showSelection(int slot) {
    IgeDescriptionRecord rec;
    if (slot >= 0) {
        auto records = ReadStandardIgeList(folder());
        if (records && static_cast<std::size_t>(slot) < records->size())
            rec = (*records)[static_cast<std::size_t>(slot)];
        else if (!records)
            sink().report(records.error());
    }
    m_number->setText(slot >= 0 ? qs(igeNumberText(rec.igeNumber)) : QString());
    m_description->setPlainText(slot >= 0 ? qs(rec.description.utf8Trimmed()) : QString());
    fillIgeHatchCombo(m_hatches, folder(), rec.hatch);
    m_hatch = chosenHatch(m_hatches);
    m_preview->update();
    m_delete->setEnabled(canDelete(slot));
}

bool StandardIgeDialog::canDelete(int slot) const {
    return slot >= 0 && list()->count() > 1;
}

std::optional<StandardIgeDialog::Question> StandardIgeDialog::deleteQuestion(int) const {
    return Question{"Удаление", "Вы действительно\rхотите удалить\rтекущее описание ИГЭ"};
}

Status StandardIgeDialog::deleteEntry(int slot) {
    return DeleteStandardIge(folder(), slot);
}

void StandardIgeDialog::setFieldsEnabled(bool on) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_number, m_description, m_hatches, m_save, m_cancel})
        w->setEnabled(on);
    setEditing(on);
    m_delete->setEnabled(!on && canDelete(selectedSlot()));
}

void StandardIgeDialog::startEdit(bool newEntry) {
    if (editing() || (!newEntry && selectedSlot() < 0))
        return;
    m_editSlot = newEntry ? -1 : selectedSlot();
    if (newEntry) {
        m_number->clear();
        m_description->clear();
        fillIgeHatchCombo(m_hatches, folder(), -1);
        m_hatch = -1;
        m_preview->update();
    }
    setFieldsEnabled(true);
    m_number->setFocus();
}

void StandardIgeDialog::save() {
    if (!editing())
        return;
    auto saved =
        SaveStandardIge(folder(), m_editSlot, m_number->text().toStdString(),
                        m_description->toPlainText().toStdString(), chosenHatch(m_hatches));
    if (!saved) {
        sink().show(saved.error().caption, saved.error().text, platform::Icon::Error);
        return;
    }
    setFieldsEnabled(false);
    refill(*saved);
}

void StandardIgeDialog::cancelEdit() {
    if (!editing())
        return;
    setFieldsEnabled(false);
    showSelection(selectedSlot());
}

void EditStandardIgeDescriptions(const platform::WorkFolder& folder, platform::MessageSink& sink,
                                 QWidget* parent) {
    StandardIgeDialog dialog(folder, sink, parent);
    dialog.exec();
}

} // namespace orvo::dict::ui
