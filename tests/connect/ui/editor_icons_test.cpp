// The connection editor toolbar pictures: drawn at the asked size, all different, blank out of
// range, and the line kinds shown in the colours the editor draws them in.
#include "connect/ui/editor_icons.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QTest>

using orvo::connect::ui::editorIcon;
using orvo::connect::ui::editorIconImage;
using orvo::connect::ui::kEditorIconCount;

class EditorIconsTest : public QObject {
    Q_OBJECT

    static int pixelsWithAlpha(const QImage& img, int lo, int hi) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += qAlpha(img.pixel(x, y)) >= lo && qAlpha(img.pixel(x, y)) <= hi;
        return n;
    }

    static bool hasPixel(const QImage& img, const QColor& colour) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == colour.rgba())
                    return true;
        return false;
    }

private slots:
    void everyPictureIsDrawnAtTheAskedSize() {
        for (int size : {16, 32}) {
            for (int i = 0; i < kEditorIconCount; ++i) {
                const QImage img = editorIconImage(i, size);
                QCOMPARE(img.size(), QSize(size, size));
                // A tenth of the area at least is painted, a line or a mark and not a speck,
                // and as much again is left clear for the toolbar to show through.
                const int area = size * size;
                QVERIFY2(pixelsWithAlpha(img, 129, 255) > area / 10,
                         qPrintable(QString::number(i)));
                QVERIFY2(pixelsWithAlpha(img, 0, 0) > area / 10, qPrintable(QString::number(i)));
            }
        }
    }

    void allPicturesDiffer() {
        for (int size : {16, 32})
            for (int i = 0; i < kEditorIconCount; ++i)
                for (int j = i + 1; j < kEditorIconCount; ++j)
                    QVERIFY2(editorIconImage(i, size) != editorIconImage(j, size),
                             qPrintable(QStringLiteral("%1 and %2 at %3").arg(i).arg(j).arg(size)));
    }

    void outOfRangeIsBlank() {
        for (int i : {-1, kEditorIconCount, 100}) {
            const QImage img = editorIconImage(i, 16);
            QCOMPARE(img.size(), QSize(16, 16));
            QCOMPARE(pixelsWithAlpha(img, 0, 0), 16 * 16);
        }
    }

    void lineKindsUseTheEditorColours() {
        QVERIFY(hasPixel(editorIconImage(15), QColor(0, 0, 128)));   // straight
        QVERIFY(hasPixel(editorIconImage(16), QColor(255, 0, 255))); // wavy
        QVERIFY(hasPixel(editorIconImage(17), QColor(0, 0, 128)));   // visible boundary
        QVERIFY(hasPixel(editorIconImage(18), QColor(128, 128, 255)));
        QVERIFY(!hasPixel(editorIconImage(18), QColor(0, 0, 128)));
        QVERIFY(!hasPixel(editorIconImage(17), QColor(128, 128, 255)));
    }

    void iconCarriesBothSizes() {
        for (int i = 0; i < kEditorIconCount; ++i) {
            const QList<QSize> sizes = editorIcon(i).availableSizes();
            QVERIFY(sizes.contains(QSize(16, 16)));
            QVERIFY(sizes.contains(QSize(32, 32)));
            const QImage big = editorIcon(i).pixmap(QSize(32, 32)).toImage();
            QCOMPARE(big.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                     editorIconImage(i, 32));
        }
    }
};

QTEST_MAIN(EditorIconsTest)
#include "editor_icons_test.moc"
