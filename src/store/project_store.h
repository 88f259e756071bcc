// The project database: settings records, the object list, object folders and their lists,
// the numbering of new items, the list rewrite and the working copies of a section.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/records.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::store {

// Lists longer than this are not lists this program wrote (16 MiB is over 400,000 objects).
inline constexpr std::uint64_t kMaxListBytes = 16u << 20;

// "Ошибка открытия ... дальнейшая работа невозможна..." with the caption "FATAL ERROR". The
// caller shows it and ends the program; the store never ends it by itself.
Error FatalOpenError(std::string_view path);
// A file whose size or contents cannot be what this program wrote.
Error BadFormatError(std::string_view path, bool fatal = false);

class ProjectStore {
public:
    explicit ProjectStore(platform::WorkFolder& folder) : m_folder(folder) {}
    platform::WorkFolder& folder() const { return m_folder; }

    // A missing status file counts as a new database: counters start at 1.
    Result<StatusRecord> LoadStatus() const;
    Status SaveStatus(const StatusRecord& status) const;
    // Missing or short: fatal, the program cannot go on without its defaults.
    Result<SectionDefaults> LoadSectionDefaults() const;
    Status SaveSectionDefaults(const SectionDefaults& defaults) const;

    // Missing or short: fatal.
    Result<ObjectTitle> ReadObjectTitle(std::int32_t object) const;
    Status WriteObjectTitle(const ObjectTitle& title) const;

    // A missing object list is empty.
    Result<std::vector<ObjectListEntry>> ReadObjectList() const;
    Status AppendObject(std::int32_t object) const;
    // Changes the first entry with this number; a number not in the list changes nothing.
    Status SetArchived(std::int32_t object, bool archived) const;

    // A missing section or borehole list is empty.
    Result<std::vector<std::int32_t>> ReadSectionList(std::int32_t object) const;
    Result<std::vector<std::int32_t>> ReadBoreholeList(std::int32_t object) const;
    Status AppendSection(std::int32_t object, std::int32_t section) const;
    // Appends the number unless the list already holds it.
    Status AddBorehole(std::int32_t object, std::int32_t borehole) const;

    // Removes every record whose leading int32 equals `number`. At every moment the list file
    // on disk is the whole old list or the whole new one; `delName` in the working folder holds
    // a copy of the old list while the new one is written.
    Status RemoveFromList(std::string_view listPath, std::string_view delName, std::int32_t number,
                          std::size_t recordSize) const;

    // Headers for lists and the tree. Missing files give an error the caller may skip over.
    Result<BoreholeHeader> ReadBoreholeHeader(std::int32_t object, std::int32_t borehole) const;
    // The section's name field (bytes 8-37 of its file), in Windows-1251.
    Result<FixedText<30>> ReadSectionName(std::int32_t object, std::int32_t section) const;

    // Numbering. The counter is raised and saved before the item's files are written, so a
    // failure half-way wastes a number but never hands one out twice. A dialog shows the next
    // number (status.next...) while open and takes it only when the user saves, so a cancelled
    // dialog consumes nothing.
    Result<std::int32_t> CreateObject(StatusRecord& status, std::string_view shortNameUtf8,
                                      std::string_view fullNameUtf8,
                                      std::string_view contractUtf8) const;
    Result<std::int32_t> TakeSectionNumber(StatusRecord& status) const;
    Result<std::int32_t> TakeBoreholeNumber(StatusRecord& status) const;

    // Removal of items with their files (confirmations and reference checks are the caller's).
    Status DeleteObject(std::int32_t object) const;
    Status DeleteSection(std::int32_t object, std::int32_t section) const;
    Status DeleteBorehole(std::int32_t object, std::int32_t borehole) const;

    // Working copies WORK.SLO, WORK.MTX, WORK.OIE.
    bool HasWorkingCopies() const;
    void DeleteWorkingCopies() const;
    // Moves each existing working copy over the section's own file. A copy that cannot be
    // written stays in place, so no edit is lost.
    Status CopyWorkingCopiesBack(std::int32_t object, std::int32_t section) const;

private:
    Result<platform::Bytes> readList(std::string_view path) const;
    Result<std::vector<std::int32_t>> readNumbers(std::string_view path) const;

    platform::WorkFolder& m_folder;
};

} // namespace orvo::store
