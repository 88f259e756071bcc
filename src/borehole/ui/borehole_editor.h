// The borehole editor "Выработка: " with its header fields, the three tables in one grid, the
// row buttons, the clipboard and the validation report.
#pragma once
#include "borehole/borehole_tables.h"
#include "platform/message_sink.h"
#include "platform/work_folder.h"
#include "store/project_store.h"

#include <QDialog>
#include <QFont>
#include <QLineEdit>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace orvo::borehole::ui {

// What the editor opens beyond itself; tests replace these.
struct BoreholeEditorHooks {
    // The dictionary dialogs behind the "..." button and the row buttons.
    std::function<void()> editBoreholeTypes;
    std::function<void()> editConsistencyTypes;
    std::function<void()> editWaterTypes;
    std::function<void()> editSampleTypes;
    // "Просмотр и печать" after a successful check (the data sheet, when it exists).
    std::function<void(const BoreholeEditData&)> viewDataSheet;
};

// A dictionary record offered for choice: its index and its name.
struct TypeName {
    int index = 0;
    QString name;
};

// A line edit that remembers what the program last put into it, so that a field the user did
// not touch is never parsed back (a float shown with two decimals would otherwise drift).
class FieldEdit : public QLineEdit {
public:
    explicit FieldEdit(const char* objectName, QWidget* parent);
    void showText(const QString& text);
    bool edited() const { return text() != m_shown; }

private:
    QString m_shown;
};

// The current table: every row drawn as text except the current one, which is edited through
// two line edits and a combo placed over it.
class BoreholeGrid : public QWidget {
public:
    static constexpr int kVisibleRows = 10;
    enum class Cell { Number, Text, Depth, Type };

    explicit BoreholeGrid(QWidget* parent);
    ~BoreholeGrid() override;

    // `types` are the in-use records (index > 0) of the table's dictionary.
    void setTable(EditTable* table, TableKind kind, std::vector<TypeName> types);
    void setTypes(std::vector<TypeName> types);
    // Stores what was typed into the current row's edits.
    void commit();
    // Shows the table again after it changed outside the grid.
    void refresh();
    // Makes `row` current (clamped by the table) after storing the current row's edits.
    void moveTo(int row);

    int columnCount() const { return static_cast<int>(columns().size()); }
    Cell cellAt(int column) const { return columns()[static_cast<std::size_t>(column)]; }
    QString headingText(int column) const;
    // What the grid draws in a cell (also for the current row).
    QString cellText(int row, int column) const;
    QRect cellRect(int row, int column) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const std::vector<Cell>& columns() const;
    int columnX(int column) const;
    static int columnWidth(Cell cell);
    int headerHeight() const;
    QString typeName(std::int16_t type) const;
    QString depthText(int row) const;
    bool moveKey(int key);
    void loadEditors();
    void placeEditors();
    QWidget* editorFor(Cell cell) const;

    EditTable* m_table = nullptr;
    TableKind m_kind = TableKind::Ige;
    std::vector<TypeName> m_types;
    QFont m_font;
    int m_rowHeight = 0;
    bool m_loading = false;
    FieldEdit* m_text;
    FieldEdit* m_depth;
    QComboBox* m_type;
    QScrollBar* m_scroll;
};

class BoreholeEditor : public QDialog {
    Q_OBJECT
public:
    // Edits `data` of borehole `number` in `object`. exec() returns Accepted after "Сохранить"
    // passed the name check and the validation; the caller then writes the file.
    BoreholeEditor(const store::ProjectStore& store, std::int32_t object, std::int32_t number,
                   BoreholeEditData& editData, BoreholeClipboard& clipboard,
                   platform::MessageSink& sink, BoreholeEditorHooks hooks = {},
                   QWidget* parent = nullptr);
    ~BoreholeEditor() override;

    TableKind currentTable() const { return m_kind; }
    BoreholeGrid* grid() const { return m_grid; }

private:
    QWidget* buildHeader();
    QWidget* buildTables();
    QWidget* buildActions();
    void showHeader();
    void readHeader();
    void refillBoreholeTypes();
    void refillTableTypes(TableKind kind);
    void chooseTable(TableKind kind);
    void editTableTypes();
    // Sorts all tables and shows them again; the first step of view, copy and save.
    void sortAll();
    // Checks the sorted data; on failure writes Data.err and shows the report.
    bool validate();
    void onView();
    void onCopy();
    void onPaste();
    void onSave();

    const store::ProjectStore& m_store;
    std::int32_t m_object;
    std::int32_t m_number;
    BoreholeEditData& m_data;
    BoreholeClipboard& m_clipboard;
    platform::MessageSink& m_sink;
    BoreholeEditorHooks m_hooks;
    TableKind m_kind = TableKind::Ige;
    std::array<std::vector<TypeName>, 3> m_tableTypes;

    FieldEdit* m_name;
    FieldEdit* m_x;
    FieldEdit* m_y;
    FieldEdit* m_elevation;
    FieldEdit* m_depth;
    QComboBox* m_type;
    std::array<QRadioButton*, 3> m_tables{};
    BoreholeGrid* m_grid;
    QPushButton* m_fromClipboard;
};

// The report dialog "Анализ ошибок в данных" for the lines of Data.err.
void ShowValidationReport(const store::FixedText<10>& name, const std::vector<std::string>& lines,
                          QWidget* parent);

} // namespace orvo::borehole::ui
