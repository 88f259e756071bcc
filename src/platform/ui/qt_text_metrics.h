// Text metrics of the screen (96 dots per inch without one), through Qt's integer font metrics.
#pragma once
#include "platform/file_opener.h"
#include "platform/text_metrics.h"

namespace orvo::platform {

class QtTextMetrics : public TextMetrics {
public:
    // The primary screen's logical resolution, or 96.
    QtTextMetrics();
    explicit QtTextMetrics(double dpi) : m_dpi(dpi), m_dpiX(dpi) {}
    double capRatio(std::string_view faceUtf8, int points) const override;
    double textWidthMm(std::string_view faceUtf8, int points,
                       std::string_view textUtf8) const override;

private:
    double m_dpi = 96;
    double m_dpiX = 96;
};

// QDesktopServices::openUrl on the local file.
class DesktopFileOpener : public FileOpener {
public:
    bool open(const std::filesystem::path& file) override;
};

} // namespace orvo::platform
