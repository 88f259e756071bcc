// Consistency type records, item files, pattern drawing, editor rules and exchange files.
#include "dict/consistency_type.h"

#include "platform/codepage.h"
#include "platform/numbers.h"
#include "store/list_file.h"
#include "store/project_store.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace orvo::dict {

std::string consistencyTypePath(int slot) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "DATA\\DIC\\%.6d.TIE", slot);
    return buf;
}

void ConsistencyTypeRecord::read(store::LeReader& r) {
    used = r.i16();
    r.bytes(name.raw);
}
void ConsistencyTypeRecord::write(store::LeWriter& w) const {
    w.i16(used);
    w.bytes(name.raw);
}

void ConsistencyElement::read(store::LeReader& r) {
    step = r.i32();
    angle = r.i32();
    kind = r.i32();
    repeat = r.i32();
    direction = r.i32();
    lineWidth = r.i32();
}
void ConsistencyElement::write(store::LeWriter& w) const {
    w.i32(step);
    w.i32(angle);
    w.i32(kind);
    w.i32(repeat);
    w.i32(direction);
    w.i32(lineWidth);
}

bool elementAllowed(const ConsistencyElement& e) {
    return e.kind >= kVertical && e.kind <= kDiagonal && (e.repeat == 0 || e.repeat == 1) &&
           (e.direction == 0 || e.direction == 1) && e.angle >= -kMaxConsistencyAngle &&
           e.angle <= kMaxConsistencyAngle && e.lineWidth >= 0;
}

ConsistencyElement clampedElement(ConsistencyElement e) {
    e.kind = std::clamp<std::int32_t>(e.kind, kVertical, kDiagonal);
    e.repeat = std::clamp<std::int32_t>(e.repeat, 0, 1);
    e.direction = std::clamp<std::int32_t>(e.direction, 0, 1);
    e.angle = std::clamp<std::int32_t>(e.angle, -kMaxConsistencyAngle, kMaxConsistencyAngle);
    e.lineWidth = std::max<std::int32_t>(e.lineWidth, 0);
    return e;
}

std::vector<ConsistencyElement> parseConsistencyElements(std::span<const std::uint8_t> bytes) {
    auto elements = store::parseList<ConsistencyElement>(
        bytes.first(std::min(bytes.size(), kMaxConsistencyElements * ConsistencyElement::kSize)));
    for (auto& e : elements)
        e = clampedElement(e);
    return elements;
}

store::Bytes consistencyElementsBytes(const std::vector<ConsistencyElement>& elements) {
    store::Bytes out;
    out.reserve(elements.size() * ConsistencyElement::kSize);
    for (const auto& e : elements)
        store::appendRecord(out, e);
    return out;
}

// ---- drawing ----

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kHundredthsPerDot = 0.0003937007874015748; // inches per 0.01 mm
// A damaged or absurd element must not keep the drawing busy: beyond this many lines in one
// call nothing more is drawn, which no real pattern comes near.
constexpr int kMaxPatternLines = 4000;
// Device values are kept well inside int64 so that k * step never overflows.
constexpr double kDeviceLimit = 1e12;

std::int64_t trunc64(double v) {
    if (std::isnan(v))
        return 0;
    return static_cast<std::int64_t>(std::clamp(v, -kDeviceLimit, kDeviceLimit));
}

class LineSink {
public:
    explicit LineSink(platform::Canvas& canvas) : m_canvas(canvas) {}
    bool full() const { return m_left <= 0; }
    void line(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
        if (full())
            return;
        --m_left;
        m_canvas.drawLine({static_cast<double>(x1), static_cast<double>(y1)},
                          {static_cast<double>(x2), static_cast<double>(y2)});
    }

private:
    platform::Canvas& m_canvas;
    int m_left = kMaxPatternLines;
};

struct Box {
    std::int64_t left, top, right, bottom;
    std::int64_t w() const { return right - left; }
    std::int64_t h() const { return bottom - top; }
};

