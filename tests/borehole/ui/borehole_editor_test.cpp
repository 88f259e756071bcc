// The borehole editor driven by keys and clicks: the grid's current row, row buttons, header
// fields, the clipboard between two editors, and saves refused by name or by validation.
#include "borehole/borehole_types.h"
#include "borehole/ui/borehole_editor.h"
#include "platform/codepage.h"
#include "support/db_builder.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace orvo;
using namespace orvo::borehole;
using namespace orvo::borehole::ui;

namespace {

// Records of 32 bytes (16-bit flag) or 38 bytes (32-bit flag, name, symbol).
platform::Bytes dictionary(int flagBytes, const std::vector<std::pair<bool, const char*>>& recs) {
    platform::Bytes out;
    store::LeWriter w(out);
    for (const auto& [used, name] : recs) {
        flagBytes == 2 ? w.i16(used) : w.i32(used);
        store::FixedText<30> text;
        text.setPadded(platform::utf8ToCp1251(name));
        w.bytes(text.raw);
        if (flagBytes == 4)
            w.i32(7);
    }
    return out;
}

TableRow row(const char* textUtf8, float depth, std::int16_t type) {
    return {platform::utf8ToCp1251(textUtf8), depth, type};
}

std::vector<TableRow> numberedRows(int count) {
    std::vector<TableRow> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({std::to_string(i + 1), static_cast<float>(i + 1), 1});
    return rows;
}

// A borehole that passes every check against the test dictionaries.
BoreholeEditData validData() {
    BoreholeEditData d;
    d.name.setUtf8("Скв-1");
    d.x = 100.0f;
    d.elevation = 150.25f;
    d.depth = 10.0f;
    d.type = 1;
    d.ige.assign({row("1", 2.5f, 1), row("2а", 6.0f, 3)});
    d.water.assign({row("12.05.99", 3.0f, 1)});
    d.samples.assign({row("", 4.0f, 2)});
    return d;
}

template <class W> W* child(QWidget& w, const char* name) {
    return w.findChild<W*>(QString::fromLatin1(name));
}
QLineEdit* edit(QWidget& w, const char* name) {
    return child<QLineEdit>(w, name);
}
void click(QWidget& w, const char* name) {
    QTest::mouseClick(child<QPushButton>(w, name), Qt::LeftButton);
}
QStringList comboTexts(QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}
void retype(QLineEdit* e, const char* ascii) {
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, ascii);
}

// Clicks `button` and returns what the report dialog showed (title, fixed texts, lines, count
// line), closing it with OK; empty when none opened.
QStringList reportAfter(QWidget& editor, const char* button) {
    QStringList seen;
    QObject guard; // a report that never opens leaves no timer behind
    QTimer::singleShot(0, &guard, [&seen] {
        QWidget* d = QApplication::activeModalWidget();
        if (!d || d->objectName() != QStringLiteral("validationReport"))
            return;
        seen << d->windowTitle();
        for (const char* name : {"reportFound", "reportReason", "reportImpossible"})
            seen << child<QLabel>(*d, name)->text();
        auto* list = child<QListWidget>(*d, "reportLines");
        for (int i = 0; i < list->count(); ++i)
            seen << list->item(i)->text();
        seen << child<QLabel>(*d, "reportCount")->text();
        click(*d, "ok");
    });
    click(editor, button);
    return seen;
}

} // namespace

class BoreholeEditorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    std::unique_ptr<store::ProjectStore> m_store;
    platform::RecordingMessageSink m_sink;
    BoreholeClipboard m_clipboard;

    std::unique_ptr<BoreholeEditor> open(BoreholeEditData& data, std::int32_t number = 7,
                                         BoreholeEditorHooks hooks = {}) {
        auto e = std::make_unique<BoreholeEditor>(*m_store, 1, number, data, m_clipboard, m_sink,
                                                  std::move(hooks));
        e->show();
        e->activateWindow();
        if (!QTest::qWaitForWindowActive(e.get()))
            qWarning("the editor did not become active");
        return e;
    }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        test::DbBuilder db(m_dir->path());
        db.object(1, "Площадка");
        db.borehole(1, 5, "1");
        db.borehole(1, 6, "Скв");
        m_folder = std::make_unique<platform::WorkFolder>(m_dir->path());
        m_store = std::make_unique<store::ProjectStore>(*m_folder);
        for (const char* name : {"- нет -", "Скважина", "Шурф", "Канава"}) {
            BoreholeType t;
            t.name.setUtf8(name);
            QVERIFY(AddBoreholeType(*m_folder, t));
        }
        QVERIFY(DeleteBoreholeType(*m_folder, 3));
        const auto dic = m_dir->path() / "DATA/DIC";
        test::writeBytes(
            dic / "TipIGE.SPS",
            dictionary(
                2, {{true, "- нет -"}, {true, "Твердый"}, {false, "Мягкий"}, {true, "Текучий"}}));
        test::writeBytes(dic / "TipPV.SPS",
                         dictionary(4, {{true, "- нет -"}, {true, "Появившийся"}}));
        test::writeBytes(dic / "TipOP.SPS", dictionary(4, {{true, "-"}, {true, "А"}, {true, "Б"}}));
        m_sink.clear();
        m_clipboard.data.reset();
    }

    void headerFieldsAndTheTypeCombo() {
        BoreholeEditData data = validData();
        data.type = 3; // deleted from the dictionary since
        BoreholeEditorHooks hooks;
        hooks.editBoreholeTypes = [this] {
            BoreholeType t;
            t.name.setUtf8("Расчистка");
            QVERIFY(AddBoreholeType(*m_folder, t));
        };
        auto editor = open(data, 7, hooks);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Выработка: Скв-1"));
        QCOMPARE(edit(*editor, "elevation")->text(), QStringLiteral("150.25"));
        // Neither record 0 nor the deleted type is offered; the index stays until a choice.
        auto* type = child<QComboBox>(*editor, "type");
        QCOMPARE(comboTexts(type), (QStringList{"Скважина", "Шурф"}));
        QCOMPARE(data.type, std::int16_t{3});
        type->setFocus();
        QTest::keyClick(type, Qt::Key_End);
        QCOMPARE(data.type, std::int16_t{2});
        click(*editor, "editBoreholeTypes");
        QCOMPARE(comboTexts(type), (QStringList{"Скважина", "Шурф", "Расчистка"}));
        QCOMPARE(type->currentText(), QStringLiteral("Шурф"));

        // Numbers are read when the field is left; a comma ends the number in every locale.
        auto* depth = edit(*editor, "depth");
        retype(depth, "12.345");
        QTest::keyClick(depth, Qt::Key_Tab);
        QCOMPARE(data.depth, 12.345f);
        QCOMPARE(depth->text(), QStringLiteral("12.35"));
        auto* x = edit(*editor, "x");
        retype(x, "7,5");
        QTest::keyClick(x, Qt::Key_Return);
        QCOMPARE(data.x, 7.0f);
        QCOMPARE(x->text(), QStringLiteral("7.00"));

        auto* name = edit(*editor, "name");
        name->setText(QStringLiteral("Шурф-12345"));
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(data.name.utf8(), std::string("Шурф-1234"));
        QCOMPARE(editor->windowTitle(), QStringLiteral("Выработка: Шурф-1234"));
        QVERIFY(m_sink.empty());
    }

    // A new borehole shows no type, so the first type the user picks is stored; a stored depth
    // of 0 shows as "0.00" in the row's field, as in the grid.
    void whatIsShownIsWhatIsStored() {
        BoreholeEditData data = validData();
        data.type = 0;
        data.ige.assign({row("1", 0.0f, 1), row("2а", 6.0f, 3)});
        auto editor = open(data);
        auto* type = child<QComboBox>(*editor, "type");
        QCOMPARE(type->currentIndex(), -1);
        QCOMPARE(type->currentText(), QString());
        type->setFocus();
        QTest::keyClick(type, Qt::Key_Down);
        QCOMPARE(type->currentText(), QStringLiteral("Скважина"));
        QCOMPARE(data.type, std::int16_t{1});
        QCOMPARE(edit(*editor, "cellDepth")->text(), QStringLiteral("0.00"));
        QCOMPARE(editor->grid()->cellText(0, 2), QStringLiteral("0.00"));
    }

    void typingIntoTheCurrentRowAndMovingDown() {
        BoreholeEditData data = validData();
        auto editor = open(data);
        BoreholeGrid* grid = editor->grid();
        QCOMPARE(grid->headingText(3), QStringLiteral("Показатель текучести,\nвлажность"));
        const QStringList second{"002", "2а", "6.00", "Текучий"};
        for (int c = 0; c < 4; ++c)
            QCOMPARE(grid->cellText(1, c), second[c]);
        QCOMPARE(grid->cellText(2, 0), QStringLiteral("003")); // the empty last row
        QCOMPARE(grid->cellText(2, 2), QString());

        auto* text = edit(*editor, "cellText");
        auto* depth = edit(*editor, "cellDepth");
        auto* type = child<QComboBox>(*editor, "cellType");
        retype(text, "1b");
        QTest::keyClick(text, Qt::Key_Down);
        QCOMPARE(data.ige.row(0).text, std::string("1b"));
        QCOMPARE(data.ige.current(), 1);
        QCOMPARE(text->text(), QStringLiteral("2а"));
        QCOMPARE(type->currentText(), QStringLiteral("Текучий"));
        retype(depth, "3,75");
        QTest::keyClick(depth, Qt::Key_Up);
        QCOMPARE(data.ige.row(1).depth, 3.0f);
        QCOMPARE(grid->cellText(1, 2), QStringLiteral("3.00"));

        // Cyrillic is stored in Windows-1251, the whole 10 characters of the field.
        text->setText(QStringLiteral("ИГЭ-2 слой"));
        QTest::keyClick(text, Qt::Key_PageDown);
        QCOMPARE(platform::cp1251ToUtf8(data.ige.row(0).text), std::string("ИГЭ-2 слой"));
        QCOMPARE(data.ige.current(), 2); // the empty last row, not beyond
        QTest::keyClick(depth, Qt::Key_Down);
        QCOMPARE(data.ige.current(), 2);
        QCOMPARE(comboTexts(type), (QStringList{"*** Не определен ***", "Твердый", "Текучий"}));
        type->setFocus();
        QTest::keyClick(type, Qt::Key_End);
        QCOMPARE(data.ige.row(2).type, std::int16_t{3});
        QCOMPARE(comboTexts(type), (QStringList{"Твердый", "Текучий"}));
        retype(depth, "8");
        click(*editor, "sortRows");
        QCOMPARE(data.ige.count(), 3);
        QCOMPARE(grid->cellText(2, 2), QStringLiteral("8.00"));
        QCOMPARE(grid->cellText(2, 3), QStringLiteral("Текучий"));
        // In the type combo Down moves the row instead of changing the row's type.
        QTest::keyClick(type, Qt::Key_Down);
        QCOMPARE(data.ige.current(), 1);
        QCOMPARE(data.ige.row(0).type, std::int16_t{1});
    }

    void mouseAndScrollBarChooseTheRow() {
        BoreholeEditData data = validData();
        data.ige.assign(numberedRows(15));
        auto editor = open(data);
        BoreholeGrid* grid = editor->grid();
        auto* depth = edit(*editor, "cellDepth");
        QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(3, 2).center());
        QCOMPARE(data.ige.current(), 3);
        QVERIFY(depth->hasFocus());
        QCOMPARE(depth->geometry(), grid->cellRect(3, 2));
        QTest::keyClick(depth, Qt::Key_PageDown);
        QCOMPARE(data.ige.current(), 13);
        QCOMPARE(data.ige.firstVisible(), 4);
        // A click lands on the row drawn there, counted from the first visible one.
        QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(5, 0).center());
        QCOMPARE(data.ige.current(), 5);
        QVERIFY(edit(*editor, "cellText")->hasFocus());
        auto* scroll = child<QScrollBar>(*editor, "gridScroll");
        QCOMPARE(scroll->maximum(), 15);
        scroll->setValue(15);
        QCOMPARE(data.ige.firstVisible(), 6);
        scroll->setValue(0);
        QCOMPARE(data.ige.current(), 0);
        QCOMPARE(edit(*editor, "cellText")->text(), QStringLiteral("1"));
    }

    void insertingAndDeletingRows() {
        BoreholeEditData data = validData();
        data.ige.assign({row("1", 1.0f, 1), row("2", 2.0f, 1), row("3", 3.0f, 3)});
        auto editor = open(data);
        BoreholeGrid* grid = editor->grid();
        auto* text = edit(*editor, "cellText");
        QTest::keyClick(text, Qt::Key_Down);
        click(*editor, "insertRow");
        QCOMPARE(data.ige.count(), 4);
        QCOMPARE(data.ige.current(), 2);
        QCOMPARE(text->text(), QString());
        QCOMPARE(grid->cellText(2, 3), QStringLiteral("*** Не определен ***"));
        QCOMPARE(grid->cellText(3, 1), QStringLiteral("3"));
        click(*editor, "deleteRow");
        QCOMPARE(data.ige.count(), 3);
        QCOMPARE(text->text(), QStringLiteral("3"));

        // 99 rows cannot grow by the button; a full table has no empty row to move into.
        data.ige.assign(numberedRows(98));
        grid->refresh();
        click(*editor, "insertRow");
        click(*editor, "insertRow");
        QCOMPARE(data.ige.count(), 99);
        data.ige.assign(numberedRows(100));
        grid->moveTo(200);
        QTest::keyClick(text, Qt::Key_Down);
        QCOMPARE(data.ige.current(), 99);
        QCOMPARE(child<QScrollBar>(*editor, "gridScroll")->maximum(), 99);
        QCOMPARE(grid->cellText(99, 0), QStringLiteral("100"));
    }

    void sortingMovesTextsAndTypesAlong() {
        BoreholeEditData data = validData();
        data.ige.assign({row("2", 5.0f, 1), row("1", 2.5f, 3), row("x", -1.0f, 1)});
        QStringList opened;
        BoreholeEditorHooks hooks;
        hooks.editWaterTypes = [&] {
            opened << "PV";
            test::writeBytes(m_dir->path() / "DATA/DIC/TipPV.SPS",
                             dictionary(4, {{true, "- нет -"}, {false, "Появившийся"}}));
        };
        hooks.editSampleTypes = [&] { opened << "OP"; };
        auto editor = open(data, 7, hooks);
        BoreholeGrid* grid = editor->grid();
        QTest::keyClick(edit(*editor, "cellText"), Qt::Key_Down);
        click(*editor, "sortRows");
        QCOMPARE(data.ige.count(), 2);
        QCOMPARE(data.ige.current(), 0);
        QStringList shown;
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < grid->columnCount(); ++c)
                shown << grid->cellText(r, c);
        QCOMPARE(shown,
                 (QStringList{"001", "1", "2.50", "Текучий", "002", "2", "5.00", "Твердый"}));

        // Each table has its columns and its dictionary; a type deleted there keeps its index.
        child<QRadioButton>(*editor, "tableWater")->click();
        QCOMPARE(grid->headingText(2), QStringLiteral("Глубина\nгоризонта"));
        QCOMPARE(grid->cellText(0, 3), QStringLiteral("Появившийся"));
        click(*editor, "editRowTypes");
        QCOMPARE(grid->cellText(0, 3), QStringLiteral("*** Не определен ***"));
        QCOMPARE(data.water.row(0).type, std::int16_t{1});
        child<QRadioButton>(*editor, "tableSamples")->click();
        click(*editor, "editRowTypes");
        QCOMPARE(opened, (QStringList{"PV", "OP"}));
        QCOMPARE(grid->columnCount(), 3);
        QCOMPARE(grid->headingText(1), QStringLiteral("Тип пробы"));
        QCOMPARE(grid->cellText(0, 1), QStringLiteral("Б"));
        QVERIFY(!edit(*editor, "cellText")->isVisible());
    }

    void clipboardCarriesABoreholeBetweenEditors() {
        BoreholeEditData first = validData();
        first.samples.assign({row("", 9.0f, 1), row("", 4.0f, 2)});
        auto from = open(first);
        QVERIFY(!child<QPushButton>(*from, "fromClipboard")->isEnabled());
        edit(*from, "name")->setText(QStringLiteral("Скв-7"));
        click(*from, "toClipboard");
        QVERIFY(child<QPushButton>(*from, "fromClipboard")->isEnabled());
        QCOMPARE(m_clipboard.data->samples.row(0).depth, 4.0f); // sorted before copying
        from.reset();

        BoreholeEditData second;
        second.ige.assign(numberedRows(30));
        second.ige.setCurrent(25, BoreholeGrid::kVisibleRows);
        auto to = open(second, 8);
        click(*to, "fromClipboard");
        QCOMPARE(second.name.utf8(), std::string("Скв-7"));
        QCOMPARE(second.elevation, 150.25f);
        QCOMPARE(second.depth, 10.0f);
        QCOMPARE(second.type, std::int16_t{1});
        QCOMPARE(second.ige.count(), 2);
        QCOMPARE(second.ige.firstVisible(), 0);
        QCOMPARE(second.water.row(0).text, std::string("12.05.99"));
        QCOMPARE(second.samples.count(), 2);
        QCOMPARE(to->windowTitle(), QStringLiteral("Выработка: Скв-7"));
        QCOMPARE(edit(*to, "elevation")->text(), QStringLiteral("150.25"));
        QCOMPARE(edit(*to, "cellText")->text(), QStringLiteral("1"));
        QCOMPARE(child<QComboBox>(*to, "type")->currentText(), QStringLiteral("Скважина"));
        QVERIFY(m_sink.empty());
    }

    void refusedSaveShowsTheReportAndStays() {
        BoreholeEditData data = validData();
        data.name.set("");
        data.depth = 3.0f;
        data.ige.assign({row("1", 5.0f, 2)});
        data.water.assign({row("12.05.99", 3.0f, 1)});
        data.samples.assign({row("", 2.0f, 1)});
        auto editor = open(data);
        const QStringList lines{"Не указано наименование выработки",
                                "ИГЭ #1: Глубина подошвы (5.00) > глубины выработки",
                                "ИГЭ #1: Тип ИГЭ удален из системы"};
        QCOMPARE(reportAfter(*editor, "save"),
                 QStringList({"Анализ ошибок, выработка - Без имени",
                              "В данных по этой выработке обнаружены ошибки",
                              "По этой причине ПРОСМОТР. ПЕЧАТЬ. РАЗМЕЩЕНИЕ В БУФЕР ОБМЕНА и "
                              "СОХРАНЕНИЕ",
                              "НЕ    В О З М О Ж Н Ы"}) +
                     lines + QStringList{"Всего обнаружено 003 ошибок"});
        const auto bytes = test::readBytes(m_dir->path() / "Data.err");
        QCOMPARE(platform::cp1251ToUtf8(std::string(bytes.begin(), bytes.end())),
                 (lines.join("\r\n") + "\r\n").toStdString());
        QVERIFY(editor->isVisible());
        // Copying and viewing are refused the same way.
        QCOMPARE(reportAfter(*editor, "toClipboard").size(), 8);
        QVERIFY(!m_clipboard.data);
        QCOMPARE(reportAfter(*editor, "view").size(), 8);
        QVERIFY(m_sink.empty());

        // Mended, the data can be viewed and saved.
        edit(*editor, "name")->setText(QStringLiteral("Скв-9"));
        edit(*editor, "cellDepth")->setText(QStringLiteral("2.5"));
        auto* type = child<QComboBox>(*editor, "cellType");
        type->setFocus();
        QTest::keyClick(type, Qt::Key_End);
        QVERIFY(reportAfter(*editor, "view").isEmpty());
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].text,
                 std::string("Лист данных по выработке пока недоступен."));
        QVERIFY(reportAfter(*editor, "save").isEmpty());
        QCOMPARE(editor->result(), int(QDialog::Accepted));
        // The report of the passing check replaced the failure's lines.
        QVERIFY(test::readBytes(m_dir->path() / "Data.err").empty());
        QCOMPARE(data.name.utf8(), std::string("Скв-9"));
        QCOMPARE(data.ige.row(0).depth, 2.5f);
        QCOMPARE(data.ige.row(0).type, std::int16_t{3});
    }

    void duplicateNameIsRefused() {
        BoreholeEditData data = validData();
        auto editor = open(data, 7);
        edit(*editor, "name")->setText(QStringLiteral("1"));
        click(*editor, "save");
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].caption, std::string("Information"));
        QCOMPARE(m_sink.entries()[0].text, std::string(kNameTakenText));
        QVERIFY(editor->isVisible());
        QVERIFY(!std::filesystem::exists(m_dir->path() / "Data.err")); // not validated

        m_sink.clear();
        edit(*editor, "name")->setText(QStringLiteral("скв")); // "Скв" is another name
        click(*editor, "save");
        QCOMPARE(editor->result(), int(QDialog::Accepted));

        // A borehole keeps its own name.
        BoreholeEditData own = validData();
        own.name.setUtf8("1");
        auto same = open(own, 5);
        click(*same, "save");
        QCOMPARE(same->result(), int(QDialog::Accepted));
        QVERIFY(m_sink.empty());
    }
};

QTEST_MAIN(BoreholeEditorTest)
#include "borehole_editor_test.moc"
