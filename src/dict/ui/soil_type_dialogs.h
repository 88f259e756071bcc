// Dialogs of the soil-element dictionaries: "Показатель текучести, влажность" (consistency
// types) and the shared dialog of groundwater horizon types ("Подземные воды") and sample
// types ("Отборы проб").
#pragma once
#include "platform/message_sink.h"
#include "platform/work_folder.h"

#include <QDialog>

#include <functional>

namespace orvo::dict::ui {

// Picks a symbol for a mark type: the chosen index or -1. Defaults to PickSymbol.
using SymbolPicker = std::function<int(int current)>;

void EditConsistencyTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                          QWidget* parent = nullptr);
void EditGroundwaterTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                          QWidget* parent = nullptr);
void EditSampleTypes(const platform::WorkFolder& folder, platform::MessageSink& sink,
                     QWidget* parent = nullptr);

} // namespace orvo::dict::ui
