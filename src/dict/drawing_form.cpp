// Drawing forms: records, bodies and the rules of the form list.
#include "dict/drawing_form.h"

#include "platform/codepage.h"
#include "platform/collate.h"
#include "platform/numbers.h"
#include "store/list_file.h"

#include <algorithm>
#include <limits>

namespace orvo::dict {

void DrawingFormEntry::read(store::LeReader& r) {
    inUse = r.i16();
    r.bytes(name.raw);
}

void DrawingFormEntry::write(store::LeWriter& w) const {
    w.i16(inUse);
    w.bytes(name.raw);
}

void DrawingForm::read(store::LeReader& r) {
    frameLine = r.i32();
    scaleLine = r.i32();
    igeLine = r.i32();
    for (auto& face : fontFace)
        r.bytes(face.raw);
    for (auto& size : fontSize)
        size = r.i16();
    for (auto& style : fontStyle) {
        std::array<std::uint8_t, 1> b{};
        r.bytes(b);
        style = static_cast<std::int8_t>(b[0]);
    }
}

void DrawingForm::write(store::LeWriter& w) const {
    w.i32(frameLine);
    w.i32(scaleLine);
    w.i32(igeLine);
    for (const auto& face : fontFace)
        w.bytes(face.raw);
    for (const auto size : fontSize)
        w.i16(size);
    for (const auto style : fontStyle)
        w.bytes(std::array<std::uint8_t, 1>{static_cast<std::uint8_t>(style)});
}

namespace {

template <class T> bool clampField(T& value, T low, T high) {
    const T clamped = std::clamp(value, low, high);
    const bool changed = clamped != value;
    value = clamped;
    return changed;
}

} // namespace

bool DrawingForm::clampToValid() {
    bool changed = false;
    for (auto* line : {&frameLine, &scaleLine, &igeLine})
        changed |= clampField(*line, 0, std::numeric_limits<std::int32_t>::max());
    for (auto& size : fontSize)
        changed |= clampField(size, kMinFontSize, kMaxFontSize);
    for (auto& style : fontStyle)
        changed |= clampField(style, static_cast<std::int8_t>(FontStyle::Normal),
                              static_cast<std::int8_t>(FontStyle::BoldItalic));
    return changed;
}

const std::array<const char*, kTextRoleCount>& textRoleNames() {
    static const std::array<const char*, kTextRoleCount> names = {
        "Оформление шкал", "Отметки на выработке", "Номера ИГЭ",
        "УО: Заголовок",   "УО: Под-Заголовок",    "УО: Текст таблиц"};
    return names;
}

const std::array<const char*, 3>& lineKindNames() {
    static const std::array<const char*, 3> names = {"Линия рамки", "Линия шкал", "Линия ИГЭ"};
    return names;
}

const std::array<const char*, 4>& fontStyleNames() {
    static const std::array<const char*, 4> names = {"Нормальный", "Полужирный", "Наклонный",
                                                     "Полужирный наклонный"};
    return names;
}

std::string drawingFormBodyPath(int index) {
    std::string digits = std::to_string(index < 0 ? -index : index);
    // %3.3d pads the digits, not the sign.
    if (digits.size() < 3)
        digits.insert(0, 3 - digits.size(), '0');
    return "DATA\\DIC\\" + std::string(index < 0 ? "-" : "") + digits + ".FRR";
}

DrawingForm newDrawingForm() {
    DrawingForm form;
    form.frameLine = 3;
    form.scaleLine = 3;
    form.igeLine = 5;
    for (auto& face : form.fontFace)
        face.set("Arial Cyr");
    form.fontSize = {10, 10, 12, 16, 14, 10};
    form.fontStyle = {0, 0, 0, 1, 3, 0};
    return form;
}

namespace {

// The stored form of a typed name: Windows-1251, cut to what the name field takes.
std::string storedName(std::string_view nameUtf8) {
    std::string cp = platform::utf8ToCp1251(nameUtf8);
    if (cp.size() > kFormNameChars)
        cp.resize(kFormNameChars);
    return cp;
}

DrawingFormEntry inUseEntry(std::string_view nameUtf8) {
    DrawingFormEntry entry;
    entry.inUse = 1;
    entry.name.setPadded(storedName(nameUtf8));
    return entry;
}

bool validIndex(const std::vector<DrawingFormEntry>& list, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

Error standardFormError(const char* what) {
    return {std::string("Стандартную форму оформления нельзя ") + what, "Stop", false};
}

Error nameTakenError() {
    return {"Такое наименование уже есть.", "Stop", false};
}

} // namespace

Result<std::vector<DrawingFormEntry>> ReadDrawingFormList(const platform::WorkFolder& folder) {
    return store::ReadRecordList<DrawingFormEntry>(folder, kDrawingFormList);
}

Result<std::vector<FormListItem>> ListDrawingForms(const platform::WorkFolder& folder) {
    auto list = ReadDrawingFormList(folder);
    if (!list)
        return list.error();
    std::vector<FormListItem> out;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list->size(); ++i) {
        if ((*list)[i].inUse == 0)
            continue;
        out.push_back({static_cast<int>(i), (*list)[i]});
        names.push_back((*list)[i].name.utf8Trimmed());
    }
    std::vector<std::size_t> order(out.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    // Stable, so forms with equal names stay in index order.
    std::stable_sort(order.begin(), order.end(), [&names](std::size_t a, std::size_t b) {
        return platform::compareText(names[a], names[b]) < 0;
    });
    std::vector<FormListItem> sorted;
    sorted.reserve(out.size());
    for (const std::size_t i : order)
        sorted.push_back(out[i]);
    return sorted;
}

Result<DrawingForm> ReadDrawingFormBody(const platform::WorkFolder& folder, int index) {
    if (index < 0)
        return store::BadFormatError(kDrawingFormList);
    const std::string path = drawingFormBodyPath(index);
    const auto in = folder.read(path, DrawingForm::kSize);
    if (!in.ok())
        return platform::readError(in, path);
    auto form = store::parseRecord<DrawingForm>(in.bytes);
    if (!form)
        return store::BadFormatError(path);
    form->clampToValid();
    return *form;
}

Result<DrawingForm> ReadDrawingForm(const platform::WorkFolder& folder, int index,
                                    platform::MessageSink& sink, int* used) {
    auto list = ReadDrawingFormList(folder);
    if (!list)
        return list.error();
    int chosen = index;
    if (!validIndex(*list, index) || (*list)[static_cast<std::size_t>(index)].inUse == 0) {
        // A setting that points past the list is shown by its number: there is no name to show.
        const std::string name = validIndex(*list, index)
                                     ? (*list)[static_cast<std::size_t>(index)].name.utf8Trimmed()
                                     : std::to_string(index);
        sink.show("Построение разреза",
                  "Схема оформления разреза\r..." + name +
                      "... УДАЛЕНА.\r\rБудет использована стандартная",
                  platform::Icon::Information);
        chosen = 0;
    }
    auto form = ReadDrawingFormBody(folder, chosen);
    if (form && used)
        *used = chosen;
    return form;
}

int FindDrawingFormByName(const std::vector<DrawingFormEntry>& list, std::string_view nameUtf8,
                          int except) {
    const std::string name = storedName(nameUtf8);
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (static_cast<int>(i) == except || list[i].inUse == 0)
            continue;
        if (list[i].name.samePadded(name))
            return static_cast<int>(i);
    }
    return -1;
}

Result<int> SaveDrawingForm(const platform::WorkFolder& folder, int index,
                            std::string_view nameUtf8, const DrawingForm& body, int replaceIndex) {
    auto list = ReadDrawingFormList(folder);
    if (!list)
        return list.error();
    int target = index;
    bool writeEntry = false;
    if (index >= 0) {
        if (!validIndex(*list, index))
            return store::BadFormatError(kDrawingFormList);
    } else if (replaceIndex >= 0) {
        if (!validIndex(*list, replaceIndex))
            return store::BadFormatError(kDrawingFormList);
        target = replaceIndex;
        writeEntry = true;
    } else {
        target = static_cast<int>(list->size());
        writeEntry = true;
    }
    // The body goes first: should the entry then fail, a new form leaves only an unlisted body
    // that the next new form overwrites, never a listed form without a body.
    const std::string bodyPath = drawingFormBodyPath(target);
    if (auto st = folder.writeAtomic(bodyPath, store::recordBytes(body)); !st)
        return st.error();
    if (writeEntry) {
        if (auto st = store::PutRecord(folder, kDrawingFormList, static_cast<std::size_t>(target),
                                       inUseEntry(nameUtf8));
            !st)
            return st.error();
    }
    return target;
}

Result<std::optional<int>> SaveDrawingFormAsking(const platform::WorkFolder& folder, int index,
                                                 std::string_view nameUtf8, const DrawingForm& body,
                                                 platform::MessageSink& sink) {
    int replace = -1;
    if (index < 0) {
        auto list = ReadDrawingFormList(folder);
        if (!list)
            return list.error();
        replace = FindDrawingFormByName(*list, nameUtf8);
        if (replace >= 0 && sink.askYesNo("Stop", "Такое наименование уже есть.\rЗаменить ?") !=
                                platform::Answer::Yes)
            return std::optional<int>{};
    }
    auto saved = SaveDrawingForm(folder, index, nameUtf8, body, replace);
    if (!saved)
        return saved.error();
    return std::optional<int>{*saved};
}

Status RenameDrawingForm(const platform::WorkFolder& folder, int index, std::string_view nameUtf8) {
    if (index == 0)
        return standardFormError("переименовать");
    auto list = ReadDrawingFormList(folder);
    if (!list)
        return list.error();
    if (!validIndex(*list, index))
        return store::BadFormatError(kDrawingFormList);
    if (FindDrawingFormByName(*list, nameUtf8) >= 0)
        return nameTakenError();
    return store::PutRecord(folder, kDrawingFormList, static_cast<std::size_t>(index),
                            inUseEntry(nameUtf8));
}

Status DeleteDrawingForm(const platform::WorkFolder& folder, int index) {
    if (index == 0)
        return standardFormError("удалить");
    auto list = ReadDrawingFormList(folder);
    if (!list)
        return list.error();
    if (!validIndex(*list, index))
        return store::BadFormatError(kDrawingFormList);
    DrawingFormEntry entry = (*list)[static_cast<std::size_t>(index)];
    entry.inUse = 0;
    return store::PutRecord(folder, kDrawingFormList, static_cast<std::size_t>(index), entry);
}

std::string deleteFormQuestion(std::string_view nameUtf8) {
    return "Вы действительно хотите удалить\rформу: " + std::string(nameUtf8);
}

std::int32_t parseThickness(std::string_view text) {
    return platform::parseTenths(text);
}

std::string formatThickness(std::int32_t tenths) {
    return platform::formatTenths(tenths);
}

} // namespace orvo::dict
