// A picture is replayed onto a private paint device whose engine sees every primitive with the
// painter state in force; each primitive goes, with that state, to every target painter whose
// visible area its device box reaches, and is dropped for the others.
#include "platform/ui/picture_play.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextItem>

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <optional>

namespace orvo::platform::ui {

namespace {

struct Target {
    QPainter* painter = nullptr;
    QTransform base;      // picture coordinates to the target's device, before the state's own
    QRectF visible;       // device coordinates; empty: everything
    bool clipped = false; // the target's own clip, kept under the picture's
    QPainterPath clip;
    bool stateDirty = true;
    long long forwarded = 0;
};

class ForwardingEngine : public QPaintEngine {
public:
    explicit ForwardingEngine(std::vector<Target>& targets)
        : QPaintEngine(QPaintEngine::AllFeatures), m_targets(targets) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& s) override {
        const auto flags = s.state();
        if (flags & (DirtyClipPath | DirtyClipRegion | DirtyClipEnabled | DirtyTransform))
            for (auto& t : m_targets)
                t.stateDirty = true;
        if (flags & DirtyTransform)
            m_transform = s.transform();
        if (flags & DirtyPen)
            m_penWidth = std::max(1.0, s.pen().widthF());
        for (auto& t : m_targets) {
            QPainter& p = *t.painter;
            if (flags & DirtyPen)
                p.setPen(s.pen());
            if (flags & DirtyBrush)
                p.setBrush(s.brush());
            if (flags & DirtyFont)
                p.setFont(s.font());
            if (flags & DirtyBackground)
                p.setBackground(s.backgroundBrush());
            if (flags & DirtyBackgroundMode)
                p.setBackgroundMode(s.backgroundMode());
            if (flags & DirtyHints)
                p.setRenderHints(s.renderHints());
            if (flags & DirtyCompositionMode)
                p.setCompositionMode(s.compositionMode());
            if (flags & DirtyOpacity)
                p.setOpacity(s.opacity());
        }
    }

