// Screen text metrics and the desktop's file opener.
#include "platform/ui/qt_text_metrics.h"

#include "platform/ui/qt_fonts.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QString>
#include <QUrl>

#include <algorithm>

namespace orvo::platform {

namespace {

// The face at an em height of points × dpi / 72 whole pixels, weight 400.
QFont screenFont(std::string_view face, int points, double dpi) {
    QFont f = fontForFace(face, 10);
    f.setPixelSize(std::max(1, static_cast<int>(points * dpi / 72)));
    f.setWeight(QFont::Normal);
    f.setItalic(false);
    return f;
}

} // namespace

QtTextMetrics::QtTextMetrics() {
    if (qGuiApp)
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            m_dpi = screen->logicalDotsPerInchY();
            m_dpiX = screen->logicalDotsPerInchX();
        }
    if (!(m_dpi > 0))
        m_dpi = 96;
    if (!(m_dpiX > 0))
        m_dpiX = 96;
}

double QtTextMetrics::capRatio(std::string_view faceUtf8, int points) const {
    const QFont f = screenFont(faceUtf8, points, m_dpi);
    const QFontMetrics fm(f);
    const int height = fm.ascent() + fm.descent();
    if (height <= 0)
        return 1;
    // The internal leading is what the cell has beyond the em height.
    const int leading = std::max(0, height - f.pixelSize());
    return static_cast<double>(height - leading) / height;
}

double QtTextMetrics::textWidthMm(std::string_view faceUtf8, int points,
                                  std::string_view textUtf8) const {
    const QFontMetrics fm(screenFont(faceUtf8, points, m_dpi));
    const int px = fm.horizontalAdvance(
        QString::fromUtf8(textUtf8.data(), static_cast<qsizetype>(textUtf8.size())));
    // Widths are measured across: the horizontal resolution turns them into millimetres.
    return px * 25.4 / m_dpiX;
}

bool DesktopFileOpener::open(const std::filesystem::path& file) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
}

} // namespace orvo::platform
