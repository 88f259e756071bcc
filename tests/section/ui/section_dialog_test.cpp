// The section dialog and "Параметры разрезов" driven by clicks, with the list rules behind them.
#include "dict/drawing_form.h"
#include "dict/title_block.h"
#include "platform/codepage.h"
#include "section/section_rules.h"
#include "section/ui/section_dialog.h"
#include "store/project_store.h"
#include "support/db_builder.h"
#include "support/modal.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace orvo;
using namespace orvo::section;
using namespace orvo::section::ui;

namespace {

template <class W> W* child(QWidget& w, const char* name) {
    return w.findChild<W*>(QString::fromLatin1(name));
}
void click(QWidget& w, const char* name) {
    QTest::mouseClick(child<QPushButton>(w, name), Qt::LeftButton);
}
bool enabled(QWidget& w, const char* name) {
    return child<QPushButton>(w, name)->isEnabled();
}
QStringList texts(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}
void choose(QComboBox* combo, const QString& text) {
    const int row = combo->findText(text);
    QVERIFY2(row >= 0, qPrintable(text));
    combo->setCurrentIndex(row);
}

SheetFormat format(const char* description, std::int32_t h, std::int32_t w) {
    SheetFormat f;
    f.description.setPadded(platform::utf8ToCp1251(description));
    f.heightMm = h;
    f.widthMm = w;
    return f;
}

// One object with three boreholes and every dictionary the two dialogs list.
struct Db {
    Db() : builder(dir.path()), folder(dir.path()), store(folder) {
        builder.object(1, "Объект");
        builder.borehole(1, 11, "Скв-2");
        builder.borehole(1, 12, "Скв-1");
        builder.borehole(1, 13, "Скв-3");
        QVERIFY(WriteScales(folder, {200, 500, 1000}).ok());
        store::Bytes formats;
        for (const auto& f : {format("А3", 297, 420), format("А2", 420, 594)}) {
            const auto rec = store::recordBytes(f);
            formats.insert(formats.end(), rec.begin(), rec.end());
        }
        test::writeBytes(dir / "DATA/DIC/ListForm.sps", formats);
        std::vector<Surname> names(2);
        names[0].setPadded(platform::utf8ToCp1251("Иванов"));
        names[1].setPadded(platform::utf8ToCp1251("Петров"));
        QVERIFY(WriteSurnames(folder, names).ok());
        for (const char* name : {"Шаблон", "Основной", "Удалённый", "Малый"})
            QVERIFY(dict::SaveNewTitleBlock(folder, name, {}).ok());
        QVERIFY(dict::DeleteTitleBlock(folder, 2, false).ok());
        QVERIFY(dict::SaveDrawingForm(folder, -1, "Форма 0", dict::newDrawingForm()).ok());
        QVERIFY(dict::SaveDrawingForm(folder, -1, "Форма 1", dict::newDrawingForm()).ok());
    }

    Section section() const {
        store::SectionDefaults d;
        d.verticalScale = 0;
        d.horizontalScale = 500;
        d.sheetHeightMm = 420;
        d.sheetWidthMm = 594;
        d.stampFirstSheet = 1;
        d.stampOtherSheets = 3;
        return newSection(5, 100, d);
    }

    test::TempDir dir;
    test::DbBuilder builder;
    platform::WorkFolder folder;
    store::ProjectStore store;
    platform::RecordingMessageSink sink;
    dict::ui::TitleBlockPrintMargins margins;
};

std::unique_ptr<SectionDialog> open(Db& db, Section& s, bool isNew = false) {
    auto d = std::make_unique<SectionDialog>(db.store, 1, s, isNew, db.sink, db.margins);
    d->show();
    return d;
}

} // namespace

