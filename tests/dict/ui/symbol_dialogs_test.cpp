// The symbol library (managing and picking, delete, export and import) and the symbol editor.
#include "dict/symbol.h"
#include "dict/ui/symbol_dialogs.h"
#include "support/modal.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace orvo;
using namespace orvo::dict;
using namespace orvo::dict::ui;

using orvo::test::buttonWithText;
using orvo::test::whenModal;

namespace {

template <class W> W* child(QWidget* w, const char* name) {
    return w->findChild<W*>(QString::fromLatin1(name));
}

void type(QWidget* dialog, const char* field, const char* text) {
    auto* edit = child<QLineEdit>(dialog, field);
    QVERIFY2(edit && edit->isEnabled(), field);
    edit->clear();
    QTest::keyClicks(edit, QString::fromUtf8(text));
    QTest::keyClick(edit, Qt::Key_Return);
}

QStringList texts(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Counts matching pixels, leaving out `bottom` rows (where the preview keeps its check box).
int pixels(QWidget* w, const std::function<bool(QRgb)>& match, int bottom = 0) {
    const QImage shot = w->grab(QRect(0, 0, w->width(), w->height() - bottom)).toImage();
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            n += match(shot.pixel(x, y)) ? 1 : 0;
    return n;
}

bool dark(QRgb c) {
    return qGray(c) < 60;
}

} // namespace

class SymbolDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    platform::RecordingMessageSink m_sink;
    std::filesystem::path m_file;
    int m_block = 0; // a black square, 3 x 3 mm
    int m_mark = 0;  // a triangle

