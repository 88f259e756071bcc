// orvo: the command-line front end over the core, for jobs that need no display.
#include "borehole/borehole_types.h"
#include "platform/message_sink.h"
#include "platform/numbers.h"
#include "platform/work_folder.h"
#include "section/drawing_form.h"
#include "section/settings_lists.h"
#include "seed/seed.h"
#include "shell/library_tree.h"
#include "store/project_store.h"

#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kOk = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;

const char* const kUsageText =
    "usage: orvo init DIR            create a working folder with the default database\n"
    "       orvo [-C DIR] tree       print the library tree of the working folder\n"
    "       orvo [-C DIR] dict types|scales|formats|surnames|forms\n"
    "                                print the records in use of a dictionary, index first\n"
    "\n"
    "DIR defaults to the current folder. Exit status: 0 done, 1 the data refuse, 2 usage.\n";

int usage(const std::string& why = {}) {
    if (!why.empty())
        std::cerr << "orvo: " << why << '\n';
    std::cerr << kUsageText;
    return kUsage;
}

int refuse(const orvo::Error& error) {
    orvo::platform::StreamMessageSink sink(std::cerr, orvo::platform::Answer::No);
    sink.report(error);
    return kRefused;
}

struct Context {
    std::filesystem::path dir = ".";
    std::vector<std::string> args; // after the command name
};

int cmdInit(const Context& ctx) {
    if (ctx.args.size() > 1)
        return usage("init takes one folder");
    const std::filesystem::path dir =
        ctx.args.empty() ? ctx.dir : std::filesystem::path(ctx.args[0]);
    if (auto st = orvo::seed::InitWorkingFolder(dir, orvo::seed::builtinDefinitions()); !st)
        return refuse(st.error());
    std::cout << "Создана рабочая папка " << dir.string() << '\n';
    return kOk;
}

int cmdTree(const Context& ctx) {
    if (!ctx.args.empty())
        return usage("tree takes no arguments");
    orvo::platform::WorkFolder folder(ctx.dir);
    if (!folder.isFolder("DATA"))
        return refuse(
            {"Не найдена база данных DATA в папке \"" + ctx.dir.string() + "\"", "Ошибка", false});
    orvo::store::ProjectStore store(folder);
    auto tree = orvo::shell::BuildLibraryTree(store);
    if (!tree)
        return refuse(tree.error());
    for (const auto& note : tree->skipped)
        std::cerr << "Пропущено: " << note << '\n';
    std::cout << orvo::shell::formatTree(*tree);
    return kOk;
}

// "index<TAB>field<TAB>field..." per record.
void printRow(int index, std::initializer_list<std::string> fields) {
    std::cout << index;
    for (const auto& f : fields)
        std::cout << '\t' << f;
    std::cout << '\n';
}

int cmdDict(const Context& ctx) {
    if (ctx.args.size() != 1)
        return usage("dict takes one of types, scales, formats, surnames, forms");
    const std::string& which = ctx.args[0];
    orvo::platform::WorkFolder folder(ctx.dir);
    if (!folder.isFolder("DATA"))
        return refuse(
            {"Не найдена база данных DATA в папке \"" + ctx.dir.string() + "\"", "Ошибка", false});
    using orvo::platform::formatTenths;
    if (which == "types") {
        auto types = orvo::borehole::ListBoreholeTypes(folder);
        if (!types)
            return refuse(types.error());
        for (const auto& t : *types)
            printRow(t.index, {t.type.name.utf8(), formatTenths(t.type.columnWidth),
                               formatTenths(t.type.lineWidth),
                               t.type.shownOnSection ? "на разрезе" : "не на разрезе"});
    } else if (which == "scales") {
        auto scales = orvo::section::ReadScales(folder);
        if (!scales)
            return refuse(scales.error());
        for (std::size_t i = 0; i < scales->size(); ++i)
            printRow(static_cast<int>(i), {"1:" + std::to_string((*scales)[i])});
    } else if (which == "formats") {
        auto formats = orvo::section::ReadSheetFormats(folder);
        if (!formats)
            return refuse(formats.error());
        for (std::size_t i = 0; i < formats->size(); ++i) {
            const auto& f = (*formats)[i];
            printRow(static_cast<int>(i), {f.description.utf8Trimmed(), std::to_string(f.heightMm),
                                           std::to_string(f.widthMm)});
        }
    } else if (which == "surnames") {
        auto names = orvo::section::ReadSurnames(folder);
        if (!names)
            return refuse(names.error());
        for (std::size_t i = 0; i < names->size(); ++i)
            printRow(static_cast<int>(i), {(*names)[i].utf8Trimmed()});
    } else if (which == "forms") {
        auto forms = orvo::section::ReadDrawingFormList(folder);
        if (!forms)
            return refuse(forms.error());
        for (std::size_t i = 0; i < forms->size(); ++i)
            if ((*forms)[i].inUse != 0)
                printRow(static_cast<int>(i), {(*forms)[i].name.utf8Trimmed()});
    } else {
        return usage("unknown dictionary " + which);
    }
    return kOk;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    Context ctx;
    std::size_t i = 0;
    while (i < args.size() && args[i].size() > 1 && args[i][0] == '-') {
        if (args[i] == "-h" || args[i] == "--help") {
            std::cout << kUsageText;
            return kOk;
        }
        if (args[i] == "-C" && i + 1 < args.size()) {
            ctx.dir = args[i + 1];
            i += 2;
            continue;
        }
        return usage("unknown option " + args[i]);
    }
    if (i >= args.size())
        return usage();
    const std::string command = args[i];
    ctx.args.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());

    const std::map<std::string, std::function<int(const Context&)>> commands = {
        {"init", cmdInit},
        {"tree", cmdTree},
        {"dict", cmdDict},
    };
    const auto it = commands.find(command);
    if (it == commands.end())
        return usage("unknown command " + command);
    return it->second(ctx);
}
