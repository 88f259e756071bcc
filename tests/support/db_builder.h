// Writes small project databases byte by byte for tests and benchmarks, without the store.
#pragma once
#include "platform/codepage.h"
#include "store/records.h"
#include "store/store_paths.h"
#include "support/temp_dir.h"

#include <cstdio>
#include <string>
#include <vector>

namespace orvo::test {

class DbBuilder {
public:
    explicit DbBuilder(std::filesystem::path root) : m_root(std::move(root)) {
        std::filesystem::create_directories(m_root / "DATA" / "DIC");
    }

    std::filesystem::path objectDir(std::int32_t obj) const {
        char name[32];
        std::snprintf(name, sizeof name, "%.5d.OBJ", obj);
        return m_root / "DATA" / name;
    }

    // Adds an entry to OBJ.SPS and writes the object's title and empty lists.
    void object(std::int32_t obj, const std::string& shortNameUtf8, bool archived = false) {
        store::ObjectListEntry e;
        e.number = obj;
        e.archived = archived ? 1 : 0;
        store::appendRecord(m_objects, e);
        writeBytes(m_root / "DATA/OBJ.SPS", m_objects);
        store::ObjectTitle t;
        t.number = obj;
        t.shortName.setUtf8(shortNameUtf8);
        writeBytes(objectDir(obj) / "OBJ.TIT", store::recordBytes(t));
        writeBytes(objectDir(obj) / "RAZ.SPS", {});
        writeBytes(objectDir(obj) / "SKV.SPS", {});
    }

    void section(std::int32_t obj, std::int32_t sec, const std::string& nameUtf8,
                 bool writeFile = true) {
        appendNumber(objectDir(obj) / "RAZ.SPS", sec);
        if (!writeFile)
            return;
        store::Bytes header(178, 0);
        header[0] = static_cast<std::uint8_t>(sec & 0xFF);
        const std::string name = platform::utf8ToCp1251(nameUtf8).substr(0, 29);
        std::copy(name.begin(), name.end(), header.begin() + 8);
        char file[32];
        std::snprintf(file, sizeof file, "%.6d.DAT", sec);
        writeBytes(objectDir(obj) / file, header);
    }

    void borehole(std::int32_t obj, std::int32_t num, const std::string& nameUtf8,
                  bool writeFile = true) {
        appendNumber(objectDir(obj) / "SKV.SPS", num);
        if (!writeFile)
            return;
        store::BoreholeHeader h;
        h.name.setUtf8(nameUtf8);
        h.number = num;
        h.elevation = 150.5f;
        h.depth = 12.0f;
        char file[32];
        std::snprintf(file, sizeof file, "%.8d.SKV", num);
        writeBytes(objectDir(obj) / file, store::recordBytes(h));
    }

private:
    static void appendNumber(const std::filesystem::path& list, std::int32_t n) {
        auto bytes = readBytes(list);
        const auto more = store::numberListBytes({n});
        bytes.insert(bytes.end(), more.begin(), more.end());
        writeBytes(list, bytes);
    }

    std::filesystem::path m_root;
    store::Bytes m_objects;
};

} // namespace orvo::test
