// Main window: builds the tree from the store, keeps TREEVIEW.TMP, dispatches commands.
#include "shell/ui/main_window.h"

#include "borehole/borehole_record.h"
#include "borehole/ui/borehole_editor.h"
#include "borehole/ui/borehole_types_dialog.h"
#include "dict/ui/consistency_type_dialogs.h"
#include "dict/ui/drawing_form_dialogs.h"
#include "dict/ui/mark_type_dialog.h"
#include "dict/ui/symbol_dialogs.h"
#include "dict/ui/title_block_dialogs.h"
#include "platform/collate.h"
#include "platform/ui/widgets.h"
#include "section/section_record.h"
#include "section/ui/section_dialog.h"
#include "section/ui/settings_list_dialogs.h"
#include "shell/commands.h"
#include "shell/object_lifecycle.h"
#include "shell/ui/about_dialog.h"
#include "shell/ui/icons.h"
#include "shell/ui/object_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QToolBar>
#include <QTreeWidget>

namespace orvo::shell::ui {

using platform::ui::qs;

namespace {

QIcon nodeIcon(NodeKind kind) {
    auto pair = [](int normal, int selected) {
        QIcon icon = treeIcon(normal);
        icon.addPixmap(QPixmap::fromImage(treeImage(selected)), QIcon::Selected);
        return icon;
    };
    switch (kind) {
    case NodeKind::Root:
        return treeIcon(kImgLibrary);
    case NodeKind::WorkingFolder:
        return treeIcon(kImgWorkingFolder);
    case NodeKind::ArchiveFolder:
        return treeIcon(kImgArchiveFolder);
    case NodeKind::WorkingObject:
        return pair(kImgWorkingObject, kImgWorkingObjectSelected);
    case NodeKind::ArchivedObject:
        return treeIcon(kImgArchivedObject);
    case NodeKind::Section:
        return pair(kImgSection, kImgSectionSelected);
    case NodeKind::Borehole:
        return treeIcon(kImgBorehole);
    case NodeKind::BoreholeList:
        return treeIcon(kImgBoreholeList);
    }
    return {};
}

} // namespace

MainWindow::MainWindow(ShellContext ctx, QWidget* parent)
    : QMainWindow(parent), m_ctx(std::move(ctx)) {
    setObjectName(QStringLiteral("ORVO2"));
    setWindowTitle(QStringLiteral("Инженерно-геологические разрезы"));
    setWindowIcon(treeIcon(kImgLibrary));
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("libraryTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    // Buttons, lines between the nodes and lines at the root: the style that draws them.
    if (QStyle* lines = QStyleFactory::create(QStringLiteral("Windows"))) {
        lines->setParent(m_tree);
        m_tree->setStyle(lines);
    }
    m_tree->setIconSize(QSize(20, 20));
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->viewport()->installEventFilter(this);
    setCentralWidget(m_tree);
    createActions();
    createMenu();
    createToolbar();
    addCommandHandlers();
    // A fatal error shown anywhere, however deep in dialogs, ends the program.
    m_ctx.sink.setOnFatal([this] { beginFatalEnd(); });
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &MainWindow::onSelectionChanged);
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        setGeometry(area);
    }
    applyEnabling(NodeKind::Root);
}

MainWindow::~MainWindow() {
    m_ctx.sink.setOnFatal({});
}

void MainWindow::beginFatalEnd() {
    m_fatalEnd = true;
    QMetaObject::invokeMethod(this, &MainWindow::closeAfterFatal, Qt::QueuedConnection);
}

void MainWindow::closeAfterFatal() {
    // One dialog at a time, innermost first: each close returns from its exec() and the next
    // call comes from the loop outside it.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        // done() rather than close(): a dialog's own questions on leaving are not asked.
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
        QMetaObject::invokeMethod(this, &MainWindow::closeAfterFatal, Qt::QueuedConnection);
        return;
    }
    close();
}

void MainWindow::createActions() {
    for (const auto& e : mainMenu()) {
        if (e.kind != MenuEntry::Kind::Command)
            continue;
        auto* a = new QAction(qs(e.text), this);
        a->setData(e.id);
        connect(a, &QAction::triggered, this, [this, id = e.id] { runCommand(id); });
        m_actions[e.id] = a;
    }
    for (const auto& t : toolbar())
        if (t.id != 0)
            m_actions.at(t.id)->setIcon(toolbarIcon(t.image));
}

void MainWindow::createMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MAIN_MENU"));
    QMenu* popup = nullptr;
    QMenu* target = nullptr;
    for (const auto& e : mainMenu()) {
        switch (e.kind) {
        case MenuEntry::Kind::Popup:
            popup = bar->addMenu(qs(e.text));
            target = popup;
            break;
        case MenuEntry::Kind::Submenu:
            target = popup->addMenu(qs(e.text));
            break;
        case MenuEntry::Kind::EndSubmenu:
            target = popup;
            break;
        case MenuEntry::Kind::Separator:
            target->addSeparator();
            break;
        case MenuEntry::Kind::Command:
            target->addAction(m_actions.at(e.id));
            break;
        }
    }
}

