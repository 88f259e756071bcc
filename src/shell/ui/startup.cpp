// Start-up: password first, then the working copies, fonts, settings records and the tree.
#include "shell/ui/startup.h"

#include "platform/font_faces.h"
#include "platform/ui/qt_fonts.h"
#include "shell/ui/login_dialog.h"

#include <ctime>

namespace orvo::shell::ui {

Orvo2App::Orvo2App(StartupOptions options)
    : m_options(std::move(options)), m_folder(m_options.workFolder), m_store(m_folder) {}

std::unique_ptr<Orvo2App> Orvo2App::start(StartupOptions options) {
    if (!options.clock)
        options.clock = [] { return static_cast<std::int64_t>(std::time(nullptr)); };
    if (!options.fontFamilies)
        options.fontFamilies = [] { return platform::installedFamilies(); };
    if (!options.askPassword) {
        platform::MessageSink* sink = options.sink;
        options.askPassword = [sink](const platform::WorkFolder& folder) {
            LoginDialog dialog(folder, *sink, defaultRandomSource());
            return dialog.run();
        };
    }
    std::unique_ptr<Orvo2App> app(new Orvo2App(std::move(options)));
    platform::MessageSink& sink = *app->m_options.sink;

    // Nothing of the database is touched before the password is accepted.
    if (!app->m_options.askPassword(app->m_folder))
        return nullptr;
    const std::int64_t startTime = app->m_options.clock();
    app->m_store.DeleteWorkingCopies();
    if (!platform::substituteFace(kSansSerifFace, app->m_options.fontFamilies()))
        sink.show("Information", "Не загружен шрифт\n*** MS Sans Serif ***",
                  platform::Icon::Information);

    auto session = Session::Start(app->m_store, startTime);
    if (!session) {
        sink.report(session.error());
        return nullptr;
    }
    app->m_session = *session;
    auto defaults = app->m_store.LoadSectionDefaults();
    if (!defaults) {
        sink.report(defaults.error());
        return nullptr;
    }
    app->m_defaults = *defaults;

    app->m_window = std::make_unique<MainWindow>(ShellContext{
        app->m_folder, app->m_store, sink, app->m_session, app->m_defaults, app->m_options.clock});
    if (!app->m_window->buildTree())
        return nullptr;
    return app;
}

} // namespace orvo::shell::ui
