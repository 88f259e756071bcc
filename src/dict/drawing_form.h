// Drawing forms: line thicknesses and the six text fonts of a section drawing, kept in
// DATA\DIC\RazForm.SPS (names) with one body file "DATA\DIC\%3.3d.FRR" per form.
#pragma once
#include "platform/message_sink.h"
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/fixed_text.h"
#include "store/le_stream.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvo::dict {

inline constexpr std::string_view kDrawingFormList = "DATA\\DIC\\RazForm.SPS";
inline constexpr int kTextRoleCount = 6;
// A name field takes 39 characters; the 40th byte of the stored name is always a space.
inline constexpr std::size_t kFormNameChars = 39;
inline constexpr std::int16_t kMinFontSize = 1;
inline constexpr std::int16_t kMaxFontSize = 30;

// One record of RazForm.SPS, 42 bytes; the name is padded with spaces to 40, no terminator.
struct DrawingFormEntry {
    static constexpr std::size_t kSize = 42;
    std::int16_t inUse = 0;
    store::FixedText<40> name;

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

enum class FontStyle : std::int8_t { Normal = 0, Bold = 1, Italic = 2, BoldItalic = 3 };

// Body file of a form, 270 bytes.
struct DrawingForm {
    static constexpr std::size_t kSize = 270;
    std::int32_t frameLine = 3; // tenths of a millimetre
    std::int32_t scaleLine = 3;
    std::int32_t igeLine = 5;
    std::array<store::FixedText<40>, kTextRoleCount> fontFace;
    std::array<std::int16_t, kTextRoleCount> fontSize{};
    std::array<std::int8_t, kTextRoleCount> fontStyle{};

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
    // Brings sizes into 1..30, styles into 0..3 and thicknesses to at least 0, so that a damaged
    // body file still gives a drawable form. True when something had to change.
    bool clampToValid();
};

// Texts of the roles ("Оформление шкал", ...), lines ("Линия рамки", ...), styles.
const std::array<const char*, kTextRoleCount>& textRoleNames();
const std::array<const char*, 3>& lineKindNames();
const std::array<const char*, 4>& fontStyleNames();

// "DATA\DIC\%3.3d.FRR"
std::string drawingFormBodyPath(int index);
// The name every new form starts with, and its body.
inline constexpr const char* kNewFormName = "Новая форма оформления разреза";
DrawingForm newDrawingForm();

struct FormListItem {
    int index;
    DrawingFormEntry entry;
};
// All records of RazForm.SPS (a missing list is empty).
Result<std::vector<DrawingFormEntry>> ReadDrawingFormList(const platform::WorkFolder& folder);
// In-use forms sorted by name, each with its index.
Result<std::vector<FormListItem>> ListDrawingForms(const platform::WorkFolder& folder);
Result<DrawingForm> ReadDrawingFormBody(const platform::WorkFolder& folder, int index);

// For the drawing: the form at `index`; a deleted one is reported by name ("Построение
// разреза") and form 0 is used instead, as is an index the list does not hold (reported by its
// number). The index actually used comes back in `used`. Body values are clamped.
Result<DrawingForm> ReadDrawingForm(const platform::WorkFolder& folder, int index,
                                    platform::MessageSink& sink, int* used = nullptr);

// Index of the in-use form whose padded name equals the given one (UTF-8), or -1.
int FindDrawingFormByName(const std::vector<DrawingFormEntry>& list, std::string_view nameUtf8,
                          int except = -1);

// Saving from the editor: a new form is appended, or replaces `replaceIndex` when >= 0; an
// existing form (index >= 0) keeps its entry. The body is written whole. Returns the index.
Result<int> SaveDrawingForm(const platform::WorkFolder& folder, int index,
                            std::string_view nameUtf8, const DrawingForm& body,
                            int replaceIndex = -1);
// The editor's "Сохранить": a new form (index < 0) whose name is taken asks "Такое наименование
// уже есть.\rЗаменить ?"; Yes saves over that form, No saves nothing and gives no index, so the
// editor stays open.
Result<std::optional<int>> SaveDrawingFormAsking(const platform::WorkFolder& folder, int index,
                                                 std::string_view nameUtf8, const DrawingForm& body,
                                                 platform::MessageSink& sink);
// Renaming: refused with "Такое наименование уже есть." when any in-use form (the form
// itself included) has that name.
Status RenameDrawingForm(const platform::WorkFolder& folder, int index, std::string_view nameUtf8);
// Clears the in-use flag; the body file stays. Form 0 cannot be deleted.
Status DeleteDrawingForm(const platform::WorkFolder& folder, int index);
// "Вы действительно хотите удалить\rформу: %s"
std::string deleteFormQuestion(std::string_view nameUtf8);

// "0.25" typed into a thickness field -> 2; parsing stops at a comma.
std::int32_t parseThickness(std::string_view text);
// 2 -> "0.2"
std::string formatThickness(std::int32_t tenths);

} // namespace orvo::dict
