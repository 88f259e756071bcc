// Reading and writing section files.
#include "section/section_record.h"

#include "store/project_store.h"
#include "store/store_paths.h"

namespace orvo::section {

void SectionHeader::read(store::LeReader& r) {
    number = r.i32();
    created = r.i32();
    r.bytes(name.raw);
    horizontalScale = r.i32();
    verticalScale = r.i32();
    sheetWidthMm = r.i32();
    sheetHeightMm = r.i32();
    for (auto& s : signatures)
        r.bytes(s.raw);
    stampFirstSheet = r.i16();
    stampOtherSheets = r.i16();
}

void SectionHeader::write(store::LeWriter& w) const {
    w.i32(number);
    w.i32(created);
    w.bytes(name.raw);
    w.i32(horizontalScale);
    w.i32(verticalScale);
    w.i32(sheetWidthMm);
    w.i32(sheetHeightMm);
    for (const auto& s : signatures)
        w.bytes(s.raw);
    w.i16(stampFirstSheet);
    w.i16(stampOtherSheets);
}

Result<Section> parseSection(std::span<const std::uint8_t> bytes, std::string_view path) {
    auto header = store::parseRecord<SectionHeader>(bytes);
    if (!header)
        return store::BadFormatError(path);
    const auto numbers = store::parseNumberList(bytes.subspan(SectionHeader::kSize));
    if (numbers.size() > static_cast<std::size_t>(kMaxSectionBoreholes))
        return store::BadFormatError(path);
    return Section{*header, numbers};
}

store::Bytes sectionBytes(const Section& s) {
    store::Bytes out = store::recordBytes(s.header);
    const auto numbers = store::numberListBytes(s.boreholes);
    out.insert(out.end(), numbers.begin(), numbers.end());
    return out;
}

Result<Section> ReadSection(const platform::WorkFolder& folder, std::int32_t object,
                            std::int32_t number) {
    const std::string path = store::paths::sectionFile(object, number, "DAT");
    const auto in = folder.read(path, std::uint64_t{64} * 1024);
    if (!in.ok())
        return platform::readError(in, path);
    if (in.reachedLimit)
        return store::BadFormatError(path);
    return parseSection(in.bytes, path);
}

Status WriteSection(const platform::WorkFolder& folder, std::int32_t object, const Section& s) {
    if (s.boreholes.size() > static_cast<std::size_t>(kMaxSectionBoreholes))
        return store::BadFormatError(store::paths::sectionFile(object, s.header.number, "DAT"));
    return folder.writeAtomic(store::paths::sectionFile(object, s.header.number, "DAT"),
                              sectionBytes(s));
}

Section newSection(std::int32_t number, std::int32_t created, const store::SectionDefaults& d) {
    Section s;
    s.header.number = number;
    s.header.created = created;
    s.header.verticalScale = d.verticalScale;
    s.header.horizontalScale = d.horizontalScale;
    s.header.sheetHeightMm = d.sheetHeightMm;
    s.header.sheetWidthMm = d.sheetWidthMm;
    s.header.stampFirstSheet = static_cast<std::int16_t>(d.stampFirstSheet);
    s.header.stampOtherSheets = static_cast<std::int16_t>(d.stampOtherSheets);
    for (auto& sig : s.header.signatures)
        sig.setPadded("");
    return s;
}

Status SaveSection(const store::ProjectStore& store, store::StatusRecord& status,
                   std::int32_t object, Section& s, bool isNew, bool& numbered) {
    if (!numbered) {
        auto number = store.TakeSectionNumber(status);
        if (!number)
            return number.error();
        s.header.number = *number;
        numbered = true;
    }
    if (auto st = WriteSection(store.folder(), object, s); !st)
        return st;
    if (isNew)
        if (auto st = store.AppendSection(object, s.header.number); !st)
            return st;
    return store.CopyWorkingCopiesBack(object, s.header.number);
}

} // namespace orvo::section
