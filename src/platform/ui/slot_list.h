// The list of a dictionary's entries: names, each carrying the slot of its record.
#pragma once
#include <QListWidget>

#include <string>
#include <vector>

namespace orvo::platform::ui {

struct SlotEntry {
    std::string name; // UTF-8
    int slot = 0;
};

class SlotList : public QListWidget {
    Q_OBJECT
public:
    // By name: case ignored, "ё" after "е", equal names in the order given. As given: the
    // dictionary has put them in its own order already (slot order, or sorted by its rules).
    enum class Order { ByName, AsGiven };

    explicit SlotList(QWidget* parent = nullptr);

    void setOrder(Order order) { m_order = order; }
    // Where the selection goes when the slot asked for is not listed; without it, or when it is
    // not listed either, the first entry.
    void setFallbackSlot(int slot) { m_fallback = slot; }

    // Refills and selects `slot` (or the fallback) without emitting selection signals.
    void fill(std::vector<SlotEntry> entries, int slot);

    // The slot of the selected entry, or -1.
    int selectedSlot() const;
    QString selectedText() const;
    // Selects the entry of `slot` as a click would, signals included; false when not listed.
    bool selectSlot(int slot);
    // The row of `slot`, or -1.
    int rowOf(int slot) const;

private:
    Order m_order = Order::ByName;
    int m_fallback = -1;
};

} // namespace orvo::platform::ui