class SectionDialogTest : public QObject {
    Q_OBJECT
private slots:
    void scaleTextsAreReadBackAsWritten() {
        QCOMPARE(scaleText(500), std::string("1:500 "));
        QCOMPARE(parseScaleText(scaleText(25000)), 25000);
        QCOMPARE(parseScaleText("AUTO"), 0);
        QCOMPARE(parseScaleText("1:1000"), 1000);
        QCOMPARE(parseScaleText("500"), 0);
        QCOMPARE(rowOrFirst({0, 200, 500}, 500), 2);
        QCOMPARE(rowOrFirst({0, 200, 500}, 300), 0);
        QCOMPARE(sheetFormatRow({format("a", 1, 2), format("b", 3, 4)}, 3, 4), 1);
        QCOMPARE(sheetFormatRow({format("a", 1, 2), format("b", 3, 4)}, 4, 3), 0);
    }

    void boreholeListRules() {
        SectionBoreholeList list({});
        QCOMPARE(list.current(), -1);
        QVERIFY(!list.removeCurrent());
        QVERIFY(list.insertAfterCurrent(1));
        QVERIFY(list.insertAfterCurrent(2));
        list.setCurrent(0);
        QVERIFY(list.insertAfterCurrent(3));
        QCOMPARE(list.numbers(), (std::vector<std::int32_t>{1, 3, 2}));
        QCOMPARE(list.current(), 1);
        QVERIFY(list.moveUp());
        QVERIFY(!list.moveUp());
        QCOMPARE(list.numbers(), (std::vector<std::int32_t>{3, 1, 2}));
        list.setCurrent(2);
        QVERIFY(!list.moveDown());
        QVERIFY(list.removeCurrent());
        QCOMPARE(list.current(), 1); // the removed one was last: the new last is current
        list.setCurrent(0);
        QVERIFY(list.removeCurrent());
        QCOMPARE(list.numbers(), (std::vector<std::int32_t>{1}));
        QCOMPARE(list.current(), 0);

        SectionBoreholeList full(std::vector<std::int32_t>(kMaxSectionBoreholes, 7));
        QVERIFY(!full.insertAfterCurrent(8));
        QCOMPARE(full.numbers().size(), std::size_t(kMaxSectionBoreholes));
    }

    void buttonStateFollowsTheList() {
        const auto empty = sectionButtonState(SectionBoreholeList({}), 0);
        QVERIFY(!empty.needsBoreholes && !empty.up && !empty.down && !empty.insert);
        SectionBoreholeList two({4, 5});
        auto s = sectionButtonState(two, 3);
        QVERIFY(s.needsBoreholes && !s.up && s.down && s.insert);
        two.setCurrent(1);
        s = sectionButtonState(two, 3);
        QVERIFY(s.up && !s.down);
        QVERIFY(!sectionButtonState(SectionBoreholeList({4}), 1).down);
    }

    void showsTheSectionAndTheObject() {
        Db db;
        Section s = db.section();
        s.header.name.setUtf8("Линия I-I");
        s.header.signatures[1].setPadded(platform::utf8ToCp1251("Петров"));
        s.header.stampOtherSheets = 2; // deleted: not listed
        s.boreholes = {13, 11};
        auto d = open(db, s);
        QCOMPARE(d->windowTitle(), QStringLiteral("Разрез: Линия I-I"));
        QCOMPARE(child<QLineEdit>(*d, "objectName")->text(), QStringLiteral("Объект"));
        QCOMPARE(texts(child<QListWidget>(*d, "objectBoreholes")),
                 (QStringList{"Скв-1     ", "Скв-2     ", "Скв-3     "}));
        QCOMPARE(texts(child<QListWidget>(*d, "sectionBoreholes")),
                 (QStringList{"Скв-3", "Скв-2"}));
        QCOMPARE(child<QComboBox>(*d, "verticalScale")->currentText(), QStringLiteral("AUTO"));
        QCOMPARE(child<QComboBox>(*d, "verticalScale")->count(), 4);
        QCOMPARE(child<QComboBox>(*d, "horizontalScale")->currentText(), QStringLiteral("1:500 "));
        QCOMPARE(child<QComboBox>(*d, "sheetFormat")->currentText(), QStringLiteral("А2"));
        QCOMPARE(child<QComboBox>(*d, "signature1")->currentText(), QStringLiteral("Иванов"));
        QCOMPARE(child<QComboBox>(*d, "signature2")->currentText(), QStringLiteral("Петров"));
        auto* first = child<QComboBox>(*d, "stampFirstSheet");
        QCOMPARE(first->count(), 3);
        QCOMPARE(first->currentText(), QStringLiteral("Основной"));
        QCOMPARE(child<QComboBox>(*d, "stampOtherSheets")->currentText(), QStringLiteral("Шаблон"));
        click(*d, "save");
        QCOMPARE(s.header.stampOtherSheets, std::int16_t(0));
        QCOMPARE(s.header.stampFirstSheet, std::int16_t(1));

        Section fresh = db.section();
        QCOMPARE(open(db, fresh, true)->windowTitle(), QStringLiteral("Новый разрез"));
    }

