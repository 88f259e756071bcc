// IGE descriptions: the standard list DATA\DIC\OIE.sps and a section's description file
// ("DATA\%5.5d.OBJ\%6.6d.OIE" and its working copy WORK.OIE), both made of one 274-byte record.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/fixed_text.h"
#include "store/le_stream.h"
#include "store/records.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::dict {

inline constexpr std::string_view kStandardIgeList = "DATA\\DIC\\OIE.sps";
inline constexpr std::size_t kIgeNumberWidth = 10;
// The description field holds 256 bytes; a text typed into it keeps at most 255.
inline constexpr std::size_t kIgeDescriptionChars = 255;
// More IGEs than a section of 100 boreholes of 100 layers can have.
inline constexpr std::int32_t kMaxIgeDescriptions = 10000;

// An IGE number as records compare it: Windows-1251, padded with spaces, no terminator.
using IgeNumber = std::array<char, kIgeNumberWidth>;

// The text up to its terminator (at most 10 bytes), padded with spaces.
IgeNumber padIgeNumber(std::string_view cp1251);
IgeNumber padIgeNumberUtf8(std::string_view utf8);
// Without trailing spaces, in UTF-8: how lists and messages show a number.
std::string igeNumberText(const IgeNumber& number);
bool blankIgeNumber(const IgeNumber& number);

// True when `a` sorts before `b`: its leading decimal integer (0 without one) is smaller, or
// the integers are equal and its suffix is smaller. The suffix runs from the first byte above
// '9', compared unsigned, to the end of the 10 bytes.
bool igeSortsBefore(const IgeNumber& a, const IgeNumber& b);
// Drops every later repeat (byte for byte over 10 bytes, letter case kept) and sorts the rest
// by exchange: for each i < j, the two swap when j sorts before i. Numbers whose keys tie
// ("2-2" and "2-1") keep the order this gives, which a library sort would not promise.
std::vector<IgeNumber> sortedIgeNumbers(const std::vector<IgeNumber>& numbers);

struct IgeDescriptionRecord {
    static constexpr std::size_t kSize = 274;
    // Standard list: 1 used, 0 deleted. Section file: 1 takes the standard description, 0 the
    // section's own.
    std::int32_t flag = 0;
    IgeNumber igeNumber{};
    // Standard list: padded with spaces to 256 bytes. Section file: zero-terminated.
    store::FixedText<256> description;
    std::int32_t hatch = -1; // slot in shtrix.sps, -1 none

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};
static_assert(IgeDescriptionRecord::kSize == 4 + kIgeNumberWidth + 256 + 4);

// ---- the standard list ----

// A standard record as its dialog writes it: used, the number cut to 10 bytes and padded, the
// description cut to 255 bytes and padded with spaces to 256.
IgeDescriptionRecord standardIgeRecord(std::string_view numberUtf8,
                                       std::string_view descriptionUtf8, std::int32_t hatch);
// Every record (a missing list has none).
Result<std::vector<IgeDescriptionRecord>> ReadStandardIgeList(const platform::WorkFolder& folder);
// The first used record with the same 10 bytes, other than `except`.
std::optional<int> findStandardIge(const std::vector<IgeDescriptionRecord>& list,
                                   const IgeNumber& number, int except = -1);

// "Не задан номер ИГЭ\rСохранение невозможно." (caption "Ошибка").
Error blankIgeNumberError();
// "ИГЭ %s\rуже описан\rСохранение невозможно." with the padded number (caption "Ошибка").
Error igeDescribedError(const IgeNumber& number);

// "Сохранить" of the standard dialog: `slot` -1 appends a new record, otherwise the record is
// rewritten in place. A blank number, or one a used record other than `slot` has, is refused
// and nothing is written. Returns the slot written.
Result<int> SaveStandardIge(const platform::WorkFolder& folder, int slot,
                            std::string_view numberUtf8, std::string_view descriptionUtf8,
                            std::int32_t hatch);
// Clears the used flag; the slot keeps its bytes and is never reused.
Status DeleteStandardIge(const platform::WorkFolder& folder, int slot);

// ---- a section's description file ----

// A section record: the flag, the number padded, the description zero-terminated (255 bytes at
// most), the hatch.
IgeDescriptionRecord sectionIgeRecord(const IgeNumber& number, bool useStandard,
                                      std::string_view descriptionUtf8, std::int32_t hatch);
// An int32 count, then the records. A negative or too large count, or a size other than
// 4 + count * 274, is refused with "Неверный формат файла".
Result<std::vector<IgeDescriptionRecord>>
parseIgeDescriptionFile(std::span<const std::uint8_t> bytes, std::string_view path);
store::Bytes igeDescriptionFileBytes(const std::vector<IgeDescriptionRecord>& records);
// Nothing when the file is missing.
Result<std::optional<std::vector<IgeDescriptionRecord>>>
ReadIgeDescriptionFile(const platform::WorkFolder& folder, std::string_view path);
// Replaces the file atomically.
Status WriteIgeDescriptionFile(const platform::WorkFolder& folder, std::string_view path,
                               const std::vector<IgeDescriptionRecord>& records);

} // namespace orvo::dict
