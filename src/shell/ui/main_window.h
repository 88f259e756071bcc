// The main window: menu, toolbar and the library tree; every command starts from here.
#pragma once
#include "borehole/borehole_tables.h"
#include "borehole/ui/borehole_editor.h"
#include "dict/ui/title_block_dialogs.h"
#include "platform/message_sink.h"
#include "platform/work_folder.h"
#include "section/section_record.h"
#include "section/ui/section_dialog.h"
#include "shell/library_tree.h"
#include "shell/object_lifecycle.h"
#include "shell/session.h"
#include "shell/tree_view_file.h"
#include "store/project_store.h"

#include <QMainWindow>

#include <functional>
#include <map>

class QAction;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace orvo::shell::ui {

// What the window works with; owned by the caller and living longer than the window.
struct ShellContext {
    platform::WorkFolder& folder;
    store::ProjectStore& store;
    platform::MessageSink& sink;
    Session& session;
    store::SectionDefaults& defaults;
    std::function<std::int64_t()> clock;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(ShellContext ctx, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Builds the library tree; false after a fatal error (already shown), when the program
    // must end.
    bool buildTree();

    // The selected node's record, as read back from TREEVIEW.TMP.
    const TreeNodeRecord& currentNode() const { return m_current; }
    QAction* action(int id) const;
    QTreeWidget* tree() const { return m_tree; }
    QToolBar* toolBar() const { return m_toolbar; }

    // Runs a menu or toolbar command on the current node.
    void runCommand(int id);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // No menu for hiding the toolbar: a right click on the toolbar or the menu bar does nothing.
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void createActions();
    void createMenu();
    void createToolbar();
    void onSelectionChanged();
    void applyEnabling(NodeKind kind);
    void notAvailable();
    void showAbout();
    void newBorehole();
    void editBorehole();
    void newSection();
    void editSection();
    // Runs the section dialog until it is cancelled or the section saved; the saved number.
    std::int32_t runSectionDialog(std::int32_t object, section::Section& s, bool isNew);
    // The section dialog's drawing buttons: viewer, sheet editor, printing, export.
    section::ui::SectionDialog::DrawingCommands drawingCommands(std::int32_t object,
                                                                QWidget* parent);
    // "Просмотр..." and "Печать..." of the menu on the selected stored section.
    void viewOrPrintStoredSection(bool print);
    void newObject();
    void editObjectTitle();
    void moveObject(bool toArchive);
    void moveToArchive() { moveObject(true); }
    void moveFromArchive() { moveObject(false); }
    void deleteObject() {
        removeIfDeleted(AskDeleteObject(m_ctx.store, m_ctx.sink, m_current.object));
    }
    // "Данные..." on the selected node.
    void editCurrentNode();
    NodeKind currentKind() const { return static_cast<NodeKind>(m_current.kind); }
    // The command table: one handler per command id; ids without one are "not available".
    void addCommandHandlers();
    void addDictionaryHandlers();
    // Shows an error of a question-and-delete command, or removes the node it deleted.
    void removeIfDeleted(const Result<Deletion>& outcome);
    void deleteBorehole();
    // Inserts an object's node, or the nodes of a subtree in their record order, below `parent`.
    QTreeWidgetItem* appendSubtree(QTreeWidgetItem* parent, const LibraryTree& subtree);
    void selectFolder(NodeKind folder);
    // Removes the selected node with its children and selects its parent.
    void removeCurrentItem();
    borehole::ui::BoreholeEditorHooks boreholeHooks();
    QTreeWidgetItem* findItem(NodeKind kind, std::int32_t object, std::int32_t borehole = 0);
    // Inserts a node made after start-up, its record appended to TREEVIEW.TMP, where the
    // start-up tree would put it: sections last, borehole lists first, the others sorted.
    QTreeWidgetItem* appendNode(QTreeWidgetItem* parent, const TreeNodeRecord& rec,
                                const std::string& label);
    static int nodeOf(const QTreeWidgetItem* item);
    // The shown label and the tree's, which places later siblings.
    void setLabel(QTreeWidgetItem* item, const std::string& label);
    void deleteItem(QTreeWidgetItem* item);
    // Shows the error; a fatal one ends the program as a shutdown does.
    void endWith(const Error& error);
    // After a fatal error: closes the open dialogs, then the window.
    void beginFatalEnd();
    void closeAfterFatal();
    QTreeWidgetItem* addItems(const LibraryTree& tree, int node, QTreeWidgetItem* parent);
    bool readRecord(int index, TreeNodeRecord& out);

    ShellContext m_ctx;
    QTreeWidget* m_tree = nullptr;
    QToolBar* m_toolbar = nullptr;
    std::map<int, QAction*> m_actions;
    std::map<int, std::function<void()>> m_handlers;
    LibraryTree m_library; // the nodes as shown, indexed like TREEVIEW.TMP
    TreeViewFile m_treeFile;
    TreeNodeRecord m_current;
    bool m_ended = false;
    bool m_fatalEnd = false;
    dict::ui::TitleBlockPrintMargins m_printMargins; // remembered while the program runs
    borehole::BoreholeClipboard m_clipboard;         // the editor's, for the whole run

public:
    // True once a fatal error closed the window.
    bool endedByFatalError() const { return m_fatalEnd; }
};

} // namespace orvo::shell::ui
