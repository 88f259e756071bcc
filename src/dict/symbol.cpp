// Symbol records, item files, drawing, list operations, exchange files and the editing run.
#include "dict/symbol.h"

#include "platform/codepage.h"
#include "platform/numbers.h"
#include "store/list_file.h"
#include "store/project_store.h"
#include "store/records.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <utility>

namespace orvo::dict {

namespace {

constexpr std::array<const char*, kSymbolTypeCount> kTypeNames = {
    "Отрезок", "Полигон", "Прямоугольник", "Элипс", "Дуга", "Сегмент", "Сектор"};

bool validType(int type) {
    return type >= 0 && type < kSymbolTypeCount;
}

// The points as a save writes them: the polygon's own, the fixed count for the others.
std::vector<SymbolPoint> writtenPoints(const SymbolElement& e) {
    std::vector<SymbolPoint> points = e.points;
    if (e.type != kSymbolPolygon)
        points.resize(static_cast<std::size_t>(symbolFixedPointCount(e.type)));
    return points;
}

// The record of a symbol's slot: not the empty entry 0, not past the end.
Result<SymbolListRecord> recordAt(const platform::WorkFolder& folder, int slot) {
    auto list = ReadSymbolList(folder);
    if (!list)
        return list.error();
    if (slot <= 0 || slot >= static_cast<int>(list->size()))
        return store::BadFormatError(kSymbolList);
    return (*list)[static_cast<std::size_t>(slot)];
}

// A missing item file is as good as an empty one when the record counts no elements.
Result<store::Bytes> readItem(const platform::WorkFolder& folder, int slot, std::int32_t count) {
    const std::string path = symbolItemPath(slot);
    auto in = folder.read(path, kMaxSymbolItemBytes + 1);
    if (in.state == platform::ReadOutcome::State::Missing && count == 0)
        return store::Bytes{};
    if (!in.ok())
        return platform::readError(in, path);
    if (in.reachedLimit)
        return store::BadFormatError(path);
    return std::move(in.bytes);
}

// The next free slot for a symbol. An empty library first gets its empty entry, so that a
// symbol never lands in slot 0, which means "no symbol" everywhere.
Result<int> appendSlot(const platform::WorkFolder& folder) {
    auto list = ReadSymbolList(folder);
    if (!list)
        return list.error();
    if (!list->empty())
        return static_cast<int>(list->size());
    if (auto st = SaveSymbol(folder, 0, "", {}); !st)
        return st.error();
    return 1;
}

} // namespace

void SymbolListRecord::read(store::LeReader& r) {
    used = r.i32();
    r.bytes(name.raw);
    height = r.i32();
    width = r.i32();
    minX = r.i32();
    minY = r.i32();
    elementCount = r.i32();
}

void SymbolListRecord::write(store::LeWriter& w) const {
    w.i32(used);
    w.bytes(name.raw);
    w.i32(height);
    w.i32(width);
    w.i32(minX);
    w.i32(minY);
    w.i32(elementCount);
}

Result<std::vector<SymbolListRecord>> ReadSymbolList(const platform::WorkFolder& folder) {
    return store::ReadRecordList<SymbolListRecord>(folder, kSymbolList);
}

const char* symbolTypeName(int type) {
    return validType(type) ? kTypeNames[static_cast<std::size_t>(type)] : "?";
}

int symbolFixedPointCount(int type) {
    constexpr std::array<int, kSymbolTypeCount> kCounts = {2, 0, 2, 2, 4, 4, 4};
    return validType(type) ? kCounts[static_cast<std::size_t>(type)] : 0;
}

std::string symbolItemPath(int slot) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "DATA\\DIC\\%.6d.SYM", slot);
    return buf;
}

// ---- item files ----

