// orvo: the command-line front end over the core, for jobs that need no display.
#include "cli.h"

#include "borehole/borehole_record.h"
#include "borehole/borehole_types.h"
#include "borehole/dictionary_slots.h"
#include "borehole/validation.h"
#include "connect/auto_connect.h"
#include "connect/connection_file.h"
#include "connect/connection_model.h"
#include "connect/editing_rules.h"
#include "connect/reconcile.h"
#include "dict/consistency_type.h"
#include "dict/drawing_form.h"
#include "dict/mark_type.h"
#include "dict/symbol.h"
#include "platform/codepage.h"
#include "platform/message_sink.h"
#include "platform/numbers.h"
#include "platform/work_folder.h"
#include "section/layout_check.h"
#include "section/section_record.h"
#include "section/settings_lists.h"
#include "seed/seed.h"
#include "shell/library_tree.h"
#include "store/list_file.h"
#include "store/project_store.h"
#include "store/store_paths.h"

#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace orvo::cli {
namespace {

const char* const kUsageText =
    "usage: orvo init DIR            create a working folder with the default database\n"
    "       orvo [-C DIR] tree       print the library tree of the working folder\n"
    "       orvo [-C DIR] dict types|scales|formats|surnames|forms|symbols|consistency|water|\n"
    "                                samples|hatches|ige\n"
    "                                print the records in use of a dictionary, index first\n"
    "       orvo [-C DIR] borehole show OBJ NUM       print a borehole with its tables\n"
    "       orvo [-C DIR] borehole validate OBJ NUM   check it; Data.err; exit 1 on errors\n"
    "       orvo [-C DIR] borehole sheet OBJ NUM --pdf FILE [--parts N] [--pages A-B]\n"
    "                                the borehole's data sheet, A4 pages as printed\n"
    "       orvo [-C DIR] borehole text OBJ NUM [--oem] [--parts N] [-o FILE]\n"
    "                                its text export (Windows-1251, or 866 with --oem)\n"
    "       orvo [-C DIR] layout OBJ SEC  check a section's layout and print its sheets\n"
    "       orvo [-C DIR] connect OBJ SEC [--auto] [--save]\n"
    "                                the section's IGE connections merged with its boreholes\n"
    "       orvo [-C DIR] areas OBJ SEC   the closed IGE areas traced from every borehole point\n"
    "       orvo [-C DIR] ige OBJ SEC     the section's IGEs with their descriptions and hatches\n"
    "       orvo [-C DIR] hatch sample SLOT (--pdf F | --png F) [--dpi N]\n"
    "                                the test-print page of a hatch type\n"
    "       orvo [-C DIR] render OBJ SEC (--pdf FILE | --png DIR) [--dpi N] [--no-texts]\n"
    "                                a section's sheets and legend: one PDF page or PNG each\n"
    "       orvo [-C DIR] print OBJ SEC --pdf FILE [--page WxH(mm|pt)] [--dpi N]\n"
    "                                [--sheets LIST] [--marks 0|1|2]\n"
    "                                print the section as \"Печать...\" does, to a PDF printer\n"
    "       orvo [-C DIR] texts OBJ SEC   the section's sheet texts with their placements\n"
    "       orvo [-C DIR] export-dxf OBJ SEC --out DIR [--zip] [--prefix P] [--boundary]\n"
    "                                the section's DXF sheets, legend and description (or one\n"
    "                                ZIP archive and the description), printing their names\n"
    "       orvo [-C DIR] export-dxf --all --out DIR [--zip] [--boundary]\n"
    "                                every section of every working object, prefix R<SEC>_\n"
    "       orvo [-C DIR] check [--fix]   check the object titles and borehole lists; --fix\n"
    "                                rebuilds faulty lists; exit 1 while faults remain\n"
    "\n"
    "DIR defaults to the current folder. Exit status: 0 done, 1 the data refuse, 2 usage.\n";

} // namespace