void drawSingle(LineSink& out, const Box& r, const ConsistencyElement& e, std::int64_t s) {
    switch (e.kind) {
    case kVertical: {
        const std::int64_t x = r.left + r.w() / 2 + s;
        out.line(x, r.top, x, r.bottom);
        break;
    }
    case kHorizontal:
        out.line(r.left, r.top + s, r.right, r.top + s);
        break;
    default:
        if (e.direction == 0)
            out.line(r.left, r.top, r.right, r.bottom);
        else
            out.line(r.left, r.bottom, r.right, r.top);
        break;
    }
}

void drawRepeatedDiagonal(LineSink& out, const Box& r, const ConsistencyElement& e,
                          std::int64_t s) {
    const double a = e.angle * kRadiansPerDegree;
    const double t = std::tan(a);
    const double w = static_cast<double>(r.w());
    std::int64_t y1 = r.top;
    std::int64_t y2 = 0;
    if (e.angle >= 0) {
        y2 = trunc64(static_cast<double>(r.top) - t * w);
    } else {
        y1 = trunc64(static_cast<double>(r.top) + t * w);
        y2 = trunc64(static_cast<double>(y1) - t * w);
    }
    const std::int64_t across =
        std::max<std::int64_t>(1, trunc64(std::cos(a) * static_cast<double>(s)));
    const std::int64_t count = r.w() / across + r.h() / s + 1;
    for (std::int64_t k = 0; k < count && !out.full(); ++k)
        out.line(r.left, y1 + k * s, r.right, y2 + k * s);
}

void drawElement(LineSink& out, const Box& r, const ConsistencyElement& e, std::int64_t s) {
    // A repeated element whose step vanishes at this scale would never advance.
    if (e.repeat == 0 || s == 0) {
        drawSingle(out, r, e, s);
        return;
    }
    // The sign matters only to a single line's offset. A repeated pattern always starts at the
    // left or top edge and fills the column, so a negative step is read as the spacing it
    // names: the drafter who types "-2" for a step sees lines 2 mm apart, as with "2", and
    // the element does not quietly turn into one line.
    s = s < 0 ? -s : s;
    switch (e.kind) {
    case kVertical:
        for (std::int64_t k = 0; k <= r.w() / s && !out.full(); ++k)
            out.line(r.left + k * s, r.top, r.left + k * s, r.bottom);
        break;
    case kHorizontal:
        for (std::int64_t k = 0; k <= r.h() / s && !out.full(); ++k)
            out.line(r.left, r.top + k * s, r.right, r.top + k * s);
        break;
    default:
        drawRepeatedDiagonal(out, r, e, s);
        break;
    }
}

} // namespace

void DrawConsistencyPattern(platform::Canvas& canvas, const PatternRect& rect,
                            std::span<const ConsistencyElement> elements, double scale,
                            int selected) {
    const Box r{rect.left, rect.top, rect.right, rect.bottom};
    if (r.w() <= 0 || r.h() <= 0 || !std::isfinite(scale))
        return;
    canvas.save();
    canvas.clipRect({static_cast<double>(r.left), static_cast<double>(r.top),
                     static_cast<double>(r.w()), static_cast<double>(r.h())});
    LineSink out(canvas);
    for (std::size_t i = 0; i < elements.size() && !out.full(); ++i) {
        const ConsistencyElement e = clampedElement(elements[i]);
        platform::Pen pen;
        pen.color = static_cast<int>(i) == selected ? kSelectedElementColor : platform::kBlack;
        pen.width = static_cast<double>(trunc64(e.lineWidth * scale));
        canvas.setPen(pen);
        drawElement(out, r, e, trunc64(e.step * scale));
    }
    canvas.restore();
}

