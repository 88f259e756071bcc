// The data sheet windows driven as the user does: the editor's "Просмотр и печать" opening the
// viewer, fit and zoom, the view attributes, export choice and text file, printing a page
// range, and the layout dialog's fields, preview and saving.
#include "borehole/ui/borehole_editor.h"
#include "datasheet/sheet_fixture.h"
#include "datasheet/text_export.h"
#include "datasheet/ui/sheet_layout_dialog.h"
#include "datasheet/ui/sheet_viewer.h"
#include "platform/message_sink.h"
#include "support/gui.h"
#include "support/modal.h"

#include <QAction>
#include <QCheckBox>
#include <QPainter>
#include <QPrinter>
#include <QTest>
#include <QToolButton>

using namespace orvo;
using namespace orvo::datasheet;
using namespace orvo::datasheet::ui;
using orvo::test::child;
using orvo::test::click;

namespace {

SheetSource source(const borehole::BoreholeEditData& data, int parts = kAllParts) {
    const auto& db = test::SeededDatabase::get();
    return {db.layout(), data, db.names(), parts};
}

void trigger(QWidget& w, const char* action) {
    auto* a = w.findChild<QAction*>(QString::fromLatin1(action));
    if (!a)
        qFatal("no action %s", action);
    a->trigger();
}

std::string readText(const std::filesystem::path& file) {
    const auto bytes = test::readBytes(file);
    return {bytes.begin(), bytes.end()};
}

// Page objects in a PDF file.
int pdfPages(const std::filesystem::path& file) {
    const std::string pdf = readText(file);
    int pages = 0;
    for (std::size_t at = 0; (at = pdf.find("/Type /Page", at)) != std::string::npos; ++at)
        pages += pdf.compare(at, 12, "/Type /Pages") != 0 ? 1 : 0;
    return pages;
}

} // namespace

class SheetWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void editorOpensTheViewer() {
        const auto& db = test::SeededDatabase::get();
        platform::WorkFolder folder = db.folder();
        store::ProjectStore store(folder);
        platform::RecordingMessageSink sink;
        borehole::BoreholeClipboard clipboard;
        auto data = db.demo();
        borehole::ui::BoreholeEditorHooks hooks;
        QString title;
        int pages = 0;
        hooks.viewDataSheet = [&](const borehole::BoreholeEditData& d) {
            test::whenModal(this, [&](QWidget* w) {
                auto* viewer = qobject_cast<SheetViewer*>(w);
                QVERIFY(viewer);
                title = viewer->windowTitle();
                pages = viewer->pages();
                trigger(*viewer, "exit");
            });
            ShowBoreholeSheet(folder, sink, d, nullptr);
        };
        borehole::ui::BoreholeEditor editor(store, 1, 1, data, clipboard, sink, hooks);
        QVERIFY(test::shown(editor, {900, 700}));
        click(editor, "view");
        QCOMPARE(title, QStringLiteral("Просмотр выработки: 1"));
        QCOMPARE(pages, 1);
        QVERIFY(sink.empty());
    }

    void viewerFitsZoomsAndRerenders() {
        platform::RecordingMessageSink sink;
        std::vector<int> asked;
        SheetViewerHooks hooks;
        SheetViewer viewer(test::SeededDatabase::get().folder(), sink,
                           source(test::madeUpBorehole(90, 60, 39)), hooks);
        QVERIFY(test::shown(viewer, {900, 700}));
        QCOMPARE(viewer.pages(), 5);
        trigger(viewer, "fit");
        const QRectF fit = viewer.pictureRect();
        // Five pages side by side are wider than high: the width decides.
        const QSize frame = child<QWidget>(viewer, "scroll")->findChild<QWidget*>()->size();
        QVERIFY(fit.width() > 0);
        QCOMPARE(fit.height() / fit.width(), 2970.0 / (2200.0 * 5 - 100));
        QVERIFY(fit.width() <= frame.width() + 1);
        trigger(viewer, "zoomIn");
        trigger(viewer, "zoomIn");
        QCOMPARE(viewer.pictureRect().width(), 4 * fit.width());
        trigger(viewer, "zoomOut");
        QCOMPARE(viewer.pictureRect().height(), 2 * fit.height());
        trigger(viewer, "fit");
        QCOMPARE(viewer.pictureRect(), fit);

        // "Выборочно" with only the drawing: one page; cancelling keeps the sheet.
        test::whenModal(this, [](QWidget* w) {
            auto& d = *static_cast<QDialog*>(w);
            QCOMPARE(d.windowTitle(), QStringLiteral("Атрибуты просмотра"));
            QVERIFY(!child<QCheckBox>(d, "igePart")->isEnabled());
            click(d, "some");
            QVERIFY(child<QCheckBox>(d, "igePart")->isEnabled());
            for (const char* part : {"igePart", "waterPart", "samplesPart"})
                child<QCheckBox>(d, part)->setChecked(false);
            click(d, "apply");
        });
        trigger(viewer, "attributes");
        QCOMPARE(viewer.parts(), 1);
        QCOMPARE(viewer.pages(), 1);
        test::whenModal(this, [](QWidget* w) {
            click(*w, "all");
            click(*w, "cancel");
        });
        trigger(viewer, "attributes");
        QCOMPARE(viewer.parts(), 1);
        test::whenModal(this, [](QWidget* w) {
            click(*w, "all");
            click(*w, "apply");
        });
        trigger(viewer, "attributes");
        QCOMPARE(viewer.parts(), 15);
        QCOMPARE(viewer.pages(), 5);
        QVERIFY(sink.empty());
    }

    void pictureFillsItsTargetAtAnyResolution() {
        int pages = 0;
        const QPicture picture = RenderSheetPicture(source(test::madeUpBorehole(0, 0, 0)), pages);
        QCOMPARE(pages, 1);
        for (int dpi : {96, 192, 600}) {
            QImage image(300, 400, QImage::Format_RGB32);
            image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
            image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
            image.fill(Qt::gray);
            {
                QPainter p(&image);
                PlaySheetPicture(p, picture, pages, QRectF(10, 10, 210, 297));
            }
            // The white page covers the target and nothing beside it.
            QCOMPARE(image.pixel(12, 12), qRgb(255, 255, 255));
            QCOMPARE(image.pixel(217, 304), qRgb(255, 255, 255));
            QCOMPARE(image.pixel(223, 100), QColor(Qt::gray).rgb());
            QCOMPARE(image.pixel(100, 310), QColor(Qt::gray).rgb());
        }
    }

    // Page 2 of five on paper 25 cm wide: its frame (2 cm and 20.5 cm from the left edge) at
    // the same place at every resolution, and nothing of page 3 right of 21 cm.
    void printedPageFallsOnThePaperAtAnyResolution() {
        int pages = 0;
        const QPicture picture =
            RenderSheetPicture(source(test::madeUpBorehole(90, 60, 39)), pages);
        QCOMPARE(pages, 5);
        for (int dpi : {50, 120}) {
            const double u = dpi / 2.54;
            QImage paper(static_cast<int>(25 * u), static_cast<int>(29.7 * u),
                         QImage::Format_RGB32);
            paper.setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
            paper.setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
            paper.fill(Qt::gray);
            {
                QPainter p(&paper);
                PaintSheetPage(p, paper, picture, 2);
            }
            const int y = static_cast<int>(15 * u);
            const auto darkNear = [&](double cm) {
                for (int x = static_cast<int>(cm * u) - 2; x <= static_cast<int>(cm * u) + 2; ++x)
                    if (qGray(paper.pixel(x, y)) < 100)
                        return true;
                return false;
            };
            QVERIFY2(darkNear(2.0) && darkNear(20.5), qPrintable(QString::number(dpi)));
            for (int x = static_cast<int>(21 * u) + 2; x < paper.width(); ++x)
                QCOMPARE(paper.pixel(x, y), qRgb(255, 255, 255));
        }
    }

    void settingsRerenderAfterSaving() {
        test::TempDir dir;
        platform::WorkFolder folder(dir.path());
        QVERIFY(folder.makeFolder("DATA"));
        SheetLayout layout = defaultSheetLayout();
        QVERIFY(WriteSheetLayout(folder, layout));
        platform::RecordingMessageSink sink;
        bool saved = false;
        SheetViewerHooks hooks;
        hooks.editLayout = [&] {
            // Saved: a frame half as high, so more pages.
            return saved && static_cast<bool>(WriteSheetLayout(folder, layout));
        };
        SheetViewer viewer(folder, sink, source(test::madeUpBorehole(90, 60, 39)), hooks);
        QCOMPARE(viewer.pages(), 5);
        layout.layoutSize[3] = 1400;
        trigger(viewer, "settings"); // cancelled: the sheet stays
        QCOMPARE(viewer.pages(), 5);
        saved = true;
        trigger(viewer, "settings");
        QVERIFY(viewer.pages() > 5);
        QVERIFY(sink.empty());
    }

    void viewerRefusesWithoutLayout() {
        test::TempDir dir;
        platform::RecordingMessageSink sink;
        ShowBoreholeSheet(platform::WorkFolder(dir.path()), sink, test::madeUpBorehole(1, 1, 1),
                          nullptr);
        QCOMPARE(sink.entries().size(), 1u);
        QCOMPARE(sink.entries()[0].caption, std::string("Ошибка"));
        QVERIFY(sink.entries()[0].text.find("View_SKV.prm") != std::string::npos);
    }

    void exportChoicePresetsAndEnabling() {
        ExportChoiceDialog d;
        QVERIFY(test::shown(d, {400, 300}));
        struct Step {
            const char* click;
            int choice;
            bool textEnabled;
        };
        QCOMPARE(d.choice(), 2);
        QVERIFY(!child<QWidget>(d, "emf")->isEnabled());
        for (const Step s : {Step{"dos", 1, true}, Step{"drawing", 4, false}, Step{"emf", 3, false},
                             Step{"text", 1, true}, Step{"ansi", 2, true}}) {
            click(d, s.click);
            QCOMPARE(d.choice(), s.choice);
            QCOMPARE(child<QWidget>(d, "dos")->isEnabled(), s.textEnabled);
            QCOMPARE(child<QWidget>(d, "wmf")->isEnabled(), !s.textEnabled);
        }
    }

    void viewerExportsTextOrSaysNotReady() {
        test::TempDir dir;
        platform::RecordingMessageSink sink;
        int choice = 3;
        SheetViewerHooks hooks;
        hooks.chooseExport = [&] { return choice; };
        hooks.chooseTextFile = [&] { return std::optional(dir / "b.txt"); };
        const auto data = test::SeededDatabase::get().demo();
        SheetViewer viewer(test::SeededDatabase::get().folder(), sink, source(data, 2), hooks);
        viewer.exportData();
        QCOMPARE(sink.entries().size(), 1u);
        QCOMPARE(sink.entries()[0].text, std::string(kNotReadyText));
        QCOMPARE(sink.entries()[0].caption, std::string("Information"));
        choice = 1;
        viewer.exportData();
        const auto oem =
            boreholeTextBytes(data, test::SeededDatabase::get().names(), 2, Charset::Oem);
        QCOMPARE(readText(dir / "b.txt"), oem);
        // Replacing the file is asked first; "No" leaves it.
        choice = 2;
        sink.queueAnswer(platform::Answer::No);
        viewer.exportData();
        QCOMPARE(readText(dir / "b.txt"), oem);
        sink.queueAnswer(platform::Answer::Yes);
        viewer.exportData();
        QCOMPARE(readText(dir / "b.txt"),
                 boreholeTextBytes(data, test::SeededDatabase::get().names(), 2, Charset::Ansi));
        choice = 0;
        viewer.exportData();
        QCOMPARE(sink.entries().size(), 3u);
    }

    void printsTheChosenPages() {
        test::TempDir dir;
        struct Case {
            int from, to, pages;
        };
        for (const Case c : {Case{0, 0, 5}, Case{2, 3, 2}, Case{4, 9, 2}}) {
            const auto pdf = dir / ("p" + std::to_string(c.from) + ".pdf");
            int offered = 0;
            QString doc;
            const bool printed = PrintBoreholeSheet(
                source(test::madeUpBorehole(90, 60, 39)), 5, nullptr, [&](QPrinter& p, int pages) {
                    offered = pages;
                    doc = p.docName();
                    p.setOutputFormat(QPrinter::PdfFormat);
                    p.setOutputFileName(QString::fromStdString(pdf.string()));
                    if (c.from > 0) {
                        p.setPrintRange(QPrinter::PageRange);
                        p.setFromTo(c.from, c.to);
                    }
                    return true;
                });
            QVERIFY(printed);
            QCOMPARE(offered, 5);
            QCOMPARE(doc, QStringLiteral("Печать данных по выработке"));
            QCOMPARE(pdfPages(pdf), c.pages);
        }
    }

    void layoutDialogFields() {
        SheetLayoutDialog d(test::SeededDatabase::get().layout());
        QVERIFY(test::shown(d, {900, 700}));
        QCOMPARE(d.windowTitle(), QStringLiteral("Оформление: Данные по выработке"));
        // Sizes are read as tenths: "2.3" is 23; huge values are clamped to the field.
        auto* size = child<QComboBox>(d, "sizeElement");
        struct Typed {
            int index;
            const char* text;
            int stored;
            const char* shown;
        };
        for (const Typed t : {Typed{38, "2.3", 23, "2.3"}, Typed{0, "12,5", 120, "12.0"},
                              Typed{3, "99999", 32767, "3276.7"}, Typed{5, "-4", 0, "0.0"}}) {
            size->setCurrentIndex(t.index);
            test::type(d, "sizeValue", QString::fromUtf8(t.text));
            QCOMPARE(int(d.layout().layoutSize[static_cast<std::size_t>(t.index)]), t.stored);
            QCOMPARE(child<QLineEdit>(d, "sizeValue")->text(), QString::fromUtf8(t.shown));
        }
        // Heights " 1".." 20" and widths "Нет", "0.1".."2.0" are stored in tenths.
        auto* height = child<QComboBox>(d, "height");
        QCOMPARE(height->itemText(0), QStringLiteral(" 1"));
        QCOMPARE(height->itemText(19), QStringLiteral(" 20"));
        QCOMPARE(height->count(), 20);
        height->setCurrentIndex(4);
        emit height->activated(4);
        QCOMPARE(int(d.layout().textHeight[0]), 50);
        auto* width = child<QComboBox>(d, "lineWidth");
        QCOMPARE(width->itemText(0), QStringLiteral("Нет"));
        QCOMPARE(width->itemText(20), QStringLiteral("2.0"));
        child<QComboBox>(d, "lineElement")->setCurrentIndex(2);
        width->setCurrentIndex(3);
        emit width->activated(3);
        QCOMPARE(int(d.layout().linePen[2]), 3);
        // Alignment for the heading, the title labels and the column headings only.
        auto* element = child<QComboBox>(d, "textElement");
        for (int e = 0; e < kTextElements; ++e) {
            element->setCurrentIndex(e);
            const bool aligned = e == 0 || e == 1 || e == 3;
            QCOMPARE(child<QToolButton>(d, "alignRight")->isEnabled(), aligned);
            QVERIFY(child<QToolButton>(d, "bold")->isEnabled());
        }
        element->setCurrentIndex(3);
        click(d, "alignRight");
        QCOMPARE(int(d.layout().textAttr[3].alignRight), 1);
        QCOMPARE(int(d.layout().textAttr[3].alignCentre), 0);
        click(d, "italic");
        QCOMPARE(int(d.layout().textAttr[3].italic), 1);
        // The magnifier works only with the preview; a left click halves the view around it.
        auto* magnifier = child<QToolButton>(d, "magnifier");
        QVERIFY(magnifier->isEnabled());
        click(d, "preview");
        QVERIFY(!magnifier->isEnabled());
        click(d, "preview");
        click(d, "magnifier");
        const QRectF start = d.previewView();
        QCOMPARE(start, QRectF(-100, -100, 2300, 3270));
        auto* preview = child<QWidget>(d, "layoutPreview");
        QTest::mouseClick(preview, Qt::LeftButton, {}, preview->rect().center());
        QCOMPARE(d.previewView().width(), start.width() / 2);
        QTest::mouseClick(preview, Qt::RightButton, {}, preview->rect().center());
        QCOMPARE(d.previewView().width(), start.width());
    }

    void layoutDialogSavesOrNot() {
        test::TempDir dir;
        platform::WorkFolder folder(dir.path());
        QVERIFY(folder.makeFolder("DATA"));
        platform::RecordingMessageSink sink;
        // Without a file the dialog opens on the default layout, and "Отмена" writes nothing.
        test::whenModal(this, [](QWidget* w) {
            QCOMPARE(child<QLineEdit>(*w, "sizeValue")->text(), QStringLiteral("5.0"));
            click(*w, "cancel");
        });
        QVERIFY(!EditSheetLayout(folder, sink, nullptr));
        QVERIFY(!folder.exists(kSheetLayoutFile));
        test::whenModal(this, [](QWidget* w) {
            child<QComboBox>(*w, "sizeElement")->setCurrentIndex(38);
            test::type(*w, "sizeValue", QStringLiteral("2.3"));
            click(*w, "save");
        });
        QVERIFY(EditSheetLayout(folder, sink, nullptr));
        auto saved = ReadSheetLayout(folder);
        QVERIFY(saved);
        QCOMPARE(int(saved->layoutSize[38]), 23);
        QCOMPARE(int(saved->layoutSize[0]), 50);
        QVERIFY(sink.empty());
    }
};

QTEST_MAIN(SheetWindowsTest)
#include "sheet_windows_test.moc"
