// Reading and writing the project database through the working folder.
#include "store/project_store.h"

#include "platform/messages.h"
#include "store/store_paths.h"

#include <algorithm>
#include <array>
#include <limits>

namespace orvo::store {

using platform::ReadOutcome;

Error FatalOpenError(std::string_view path) {
    return {"Ошибка открытия \"" + std::string(path) + "\" - дальнейшая работа невозможна...",
            "FATAL ERROR", true};
}

Error BadFormatError(std::string_view path, bool fatal) {
    return {std::string(platform::kBadFormatText) + " \"" + std::string(path) + "\"",
            fatal ? "FATAL ERROR" : "Ошибка", fatal};
}

namespace {

// Reads a whole fixed record: nothing when missing, an error when unreadable or short.
template <class R>
Result<std::optional<R>> readFixed(const platform::WorkFolder& folder, std::string_view path,
                                   bool fatal) {
    const ReadOutcome in = folder.read(path, R::kSize);
    if (in.state == ReadOutcome::State::Missing)
        return std::optional<R>{};
    if (in.state == ReadOutcome::State::NoMemory)
        return platform::noMemoryError();
    if (!in.ok())
        return fatal ? FatalOpenError(path) : platform::openError(path);
    auto rec = parseRecord<R>(in.bytes);
    if (!rec)
        return BadFormatError(path, fatal);
    return std::optional<R>(*rec);
}

bool counterUsable(std::int32_t n) {
    return n >= 1 && n < std::numeric_limits<std::int32_t>::max();
}

// A number may be handed out only if the counter after it can still be stored.
bool numberTakeable(std::int32_t n) {
    return counterUsable(n) && counterUsable(n + 1);
}

} // namespace

Result<StatusRecord> ProjectStore::LoadStatus() const {
    auto rec = readFixed<StatusRecord>(m_folder, paths::kStatus, true);
    if (!rec)
        return rec.error();
    if (!rec->has_value())
        return StatusRecord{};
    const StatusRecord& s = **rec;
    if (!counterUsable(s.nextObjectNumber) || !counterUsable(s.nextSectionNumber) ||
        !counterUsable(s.nextBoreholeNumber))
        return BadFormatError(paths::kStatus, true);
    return s;
}

Status ProjectStore::SaveStatus(const StatusRecord& status) const {
    return m_folder.writeAtomic(paths::kStatus, recordBytes(status));
}

Result<SectionDefaults> ProjectStore::LoadSectionDefaults() const {
    auto rec = readFixed<SectionDefaults>(m_folder, paths::kSectionDefaults, true);
    if (!rec)
        return rec.error();
    if (!rec->has_value())
        return FatalOpenError(paths::kSectionDefaults);
    return **rec;
}

Status ProjectStore::SaveSectionDefaults(const SectionDefaults& defaults) const {
    return m_folder.writeAtomic(paths::kSectionDefaults, recordBytes(defaults));
}

Result<ObjectTitle> ProjectStore::ReadObjectTitle(std::int32_t object) const {
    const std::string path = paths::objectTitle(object);
    auto rec = readFixed<ObjectTitle>(m_folder, path, true);
    if (!rec)
        return rec.error();
    if (!rec->has_value())
        return FatalOpenError(path);
    return **rec;
}

Status ProjectStore::WriteObjectTitle(const ObjectTitle& title) const {
    const std::string path = paths::objectTitle(title.number);
    if (!m_folder.writeAtomic(path, recordBytes(title)))
        return FatalOpenError(path);
    return success();
}

Result<platform::Bytes> ProjectStore::readList(std::string_view path) const {
    ReadOutcome in = m_folder.read(path, kMaxListBytes + 1);
    if (in.state == ReadOutcome::State::Missing)
        return platform::Bytes{};
    if (!in.ok())
        return platform::readError(in, path);
    if (in.reachedLimit)
        return BadFormatError(path);
    return std::move(in.bytes);
}

Result<std::vector<ObjectListEntry>> ProjectStore::ReadObjectList() const {
    auto bytes = readList(paths::kObjectList);
    if (!bytes)
        return bytes.error();
    return parseList<ObjectListEntry>(*bytes);
}

Status ProjectStore::AppendObject(std::int32_t object) const {
    auto bytes = readList(paths::kObjectList);
    if (!bytes)
        return bytes.error();
    // A torn last record would put the new one out of step with the record size.
    bytes->resize(bytes->size() - bytes->size() % ObjectListEntry::kSize);
    ObjectListEntry entry;
    entry.number = object;
    appendRecord(*bytes, entry);
    return m_folder.writeAtomic(paths::kObjectList, *bytes);
}

Status ProjectStore::SetArchived(std::int32_t object, bool archived) const {
    auto bytes = readList(paths::kObjectList);
    if (!bytes)
        return bytes.error();
    const auto entries = parseList<ObjectListEntry>(*bytes);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].number != object)
            continue;
        ObjectListEntry changed = entries[i];
        changed.archived = archived ? 1 : 0;
        const Bytes rec = recordBytes(changed);
        std::copy(rec.begin(), rec.end(),
                  bytes->begin() + static_cast<std::ptrdiff_t>(i * rec.size()));
        return m_folder.writeAtomic(paths::kObjectList, *bytes);
    }
    return success();
}

