// The main window's section commands: "Новый Разрез..." and "Данные..." on a section.
#include "section/section_record.h"
#include "section/ui/section_dialog.h"
#include "shell/ui/main_window.h"
#include "store/project_store.h"
#include "store/store_paths.h"

#include <QTreeWidget>

namespace orvo::shell::ui {

bool MainWindow::saveSection(std::int32_t object, const section::Section& s, bool isNew) {
    if (auto st = section::WriteSection(m_ctx.folder, object, s); !st) {
        endWith(st.error());
        return false;
    }
    if (isNew)
        if (auto st = m_ctx.store.AppendSection(object, s.header.number); !st) {
            endWith(st.error());
            return false;
        }
    // The section's edits made in its sub-editors become its own files only now.
    if (auto st = m_ctx.store.CopyWorkingCopiesBack(object, s.header.number); !st) {
        endWith(st.error());
        return false;
    }
    return true;
}

void MainWindow::newSection() {
    const std::int32_t object = m_current.object;
    auto& status = m_ctx.session.status();
    // The number and the time are taken when the dialog opens; the number is used up only
    // when the section is saved.
    section::Section s = section::newSection(
        status.nextSectionNumber, static_cast<std::int32_t>(m_ctx.clock()), m_ctx.defaults);
    section::ui::SectionDialog dialog(m_ctx.store, object, s, true, m_ctx.sink, m_printMargins,
                                      this);
    const int result = dialog.exec();
    if (dialog.hadFatalError()) {
        endWith(store::FatalOpenError("DATA\\DIC\\ListForm.sps"));
        return;
    }
    if (result != QDialog::Accepted)
        return;
    auto number = m_ctx.store.TakeSectionNumber(status);
    if (!number) {
        endWith(number.error());
        return;
    }
    s.header.number = *number;
    if (!saveSection(object, s, true))
        return;
    QTreeWidgetItem* objectItem = findItem(NodeKind::WorkingObject, object);
    if (!objectItem)
        return;
    const TreeNodeRecord rec{static_cast<std::int16_t>(NodeKind::Section), object, *number, 0};
    if (auto* item = appendNode(objectItem, rec, QString::fromStdString(s.header.name.utf8()))) {
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
    section::ui::SectionDialog dialog(m_ctx.store, object, s, false, m_ctx.sink, m_printMargins,
                                      this);
    const int result = dialog.exec();
    if (dialog.hadFatalError()) {
        endWith(store::FatalOpenError("DATA\\DIC\\ListForm.sps"));
        return;
    }
    if (result != QDialog::Accepted || !saveSection(object, s, false))
        return;
    if (auto* item = m_tree->currentItem())
        item->setText(0, QString::fromStdString(s.header.name.utf8()));
}

} // namespace orvo::shell::ui