Status parseSymbolItems(std::span<const std::uint8_t> bytes, std::int32_t count,
                        std::string_view path, std::vector<SymbolElement>& out) {
    if (count < 0)
        return store::BadFormatError(path);
    store::LeReader r(bytes);
    for (std::int32_t i = 0; i < count; ++i) {
        if (r.remaining() < SymbolElement::kHeaderSize)
            return store::BadFormatError(path);
        SymbolElement e;
        e.type = r.i32();
        e.penWidth = r.i32();
        e.penKind = r.i32();
        e.brushKind = r.i32();
        const std::int32_t n = r.i32();
        const bool allowed = e.type == kSymbolPolygon ? n >= 1 && n <= kMaxPolygonPoints
                                                      : n > 0 && n == symbolFixedPointCount(e.type);
        if (!allowed || r.remaining() / 8 < static_cast<std::size_t>(n))
            return store::BadFormatError(path);
        e.points.resize(static_cast<std::size_t>(n));
        for (auto& p : e.points)
            p = {r.i32(), r.i32()}; // a braced list is evaluated left to right
        out.push_back(std::move(e));
    }
    if (r.remaining() != 0)
        return store::BadFormatError(path);
    return success();
}

store::Bytes symbolItemBytes(const std::vector<SymbolElement>& elements) {
    store::Bytes out;
    store::LeWriter w(out);
    for (const auto& e : elements) {
        const auto points = writtenPoints(e);
        w.i32(e.type);
        w.i32(e.penWidth);
        w.i32(e.penKind);
        w.i32(e.brushKind);
        w.i32(static_cast<std::int32_t>(points.size()));
        for (const auto& p : points) {
            w.i32(p.x);
            w.i32(p.y);
        }
    }
    return out;
}

SymbolListRecord symbolRecordFor(std::string_view nameUtf8,
                                 const std::vector<SymbolElement>& elements) {
    std::int32_t minX = 5000, minY = 5000, maxX = -5000, maxY = -5000;
    for (const auto& e : elements)
        for (const auto& p : writtenPoints(e)) {
            minX = std::min(minX, p.x);
            minY = std::min(minY, p.y);
            maxX = std::max(maxX, p.x);
            maxY = std::max(maxY, p.y);
        }
    SymbolListRecord rec;
    rec.used = 1;
    rec.name.setUtf8(nameUtf8, kSymbolNameChars);
    rec.height = maxY - minY;
    rec.width = maxX - minX;
    rec.minX = minX;
    rec.minY = minY;
    rec.elementCount = static_cast<std::int32_t>(elements.size());
    return rec;
}

// ---- drawing ----

platform::PointF SymbolTransform::map(SymbolPoint p) const {
    // In 64 bits first: stored coordinates are not trusted to keep the difference in range.
    const float dx = static_cast<float>(std::int64_t{p.x} - minX) * scaleX;
    const float dy = static_cast<float>(std::int64_t{p.y} - minY) * scaleY;
    return {origin.x + std::trunc(static_cast<double>(dx)),
            origin.y + std::trunc(static_cast<double>(dy))};
}

namespace {

constexpr platform::Color kRed{255, 0, 0};

// Only kinds 1 and 2 are drawn at all; this picks between them.
platform::Color kindColor(std::int32_t kind) {
    return kind == 1 ? platform::kWhite : platform::kBlack;
}

platform::Pen elementPen(const SymbolElement& e, const SymbolTransform& at, bool current,
                         bool transparent) {
    const double scaled =
        std::trunc(e.penWidth * (static_cast<double>(at.scaleX) + at.scaleY) * 0.5 + 0.5);
    // Kinds outside 0..2 are never written by the editor; they draw nothing rather than guess.
    const bool visible = e.penKind == 1 || e.penKind == 2;
    platform::Pen pen;
    pen.width = transparent || !visible ? 0 : std::clamp(scaled, 0.0, 1e6);
    pen.color = current ? kRed : kindColor(e.penKind);
    // The transparent view shows every element, so one without an outline gets a thin one.
    if (!visible && !current && !transparent)
        pen.style = platform::Pen::Style::None;
    return pen;
}

platform::Brush elementBrush(const SymbolElement& e, bool transparent) {
    platform::Brush brush;
    if (!transparent && (e.brushKind == 1 || e.brushKind == 2)) {
        brush.style = platform::Brush::Style::Solid;
        brush.color = kindColor(e.brushKind);
    }
    return brush;
}

platform::RectF boxOf(platform::PointF a, platform::PointF b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y)};
}

// Counter-clockwise on screen, where y grows downwards.
double angleTowards(platform::PointF centre, platform::PointF p) {
    return std::atan2(-(p.y - centre.y), p.x - centre.x) * 180.0 / std::numbers::pi;
}

