// The scale, sheet format and surname editors driven by clicks.
#include "platform/codepage.h"
#include "section/settings_lists.h"
#include "section/ui/settings_list_dialogs.h"
#include "store/list_file.h"
#include "support/temp_dir.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace orvo;
using namespace orvo::section;
using namespace orvo::section::ui;

class SettingsListDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    platform::RecordingMessageSink m_sink;

    template <class W> static W* child(QDialog& d, const char* name) {
        return d.findChild<W*>(QString::fromLatin1(name));
    }
    static void click(QDialog& d, const char* name) {
        QTest::mouseClick(child<QPushButton>(d, name), Qt::LeftButton);
    }
    static QStringList texts(QDialog& d) {
        auto* list = child<QListWidget>(d, "list");
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
        m_sink.clear();
    }

    void scalesSavedSortedOnlyOnSave() {
        QVERIFY(WriteScales(*m_folder, {100, 1000}));
        ScaleListDialog dialog(*m_folder, m_sink);
        QCOMPARE(texts(dialog), (QStringList{"  100 ", " 1000 "}));
        auto* field = child<QLineEdit>(dialog, "new");
        QTest::keyClicks(field, "500");
        click(dialog, "add");
        QVERIFY(field->text().isEmpty());
        QTest::keyClicks(field, "500");
        click(dialog, "add"); // already there: ignored, the field keeps its text
        QCOMPARE(field->text(), QStringLiteral("500"));
        field->setText(QStringLiteral("40000"));
        click(dialog, "add");
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].caption, std::string("Warning"));
        QCOMPARE(texts(dialog), (QStringList{"  100 ", "  500 ", " 1000 "}));
        QCOMPARE(*ReadScales(*m_folder), (std::vector<std::int16_t>{100, 1000})); // not yet
        click(dialog, "save");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(*ReadScales(*m_folder), (std::vector<std::int16_t>{100, 500, 1000}));
    }

    void scaleCancelChangesNothing() {
        QVERIFY(WriteScales(*m_folder, {100, 1000}));
        const auto before = test::readBytes(m_dir->path() / "DATA/DIC/mashtab.sps");
        ScaleListDialog dialog(*m_folder, m_sink);
        child<QListWidget>(dialog, "list")->setCurrentRow(0);
        click(dialog, "remove");
        click(dialog, "remove"); // the last one stays
        QCOMPARE(texts(dialog), QStringList{" 1000 "});
        click(dialog, "cancel");
        QCOMPARE(test::readBytes(m_dir->path() / "DATA/DIC/mashtab.sps"), before);
    }

    void sheetFormatsFlow() {
        std::vector<SheetFormat> formats(2);
        formats[0].description.setPadded(platform::utf8ToCp1251("А3"));
        formats[0].heightMm = 297;
        formats[0].widthMm = 420;
        formats[1].description.setPadded(platform::utf8ToCp1251("А1"));
        formats[1].heightMm = 594;
        formats[1].widthMm = 841;
        QVERIFY(store::WriteRecordList(*m_folder, kSheetFormatList, formats));
        Error error;
        auto dialog = SheetFormatDialog::create(*m_folder, m_sink, error);
        QVERIFY(dialog);
        QVERIFY(std::filesystem::exists(m_dir->path() / "-.tmp"));
        // The first entry (sorted) is selected and shown.
        QCOMPARE(child<QLineEdit>(*dialog, "description")->text(), QStringLiteral("А1"));
        QCOMPARE(child<QLineEdit>(*dialog, "height")->text(), QStringLiteral("594"));
        child<QLineEdit>(*dialog, "description")->setText(QStringLiteral("А3"));
        click(*dialog, "add");
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].text, std::string("Уже есть такой формат"));
        child<QLineEdit>(*dialog, "description")->setText(QStringLiteral("А2"));
        child<QLineEdit>(*dialog, "height")->setText(QStringLiteral("420"));
        child<QLineEdit>(*dialog, "width")->setText(QStringLiteral("594"));
        click(*dialog, "add");
        QCOMPARE(child<QListWidget>(*dialog, "list")->currentItem()->text().trimmed(),
                 QStringLiteral("А2"));
        click(*dialog, "save");
        QVERIFY(!std::filesystem::exists(m_dir->path() / "-.tmp"));
        auto saved = ReadSheetFormats(*m_folder);
        QVERIFY(saved);
        QCOMPARE(saved->size(), 3u);
        QCOMPARE((*saved)[2].widthMm, 594);
    }

    void missingSheetFormatsRefuseToOpen() {
        Error error;
        auto dialog = SheetFormatDialog::create(*m_folder, m_sink, error);
        QVERIFY(!dialog);
        QVERIFY(error.fatal);
    }

    void surnamesFlow() {
        std::vector<Surname> names(1);
        names[0].setPadded(platform::utf8ToCp1251("Петров П.П."));
        QVERIFY(WriteSurnames(*m_folder, names));
        SurnameListDialog dialog(*m_folder, m_sink);
        auto* field = child<QLineEdit>(dialog, "new");
        QCOMPARE(field->text(), QStringLiteral("Петров П.П."));
        field->setText(QStringLiteral("Андреева А.А."));
        click(dialog, "add");
        QCOMPARE(texts(dialog).size(), 2);
        QVERIFY(texts(dialog)[0].startsWith(QStringLiteral("Андреева")));
        QCOMPARE(texts(dialog)[0].size(), 30); // shown with its padding
        field->setText(QStringLiteral("Петров П.П."));
        click(dialog, "add");
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].text, std::string("Уже есть такая фамилия"));
        click(dialog, "save");
        auto saved = ReadSurnames(*m_folder);
        QVERIFY(saved);
        QCOMPARE(saved->size(), 2u);
        QCOMPARE((*saved)[0].utf8Trimmed(), std::string("Андреева А.А."));
    }
};

QTEST_MAIN(SettingsListDialogsTest)
#include "settings_list_dialogs_test.moc"
