// The main window's section commands: "Новый Разрез..." and "Данные..." on a section.
#include "connect/ui/connection_editor.h"
#include "drawing/ui/section_windows.h"
#include "export/ui/export_dialog.h"
#include "export/ui/print_section.h"
#include "section/section_record.h"
#include "section/ui/section_dialog.h"
#include "shell/ui/main_window.h"
#include "store/project_store.h"
#include "store/store_paths.h"

#include <QTreeWidget>

namespace orvo::shell::ui {

// Runs the section dialog until the user cancels or the section is saved; a failed save
// opens the dialog again on the same values. Returns the saved number, or 0.
std::int32_t MainWindow::runSectionDialog(std::int32_t object, section::Section& s, bool isNew) {
    auto& status = m_ctx.session.status();
    bool numbered = !isNew;
    while (true) {
        section::ui::SectionDialog dialog(m_ctx.store, object, s, isNew, m_ctx.sink, m_printMargins,
                                          this);
        dialog.setConnectionEditor(
            [&](const std::vector<std::int32_t>& boreholes, std::optional<std::int32_t> stored) {
                connect::ui::EditConnections(m_ctx.folder, m_ctx.sink, object, stored, boreholes,
                                             &dialog);
            });
        dialog.setDrawingCommands(drawingCommands(object, &dialog));
        // Without the sheet formats the dialog cannot work: the program ends at once.
        if (dialog.hadFatalError()) {
            endWith(store::FatalOpenError("DATA\\DIC\\ListForm.sps"));
            return 0;
        }
        if (dialog.exec() != QDialog::Accepted)
            return 0;
        // The number shown while the dialog was open is used up only now.
        const auto st = section::SaveSection(m_ctx.store, status, object, s, isNew, numbered);
        if (st)
            return s.header.number;
        endWith(st.error());
        if (m_fatalEnd)
            return 0;
    }
}

section::ui::SectionDialog::DrawingCommands MainWindow::drawingCommands(std::int32_t object,
                                                                        QWidget* parent) {
    // From the open dialog: its values, and WORK.MTX before the section's own placements.
    const auto request = [object](const section::Section& s, std::optional<std::int32_t> stored) {
        return drawing::DrawingRequest{object, stored, s, drawing::TextSource::SectionDialog};
    };
    section::ui::SectionDialog::DrawingCommands c;
    c.view = [this, parent, request](const section::Section& s, std::optional<std::int32_t> n) {
        drawing::ViewSection(parent, m_ctx.store, m_ctx.sink, request(s, n));
    };
    c.editDrawing = [this, parent, request](const section::Section& s,
                                            std::optional<std::int32_t> n) {
        drawing::EditSectionSheets(parent, m_ctx.store, m_ctx.sink, request(s, n));
    };
    c.print = [this, parent, request](const section::Section& s, std::optional<std::int32_t> n) {
        exporter::PrintSection(parent, m_ctx.store, m_ctx.sink, request(s, n));
    };
    c.exportDrawing = [this, parent, request](const section::Section& s,
                                              std::optional<std::int32_t> n) {
        exporter::ExportSectionDxfWindow(parent, m_ctx.store, m_ctx.sink, request(s, n));
    };
    c.openDrawing = [this, parent, request](const section::Section& s,
                                            std::optional<std::int32_t> n) {
        exporter::OpenSectionDxfWindow(parent, m_ctx.store, m_ctx.sink, request(s, n));
    };
    return c;
}

void MainWindow::viewOrPrintStoredSection(bool print) {
    const auto s = section::ReadSection(m_ctx.folder, m_current.object, m_current.section);
    if (!s) {
        endWith(s.error());
        return;
    }
    const drawing::DrawingRequest request{m_current.object, m_current.section, *s,
                                          drawing::TextSource::StoredSection};
    if (print)
        exporter::PrintSection(this, m_ctx.store, m_ctx.sink, request);
    else
        drawing::ViewSection(this, m_ctx.store, m_ctx.sink, request);
}

void MainWindow::newSection() {
    const std::int32_t object = m_current.object;
    // The number and the time are taken when the dialog opens.
    section::Section s =
        section::newSection(m_ctx.session.status().nextSectionNumber,
                            static_cast<std::int32_t>(m_ctx.clock()), m_ctx.defaults);
    const std::int32_t number = runSectionDialog(object, s, true);
    if (number == 0)
        return;
    QTreeWidgetItem* objectItem = findItem(NodeKind::WorkingObject, object);
    if (!objectItem)
        return;
    const TreeNodeRecord rec{static_cast<std::int16_t>(NodeKind::Section), object, number, 0};
    if (auto* item = appendNode(objectItem, rec, s.header.name.utf8())) {
        objectItem->setExpanded(true);
        m_tree->setCurrentItem(item);
    }
}

void MainWindow::editSection() {
    const std::int32_t object = m_current.object;
    auto stored = section::ReadSection(m_ctx.folder, object, m_current.section);
    if (!stored) {
        m_ctx.sink.report(stored.error());
        return;
    }
    section::Section s = *stored;
    if (runSectionDialog(object, s, false) == 0)
        return;
    if (auto* item = m_tree->currentItem())
        setLabel(item, s.header.name.utf8());
}

} // namespace orvo::shell::ui
