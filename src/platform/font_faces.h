// Face names the stored data and dialogs ask for ("MS Sans Serif", "Arial Cyr") mapped to
// metric-compatible families that are installed here.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::platform {

// The face itself first, then its stand-ins in order of preference.
std::vector<std::string> faceCandidates(std::string_view face);
// The first candidate that is installed (compared without regard to case); nothing if none is.
std::optional<std::string> substituteFace(std::string_view face,
                                          const std::vector<std::string>& installedFamilies);

} // namespace orvo::platform
