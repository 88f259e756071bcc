// Hatch types: the list DATA\DIC\shtrix.sps, one item file "DATA\DIC\%6.6d.HTR" of lines,
// segments and symbols per hatch, the renderer, the test-print page, the editor's element
// table and the "*.OHT" exchange files.
//
// A preview of a hatch slot in a rectangle (legend boxes, the IGE description dialogs):
//     auto hatch = LoadHatch(folder, slot);               // -1: the empty "- Новая -" hatch
//     DrawHatchIn(canvas, folder, *hatch, dpiX, rect);   // clip, origin, extent, cull = rect
#pragma once
#include "dict/symbol.h"
#include "platform/canvas.h"
#include "platform/exchange_file.h"
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/fixed_text.h"
#include "store/le_stream.h"
#include "store/records.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::dict {

inline constexpr std::string_view kHatchList = "DATA\\DIC\\shtrix.sps";
inline constexpr std::string_view kHatchMagic = "ORVO-II Shtrix";
inline constexpr int kMaxHatchElements = 100; // per kind
inline constexpr std::size_t kHatchNameChars = 39;
inline constexpr char kNewHatchName[] = "- Новая -";

// "DATA\DIC\%6.6d.HTR"
std::string hatchItemPath(int slot);

struct HatchListRecord {
    static constexpr std::size_t kSize = 44;
    std::int32_t used = 0;
    store::FixedText<40> name; // padded with spaces, no terminator

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

// Millimetres as 32-bit floats; y grows downwards.
struct HatchLine {
    float width = 0.2f;
    std::int32_t angle = 0; // degrees from the vertical, positive rising to the right
    float step = 0;         // perpendicular distance between neighbours
    bool operator==(const HatchLine&) const = default;
};

struct HatchSegment {
    float width = 0.2f;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    float stepX = 0, stepY = 0;
    bool operator==(const HatchSegment&) const = default;
};

struct HatchSymbol {
    std::int32_t symbol = 0; // slot in Symbols.SPS; 0 or less is none
    float cornerX = 0, cornerY = 0;
    float stepX = 0, stepY = 0;
    bool operator==(const HatchSymbol&) const = default;
};

// The working hatch: at most 100 elements of each kind.
struct HatchPattern {
    std::string name; // UTF-8, without trailing spaces
    std::vector<HatchLine> lines;
    std::vector<HatchSegment> segments;
    std::vector<HatchSymbol> symbols;
    bool operator==(const HatchPattern&) const = default;
};

// ---- item files ----

// 12 + 4·(3·nLines + 7·nSegments + 5·nSymbols): counts, then the fifteen arrays column-wise.
store::Bytes hatchItemBytes(const HatchPattern& pattern);
inline constexpr std::size_t kMaxHatchItemBytes = 12 + 4 * (3 + 7 + 5) * kMaxHatchElements;
// A stored item file as drawing reads it: each kind keeps the elements whose every field lies
// inside the file (a short file draws its whole elements), at most the first 100; a negative
// count is no elements. Never fails.
HatchPattern parseHatchItem(std::span<const std::uint8_t> bytes);
// An item file as an import must bring it: counts 0..100, exactly the size they announce and
// finite numbers only; otherwise "Неверный формат файла".
Result<HatchPattern> parseHatchItemStrict(std::span<const std::uint8_t> bytes);

// ---- the list ----

// Every record (a missing list has none).
Result<std::vector<HatchListRecord>> ReadHatchList(const platform::WorkFolder& folder);
// The hatch of `slot`, its name without trailing spaces; -1 is the empty "- Новая -" hatch. A
// missing item file (a deleted hatch) gives no elements.
Result<HatchPattern> LoadHatch(const platform::WorkFolder& folder, int slot);
// The record a save writes: used, the first 39 characters padded with spaces to 40 bytes.
HatchListRecord hatchRecord(std::string_view nameUtf8);
// The first used slot other than `except` whose 40 name bytes equal those of `record`.
std::optional<int> findHatchByName(const std::vector<HatchListRecord>& list,
                                   const HatchListRecord& record, int except = -1);
// Saves into `slot`, or a new last slot for -1, and returns the slot. A name another used hatch
// has gives "Вид штриховки\r%s\rуже существует в системе.\rИзмените наименование" ("Ошибка")
// and writes nothing. The item file is written before the record, both atomically, and a
// missing shtrix.sps is created.
Result<int> SaveHatch(const platform::WorkFolder& folder, int slot, const HatchPattern& pattern);
// Clears the used flag (the name stays, the slot is never reused) and removes the item file.
Status DeleteHatch(const platform::WorkFolder& folder, int slot);
// "Вы действительно\rхотите удалить штриховку\r%s ?"
std::string hatchDeleteQuestion(const std::string& nameUtf8);

// ---- drawing ----

// Device units. Elements lying wholly outside are not drawn.
struct HatchCull {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
};

// A library symbol as a hatch tiles it, read once per symbol entry.
struct HatchSymbolShape {
    std::int32_t width = 0; // 0.01 mm, from the library record
    std::int32_t height = 0;
    std::int32_t minX = 0;
    std::int32_t minY = 0;
    std::vector<SymbolElement> elements;
};
// One entry per symbol element of the pattern; empty where the entry draws nothing (no symbol,
// a deleted or unreadable one).
using HatchSymbolShapes = std::vector<std::optional<HatchSymbolShape>>;
HatchSymbolShapes LoadHatchSymbols(const platform::WorkFolder& folder, const HatchPattern& pattern);

// What a drawing cost: positions looked at (tiles, lines, probes) and lines or symbols drawn.
struct HatchDrawStats {
    std::int64_t examined = 0;
    std::int64_t drawn = 0;
};

inline constexpr platform::Color kHatchHighlight{0, 0, 255};
enum HatchHighlightKind : int { kHighlightLines = 0, kHighlightSegments = 1 };

// Draws lines, then segments, then symbols. (x0, y0) is the pattern origin, (x0, y0)-(x1, y1)
// the extent the pattern is generated over; the caller has clipped the canvas. Element
// `highlightIndex` of kind `highlightKind` (0 lines, 1 segments, else none) is drawn blue.
// Always ends: the work depends on the cull box, not on the extent or on the steps.
HatchDrawStats DrawHatch(platform::Canvas& canvas, const HatchPattern& pattern,
                         const HatchSymbolShapes& symbols, double dpiX, std::int64_t x0,
                         std::int64_t y0, std::int64_t x1, std::int64_t y1, int highlightKind,
                         int highlightIndex, const HatchCull& cull);

// A sample box: clipped to the rectangle, which is also origin, extent and cull.
void DrawHatchIn(platform::Canvas& canvas, const platform::WorkFolder& folder,
                 const HatchPattern& pattern, double dpiX, const HatchCull& rect,
                 int highlightKind = -1, int highlightIndex = -1);

// Device units per millimetre as the renderer uses them: dpiX / 25.4 as a 32-bit float.
float hatchPxPerMm(double dpiX);
// v + 0.5 truncated toward zero, saturated: NaN is 0 and huge values stop at ±2^40.
std::int64_t hatchToPx(float v);
// Whether the line (top, y0)-(bottom, y1) passes through the cull box; inclined lines are
// culled by this test.
bool hatchLineVisible(std::int64_t top, std::int64_t bottom, std::int64_t y0, std::int64_t y1,
                      const HatchCull& cull);

// The test-print page at `dpiX`: title, name, rulers and the 100 × 100 mm frame filled with the
// hatch. Positions are tenths of a millimetre times dpiX / 254.
void DrawHatchSample(platform::Canvas& canvas, const HatchPattern& pattern,
                     const HatchSymbolShapes& symbols, double dpiX);
// The frame of the sample page in device units.
HatchCull hatchSampleFrame(double dpiX);

// ---- the editor ----

enum class HatchKind { Lines = 0, Segments = 1, Symbols = 2 };

// The element table of one editing run.
class HatchEdit {
public:
    HatchEdit(HatchPattern pattern, int slot);

