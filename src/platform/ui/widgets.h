// Small helpers shared by the dialogs: strings from the core, widgets named for the tests.
#pragma once
#include "platform/ui/qstring.h"

#include <QPushButton>
#include <QString>

#include <string>
#include <string_view>

namespace orvo::platform::ui {

// The widget with its object name set, for the tests that look it up.
template <class W> W* named(W* widget, const char* objectName) {
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}

// A push button that never takes Return for itself: dialogs here have explicit defaults.
inline QPushButton* makeButton(const char* textUtf8, const char* objectName, QWidget* parent) {
    auto* b = named(new QPushButton(QString::fromUtf8(textUtf8), parent), objectName);
    b->setAutoDefault(false);
    return b;
}

} // namespace orvo::platform::ui
