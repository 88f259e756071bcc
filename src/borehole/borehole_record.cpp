// Reading and writing borehole files and saving them into their object.
#include "borehole/borehole_record.h"

#include "platform/codepage.h"
#include "store/store_paths.h"

namespace orvo::borehole {

void IgeLayer::read(store::LeReader& r) {
    r.bytes(ige.raw);
    baseDepth = r.f32();
    consistency = r.i16();
}
void IgeLayer::write(store::LeWriter& w) const {
    w.bytes(ige.raw);
    w.f32(baseDepth);
    w.i16(consistency);
}

void WaterHorizon::read(store::LeReader& r) {
    r.bytes(date.raw);
    depth = r.f32();
    kind = r.i16();
}
void WaterHorizon::write(store::LeWriter& w) const {
    w.bytes(date.raw);
    w.f32(depth);
    w.i16(kind);
}

void SampleRecord::read(store::LeReader& r) {
    depth = r.f32();
    kind = r.i16();
}
void SampleRecord::write(store::LeWriter& w) const {
    w.f32(depth);
    w.i16(kind);
}

Borehole newBorehole(std::int32_t number) {
    Borehole b;
    b.header.name.setUtf8("- Новая - ");
    b.header.number = number;
    return b;
}

Result<Borehole> parseBorehole(std::span<const std::uint8_t> bytes, std::string_view path) {
    auto header = store::parseRecord<store::BoreholeHeader>(bytes);
    if (!header)
        return store::BadFormatError(path);
    const auto& h = *header;
    auto inRange = [](int n) { return n >= 0 && n <= kMaxRows; };
    if (!inRange(h.nIge) || !inRange(h.nWater) || !inRange(h.nSamples))
        return store::BadFormatError(path);
    const std::size_t expected = store::BoreholeHeader::kSize +
                                 static_cast<std::size_t>(h.nIge) * IgeLayer::kSize +
                                 static_cast<std::size_t>(h.nWater) * WaterHorizon::kSize +
                                 static_cast<std::size_t>(h.nSamples) * SampleRecord::kSize;
    if (bytes.size() != expected)
        return store::BadFormatError(path);
    Borehole b;
    b.header = h;
    store::LeReader r(bytes.subspan(store::BoreholeHeader::kSize));
    b.ige.resize(static_cast<std::size_t>(h.nIge));
    b.water.resize(static_cast<std::size_t>(h.nWater));
    b.samples.resize(static_cast<std::size_t>(h.nSamples));
    for (auto& l : b.ige)
        l.read(r);
    for (auto& w : b.water)
        w.read(r);
    for (auto& s : b.samples)
        s.read(r);
    if (!r.ok())
        return store::BadFormatError(path);
    return b;
}

store::Bytes boreholeBytes(const Borehole& b) {
    store::BoreholeHeader h = b.header;
    h.nIge = static_cast<std::int16_t>(std::min<std::size_t>(b.ige.size(), kMaxRows));
    h.nWater = static_cast<std::int16_t>(std::min<std::size_t>(b.water.size(), kMaxRows));
    h.nSamples = static_cast<std::int16_t>(std::min<std::size_t>(b.samples.size(), kMaxRows));
    store::Bytes out = store::recordBytes(h);
    for (int i = 0; i < h.nIge; ++i)
        store::appendRecord(out, b.ige[static_cast<std::size_t>(i)]);
    for (int i = 0; i < h.nWater; ++i)
        store::appendRecord(out, b.water[static_cast<std::size_t>(i)]);
    for (int i = 0; i < h.nSamples; ++i)
        store::appendRecord(out, b.samples[static_cast<std::size_t>(i)]);
    return out;
}

Result<Borehole> ReadBorehole(const platform::WorkFolder& folder, std::int32_t object,
                              std::int32_t number) {
    const std::string path = store::paths::boreholeFile(object, number);
    const auto in = folder.read(path, std::uint64_t{64} * 1024);
    if (!in.ok())
        return platform::readError(in, path);
    if (in.reachedLimit)
        return store::BadFormatError(path);
    return parseBorehole(in.bytes, path);
}

Status SaveBorehole(const store::ProjectStore& store, std::int32_t object, const Borehole& b) {
    // The file first: the list never names a borehole whose file is not there.
    if (auto st = store.folder().writeAtomic(store::paths::boreholeFile(object, b.header.number),
                                             boreholeBytes(b));
        !st)
        return st;
    return store.AddBorehole(object, b.header.number);
}

Status SaveNewBorehole(const store::ProjectStore& store, store::StatusRecord& status,
                       std::int32_t object, std::int32_t& number, Borehole b) {
    if (number == 0) {
        auto taken = store.TakeBoreholeNumber(status);
        if (!taken)
            return taken.error();
        number = *taken;
    }
    b.header.number = number;
    return SaveBorehole(store, object, b);
}

Result<bool> BoreholeNameTaken(const store::ProjectStore& store, std::int32_t object,
                               const store::FixedText<10>& name, std::int32_t except) {
    auto numbers = store.ReadBoreholeList(object);
    if (!numbers)
        return numbers.error();
    for (auto n : *numbers) {
        if (n == except)
            continue;
        auto header = store.ReadBoreholeHeader(object, n);
        // A borehole whose file is gone or damaged has no name to clash with.
        if (header && header->name.samePadded(name.bytes()))
            return true;
    }
    return false;
}

} // namespace orvo::borehole
