// Automatic connection of neighbouring boreholes and the walk that traces IGE area outlines.
#include "connect/auto_connect.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvo::connect {

namespace {

std::size_t ix(std::int32_t i) {
    return static_cast<std::size_t>(i);
}

std::int32_t farEnd(const ConnectionLine& line, std::int32_t point) {
    return line.from == point ? line.to : line.from;
}

bool rightOf(std::int32_t bearing) {
    return bearing < 180;
}

bool leftOf(std::int32_t bearing) {
    return bearing > 180;
}

// One trace: the outline grows point by point until it closes on the start borehole, a rule
// refuses the next step, or it would outgrow the model (a walk circling without reaching the
// start borehole never closes, so it stops there as not closed).
class Walk {
public:
    Walk(const ConnectionModel& model, const LinesByPoint& lines,
         std::span<const PointPosition> positions, std::int32_t start, Sense sense)
        : m_model(model), m_lines(lines), m_pos(positions), m_start(start), m_below(start + 1),
          m_sense(sense) {}

    std::optional<TracedArea> run();

private:
    enum class Step { Next, Closed, Failed };

    bool validStart() const;
    const ConnectionPoint& point(std::int32_t i) const { return m_model.points[ix(i)]; }
    bool onStartBorehole(const ConnectionPoint& p) const {
        return p.kind == PointKind::Borehole && p.borehole == m_borehole;
    }
    bool append(std::int32_t i);
    // The far end of the first line at k, in line order, whose bearing from k passes `side`.
    std::optional<std::int32_t> leave(std::int32_t k, bool (*side)(std::int32_t)) const;
    Step onStartBoreholeStep(std::int32_t k);
    Step onOtherBoreholeStep(std::int32_t k);
    Step nodeStep(std::int32_t k, std::int32_t prev);
    Step bendStep(std::int32_t k, std::int32_t prev);

    const ConnectionModel& m_model;
    const LinesByPoint& m_lines;
    std::span<const PointPosition> m_pos;
    std::int32_t m_start;
    std::int32_t m_below;
    Sense m_sense;
    std::int32_t m_borehole = 0;
    std::int32_t m_next = 0;
    bool m_walkingUp = false;
    bool m_walkingDown = false;
    std::vector<std::int32_t> m_outline;
};

bool Walk::validStart() const {
    const auto count = m_model.pointCount();
    if (m_start < 0 || m_below >= count || m_model.lineCount() == 0)
        return false;
    if (m_pos.size() < ix(count))
        return false;
    const auto& s = point(m_start);
    const auto& b = point(m_below);
    return s.kind == PointKind::Borehole && b.kind == PointKind::Borehole &&
           b.borehole == s.borehole;
}

bool Walk::append(std::int32_t i) {
    if (m_outline.size() + 1 > ix(m_model.pointCount()) + 1)
        return false;
    m_outline.push_back(i);
    return true;
}

std::optional<std::int32_t> Walk::leave(std::int32_t k, bool (*side)(std::int32_t)) const {
    for (const auto li : m_lines.at(k)) {
        const auto q = farEnd(m_model.lines[ix(li)], k);
        if (side(Bearing(m_pos[ix(k)], m_pos[ix(q)])))
            return q;
    }
    return std::nullopt;
}

Walk::Step Walk::onStartBoreholeStep(std::int32_t k) {
    if (k < m_start)
        return Step::Failed;
    if (m_walkingUp) {
        const auto q = leave(k, m_sense == Sense::Right ? rightOf : leftOf);
        m_walkingUp = false;
        if (!q)
            return Step::Failed;
        m_next = *q;
        return Step::Next;
    }
    if (point(k).ref != point(m_below).ref)
        return Step::Failed;
    if (k == m_below)
        return append(m_start) ? Step::Closed : Step::Failed;
    // Past a lens of another IGE on the start borehole: climb to the lens base and go round it.
    m_walkingUp = true;
    m_next = k - 1;
    return Step::Next;
}

Walk::Step Walk::onOtherBoreholeStep(std::int32_t k) {
    if (m_sense == Sense::Left)
        return Step::Failed;
    if (m_walkingDown) {
        const auto q = leave(k, m_sense == Sense::Right ? leftOf : rightOf);
        m_walkingDown = false;
        if (!q)
            return Step::Failed;
        m_next = *q;
        return Step::Next;
    }
    const auto down = k + 1;
    if (down >= m_model.pointCount())
        return Step::Failed;
    const auto& here = point(k);
    const auto& next = point(down);
    if (next.kind != PointKind::Borehole || next.borehole != here.borehole ||
        next.ref != point(m_below).ref)
        return Step::Failed;
    m_walkingDown = true;
    m_next = down;
    return Step::Next;
}

Walk::Step Walk::nodeStep(std::int32_t k, std::int32_t prev) {
    std::optional<std::int32_t> best;
    std::int32_t bestTurn = 0;
    for (const auto li : m_lines.at(k)) {
        const auto q = farEnd(m_model.lines[ix(li)], k);
        if (q == prev)
            continue;
        const auto turn = Turn(m_sense, m_pos[ix(prev)], m_pos[ix(k)], m_pos[ix(q)]);
        if (!best || turn < bestTurn) {
            best = q;
            bestTurn = turn;
        }
    }
    if (!best)
        return Step::Failed;
    m_next = *best;
    return Step::Next;
}

Walk::Step Walk::bendStep(std::int32_t k, std::int32_t prev) {
    for (const auto li : m_lines.at(k)) {
        const auto q = farEnd(m_model.lines[ix(li)], k);
        if (q != prev) {
            m_next = q;
            return Step::Next;
        }
    }
    return Step::Failed;
}

std::optional<TracedArea> Walk::run() {
    if (!validStart())
        return std::nullopt;
    m_borehole = point(m_start).borehole;
    m_outline.push_back(m_start);
    const auto first = leave(m_start, m_sense == Sense::Right ? rightOf : leftOf);
    if (!first)
        return std::nullopt;
    m_next = *first;
    for (;;) {
        const auto k = m_next;
        if (k < 0 || k >= m_model.pointCount() || !append(k))
            return std::nullopt;
        const auto prev = m_outline[m_outline.size() - 2];
        const auto& p = point(k);
        Step step = Step::Failed;
        if (onStartBorehole(p))
            step = onStartBoreholeStep(k);
        else if (p.kind == PointKind::Borehole)
            step = onOtherBoreholeStep(k);
        else if (p.kind == PointKind::Node)
            step = nodeStep(k, prev);
        else if (p.kind == PointKind::Bend)
            step = bendStep(k, prev);
        if (step == Step::Failed)
            return std::nullopt;
        if (step == Step::Closed)
            return TracedArea{std::move(m_outline), point(m_below).ref};
    }
}

} // namespace

