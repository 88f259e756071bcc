// The window "Соединение инженерно-геологических элементов": toolbar, drawing area, scroll bar
// and comment bar around an EditorSession.
#pragma once
#include "connect/editor_session.h"
#include "platform/message_sink.h"
#include "platform/work_folder.h"

#include <QDialog>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QScrollBar;
class QToolBar;

namespace orvo::connect::ui {

// The frame whose inside, 2 pixels in from every edge, is the drawing area.
class DrawingArea : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMargin = 2;

    DrawingArea(EditorSession& session, QWidget* parent);
    // The drawing area inside the frame, in widget coordinates.
    QRect area() const;
    // Grabs the mouse while the session holds a segment or a move, releases it otherwise.
    void syncGrab();
    // Ends a pending segment or move where it stands and lets the mouse go.
    void endCapture();

signals:
    // After every mouse event: whether the picture changed.
    void changed(bool repaint);
    void outOfMemory();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // The position in drawing-area pixels, or nothing when the cursor is outside the area and
    // no segment or move holds it; while one does, positions are kept inside the area.
    std::optional<ScreenPos> position(const QMouseEvent* event) const;
    // Runs a session operation at the event's position; memory running out ends the drag.
    template <class F> void dispatch(const QMouseEvent* event, F&& op);
    // "Недостаточно памяти" once, after the current event.
    void reportMemory();

    EditorSession& m_session;
    bool m_grabbing = false;
    bool m_memoryReported = false;
};

class ConnectionEditorWindow : public QDialog {
    Q_OBJECT
public:
    ConnectionEditorWindow(EditorSession& session, const platform::WorkFolder& folder,
                           platform::MessageSink& sink, QWidget* parent = nullptr);

    EditorSession& session() { return m_session; }
    QAction* action(EditorCommand c) const { return m_actions[static_cast<std::size_t>(c)]; }
    DrawingArea* drawingArea() const { return m_drawing; }
    QScrollBar* scrollBar() const { return m_scroll; }
    QLabel* commentBar() const { return m_comment; }

    // "Сохранить изменения ?": Yes saves WORK.SLO and closes as accepted, No closes as
    // rejected, Cancel (or a failed save) keeps the window open.
    void reject() override;

private:
    void buildToolbar();
    void runCommand(EditorCommand c);
    void onScroll(int action);
    void refresh(bool repaint);

    EditorSession& m_session;
    const platform::WorkFolder& m_folder;
    platform::MessageSink& m_sink;
    QToolBar* m_toolbar = nullptr;
    DrawingArea* m_drawing = nullptr;
    QScrollBar* m_scroll = nullptr;
    QLabel* m_comment = nullptr;
    std::array<QAction*, kEditorCommandCount> m_actions{};
};

// "Соединение ИГЭ..." of the section dialog on its current borehole list: opens, runs and closes
// the editor. True when the user saved WORK.SLO.
bool EditConnections(const platform::WorkFolder& folder, platform::MessageSink& sink,
                     std::int32_t object, std::optional<std::int32_t> storedSection,
                     const std::vector<std::int32_t>& fileNumbers, QWidget* parent = nullptr);

} // namespace orvo::connect::ui
