// The connection editor's run: view, dispatch, undo and the picture of the drawing area.
#include "connect/editor_session.h"

#include "connect/reconcile.h"
#include "store/store_paths.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

namespace orvo::connect {

namespace {

// Undo keeps at most this many steps and this much memory, whichever comes first; a section of
// 100 boreholes with 99 layers each takes about 360 KB per step.
constexpr std::size_t kUndoDepth = 500;
constexpr std::size_t kUndoBytes = 64u << 20;

std::size_t ix(std::int32_t i) {
    return static_cast<std::size_t>(i);
}

const ScreenMapping& noMapping() {
    static const ScreenMapping empty;
    return empty;
}

LineColour colourOf(const ConnectionLine& l, std::int32_t index, const EditorState& s) {
    if (index == s.selectedLine)
        return LineColour::Selected;
    if (s.mode == EditMode::SelectLine && index == s.hoverLine)
        return LineColour::Hovered;
    if (l.visible == 0)
        return LineColour::Invisible;
    return l.style == LineStyle::Wavy ? LineColour::Wavy : LineColour::Straight;
}

} // namespace

const EditorCommandInfo& commandInfo(EditorCommand c) {
    static const std::array<EditorCommandInfo, kEditorCommandCount> info{{
        {"To begin IGE", "В начало разреза"},
        {"To left", "Сдвиг влево"},
        {"To right", "Сдвиг вправо"},
        {"To end IGE", "В конец разреза"},
        {"Show 2 IGE", "Показывать по 2 выработки"},
        {"Show 3 IGE", "Показывать по 3 выработки"},
        {"Draw", "Режим отрисовки линий"},
        {"Select line", "Режим выбора линий"},
        {"Next line", "Следующая линия"},
        {"Previos line", "Предыдущая линия"},
        {"Auto bild", "Автоматическое соединение ИГЭ"},
        {"Delete line", "Удалить линию"},
        {"Delete all lines", "Удалить все соединения"},
        {"Select point", "Режим работы с точками"},
        {"Delete point", "Удалить точку"},
        {"Line", "Прямая линия"},
        {"Wave line", "Размытая линия"},
        {"Visial line", "Видимая граница"},
        {"Un-Visial line", "Невидимая граница"},
        {"Exit", "Выход"},
        {"Undo", "Отменить (Ctrl+Z)"},
        {"Redo", "Повторить (Ctrl+Y)"},
    }};
    return info[static_cast<std::size_t>(c)];
}

Status CheckEditable(const ConnectionModel& model) {
    for (std::int32_t i = 0; i + 1 < model.boreholeCount(); ++i) {
        const auto& a = model.boreholes[ix(i)];
        const auto& b = model.boreholes[ix(i + 1)];
        const double dx = static_cast<double>(b.x) - a.x;
        const double dy = static_cast<double>(b.y) - a.y;
        const auto pair = a.displayName() + " и " + b.displayName();
        if (std::trunc(std::sqrt(dx * dx + dy * dy)) <= 0)
            return Error{"Выработки " + pair + " стоят в одной точке:\rмасштаб не определен",
                         "Stop"};
        const double top = std::max<double>(a.collarElevation, b.collarElevation);
        const double bottom = std::min(static_cast<double>(a.collarElevation) - a.depth,
                                       static_cast<double>(b.collarElevation) - b.depth);
        if (top - bottom <= 0)
            return Error{"У выработок " + pair + " нет перепада отметок:\rмасштаб не определен",
                         "Stop"};
    }
    return success();
}

Result<EditorOpening> OpenConnectionEditor(const platform::WorkFolder& folder,
                                           platform::MessageSink& sink, std::int32_t object,
                                           std::optional<std::int32_t> storedSection,
                                           const std::vector<std::int32_t>& fileNumbers) {
    EditorOpening opening;
    opening.workCopyExisted = folder.exists(store::paths::kWorkSlo);
    auto model = LoadSectionBoreholes(folder, object, fileNumbers);
    if (!model) {
        sink.report(model.error());
        return model.error();
    }
    if (auto st = CheckEditable(*model); !st) {
        sink.report(st.error());
        return st.error();
    }
    if (auto st = ReconcileConnections(folder, sink, *model, object, storedSection); !st) {
        CloseConnectionEditor(folder, opening, false);
        sink.report(st.error());
        return st.error();
    }
    ShowChangeReport(folder, sink, false);
    opening.model = std::move(*model);
    return opening;
}

void CloseConnectionEditor(const platform::WorkFolder& folder, const EditorOpening& opening,
                           bool saved) {
    if (!saved && !opening.workCopyExisted)
        folder.removeFile(store::paths::kWorkSlo);
}

EditorSession::EditorSession(ConnectionModel model) : m_model(std::move(model)) {
    m_shown = m_model.boreholeCount() < 3 ? 2 : 3;
    m_state.status = std::string(kEditorStarted);
}

bool EditorSession::resize(std::int32_t width, std::int32_t height) {
    m_width = width;
    m_height = height;
    return setView(m_firstShown, m_shown);
}

bool EditorSession::setView(std::int32_t firstShown, std::int32_t shown) {
    m_firstShown = firstShown;
    m_shown = shown;
    m_map.reset();
    if (m_width > 0 && m_height > 0) {
        auto map = MakeScreenMapping(m_model, m_width, m_height, m_firstShown, m_shown);
        if (map)
            m_map = std::move(*map);
    }
    // Without a mapping no mouse event can end a drag: it ends here.
    if (!m_map)
        endCapture();
    return m_map.has_value();
}

void EditorSession::endCapture() {
    if (!m_state.dragging)
        return;
    m_state.dragging = false;
    m_state.startPoint = -1;
    if (m_moveStart)
        recordIfChanged(std::move(*m_moveStart));
    m_moveStart.reset();
}

bool EditorSession::navigate(std::int32_t firstShown) {
    firstShown = std::clamp(firstShown, 0, std::max(0, m_model.boreholeCount() - m_shown));
    if (firstShown == m_firstShown)
        return false;
    setView(firstShown, m_shown);
    m_state.status = "Смена текущих выработок";
    return true;
}

EditorSession::Snapshot EditorSession::capture(std::string_view action) const {
    return {m_model.points, m_model.lines, m_state.selectedLine, m_state.selectedPoint,
            std::string(action)};
}

void EditorSession::restore(const Snapshot& s) {
    m_model.points = s.points;
    m_model.lines = s.lines;
    // Only the current mode's kind of selection comes back: drawing mode selects nothing.
    const bool lineMode = m_state.mode == EditMode::SelectLine;
    const bool pointMode = m_state.mode == EditMode::Point;
    m_state.selectedLine = lineMode && s.selectedLine < m_model.lineCount() ? s.selectedLine : -1;
    m_state.selectedPoint =
        pointMode && s.selectedPoint < m_model.pointCount() ? s.selectedPoint : -1;
    m_state.hoverLine = m_state.hoverPoint = m_state.startPoint = -1;
    m_state.dragging = false;
}

void EditorSession::recordIfChanged(Snapshot before) {
    if (before.points == m_model.points && before.lines == m_model.lines)
        return;
    m_redo.clear();
    m_undo.push_back(std::move(before));
    std::size_t bytes = 0;
    for (const auto& step : m_undo)
        bytes += step.points.size() * sizeof(ConnectionPoint) +
                 step.lines.size() * sizeof(ConnectionLine);
    std::size_t drop = 0;
    while (m_undo.size() - drop > 1 && (m_undo.size() - drop > kUndoDepth || bytes > kUndoBytes)) {
        bytes -= m_undo[drop].points.size() * sizeof(ConnectionPoint) +
                 m_undo[drop].lines.size() * sizeof(ConnectionLine);
        ++drop;
    }
    m_undo.erase(m_undo.begin(), m_undo.begin() + static_cast<std::ptrdiff_t>(drop));
}

// An operation that runs out of memory half way leaves the model as it was before it.
template <class F> bool EditorSession::edit(std::string_view action, F&& op) {
    auto before = capture(action);
    try {
        const bool changed = op();
        recordIfChanged(before);
        return changed;
    } catch (const std::bad_alloc&) {
        restore(before);
        throw;
    }
}

bool EditorSession::undo() {
    if (!canUndo())
        return false;
    m_redo.push_back(capture(m_undo.back().action));
    auto step = std::move(m_undo.back());
    m_undo.pop_back();
    restore(step);
    m_state.status = "Отменено: " + step.action;
    return true;
}

bool EditorSession::redo() {
    if (!canRedo())
        return false;
    m_undo.push_back(capture(m_redo.back().action));
    auto step = std::move(m_redo.back());
    m_redo.pop_back();
    restore(step);
    m_state.status = "Повторено: " + step.action;
    return true;
}

bool EditorSession::run(EditorCommand c, platform::MessageSink& sink) {
    const auto count = m_model.boreholeCount();
    Editor ed{m_model, m_map ? *m_map : noMapping(), m_state};
    // A point being moved stops where it is before anything else happens, so the move is its
    // own undo step. A pending segment survives navigation and the settings, but not commands
    // that renumber points: its start could move.
    if (m_state.mode == EditMode::Point && c != EditorCommand::Exit)
        endCapture();
    if (c == EditorCommand::DeleteLine || c == EditorCommand::DeletePoint)
        endCapture();
    switch (c) {
    case EditorCommand::ToBegin:
        return navigate(0);
    case EditorCommand::ToLeft:
        return m_firstShown > 0 && navigate(m_firstShown - 1);
    case EditorCommand::ToRight:
        return m_firstShown + m_shown < count && navigate(m_firstShown + 1);
    case EditorCommand::ToEnd:
        return navigate(count - m_shown);
    case EditorCommand::Show2:
    case EditorCommand::Show3: {
        const std::int32_t shown = c == EditorCommand::Show2 ? 2 : 3;
        if (shown > count)
            return false;
        auto first = m_firstShown;
        if (first + shown > count)
            first = count - shown;
        setView(first, shown);
        m_state.status = "Выбран режим отображения по " + std::to_string(shown) + " выработки";
        return true;
    }
    case EditorCommand::Draw:
        return ed.setMode(EditMode::Draw);
    case EditorCommand::SelectLine:
        return ed.setMode(EditMode::SelectLine);
    case EditorCommand::SelectPoint:
        return ed.setMode(EditMode::Point);
    case EditorCommand::NextLine:
        return ed.nextLine();
    case EditorCommand::PreviousLine:
        return ed.previousLine();
    case EditorCommand::AutoBuild:
        if (!AutoConnectOffered(m_model))
            return false;
        return edit("автоматическое соединение", [&] {
            auto added = AutoConnect(m_model, m_state.currentStyle, m_state.currentVisible);
            if (!added) {
                sink.report(added.error());
                return false;
            }
            m_state.status = std::string(kAutoConnectDone);
            return m_model.lineCount() > 0;
        });
    case EditorCommand::DeleteLine:
        return edit("удаление линии", [&] { return ed.deleteLine(); });
    case EditorCommand::DeleteAllLines:
        return edit("удаление всех соединений", [&] { return ed.deleteAllLines(sink); });
    case EditorCommand::DeletePoint:
        return edit("удаление точки", [&] { return ed.deletePoint(); });
    case EditorCommand::StraightLine:
    case EditorCommand::WavyLine:
        return edit("смена типа линии", [&] {
            return ed.setStyle(c == EditorCommand::StraightLine ? LineStyle::Straight
                                                                : LineStyle::Wavy);
        });
    case EditorCommand::VisibleLine:
    case EditorCommand::InvisibleLine:
        return edit("смена видимости линии",
                    [&] { return ed.setVisible(c == EditorCommand::VisibleLine ? 1 : 0); });
    case EditorCommand::Undo:
        return undo();
    case EditorCommand::Redo:
        return redo();
    case EditorCommand::Exit:
        return false;
    }
    return false;
}

bool EditorSession::scroll(ScrollAction action, std::int32_t thumb) {
    switch (action) {
    case ScrollAction::LineLeft:
        return navigate(m_firstShown - 1);
    case ScrollAction::LineRight:
        return navigate(m_firstShown + 1);
    case ScrollAction::PageLeft:
        return navigate(m_firstShown - m_shown);
    case ScrollAction::PageRight:
        return navigate(m_firstShown + m_shown);
    case ScrollAction::Thumb:
        return navigate(thumb);
    case ScrollAction::Other:
        break;
    }
    return false;
}

bool EditorSession::mouseMove(ScreenPos c) {
    if (!m_map)
        return false;
    m_cursor = c;
    Editor ed{m_model, *m_map, m_state};
    if (m_state.mode == EditMode::Point && m_state.dragging)
        return ed.moveTo(c);
    const auto point = m_state.hoverPoint;
    const auto line = m_state.hoverLine;
    ed.hover(c);
    return m_state.dragging || point != m_state.hoverPoint ||
           (m_state.mode == EditMode::SelectLine && line != m_state.hoverLine);
}

bool EditorSession::leftDown(ScreenPos c) {
    if (!m_map)
        return false;
    m_cursor = c;
    Editor ed{m_model, *m_map, m_state};
    switch (m_state.mode) {
    case EditMode::Draw:
        if (!m_state.dragging)
            return ed.beginSegment(c);
        return edit("создание отрезка", [&] { return ed.finishSegment(c); });
    case EditMode::SelectLine:
        return ed.selectLine(c);
    case EditMode::Point: {
        auto before = capture("перемещение точки");
        if (!ed.beginMove(c))
            return false;
        m_moveStart = std::move(before);
        return true;
    }
    }
    return false;
}

bool EditorSession::leftUp(ScreenPos c) {
    if (!m_map || m_state.mode != EditMode::Point || !m_state.dragging)
        return false;
    m_cursor = c;
    Editor ed{m_model, *m_map, m_state};
    const bool moved = ed.endMove();
    if (m_moveStart)
        recordIfChanged(std::move(*m_moveStart));
    m_moveStart.reset();
    return moved;
}

bool EditorSession::doubleClick(ScreenPos c) {
    if (!m_map)
        return false;
    if (m_state.mode != EditMode::Point)
        return leftDown(c); // a quick second click still counts in these modes
    m_cursor = c;
    Editor ed{m_model, *m_map, m_state};
    return edit("создание точки изгиба", [&] { return ed.createBend(c); });
}

bool EditorSession::rightDown(ScreenPos c) {
    if (!m_map || !m_state.dragging)
        return false;
    m_cursor = c;
    Editor ed{m_model, *m_map, m_state};
    ed.cancelDrag();
    if (m_moveStart)
        recordIfChanged(std::move(*m_moveStart));
    m_moveStart.reset();
    return true;
}

ToolbarState EditorSession::toolbar() const {
    ToolbarState t;
    auto set = [&](EditorCommand c, bool enabled, bool pressed = false) {
        t.enabled[static_cast<std::size_t>(c)] = enabled;
        t.pressed[static_cast<std::size_t>(c)] = pressed;
    };
    const auto count = m_model.boreholeCount();
    const bool left = m_firstShown > 0;
    const bool right = m_firstShown + m_shown < count;
    set(EditorCommand::ToBegin, left);
    set(EditorCommand::ToLeft, left);
    set(EditorCommand::ToRight, right);
    set(EditorCommand::ToEnd, right);
    set(EditorCommand::Show2, true, m_shown == 2);
    set(EditorCommand::Show3, count > 2, m_shown == 3);
    set(EditorCommand::Draw, true, m_state.mode == EditMode::Draw);
    set(EditorCommand::SelectLine, true, m_state.mode == EditMode::SelectLine);
    set(EditorCommand::SelectPoint, true, m_state.mode == EditMode::Point);
    const auto selected = m_state.selectedLine;
    const bool hasSelection = selected >= 0 && selected < m_model.lineCount();
    set(EditorCommand::NextLine, hasSelection && selected < m_model.lineCount() - 1);
    set(EditorCommand::PreviousLine, hasSelection && selected > 0);
    set(EditorCommand::AutoBuild, AutoConnectOffered(m_model));
    set(EditorCommand::DeleteLine, hasSelection);
    set(EditorCommand::DeleteAllLines, m_model.lineCount() > 0);
    set(EditorCommand::DeletePoint, m_state.selectedPoint >= 0);
    const auto style = hasSelection ? m_model.lines[ix(selected)].style : m_state.currentStyle;
    const auto visible =
        hasSelection ? m_model.lines[ix(selected)].visible : m_state.currentVisible;
    set(EditorCommand::StraightLine, true, style == LineStyle::Straight);
    set(EditorCommand::WavyLine, true, style == LineStyle::Wavy);
    set(EditorCommand::VisibleLine, true, visible != 0);
    set(EditorCommand::InvisibleLine, true, visible == 0);
    set(EditorCommand::Exit, true);
    set(EditorCommand::Undo, canUndo());
    set(EditorCommand::Redo, canRedo());
    t.scrollVisible = m_shown < count;
    t.scrollMax = std::max(0, count - m_shown);
    t.scrollPos = m_firstShown;
    t.scrollPage = m_shown;
    return t;
}

Scene EditorSession::scene() const {
    Scene s;
    s.width = m_width;
    s.height = m_height;
    if (!m_map)
        return s;
    const auto& map = *m_map;
    std::vector<ScreenPos> screen;
    screen.reserve(m_model.points.size());
    for (const auto& p : m_model.points)
        screen.push_back(map.pos(p));

    try {
        std::vector<PointPosition> model;
        model.reserve(screen.size());
        for (const auto& p : screen)
            model.push_back({map.modelX(p), map.modelY(p)});
        const LinesByPoint byPoint(m_model);
        for (std::int32_t i = 0; i < m_model.pointCount(); ++i) {
            if (m_model.points[ix(i)].isFree())
                continue;
            for (const auto sense : {Sense::Left, Sense::Right}) {
                auto area = TraceArea(m_model, byPoint, model, i, sense);
                if (!area)
                    continue;
                SceneArea a;
                a.ige = area->ige;
                for (const auto p : area->outline)
                    a.outline.push_back(screen[ix(p)]);
                s.areas.push_back(std::move(a));
            }
        }
    } catch (const std::bad_alloc&) {
        s.areasFailed = true;
    }

    for (auto j = m_firstShown; j < m_firstShown + m_shown && j < m_model.boreholeCount(); ++j) {
        const auto& hole = m_model.boreholes[ix(j)];
        const auto collar = map.toScreen(map.boreX[ix(j)], map.collarY[ix(j)]);
        const auto length = static_cast<std::int32_t>(
            std::clamp(static_cast<double>(static_cast<float>(hole.depth) * map.vScale), 0.0, 1e9));
        s.boreholes.push_back({collar, {collar.x, collar.y + length}, hole.displayName()});
        for (std::int32_t r = 1; r < hole.rowCount(); ++r) {
            const auto top = screen[ix(m_model.boreholePointIndex(j, r - 1))];
            const auto base = screen[ix(m_model.boreholePointIndex(j, r))];
            s.labels.push_back(
                {igeLabel(m_model, hole.rowIge[ix(r)]), collar.x - 5,
                 static_cast<std::int32_t>((static_cast<std::int64_t>(top.y) + base.y) / 2)});
        }
    }
    for (std::int32_t i = 0; i < m_model.lineCount(); ++i) {
        const auto& l = m_model.lines[ix(i)];
        s.lines.push_back({screen[ix(l.from)], screen[ix(l.to)], colourOf(l, i, m_state)});
    }
    for (std::int32_t i = 0; i < m_model.pointCount(); ++i)
        s.points.push_back({screen[ix(i)], i == m_state.selectedPoint, i == m_state.hoverPoint});
    if (m_state.mode == EditMode::Draw && m_state.dragging && m_state.startPoint >= 0 &&
        m_state.startPoint < m_model.pointCount())
        s.rubberBand = SceneLine{screen[ix(m_state.startPoint)], m_cursor, LineColour::Selected};
    return s;
}

} // namespace orvo::connect
