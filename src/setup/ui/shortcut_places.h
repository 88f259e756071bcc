// Where this user's desktop and menu files go, from the XDG settings.
#pragma once
#include "setup/desktop_entries.h"

namespace orvo::setup::ui {

ShortcutPlaces standardShortcutPlaces();

} // namespace orvo::setup::ui
