// The fixed text metrics of tests.
#include "platform/text_metrics.h"

#include "platform/codepage.h"

namespace orvo::platform {

double FixedTextMetrics::textWidthMm(std::string_view, int points,
                                     std::string_view textUtf8) const {
    std::size_t chars = 0;
    for (std::size_t pos = 0; pos < textUtf8.size();) {
        (void)decodeUtf8(textUtf8, pos);
        ++chars;
    }
    return static_cast<double>(chars) * m_charWidth * points * 25.4 / 72;
}

} // namespace orvo::platform
