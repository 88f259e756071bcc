// The checker's labels and the text of its report.
#include "checker/check_texts.h"

#include <cstdio>

namespace orvo::checker {

namespace {

std::string padded(std::int32_t value, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*d", digits, value);
    return text;
}

// Labels name the files as the database spells them, whatever the disk holds.
std::string objectPath(std::int32_t object) {
    return "DATA\\" + padded(object, 5) + ".OBJ\\";
}

} // namespace

std::string objectLabel(const ObjectCheck& object) {
    std::string text = "Объект: " + objectPath(object.number) + "OBJ.TIT";
    if (object.status == ObjectStatus::TitleMissing)
        text += " - нет титула ***";
    else if (object.status == ObjectStatus::ListFaulty)
        text += " - ошибка списка выработок ***";
    return text;
}

std::string boreholeLabel(std::int32_t object, const BoreholeFile& file) {
    std::string text = "Выработка: " + objectPath(object) + padded(file.number, 8) + ".skv";
    if (file.notInList)
        text += " - нет в списке ***";
    return text;
}

std::string faultsMessage(int faults) {
    return "Обнаружено ошибок: " + std::to_string(faults) + " шт";
}

std::string fixedMessage(int rewritten) {
    return "Исправлено списков выработок: " + std::to_string(rewritten);
}

std::string formatReport(const CheckReport& report) {
    std::string out;
    for (const auto& object : report.objects) {
        out += padded(object.number, 5) + '\t' + std::to_string(static_cast<int>(object.status)) +
               '\t' + (object.archived ? "архивный" : "рабочий") + '\t' + object.shortName + '\n';
        for (const auto& file : object.files)
            out += '\t' + padded(file.number, 8) + '\t' + file.headerName + '\t' +
                   (file.notInList ? "нет в списке" : "в списке") + '\n';
    }
    out += faultsMessage(faultCount(report)) + '\n';
    return out;
}

} // namespace orvo::checker
