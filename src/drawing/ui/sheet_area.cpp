// The shared sheet view widget.
#include "drawing/ui/sheet_area.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace orvo::drawing {

SheetArea::SheetArea(SheetView& view, double dpiX, QWidget* parent)
    : QAbstractScrollArea(parent), m_view(view), m_dpiX(dpiX) {
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::CrossCursor);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void SheetArea::refresh() {
    m_syncing = true;
    const auto setBar = [](QScrollBar* bar, const ScrollRange& r, double value) {
        bar->setRange(0, r.shown ? static_cast<int>(std::ceil(r.maximum)) : 0);
        bar->setSingleStep(static_cast<int>(r.line));
        bar->setPageStep(std::max(1, static_cast<int>(r.page)));
        bar->setValue(static_cast<int>(value));
    };
    setBar(horizontalScrollBar(), m_view.horizontal(), m_view.offsetX());
    setBar(verticalScrollBar(), m_view.vertical(), m_view.offsetY());
    setHorizontalScrollBarPolicy(m_view.horizontal().shown ? Qt::ScrollBarAlwaysOn
                                                           : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(m_view.vertical().shown ? Qt::ScrollBarAlwaysOn
                                                       : Qt::ScrollBarAlwaysOff);
    m_syncing = false;
    viewport()->update();
}

QPointF SheetArea::sheetPoint(QPoint p) const {
    return {(p.x() - m_view.sheetLeft()) / m_view.zoom(),
            (p.y() - m_view.sheetTop()) / m_view.zoom()};
}

void SheetArea::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Dark));
    const QRectF sheet(QPointF(m_view.sheetLeft(), m_view.sheetTop()),
                       QPointF(m_view.sheetRight(), m_view.sheetBottom()));
    p.fillRect(sheet, Qt::white);
    if (paintSheet) {
        p.save();
        p.translate(m_view.sheetLeft(), m_view.sheetTop());
        p.scale(m_view.zoom(), m_view.zoom());
        paintSheet(p);
        p.restore();
    }
    if (m_banding) {
        p.setPen(QPen(Qt::red, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(m_from, m_to).normalized());
    }
    if (m_dragging && pickedRect) {
        const QRectF r = pickedRect();
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(m_view.sheetLeft() + r.x() * m_view.zoom() + (m_to - m_from).x(),
                          m_view.sheetTop() + r.y() * m_view.zoom() + (m_to - m_from).y(),
                          r.width() * m_view.zoom(), r.height() * m_view.zoom()));
    }
}

void SheetArea::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    m_view.setViewSize(viewport()->width(), viewport()->height());
    refresh();
    emit viewChanged();
}

void SheetArea::scrollContentsBy(int, int) {
    if (m_syncing)
        return;
    m_view.setOffsets(horizontalScrollBar()->value(), verticalScrollBar()->value());
    viewport()->update();
}

QPoint SheetArea::clamped(QPoint p) const {
    return {std::clamp(p.x(), 0, viewport()->width() - 1),
            std::clamp(p.y(), 0, viewport()->height() - 1)};
}

void SheetArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_from = m_to = clamped(event->position().toPoint());
    if (zoomTool) {
        m_banding = true;
    } else if (pressText) {
        m_dragging = pressText(sheetPoint(m_from));
        emit viewChanged();
    }
    viewport()->update();
}

void SheetArea::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit readoutChanged(QString::fromStdString(m_view.readout(at.x(), at.y(), m_dpiX)));
    if (m_banding || m_dragging) {
        m_to = clamped(at);
        viewport()->update();
    }
}

void SheetArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_to = clamped(event->position().toPoint());
    if (m_banding) {
        m_banding = false;
        if (m_view.zoomToRect(m_from.x(), m_from.y(), m_to.x(), m_to.y())) {
            refresh();
            emit viewChanged();
        }
        viewport()->update();
    } else if (m_dragging) {
        m_dragging = false;
        const QPoint move = m_to - m_from;
        if (!move.isNull() && textMoved)
            textMoved(move.x(), move.y());
        emit viewChanged();
        viewport()->update();
    }
}

void SheetArea::leaveEvent(QEvent*) {
    emit readoutChanged(QString());
}

} // namespace orvo::drawing
