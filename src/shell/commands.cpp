// The menu, toolbar and enabling tables of the main window.
#include "shell/commands.h"

#include <algorithm>

namespace orvo::shell {

namespace {

using K = MenuEntry::Kind;

constexpr std::array<MenuEntry, 45> kMenu{{
    {K::Popup, 0, "&Файл"},
    {K::Command, cmd::kPrint, "&Печать..."},
    {K::Command, cmd::kView, "Про&смотр..."},
    {K::Separator, 0, ""},
    {K::Command, cmd::kToArchive, "&В архив..."},
    {K::Command, cmd::kFromArchive, "Из &архива..."},
    {K::Separator, 0, ""},
    {K::Command, cmd::kImport, "&Импорт..."},
    {K::Command, cmd::kExport, "&Экспорт..."},
    {K::Separator, 0, ""},
    {K::Command, cmd::kExit, "E&xit"},
    {K::Popup, 0, "&Редактирование"},
    {K::Command, cmd::kData, "&Данные..."},
    {K::Separator, 0, ""},
    {K::Command, cmd::kNewObject, "Новый &Объект..."},
    {K::Command, cmd::kNewSection, "Новый &Разрез..."},
    {K::Command, cmd::kNewBorehole, "Новую &Выработку..."},
    {K::Separator, 0, ""},
    {K::Submenu, 0, "&Удалить"},
    {K::Command, cmd::kDeleteObject, "&Объект..."},
    {K::Command, cmd::kDeleteSection, "&Разрез..."},
    {K::Command, cmd::kDeleteBorehole, "&Выработку..."},
    {K::EndSubmenu, 0, ""},
    {K::Popup, 0, "&Настройки"},
    {K::Command, cmd::kSectionDefaults, "Параметров &Разреза..."},
    {K::Command, cmd::kSheetParameters, "Параметров &Планшета..."},
    {K::Separator, 0, ""},
    {K::Command, cmd::kScales, "Список &Масштабов..."},
    {K::Command, cmd::kSheetFormats, "Список &Логических листов..."},
    {K::Command, cmd::kSurnames, "Список &Фамилий..."},
    {K::Command, cmd::kTitleBlocks, "Список &Штампов..."},
    {K::Command, cmd::kHatchTypes, "Список &Типов штриховки..."},
    {K::Command, cmd::kStandardIgeDescriptions, "Список &стандартных описаний ИГЭ..."},
    {K::Command, cmd::kBoreholeTypes, "Список &Типов выработок..."},
    {K::Separator, 0, ""},
    {K::Command, cmd::kSymbolLibrary, "&Библиотека значков"},
    {K::Popup, 0, "&Элементы выработки"},
    {K::Command, cmd::kConsistencyTypes, "&Показатель текучести, влажность..."},
    {K::Command, cmd::kWaterTypes, "&Типы горизонтов подземных вод..."},
    {K::Command, cmd::kSampleTypes, "&Отборы проб..."},
    {K::Popup, 0, "&Оформление документов"},
    {K::Command, cmd::kDataSheetLayout, "&Данные по выработке..."},
    {K::Command, cmd::kDrawingForms, "&Чертеж разреза..."},
    {K::Popup, 0, "&?"},
    {K::Command, cmd::kAbout, "&О программе..."},
}};

constexpr std::array<ToolbarEntry, 18> kToolbar{{
    {cmd::kData, 0},
    {0, -1},
    {cmd::kNewObject, 1},
    {cmd::kNewSection, 2},
    {cmd::kNewBorehole, 3},
    {0, -1},
    {cmd::kDeleteObject, 4},
    {cmd::kDeleteSection, 5},
    {cmd::kDeleteBorehole, 6},
    {0, -1},
    {cmd::kPrint, 7},
    {cmd::kView, 8},
    {0, -1},
    {cmd::kToArchive, 9},
    {cmd::kFromArchive, 10},
    {0, -1},
    {cmd::kImport, 11},
    {cmd::kExport, 12},
}};

constexpr std::array<int, 13> kSelectionCommands{
    cmd::kData,         cmd::kNewObject,     cmd::kNewSection,     cmd::kNewBorehole,
    cmd::kDeleteObject, cmd::kDeleteSection, cmd::kDeleteBorehole, cmd::kPrint,
    cmd::kView,         cmd::kToArchive,     cmd::kFromArchive,    cmd::kExport,
    cmd::kImport};

// Rows by node kind, columns in the order of kSelectionCommands.
constexpr std::array<std::array<bool, 13>, 8> kEnabling{{
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // root
    {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, // working objects folder
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // archive folder
    {1, 1, 1, 0, 1, 0, 0, 1, 1, 1, 0, 1, 1}, // working object
    {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0}, // archived object
    {1, 1, 1, 0, 0, 1, 0, 1, 1, 0, 0, 1, 1}, // section
    {1, 1, 1, 1, 0, 0, 1, 1, 1, 0, 0, 1, 1}, // borehole
    {0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}, // borehole list
}};

} // namespace

std::span<const MenuEntry> mainMenu() {
    return kMenu;
}
std::span<const ToolbarEntry> toolbar() {
    return kToolbar;
}
std::span<const int> selectionCommands() {
    return kSelectionCommands;
}

bool commandEnabled(NodeKind kind, int id) {
    const auto col = std::find(kSelectionCommands.begin(), kSelectionCommands.end(), id);
    if (col == kSelectionCommands.end())
        return true;
    const auto row = static_cast<std::size_t>(kind);
    if (row >= kEnabling.size())
        return false;
    return kEnabling[row][static_cast<std::size_t>(col - kSelectionCommands.begin())];
}

} // namespace orvo::shell