int usage(const std::string& why) {
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

Error noDatabase(const Context& ctx) {
    return {"Не найдена база данных DATA в папке \"" + ctx.dir.string() + "\"", "Ошибка", false};
}

Result<section::Section> storedSection(const Context& ctx, const platform::WorkFolder& folder,
                                       std::int32_t object, std::int32_t number) {
    if (!folder.isFolder("DATA"))
        return noDatabase(ctx);
    return section::ReadSection(folder, object, number);
}

// "index<TAB>field<TAB>field..." per record.
void printRow(int index, std::initializer_list<std::string> fields) {
    std::cout << index;
    for (const auto& f : fields)
        std::cout << '\t' << f;
    std::cout << '\n';
}

namespace {

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
        return refuse(noDatabase(ctx));
    orvo::store::ProjectStore store(folder);
    auto tree = orvo::shell::BuildLibraryTree(store);
    if (!tree)
        return refuse(tree.error());
    for (const auto& note : tree->skipped)
        std::cerr << "Пропущено: " << note << '\n';
    std::cout << orvo::shell::formatTree(*tree);
    return kOk;
}

int cmdDict(const Context& ctx) {
    if (ctx.args.size() != 1)
        return usage("dict takes one of types, scales, formats, surnames, forms, symbols, "
                     "consistency, water, samples, hatches, ige");
    const std::string& which = ctx.args[0];
    orvo::platform::WorkFolder folder(ctx.dir);
    if (!folder.isFolder("DATA"))
        return refuse(noDatabase(ctx));
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
        auto forms = orvo::dict::ReadDrawingFormList(folder);
        if (!forms)
            return refuse(forms.error());
        for (std::size_t i = 0; i < forms->size(); ++i)
            if ((*forms)[i].inUse != 0)
                printRow(static_cast<int>(i), {(*forms)[i].name.utf8Trimmed()});
    } else if (which == "symbols") {
        auto symbols = orvo::dict::ReadSymbolList(folder);
        if (!symbols)
            return refuse(symbols.error());
        for (std::size_t i = 1; i < symbols->size(); ++i) {
            const auto& rec = (*symbols)[i];
            if (rec.used != 0)
                printRow(static_cast<int>(i),
                         {rec.name.utf8Trimmed(), orvo::platform::formatFixed(rec.width / 100.0, 2),
                          orvo::platform::formatFixed(rec.height / 100.0, 2)});
        }
    } else if (which == "consistency") {
        auto types = orvo::store::ReadRecordList<orvo::dict::ConsistencyTypeRecord>(
            folder, orvo::dict::kConsistencyTypeList);
        if (!types)
            return refuse(types.error());
        for (std::size_t i = 0; i < types->size(); ++i)
            if ((*types)[i].used != 0)
                printRow(static_cast<int>(i), {(*types)[i].name.utf8Trimmed()});
    } else if (which == "water" || which == "samples") {
        const auto list =
            which == "water" ? orvo::dict::MarkList::Groundwater : orvo::dict::MarkList::Samples;
        auto types = orvo::store::ReadRecordList<orvo::dict::MarkTypeRecord>(
            folder, orvo::dict::markListPath(list));
        if (!types)
            return refuse(types.error());
        for (std::size_t i = 0; i < types->size(); ++i)
            if ((*types)[i].used != 0)
                printRow(static_cast<int>(i), {(*types)[i].name.utf8Trimmed(),
                                               "значок " + std::to_string((*types)[i].symbol)});
    } else if (which == "hatches") {
        return dictHatches(ctx);
    } else if (which == "ige") {
        return dictIge(ctx);
    } else {
        return usage("unknown dictionary " + which);
    }
    return kOk;
}

std::string metres(float v) {
    return orvo::platform::formatFixed(v, 2);
}