    void movesBoreholesInOutAndAround() {
        Db db;
        Section s = db.section();
        auto d = open(db, s, true);
        auto* section = child<QListWidget>(*d, "sectionBoreholes");
        auto* object = child<QListWidget>(*d, "objectBoreholes");
        QVERIFY(!enabled(*d, "remove") && !enabled(*d, "up") && !enabled(*d, "down"));
        QVERIFY(!enabled(*d, "connectIge") && !enabled(*d, "exportData"));
        QVERIFY(enabled(*d, "insert"));
        object->setCurrentRow(0);
        click(*d, "insert");
        object->setCurrentRow(2);
        click(*d, "insert");
        QCOMPARE(texts(section), (QStringList{"Скв-1", "Скв-3"}));
        QCOMPARE(section->currentRow(), 1);
        QVERIFY(enabled(*d, "up") && !enabled(*d, "down") && enabled(*d, "remove"));
        QVERIFY(enabled(*d, "view") && enabled(*d, "print"));
        // "<" goes after the current entry, not to the end.
        section->setCurrentRow(0);
        object->setCurrentRow(1);
        click(*d, "insert");
        QCOMPARE(texts(section), (QStringList{"Скв-1", "Скв-2", "Скв-3"}));
        QCOMPARE(section->currentRow(), 1);
        click(*d, "down");
        QCOMPARE(texts(section), (QStringList{"Скв-1", "Скв-3", "Скв-2"}));
        QCOMPARE(section->currentRow(), 2);
        QVERIFY(!enabled(*d, "down"));
        click(*d, "up");
        click(*d, "up");
        QCOMPARE(texts(section), (QStringList{"Скв-2", "Скв-1", "Скв-3"}));
        QVERIFY(!enabled(*d, "up"));
        click(*d, "remove");
        QCOMPARE(texts(section), (QStringList{"Скв-1", "Скв-3"}));
        QCOMPARE(section->currentRow(), 0);
        section->setCurrentRow(1);
        click(*d, "remove");
        click(*d, "remove");
        QCOMPARE(section->count(), 0);
        QVERIFY(!enabled(*d, "remove") && !enabled(*d, "describeIge"));
        QVERIFY(enabled(*d, "exportDrawing"));
    }

    void refusesTheHundredAndFirst() {
        Db db;
        Section s = db.section();
        s.boreholes.assign(kMaxSectionBoreholes, 12);
        auto d = open(db, s);
        click(*d, "insert");
        QCOMPARE(child<QListWidget>(*d, "sectionBoreholes")->count(), kMaxSectionBoreholes);
        click(*d, "remove");
        click(*d, "insert");
        click(*d, "save");
        QCOMPARE(s.boreholes.size(), std::size_t(kMaxSectionBoreholes));
        QCOMPARE(s.boreholes[1], 12);
    }

