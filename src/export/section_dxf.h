// The DXF drawing of a section, built in memory: one file per sheet, the legend sheet and the
// description text of the set; and the export settings file DXF.SAV.
#pragma once
#include "drawing/render_section.h"
#include "export/dxf_writer.h"
#include "platform/result.h"
#include "platform/text_metrics.h"
#include "platform/work_folder.h"

#include <span>
#include <string>
#include <vector>

namespace orvo::exporter {

inline constexpr std::string_view kExportSettingsFile = "DXF.SAV";

// DXF.SAV, 264 bytes: archive (int32), the target folder (256 bytes, zero-terminated,
// Windows-1251), hatchBoundary (int32).
struct ExportSettings {
    static constexpr std::size_t kSize = 264;
    bool archive = true;
    std::string path; // UTF-8
    bool hatchBoundary = false;
};
// A file shorter than the record gives the defaults with `defaultPath`.
ExportSettings parseExportSettings(std::span<const std::uint8_t> bytes,
                                   const std::string& defaultPath);
platform::Bytes exportSettingsBytes(const ExportSettings& settings);
// The home folder (or the root) where no settings were stored.
std::string defaultExportPath();
ExportSettings ReadExportSettings(const platform::WorkFolder& folder);
Status SaveExportSettings(const platform::WorkFolder& folder, const ExportSettings& settings);

struct DxfBuildOptions {
    bool hatchBoundary = false;
    bool archive = false; // the description names the archive
    std::string prefix;   // UTF-8
};

struct SectionDxf {
    std::vector<platform::Bytes> files;           // sheet 1 .. N, then the legend
    std::vector<std::pair<double, double>> sizes; // millimetres, the legend's last
    platform::Bytes description;                  // Windows-1251, CR LF
    int sheetCount() const { return static_cast<int>(files.size()) - 1; }
};

// Every sheet, the legend and the description. Texts are measured with `metrics`.
SectionDxf BuildSectionDxf(const platform::WorkFolder& folder,
                           const drawing::SectionDrawingInput& input,
                           const platform::TextMetrics& metrics, const DxfBuildOptions& options);

// The description text (UTF-8 lines, joined with CR LF when stored).
std::string sectionDxfDescription(const drawing::SectionDrawingInput& input,
                                  const std::vector<std::pair<double, double>>& sizes,
                                  const DxfBuildOptions& options);

} // namespace orvo::exporter
