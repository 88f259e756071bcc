// The main window's command table: what each menu item, toolbar button and right click runs.
#include "borehole/ui/borehole_types_dialog.h"
#include "datasheet/ui/sheet_layout_dialog.h"
#include "dict/ui/consistency_type_dialogs.h"
#include "dict/ui/drawing_form_dialogs.h"
#include "dict/ui/hatch_dialogs.h"
#include "dict/ui/ige_description_dialogs.h"
#include "dict/ui/mark_type_dialog.h"
#include "dict/ui/symbol_dialogs.h"
#include "dict/ui/title_block_dialogs.h"
#include "section/ui/section_dialog.h"
#include "section/ui/settings_list_dialogs.h"
#include "shell/commands.h"
#include "shell/object_lifecycle.h"
#include "shell/ui/main_window.h"

#include <QTreeWidget>

namespace orvo::shell::ui {

namespace {

template <class Dialog, class... Args> void runDialog(Args&&... args) {
    Dialog dialog(std::forward<Args>(args)...);
    dialog.exec();
}

} // namespace

void MainWindow::addCommandHandlers() {
    auto& h = m_handlers;
    // Commands of the selected node run only where the enabling table allows them, as a
    // right click or a shortcut may come while the toolbar shows them disabled.
    const auto onNode = [this](int id, void (MainWindow::*run)()) {
        m_handlers[id] = [this, id, run] {
            if (commandEnabled(static_cast<NodeKind>(m_current.kind), id))
                (this->*run)();
        };
    };
    h[cmd::kAbout] = [this] { showAbout(); };
    h[cmd::kData] = [this] { editCurrentNode(); };
    onNode(cmd::kNewSection, &MainWindow::newSection);
    onNode(cmd::kNewObject, &MainWindow::newObject);
    onNode(cmd::kToArchive, &MainWindow::moveToArchive);
    onNode(cmd::kFromArchive, &MainWindow::moveFromArchive);
    onNode(cmd::kDeleteObject, &MainWindow::deleteObject);
    h[cmd::kDeleteSection] = [this] {
        if (currentKind() == NodeKind::Section)
            removeIfDeleted(
                AskDeleteSection(m_ctx.store, m_ctx.sink, m_current.object, m_current.section));
    };
    h[cmd::kDeleteBorehole] = [this] {
        if (currentKind() == NodeKind::Borehole)
            deleteBorehole();
    };
    h[cmd::kNewBorehole] = [this] {
        if (currentKind() == NodeKind::Borehole || currentKind() == NodeKind::BoreholeList)
            newBorehole();
    };
    for (int id : {cmd::kPrint, cmd::kView})
        h[id] = [this, id] {
            if (currentKind() == NodeKind::Section)
                viewOrPrintStoredSection(id == cmd::kPrint);
        };
    for (int id : {cmd::kImport, cmd::kExport, cmd::kSheetParameters})
        h[id] = [] {}; // no action bound
    addDictionaryHandlers();
}

void MainWindow::addDictionaryHandlers() {
    auto& h = m_handlers;
    auto& folder = m_ctx.folder;
    auto& sink = m_ctx.sink;
    h[cmd::kSectionDefaults] = [this] {
        section::ui::EditSectionDefaults(m_ctx.store, m_ctx.defaults, m_ctx.sink, m_printMargins,
                                         this);
    };
    h[cmd::kBoreholeTypes] = [this, &folder, &sink] {
        runDialog<borehole::ui::BoreholeTypesDialog>(folder, sink, this);
    };
    h[cmd::kScales] = [this, &folder, &sink] {
        runDialog<section::ui::ScaleListDialog>(folder, sink, this);
    };
    h[cmd::kSheetFormats] = [this, &folder, &sink] {
        Error error;
        auto dialog = section::ui::SheetFormatDialog::create(folder, sink, error, this);
        if (!dialog) {
            endWith(error);
            return;
        }
        dialog->exec();
    };
    h[cmd::kSurnames] = [this, &folder, &sink] {
        runDialog<section::ui::SurnameListDialog>(folder, sink, this);
    };
    h[cmd::kTitleBlocks] = [this, &folder, &sink] {
        dict::ui::TitleBlocksDialog dialog(folder, sink, m_printMargins, {}, this);
        dialog.exec();
    };
    h[cmd::kHatchTypes] = [this, &folder, &sink] { dict::ui::EditHatchTypes(folder, sink, this); };
    h[cmd::kConsistencyTypes] = [this, &folder, &sink] {
        dict::ui::EditConsistencyTypes(folder, sink, this);
    };
    h[cmd::kStandardIgeDescriptions] = [this, &folder, &sink] {
        dict::ui::EditStandardIgeDescriptions(folder, sink, this);
    };
    h[cmd::kWaterTypes] = [this, &folder, &sink] {
        dict::ui::EditGroundwaterTypes(folder, sink, this);
    };
    h[cmd::kSampleTypes] = [this, &folder, &sink] {
        dict::ui::EditSampleTypes(folder, sink, this);
    };
    h[cmd::kSymbolLibrary] = [this, &folder, &sink] {
        dict::ui::ManageSymbols(folder, sink, this);
    };
    h[cmd::kDataSheetLayout] = [this, &folder, &sink] {
        datasheet::ui::EditSheetLayout(folder, sink, this);
    };
    h[cmd::kDrawingForms] = [this, &folder, &sink] {
        runDialog<dict::ui::DrawingFormListDialog>(folder, sink, this);
    };
}

void MainWindow::runCommand(int id) {
    if (id == cmd::kExit) {
        close();
        return;
    }
    const auto it = m_handlers.find(id);
    if (it == m_handlers.end())
        notAvailable();
    else
        it->second();
    if (!m_fatalEnd)
        m_tree->setFocus();
}

void MainWindow::editCurrentNode() {
    switch (currentKind()) {
    case NodeKind::Borehole:
        editBorehole();
        break;
    case NodeKind::WorkingObject:
        editObjectTitle();
        break;
    case NodeKind::Section:
        editSection();
        break;
    default:
        break;
    }
}

} // namespace orvo::shell::ui
