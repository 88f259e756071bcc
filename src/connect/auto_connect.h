// Automatic connection of the layers neighbouring boreholes share, and tracing of IGE area
// outlines.
#pragma once
#include "connect/connection_model.h"
#include "platform/result.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace orvo::connect {

// Shown in the editor's status line once automatic connection has run.
inline constexpr std::string_view kAutoConnectDone = "Автоматическое соединение ИГЭ произведено";

// Integer position of a point, x growing to the right and y growing upward (with elevation).
struct PointPosition {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Which side of the start borehole a traced area lies on.
enum class Sense { Right, Left };

// The lines touching each point, in line order, so a walk does not scan every line per step.
class LinesByPoint {
public:
    explicit LinesByPoint(const ConnectionModel& model);

    // Indices of the lines with an end at `point`; empty for a point out of range.
    std::span<const std::int32_t> at(std::int32_t point) const;

private:
    std::vector<std::int32_t> m_first; // pointCount + 1 offsets into m_lines
    std::vector<std::int32_t> m_lines;
};

// Direction from p to q in whole degrees clockwise from straight up (0 up, 90 right, 180 down,
// 270 left); a bearing below 180 means q lies right of p or straight above it.
std::int32_t Bearing(PointPosition p, PointPosition q);

// How sharply the walk a -> m -> n turns in the given sense: 0 is a U-turn, 180 straight on.
std::int32_t Turn(Sense sense, PointPosition a, PointPosition m, PointPosition n);

// Automatic connection is only offered on a model without lines.
bool AutoConnectOffered(const ConnectionModel& model);

// Joins the collars and the shared layer bases of every neighbouring pair, top down, up to the
// first differing row; returns the number of lines appended (0 and no change when the model
// already has lines).
Result<std::int32_t> AutoConnect(ConnectionModel& model, LineStyle currentStyle,
                                 std::int32_t currentVisible);

// A closed outline: point indices whose first and last entries are the start point, and the
// IGE index of the area it encloses.
struct TracedArea {
    std::vector<std::int32_t> outline;
    std::int32_t ige = 0;

    std::int32_t areaCount() const { return static_cast<std::int32_t>(outline.size()); }
};

// The outline of the area below borehole point `start` on the given side, or nothing when the
// boundary is not closed; `positions` holds one entry per point of the model.
std::optional<TracedArea> TraceArea(const ConnectionModel& model, const LinesByPoint& lines,
                                    std::span<const PointPosition> positions, std::int32_t start,
                                    Sense sense);

} // namespace orvo::connect
