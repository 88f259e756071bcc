// "Показатель текучести, влажность": the consistency types dictionary with its element editor,
// preview, export and import.
#pragma once
#include "dict/consistency_type.h"
#include "platform/message_sink.h"
#include "platform/ui/dictionary_list_dialog.h"
#include "platform/work_folder.h"

#include <filesystem>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace orvo::dict::ui {

void EditConsistencyTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                          QWidget* parent = nullptr);

// What the consistency dialog asks the desktop for; tests replace it.
struct ConsistencyDialogHooks {
    // A file to export to (save = true) or import from; nothing when cancelled.
    platform::ui::ChooseFile chooseFile;
};

class ConsistencyTypesDialog : public platform::ui::DictionaryListDialog {
    Q_OBJECT
public:
    ConsistencyTypesDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                           ConsistencyDialogHooks hooks = {}, QWidget* parent = nullptr);
    ~ConsistencyTypesDialog() override;

    // What the preview shows: the edited table, or the selected type's elements.
    std::vector<ConsistencyElement> shownElements() const;
    int shownSelection() const { return editing() ? m_edit.selected() : -1; }

    void startEdit(bool newType);
    void save();
    void cancelEdit();

protected:
    Result<std::vector<platform::ui::SlotEntry>> readEntries() override;
    // Loads the selected type's elements for the preview.
    void showSelection(int slot) override;
    std::optional<Question> deleteQuestion(int slot) const override;
    Status deleteEntry(int slot) override;

private:
    QWidget* buildEditPanel();
    void connectEditPanel(QPushButton* addElement, QPushButton* save, QPushButton* cancel);
    QWidget* buildPreview();
    platform::ui::ExchangeHooks exchangeHooks(ConsistencyDialogHooks hooks);
    void edit(bool on);
    void fillElementList();
    void showElement();
    void takeFields();

    bool m_loading = false;
    int m_editSlot = -1; // -1 for a new type
    std::vector<ConsistencyElement> m_loaded;
    ConsistencyEdit m_edit;
    int m_columnWidth = 1000;
    int m_zoom = 1;

    QWidget* m_editPanel;
    QLineEdit* m_name;
    QListWidget* m_elements;
    QPushButton* m_deleteElement;
    QButtonGroup* m_kinds;
    QCheckBox* m_repeat;
    QLabel* m_stepLabel;
    QLineEdit* m_step;
    QLabel* m_angleLabel;
    QLineEdit* m_angle;
    QButtonGroup* m_directions;
    QLineEdit* m_lineWidth;
    QLineEdit* m_widthField;
    QWidget* m_preview;
};

} // namespace orvo::dict::ui
