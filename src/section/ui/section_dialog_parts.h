// Controls and lookups shared by the section dialog and "Параметры разрезов".
#pragma once
#include "dict/title_block.h"
#include "dict/ui/title_block_dialogs.h"
#include "platform/message_sink.h"
#include "platform/work_folder.h"
#include "section/settings_lists.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace orvo::section::ui::detail {

std::string text(const QComboBox* combo);

QComboBox* makeCombo(const char* name, QWidget* parent);

QLineEdit* makeSizeField(const char* name, QWidget* parent);

std::vector<std::int16_t> readScales(const platform::WorkFolder& folder,
                                     platform::MessageSink& sink);

// Fills a scale combo and shows `value`, the first entry when the list lacks it.
void fillScaleCombo(QComboBox* combo, const std::vector<std::int16_t>& scales, bool withAuto,
                    int value);

void fillFormatCombo(QComboBox* combo, const std::vector<SheetFormat>& formats, int row);

// Lists the title blocks in use; false when `stored` is not among them (the first is shown).
bool fillStampCombo(QComboBox* combo, const dict::TitleBlockList& list, int stored);

dict::TitleBlockList readTitleBlocks(const platform::WorkFolder& folder,
                                     platform::MessageSink& sink);

void openTitleBlocks(const platform::WorkFolder& folder, platform::MessageSink& sink,
                     dict::ui::TitleBlockPrintMargins& margins, QWidget* parent);

// False when the editor could not start (its error has been shown).
bool openSheetFormats(const platform::WorkFolder& folder, platform::MessageSink& sink,
                      QWidget* parent);

// Labelled rows from `row` on: the label in column 0, the control (if any) in column 1.
void addRows(QGridLayout* grid, int row,
             std::initializer_list<std::pair<const char*, QWidget*>> rows);

QPushButton* moreButton(const char* name, QWidget* parent);

} // namespace orvo::section::ui::detail