LinesByPoint::LinesByPoint(const ConnectionModel& model) {
    const auto count = ix(model.pointCount());
    auto valid = [count](std::int32_t p) { return p >= 0 && ix(p) < count; };
    m_first.assign(count + 1, 0);
    for (const auto& line : model.lines) {
        if (!valid(line.from) || !valid(line.to))
            continue;
        ++m_first[ix(line.from) + 1];
        if (line.to != line.from)
            ++m_first[ix(line.to) + 1];
    }
    for (std::size_t i = 1; i <= count; ++i)
        m_first[i] += m_first[i - 1];
    m_lines.resize(ix(m_first[count]));
    auto fill = m_first;
    for (std::int32_t li = 0; li < model.lineCount(); ++li) {
        const auto& line = model.lines[ix(li)];
        if (!valid(line.from) || !valid(line.to))
            continue;
        m_lines[ix(fill[ix(line.from)]++)] = li;
        if (line.to != line.from)
            m_lines[ix(fill[ix(line.to)]++)] = li;
    }
}

std::span<const std::int32_t> LinesByPoint::at(std::int32_t point) const {
    if (point < 0 || static_cast<std::size_t>(point) + 1 >= m_first.size())
        return {};
    const auto first = static_cast<std::size_t>(m_first[static_cast<std::size_t>(point)]);
    const auto last = static_cast<std::size_t>(m_first[static_cast<std::size_t>(point) + 1]);
    return std::span<const std::int32_t>(m_lines).subspan(first, last - first);
}

// Single precision and the quadrant corrections match the areas the drawings were made with, so
// ties between nearly equal turns fall the same way.
std::int32_t Bearing(PointPosition p, PointPosition q) {
    constexpr float kPi = std::numbers::pi_v<float>;
    const float dx = static_cast<float>(p.x) - static_cast<float>(q.x);
    const float dy = static_cast<float>(p.y) - static_cast<float>(q.y);
    float e = 0.0f;
    if (dx != 0.0f) {
        const float a = std::atan(dy / dx);
        e = a >= 0.0f ? kPi / 2.0f - a : -a - kPi / 2.0f;
    }
    if ((dx >= 0.0f && dy >= 0.0f && !(dx == 0.0f && dy == 0.0f)) || (dx < 0.0f && dy > 0.0f))
        e += kPi;
    else if (dx > 0.0f && dy < 0.0f)
        e += 2.0f * kPi;
    return static_cast<std::int32_t>(std::trunc(e * 180.0f / kPi + 0.5f));
}

std::int32_t Turn(Sense sense, PointPosition a, PointPosition m, PointPosition n) {
    const auto b1 = Bearing(a, m);
    const auto b2 = Bearing(m, n);
    return sense == Sense::Right ? (b1 + 540 - b2) % 360 : (b2 + 540 - b1) % 360;
}

bool AutoConnectOffered(const ConnectionModel& model) {
    return model.lineCount() == 0;
}

Result<std::int32_t> AutoConnect(ConnectionModel& model, LineStyle currentStyle,
                                 std::int32_t currentVisible) {
    if (!AutoConnectOffered(model))
        return 0;
    std::int32_t added = 0;
    std::int32_t left = 0; // index of the collar point of borehole i, kept as a running sum
    for (std::int32_t i = 0; i + 1 < model.boreholeCount(); ++i) {
        const auto& a = model.boreholes[ix(i)];
        const auto& b = model.boreholes[ix(i + 1)];
        const auto right = left + a.rowCount();
        const auto n = std::min(a.rowCount(), b.rowCount());
        for (std::int32_t r = 0; r < n && a.rowIge[ix(r)] == b.rowIge[ix(r)]; ++r) {
            auto status = model.addLine({left + r, right + r, currentStyle, currentVisible});
            if (!status)
                return status.error();
            ++added;
        }
        left = right;
    }
    return added;
}

std::optional<TracedArea> TraceArea(const ConnectionModel& model, const LinesByPoint& lines,
                                    std::span<const PointPosition> positions, std::int32_t start,
                                    Sense sense) {
    return Walk(model, lines, positions, start, sense).run();
}

} // namespace orvo::connect
