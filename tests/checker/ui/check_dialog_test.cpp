// The checker dialog on the faulty database: caption, lists and marks, labels, progress, the
// messages and the repair. ORVO_CHECK_SCREENSHOT names a PNG to save the dialog to.
#include "checker/faulty_database.h"
#include "checker/ui/check_dialog.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace orvo;
using namespace orvo::checker::ui;

namespace {

// Each line of a list as "marks|text": W warning, R working object, O ok.
QStringList lines(const QListWidget* list, bool objects) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        const auto* item = list->item(i);
        QString marks = item->data(kFaultyRole).toBool() ? "W" : (objects ? "" : "O");
        if (objects && item->data(kWorkingRole).toBool())
            marks += "R";
        out << marks + "|" + item->text();
    }
    return out;
}

} // namespace

class CheckDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    platform::RecordingMessageSink m_sink;

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        test::buildFaultyDatabase(m_dir->path());
        m_folder = std::make_unique<platform::WorkFolder>(m_dir->path());
        m_sink.clear();
    }

    void showsTheScanAndRepairsTheLists() {
        CheckDialog dialog(*m_folder, m_sink);
        QCOMPARE(dialog.windowTitle(), QString("Orvo V2.0  Проверка Базы Данных "));
        QVERIFY(!dialog.fixButton()->isEnabled());
        dialog.show();
        dialog.scan();

        QCOMPARE(dialog.progress()->maximum(), 9);
        QCOMPARE(dialog.progress()->value(), 9);
        QCOMPARE(lines(dialog.objectList(), true),
                 QStringList({"R|Сквозной", "WR|Чужие номера", "R|Имена", "WR|Без списка",
                              "WR|*** Объект не обнаружен ***", "WR|*** Объект не обнаружен ***",
                              "|Архив", "WR|*** Объект не обнаружен ***", "WR|Пустой список"}));
        QCOMPARE(m_sink.entries().size(), std::size_t(1));
        QCOMPARE(m_sink.entries()[0].caption, std::string("Loading..."));
        QCOMPARE(m_sink.entries()[0].text, std::string("Обнаружено ошибок: 6 шт"));
        QVERIFY(dialog.fixButton()->isEnabled());

        // The first object is selected with its first borehole.
        QCOMPARE(dialog.objectList()->currentRow(), 0);
        QCOMPARE(dialog.objectLabel()->text(), QString("Объект: DATA\\00001.OBJ\\OBJ.TIT"));
        QCOMPARE(dialog.boreholeLabel()->text(),
                 QString("Выработка: DATA\\00001.OBJ\\00000001.skv"));
        QCOMPARE(lines(dialog.boreholeList(), false), QStringList({"O|Скв-1", "O|Скв-2"}));

        struct Selection {
            int object;
            int borehole;
            QString objectText;
            QString boreholeText;
            QStringList boreholes;
        };
        const Selection selections[] = {
            {1,
             2,
             "Объект: DATA\\00002.OBJ\\OBJ.TIT - ошибка списка выработок ***",
             "Выработка: DATA\\00002.OBJ\\00000012.skv - нет в списке ***",
             {"W|Ш-10", "W|Ш-11", "W|Ш-12"}},
            {2,
             1,
             "Объект: DATA\\00003.OBJ\\OBJ.TIT",
             "Выработка: DATA\\00003.OBJ\\12345678.skv",
             {"O|00000003.SKV", "O|Длинная"}},
            {4, -1, "Объект: DATA\\00005.OBJ\\OBJ.TIT - нет титула ***", "", {}},
        };
        for (const auto& s : selections) {
            dialog.objectList()->setCurrentRow(s.object);
            if (s.borehole >= 0)
                dialog.boreholeList()->setCurrentRow(s.borehole);
            QCOMPARE(dialog.objectLabel()->text(), s.objectText);
            QCOMPARE(dialog.boreholeLabel()->text(), s.boreholeText);
            QCOMPARE(lines(dialog.boreholeList(), false), s.boreholes);
        }
        dialog.objectList()->setCurrentRow(1);
        if (const QString shot = qEnvironmentVariable("ORVO_CHECK_SCREENSHOT"); !shot.isEmpty())
            QVERIFY(dialog.grab().save(shot));

        m_sink.clear();
        QTest::mouseClick(dialog.fixButton(), Qt::LeftButton);
        // Only missing titles remain: the rescan says so, and there is nothing left to repair.
        QVERIFY(!dialog.fixButton()->isEnabled());
        QCOMPARE(m_sink.entries().size(), std::size_t(1));
        QCOMPARE(m_sink.entries()[0].text, std::string("Обнаружено ошибок: 3 шт"));
        QCOMPARE(lines(dialog.objectList(), true).mid(1, 3),
                 QStringList({"R|Чужие номера", "R|Имена", "R|Без списка"}));
        QCOMPARE(dialog.objectList()->currentRow(), 0);
    }

    void missingObjectListLeavesTheListsEmpty() {
        std::filesystem::remove(m_dir->path() / "DATA/OBJ.SPS");
        CheckDialog dialog(*m_folder, m_sink);
        dialog.scan();
        QCOMPARE(m_sink.entries().size(), std::size_t(1));
        QCOMPARE(m_sink.entries()[0].caption, std::string("Ошибка"));
        QCOMPARE(m_sink.entries()[0].text, std::string("Не обнаружен список объектов"));
        QCOMPARE(dialog.objectList()->count(), 0);
        QCOMPARE(dialog.boreholeList()->count(), 0);
        QVERIFY(!dialog.fixButton()->isEnabled());
    }

    void soundDatabaseSaysNothing() {
        std::filesystem::remove_all(m_dir->path() / "DATA");
        test::DbBuilder db(m_dir->path());
        db.object(1, "Целый");
        db.borehole(1, 7, "С-7");
        CheckDialog dialog(*m_folder, m_sink);
        dialog.scan();
        QVERIFY(m_sink.empty());
        QVERIFY(!dialog.fixButton()->isEnabled());
        QCOMPARE(lines(dialog.boreholeList(), false), QStringList({"O|С-7"}));
    }
};

QTEST_MAIN(CheckDialogTest)
#include "check_dialog_test.moc"
