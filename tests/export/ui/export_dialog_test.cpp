// The dialog "Экспорт чертежа разреза - формат DXF" and the export command of the section
// dialog, driven offscreen.
#include "export/ui/export_dialog.h"
#include "support/demo_db.h"
#include "support/gui.h"
#include "support/modal.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace orvo;

namespace {

exporter::ExportDialogInfo info(const std::string& path) {
    exporter::ExportDialogInfo i;
    i.objectName = "Демонстрационный объект";
    i.sectionName = "Разрез 2-2";
    i.sheets = 2;
    i.settings = {true, path, false};
    i.prefix = "R2_";
    return i;
}

QString labelText(QWidget& w, const char* name) {
    return test::child<QLabel>(w, name)->text();
}

} // namespace

class ExportDialogTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheSectionAndSplitsAChosenName() {
        QString askedFolder, askedPrefix;
        exporter::ExportDxfDialog d(info("/data/out"), nullptr,
                                    [&](QWidget*, const QString& folder, const QString& prefix) {
                                        askedFolder = folder;
                                        askedPrefix = prefix;
                                        return QString("/mnt/чертежи/R12.a.DXF");
                                    });
        QCOMPARE(d.windowTitle(), QString("Экспорт чертежа разреза - формат DXF"));
        QCOMPARE(labelText(d, "sheets"), QString("2"));
        QCOMPARE(labelText(d, "section"), QString("Разрез 2-2"));
        QVERIFY(test::child<QLabel>(d, "path")->font().bold());
        QVERIFY(test::child<QCheckBox>(d, "archive")->isChecked());
        QVERIFY(!test::child<QCheckBox>(d, "boundary")->isChecked());
        test::child<QPushButton>(d, "changePath")->click();
        QCOMPARE(askedFolder, QString("/data/out"));
        QCOMPARE(askedPrefix, QString("R2_"));
        QCOMPARE(labelText(d, "path"), QString("/mnt/чертежи"));
        QCOMPARE(labelText(d, "prefix"), QString("R12"));
        test::child<QCheckBox>(d, "archive")->setChecked(false);
        test::child<QCheckBox>(d, "boundary")->setChecked(true);
        const auto c = d.choice();
        QCOMPARE(QString::fromStdString(c.settings.path), QString("/mnt/чертежи"));
        QCOMPARE(QString::fromStdString(c.prefix), QString("R12"));
        QVERIFY(!c.settings.archive);
        QVERIFY(c.settings.hatchBoundary);
        QVERIFY(c.storeSettings);
    }

    void cancelledPathChangesNothing() {
        exporter::ExportDxfDialog d(
            info("/data/out"), nullptr,
            [](QWidget*, const QString&, const QString&) { return QString(); });
        test::child<QPushButton>(d, "changePath")->click();
        QCOMPARE(labelText(d, "path"), QString("/data/out"));
        QCOMPARE(labelText(d, "prefix"), QString("R2_"));
    }

    // The command as the section dialog runs it: the real dialog, "Экспорт" clicked; the files
    // are delivered and DXF.SAV remembers the choice.
    void commandExportsAndStoresTheSettings() {
        test::DemoDatabase db;
        QVERIFY(db.made);
        const auto out = db.dir.path() / "out";
        std::filesystem::create_directories(out);
        exporter::SaveExportSettings(db.folder, {false, out.string(), false});
        auto section = section::ReadSection(db.folder, 1, 2);
        QVERIFY(section);
        platform::RecordingMessageSink sink;
        test::whenModal(this, [](QWidget* w) {
            auto* d = qobject_cast<QDialog*>(w);
            QVERIFY(d);
            test::child<QCheckBox>(*d, "boundary")->setChecked(true);
            test::child<QPushButton>(*d, "export")->click();
        });
        const auto outcome = exporter::ExportSectionDxfWindow(
            nullptr, db.store, sink, {1, 2, *section, drawing::TextSource::SectionDialog});
        QVERIFY(outcome.completed);
        QCOMPARE(outcome.delivered.size(), std::size_t{4});
        QVERIFY(std::filesystem::exists(out / "R2_2.DXF"));
        QVERIFY(exporter::ReadExportSettings(db.folder).hatchBoundary);
    }
};

QTEST_MAIN(ExportDialogTest)
#include "export_dialog_test.moc"
