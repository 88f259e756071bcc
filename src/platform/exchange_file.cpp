// Reading, checking and writing exchange files.
#include "platform/exchange_file.h"

#include "platform/messages.h"

#include <algorithm>

namespace orvo::platform {

Status checkExchange(std::span<const std::uint8_t> bytes, const ExchangeFormat& format) {
    if (bytes.size() < format.headerSize() || bytes.size() > format.maxSize ||
        !std::equal(format.magic.begin(), format.magic.end(), bytes.begin()))
        return badFileFormatError();
    return success();
}

Bytes startExchange(const ExchangeFormat& format) {
    return Bytes(format.magic.begin(), format.magic.end());
}

Result<Bytes> ReadExchangeFile(const std::filesystem::path& file, const ExchangeFormat& format) {
    // One byte past the largest item tells a file that is too long without reading all of it.
    ReadOutcome in = readFile(file, std::uint64_t{format.maxSize} + 1);
    if (in.state == ReadOutcome::State::NoMemory)
        return noMemoryError();
    if (!in.ok())
        return fileOpenError(file);
    if (auto st = checkExchange(in.bytes, format); !st)
        return st.error();
    return std::move(in.bytes);
}

Status WriteExchangeFile(const std::filesystem::path& file, const Bytes& bytes) {
    if (!replaceFile(file, bytes))
        return fileOpenError(file);
    return success();
}

} // namespace orvo::platform
