// Writing the default database from its JSON definitions through the project store.
#include "seed/seed.h"

#include "seed/seed_connections.h"
#include "seed/seed_descriptions.h"

#include "borehole/borehole_record.h"
#include "borehole/borehole_types.h"
#include "datasheet/sheet_layout.h"
#include "dict/consistency_type.h"
#include "dict/drawing_form.h"
#include "dict/mark_type.h"
#include "dict/symbol.h"
#include "dict/title_block.h"
#include "platform/codepage.h"
#include "platform/collate.h"
#include "platform/work_folder.h"
#include "section/section_record.h"
#include "section/settings_lists.h"
#include "store/list_file.h"
#include "store/project_store.h"
#include "store/store_paths.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <system_error>
#include <unistd.h>

namespace orvo::seed {
namespace {

using nlohmann::json;

std::int32_t int32Of(const json& j, const char* key, std::int32_t fallback = 0) {
    if (!j.contains(key))
        return fallback;
    return j.at(key).get<std::int32_t>();
}

// Rows in ascending depth, as the editor stores them.
template <class T> void byDepth(std::vector<T>& rows, float T::*depth) {
    std::stable_sort(rows.begin(), rows.end(),
                     [depth](const T& a, const T& b) { return a.*depth < b.*depth; });
}

Status writeBoreholes(const store::ProjectStore& store, std::int32_t object, const json& obj,
                      store::StatusRecord& status, std::set<std::int32_t>& used) {
    for (const auto& j : obj.value("boreholes", json::array())) {
        const auto number = j.at("number").get<std::int32_t>();
        if (number < 1 || number >= std::numeric_limits<std::int32_t>::max() - 1 ||
            !used.insert(number).second)
            return definitionError("номер выработки " + std::to_string(number));
        borehole::Borehole b = borehole::newBorehole(number);
        b.header.name.setUtf8(j.at("name").get<std::string>(), 9);
        b.header.x = j.value("x", 0.0f);
        b.header.y = j.value("y", 0.0f);
        b.header.elevation = j.at("elevation").get<float>();
        b.header.depth = j.at("depth").get<float>();
        b.header.type = j.at("type").get<std::int16_t>();
        for (const auto& r : j.value("ige", json::array())) {
            borehole::IgeLayer l;
            l.ige.setUtf8(r.at(0).get<std::string>(), 10);
            l.baseDepth = r.at(1).get<float>();
            l.consistency = r.at(2).get<std::int16_t>();
            b.ige.push_back(l);
        }
        for (const auto& r : j.value("water", json::array())) {
            borehole::WaterHorizon w;
            w.date.setUtf8(r.at(0).get<std::string>(), 8);
            w.depth = r.at(1).get<float>();
            w.kind = r.at(2).get<std::int16_t>();
            b.water.push_back(w);
        }
        for (const auto& r : j.value("samples", json::array()))
            b.samples.push_back({r.at(0).get<float>(), r.at(1).get<std::int16_t>()});
        if (b.ige.size() > 100 || b.water.size() > 100 || b.samples.size() > 100)
            return definitionError("больше 100 строк в выработке " + std::to_string(number));
        byDepth(b.ige, &borehole::IgeLayer::baseDepth);
        byDepth(b.water, &borehole::WaterHorizon::depth);
        byDepth(b.samples, &borehole::SampleRecord::depth);
        if (auto st = borehole::SaveBorehole(store, object, b); !st)
            return st;
        status.nextBoreholeNumber = std::max(status.nextBoreholeNumber, number + 1);
    }
    return success();
}

Status writeSections(const store::ProjectStore& store, std::int32_t object, const json& obj,
                     store::StatusRecord& status) {
    auto listed = store.ReadBoreholeList(object);
    if (!listed)
        return listed.error();
    for (const auto& j : obj.value("sections", json::array())) {
        const auto number = j.at("number").get<std::int32_t>();
        if (number < 1 || number >= std::numeric_limits<std::int32_t>::max() - 1 ||
            number < status.nextSectionNumber)
            return definitionError("номер разреза " + std::to_string(number));
        section::Section sec;
        sec.header.number = number;
        sec.header.created = j.value("created", 0);
        sec.header.name.setUtf8(j.at("name").get<std::string>(), 29);
        sec.header.verticalScale = j.at("verticalScale").get<std::int32_t>();
        sec.header.horizontalScale = j.at("horizontalScale").get<std::int32_t>();
        sec.header.sheetHeightMm = j.at("sheetHeightMm").get<std::int32_t>();
        sec.header.sheetWidthMm = j.at("sheetWidthMm").get<std::int32_t>();
        const auto signatures = j.value("signatures", std::vector<std::string>{});
        for (std::size_t i = 0; i < sec.header.signatures.size(); ++i)
            sec.header.signatures[i].setPadded(
                platform::utf8ToCp1251(i < signatures.size() ? signatures[i] : std::string()));
        sec.header.stampFirstSheet = j.value("stampFirstSheet", std::int16_t{0});
        sec.header.stampOtherSheets = j.value("stampOtherSheets", std::int16_t{0});
        sec.boreholes = j.at("boreholes").get<std::vector<std::int32_t>>();
        for (auto b : sec.boreholes)
            if (std::find(listed->begin(), listed->end(), b) == listed->end())
                return definitionError("разрез " + std::to_string(number) +
                                       ": выработка не из объекта");
        if (auto st = section::WriteSection(store.folder(), object, sec); !st)
            return st;
        if (auto st = store.AppendSection(object, number); !st)
            return st;
        if (j.contains("connections"))
            if (auto st = writeConnections(store, object, sec, j.at("connections")); !st)
                return st;
        if (j.contains("igeDescriptions"))
            if (auto st = writeSectionIgeDescriptions(store.folder(), object, number,
                                                      j.at("igeDescriptions"));
                !st)
                return st;
        status.nextSectionNumber = number + 1;
    }
    return success();
}

Status writeObject(const store::ProjectStore& store, const json& obj, store::StatusRecord& status,
                   std::set<std::int32_t>& used, std::set<std::int32_t>& usedBoreholes) {
    const auto number = obj.at("number").get<std::int32_t>();
    // The counter after the highest number must still fit.
    if (number < 1 || number >= std::numeric_limits<std::int32_t>::max() - 1 ||
        !used.insert(number).second)
        return definitionError("номер объекта " + std::to_string(number));
    auto& folder = store.folder();
    if (auto st = folder.makeFolder(store::paths::objectFolder(number)); !st)
        return st;
    store::ObjectTitle title;
    title.number = number;
    title.shortName.setUtf8(obj.value("shortName", ""));
    title.fullName.setUtf8(obj.value("fullName", ""));
    title.contract.setUtf8(obj.value("contract", ""));
    if (auto st = store.WriteObjectTitle(title); !st)
        return st;
    for (const auto& list : {store::paths::sectionList(number), store::paths::boreholeList(number)})
        if (auto st = folder.writeAtomic(list, {}); !st)
            return st;
    if (auto st = writeBoreholes(store, number, obj, status, usedBoreholes); !st)
        return st;
    if (auto st = writeSections(store, number, obj, status); !st)
        return st;
    if (auto st = store.AppendObject(number); !st)
        return st;
    if (obj.value("archived", false))
        if (auto st = store.SetArchived(number, true); !st)
            return st;
    status.nextObjectNumber = std::max(status.nextObjectNumber, number + 1);
    return success();
}

std::int32_t tenths(double mm) {
    return static_cast<std::int32_t>(std::llround(mm * 10));
}

// A dictionary the definitions leave out is not written; one given empty is a mistake.
Status writeBoreholeTypes(const platform::WorkFolder& folder, const json& def) {
    if (!def.contains("boreholeTypes"))
        return success();
    std::vector<borehole::BoreholeType> types;
    for (const auto& t : def.value("boreholeTypes", json::array())) {
        borehole::BoreholeType type;
        type.name.setUtf8(t.at("name").get<std::string>());
        type.columnWidth = tenths(t.at("columnWidthMm").get<double>());
        type.lineWidth = tenths(t.at("lineWidthMm").get<double>());
        type.shownOnSection = t.value("shownOnSection", true) ? 1 : 0;
        types.push_back(type);
    }
    if (types.empty())
        return definitionError("нет типов выработок (запись 0 нужна всегда)");
    return store::WriteRecordList(folder, borehole::kBoreholeTypeList, types);
}

Status writeScales(const platform::WorkFolder& folder, const json& def) {
    if (!def.contains("scales"))
        return success();
    std::vector<std::int16_t> scales;
    for (const auto& s : def.at("scales")) {
        const int v = s.get<int>();
        if (v < 1 || v > 32767)
            return definitionError("масштаб " + std::to_string(v));
        scales.push_back(static_cast<std::int16_t>(v));
    }
    std::sort(scales.begin(), scales.end());
    return section::WriteScales(folder, scales);
}

Status writeSheetFormats(const platform::WorkFolder& folder, const json& def) {
    if (!def.contains("sheetFormats"))
        return success();
    std::vector<section::SheetFormat> formats;
    for (const auto& f : def.at("sheetFormats")) {
        section::SheetFormat format;
        format.heightMm = f.at("heightMm").get<std::int32_t>();
        format.widthMm = f.at("widthMm").get<std::int32_t>();
        format.description.setPadded(
            platform::utf8ToCp1251(f.at("description").get<std::string>()));
        formats.push_back(format);
    }
    if (formats.empty())
        return definitionError("нет логических листов");
    return store::WriteRecordList(folder, section::kSheetFormatList, formats);
}

Status writeSurnames(const platform::WorkFolder& folder, const json& def) {
    if (!def.contains("surnames"))
        return success();
    std::vector<section::Surname> names;
    for (const auto& n : def.at("surnames")) {
        section::Surname name;
        name.setPadded(platform::utf8ToCp1251(n.get<std::string>()));
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) {
        return platform::compareText(a.utf8(), b.utf8()) < 0;
    });
    return section::WriteSurnames(folder, names);
}

Status writeDrawingForms(const platform::WorkFolder& folder, const json& def) {
    if (!def.contains("drawingForms"))
        return success();
    const json forms = def.value("drawingForms", json::array());
    if (forms.empty())
        return definitionError("нет формы оформления 0");
    for (const auto& f : forms) {
        dict::DrawingForm body = dict::newDrawingForm();
        body.frameLine = f.value("frameLine", body.frameLine);
        body.scaleLine = f.value("scaleLine", body.scaleLine);
        body.igeLine = f.value("igeLine", body.igeLine);
        const json fonts = f.value("fonts", json::array());
        for (std::size_t i = 0; i < fonts.size() && i < body.fontFace.size(); ++i) {
            body.fontFace[i].setUtf8(fonts[i].at("face").get<std::string>());
            body.fontSize[i] = fonts[i].at("size").get<std::int16_t>();
            body.fontStyle[i] = fonts[i].at("style").get<std::int8_t>();
        }
        auto saved = dict::SaveDrawingForm(folder, -1, f.at("name").get<std::string>(), body);
        if (!saved)
            return saved.error();
    }
    return success();
}

std::int16_t titleStyle(const json& words) {
    std::int16_t style = 0;
    for (const auto& w : words) {
        const auto word = w.get<std::string>();
        if (word == "bold")
            style |= dict::kTitleBold;
        else if (word == "italic")
            style |= dict::kTitleItalic;
        else if (word == "underline")
            style |= dict::kTitleUnderline;
        else if (word == "left")
            style |= dict::kTitleLeft;
        else if (word == "centred")
            style |= dict::kTitleCentred;
        else if (word == "right")
            style |= dict::kTitleRight;
        else
            throw json::other_error::create(501, "стиль текста " + word, nullptr);
    }
    if (!(style & (dict::kTitleLeft | dict::kTitleCentred | dict::kTitleRight)))
        style |= dict::kTitleLeft;
    return style;
}

dict::TitleTextBox titleBox(const json& t) {
    const auto b = t.at("box").get<std::vector<std::int16_t>>();
    if (b.size() != 4)
        throw json::other_error::create(501, "рамка текста из 4 чисел", nullptr);
    return {titleStyle(t.value("style", json::array())),
            t.at("size").get<std::int16_t>(),
            b[0],
            b[1],
            b[2],
            b[3]};
}

Status writeTitleBlocks(const platform::WorkFolder& folder, const json& def) {
    if (!def.contains("titleBlocks"))
        return success();
    int slot = 0;
    for (const auto& tb : def.at("titleBlocks")) {
        dict::TitleBlock block;
        for (const auto& s : tb.value("segments", json::array())) {
            const auto v = s.get<std::vector<std::int16_t>>();
            if (v.size() != 5)
                return definitionError("отрезок штампа из 5 чисел");
            block.segments.push_back({v[0], v[1], v[2], v[3], v[4]});
        }
        for (const auto& f : tb.value("fields", json::array())) {
            dict::TitleProgramText text;
            text.fieldCode = f.at("code").get<std::int16_t>();
            text.font = dict::logFontFor(f.value("font", "Arial Cyr"));
            text.box = titleBox(f);
            block.programTexts.push_back(text);
        }
        for (const auto& e : tb.value("texts", json::array())) {
            dict::TitleEditableText text;
            text.text.setUtf8(e.at("text").get<std::string>(), 127);
            text.font = dict::logFontFor(e.value("font", "Arial Cyr"));
            text.box = titleBox(e);
            block.editableTexts.push_back(text);
        }
        if (auto st = dict::SaveTitleBlock(folder, slot, tb.at("name").get<std::string>(), block);
            !st)
            return st;
        ++slot;
    }
    return success();
}

std::int32_t symbolType(const std::string& word) {
    static const std::vector<std::pair<std::string, std::int32_t>> kTypes = {
        {"segment", dict::kSymbolSegment},
        {"polygon", dict::kSymbolPolygon},
        {"rectangle", dict::kSymbolRectangle},
        {"ellipse", dict::kSymbolEllipse},
        {"arc", dict::kSymbolArc},
        {"chord", dict::kSymbolChord},
        {"pie", dict::kSymbolPie}};
    for (const auto& [name, type] : kTypes)
        if (name == word)
            return type;
    throw json::other_error::create(501, "вид элемента значка " + word, nullptr);
}

Status writeSymbols(const platform::WorkFolder& folder, const json& def) {
    if (!def.contains("symbols"))
        return success();
    for (const auto& sym : def.at("symbols")) {
        std::vector<dict::SymbolElement> elements;
        for (const auto& e : sym.value("elements", json::array())) {
            dict::SymbolElement el;
            el.type = symbolType(e.at("type").get<std::string>());
            el.penWidth = e.value("pen", 0);
            el.penKind = e.value("penKind", 2);
            el.brushKind = e.value("brushKind", 0);
            for (const auto& p : e.at("points")) {
                const auto x = p.at(0).get<std::int32_t>();
                const auto y = p.at(1).get<std::int32_t>();
                if (x < 0 || x > 2000 || y < 0 || y > 2000)
                    return definitionError("координата значка вне 0..2000");
                el.points.push_back({x, y});
            }
            elements.push_back(std::move(el));
        }
        if (auto saved = dict::SaveNewSymbol(folder, sym.at("name").get<std::string>(), elements);
            !saved)
            return saved.error();
    }
    return success();
}

std::int32_t consistencyKind(const std::string& word) {
    if (word == "vertical")
        return dict::kVertical;
    if (word == "horizontal")
        return dict::kHorizontal;
    if (word == "diagonal")
        return dict::kDiagonal;
    throw json::other_error::create(501, "вид линии " + word, nullptr);
}

Status writeConsistencyTypes(const platform::WorkFolder& folder, const json& def) {
    if (!def.contains("consistencyTypes"))
        return success();
    for (const auto& t : def.at("consistencyTypes")) {
        std::vector<dict::ConsistencyElement> elements;
        for (const auto& e : t.at("elements")) {
            dict::ConsistencyElement el;
            el.kind = consistencyKind(e.at("kind").get<std::string>());
            el.repeat = e.value("repeat", 0);
            el.step = e.value("step", 0);
            el.angle = e.value("angle", 0);
            el.direction = e.value("direction", 0);
            el.lineWidth = e.value("lineWidth", 20);
            elements.push_back(el);
        }
        if (auto saved =
                dict::SaveNewConsistencyType(folder, t.at("name").get<std::string>(), elements);
            !saved)
            return saved.error();
    }
    return success();
}

Status writeMarkTypes(const platform::WorkFolder& folder, const json& def, const char* key,
                      dict::MarkList which) {
    if (!def.contains(key))
        return success();
    for (const auto& t : def.at(key))
        if (auto saved = dict::SaveNewMarkType(folder, which, t.at("name").get<std::string>(),
                                               t.value("symbol", 0));
            !saved)
            return saved.error();
    return success();
}

// The data-sheet layout: faces, heights in whole millimetres, attributes, line widths and the
// 39 sizes in millimetres, all stored in tenths.
Status writeSheetLayout(const platform::WorkFolder& folder, const json& def) {
    if (!def.contains("dataSheetLayout"))
        return success();
    const json& d = def.at("dataSheetLayout");
    const auto tenths = [](double mm) {
        return static_cast<std::int16_t>(std::clamp(std::lround(mm * 10), 0L, 32767L));
    };
    datasheet::SheetLayout layout;
    const json& texts = d.at("texts");
    const json& lines = d.at("linesMm");
    const json& sizes = d.at("sizesMm");
    if (texts.size() != datasheet::kTextElements || lines.size() != datasheet::kLineElements ||
        sizes.size() != datasheet::kLayoutSizes)
        return definitionError("dataSheetLayout: 5 texts, 3 lines, 39 sizes");
    for (int i = 0; i < datasheet::kTextElements; ++i) {
        const json& t = texts.at(static_cast<std::size_t>(i));
        const auto e = static_cast<std::size_t>(i);
        layout.setFace(i, t.at("face").get<std::string>());
        layout.textHeight[e] = tenths(t.at("heightMm").get<double>());
        auto& a = layout.textAttr[e];
        a.bold = t.value("bold", false) ? 1 : 0;
        a.italic = t.value("italic", false) ? 1 : 0;
        a.underline = t.value("underline", false) ? 1 : 0;
        const std::string align = t.value("align", "left");
        a.alignLeft = align == "left" ? 1 : 0;
        a.alignCentre = align == "centre" ? 1 : 0;
        a.alignRight = align == "right" ? 1 : 0;
        a.charSet = t.value("charSet", std::uint8_t{204});
        a.pitchAndFamily = t.value("pitchAndFamily", std::uint8_t{34});
    }
    for (std::size_t i = 0; i < layout.linePen.size(); ++i)
        layout.linePen[i] = tenths(lines.at(i).get<double>());
    for (std::size_t i = 0; i < layout.layoutSize.size(); ++i)
        layout.layoutSize[i] = tenths(sizes.at(i).get<double>());
    return datasheet::WriteSheetLayout(folder, layout);
}

Status writeDatabase(const store::ProjectStore& store, const json& def) {
    auto& folder = store.folder();
    if (auto st = folder.makeFolder(store::paths::kDictionaries); !st)
        return st;
    if (auto st = writeBoreholeTypes(folder, def); !st)
        return st;
    for (auto write : {writeScales, writeSheetFormats, writeSurnames})
        if (auto st = write(folder, def); !st)
            return st;
    if (auto st = writeDrawingForms(folder, def); !st)
        return st;
    if (auto st = writeTitleBlocks(folder, def); !st)
        return st;
    if (auto st = writeSymbols(folder, def); !st)
        return st;
    if (auto st = writeHatches(folder, def); !st)
        return st;
    if (auto st = writeStandardIgeDescriptions(folder, def); !st)
        return st;
    if (auto st = writeConsistencyTypes(folder, def); !st)
        return st;
    if (auto st = writeMarkTypes(folder, def, "groundwaterTypes", dict::MarkList::Groundwater); !st)
        return st;
    if (auto st = writeMarkTypes(folder, def, "sampleTypes", dict::MarkList::Samples); !st)
        return st;
    if (auto st = writeSheetLayout(folder, def); !st)
        return st;
    const json& d = def.at("sectionDefaults");
    store::SectionDefaults defaults;
    defaults.verticalScale = int32Of(d, "verticalScale");
    defaults.horizontalScale = int32Of(d, "horizontalScale");
    defaults.sheetHeightMm = int32Of(d, "sheetHeightMm");
    defaults.sheetWidthMm = int32Of(d, "sheetWidthMm");
    defaults.stampFirstSheet = int32Of(d, "stampFirstSheet");
    defaults.stampOtherSheets = int32Of(d, "stampOtherSheets");
    defaults.drawingForm = int32Of(d, "drawingForm");
    if (auto st = store.SaveSectionDefaults(defaults); !st)
        return st;

    if (auto st = folder.writeAtomic(store::paths::kObjectList, {}); !st)
        return st;
    store::StatusRecord status;
    const json st = def.value("status", json::object());
    status.launchCount = int32Of(st, "launchCount");
    status.workSeconds = int32Of(st, "workSeconds");
    std::set<std::int32_t> used;
    std::set<std::int32_t> usedBoreholes;
    for (const auto& obj : def.value("objects", json::array()))
        if (auto r = writeObject(store, obj, status, used, usedBoreholes); !r)
            return r;
    // Written last: a folder with status.sav is a finished database.
    return store.SaveStatus(status);
}

} // namespace

