// Reading and writing the data-sheet layout, field by field in file order.
#include "datasheet/sheet_layout.h"

#include "platform/codepage.h"
#include "store/project_store.h"

#include <algorithm>

namespace orvo::datasheet {

const std::array<const char*, kTextElements> kTextElementNames = {
    "Заголовок документа", "Надписи титула", "Текст титула", "Надписи шапки", "Текст таблиц"};

const std::array<const char*, kLineElements> kLineElementNames = {"Рамка листа", "Рамка таблиц",
                                                                  "Разметка таблиц"};

const std::array<const char*, kLayoutSizes> kLayoutSizeNames = {
    "Рамка листа: отступ сверху",
    "Рамка листа: отступ слева",
    "Рамка листа: ширина",
    "Рамка листа: высота",
    "Заголовок документа: отступ сверху",
    "Заголовок документа: отступ слева",
    "Надписи титула: отступ сверху",
    "Надписи титула: отступ слева",
    "Надписи титула: ширина строк",
    "Чертеж выработки: отступ сверху",
    "Чертеж выработки: отступ слева",
    "Чертеж выработки: ширина",
    "Чертеж выработки: высота",
    "Таблица ИГЭ: отступ от титула",
    "Таблица ИГЭ: отступ слева",
    "Таблица ИГЭ: высота шапки",
    "Таблица ИГЭ: высота под-шапки",
    "Таблица ИГЭ: высота строк",
    "Таблица ИГЭ: ширина 1 столбца",
    "Таблица ИГЭ: ширина 2 столбца",
    "Таблица ИГЭ: ширина 3 столбца",
    "Таблица ИГЭ: ширина 4 столбца",
    "Таблица ПВ: отступ от ИГЭ",
    "Таблица ПВ: отступ слева",
    "Таблица ПВ: высота шапки",
    "Таблица ПВ: высота под-шапки",
    "Таблица ПВ: высота строк",
    "Таблица ПВ: ширина 1 столбца",
    "Таблица ПВ: ширина 2 столбца",
    "Таблица ПВ: ширина 3 столбца",
    "Таблица ПВ: ширина 4 столбца",
    "Таблица ОП: отступ от ПВ",
    "Таблица ОП: отступ слева",
    "Таблица ОП: высота шапки",
    "Таблица ОП: высота под-шапки",
    "Таблица ОП: высота строк",
    "Таблица ОП: ширина 1 столбца",
    "Таблица ОП: ширина 2 столбца",
    "Таблица ОП: ширина 3 столбца",
};

namespace {

// Font faces are cut to this many characters when a font is made of them.
constexpr std::size_t kFaceChars = 32;

} // namespace

std::string SheetLayout::face(int element) const {
    if (element < 0 || element >= kTextElements)
        return {};
    const auto& raw = textFace[static_cast<std::size_t>(element)];
    const auto end = std::find(raw.begin(), raw.begin() + kFaceChars, '\0');
    return platform::cp1251ToUtf8(std::string(raw.begin(), end));
}

void SheetLayout::setFace(int element, const std::string& utf8) {
    if (element < 0 || element >= kTextElements)
        return;
    auto& raw = textFace[static_cast<std::size_t>(element)];
    raw.fill('\0');
    const std::string bytes = platform::utf8ToCp1251(utf8);
    std::copy_n(bytes.begin(), std::min(bytes.size(), kFaceChars - 1), raw.begin());
}

SheetLayout defaultSheetLayout() {
    SheetLayout l;
    constexpr std::array<std::int16_t, kTextElements> kHeights = {120, 90, 90, 70, 80};
    for (int i = 0; i < kTextElements; ++i) {
        const auto e = static_cast<std::size_t>(i);
        l.setFace(i, "Arial Cyr");
        l.textHeight[e] = kHeights[e];
        auto& a = l.textAttr[e];
        a.bold = i == kHeadingText || i == kTitleValues ? 1 : 0;
        a.alignLeft = i == kTitleValues ? 1 : 0;
        a.alignCentre = i == kTitleValues ? 0 : 1;
        a.charSet = 204;
        a.pitchAndFamily = 34;
    }
    l.linePen = {5, 5, 2};
    l.layoutSize = {50,  200, 1850, 2870, 60,  200, 200, 100, 70,  80,  300, 400, 2000,
                    100, 550, 120,  60,   60,  100, 250, 200, 700, 100, 550, 120, 60,
                    60,  100, 250,  250,  650, 100, 550, 120, 60,  60,  100, 800, 350};
    return l;
}

void SheetLayout::read(store::LeReader& r) {
    for (auto& f : textFace)
        r.bytes(f);
    for (auto& h : textHeight)
        h = r.i16();
    for (auto& a : textAttr) {
        std::array<std::uint8_t, 8> b{};
        r.bytes(b);
        a = {b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]};
    }
    for (auto& p : linePen)
        p = r.i16();
    for (auto& s : layoutSize)
        s = r.i16();
}

void SheetLayout::write(store::LeWriter& w) const {
    for (const auto& f : textFace)
        w.bytes(f);
    for (auto h : textHeight)
        w.i16(h);
    for (const auto& a : textAttr)
        w.bytes(std::array<std::uint8_t, 8>{a.bold, a.italic, a.underline, a.alignLeft,
                                            a.alignCentre, a.alignRight, a.charSet,
                                            a.pitchAndFamily});
    for (auto p : linePen)
        w.i16(p);
    for (auto s : layoutSize)
        w.i16(s);
}

Result<SheetLayout> parseSheetLayout(std::span<const std::uint8_t> bytes, std::string_view path) {
    if (bytes.size() < SheetLayout::kSize)
        return store::BadFormatError(path);
    store::LeReader r(bytes.first(SheetLayout::kSize));
    SheetLayout layout;
    layout.read(r);
    if (!r.ok())
        return store::BadFormatError(path);
    return layout;
}

store::Bytes sheetLayoutBytes(const SheetLayout& layout) {
    store::Bytes out;
    out.reserve(SheetLayout::kSize);
    store::LeWriter w(out);
    layout.write(w);
    return out;
}

Result<SheetLayout> ReadSheetLayout(const platform::WorkFolder& folder) {
    const auto in = folder.read(kSheetLayoutFile, SheetLayout::kSize);
    if (!in.ok())
        return platform::readError(in, kSheetLayoutFile);
    return parseSheetLayout(in.bytes, kSheetLayoutFile);
}

Status WriteSheetLayout(const platform::WorkFolder& folder, const SheetLayout& layout) {
    return folder.writeAtomic(kSheetLayoutFile, sheetLayoutBytes(layout));
}

} // namespace orvo::datasheet
