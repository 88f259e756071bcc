// The scrolling view of one sheet that the section viewer and the sheet editor share: paints
// the sheet at the view's zoom and offsets, scroll bars, the dotted red zoom rectangle, the
// coordinate readout, and (for the editor) pressing and dragging a picked text.
#pragma once
#include "drawing/sheet_view.h"

#include <QAbstractScrollArea>

#include <functional>

namespace orvo::drawing {

class SheetArea : public QAbstractScrollArea {
    Q_OBJECT
public:
    SheetArea(SheetView& view, double dpiX, QWidget* parent = nullptr);

    // Paints the sheet with the painter already scaled to the zoom (sheet pixels).
    std::function<void(QPainter&)> paintSheet;
    // The editor's select tool: a press at a sheet point; true when a text was picked and
    // follows the pointer until release.
    std::function<bool(QPointF sheetPoint)> pressText;
    // The picked text's rectangle (sheet pixels), outlined while it is dragged.
    std::function<QRectF()> pickedRect;
    // The release of a dragged text, moved by (mx, my) screen pixels.
    std::function<void(double mx, double my)> textMoved;
    bool zoomTool = true;

    // After the view changed elsewhere: scroll bars and picture.
    void refresh();
    QPointF sheetPoint(QPoint viewPoint) const;

signals:
    void viewChanged();
    void readoutChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPoint clamped(QPoint p) const;
    SheetView& m_view;
    double m_dpiX;
    bool m_banding = false;
    bool m_dragging = false;
    QPoint m_from;
    QPoint m_to;
    bool m_syncing = false;
};

} // namespace orvo::drawing
