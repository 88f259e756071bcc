// The main window's commands: their ids, the main menu, the toolbar and which commands each
// kind of selected tree node enables.
#pragma once
#include "shell/library_tree.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace orvo::shell {

namespace cmd {
inline constexpr int kExit = 107;
inline constexpr int kAbout = 108;
inline constexpr int kToArchive = 11842;
inline constexpr int kFromArchive = 11843;
inline constexpr int kNewObject = 11844;
inline constexpr int kNewSection = 11845;
inline constexpr int kNewBorehole = 11846;
inline constexpr int kView = 11847;
inline constexpr int kPrint = 11848;
inline constexpr int kExport = 11849;
inline constexpr int kImport = 11850;
inline constexpr int kDeleteObject = 11851;
inline constexpr int kDeleteSection = 11852;
inline constexpr int kDeleteBorehole = 11853;
inline constexpr int kData = 11856;
inline constexpr int kSectionDefaults = 11857;
inline constexpr int kSheetParameters = 11858;
inline constexpr int kScales = 11859;
inline constexpr int kSurnames = 11860;
inline constexpr int kSheetFormats = 11861;
inline constexpr int kTitleBlocks = 11862;
inline constexpr int kBoreholeTypes = 11864;
inline constexpr int kConsistencyTypes = 11865;
inline constexpr int kWaterTypes = 11866;
inline constexpr int kSampleTypes = 11867;
inline constexpr int kDataSheetLayout = 11868;
inline constexpr int kSymbolLibrary = 11870;
inline constexpr int kDrawingForms = 11871;
inline constexpr int kHatchTypes = 11872;
inline constexpr int kStandardIgeDescriptions = 11873;
} // namespace cmd

// One entry of the main menu "MAIN_MENU": a popup title (starting a new popup), a submenu
// title inside the current popup, a command, or a separator.
struct MenuEntry {
    enum class Kind { Popup, Submenu, EndSubmenu, Command, Separator } kind;
    int id = 0;
    std::string_view text;
};

std::span<const MenuEntry> mainMenu();

// Toolbar entries left to right; id 0 is a separator. `image` indexes the 13-image strip.
struct ToolbarEntry {
    int id;
    int image;
};
std::span<const ToolbarEntry> toolbar();

// The 13 commands whose state follows the selected node, in the order of the enabling table.
std::span<const int> selectionCommands();
// Whether the command is enabled for a node kind; commands outside the table are always on.
bool commandEnabled(NodeKind kind, int id);

// Caption "Information" text for commands whose dialogs are not in this build yet.
inline constexpr std::string_view kNotAvailableCaption = "Information";
inline constexpr std::string_view kNotAvailableText = "Эта функция пока недоступна.";

} // namespace orvo::shell