PatternRect previewColumn(const ConsistencyPreview& p) {
    const PatternRect area{p.frame.left + 2, p.frame.top + 20, p.frame.right - 2,
                           p.frame.bottom - 20};
    const int areaWidth = area.right - area.left;
    const std::int64_t width =
        trunc64(p.widthHundredths * p.dpi * kHundredthsPerDot) * std::max(1, p.zoom);
    PatternRect column{area.left, area.top + 5, area.right, area.bottom - 5};
    if (width < areaWidth) {
        column.left = area.left + (areaWidth - static_cast<int>(width)) / 2;
        column.right = column.left + static_cast<int>(width);
    }
    return column;
}

void DrawConsistencyPreview(platform::Canvas& canvas, const ConsistencyPreview& p,
                            std::span<const ConsistencyElement> elements, int selected) {
    auto box = [](const PatternRect& r) {
        return platform::RectF{static_cast<double>(r.left), static_cast<double>(r.top),
                               static_cast<double>(r.right - r.left),
                               static_cast<double>(r.bottom - r.top)};
    };
    const PatternRect area{p.frame.left + 2, p.frame.top + 20, p.frame.right - 2,
                           p.frame.bottom - 20};
    canvas.setPen({platform::kBlack, 0, platform::Pen::Style::None});
    canvas.setBrush({p.background, platform::Brush::Style::Solid});
    canvas.drawRect(box(area));
    if (elements.empty())
        return;
    const PatternRect column = previewColumn(p);
    canvas.setBrush({platform::kWhite, platform::Brush::Style::Solid});
    canvas.drawRect(box(column));
    const double scale = p.dpi * kHundredthsPerDot * std::max(1, p.zoom);
    DrawConsistencyPattern(canvas, column, elements, scale, selected);
    canvas.setPen({platform::Color{0, 0, 255}, 1, platform::Pen::Style::Solid});
    canvas.setBrush({platform::kWhite, platform::Brush::Style::None});
    canvas.drawRect(box(column));
}

// ---- editor values ----

std::int32_t parseSignedHundredths(std::string_view text) {
    const double typed = platform::parseDecimal(text) * 100.0;
    if (std::isnan(typed))
        return 0;
    // A hair further from zero than the typed value, so that "0.29" is 29 and "-0.29" is -29,
    // not 28 and -28; real truncation of longer fractions ("1.234" is 123) is kept.
    const double v = typed + std::copysign(1e-7, typed);
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    if (v >= static_cast<double>(kMax))
        return kMax;
    if (v <= static_cast<double>(kMin))
        return kMin;
    return static_cast<std::int32_t>(v); // toward zero
}

std::int32_t parseHundredths(std::string_view text) {
    return std::max<std::int32_t>(0, parseSignedHundredths(text));
}

std::string formatHundredths(std::int32_t hundredths) {
    return platform::formatFixed(hundredths / 100.0, 2);
}

std::int32_t parseConsistencyAngle(std::string_view text) {
    const double v = platform::parseDecimal(text);
    if (std::isnan(v))
        return 0;
    return static_cast<std::int32_t>(
        std::clamp(v, static_cast<double>(-kMaxConsistencyAngle), double{kMaxConsistencyAngle}));
}

ElementFields elementFields(const ConsistencyElement& e) {
    const bool repeated = e.repeat != 0;
    switch (e.kind) {
    case kVertical:
        return {repeated ? "- шаг по горизонтали" : "- смещение от центра", false, false};
    case kHorizontal:
        return {repeated ? "- шаг по вертикали" : "- смещение от верха", false, false};
    default:
        if (repeated)
            return {"- шаг по вертикали", true, false};
        return {nullptr, false, true};
    }
}

ConsistencyEdit::ConsistencyEdit(std::vector<ConsistencyElement> elements)
    : m_elements(std::move(elements)) {
    if (m_elements.size() > static_cast<std::size_t>(kMaxConsistencyElements))
        m_elements.resize(kMaxConsistencyElements);
    if (m_elements.empty())
        m_elements.emplace_back();
    for (auto& e : m_elements)
        e = clampedElement(e);
}

void ConsistencyEdit::select(int index) {
    m_selected = std::clamp(index, 0, static_cast<int>(m_elements.size()) - 1);
}

