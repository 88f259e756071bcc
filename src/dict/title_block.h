// Title blocks: the list DATA\DIC\shtamp.sps (a 2-byte slot count, then 42-byte records), one
// item file "DATA\DIC\%5.5d.SHT" per block with its segments and texts, the editor's working
// files and the "*.OSH" exchange files.
#pragma once
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
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvo::dict {

inline constexpr std::string_view kTitleBlockList = "DATA\\DIC\\shtamp.sps";
inline constexpr std::string_view kTitleBlockMagic = "ORVO-II Shtamp";
inline constexpr int kTitleFieldCount = 11;
inline constexpr std::size_t kTitleNameChars = 39;

// "DATA\DIC\%5.5d.SHT"
std::string titleBlockPath(int slot);

struct TitleBlockListRecord {
    static constexpr std::size_t kSize = 42;
    std::int16_t used = 0;
    store::FixedText<40> name; // zero-terminated, zero-filled

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

// The platform's logical-font record as stored with each text: only the face name and the
// values it was created with matter; the rest is kept as read.
struct LogFont {
    static constexpr std::size_t kSize = 60;
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 400;
    std::array<std::uint8_t, 8> flags{}; // italic, underline, strike-out, charset, precisions,
                                         // quality, pitch and family
    store::FixedText<32> faceName;

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};
// A record for a font family as the font list of the editor offers it (Cyrillic charset).
LogFont logFontFor(std::string_view faceUtf8);

enum TitleTextStyle : std::int16_t {
    kTitleBold = 1,
    kTitleItalic = 2,
    kTitleUnderline = 4,
    kTitleLeft = 8,
    kTitleCentred = 16,
    kTitleRight = 32,
};

// All lengths in tenths of a millimetre, y upwards.
struct TitleSegment {
    static constexpr std::size_t kSize = 10;
    std::int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::int16_t penWidth = 1;

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

struct TitleTextBox {
    std::int16_t style = kTitleLeft;
    std::int16_t size = 10; // points
    std::int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct TitleProgramText {
    static constexpr std::size_t kSize = 74;
    std::int16_t fieldCode = 0;
    LogFont font;
    TitleTextBox box;

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

struct TitleEditableText {
    static constexpr std::size_t kSize = 200;
    store::FixedText<128> text;
    LogFont font;
    TitleTextBox box;

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

struct TitleBlock {
    std::int16_t width = 0; // as stored; recomputed by computeExtent()
    std::int16_t height = 0;
    std::vector<TitleSegment> segments;
    std::vector<TitleProgramText> programTexts;
    std::vector<TitleEditableText> editableTexts;

    // width = |smallest x1 - largest x2|, height = |smallest y1 - largest y2| over all
    // elements; an empty block has 0 and 0.
    void computeExtent();
    // Smallest x and largest y of all element coordinates (where the viewer places it).
    std::pair<int, int> minXmaxY() const;
    bool empty() const { return segments.empty() && programTexts.empty() && editableTexts.empty(); }
};

// The item file. Counts that are negative or do not fit the data are refused.
Result<TitleBlock> parseTitleBlock(std::span<const std::uint8_t> bytes, std::string_view path);
store::Bytes titleBlockBytes(const TitleBlock& block);

// Program fields: the placeholder shown outside a sheet and the label in the editor.
const char* titleFieldPlaceholder(int code);
const char* titleFieldLabel(int code);

// ---- the list and its items ----

struct TitleBlockList {
    std::vector<TitleBlockListRecord> entries; // slotCount records, by slot
    bool used(int slot) const;
};

// A missing list has no slots. The stored count is trusted only as far as records follow it.
Result<TitleBlockList> ReadTitleBlockList(const platform::WorkFolder& folder);
Result<TitleBlock> ReadTitleBlock(const platform::WorkFolder& folder, int slot);
// Writes the item file and then the list record (the count grows when slot is new).
Status SaveTitleBlock(const platform::WorkFolder& folder, int slot, std::string_view nameUtf8,
                      TitleBlock block);
// Saves into a new last slot; returns it.
Result<int> SaveNewTitleBlock(const platform::WorkFolder& folder, std::string_view nameUtf8,
                              TitleBlock block);
Status RenameTitleBlock(const platform::WorkFolder& folder, int slot, std::string_view nameUtf8);
// Clears the used flag; the item file goes too when asked. Slot 0 is the template and stays.
Status DeleteTitleBlock(const platform::WorkFolder& folder, int slot, bool removeFile);

// ---- exchange files ----

// "*.OSH": the magic, the list record, the item file. A block is a few kilobytes; a file of
// megabytes is not one.
inline constexpr platform::ExchangeFormat kTitleBlockExchange{
    kTitleBlockMagic, TitleBlockListRecord::kSize, std::size_t{4} << 20};
static_assert(kTitleBlockMagic.size() == platform::kExchangeMagicSize);

struct TitleBlockExchange {
    TitleBlockListRecord record;
    TitleBlock block;
};
store::Bytes exchangeBytes(const TitleBlockListRecord& record, const TitleBlock& block);
// Writes the exchange file of `slot`; "Ошибка открытия (%s)" when it cannot be written.
Status ExportTitleBlock(const platform::WorkFolder& folder, int slot,
                        const std::filesystem::path& file);
// "Неверный формат файла" (caption "ОШИБКА") for a wrong magic, a truncated file or counts
// that do not fit it.
Result<TitleBlockExchange> parseExchange(std::span<const std::uint8_t> bytes);
// Reads and parses a picked file; "Ошибка открытия (%s)" when it cannot be read.
Result<TitleBlockExchange> ReadTitleBlockExchange(const std::filesystem::path& file);
// The first used slot whose name equals the record's (case-sensitive, up to the terminator).
std::optional<int> findTitleBlockByName(const TitleBlockList& list,
                                        const TitleBlockListRecord& record);
// Writes the imported block into `slot` (replacing it) or, with no slot, into a new last one.
// Returns the slot used. Slot 0 is never replaced.
Result<int> ImportTitleBlock(const platform::WorkFolder& folder, const TitleBlockExchange& item,
                             std::optional<int> slot);
// "Импорт штампа - предупреждение" about a name in use.
platform::NameTakenQuestion titleBlockNameTaken();

// ---- the editor's working files ----

inline constexpr std::string_view kWorkSegments = "SHT_LIN.tmp";
inline constexpr std::string_view kWorkProgramTexts = "SHT_TXS.tmp";
inline constexpr std::string_view kWorkEditableTexts = "SHT_TXE.tmp";

template <class T> struct Alive {
    bool alive = true;
    T item;
};

// One editing run: the elements behind alive flags, mirrored to the three working files after
// every change, so the files always hold what the editor shows.
class TitleBlockEdit {
public:
    // Slot 0, the template, starts with an empty name; so does a copy.
    static Result<TitleBlockEdit> Load(const platform::WorkFolder& folder, int slot,
                                       bool asCopy = false);

    std::string name;
    std::vector<Alive<TitleSegment>> segments;
    std::vector<Alive<TitleProgramText>> programTexts;
    std::vector<Alive<TitleEditableText>> editableTexts;

    TitleBlock current() const; // alive elements only, extent computed
    Status flush() const;       // rewrites the working files
    // Saves into `slot`, or a new last slot when nothing is given; removes the working files.
    Result<int> save(std::optional<int> slot);
    void discard() const;

    // The program field is already placed (and alive).
    bool fieldUsed(int code) const;

private:
    explicit TitleBlockEdit(const platform::WorkFolder& folder) : m_folder(&folder) {}
    const platform::WorkFolder* m_folder;
};

} // namespace orvo::dict
