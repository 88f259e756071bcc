// The section viewer, the sheet editor and the print dialogs, driven offscreen with real events.
#include "drawing/drawing_fixture.h"
#include "drawing/ui/section_windows.h"
#include "drawing/ui/sheet_area.h"
#include "export/ui/print_section.h"
#include "support/gui.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace orvo;

namespace {

constexpr double kDpi = 96;

struct Rendered : test::DrawingFixture {
    std::vector<drawing::SheetSize> sizes;
    explicit Rendered(bool withTexts) {
        drawing::PictureSheetSink pictures(folder, kDpi, kDpi);
        drawing::NoProgress progress;
        sizes = drawing::RenderSection(folder, input(), pictures, progress, withTexts, time);
    }
};

QToolButton* toolButton(QWidget& w, const QString& text) {
    for (auto* b : w.findChildren<QToolButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

QPoint viewPoint(drawing::SheetView& v, double sheetX, double sheetY) {
    return QPoint(static_cast<int>(v.sheetLeft() + sheetX * v.zoom()),
                  static_cast<int>(v.sheetTop() + sheetY * v.zoom()));
}

} // namespace

class SectionWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void viewerZoomsAndReadsCoordinates() {
        Rendered r(true);
        drawing::SectionViewer viewer(r.folder, r.sizes, kDpi);
        viewer.resize(800, 500);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        auto* sheets = viewer.findChild<QComboBox*>("sheets");
        QCOMPARE(sheets->count(), 3);
        QCOMPARE(sheets->itemText(2), QString("Лист УО"));
        auto* in = toolButton(viewer, "+");
        auto* out = toolButton(viewer, "-");
        auto* whole = toolButton(viewer, "Весь лист");
        QVERIFY(!toolButton(viewer, "Штриховка")->isChecked()); // hatching starts hidden
        QVERIFY(in->isEnabled() && !out->isEnabled() && !whole->isEnabled());
        QTest::mouseClick(in, Qt::LeftButton);
        QVERIFY(out->isEnabled() && whole->isEnabled());
        QTest::mouseClick(whole, Qt::LeftButton);
        const double fit = viewer.view().zoom();
        // A dragged rectangle becomes the view.
        auto* vp = viewer.area()->viewport();
        QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(vp, QPoint(160, 130));
        QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(200, 150));
        QVERIFY(viewer.view().zoom() > fit);
        QVERIFY(viewer.view().offsetX() > 0);
        QTest::mouseMove(vp, QPoint(50, 60));
        QVERIFY(viewer.findChild<QLabel*>("readout")->text().startsWith("X="));
        sheets->setCurrentIndex(2);
        QCOMPARE(viewer.view().zoom(), viewer.view().fitZoom());
    }

    void editorMovesHidesSavesAndAsksOnExit() {
        Rendered r(false);
        platform::RecordingMessageSink sink;
        drawing::SheetEditorWindow editor(r.folder, r.input(), r.sizes, kDpi, kDpi, sink);
        editor.resize(900, 600);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QCOMPARE(editor.windowTitle(), QString("Редактирование разреза - Лист 1"));
        auto& s = editor.session();
        QVERIFY(!editor.action(drawing::EditorCommand::PagePrevious)->isEnabled());
        QVERIFY(!editor.action(drawing::EditorCommand::Save)->isEnabled());
        editor.action(drawing::EditorCommand::Select)->trigger();
        editor.area()->viewport()->repaint(); // lays the overlay out
        QVERIFY(!s.overlay().empty());
        const auto target = s.overlay().front();
        const auto before = s.texts()[target.index];
        const QPoint at = viewPoint(s.view(), target.rect.x + target.rect.width / 2,
                                    target.rect.y + target.rect.height / 2);
        auto* vp = editor.area()->viewport();
        QTest::mousePress(vp, Qt::LeftButton, {}, at);
        QTest::mouseMove(vp, at + QPoint(10, 5));
        QTest::mouseRelease(vp, Qt::LeftButton, {}, at + QPoint(20, 10));
        QCOMPARE(s.selected(), static_cast<int>(target.index));
        const double perMetre = kDpi / 254 * s.view().zoom();
        QCOMPARE(s.texts()[target.index].dx,
                 before.dx + static_cast<float>(20 * 0.0001 * 200 / perMetre));
        QCOMPARE(s.texts()[target.index].dy,
                 before.dy - static_cast<float>(10 * 0.0001 * 100 / perMetre));
        editor.action(drawing::EditorCommand::TextHidden)->trigger();
        QCOMPARE(s.texts()[target.index].visible, 0);
        QVERIFY(editor.action(drawing::EditorCommand::TextHidden)->isChecked());
        QVERIFY(editor.action(drawing::EditorCommand::Save)->isEnabled());
        editor.action(drawing::EditorCommand::Save)->trigger();
        QVERIFY(r.folder.exists("WORK.MTX"));
        QVERIFY(!editor.action(drawing::EditorCommand::Save)->isEnabled());
        editor.action(drawing::EditorCommand::TextVisible)->trigger();
        sink.queueAnswer(platform::Answer::Cancel);
        editor.action(drawing::EditorCommand::Exit)->trigger();
        QVERIFY(editor.isVisible());
        sink.queueAnswer(platform::Answer::No);
        editor.close();
        QVERIFY(!editor.isVisible());
        QCOMPARE(sink.entries().size(), std::size_t{2});
        QCOMPARE(QString::fromStdString(sink.entries()[1].text), QString("Сохранить изменения ?"));
        editor.action(drawing::EditorCommand::PageNext)->trigger();
        QCOMPARE(editor.windowTitle(), QString("Редактирование разреза - Лист 2"));
        QVERIFY(!editor.action(drawing::EditorCommand::PageNext)->isEnabled());
    }

