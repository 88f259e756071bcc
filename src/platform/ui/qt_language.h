// The Russian catalogue of Qt's own texts (standard buttons, file and print dialogs, the edit
// menus of text fields), so nothing the program shows is left in English.
#pragma once

class QCoreApplication;

namespace orvo::platform::ui {

// Installs Qt's Russian catalogue into the application; false when it is not installed, in
// which case the texts the program sets itself are still Russian.
bool loadRussianCatalogue(QCoreApplication& app);

} // namespace orvo::platform::ui
