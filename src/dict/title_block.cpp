// Title block records, files, list operations, exchange files and working files.
#include "dict/title_block.h"

#include "platform/codepage.h"
#include "store/project_store.h"
#include "store/records.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace orvo::dict {

std::string titleBlockPath(int slot) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "DATA\\DIC\\%.5d.SHT", slot);
    return buf;
}

void TitleBlockListRecord::read(store::LeReader& r) {
    used = r.i16();
    r.bytes(name.raw);
}
void TitleBlockListRecord::write(store::LeWriter& w) const {
    w.i16(used);
    w.bytes(name.raw);
}

void LogFont::read(store::LeReader& r) {
    height = r.i32();
    width = r.i32();
    escapement = r.i32();
    orientation = r.i32();
    weight = r.i32();
    r.bytes(flags);
    r.bytes(faceName.raw);
}
void LogFont::write(store::LeWriter& w) const {
    w.i32(height);
    w.i32(width);
    w.i32(escapement);
    w.i32(orientation);
    w.i32(weight);
    w.bytes(flags);
    w.bytes(faceName.raw);
}

LogFont logFontFor(std::string_view faceUtf8) {
    LogFont f;
    f.height = -13;
    f.weight = 400;
    // Cyrillic character set, default precisions and quality, variable pitch, Swiss family.
    f.flags = {0, 0, 0, 204, 3, 2, 1, 34};
    f.faceName.setUtf8(faceUtf8, 31);
    return f;
}

void TitleSegment::read(store::LeReader& r) {
    x1 = r.i16();
    y1 = r.i16();
    x2 = r.i16();
    y2 = r.i16();
    penWidth = r.i16();
}
void TitleSegment::write(store::LeWriter& w) const {
    w.i16(x1);
    w.i16(y1);
    w.i16(x2);
    w.i16(y2);
    w.i16(penWidth);
}

namespace {
void readBox(store::LeReader& r, TitleTextBox& b) {
    b.style = r.i16();
    b.size = r.i16();
    b.x1 = r.i16();
    b.y1 = r.i16();
    b.x2 = r.i16();
    b.y2 = r.i16();
}
void writeBox(store::LeWriter& w, const TitleTextBox& b) {
    w.i16(b.style);
    w.i16(b.size);
    w.i16(b.x1);
    w.i16(b.y1);
    w.i16(b.x2);
    w.i16(b.y2);
}
} // namespace

void TitleProgramText::read(store::LeReader& r) {
    fieldCode = r.i16();
    font.read(r);
    readBox(r, box);
}
void TitleProgramText::write(store::LeWriter& w) const {
    w.i16(fieldCode);
    font.write(w);
    writeBox(w, box);
}

void TitleEditableText::read(store::LeReader& r) {
    r.bytes(text.raw);
    font.read(r);
    readBox(r, box);
}
void TitleEditableText::write(store::LeWriter& w) const {
    w.bytes(text.raw);
    font.write(w);
    writeBox(w, box);
}

namespace {

struct Extent {
    int minX1 = 9999999, maxX2 = -9999999, minY1 = 9999999, maxY2 = -9999999;
    void add(int x1, int y1, int x2, int y2) {
        minX1 = std::min(minX1, x1);
        maxX2 = std::max(maxX2, x2);
        minY1 = std::min(minY1, y1);
        maxY2 = std::max(maxY2, y2);
    }
};

template <class F> void forEachBox(const TitleBlock& b, F f) {
    for (const auto& s : b.segments)
        f(s.x1, s.y1, s.x2, s.y2);
    for (const auto& t : b.programTexts)
        f(t.box.x1, t.box.y1, t.box.x2, t.box.y2);
    for (const auto& t : b.editableTexts)
        f(t.box.x1, t.box.y1, t.box.x2, t.box.y2);
}

std::int16_t toInt16(int v) {
    return static_cast<std::int16_t>(std::clamp(v, -32768, 32767));
}

} // namespace

void TitleBlock::computeExtent() {
    if (empty()) {
        // Without elements the extremes never move; the stored size is then simply 0.
        width = height = 0;
        return;
    }
    Extent e;
    forEachBox(*this, [&](int x1, int y1, int x2, int y2) { e.add(x1, y1, x2, y2); });
    width = toInt16(std::abs(e.minX1 - e.maxX2));
    height = toInt16(std::abs(e.minY1 - e.maxY2));
}

std::pair<int, int> TitleBlock::minXmaxY() const {
    int minX = std::numeric_limits<int>::max();
    int maxY = std::numeric_limits<int>::min();
    forEachBox(*this, [&](int x1, int y1, int x2, int y2) {
        minX = std::min({minX, x1, x2});
        maxY = std::max({maxY, y1, y2});
    });
    if (empty())
        return {0, 0};
    return {minX, maxY};
}

