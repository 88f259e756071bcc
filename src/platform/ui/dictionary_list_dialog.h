// The skeleton of the dictionary list dialogs, each dictionary supplying its parts through the
// hooks below: the entries listed by slot, buttons that follow the selection and the editing
// state, deleting behind a question, and the exchange files of the dictionaries that have them.
#pragma once
#include "platform/message_sink.h"
#include "platform/ui/exchange_dialogs.h"
#include "platform/ui/slot_list.h"
#include "platform/work_folder.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPushButton;

namespace orvo::platform::ui {

// An exchange file read and checked, waiting for the user's word when its name is in use.
struct PendingImport {
    std::string nameUtf8;
    std::optional<int> sameName; // the used slot that has the name already
    // Writes the item into the slot given, or a new one without; returns the slot written.
    std::function<Result<int>(std::optional<int> slot)> write;
};

// What a dictionary with exchange files adds to its list dialog.
struct ExchangeHooks {
    FileChoice files;
    ChooseFile chooseFile; // empty: the file dialog described by `files`
    std::function<Status(int slot, const std::filesystem::path& file)> exportTo;
    std::function<Result<PendingImport>(const std::filesystem::path& file)> readImport;
    NameTakenQuestion nameTaken;
    // Whether to overwrite the entry in `slot`; empty: the `nameTaken` box, yes for its first
    // choice.
    std::function<bool(int slot, const std::string& nameUtf8)> confirmOverwrite;
};

class DictionaryListDialog : public QDialog {
    Q_OBJECT
public:
    // The slot of the selected entry, or -1.
    int selectedSlot() const { return m_list->selectedSlot(); }
    // Selects the entry of `slot`, as a click on it would.
    void selectSlot(int slot) { m_list->selectSlot(slot); }
    bool editing() const { return m_editing; }

    // "Удалить": asks when the dictionary asks, deletes and refills.
    void remove();
    // "Экспорт" of the selected entry and "Импорт" of a file, when the dictionary has them.
    void exportSelected();
    void importFile();

protected:
    // What a registered button needs selected to be enabled.
    enum class Needs { Nothing, Entry, OwnEntry };
    struct Question {
        std::string caption;
        std::string text;
    };

    DictionaryListDialog(const WorkFolder& folder, MessageSink& sink, QWidget* parent);
    ~DictionaryListDialog() override;

    // ---- the dictionary's parts ----

    // The entries to list. An error is reported and the list shown empty.
    virtual Result<std::vector<SlotEntry>> readEntries() = 0;
    // Shows what the selected entry (-1 for none) stands for: fields, sizes, a preview. Called
    // on every change of the selection and after every refill, except while editing.
    virtual void showSelection(int slot);
    // Entries the user may change, export and delete: all but the built-in entry of slot 0.
    virtual bool isOwnEntry(int slot) const { return slot > 0; }
    virtual bool canDelete(int slot) const { return isOwnEntry(slot); }
    // The Yes/No question asked before deleting; without one the entry goes at once.
    virtual std::optional<Question> deleteQuestion(int slot) const;
    // False keeps the entry. By default deleteQuestion, asked through the message sink; a
    // dictionary with a box of its own replaces this.
    virtual bool confirmDelete(int slot);
    virtual Status deleteEntry(int slot) = 0;
    // The slot to select after a deletion; -1 selects the fallback or the first entry.
    virtual int slotAfterDelete() const { return -1; }

    // ---- for the dictionaries ----

    const WorkFolder& folder() const { return m_folder; }
    MessageSink& sink() const { return m_sink; }
    SlotList* list() const { return m_list; }
    // Reads the entries again and selects `slot` (else the fallback, else the first entry).
    void refill(int slot);
    // Runs `act` on a click. The button is enabled when `needs` is met and, unless it is kept,
    // not while editing. Returns the button for the layout.
    QPushButton* addButton(QPushButton* button, Needs needs, std::function<void()> act,
                           bool keptWhileEditing = false);
    // Editing in place: the list and the registered buttons that are not kept are disabled.
    void setEditing(bool on);
    void updateButtons();
    void setExchange(ExchangeHooks hooks);
    // A refusal about a picked file, shown with the error icon.
    void showFileError(const Error& error);

private:
    struct Registered {
        QPushButton* button;
        Needs needs;
        bool kept;
    };
    void selectionChanged();
    std::optional<std::filesystem::path> chooseFile(bool save);

    const WorkFolder& m_folder;
    MessageSink& m_sink;
    SlotList* m_list;
    std::vector<Registered> m_buttons;
    std::optional<ExchangeHooks> m_exchange;
    bool m_editing = false;
};

} // namespace orvo::platform::ui
