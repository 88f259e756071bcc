// The QPainter canvas on an image: lines, fills, clipping and text land where they should.
#include "platform/ui/qpainter_canvas.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace orvo::platform;

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
