// The XDG places through QStandardPaths: the desktop folder, data home and config home.
#include "setup/ui/shortcut_places.h"

#include <QStandardPaths>

namespace orvo::setup::ui {

namespace {
std::filesystem::path place(QStandardPaths::StandardLocation which) {
    return std::filesystem::path(QStandardPaths::writableLocation(which).toStdString());
}
} // namespace

ShortcutPlaces standardShortcutPlaces() {
    const auto data = place(QStandardPaths::GenericDataLocation);
    return {place(QStandardPaths::DesktopLocation), data / "applications",
            data / "desktop-directories",
            place(QStandardPaths::GenericConfigLocation) / "menus" / "applications-merged"};
}

} // namespace orvo::setup::ui
