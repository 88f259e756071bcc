// Renders dialogs of Orvo2 on a working folder into PNG files, offscreen, for the docs.
//   orvo_screenshots WORKDIR OUTDIR
#include "borehole/borehole_record.h"
#include "borehole/ui/borehole_editor.h"
#include "datasheet/ui/sheet_layout_dialog.h"
#include "datasheet/ui/sheet_viewer.h"
#include "dict/ui/consistency_type_dialogs.h"
#include "dict/ui/hatch_dialogs.h"
#include "dict/ui/mark_type_dialog.h"
#include "dict/ui/symbol_dialogs.h"
#include "drawing/ui/section_windows.h"
#include "drawing/ui/sheet_area.h"
#include "platform/message_sink.h"
#include "store/project_store.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <iostream>

namespace {

void shoot(QWidget& w, const std::filesystem::path& file, QSize size) {
    w.resize(size);
    w.show();
    QApplication::processEvents();
    w.grab().save(QString::fromStdString(file.string()));
    w.hide();
    std::cout << "saved " << file.string() << '\n';
}

// Selects the list entry with this text, so the preview shows it.
void selectText(QWidget& w, const QString& text) {
    for (auto* list : w.findChildren<QListWidget*>())
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->text().trimmed() == text)
                list->setCurrentRow(i);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: orvo_screenshots WORKDIR OUTDIR\n";
        return 2;
    }
    const std::filesystem::path out = argv[2];
    orvo::platform::WorkFolder folder(argv[1]);
    orvo::store::ProjectStore store(folder);
    orvo::platform::RecordingMessageSink sink;

    orvo::dict::ui::SymbolLibraryDialog symbols(
        folder, sink, orvo::dict::ui::SymbolLibraryDialog::Mode::Managing, 0);
    symbols.selectSlot(1);
    shoot(symbols, out / "symbol-library.png", {640, 420});

    orvo::dict::ui::ConsistencyTypesDialog consistency(folder, sink);
    selectText(consistency, QStringLiteral("текучая"));
    shoot(consistency, out / "consistency-types.png", {760, 520});

    orvo::dict::ui::MarkTypesDialog water(folder, sink, orvo::dict::MarkList::Groundwater);
    selectText(water, QStringLiteral("Установившийся уровень"));
    shoot(water, out / "groundwater-types.png", {560, 360});

    orvo::dict::ui::HatchTypesDialog hatches(folder, sink);
    selectText(hatches, QStringLiteral("Песок гравелистый"));
    shoot(hatches, out / "hatch-types.png", {640, 440});

    auto b = orvo::borehole::ReadBorehole(folder, 1, 3);
    if (b) {
        auto data = orvo::borehole::BoreholeEditData::from(*b);
        orvo::borehole::BoreholeClipboard clipboard;
        orvo::borehole::ui::BoreholeEditor editor(store, 1, 3, data, clipboard, sink);
        shoot(editor, out / "borehole-editor.png", {900, 620});
    }

    // The data sheet viewer on the demo borehole 1 and the layout dialog.
    auto demo = orvo::borehole::ReadBorehole(folder, 1, 1);
    auto layout = orvo::datasheet::ReadSheetLayout(folder);
    if (demo && layout) {
        orvo::datasheet::ui::SheetViewer viewer(folder, sink,
                                                {*layout, orvo::datasheet::sheetDataOf(*demo),
                                                 orvo::datasheet::SheetNames::read(folder),
                                                 orvo::datasheet::kAllParts});
        shoot(viewer, out / "borehole-sheet-viewer.png", {560, 720});
        orvo::datasheet::ui::SheetLayoutDialog dialog(*layout);
        shoot(dialog, out / "sheet-layout-dialog.png", {900, 640});
    }

    // The section viewer (hatching on) and the sheet editor on "Разрез 2-2".
    if (auto section = orvo::section::ReadSection(folder, 1, 2)) {
        namespace drawing = orvo::drawing;
        auto prepared = drawing::PrepareSectionDrawing(store, sink, 1, 2, *section,
                                                       drawing::TextSource::StoredSection);
        if (prepared) {
            drawing::NoProgress progress;
            std::vector<drawing::SheetSize> sizes;
            {
                drawing::PictureSheetSink pictures(folder, 96, 96);
                sizes = drawing::RenderSection(folder, prepared->input, pictures, progress, true,
                                               {2026, 12, 8, 12, 0, 0});
            }
            drawing::SectionViewer viewer(folder, sizes, 96);
            for (auto* button : viewer.findChildren<QToolButton*>())
                if (button->text() == "Штриховка")
                    button->setChecked(true);
            viewer.resize(1000, 520);
            viewer.show();
            QApplication::processEvents();
            viewer.view().setViewSize(viewer.area()->viewport()->width(),
                                      viewer.area()->viewport()->height());
            viewer.view().zoomToRect(0, 0, 600, 300);
            viewer.area()->refresh();
            shoot(viewer, out / "section-viewer.png", {1000, 520});
            {
                drawing::PictureSheetSink pictures(folder, 96, 96);
                sizes = drawing::RenderSection(folder, prepared->input, pictures, progress, false,
                                               {2026, 12, 8, 12, 0, 0});
            }
            drawing::SheetEditorWindow editor(folder, prepared->input, sizes, 96, 96, sink);
            editor.resize(1000, 520);
            editor.show();
            QApplication::processEvents();
            editor.session().view().zoomToRect(0, 0, 600, 300);
            editor.area()->refresh();
            editor.action(drawing::EditorCommand::Select)->trigger();
            editor.area()->viewport()->repaint();
            if (!editor.session().overlay().empty()) {
                const auto& o = editor.session().overlay()[3];
                editor.session().pick(o.rect.x + 1, o.rect.y + 1);
            }
            shoot(editor, out / "sheet-editor.png", {1000, 520});
            drawing::FinishSectionDrawing(folder, *prepared);
        }
    }
    return 0;
}
