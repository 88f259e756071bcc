// One run of the connection editor without its window: the model being edited, which boreholes
// are shown, the dispatch of mouse input and toolbar commands to the editing operations, undo and
// redo, the toolbar states and the picture to paint.
#pragma once
#include "connect/auto_connect.h"
#include "connect/connection_model.h"
#include "connect/editing_rules.h"
#include "platform/message_sink.h"
#include "platform/result.h"
#include "platform/work_folder.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::connect {

// The toolbar in its order, then undo and redo.
enum class EditorCommand : std::int32_t {
    ToBegin,
    ToLeft,
    ToRight,
    ToEnd,
    Show2,
    Show3,
    Draw,
    SelectLine,
    NextLine,
    PreviousLine,
    AutoBuild,
    DeleteLine,
    DeleteAllLines,
    SelectPoint,
    DeletePoint,
    StraightLine,
    WavyLine,
    VisibleLine,
    InvisibleLine,
    Exit,
    Undo,
    Redo,
};
inline constexpr int kEditorCommandCount = 22;

inline constexpr std::string_view kEditorTitle = "Соединение инженерно-геологических элементов";
inline constexpr std::string_view kEditorStarted =
    "Редактор соединений инженерно-геологических элементов запущен";
inline constexpr std::string_view kEditorCaption = "Соединение ИГЭ";
inline constexpr std::string_view kSaveQuestion = "Сохранить изменения ?";

struct EditorCommandInfo {
    std::string_view name;    // the command's name in the editor's command set
    std::string_view tooltip; // what the button says under the mouse
};
const EditorCommandInfo& commandInfo(EditorCommand c);

struct ToolbarState {
    std::array<bool, kEditorCommandCount> enabled{};
    std::array<bool, kEditorCommandCount> pressed{};
    bool scrollVisible = false;
    std::int32_t scrollMax = 0; // range 0 .. scrollMax
    std::int32_t scrollPos = 0;
    std::int32_t scrollPage = 0;

    bool isEnabled(EditorCommand c) const { return enabled[static_cast<std::size_t>(c)]; }
    bool isPressed(EditorCommand c) const { return pressed[static_cast<std::size_t>(c)]; }
};

enum class ScrollAction { LineLeft, LineRight, PageLeft, PageRight, Thumb, Other };

// What the drawing area shows, in drawing-area pixels.
enum class LineColour { Selected, Hovered, Wavy, Straight, Invisible };
struct SceneArea {
    std::vector<ScreenPos> outline;
    std::int32_t ige = 0;
};
struct SceneBorehole {
    ScreenPos collar;
    ScreenPos bottom;
    std::string name; // UTF-8, trailing spaces dropped
};
struct SceneLabel {
    std::string text; // the IGE number, UTF-8
    std::int32_t rightX = 0;
    std::int32_t centreY = 0;
};
struct SceneLine {
    ScreenPos a;
    ScreenPos b;
    LineColour colour = LineColour::Straight;
};
struct ScenePoint {
    ScreenPos at;
    bool selected = false;
    bool hovered = false;
};
struct Scene {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<SceneArea> areas;
    std::vector<SceneBorehole> boreholes; // the displayed ones
    std::vector<SceneLabel> labels;
    std::vector<SceneLine> lines;
    std::vector<ScenePoint> points;
    std::optional<SceneLine> rubberBand; // pending segment from its first point to the cursor
    bool areasFailed = false; // memory ran out while tracing: the remaining areas are unfilled
};

// Refused (caption "Stop") when two neighbouring boreholes stand at the same place or show no
// elevation range: the editor could not scale them.
Status CheckEditable(const ConnectionModel& model);

// What the editor opens on: the section's fresh model with the stored connections merged in.
struct EditorOpening {
    ConnectionModel model;
    bool workCopyExisted = false; // WORK.SLO was there before the editor opened
};

// Builds the model of the listed boreholes, merges WORK.SLO (or the section's own file) into it
// and shows the change report without the hint. Refusals have been shown through the sink when
// this returns an error; nothing is left behind then.
Result<EditorOpening> OpenConnectionEditor(const platform::WorkFolder& folder,
                                           platform::MessageSink& sink, std::int32_t object,
                                           std::optional<std::int32_t> storedSection,
                                           const std::vector<std::int32_t>& fileNumbers);

// After the window: a WORK.SLO that the editor brought in is removed again when the user left
// without saving.
void CloseConnectionEditor(const platform::WorkFolder& folder, const EditorOpening& opening,
                           bool saved);

class EditorSession {
public:
    explicit EditorSession(ConnectionModel model);

    const ConnectionModel& model() const { return m_model; }
    const EditorState& state() const { return m_state; }
    const std::string& status() const { return m_state.status; }
    std::int32_t firstShown() const { return m_firstShown; }
    std::int32_t shown() const { return m_shown; }
    // Without a usable drawing area there is no mapping; mouse input is then ignored.
    const ScreenMapping* mapping() const { return m_map ? &*m_map : nullptr; }

    // Size of the drawing area; the mapping is computed again. False when no mapping results.
    bool resize(std::int32_t width, std::int32_t height);

    // Toolbar commands; Exit is the window's business and does nothing here. True when the
    // drawing changed.
    bool run(EditorCommand c, platform::MessageSink& sink);
    bool scroll(ScrollAction action, std::int32_t thumb = 0);

    // Mouse input at drawing-area positions; true when the drawing needs a repaint.
    bool mouseMove(ScreenPos c);
    bool leftDown(ScreenPos c);
    bool leftUp(ScreenPos c);
    bool doubleClick(ScreenPos c);
    bool rightDown(ScreenPos c);
    // A segment is pending or a point is being moved: the window keeps the cursor inside.
    bool capturing() const { return m_state.dragging; }
    // Ends a pending segment or a point move where it stands (the window does this before it
    // shows a box or loses its drawing area).
    void endCapture();

    bool canUndo() const { return !m_state.dragging && !m_undo.empty(); }
    bool canRedo() const { return !m_state.dragging && !m_redo.empty(); }

    ToolbarState toolbar() const;
    Scene scene() const;

private:
    struct Snapshot {
        std::vector<ConnectionPoint> points;
        std::vector<ConnectionLine> lines;
        std::int32_t selectedLine = -1;
        std::int32_t selectedPoint = -1;
        std::string action;
    };

    Snapshot capture(std::string_view action) const;
    void restore(const Snapshot& s);
    // Records `before` as an undo step when the model now differs from it.
    void recordIfChanged(Snapshot before);
    template <class F> bool edit(std::string_view action, F&& op);
    bool setView(std::int32_t firstShown, std::int32_t shown);
    bool navigate(std::int32_t firstShown);
    bool undo();
    bool redo();

    ConnectionModel m_model;
    EditorState m_state;
    std::optional<ScreenMapping> m_map;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::int32_t m_firstShown = 0;
    std::int32_t m_shown = 2;
    ScreenPos m_cursor;
    std::optional<Snapshot> m_moveStart; // the model before the current point move
    std::vector<Snapshot> m_undo;
    std::vector<Snapshot> m_redo;
};

} // namespace orvo::connect
