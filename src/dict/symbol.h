// The symbol library: DATA\DIC\Symbols.SPS (54-byte records) and one item file
// "DATA\DIC\%6.6d.SYM" per symbol with its elements, the renderer and the exchange files.
#pragma once
#include "platform/canvas.h"
#include "platform/exchange_file.h"
#include "platform/messages.h"
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/fixed_text.h"
#include "store/le_stream.h"
#include "store/records.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace orvo::dict {

inline constexpr std::string_view kSymbolList = "DATA\\DIC\\Symbols.SPS";
inline constexpr std::string_view kSymbolMagic = "ORVO-II TipSYM";

struct SymbolListRecord {
    static constexpr std::size_t kSize = 54;
    std::int32_t used = 0;
    store::FixedText<30> name; // zero-filled after the text
    std::int32_t height = 0;   // 0.01 mm
    std::int32_t width = 0;
    std::int32_t minX = 0;
    std::int32_t minY = 0;
    std::int32_t elementCount = 0;

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

// Every record of Symbols.SPS (a missing list has none).
Result<std::vector<SymbolListRecord>> ReadSymbolList(const platform::WorkFolder& folder);

// Draws symbol `index` with its top-left corner (minX, minY) at device point `at`; scaleX and
// scaleY are device units per 0.01 mm. Index <= 0 or a deleted symbol draws nothing.
Status DrawSymbol(platform::Canvas& canvas, const platform::WorkFolder& folder, int index,
                  platform::PointF at, float scaleX, float scaleY);

// ---- elements and item files ----

enum SymbolElementType : std::int32_t {
    kSymbolSegment = 0,
    kSymbolPolygon = 1,
    kSymbolRectangle = 2,
    kSymbolEllipse = 3,
    kSymbolArc = 4,
    kSymbolChord = 5,
    kSymbolPie = 6,
};
inline constexpr int kSymbolTypeCount = 7;
inline constexpr int kMaxElementsPerType = 99;
inline constexpr int kMaxPolygonPoints = 99;
inline constexpr int kMaxSymbolCoordinate = 2000; // 20 mm
inline constexpr std::size_t kSymbolNameChars = 29;

// "Отрезок", "Полигон", ... as the editor lists the types.
const char* symbolTypeName(int type);
// Points an element of the type holds; 0 for a polygon (its own count) or an unknown type.
int symbolFixedPointCount(int type);
// "DATA\DIC\%6.6d.SYM"
std::string symbolItemPath(int slot);

struct SymbolPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const SymbolPoint&) const = default;
};

struct SymbolElement {
    static constexpr std::size_t kHeaderSize = 20;
    std::int32_t type = kSymbolSegment;
    std::int32_t penWidth = 0; // 0.01 mm
    std::int32_t penKind = 2;  // 0 none, 1 white, 2 black
    std::int32_t brushKind = 2;
    std::vector<SymbolPoint> points;
    bool operator==(const SymbolElement&) const = default;
};

// Appends to `out` up to `count` elements read from an item file; stops with "Неверный формат
// файла" at an unknown type, a point count the type does not allow or the data cannot hold,
// and also when bytes remain after the last element.
Status parseSymbolItems(std::span<const std::uint8_t> bytes, std::int32_t count,
                        std::string_view path, std::vector<SymbolElement>& out);
// The item file; every element gets its type's point count (missing points are 0, 0).
store::Bytes symbolItemBytes(const std::vector<SymbolElement>& elements);
// The list record a save writes: extremes over every written point, starting from 5000 and
// -5000, so a symbol without elements has height = width = -10000.
SymbolListRecord symbolRecordFor(std::string_view nameUtf8,
                                 const std::vector<SymbolElement>& elements);

// ---- drawing ----

// Where stored points land: X = origin.x + trunc((px - minX) * scaleX), likewise Y.
struct SymbolTransform {
    platform::PointF origin;
    std::int32_t minX = 0;
    std::int32_t minY = 0;
    float scaleX = 1;
    float scaleY = 1;
    platform::PointF map(SymbolPoint p) const;
};

// How the editor's picture departs from the plain drawing.
struct SymbolHighlight {
    int current = -1;         // position of the element outlined in red
    bool transparent = false; // outlines only, all of width 0
};

void DrawSymbolElements(platform::Canvas& canvas, const std::vector<SymbolElement>& elements,
                        const SymbolTransform& placement, const SymbolHighlight& highlight = {});

// The library preview: the symbol fitted into (or, with a natural scale, drawn true to size in)
// the frame and centred; nothing for an empty symbol.
struct SymbolPreviewFit {
    double scale = 0;
    platform::PointF at;
};
std::optional<SymbolPreviewFit> fitSymbolPreview(const SymbolListRecord& record,
                                                 const platform::RectF& frame,
                                                 std::optional<double> naturalScale);

// The editor's picture: scale and offset of the elements in a frame of the given size.
std::optional<SymbolTransform> editorTransform(const std::vector<SymbolElement>& elements,
                                               platform::SizeF frame,
                                               std::optional<double> realScale);

// ---- the library ----

// Used records other than slot 0 whose name equals `nameCp1251` after padding with spaces.
std::optional<int> findSymbolByName(const std::vector<SymbolListRecord>& list,
                                    std::string_view nameCp1251, int except = -1);
// Writes the item file, then the record of `slot` (appending when slot is the slot count).
Status SaveSymbol(const platform::WorkFolder& folder, int slot, std::string_view nameUtf8,
                  const std::vector<SymbolElement>& elements);
// Appends the symbol in a new last slot and returns it; in an empty list that is slot 0, the
// empty entry a new database starts with.
Result<int> SaveNewSymbol(const platform::WorkFolder& folder, std::string_view nameUtf8,
                          const std::vector<SymbolElement>& elements);
