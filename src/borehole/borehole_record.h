// The borehole file "DATA\%5.5d.OBJ\%8.8d.SKV": the 38-byte header, then the IGE layers, the
// groundwater horizons and the samples, and saving it into an object with its numbering.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/fixed_text.h"
#include "store/le_stream.h"
#include "store/project_store.h"
#include "store/records.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvo::borehole {

// No table holds more rows than this.
inline constexpr int kMaxRows = 100;

struct IgeLayer {
    static constexpr std::size_t kSize = 16;
    store::FixedText<10> ige; // up to 10 characters, zero-terminated when shorter
    float baseDepth = 0;      // metres below the collar
    std::int16_t consistency = 0;

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

struct WaterHorizon {
    static constexpr std::size_t kSize = 14;
    store::FixedText<8> date; // as typed, up to 8 characters
    float depth = 0;
    std::int16_t kind = 0;

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

struct SampleRecord {
    static constexpr std::size_t kSize = 6;
    float depth = 0;
    std::int16_t kind = 0;

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

struct Borehole {
    store::BoreholeHeader header; // its counts are set from the tables when written
    std::vector<IgeLayer> ige;
    std::vector<WaterHorizon> water;
    std::vector<SampleRecord> samples;
};

// A new borehole as the editor starts it: name "- Новая - ", everything else 0.
Borehole newBorehole(std::int32_t number);

// The whole file. Counts outside 0..100, or a size that is not exactly header plus tables,
// are refused ("Неверный формат файла"): such a file would otherwise be read past its end.
Result<Borehole> parseBorehole(std::span<const std::uint8_t> bytes, std::string_view path);
store::Bytes boreholeBytes(const Borehole& b);

Result<Borehole> ReadBorehole(const platform::WorkFolder& folder, std::int32_t object,
                              std::int32_t number);

// Writes the whole file, then puts the number into the object's SKV.SPS if absent.
Status SaveBorehole(const store::ProjectStore& store, std::int32_t object, const Borehole& b);
// Saves a new borehole from the editor. Without a number yet (`number` 0) it takes the next one
// first (status.sav is saved before the file is written) and leaves it in `number`, so a save
// that fails and is tried again keeps that number instead of using up another.
Status SaveNewBorehole(const store::ProjectStore& store, store::StatusRecord& status,
                       std::int32_t object, std::int32_t& number, Borehole b);

// Another borehole of the object (any number but `except`) already has this name, compared
// byte for byte after padding both with spaces to 10 characters.
Result<bool> BoreholeNameTaken(const store::ProjectStore& store, std::int32_t object,
                               const store::FixedText<10>& name, std::int32_t except);
inline constexpr const char* kNameTakenText =
    "Выработка с таким именем\nуже существует в списке выработок обьекта";

} // namespace orvo::borehole
