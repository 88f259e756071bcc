// orvo_pack: writes Orvo2.cab from the three programs and a DATA folder, or lists a package.
#include "platform/work_folder.h"
#include "setup/package.h"
#include "setup/package_builder.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: orvo_pack --out FILE --programs Orvo2 O2_Check orvo --data DIR\n"
    "       orvo_pack --list FILE\n";

int usage(const std::string& why) {
    std::cerr << "orvo_pack: " << why << '\n' << kUsage;
    return 2;
}

int list(const std::filesystem::path& file) {
    const auto read = orvo::platform::readFile(file);
    if (!read.ok()) {
        std::cerr << "orvo_pack: cannot read " << file.string() << '\n';
        return 1;
    }
    std::string why;
    const auto entries = orvo::setup::parsePackage(read.bytes, &why);
    if (!entries) {
        std::cerr << "orvo_pack: " << file.string() << " is refused: " << why << '\n';
        return 1;
    }
    std::cout << orvo::setup::listPackage(*entries);
    return 0;
}

int pack(const std::filesystem::path& out, const std::vector<std::filesystem::path>& programs,
         const std::filesystem::path& data) {
    const auto entries = orvo::setup::collectPackage(programs, data);
    if (!entries) {
        std::cerr << "orvo_pack: " << entries.error().text << '\n';
        return 1;
    }
    const auto bytes = orvo::setup::packageBytes(*entries);
    std::string why;
    if (!orvo::setup::parsePackage(bytes, &why)) {
        std::cerr << "orvo_pack: the package would be refused: " << why << '\n';
        return 1;
    }
    if (!orvo::platform::replaceFile(out, bytes)) {
        std::cerr << "orvo_pack: cannot write " << out.string() << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "--list")
        return list(args[1]);
    std::filesystem::path out, data;
    std::vector<std::filesystem::path> programs;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i] == "--data" && i + 1 < args.size()) {
            data = args[++i];
        } else if (args[i] == "--programs") {
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0)
                programs.emplace_back(args[++i]);
        } else {
            return usage("unexpected argument " + args[i]);
        }
    }
    if (out.empty() || data.empty())
        return usage("--out and --data are needed");
    if (programs.size() != orvo::setup::kProgramCount)
        return usage("--programs takes exactly three programs: Orvo2 O2_Check orvo");
    return pack(out, programs, data);
}
