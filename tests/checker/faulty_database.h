// A database with a fault of every kind the checker knows, in mixed letter case, shared by the
// core and dialog tests.
#pragma once
#include "support/db_builder.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <map>
#include <string>

namespace orvo::test {

inline store::Bytes boreholeBytes(std::int32_t number, const std::string& nameUtf8) {
    store::BoreholeHeader h;
    h.name.setUtf8(nameUtf8);
    h.number = number;
    return store::recordBytes(h);
}

// Objects, in list order:
//   1 sound, two boreholes;
//   2 three files, a list of three other numbers (equal counts, all three not in the list);
//   3 folder "00003.obj" and list "skv.sps" in lower case; 12345678.skv and 00000003.SKV count
//     (the latter too short to hold a name), the look-alikes beside them do not;
//   4 no borehole list; 5 no title; 6 no folder; 7 archived, empty list, no files;
//   8 a title cut short; 9 folder "00009.obj", an empty "skv.sps" and one borehole file.
// OBJ.SPS ends in a partial record.
inline void buildFaultyDatabase(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    DbBuilder db(root);
    db.object(1, "Сквозной");
    db.borehole(1, 1, "Скв-1");
    db.borehole(1, 2, "Скв-2");

    db.object(2, "Чужие номера");
    for (std::int32_t n : {10, 11, 12})
        writeBytes(db.objectDir(2) / ("000000" + std::to_string(n) + ".SKV"),
                   boreholeBytes(n, "Ш-" + std::to_string(n)));
    writeBytes(db.objectDir(2) / "SKV.SPS", store::numberListBytes({20, 21, 22}));

    db.object(3, "Имена");
    const fs::path three = root / "DATA" / "00003.obj";
    fs::rename(db.objectDir(3), three);
    fs::rename(three / "SKV.SPS", three / "skv.sps");
    writeBytes(three / "skv.sps", store::numberListBytes({3, 12345678}));
    writeBytes(three / "12345678.skv", boreholeBytes(12345678, "Длинная"));
    writeBytes(three / "00000003.SKV", {'A', 'B', 'C', 0, 0});
    for (const char* name : {"1234567a.skv", "notes.skv", "00000001.skv.bak", "12345678 copy.skv"})
        writeBytes(three / name, boreholeBytes(1, "Лишний"));
    fs::create_directories(three / "00000002.skv");

    db.object(4, "Без списка");
    writeBytes(db.objectDir(4) / "00000040.SKV", boreholeBytes(40, "С-40"));
    fs::remove(db.objectDir(4) / "SKV.SPS");

    db.object(5, "Без титула");
    fs::remove(db.objectDir(5) / "OBJ.TIT");
    db.object(6, "Без папки");
    fs::remove_all(db.objectDir(6));
    db.object(7, "Архив", true);

    db.object(8, "Обрезан");
    auto title = readBytes(db.objectDir(8) / "OBJ.TIT");
    title.resize(100);
    writeBytes(db.objectDir(8) / "OBJ.TIT", title);

    db.object(9, "Пустой список");
    const fs::path nine = root / "DATA" / "00009.obj";
    fs::rename(db.objectDir(9), nine);
    fs::rename(nine / "SKV.SPS", nine / "skv.sps");
    writeBytes(nine / "00000090.skv", boreholeBytes(90, "Девяносто"));

    auto list = readBytes(root / "DATA/OBJ.SPS");
    list.insert(list.end(), 20, 0x7F);
    writeBytes(root / "DATA/OBJ.SPS", list);
}

// Every file under the root with its bytes, by path relative to the root.
inline std::map<std::string, store::Bytes> snapshot(const std::filesystem::path& root) {
    std::map<std::string, store::Bytes> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files[e.path().lexically_relative(root).generic_string()] = readBytes(e.path());
    return files;
}

} // namespace orvo::test