    void objectWithoutBoreholesCannotInsert() {
        Db db;
        db.builder.object(2, "Пустой");
        Section s = db.section();
        SectionDialog d(db.store, 2, s, true, db.sink, db.margins);
        QVERIFY(!enabled(d, "insert"));
    }

    void autoScaleIsStoredAsZero() {
        Db db;
        Section s = db.section();
        s.header.verticalScale = 1000;
        {
            auto d = open(db, s);
            auto* vertical = child<QComboBox>(*d, "verticalScale");
            QCOMPARE(vertical->currentText(), QStringLiteral("1:1000 "));
            choose(vertical, QStringLiteral("AUTO"));
            choose(child<QComboBox>(*d, "horizontalScale"), QStringLiteral("1:200 "));
            click(*d, "save");
            QCOMPARE(d->result(), int(QDialog::Accepted));
        }
        QCOMPARE(s.header.verticalScale, 0);
        QCOMPARE(s.header.horizontalScale, 200);
        auto again = open(db, s);
        QCOMPARE(child<QComboBox>(*again, "verticalScale")->currentText(), QStringLiteral("AUTO"));
    }

    void unknownSheetSizeShowsAndSavesTheFirstFormat() {
        Db db;
        Section s = db.section();
        s.header.sheetHeightMm = 100;
        s.header.sheetWidthMm = 200;
        auto d = open(db, s);
        QCOMPARE(child<QComboBox>(*d, "sheetFormat")->currentText(), QStringLiteral("А3"));
        QCOMPARE(child<QLineEdit>(*d, "sheetHeight")->text(), QStringLiteral("297"));
        QCOMPARE(child<QLineEdit>(*d, "sheetWidth")->text(), QStringLiteral("420"));
        click(*d, "save");
        QCOMPARE(s.header.sheetHeightMm, 297);
        QCOMPARE(s.header.sheetWidthMm, 420);

        auto other = open(db, s);
        choose(child<QComboBox>(*other, "sheetFormat"), QStringLiteral("А2"));
        QCOMPARE(child<QLineEdit>(*other, "sheetWidth")->text(), QStringLiteral("594"));
        click(*other, "save");
        QCOMPARE(s.header.sheetHeightMm, 420);
        QCOMPARE(s.header.sheetWidthMm, 594);
    }

    void savingFillsTheSectionAndWritesNothing() {
        Db db;
        Section s = db.section();
        auto d = open(db, s, true);
        child<QLineEdit>(*d, "name")->setText(QStringLiteral("Разрез 1-1"));
        choose(child<QComboBox>(*d, "signature3"), QStringLiteral("Петров"));
        child<QListWidget>(*d, "objectBoreholes")->setCurrentRow(2);
        click(*d, "insert");
        click(*d, "save");
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(s.header.name.utf8(), std::string("Разрез 1-1"));
        QCOMPARE(s.header.number, 5);
        QCOMPARE(s.header.created, 100);
        const std::string petrov = platform::utf8ToCp1251("Петров") + std::string(24, ' ');
        QCOMPARE(std::string(s.header.signatures[2].raw.begin(), s.header.signatures[2].raw.end()),
                 petrov);
        QCOMPARE(s.boreholes, (std::vector<std::int32_t>{13}));
        QVERIFY(!std::filesystem::exists(db.builder.objectDir(1) / "000005.DAT"));
    }

