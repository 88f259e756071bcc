// Stored names of the project database files, spelled as the database spells them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace orvo::store::paths {

inline constexpr std::string_view kObjectList = "DATA\\OBJ.SPS";
inline constexpr std::string_view kStatus = "DATA\\status.sav";
inline constexpr std::string_view kSectionDefaults = "DATA\\razrez.prm";
inline constexpr std::string_view kDictionaries = "DATA\\DIC";
inline constexpr std::string_view kObjectListDel = "OBJ.DEL";
inline constexpr std::string_view kSectionListDel = "RAZ.DEL";
inline constexpr std::string_view kBoreholeListDel = "SKV.DEL";
inline constexpr std::string_view kWorkSlo = "WORK.SLO";
inline constexpr std::string_view kWorkMtx = "WORK.MTX";
inline constexpr std::string_view kWorkOie = "WORK.OIE";

// "DATA\%5.5d.OBJ"
std::string objectFolder(std::int32_t object);
// A file of the object folder: "DATA\%5.5d.OBJ\<name>".
std::string objectFile(std::int32_t object, std::string_view name);
std::string objectTitle(std::int32_t object);  // OBJ.TIT
std::string sectionList(std::int32_t object);  // RAZ.SPS
std::string boreholeList(std::int32_t object); // SKV.SPS
// "DATA\%5.5d.OBJ\%8.8d.SKV"
std::string boreholeFile(std::int32_t object, std::int32_t borehole);
// "DATA\%5.5d.OBJ\%6.6d.<ext>" for DAT, SLO, MTX, OIE.
std::string sectionFile(std::int32_t object, std::int32_t section, std::string_view ext);

} // namespace orvo::store::paths