void MainWindow::createToolbar() {
    m_toolbar = addToolBar(QStringLiteral("toolbar"));
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    m_toolbar->setIconSize(QSize(16, 16));
    m_toolbar->setMovable(false);
    for (const auto& t : toolbar()) {
        if (t.id == 0) {
            m_toolbar->addSeparator();
            continue;
        }
        QAction* a = m_actions.at(t.id);
        QString tip = a->text();
        tip.remove(QChar('&'));
        a->setToolTip(tip);
        m_toolbar->addAction(a);
    }
}

QAction* MainWindow::action(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

bool MainWindow::buildTree() {
    auto tree = BuildLibraryTree(m_ctx.store);
    if (!tree) {
        m_ctx.sink.report(tree.error());
        return false;
    }
    // Rebuilt at every start and kept open for the whole run.
    if (auto st = m_treeFile.create(m_ctx.folder, *tree); !st) {
        m_ctx.sink.report(st.error());
        return false;
    }
    m_library = std::move(*tree);
    m_tree->clear();
    QTreeWidgetItem* root = addItems(m_library, 0, nullptr);
    root->setExpanded(true);
    for (int i = 0; i < root->childCount(); ++i)
        root->child(i)->setExpanded(true);
    m_current = {};
    applyEnabling(NodeKind::Root);
    return true;
}

QTreeWidgetItem* MainWindow::addItems(const LibraryTree& tree, int node, QTreeWidgetItem* parent) {
    const TreeNode& n = tree.node(node);
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
    item->setText(0, QString::fromStdString(n.label));
    item->setIcon(0, nodeIcon(static_cast<NodeKind>(n.record.kind)));
    item->setData(0, Qt::UserRole, node);
    for (int child : n.children)
        addItems(tree, child, item);
    return item;
}

bool MainWindow::readRecord(int index, TreeNodeRecord& out) {
    auto rec = m_treeFile.read(index);
    if (!rec)
        return false;
    out = *rec;
    return true;
}

int MainWindow::nodeOf(const QTreeWidgetItem* item) {
    return item->data(0, Qt::UserRole).toInt();
}

void MainWindow::setLabel(QTreeWidgetItem* item, const std::string& label) {
    item->setText(0, QString::fromStdString(label));
    m_library.relabel(nodeOf(item), label);
}

void MainWindow::deleteItem(QTreeWidgetItem* item) {
    m_library.detach(nodeOf(item));
    delete item;
}

void MainWindow::onSelectionChanged() {
    const auto items = m_tree->selectedItems();
    if (items.isEmpty())
        return;
    TreeNodeRecord rec;
    if (!readRecord(items.front()->data(0, Qt::UserRole).toInt(), rec))
        return;
    m_current = rec;
    applyEnabling(static_cast<NodeKind>(rec.kind));
}

void MainWindow::applyEnabling(NodeKind kind) {
    for (int id : selectionCommands())
        m_actions.at(id)->setEnabled(commandEnabled(kind, id));
}

void MainWindow::notAvailable() {
    m_ctx.sink.show(std::string(kNotAvailableCaption), std::string(kNotAvailableText),
                    platform::Icon::Information);
}

QTreeWidgetItem* MainWindow::findItem(NodeKind kind, std::int32_t object, std::int32_t borehole) {
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        TreeNodeRecord rec;
        if (!readRecord((*it)->data(0, Qt::UserRole).toInt(), rec))
            continue;
        if (rec.kind == static_cast<std::int16_t>(kind) && rec.object == object &&
            (kind != NodeKind::Borehole || rec.borehole == borehole))
            return *it;
    }
    return nullptr;
}

QTreeWidgetItem* MainWindow::appendNode(QTreeWidgetItem* parent, const TreeNodeRecord& rec,
                                        const std::string& label) {
    // Nodes made after start-up get the next records of TREEVIEW.TMP, and their place among
    // their siblings by the same rule as at start-up.
    if (auto st = m_treeFile.append(rec); !st) {
        m_ctx.sink.report(st.error());
        return nullptr;
    }
    const auto kind = static_cast<NodeKind>(rec.kind);
    const int node = m_library.insert(nodeOf(parent), rec, label, placeOf(kind));
    auto* item = new QTreeWidgetItem;
    item->setText(0, QString::fromStdString(label));
    item->setIcon(0, nodeIcon(kind));
    item->setData(0, Qt::UserRole, node);
    parent->insertChild(m_library.childPosition(node), item);
    return item;
}

