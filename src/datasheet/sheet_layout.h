// The data-sheet layout "DATA\View_SKV.prm": 334 bytes of text faces and heights, text
// attributes, line widths and the 39 layout sizes, all in tenths of a millimetre on paper.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/le_stream.h"
#include "store/records.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace orvo::datasheet {

inline constexpr const char* kSheetLayoutFile = "DATA\\View_SKV.prm";

inline constexpr int kTextElements = 5;
inline constexpr int kLineElements = 3;
inline constexpr int kLayoutSizes = 39;

// Text elements, in file order.
enum TextElement : int { kHeadingText = 0, kTitleLabels, kTitleValues, kColumnHeads, kCellText };
// Line elements, in file order.
enum LineElement : int { kPageFrameLine = 0, kTableOutline, kTableLines };

// The names the layout dialog lists (UTF-8).
extern const std::array<const char*, kTextElements> kTextElementNames;
extern const std::array<const char*, kLineElements> kLineElementNames;
extern const std::array<const char*, kLayoutSizes> kLayoutSizeNames;

struct TextAttributes {
    std::uint8_t bold = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t alignLeft = 0;
    std::uint8_t alignCentre = 0;
    std::uint8_t alignRight = 0;
    std::uint8_t charSet = 0;
    std::uint8_t pitchAndFamily = 0;
};

struct SheetLayout {
    static constexpr std::size_t kSize = 334;
    static constexpr std::size_t kFaceWidth = 40;

    std::array<std::array<char, kFaceWidth>, kTextElements> textFace{}; // zero-padded, 1251
    std::array<std::int16_t, kTextElements> textHeight{};               // tenths of a mm
    std::array<TextAttributes, kTextElements> textAttr{};
    std::array<std::int16_t, kLineElements> linePen{}; // tenths of a mm; 0 = not drawn
    std::array<std::int16_t, kLayoutSizes> layoutSize{};

    // Layout size S<i>; an index outside 0..38 is 0.
    int size(int i) const {
        return i >= 0 && i < kLayoutSizes ? layoutSize[static_cast<std::size_t>(i)] : 0;
    }
    // The face as stored, up to its terminator and at most 32 characters (UTF-8).
    std::string face(int element) const;
    void setFace(int element, const std::string& utf8);

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

// The layout of the default database (data/seed/database.json "dataSheetLayout"): what the
// layout dialog starts from when the file is missing, so it can be made again.
SheetLayout defaultSheetLayout();

// At least kSize bytes (the rest is ignored); a shorter file is refused ("Неверный формат
// файла").
Result<SheetLayout> parseSheetLayout(std::span<const std::uint8_t> bytes, std::string_view path);
store::Bytes sheetLayoutBytes(const SheetLayout& layout);

// A missing or short file is refused: there are no built-in values to fall back on.
Result<SheetLayout> ReadSheetLayout(const platform::WorkFolder& folder);
// Replaces the file atomically.
Status WriteSheetLayout(const platform::WorkFolder& folder, const SheetLayout& layout);

} // namespace orvo::datasheet
