// Exchange files: one dictionary item in a file the user picked, behind a 14-byte magic.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace orvo::platform {

inline constexpr std::size_t kExchangeMagicSize = 14;

// What the files of one kind look like from outside: the magic, then the item's list record,
// then its item file. `maxSize` is the largest whole file one item can make; anything longer is
// refused before it is parsed.
struct ExchangeFormat {
    std::string_view magic; // kExchangeMagicSize bytes, no terminator
    std::size_t recordSize;
    std::size_t maxSize;

    std::size_t headerSize() const { return magic.size() + recordSize; }
};

// "Неверный формат файла" (caption "ОШИБКА") unless the bytes start with the magic, hold at
// least the magic and the record, and are no longer than `maxSize`.
Status checkExchange(std::span<const std::uint8_t> bytes, const ExchangeFormat& format);

// The magic, to which the record and the item file are appended.
Bytes startExchange(const ExchangeFormat& format);

// Reads a picked file and checks it as above. "Ошибка открытия (%s)" (caption "ОШИБКА") when it
// cannot be read, "Недостаточно памяти" when there is no memory for it.
Result<Bytes> ReadExchangeFile(const std::filesystem::path& file, const ExchangeFormat& format);

// Writes a picked file whole or not at all: a temporary file beside it, then a rename, so an
// earlier file of that name stays intact until the new one is complete. "Ошибка открытия (%s)"
// when it cannot be written.
Status WriteExchangeFile(const std::filesystem::path& file, const Bytes& bytes);

} // namespace orvo::platform
