// Installed font families and fonts for the face names the program asks for.
#pragma once
#include <QFont>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::platform {

std::vector<std::string> installedFamilies();
// The installed family standing in for the face, if any.
std::optional<std::string> installedFace(std::string_view face);
// A font of the face or its stand-in; Qt's default family when neither is installed.
QFont fontForFace(std::string_view face, int pointSize, int weight = QFont::Normal);

} // namespace orvo::platform
