// The borehole types dialog driven by clicks: list mode, edit mode, record 0.
#include "borehole/borehole_types.h"
#include "borehole/ui/borehole_types_dialog.h"
#include "support/temp_dir.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace orvo;
using namespace orvo::borehole;
using namespace orvo::borehole::ui;

class BoreholeTypesDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    platform::RecordingMessageSink m_sink;

    void add(const char* name, std::int32_t column) {
        BoreholeType t;
        t.name.setUtf8(name);
        t.columnWidth = column;
        t.lineWidth = 3;
        t.shownOnSection = 1;
        QVERIFY(AddBoreholeType(*m_folder, t));
    }
    template <class W> static W* child(QDialog& d, const char* name) {
        return d.findChild<W*>(QString::fromLatin1(name));
    }
    static void click(QDialog& d, const char* name) {
        QTest::mouseClick(child<QPushButton>(d, name), Qt::LeftButton);
    }
    static QStringList texts(QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        std::filesystem::create_directories(m_dir->path() / "DATA/DIC");
        m_folder = std::make_unique<platform::WorkFolder>(m_dir->path());
        add("- нет -", 60);
        add("Шурф", 80);
        add("Скважина", 60);
    }

    void listIsSortedAndRecordZeroIsLocked() {
        BoreholeTypesDialog dialog(*m_folder, m_sink);
        auto* list = child<QListWidget>(dialog, "list");
        QCOMPARE(texts(list), (QStringList{"- нет -", "Скважина", "Шурф"}));
        QCOMPARE(dialog.selectedIndex(), 0);
        QVERIFY(!child<QPushButton>(dialog, "change")->isEnabled());
        QVERIFY(!child<QPushButton>(dialog, "delete")->isEnabled());
        QVERIFY(child<QPushButton>(dialog, "add")->isEnabled());
        list->setCurrentRow(2);
        QCOMPARE(dialog.selectedIndex(), 1);
        QVERIFY(child<QPushButton>(dialog, "change")->isEnabled());
        QVERIFY(child<QPushButton>(dialog, "delete")->isEnabled());
    }

    void addingATypeWithACommaWidth() {
        BoreholeTypesDialog dialog(*m_folder, m_sink);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        click(dialog, "add");
        QVERIFY(dialog.editing());
        QVERIFY(!child<QListWidget>(dialog, "list")->isEnabled());
        QVERIFY(!child<QPushButton>(dialog, "exit")->isEnabled());
        child<QLineEdit>(dialog, "name")->setText(QStringLiteral("Канава"));
        child<QLineEdit>(dialog, "columnWidth")->setText(QStringLiteral("2,5"));
        child<QLineEdit>(dialog, "lineWidth")->setText(QStringLiteral("0.35"));
        child<QCheckBox>(dialog, "shown")->setChecked(true);
        click(dialog, "apply");
        QVERIFY(!dialog.editing());
        QCOMPARE(dialog.selectedIndex(), 3); // the written record is selected
        auto stored = ReadBoreholeType(*m_folder, 3);
        QVERIFY(stored);
        QCOMPARE(stored->columnWidth, 20);
        QCOMPARE(stored->lineWidth, 3);
        QCOMPARE(stored->shownOnSection, std::int16_t{1});
        // Shown again as millimetres with one decimal.
        click(dialog, "change");
        QCOMPARE(child<QLineEdit>(dialog, "lineWidth")->text(), QStringLiteral("0.3"));
        QCOMPARE(child<QLineEdit>(dialog, "columnWidth")->text(), QStringLiteral("2.0"));
        click(dialog, "cancelEdit");
        QVERIFY(!dialog.editing());
        QVERIFY(m_sink.empty());
    }

    void editingAndDeletingInPlace() {
        BoreholeTypesDialog dialog(*m_folder, m_sink);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* list = child<QListWidget>(dialog, "list");
        list->setCurrentRow(2); // "Шурф", index 1
        click(dialog, "change");
        child<QLineEdit>(dialog, "name")->setText(QStringLiteral("Шурф проходческий"));
        click(dialog, "apply");
        QCOMPARE(ReadBoreholeType(*m_folder, 1)->name.utf8(), std::string("Шурф проходческий"));
        QCOMPARE(dialog.selectedIndex(), 1);
        click(dialog, "delete"); // no question asked
        QCOMPARE(texts(list), (QStringList{"- нет -", "Скважина"}));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(ReadBoreholeType(*m_folder, 1)->inUse, std::int16_t{0});
        QCOMPARE(std::filesystem::file_size(m_dir->path() / "DATA/DIC/TipSKV.SPS"), 3u * 42);
    }
};

QTEST_MAIN(BoreholeTypesDialogTest)
#include "borehole_types_dialog_test.moc"
