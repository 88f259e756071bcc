// Loading Qt's Russian catalogue from the system's translations folder.
#include "platform/ui/qt_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace orvo::platform::ui {

bool loadRussianCatalogue(QCoreApplication& app) {
    auto* catalogue = new QTranslator(&app);
    if (!catalogue->load(QStringLiteral("qtbase_ru"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete catalogue;
        return false;
    }
    return QCoreApplication::installTranslator(catalogue);
}

} // namespace orvo::platform::ui