    std::string name; // UTF-8 as typed; the first 39 characters are saved
    int slot() const { return m_slot; }
    const HatchPattern& pattern() const { return m_pattern; }
    HatchPattern patternToSave() const;

    HatchKind kind() const { return m_kind; }
    // Switching the kind clears the selection.
    void setKind(HatchKind kind);
    int count() const;
    int selected() const { return m_selected; }
    void select(int index); // -1 or out of range clears
    // "Линия #%d ", "Отрезок #%d ", "Значок #%d " numbered from 1.
    std::string elementLabel(int index) const;
    bool canAdd() const { return count() < kMaxHatchElements; }
    // Appends an element of the active kind (width 0.2 mm, all else 0) and selects it; false at
    // 100 elements.
    bool add();
    // Removes the selected element; the later ones move down and nothing stays selected.
    bool removeSelected();

    // The attribute fields of a kind: their labels, and the selected element's values as shown
    // ("%.2f", "%d" for the angle; the symbol slot is not a field).
    static std::vector<std::string> fieldLabels(HatchKind kind);
    std::string fieldText(int field) const;
    // A field left: the text read as a real number (0 when unreadable); the angle truncated.
    void setField(int field, std::string_view text);
    int symbolOfSelected() const;
    void setSymbol(int symbolSlot);

    // For the preview: the selected line or segment is drawn blue.
    int highlightKind() const;
    int highlightIndex() const { return highlightKind() < 0 ? -1 : m_selected; }

    Result<int> save(const platform::WorkFolder& folder);

private:
    HatchPattern m_pattern;
    int m_slot;
    HatchKind m_kind = HatchKind::Lines;
    int m_selected = -1;
};

// ---- exchange files ----

inline constexpr platform::ExchangeFormat kHatchExchange{
    kHatchMagic, HatchListRecord::kSize,
    kHatchMagic.size() + HatchListRecord::kSize + kMaxHatchItemBytes};
static_assert(kHatchMagic.size() == platform::kExchangeMagicSize);

struct HatchExchange {
    HatchListRecord record;
    HatchPattern pattern;
    store::Bytes item; // the item file byte for byte
};

store::Bytes hatchExchangeBytes(const HatchListRecord& record, const HatchPattern& pattern);
// "Неверный формат файла" (caption "ОШИБКА") for a wrong magic and for an item part that
// parseHatchItemStrict refuses.
Result<HatchExchange> parseHatchExchange(std::span<const std::uint8_t> bytes);
Result<HatchExchange> ReadHatchExchange(const std::filesystem::path& file);
// The magic, the slot's record and its item file; "Ошибка открытия (%s)" when not written.
Status ExportHatch(const platform::WorkFolder& folder, int slot, const std::filesystem::path& file);

// The answer of the box "Импорт вида штриховки".
struct HatchImportAnswer {
    enum class Choice { Cancel, Overwrite, NewName } choice = Choice::Cancel;
    std::string newNameUtf8; // for NewName
};
using AskHatchConflict = std::function<HatchImportAnswer(const std::string& nameUtf8)>;
// Writes the imported hatch: into a new last slot when its name is free, else as the user
// answers about the name (a new name is tested again from the first slot). Returns the slot
// written, or nothing when the user cancelled.
Result<std::optional<int>> ImportHatch(const platform::WorkFolder& folder,
                                       const HatchExchange& item, const AskHatchConflict& ask);

} // namespace orvo::dict
