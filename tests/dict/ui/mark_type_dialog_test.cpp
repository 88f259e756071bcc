// The groundwater / sample types dialog: captions and states, new, rename, delete, symbol.
#include "dict/mark_type.h"
#include "dict/symbol.h"
#include "dict/ui/mark_type_dialog.h"
#include "store/le_stream.h"
#include "store/records.h"
#include "support/gui.h"
#include "support/temp_dir.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace orvo;
using namespace orvo::dict;
using namespace orvo::dict::ui;

using orvo::test::child;
using orvo::test::click;
using orvo::test::countPixels;
using orvo::test::shown;
using orvo::test::texts;

class MarkTypeDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    platform::RecordingMessageSink m_sink;

    store::Bytes bytes(const char* rel) { return test::readBytes(m_dir->path() / rel); }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        std::filesystem::create_directories(m_dir->path() / "DATA/DIC");
        m_folder = std::make_unique<platform::WorkFolder>(m_dir->path());
        m_sink = {};
        for (auto which : {MarkList::Groundwater, MarkList::Samples}) {
            QVERIFY(SaveNewMarkType(*m_folder, which, "Нет", 0));
            QVERIFY(SaveNewMarkType(*m_folder, which, "Уровень", 3));
        }
    }

    void markTypesCaptionAndStates() {
        MarkTypesDialog water(*m_folder, m_sink, MarkList::Groundwater, [](int) { return -1; });
        QCOMPARE(water.windowTitle(), QStringLiteral("Подземные воды"));
        MarkTypesDialog d(*m_folder, m_sink, MarkList::Samples, [](int) { return -1; });
        QCOMPARE(d.windowTitle(), QStringLiteral("Отборы проб"));
        QCOMPARE(texts(child<QListWidget>(d, "list")), (QStringList{"Нет", "Уровень"}));
        for (const char* name : {"name", "save", "cancel"})
            QVERIFY2(child<QWidget>(d, name)->isHidden(), name);
        d.selectSlot(0);
        for (const char* name : {"rename", "delete", "symbol"})
            QVERIFY2(!child<QPushButton>(d, name)->isEnabled(), name);
        d.selectSlot(1);
        QCOMPARE(d.workingRecord().symbol, 3);
        for (const char* name : {"rename", "delete", "symbol", "new", "exit"})
            QVERIFY2(child<QPushButton>(d, name)->isEnabled(), name);
    }

    void markTypeNewWithEmptyNameAndRename() {
        MarkTypesDialog d(*m_folder, m_sink, MarkList::Samples, [](int) { return -1; });
        QVERIFY(shown(d));
        d.selectSlot(1);
        click(d, "new");
        QVERIFY(d.editing());
        for (const char* name : {"list", "new", "rename", "delete", "symbol", "exit"})
            QVERIFY2(!child<QWidget>(d, name)->isEnabled(), name);
        QVERIFY(!child<QWidget>(d, "name")->isHidden());
        QCOMPARE(child<QLineEdit>(d, "name")->text(), QString());
        click(d, "save");
        QVERIFY(!d.editing());
        QCOMPARE(d.selectedSlot(), 2);
        const auto rec = *ReadMarkType(*m_folder, MarkList::Samples, 2);
        QCOMPARE(rec.used, 1);
        QCOMPARE(rec.symbol, 0);
        QCOMPARE(std::string(rec.name.raw.begin(), rec.name.raw.end()), std::string(30, ' '));

        d.selectSlot(1);
        click(d, "rename");
        QCOMPARE(child<QLineEdit>(d, "name")->text(), QStringLiteral("Уровень"));
        child<QLineEdit>(d, "name")->setText(QStringLiteral("Установившийся"));
        click(d, "save");
        QCOMPARE(ReadMarkType(*m_folder, MarkList::Samples, 1)->name.utf8Trimmed(),
                 std::string("Установившийся"));
        QCOMPARE(ReadMarkType(*m_folder, MarkList::Samples, 1)->symbol, 3);
        QCOMPARE(ReadMarkTypeList(*m_folder, MarkList::Samples)->size(), 3u);
        // "Отмена" writes nothing.
        const auto before = bytes("DATA/DIC/TipOP.SPS");
        click(d, "rename");
        child<QLineEdit>(d, "name")->setText(QStringLiteral("Другое"));
        click(d, "cancel");
        QVERIFY(!d.editing());
        QCOMPARE(bytes("DATA/DIC/TipOP.SPS"), before);
    }

    void markTypeSymbolAndDelete() {
        int asked = -5;
        int answer = -1;
        MarkTypesDialog d(*m_folder, m_sink, MarkList::Groundwater, [&](int current) {
            asked = current;
            return answer;
        });
        d.selectSlot(1);
        const auto before = bytes("DATA/DIC/TipPV.SPS");
        click(d, "symbol");
        QCOMPARE(asked, 3);
        QCOMPARE(bytes("DATA/DIC/TipPV.SPS"), before); // cancelled: unchanged
        answer = 7;
        click(d, "symbol");
        QCOMPARE(ReadMarkType(*m_folder, MarkList::Groundwater, 1)->symbol, 7);
        QCOMPARE(d.workingRecord().symbol, 7);

        m_sink.queueAnswer(platform::Answer::Yes);
        click(d, "delete");
        QCOMPARE(m_sink.entries().at(0).text, std::string("Вы действительно хотите удалить ?"));
        QCOMPARE(m_sink.entries().at(0).caption, std::string("Удаление"));
        QCOMPARE(ReadMarkTypeList(*m_folder, MarkList::Groundwater)->size(), 2u);
        QCOMPARE(ReadMarkType(*m_folder, MarkList::Groundwater, 1)->used, 0);
        QCOMPARE(texts(child<QListWidget>(d, "list")), QStringList{"Нет"});
        QCOMPARE(d.selectedSlot(), 0);
    }

    void markTypeSymbolFittedAndCentred() {
        // A library with slot 0 and one black square 10 x 10 mm.
        SymbolListRecord square;
        square.used = 1;
        square.name.setUtf8("Квадрат");
        square.height = 1000;
        square.width = 1000;
        square.elementCount = 1;
        store::Bytes list = store::recordBytes(SymbolListRecord{});
        const store::Bytes second = store::recordBytes(square);
        list.insert(list.end(), second.begin(), second.end());
        test::writeBytes(m_dir->path() / "DATA/DIC/Symbols.SPS", list);
        store::Bytes item;
        store::LeWriter iw(item);
        for (int v : {2, 0, 2, 2, 2, 0, 0, 1000, 1000})
            iw.i32(v); // rectangle, pen 0, black outline and fill, two corners
        test::writeBytes(m_dir->path() / "DATA/DIC/000001.SYM", item);
        QVERIFY(SetMarkTypeSymbol(*m_folder, MarkList::Samples, 1, 1));

        MarkTypesDialog d(*m_folder, m_sink, MarkList::Samples, [](int) { return -1; });
        QVERIFY(shown(d));
        d.selectSlot(1);
        auto* view = child<QWidget>(d, "symbolView");
        const QImage img = view->grab().toImage();
        int minX = img.width(), maxX = -1, minY = img.height(), maxY = -1;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 60) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    minY = std::min(minY, y);
                    maxY = std::max(maxY, y);
                }
        QVERIFY(maxX > minX);
        const SymbolFrame area = markSymbolArea({0, 0, img.width(), img.height()});
        QVERIFY(minX >= area.left && maxX < area.right + 1);
        QVERIFY(minY >= area.top && maxY < area.bottom + 1);
        // Square, filling the smaller side, centred on the other.
        const int side = std::min(area.right - area.left, area.bottom - area.top);
        QVERIFY(std::abs((maxX - minX) - side) <= 2);
        QVERIFY(std::abs((maxY - minY) - side) <= 2);
        QVERIFY(std::abs((minX + maxX) - (area.left + area.right)) <= 2);
        QVERIFY(std::abs((minY + maxY) - (area.top + area.bottom)) <= 2);
        // Slot 0 shows only the light fill.
        d.selectSlot(0);
        QCOMPARE(countPixels(view->grab().toImage(), [](QRgb p) { return qGray(p) < 60; }), 0);
    }
};

QTEST_MAIN(MarkTypeDialogTest)
#include "mark_type_dialog_test.moc"
