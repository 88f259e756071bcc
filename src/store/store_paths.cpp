// Formatting of the numbered names of object folders, boreholes and sections.
#include "store/store_paths.h"

#include <cstdio>

namespace orvo::store::paths {
namespace {
std::string padded(std::int32_t n, int digits) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%.*d", digits, n);
    return buf;
}
} // namespace

std::string objectFolder(std::int32_t object) {
    return "DATA\\" + padded(object, 5) + ".OBJ";
}

std::string objectFile(std::int32_t object, std::string_view name) {
    return objectFolder(object) + "\\" + std::string(name);
}

std::string objectTitle(std::int32_t object) {
    return objectFile(object, "OBJ.TIT");
}
std::string sectionList(std::int32_t object) {
    return objectFile(object, "RAZ.SPS");
}
std::string boreholeList(std::int32_t object) {
    return objectFile(object, "SKV.SPS");
}

std::string boreholeFile(std::int32_t object, std::int32_t borehole) {
    return objectFile(object, padded(borehole, 8) + ".SKV");
}

std::string sectionFile(std::int32_t object, std::int32_t section, std::string_view ext) {
    return objectFile(object, padded(section, 6) + "." + std::string(ext));
}

} // namespace orvo::store::paths
