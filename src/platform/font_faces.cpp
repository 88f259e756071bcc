// Table of stand-in families for the face names of the original platform.
#include "platform/font_faces.h"

#include "platform/path_resolver.h"

#include <algorithm>
#include <array>

namespace orvo::platform {
namespace {

struct Substitution {
    std::string_view face;
    std::array<std::string_view, 4> families;
};

// Liberation fonts are metric-compatible with the Windows core fonts; DejaVu is the fallback
// every Debian desktop has. All of them carry Cyrillic.
constexpr std::array<Substitution, 5> kTable{{
    {"ms sans serif", {"Microsoft Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans"}},
    {"arial cyr", {"Arial", "Liberation Sans", "DejaVu Sans", ""}},
    {"arial", {"Liberation Sans", "DejaVu Sans", "", ""}},
    {"times new roman cyr", {"Times New Roman", "Liberation Serif", "DejaVu Serif", ""}},
    {"courier new cyr", {"Courier New", "Liberation Mono", "DejaVu Sans Mono", ""}},
}};

} // namespace

std::vector<std::string> faceCandidates(std::string_view face) {
    std::vector<std::string> out{std::string(face)};
    const std::string key = asciiLower(face);
    for (const auto& s : kTable) {
        if (s.face != key)
            continue;
        for (auto f : s.families)
            if (!f.empty())
                out.emplace_back(f);
    }
    return out;
}

std::optional<std::string> substituteFace(std::string_view face,
                                          const std::vector<std::string>& installedFamilies) {
    for (const auto& candidate : faceCandidates(face)) {
        const std::string want = asciiLower(candidate);
        const auto it = std::find_if(installedFamilies.begin(), installedFamilies.end(),
                                     [&](const std::string& f) { return asciiLower(f) == want; });
        if (it != installedFamilies.end())
            return *it;
    }
    return std::nullopt;
}

} // namespace orvo::platform
