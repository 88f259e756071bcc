// Merging the stored connections into a fresh model, the change report SLO.CMP that says what
// no longer matches the boreholes, and showing that report.
#pragma once
#include "connect/connection_model.h"
#include "platform/message_sink.h"
#include "platform/result.h"
#include "platform/work_folder.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::connect {

inline constexpr std::string_view kChangeReport = "SLO.CMP";
inline constexpr const char* kReportCaption = "Соединение ИГЭ";
inline constexpr const char* kReportHint = "Запустите редактор Соединений ИГЭ";

// Carries the connections of `stored` that still fit the boreholes of `fresh` into it and
// returns the report lines (UTF-8, without line ends). Parent lines of free points are remapped
// through the complete map of carried lines. When a capacity would be exceeded `fresh` is left
// as it was and the refusal returned.
Result<std::vector<std::string>> mergeConnections(ConnectionModel& fresh,
                                                  const ConnectionModel& stored);

// Merges WORK.SLO, or a copy of the section's own .SLO when there is no working copy yet, into
// the fresh model and writes SLO.CMP when something was reported. `storedSection` is empty for
// a section that is being created. A damaged connection file is reported through the sink and
// the fresh model goes on without connections.
Status ReconcileConnections(const platform::WorkFolder& folder, platform::MessageSink& sink,
                            ConnectionModel& model, std::int32_t object,
                            std::optional<std::int32_t> storedSection);

// The report lines of SLO.CMP, which is deleted once read; nothing when there is no report.
std::optional<std::vector<std::string>> TakeChangeReport(const platform::WorkFolder& folder);

// Shows the change report in the box "Соединение ИГЭ" and deletes it; true when one was shown.
bool ShowChangeReport(const platform::WorkFolder& folder, platform::MessageSink& sink,
                      bool withHint);

} // namespace orvo::connect
