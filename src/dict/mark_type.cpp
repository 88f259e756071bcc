// Groundwater horizon and sample type records, their list operations and the symbol fitting.
#include "dict/mark_type.h"

#include "platform/codepage.h"
#include "store/list_file.h"
#include "store/project_store.h"

#include <algorithm>
#include <cmath>

namespace orvo::dict {

std::string_view markListPath(MarkList which) {
    return which == MarkList::Groundwater ? "DATA\\DIC\\TipPV.SPS" : "DATA\\DIC\\TipOP.SPS";
}

void MarkTypeRecord::read(store::LeReader& r) {
    used = r.i32();
    r.bytes(name.raw);
    symbol = r.i32();
}
void MarkTypeRecord::write(store::LeWriter& w) const {
    w.i32(used);
    w.bytes(name.raw);
    w.i32(symbol);
}

void setMarkTypeName(MarkTypeRecord& record, std::string_view nameUtf8) {
    record.name.setPadded(platform::utf8ToCp1251(nameUtf8));
}

namespace {
Error builtInError() {
    return {"Запись 0 справочника не изменяется", "Warning", false};
}
} // namespace

Result<std::vector<MarkTypeRecord>> ReadMarkTypeList(const platform::WorkFolder& folder,
                                                     MarkList which) {
    return store::ReadRecordList<MarkTypeRecord>(folder, markListPath(which));
}

Result<MarkTypeRecord> ReadMarkType(const platform::WorkFolder& folder, MarkList which, int slot) {
    auto list = ReadMarkTypeList(folder, which);
    if (!list)
        return list.error();
    if (slot < 0 || static_cast<std::size_t>(slot) >= list->size())
        return store::BadFormatError(markListPath(which));
    return (*list)[static_cast<std::size_t>(slot)];
}

Result<int> SaveMarkType(const platform::WorkFolder& folder, MarkList which, int slot,
                         const MarkTypeRecord& record) {
    auto list = ReadMarkTypeList(folder, which);
    if (!list)
        return list.error();
    const int count = static_cast<int>(list->size());
    if (slot < 0 || slot > count)
        return store::BadFormatError(markListPath(which));
    if (slot == 0 && count > 0)
        return builtInError();
    if (auto st =
            store::PutRecord(folder, markListPath(which), static_cast<std::size_t>(slot), record);
        !st)
        return st.error();
    return slot;
}

Result<int> SaveNewMarkType(const platform::WorkFolder& folder, MarkList which,
                            std::string_view nameUtf8, int symbolIndex) {
    auto list = ReadMarkTypeList(folder, which);
    if (!list)
        return list.error();
    MarkTypeRecord rec;
    rec.used = 1;
    setMarkTypeName(rec, nameUtf8);
    rec.symbol = symbolIndex;
    return SaveMarkType(folder, which, static_cast<int>(list->size()), rec);
}

namespace {
template <class Change>
Status changeRecord(const platform::WorkFolder& folder, MarkList which, int slot, Change change) {
    if (slot == 0)
        return builtInError();
    auto rec = ReadMarkType(folder, which, slot);
    if (!rec)
        return rec.error();
    change(*rec);
    if (auto saved = SaveMarkType(folder, which, slot, *rec); !saved)
        return saved.error();
    return success();
}
} // namespace

Status DeleteMarkType(const platform::WorkFolder& folder, MarkList which, int slot) {
    return changeRecord(folder, which, slot, [](MarkTypeRecord& r) { r.used = 0; });
}

Status SetMarkTypeSymbol(const platform::WorkFolder& folder, MarkList which, int slot,
                         int symbolIndex) {
    return changeRecord(folder, which, slot,
                        [symbolIndex](MarkTypeRecord& r) { r.symbol = symbolIndex; });
}

SymbolFrame markPreviewArea(const SymbolFrame& client) {
    return {client.left + 3, client.top + 8, client.right - 3, client.bottom - 8};
}

SymbolFrame markSymbolArea(const SymbolFrame& client) {
    const SymbolFrame a = markPreviewArea(client);
    return {a.left + 10, a.top + 10, a.right - 10, a.bottom - 10};
}

std::optional<SymbolPlacement> fitSymbol(const SymbolFrame& frame, int height, int width) {
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    // A symbol saved without elements has a negative size; it has nothing to show.
    if (height <= 0 || width <= 0 || frameWidth <= 0 || frameHeight <= 0)
        return std::nullopt;
    const float scale = std::min(static_cast<float>(frameHeight) / static_cast<float>(height),
                                 static_cast<float>(frameWidth) / static_cast<float>(width));
    const int drawnWidth =
        std::min(frameWidth, static_cast<int>(std::trunc(static_cast<float>(width) * scale)));
    const int drawnHeight =
        std::min(frameHeight, static_cast<int>(std::trunc(static_cast<float>(height) * scale)));
    SymbolPlacement p;
    p.scale = scale;
    // Centred in whole pixels, as the frame is drawn.
    const int left = frame.left + (frameWidth - drawnWidth) / 2;
    const int top = frame.top + (frameHeight - drawnHeight) / 2;
    p.at = {static_cast<double>(left), static_cast<double>(top)};
    return p;
}

} // namespace orvo::dict
