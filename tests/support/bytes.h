// Reading fields out of stored bytes in tests: a little-endian int32 and raw text at an offset.
#pragma once
#include "store/le_stream.h"
#include "store/records.h"

#include <cstdint>
#include <span>
#include <string>

namespace orvo::test {

inline std::int32_t le32(const store::Bytes& b, std::size_t at) {
    return store::LeReader(std::span(b).subspan(at)).i32();
}

inline std::string text(const store::Bytes& b, std::size_t at, std::size_t n) {
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                       b.begin() + static_cast<std::ptrdiff_t>(at + n));
}

} // namespace orvo::test
