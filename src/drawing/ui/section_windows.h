// The section viewer "Просмотр разреза" and the sheet editor "Редактирование разреза - Лист %d",
// and the commands that prepare, render and open them.
#pragma once
#include "drawing/prepare.h"
#include "drawing/sheet_editor_session.h"
#include "drawing/ui/sheet_pictures.h"
#include "platform/message_sink.h"
#include "section/section_record.h"
#include "store/project_store.h"

#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QToolButton;
class QAction;

namespace orvo::drawing {

class SheetArea;

class SectionViewer : public QDialog {
    Q_OBJECT
public:
    SectionViewer(const platform::WorkFolder& folder, std::vector<SheetSize> sizes, double dpiX,
                  QWidget* parent = nullptr);

    void showSheet(int index);
    SheetView& view() { return m_view; }
    SheetArea* area() const { return m_area; }

private:
    void updateButtons();
    const platform::WorkFolder& m_folder;
    std::vector<SheetSize> m_sizes;
    SheetView m_view;
    std::optional<SheetPictures> m_pictures;
    SheetArea* m_area = nullptr;
    QComboBox* m_sheets = nullptr;
    QToolButton* m_in = nullptr;
    QToolButton* m_out = nullptr;
    QToolButton* m_whole = nullptr;
    QToolButton* m_hatching = nullptr;
    QLabel* m_readout = nullptr;
};

class SheetEditorWindow : public QDialog {
    Q_OBJECT
public:
    // `input` holds the texts the session starts from; the sheets were rendered without texts
    // at `dpiX` × `dpiY`.
    SheetEditorWindow(const platform::WorkFolder& folder, SectionDrawingInput input,
                      std::vector<SheetSize> sizes, double dpiX, double dpiY,
                      platform::MessageSink& sink, QWidget* parent = nullptr);

    SheetEditorSession& session() { return m_session; }
    SheetArea* area() const { return m_area; }
    QAction* action(EditorCommand command) const {
        return m_actions[static_cast<std::size_t>(command)];
    }

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void loadSheet();
    void updateActions();
    void command(EditorCommand command);
    void paintSheet(QPainter& painter);
    const platform::WorkFolder& m_folder;
    SectionDrawingInput m_input;
    std::vector<SheetSize> m_sizes;
    double m_dpiX;
    double m_dpiY;
    platform::MessageSink& m_sink;
    SheetEditorSession m_session;
    std::optional<SheetPictures> m_pictures;
    std::optional<SheetGeometry> m_geometry;
    std::vector<TextSite> m_sites;
    SheetArea* m_area = nullptr;
    std::array<QAction*, kEditorCommandCount> m_actions{};
};

// What the windows are opened for: the open section dialog's values, or a stored section.
struct DrawingRequest {
    std::int32_t object = 0;
    std::optional<std::int32_t> storedSection;
    section::Section section;
    TextSource source = TextSource::StoredSection;
};

// Prepares, renders for the screen (with the progress panel and the wait cursor) and shows the
// viewer; `exec` runs a window (tests answer it).
void ViewSection(QWidget* parent, const store::ProjectStore& store, platform::MessageSink& sink,
                 const DrawingRequest& request);
// The same for the sheet editor: rendered without texts.
void EditSectionSheets(QWidget* parent, const store::ProjectStore& store,
                       platform::MessageSink& sink, const DrawingRequest& request);

} // namespace orvo::drawing
