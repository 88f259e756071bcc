// How a section's sheets go onto printed pages: whole (one page a sheet) when the largest sheet
// fits the printable area, else cut into one grid of overlapping pages for all sheets, with the
// pages chosen on a preview and optional cut marks. Pixels are the printer's.
#pragma once
#include "drawing/render_section.h"
#include "platform/result.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orvo::exporter {

struct PrinterMetrics {
    std::int64_t pageW = 0; // printable area, pixels
    std::int64_t pageH = 0;
    double dpiX = 0;
    double dpiY = 0;
    std::string deviceName;
    bool portrait = true;
};

enum class PrintMode { FullSheet, ByParts };
enum class CutMarks { Corners = 0, DashDot = 1, None = 2 };

struct PrintLine {
    std::int64_t x1, y1, x2, y2;
    bool operator==(const PrintLine&) const = default;
};

inline constexpr const char* kFullSheetJob = "ORVO-II - Печать разреза (полный лист)";
inline constexpr const char* kByPartsJob = "ORVO-II - Печать разреза (частями)";

class PrintPlan {
public:
    // Refused when the printable area is not larger than 2 pixels either way.
    static Result<PrintPlan> make(std::vector<drawing::SheetSize> sheets, PrinterMetrics printer);

    PrintMode mode() const { return m_mode; }
    const PrinterMetrics& printer() const { return m_printer; }
    int sheetCount() const { return static_cast<int>(m_sheets.size()); } // the legend included
    const drawing::SheetSize& sheet(int i) const { return m_sheets[static_cast<std::size_t>(i)]; }
    std::int64_t maxW() const { return m_maxW; }
    std::int64_t maxH() const { return m_maxH; }
    // One grid for all sheets; pages step by pageW - 2 and pageH - 2 (neighbours overlap by 2
    // pixels), so the grid counts the step, not the page.
    int nx() const { return m_nx; }
    int ny() const { return m_ny; }
    // A sheet's own block: its bottom rows and left columns.
    int blockColumns(int sheet) const;
    int blockRows(int sheet) const;
    bool inBlock(int sheet, int row, int column) const;

    // Page selection of printing by parts, rows from the top; starts as every sheet's block.
    bool selected(int sheet, int row, int column) const;
    void setSelected(int sheet, int row, int column, bool on);
    void toggle(int sheet, int row, int column);
    void selectBlock(int sheet);
    void invertBlock(int sheet);
    int selectedPages() const;

    // Where the sheet's top-left corner goes on the page of `row`, `column`.
    std::pair<std::int64_t, std::int64_t> origin(int sheet, int row, int column) const;
    // The cut marks of a page in `column`: left-edge marks only where a page lies to the left.
    std::vector<PrintLine> cutMarks(CutMarks marks, int column) const;

    // The dialogs' information lines: label and value.
    std::vector<std::pair<std::string, std::string>> infoLines() const;

private:
    std::size_t at(int sheet, int row, int column) const;
    PrintMode m_mode = PrintMode::FullSheet;
    PrinterMetrics m_printer;
    std::vector<drawing::SheetSize> m_sheets;
    std::int64_t m_maxW = 0;
    std::int64_t m_maxH = 0;
    int m_nx = 1;
    int m_ny = 1;
    std::vector<char> m_selected;
};

// "Лист %d " (with its trailing blank) for the section sheets, then "Лист УО".
std::vector<std::string> sheetEntries(int sectionSheets);
// Which sheets the print list names: an entry is found by its leading text, and the trailing
// blank keeps "Лист 1 " from matching "Лист 10 ".
std::vector<bool> sheetsInList(const std::vector<std::string>& entries,
                               const std::vector<std::string>& printList);

} // namespace orvo::exporter
