// Standard IGE descriptions and a section's description file.
#include "dict/ige_description.h"

#include "platform/codepage.h"
#include "platform/messages.h"
#include "store/list_file.h"
#include "store/project_store.h"

#include <algorithm>

namespace orvo::dict {

IgeNumber padIgeNumber(std::string_view cp1251) {
    IgeNumber out;
    out.fill(' ');
    const auto end = std::find(cp1251.begin(), cp1251.end(), '\0');
    const auto n =
        std::min<std::size_t>(static_cast<std::size_t>(end - cp1251.begin()), kIgeNumberWidth);
    std::copy_n(cp1251.begin(), n, out.begin());
    return out;
}

IgeNumber padIgeNumberUtf8(std::string_view utf8) {
    return padIgeNumber(platform::utf8ToCp1251(utf8));
}

std::string igeNumberText(const IgeNumber& number) {
    std::string s(number.begin(), number.end());
    s.erase(std::find(s.begin(), s.end(), '\0'), s.end());
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return platform::cp1251ToUtf8(s);
}

bool blankIgeNumber(const IgeNumber& number) {
    return std::all_of(number.begin(), number.end(), [](char c) { return c == ' '; });
}

namespace {

struct SortKey {
    std::int64_t integer = 0;
    IgeNumber suffix{};
};

SortKey sortKey(const IgeNumber& n) {
    SortKey key;
    std::size_t i = 0;
    // Ten digits exceed int32; the key is kept in 64 bits, where they cannot overflow.
    for (; i < n.size() && n[i] >= '0' && n[i] <= '9'; ++i)
        key.integer = key.integer * 10 + (n[i] - '0');
    // Unsigned: char is signed here, which would put every Cyrillic letter below '9'.
    std::size_t from = 0;
    while (from < n.size() && static_cast<unsigned char>(n[from]) <= '9')
        ++from;
    key.suffix.fill(' ');
    std::copy(n.begin() + static_cast<std::ptrdiff_t>(from), n.end(), key.suffix.begin());
    return key;
}

int compareBytes(const IgeNumber& a, const IgeNumber& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

bool keyBefore(const SortKey& a, const SortKey& b) {
    if (a.integer != b.integer)
        return a.integer < b.integer;
    return compareBytes(a.suffix, b.suffix) < 0;
}

} // namespace

bool igeSortsBefore(const IgeNumber& a, const IgeNumber& b) {
    return keyBefore(sortKey(a), sortKey(b));
}

std::vector<IgeNumber> sortedIgeNumbers(const std::vector<IgeNumber>& numbers) {
    struct Keyed {
        IgeNumber number;
        SortKey key;
    };
    std::vector<Keyed> keyed;
    for (const auto& n : numbers)
        if (std::none_of(keyed.begin(), keyed.end(), [&](const Keyed& k) { return k.number == n; }))
            keyed.push_back({n, sortKey(n)});
    for (std::size_t i = 0; i < keyed.size(); ++i)
        for (std::size_t j = i + 1; j < keyed.size(); ++j)
            if (keyBefore(keyed[j].key, keyed[i].key))
                std::swap(keyed[i], keyed[j]);
    std::vector<IgeNumber> out;
    out.reserve(keyed.size());
    for (const auto& k : keyed)
        out.push_back(k.number);
    return out;
}

void IgeDescriptionRecord::read(store::LeReader& r) {
    flag = r.i32();
    r.bytes(igeNumber);
    r.bytes(description.raw);
    hatch = r.i32();
}

void IgeDescriptionRecord::write(store::LeWriter& w) const {
    w.i32(flag);
    w.bytes(igeNumber);
    w.bytes(description.raw);
    w.i32(hatch);
}

// ---- the standard list ----

IgeDescriptionRecord standardIgeRecord(std::string_view numberUtf8,
                                       std::string_view descriptionUtf8, std::int32_t hatch) {
    IgeDescriptionRecord rec;
    rec.flag = 1;
    rec.igeNumber = padIgeNumberUtf8(numberUtf8);
    const std::string text = platform::utf8ToCp1251(descriptionUtf8);
    rec.description.setPadded(std::string_view(text).substr(0, kIgeDescriptionChars));
    rec.hatch = hatch;
    return rec;
}

Result<std::vector<IgeDescriptionRecord>> ReadStandardIgeList(const platform::WorkFolder& folder) {
    return store::ReadRecordList<IgeDescriptionRecord>(folder, kStandardIgeList);
}

std::optional<int> findStandardIge(const std::vector<IgeDescriptionRecord>& list,
                                   const IgeNumber& number, int except) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].flag == 1 && static_cast<int>(i) != except && list[i].igeNumber == number)
            return static_cast<int>(i);
    return std::nullopt;
}