QTreeWidgetItem* MainWindow::appendSubtree(QTreeWidgetItem* parent, const LibraryTree& subtree) {
    std::vector<QTreeWidgetItem*> items(subtree.nodes().size(), nullptr);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TreeNode& n = subtree.nodes()[i];
        QTreeWidgetItem* under = n.parent < 0 ? parent : items[static_cast<std::size_t>(n.parent)];
        if (under)
            items[i] = appendNode(under, n.record, n.label);
    }
    return items.empty() ? nullptr : items.front();
}

void MainWindow::selectFolder(NodeKind folder) {
    if (QTreeWidgetItem* item = findItem(folder, 0))
        m_tree->setCurrentItem(item);
}

void MainWindow::removeCurrentItem() {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (!item)
        return;
    QTreeWidgetItem* parent = item->parent();
    // The parent is selected first, so no command ever sees the removed node as current.
    if (parent)
        m_tree->setCurrentItem(parent);
    deleteItem(item);
}

void MainWindow::newObject() {
    ObjectTitleDialog dialog(ObjectTitleDialog::Mode::Create, {}, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ObjectTitleForm form = dialog.form();
    auto number = CreateNewObject(m_ctx.store, m_ctx.session.status(), form);
    if (!number) {
        endWith(number.error());
        return;
    }
    store::ObjectTitle stored; // the label as the tree shows it after a restart
    applyTitleForm(form, stored);
    LibraryTree nodes;
    const int objectNode =
        nodes.insert(-1, {static_cast<std::int16_t>(NodeKind::WorkingObject), *number, 0, 0},
                     stored.shortName.utf8(), InsertAt::Last);
    nodes.insert(objectNode, {static_cast<std::int16_t>(NodeKind::BoreholeList), *number, 0, 0},
                 kBoreholeListLabel, InsertAt::First);
    QTreeWidgetItem* working = findItem(NodeKind::WorkingFolder, 0);
    if (!working)
        return;
    if (QTreeWidgetItem* item = appendSubtree(working, nodes)) {
        working->setExpanded(true);
        m_tree->setCurrentItem(item);
    }
}

void MainWindow::editObjectTitle() {
    auto title = m_ctx.store.ReadObjectTitle(m_current.object);
    if (!title) {
        endWith(title.error());
        return;
    }
    ObjectTitleDialog dialog(ObjectTitleDialog::Mode::Edit, titleForm(*title), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    applyTitleForm(dialog.form(), *title);
    if (auto st = m_ctx.store.WriteObjectTitle(*title); !st) {
        endWith(st.error());
        return;
    }
    if (QTreeWidgetItem* item = m_tree->currentItem())
        setLabel(item, title->shortName.utf8());
}

void MainWindow::moveObject(bool toArchive) {
    const std::int32_t object = m_current.object;
    auto title = m_ctx.store.ReadObjectTitle(object);
    if (!title) {
        endWith(title.error());
        return;
    }
    if (!AskArchiveMove(toArchive, title->shortName.utf8Trimmed(), this))
        return;
    if (auto st = m_ctx.store.SetArchived(object, toArchive); !st) {
        endWith(st.error());
        return;
    }
    LibraryTree nodes;
    if (toArchive) {
        // Archived objects show no children.
        nodes.insert(-1, {static_cast<std::int16_t>(NodeKind::ArchivedObject), object, 0, 0},
                     title->shortName.utf8(), InsertAt::Last);
    } else {
        auto filled = WorkingObjectSubtree(m_ctx.store, object);
        if (!filled) {
            endWith(filled.error());
            return;
        }
        nodes = std::move(*filled);
    }
    deleteItem(m_tree->currentItem());
    const NodeKind folder = toArchive ? NodeKind::ArchiveFolder : NodeKind::WorkingFolder;
    if (QTreeWidgetItem* under = findItem(folder, 0))
        appendSubtree(under, nodes);
    selectFolder(NodeKind::WorkingFolder);
}

void MainWindow::removeIfDeleted(const Result<Deletion>& outcome) {
    if (!outcome)
        endWith(outcome.error());
    else if (*outcome == Deletion::Deleted)
        removeCurrentItem();
}

void MainWindow::endWith(const Error& error) {
    m_ctx.sink.report(error);
    if (error.fatal) {
        m_fatalEnd = true;
        close();
    }
}

void MainWindow::showAbout() {
    AboutDialog about(m_ctx.session.status().launchCount, m_ctx.session.totalSeconds(m_ctx.clock()),
                      this);
    about.exec();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A right click acts on the selected node as "Данные..." and does not move the selection.
    if (watched == m_tree->viewport() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        const auto kind = static_cast<NodeKind>(m_current.kind);
        if (kind == NodeKind::WorkingObject || kind == NodeKind::Section ||
            kind == NodeKind::Borehole || kind == NodeKind::BoreholeList)
            runCommand(cmd::kData);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_ended) {
        m_ended = true;
        m_treeFile.close();
        if (auto st = m_ctx.session.End(m_ctx.store, m_ctx.clock()); !st)
            m_ctx.sink.report(st.error());
    }
    event->accept();
}

} // namespace orvo::shell::ui
