// The merge of stored connections into the fresh model and the change report around it.
#include "connect/reconcile.h"

#include "connect/connection_file.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "store/store_paths.h"

#include <new>

namespace orvo::connect {

namespace {

// Index of the first point of each borehole, plus the total at the end.
std::vector<std::int32_t> firstPoints(const ConnectionModel& m) {
    std::vector<std::int32_t> first{0};
    for (const auto& b : m.boreholes)
        first.push_back(first.back() + b.rowCount());
    return first;
}

std::int32_t findBorehole(const ConnectionModel& m, std::int32_t fileNumber) {
    for (std::int32_t i = 0; i < m.boreholeCount(); ++i) {
        if (m.boreholes[static_cast<std::size_t>(i)].fileNumber == fileNumber)
            return i;
    }
    return -1;
}

// Only the positions and depths matter to the connections; names and IGE labels may change.
bool sameGeometry(const SectionBorehole& a, const SectionBorehole& b) {
    return a.x == b.x && a.y == b.y && a.collarElevation == b.collarElevation &&
           a.depth == b.depth && a.rowDepth == b.rowDepth;
}

class Merge {
public:
    Merge(ConnectionModel& fresh, const ConnectionModel& old)
        : m_new(fresh), m_old(old), m_present(old.boreholes.size(), true),
          m_pointValid(old.points.size(), true), m_lineValid(old.lines.size(), true),
          m_lineMap(old.lines.size(), -1), m_local(old.points.size(), -1),
          m_oldFirst(firstPoints(old)), m_newFirst(firstPoints(fresh)) {}

    std::vector<std::string> checkBoreholes() {
        std::vector<std::string> report;
        for (std::int32_t j = 0; j < m_old.boreholeCount(); ++j) {
            const auto& hole = oldHole(j);
            if (findBorehole(m_new, hole.fileNumber) >= 0)
                continue;
            report.push_back("Выработка " + hole.displayName() + " удалена.");
            m_present[static_cast<std::size_t>(j)] = false;
            dropPoints(j, true);
            dropLines(j);
        }
        for (std::int32_t k = 0; k < m_old.boreholeCount(); ++k) {
            if (!m_present[static_cast<std::size_t>(k)])
                continue;
            const auto& hole = oldHole(k);
            const auto at = findBorehole(m_new, hole.fileNumber);
            if (sameGeometry(hole, m_new.boreholes[static_cast<std::size_t>(at)]))
                continue;
            report.push_back("Атрибуты выработки " + hole.displayName() + " изменены.");
            dropPoints(k, false);
            dropLines(k);
        }
        if (listChanged())
            report.push_back("Изменен список выработок.");
        return report;
    }

    Status carryOver() {
        for (std::int32_t l = 0; l + 1 < m_new.boreholeCount(); ++l) {
            const auto m = findPair(l);
            if (m < 0)
                continue;
            if (auto st = carryInterval(m, l); !st)
                return st;
        }
        return fixParents();
    }

private:
    const SectionBorehole& oldHole(std::int32_t j) const {
        return m_old.boreholes[static_cast<std::size_t>(j)];
    }
    const ConnectionPoint& oldPoint(std::int32_t i) const {
        return m_old.points[static_cast<std::size_t>(i)];
    }

    // Every point on borehole j (when it is gone) or every free point of its intervals.
    void dropPoints(std::int32_t j, bool removed) {
        for (std::size_t i = 0; i < m_old.points.size(); ++i) {
            const auto& p = m_old.points[i];
            if ((p.borehole == j && (removed || p.isFree())) ||
                (p.isFree() && j > 0 && p.borehole == j - 1))
                m_pointValid[i] = false;
        }
    }

    void dropLines(std::int32_t j) {
        for (std::size_t i = 0; i < m_old.lines.size(); ++i) {
            const auto& l = m_old.lines[i];
            const auto& a = oldPoint(l.from);
            const auto& b = oldPoint(l.to);
            const bool badEnd = !m_pointValid[static_cast<std::size_t>(l.from)] ||
                                !m_pointValid[static_cast<std::size_t>(l.to)];
            const bool onJ = !a.isFree() && !b.isFree() && (a.borehole == j || b.borehole == j);
            if (badEnd || onJ)
                m_lineValid[i] = false;
        }
    }