    void cancelAsksOnlyWhileWorkingCopiesExist() {
        Db db;
        Section s = db.section();
        s.boreholes = {11};
        {
            auto d = open(db, s);
            child<QListWidget>(*d, "sectionBoreholes")->setCurrentRow(0);
            click(*d, "remove");
            click(*d, "cancel");
            QVERIFY(!d->isVisible());
            QCOMPARE(d->result(), int(QDialog::Rejected));
        }
        QCOMPARE(s.boreholes, (std::vector<std::int32_t>{11}));

        for (const char* work : {"WORK.SLO", "WORK.MTX", "WORK.OIE"})
            test::writeBytes(db.dir / work, {1, 2, 3});
        auto d = open(db, s);
        QString title;
        test::whenModal(this, [&title](QWidget* box) {
            title = box->windowTitle();
            click(*box, "continueEditing");
        });
        click(*d, "cancel");
        QCOMPARE(title, QStringLiteral("Внимание"));
        QVERIFY(d->isVisible());
        QVERIFY(std::filesystem::exists(db.dir / "WORK.MTX"));

        test::whenModal(this, [](QWidget* box) { click(*box, "leaveWithoutSaving"); });
        click(*d, "cancel");
        QVERIFY(!d->isVisible());
        for (const char* work : {"WORK.SLO", "WORK.MTX", "WORK.OIE"})
            QVERIFY2(!std::filesystem::exists(db.dir / work), work);
    }

    void subEditorsAreNotAvailableYet() {
        Db db;
        Section s = db.section();
        s.boreholes = {12};
        auto d = open(db, s);
        click(*d, "exportData");
        QVERIFY(db.sink.empty());
        for (const char* name :
             {"editDrawing", "view", "print", "exportDrawing", "exportDrawingMore"}) {
            db.sink.clear();
            click(*d, name);
            QCOMPARE(db.sink.entries().size(), std::size_t(1));
            QCOMPARE(db.sink.entries()[0].caption, std::string("Information"));
            QCOMPARE(db.sink.entries()[0].text, std::string("Эта функция пока недоступна."));
        }
    }

    // "Описание ИГЭ..." opens the descriptions of the list as it stands in the dialog.
    void describeIgeOpensTheDescriptions() {
        Db db;
        Section s = db.section();
        s.boreholes = {12};
        auto d = open(db, s);
        QString title;
        int rows = -1;
        test::whenModal(this, [&](QWidget* w) {
            title = w->windowTitle();
            rows = w->findChild<QListWidget*>("numbers")->count();
            click(*w, "cancel");
        });
        click(*d, "describeIge");
        QCOMPARE(title, QStringLiteral("Описание инженерно-геологических элементов"));
        QCOMPARE(rows, 0); // the test boreholes have no layers
        QVERIFY(db.sink.empty());
        QVERIFY(!std::filesystem::exists(db.dir / "WORK.OIE"));
    }

    // The connection editor gets the list as it stands in the dialog, and the stored section
    // only when there is one.
    void connectionEditorGetsTheCurrentList() {
        Db db;
        for (const bool isNew : {false, true}) {
            Section s = db.section();
            s.boreholes = {12, 11};
            auto d = open(db, s, isNew);
            std::vector<std::int32_t> got;
            std::optional<std::int32_t> stored{-1};
            d->setConnectionEditor(
                [&](const std::vector<std::int32_t>& list, std::optional<std::int32_t> number) {
                    got = list;
                    stored = number;
                });
            child<QListWidget>(*d, "sectionBoreholes")->setCurrentRow(1);
            click(*d, "remove");
            click(*d, "connectIge");
            QCOMPARE(got, (std::vector<std::int32_t>{12}));
            QCOMPARE(stored, isNew ? std::nullopt : std::optional<std::int32_t>(5));
        }
        // Without an editor handed over the button says so and writes nothing.
        Section s = db.section();
        s.boreholes = {12, 11};
        auto d = open(db, s);
        db.sink.clear();
        click(*d, "connectIge");
        QCOMPARE(db.sink.entries().size(), std::size_t(1));
        QCOMPARE(db.sink.entries()[0].text, std::string("Эта функция пока недоступна."));
        QVERIFY(!db.store.HasWorkingCopies());
    }

