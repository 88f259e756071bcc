// The sheet metafiles: what is played back from the saved P and H pictures matches what was
// drawn, at any device resolution; and the progress panel's rows.
#include "drawing/drawing_fixture.h"
#include "drawing/recording_sheet_sink.h"
#include "drawing/ui/render_progress_panel.h"
#include "drawing/ui/sheet_pictures.h"
#include "platform/ui/picture_play.h"
#include "platform/ui/qpainter_canvas.h"
#include "support/gui.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QTest>

#include <memory>

using namespace orvo;

namespace {

constexpr double kDpi = 100;

QImage blank(int w, int h, double dpi) {
    QImage image(w, h, QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

// Paints every sheet straight into images of the given sizes: the hatching into a white one,
// the drawing into a transparent one laid over it.
class ImageSheetSink : public drawing::SheetSink {
public:
    explicit ImageSheetSink(std::vector<drawing::SheetSize> sizes) : m_sizes(std::move(sizes)) {}
    double dpiX() const override { return kDpi; }
    double dpiY() const override { return kDpi; }
    drawing::SheetCanvases beginSheet(int number) override {
        const auto& size = m_sizes.at(static_cast<std::size_t>(number));
        m_h = blank(static_cast<int>(size.widthPx), static_cast<int>(size.heightPx), kDpi);
        m_p = QImage(m_h.size(), QImage::Format_ARGB32_Premultiplied);
        m_p.fill(Qt::transparent);
        m_hp.begin(&m_h);
        m_pp.begin(&m_p);
        m_hc = std::make_unique<platform::QPainterCanvas>(m_hp);
        m_pc = std::make_unique<platform::QPainterCanvas>(m_pp);
        return {*m_pc, *m_hc};
    }
    void endSheet(int, std::int64_t, std::int64_t) override {
        m_hc.reset();
        m_pc.reset();
        m_pp.end();
        m_hp.drawImage(0, 0, m_p);
        m_hp.end();
        images.push_back(m_h);
    }
    std::vector<QImage> images;

private:
    std::vector<drawing::SheetSize> m_sizes;
    QImage m_h, m_p;
    QPainter m_hp, m_pp;
    std::unique_ptr<platform::QPainterCanvas> m_hc, m_pc;
};

bool isInk(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

bool inkNear(const QImage& image, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.valid(x + dx, y + dy) && isInk(image, x + dx, y + dy))
                return true;
    return false;
}

QRect inkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

} // namespace

class SheetPicturesTest : public QObject {
    Q_OBJECT
private slots:
    // The saved pair, read back and played, gives the picture drawn straight away.
    void savedSheetsPlayBackAsDrawn() {
        test::DrawingFixture f;
        QVERIFY(f.prepared);
        drawing::NoProgress progress;
        drawing::PictureSheetSink files(f.folder, kDpi, kDpi);
        const auto sizes =
            drawing::RenderSection(f.folder, f.input(), files, progress, true, f.time);
        ImageSheetSink direct(sizes);
        drawing::RenderSection(f.folder, f.input(), direct, progress, true, f.time);
        QVERIFY(files.status().ok());
        QCOMPARE(direct.images.size(), sizes.size());
        for (std::size_t n = 0; n < sizes.size(); ++n) {
            const auto pictures = drawing::LoadSheetPictures(f.folder, static_cast<int>(n));
            QVERIFY(pictures);
            QImage played =
                blank(static_cast<int>(sizes[n].widthPx), static_cast<int>(sizes[n].heightPx), 300);
            {
                QPainter painter(&played);
                drawing::PlaySheet(painter, *pictures, 1.0, true);
            }
            const QImage& drawn = direct.images[n];
            QCOMPARE(played.size(), drawn.size());
            // Ink in one image with no ink within a pixel of it in the other: anti-aliasing and
            // rounding may move an edge by one pixel, nothing more.
            int differ = 0;
            int ink = 0;
            for (int y = 0; y < drawn.height(); ++y)
                for (int x = 0; x < drawn.width(); ++x) {
                    const bool a = isInk(drawn, x, y);
                    ink += a ? 1 : 0;
                    if (a != isInk(played, x, y) && !inkNear(a ? played : drawn, x, y))
                        ++differ;
                }
            if (qEnvironmentVariableIsSet("ORVO_KEEP_IMAGES")) {
                drawn.save(QString("/tmp/drawn%1.png").arg(n));
                played.save(QString("/tmp/played%1.png").arg(n));
            }
            QVERIFY2(ink > 10000, qPrintable(QString::number(ink)));
            QVERIFY2(differ * 200 < ink, qPrintable(QString("%1 of %2").arg(differ).arg(ink)));
        }
        QVERIFY(!drawing::LoadSheetPictures(f.folder, static_cast<int>(sizes.size())));
    }

    // A picture recorded in device pixels keeps its line widths, lengths and font sizes when it
    // is played on devices of other resolutions.
    void playedSizeDoesNotDependOnTheDevice() {
        QPicture picture;
        {
            QPainter p(&picture);
            platform::QPainterCanvas c(p);
            c.setPen({platform::kBlack, 10, platform::Pen::Style::Solid});
            c.drawLine({100, 100}, {300, 100});
            c.setFont({"Arial", 40});
            c.drawText({100, 200, 300, 60}, platform::kAlignLeft | platform::kAlignTop, "HHHH");
        }
        for (const double dpi : {72.0, 96.0, 300.0, 600.0}) {
            QImage image = blank(500, 400, dpi);
            {
                QPainter painter(&image);
                drawing::PlayPicture(painter, picture, 1.0);
            }
            QImage line = image.copy(0, 0, 500, 150);
            const QRect l = inkBox(line);
            QVERIFY2(std::abs(l.width() - 200) <= 1, qPrintable(QString::number(l.width())));
            QVERIFY2(std::abs(l.height() - 10) <= 1, qPrintable(QString::number(l.height())));
            const QRect t = inkBox(image.copy(0, 150, 500, 250));
            // Capital letters of a 40-pixel em are about 29 pixels high.
            QVERIFY2(t.height() >= 25 && t.height() <= 33, qPrintable(QString::number(t.height())));
        }
    }

    // Only the primitives that reach the visible rectangle are played.
    void cullsWhatIsNotShown() {
        QPicture picture;
        {
            QPainter p(&picture);
            platform::QPainterCanvas c(p);
            c.setPen({platform::kBlack, 2, platform::Pen::Style::Solid});
            for (int i = 0; i < 100; ++i)
                c.drawLine({i * 100.0, 0}, {i * 100.0 + 50, 50});
        }
        QImage image = blank(1000, 100, 96);
        QPainter painter(&image);
        QCOMPARE(platform::ui::PlayPicture(painter, picture, 1.0), 100LL);
        painter.translate(-2000, 0);
        // x 2000..2999 after the shift: lines 20..29, and line 30, whose pen reaches back over
        // x = 3000; line 19 ends at 1950.
        QCOMPARE(platform::ui::PlayPicture(painter, picture, 1.0, QRectF(2000, 0, 1000, 100)),
                 11LL);
        // Dealt out to two pages in one pass, each gets its own share.
        const auto parts = platform::ui::SplitPicture(
            picture, {QRectF(0, 0, 1000, 100), QRectF(5000, 0, 1000, 100)});
        QCOMPARE(platform::ui::PlayPicture(painter, parts[0], 1.0), 11LL);
        QCOMPARE(platform::ui::PlayPicture(painter, parts[1], 1.0), 11LL);
    }

    void progressPanelShowsEachStep() {
        drawing::RenderProgressPanel panel;
        panel.show();
        panel.sheet(2, 3);
        QCOMPARE(panel.sheetText(), QString("2 из 3"));
        QCOMPARE(panel.filled(0), 68);
        QCOMPARE(panel.filled(1), 0);
        panel.borehole(1, 4);
        QCOMPARE(panel.filled(1), 25);
        panel.hatching(7, 7);
        QCOMPARE(panel.filled(2), 102);
        QVERIFY(panel.findChildren<QLabel*>().size() >= 5);
        panel.finished();
        QVERIFY(!panel.isVisible());
    }
};

QTEST_MAIN(SheetPicturesTest)
#include "sheet_pictures_test.moc"
