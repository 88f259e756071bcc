// The title block list: enabling, rename, delete, view, test print to PDF, export and import.
#include "dict/title_block.h"
#include "dict/ui/title_block_dialogs.h"
#include "support/modal.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <fstream>

using namespace orvo;
using namespace orvo::dict;
using namespace orvo::dict::ui;

using orvo::test::buttonWithText;
using orvo::test::whenModal;

namespace {

TitleBlock block(int width) {
    TitleBlock b;
    b.segments = {{0, 0, static_cast<std::int16_t>(width), 0, 3},
                  {0, 300, static_cast<std::int16_t>(width), 300, 3}};
    TitleEditableText t;
    t.text.setUtf8("Проверил");
    t.font = logFontFor("Arial Cyr");
    t.box = {kTitleLeft, 10, 10, 290, 500, 200};
    b.editableTexts.push_back(t);
    return b;
}

// A frame of four segments around x0..x0 + 1200, y0..y0 + 575 (120 x 57.5 mm).
TitleBlock frame(int x0, int y0) {
    const auto at = [](int v) { return static_cast<std::int16_t>(v); };
    TitleBlock b;
    const int x1 = x0 + 1200;
    const int y1 = y0 + 575;
    b.segments = {{at(x0), at(y0), at(x1), at(y0), 3},
                  {at(x0), at(y1), at(x1), at(y1), 3},
                  {at(x0), at(y0), at(x0), at(y1), 3},
                  {at(x1), at(y0), at(x1), at(y1), 3}};
    b.computeExtent();
    return b;
}

// The bounding box of the dark pixels.
QRect inkBounds(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TitleBlockDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    platform::RecordingMessageSink m_sink;
    TitleBlockPrintMargins m_margins;
    std::filesystem::path m_file;

    TitleBlockDialogHooks hooks() {
        TitleBlockDialogHooks h;
        h.chooseFile = [this](bool) { return std::optional<std::filesystem::path>(m_file); };
        h.choosePrinter = [this](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(QString::fromStdString((m_dir->path() / "print.pdf").string()));
            return true;
        };
        return h;
    }
    template <class W> static W* child(QWidget& d, const char* name) {
        return d.findChild<W*>(QString::fromLatin1(name));
    }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        std::filesystem::create_directories(m_dir->path() / "DATA/DIC");
        m_folder = std::make_unique<platform::WorkFolder>(m_dir->path());
        m_sink.clear();
        m_file = m_dir->path() / "exchange.OSH";
        QVERIFY(SaveTitleBlock(*m_folder, 0, "Шаблон", TitleBlock{}));
        QVERIFY(SaveNewTitleBlock(*m_folder, "Первый", block(1850)));
        QVERIFY(SaveNewTitleBlock(*m_folder, "Второй", block(1000)));
    }

    void templateOnlyServesCreate() {
        TitleBlocksDialog dialog(*m_folder, m_sink, m_margins, hooks());
        auto* list = child<QListWidget>(dialog, "list");
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Шаблон")); // slot order, not sorted
        QCOMPARE(dialog.selectedSlot(), 0);
        for (const char* name :
             {"createFrom", "edit", "rename", "delete", "view", "print", "export"})
            QVERIFY2(!child<QPushButton>(dialog, name)->isEnabled(), name);
        QVERIFY(child<QPushButton>(dialog, "create")->isEnabled());
        QVERIFY(child<QPushButton>(dialog, "import")->isEnabled());
        dialog.selectSlot(2);
        for (const char* name :
             {"createFrom", "edit", "rename", "delete", "view", "print", "export"})
            QVERIFY2(child<QPushButton>(dialog, name)->isEnabled(), name);
    }

