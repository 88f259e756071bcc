// Scale, sheet format and surname lists with the rules of their editors.
#include "section/settings_lists.h"

#include "platform/codepage.h"
#include "platform/collate.h"
#include "platform/numbers.h"
#include "store/list_file.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace orvo::section {

namespace {

// A scale as stored: the int16 denominator, as a record of its own.
struct ScaleRecord {
    static constexpr std::size_t kSize = 2;
    std::int16_t denominator = 0;
    void read(store::LeReader& r) { denominator = r.i16(); }
    void write(store::LeWriter& w) const { w.i16(denominator); }
};

struct SurnameRecord {
    static constexpr std::size_t kSize = 30;
    Surname name;
    void read(store::LeReader& r) { r.bytes(name.raw); }
    void write(store::LeWriter& w) const { w.bytes(name.raw); }
};

Error warning(const char* text) {
    return {text, "Warning", false};
}

// Cut to `chars` characters and padded with spaces to the field.
template <std::size_t N> store::FixedText<N> padded(std::string_view utf8, std::size_t chars) {
    store::FixedText<N> t;
    const std::string cp = platform::utf8ToCp1251(utf8);
    t.setPadded(std::string_view(cp).substr(0, std::min(chars, cp.size())));
    return t;
}

std::int32_t sizeFrom(std::string_view typed) {
    const std::int64_t v = platform::parseWholeNumber(typed);
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(v, 0, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

// ---- Scales ----

Result<std::vector<std::int16_t>> ReadScales(const platform::WorkFolder& folder) {
    auto records = store::ReadRecordList<ScaleRecord>(folder, kScaleList);
    if (!records)
        return records.error();
    std::vector<std::int16_t> out;
    for (const auto& r : *records)
        out.push_back(r.denominator);
    return out;
}

Status WriteScales(const platform::WorkFolder& folder, const std::vector<std::int16_t>& scales) {
    std::vector<ScaleRecord> records;
    records.reserve(scales.size());
    for (auto s : scales)
        records.push_back({s});
    return store::WriteRecordList(folder, kScaleList, records);
}

std::string formatScaleEntry(int denominator) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%5d ", denominator);
    return buf;
}

ScaleListModel::ScaleListModel(std::vector<std::int16_t> scales) : m_scales(std::move(scales)) {
    // The list shows the entries sorted as text, which is ascending for 1 ... 99999.
    std::stable_sort(m_scales.begin(), m_scales.end(), [](std::int16_t a, std::int16_t b) {
        return formatScaleEntry(a) < formatScaleEntry(b);
    });
    m_selected = m_scales.empty() ? -1 : 0;
}

Result<bool> ScaleListModel::add(std::string_view typed) {
    const std::int64_t value = platform::parseWholeNumber(typed);
    if (value == 0)
        return false;
    if (value < 1 || value > std::numeric_limits<std::int16_t>::max())
        return warning("Масштаб должен быть целым числом от 1 до 32767");
    const auto v = static_cast<std::int16_t>(value);
    if (std::find(m_scales.begin(), m_scales.end(), v) != m_scales.end())
        return false;
    const auto pos =
        std::upper_bound(m_scales.begin(), m_scales.end(), v, [](std::int16_t a, std::int16_t b) {
            return formatScaleEntry(a) < formatScaleEntry(b);
        });
    // The index is taken before inserting: the insertion may move the elements.
    const auto at = pos - m_scales.begin();
    m_scales.insert(pos, v);
    m_selected = static_cast<int>(at);
    return true;
}

bool ScaleListModel::removeSelected() {
    if (m_scales.size() <= 1 || m_selected < 0 || m_selected >= static_cast<int>(m_scales.size()))
        return false;
    m_scales.erase(m_scales.begin() + m_selected);
    m_selected = std::min(m_selected, static_cast<int>(m_scales.size()) - 1);
    return true;
}

// ---- Sheet formats ----

void SheetFormat::read(store::LeReader& r) {
    heightMm = r.i32();
    widthMm = r.i32();
    r.bytes(description.raw);
}

void SheetFormat::write(store::LeWriter& w) const {
    w.i32(heightMm);
    w.i32(widthMm);
    w.bytes(description.raw);
}

void ScratchSheetFormat::read(store::LeReader& r) {
    inUse = r.i16();
    format.read(r);
}

void ScratchSheetFormat::write(store::LeWriter& w) const {
    w.i16(inUse);
    format.write(w);
}

Result<std::vector<SheetFormat>> ReadSheetFormats(const platform::WorkFolder& folder) {
    return store::ReadRecordList<SheetFormat>(folder, kSheetFormatList, store::IfMissing::Fatal);
}

Result<SheetFormatEditor> SheetFormatEditor::Open(const platform::WorkFolder& folder) {
    auto formats = ReadSheetFormats(folder);
    if (!formats)
        return formats.error();
    SheetFormatEditor editor(folder);
    for (const auto& f : *formats)
        editor.m_scratch.push_back({1, f});
    if (auto st = editor.writeScratch(); !st)
        return st.error();
    const auto rows = editor.rows();
    editor.m_selected = rows.empty() ? -1 : rows.front().scratchIndex;
    return editor;
}

std::vector<SheetFormatEditor::Row> SheetFormatEditor::rows() const {
    std::vector<Row> out;
    for (std::size_t i = 0; i < m_scratch.size(); ++i)
        if (m_scratch[i].inUse != 0)
            out.push_back({static_cast<int>(i), m_scratch[i].format.description.utf8()});
    std::stable_sort(out.begin(), out.end(), [](const Row& a, const Row& b) {
        return platform::compareText(a.description, b.description) < 0;
    });
    return out;
}

const SheetFormat& SheetFormatEditor::format(int scratchIndex) const {
    return m_scratch.at(static_cast<std::size_t>(scratchIndex)).format;
}

bool SheetFormatEditor::descriptionTaken(const store::FixedText<20>& description,
                                         int except) const {
    const std::string mine = description.utf8();
    for (std::size_t i = 0; i < m_scratch.size(); ++i)
        if (m_scratch[i].inUse != 0 && static_cast<int>(i) != except &&
            platform::sameTextIgnoringCase(m_scratch[i].format.description.utf8(), mine))
            return true;
    return false;
}

Status SheetFormatEditor::writeScratch() const {
    return store::WriteRecordList(*m_folder, kSheetFormatScratch, m_scratch);
}

SheetFormat SheetFormatEditor::formatFrom(std::string_view descriptionUtf8, std::string_view height,
                                          std::string_view width) const {
    SheetFormat f;
    f.description = padded<20>(descriptionUtf8, 19);
    f.heightMm = sizeFrom(height);
    f.widthMm = sizeFrom(width);
    return f;
}

Status SheetFormatEditor::add(std::string_view descriptionUtf8, std::string_view height,
                              std::string_view width) {
    const SheetFormat f = formatFrom(descriptionUtf8, height, width);
    if (descriptionTaken(f.description, -1))
        return warning("Уже есть такой формат");
    m_scratch.push_back({1, f});
    m_selected = static_cast<int>(m_scratch.size()) - 1;
    return writeScratch();
}

Status SheetFormatEditor::replace(std::string_view descriptionUtf8, std::string_view height,
                                  std::string_view width) {
    if (m_selected < 0 || m_selected >= static_cast<int>(m_scratch.size()))
        return success();
    const SheetFormat f = formatFrom(descriptionUtf8, height, width);
    if (descriptionTaken(f.description, m_selected))
        return warning("Уже есть такой формат");
    m_scratch[static_cast<std::size_t>(m_selected)].format = f;
    return writeScratch();
}

Status SheetFormatEditor::removeSelected() {
    const auto before = rows();
    if (before.size() < 2)
        return success();
    const auto it = std::find_if(before.begin(), before.end(),
                                 [&](const Row& r) { return r.scratchIndex == m_selected; });
    if (it == before.end())
        return success();
    const auto row = static_cast<std::size_t>(it - before.begin());
    m_scratch[static_cast<std::size_t>(m_selected)].inUse = 0;
    // The entry after it, or the one before when it was the last.
    m_selected =
        row + 1 < before.size() ? before[row + 1].scratchIndex : before[row - 1].scratchIndex;
    return writeScratch();
}

Status SheetFormatEditor::save() {
    std::vector<SheetFormat> kept;
    for (const auto& s : m_scratch)
        if (s.inUse != 0)
            kept.push_back(s.format);
    if (auto st = store::WriteRecordList(*m_folder, kSheetFormatList, kept); !st)
        return st;
    m_folder->removeFile(kSheetFormatScratch);
    return success();
}

void SheetFormatEditor::cancel() {
    m_folder->removeFile(kSheetFormatScratch);
}

// ---- Surnames ----

Result<std::vector<Surname>> ReadSurnames(const platform::WorkFolder& folder) {
    auto records = store::ReadRecordList<SurnameRecord>(folder, kSurnameList);
    if (!records)
        return records.error();
    std::vector<Surname> out;
    for (const auto& r : *records)
        out.push_back(r.name);
    return out;
}

Status WriteSurnames(const platform::WorkFolder& folder, const std::vector<Surname>& names) {
    std::vector<SurnameRecord> records;
    records.reserve(names.size());
    for (const auto& n : names)
        records.push_back({n});
    return store::WriteRecordList(folder, kSurnameList, records);
}

namespace {
bool surnameBefore(const Surname& a, const Surname& b) {
    return platform::compareText(a.utf8(), b.utf8()) < 0;
}
} // namespace

SurnameListModel::SurnameListModel(std::vector<Surname> names) : m_names(std::move(names)) {
    std::stable_sort(m_names.begin(), m_names.end(), surnameBefore);
    m_selected = m_names.empty() ? -1 : 0;
}

int SurnameListModel::insertSorted(const Surname& name) {
    const auto pos = std::upper_bound(m_names.begin(), m_names.end(), name, surnameBefore);
    const auto at = pos - m_names.begin();
    m_names.insert(pos, name);
    return static_cast<int>(at);
}

bool SurnameListModel::taken(const Surname& name) const {
    return std::any_of(m_names.begin(), m_names.end(),
                       [&](const Surname& n) { return n.raw == name.raw; });
}

Status SurnameListModel::add(std::string_view nameUtf8) {
    const Surname name = padded<30>(nameUtf8, 29);
    if (taken(name))
        return warning("Уже есть такая фамилия");
    m_selected = insertSorted(name);
    return success();
}

Status SurnameListModel::replace(std::string_view nameUtf8) {
    if (m_selected < 0 || m_selected >= static_cast<int>(m_names.size()))
        return success();
    const Surname name = padded<30>(nameUtf8, 29);
    if (taken(name))
        return warning("Уже есть такая фамилия");
    m_names.erase(m_names.begin() + m_selected);
    m_selected = insertSorted(name);
    return success();
}

bool SurnameListModel::removeSelected() {
    if (m_names.size() <= 1 || m_selected < 0 || m_selected >= static_cast<int>(m_names.size()))
        return false;
    m_names.erase(m_names.begin() + m_selected);
    m_selected = std::min(m_selected, static_cast<int>(m_names.size()) - 1);
    return true;
}

} // namespace orvo::section
