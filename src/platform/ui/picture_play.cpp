// A picture is replayed onto a private paint device whose engine sees every primitive with the
// painter state in force; primitives whose device box misses the visible area are dropped, the
// others go to the real painter with that state.
#include "platform/ui/picture_play.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>

#include <QFontMetricsF>
#include <QTextItem>

#include <algorithm>
#include <climits>

namespace orvo::platform::ui {

namespace {

class ForwardingEngine : public QPaintEngine {
public:
    ForwardingEngine(QPainter& target, const QTransform& base, const QRectF& deviceVisible)
        : QPaintEngine(QPaintEngine::AllFeatures), m_target(target), m_base(base),
          m_visible(deviceVisible) {}

    long long forwarded = 0;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& s) override {
        const auto flags = s.state();
        if (flags & (DirtyClipPath | DirtyClipRegion | DirtyClipEnabled | DirtyTransform))
            m_clipDirty = true;
        if (flags & DirtyTransform)
            m_transform = s.transform();
        if (flags & DirtyPen)
            m_target.setPen(s.pen());
        if (flags & DirtyBrush)
            m_target.setBrush(s.brush());
        if (flags & DirtyFont)
            m_target.setFont(s.font());
        if (flags & DirtyBackground)
            m_target.setBackground(s.backgroundBrush());
        if (flags & DirtyBackgroundMode)
            m_target.setBackgroundMode(s.backgroundMode());
        if (flags & DirtyHints)
            m_target.setRenderHints(s.renderHints());
        if (flags & DirtyCompositionMode)
            m_target.setCompositionMode(s.compositionMode());
        if (flags & DirtyOpacity)
            m_target.setOpacity(s.opacity());
    }

    void drawLines(const QLineF* lines, int count) override {
        for (int i = 0; i < count; ++i)
            if (shows(QRectF(lines[i].p1(), lines[i].p2()).normalized())) {
                sync();
                m_target.drawLine(lines[i]);
            }
    }
    void drawLines(const QLine* lines, int count) override {
        for (int i = 0; i < count; ++i) {
            const QLineF line(lines[i]);
            drawLines(&line, 1);
        }
    }
    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i)
            if (shows(rects[i])) {
                sync();
                m_target.drawRect(rects[i]);
            }
    }
    void drawRects(const QRect* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            const QRectF rect(rects[i]);
            drawRects(&rect, 1);
        }
    }
    void drawEllipse(const QRectF& r) override {
        if (shows(r)) {
            sync();
            m_target.drawEllipse(r);
        }
    }
    void drawPath(const QPainterPath& path) override {
        if (shows(path.controlPointRect())) {
            sync();
            m_target.drawPath(path);
        }
    }
    void drawPoints(const QPointF* points, int count) override {
        sync();
        m_target.drawPoints(points, count);
        ++forwarded;
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (count <= 0)
            return;
        QRectF box(points[0], points[0]);
        for (int i = 1; i < count; ++i)
            box = box.united(QRectF(points[i], points[i]));
        if (!shows(box.normalized()))
            return;
        sync();
        if (mode == PolylineMode)
            m_target.drawPolyline(points, count);
        else
            m_target.drawPolygon(points, count,
                                 mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override {
        QList<QPointF> f;
        f.reserve(count);
        for (int i = 0; i < count; ++i)
            f.append(points[i]);
        drawPolygon(f.constData(), count, mode);
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        const QFontMetricsF fm(item.font());
        const QRectF box(p.x(), p.y() - fm.ascent(), item.width(), fm.ascent() + item.descent());
        if (shows(box)) {
            sync();
            m_target.setFont(item.font());
            m_target.drawText(p, item.text());
        }
    }
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override {
        if (shows(r)) {
            sync();
            m_target.drawPixmap(r, pm, sr);
        }
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                   Qt::ImageConversionFlags flags) override {
        if (shows(r)) {
            sync();
            m_target.drawImage(r, image, sr, flags);
        }
    }
    void drawTiledPixmap(const QRectF& r, const QPixmap& pm, const QPointF& s) override {
        if (shows(r)) {
            sync();
            m_target.drawTiledPixmap(r, pm, s);
        }
    }

private:
    bool shows(const QRectF& logical) {
        if (m_visible.isEmpty())
            return true;
        // Widened by the pen so a thick line's edge is not lost.
        const double pen = std::max(1.0, m_target.pen().widthF());
        const QRectF device =
            (m_transform * m_base).mapRect(logical.adjusted(-pen, -pen, pen, pen));
        return device.intersects(m_visible);
    }
    // The transform and clip of the picture's painter, set on the target before a primitive.
    void sync() {
        ++forwarded;
        if (!m_clipDirty)
            return;
        m_clipDirty = false;
        m_target.setTransform(m_transform * m_base);
        const QPainter* source = painter();
        if (source && source->hasClipping())
            m_target.setClipPath(source->clipPath(), Qt::ReplaceClip);
        else
            m_target.setClipPath(m_baseClip, m_baseClipped ? Qt::ReplaceClip : Qt::NoClip);
    }

public:
    QPainterPath m_baseClip;
    bool m_baseClipped = false;

private:
    QPainter& m_target;
    QTransform m_base;
    QTransform m_transform;
    QRectF m_visible;
    bool m_clipDirty = true;
};

// The device the picture is replayed on: the picture's own resolution, so nothing rescales.
class ForwardingDevice : public QPaintDevice {
public:
    ForwardingDevice(ForwardingEngine& engine, const QPicture& picture)
        : m_engine(engine), m_picture(picture) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
        case PdmHeight:
            return 1 << 24;
        case PdmWidthMM:
        case PdmHeightMM:
            return (1 << 24) / 4;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        case PdmDpiX:
            return m_picture.logicalDpiX();
        case PdmDpiY:
            return m_picture.logicalDpiY();
        case PdmPhysicalDpiX:
            return m_picture.physicalDpiX();
        case PdmPhysicalDpiY:
            return m_picture.physicalDpiY();
        default:
            return 96;
        }
    }

private:
    ForwardingEngine& m_engine;
    const QPicture& m_picture;
};

} // namespace

long long PlayPicture(QPainter& painter, const QPicture& picture, double scale,
                      const QRectF& visible) {
    const QPaintDevice* device = painter.device();
    (void)device;
    painter.save();
    // A picture played straight onto a painter is rescaled by the target's resolution over the
    // recording one; played through the forwarding device it is not, so only `scale` applies.
    const QTransform base = QTransform::fromScale(scale, scale) * painter.worldTransform();
    const QRectF deviceVisible =
        visible.isEmpty() ? QRectF() : painter.worldTransform().mapRect(visible);
    ForwardingEngine engine(painter, base, deviceVisible);
    engine.m_baseClipped = painter.hasClipping();
    if (engine.m_baseClipped)
        engine.m_baseClip = painter.worldTransform().map(painter.clipPath());
    ForwardingDevice proxy(engine, picture);
    {
        QPainter replay(&proxy);
        const_cast<QPicture&>(picture).play(&replay);
    }
    painter.restore();
    return engine.forwarded;
}

} // namespace orvo::platform::ui
