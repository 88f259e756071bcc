// What the export tests share: a DXF file around entities, its golden comparison and the folder
// where every written DXF is kept for the reader check.
#pragma once
#include "export/dxf_writer.h"
#include "platform/codepage.h"
#include "platform/work_folder.h"
#include "support/golden.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace orvo::test {

inline std::filesystem::path exportWrittenDir() {
    const char* env = std::getenv("ORVO_DXF_OUT");
    return env ? std::filesystem::path(env) : std::filesystem::path(ORVO_DXF_OUT_DEFAULT);
}

inline std::string dxfLine(std::string_view line) {
    return platform::cp1251ToUtf8(line);
}

// Keeps the file for the reader check and compares it with tests/golden/<name>/expected.dxf.
inline ::testing::AssertionResult dxfGolden(const std::string& name, const std::string& bytes) {
    const auto dir = exportWrittenDir();
    std::filesystem::create_directories(dir);
    platform::Bytes content(bytes.begin(), bytes.end());
    if (!platform::WorkFolder(dir).writeAtomic(name + ".dxf", content))
        return ::testing::AssertionFailure() << "cannot keep " << name;
    return matchesGolden(std::filesystem::path(ORVO_GOLDEN_DIR) / name, bytes, "dxf", dxfLine);
}

// A complete section-sheet file around the entities `body` writes.
inline std::string sheetAround(const std::function<void(exporter::DxfWriter&)>& body,
                               exporter::LayerSet set = exporter::LayerSet::SectionSheet) {
    exporter::DxfWriter w;
    w.writeHeader();
    w.beginTables();
    w.writeLtypeTable();
    w.writeLayerTable(set);
    w.beginStyleTable();
    w.writeStyle("Ramka", "Arial Cyr");
    w.endStyleTable();
    w.endTables();
    w.beginEntities();
    body(w);
    w.writeTrailer();
    return w.text();
}

} // namespace orvo::test
