// The checker's scan of the database: each object of the object list with its title and the
// borehole files of its folder measured against its borehole list, and the repair of the lists.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo::checker {

enum class ObjectStatus : int { Sound = 0, TitleMissing = 1, ListFaulty = 2 };

// A file of an object folder named eight digits and ".skv" (any letter case).
struct BoreholeFile {
    std::string fileName;    // as found on disk
    std::int32_t number = 0; // the value of the eight digits
    std::string headerName;  // UTF-8; the file name when the header is too short to hold one
    bool notInList = false;
};

struct ObjectCheck {
    std::int32_t number = 0;
    std::string shortName; // UTF-8; "*** Объект не обнаружен ***" without a title
    bool archived = false;
    ObjectStatus status = ObjectStatus::Sound;
    std::vector<BoreholeFile> files; // empty when the title is missing
};

struct CheckReport {
    std::vector<ObjectCheck> objects; // in object list order
};

// Told the object count before the first object and each object as it is done.
using ScanProgress = std::function<void(int done, int total)>;

// True when the name is exactly eight decimal digits and ".skv" in any letter case.
bool isBoreholeFileName(std::string_view name);

// The borehole files of the object folder, sorted by name (and so by number), with their
// header names; the not-in-list marks are left clear. Nothing when the folder could not be
// listed whole (a missing folder included).
std::optional<std::vector<BoreholeFile>> CollectBoreholeFiles(const platform::WorkFolder& folder,
                                                              std::int32_t object);

// Refused with "Не обнаружен список объектов" when DATA\OBJ.SPS cannot be opened.
Result<CheckReport> ScanDatabase(const platform::WorkFolder& folder,
                                 const ScanProgress& progress = {});

// Objects whose status is not Sound.
int faultCount(const CheckReport& report);

struct FixOutcome {
    int rewritten = 0;           // borehole lists written anew
    std::vector<Error> failures; // objects whose list was kept because listing or writing failed
};

// Rewrites the borehole list of every object with a faulty list from the borehole files its
// folder holds now, in ascending order, each number once. An object whose folder cannot be
// listed, or whose list cannot be written, keeps its old list. Titles are never made.
FixOutcome FixBoreholeLists(const platform::WorkFolder& folder, const CheckReport& report);

} // namespace orvo::checker