void drawPolygonElement(platform::Canvas& canvas, const std::vector<platform::PointF>& pts) {
    if (pts.empty())
        return;
    const bool closed = pts.front().x == pts.back().x && pts.front().y == pts.back().y;
    if (closed && pts.size() >= 3)
        canvas.drawPolygon(std::span(pts).first(pts.size() - 1));
    else if (!closed && pts.size() >= 2)
        canvas.drawPolyline(pts);
}

void drawElement(platform::Canvas& canvas, const SymbolElement& e,
                 const std::vector<platform::PointF>& pts) {
    if (e.type == kSymbolPolygon)
        return drawPolygonElement(canvas, pts);
    if (pts.size() < static_cast<std::size_t>(symbolFixedPointCount(e.type)) || pts.size() < 2)
        return;
    const platform::RectF box = boxOf(pts[0], pts[1]);
    if (e.type == kSymbolSegment)
        return canvas.drawLine(pts[0], pts[1]);
    if (e.type == kSymbolRectangle)
        return canvas.drawRect(box);
    if (e.type == kSymbolEllipse)
        return canvas.drawEllipse(box);
    const platform::PointF centre{box.x + box.width / 2, box.y + box.height / 2};
    const double start = angleTowards(centre, pts[2]);
    double span = std::fmod(angleTowards(centre, pts[3]) - start, 360.0);
    if (span <= 0)
        span += 360.0; // equal rays make the whole ellipse
    if (e.type == kSymbolArc)
        canvas.drawArc(box, start, span);
    else if (e.type == kSymbolChord)
        canvas.drawChord(box, start, span);
    else if (e.type == kSymbolPie)
        canvas.drawPie(box, start, span);
}

} // namespace

void DrawSymbolElements(platform::Canvas& canvas, const std::vector<SymbolElement>& elements,
                        const SymbolTransform& placement, const SymbolHighlight& highlight) {
    if (elements.empty())
        return;
    // The caller's pen and brush come back afterwards, as each element releases its own.
    canvas.save();
    int position = 0;
    for (const auto& e : elements) {
        const bool current = position++ == highlight.current;
        canvas.setPen(elementPen(e, placement, current, highlight.transparent));
        canvas.setBrush(elementBrush(e, highlight.transparent));
        std::vector<platform::PointF> pts;
        pts.reserve(e.points.size());
        for (const auto& p : e.points)
            pts.push_back(placement.map(p));
        drawElement(canvas, e, pts);
    }
    canvas.restore();
}

Status DrawSymbol(platform::Canvas& canvas, const platform::WorkFolder& folder, int index,
                  platform::PointF at, float scaleX, float scaleY) {
    if (index <= 0)
        return success();
    auto rec = recordAt(folder, index);
    if (!rec)
        return rec.error();
    if (rec->used == 0 || rec->elementCount == 0)
        return success();
    auto item = readItem(folder, index, rec->elementCount);
    if (!item)
        return item.error();
    std::vector<SymbolElement> elements;
    Status parsed = parseSymbolItems(*item, rec->elementCount, symbolItemPath(index), elements);
    // What was read is drawn even when the rest of the file is damaged.
    DrawSymbolElements(canvas, elements, {at, rec->minX, rec->minY, scaleX, scaleY});
    return parsed;
}

std::optional<SymbolPreviewFit> fitSymbolPreview(const SymbolListRecord& record,
                                                 const platform::RectF& frame,
                                                 std::optional<double> naturalScale) {
    if (record.used == 0 || record.elementCount <= 0 || record.height < 0 || record.width < 0)
        return std::nullopt;
    const int frameW = static_cast<int>(frame.width);
    const int frameH = static_cast<int>(frame.height);
    double scale = naturalScale.value_or(0);
    if (!naturalScale) {
        // The side that fits first decides; a side of no size never limits.
        scale = std::numeric_limits<double>::infinity();
        if (record.height > 0)
            scale = std::min(scale, static_cast<double>(frameH) / record.height);
        if (record.width > 0)
            scale = std::min(scale, static_cast<double>(frameW) / record.width);
    }
    if (!std::isfinite(scale) || scale <= 0)
        return std::nullopt;
    const int drawnH = std::min(static_cast<int>(std::min(record.height * scale, 1e9)), frameH);
    const int drawnW = std::min(static_cast<int>(std::min(record.width * scale, 1e9)), frameW);
    // Centred in whole pixels, as the frame is drawn.
    const int dx = (frameW - drawnW) / 2;
    const int dy = (frameH - drawnH) / 2;
    return SymbolPreviewFit{scale, {frame.x + dx, frame.y + dy}};
}

