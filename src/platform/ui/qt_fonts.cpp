// Font lookup through the Qt font database.
#include "platform/ui/qt_fonts.h"

#include "platform/font_faces.h"

#include <QFontDatabase>
#include <QStringList>

namespace orvo::platform {

std::vector<std::string> installedFamilies() {
    std::vector<std::string> out;
    for (const QString& f : QFontDatabase::families())
        out.push_back(f.toStdString());
    return out;
}

std::optional<std::string> installedFace(std::string_view face) {
    return substituteFace(face, installedFamilies());
}

QFont fontForFace(std::string_view face, int pointSize, int weight) {
    QFont font;
    if (auto family = installedFace(face))
        font.setFamily(QString::fromStdString(*family));
    font.setPointSize(pointSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

} // namespace orvo::platform
