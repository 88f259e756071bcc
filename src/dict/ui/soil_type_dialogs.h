// Dialogs of the soil-element dictionaries: "Показатель текучести, влажность" (consistency
// types) and the shared dialog of groundwater horizon types ("Подземные воды") and sample
// types ("Отборы проб").
#pragma once
#include "dict/consistency_type.h"
#include "dict/mark_type.h"
#include "platform/message_sink.h"
#include "platform/work_folder.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <optional>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace orvo::dict::ui {

// Picks a symbol for a mark type: the chosen index or -1. Defaults to PickSymbol.
using SymbolPicker = std::function<int(int current)>;

void EditConsistencyTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                          QWidget* parent = nullptr);
void EditGroundwaterTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                          QWidget* parent = nullptr);
void EditSampleTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                     QWidget* parent = nullptr);

// What the consistency dialog asks the desktop for; tests replace it.
struct ConsistencyDialogHooks {
    // A file to export to (save = true) or import from; nothing when cancelled.
    std::function<std::optional<std::filesystem::path>(bool save)> chooseFile;
};

class ConsistencyTypesDialog : public QDialog {
    Q_OBJECT
public:
    ConsistencyTypesDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                           ConsistencyDialogHooks hooks = {}, QWidget* parent = nullptr);
    ~ConsistencyTypesDialog() override;

    // Slot of the selected type, or -1.
    int selectedSlot() const;
    void selectSlot(int slot);
    bool editing() const { return m_editing; }
    // What the preview shows: the edited table, or the selected type's elements.
    std::vector<ConsistencyElement> shownElements() const;
    int shownSelection() const { return m_editing ? m_edit.selected() : -1; }

    void startEdit(bool newType);
    void save();
    void cancelEdit();
    void remove();
    void exportSelected();
    void importFile();

private:
    QWidget* buildEditPanel();
    QWidget* buildPreview();
    void refill(int slot);
    void loadSelected();
    void setEditing(bool on);
    void fillElementList();
    void showElement();
    void takeFields();
    void changed();
    void updateButtons();
    bool confirmOverwrite(const QString& name);

    const platform::WorkFolder& m_folder;
    platform::MessageSink& m_sink;
    ConsistencyDialogHooks m_hooks;
    bool m_editing = false;
    bool m_loading = false;
    int m_editSlot = -1; // -1 for a new type
    std::vector<ConsistencyElement> m_loaded;
    ConsistencyEdit m_edit;
    int m_columnWidth = 1000;
    int m_zoom = 1;

    QListWidget* m_list;
    std::vector<QPushButton*> m_listButtons;
    QPushButton* m_editButton;
    QPushButton* m_deleteButton;
    QPushButton* m_exportButton;
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

class MarkTypesDialog : public QDialog {
    Q_OBJECT
public:
    // An empty picker opens the symbol library.
    MarkTypesDialog(const platform::WorkFolder& folder, platform::MessageSink& sink, MarkList which,
                    SymbolPicker picker = {}, QWidget* parent = nullptr);

    int selectedSlot() const;
    void selectSlot(int slot);
    bool editing() const { return m_editSlot != kNotEditing; }
    const MarkTypeRecord& workingRecord() const { return m_work; }

    void startNew();
    void startRename();
    void save();
    void cancelEdit();
    void remove();
    void changeSymbol();

private:
    static constexpr int kNotEditing = -2;
    static constexpr int kNewType = -1;

    void refill(int slot);
    void readSelected();
    void setEditing(int slot);
    void updateButtons();

    const platform::WorkFolder& m_folder;
    platform::MessageSink& m_sink;
    MarkList m_which;
    SymbolPicker m_picker;
    MarkTypeRecord m_work;
    int m_editSlot = kNotEditing;

    QListWidget* m_list;
    QPushButton* m_new;
    QPushButton* m_rename;
    QPushButton* m_delete;
    QPushButton* m_symbol;
    QPushButton* m_exit;
    QLineEdit* m_name;
    QPushButton* m_save;
    QPushButton* m_cancel;
    QWidget* m_symbolView;
};

} // namespace orvo::dict::ui