    void defaultsAreSavedToTheirFile() {
        Db db;
        store::SectionDefaults d;
        d.verticalScale = 500;
        d.horizontalScale = 1000;
        d.sheetHeightMm = 297;
        d.sheetWidthMm = 420;
        d.stampFirstSheet = 1;
        d.stampOtherSheets = 3;
        d.drawingForm = 1;
        SectionDefaultsDialog dialog(db.store, d, db.sink, db.margins);
        dialog.show();
        QCOMPARE(child<QComboBox>(dialog, "verticalScale")->currentText(),
                 QStringLiteral("1:500 "));
        QCOMPARE(child<QComboBox>(dialog, "drawingForm")->currentText(), QStringLiteral("Форма 1"));
        QCOMPARE(child<QComboBox>(dialog, "stampOtherSheets")->currentText(),
                 QStringLiteral("Малый"));
        choose(child<QComboBox>(dialog, "verticalScale"), QStringLiteral("AUTO"));
        choose(child<QComboBox>(dialog, "horizontalScale"), QStringLiteral("1:200 "));
        choose(child<QComboBox>(dialog, "sheetFormat"), QStringLiteral("А2"));
        choose(child<QComboBox>(dialog, "stampFirstSheet"), QStringLiteral("Шаблон"));
        choose(child<QComboBox>(dialog, "drawingForm"), QStringLiteral("Форма 0"));
        click(dialog, "save");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(d.verticalScale, 0);
        QCOMPARE(d.horizontalScale, 200);
        QCOMPARE(d.sheetHeightMm, 420);
        QCOMPARE(d.sheetWidthMm, 594);
        QCOMPARE(d.stampFirstSheet, 0);
        QCOMPARE(d.stampOtherSheets, 3);
        QCOMPARE(d.drawingForm, 0);
        const auto stored = db.store.LoadSectionDefaults();
        QVERIFY(stored.ok());
        QCOMPARE(store::recordBytes(*stored), store::recordBytes(d));
    }

    void cancelledDefaultsStayAsTheyWere() {
        Db db;
        store::SectionDefaults d;
        d.horizontalScale = 500;
        d.sheetHeightMm = 100; // no such format: the stored sizes are still what is shown
        d.sheetWidthMm = 200;
        d.stampFirstSheet = 1;
        QVERIFY(db.store.SaveSectionDefaults(d).ok());
        const auto before = test::readBytes(db.dir / "DATA/razrez.prm");
        SectionDefaultsDialog dialog(db.store, d, db.sink, db.margins);
        dialog.show();
        QCOMPARE(child<QLineEdit>(dialog, "sheetHeight")->text(), QStringLiteral("100"));
        choose(child<QComboBox>(dialog, "stampFirstSheet"), QStringLiteral("Малый"));
        choose(child<QComboBox>(dialog, "stampOtherSheets"), QStringLiteral("Малый"));
        click(dialog, "cancel");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(d.stampFirstSheet, 1);
        QCOMPARE(d.stampOtherSheets, 0);
        QCOMPARE(test::readBytes(db.dir / "DATA/razrez.prm"), before);
    }

    void defaultsWithoutScaleListAreNotFilled() {
        Db db;
        std::filesystem::remove(db.dir / "DATA/DIC/mashtab.sps");
        store::SectionDefaults d;
        SectionDefaultsDialog dialog(db.store, d, db.sink, db.margins);
        QCOMPARE(db.sink.entries().size(), std::size_t(1));
        QCOMPARE(db.sink.entries()[0].caption, std::string("STOP"));
        QCOMPARE(db.sink.entries()[0].text, std::string("Не найден список масштабов"));
        QCOMPARE(db.sink.entries()[0].icon, platform::Icon::Error);
        QCOMPARE(child<QComboBox>(dialog, "horizontalScale")->count(), 0);
        QCOMPARE(child<QComboBox>(dialog, "stampFirstSheet")->count(), 0);
        QVERIFY(!enabled(dialog, "save"));
        QVERIFY(!std::filesystem::exists(db.dir / "DATA/razrez.prm"));
    }
};

QTEST_MAIN(SectionDialogTest)
#include "section_dialog_test.moc"
