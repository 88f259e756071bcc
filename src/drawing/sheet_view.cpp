// Viewer and sheet editor view state.
#include "drawing/sheet_view.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

namespace orvo::drawing {

void SheetView::setSheet(double widthPx, double heightPx) {
    m_width = std::max(widthPx, 1.0);
    m_height = std::max(heightPx, 1.0);
    m_fit = std::min(m_viewW / m_width, m_viewH / m_height);
    wholeSheet();
}

void SheetView::setViewSize(double width, double height) {
    const bool fitted = m_zoom == m_fit;
    m_viewW = std::max(width, 1.0);
    m_viewH = std::max(height, 1.0);
    m_fit = std::min(m_viewW / m_width, m_viewH / m_height);
    if (fitted || m_zoom < m_fit)
        wholeSheet();
}

void SheetView::setOffsets(double x, double y) {
    m_offsetX = std::max(0.0, x);
    m_offsetY = std::max(0.0, y);
}

// The sheet point at the view's origin stays there.
void SheetView::setZoom(double zoom) {
    const double k = zoom / m_zoom;
    m_offsetX *= k;
    m_offsetY *= k;
    m_zoom = zoom;
}

void SheetView::zoomIn() {
    setZoom(std::min(m_zoom * 2, kMaxZoom));
}

void SheetView::zoomOut() {
    if (m_zoom * 0.5 <= m_fit)
        wholeSheet();
    else
        setZoom(m_zoom * 0.5);
}

void SheetView::wholeSheet() {
    m_zoom = m_fit;
    m_offsetX = m_offsetY = 0;
}

bool SheetView::zoomToRect(double x1, double y1, double x2, double y2) {
    const double w = std::abs(x2 - x1) / m_zoom;
    const double h = std::abs(y2 - y1) / m_zoom;
    if (w <= 0 || h <= 0)
        return false;
    const double sheetX = (std::min(x1, x2) + m_offsetX) / m_zoom;
    const double sheetY = (std::min(y1, y2) + m_offsetY) / m_zoom;
    m_zoom = std::min({m_viewW / w, m_viewH / h, kMaxZoom});
    setOffsets(sheetX * m_zoom, sheetY * m_zoom);
    return true;
}

ScrollRange SheetView::horizontal() const {
    const double scaled = m_width * m_zoom;
    return {scaled > m_viewW, std::max(m_offsetX, scaled - m_viewW), 10, m_viewW / 2};
}

ScrollRange SheetView::vertical() const {
    const double scaled = m_height * m_zoom;
    return {scaled > m_viewH, std::max(m_offsetY, scaled - m_viewH), 10, m_viewH / 2};
}

std::string SheetView::readout(double x, double y, double dpiX) const {
    const double perMm = m_zoom * dpiX / 254;
    const double mmX = (x + m_offsetX) / perMm * 0.1;
    const double mmY = (m_height * m_zoom - y - m_offsetY) / perMm * 0.1;
    return "X=" + platform::formatFixed(mmX, 2) + " Y=" + platform::formatFixed(mmY, 2);
}

} // namespace orvo::drawing
