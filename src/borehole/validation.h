// The checks a borehole passes before it is saved, copied or shown, and the report Data.err.
#pragma once
#include "borehole/borehole_tables.h"
#include "platform/result.h"
#include "platform/work_folder.h"

#include <string>
#include <vector>

namespace orvo::borehole {

inline constexpr std::string_view kReportFile = "Data.err";

// The messages in check order (UTF-8, without line ends). Dictionary records that do not
// exist count as deleted.
std::vector<std::string> CheckBorehole(const platform::WorkFolder& folder,
                                       const BoreholeEditData& data);
// Rewrites Data.err: one message per line, CR LF, Windows-1251.
Status WriteReport(const platform::WorkFolder& folder, const std::vector<std::string>& lines);
// "Анализ ошибок, выработка - %s" (or "- Без имени").
std::string reportCaption(const store::FixedText<10>& name);
// "Всего обнаружено %3.3d ошибок"
std::string reportCountLine(std::size_t count);

} // namespace orvo::borehole
