// The shared dialog of groundwater horizon types ("Подземные воды") and sample types ("Отборы
// проб"): each type a name and a library symbol.
#pragma once
#include "dict/mark_type.h"
#include "platform/message_sink.h"
#include "platform/ui/dictionary_list_dialog.h"
#include "platform/work_folder.h"

#include <functional>

class QLineEdit;
class QPushButton;

namespace orvo::dict::ui {

// Picks a symbol for a mark type: the chosen index or -1. Defaults to PickSymbol.
using SymbolPicker = std::function<int(int current)>;

void EditGroundwaterTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                          QWidget* parent = nullptr);
void EditSampleTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                     QWidget* parent = nullptr);

class MarkTypesDialog : public platform::ui::DictionaryListDialog {
    Q_OBJECT
public:
    // An empty picker opens the symbol library.
    MarkTypesDialog(const platform::WorkFolder& folder, platform::MessageSink& sink, MarkList which,
                    SymbolPicker picker = {}, QWidget* parent = nullptr);

    const MarkTypeRecord& workingRecord() const { return m_work; }

    void startNew();
    void startRename();
    void save();
    void cancelEdit();
    void changeSymbol();

protected:
    Result<std::vector<platform::ui::SlotEntry>> readEntries() override;
    // Reads the selected type into the working record.
    void showSelection(int slot) override;
    std::optional<Question> deleteQuestion(int slot) const override;
    Status deleteEntry(int slot) override;

private:
    static constexpr int kNewType = -1;

    // Editing `slot` (kNewType for a new type), or back to browsing with nothing.
    void edit(std::optional<int> slot);

    MarkList m_which;
    SymbolPicker m_picker;
    MarkTypeRecord m_work;
    int m_editSlot = kNewType;

    QLineEdit* m_name;
    QPushButton* m_save;
    QPushButton* m_cancel;
    QWidget* m_symbolView;
};

} // namespace orvo::dict::ui
