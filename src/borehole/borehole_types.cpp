// Reading and changing the borehole types dictionary.
#include "borehole/borehole_types.h"

#include "store/list_file.h"

namespace orvo::borehole {

void BoreholeType::read(store::LeReader& r) {
    inUse = r.i16();
    r.bytes(name.raw);
    columnWidth = r.i32();
    lineWidth = r.i32();
    shownOnSection = r.i16();
}

void BoreholeType::write(store::LeWriter& w) const {
    w.i16(inUse);
    w.bytes(name.raw);
    w.i32(columnWidth);
    w.i32(lineWidth);
    w.i16(shownOnSection);
}

namespace {
Error recordZeroError() {
    return {"Запись 0 справочника типов выработок не изменяется", "Warning", false};
}
} // namespace

Result<std::vector<BoreholeType>> ReadBoreholeTypeFile(const platform::WorkFolder& folder) {
    return store::ReadRecordList<BoreholeType>(folder, kBoreholeTypeList);
}

Result<std::vector<BoreholeTypeItem>> ListBoreholeTypes(const platform::WorkFolder& folder) {
    auto all = ReadBoreholeTypeFile(folder);
    if (!all)
        return all.error();
    std::vector<BoreholeTypeItem> out;
    for (std::size_t i = 0; i < all->size(); ++i)
        if ((*all)[i].inUse != 0)
            out.push_back({static_cast<int>(i), (*all)[i]});
    return out;
}

Result<BoreholeType> ReadBoreholeType(const platform::WorkFolder& folder, int index) {
    auto all = ReadBoreholeTypeFile(folder);
    if (!all)
        return all.error();
    if (index < 0 || static_cast<std::size_t>(index) >= all->size())
        return store::BadFormatError(kBoreholeTypeList);
    return (*all)[static_cast<std::size_t>(index)];
}

Result<int> AddBoreholeType(const platform::WorkFolder& folder, const BoreholeType& type) {
    auto all = ReadBoreholeTypeFile(folder);
    if (!all)
        return all.error();
    const int index = static_cast<int>(all->size());
    if (auto st = store::PutRecord(folder, kBoreholeTypeList, all->size(), type); !st)
        return st.error();
    return index;
}

Status UpdateBoreholeType(const platform::WorkFolder& folder, int index, const BoreholeType& type) {
    if (index == 0)
        return recordZeroError();
    auto all = ReadBoreholeTypeFile(folder);
    if (!all)
        return all.error();
    if (index < 0 || static_cast<std::size_t>(index) >= all->size())
        return store::BadFormatError(kBoreholeTypeList);
    return store::PutRecord(folder, kBoreholeTypeList, static_cast<std::size_t>(index), type);
}

Status DeleteBoreholeType(const platform::WorkFolder& folder, int index) {
    auto type = ReadBoreholeType(folder, index);
    if (!type)
        return type.error();
    type->inUse = 0;
    return UpdateBoreholeType(folder, index, *type);
}

} // namespace orvo::borehole
