// The borehole editor "Выработка: " with its header fields, the three tables in one grid, the
// row buttons, the clipboard and the validation report.
#pragma once
#include "borehole/borehole_tables.h"
#include "platform/message_sink.h"
#include "platform/work_folder.h"
#include "store/project_store.h"

#include <QDialog>

#include <functional>

namespace orvo::borehole::ui {

// What the editor opens beyond itself; tests replace these.
struct BoreholeEditorHooks {
    // The dictionary dialogs behind the "..." button and the row buttons.
    std::function<void()> editBoreholeTypes;
    std::function<void()> editConsistencyTypes;
    std::function<void()> editWaterTypes;
    std::function<void()> editSampleTypes;
    // "Просмотр и печать" after a successful check (the data sheet, when it exists).
    std::function<void(const BoreholeEditData&)> viewDataSheet;
};

class BoreholeEditor : public QDialog {
    Q_OBJECT
public:
    // Edits `data` of borehole `number` in `object`. exec() returns Accepted after "Сохранить"
    // passed the name check and the validation; the caller then writes the file.
    BoreholeEditor(const store::ProjectStore& store, std::int32_t object, std::int32_t number,
                   BoreholeEditData& data, BoreholeClipboard& clipboard,
                   platform::MessageSink& sink, BoreholeEditorHooks hooks = {},
                   QWidget* parent = nullptr);
};

// The report dialog "Анализ ошибок в данных" for the lines of Data.err.
void ShowValidationReport(const store::FixedText<10>& name, const std::vector<std::string>& lines,
                          QWidget* parent);

} // namespace orvo::borehole::ui