Error blankIgeNumberError() {
    return {"Не задан номер ИГЭ\rСохранение невозможно.", "Ошибка"};
}

Error igeDescribedError(const IgeNumber& number) {
    return {"ИГЭ " + platform::cp1251ToUtf8(std::string(number.begin(), number.end())) +
                "\rуже описан\rСохранение невозможно.",
            "Ошибка"};
}

Result<int> SaveStandardIge(const platform::WorkFolder& folder, int slot,
                            std::string_view numberUtf8, std::string_view descriptionUtf8,
                            std::int32_t hatch) {
    const IgeDescriptionRecord rec = standardIgeRecord(numberUtf8, descriptionUtf8, hatch);
    if (blankIgeNumber(rec.igeNumber))
        return blankIgeNumberError();
    auto list = ReadStandardIgeList(folder);
    if (!list)
        return list.error();
    const int count = static_cast<int>(list->size());
    if (slot < -1 || slot >= count)
        return store::BadFormatError(kStandardIgeList);
    if (findStandardIge(*list, rec.igeNumber, slot))
        return igeDescribedError(rec.igeNumber);
    const int target = slot < 0 ? count : slot;
    if (auto st = store::PutRecord(folder, kStandardIgeList, static_cast<std::size_t>(target), rec);
        !st)
        return st.error();
    return target;
}

Status DeleteStandardIge(const platform::WorkFolder& folder, int slot) {
    auto list = ReadStandardIgeList(folder);
    if (!list)
        return list.error();
    if (slot < 0 || static_cast<std::size_t>(slot) >= list->size())
        return store::BadFormatError(kStandardIgeList);
    IgeDescriptionRecord rec = (*list)[static_cast<std::size_t>(slot)];
    rec.flag = 0;
    return store::PutRecord(folder, kStandardIgeList, static_cast<std::size_t>(slot), rec);
}

// ---- a section's description file ----

IgeDescriptionRecord sectionIgeRecord(const IgeNumber& number, bool useStandard,
                                      std::string_view descriptionUtf8, std::int32_t hatch) {
    IgeDescriptionRecord rec;
    rec.flag = useStandard ? 1 : 0;
    rec.igeNumber = number;
    rec.description.setUtf8(descriptionUtf8, kIgeDescriptionChars);
    rec.hatch = hatch;
    return rec;
}

Result<std::vector<IgeDescriptionRecord>>
parseIgeDescriptionFile(std::span<const std::uint8_t> bytes, std::string_view path) {
    store::LeReader r(bytes);
    const std::int32_t count = r.i32();
    // The count is checked against the size before a record is read: a file that announces
    // more records than it holds would otherwise be read past its end.
    if (!r.ok() || count < 0 || count > kMaxIgeDescriptions ||
        r.remaining() != static_cast<std::size_t>(count) * IgeDescriptionRecord::kSize)
        return store::BadFormatError(path);
    return store::parseList<IgeDescriptionRecord>(bytes.subspan(4));
}

store::Bytes igeDescriptionFileBytes(const std::vector<IgeDescriptionRecord>& records) {
    store::Bytes out;
    out.reserve(4 + records.size() * IgeDescriptionRecord::kSize);
    store::LeWriter w(out);
    w.i32(static_cast<std::int32_t>(records.size()));
    for (const auto& rec : records)
        store::appendRecord(out, rec);
    return out;
}

Result<std::optional<std::vector<IgeDescriptionRecord>>>
ReadIgeDescriptionFile(const platform::WorkFolder& folder, std::string_view path) {
    constexpr std::uint64_t kLimit =
        4 + std::uint64_t{kMaxIgeDescriptions} * IgeDescriptionRecord::kSize;
    const auto in = folder.read(path, kLimit + 1);
    if (in.state == platform::ReadOutcome::State::Missing)
        return std::optional<std::vector<IgeDescriptionRecord>>{};
    if (!in.ok())
        return platform::readError(in, path);
    if (in.reachedLimit)
        return store::BadFormatError(path);
    auto records = parseIgeDescriptionFile(in.bytes, path);
    if (!records)
        return records.error();
    return std::optional(std::move(*records));
}

Status WriteIgeDescriptionFile(const platform::WorkFolder& folder, std::string_view path,
                               const std::vector<IgeDescriptionRecord>& records) {
    if (records.size() > static_cast<std::size_t>(kMaxIgeDescriptions))
        return store::BadFormatError(path);
    return folder.writeAtomic(path, igeDescriptionFileBytes(records));
}

} // namespace orvo::dict