Result<TitleBlock> parseTitleBlock(std::span<const std::uint8_t> bytes, std::string_view path) {
    constexpr std::size_t kHeader = 10;
    if (bytes.size() < kHeader)
        return store::BadFormatError(path);
    store::LeReader r(bytes);
    const int nSeg = r.i16();
    const int nProg = r.i16();
    const int nEdit = r.i16();
    TitleBlock b;
    b.width = r.i16();
    b.height = r.i16();
    if (nSeg < 0 || nProg < 0 || nEdit < 0)
        return store::BadFormatError(path);
    const std::size_t need = kHeader + static_cast<std::size_t>(nSeg) * TitleSegment::kSize +
                             static_cast<std::size_t>(nProg) * TitleProgramText::kSize +
                             static_cast<std::size_t>(nEdit) * TitleEditableText::kSize;
    if (bytes.size() < need)
        return store::BadFormatError(path);
    auto readAll = [&](auto& vec, int n) {
        vec.resize(static_cast<std::size_t>(n));
        for (auto& item : vec)
            item.read(r);
    };
    readAll(b.segments, nSeg);
    readAll(b.programTexts, nProg);
    readAll(b.editableTexts, nEdit);
    if (!r.ok())
        return store::BadFormatError(path);
    return b;
}

store::Bytes titleBlockBytes(const TitleBlock& b) {
    store::Bytes out;
    store::LeWriter w(out);
    w.i16(toInt16(static_cast<int>(b.segments.size())));
    w.i16(toInt16(static_cast<int>(b.programTexts.size())));
    w.i16(toInt16(static_cast<int>(b.editableTexts.size())));
    w.i16(b.width);
    w.i16(b.height);
    for (const auto& s : b.segments)
        store::appendRecord(out, s);
    for (const auto& t : b.programTexts)
        store::appendRecord(out, t);
    for (const auto& t : b.editableTexts)
        store::appendRecord(out, t);
    return out;
}

namespace {
constexpr std::array<const char*, kTitleFieldCount> kPlaceholders = {"<Наименование обьекта>",
                                                                     "<Наименование разреза>",
                                                                     "<МY>",
                                                                     "<МX>",
                                                                     "<Лист>",
                                                                     "<Листов>",
                                                                     "<Подпись #1>",
                                                                     "<Подпись #2>",
                                                                     "<Подпись #3>",
                                                                     "<Подпись #4>",
                                                                     "<Номер договора>"};
constexpr std::array<const char*, kTitleFieldCount> kLabels = {"Наименование обьекта",
                                                               "Наименование разреза",
                                                               "Масштаб по вертикали 1:",
                                                               "Масштаб по горизонтали 1:",
                                                               "Лист",
                                                               "Листов",
                                                               "Подпись #1",
                                                               "Подпись #2",
                                                               "Подпись #3",
                                                               "Подпись #4",
                                                               "Номер договора"};
} // namespace

const char* titleFieldPlaceholder(int code) {
    return code >= 0 && code < kTitleFieldCount ? kPlaceholders[static_cast<std::size_t>(code)]
                                                : "<?>";
}

const char* titleFieldLabel(int code) {
    return code >= 0 && code < kTitleFieldCount ? kLabels[static_cast<std::size_t>(code)] : "?";
}

// ---- the list ----

bool TitleBlockList::used(int slot) const {
    return slot >= 0 && slot < static_cast<int>(entries.size()) &&
           entries[static_cast<std::size_t>(slot)].used != 0;
}

namespace {

Status writeList(const platform::WorkFolder& folder, const TitleBlockList& list) {
    store::Bytes out;
    store::LeWriter w(out);
    w.i16(toInt16(static_cast<int>(list.entries.size())));
    for (const auto& rec : list.entries)
        store::appendRecord(out, rec);
    return folder.writeAtomic(kTitleBlockList, out);
}

TitleBlockListRecord usedRecord(std::string_view nameUtf8) {
    TitleBlockListRecord rec;
    rec.used = 1;
    rec.name.setUtf8(nameUtf8, kTitleNameChars);
    return rec;
}

} // namespace

Result<TitleBlockList> ReadTitleBlockList(const platform::WorkFolder& folder) {
    const auto in = folder.read(kTitleBlockList, store::kMaxListBytes + 1);
    TitleBlockList list;
    if (in.state == platform::ReadOutcome::State::Missing)
        return list;
    if (!in.ok())
        return platform::readError(in, kTitleBlockList);
    if (in.reachedLimit || in.bytes.size() < 2)
        return store::BadFormatError(kTitleBlockList);
    store::LeReader r(in.bytes);
    const int count = std::max<int>(0, r.i16());
    const std::size_t present = (in.bytes.size() - 2) / TitleBlockListRecord::kSize;
    list.entries.resize(std::min<std::size_t>(static_cast<std::size_t>(count), present));
    for (auto& rec : list.entries)
        rec.read(r);
    return list;
}