Result<std::vector<std::int32_t>> ProjectStore::readNumbers(std::string_view path) const {
    auto bytes = readList(path);
    if (!bytes)
        return bytes.error();
    return parseNumberList(*bytes);
}

Result<std::vector<std::int32_t>> ProjectStore::ReadSectionList(std::int32_t object) const {
    return readNumbers(paths::sectionList(object));
}

Result<std::vector<std::int32_t>> ProjectStore::ReadBoreholeList(std::int32_t object) const {
    return readNumbers(paths::boreholeList(object));
}

Status ProjectStore::AppendSection(std::int32_t object, std::int32_t section) const {
    auto numbers = ReadSectionList(object);
    if (!numbers)
        return numbers.error();
    numbers->push_back(section);
    return m_folder.writeAtomic(paths::sectionList(object), numberListBytes(*numbers));
}

Status ProjectStore::AddBorehole(std::int32_t object, std::int32_t borehole) const {
    auto numbers = ReadBoreholeList(object);
    if (!numbers)
        return numbers.error();
    if (std::find(numbers->begin(), numbers->end(), borehole) != numbers->end())
        return success();
    numbers->push_back(borehole);
    return m_folder.writeAtomic(paths::boreholeList(object), numberListBytes(*numbers));
}

Status ProjectStore::RemoveFromList(std::string_view listPath, std::string_view delName,
                                    std::int32_t number, std::size_t recordSize) const {
    if (recordSize < 4)
        return BadFormatError(listPath);
    // A leftover .DEL (a scratch list, or the copy of an interrupted rewrite) goes first.
    if (!m_folder.removeFile(delName))
        return platform::writeError(delName);
    auto old = readList(listPath);
    if (!old)
        return old.error();
    if (m_folder.faultAt("remove:backup"))
        return platform::writeError(delName);
    // The old list is copied, not renamed, so the list file itself is never absent or partial.
    if (auto st = m_folder.writeAtomic(delName, *old); !st)
        return st;
    const ReadOutcome del = m_folder.read(delName, kMaxListBytes + 1);
    if (!del.ok())
        return platform::readError(del, delName);
    Bytes kept;
    kept.reserve(del.bytes.size());
    for (std::size_t at = 0; at + recordSize <= del.bytes.size(); at += recordSize) {
        LeReader r(std::span<const std::uint8_t>(del.bytes).subspan(at, 4));
        if (r.i32() != number)
            kept.insert(kept.end(), del.bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        del.bytes.begin() + static_cast<std::ptrdiff_t>(at + recordSize));
    }
    if (m_folder.faultAt("remove:list"))
        return platform::writeError(listPath);
    if (auto st = m_folder.writeAtomic(listPath, kept); !st)
        return st;
    if (m_folder.faultAt("remove:cleanup"))
        return platform::writeError(delName);
    m_folder.removeFile(delName);
    return success();
}

Result<BoreholeHeader> ProjectStore::ReadBoreholeHeader(std::int32_t object,
                                                        std::int32_t borehole) const {
    const std::string path = paths::boreholeFile(object, borehole);
    auto rec = readFixed<BoreholeHeader>(m_folder, path, false);
    if (!rec)
        return rec.error();
    if (!rec->has_value())
        return platform::openError(path);
    return **rec;
}

Result<FixedText<30>> ProjectStore::ReadSectionName(std::int32_t object,
                                                    std::int32_t section) const {
    // The whole 178-byte section header must be there, although only its name is wanted.
    constexpr std::size_t kHeaderSize = 178;
    const std::string path = paths::sectionFile(object, section, "DAT");
    const ReadOutcome in = m_folder.read(path, kHeaderSize);
    if (in.state == ReadOutcome::State::Missing || !in.ok())
        return platform::openError(path);
    if (in.bytes.size() < kHeaderSize)
        return BadFormatError(path);
    FixedText<30> name;
    std::copy_n(in.bytes.begin() + 8, name.raw.size(), name.raw.begin());
    return name;
}

