// What the commands of orvo share: the context, the exit codes, usage and refusal output, and
// the tab-separated rows they print.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"
#include "section/section_record.h"

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace orvo::cli {

inline constexpr int kOk = 0;
inline constexpr int kRefused = 1;
inline constexpr int kUsage = 2;

struct Context {
    std::filesystem::path dir = ".";
    std::vector<std::string> args; // after the command name
};

// Prints why (when given) and the usage text to stderr; returns kUsage.
int usage(const std::string& why = {});
// Prints the refusal to stderr; returns kRefused.
int refuse(const Error& error);
// The refusal for a working folder without DATA.
Error noDatabase(const Context& ctx);
// The stored section `number` of `object` in the working folder; refused without DATA.
Result<section::Section> storedSection(const Context& ctx, const platform::WorkFolder& folder,
                                       std::int32_t object, std::int32_t number);
// "index<TAB>field<TAB>field..."
void printRow(int index, std::initializer_list<std::string> fields);

// Hatch types and IGE descriptions (describe_commands.cpp).
int dictHatches(const Context& ctx);
int dictIge(const Context& ctx);
int cmdIge(const Context& ctx);
int cmdHatch(const Context& ctx);

// The borehole data sheet as PDF and as text (sheet_commands.cpp): the words after "borehole".
int boreholeSheet(const Context& ctx);
int boreholeText(const Context& ctx);

// A section's sheets and legend to PDF or PNG (render_command.cpp).
int cmdRender(const Context& ctx);
// A section printed to a PDF printer, and its sheet texts (print_command.cpp).
int cmdPrint(const Context& ctx);
int cmdTexts(const Context& ctx);

// A section's DXF export into a folder (export_command.cpp).
int cmdExportDxf(const Context& ctx);

// The database checker (check_command.cpp).
int cmdCheck(const Context& ctx);

} // namespace orvo::cli