Result<TitleBlock> ReadTitleBlock(const platform::WorkFolder& folder, int slot) {
    const std::string path = titleBlockPath(slot);
    const auto in = folder.read(path, store::kMaxListBytes + 1);
    if (!in.ok())
        return platform::readError(in, path);
    if (in.reachedLimit)
        return store::BadFormatError(path);
    return parseTitleBlock(in.bytes, path);
}

Status SaveTitleBlock(const platform::WorkFolder& folder, int slot, std::string_view nameUtf8,
                      TitleBlock block) {
    auto list = ReadTitleBlockList(folder);
    if (!list)
        return list.error();
    if (slot < 0 || slot > static_cast<int>(list->entries.size()) || slot > 32766)
        return store::BadFormatError(kTitleBlockList);
    block.computeExtent();
    // The item first: a list record never names a block whose file is not written.
    if (auto st = folder.writeAtomic(titleBlockPath(slot), titleBlockBytes(block)); !st)
        return st;
    if (slot == static_cast<int>(list->entries.size()))
        list->entries.emplace_back();
    list->entries[static_cast<std::size_t>(slot)] = usedRecord(nameUtf8);
    return writeList(folder, *list);
}

Result<int> SaveNewTitleBlock(const platform::WorkFolder& folder, std::string_view nameUtf8,
                              TitleBlock block) {
    auto list = ReadTitleBlockList(folder);
    if (!list)
        return list.error();
    const int slot = static_cast<int>(list->entries.size());
    if (auto st = SaveTitleBlock(folder, slot, nameUtf8, std::move(block)); !st)
        return st.error();
    return slot;
}

Status RenameTitleBlock(const platform::WorkFolder& folder, int slot, std::string_view nameUtf8) {
    auto list = ReadTitleBlockList(folder);
    if (!list)
        return list.error();
    if (slot <= 0 || slot >= static_cast<int>(list->entries.size()))
        return store::BadFormatError(kTitleBlockList);
    auto& rec = list->entries[static_cast<std::size_t>(slot)];
    rec.name.setUtf8(nameUtf8, kTitleNameChars);
    return writeList(folder, *list);
}

Status DeleteTitleBlock(const platform::WorkFolder& folder, int slot, bool removeFile) {
    auto list = ReadTitleBlockList(folder);
    if (!list)
        return list.error();
    if (slot <= 0 || slot >= static_cast<int>(list->entries.size()))
        return store::BadFormatError(kTitleBlockList);
    list->entries[static_cast<std::size_t>(slot)].used = 0;
    if (auto st = writeList(folder, *list); !st)
        return st;
    if (removeFile)
        folder.removeFile(titleBlockPath(slot));
    return success();
}

// ---- exchange ----

store::Bytes exchangeBytes(const TitleBlockListRecord& record, const TitleBlock& block) {
    store::Bytes out = platform::startExchange(kTitleBlockExchange);
    store::appendRecord(out, record);
    const store::Bytes item = titleBlockBytes(block);
    out.insert(out.end(), item.begin(), item.end());
    return out;
}

Status ExportTitleBlock(const platform::WorkFolder& folder, int slot,
                        const std::filesystem::path& file) {
    auto list = ReadTitleBlockList(folder);
    if (!list)
        return list.error();
    if (slot < 0 || static_cast<std::size_t>(slot) >= list->entries.size())
        return store::BadFormatError(kTitleBlockList);
    auto block = ReadTitleBlock(folder, slot);
    if (!block)
        return block.error();
    return platform::WriteExchangeFile(
        file, exchangeBytes(list->entries[static_cast<std::size_t>(slot)], *block));
}

Result<TitleBlockExchange> parseExchange(std::span<const std::uint8_t> bytes) {
    if (auto st = platform::checkExchange(bytes, kTitleBlockExchange); !st)
        return st.error();
    TitleBlockExchange item;
    item.record = *store::parseRecord<TitleBlockListRecord>(bytes.subspan(kTitleBlockMagic.size()));
    auto block = parseTitleBlock(bytes.subspan(kTitleBlockExchange.headerSize()), "");
    if (!block)
        return platform::badFileFormatError();
    item.block = std::move(*block);
    return item;
}

Result<TitleBlockExchange> ReadTitleBlockExchange(const std::filesystem::path& file) {
    auto bytes = platform::ReadExchangeFile(file, kTitleBlockExchange);
    if (!bytes)
        return bytes.error();
    return parseExchange(*bytes);
}

