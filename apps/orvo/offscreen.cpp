// Starting Qt Gui without a display for the painting commands.
#include "offscreen.h"

#include <filesystem>
#include <string>
#include <unistd.h>

namespace orvo::cli {

std::unique_ptr<QGuiApplication> startOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime folder; a shell without a session has none.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        std::error_code ec;
        const auto runtime = std::filesystem::temp_directory_path(ec) /
                             ("orvo-runtime-" + std::to_string(::getuid()));
        std::filesystem::create_directory(runtime, ec);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all, ec);
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.string()));
    }
    static int argc = 1;
    static char name[] = "orvo";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace orvo::cli
