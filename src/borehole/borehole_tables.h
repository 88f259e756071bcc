// The borehole editor's working data: the header fields and the three tables, each with its
// empty last row, current row and first visible row, and the rules for sorting, inserting
// and deleting rows. No widgets here.
#pragma once
#include "borehole/borehole_record.h"

#include <array>
#include <optional>
#include <string>

namespace orvo::borehole {

enum class TableKind { Ige = 0, Water = 1, Samples = 2 };

// One row of any table: the text cell (IGE number or date; unused for samples), the depth and
// the type index.
struct TableRow {
    std::string text; // Windows-1251, at most the field's width
    float depth = 0;
    std::int16_t type = 0;
};

class EditTable {
public:
    explicit EditTable(std::size_t textWidth) : m_textWidth(textWidth) {}

    int count() const { return m_count; }
    // The rows that can be shown: the count, plus the empty last row while there is room.
    int rowsShown() const { return m_count < kMaxRows ? m_count + 1 : m_count; }
    const TableRow& row(int i) const { return m_rows[static_cast<std::size_t>(i)]; }
    int current() const { return m_current; }
    int firstVisible() const { return m_firstVisible; }
    std::size_t textWidth() const { return m_textWidth; }

    // Moves the current row (clamped to 0 .. the empty last row) and keeps it visible among
    // `visibleRows` rows.
    void setCurrent(int row, int visibleRows);
    void setText(std::string cp1251); // the current row's text, cut to the field
    void setDepth(float depth);       // the current row's depth
    void setType(std::int16_t type);  // the current row's type

    // Empty rows (depth <= 0) drop out, the rest in ascending depth, current and first visible
    // row back to 0.
    void sort();
    // Refused (false) with 99 rows or more: a new empty row right after the current one.
    bool insertRow(int visibleRows);
    void deleteRow(int visibleRows);

    void assign(std::vector<TableRow> rows); // count = rows (at most 100), empty row after them
    std::vector<TableRow> rows() const;      // the counted rows

private:
    std::array<TableRow, kMaxRows + 1> m_rows{};
    std::size_t m_textWidth;
    int m_count = 0;
    int m_current = 0;
    int m_firstVisible = 0;
};

// Everything the editor edits, with conversions to and from the stored borehole.
struct BoreholeEditData {
    store::FixedText<10> name;
    float x = 0, y = 0, elevation = 0, depth = 0;
    std::int16_t type = 0;
    EditTable ige{10};
    EditTable water{8};
    EditTable samples{0};

    EditTable& table(TableKind k);
    const EditTable& table(TableKind k) const;
    void sortAll();

    static BoreholeEditData from(const Borehole& b);
    // Header number and the fields, the counted rows of each table.
    Borehole toBorehole(std::int32_t number) const;
};

// The editor's clipboard: one borehole's data (all but the number), kept for the whole run.
struct BoreholeClipboard {
    std::optional<BoreholeEditData> data;
};

} // namespace orvo::borehole
