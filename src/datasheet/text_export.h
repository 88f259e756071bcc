// The borehole's data as a plain text file with CR LF line ends, in the Windows code page or
// the OEM (DOS) one: its identification and the tables the viewer shows.
#pragma once
#include "datasheet/sheet_data.h"
#include "platform/result.h"

#include <filesystem>
#include <string>

namespace orvo::datasheet {

enum class Charset : int { Oem = 1, Ansi = 2 };

// The whole file. Names are written with their stored bytes (padding kept), numbers "%.2f".
std::string boreholeTextBytes(const borehole::BoreholeEditData& data, const SheetNames& names,
                              int parts, Charset charset);

// Replaces `path` atomically with the text; "Ошибка открытия (%s)" ("ОШИБКА") when it cannot.
Status ExportBoreholeText(Charset charset, int parts, const std::filesystem::path& path,
                          const borehole::BoreholeEditData& data, const SheetNames& names);

} // namespace orvo::datasheet
