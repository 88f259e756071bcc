// The refusal texts and questions several parts of the system share, each written once.
#pragma once
#include "platform/result.h"

#include <filesystem>
#include <string>
#include <vector>

namespace orvo::platform {

inline constexpr char kBadFormatText[] = "Неверный формат файла";
inline constexpr char kNoMemoryText[] = "Недостаточно памяти";
// The caption of refusals about files the user picked (exchange files, exports).
inline constexpr char kFileErrorCaption[] = "ОШИБКА";

// "Ошибка открытия (%s)", caption "ОШИБКА": a picked file cannot be read or written.
Error fileOpenError(const std::filesystem::path& file);
// "Неверный формат файла", caption "ОШИБКА": a picked file is not what it should be.
Error badFileFormatError();

// The box that asks what to do when a name being saved or imported is in use already: the
// caption, a line, the name, the lines after it and one button per answer.
struct NameTakenQuestion {
    std::string caption;
    std::string lead;
    std::vector<std::string> after;
    std::vector<std::string> choices; // left to right
    int defaultChoice = -1;           // the answer Return gives; none when -1
};

// The line after the name. Dictionaries word it differently, each as the user has always seen.
inline constexpr char kExistsExclaimed[] = "Уже существует в системе !";
inline constexpr char kExistsStated[] = "Уже существует в системе.";
inline constexpr char kOverwriteChoice[] = "Перезаписать";
inline constexpr char kCancelImportChoice[] = "Отмена импорта";

// The import question of the dictionaries whose box has only "Перезаписать" (the default) and
// "Отмена импорта": `lead` above the name, "Уже существует в системе !" below it.
NameTakenQuestion overwriteOnImport(std::string caption, std::string lead);

} // namespace orvo::platform
