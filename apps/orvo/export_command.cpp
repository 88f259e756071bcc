// orvo export-dxf: a section's DXF files (or their archive) and description delivered into a
// folder, as the export dialog delivers them; or every section of every working object.
#include "cli.h"
#include "offscreen.h"

#include "export/dxf_export.h"
#include "platform/message_sink.h"
#include "platform/numbers.h"
#include "platform/ui/qt_text_metrics.h"
#include "section/section_record.h"
#include "store/project_store.h"

#include <filesystem>
#include <iostream>

namespace orvo::cli {

namespace {

struct ExportArgs {
    bool all = false;
    std::int32_t object = 0;
    std::int32_t section = 0;
    std::string out;
    bool zip = false;
    std::optional<std::string> prefix;
    bool boundary = false;
};

constexpr const char* kExportUsage =
    "export-dxf (OBJ SEC | --all) --out DIR [--zip] [--prefix P] [--boundary]";

std::optional<ExportArgs> parseArgs(const std::vector<std::string>& args) {
    ExportArgs a;
    std::vector<std::string> plain;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto& s = args[i];
        const bool hasValue = i + 1 < args.size();
        if (s == "--out" && hasValue)
            a.out = args[++i];
        else if (s == "--prefix" && hasValue)
            a.prefix = args[++i];
        else if (s == "--zip")
            a.zip = true;
        else if (s == "--boundary")
            a.boundary = true;
        else if (s == "--all")
            a.all = true;
        else if (!s.empty() && s[0] == '-')
            return std::nullopt;
        else
            plain.push_back(s);
    }
    if (a.out.empty() || (a.all ? !plain.empty() || a.prefix : plain.size() != 2))
        return std::nullopt;
    if (!a.all) {
        a.object = static_cast<std::int32_t>(platform::parseWholeNumber(plain[0]));
        a.section = static_cast<std::int32_t>(platform::parseWholeNumber(plain[1]));
    }
    return a;
}

// Messages go to stderr, all but the completion notice: stdout lists what was delivered.
class ExportSink : public platform::StreamMessageSink {
public:
    ExportSink() : StreamMessageSink(std::cerr, platform::Answer::No) {}
    void show(const std::string& caption, const std::string& text, platform::Icon icon) override {
        if (caption == exporter::kExportCaption && text == exporter::kExportDone)
            return;
        StreamMessageSink::show(caption, text, icon);
    }
};

bool exportOne(const store::ProjectStore& store, const ExportArgs& a, std::int32_t object,
               std::int32_t sectionNumber, const std::string& prefix,
               const exporter::ExportEnvironment& env) {
    ExportSink sink;
    const auto section = section::ReadSection(store.folder(), object, sectionNumber);
    if (!section) {
        sink.report(section.error());
        return false;
    }
    const auto dialog = [&](const exporter::ExportDialogInfo& info) {
        exporter::ExportChoice choice;
        choice.settings = info.settings;
        choice.settings.archive = a.zip;
        choice.settings.hatchBoundary = a.boundary;
        choice.settings.path = std::filesystem::absolute(a.out).string();
        choice.prefix = prefix;
        choice.storeSettings = false;
        return std::optional(choice);
    };
    const auto outcome =
        exporter::ExportSectionDxf(store, sink, object, sectionNumber, *section,
                                   drawing::TextSource::StoredSection, dialog, env);
    for (const auto& name : outcome.delivered)
        std::cout << name << '\n';
    return outcome.completed;
}

} // namespace

int cmdExportDxf(const Context& ctx) {
    const auto a = parseArgs(ctx.args);
    if (!a)
        return usage(kExportUsage);
    platform::WorkFolder folder(ctx.dir);
    if (!folder.isFolder("DATA"))
        return refuse(noDatabase(ctx));
    std::error_code ec;
    std::filesystem::create_directories(a->out, ec);
    store::ProjectStore store(folder);
    auto app = startOffscreen();
    const platform::QtTextMetrics metrics;
    const exporter::ExportEnvironment env(metrics);
    if (!a->all) {
        const auto prefix = a->prefix.value_or(exporter::defaultPrefix(a->section));
        return exportOne(store, *a, a->object, a->section, prefix, env) ? kOk : kRefused;
    }
    const auto objects = store.ReadObjectList();
    if (!objects)
        return refuse(objects.error());
    bool ok = true;
    for (const auto& entry : *objects) {
        if (entry.archived != 0)
            continue;
        const auto sections = store.ReadSectionList(entry.number);
        if (!sections) {
            ok = false;
            ExportSink sink;
            sink.report(sections.error());
            continue;
        }
        for (const auto s : *sections)
            ok = exportOne(store, *a, entry.number, s, exporter::defaultPrefix(s), env) && ok;
    }
    return ok ? kOk : kRefused;
}

} // namespace orvo::cli
