// The hatch dialogs: list and preview, the editor flow, the import name box, the test print.
#include "dict/hatch.h"
#include "dict/ui/hatch_dialogs.h"
#include "support/gui.h"
#include "support/modal.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstdlib>
#include <fstream>

using namespace orvo;
using namespace orvo::dict;
using namespace orvo::dict::ui;

using orvo::test::whenModal;

using orvo::test::child;
using orvo::test::click;
using orvo::test::shown;
using orvo::test::type;

namespace {

QStringList trimmedTexts(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text().trimmed();
    return out;
}

int darkPixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += qGray(img.pixel(x, y)) < 128 ? 1 : 0;
    return n;
}

HatchPattern named(std::string name, std::vector<HatchLine> lines) {
    return {std::move(name), std::move(lines), {}, {}};
}

} // namespace

class HatchDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    platform::RecordingMessageSink m_sink;
    std::filesystem::path m_file;

    HatchDialogHooks hooks() {
        HatchDialogHooks h;
        h.chooseFile = [this](bool) { return std::optional<std::filesystem::path>(m_file); };
        h.choosePrinter = [this](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(QString::fromStdString((m_dir->path() / "sample.pdf").string()));
            return true;
        };
        return h;
    }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        std::filesystem::create_directories(m_dir->path() / "DATA/DIC");
        m_folder = std::make_unique<platform::WorkFolder>(m_dir->path());
        m_sink.clear();
        m_file = m_dir->path() / "exchange.OHT";
        QCOMPARE(*SaveHatch(*m_folder, -1, named("Суглинок", {{0.2f, 45, 2}})), 0);
        QCOMPARE(*SaveHatch(*m_folder, -1, named("Глина", {{0.2f, 90, 2}})), 1);
    }

    void listPreviewAndDelete() {
        HatchTypesDialog d(*m_folder, m_sink, hooks());
        QVERIFY(shown(d, {900, 520}));
        QCOMPARE(d.windowTitle(), QStringLiteral("Список видов штриховки"));
        auto* list = child<QListWidget>(d, "list");
        QCOMPARE(trimmedTexts(list), (QStringList{"Глина", "Суглинок"}));
        QCOMPARE(d.selectedSlot(), 1);
        QCOMPARE(d.shownPattern().lines.at(0).angle, 90);
        const QImage preview = child<QWidget>(d, "preview")->grab().toImage();
        QVERIFY(darkPixels(preview) > 500); // horizontal lines 2 mm apart
        if (const char* out = std::getenv("ORVO_HATCH_PNG"))
            d.grab().save(QString::fromUtf8(out));

        m_sink.queueAnswer(platform::Answer::Yes);
        click(d, "delete");
        QCOMPARE(m_sink.entries().at(0).caption, std::string("Удаление"));
        QCOMPARE(m_sink.entries().at(0).text,
                 std::string("Вы действительно\rхотите удалить штриховку\rГлина ?"));
        QCOMPARE(trimmedTexts(list), QStringList{"Суглинок"});
        QVERIFY(!child<QPushButton>(d, "delete")->isEnabled()); // the last hatch stays
        QCOMPARE(ReadHatchList(*m_folder)->size(), 2u);
    }

    void editorFlow() {
        HatchTypesDialog d(*m_folder, m_sink, hooks());
        QVERIFY(shown(d, {900, 520}));
        whenModal(this, [](QWidget* w) {
            auto& e = *static_cast<QDialog*>(w);
            QCOMPARE(e.windowTitle(), QStringLiteral("Редактирование вида штриховки"));
            QCOMPARE(child<QLineEdit>(e, "name")->text(), QStringLiteral("- Новая -"));
            QVERIFY(!child<QListWidget>(e, "elements")->isEnabled());
            type(e, "name", QStringLiteral("Песок"));
            click(e, "newElement");
            QCOMPARE(child<QListWidget>(e, "elements")->item(0)->text(),
                     QStringLiteral("Линия #1 "));
            QCOMPARE(child<QLineEdit>(e, "width")->text(), QStringLiteral("0.20"));
            type(e, "angle", QStringLiteral("30.7"));
            QCOMPARE(child<QLineEdit>(e, "angle")->text(), QStringLiteral("30"));
            click(e, "symbols");
            click(e, "newElement");
            QCOMPARE(child<QListWidget>(e, "elements")->item(0)->text(),
                     QStringLiteral("Значок #1 "));
            QVERIFY(!child<QLineEdit>(e, "step")->isEnabled());
            click(e, "lines");
            QCOMPARE(child<QListWidget>(e, "elements")->count(), 1);
            // The step typed and saved without leaving the field.
            child<QLineEdit>(e, "step")->clear();
            QTest::keyClicks(child<QLineEdit>(e, "step"), QStringLiteral("1.5"));
            child<QAbstractButton>(e, "save")->click();
        });
        click(d, "new");
        QCOMPARE(d.selectedSlot(), 2);
        const HatchPattern saved = *LoadHatch(*m_folder, 2);
        QCOMPARE(saved.name, std::string("Песок"));
        QCOMPARE(saved.lines.size(), 1u);
        QCOMPARE(saved.lines[0].angle, 30);
        QCOMPARE(saved.lines[0].step, 1.5f);
        QCOMPARE(saved.symbols.size(), 1u);

        // A name in use keeps the editor open with the message.
        whenModal(this, [this](QWidget* w) {
            auto& e = *static_cast<QDialog*>(w);
            type(e, "name", QStringLiteral("Глина"));
            click(e, "save");
            QVERIFY(e.isVisible());
            QCOMPARE(m_sink.entries().back().text,
                     std::string("Вид штриховки\rГлина\rуже существует в системе.\r"
                                 "Измените наименование"));
            click(e, "cancel");
        });
        click(d, "edit");
        QCOMPARE(LoadHatch(*m_folder, 2)->name, std::string("Песок"));
    }

    void importConflictAsksAgainForATakenNewName() {
        QVERIFY(ExportHatch(*m_folder, 0, m_file).ok());
        HatchTypesDialog d(*m_folder, m_sink, hooks());
        QVERIFY(shown(d, {900, 520}));
        // "Суглинок" is taken; the new name "Глина" too; then "Суглинок 2".
        whenModal(this, [this](QWidget* w) {
            auto& box = *static_cast<QDialog*>(w);
            QCOMPARE(box.windowTitle(), QStringLiteral("Импорт вида штриховки"));
            QCOMPARE(child<QLabel>(box, "name")->text(), QStringLiteral("Суглинок"));
            QVERIFY(child<QRadioButton>(box, "cancelImport")->isChecked());
            QVERIFY(!child<QLineEdit>(box, "newNameText")->isEnabled());
            click(box, "newName");
            QVERIFY(child<QLineEdit>(box, "newNameText")->isEnabled());
            child<QLineEdit>(box, "newNameText")->setText(QStringLiteral("Глина"));
            whenModal(this, [](QWidget* again) {
                auto& b = *static_cast<QDialog*>(again);
                QCOMPARE(child<QLabel>(b, "name")->text(), QStringLiteral("Глина"));
                click(b, "newName");
                child<QLineEdit>(b, "newNameText")->setText(QStringLiteral("Суглинок 2"));
                click(b, "ok");
            });
            click(box, "ok");
        });
        click(d, "import");
        QCOMPARE(d.selectedSlot(), 2);
        QCOMPARE(LoadHatch(*m_folder, 2)->name, std::string("Суглинок 2"));
        QCOMPARE(LoadHatch(*m_folder, 2)->lines, LoadHatch(*m_folder, 0)->lines);

        // Cancelling writes nothing.
        whenModal(this, [](QWidget* w) { click(*w, "ok"); });
        click(d, "import");
        QCOMPARE(ReadHatchList(*m_folder)->size(), 3u);

        // A damaged file is refused.
        std::ofstream(m_file, std::ios::binary | std::ios::app) << "x";
        click(d, "import");
        QCOMPARE(m_sink.entries().back().text, std::string("Неверный формат файла"));
        QCOMPARE(ReadHatchList(*m_folder)->size(), 3u);
    }

    void testPrintMakesOnePage() {
        HatchTypesDialog d(*m_folder, m_sink, hooks());
        QVERIFY(shown(d, {900, 520}));
        d.selectSlot(0);
        click(d, "print");
        const auto pdf = m_dir->path() / "sample.pdf";
        QVERIFY(std::filesystem::exists(pdf));
        const auto bytes = test::readBytes(pdf);
        const std::string text(bytes.begin(), bytes.end());
        std::size_t pages = 0;
        for (std::size_t at = text.find("/Type /Page"); at != std::string::npos;
             at = text.find("/Type /Page", at + 1))
            pages += text.compare(at, 12, "/Type /Pages") != 0 ? 1 : 0;
        QCOMPARE(pages, 1u);

        // At 254 dpi the 100 mm frame is 1000 pixels wide.
        QImage page(2000, 2000, QImage::Format_RGB32);
        page.fill(Qt::white);
        page.setDotsPerMeterX(10000);
        page.setDotsPerMeterY(10000);
        const HatchPattern p = *LoadHatch(*m_folder, 0);
        paintHatchSample(page, p, {});
        if (const char* out = std::getenv("ORVO_HATCH_SAMPLE_PNG"))
            page.save(QString::fromUtf8(out));
        QCOMPARE(QColor(page.pixel(350, 1000)).value(), 0);  // left side of the frame
        QCOMPARE(QColor(page.pixel(1350, 1000)).value(), 0); // right side
        QCOMPARE(QColor(page.pixel(1400, 1000)).value(), 255);
    }
};

QTEST_MAIN(HatchDialogsTest)
#include "hatch_dialogs_test.moc"
