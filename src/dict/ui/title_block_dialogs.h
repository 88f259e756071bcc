// "Список штампов" with its small dialogs: rename, delete, view, test print, export, import.
#pragma once
#include "dict/title_block.h"
#include "platform/message_sink.h"
#include "platform/ui/dictionary_list_dialog.h"
#include "platform/work_folder.h"

#include <filesystem>
#include <functional>
#include <optional>

class QPaintDevice;
class QPrinter;

namespace orvo::dict::ui {

// Margins of the test print in whole millimetres; kept by the caller for the whole run.
struct TitleBlockPrintMargins {
    int top = 15;
    int left = 15;
};

// What the list dialog asks the desktop for; tests replace these.
struct TitleBlockDialogHooks {
    // A file to export to (save = true) or import from; nothing when cancelled.
    platform::ui::ChooseFile chooseFile;
    // Sets the printer up (the system print dialog by default); false when cancelled.
    std::function<bool(QPrinter&)> choosePrinter;
};

class TitleBlocksDialog : public platform::ui::DictionaryListDialog {
    Q_OBJECT
public:
    TitleBlocksDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                      TitleBlockPrintMargins& margins, TitleBlockDialogHooks hooks = {},
                      QWidget* parent = nullptr);

    void create(bool fromSelected);
    void edit();
    void rename();
    void view();
    void print();

protected:
    Result<std::vector<platform::ui::SlotEntry>> readEntries() override;
    // The first entry is the template: it only serves "Создать..".
    bool isOwnEntry(int slot) const override;
    // "Удаление штампа", which also asks whether the item file goes.
    bool confirmDelete(int slot) override;
    Status deleteEntry(int slot) override;

private:
    platform::ui::ExchangeHooks exchangeHooks();
    // Runs the editor on a loaded edit; returns the slot saved into, if any.
    std::optional<int> runEditor(TitleBlockEdit& edit, std::optional<int> slot);
    // The selected block read from its file; nothing (with the error shown) when it cannot be.
    std::optional<TitleBlock> selectedBlock();

    TitleBlockPrintMargins& m_margins;
    TitleBlockDialogHooks m_hooks;
    bool m_removeFile = true;
};

// Draws a block into a printer (or any paint device with its resolution) at its true size, the
// top-left corner of its elements' extent `left` and `top` millimetres from the page corner.
void paintTitleBlock(QPaintDevice& device, const TitleBlock& block, int leftMm, int topMm);

} // namespace orvo::dict::ui
