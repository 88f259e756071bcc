// The main window's borehole commands: "Новую Выработку...", "Данные..." and deletion.
#include "borehole/borehole_record.h"
#include "borehole/ui/borehole_editor.h"
#include "borehole/ui/borehole_types_dialog.h"
#include "datasheet/ui/sheet_viewer.h"
#include "dict/ui/consistency_type_dialogs.h"
#include "dict/ui/mark_type_dialog.h"
#include "shell/object_lifecycle.h"
#include "shell/ui/main_window.h"
#include "shell/ui/object_dialogs.h"

#include <QApplication>
#include <QTreeWidget>

namespace orvo::shell::ui {

borehole::ui::BoreholeEditorHooks MainWindow::boreholeHooks() {
    borehole::ui::BoreholeEditorHooks hooks;
    hooks.editBoreholeTypes = [this] {
        borehole::ui::BoreholeTypesDialog dialog(m_ctx.folder, m_ctx.sink, this);
        dialog.exec();
    };
    hooks.editConsistencyTypes = [this] {
        dict::ui::EditConsistencyTypes(m_ctx.folder, m_ctx.sink, this);
    };
    hooks.editWaterTypes = [this] {
        dict::ui::EditGroundwaterTypes(m_ctx.folder, m_ctx.sink, this);
    };
    hooks.editSampleTypes = [this] { dict::ui::EditSampleTypes(m_ctx.folder, m_ctx.sink, this); };
    hooks.viewDataSheet = [this](const borehole::BoreholeEditData& edited) {
        QWidget* editor = QApplication::activeModalWidget();
        datasheet::ui::ShowBoreholeSheet(m_ctx.folder, m_ctx.sink, edited, editor ? editor : this);
    };
    return hooks;
}

void MainWindow::newBorehole() {
    const std::int32_t object = m_current.object;
    auto& status = m_ctx.session.status();
    borehole::BoreholeEditData edited =
        borehole::BoreholeEditData::from(borehole::newBorehole(status.nextBoreholeNumber));
    std::int32_t number = 0; // taken at the first "Сохранить"
    // A save that fails opens the editor again on the same data, so no edit is lost.
    while (true) {
        borehole::ui::BoreholeEditor editor(m_ctx.store, object,
                                            number ? number : status.nextBoreholeNumber, edited,
                                            m_clipboard, m_ctx.sink, boreholeHooks(), this);
        if (editor.exec() != QDialog::Accepted)
            return;
        const auto st =
            borehole::SaveNewBorehole(m_ctx.store, status, object, number, edited.toBorehole(0));
        if (st)
            break;
        endWith(st.error());
        if (st.error().fatal)
            return;
    }
    QTreeWidgetItem* list = findItem(NodeKind::BoreholeList, object);
    if (!list)
        return;
    const TreeNodeRecord rec{static_cast<std::int16_t>(NodeKind::Borehole), object, 0, number};
    if (auto* item = appendNode(list, rec, edited.name.utf8())) {
        list->setExpanded(true);
        m_tree->setCurrentItem(item);
    }
}

void MainWindow::editBorehole() {
    const std::int32_t object = m_current.object;
    const std::int32_t number = m_current.borehole;
    auto stored = borehole::ReadBorehole(m_ctx.folder, object, number);
    if (!stored) {
        m_ctx.sink.report(stored.error());
        return;
    }
    borehole::BoreholeEditData edited = borehole::BoreholeEditData::from(*stored);
    while (true) {
        borehole::ui::BoreholeEditor editor(m_ctx.store, object, number, edited, m_clipboard,
                                            m_ctx.sink, boreholeHooks(), this);
        if (editor.exec() != QDialog::Accepted)
            return;
        const auto st = borehole::SaveBorehole(m_ctx.store, object, edited.toBorehole(number));
        if (st)
            break;
        endWith(st.error());
        if (st.error().fatal)
            return;
    }
    if (auto* item = m_tree->currentItem())
        setLabel(item, edited.name.utf8());
}

void MainWindow::deleteBorehole() {
    auto outcome = AskDeleteBorehole(m_ctx.store, m_ctx.sink, m_current.object, m_current.borehole);
    if (!outcome) {
        endWith(outcome.error());
        return;
    }
    if (outcome->outcome == Deletion::Refused)
        ShowBoreholeRefusal(outcome->name, outcome->sections, this);
    else if (outcome->outcome == Deletion::Deleted)
        removeCurrentItem();
}

} // namespace orvo::shell::ui
