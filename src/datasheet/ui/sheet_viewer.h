// The data sheet viewer "Просмотр выработки: %s" with its eight commands, the print job, the
// choice of what to export and the view attributes.
#pragma once
#include "datasheet/ui/sheet_print.h"
#include "platform/message_sink.h"
#include "platform/work_folder.h"

#include <QDialog>
#include <QPicture>

#include <filesystem>
#include <functional>
#include <optional>

class QPrinter;
class QScrollArea;

namespace orvo::datasheet::ui {

inline constexpr const char* kNotReadyText = "ЕЩЕ В РАБОТЕ !!!";

// What the viewer opens beyond itself; tests replace these.
struct SheetViewerHooks {
    // Sets the printer up for pages 1..pages (the system print dialog); false when cancelled.
    std::function<bool(QPrinter&, int pages)> choosePrinter;
    // The export choice: 0 cancelled, 1 text DOS, 2 text Windows, 3 and 4 the drawing.
    std::function<int()> chooseExport;
    // The text file to write ("Имя файла"); nothing when cancelled.
    std::function<std::optional<std::filesystem::path>()> chooseTextFile;
    // The view attributes: the new parts, or nothing when cancelled.
    std::function<std::optional<int>(int parts)> chooseParts;
    // The layout dialog; true when it saved the layout.
    std::function<bool()> editLayout;
};

class SheetView;

class SheetViewer : public QDialog {
    Q_OBJECT
public:
    SheetViewer(const platform::WorkFolder& folder, platform::MessageSink& sink, SheetSource source,
                SheetViewerHooks hooks = {}, QWidget* parent = nullptr);

    int pages() const { return m_pages; }
    int parts() const { return m_source.parts; }
    const QPicture& picture() const { return m_picture; }
    // Where the picture is drawn in the view, in pixels.
    QRectF pictureRect() const { return m_rect; }

    void fitPage();
    void zoomIn();
    void zoomOut();
    void print();
    void exportData();
    void viewAttributes();
    void settings();

protected:
    // The sheet is shown whole once the window has its size.
    void showEvent(QShowEvent* event) override;

private:
    void render();
    void placePicture();

    platform::WorkFolder m_folder;
    platform::MessageSink& m_sink;
    SheetSource m_source;
    SheetViewerHooks m_hooks;
    QPicture m_picture;
    int m_pages = 1;
    QRectF m_rect;
    bool m_fitted = false;
    QScrollArea* m_scroll = nullptr;
    SheetView* m_view = nullptr;
};

// Reads the layout and the dictionaries and opens the viewer on the borehole being edited.
// Without a usable layout file the viewer does not open and the reason is shown.
void ShowBoreholeSheet(const platform::WorkFolder& folder, platform::MessageSink& sink,
                       const borehole::BoreholeEditData& data, QWidget* parent,
                       SheetViewerHooks hooks = {});

// The print job "Печать данных по выработке" for the pages the printer dialog chose (all of
// 1..pages by default). False when cancelled.
bool PrintBoreholeSheet(const SheetSource& source, int pages, QWidget* parent,
                        const std::function<bool(QPrinter&, int)>& choosePrinter = {});

// "Просмотр выработки: Экспорт ": 0 cancelled, 1 text DOS, 2 text Windows, 3 enhanced and
// 4 Windows metafile.
class ExportChoiceDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExportChoiceDialog(QWidget* parent = nullptr);
    int choice() const;
};

// "Атрибуты просмотра": all parts, or a chosen few.
class ViewAttributesDialog : public QDialog {
    Q_OBJECT
public:
    ViewAttributesDialog(int parts, QWidget* parent = nullptr);
    int parts() const;
};

} // namespace orvo::datasheet::ui
