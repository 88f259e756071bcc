// UTF-8 text of the core as a QString; needs only Qt Core.
#pragma once
#include <QString>

#include <string_view>

namespace orvo::platform::ui {

inline QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace orvo::platform::ui