    bool listChanged() const {
        if (m_new.boreholeCount() != m_old.boreholeCount())
            return true;
        for (std::size_t i = 0; i < m_new.boreholes.size(); ++i) {
            if (m_new.boreholes[i].fileNumber != m_old.boreholes[i].fileNumber)
                return true;
        }
        return false;
    }

    // The first old interval holding the same pair in the same orientation, or -1.
    std::int32_t findPair(std::int32_t l) const {
        const auto a = m_new.boreholes[static_cast<std::size_t>(l)].fileNumber;
        const auto b = m_new.boreholes[static_cast<std::size_t>(l) + 1].fileNumber;
        for (std::int32_t m = 0; m + 1 < m_old.boreholeCount(); ++m) {
            if (m_present[static_cast<std::size_t>(m)] && oldHole(m).fileNumber == a &&
                oldHole(m + 1).fileNumber == b)
                return m;
        }
        return -1;
    }

    void mapRows(std::int32_t oldHoleIndex, std::int32_t newHoleIndex) {
        const auto rows =
            std::min(oldHole(oldHoleIndex).rowCount(),
                     m_new.boreholes[static_cast<std::size_t>(newHoleIndex)].rowCount());
        for (std::int32_t r = 0; r < rows; ++r)
            setLocal(m_oldFirst[static_cast<std::size_t>(oldHoleIndex)] + r,
                     m_newFirst[static_cast<std::size_t>(newHoleIndex)] + r);
    }

    void setLocal(std::int32_t oldIndex, std::int32_t newIndex) {
        m_local[static_cast<std::size_t>(oldIndex)] = newIndex;
        m_touched.push_back(oldIndex);
    }

    std::int32_t local(std::int32_t oldIndex) const {
        return m_local[static_cast<std::size_t>(oldIndex)];
    }

    Status carryInterval(std::int32_t m, std::int32_t l) {
        for (const auto i : m_touched)
            m_local[static_cast<std::size_t>(i)] = -1;
        m_touched.clear();
        mapRows(m, l);
        mapRows(m + 1, l + 1);
        for (std::int32_t i = m_old.boreholePointTotal(); i < m_old.pointCount(); ++i) {
            auto p = oldPoint(i);
            if (!m_pointValid[static_cast<std::size_t>(i)] || p.borehole != m)
                continue;
            m_carried.push_back({m_new.pointCount(), p.ref});
            p.borehole = l;
            if (auto st = m_new.addPoint(p); !st)
                return st;
            setLocal(i, m_carried.back().newIndex);
        }
        for (std::int32_t i = 0; i < m_old.lineCount(); ++i) {
            const auto& line = m_old.lines[static_cast<std::size_t>(i)];
            const auto toHole = oldPoint(line.to).borehole;
            if (!m_lineValid[static_cast<std::size_t>(i)] || oldPoint(line.from).borehole != m ||
                (toHole != m && toHole != m + 1) || local(line.from) < 0 || local(line.to) < 0)
                continue;
            m_lineMap[static_cast<std::size_t>(i)] = m_new.lineCount();
            if (auto st =
                    m_new.addLine({local(line.from), local(line.to), line.style, line.visible});
                !st)
                return st;
        }
        return success();
    }

    // A carried point whose parent line stayed behind takes the last carried line through it,
    // as deleting a parent line does in the editor; a point left without lines is dropped.
    Status fixParents() {
        std::vector<std::int32_t> orphans;
        for (const auto& c : m_carried) {
            auto& p = m_new.points[static_cast<std::size_t>(c.newIndex)];
            p.ref = m_lineMap[static_cast<std::size_t>(c.oldRef)];
            for (std::int32_t li = m_new.lineCount() - 1; p.ref < 0 && li >= 0; --li) {
                const auto& line = m_new.lines[static_cast<std::size_t>(li)];
                if (line.from == c.newIndex || line.to == c.newIndex)
                    p.ref = li;
            }
            if (p.ref < 0)
                orphans.push_back(c.newIndex);
        }
        for (auto it = orphans.rbegin(); it != orphans.rend(); ++it) {
            m_new.points.erase(m_new.points.begin() + *it);
            for (auto& line : m_new.lines) {
                line.from -= line.from > *it ? 1 : 0;
                line.to -= line.to > *it ? 1 : 0;
            }
        }
        return success();
    }

