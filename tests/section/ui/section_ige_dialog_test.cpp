// "Описание инженерно-геологических элементов": the standard toggle, own text and hatch kept
// without leaving the field, WORK.OIE written on "Сохранить" and nothing on "Отмена".
#include "borehole/borehole_record.h"
#include "dict/hatch.h"
#include "dict/ige_description.h"
#include "platform/codepage.h"
#include "section/ige_list.h"
#include "section/ui/section_ige_dialog.h"
#include "store/records.h"
#include "store/store_paths.h"
#include "support/gui.h"
#include "support/temp_dir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>

using namespace orvo;
using namespace orvo::section;
using namespace orvo::section::ui;

using orvo::test::child;
using orvo::test::click;

namespace {

// A click on the check box's square: its middle may lie beyond the caption.
void toggleStandard(QWidget& d) {
    auto* box = child<QCheckBox>(d, "useStandard");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

} // namespace

class SectionIgeDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    platform::RecordingMessageSink m_sink;

    IgeList build() {
        auto list = BuildIgeList(*m_folder, 1, {11}, std::nullopt);
        if (!list)
            qFatal("BuildIgeList failed");
        return *list;
    }
    bool shown(QDialog& d) {
        d.resize(700, 400);
        d.show();
        return QTest::qWaitForWindowExposed(&d);
    }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        std::filesystem::create_directories(m_dir->path() / "DATA/DIC");
        m_folder = std::make_unique<platform::WorkFolder>(m_dir->path());
        m_sink = {};
        borehole::Borehole b = borehole::newBorehole(11);
        for (const char* ige : {"3б", "1"}) {
            borehole::IgeLayer layer;
            layer.ige.setUtf8(ige);
            b.ige.push_back(layer);
        }
        test::writeBytes(m_dir->path() / "DATA/00001.OBJ/00000011.SKV", borehole::boreholeBytes(b));
        store::Bytes hatches;
        for (const char* name : {"Глина", "Песок"}) {
            const auto rec = store::recordBytes(dict::hatchRecord(name));
            hatches.insert(hatches.end(), rec.begin(), rec.end());
        }
        test::writeBytes(m_dir->path() / "DATA/DIC/shtrix.sps", hatches);
        QVERIFY(dict::SaveStandardIge(*m_folder, -1, "1", "Насыпной грунт", 1));
    }

    void standardToggleAndOwnDescription() {
        SectionIgeDialog d(*m_folder, build(), m_sink);
        d.setStandardDialog([] {});
        QVERIFY(shown(d));
        auto* numbers = child<QListWidget>(d, "numbers");
        QCOMPARE(numbers->count(), 2);
        QCOMPARE(numbers->item(0)->text(), QStringLiteral("1"));
        QCOMPARE(numbers->item(1)->text(), QStringLiteral("3б"));
        auto* standard = child<QCheckBox>(d, "useStandard");
        auto* text = child<QPlainTextEdit>(d, "description");
        auto* hatch = child<QComboBox>(d, "hatch");
        // 1 takes the standard description: shown, not editable.
        QVERIFY(standard->isChecked());
        QCOMPARE(text->toPlainText(), QStringLiteral("Насыпной грунт"));
        QCOMPARE(hatch->currentText(), QStringLiteral("Песок"));
        QVERIFY(!text->isEnabled() && !hatch->isEnabled());
        // 3б has no standard record: empty and no hatch.
        numbers->setCurrentRow(1);
        QVERIFY(standard->isChecked());
        QVERIFY(text->toPlainText().isEmpty());
        QCOMPARE(hatch->currentIndex(), 0);
        // Its own description, saved without leaving the field.
        toggleStandard(d);
        QVERIFY(!standard->isChecked() && text->isEnabled() && hatch->isEnabled());
        text->setFocus();
        text->insertPlainText(QStringLiteral("Суглинок")); // typed, the field keeps focus
        hatch->setCurrentIndex(1);
        click(d, "save");
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(m_sink.empty());

        auto work = dict::ReadIgeDescriptionFile(*m_folder, "WORK.OIE");
        QVERIFY(work && *work && (*work)->size() == 2);
        const auto& own = (**work)[1];
        QCOMPARE(own.flag, 0);
        QCOMPARE(own.description.utf8(), std::string("Суглинок"));
        QCOMPARE(own.hatch, 0);
        QCOMPARE((**work)[0].flag, 1);
        // Opened again, WORK.OIE is what the list starts from.
        const IgeList again = build();
        QVERIFY(!again.entries[1].takesStandard());
        QCOMPARE(again.entries[1].description.utf8(), std::string("Суглинок"));
    }

    void ownTextKeptAcrossSelectionAndToggleBack() {
        SectionIgeDialog d(*m_folder, build(), m_sink);
        QVERIFY(shown(d));
        auto* numbers = child<QListWidget>(d, "numbers");
        toggleStandard(d); // 1 gets its own text
        child<QPlainTextEdit>(d, "description")->insertPlainText(QStringLiteral("Своё"));
        numbers->setCurrentRow(1);
        numbers->setCurrentRow(0);
        QCOMPARE(child<QPlainTextEdit>(d, "description")->toPlainText(), QStringLiteral("Своё"));
        toggleStandard(d); // back to the standard one: shown again, own text kept
        QCOMPARE(child<QPlainTextEdit>(d, "description")->toPlainText(),
                 QStringLiteral("Насыпной грунт"));
        QCOMPARE(d.igeList().entries[0].description.utf8(), std::string("Своё"));
        QVERIFY(d.igeList().entries[0].takesStandard());
    }

    void cancelWritesNothing() {
        SectionIgeDialog d(*m_folder, build(), m_sink);
        QVERIFY(shown(d));
        toggleStandard(d);
        QTest::keyClicks(child<QPlainTextEdit>(d, "description"), QStringLiteral("x"));
        click(d, "cancel");
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(!std::filesystem::exists(m_dir->path() / "WORK.OIE"));
    }

    void standardListRefreshesTheShownText() {
        SectionIgeDialog d(*m_folder, build(), m_sink);
        bool opened = false;
        d.setStandardDialog([&] {
            opened = true;
            QVERIFY(dict::SaveStandardIge(*m_folder, 0, "1", "Насыпной, слежавшийся", -1));
        });
        QVERIFY(shown(d));
        click(d, "standardList");
        QVERIFY(opened);
        QCOMPARE(child<QPlainTextEdit>(d, "description")->toPlainText(),
                 QStringLiteral("Насыпной, слежавшийся"));
        QCOMPARE(child<QComboBox>(d, "hatch")->currentIndex(), 0);
    }

    void damagedWorkingCopyIsReported() {
        test::writeBytes(m_dir->path() / "WORK.OIE", {5, 0, 0, 0});
        auto list = BuildIgeList(*m_folder, 1, {11}, std::nullopt);
        QVERIFY(list && list->badDescriptions);
        QVERIFY(list->badDescriptions->text.find("Неверный формат файла") != std::string::npos);
    }
};

QTEST_MAIN(SectionIgeDialogTest)
#include "section_ige_dialog_test.moc"
