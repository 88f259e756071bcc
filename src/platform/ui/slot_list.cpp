// Filling and reading slot-carrying lists.
#include "platform/ui/slot_list.h"

#include "platform/collate.h"

#include <QSignalBlocker>

#include <algorithm>

namespace orvo::platform::ui {

void fillSlotList(QListWidget& list, std::vector<SlotEntry> entries, int selectSlot) {
    std::stable_sort(entries.begin(), entries.end(), [](const SlotEntry& a, const SlotEntry& b) {
        return compareText(a.name, b.name) < 0;
    });
    const QSignalBlocker block(&list);
    list.clear();
    for (const auto& e : entries) {
        auto* item = new QListWidgetItem(QString::fromStdString(e.name), &list);
        item->setData(Qt::UserRole, e.slot);
        if (e.slot == selectSlot)
            list.setCurrentItem(item);
    }
    if (!list.currentItem() && list.count() > 0)
        list.setCurrentRow(0);
}

int currentSlot(const QListWidget& list) {
    const auto* item = list.currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

} // namespace orvo::platform::ui
