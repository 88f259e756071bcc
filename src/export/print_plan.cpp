// The page grid of section printing.
#include "export/print_plan.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

namespace orvo::exporter {

namespace {

// Pages needed for `size` pixels when each page after the first adds `step`.
int pagesFor(std::int64_t size, std::int64_t step) {
    return static_cast<int>(std::max<std::int64_t>(1, (size - 1 + step - 1) / step));
}

std::string millimetres(double a, double b) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.0fx%.0f мм", a, b);
    return buf;
}

} // namespace

Result<PrintPlan> PrintPlan::make(std::vector<drawing::SheetSize> sheets, PrinterMetrics printer) {
    if (printer.pageW <= 2 || printer.pageH <= 2 || printer.dpiX <= 0 || printer.dpiY <= 0)
        return Error{"Ошибка печати", "Ошибка"};
    PrintPlan p;
    p.m_printer = std::move(printer);
    p.m_sheets = std::move(sheets);
    for (const auto& s : p.m_sheets) {
        p.m_maxW = std::max(p.m_maxW, s.widthPx);
        p.m_maxH = std::max(p.m_maxH, s.heightPx);
    }
    const auto& m = p.m_printer;
    p.m_mode = p.m_maxW > m.pageW || p.m_maxH > m.pageH ? PrintMode::ByParts : PrintMode::FullSheet;
    p.m_nx = pagesFor(p.m_maxW, m.pageW - 2);
    p.m_ny = pagesFor(p.m_maxH, m.pageH - 2);
    p.m_selected.assign(p.m_sheets.size() * static_cast<std::size_t>(p.m_nx * p.m_ny), 0);
    for (int i = 0; i < p.sheetCount(); ++i)
        p.selectBlock(i);
    return p;
}

int PrintPlan::blockColumns(int sheet) const {
    return std::min(m_nx, pagesFor(this->sheet(sheet).widthPx, m_printer.pageW - 2));
}

int PrintPlan::blockRows(int sheet) const {
    return std::min(m_ny, pagesFor(this->sheet(sheet).heightPx, m_printer.pageH - 2));
}

bool PrintPlan::inBlock(int sheet, int row, int column) const {
    return column < blockColumns(sheet) && row >= m_ny - blockRows(sheet);
}

std::size_t PrintPlan::at(int sheet, int row, int column) const {
    assert(sheet >= 0 && sheet < sheetCount() && row >= 0 && row < m_ny && column >= 0 &&
           column < m_nx);
    return (static_cast<std::size_t>(sheet) * static_cast<std::size_t>(m_ny) +
            static_cast<std::size_t>(row)) *
               static_cast<std::size_t>(m_nx) +
           static_cast<std::size_t>(column);
}

bool PrintPlan::selected(int sheet, int row, int column) const {
    return m_selected[at(sheet, row, column)] != 0;
}

void PrintPlan::setSelected(int sheet, int row, int column, bool on) {
    m_selected[at(sheet, row, column)] = on ? 1 : 0;
}

void PrintPlan::toggle(int sheet, int row, int column) {
    setSelected(sheet, row, column, !selected(sheet, row, column));
}

void PrintPlan::selectBlock(int sheet) {
    for (int r = 0; r < m_ny; ++r)
        for (int c = 0; c < m_nx; ++c)
            setSelected(sheet, r, c, inBlock(sheet, r, c));
}

void PrintPlan::invertBlock(int sheet) {
    for (int r = 0; r < m_ny; ++r)
        for (int c = 0; c < m_nx; ++c)
            if (inBlock(sheet, r, c))
                toggle(sheet, r, c);
}

int PrintPlan::selectedPages() const {
    return static_cast<int>(std::count(m_selected.begin(), m_selected.end(), 1));
}

std::pair<std::int64_t, std::int64_t> PrintPlan::origin(int sheet, int row, int column) const {
    const auto& m = m_printer;
    return {1 - (m.pageW - 2) * column,
            (m_ny - row) * (m.pageH - 2) - this->sheet(sheet).heightPx + 1};
}

std::vector<PrintLine> PrintPlan::cutMarks(CutMarks marks, int column) const {
    const std::int64_t r = m_printer.pageW - 1;
    const std::int64_t b = m_printer.pageH - 1;
    // 5 mm in pixels; positive values, so adding a half and truncating rounds to nearest.
    // NOLINTNEXTLINE(bugprone-incorrect-roundings): as the printed marks have always been
    const auto mx = static_cast<std::int64_t>(m_printer.dpiX * 5 * 0.03937007874015748 + 0.5);
    // NOLINTNEXTLINE(bugprone-incorrect-roundings)
    const auto my = static_cast<std::int64_t>(m_printer.dpiY * 5 * 0.03937007874015748 + 0.5);
    std::vector<PrintLine> out;
    if (marks == CutMarks::Corners) {
        out = {{0, 0, mx, 0},     {r - mx, 0, r, 0}, {r, 0, r, my},
               {r, b - my, r, b}, {0, b, mx, b},     {r - mx, b, r, b}};
        if (column > 0) {
            out.push_back({0, 0, 0, my});
            out.push_back({0, b - my, 0, b});
        }
    } else if (marks == CutMarks::DashDot) {
        out = {{0, 0, r, 0}, {r, 0, r, b}, {0, b, r, b}};
        if (column > 0)
            out.push_back({0, 0, 0, b});
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> PrintPlan::infoLines() const {
    const auto& m = m_printer;
    // Rounded once: adding 0.5 before "%.0f" rounds again and shows an A4 page as 210x298 мм.
    const auto mm = [](std::int64_t px, double dpi) {
        return static_cast<double>(px) / dpi * 25.4;
    };
    char dpi[48];
    std::snprintf(dpi, sizeof dpi, "%dx%d dpi", static_cast<int>(m.dpiX), static_cast<int>(m.dpiY));
    return {{"Принтер:", m.deviceName.substr(0, 32)},
            {"Размеры чертежа:", millimetres(mm(m_maxW, m.dpiX), mm(m_maxH, m.dpiY))},
            {"Область печати:", millimetres(mm(m.pageW, m.dpiX), mm(m.pageH, m.dpiY))},
            {"Разрешение:", dpi},
            {"Ориентация бумаги:", m.portrait ? "Книжная" : "Альбомная"}};
}

std::vector<std::string> sheetEntries(int sectionSheets) {
    std::vector<std::string> out;
    for (int i = 1; i <= sectionSheets; ++i)
        out.push_back("Лист " + std::to_string(i) + " ");
    out.emplace_back("Лист УО");
    return out;
}

std::vector<bool> sheetsInList(const std::vector<std::string>& entries,
                               const std::vector<std::string>& printList) {
    std::vector<bool> out;
    out.reserve(entries.size());
    for (const auto& e : entries)
        out.push_back(std::any_of(printList.begin(), printList.end(), [&](const std::string& p) {
            return p.compare(0, e.size(), e) == 0;
        }));
    return out;
}

} // namespace orvo::exporter