std::optional<SymbolTransform> editorTransform(const std::vector<SymbolElement>& elements,
                                               platform::SizeF frame,
                                               std::optional<double> realScale) {
    double minX = 3000, minY = 3000, maxX = 0, maxY = 0;
    auto add = [&](SymbolPoint p) {
        minX = std::min<double>(minX, p.x);
        minY = std::min<double>(minY, p.y);
        maxX = std::max<double>(maxX, p.x);
        maxY = std::max<double>(maxY, p.y);
    };
    for (const auto& e : elements) {
        if (e.type == kSymbolPolygon && e.points.size() > 1)
            std::for_each(e.points.begin(), e.points.end(), add);
        else if (e.type != kSymbolPolygon && e.points.size() >= 2 && e.points[0] != e.points[1]) {
            add(e.points[0]);
            add(e.points[1]);
        }
    }
    double scale = realScale.value_or(0);
    if (!realScale) {
        const double extent = std::max(maxX - minX, maxY - minY);
        if (extent < 0.01)
            return std::nullopt;
        scale = std::min(frame.width * 0.8, frame.height * 0.8) / extent;
    }
    const double ox = frame.width / 2 + 2 - (maxX - minX) / 2 * scale - minX * scale;
    const double oy = frame.height / 2 + 2 - (maxY - minY) / 2 * scale - minY * scale;
    const auto s = static_cast<float>(scale);
    return SymbolTransform{{std::trunc(ox), std::trunc(oy)}, 0, 0, s, s};
}

// ---- the library ----

std::optional<int> findSymbolByName(const std::vector<SymbolListRecord>& list,
                                    std::string_view nameCp1251, int except) {
    // Slot 0 is the empty entry, not a symbol a name could stand for.
    for (std::size_t i = 1; i < list.size(); ++i)
        if (list[i].used != 0 && static_cast<int>(i) != except &&
            list[i].name.samePadded(nameCp1251))
            return static_cast<int>(i);
    return std::nullopt;
}

Status SaveSymbol(const platform::WorkFolder& folder, int slot, std::string_view nameUtf8,
                  const std::vector<SymbolElement>& elements) {
    auto list = ReadSymbolList(folder);
    if (!list)
        return list.error();
    if (slot < 0 || slot > static_cast<int>(list->size()))
        return store::BadFormatError(kSymbolList);
    // The item first: a record never names elements that are not on disk.
    if (auto st = folder.writeAtomic(symbolItemPath(slot), symbolItemBytes(elements)); !st)
        return st;
    return store::PutRecord(folder, kSymbolList, static_cast<std::size_t>(slot),
                            symbolRecordFor(nameUtf8, elements));
}

Result<int> SaveNewSymbol(const platform::WorkFolder& folder, std::string_view nameUtf8,
                          const std::vector<SymbolElement>& elements) {
    auto list = ReadSymbolList(folder);
    if (!list)
        return list.error();
    const int slot = static_cast<int>(list->size());
    if (auto st = SaveSymbol(folder, slot, nameUtf8, elements); !st)
        return st.error();
    return slot;
}

Status DeleteSymbol(const platform::WorkFolder& folder, int slot) {
    auto rec = recordAt(folder, slot);
    if (!rec)
        return rec.error();
    rec->used = 0;
    return store::PutRecord(folder, kSymbolList, static_cast<std::size_t>(slot), *rec);
}

// ---- exchange ----

Result<store::Bytes> ExportSymbolBytes(const platform::WorkFolder& folder, int slot) {
    auto rec = recordAt(folder, slot);
    if (!rec)
        return rec.error();
    auto item = readItem(folder, slot, rec->elementCount);
    if (!item)
        return item.error();
    store::Bytes out = platform::startExchange(kSymbolExchange);
    store::appendRecord(out, *rec);
    out.insert(out.end(), item->begin(), item->end());
    return out;
}

