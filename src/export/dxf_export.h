// The DXF export commands of a section: delivery of the sheet files (or one ZIP archive) and
// the description into a folder, and the opening of the sheets in the program the desktop
// associates with DXF files.
#pragma once
#include "drawing/prepare.h"
#include "export/section_dxf.h"
#include "platform/file_opener.h"
#include "platform/message_sink.h"
#include "platform/text_metrics.h"
#include "store/project_store.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo::exporter {

inline constexpr const char* kExportCaption = "Экспорт DXF";
inline constexpr const char* kExportDone = "Экспорт завершен";
inline constexpr const char* kNoSpace = "На диске не достаточно места\rЭкспорт отменен";

// What the export dialog shows, and what it gives back on "Экспорт".
struct ExportDialogInfo {
    std::string objectName;  // the short name: 30 characters of the object title
    std::string sectionName; // 30 characters
    int sheets = 0;
    ExportSettings settings;
    std::string prefix; // "R%d_" with the section number
};
struct ExportChoice {
    ExportSettings settings;
    std::string prefix;
    bool storeSettings = true; // DXF.SAV is rewritten (never by the command line)
};
using ExportDialog = std::function<std::optional<ExportChoice>(const ExportDialogInfo&)>;

struct ExportEnvironment {
    const platform::TextMetrics* metrics = nullptr;
    // Bytes free on the disk of a target folder; nothing when it cannot be told.
    std::function<std::optional<std::uint64_t>(const std::filesystem::path&)> freeSpace;
    ExportEnvironment(const platform::TextMetrics& m);
};

struct ExportOutcome {
    bool completed = false;             // "Экспорт завершен" was shown
    std::vector<std::string> delivered; // file names in the target folder, in delivery order
};

// "R%d_" of the section number.
std::string defaultPrefix(std::int32_t section);
// The delivered file names: prefix + i + ".DXF" for every file, or prefix + ".zip"; then
// prefix + ".txt".
std::vector<std::string> deliveredNames(const std::string& prefix, int files, bool archive);
// A prefix that names a file in the target folder and nothing else, with every delivered path
// within 255 bytes; otherwise the refusal.
std::optional<Error> checkPrefix(const std::string& folder, const std::string& prefix, int files);
// The chosen save-file name split at its last separator: the folder, and the name up to its
// first dot as the prefix.
std::pair<std::string, std::string> splitChosenName(const std::string& full);

// The archive of the files under the names prefix + i + ".DXF" (UTF-8 names), in memory.
Result<platform::Bytes> zipSectionDxf(const SectionDxf& dxf, const std::string& prefix);

// One delivered file: -1 the archive, -2 the description, else sheet file `which`. Refuses with
// the disk-space message when the target's disk has less room than the file needs, and with
// the write error when the file cannot be replaced; the target is replaced atomically.
bool CopyExportFile(platform::MessageSink& sink, const ExportEnvironment& env,
                    const std::string& folder, const std::string& name,
                    const platform::Bytes& content);

// Builds and delivers the files of a prepared section as chosen, then "Экспорт завершен".
ExportOutcome DeliverSectionDxf(const platform::WorkFolder& folder,
                                const drawing::SectionDrawingInput& input,
                                platform::MessageSink& sink, const ExportEnvironment& env,
                                const ExportChoice& choice);

// The export command: the viewer's preparation, the dialog, the files, the clean-up (WORK.SLO
// removed when the preparation made it).
ExportOutcome ExportSectionDxf(const store::ProjectStore& store, platform::MessageSink& sink,
                               std::int32_t object, std::optional<std::int32_t> storedSection,
                               const section::Section& section, drawing::TextSource source,
                               const ExportDialog& dialog, const ExportEnvironment& env);

// The open command: the files written into the temporary folder as "%d-%d.DXF" (time, index)
// and each opened; hatch boundaries as DXF.SAV says. Returns the files written.
std::vector<std::filesystem::path>
OpenSectionDxf(const store::ProjectStore& store, platform::MessageSink& sink, std::int32_t object,
               std::optional<std::int32_t> storedSection, const section::Section& section,
               const ExportEnvironment& env, platform::FileOpener& opener);

} // namespace orvo::exporter
