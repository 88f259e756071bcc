// Dialogs of the drawing forms: the form list, the form editor and the rename dialog.
#pragma once
#include "dict/drawing_form.h"
#include "platform/message_sink.h"
#include "platform/ui/dictionary_list_dialog.h"
#include "platform/work_folder.h"

#include <QDialog>
#include <QWidget>

#include <optional>
#include <string>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace orvo::dict::ui {

// "Список оформлений чертежа разреза", opened from the main menu and from the section
// settings; all changes are written as they are made.
class DrawingFormListDialog : public platform::ui::DictionaryListDialog {
    Q_OBJECT
public:
    DrawingFormListDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                          QWidget* parent = nullptr);

    using DictionaryListDialog::list;
    // Index of the selected form, -1 when nothing is selected.
    int selectedIndex() const { return selectedSlot(); }

protected:
    Result<std::vector<platform::ui::SlotEntry>> readEntries() override;
    std::optional<Question> deleteQuestion(int index) const override;
    Status deleteEntry(int index) override;

private:
    void onCreate();
    void onEdit();
    void onRename();
};

// Draws "ORVO - Версия 2.0" in the font of the role being edited.
class FontPreview : public QWidget {
    Q_OBJECT
public:
    explicit FontPreview(QWidget* parent = nullptr);
    void setFontOf(const DrawingForm& form, int role);
    static QString sampleText();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string m_face;
    int m_size = kMinFontSize;
    int m_style = 0;
};

// "Редактирование формы оформления разреза" for a new form (index < 0) or an existing one.
class DrawingFormEditor : public QDialog {
    Q_OBJECT
public:
    DrawingFormEditor(const platform::WorkFolder& folder, platform::MessageSink& sink, int index,
                      QWidget* parent = nullptr);

    // Runs the editor; the index the form was saved under, or nothing when it was not saved
    // (cancelled, or its body could not be read, which has been reported).
    std::optional<int> run();

    const DrawingForm& form() const { return m_form; }
    // The TrueType families offered in "Шрифт :".
    static QStringList offeredFamilies();

private:
    void showLine(int kind);
    void commitThickness();
    void showRole(int role);
    void onFaceChosen(int comboIndex);
    void onSave();
    std::int32_t& lineValue(int kind);

    const platform::WorkFolder& m_folder;
    platform::MessageSink& m_sink;
    int m_index;
    bool m_loaded = true;
    std::optional<int> m_saved;
    DrawingForm m_form;
    int m_line = 0;
    int m_role = 0;
    QLineEdit* m_name;
    QComboBox* m_lineKind;
    QLineEdit* m_thickness;
    QComboBox* m_roleBox;
    QComboBox* m_face;
    QComboBox* m_size;
    QComboBox* m_style;
    FontPreview* m_preview;
};

// "Переименование формы оформления".
class DrawingFormRenameDialog : public QDialog {
    Q_OBJECT
public:
    DrawingFormRenameDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                            int index, const QString& oldName, QWidget* parent = nullptr);

private:
    void onRename();

    const platform::WorkFolder& m_folder;
    platform::MessageSink& m_sink;
    int m_index;
    QLineEdit* m_new;
};

} // namespace orvo::dict::ui
