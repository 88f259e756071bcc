// Connection files of the demo sections, made through the same editing functions as the editor.
#include "seed/seed_connections.h"

#include "connect/auto_connect.h"
#include "connect/connection_file.h"
#include "connect/connection_model.h"
#include "connect/editing_rules.h"
#include "connect/reconcile.h"
#include "store/store_paths.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace orvo::seed {

using nlohmann::json;

namespace {

// Editing happens in a large pixel space so that neighbouring base points stay apart for hit
// testing, as they would on a big screen.
constexpr std::int32_t kEditArea = 4000;

Error connectionError(std::int32_t section, const std::string& what) {
    return definitionError("соединения разреза " + std::to_string(section) + ": " + what);
}

std::int32_t sectionIndexOf(const connect::ConnectionModel& m, std::int32_t fileNumber) {
    for (std::int32_t i = 0; i < m.boreholeCount(); ++i)
        if (m.boreholes[static_cast<std::size_t>(i)].fileNumber == fileNumber)
            return i;
    return -1;
}

std::int32_t rowOf(const connect::ConnectionModel& m, std::int32_t b, const std::string& ige) {
    const auto name = connect::normaliseIge(platform::utf8ToCp1251(ige));
    const auto& rows = m.boreholes[static_cast<std::size_t>(b)].rowIge;
    for (std::size_t r = 1; r < rows.size(); ++r)
        if (m.igeNumbers[static_cast<std::size_t>(rows[r])] == name)
            return static_cast<std::int32_t>(r);
    return -1;
}

std::int32_t lineBetween(const connect::ConnectionModel& m, std::int32_t a, std::int32_t b) {
    for (std::int32_t l = 0; l < m.lineCount(); ++l) {
        const auto& line = m.lines[static_cast<std::size_t>(l)];
        if ((line.from == a && line.to == b) || (line.from == b && line.to == a))
            return l;
    }
    return -1;
}

// Draws a segment between two existing points the way the user does with the mouse.
bool drawSegment(connect::Editor& ed, std::int32_t from, std::int32_t to) {
    ed.setMode(connect::EditMode::Draw);
    const auto a = ed.map.pointPos(ed.model, from);
    const auto b = ed.map.pointPos(ed.model, to);
    ed.hover(a);
    if (!ed.beginSegment(a))
        return false;
    ed.hover(b);
    return ed.finishSegment(b);
}

// The pixel the line hit test accepts at the given fraction of the way from `a` to `b`.
connect::ScreenPos pointOnLine(connect::ScreenPos a, connect::ScreenPos b, double fraction) {
    const auto x = a.x + static_cast<std::int32_t>(std::lround(fraction * (b.x - a.x)));
    const float slope = static_cast<float>(b.y - a.y) / static_cast<float>(b.x - a.x);
    // Rounded as the stored demo files were made (half up, then toward zero).
    const float y = static_cast<float>(a.y) + slope * static_cast<float>(x - a.x);
    // NOLINTNEXTLINE(bugprone-incorrect-roundings)
    return {x, static_cast<std::int32_t>(y + 0.5f)};
}

// Joins the rows of borehole b from `row` down to the neighbour's rows from `neighbourRow` down,
// as long as their layers match.
Status joinBelow(connect::Editor& ed, std::int32_t section, std::int32_t b, std::int32_t row,
                 std::int32_t neighbourRow) {
    const auto& left = ed.model.boreholes[static_cast<std::size_t>(b)];
    const auto& right = ed.model.boreholes[static_cast<std::size_t>(b) + 1];
    for (; row < left.rowCount() && neighbourRow < right.rowCount() &&
           left.rowIge[static_cast<std::size_t>(row)] ==
               right.rowIge[static_cast<std::size_t>(neighbourRow)];
         ++row, ++neighbourRow)
        if (!drawSegment(ed, ed.model.boreholePointIndex(b, row),
                         ed.model.boreholePointIndex(b + 1, neighbourRow)))
            return connectionError(section, ed.state.status);
    return success();
}

// The neighbour row the base point `point` of borehole b is joined to, or -1.
std::int32_t joinedRow(const connect::ConnectionModel& m, std::int32_t b, std::int32_t point) {
    std::int32_t found = -1;
    for (std::int32_t nr = 0; nr < m.boreholes[static_cast<std::size_t>(b) + 1].rowCount(); ++nr)
        if (lineBetween(m, point, m.boreholePointIndex(b + 1, nr)) >= 0)
            found = nr;
    return found;
}

// A layer wedging out toward the next borehole: its top boundary is bent where it ends, its
// base is drawn to that bend (which becomes a node), and the layers below it are joined to the
// neighbour's rows from the one the layer's top reaches, as long as they match.
Status addPinchOut(connect::ConnectionModel& model, std::int32_t section, const json& j) {
    const auto b = sectionIndexOf(model, j.at("borehole").get<std::int32_t>());
    const auto ige = j.at("ige").get<std::string>();
    if (b < 0 || b + 1 >= model.boreholeCount())
        return connectionError(section, "выклинивание у выработки вне разреза");
    const auto r = rowOf(model, b, ige);
    if (r < 1)
        return connectionError(section, "нет ИГЭ " + ige);
    auto map = connect::MakeScreenMapping(model, kEditArea, kEditArea, b, 2);
    if (!map)
        return map.error();
    const auto top = model.boreholePointIndex(b, r - 1);
    const auto neighbourRow = joinedRow(model, b, top);
    if (neighbourRow < 0)
        return connectionError(section, "кровля ИГЭ " + ige + " не соединена");
    connect::EditorState state;
    connect::Editor ed{model, *map, state};
    ed.setMode(connect::EditMode::Point);
    const auto at = pointOnLine(map->pointPos(model, top),
                                map->pointPos(model, model.boreholePointIndex(b + 1, neighbourRow)),
                                j.value("reach", 0.5));
    if (!ed.createBend(at))
        return connectionError(section, "точка выклинивания: " + state.status);
    const auto node = model.pointCount() - 1;
    if (!drawSegment(ed, model.boreholePointIndex(b, r), node))
        return connectionError(section, "подошва ИГЭ " + ige + ": " + state.status);
    return joinBelow(ed, section, b, r + 1, neighbourRow + 1);
}

// A lens inside a layer that the borehole meets again below it: the layer's upper boundary is
// moved from above the lens to below it, and the lens is closed toward the next borehole by a
// bend point between its top and its base.
Status addLens(connect::ConnectionModel& model, std::int32_t section, const json& j) {
    const auto b = sectionIndexOf(model, j.at("borehole").get<std::int32_t>());
    const auto ige = j.at("ige").get<std::string>();
    if (b < 0 || b + 1 >= model.boreholeCount())
        return connectionError(section, "линза у выработки вне разреза");
    const auto r = rowOf(model, b, ige);
    const auto& rows = model.boreholes[static_cast<std::size_t>(b)].rowIge;
    if (r < 1 || r + 1 >= static_cast<std::int32_t>(rows.size()) ||
        rows[static_cast<std::size_t>(r) + 1] != rows[static_cast<std::size_t>(r) - 1])
        return connectionError(section, "ИГЭ " + ige + " не лежит внутри одного слоя");
    const auto top = model.boreholePointIndex(b, r - 1);
    const auto below = model.boreholePointIndex(b, r);
    const auto neighbourRow = joinedRow(model, b, top);
    if (neighbourRow < 0)
        return connectionError(section, "кровля линзы " + ige + " не соединена");
    auto map = connect::MakeScreenMapping(model, kEditArea, kEditArea, b, 2);
    if (!map)
        return map.error();
    connect::EditorState state;
    connect::Editor ed{model, *map, state};
    const auto neighbour = model.boreholePointIndex(b + 1, neighbourRow);
    const auto line = lineBetween(model, top, neighbour);
    ed.setMode(connect::EditMode::SelectLine);
    if (!ed.selectLine(
            pointOnLine(map->pointPos(model, top), map->pointPos(model, neighbour), 0.5)) ||
        state.selectedLine != line || !ed.deleteLine())
        return connectionError(section, "кровля линзы " + ige + ": " + state.status);
    if (!drawSegment(ed, model.boreholePointIndex(b, r + 1), neighbour))
        return connectionError(section, "подошва линзы " + ige + ": " + state.status);
    const auto a = map->pointPos(model, top);
    const auto z = map->pointPos(model, below);
    const auto n = map->pointPos(model, neighbour);
    const connect::ScreenPos tip{
        a.x + static_cast<std::int32_t>(std::lround(j.value("reach", 0.5) * (n.x - a.x))),
        (a.y + z.y) / 2};
    ed.setMode(connect::EditMode::Draw);
    ed.hover(a);
    if (!ed.beginSegment(a) || !ed.finishSegment(tip))
        return connectionError(section, "линза " + ige + ": " + state.status);
    if (!drawSegment(ed, below, model.pointCount() - 1))
        return connectionError(section, "линза " + ige + ": " + state.status);
    return joinBelow(ed, section, b, r + 2, neighbourRow + 1);
}

// The section's connection file: automatic connection, then the hand-made edits listed in its
// definition, as the user would make them in the connection editor.
} // namespace

Status writeConnections(const store::ProjectStore& store, std::int32_t object,
                        const section::Section& sec, const json& def) {
    const auto number = sec.header.number;
    auto model = connect::LoadSectionBoreholes(store.folder(), object, sec.boreholes);
    if (!model)
        return model.error();
    if (def.value("auto", true)) {
        auto joined = connect::AutoConnect(*model, connect::LineStyle::Straight, 1);
        if (!joined)
            return joined.error();
    }
    for (const auto& p : def.value("pinchOuts", json::array()))
        if (auto st = addPinchOut(*model, number, p); !st)
            return st;
    for (const auto& l : def.value("lenses", json::array()))
        if (auto st = addLens(*model, number, l); !st)
            return st;
    // Stored in the order a merge gives, so the first viewing finds nothing to change.
    auto canonical = connect::LoadSectionBoreholes(store.folder(), object, sec.boreholes);
    if (!canonical)
        return canonical.error();
    if (auto report = connect::mergeConnections(*canonical, *model); !report)
        return report.error();
    return store.folder().writeAtomic(store::paths::sectionFile(object, number, "SLO"),
                                      connect::connectionBytes(*canonical));
}

} // namespace orvo::seed
