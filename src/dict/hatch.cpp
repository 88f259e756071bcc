// Hatch records, item files, list operations and exchange files.
#include "dict/hatch.h"

#include "platform/codepage.h"
#include "platform/messages.h"
#include "store/list_file.h"
#include "store/project_store.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>

namespace orvo::dict {

std::string hatchItemPath(int slot) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "DATA\\DIC\\%.6d.HTR", slot);
    return buf;
}

void HatchListRecord::read(store::LeReader& r) {
    used = r.i32();
    r.bytes(name.raw);
}
void HatchListRecord::write(store::LeWriter& w) const {
    w.i32(used);
    w.bytes(name.raw);
}

// ---- item files ----

store::Bytes hatchItemBytes(const HatchPattern& p) {
    store::Bytes out;
    store::LeWriter w(out);
    w.i32(static_cast<std::int32_t>(p.lines.size()));
    w.i32(static_cast<std::int32_t>(p.segments.size()));
    w.i32(static_cast<std::int32_t>(p.symbols.size()));
    for (const auto& e : p.lines)
        w.f32(e.width);
    for (const auto& e : p.lines)
        w.i32(e.angle);
    for (const auto& e : p.lines)
        w.f32(e.step);
    for (float HatchSegment::*f :
         {&HatchSegment::width, &HatchSegment::x1, &HatchSegment::y1, &HatchSegment::x2,
          &HatchSegment::y2, &HatchSegment::stepX, &HatchSegment::stepY})
        for (const auto& e : p.segments)
            w.f32(e.*f);
    for (const auto& e : p.symbols)
        w.i32(e.symbol);
    for (float HatchSymbol::*f :
         {&HatchSymbol::cornerX, &HatchSymbol::cornerY, &HatchSymbol::stepX, &HatchSymbol::stepY})
        for (const auto& e : p.symbols)
            w.f32(e.*f);
    return out;
}

namespace {

constexpr std::size_t kHeaderBytes = 12;

// Column-wise arrays of one kind: `columns` arrays of `count` 4-byte values from `offset`.
class Columns {
public:
    Columns(std::span<const std::uint8_t> bytes, std::uint64_t offset, std::uint64_t count)
        : m_bytes(bytes), m_offset(offset), m_count(count) {}
    std::uint32_t raw(int column, std::size_t i) const {
        const std::uint64_t at = m_offset + 4 * (static_cast<std::uint64_t>(column) * m_count + i);
        const std::uint8_t* b = m_bytes.data() + at;
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }
    float f(int column, std::size_t i) const { return std::bit_cast<float>(raw(column, i)); }
    std::int32_t i(int column, std::size_t i) const {
        return static_cast<std::int32_t>(raw(column, i));
    }
    // Elements whose value in the last of `columns` arrays still lies inside the file.
    std::size_t whole(int columns) const {
        const std::uint64_t last = m_offset + 4 * static_cast<std::uint64_t>(columns - 1) * m_count;
        if (last >= m_bytes.size())
            return 0;
        return static_cast<std::size_t>(
            std::min<std::uint64_t>(m_count, (m_bytes.size() - last) / 4));
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::uint64_t m_offset;
    std::uint64_t m_count;
};

struct Counts {
    std::uint64_t lines = 0, segments = 0, symbols = 0;
    bool negative = false;
    std::uint64_t size() const {
        return kHeaderBytes + 4 * (3 * lines + 7 * segments + 5 * symbols);
    }
};

Counts readCounts(std::span<const std::uint8_t> bytes) {
    store::LeReader r(bytes);
    const std::int32_t n[3] = {r.i32(), r.i32(), r.i32()};
    Counts c;
    c.negative = n[0] < 0 || n[1] < 0 || n[2] < 0;
    c.lines = static_cast<std::uint64_t>(std::max(0, n[0]));
    c.segments = static_cast<std::uint64_t>(std::max(0, n[1]));
    c.symbols = static_cast<std::uint64_t>(std::max(0, n[2]));
    return c;
}

std::size_t capped(std::size_t n) {
    return std::min<std::size_t>(n, kMaxHatchElements);
}

HatchPattern parseColumns(std::span<const std::uint8_t> bytes, const Counts& c) {
    HatchPattern p;
    const Columns lines(bytes, kHeaderBytes, c.lines);
    p.lines.resize(capped(lines.whole(3)));
    for (std::size_t k = 0; k < p.lines.size(); ++k)
        p.lines[k] = {lines.f(0, k), lines.i(1, k), lines.f(2, k)};
    const Columns segs(bytes, kHeaderBytes + 12 * c.lines, c.segments);
    p.segments.resize(capped(segs.whole(7)));
    for (std::size_t k = 0; k < p.segments.size(); ++k)
        p.segments[k] = {segs.f(0, k), segs.f(1, k), segs.f(2, k), segs.f(3, k),
                         segs.f(4, k), segs.f(5, k), segs.f(6, k)};
    const Columns syms(bytes, kHeaderBytes + 12 * c.lines + 28 * c.segments, c.symbols);
    p.symbols.resize(capped(syms.whole(5)));
    for (std::size_t k = 0; k < p.symbols.size(); ++k)
        p.symbols[k] = {syms.i(0, k), syms.f(1, k), syms.f(2, k), syms.f(3, k), syms.f(4, k)};
    return p;
}

bool allFinite(const HatchPattern& p) {
    auto fin = [](std::initializer_list<float> v) {
        return std::all_of(v.begin(), v.end(), [](float f) { return std::isfinite(f); });
    };
    return std::all_of(p.lines.begin(), p.lines.end(),
                       [&](const HatchLine& e) {
                           return fin({e.width, e.step});
                       }) &&
           std::all_of(p.segments.begin(), p.segments.end(),
                       [&](const HatchSegment& e) {
                           return fin({e.width, e.x1, e.y1, e.x2, e.y2, e.stepX, e.stepY});
                       }) &&
           std::all_of(p.symbols.begin(), p.symbols.end(), [&](const HatchSymbol& e) {
               return fin({e.cornerX, e.cornerY, e.stepX, e.stepY});
           });
}

} // namespace

HatchPattern parseHatchItem(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderBytes)
        return {};
    Counts c = readCounts(bytes);
    // A negative count leaves the layout of what follows unknown.
    if (c.negative)
        return {};
    return parseColumns(bytes, c);
}

