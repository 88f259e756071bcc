// Field lists of the project database records, in file order.
#include "store/records.h"

namespace orvo::store {

void StatusRecord::read(LeReader& r) {
    launchCount = r.i32();
    workSeconds = r.i32();
    nextObjectNumber = r.i32();
    nextSectionNumber = r.i32();
    nextBoreholeNumber = r.i32();
    r.bytes(reserved);
}

void StatusRecord::write(LeWriter& w) const {
    w.i32(launchCount);
    w.i32(workSeconds);
    w.i32(nextObjectNumber);
    w.i32(nextSectionNumber);
    w.i32(nextBoreholeNumber);
    w.bytes(reserved);
}

void SectionDefaults::read(LeReader& r) {
    verticalScale = r.i32();
    horizontalScale = r.i32();
    sheetHeightMm = r.i32();
    sheetWidthMm = r.i32();
    stampFirstSheet = r.i32();
    stampOtherSheets = r.i32();
    drawingForm = r.i32();
}

void SectionDefaults::write(LeWriter& w) const {
    w.i32(verticalScale);
    w.i32(horizontalScale);
    w.i32(sheetHeightMm);
    w.i32(sheetWidthMm);
    w.i32(stampFirstSheet);
    w.i32(stampOtherSheets);
    w.i32(drawingForm);
}

void ObjectListEntry::read(LeReader& r) {
    number = r.i32();
    r.bytes(reserved);
    archived = r.i16();
}

void ObjectListEntry::write(LeWriter& w) const {
    w.i32(number);
    w.bytes(reserved);
    w.i16(archived);
}

void ObjectTitle::read(LeReader& r) {
    number = r.i32();
    r.bytes(shortName.raw);
    r.bytes(fullName.raw);
    r.bytes(contract.raw);
}

void ObjectTitle::write(LeWriter& w) const {
    w.i32(number);
    w.bytes(shortName.raw);
    w.bytes(fullName.raw);
    w.bytes(contract.raw);
}

void BoreholeHeader::read(LeReader& r) {
    r.bytes(name.raw);
    number = r.i32();
    x = r.f32();
    y = r.f32();
    elevation = r.f32();
    depth = r.f32();
    type = r.i16();
    nIge = r.i16();
    nWater = r.i16();
    nSamples = r.i16();
}

void BoreholeHeader::write(LeWriter& w) const {
    w.bytes(name.raw);
    w.i32(number);
    w.f32(x);
    w.f32(y);
    w.f32(elevation);
    w.f32(depth);
    w.i16(type);
    w.i16(nIge);
    w.i16(nWater);
    w.i16(nSamples);
}

std::vector<std::int32_t> parseNumberList(std::span<const std::uint8_t> data) {
    std::vector<std::int32_t> out;
    LeReader r(data.first(data.size() - data.size() % 4));
    out.reserve(data.size() / 4);
    while (r.remaining() >= 4)
        out.push_back(r.i32());
    return out;
}

Bytes numberListBytes(const std::vector<std::int32_t>& numbers) {
    Bytes out;
    out.reserve(numbers.size() * 4);
    LeWriter w(out);
    for (auto n : numbers)
        w.i32(n);
    return out;
}

} // namespace orvo::store