    struct Carried {
        std::int32_t newIndex;
        std::int32_t oldRef;
    };

    ConnectionModel& m_new;
    const ConnectionModel& m_old;
    std::vector<bool> m_present;
    std::vector<bool> m_pointValid;
    std::vector<bool> m_lineValid;
    std::vector<std::int32_t> m_lineMap; // old line index to new, -1 when not carried
    std::vector<std::int32_t> m_local;   // old point index to new within one interval
    std::vector<std::int32_t> m_touched; // entries of m_local to clear before the next interval
    std::vector<Carried> m_carried;
    std::vector<std::int32_t> m_oldFirst;
    std::vector<std::int32_t> m_newFirst;
};

Status writeReport(const platform::WorkFolder& folder, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += platform::utf8ToCp1251(line) + "\n";
    return folder.writeAtomic(kChangeReport, platform::Bytes(text.begin(), text.end()));
}

Status reconcile(const platform::WorkFolder& folder, platform::MessageSink& sink,
                 ConnectionModel& model, std::int32_t object,
                 std::optional<std::int32_t> storedSection) {
    // A report left by an interrupted run describes another model.
    folder.removeFile(kChangeReport);
    if (!folder.exists(store::paths::kWorkSlo)) {
        if (!storedSection)
            return success();
        const auto own = store::paths::sectionFile(object, *storedSection, "SLO");
        if (!folder.exists(own))
            return success();
        if (auto st = folder.copyFile(own, store::paths::kWorkSlo); !st)
            return st;
    }
    auto stored = ReadConnections(folder, store::paths::kWorkSlo);
    if (stored.missing)
        return success();
    if (!stored.model) {
        sink.report(stored.model.error());
        return success();
    }
    auto report = mergeConnections(model, *stored.model);
    if (!report)
        return report.error();
    if (report->empty())
        return success();
    return writeReport(folder, *report);
}

} // namespace

Result<std::vector<std::string>> mergeConnections(ConnectionModel& fresh,
                                                  const ConnectionModel& stored) {
    ConnectionModel merged = fresh;
    Merge merge(merged, stored);
    auto report = merge.checkBoreholes();
    if (auto st = merge.carryOver(); !st)
        return st.error();
    fresh = std::move(merged);
    return report;
}

Status ReconcileConnections(const platform::WorkFolder& folder, platform::MessageSink& sink,
                            ConnectionModel& model, std::int32_t object,
                            std::optional<std::int32_t> storedSection) {
    try {
        return reconcile(folder, sink, model, object, storedSection);
    } catch (const std::bad_alloc&) {
        return Error{platform::kNoMemoryText, "Stop"};
    }
}

std::optional<std::vector<std::string>> TakeChangeReport(const platform::WorkFolder& folder) {
    const auto in = folder.read(kChangeReport, std::uint64_t{1} << 20);
    if (!in.ok())
        return std::nullopt;
    folder.removeFile(kChangeReport);
    std::vector<std::string> lines;
    std::string line;
    for (const auto c : in.bytes) {
        if (c != '\n') {
            line.push_back(static_cast<char>(c));
            continue;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // The report box holds lines of at most 199 characters.
        lines.push_back(platform::cp1251ToUtf8(line.substr(0, 199)));
        line.clear();
    }
    if (!line.empty())
        lines.push_back(platform::cp1251ToUtf8(line.substr(0, 199)));
    return lines;
}

bool ShowChangeReport(const platform::WorkFolder& folder, platform::MessageSink& sink,
                      bool withHint) {
    const auto lines = TakeChangeReport(folder);
    if (!lines)
        return false;
    std::string text =
        "Текущее состояние разреза\rне соответствует\rсохраненному описанию соединений ИГЭ.";
    for (const auto& line : *lines)
        text += "\r" + line;
    if (withHint)
        text += std::string("\r") + kReportHint;
    sink.show(kReportCaption, text, platform::Icon::Information);
    return true;
}

} // namespace orvo::connect