Result<HatchPattern> parseHatchItemStrict(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderBytes)
        return platform::badFileFormatError();
    const Counts c = readCounts(bytes);
    const auto max = static_cast<std::uint64_t>(kMaxHatchElements);
    if (c.negative || c.lines > max || c.segments > max || c.symbols > max ||
        c.size() != bytes.size())
        return platform::badFileFormatError();
    HatchPattern p = parseColumns(bytes, c);
    if (!allFinite(p))
        return platform::badFileFormatError();
    return p;
}

// ---- the list ----

namespace {

// Item files beyond this are read no further: 100 elements of each kind take 6 KB.
constexpr std::uint64_t kMaxStoredItemBytes = 4u << 20;

Error nameTakenError(const std::string& nameUtf8) {
    return {"Вид штриховки\r" + nameUtf8 + "\rуже существует в системе.\rИзмените наименование",
            "Ошибка"};
}

std::string trimmedName(const HatchListRecord& record) {
    return record.name.utf8Trimmed();
}

// Item file first, so the list never names a hatch without its file.
Status writeHatch(const platform::WorkFolder& folder, int slot, const HatchListRecord& record,
                  const store::Bytes& item) {
    if (auto st = folder.writeAtomic(hatchItemPath(slot), item); !st)
        return st;
    return store::PutRecord(folder, kHatchList, static_cast<std::size_t>(slot), record);
}

} // namespace

Result<std::vector<HatchListRecord>> ReadHatchList(const platform::WorkFolder& folder) {
    return store::ReadRecordList<HatchListRecord>(folder, kHatchList);
}

Result<HatchPattern> LoadHatch(const platform::WorkFolder& folder, int slot) {
    if (slot == -1)
        return HatchPattern{kNewHatchName, {}, {}, {}};
    auto list = ReadHatchList(folder);
    if (!list)
        return list.error();
    if (slot < 0 || static_cast<std::size_t>(slot) >= list->size())
        return store::BadFormatError(kHatchList);
    const std::string path = hatchItemPath(slot);
    const auto in = folder.read(path, kMaxStoredItemBytes);
    HatchPattern p;
    if (in.ok())
        p = parseHatchItem(in.bytes);
    else if (in.state != platform::ReadOutcome::State::Missing)
        return platform::readError(in, path);
    p.name = trimmedName((*list)[static_cast<std::size_t>(slot)]);
    return p;
}

HatchListRecord hatchRecord(std::string_view nameUtf8) {
    HatchListRecord rec;
    rec.used = 1;
    std::string cp = platform::utf8ToCp1251(nameUtf8);
    if (cp.size() > kHatchNameChars)
        cp.resize(kHatchNameChars);
    rec.name.setPadded(cp);
    return rec;
}