Status ExportSymbol(const platform::WorkFolder& folder, int slot,
                    const std::filesystem::path& file) {
    auto bytes = ExportSymbolBytes(folder, slot);
    if (!bytes)
        return bytes.error();
    return platform::WriteExchangeFile(file, *bytes);
}

Result<SymbolExchange> parseSymbolExchange(std::span<const std::uint8_t> bytes) {
    if (auto st = platform::checkExchange(bytes, kSymbolExchange); !st)
        return st.error();
    SymbolExchange item;
    item.record = *store::parseRecord<SymbolListRecord>(bytes.subspan(kSymbolMagic.size()));
    const auto rest = bytes.subspan(kSymbolExchange.headerSize());
    std::vector<SymbolElement> elements;
    if (!parseSymbolItems(rest, item.record.elementCount, "", elements))
        return platform::badFileFormatError();
    for (const auto& e : elements)
        for (const auto& p : e.points)
            if (p.x < 0 || p.y < 0 || p.x > kMaxSymbolCoordinate || p.y > kMaxSymbolCoordinate)
                return platform::badFileFormatError();
    item.item.assign(rest.begin(), rest.end());
    return item;
}

Result<SymbolExchange> ReadSymbolExchange(const std::filesystem::path& file) {
    auto bytes = platform::ReadExchangeFile(file, kSymbolExchange);
    if (!bytes)
        return bytes.error();
    return parseSymbolExchange(*bytes);
}

Result<int> ImportSymbol(const platform::WorkFolder& folder, const SymbolExchange& item,
                         std::optional<int> slot) {
    auto fresh = appendSlot(folder);
    if (!fresh)
        return fresh;
    const int target = slot.value_or(*fresh);
    if (target <= 0 || target > *fresh)
        return store::BadFormatError(kSymbolList);
    if (auto st = folder.writeAtomic(symbolItemPath(target), item.item); !st)
        return st.error();
    if (auto st =
            store::PutRecord(folder, kSymbolList, static_cast<std::size_t>(target), item.record);
        !st)
        return st.error();
    return target;
}

platform::NameTakenQuestion symbolNameTaken(bool importing) {
    platform::NameTakenQuestion q{
        "Предупреждение",
        "Наименование значка",
        {platform::kExistsStated, "Ваши действия:"},
        {"Продолжить редактирование", platform::kOverwriteChoice, "Выйти без сохранения"}};
    if (importing) {
        q.caption = "Импорт значка. Предупреждение";
        q.choices = {platform::kOverwriteChoice, "Отменить импорт"};
    }
    return q;
}

// ---- the editor ----

std::int32_t parseSymbolCoordinate(std::string_view text) {
    const double mm = platform::parseDecimal(text);
    if (std::isnan(mm))
        return 0;
    // A hair added before truncating, so that a value shown as "1.15" (1.1499999... in binary)
    // reads back as 115 instead of creeping down each time the field loses focus.
    const double hundredths = std::clamp(mm * 100.0, -1.0, kMaxSymbolCoordinate + 1.0) + 1e-6;
    return std::clamp(static_cast<std::int32_t>(hundredths), 0, kMaxSymbolCoordinate);
}

std::string formatSymbolCoordinate(std::int32_t hundredths) {
    return platform::formatFixed(hundredths / 100.0, 2);
}

SymbolFields symbolFieldsFor(int type) {
    constexpr std::array<SymbolFields, kSymbolTypeCount> kFields = {{{2, false, false},
                                                                     {0, true, true},
                                                                     {2, false, true},
                                                                     {2, false, true},
                                                                     {4, false, false},
                                                                     {4, false, true},
                                                                     {4, false, true}}};
    return validType(type) ? kFields[static_cast<std::size_t>(type)] : SymbolFields{};
}

SymbolEdit SymbolEdit::New() {
    SymbolEdit edit;
    edit.name = "Новый";
    return edit;
}

