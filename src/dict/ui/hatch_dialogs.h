// "Список видов штриховки" with its preview, the element editor "Редактирование вида
// штриховки", the name box "Импорт вида штриховки" and the test print.
#pragma once
#include "dict/hatch.h"
#include "platform/message_sink.h"
#include "platform/ui/dictionary_list_dialog.h"
#include "platform/work_folder.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPaintDevice;
class QPrinter;
class QPushButton;
class QRadioButton;
class QWidget;

namespace orvo::dict::ui {

void EditHatchTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                    QWidget* parent = nullptr);

// What the hatch dialogs ask the desktop for; tests replace these.
struct HatchDialogHooks {
    platform::ui::ChooseFile chooseFile;
    // Sets the printer up (the system print dialog by default); false when cancelled.
    std::function<bool(QPrinter&)> choosePrinter;
};

// A frame that fills itself with a hatch at its own resolution, shrunk by 2 pixels each side.
class HatchView : public QWidget {
public:
    explicit HatchView(QWidget* parent);
    void setHatch(HatchPattern pattern, HatchSymbolShapes symbols, int highlightKind = -1,
                  int highlightIndex = -1);

protected:
    void paintEvent(class QPaintEvent*) override;

private:
    HatchPattern m_pattern;
    HatchSymbolShapes m_symbols;
    int m_highlightKind = -1;
    int m_highlightIndex = -1;
};

class HatchTypesDialog : public platform::ui::DictionaryListDialog {
    Q_OBJECT
public:
    HatchTypesDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                     HatchDialogHooks hooks = {}, QWidget* parent = nullptr);

    void create();
    void edit();
    void exportHatch();
    void importHatch();
    void print();
    const HatchPattern& shownPattern() const { return m_shown; }

protected:
    Result<std::vector<platform::ui::SlotEntry>> readEntries() override;
    void showSelection(int slot) override;
    // What "Удалить" needs: a hatch, and another one that stays.
    bool isOwnEntry(int slot) const override;
    std::optional<Question> deleteQuestion(int slot) const override;
    Status deleteEntry(int slot) override;

private:
    void runEditor(int slot);
    std::optional<std::filesystem::path> pickFile(bool save);

    HatchDialogHooks m_hooks;
    HatchPattern m_shown;
    HatchView* m_preview;
    int m_count = 0;
};

class HatchEditorDialog : public QDialog {
    Q_OBJECT
public:
    // `slot` -1 edits a new hatch.
    HatchEditorDialog(const platform::WorkFolder& folder, platform::MessageSink& sink, int slot,
                      QWidget* parent = nullptr);
    ~HatchEditorDialog() override;

    const HatchEdit& model() const { return m_edit; }
    int savedSlot() const { return m_edit.slot(); }
    void setKind(HatchKind kind);
    void save();

private:
    QWidget* buildFields();
    void fillElements();
    void showElement();
    void takeField(int field);
    void redraw();

    const platform::WorkFolder& m_folder;
    platform::MessageSink& m_sink;
    HatchEdit m_edit;
    bool m_loading = false;
    int m_typedField = -1; // typed into and not yet left

    QLineEdit* m_name;
    QButtonGroup* m_kinds;
    QLabel* m_elementsLabel;
    QListWidget* m_elements;
    QPushButton* m_remove;
    std::vector<QWidget*> m_groups;                // one per kind
    std::vector<std::vector<QLineEdit*>> m_fields; // per kind, in HatchEdit's field order
    QComboBox* m_symbol;
    QWidget* m_symbolView;
    HatchView* m_preview;
};

// "Импорт вида штриховки": cancel, overwrite, or a new name.
class HatchImportDialog : public QDialog {
    Q_OBJECT
public:
    HatchImportDialog(const std::string& nameUtf8, QWidget* parent = nullptr);
    HatchImportAnswer answer() const;

private:
    QButtonGroup* m_choices;
    QLineEdit* m_newName;
};

// The test-print page on a printer (or any paint device): drawn at its horizontal resolution,
// the height stretched by the ratio of its resolutions so the sample stays true to size.
void paintHatchSample(QPaintDevice& device, const HatchPattern& pattern,
                      const HatchSymbolShapes& symbols);

} // namespace orvo::dict::ui