    void renameTakes39Characters() {
        TitleBlocksDialog dialog(*m_folder, m_sink, m_margins, hooks());
        dialog.selectSlot(1);
        whenModal(this, [](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Переименование штампа"));
            w->findChild<QLineEdit*>(QStringLiteral("newName"))->setText(QString(50, QChar(u'Ж')));
            QTest::mouseClick(buttonWithText(w, QStringLiteral("Переименовать")), Qt::LeftButton);
        });
        dialog.rename();
        QCOMPARE(ReadTitleBlockList(*m_folder)->entries[1].name.utf8(),
                 QString(39, QChar(u'Ж')).toStdString());
        QCOMPARE(dialog.selectedSlot(), 1);
    }

    void deleteKeepsOrRemovesTheFile() {
        TitleBlocksDialog dialog(*m_folder, m_sink, m_margins, hooks());
        dialog.selectSlot(1);
        whenModal(this, [](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Удаление штампа"));
            auto* box = w->findChild<QCheckBox*>(QStringLiteral("physically"));
            QVERIFY(box->isChecked()); // ticked by default
            box->setChecked(false);
            QTest::mouseClick(buttonWithText(w, QStringLiteral("Да")), Qt::LeftButton);
        });
        dialog.remove();
        QVERIFY(std::filesystem::exists(m_dir->path() / "DATA/DIC/00001.SHT"));
        QCOMPARE(ReadTitleBlockList(*m_folder)->entries[1].used, std::int16_t{0});
        QCOMPARE(dialog.selectedSlot(), 0); // the first entry selected
        dialog.selectSlot(2);
        whenModal(this, [](QWidget* w) {
            QTest::mouseClick(buttonWithText(w, QStringLiteral("Да")), Qt::LeftButton);
        });
        dialog.remove();
        QVERIFY(!std::filesystem::exists(m_dir->path() / "DATA/DIC/00002.SHT"));
        QCOMPARE(child<QListWidget>(dialog, "list")->count(), 1);
    }

    void viewFitsTheBlock() {
        TitleBlocksDialog dialog(*m_folder, m_sink, m_margins, hooks());
        dialog.selectSlot(1);
        QImage shot;
        whenModal(this, [&shot](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Просмотр штампа - Первый"));
            QWidget* view = w->findChild<QWidget*>(QStringLiteral("view"));
            shot = view->grab().toImage();
            w->close();
        });
        dialog.view();
        QVERIFY(!shot.isNull());
        // Something dark was drawn, inside the 5% margins.
        int dark = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (qGray(shot.pixel(x, y)) < 128) {
                    ++dark;
                    QVERIFY(x >= shot.width() * 0.04 && x <= shot.width() * 0.96);
                }
        QVERIFY(dark > 100);
    }

