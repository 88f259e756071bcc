// Delivery of a section's DXF set: checks, the archive, atomic replacement of every file.
#include "export/dxf_export.h"

#include "platform/system_paths.h"

#include <zip.h>

#include <chrono>
#include <cstdio>

namespace orvo::exporter {

namespace {

Error badPrefix(const std::string& prefix) {
    return {"Недопустимый префикс или путь файлов экспорта (" + prefix + ")", "Stop", false};
}

Error archiveError(const char* why) {
    return {std::string("Ошибка создания архива (") + why + ")", "Stop", false};
}

std::string sheetName(const std::string& prefix, int i) {
    return prefix + std::to_string(i) + ".DXF";
}

std::filesystem::path target(const std::string& folder, const std::string& name) {
    return std::filesystem::path(folder) / name;
}

} // namespace

ExportEnvironment::ExportEnvironment(const platform::TextMetrics& m)
    : metrics(&m), freeSpace(platform::freeDiskSpace) {}

std::string defaultPrefix(std::int32_t section) {
    return "R" + std::to_string(section) + "_";
}

std::vector<std::string> deliveredNames(const std::string& prefix, int files, bool archive) {
    std::vector<std::string> out;
    if (archive)
        out.push_back(prefix + ".zip");
    else
        for (int i = 0; i < files; ++i)
            out.push_back(sheetName(prefix, i));
    out.push_back(prefix + ".txt");
    return out;
}

std::optional<Error> checkPrefix(const std::string& folder, const std::string& prefix, int files) {
    if (prefix.empty() || prefix.find('/') != std::string::npos ||
        prefix.find('\\') != std::string::npos || prefix.find("..") != std::string::npos ||
        prefix.find('\0') != std::string::npos)
        return badPrefix(prefix);
    for (const auto& name : deliveredNames(prefix, files, false))
        if (target(folder, name).string().size() > 255 || name.size() > 255)
            return badPrefix(prefix);
    return std::nullopt;
}

std::pair<std::string, std::string> splitChosenName(const std::string& full) {
    const auto slash = full.find_last_of("/\\");
    std::string folder = slash == std::string::npos ? std::string() : full.substr(0, slash);
    std::string name = slash == std::string::npos ? full : full.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    return {folder, name};
}

Result<platform::Bytes> zipSectionDxf(const SectionDxf& dxf, const std::string& prefix) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        return archiveError("буфер");
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(buffer);
        return archiveError("открытие");
    }
    zip_source_keep(buffer);
    bool ok = true;
    for (std::size_t i = 0; i < dxf.files.size() && ok; ++i) {
        const auto& file = dxf.files[i];
        zip_source_t* entry = zip_source_buffer(archive, file.data(), file.size(), 0);
        const auto name = sheetName(prefix, static_cast<int>(i));
        if (!entry ||
            zip_file_add(archive, name.c_str(), entry, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
            if (entry)
                zip_source_free(entry);
            ok = false;
        }
    }
    if (!ok || zip_close(archive) < 0) {
        zip_discard(archive);
        zip_source_free(buffer);
        return archiveError("запись");
    }
    platform::Bytes out;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_stat(buffer, &st) < 0 || zip_source_open(buffer) < 0) {
        zip_source_free(buffer);
        return archiveError("чтение");
    }
    out.resize(static_cast<std::size_t>(st.size));
    const auto got = zip_source_read(buffer, out.data(), out.size());
    zip_source_close(buffer);
    zip_source_free(buffer);
    if (got < 0 || static_cast<std::size_t>(got) != out.size())
        return archiveError("чтение");
    return out;
}

bool CopyExportFile(platform::MessageSink& sink, const ExportEnvironment& env,
                    const std::string& folder, const std::string& name,
                    const platform::Bytes& content) {
    const auto path = target(folder, name);
    if (env.freeSpace)
        if (const auto free = env.freeSpace(std::filesystem::path(folder));
            free && *free < content.size()) {
            sink.show("Stop", kNoSpace, platform::Icon::Error);
            return false;
        }
    if (!platform::replaceFile(path, content)) {
        sink.report(platform::writeError(path.string()));
        return false;
    }
    return true;
}

