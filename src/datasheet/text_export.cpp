// Writing the borehole text export.
#include "datasheet/text_export.h"

#include "platform/codepage.h"
#include "platform/numbers.h"

namespace orvo::datasheet {

namespace {

// Texts of the file, Windows-1251 (the sources are UTF-8).
std::string t(std::string_view utf8) {
    return platform::utf8ToCp1251(utf8);
}

std::string fixed2(float v) {
    return platform::formatFixed(v, 2);
}

constexpr const char* kEol = "\r\n";

} // namespace

std::string boreholeTextBytes(const borehole::BoreholeEditData& data, const SheetNames& names,
                              int parts, Charset charset) {
    const std::string typeDeleted = t("<< тип удален >>");
    std::string out;
    out += t("Исходные данные по выработке") + kEol;
    out += std::string("============================") + kEol + kEol;
    out += t("Выработка: ") + data.name.bytes() + kEol;
    out += t("Координата по Х: ") + fixed2(data.x) + kEol;
    out += t("Координата по Y: ") + fixed2(data.y) + kEol;
    out += t("Абсолютная отметка выработки: ") + fixed2(data.elevation) + kEol;
    out += t("Глубина выработки: ") + fixed2(data.depth) + kEol;
    out += t("Тип выработки: ") + slotNameOr(names.types, data.type, t("<< удалена >>")) + kEol;

    const auto& ige = data.ige;
    if ((parts & kPartIge) != 0 && ige.count() > 0) {
        out += std::string(kEol) + t("Таблица ИГЭ:") + kEol + "------------" + kEol;
        for (int i = 0; i < ige.count(); ++i) {
            const auto& r = ige.row(i);
            out += std::to_string(i + 1) + "\t" + r.text + "\t" + fixed2(r.depth) + "\t" +
                   slotNameOr(names.consistency, r.type, typeDeleted) + kEol;
        }
        out += kEol;
    }
    const auto& water = data.water;
    if ((parts & kPartWater) != 0 && water.count() > 0) {
        out += std::string(kEol) + t("Таблица ПВ:") + kEol + "-----------" + kEol;
        for (int i = 0; i < water.count(); ++i) {
            const auto& r = water.row(i);
            out += std::to_string(i + 1) + "\t" + r.text + "\t" + fixed2(r.depth) + "\t" +
                   slotNameOr(names.water, r.type, typeDeleted) + kEol;
        }
        out += kEol;
    }
    const auto& samples = data.samples;
    if ((parts & kPartSamples) != 0 && samples.count() > 0) {
        // The heading is one character shorter than its underline; so it has always been.
        out += std::string(kEol) + t("Таблица ОП:") + kEol + "------------" + kEol;
        for (int i = 0; i < samples.count(); ++i) {
            const auto& r = samples.row(i);
            out += std::to_string(i + 1) + "\t" + fixed2(r.depth) + "\t" +
                   slotNameOr(names.samples, r.type, typeDeleted) + kEol;
        }
    }
    return charset == Charset::Oem ? platform::cp1251ToCp866(out) : out;
}

Status ExportBoreholeText(Charset charset, int parts, const std::filesystem::path& path,
                          const borehole::BoreholeEditData& data, const SheetNames& names) {
    const std::string text = boreholeTextBytes(data, names, parts, charset);
    if (!platform::replaceFile(path, platform::Bytes(text.begin(), text.end())))
        return Error{"Ошибка открытия (" + path.string() + ")", "ОШИБКА", false};
    return success();
}

} // namespace orvo::datasheet
