// "Список стандартных описаний ИГЭ": browsing and editing states, the hatch list, saving,
// the refusals of blank and described numbers, and deleting.
#include "dict/hatch.h"
#include "dict/ige_description.h"
#include "dict/ui/ige_description_dialogs.h"
#include "store/records.h"
#include "support/gui.h"
#include "support/temp_dir.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace orvo;
using namespace orvo::dict;
using namespace orvo::dict::ui;

using orvo::test::child;
using orvo::test::click;
using orvo::test::texts;

namespace {

bool enabled(QWidget& d, const char* name) {
    return child<QWidget>(d, name)->isEnabled();
}
} // namespace

class IgeDescriptionDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    platform::RecordingMessageSink m_sink;

    store::Bytes list() { return test::readBytes(m_dir->path() / "DATA/DIC/OIE.sps"); }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        std::filesystem::create_directories(m_dir->path() / "DATA/DIC");
        m_folder = std::make_unique<platform::WorkFolder>(m_dir->path());
        m_sink = {};
        // Hatches: 0 "Глина", 1 deleted, 2 "Песок" (listed in slot order, not by name).
        store::Bytes hatches;
        for (const char* name : {"Глина", "Удалённая", "Песок"}) {
            HatchListRecord rec = hatchRecord(name);
            if (std::string(name) == "Удалённая")
                rec.used = 0;
            const auto b = store::recordBytes(rec);
            hatches.insert(hatches.end(), b.begin(), b.end());
        }
        test::writeBytes(m_dir->path() / "DATA/DIC/shtrix.sps", hatches);
        QVERIFY(SaveStandardIge(*m_folder, -1, "10", "Песок мелкий", 2));
        QVERIFY(SaveStandardIge(*m_folder, -1, "2", "Глина твёрдая", 0));
    }

    void browsingShowsTheSelectedRecord() {
        StandardIgeDialog d(*m_folder, m_sink);
        QCOMPARE(d.windowTitle(), QStringLiteral("Список стандартных описаний ИГЭ"));
        auto* numbers = d.findChild<QListWidget*>();
        QCOMPARE(texts(numbers), (QStringList{"2", "10"})); // 2 before 10
        QCOMPARE(d.selectedSlot(), 1);
        QCOMPARE(child<QLineEdit>(d, "number")->text(), QStringLiteral("2"));
        QCOMPARE(child<QPlainTextEdit>(d, "description")->toPlainText(),
                 QStringLiteral("Глина твёрдая"));
        auto* hatch = child<QComboBox>(d, "hatch");
        QCOMPARE(texts(hatch), (QStringList{QString::fromUtf8(kNoHatchEntry), "Глина", "Песок"}));
        QCOMPARE(hatch->currentText(), QStringLiteral("Глина"));
        for (const char* name : {"number", "description", "hatch", "save", "cancel"})
            QVERIFY2(!enabled(d, name), name);
        for (const char* name : {"new", "change", "delete", "exit"})
            QVERIFY2(enabled(d, name), name);
        d.selectSlot(0);
        QCOMPARE(hatch->currentText(), QStringLiteral("Песок"));
    }

    void newEntryIsSavedAndSelected() {
        StandardIgeDialog d(*m_folder, m_sink);
        click(d, "new");
        QVERIFY(d.editing());
        QVERIFY(child<QLineEdit>(d, "number")->text().isEmpty());
        QCOMPARE(child<QComboBox>(d, "hatch")->currentIndex(), 0);
        for (const char* name : {"new", "change", "delete", "exit"})
            QVERIFY2(!enabled(d, name), name);
        child<QLineEdit>(d, "number")->setText(QStringLiteral("3б"));
        child<QPlainTextEdit>(d, "description")->insertPlainText(QStringLiteral("Суглинок"));
        child<QComboBox>(d, "hatch")->setCurrentIndex(2);
        click(d, "save");
        QVERIFY(m_sink.empty());
        QVERIFY(!d.editing());
        QCOMPARE(d.selectedSlot(), 2);
        const auto records = ReadStandardIgeList(*m_folder);
        QVERIFY(records && records->size() == 3);
        QCOMPARE((*records)[2].description.utf8Trimmed(), std::string("Суглинок"));
        QCOMPARE((*records)[2].hatch, 2);
    }

    void refusalsWriteNothing() {
        struct Case {
            const char* number;
            std::string message;
        };
        const Case cases[] = {
            {"", "Не задан номер ИГЭ\rСохранение невозможно."},
            {"2", "ИГЭ 2         \rуже описан\rСохранение невозможно."},
        };
        for (const auto& c : cases) {
            StandardIgeDialog d(*m_folder, m_sink);
            m_sink.clear();
            const auto before = list();
            click(d, "new");
            child<QLineEdit>(d, "number")->setText(QString::fromUtf8(c.number));
            click(d, "save");
            QCOMPARE(m_sink.entries().size(), std::size_t(1));
            QCOMPARE(m_sink.entries()[0].text, c.message);
            QCOMPARE(m_sink.entries()[0].caption, std::string("Ошибка"));
            QCOMPARE(m_sink.entries()[0].icon, platform::Icon::Error);
            QVERIFY(d.editing()); // the user corrects and saves again
            QCOMPARE(list(), before);
        }
    }

    void changeKeepsTheSlotAndCancelRestores() {
        StandardIgeDialog d(*m_folder, m_sink);
        d.selectSlot(0);
        click(d, "change");
        auto* text = child<QPlainTextEdit>(d, "description");
        text->setPlainText(QStringLiteral("Другое"));
        click(d, "cancel");
        QCOMPARE(text->toPlainText(), QStringLiteral("Песок мелкий"));
        click(d, "change");
        text->setPlainText(QStringLiteral("Песок средней крупности"));
        click(d, "save");
        QVERIFY(m_sink.empty());
        const auto records = ReadStandardIgeList(*m_folder);
        QVERIFY(records && records->size() == 2);
        QCOMPARE((*records)[0].description.utf8Trimmed(), std::string("Песок средней крупности"));
    }

    void deleteAsksAndKeepsTheLastEntry() {
        StandardIgeDialog d(*m_folder, m_sink);
        m_sink.queueAnswer(platform::Answer::No);
        click(d, "delete");
        QCOMPARE(m_sink.entries().at(0).text,
                 std::string("Вы действительно\rхотите удалить\rтекущее описание ИГЭ"));
        QCOMPARE(d.findChild<QListWidget*>()->count(), 2);
        m_sink.queueAnswer(platform::Answer::Yes);
        click(d, "delete");
        QCOMPARE(d.findChild<QListWidget*>()->count(), 1);
        QCOMPARE(d.selectedSlot(), 0);
        QVERIFY(!enabled(d, "delete")); // one entry left
        const auto records = ReadStandardIgeList(*m_folder);
        QVERIFY(records && records->size() == 2 && (*records)[1].flag == 0);
    }
};

QTEST_MAIN(IgeDescriptionDialogsTest)
#include "ige_description_dialogs_test.moc"