Result<std::int32_t> ProjectStore::CreateObject(StatusRecord& status,
                                                std::string_view shortNameUtf8,
                                                std::string_view fullNameUtf8,
                                                std::string_view contractUtf8) const {
    std::int32_t number = status.nextObjectNumber;
    // A folder already there means an earlier run died before saving the counter.
    while (numberTakeable(number) && m_folder.isFolder(paths::objectFolder(number)))
        ++number;
    if (!numberTakeable(number))
        return BadFormatError(paths::kStatus);
    StatusRecord next = status;
    next.nextObjectNumber = number + 1;
    if (auto st = SaveStatus(next); !st)
        return st.error();
    status = next;

    if (auto st = m_folder.makeFolder(paths::objectFolder(number)); !st)
        return st.error();
    ObjectTitle title;
    title.number = number;
    title.shortName.setUtf8(shortNameUtf8);
    title.fullName.setUtf8(fullNameUtf8);
    title.contract.setUtf8(contractUtf8);
    if (auto st = WriteObjectTitle(title); !st)
        return st.error();
    for (const auto& list : {paths::sectionList(number), paths::boreholeList(number)})
        if (auto st = m_folder.writeAtomic(list, {}); !st)
            return st.error();
    // Listed last, so the list never names an object whose title is not written yet.
    if (auto st = AppendObject(number); !st)
        return st.error();
    return number;
}

Result<std::int32_t> ProjectStore::TakeSectionNumber(StatusRecord& status) const {
    if (!numberTakeable(status.nextSectionNumber))
        return BadFormatError(paths::kStatus);
    StatusRecord next = status;
    ++next.nextSectionNumber;
    if (auto st = SaveStatus(next); !st)
        return st.error();
    status = next;
    return next.nextSectionNumber - 1;
}

Result<std::int32_t> ProjectStore::TakeBoreholeNumber(StatusRecord& status) const {
    if (!numberTakeable(status.nextBoreholeNumber))
        return BadFormatError(paths::kStatus);
    StatusRecord next = status;
    ++next.nextBoreholeNumber;
    if (auto st = SaveStatus(next); !st)
        return st.error();
    status = next;
    return next.nextBoreholeNumber - 1;
}

Status ProjectStore::DeleteObject(std::int32_t object) const {
    if (auto st = RemoveFromList(paths::kObjectList, paths::kObjectListDel, object,
                                 ObjectListEntry::kSize);
        !st)
        return st;
    return m_folder.removeFolder(paths::objectFolder(object));
}

Status ProjectStore::DeleteSection(std::int32_t object, std::int32_t section) const {
    if (auto st = RemoveFromList(paths::sectionList(object), paths::kSectionListDel, section, 4);
        !st)
        return st;
    for (const char* ext : {"DAT", "MTX", "OIE", "SLO"})
        m_folder.removeFile(paths::sectionFile(object, section, ext));
    return success();
}

Status ProjectStore::DeleteBorehole(std::int32_t object, std::int32_t borehole) const {
    if (auto st = RemoveFromList(paths::boreholeList(object), paths::kBoreholeListDel, borehole, 4);
        !st)
        return st;
    m_folder.removeFile(paths::boreholeFile(object, borehole));
    return success();
}

namespace {
struct WorkingCopy {
    std::string_view work;
    const char* ext;
};
constexpr std::array<WorkingCopy, 3> kWorkingCopies{
    {{paths::kWorkSlo, "SLO"}, {paths::kWorkMtx, "MTX"}, {paths::kWorkOie, "OIE"}}};
} // namespace

bool ProjectStore::HasWorkingCopies() const {
    return std::any_of(kWorkingCopies.begin(), kWorkingCopies.end(),
                       [&](const WorkingCopy& c) { return m_folder.exists(c.work); });
}

void ProjectStore::DeleteWorkingCopies() const {
    for (const auto& c : kWorkingCopies)
        m_folder.removeFile(c.work);
}

Status ProjectStore::CopyWorkingCopiesBack(std::int32_t object, std::int32_t section) const {
    for (const auto& c : kWorkingCopies) {
        const ReadOutcome in = m_folder.read(c.work);
        if (in.state == ReadOutcome::State::Missing)
            continue;
        if (!in.ok())
            return platform::readError(in, c.work);
        if (auto st = m_folder.writeAtomic(paths::sectionFile(object, section, c.ext), in.bytes);
            !st)
            return st;
        // A copy left behind would be taken for edits of the next section saved.
        if (!m_folder.removeFile(c.work))
            return platform::writeError(c.work);
    }
    return success();
}

} // namespace orvo::store
