// Counting program starts and working time.
#include "shell/session.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace orvo::shell {

namespace {
std::int32_t clampToInt32(std::int64_t v) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(v, 0, std::numeric_limits<std::int32_t>::max()));
}
} // namespace

Result<Session> Session::Start(const store::ProjectStore& store, std::int64_t nowSeconds) {
    auto status = store.LoadStatus();
    if (!status)
        return status.error();
    Session s;
    s.m_status = *status;
    s.m_status.launchCount = clampToInt32(std::int64_t{s.m_status.launchCount} + 1);
    s.m_start = nowSeconds;
    return s;
}

std::int64_t Session::totalSeconds(std::int64_t nowSeconds) const {
    return std::int64_t{m_status.workSeconds} + std::max<std::int64_t>(0, nowSeconds - m_start);
}

Status Session::End(const store::ProjectStore& store, std::int64_t nowSeconds) {
    // The saved record carries counters raised during the run, so it is written whole.
    store::StatusRecord out = m_status;
    out.workSeconds = clampToInt32(totalSeconds(nowSeconds));
    auto st = store.SaveStatus(out);
    if (st) {
        m_status = out;
        m_start = nowSeconds;
    }
    return st;
}

std::string formatWorkTime(std::int64_t seconds) {
    char buf[64];
    std::snprintf(
        buf, sizeof buf, "%lld час, %lld мин, %lld сек", static_cast<long long>(seconds / 3600),
        static_cast<long long>(seconds % 3600 / 60), static_cast<long long>(seconds % 60));
    return buf;
}

} // namespace orvo::shell
