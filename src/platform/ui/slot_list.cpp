// Filling and reading the slot-carrying list.
#include "platform/ui/slot_list.h"

#include "platform/collate.h"
#include "platform/ui/widgets.h"

#include <QSignalBlocker>

#include <algorithm>

namespace orvo::platform::ui {

SlotList::SlotList(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("list"));
}

void SlotList::fill(std::vector<SlotEntry> entries, int slot) {
    if (m_order == Order::ByName)
        std::stable_sort(
            entries.begin(), entries.end(),
            [](const SlotEntry& a, const SlotEntry& b) { return compareText(a.name, b.name) < 0; });
    const QSignalBlocker block(this);
    clear();
    for (const auto& e : entries)
        (new QListWidgetItem(qs(e.name), this))->setData(Qt::UserRole, e.slot);
    int row = rowOf(slot);
    if (row < 0)
        row = rowOf(m_fallback);
    if (row < 0 && count() > 0)
        row = 0;
    setCurrentRow(row);
}

int SlotList::selectedSlot() const {
    const auto* item = currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

QString SlotList::selectedText() const {
    const auto* item = currentItem();
    return item ? item->text() : QString();
}

bool SlotList::selectSlot(int slot) {
    const int row = rowOf(slot);
    if (row >= 0)
        setCurrentRow(row);
    return row >= 0;
}

int SlotList::rowOf(int slot) const {
    if (slot < 0)
        return -1;
    for (int i = 0; i < count(); ++i)
        if (item(i)->data(Qt::UserRole).toInt() == slot)
            return i;
    return -1;
}

} // namespace orvo::platform::ui
