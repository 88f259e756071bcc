// The unattended installation: the options, the fixed answers, the exit status.
#include "setup/unattended.h"

#include "platform/message_sink.h"
#include "setup/installer.h"

#include <algorithm>
#include <ostream>
#include <system_error>

namespace orvo::setup {

namespace {

// Messages go to the stream; the two questions get the answers the options give.
class ScriptedSink : public platform::MessageSink {
public:
    ScriptedSink(std::ostream& out, const UnattendedOptions& options)
        : m_stream(out, platform::Answer::No), m_options(options) {}
    void show(const std::string& caption, const std::string& text, platform::Icon icon) override {
        m_stream.show(caption, text, icon);
    }
    platform::Answer askYesNo(const std::string& caption, const std::string& text) override {
        m_stream.show(caption, text, platform::Icon::Question);
        const bool yes = (text == kReinstallQuestion && m_options.overwrite) ||
                         (text == kReplaceDataQuestion && m_options.replaceData);
        return yes ? platform::Answer::Yes : platform::Answer::No;
    }
    platform::Answer askYesNoCancel(const std::string& caption, const std::string& text) override {
        return askYesNo(caption, text);
    }

private:
    platform::StreamMessageSink m_stream;
    const UnattendedOptions& m_options;
};

} // namespace

bool wantsUnattended(const std::vector<std::string>& args) {
    return std::find(args.begin(), args.end(), "--unattended") != args.end();
}

std::optional<UnattendedOptions> parseUnattended(const std::vector<std::string>& args,
                                                 std::string& error) {
    UnattendedOptions o;
    bool haveBase = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue = a == "--base" || a == "--package";
        if (takesValue && i + 1 >= args.size()) {
            error = a + " needs a value";
            return std::nullopt;
        }
        if (a == "--unattended")
            continue;
        if (a == "--base") {
            o.base = args[++i];
            haveBase = !o.base.empty();
        } else if (a == "--package") {
            o.package = args[++i];
        } else if (a == "--no-desktop") {
            o.desktopShortcut = false;
        } else if (a == "--no-menu") {
            o.menuShortcut = false;
        } else if (a == "--overwrite") {
            o.overwrite = true;
        } else if (a == "--replace-data") {
            o.replaceData = true;
        } else {
            error = "unknown argument " + a;
            return std::nullopt;
        }
    }
    if (!haveBase) {
        error = "--base is required";
        return std::nullopt;
    }
    // The shortcuts name the programs by full path, so a relative base is made absolute here.
    std::error_code ec;
    o.base = std::filesystem::absolute(o.base, ec).lexically_normal();
    if (ec) {
        error = "--base: " + ec.message();
        return std::nullopt;
    }
    if (!o.base.has_filename() && o.base != o.base.root_path())
        o.base = o.base.parent_path(); // "dir/" names dir
    return o;
}

int runUnattended(const std::vector<std::string>& args, const std::filesystem::path& defaultPackage,
                  const ShortcutPlaces& places, std::ostream& err) {
    std::string error;
    const auto options = parseUnattended(args, error);
    if (!options) {
        err << "SetupO2: " << error << '\n' << kUnattendedUsage;
        return 2;
    }
    ScriptedSink sink(err, *options);
    const auto entries =
        LoadPackage(options->package.empty() ? defaultPackage : options->package, sink);
    if (!entries)
        return 1;
    const InstallChoice choice{options->base, options->desktopShortcut, options->menuShortcut};
    return RunInstallation(*entries, choice, places, sink) == InstallOutcome::Installed ? 0 : 1;
}

} // namespace orvo::setup
