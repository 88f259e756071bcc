// Borehole checks in their fixed order, and the Data.err report.
#include "borehole/validation.h"

#include "borehole/dictionary_slots.h"
#include "platform/codepage.h"
#include "platform/numbers.h"

#include <cstdio>

namespace orvo::borehole {

namespace {

std::string depthText(float v) {
    return platform::formatFixed(static_cast<double>(v), 2);
}

std::string rowMessage(const char* prefix, int row, const std::string& text) {
    return std::string(prefix) + " #" + std::to_string(row) + ": " + text;
}

bool blankText(const std::string& s) {
    return s.find_first_not_of(' ') == std::string::npos;
}

} // namespace

std::vector<std::string> CheckBorehole(const platform::WorkFolder& folder,
                                       const BoreholeEditData& d) {
    std::vector<std::string> out;
    if (d.name.bytes().empty())
        out.push_back("Не указано наименование выработки");
    if (!(d.depth > 0.0f))
        out.push_back("Глубина выработки = " + depthText(d.depth));
    if (d.type == 0)
        out.push_back("Не определен тип выработки");
    // A list that cannot be read counts as empty: every reference to it is reported deleted.
    const auto types = DictionarySlots::readOrEmpty(folder, BoreholeDictionary::BoreholeType);
    if (!types.inUse(d.type))
        out.push_back("Тип выработки удален из системы");

    const auto consistency = DictionarySlots::readOrEmpty(folder, BoreholeDictionary::Consistency);
    int row = 0;
    for (const auto& r : d.ige.rows()) {
        ++row;
        if (blankText(r.text))
            out.push_back(rowMessage("ИГЭ", row, "Не указан номер ИГЭ"));
        if (r.depth > d.depth)
            out.push_back(rowMessage(
                "ИГЭ", row, "Глубина подошвы (" + depthText(r.depth) + ") > глубины выработки"));
        if (r.type == 0)
            out.push_back(rowMessage("ИГЭ", row, "Не определен тип ИГЭ"));
        if (!consistency.inUse(r.type))
            out.push_back(rowMessage("ИГЭ", row, "Тип ИГЭ удален из системы"));
    }
    const auto water = DictionarySlots::readOrEmpty(folder, BoreholeDictionary::Water);
    row = 0;
    for (const auto& r : d.water.rows()) {
        ++row;
        if (blankText(r.text))
            out.push_back(rowMessage("ПВ", row, "Не указана дата"));
        if (r.depth > d.depth)
            out.push_back(rowMessage(
                "ПВ", row, "Глубина горизонта (" + depthText(r.depth) + ") > глубины выработки"));
        if (r.type == 0)
            out.push_back(rowMessage("ПВ", row, "Не определен тип горизонта"));
        if (!water.inUse(r.type))
            out.push_back(rowMessage("ПВ", row, "Тип горизонта удален из системы"));
    }
    const auto samples = DictionarySlots::readOrEmpty(folder, BoreholeDictionary::Sample);
    row = 0;
    for (const auto& r : d.samples.rows()) {
        ++row;
        if (r.depth > d.depth)
            out.push_back(rowMessage("ОП", row,
                                     "Глубина отбора пробы (" + depthText(r.depth) +
                                         ") > глубины выработки"));
        if (r.type == 0)
            out.push_back(rowMessage("ОП", row, "Не определен тип пробы"));
        if (!samples.inUse(r.type))
            out.push_back(rowMessage("ОП", row, "Тип пробы удален из системы"));
    }
    return out;
}

Status WriteReport(const platform::WorkFolder& folder, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) {
        text += platform::utf8ToCp1251(l);
        text += "\r\n";
    }
    return folder.writeAtomic(kReportFile, platform::Bytes(text.begin(), text.end()));
}

std::string reportCaption(const store::FixedText<10>& name) {
    const std::string n = name.utf8();
    return "Анализ ошибок, выработка - " + (n.empty() ? std::string("Без имени") : n);
}

std::string reportCountLine(std::size_t count) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%3.3zu", count);
    return std::string("Всего обнаружено ") + buf + " ошибок";
}

} // namespace orvo::borehole