// Clears the used flag; the item file and the slot stay. Slot 0 is never deleted.
Status DeleteSymbol(const platform::WorkFolder& folder, int slot);

// ---- exchange files ----

// The largest item file the editor can make is about 110 KB (7 types of 99 elements, polygons
// of 99 points); anything far beyond that is not a symbol.
inline constexpr std::size_t kMaxSymbolItemBytes = 1u << 20;
// "*.OTS": the magic, the list record, the item file.
inline constexpr platform::ExchangeFormat kSymbolExchange{
    kSymbolMagic, SymbolListRecord::kSize,
    kSymbolMagic.size() + SymbolListRecord::kSize + kMaxSymbolItemBytes};
static_assert(kSymbolMagic.size() == platform::kExchangeMagicSize);

struct SymbolExchange {
    SymbolListRecord record;
    store::Bytes item; // the item file byte for byte
};
Result<store::Bytes> ExportSymbolBytes(const platform::WorkFolder& folder, int slot);
// Writes the exchange file of `slot`; "Ошибка открытия (%s)" when it cannot be written.
Status ExportSymbol(const platform::WorkFolder& folder, int slot,
                    const std::filesystem::path& file);
// "Неверный формат файла" (caption "ОШИБКА") for a wrong magic, and also for element or point
// counts that do not fit the file or disagree with the record, or coordinates outside 0..2000.
Result<SymbolExchange> parseSymbolExchange(std::span<const std::uint8_t> bytes);
// Reads and parses a picked file; "Ошибка открытия (%s)" when it cannot be read.
Result<SymbolExchange> ReadSymbolExchange(const std::filesystem::path& file);
// Writes the item file and the record as they came into `slot`, or a new last slot.
Result<int> ImportSymbol(const platform::WorkFolder& folder, const SymbolExchange& item,
                         std::optional<int> slot);

// The boxes about a name another symbol has: "Импорт значка. Предупреждение" on importing
// ("Перезаписать", "Отменить импорт"), "Предупреждение" on saving ("Продолжить
// редактирование", "Перезаписать", "Выйти без сохранения").
platform::NameTakenQuestion symbolNameTaken(bool importing);

// ---- the editor ----

// A typed number: millimetres to hundredths, truncated and limited to 0..2000.
std::int32_t parseSymbolCoordinate(std::string_view text);
std::string formatSymbolCoordinate(std::int32_t hundredths); // "%.2f" mm

// Which fields an element type uses.
struct SymbolFields {
    int points = 0; // fixed points with X and Y fields (the polygon uses its point list)
    bool pointList = false;
    bool fill = false;
};
SymbolFields symbolFieldsFor(int type);

struct SymbolElementRef {
    int type = -1;
    int number = -1; // 0-based within the type
    int code() const { return type * 100 + number; }
    bool operator==(const SymbolElementRef&) const = default;
};

enum class DuplicateChoice { KeepEditing, Overwrite, Leave };

struct SymbolSaveOutcome {
    enum class Step { Saved, KeepEditing, Left } step = Step::Left;
    int slot = 0;
};

// One editing run. The elements live in memory rather than in the scratch files ES.tmp and
// ES_P.tmp: nothing outside the editor reads them while it runs, and what the user sees
// (numbering by type, drawing order, the limits) does not depend on where they are kept.
class SymbolEdit {
public:
    static SymbolEdit New(); // named "Новый", no elements
    static Result<SymbolEdit> Load(const platform::WorkFolder& folder, int slot);

    std::string name; // UTF-8 as typed; the first 29 characters are saved
    int slot() const { return m_slot; }

    const std::vector<SymbolElement>& elementsOf(int type) const;
    const std::vector<SymbolElementRef>& order() const { return m_order; }
    const SymbolElement* element(SymbolElementRef ref) const {
        const auto& of = elementsOf(ref.type);
        return ref.number >= 0 && ref.number < static_cast<int>(of.size())
                   ? &of[static_cast<std::size_t>(ref.number)]
                   : nullptr;
    }
    SymbolElement* element(SymbolElementRef ref) {
        return const_cast<SymbolElement*>(std::as_const(*this).element(ref));
    }

    bool canAdd(int type) const {
        return type >= 0 && type < kSymbolTypeCount &&
               elementsOf(type).size() < kMaxElementsPerType;
    }
    std::optional<SymbolElementRef> add(int type);
    // Later elements of the type move down one number, in the drawing order too.
    void remove(SymbolElementRef ref);
    bool canInsertPoint(SymbolElementRef ref) const {
        const auto* e = element(ref);
        return e && e->type == kSymbolPolygon && !e->points.empty() &&
               e->points.size() < kMaxPolygonPoints;
    }
    bool insertPoint(SymbolElementRef ref, int after); // a point at 0, 0 after `after`
    bool canRemovePoint(SymbolElementRef ref) const {
        const auto* e = element(ref);
        return e && e->type == kSymbolPolygon && e->points.size() > 1;
    }
    bool removePoint(SymbolElementRef ref, int index);
    // Swaps the order entry with its neighbour (delta -1 or +1).
    bool move(int orderIndex, int delta);

    std::vector<SymbolElement> inDrawingOrder() const;
    // The used record with the same name in another slot (any slot for a new symbol).
    std::optional<int> duplicateIn(const std::vector<SymbolListRecord>& list) const;
    // Saves as the save rules say, asking about a duplicate name.
    Result<SymbolSaveOutcome> save(const platform::WorkFolder& folder,
                                   const std::function<DuplicateChoice()>& askDuplicate) const;

private:
    int m_slot = -1;
    std::array<std::vector<SymbolElement>, kSymbolTypeCount> m_byType;
    std::vector<SymbolElementRef> m_order;
};

} // namespace orvo::dict
