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
#include "platform/message_sink.h"
#include "store/project_store.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>

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
    return 0;
}