    void testPrintToPdfRemembersMargins() {
        TitleBlocksDialog dialog(*m_folder, m_sink, m_margins, hooks());
        dialog.selectSlot(1);
        whenModal(this, [](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Печать штампа - Первый"));
            QCOMPARE(w->findChild<QSpinBox*>(QStringLiteral("top"))->value(), 15);
            w->findChild<QSpinBox*>(QStringLiteral("left"))->setValue(20);
            QTest::mouseClick(w->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        });
        dialog.print();
        const auto pdf = m_dir->path() / "print.pdf";
        QVERIFY(std::filesystem::exists(pdf));
        QVERIFY(std::filesystem::file_size(pdf) > 500);
        QCOMPARE(m_margins.left, 20);
        QCOMPARE(m_margins.top, 15);
    }

    void testPrintPlacesTheExtentAtTheMargins_data() {
        QTest::addColumn<int>("x0");
        QTest::addColumn<int>("y0");
        QTest::addColumn<int>("dpiX");
        QTest::addColumn<int>("dpiY");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::newRow("from 0,0") << 0 << 0 << 100 << 100 << 15 << 15;
        // The editor allows elements 300 mm either side of its centre.
        QTest::newRow("left of and below 0,0") << -500 << -275 << 100 << 100 << 15 << 15;
        QTest::newRow("right of and above 0,0") << 300 << 120 << 100 << 100 << 15 << 15;
        QTest::newRow("taller dots") << -500 << -275 << 100 << 150 << 20 << 10;
    }

    void testPrintPlacesTheExtentAtTheMargins() {
        QFETCH(int, x0);
        QFETCH(int, y0);
        QFETCH(int, dpiX);
        QFETCH(int, dpiY);
        QFETCH(int, left);
        QFETCH(int, top);
        // A 180 x 100 mm page.
        QImage page(qRound(180 * dpiX / 25.4), qRound(100 * dpiY / 25.4), QImage::Format_RGB32);
        page.setDotsPerMeterX(qRound(dpiX / 0.0254));
        page.setDotsPerMeterY(qRound(dpiY / 0.0254));
        page.fill(Qt::white);
        paintTitleBlock(page, frame(x0, y0), left, top);
        // The frame's corners at the margins, 120 x 57.5 mm, to a pixel and the pen's half.
        const QRect ink = inkBounds(page);
        const auto near = [](int px, double mm, int dpi) {
            return std::abs(px - mm * dpi / 25.4) <= 2;
        };
        const QString got = QStringLiteral("ink %1,%2 .. %3,%4")
                                .arg(ink.left())
                                .arg(ink.top())
                                .arg(ink.right())
                                .arg(ink.bottom());
        QVERIFY2(near(ink.left(), left, dpiX), qPrintable(got));
        QVERIFY2(near(ink.top(), top, dpiY), qPrintable(got));
        QVERIFY2(near(ink.right(), left + 120, dpiX), qPrintable(got));
        QVERIFY2(near(ink.bottom(), top + 57.5, dpiY), qPrintable(got));
    }

    void exportThenImportAsNewAndOverwrite() {
        TitleBlocksDialog dialog(*m_folder, m_sink, m_margins, hooks());
        dialog.selectSlot(2);
        dialog.exportSelected();
        const auto bytes = test::readBytes(m_file);
        QCOMPARE(std::string(bytes.begin(), bytes.begin() + 14), std::string("ORVO-II Shtamp"));
        // Same name exists: the warning; "Отмена импорта" changes nothing.
        const auto listBefore = test::readBytes(m_dir->path() / "DATA/DIC/shtamp.sps");
        whenModal(this, [](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Импорт штампа - предупреждение"));
            QTest::mouseClick(buttonWithText(w, QStringLiteral("Отмена импорта")), Qt::LeftButton);
        });
        dialog.importFile();
        QCOMPARE(test::readBytes(m_dir->path() / "DATA/DIC/shtamp.sps"), listBefore);
        // "Перезаписать" replaces slot 2 in place.
        whenModal(this, [](QWidget* w) {
            QTest::mouseClick(buttonWithText(w, QStringLiteral("Перезаписать")), Qt::LeftButton);
        });
        dialog.importFile();
        QCOMPARE(ReadTitleBlockList(*m_folder)->entries.size(), 3u);
        QCOMPARE(dialog.selectedSlot(), 2);
        // Under a new name it is appended.
        QVERIFY(RenameTitleBlock(*m_folder, 2, "Переименованный"));
        dialog.importFile();
        QCOMPARE(ReadTitleBlockList(*m_folder)->entries.size(), 4u);
        QCOMPARE(dialog.selectedSlot(), 3);
        QCOMPARE(test::readBytes(m_dir->path() / "DATA/DIC/00003.SHT"),
                 test::readBytes(m_dir->path() / "DATA/DIC/00002.SHT"));
    }

    void damagedExchangeFileIsRefused() {
        std::ofstream(m_file, std::ios::binary) << "ORVO-II Shtamp" << std::string(10, '\0');
        const auto listBefore = test::readBytes(m_dir->path() / "DATA/DIC/shtamp.sps");
        TitleBlocksDialog dialog(*m_folder, m_sink, m_margins, hooks());
        dialog.importFile();
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].text, std::string("Неверный формат файла"));
        QCOMPARE(m_sink.entries()[0].caption, std::string("ОШИБКА"));
        QCOMPARE(test::readBytes(m_dir->path() / "DATA/DIC/shtamp.sps"), listBefore);
    }
};

QTEST_MAIN(TitleBlockDialogsTest)
#include "title_block_dialogs_test.moc"