int cmdBorehole(const Context& ctx) {
    if (!ctx.args.empty() && ctx.args[0] == "sheet")
        return boreholeSheet(ctx);
    if (!ctx.args.empty() && ctx.args[0] == "text")
        return boreholeText(ctx);
    if (ctx.args.size() != 3 || (ctx.args[0] != "show" && ctx.args[0] != "validate"))
        return usage("borehole show|validate|sheet|text OBJ NUM");
    const auto object = static_cast<std::int32_t>(orvo::platform::parseWholeNumber(ctx.args[1]));
    const auto number = static_cast<std::int32_t>(orvo::platform::parseWholeNumber(ctx.args[2]));
    orvo::platform::WorkFolder folder(ctx.dir);
    auto b = orvo::borehole::ReadBorehole(folder, object, number);
    if (!b)
        return refuse(b.error());
    if (ctx.args[0] == "validate") {
        auto data = orvo::borehole::BoreholeEditData::from(*b);
        data.sortAll();
        const auto lines = orvo::borehole::CheckBorehole(folder, data);
        if (auto st = orvo::borehole::WriteReport(folder, lines); !st)
            return refuse(st.error());
        for (const auto& l : lines)
            std::cout << l << '\n';
        return lines.empty() ? kOk : kRefused;
    }
    using orvo::borehole::BoreholeDictionary;
    using orvo::borehole::DictionarySlots;
    const auto types = DictionarySlots::readOrEmpty(folder, BoreholeDictionary::BoreholeType);
    const auto consistency = DictionarySlots::readOrEmpty(folder, BoreholeDictionary::Consistency);
    const auto water = DictionarySlots::readOrEmpty(folder, BoreholeDictionary::Water);
    const auto samples = DictionarySlots::readOrEmpty(folder, BoreholeDictionary::Sample);
    const auto& h = b->header;
    std::cout << "Выработка: " << h.name.utf8Trimmed() << " (№ " << h.number << ")\n"
              << "X: " << metres(h.x) << "  Y: " << metres(h.y)
              << "  Отметка: " << metres(h.elevation) << "  Глубина: " << metres(h.depth) << '\n'
              << "Тип: " << types.shownName(h.type) << '\n';
    std::cout << "Инженерно-геологические элементы: " << b->ige.size() << '\n';
    int row = 0;
    for (const auto& l : b->ige)
        printRow(++row,
                 {l.ige.utf8Trimmed(), metres(l.baseDepth), consistency.shownName(l.consistency)});
    std::cout << "Подземные воды: " << b->water.size() << '\n';
    row = 0;
    for (const auto& w : b->water)
        printRow(++row, {w.date.utf8Trimmed(), metres(w.depth), water.shownName(w.kind)});
    std::cout << "Отборы проб: " << b->samples.size() << '\n';
    row = 0;
    for (const auto& s : b->samples)
        printRow(++row, {samples.shownName(s.kind), metres(s.depth)});
    return kOk;
}

int cmdLayout(const Context& ctx) {
    if (ctx.args.size() != 2)
        return usage("layout OBJ SEC");
    const auto object = static_cast<std::int32_t>(orvo::platform::parseWholeNumber(ctx.args[0]));
    const auto number = static_cast<std::int32_t>(orvo::platform::parseWholeNumber(ctx.args[1]));
    orvo::platform::WorkFolder folder(ctx.dir);
    auto section = orvo::section::ReadSection(folder, object, number);
    if (!section)
        return refuse(section.error());
    auto layout = orvo::section::CheckSectionLayout(folder, object, *section);
    if (!layout)
        return refuse(layout.error());
    std::cout << "Масштаб по вертикали 1:" << layout->verticalScale
              << (layout->automatic ? " (выбран автоматически)" : "") << '\n';
    auto nameOf = [&](int index) {
        if (index < 0 || index >= static_cast<int>(section->boreholes.size()))
            return std::string("?");
        auto h = orvo::store::ProjectStore(folder).ReadBoreholeHeader(
            object, section->boreholes[static_cast<std::size_t>(index)]);
        return h ? h->name.utf8Trimmed() : std::string("?");
    };
    int sheet = 0;
    for (const auto& s : layout->sheets)
        printRow(++sheet, {nameOf(s.first), nameOf(s.last), std::to_string(s.top),
                           std::to_string(s.bottom), std::to_string(s.length)});
    return kOk;
}

// The model of a stored section merged with its connection file, as the viewer builds it.
// The change report, if any, is printed first.
orvo::Result<orvo::connect::ConnectionModel> mergedModel(const orvo::platform::WorkFolder& folder,
                                                         std::int32_t object, std::int32_t number) {
    auto section = orvo::section::ReadSection(folder, object, number);
    if (!section)
        return section.error();
    auto model = orvo::connect::LoadSectionBoreholes(folder, object, section->boreholes);
    if (!model)
        return model.error();
    orvo::platform::StreamMessageSink sink(std::cerr, orvo::platform::Answer::No);
    if (auto st = orvo::connect::ReconcileConnections(folder, sink, *model, object, number); !st)
        return st.error();
    if (auto report = orvo::connect::TakeChangeReport(folder))
        for (const auto& line : *report)
            std::cout << line << '\n';
    return model;
}