std::optional<int> findTitleBlockByName(const TitleBlockList& list,
                                        const TitleBlockListRecord& record) {
    const std::string name = record.name.bytes();
    for (std::size_t i = 0; i < list.entries.size(); ++i)
        if (list.entries[i].used != 0 && list.entries[i].name.bytes() == name)
            return static_cast<int>(i);
    return std::nullopt;
}

Result<int> ImportTitleBlock(const platform::WorkFolder& folder, const TitleBlockExchange& item,
                             std::optional<int> slot) {
    auto list = ReadTitleBlockList(folder);
    if (!list)
        return list.error();
    const int target = slot.value_or(static_cast<int>(list->entries.size()));
    if (target == 0 || target < 0 || target > static_cast<int>(list->entries.size()))
        return store::BadFormatError(kTitleBlockList);
    // The block is written as it came: its stored size too.
    if (auto st = folder.writeAtomic(titleBlockPath(target), titleBlockBytes(item.block)); !st)
        return st.error();
    if (target == static_cast<int>(list->entries.size()))
        list->entries.push_back(item.record);
    else
        list->entries[static_cast<std::size_t>(target)] = item.record;
    list->entries[static_cast<std::size_t>(target)].used = 1;
    if (auto st = writeList(folder, *list); !st)
        return st.error();
    return target;
}

platform::NameTakenQuestion titleBlockNameTaken() {
    return platform::overwriteOnImport("Импорт штампа - предупреждение", "Штамп с наименованием :");
}

// ---- working files ----

namespace {

template <class T> store::Bytes aliveBytes(const std::vector<Alive<T>>& items) {
    store::Bytes out;
    out.reserve(items.size() * (4 + T::kSize));
    store::LeWriter w(out);
    for (const auto& a : items) {
        w.i32(a.alive ? 1 : 0);
        store::appendRecord(out, a.item);
    }
    return out;
}

template <class T> std::vector<T> aliveOnly(const std::vector<Alive<T>>& items) {
    std::vector<T> out;
    for (const auto& a : items)
        if (a.alive)
            out.push_back(a.item);
    return out;
}

template <class T> std::vector<Alive<T>> wrap(const std::vector<T>& items) {
    std::vector<Alive<T>> out;
    out.reserve(items.size());
    for (const auto& i : items)
        out.push_back({true, i});
    return out;
}

} // namespace

Result<TitleBlockEdit> TitleBlockEdit::Load(const platform::WorkFolder& folder, int slot,
                                            bool asCopy) {
    auto list = ReadTitleBlockList(folder);
    if (!list)
        return list.error();
    TitleBlockEdit edit(folder);
    auto block = ReadTitleBlock(folder, slot);
    // The template may be missing on a new database: an empty block then.
    if (!block && slot != 0)
        return block.error();
    if (block) {
        edit.segments = wrap(block->segments);
        edit.programTexts = wrap(block->programTexts);
        edit.editableTexts = wrap(block->editableTexts);
    }
    if (slot != 0 && !asCopy && slot < static_cast<int>(list->entries.size()))
        edit.name = list->entries[static_cast<std::size_t>(slot)].name.utf8();
    if (auto st = edit.flush(); !st)
        return st.error();
    return edit;
}

TitleBlock TitleBlockEdit::current() const {
    TitleBlock b;
    b.segments = aliveOnly(segments);
    b.programTexts = aliveOnly(programTexts);
    b.editableTexts = aliveOnly(editableTexts);
    b.computeExtent();
    return b;
}

Status TitleBlockEdit::flush() const {
    if (auto st = m_folder->writeAtomic(kWorkSegments, aliveBytes(segments)); !st)
        return st;
    if (auto st = m_folder->writeAtomic(kWorkProgramTexts, aliveBytes(programTexts)); !st)
        return st;
    return m_folder->writeAtomic(kWorkEditableTexts, aliveBytes(editableTexts));
}

Result<int> TitleBlockEdit::save(std::optional<int> slot) {
    Result<int> saved = slot ? Result<int>(*slot) : Result<int>(0);
    if (slot) {
        if (auto st = SaveTitleBlock(*m_folder, *slot, name, current()); !st)
            return st.error();
    } else {
        saved = SaveNewTitleBlock(*m_folder, name, current());
        if (!saved)
            return saved;
    }
    discard();
    return saved;
}

void TitleBlockEdit::discard() const {
    for (auto f : {kWorkSegments, kWorkProgramTexts, kWorkEditableTexts})
        m_folder->removeFile(f);
}

bool TitleBlockEdit::fieldUsed(int code) const {
    return std::any_of(programTexts.begin(), programTexts.end(),
                       [&](const auto& t) { return t.alive && t.item.fieldCode == code; });
}

} // namespace orvo::dict
