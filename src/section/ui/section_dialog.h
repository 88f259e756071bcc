// The section dialog ("Новый разрез" / "Разрез: ...") and the dialog "Параметры разрезов".
#pragma once
#include "dict/ui/title_block_dialogs.h"
#include "platform/message_sink.h"
#include "section/section_record.h"
#include "section/section_rules.h"
#include "section/settings_lists.h"
#include "store/project_store.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace orvo::section::ui {

// The question "Внимание" asked on "Отмена" while working copies exist: true for "Выйти без
// сохранения", false for "Продолжить редактирование".
bool AskLeaveWithoutSaving(QWidget* parent);

// The section dialog on `section` of `object`. exec() returns Accepted after "Сохранить": the
// dialog has put its values into `section` (header and boreholes) but written nothing; the
// caller numbers, writes the file and moves the working copies. On "Отмена" the working-copy
// question comes first and the dialog deletes the working copies when the user leaves without
// saving.
class SectionDialog : public QDialog {
    Q_OBJECT
public:
    SectionDialog(const store::ProjectStore& store, std::int32_t object, Section& section,
                  bool isNew, platform::MessageSink& sink,
                  dict::ui::TitleBlockPrintMargins& margins, QWidget* parent = nullptr);

    // Replaces the "Внимание" question (tests, or a caller with its own box).
    void setLeaveQuestion(std::function<bool()> ask) { m_askLeave = std::move(ask); }
    // The connection editor, which lies in a layer beside this one: the main window hands it
    // over. Called with the current borehole list and the stored section number (none for a
    // new section); without it "Соединение ИГЭ..." says the function is not available.
    using ConnectionEditor =
        std::function<void(const std::vector<std::int32_t>&, std::optional<std::int32_t>)>;
    void setConnectionEditor(ConnectionEditor edit) { m_editConnections = std::move(edit); }
    // The drawing commands, which lie in layers above this one, handed over the same way. Each
    // gets the dialog's current values (not saved yet) and the stored section number (none for
    // a new section); a command left empty says the function is not available.
    using SectionCommand = std::function<void(const Section&, std::optional<std::int32_t>)>;
    struct DrawingCommands {
        SectionCommand editDrawing;
        SectionCommand view;
        SectionCommand print;
        SectionCommand exportDrawing;
        SectionCommand openDrawing; // the icon button beside "Экспорт чертежа..."
    };
    void setDrawingCommands(DrawingCommands commands) { m_drawing = std::move(commands); }
    // The values on screen as "Сохранить" would store them.
    Section currentValues();
    // True when ListForm.sps could not be read: the fatal message has been shown and the caller
    // is to end the program.
    bool hadFatalError() const { return m_fatal; }

    void reject() override;

private:
    void buildControls();
    QLayout* buildHeader();
    QLayout* buildBoreholeLists();
    void connectBoreholeLists();
    QWidget* buildSignatures();
    QWidget* buildStamps();
    QLayout* buildCommands();
    void fillScales();
    void fillSheetFormats();
    void fillSurnames();
    void fillStamps();
    void fillObjectBoreholes();
    void showSectionList();
    void updateButtons();
    void onSheetFormatChosen();
    void onSave();
    void notAvailable();
    void onConnectIge();
    void runDrawing(const SectionCommand& command);
    void onDescribeIge();

    const store::ProjectStore& m_store;
    std::int32_t m_object;
    Section& m_section;
    DrawingCommands m_drawing;
    SectionHeader m_header; // the dialog's working values until "Сохранить"
    SectionBoreholeList m_list;
    platform::MessageSink& m_sink;
    dict::ui::TitleBlockPrintMargins& m_margins;
    std::function<bool()> m_askLeave;
    ConnectionEditor m_editConnections;
    bool m_isNew = false;
    bool m_fatal = false;
    std::vector<SheetFormat> m_formats;
    int m_objectBoreholes = 0;

    QLineEdit* m_name = nullptr;
    QComboBox* m_vertical = nullptr;
    QComboBox* m_horizontal = nullptr;
    QComboBox* m_format = nullptr;
    QLineEdit* m_height = nullptr;
    QLineEdit* m_width = nullptr;
    QListWidget* m_sectionList = nullptr;
    QListWidget* m_objectList = nullptr;
    std::vector<QComboBox*> m_signatures;
    QComboBox* m_stampFirst = nullptr;
    QComboBox* m_stampOther = nullptr;
    QPushButton* m_insert = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    std::vector<QPushButton*> m_needBoreholes;
};

// "Параметры разрезов" on a copy of the defaults; "Сохранить" writes DATA\razrez.prm and only
// then hands the values back.
class SectionDefaultsDialog : public QDialog {
    Q_OBJECT
public:
    SectionDefaultsDialog(const store::ProjectStore& store, store::SectionDefaults& defaults,
                          platform::MessageSink& sink, dict::ui::TitleBlockPrintMargins& margins,
                          QWidget* parent = nullptr);

private:
    void fillScales();
    void fillSheetFormats(bool showStoredSizes);
    void fillStamps();
    void fillDrawingForms(int select);
    void onSave();

    const store::ProjectStore& m_store;
    store::SectionDefaults& m_defaults;
    platform::MessageSink& m_sink;
    dict::ui::TitleBlockPrintMargins& m_margins;
    std::vector<SheetFormat> m_formats;

    QComboBox* m_vertical = nullptr;
    QComboBox* m_horizontal = nullptr;
    QComboBox* m_format = nullptr;
    QLineEdit* m_height = nullptr;
    QLineEdit* m_width = nullptr;
    QComboBox* m_stampFirst = nullptr;
    QComboBox* m_stampOther = nullptr;
    QComboBox* m_form = nullptr;
    QPushButton* m_save = nullptr;
};

// "Параметры разрезов": edits `defaults` and writes DATA\razrez.prm on "Сохранить".
void EditSectionDefaults(const store::ProjectStore& store, store::SectionDefaults& defaults,
                         platform::MessageSink& sink, dict::ui::TitleBlockPrintMargins& margins,
                         QWidget* parent = nullptr);

} // namespace orvo::section::ui