    SymbolDialogHooks hooks() {
        SymbolDialogHooks h;
        h.chooseFile = [this](bool) { return std::optional<std::filesystem::path>(m_file); };
        return h;
    }
    store::Bytes dicFile(const std::string& name) const {
        return test::readBytes(m_dir->path() / "DATA/DIC" / name);
    }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        std::filesystem::create_directories(m_dir->path() / "DATA/DIC");
        m_folder = std::make_unique<platform::WorkFolder>(m_dir->path());
        m_sink.clear();
        m_file = m_dir->path() / "exchange.OTS";
        QCOMPARE(*SaveNewSymbol(*m_folder, "", {}), 0);
        m_mark =
            *SaveNewSymbol(*m_folder, "Уровень",
                           {{kSymbolPolygon, 20, 2, 2, {{0, 0}, {400, 0}, {200, 300}, {0, 0}}}});
        m_block = *SaveNewSymbol(*m_folder, "Монолит",
                                 {{kSymbolRectangle, 0, 2, 2, {{0, 0}, {300, 300}}}});
    }

    void managingListsSortedAndSlotZeroIsInert() {
        SymbolLibraryDialog dialog(*m_folder, m_sink, SymbolLibraryDialog::Mode::Managing, m_mark,
                                   hooks());
        dialog.resize(700, 400);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(texts(child<QListWidget>(&dialog, "list")),
                 QStringList({"", "Монолит", "Уровень"}));
        QVERIFY(child<QPushButton>(&dialog, "replace")->isHidden());
        QCOMPARE(child<QPushButton>(&dialog, "cancel")->text(), QStringLiteral("Выход"));
        QCOMPARE(dialog.selectedSlot(), 0); // managing opens on the first entry
        for (const char* name : {"edit", "delete", "export"})
            QVERIFY2(!child<QPushButton>(&dialog, name)->isEnabled(), name);
        QCOMPARE(child<QLabel>(&dialog, "height")->text(), QStringLiteral("- высота"));
        auto* preview = child<QWidget>(&dialog, "preview");
        QCOMPARE(pixels(preview, dark, 20), 0);

        dialog.selectSlot(m_block);
        for (const char* name : {"edit", "delete", "export"})
            QVERIFY2(child<QPushButton>(&dialog, name)->isEnabled(), name);
        QCOMPARE(child<QLabel>(&dialog, "height")->text(), QStringLiteral("- высота 3.00 мм"));
        QCOMPARE(child<QLabel>(&dialog, "width")->text(), QStringLiteral("- ширина 3.00 мм"));
        const int fitted = pixels(preview, dark, 20);
        QVERIFY(fitted > 100 * 100);
        child<QCheckBox>(&dialog, "natural")->setChecked(true);
        const int natural = pixels(preview, dark, 20); // 3 mm at the screen's resolution
        QVERIFY(natural > 0 && natural < fitted / 4);
    }

    void pickingReturnsTheChosenIndexOrMinusOne() {
        whenModal(this, [this](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Библиотека значков"));
            auto* picker = static_cast<SymbolLibraryDialog*>(w);
            QCOMPARE(picker->selectedSlot(), m_mark); // opened on the current symbol
            QCOMPARE(child<QPushButton>(w, "cancel")->text(), QStringLiteral("Отмена"));
            picker->selectSlot(m_block);
            QTest::mouseClick(child<QPushButton>(w, "replace"), Qt::LeftButton);
        });
        QCOMPARE(PickSymbol(*m_folder, m_sink, m_mark), m_block);
        whenModal(this, [](QWidget* w) {
            QTest::mouseClick(child<QPushButton>(w, "cancel"), Qt::LeftButton);
        });
        QCOMPARE(PickSymbol(*m_folder, m_sink, m_mark), -1);
    }

    void deleteAsksAndKeepsTheItemFile() {
        SymbolLibraryDialog dialog(*m_folder, m_sink, SymbolLibraryDialog::Mode::Managing, -1,
                                   hooks());
        dialog.selectSlot(m_block);
        const auto before = dicFile("Symbols.SPS");
        dialog.remove(); // answered No
        QCOMPARE(dicFile("Symbols.SPS"), before);
        QCOMPARE(m_sink.entries().at(0).caption, std::string("Удаление"));
        QCOMPARE(m_sink.entries().at(0).text,
                 std::string("Вы действительно хотите удалить значок?"));
        m_sink.queueAnswer(platform::Answer::Yes);
        dialog.remove();
        QCOMPARE(ReadSymbolList(*m_folder)->at(static_cast<std::size_t>(m_block)).used, 0);
        QVERIFY(std::filesystem::exists(m_dir->path() / "DATA/DIC/000002.SYM"));
        QCOMPARE(texts(child<QListWidget>(&dialog, "list")), QStringList({"", "Уровень"}));
        QCOMPARE(dialog.selectedSlot(), 0);
    }

    void createRunsTheEditorAndSelectsTheNewSymbol() {
        SymbolLibraryDialog dialog(*m_folder, m_sink, SymbolLibraryDialog::Mode::Managing, -1,
                                   hooks());
        whenModal(this, [](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Редактирование значка - Новый"));
            child<QLineEdit>(w, "name")->setText(QStringLiteral("Черта"));
            QTest::mouseClick(child<QPushButton>(w, "addElement"), Qt::LeftButton);
            type(w, "x2", "4");
            QTest::mouseClick(child<QPushButton>(w, "save"), Qt::LeftButton);
        });
        dialog.create();
        QCOMPARE(dialog.selectedSlot(), 3);
        QCOMPARE(child<QLabel>(&dialog, "width")->text(), QStringLiteral("- ширина 4.00 мм"));
        QCOMPARE(child<QLabel>(&dialog, "height")->text(), QStringLiteral("- высота 0.00 мм"));
    }

    void exportImportAndRefusals() {
        SymbolLibraryDialog dialog(*m_folder, m_sink, SymbolLibraryDialog::Mode::Managing, -1,
                                   hooks());
        dialog.selectSlot(m_mark);
        dialog.exportSelected();
        const auto exported = test::readBytes(m_file);
        QCOMPARE(exported, *ExportSymbolBytes(*m_folder, m_mark));

        // The same name exists: the warning on screen; "Отменить импорт" changes nothing.
        const auto listBefore = dicFile("Symbols.SPS");
        whenModal(this, [](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Импорт значка. Предупреждение"));
            QCOMPARE(child<QLabel>(w, "name")->text(), QStringLiteral("Уровень"));
            QTest::mouseClick(buttonWithText(w, QStringLiteral("Отменить импорт")), Qt::LeftButton);
        });
        dialog.importFile();
        QCOMPARE(dicFile("Symbols.SPS"), listBefore);
        whenModal(this, [](QWidget* w) {
            QTest::mouseClick(buttonWithText(w, QStringLiteral("Перезаписать")), Qt::LeftButton);
        });
        dialog.selectSlot(0);
        dialog.importFile();
        QCOMPARE(dialog.selectedSlot(), m_mark);
        QCOMPARE(dicFile("Symbols.SPS"), listBefore);

        // A count the record does not agree with: refused, nothing written.
        auto damaged = exported;
        damaged[14 + 50] = 2;
        test::writeBytes(m_file, damaged);
        const auto itemBefore = dicFile("000001.SYM");
        dialog.importFile();
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].text, std::string("Неверный формат файла"));
        QCOMPARE(m_sink.entries()[0].caption, std::string("ОШИБКА"));
        QCOMPARE(m_sink.entries()[0].icon, platform::Icon::Error);
        QCOMPARE(dicFile("Symbols.SPS"), listBefore);
        QCOMPARE(dicFile("000001.SYM"), itemBefore);
        QVERIFY(!std::filesystem::exists(m_dir->path() / "DATA/DIC/000003.SYM"));
    }

    void editorBuildsSavesAndReorders() {
        SymbolEdit edit = SymbolEdit::New();
        SymbolEditorDialog d(edit, *m_folder, m_sink,
                             [](const std::string&) { return DuplicateChoice::Leave; });
        d.resize(900, 600);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QTest::mouseClick(child<QPushButton>(&d, "addElement"), Qt::LeftButton);
        QCOMPARE(texts(child<QListWidget>(&d, "elements")), QStringList({"001 Отрезок"}));
        QVERIFY(!child<QLineEdit>(&d, "x3")->isEnabled());
        QVERIFY(!child<QToolButton>(&d, "brushBlack")->isEnabled());
        QVERIFY(child<QToolButton>(&d, "penBlack")->isChecked());
        type(&d, "x2", "25");
        type(&d, "y1", "-3");
        type(&d, "y2", "1.234");
        QCOMPARE(child<QLineEdit>(&d, "x2")->text(), QStringLiteral("20.00"));
        QCOMPARE(child<QLineEdit>(&d, "y1")->text(), QStringLiteral("0.00"));
        QCOMPARE(child<QLineEdit>(&d, "y2")->text(), QStringLiteral("1.23"));

        // A closed polygon, point by point in the current point's fields.
        child<QListWidget>(&d, "types")->setCurrentRow(kSymbolPolygon);
        QVERIFY(!child<QPushButton>(&d, "removeElement")->isEnabled());
        QTest::mouseClick(child<QPushButton>(&d, "addElement"), Qt::LeftButton);
        QVERIFY(!child<QPushButton>(&d, "removePoint")->isEnabled());
        const char* points[][2] = {{"1", "1"}, {"5", "1"}, {"3", "4"}, {"1", "1"}};
        for (std::size_t i = 0; i < 4; ++i) {
            if (i > 0)
                QTest::mouseClick(child<QPushButton>(&d, "addPoint"), Qt::LeftButton);
            type(&d, "x1", points[i][0]);
            type(&d, "y1", points[i][1]);
        }
        QCOMPARE(texts(child<QListWidget>(&d, "points")).back(), QStringLiteral("Точка 004"));
        QVERIFY(!child<QLineEdit>(&d, "x2")->isEnabled());
        QVERIFY(pixels(child<QWidget>(&d, "picture"), [](QRgb c) {
                    return qRed(c) > 200 && qGreen(c) < 60;
                }) > 0); // the current element is outlined in red

        auto* order = child<QListWidget>(&d, "order");
        QCOMPARE(texts(order), QStringList({"Отрезок 1 ", "Полигон 1 "}));
        order->setCurrentRow(1);
        QTest::mouseClick(child<QPushButton>(&d, "up"), Qt::LeftButton);
        QCOMPARE(texts(order), QStringList({"Полигон 1 ", "Отрезок 1 "}));
        order->setCurrentRow(1); // choosing in the order makes that element current
        QCOMPARE(d.current()->type, int(kSymbolSegment));
        QCOMPARE(child<QListWidget>(&d, "types")->currentRow(), int(kSymbolSegment));
        // The transparent view drops the polygon's black fill.
        auto* picture = child<QWidget>(&d, "picture");
        const int filled = pixels(picture, dark);
        child<QCheckBox>(&d, "transparent")->setChecked(true);
        const int outlined = pixels(picture, dark);
        QVERIFY2(outlined < filled - 300, qPrintable(QString("%1 %2").arg(filled).arg(outlined)));
        child<QCheckBox>(&d, "transparent")->setChecked(false);

        child<QLineEdit>(&d, "name")->setText(QStringLiteral("Знак"));
        QCOMPARE(d.windowTitle(), QStringLiteral("Редактирование значка - Знак"));
        d.save();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.savedSlot(), 3);
        const auto saved = SymbolEdit::Load(*m_folder, 3)->inDrawingOrder();
        QCOMPARE(saved.size(), 2u);
        QCOMPARE(saved[0].points,
                 (std::vector<SymbolPoint>{{100, 100}, {500, 100}, {300, 400}, {100, 100}}));
        QCOMPARE(saved[1].points, (std::vector<SymbolPoint>{{0, 0}, {2000, 123}}));
    }

    void removingRenumbersAndDuplicateNamesAsk() {
        SymbolEdit edit = *SymbolEdit::Load(*m_folder, m_mark);
        SymbolEditorDialog d(edit, *m_folder, m_sink, [](const std::string& name) {
            return askSaveDuplicateOnScreen(name, nullptr);
        });
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(child<QPushButton>(&d, "addElement"), Qt::LeftButton);
        child<QListWidget>(&d, "elements")->setCurrentRow(1);
        QTest::mouseClick(child<QPushButton>(&d, "removeElement"), Qt::LeftButton);
        QCOMPARE(texts(child<QListWidget>(&d, "elements")),
                 QStringList({"001 Полигон", "002 Полигон", "003 Полигон"}));
        QCOMPARE(texts(child<QListWidget>(&d, "order")),
                 QStringList({"Полигон 1 ", "Полигон 2 ", "Полигон 3 "}));

        child<QLineEdit>(&d, "name")->setText(QStringLiteral("Монолит"));
        const auto listBefore = dicFile("Symbols.SPS");
        whenModal(this, [](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Предупреждение"));
            QTest::mouseClick(buttonWithText(w, QStringLiteral("Продолжить редактирование")),
                              Qt::LeftButton);
        });
        d.save();
        QCOMPARE(d.savedSlot(), 0); // still editing, nothing written
        QCOMPARE(dicFile("Symbols.SPS"), listBefore);
        whenModal(this, [](QWidget* w) {
            QTest::mouseClick(buttonWithText(w, QStringLiteral("Перезаписать")), Qt::LeftButton);
        });
        d.save();
        QCOMPARE(d.savedSlot(), m_block);
        QCOMPARE(ReadSymbolList(*m_folder)->at(static_cast<std::size_t>(m_block)).elementCount, 3);
        QCOMPARE(ReadSymbolList(*m_folder)->at(static_cast<std::size_t>(m_mark)).elementCount, 1);
    }

    void helpStartsAtTheCurrentType() {
        SymbolHelpDialog help(kSymbolArc);
        QCOMPARE(help.windowTitle(), QStringLiteral("Помощь - Редактирование значков"));
        QCOMPARE(child<QLabel>(&help, "title")->text(), QStringLiteral("Дуга элипсa"));
        QVERIFY(pixels(child<QWidget>(&help, "sketch"), dark) > 100);
        QTest::mouseClick(child<QPushButton>(&help, "next"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(&help, "next"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(&help, "next"), Qt::LeftButton);
        QCOMPARE(child<QLabel>(&help, "title")->text(), QStringLiteral("Общие указания"));
        QVERIFY(!child<QPushButton>(&help, "next")->isEnabled());
        QVERIFY(child<QLabel>(&help, "lines")
                    ->text()
                    .startsWith(QStringLiteral("- Координаты задаются в мм\n")));
        for (int i = 0; i < 10; ++i)
            help.turn(-1);
        QCOMPARE(child<QLabel>(&help, "title")->text(), QStringLiteral("Отрезок"));
        QVERIFY(!child<QPushButton>(&help, "prev")->isEnabled());
    }
};

QTEST_MAIN(SymbolDialogsTest)
#include "symbol_dialogs_test.moc"