bool ConsistencyEdit::addElement() {
    if (m_elements.size() >= static_cast<std::size_t>(kMaxConsistencyElements))
        return false;
    m_elements.emplace_back();
    m_selected = static_cast<int>(m_elements.size()) - 1;
    return true;
}

bool ConsistencyEdit::removeSelected() {
    if (!canRemove())
        return false;
    m_elements.erase(m_elements.begin() + m_selected);
    select(m_selected);
    return true;
}

// ---- the list and its items ----

namespace {

Error builtInError() {
    return {"Запись 0 справочника показателей не изменяется", "Warning", false};
}

bool elementCountAllowed(std::size_t n) {
    return n >= 1 && n <= static_cast<std::size_t>(kMaxConsistencyElements);
}

} // namespace

Result<std::vector<ConsistencyTypeRecord>>
ReadConsistencyTypeList(const platform::WorkFolder& folder) {
    return store::ReadRecordList<ConsistencyTypeRecord>(folder, kConsistencyTypeList);
}

Result<ConsistencyType> LoadConsistencyType(const platform::WorkFolder& folder, int slot) {
    auto list = ReadConsistencyTypeList(folder);
    if (!list)
        return list.error();
    if (slot < 0 || static_cast<std::size_t>(slot) >= list->size())
        return store::BadFormatError(kConsistencyTypeList);
    ConsistencyType type;
    type.record = (*list)[static_cast<std::size_t>(slot)];
    const std::string path = consistencyTypePath(slot);
    const auto in = folder.read(path, kMaxConsistencyElements * ConsistencyElement::kSize);
    if (in.ok())
        type.elements = parseConsistencyElements(in.bytes);
    else if (in.state != platform::ReadOutcome::State::Missing)
        return platform::readError(in, path);
    return type;
}

ConsistencyTypeRecord consistencyRecord(std::string_view nameUtf8) {
    ConsistencyTypeRecord rec;
    rec.used = 1;
    rec.name.setPadded(platform::utf8ToCp1251(nameUtf8));
    return rec;
}

namespace {

// Item file first: a record never names a type whose elements are not written.
Status writeType(const platform::WorkFolder& folder, int slot, const ConsistencyTypeRecord& record,
                 const std::vector<ConsistencyElement>& elements) {
    const std::string path = consistencyTypePath(slot);
    if (!elementCountAllowed(elements.size()))
        return store::BadFormatError(path);
    std::vector<ConsistencyElement> clean(elements);
    for (auto& e : clean)
        e = clampedElement(e);
    if (auto st = folder.writeAtomic(path, consistencyElementsBytes(clean)); !st)
        return st;
    return store::PutRecord(folder, kConsistencyTypeList, static_cast<std::size_t>(slot), record);
}

// The slot count, or an error when the slot can be neither rewritten nor appended.
Result<int> checkedSlot(const platform::WorkFolder& folder, int slot) {
    auto list = ReadConsistencyTypeList(folder);
    if (!list)
        return list.error();
    const int count = static_cast<int>(list->size());
    if (slot < 0 || slot > count)
        return store::BadFormatError(kConsistencyTypeList);
    if (slot == 0 && count > 0)
        return builtInError();
    return count;
}

} // namespace

Status SaveConsistencyType(const platform::WorkFolder& folder, int slot, std::string_view nameUtf8,
                           const std::vector<ConsistencyElement>& elements) {
    if (auto count = checkedSlot(folder, slot); !count)
        return count.error();
    return writeType(folder, slot, consistencyRecord(nameUtf8), elements);
}

Result<int> SaveNewConsistencyType(const platform::WorkFolder& folder, std::string_view nameUtf8,
                                   const std::vector<ConsistencyElement>& elements) {
    auto list = ReadConsistencyTypeList(folder);
    if (!list)
        return list.error();
    const int slot = static_cast<int>(list->size());
    if (auto st = writeType(folder, slot, consistencyRecord(nameUtf8), elements); !st)
        return st.error();
    return slot;
}

