// The start-up sequence of Orvo2, from the password to the built main window.
#pragma once
#include "platform/message_sink.h"
#include "platform/work_folder.h"
#include "shell/session.h"
#include "shell/ui/main_window.h"
#include "store/project_store.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvo::shell::ui {

struct StartupOptions {
    std::filesystem::path workFolder;
    platform::MessageSink* sink = nullptr;
    // Runs the password dialog; true to go on. Defaults to the login dialog.
    std::function<bool(const platform::WorkFolder&)> askPassword;
    // Seconds of the system clock. Defaults to time().
    std::function<std::int64_t()> clock;
    // Installed font families. Defaults to the font database.
    std::function<std::vector<std::string>()> fontFamilies;
};

// Everything one run of the program owns.
class Orvo2App {
public:
    // Nothing when the program must end: the password was refused, or a fatal error was shown.
    static std::unique_ptr<Orvo2App> start(StartupOptions options);

    MainWindow& window() { return *m_window; }
    Session& session() { return m_session; }
    store::ProjectStore& store() { return m_store; }

private:
    explicit Orvo2App(StartupOptions options);

    StartupOptions m_options;
    platform::WorkFolder m_folder;
    store::ProjectStore m_store;
    Session m_session;
    store::SectionDefaults m_defaults;
    std::unique_ptr<MainWindow> m_window;
};

inline constexpr const char* kSansSerifFace = "MS Sans Serif";

} // namespace orvo::shell::ui
