// The QPainter canvas on an image: lines, fills, clipping and text land where they should.
#include "platform/ui/qpainter_canvas.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <array>
#include <cmath>

using namespace orvo::platform;

namespace {

enum class Shape { Arc, Chord, Pie };

// Dark pixels in each quarter of the image about (cx, cy), counter-clockwise from the upper
// right, as the canvas counts its angles.
std::array<int, 4> darkByQuarter(const QImage& img, int cx, int cy) {
    std::array<int, 4> n{};
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (qGray(img.pixel(x, y)) >= 100)
                continue;
            const bool right = x >= cx;
            const bool above = y < cy;
            n[above ? (right ? 0 : 1) : (right ? 3 : 2)] += 1;
        }
    return n;
}

} // namespace

class QPainterCanvasTest : public QObject {
    Q_OBJECT

    static bool dark(const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 100; }

private slots:
    void shapesAndClip() {
        QImage img(100, 100, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            QPainterCanvas c(p);
            c.setPen({kBlack, 3, Pen::Style::Solid});
            c.drawLine({10, 50}, {90, 50});
            c.setPen({kBlack, 0, Pen::Style::None});
            c.setBrush({Color{0, 0, 255}, Brush::Style::Solid});
            c.save();
            c.clipRect({0, 0, 30, 100});
            c.drawRect({10, 70, 60, 20}); // only x < 30 survives the clip
            c.restore();
            const PointF tri[] = {{60, 5}, {90, 5}, {75, 30}};
            c.drawPolygon(tri);
        }
        QVERIFY(dark(img, 50, 50));
        QVERIFY(!dark(img, 50, 45));
        QCOMPARE(img.pixelColor(20, 80), QColor(0, 0, 255));
        QCOMPARE(img.pixelColor(50, 80), QColor(Qt::white));
        QCOMPARE(img.pixelColor(75, 10), QColor(0, 0, 255));
        QCOMPARE(img.pixelColor(62, 28), QColor(Qt::white));
    }

    void arcAnglesAreRaysFromTheCentre() {
        // A flat ellipse, 200 x 50 around (150, 100); a pie between the rays at 45 and 135
        // degrees (upwards): only points within 45 degrees of the vertical are inside.
        QImage img(300, 200, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            QPainterCanvas c(p);
            c.setPen({kBlack, 0, Pen::Style::None});
            c.setBrush({kBlack, Brush::Style::Solid});
            c.drawPie({50, 75, 200, 50}, 45, 90);
        }
        QVERIFY(dark(img, 150, 80)); // straight up: inside
        // 20 right and 15 up is a ray at 37 degrees: outside, although a stretched-circle
        // reading of the angles would put it at 72 degrees, inside.
        QVERIFY(!dark(img, 170, 85));
        QVERIFY(dark(img, 160, 82)); // 10 right, 18 up: 61 degrees, inside
    }

    void raysOnTheAxes_data() {
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("span");
        const std::pair<Shape, const char*> shapes[] = {
            {Shape::Arc, "arc"}, {Shape::Chord, "chord"}, {Shape::Pie, "pie"}};
        // Every ray on each axis, as start and as end, spans of one to four quarters; the
        // symbols hand over starts from -180 to 180.
        const std::pair<int, int> rays[] = {{0, 90},    {0, 180},   {90, 90},   {90, 270},
                                            {180, 90},  {180, 180}, {270, 90},  {270, 180},
                                            {0, 270},   {180, 270}, {0, 360},   {90, 360},
                                            {-90, 270}, {-90, 90},  {180, 360}, {270, 270}};
        for (const auto& [shape, name] : shapes)
            for (const auto& [start, span] : rays)
                QTest::addRow("%s %d+%d", name, start, span)
                    << static_cast<int>(shape) << start << span;
    }

    void raysOnTheAxes() {
        // A 600 x 300 box whose rays on the axes meet the ellipse at its vertices: each
        // quarter of the image holds all, none or a known part of the shape.
        QFETCH(int, shape);
        QFETCH(int, start);
        QFETCH(int, span);
        constexpr int kCx = 320;
        constexpr int kCy = 170;
        constexpr double kA = 300;
        constexpr double kB = 150;
        QImage img(640, 340, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            QPainterCanvas c(p);
            const RectF box{kCx - kA, kCy - kB, 2 * kA, 2 * kB};
            if (static_cast<Shape>(shape) == Shape::Arc) {
                c.setPen({kBlack, 4, Pen::Style::Solid});
                c.drawArc(box, start, span);
            } else {
                c.setPen({kBlack, 0, Pen::Style::None});
                c.setBrush({kBlack, Brush::Style::Solid});
                if (static_cast<Shape>(shape) == Shape::Chord)
                    c.drawChord(box, start, span);
                else
                    c.drawPie(box, start, span);
            }
        }
        const auto n = darkByQuarter(img, kCx, kCy);
        const int quarters = span / 90;
        const double quarterArea = 3.14159265358979 * kA * kB / 4;
        const double triangle = kA * kB / 2; // centre and two vertices
        for (int q = 0; q < 4; ++q) {
            const bool covered = ((q * 90 - start) % 360 + 360) % 360 < span;
            double expected = 0;
            double tolerance = 0.02 * quarterArea;
            if (static_cast<Shape>(shape) == Shape::Arc) {
                // A quarter of the outline, 4 px wide: about 1450 px; nothing elsewhere.
                expected = covered ? 1450 : 0;
                tolerance = covered ? 300 : 20;
            } else if (static_cast<Shape>(shape) == Shape::Pie || quarters != 1) {
                expected = covered ? quarterArea : 0;
            } else {
                expected = covered ? quarterArea - triangle : 0;
            }
            // A chord over three quarters cuts the triangle off the fourth.
            if (static_cast<Shape>(shape) == Shape::Chord && quarters == 3 && !covered)
                expected = triangle;
            QVERIFY2(std::abs(n[static_cast<std::size_t>(q)] - expected) <= tolerance,
                     qPrintable(QStringLiteral("quarter %1: %2 px, expected %3 (above %4, "
                                               "below %5, left %6, right %7)")
                                    .arg(q + 1)
                                    .arg(n[static_cast<std::size_t>(q)])
                                    .arg(expected)
                                    .arg(n[0] + n[1])
                                    .arg(n[2] + n[3])
                                    .arg(n[1] + n[2])
                                    .arg(n[0] + n[3])));
        }
    }

    void textInABoxAndMeasured() {
        QImage img(200, 60, QImage::Format_RGB32);
        img.fill(Qt::white);
        SizeF size;
        {
            QPainter p(&img);
            QPainterCanvas c(p);
            c.setFont({"Arial Cyr", 14, 700, false, false});
            c.setTextColor(kBlack);
            size = c.measureText("Разрез 1-1");
            c.drawText({60, 0, 140, 60}, kAlignRight | kAlignVCenter, "Разрез 1-1");
        }
        QVERIFY(size.width > 40 && size.width < 140);
        QVERIFY(size.height >= 14);
        // Right-aligned in a box wider than the text: the ink ends at the box's right edge.
        int minX = img.width();
        int maxX = -1;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (dark(img, x, y)) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                }
        QVERIFY2(maxX >= 192, qPrintable(QString::number(maxX)));
        QVERIFY2(minX > 60 + 5, qPrintable(QString::number(minX)));
    }
};

QTEST_MAIN(QPainterCanvasTest)
#include "qpainter_canvas_test.moc"
