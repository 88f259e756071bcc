// The symbol library dialog "Библиотека значков" (managing and picking), the symbol editor
// "Редактирование значка" and its help pages.
#pragma once
#include "dict/symbol.h"
#include "platform/message_sink.h"
#include "platform/ui/dictionary_list_dialog.h"
#include "platform/work_folder.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace orvo::dict::ui {

// The library in picking mode, opened on `current`: the chosen symbol index, or -1 when
// cancelled.
int PickSymbol(const platform::WorkFolder& folder, platform::MessageSink& sink, int current,
               QWidget* parent = nullptr);

// The library in managing mode, as the main menu opens it.
void ManageSymbols(const platform::WorkFolder& folder, platform::MessageSink& sink,
                   QWidget* parent = nullptr);

// "Предупреждение" on saving under a name another symbol has.
using AskSaveDuplicate = std::function<DuplicateChoice(const std::string& nameUtf8)>;

// What the library asks the desktop and the user for; tests replace these.
struct SymbolDialogHooks {
    // A file to export to (save = true) or import from; nothing when cancelled.
    platform::ui::ChooseFile chooseFile;
    AskSaveDuplicate askSaveDuplicate;
    // "Импорт значка. Предупреждение": true for "Перезаписать".
    std::function<bool(const std::string& nameUtf8)> askImportOverwrite;
    // Runs the editor on a slot (-1 for a new symbol): the saved slot, or 0.
    std::function<int(int index)> editSymbol;
};

// The two warning dialogs as the user sees them.
DuplicateChoice askSaveDuplicateOnScreen(const std::string& nameUtf8, QWidget* parent);
bool askImportOverwriteOnScreen(const std::string& nameUtf8, QWidget* parent);

// Runs the editor on `index` (-1 for a new symbol) and saves: the saved slot, or 0.
int EditSymbol(const platform::WorkFolder& folder, platform::MessageSink& sink, int index,
               const AskSaveDuplicate& askDuplicate, QWidget* parent = nullptr);

class SymbolPreview;

class SymbolLibraryDialog : public platform::ui::DictionaryListDialog {
    Q_OBJECT
public:
    enum class Mode { Managing, Picking };
    SymbolLibraryDialog(const platform::WorkFolder& folder, platform::MessageSink& sink, Mode mode,
                        int current, SymbolDialogHooks hooks = {}, QWidget* parent = nullptr);

    void create();
    void edit();

protected:
    Result<std::vector<platform::ui::SlotEntry>> readEntries() override;
    void showSelection(int slot) override;
    std::optional<Question> deleteQuestion(int slot) const override;
    Status deleteEntry(int slot) override;

private:
    platform::ui::ExchangeHooks exchangeHooks();

    SymbolDialogHooks m_hooks;
    std::vector<SymbolListRecord> m_records;
    QLabel* m_height;
    QLabel* m_width;
    SymbolPreview* m_preview;
};

class SymbolPicture;

class SymbolEditorDialog : public QDialog {
    Q_OBJECT
public:
    SymbolEditorDialog(SymbolEdit& edit, const platform::WorkFolder& folder,
                       platform::MessageSink& sink, AskSaveDuplicate askDuplicate,
                       QWidget* parent = nullptr);

    // The slot saved into; 0 until a save succeeds.
    int savedSlot() const { return m_saved; }
    std::optional<SymbolElementRef> current() const { return m_current; }
    int currentPoint() const { return m_point; }
    void save();
    void showHelp();

private:
    friend class SymbolPicture;
    void buildLists(QWidget* box);
    QWidget* buildAttributes();
    void chooseType(int type);
    void choose(std::optional<SymbolElementRef> ref);
    void refillElements();
    void refillOrder();
    void showElement();
    void addElement();
    void removeElement();
    void addPoint();
    void removePoint();
    void moveInOrder(int delta);
    // Takes a number field as the text says: when it loses focus.
    void takeField(QLineEdit* field);
    void setKind(bool pen, int kind);
    // The stored value a field shows, or nothing when it is not in use.
    std::int32_t* valueOf(QLineEdit* field);

    SymbolEdit& m_edit;
    const platform::WorkFolder& m_folder;
    platform::MessageSink& m_sink;
    AskSaveDuplicate m_askDuplicate;
    int m_saved = 0;
    int m_type = 0;
    std::optional<SymbolElementRef> m_current;
    int m_point = 0;
    bool m_filling = false;

    QLineEdit* m_name;
    QListWidget* m_types;
    QListWidget* m_elements;
    QListWidget* m_points;
    QListWidget* m_order;
    QPushButton* m_addElement;
    QPushButton* m_removeElement;
    QPushButton* m_addPoint;
    QPushButton* m_removePoint;
    std::array<QLineEdit*, 4> m_x{};
    std::array<QLineEdit*, 4> m_y{};
    QLineEdit* m_penWidth;
    std::array<QToolButton*, 3> m_pen{};
    std::array<QToolButton*, 3> m_brush{};
    QCheckBox* m_realScale;
    QCheckBox* m_transparent;
    SymbolPicture* m_picture;
};

class SymbolSketch;

// "Помощь - Редактирование значков": one page per element type and "Общие указания".
class SymbolHelpDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kGeneralPage = kSymbolTypeCount;
    SymbolHelpDialog(int type, QWidget* parent = nullptr);
    int page() const { return m_page; }
    void turn(int delta);

private:
    void showPage();
    int m_page;
    QLabel* m_title;
    QLabel* m_lines;
    SymbolSketch* m_sketch;
    QPushButton* m_prev;
    QPushButton* m_next;
};

} // namespace orvo::dict::ui
