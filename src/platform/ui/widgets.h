// Small helpers shared by the dialogs: strings from the core and buttons named for the tests.
#pragma once
#include <QPushButton>
#include <QString>

#include <string>
#include <string_view>

namespace orvo::platform::ui {

inline QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A push button that never takes Return for itself: dialogs here have explicit defaults.
inline QPushButton* makeButton(const char* textUtf8, const char* objectName, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(textUtf8), parent);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAutoDefault(false);
    return b;
}

} // namespace orvo::platform::ui
