// IGE consistency types: the list DATA\DIC\TipIGE.SPS, one item file "DATA\DIC\%6.6d.TIE" of
// line elements per type, the pattern renderer, the editor's element rules and the "*.OTI"
// exchange files.
#pragma once
#include "platform/canvas.h"
#include "platform/exchange_file.h"
#include "platform/messages.h"
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/fixed_text.h"
#include "store/le_stream.h"
#include "store/records.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::dict {

inline constexpr std::string_view kConsistencyTypeList = "DATA\\DIC\\TipIGE.SPS";
inline constexpr std::string_view kConsistencyMagic = "ORVO-II TipIGE";
inline constexpr int kMaxConsistencyElements = 100;
inline constexpr int kMaxConsistencyAngle = 89;

// "DATA\DIC\%6.6d.TIE"
std::string consistencyTypePath(int slot);

struct ConsistencyTypeRecord {
    static constexpr std::size_t kSize = 32;
    std::int16_t used = 0;
    store::FixedText<30> name; // padded with spaces, no terminator

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

enum ConsistencyKind : std::int32_t { kVertical = 1, kHorizontal = 2, kDiagonal = 3 };

struct ConsistencyElement {
    static constexpr std::size_t kSize = 24;
    std::int32_t step = 0;  // 0.01 mm, signed: the offset of a single line may go either way
    std::int32_t angle = 0; // degrees, repeated diagonals only
    std::int32_t kind = kVertical;
    std::int32_t repeat = 0;    // 1 = repeated with the step
    std::int32_t direction = 0; // single diagonal: 0 down to the right, 1 up to the right
    std::int32_t lineWidth = 1; // 0.01 mm

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
    bool operator==(const ConsistencyElement&) const = default;
};

// The values the editor can produce: kind 1..3, repeat and direction 0/1, angle -89..89, width
// not negative; the step has either sign (a single line left of the centre or above the top).
bool elementAllowed(const ConsistencyElement& e);
// The nearest allowed element, so that a damaged item file still draws.
ConsistencyElement clampedElement(ConsistencyElement e);

// Item files read for drawing: whole elements only, at most 100, values clamped.
std::vector<ConsistencyElement> parseConsistencyElements(std::span<const std::uint8_t> bytes);
store::Bytes consistencyElementsBytes(const std::vector<ConsistencyElement>& elements);

// ---- drawing ----

// Device units, integer as the pattern arithmetic works in them.
struct PatternRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

inline constexpr platform::Color kSelectedElementColor{255, 0, 0};

// Draws the elements in order into the rectangle (the clip region); `scale` is device units per
// 0.01 mm. The element at `selected` is drawn red; -1 selects none.
void DrawConsistencyPattern(platform::Canvas& canvas, const PatternRect& rect,
                            std::span<const ConsistencyElement> elements, double scale,
                            int selected = -1);

// The editor's preview: the column of `widthHundredths` at the screen's resolution and the zoom,
// centred in the frame, filled with `background`, the pattern inside it and a blue frame round.
struct ConsistencyPreview {
    PatternRect frame; // the client area of the "Просмотр" frame
    int widthHundredths = 1000;
    double dpi = 96;
    int zoom = 1;
    platform::Color background{227, 227, 227};
};
PatternRect previewColumn(const ConsistencyPreview& p);
void DrawConsistencyPreview(platform::Canvas& canvas, const ConsistencyPreview& p,
                            std::span<const ConsistencyElement> elements, int selected);

// ---- editor values ----

// Millimetres typed with a decimal point, kept in 0.01 mm and truncated; not below 0 (line and
// column widths).
std::int32_t parseHundredths(std::string_view text);
// The same with its sign kept, truncated toward zero (steps and offsets).
std::int32_t parseSignedHundredths(std::string_view text);
// "%.2f" of the millimetres.
std::string formatHundredths(std::int32_t hundredths);
// A whole number of degrees (the fraction dropped) limited to -89..89.
std::int32_t parseConsistencyAngle(std::string_view text);

// Which fields the editor shows for an element and the label of its step field.
struct ElementFields {
    const char* stepLabel = nullptr; // no step field when null
    bool angle = false;
    bool direction = false;
};
ElementFields elementFields(const ConsistencyElement& e);

// The element table of one type while it is edited; always one to 100 elements.
class ConsistencyEdit {
public:
    ConsistencyEdit() : m_elements(1) {}
    explicit ConsistencyEdit(std::vector<ConsistencyElement> elements);

