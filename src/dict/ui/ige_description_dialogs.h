// "Список стандартных описаний ИГЭ", and the hatch choice and preview it shares with the
// section's own description dialog.
#pragma once
#include "dict/ige_description.h"
#include "platform/message_sink.h"
#include "platform/ui/dictionary_list_dialog.h"
#include "platform/work_folder.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace orvo::dict::ui {

inline constexpr char kNoHatchEntry[] = "==== Не определенный вид штриховки ==== ";

// The IGE dialogs' hatch list: the no-hatch entry (-1) first, then every used hatch in slot
// order (item data = slot). Selects `hatch`, else the first entry.
void fillIgeHatchCombo(QComboBox* combo, const platform::WorkFolder& folder, int hatch);
// The slot of the chosen entry (-1 for none).
int chosenHatch(const QComboBox* combo);

// A frame's client area filled with one hatch at screen resolution, 2 pixels in from each side.
class HatchPreview : public QWidget {
public:
    HatchPreview(const platform::WorkFolder& folder, std::function<int()> hatch, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const platform::WorkFolder& m_folder;
    std::function<int()> m_hatch;
};

class StandardIgeDialog : public platform::ui::DictionaryListDialog {
    Q_OBJECT
public:
    StandardIgeDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                      QWidget* parent = nullptr);

    // "Новый элемент" (slot -1) and "Изменить атрибуты".
    void startEdit(bool newEntry);
    void save();
    void cancelEdit();

protected:
    Result<std::vector<platform::ui::SlotEntry>> readEntries() override;
    void showSelection(int slot) override;
    bool isOwnEntry(int slot) const override { return slot >= 0; }
    // "Удалить элемент" only while more than one entry is listed.
    bool canDelete(int slot) const override;
    std::optional<Question> deleteQuestion(int slot) const override;
    Status deleteEntry(int slot) override;

private:
    void setFieldsEnabled(bool on);

    int m_editSlot = -1; // -1 for a new entry
    int m_hatch = -1;    // what the preview shows
    QLineEdit* m_number;
    QPlainTextEdit* m_description;
    QComboBox* m_hatches;
    QPushButton* m_save;
    QPushButton* m_cancel;
    QPushButton* m_delete;
    QPushButton* m_exit;
    QWidget* m_preview;
};

// Menu "Список стандартных описаний ИГЭ..." and the section dialog's "Список".
void EditStandardIgeDescriptions(const platform::WorkFolder& folder, platform::MessageSink& sink,
                                 QWidget* parent = nullptr);

} // namespace orvo::dict::ui