ExportOutcome DeliverSectionDxf(const platform::WorkFolder& folder,
                                const drawing::SectionDrawingInput& input,
                                platform::MessageSink& sink, const ExportEnvironment& env,
                                const ExportChoice& choice) {
    ExportOutcome out;
    const int files = static_cast<int>(input.layout.sheets.size()) + 1;
    const auto& dir = choice.settings.path;
    if (const auto refusal = checkPrefix(dir, choice.prefix, files)) {
        sink.report(*refusal);
        return out;
    }
    const DxfBuildOptions options{choice.settings.hatchBoundary, choice.settings.archive,
                                  choice.prefix};
    const auto dxf = BuildSectionDxf(folder, input, *env.metrics, options);
    if (choice.settings.archive) {
        const auto zip = zipSectionDxf(dxf, choice.prefix);
        if (!zip) {
            sink.report(zip.error());
            return out;
        }
        const auto name = choice.prefix + ".zip";
        if (!CopyExportFile(sink, env, dir, name, *zip))
            return out;
        out.delivered.push_back(name);
    } else {
        for (int i = 0; i < files; ++i) {
            const auto name = sheetName(choice.prefix, i);
            if (!CopyExportFile(sink, env, dir, name, dxf.files[static_cast<std::size_t>(i)]))
                return out;
            out.delivered.push_back(name);
        }
    }
    const auto txt = choice.prefix + ".txt";
    if (!CopyExportFile(sink, env, dir, txt, dxf.description))
        return out;
    out.delivered.push_back(txt);
    sink.show(kExportCaption, kExportDone, platform::Icon::None);
    out.completed = true;
    return out;
}

ExportOutcome ExportSectionDxf(const store::ProjectStore& store, platform::MessageSink& sink,
                               std::int32_t object, std::optional<std::int32_t> storedSection,
                               const section::Section& section, drawing::TextSource source,
                               const ExportDialog& dialog, const ExportEnvironment& env) {
    auto& folder = store.folder();
    const auto prepared =
        drawing::PrepareSectionDrawing(store, sink, object, storedSection, section, source);
    if (!prepared)
        return {};
    ExportOutcome out;
    const auto& in = prepared->input;
    ExportDialogInfo info;
    if (const auto title = store.ReadObjectTitle(object))
        info.objectName = title->shortName.utf8Trimmed();
    info.sectionName = in.layout.name.utf8Trimmed();
    info.sheets = static_cast<int>(in.layout.sheets.size());
    info.settings = ReadExportSettings(folder);
    info.prefix = defaultPrefix(section.header.number);
    if (const auto choice = dialog(info)) {
        if (choice->storeSettings)
            if (const auto saved = SaveExportSettings(folder, choice->settings); !saved)
                sink.report(saved.error());
        out = DeliverSectionDxf(folder, in, sink, env, *choice);
    }
    drawing::FinishSectionDrawing(folder, *prepared);
    return out;
}

std::vector<std::filesystem::path>
OpenSectionDxf(const store::ProjectStore& store, platform::MessageSink& sink, std::int32_t object,
               std::optional<std::int32_t> storedSection, const section::Section& section,
               const ExportEnvironment& env, platform::FileOpener& opener) {
    auto& folder = store.folder();
    const auto prepared = drawing::PrepareSectionDrawing(
        store, sink, object, storedSection, section, drawing::TextSource::SectionDialog);
    if (!prepared)
        return {};
    const auto settings = ReadExportSettings(folder);
    const auto dxf =
        BuildSectionDxf(folder, prepared->input, *env.metrics, {settings.hatchBoundary, false, {}});
    drawing::FinishSectionDrawing(folder, *prepared);
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    std::vector<std::filesystem::path> out;
    const auto dir = platform::tempFolder();
    for (std::size_t i = 0; i < dxf.files.size(); ++i) {
        const auto path = dir / (std::to_string(now) + "-" + std::to_string(i) + ".DXF");
        if (!platform::replaceFile(path, dxf.files[i])) {
            sink.report(platform::writeError(path.string()));
            break;
        }
        out.push_back(path);
        (void)opener.open(path);
    }
    return out;
}

} // namespace orvo::exporter