    void drawLines(const QLineF* lines, int count) override {
        for (int i = 0; i < count; ++i) {
            const QLineF& l = lines[i];
            forward(QRectF(l.p1(), l.p2()).normalized(), [&](QPainter& p) { p.drawLine(l); });
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
            forward(rects[i], [&](QPainter& p) { p.drawRect(rects[i]); });
    }
    void drawRects(const QRect* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            const QRectF rect(rects[i]);
            drawRects(&rect, 1);
        }
    }
    void drawEllipse(const QRectF& r) override {
        forward(r, [&](QPainter& p) { p.drawEllipse(r); });
    }
    void drawPath(const QPainterPath& path) override {
        forward(path.controlPointRect(), [&](QPainter& p) { p.drawPath(path); });
    }
    void drawPoints(const QPointF* points, int count) override {
        forward(std::nullopt, [&](QPainter& p) { p.drawPoints(points, count); });
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (count <= 0)
            return;
        // By coordinates: QRectF::united ignores rectangles of no size.
        double left = points[0].x();
        double right = left;
        double top = points[0].y();
        double bottom = top;
        for (int i = 1; i < count; ++i) {
            left = std::min(left, points[i].x());
            right = std::max(right, points[i].x());
            top = std::min(top, points[i].y());
            bottom = std::max(bottom, points[i].y());
        }
        forward(QRectF(left, top, right - left, bottom - top), [&](QPainter& p) {
            if (mode == PolylineMode)
                p.drawPolyline(points, count);
            else
                p.drawPolygon(points, count,
                              mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        });
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override {
        QList<QPointF> f;
        f.reserve(count);
        for (int i = 0; i < count; ++i)
            f.append(points[i]);
        drawPolygon(f.constData(), count, mode);
    }
    void drawTextItem(const QPointF& at, const QTextItem& item) override {
        const QFontMetricsF fm(item.font());
        const QRectF box(at.x(), at.y() - fm.ascent(), item.width(), fm.ascent() + item.descent());
        forward(box, [&](QPainter& p) {
            p.setFont(item.font());
            p.drawText(at, item.text());
        });
    }
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override {
        forward(r, [&](QPainter& p) { p.drawPixmap(r, pm, sr); });
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                   Qt::ImageConversionFlags flags) override {
        forward(r, [&](QPainter& p) { p.drawImage(r, image, sr, flags); });
    }
    void drawTiledPixmap(const QRectF& r, const QPixmap& pm, const QPointF& s) override {
        forward(r, [&](QPainter& p) { p.drawTiledPixmap(r, pm, s); });
    }

private:
    // Without a box the primitive is always drawn. A box is widened by the pen, which also
    // gives a horizontal or vertical line some area, so a thick edge is kept.
    void forward(std::optional<QRectF> logical, const std::function<void(QPainter&)>& draw) {
        const QRectF wide =
            logical ? logical->adjusted(-m_penWidth, -m_penWidth, m_penWidth, m_penWidth)
                    : QRectF();
        // Split targets share the picture's own coordinates: their box is mapped once.
        const QRectF own = logical ? m_transform.mapRect(wide) : QRectF();
        for (auto& t : m_targets) {
            if (!t.visible.isEmpty() && logical &&
                !(t.base.isIdentity() ? own : (m_transform * t.base).mapRect(wide))
                     .intersects(t.visible))
                continue;
            sync(t);
            draw(*t.painter);
            ++t.forwarded;
        }
    }
    // The transform and clip of the picture's painter, set on the target before a primitive.
    void sync(Target& t) {
        if (!t.stateDirty)
            return;
        t.stateDirty = false;
        QPainter& p = *t.painter;
        p.setTransform(m_transform * t.base);
        const QPainter* source = painter();
        if (source && source->hasClipping()) {
            p.setClipPath(source->clipPath(), Qt::ReplaceClip);
            if (t.clipped)
                p.setClipPath((m_transform * t.base).inverted().map(t.clip), Qt::IntersectClip);
        } else if (t.clipped) {
            p.setClipPath((m_transform * t.base).inverted().map(t.clip), Qt::ReplaceClip);
        } else {
            p.setClipping(false);
        }
    }

    std::vector<Target>& m_targets;
    QTransform m_transform;
    double m_penWidth = 1;
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

void replay(const QPicture& picture, std::vector<Target>& targets) {
    ForwardingEngine engine(targets);
    ForwardingDevice proxy(engine, picture);
    QPainter painter(&proxy);
    const_cast<QPicture&>(picture).play(&painter);
}

} // namespace

long long PlayPicture(QPainter& painter, const QPicture& picture, double scale,
                      const QRectF& visible) {
    painter.save();
    // A picture played straight onto a painter is rescaled by the target's resolution over the
    // recording one; played through the forwarding device it is not, so only `scale` applies.
    std::vector<Target> targets(1);
    auto& t = targets[0];
    t.painter = &painter;
    t.base = QTransform::fromScale(scale, scale) * painter.worldTransform();
    t.visible = visible.isEmpty() ? QRectF() : painter.worldTransform().mapRect(visible);
    t.clipped = painter.hasClipping();
    if (t.clipped)
        t.clip = painter.worldTransform().map(painter.clipPath());
    replay(picture, targets);
    painter.restore();
    return t.forwarded;
}

std::vector<QPicture> SplitPicture(const QPicture& picture, const std::vector<QRectF>& parts) {
    std::vector<QPicture> out(parts.size());
    std::vector<std::unique_ptr<QPainter>> painters;
    std::vector<Target> targets(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        painters.push_back(std::make_unique<QPainter>(&out[i]));
        targets[i].painter = painters.back().get();
        targets[i].visible = parts[i];
    }
    replay(picture, targets);
    for (auto& p : painters)
        p->end();
    return out;
}

} // namespace orvo::platform::ui
