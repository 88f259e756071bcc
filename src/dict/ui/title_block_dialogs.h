// "Список штампов" with its small dialogs: rename, delete, view, test print, export, import.
#pragma once
#include "dict/title_block.h"
#include "platform/message_sink.h"
#include "platform/work_folder.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <optional>

class QListWidget;
class QPrinter;
class QPushButton;

namespace orvo::dict::ui {

// Margins of the test print in whole millimetres; kept by the caller for the whole run.
struct TitleBlockPrintMargins {
    int top = 15;
    int left = 15;
};

// What the list dialog asks the desktop for; tests replace these.
struct TitleBlockDialogHooks {
    // A file to export to (save = true) or import from; nothing when cancelled.
    std::function<std::optional<std::filesystem::path>(bool save)> chooseFile;
    // Sets the printer up (the system print dialog by default); false when cancelled.
    std::function<bool(QPrinter&)> choosePrinter;
};

class TitleBlocksDialog : public QDialog {
    Q_OBJECT
public:
    TitleBlocksDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                      TitleBlockPrintMargins& margins, TitleBlockDialogHooks hooks = {},
                      QWidget* parent = nullptr);

    // Slot of the selected entry, or -1.
    int selectedSlot() const;
    void selectSlot(int slot);

    void create(bool fromSelected);
    void edit();
    void rename();
    void remove();
    void view();
    void print();
    void exportSelected();
    void importFile();

private:
    void refill(int selectSlot);
    void updateButtons();
    // Runs the editor on a loaded edit; returns the slot saved into, if any.
    std::optional<int> runEditor(TitleBlockEdit& edit, std::optional<int> slot);
    QString selectedName() const;
    // The selected block read from its file; nothing (with the error shown) when it cannot be.
    std::optional<TitleBlock> selectedBlock();

    const platform::WorkFolder& m_folder;
    platform::MessageSink& m_sink;
    TitleBlockPrintMargins& m_margins;
    TitleBlockDialogHooks m_hooks;
    QListWidget* m_list;
    std::vector<QPushButton*> m_needSelection;
};

// Draws a block into a printer (or any paint device with its resolution) at its true size,
// `left` and `top` millimetres from the page corner.
void paintTitleBlock(QPrinter& printer, const TitleBlock& block, int leftMm, int topMm);

} // namespace orvo::dict::ui
