// The installer's run with windows: package, backdrop, agreement, installation dialog.
#pragma once
#include "platform/ui/qt_message_sink.h"
#include "setup/ui/install_dialog.h"

#include <filesystem>

namespace orvo::setup::ui {

class SetupO2;

// The Qt message boxes, except that "Заменить базу данных стандартной ?" has No as its default.
class SetupMessageSink : public platform::QtMessageSink {
public:
    using QtMessageSink::QtMessageSink;
    platform::Answer askYesNo(const std::string& caption, const std::string& text) override;
};

struct SetupRun {
    std::filesystem::path package; // Orvo2.cab beside the installer
    std::filesystem::path base;    // the folder the root is made in at first
    ShortcutPlaces places;
    FolderChooser chooser = chooseFolder;
};

// Runs the installer to its end; the exit status is 0 when the system was installed.
// `window` is the backdrop, shown here; the messages go to `sink`.
int runSetup(const SetupRun& run, SetupO2& window, platform::MessageSink& sink);

} // namespace orvo::setup::ui
