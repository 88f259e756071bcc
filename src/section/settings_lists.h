// Refusals come back as errors with the caption "Warning" for the dialog to show.
//
// The three lists a section draws its choices from: reserved scales (DATA\DIC\mashtab.sps),
// logical sheet formats (DATA\DIC\ListForm.sps) and surnames for the signatures
// (DATA\DIC\podpis.sps). Sections copy the values, so editing a list never changes a section.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/fixed_text.h"
#include "store/le_stream.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvo::section {

inline constexpr std::string_view kScaleList = "DATA\\DIC\\mashtab.sps";
inline constexpr std::string_view kSheetFormatList = "DATA\\DIC\\ListForm.sps";
inline constexpr std::string_view kSheetFormatScratch = "-.tmp";
inline constexpr std::string_view kSurnameList = "DATA\\DIC\\podpis.sps";

// ---- Scales ----

// int16 denominators as stored (a missing file has none).
Result<std::vector<std::int16_t>> ReadScales(const platform::WorkFolder& folder);
Status WriteScales(const platform::WorkFolder& folder, const std::vector<std::int16_t>& scales);
// "%5d ", the text of a list entry.
std::string formatScaleEntry(int denominator);

// The scale editor's list: ascending, no duplicates, never empty once it had an entry.
class ScaleListModel {
public:
    explicit ScaleListModel(std::vector<std::int16_t> scales);

    const std::vector<std::int16_t>& scales() const { return m_scales; }
    int selected() const { return m_selected; }
    void select(int row) { m_selected = row; }

    // "Добавить <": 0, empty and non-numbers are ignored, so is a value already there (false);
    // one that does not fit the 16-bit field, or is negative, is refused.
    Result<bool> add(std::string_view typed);
    // "Удалить >": only while more than one entry is left.
    bool removeSelected();

private:
    std::vector<std::int16_t> m_scales;
    int m_selected = -1;
};

// ---- Sheet formats ----

struct SheetFormat {
    static constexpr std::size_t kSize = 28;
    std::int32_t heightMm = 0;
    std::int32_t widthMm = 0;
    store::FixedText<20> description; // padded with spaces, no terminator

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

// A record of the editor's scratch file: an in-use flag before the format.
struct ScratchSheetFormat {
    static constexpr std::size_t kSize = 30;
    std::int16_t inUse = 1;
    SheetFormat format;

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

// Missing ListForm.sps is fatal: sections cannot be laid out without it.
Result<std::vector<SheetFormat>> ReadSheetFormats(const platform::WorkFolder& folder);

// The sheet format editor: all edits go to the scratch file "-.tmp", the list itself is
// written only by save().
class SheetFormatEditor {
public:
    static Result<SheetFormatEditor> Open(const platform::WorkFolder& folder);

    struct Row {
        int scratchIndex;
        std::string description; // UTF-8, with its padding
    };
    // In-use entries sorted by description.
    std::vector<Row> rows() const;
    const SheetFormat& format(int scratchIndex) const;
    int selected() const { return m_selected; }
    void select(int scratchIndex) { m_selected = scratchIndex; }

    // "Добавить" and "Заменить": a description already listed (ignoring case) is refused with
    // "Уже есть такой формат"; "Заменить" may keep the selected entry's own description.
    Status add(std::string_view descriptionUtf8, std::string_view height, std::string_view width);
    Status replace(std::string_view descriptionUtf8, std::string_view height,
                   std::string_view width);
    // "Удалить": only while two or more entries are listed.
    Status removeSelected();
    // "Сохранить" writes ListForm.sps and removes the scratch file; "Отмена" only removes it.
    Status save();
    void cancel();

private:
    explicit SheetFormatEditor(const platform::WorkFolder& folder) : m_folder(&folder) {}
    bool descriptionTaken(const store::FixedText<20>& description, int except) const;
    Status writeScratch() const;
    SheetFormat formatFrom(std::string_view descriptionUtf8, std::string_view height,
                           std::string_view width) const;

    const platform::WorkFolder* m_folder;
    std::vector<ScratchSheetFormat> m_scratch;
    int m_selected = -1;
};

// ---- Surnames ----

using Surname = store::FixedText<30>; // padded with spaces, no terminator

Result<std::vector<Surname>> ReadSurnames(const platform::WorkFolder& folder);
Status WriteSurnames(const platform::WorkFolder& folder, const std::vector<Surname>& names);

// The surname editor's list, kept sorted.
class SurnameListModel {
public:
    explicit SurnameListModel(std::vector<Surname> names);

    const std::vector<Surname>& names() const { return m_names; }
    int selected() const { return m_selected; }
    void select(int row) { m_selected = row; }

    // "Добавить в список" and "Заменить": an equal name is refused with
    // "Уже есть такая фамилия".
    Status add(std::string_view nameUtf8);
    Status replace(std::string_view nameUtf8);
    // "Удалить из списка": only while more than one name is left.
    bool removeSelected();

private:
    int insertSorted(const Surname& name);
    bool taken(const Surname& name) const;

    std::vector<Surname> m_names;
    int m_selected = -1;
};

} // namespace orvo::section