std::optional<int> findHatchByName(const std::vector<HatchListRecord>& list,
                                   const HatchListRecord& record, int except) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (static_cast<int>(i) != except && list[i].used != 0 &&
            list[i].name.raw == record.name.raw)
            return static_cast<int>(i);
    return std::nullopt;
}

Result<int> SaveHatch(const platform::WorkFolder& folder, int slot, const HatchPattern& pattern) {
    auto list = ReadHatchList(folder);
    if (!list)
        return list.error();
    const int count = static_cast<int>(list->size());
    if (slot < -1 || slot >= count)
        return store::BadFormatError(kHatchList);
    const HatchListRecord record = hatchRecord(pattern.name);
    if (findHatchByName(*list, record, slot))
        return nameTakenError(trimmedName(record));
    HatchPattern clean = pattern;
    clean.lines.resize(capped(clean.lines.size()));
    clean.segments.resize(capped(clean.segments.size()));
    clean.symbols.resize(capped(clean.symbols.size()));
    const int target = slot < 0 ? count : slot;
    if (auto st = writeHatch(folder, target, record, hatchItemBytes(clean)); !st)
        return st.error();
    return target;
}

Status DeleteHatch(const platform::WorkFolder& folder, int slot) {
    auto list = ReadHatchList(folder);
    if (!list)
        return list.error();
    if (slot < 0 || static_cast<std::size_t>(slot) >= list->size())
        return store::BadFormatError(kHatchList);
    HatchListRecord rec = (*list)[static_cast<std::size_t>(slot)];
    rec.used = 0;
    if (auto st = store::PutRecord(folder, kHatchList, static_cast<std::size_t>(slot), rec); !st)
        return st;
    folder.removeFile(hatchItemPath(slot));
    return success();
}

std::string hatchDeleteQuestion(const std::string& nameUtf8) {
    return "Вы действительно\rхотите удалить штриховку\r" + nameUtf8 + " ?";
}

// ---- exchange files ----

store::Bytes hatchExchangeBytes(const HatchListRecord& record, const HatchPattern& pattern) {
    store::Bytes out = platform::startExchange(kHatchExchange);
    store::appendRecord(out, record);
    const store::Bytes item = hatchItemBytes(pattern);
    out.insert(out.end(), item.begin(), item.end());
    return out;
}

Result<HatchExchange> parseHatchExchange(std::span<const std::uint8_t> bytes) {
    if (auto st = platform::checkExchange(bytes, kHatchExchange); !st)
        return st.error();
    const auto item = bytes.subspan(kHatchExchange.headerSize());
    auto pattern = parseHatchItemStrict(item);
    if (!pattern)
        return pattern.error();
    HatchExchange x;
    x.record = *store::parseRecord<HatchListRecord>(bytes.subspan(kHatchMagic.size()));
    x.pattern = std::move(*pattern);
    x.pattern.name = trimmedName(x.record);
    x.item.assign(item.begin(), item.end());
    return x;
}

Result<HatchExchange> ReadHatchExchange(const std::filesystem::path& file) {
    auto bytes = platform::ReadExchangeFile(file, kHatchExchange);
    if (!bytes)
        return bytes.error();
    return parseHatchExchange(*bytes);
}

Status ExportHatch(const platform::WorkFolder& folder, int slot,
                   const std::filesystem::path& file) {
    auto list = ReadHatchList(folder);
    if (!list)
        return list.error();
    auto pattern = LoadHatch(folder, slot);
    if (!pattern)
        return pattern.error();
    // The item is written from what was read, so a damaged stored file leaves as one that an
    // import accepts; a sound one comes out byte for byte.
    return platform::WriteExchangeFile(
        file, hatchExchangeBytes((*list)[static_cast<std::size_t>(slot)], *pattern));
}

Result<std::optional<int>> ImportHatch(const platform::WorkFolder& folder,
                                       const HatchExchange& item, const AskHatchConflict& ask) {
    HatchListRecord record = item.record;
    record.used = 1;
    for (;;) {
        auto list = ReadHatchList(folder);
        if (!list)
            return list.error();
        int target = static_cast<int>(list->size());
        if (const auto same = findHatchByName(*list, record)) {
            const HatchImportAnswer answer = ask(trimmedName(record));
            if (answer.choice == HatchImportAnswer::Choice::Cancel)
                return std::optional<int>{};
            if (answer.choice == HatchImportAnswer::Choice::NewName) {
                record = hatchRecord(answer.newNameUtf8);
                continue;
            }
            target = *same;
        }
        if (auto st = writeHatch(folder, target, record, item.item); !st)
            return st.error();
        return std::optional<int>{target};
    }
}

} // namespace orvo::dict
