// The fixed-size records of the project database: status, section defaults, object list and
// title, and the header of a borehole file.
#pragma once
#include "store/fixed_text.h"
#include "store/le_stream.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orvo::store {

using Bytes = std::vector<std::uint8_t>;

// DATA\status.sav
struct StatusRecord {
    static constexpr std::size_t kSize = 22;
    std::int32_t launchCount = 0;
    std::int32_t workSeconds = 0;
    std::int32_t nextObjectNumber = 1;
    std::int32_t nextSectionNumber = 1;
    std::int32_t nextBoreholeNumber = 1;
    std::array<std::uint8_t, 2> reserved{};

    void read(LeReader& r);
    void write(LeWriter& w) const;
};

// DATA\razrez.prm: what every new section starts from.
struct SectionDefaults {
    static constexpr std::size_t kSize = 28;
    std::int32_t verticalScale = 0; // 0 is "AUTO"
    std::int32_t horizontalScale = 0;
    std::int32_t sheetHeightMm = 0;
    std::int32_t sheetWidthMm = 0;
    std::int32_t stampFirstSheet = 0;
    std::int32_t stampOtherSheets = 0;
    std::int32_t drawingForm = 0;

    void read(LeReader& r);
    void write(LeWriter& w) const;
};

// One record of DATA\OBJ.SPS.
struct ObjectListEntry {
    static constexpr std::size_t kSize = 36;
    std::int32_t number = 0;
    std::array<std::uint8_t, 30> reserved{};
    std::int16_t archived = 0;

    void read(LeReader& r);
    void write(LeWriter& w) const;
};

// OBJ.TIT of an object folder.
struct ObjectTitle {
    static constexpr std::size_t kSize = 264;
    std::int32_t number = 0;
    FixedText<30> shortName;
    FixedText<200> fullName;
    FixedText<30> contract;

    void read(LeReader& r);
    void write(LeWriter& w) const;
};

// The first 38 bytes of a borehole file: what lists and the library tree need.
struct BoreholeHeader {
    static constexpr std::size_t kSize = 38;
    FixedText<10> name;
    std::int32_t number = 0;
    float x = 0;
    float y = 0;
    float elevation = 0;
    float depth = 0;
    std::int16_t type = 0;
    std::int16_t nIge = 0;
    std::int16_t nWater = 0;
    std::int16_t nSamples = 0;

    void read(LeReader& r);
    void write(LeWriter& w) const;
};

// Reads one record from the start of `data`; nothing when the data are shorter than the record.
template <class R> std::optional<R> parseRecord(std::span<const std::uint8_t> data) {
    if (data.size() < R::kSize)
        return std::nullopt;
    LeReader reader(data.first(R::kSize));
    R rec;
    rec.read(reader);
    if (!reader.ok() || reader.position() != R::kSize)
        return std::nullopt;
    return rec;
}

template <class R> void appendRecord(Bytes& out, const R& rec) {
    const std::size_t before = out.size();
    LeWriter writer(out);
    rec.write(writer);
    // A field list that disagrees with the record size is a bug, not bad data.
    if (out.size() - before != R::kSize)
        __builtin_trap();
}

template <class R> Bytes recordBytes(const R& rec) {
    Bytes out;
    out.reserve(R::kSize);
    appendRecord(out, rec);
    return out;
}

// The records of a list file: record count = size / record size, a remainder is ignored.
template <class R> std::vector<R> parseList(std::span<const std::uint8_t> data) {
    std::vector<R> out;
    const std::size_t count = data.size() / R::kSize;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        out.push_back(*parseRecord<R>(data.subspan(i * R::kSize, R::kSize)));
    return out;
}

std::vector<std::int32_t> parseNumberList(std::span<const std::uint8_t> data);
Bytes numberListBytes(const std::vector<std::int32_t>& numbers);

} // namespace orvo::store
