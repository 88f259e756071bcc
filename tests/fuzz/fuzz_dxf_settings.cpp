// Fuzzes the reader of DXF.SAV: any bytes give settings, and the settings written and read again
// are the same.
#include "export/section_dxf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo::exporter;
    const auto s = parseExportSettings({data, size}, "/home/u");
    const auto bytes = exportSettingsBytes(s);
    if (bytes.size() != ExportSettings::kSize)
        __builtin_trap();
    const auto back = parseExportSettings(bytes, "/x");
    if (back.archive != s.archive || back.hatchBoundary != s.hatchBoundary)
        __builtin_trap();
    if (exportSettingsBytes(back) != bytes)
        __builtin_trap();
    return 0;
}