    const std::vector<ConsistencyElement>& elements() const { return m_elements; }
    int selected() const { return m_selected; }
    ConsistencyElement& current() { return m_elements[static_cast<std::size_t>(m_selected)]; }
    const ConsistencyElement& current() const {
        return m_elements[static_cast<std::size_t>(m_selected)];
    }

    void select(int index);
    // Appends a default element and selects it; false (nothing done) at 100 elements.
    bool addElement();
    bool canRemove() const { return m_elements.size() > 1; }
    // Removes the selected element; the later ones move up.
    bool removeSelected();

private:
    std::vector<ConsistencyElement> m_elements;
    int m_selected = 0;
};

// ---- the list and its items ----

struct ConsistencyType {
    ConsistencyTypeRecord record;
    std::vector<ConsistencyElement> elements;
};

// Every record (a missing list has none).
Result<std::vector<ConsistencyTypeRecord>>
ReadConsistencyTypeList(const platform::WorkFolder& folder);
// The record and its elements; a missing item file gives no elements.
Result<ConsistencyType> LoadConsistencyType(const platform::WorkFolder& folder, int slot);
// The record as the editor writes it: used, the name followed by spaces and cut to 30 bytes.
ConsistencyTypeRecord consistencyRecord(std::string_view nameUtf8);
// Writes the item file, then the record at `slot` (a slot equal to the count appends).
Status SaveConsistencyType(const platform::WorkFolder& folder, int slot, std::string_view nameUtf8,
                           const std::vector<ConsistencyElement>& elements);
Result<int> SaveNewConsistencyType(const platform::WorkFolder& folder, std::string_view nameUtf8,
                                   const std::vector<ConsistencyElement>& elements);
// Clears the used flag and removes the item file; slot 0 stays.
Status DeleteConsistencyType(const platform::WorkFolder& folder, int slot);

// ---- exchange files ----

// "*.OTI": the magic, the record, the elements. One element more than a type may have is
// already too long; a part of an element after the last whole one is ignored.
inline constexpr platform::ExchangeFormat kConsistencyExchange{
    kConsistencyMagic, ConsistencyTypeRecord::kSize,
    kConsistencyMagic.size() + ConsistencyTypeRecord::kSize +
        (kMaxConsistencyElements + 1) * ConsistencyElement::kSize - 1};
static_assert(kConsistencyMagic.size() == platform::kExchangeMagicSize);

store::Bytes consistencyExchangeBytes(const ConsistencyType& type);
// "Неверный формат файла" (caption "ОШИБКА") for a wrong magic, no or more than 100 whole
// elements, or values the editor would not allow. A partial last element is ignored.
Result<ConsistencyType> parseConsistencyExchange(std::span<const std::uint8_t> bytes);
// "Ошибка открытия (%s)" (caption "ОШИБКА") when the file cannot be read or written.
Result<ConsistencyType> ReadConsistencyExchange(const std::filesystem::path& file);
Status ExportConsistencyType(const platform::WorkFolder& folder, int slot,
                             const std::filesystem::path& file);
// The first used slot, past the built-in one, with the same name padded to 30 bytes.
std::optional<int> findConsistencyTypeByName(const std::vector<ConsistencyTypeRecord>& list,
                                             const ConsistencyTypeRecord& record);
// Writes the imported type into `slot` or, with no slot, into a new last one; returns the slot.
Result<int> ImportConsistencyType(const platform::WorkFolder& folder, const ConsistencyType& type,
                                  std::optional<int> slot);
// "Импорт - Показатель текучести, влажность" about a name in use.
platform::NameTakenQuestion consistencyNameTaken();

} // namespace orvo::dict
