// The symbol library dialog "Библиотека значков" (managing and picking), the symbol editor
// "Редактирование значка" and its help pages.
#pragma once
#include "platform/message_sink.h"
#include "platform/work_folder.h"

#include <QDialog>

namespace orvo::dict::ui {

// The library in picking mode, opened on `current`: the chosen symbol index, or -1 when
// cancelled.
int PickSymbol(const platform::WorkFolder& folder, platform::MessageSink& sink, int current,
               QWidget* parent = nullptr);

// The library in managing mode, as the main menu opens it.
void ManageSymbols(const platform::WorkFolder& folder, platform::MessageSink& sink,
                   QWidget* parent = nullptr);

} // namespace orvo::dict::ui
