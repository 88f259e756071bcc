// The editor's tables: sorting with empty rows dropped, inserting and deleting rows.
#include "borehole/borehole_tables.h"

#include <algorithm>

namespace orvo::borehole {

namespace {
// Rows without a depth sort behind every real row, then are dropped.
constexpr float kEmptyDepth = 777777.0f;
} // namespace

void EditTable::setCurrent(int row, int visibleRows) {
    m_current = std::clamp(row, 0, rowsShown() - 1);
    const int page = std::max(1, visibleRows);
    if (m_current < m_firstVisible)
        m_firstVisible = m_current;
    else if (m_current >= m_firstVisible + page)
        m_firstVisible = m_current - page + 1;
    m_firstVisible = std::max(0, m_firstVisible);
}

void EditTable::setText(std::string cp1251) {
    if (m_textWidth > 0 && cp1251.size() > m_textWidth)
        cp1251.resize(m_textWidth);
    m_rows[static_cast<std::size_t>(m_current)].text = std::move(cp1251);
}

void EditTable::setDepth(float depth) {
    m_rows[static_cast<std::size_t>(m_current)].depth = depth;
}

void EditTable::setType(std::int16_t type) {
    m_rows[static_cast<std::size_t>(m_current)].type = type;
}

void EditTable::sort() {
    const int last = rowsShown() - 1; // the empty last row takes part too
    for (int i = 0; i <= last; ++i)
        if (!(m_rows[static_cast<std::size_t>(i)].depth > 0))
            m_rows[static_cast<std::size_t>(i)].depth = kEmptyDepth;
    for (int i = 0; i < last; ++i)
        for (int j = i + 1; j <= last; ++j)
            if (m_rows[static_cast<std::size_t>(i)].depth >
                m_rows[static_cast<std::size_t>(j)].depth)
                std::swap(m_rows[static_cast<std::size_t>(i)], m_rows[static_cast<std::size_t>(j)]);
    int count = 0;
    for (int i = 0; i <= last; ++i) {
        auto& r = m_rows[static_cast<std::size_t>(i)];
        if (r.depth == kEmptyDepth)
            r.depth = 0;
    }
    while (count <= last && count < kMaxRows && m_rows[static_cast<std::size_t>(count)].depth > 0)
        ++count;
    // Rows that dropped out are cleared, so the empty last row starts empty.
    for (int i = count; i <= last; ++i)
        m_rows[static_cast<std::size_t>(i)] = TableRow{};
    m_count = count;
    m_current = 0;
    m_firstVisible = 0;
}

bool EditTable::insertRow(int visibleRows) {
    if (m_count >= kMaxRows - 1)
        return false;
    // Everything after the current row moves down one, the empty last row (and whatever was
    // typed into it) included.
    const int at = m_current + 1;
    for (int i = m_count + 1; i > at; --i)
        m_rows[static_cast<std::size_t>(i)] = m_rows[static_cast<std::size_t>(i - 1)];
    m_rows[static_cast<std::size_t>(at)] = TableRow{};
    ++m_count;
    m_current = at;
    if (m_current >= m_firstVisible + std::max(1, visibleRows))
        ++m_firstVisible;
    return true;
}

void EditTable::deleteRow(int visibleRows) {
    const int last = rowsShown() - 1;
    for (int i = m_current; i < last; ++i)
        m_rows[static_cast<std::size_t>(i)] = m_rows[static_cast<std::size_t>(i) + 1];
    m_rows[static_cast<std::size_t>(last)] = TableRow{};
    const bool wasEmptyRow = m_current >= m_count;
    m_count = std::max(0, m_count - 1);
    if (wasEmptyRow && m_current > 0)
        --m_current;
    m_current = std::min(m_current, rowsShown() - 1);
    if (m_current < m_firstVisible)
        m_firstVisible = std::max(0, m_firstVisible - std::max(1, visibleRows));
}

void EditTable::assign(std::vector<TableRow> rows) {
    m_rows.fill(TableRow{});
    m_count = static_cast<int>(std::min<std::size_t>(rows.size(), kMaxRows));
    for (int i = 0; i < m_count; ++i)
        m_rows[static_cast<std::size_t>(i)] = std::move(rows[static_cast<std::size_t>(i)]);
    m_current = 0;
    m_firstVisible = 0;
}

std::vector<TableRow> EditTable::rows() const {
    return {m_rows.begin(), m_rows.begin() + m_count};
}

EditTable& BoreholeEditData::table(TableKind k) {
    return k == TableKind::Ige ? ige : k == TableKind::Water ? water : samples;
}

const EditTable& BoreholeEditData::table(TableKind k) const {
    return k == TableKind::Ige ? ige : k == TableKind::Water ? water : samples;
}

void BoreholeEditData::sortAll() {
    ige.sort();
    water.sort();
    samples.sort();
}

BoreholeEditData BoreholeEditData::from(const Borehole& b) {
    BoreholeEditData d;
    d.name = b.header.name;
    d.x = b.header.x;
    d.y = b.header.y;
    d.elevation = b.header.elevation;
    d.depth = b.header.depth;
    d.type = b.header.type;
    std::vector<TableRow> rows;
    for (const auto& l : b.ige)
        rows.push_back({l.ige.bytes(), l.baseDepth, l.consistency});
    d.ige.assign(std::move(rows));
    rows.clear();
    for (const auto& w : b.water)
        rows.push_back({w.date.bytes(), w.depth, w.kind});
    d.water.assign(std::move(rows));
    rows.clear();
    for (const auto& s : b.samples)
        rows.push_back({{}, s.depth, s.kind});
    d.samples.assign(std::move(rows));
    return d;
}

Borehole BoreholeEditData::toBorehole(std::int32_t number) const {
    Borehole b;
    b.header.name = name;
    b.header.number = number;
    b.header.x = x;
    b.header.y = y;
    b.header.elevation = elevation;
    b.header.depth = depth;
    b.header.type = type;
    for (const auto& r : ige.rows()) {
        IgeLayer l;
        l.ige.set(r.text, 10);
        l.baseDepth = r.depth;
        l.consistency = r.type;
        b.ige.push_back(l);
    }
    for (const auto& r : water.rows()) {
        WaterHorizon w;
        w.date.set(r.text, 8);
        w.depth = r.depth;
        w.kind = r.type;
        b.water.push_back(w);
    }
    for (const auto& r : samples.rows())
        b.samples.push_back({r.depth, r.type});
    return b;
}

} // namespace orvo::borehole
