// Printing a section: the print setup, rendering for the printer, the dialogs "Печать разреза"
// (whole sheets) and "Печать разреза частями" (by parts, with a preview), and the print job.
#pragma once
#include "drawing/ui/section_windows.h"
#include "export/print_plan.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QListWidget;
class QPushButton;
class QComboBox;
class QRadioButton;

namespace orvo::exporter {

struct SheetChoice {
    std::vector<bool> sheets; // per sheet, the legend last
    bool changePrinter = false;
};

struct PartsChoice {
    CutMarks marks = CutMarks::None;
    bool changePrinter = false;
};

// What the command asks; each hook has a default that shows the real dialog.
struct PrintHooks {
    // The print setup; nothing when cancelled.
    std::function<std::unique_ptr<QPrinter>(QWidget*)> choosePrinter;
    // "Печать разреза"; nothing for "Отмена".
    std::function<std::optional<SheetChoice>(QWidget*, const PrintPlan&)> pickSheets;
    // "Печать разреза частями"; the plan's page selection is edited in place.
    std::function<std::optional<PartsChoice>(QWidget*, PrintPlan&, const platform::WorkFolder&)>
        pickPages;
};

struct PrintOutcome {
    PrintMode mode = PrintMode::FullSheet;
    PrinterMetrics printer;
    int nx = 1;
    int ny = 1;
    int pages = 0;
    std::vector<int> pagesPerSheet; // pages printed of each sheet, the legend last
};

// Prepares the section, asks for the printer, renders the sheets for it and prints what the
// dialog picks; "Параметры принтера..." starts again from the print setup. Nothing when
// cancelled or refused (the refusal was shown).
std::optional<PrintOutcome> PrintSection(QWidget* parent, const store::ProjectStore& store,
                                         platform::MessageSink& sink,
                                         const drawing::DrawingRequest& request,
                                         const PrintHooks& hooks = {});

// The printer's metrics as the plan wants them.
PrinterMetrics printerMetrics(const QPrinter& printer);

class FullSheetDialog : public QDialog {
    Q_OBJECT
public:
    FullSheetDialog(const PrintPlan& plan, QWidget* parent = nullptr);
    SheetChoice choice() const;
    QListWidget* sheets() const { return m_sheets; }
    QListWidget* printList() const { return m_print; }
    QPushButton* button(int i) const { return m_buttons[static_cast<std::size_t>(i)]; }
    QPushButton* printButton() const { return m_printButton; }

private:
    void update();
    std::vector<std::string> m_entries;
    QListWidget* m_sheets = nullptr;
    QListWidget* m_print = nullptr;
    std::array<QPushButton*, 4> m_buttons{}; // add, add all, remove, clear
    QPushButton* m_printButton = nullptr;
    bool m_changePrinter = false;
};

class PartsDialog : public QDialog {
    Q_OBJECT
public:
    PartsDialog(PrintPlan& plan, const platform::WorkFolder& folder, QWidget* parent = nullptr);
    PartsChoice choice() const;
    QWidget* preview() const { return m_preview; }
    QComboBox* sheets() const { return m_sheets; }
    QPushButton* printButton() const { return m_printButton; }

private:
    void update();
    PrintPlan& m_plan;
    QWidget* m_preview = nullptr;
    QComboBox* m_sheets = nullptr;
    std::array<QRadioButton*, 3> m_marks{};
    QPushButton* m_printButton = nullptr;
    bool m_changePrinter = false;
};

} // namespace orvo::exporter
