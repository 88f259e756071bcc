// Whether a window can be shown at all: a platform named, an X display or a Wayland one. The
// programs check it before they make their application, so they can say so in one line.
#pragma once
#include <cstdlib>

namespace orvo::platform::ui {

inline bool haveDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

} // namespace orvo::platform::ui
