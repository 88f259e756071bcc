// Editors of the scale, sheet format and surname lists. Each works on a copy and writes its
// file only on "Сохранить".
#pragma once
#include "platform/message_sink.h"
#include "platform/ui/dictionary_list_dialog.h"
#include "platform/work_folder.h"
#include "section/settings_lists.h"

#include <memory>

class QLineEdit;

namespace orvo::section::ui {

// Each list selects by position in its own sorted model: the slots are the model's rows.
class ScaleListDialog : public platform::ui::DictionaryListDialog {
    Q_OBJECT
public:
    ScaleListDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                    QWidget* parent = nullptr);

protected:
    Result<std::vector<platform::ui::SlotEntry>> readEntries() override;
    void showSelection(int row) override;
    // "Удалить >" keeps the last entry.
    bool canDelete(int row) const override;
    Status deleteEntry(int row) override;
    int slotAfterDelete() const override { return m_model.selected(); }

private:
    void onAdd();
    void onSave();

    ScaleListModel m_model;
    QLineEdit* m_new;
};

class SheetFormatDialog : public platform::ui::DictionaryListDialog {
    Q_OBJECT
public:
    // Nothing when ListForm.sps cannot be read; the error is then in `error`.
    static std::unique_ptr<SheetFormatDialog> create(const platform::WorkFolder& folder,
                                                     platform::MessageSink& sink, Error& error,
                                                     QWidget* parent = nullptr);

protected:
    void reject() override;
    Result<std::vector<platform::ui::SlotEntry>> readEntries() override;
    void showSelection(int scratchIndex) override;
    // The editor itself keeps the last entry.
    bool canDelete(int) const override { return true; }
    Status deleteEntry(int scratchIndex) override;
    int slotAfterDelete() const override { return m_editor.selected(); }

private:
    SheetFormatDialog(const platform::WorkFolder& folder, SheetFormatEditor editor,
                      platform::MessageSink& sink, QWidget* parent);
    void onAdd();
    void onReplace();
    void onSave();

    SheetFormatEditor m_editor;
    QLineEdit* m_description;
    QLineEdit* m_height;
    QLineEdit* m_width;
};

class SurnameListDialog : public platform::ui::DictionaryListDialog {
    Q_OBJECT
public:
    SurnameListDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                      QWidget* parent = nullptr);

protected:
    Result<std::vector<platform::ui::SlotEntry>> readEntries() override;
    void showSelection(int row) override;
    // "Удалить из списка" keeps the last name.
    bool canDelete(int row) const override;
    Status deleteEntry(int row) override;
    int slotAfterDelete() const override { return m_model.selected(); }

private:
    void onAdd();
    void onReplace();
    void onSave();

    SurnameListModel m_model;
    QLineEdit* m_new;
};

} // namespace orvo::section::ui