    void fullSheetListsEnableTheirButtons() {
        std::vector<drawing::SheetSize> sizes(12, {500, 400});
        const auto plan = exporter::PrintPlan::make(sizes, {1000, 1000, 254, 254, "PDF", true});
        QVERIFY(plan);
        exporter::FullSheetDialog d(*plan);
        d.show();
        QCOMPARE(d.printList()->count(), 12);
        QCOMPARE(d.printList()->item(0)->text(), QString("Лист 1 "));
        QVERIFY(!d.button(0)->isEnabled() && !d.button(1)->isEnabled());
        QTest::mouseClick(d.button(3), Qt::LeftButton); // clear
        QVERIFY(!d.printButton()->isEnabled() && !d.button(2)->isEnabled());
        QVERIFY(d.button(1)->isEnabled());
        d.sheets()->setCurrentRow(9);
        QTest::mouseClick(d.button(0), Qt::LeftButton); // "Лист 10 "
        QVERIFY(!d.button(0)->isEnabled());
        QVERIFY(d.printButton()->isEnabled());
        const auto choice = d.choice();
        QCOMPARE(std::count(choice.sheets.begin(), choice.sheets.end(), true), 1);
        QVERIFY(choice.sheets[9] && !choice.sheets[0]);
    }

    // "Параметры принтера..." prepares and renders again for the printer chosen next; the
    // second dialog shows its resolution, and only one job is printed.
    void printerChangeRendersForTheNewPrinter() {
        test::DrawingFixture f;
        const auto pdf = [&](int dpi, const char* name) {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(QString::fromStdString((f.dir.path() / name).string()));
            printer->setResolution(dpi);
            printer->setFullPage(true);
            printer->setPageLayout(QPageLayout(QPageSize(QSizeF(1000, 600), QPageSize::Millimeter),
                                               QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
            return printer;
        };
        int asked = 0;
        std::vector<std::string> resolutions;
        exporter::PrintHooks hooks;
        hooks.choosePrinter = [&](QWidget*) {
            const bool first = ++asked == 1;
            return pdf(first ? 100 : 200, first ? "a.pdf" : "b.pdf");
        };
        hooks.pickSheets = [&](QWidget*, const exporter::PrintPlan& plan) {
            resolutions.push_back(plan.infoLines()[3].second);
            exporter::SheetChoice c;
            c.sheets.assign(static_cast<std::size_t>(plan.sheetCount()), true);
            c.changePrinter = resolutions.size() == 1;
            return std::optional(c);
        };
        const auto section = section::ReadSection(f.folder, 1, 2);
        QVERIFY(section);
        const drawing::DrawingRequest request{1, 2, *section, drawing::TextSource::StoredSection};
        const auto out = exporter::PrintSection(nullptr, f.store, f.sink, request, hooks);
        QVERIFY(out);
        QCOMPARE(asked, 2);
        QCOMPARE(resolutions, (std::vector<std::string>{"100x100 dpi", "200x200 dpi"}));
        QCOMPARE(out->pages, 3);
        QVERIFY(std::filesystem::exists(f.dir.path() / "b.pdf"));
        QVERIFY(!f.folder.exists("WORK.SLO"));
    }

    void previewClickTogglesItsPage() {
        Rendered r(true);
        auto plan = exporter::PrintPlan::make(r.sizes, {400, 300, kDpi, kDpi, "PDF", true});
        QVERIFY(plan);
        exporter::PartsDialog d(*plan, r.folder);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        const int before = plan->selectedPages();
        auto* preview = d.preview();
        // The bottom-left page of the grid belongs to every sheet's block.
        const QRect grid = preview->rect().adjusted(4, 4, -4, -4);
        QTest::mouseClick(preview, Qt::LeftButton, {},
                          QPoint(grid.center().x() / 4, grid.bottom() - 2));
        QCOMPARE(plan->selectedPages(), before - 1);
        QVERIFY(d.printButton()->isEnabled());
    }
};

QTEST_MAIN(SectionWindowsTest)
#include "section_windows_test.moc"