Status DeleteConsistencyType(const platform::WorkFolder& folder, int slot) {
    auto list = ReadConsistencyTypeList(folder);
    if (!list)
        return list.error();
    if (slot == 0)
        return builtInError();
    if (slot < 0 || static_cast<std::size_t>(slot) >= list->size())
        return store::BadFormatError(kConsistencyTypeList);
    ConsistencyTypeRecord rec = (*list)[static_cast<std::size_t>(slot)];
    rec.used = 0;
    if (auto st =
            store::PutRecord(folder, kConsistencyTypeList, static_cast<std::size_t>(slot), rec);
        !st)
        return st;
    folder.removeFile(consistencyTypePath(slot));
    return success();
}

// ---- exchange ----

store::Bytes consistencyExchangeBytes(const ConsistencyType& type) {
    store::Bytes out = platform::startExchange(kConsistencyExchange);
    store::appendRecord(out, type.record);
    const store::Bytes elements = consistencyElementsBytes(type.elements);
    out.insert(out.end(), elements.begin(), elements.end());
    return out;
}

Result<ConsistencyType> parseConsistencyExchange(std::span<const std::uint8_t> bytes) {
    if (auto st = platform::checkExchange(bytes, kConsistencyExchange); !st)
        return st.error();
    const std::size_t header = kConsistencyExchange.headerSize();
    const std::size_t count = (bytes.size() - header) / ConsistencyElement::kSize;
    if (!elementCountAllowed(count))
        return platform::badFileFormatError();
    ConsistencyType type;
    type.record =
        *store::parseRecord<ConsistencyTypeRecord>(bytes.subspan(kConsistencyMagic.size()));
    type.elements = store::parseList<ConsistencyElement>(
        bytes.subspan(header, count * ConsistencyElement::kSize));
    if (!std::all_of(type.elements.begin(), type.elements.end(), elementAllowed))
        return platform::badFileFormatError();
    return type;
}

Result<ConsistencyType> ReadConsistencyExchange(const std::filesystem::path& file) {
    auto bytes = platform::ReadExchangeFile(file, kConsistencyExchange);
    if (!bytes)
        return bytes.error();
    return parseConsistencyExchange(*bytes);
}

Status ExportConsistencyType(const platform::WorkFolder& folder, int slot,
                             const std::filesystem::path& file) {
    if (slot == 0)
        return builtInError();
    auto type = LoadConsistencyType(folder, slot);
    if (!type)
        return type.error();
    return platform::WriteExchangeFile(file, consistencyExchangeBytes(*type));
}

std::optional<int> findConsistencyTypeByName(const std::vector<ConsistencyTypeRecord>& list,
                                             const ConsistencyTypeRecord& record) {
    const std::string name = record.name.bytes();
    for (std::size_t i = 1; i < list.size(); ++i)
        if (list[i].used != 0 && list[i].name.samePadded(name))
            return static_cast<int>(i);
    return std::nullopt;
}

Result<int> ImportConsistencyType(const platform::WorkFolder& folder, const ConsistencyType& type,
                                  std::optional<int> slot) {
    auto list = ReadConsistencyTypeList(folder);
    if (!list)
        return list.error();
    const int target = slot.value_or(static_cast<int>(list->size()));
    if (auto count = checkedSlot(folder, target); !count)
        return count.error();
    if (!std::all_of(type.elements.begin(), type.elements.end(), elementAllowed))
        return platform::badFileFormatError();
    ConsistencyTypeRecord record = type.record;
    record.used = 1;
    if (auto st = writeType(folder, target, record, type.elements); !st)
        return st.error();
    return target;
}

platform::NameTakenQuestion consistencyNameTaken() {
    return platform::overwriteOnImport("Импорт - Показатель текучести, влажность",
                                       "Показатель текучести, влажность с наименованием:");
}

} // namespace orvo::dict
