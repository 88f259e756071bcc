// The list of a dictionary's items in use: names sorted alphabetically, each carrying its slot.
#pragma once
#include <QListWidget>

#include <string>
#include <vector>

namespace orvo::platform::ui {

struct SlotEntry {
    std::string name; // UTF-8
    int slot = 0;
};

// Fills the list sorted by name (case ignored, "ё" after "е"; equal names keep their order),
// selects `selectSlot` or else the first entry, without emitting selection signals.
void fillSlotList(QListWidget& list, std::vector<SlotEntry> entries, int selectSlot);

// The slot carried by the current entry, or -1.
int currentSlot(const QListWidget& list);

} // namespace orvo::platform::ui
