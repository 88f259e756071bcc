// Run bookkeeping: program starts and total working time in status.sav.
#pragma once
#include "platform/result.h"
#include "store/project_store.h"

#include <cstdint>
#include <string>

namespace orvo::shell {

class Session {
public:
    // Reads status.sav and counts this start (in memory; written at the end or whenever a new
    // item is numbered).
    static Result<Session> Start(const store::ProjectStore& store, std::int64_t nowSeconds);

    store::StatusRecord& status() { return m_status; }
    const store::StatusRecord& status() const { return m_status; }
    std::int64_t startedAt() const { return m_start; }
    // Total working time including this run so far.
    std::int64_t totalSeconds(std::int64_t nowSeconds) const;
    // Adds this run's seconds to the working time and writes status.sav.
    Status End(const store::ProjectStore& store, std::int64_t nowSeconds);

private:
    store::StatusRecord m_status;
    std::int64_t m_start = 0;
};

// "%d час, %d мин, %d сек"
std::string formatWorkTime(std::int64_t seconds);

} // namespace orvo::shell
