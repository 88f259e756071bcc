// Dictionary list files: fixed-size records without a header, count = size / record size.
// Items are named by their slot; new ones are appended, deleted ones only lose their flag.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"
#include "store/project_store.h"
#include "store/records.h"

#include <string_view>
#include <vector>

namespace orvo::store {

// Missing file: `missing` decides between an empty list and the fatal open message.
enum class IfMissing { Empty, Fatal, Error };

// Reads every whole record; a remainder is ignored.
template <class R>
Result<std::vector<R>> ReadRecordList(const platform::WorkFolder& folder, std::string_view path,
                                      IfMissing missing = IfMissing::Empty) {
    const auto in = folder.read(path, kMaxListBytes + 1);
    if (in.state == platform::ReadOutcome::State::Missing) {
        if (missing == IfMissing::Fatal)
            return FatalOpenError(path);
        if (missing == IfMissing::Error)
            return platform::openError(path);
        return std::vector<R>{};
    }
    if (!in.ok())
        return platform::readError(in, path);
    if (in.reachedLimit)
        return BadFormatError(path);
    return parseList<R>(in.bytes);
}

// Replaces the whole list file atomically.
template <class R>
Status WriteRecordList(const platform::WorkFolder& folder, std::string_view path,
                       const std::vector<R>& records) {
    Bytes out;
    out.reserve(records.size() * R::kSize);
    for (const auto& r : records)
        appendRecord(out, r);
    return folder.writeAtomic(path, out);
}

// Rewrites record `index` (appending when index == count), keeping every other byte of the
// file as it was, a torn tail included.
template <class R>
Status PutRecord(const platform::WorkFolder& folder, std::string_view path, std::size_t index,
                 const R& record) {
    const auto in = folder.read(path, kMaxListBytes + 1);
    Bytes bytes;
    if (in.ok())
        bytes = in.bytes;
    else if (in.state != platform::ReadOutcome::State::Missing)
        return platform::readError(in, path);
    if (in.reachedLimit)
        return BadFormatError(path);
    const std::size_t count = bytes.size() / R::kSize;
    if (index > count)
        return BadFormatError(path);
    if (index == count)
        bytes.resize(count * R::kSize); // an append goes right after the last whole record
    const Bytes rec = recordBytes(record);
    if (bytes.size() < (index + 1) * R::kSize)
        bytes.resize((index + 1) * R::kSize);
    std::copy(rec.begin(), rec.end(),
              bytes.begin() + static_cast<std::ptrdiff_t>(index * R::kSize));
    return folder.writeAtomic(path, bytes);
}

} // namespace orvo::store
