// What the section viewer and the sheet editor show of a sheet: zoom, the fit zoom, scroll
// offsets and ranges, the zoom rectangle and the coordinate readout, without any window.
#pragma once
#include <string>

namespace orvo::drawing {

inline constexpr double kMaxZoom = 10;

struct ScrollRange {
    bool shown = false;
    double maximum = 0;
    double line = 10;
    double page = 0;
};

class SheetView {
public:
    // A new sheet: fitted, offsets 0.
    void setSheet(double widthPx, double heightPx);
    // The view's client size; a fitted sheet stays fitted.
    void setViewSize(double width, double height);

    double zoom() const { return m_zoom; }
    double fitZoom() const { return m_fit; }
    double offsetX() const { return m_offsetX; }
    double offsetY() const { return m_offsetY; }
    void setOffsets(double x, double y);

    void zoomIn();  // × 2, at most 10
    void zoomOut(); // × 0.5; below the fit it snaps back to the fit, offsets 0
    void wholeSheet();
    bool canZoomIn() const { return m_zoom < kMaxZoom; }
    bool canZoomOut() const { return m_zoom > m_fit; }
    bool canWholeSheet() const { return m_zoom != m_fit; }

    // The dragged rectangle (view coordinates, any corner order) becomes the view: its zoom is
    // measured in sheet pixels and capped at 10, its top-left corner goes to the view's origin.
    // A rectangle without width or height changes nothing and returns false.
    bool zoomToRect(double x1, double y1, double x2, double y2);

    // Where the sheet lies in the view: (2 - offsetX, 2 - offsetY) to the scaled far corner.
    double sheetLeft() const { return 2 - m_offsetX; }
    double sheetTop() const { return 2 - m_offsetY; }
    double sheetRight() const { return m_width * m_zoom - m_offsetX; }
    double sheetBottom() const { return m_height * m_zoom - m_offsetY; }

    ScrollRange horizontal() const;
    ScrollRange vertical() const;

    // "X=%.2f Y=%.2f": millimetres from the sheet's bottom-left corner under a view point, the
    // screen's horizontal resolution used for both axes as the stored drawings were.
    std::string readout(double x, double y, double dpiX) const;

private:
    void setZoom(double zoom);
    double m_width = 1;
    double m_height = 1;
    double m_viewW = 1;
    double m_viewH = 1;
    double m_zoom = 1;
    double m_fit = 1;
    double m_offsetX = 0;
    double m_offsetY = 0;
};

} // namespace orvo::drawing
