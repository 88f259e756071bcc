// The connection file ".SLO" (and its working copy WORK.SLO): header, IGE list, borehole, point
// and line records, little-endian, read and written byte for byte.
#pragma once
#include "connect/connection_model.h"
#include "platform/result.h"
#include "platform/work_folder.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace orvo::connect {

inline constexpr std::size_t kHeaderSize = 20;
inline constexpr std::size_t kIgeEntrySize = 10;
inline constexpr std::size_t kBoreholeRecordSize = 834;
inline constexpr std::size_t kPointRecordSize = 20;
inline constexpr std::size_t kLineRecordSize = 16;

// The whole file. A file whose counts disagree with its size or with each other, or whose
// indexes point outside its own tables, is refused as damaged: nothing is read past its data.
Result<ConnectionModel> parseConnections(std::span<const std::uint8_t> bytes,
                                         std::string_view path);
platform::Bytes connectionBytes(const ConnectionModel& model);

// Reads a stored connection file; a missing file is reported as such by `missing`.
struct StoredConnections {
    bool missing = false;
    Result<ConnectionModel> model = Error{};
};
StoredConnections ReadConnections(const platform::WorkFolder& folder, std::string_view path);

// Writes the whole model to WORK.SLO, replacing it atomically.
Status SaveConnections(const platform::WorkFolder& folder, const ConnectionModel& model);

// "Файл соединений ИГЭ ... поврежден": the stored connections are left out, the fresh model goes
// on.
Error damagedConnectionsError(std::string_view path);

} // namespace orvo::connect
