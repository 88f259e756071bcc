// Reading and writing the connection file with every count and index checked before use.
#include "connect/connection_file.h"

#include "store/le_stream.h"
#include "store/store_paths.h"

#include <cassert>

namespace orvo::connect {

namespace {

// Large enough for any file the capacities allow; a longer file cannot be a connection file.
constexpr std::uint64_t kReadLimit = std::uint64_t{64} << 20;

struct Header {
    std::int32_t boreholeCount = 0;
    std::int32_t igeCount = 0;
    std::int32_t rowStride = 0;
    std::int32_t pointCount = 0;
    std::int32_t lineCount = 0;
};

bool headerFits(const Header& h, std::size_t fileSize) {
    if (h.boreholeCount < 2 || h.igeCount < 1 || h.rowStride < 1 || h.rowStride > kMaxRows ||
        h.pointCount < 0 || h.lineCount < 0)
        return false;
    const auto bc = static_cast<std::int64_t>(h.boreholeCount);
    if (h.pointCount > kPointsPerBorehole * bc || h.lineCount > kLinesPerBorehole * bc)
        return false;
    const std::uint64_t expected = kHeaderSize +
                                   kIgeEntrySize * static_cast<std::uint64_t>(h.igeCount) +
                                   kBoreholeRecordSize * static_cast<std::uint64_t>(bc) +
                                   kPointRecordSize * static_cast<std::uint64_t>(h.pointCount) +
                                   kLineRecordSize * static_cast<std::uint64_t>(h.lineCount);
    return expected == fileSize;
}

// Row tables past rowCount must be zero, or writing the model back would not give the file.
bool readBorehole(store::LeReader& r, const Header& h, SectionBorehole& b) {
    b.fileNumber = r.i32();
    r.bytes(b.name);
    b.x = r.i32();
    b.y = r.i32();
    b.collarElevation = r.i32();
    b.depth = r.i32();
    const std::int32_t rows = r.i32();
    std::array<std::int32_t, kMaxRows> ige{};
    std::array<std::int32_t, kMaxRows> depth{};
    for (auto& v : ige)
        v = r.i32();
    for (auto& v : depth)
        v = r.i32();
    if (!r.ok() || rows < 1 || rows > h.rowStride)
        return false;
    const auto n = static_cast<std::size_t>(rows);
    for (std::size_t i = 0; i < kMaxRows; ++i) {
        if (i < n && (ige[i] < 0 || ige[i] >= h.igeCount))
            return false;
        if (i >= n && (ige[i] != 0 || depth[i] != 0))
            return false;
    }
    b.rowIge.assign(ige.begin(), ige.begin() + rows);
    b.rowDepth.assign(depth.begin(), depth.begin() + rows);
    return true;
}

// `onBorehole` is the borehole whose row the index stands for, or -1 for a free point's index.
bool pointFits(const ConnectionPoint& p, std::int32_t onBorehole, const ConnectionModel& m,
               std::int32_t lineCount) {
    if (onBorehole >= 0)
        return p.kind == PointKind::Borehole && p.borehole == onBorehole && p.ref >= 0 &&
               p.ref < m.igeCount();
    const auto kind = static_cast<std::int32_t>(p.kind);
    return kind >= 2 && kind <= 4 && p.borehole >= 0 && p.borehole < m.boreholeCount() &&
           p.ref >= 0 && p.ref < lineCount;
}

std::optional<ConnectionModel> parse(std::span<const std::uint8_t> bytes) {
    store::LeReader r(bytes);
    Header h;
    h.boreholeCount = r.i32();
    h.igeCount = r.i32();
    h.rowStride = r.i32();
    h.pointCount = r.i32();
    h.lineCount = r.i32();
    if (!r.ok() || !headerFits(h, bytes.size()))
        return std::nullopt;
    ConnectionModel m;
    m.igeNumbers.resize(static_cast<std::size_t>(h.igeCount));
    for (auto& name : m.igeNumbers)
        r.bytes(name);
    m.boreholes.resize(static_cast<std::size_t>(h.boreholeCount));
    for (auto& b : m.boreholes) {
        if (!readBorehole(r, h, b))
            return std::nullopt;
    }
    if (m.rowStride() != h.rowStride || m.boreholePointTotal() > h.pointCount)
        return std::nullopt;
    std::vector<std::int32_t> owner; // the borehole of each borehole point, in point order
    for (std::int32_t b = 0; b < m.boreholeCount(); ++b)
        owner.insert(owner.end(),
                     static_cast<std::size_t>(m.boreholes[static_cast<std::size_t>(b)].rowCount()),
                     b);
    m.points.resize(static_cast<std::size_t>(h.pointCount));
    for (std::size_t i = 0; i < m.points.size(); ++i) {
        auto& p = m.points[i];
        p.kind = static_cast<PointKind>(r.i32());
        p.borehole = r.i32();
        p.ref = r.i32();
        p.offset = r.i32();
        p.depth = r.i32();
        if (!pointFits(p, i < owner.size() ? owner[i] : -1, m, h.lineCount))
            return std::nullopt;
    }
    m.lines.resize(static_cast<std::size_t>(h.lineCount));
    for (auto& l : m.lines) {
        l.from = r.i32();
        l.to = r.i32();
        l.style = static_cast<LineStyle>(r.i32());
        l.visible = r.i32();
        if (l.from < 0 || l.from >= h.pointCount || l.to < 0 || l.to >= h.pointCount)
            return std::nullopt;
    }
    if (!r.ok() || r.remaining() != 0)
        return std::nullopt;
    return m;
}

} // namespace

Error damagedConnectionsError(std::string_view path) {
    return {"Файл соединений ИГЭ \"" + std::string(path) +
                "\" поврежден.\rСохраненные соединения не учтены",
            "Warning"};
}

Result<ConnectionModel> parseConnections(std::span<const std::uint8_t> bytes,
                                         std::string_view path) {
    auto model = parse(bytes);
    if (!model)
        return damagedConnectionsError(path);
    return std::move(*model);
}

platform::Bytes connectionBytes(const ConnectionModel& m) {
    platform::Bytes out;
    store::LeWriter w(out);
    w.i32(m.boreholeCount());
    w.i32(m.igeCount());
    w.i32(m.rowStride());
    w.i32(m.pointCount());
    w.i32(m.lineCount());
    for (const auto& name : m.igeNumbers)
        w.bytes(name);
    for (const auto& b : m.boreholes) {
        assert(b.rowCount() <= kMaxRows && b.rowDepth.size() == b.rowIge.size());
        w.i32(b.fileNumber);
        w.bytes(b.name);
        w.i32(b.x);
        w.i32(b.y);
        w.i32(b.collarElevation);
        w.i32(b.depth);
        w.i32(b.rowCount());
        for (const auto* table : {&b.rowIge, &b.rowDepth}) {
            for (std::size_t i = 0; i < static_cast<std::size_t>(kMaxRows); ++i)
                w.i32(i < table->size() ? (*table)[i] : 0);
        }
    }
    for (const auto& p : m.points) {
        w.i32(static_cast<std::int32_t>(p.kind));
        w.i32(p.borehole);
        w.i32(p.ref);
        w.i32(p.offset);
        w.i32(p.depth);
    }
    for (const auto& l : m.lines) {
        w.i32(l.from);
        w.i32(l.to);
        w.i32(static_cast<std::int32_t>(l.style));
        w.i32(l.visible);
    }
    return out;
}

StoredConnections ReadConnections(const platform::WorkFolder& folder, std::string_view path) {
    StoredConnections out;
    const auto in = folder.read(path, kReadLimit);
    if (in.state == platform::ReadOutcome::State::Missing) {
        out.missing = true;
        return out;
    }
    if (!in.ok()) {
        out.model = platform::readError(in, path);
        return out;
    }
    if (in.reachedLimit) {
        out.model = damagedConnectionsError(path);
        return out;
    }
    out.model = parseConnections(in.bytes, path);
    return out;
}

Status SaveConnections(const platform::WorkFolder& folder, const ConnectionModel& model) {
    return folder.writeAtomic(store::paths::kWorkSlo, connectionBytes(model));
}

} // namespace orvo::connect
