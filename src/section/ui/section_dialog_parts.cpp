// Controls and lookups shared by the section dialog and "Параметры разрезов".
#include "section/ui/section_dialog_parts.h"
#include "section/section_rules.h"

#include "dict/drawing_form.h"
#include "dict/title_block.h"
#include "dict/ui/drawing_form_dialogs.h"
#include "platform/codepage.h"
#include "platform/collate.h"
#include "platform/numbers.h"
#include "platform/ui/widgets.h"
#include "section/ui/settings_list_dialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <utility>

namespace orvo::section::ui::detail {

using platform::ui::makeButton;
using platform::ui::qs;

std::string text(const QComboBox* combo) {
    return combo->currentText().toStdString();
}

QComboBox* makeCombo(const char* name, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

QLineEdit* makeSizeField(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    return e;
}

std::vector<std::int16_t> readScales(const platform::WorkFolder& folder,
                                     platform::MessageSink& sink) {
    auto scales = ReadScales(folder);
    if (!scales) {
        sink.report(scales.error());
        return {};
    }
    return *scales;
}

// Fills a scale combo and shows `value`, the first entry when the list lacks it.
void fillScaleCombo(QComboBox* combo, const std::vector<std::int16_t>& scales, bool withAuto,
                    int value) {
    const QSignalBlocker block(combo);
    combo->clear();
    std::vector<int> values;
    if (withAuto) {
        combo->addItem(qs(kAutoScale), 0);
        values.push_back(0);
    }
    for (const auto s : scales) {
        combo->addItem(qs(scaleText(s)), static_cast<int>(s));
        values.push_back(s);
    }
    combo->setCurrentIndex(combo->count() > 0 ? rowOrFirst(values, value) : -1);
}

void fillFormatCombo(QComboBox* combo, const std::vector<SheetFormat>& formats, int row) {
    const QSignalBlocker block(combo);
    combo->clear();
    for (std::size_t i = 0; i < formats.size(); ++i)
        combo->addItem(qs(formats[i].description.utf8Trimmed()), static_cast<int>(i));
    combo->setCurrentIndex(formats.empty() ? -1 : row);
}

// Lists the title blocks in use; false when `stored` is not among them (the first is shown).
bool fillStampCombo(QComboBox* combo, const dict::TitleBlockList& list, int stored) {
    const QSignalBlocker block(combo);
    combo->clear();
    for (std::size_t i = 0; i < list.entries.size(); ++i)
        if (list.entries[i].used != 0)
            combo->addItem(qs(list.entries[i].name.utf8()), static_cast<int>(i));
    const int row = combo->findData(stored);
    combo->setCurrentIndex(row >= 0 ? row : (combo->count() > 0 ? 0 : -1));
    return row >= 0;
}

dict::TitleBlockList readTitleBlocks(const platform::WorkFolder& folder,
                                     platform::MessageSink& sink) {
    auto list = dict::ReadTitleBlockList(folder);
    if (!list) {
        sink.report(list.error());
        return {};
    }
    return *list;
}

void openTitleBlocks(const platform::WorkFolder& folder, platform::MessageSink& sink,
                     dict::ui::TitleBlockPrintMargins& margins, QWidget* parent) {
    dict::ui::TitleBlocksDialog dialog(folder, sink, margins, {}, parent);
    dialog.exec();
}

// False when the editor could not start (its error has been shown).
bool openSheetFormats(const platform::WorkFolder& folder, platform::MessageSink& sink,
                      QWidget* parent) {
    Error error;
    auto dialog = SheetFormatDialog::create(folder, sink, error, parent);
    if (!dialog) {
        sink.report(error);
        return false;
    }
    dialog->exec();
    return true;
}

// Labelled rows from `row` on: the label in column 0, the control (if any) in column 1.
void addRows(QGridLayout* grid, int row,
             std::initializer_list<std::pair<const char*, QWidget*>> rows) {
    for (const auto& [label, widget] : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(label)), row, 0);
        if (widget)
            grid->addWidget(widget, row, 1);
        ++row;
    }
}

QPushButton* moreButton(const char* name, QWidget* parent) {
    auto* b = makeButton("...", name, parent);
    b->setMaximumWidth(32);
    return b;
}

} // namespace orvo::section::ui::detail