Status InitWorkingFolder(const std::filesystem::path& dir, std::string_view definitionsJson) {
    json def;
    try {
        def = json::parse(definitionsJson);
        if (!def.is_object() || !def.contains("sectionDefaults"))
            return definitionError("нет раздела sectionDefaults");
    } catch (const json::exception& e) {
        return definitionError(e.what());
    }
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!std::filesystem::is_directory(dir, ec))
        return Error{"Ошибка создания папки \"" + dir.string() + "\"", "Ошибка", false};
    if (platform::WorkFolder(dir).exists("DATA"))
        return Error{"В папке \"" + dir.string() + "\" уже есть база данных DATA", "Ошибка", false};
    // Built aside and moved in whole, so a failure leaves no half-made DATA behind.
    const auto staging = dir / (".init~" + std::to_string(::getpid()));
    std::filesystem::remove_all(staging, ec);
    std::filesystem::create_directories(staging, ec);
    platform::WorkFolder folder(staging);
    store::ProjectStore store(folder);
    Status written = success();
    try {
        written = writeDatabase(store, def);
    } catch (const json::exception& e) {
        written = definitionError(e.what());
    }
    if (written) {
        std::filesystem::rename(staging / "DATA", dir / "DATA", ec);
        if (ec)
            written = platform::writeError("DATA");
    }
    std::filesystem::remove_all(staging, ec);
    return written;
}

} // namespace orvo::seed
