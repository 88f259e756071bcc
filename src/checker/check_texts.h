// What the checker says: its caption, labels and messages, and the report `orvo check` prints.
#pragma once
#include "checker/database_check.h"

#include <string>
#include <string_view>

namespace orvo::checker {

inline constexpr std::string_view kCaption = "Orvo V2.0  Проверка Базы Данных ";
inline constexpr std::string_view kObjectListCaption = "Список объектов";
inline constexpr std::string_view kBoreholeListCaption = "Выработки объекта";
inline constexpr std::string_view kFixButton = "Исправить";
inline constexpr std::string_view kExitButton = "Выход";
inline constexpr std::string_view kObjectNotFound = "*** Объект не обнаружен ***";
inline constexpr std::string_view kNoObjectList = "Не обнаружен список объектов";
inline constexpr std::string_view kFaultsCaption = "Loading...";

// "Объект: DATA\%5.5d.OBJ\OBJ.TIT" and the object's fault, if any.
std::string objectLabel(const ObjectCheck& object);
// "Выработка: DATA\%5.5d.OBJ\%8.8d.skv" and " - нет в списке ***" when it is not in the list.
std::string boreholeLabel(std::int32_t object, const BoreholeFile& file);
// "Обнаружено ошибок: %d шт"
std::string faultsMessage(int faults);
// "Исправлено списков выработок: %d"
std::string fixedMessage(int rewritten);

// The tab-separated report: a line per object, a line per borehole file below it, and the
// fault count last.
std::string formatReport(const CheckReport& report);

} // namespace orvo::checker