Result<SymbolEdit> SymbolEdit::Load(const platform::WorkFolder& folder, int slot) {
    auto rec = recordAt(folder, slot);
    if (!rec)
        return rec.error();
    auto item = readItem(folder, slot, rec->elementCount);
    if (!item)
        return item.error();
    const std::string path = symbolItemPath(slot);
    std::vector<SymbolElement> elements;
    if (auto st = parseSymbolItems(*item, rec->elementCount, path, elements); !st)
        return st.error();
    SymbolEdit edit;
    edit.m_slot = slot;
    edit.name = rec->name.utf8();
    for (auto& e : elements) {
        auto& ofType = edit.m_byType[static_cast<std::size_t>(e.type)];
        if (ofType.size() >= kMaxElementsPerType)
            return store::BadFormatError(path);
        edit.m_order.push_back({e.type, static_cast<int>(ofType.size())});
        ofType.push_back(std::move(e));
    }
    return edit;
}

const std::vector<SymbolElement>& SymbolEdit::elementsOf(int type) const {
    static const std::vector<SymbolElement> kNone;
    return validType(type) ? m_byType[static_cast<std::size_t>(type)] : kNone;
}

std::optional<SymbolElementRef> SymbolEdit::add(int type) {
    if (!canAdd(type))
        return std::nullopt;
    auto& of = m_byType[static_cast<std::size_t>(type)];
    const SymbolElementRef ref{type, static_cast<int>(of.size())};
    SymbolElement& e = of.emplace_back();
    e.type = type;
    e.points.resize(type == kSymbolPolygon ? 1u : std::size_t(symbolFixedPointCount(type)));
    m_order.push_back(ref);
    return ref;
}

void SymbolEdit::remove(SymbolElementRef ref) {
    if (!element(ref))
        return;
    auto& of = m_byType[static_cast<std::size_t>(ref.type)];
    of.erase(of.begin() + ref.number);
    std::erase(m_order, ref);
    for (auto& r : m_order)
        if (r.type == ref.type && r.number > ref.number)
            --r.number;
}

bool SymbolEdit::insertPoint(SymbolElementRef ref, int after) {
    auto* e = element(ref);
    if (!canInsertPoint(ref) || after < 0 || after >= static_cast<int>(e->points.size()))
        return false;
    e->points.insert(e->points.begin() + after + 1, SymbolPoint{});
    return true;
}

bool SymbolEdit::removePoint(SymbolElementRef ref, int index) {
    auto* e = element(ref);
    if (!canRemovePoint(ref) || index < 0 || index >= static_cast<int>(e->points.size()))
        return false;
    e->points.erase(e->points.begin() + index);
    return true;
}

bool SymbolEdit::move(int orderIndex, int delta) {
    const int other = orderIndex + delta;
    const int n = static_cast<int>(m_order.size());
    if (orderIndex < 0 || orderIndex >= n || other < 0 || other >= n || other == orderIndex)
        return false;
    std::swap(m_order[static_cast<std::size_t>(orderIndex)],
              m_order[static_cast<std::size_t>(other)]);
    return true;
}

std::vector<SymbolElement> SymbolEdit::inDrawingOrder() const {
    std::vector<SymbolElement> out;
    out.reserve(m_order.size());
    for (const auto& ref : m_order)
        out.push_back(*element(ref));
    return out;
}

std::optional<int> SymbolEdit::duplicateIn(const std::vector<SymbolListRecord>& list) const {
    const std::string cp = platform::utf8ToCp1251(name);
    return findSymbolByName(list, std::string_view(cp).substr(0, kSymbolNameChars), m_slot);
}

Result<SymbolSaveOutcome>
SymbolEdit::save(const platform::WorkFolder& folder,
                 const std::function<DuplicateChoice()>& askDuplicate) const {
    auto list = ReadSymbolList(folder);
    if (!list)
        return list.error();
    int target = m_slot;
    if (const auto other = duplicateIn(*list)) {
        using Step = SymbolSaveOutcome::Step;
        const DuplicateChoice choice = askDuplicate();
        if (choice != DuplicateChoice::Overwrite)
            return SymbolSaveOutcome{
                choice == DuplicateChoice::KeepEditing ? Step::KeepEditing : Step::Left, 0};
        target = *other;
    }
    if (target <= 0) {
        auto fresh = appendSlot(folder);
        if (!fresh)
            return fresh.error();
        target = *fresh;
    }
    if (auto st = SaveSymbol(folder, target, name, inDrawingOrder()); !st)
        return st.error();
    return SymbolSaveOutcome{SymbolSaveOutcome::Step::Saved, target};
}

} // namespace orvo::dict