int cmdConnect(const Context& ctx) {
    std::vector<std::string> plain;
    bool autoConnect = false;
    bool save = false;
    for (const auto& a : ctx.args) {
        if (a == "--auto")
            autoConnect = true;
        else if (a == "--save")
            save = true;
        else
            plain.push_back(a);
    }
    if (plain.size() != 2)
        return usage("connect OBJ SEC [--auto] [--save]");
    const auto object = static_cast<std::int32_t>(orvo::platform::parseWholeNumber(plain[0]));
    const auto number = static_cast<std::int32_t>(orvo::platform::parseWholeNumber(plain[1]));
    orvo::platform::WorkFolder folder(ctx.dir);
    orvo::store::ProjectStore store(folder);
    // A working copy made here for reading only is removed again, as the viewer does.
    const bool hadWorkingCopy = folder.exists(orvo::store::paths::kWorkSlo);
    auto model = mergedModel(folder, object, number);
    if (!model) {
        if (!hadWorkingCopy)
            folder.removeFile(orvo::store::paths::kWorkSlo);
        return refuse(model.error());
    }
    if (autoConnect && orvo::connect::AutoConnectOffered(*model))
        if (auto added = orvo::connect::AutoConnect(*model, orvo::connect::LineStyle::Straight, 1);
            !added)
            return refuse(added.error());
    std::cout << "Выработок: " << model->boreholeCount() << ", номеров ИГЭ: " << model->igeCount()
              << ", точек: " << model->pointCount() << ", линий: " << model->lineCount() << '\n';
    int row = 0;
    for (const auto& l : model->lines)
        printRow(++row, {orvo::connect::describePoint(*model, l.from),
                         orvo::connect::describePoint(*model, l.to),
                         l.style == orvo::connect::LineStyle::Wavy ? "волнистая" : "прямая",
                         l.visible ? "видимая" : "невидимая"});
    if (save) {
        // Through the working copy, as "Сохранить" of the section dialog moves it.
        if (auto st = orvo::connect::SaveConnections(folder, *model); !st)
            return refuse(st.error());
        if (auto st = store.CopyWorkingCopiesBack(object, number); !st)
            return refuse(st.error());
    } else if (!hadWorkingCopy) {
        folder.removeFile(orvo::store::paths::kWorkSlo);
    }
    return kOk;
}

int cmdAreas(const Context& ctx) {
    if (ctx.args.size() != 2)
        return usage("areas OBJ SEC");
    const auto object = static_cast<std::int32_t>(orvo::platform::parseWholeNumber(ctx.args[0]));
    const auto number = static_cast<std::int32_t>(orvo::platform::parseWholeNumber(ctx.args[1]));
    orvo::platform::WorkFolder folder(ctx.dir);
    const bool hadWorkingCopy = folder.exists(orvo::store::paths::kWorkSlo);
    auto model = mergedModel(folder, object, number);
    if (!hadWorkingCopy)
        folder.removeFile(orvo::store::paths::kWorkSlo);
    if (!model)
        return refuse(model.error());
    // The editor's model coordinates for a 1600 x 1000 drawing area showing the first boreholes.
    auto map = orvo::connect::MakeScreenMapping(*model, 1600, 1000, 0,
                                                std::min(3, model->boreholeCount()));
    if (!map)
        return refuse(map.error());
    std::vector<orvo::connect::PointPosition> positions;
    for (std::int32_t i = 0; i < model->pointCount(); ++i) {
        const auto p = map->pointPos(*model, i);
        positions.push_back({map->modelX(p), map->modelY(p)});
    }
    const orvo::connect::LinesByPoint lines(*model);
    for (std::int32_t start = 0; start < model->boreholePointTotal(); ++start)
        for (auto sense : {orvo::connect::Sense::Left, orvo::connect::Sense::Right}) {
            auto area = orvo::connect::TraceArea(*model, lines, positions, start, sense);
            if (!area)
                continue;
            std::string outline;
            for (auto p : area->outline)
                outline += (outline.empty() ? "" : " ") + std::to_string(p);
            const auto& ige = model->igeNumbers[static_cast<std::size_t>(
                std::clamp(area->ige, 0, model->igeCount() - 1))];
            std::string igeText(ige.begin(), ige.end());
            while (!igeText.empty() && igeText.back() == ' ')
                igeText.pop_back();
            printRow(start, {sense == orvo::connect::Sense::Left ? "влево" : "вправо",
                             orvo::platform::cp1251ToUtf8(igeText), outline});
        }
    return kOk;
}

} // namespace
} // namespace orvo::cli

int main(int argc, char** argv) {
    using namespace orvo::cli;
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
        {"init", cmdInit},     {"tree", cmdTree},
        {"dict", cmdDict},     {"borehole", cmdBorehole},
        {"layout", cmdLayout}, {"connect", cmdConnect},
        {"areas", cmdAreas},   {"ige", cmdIge},
        {"hatch", cmdHatch},   {"check", cmdCheck},
        {"render", cmdRender}, {"print", cmdPrint},
        {"texts", cmdTexts},   {"export-dxf", cmdExportDxf},
    };
    const auto it = commands.find(command);
    if (it == commands.end())
        return usage("unknown command " + command);
    return it->second(ctx);
}
