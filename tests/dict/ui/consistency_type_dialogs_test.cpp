// The consistency types dialog: browse, edit, save, delete, export, import, preview.
#include "dict/consistency_type.h"
#include "dict/ui/consistency_type_dialogs.h"
#include "support/gui.h"
#include "support/modal.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace orvo;
using namespace orvo::dict;
using namespace orvo::dict::ui;

using orvo::test::buttonWithText;
using orvo::test::whenModal;

using orvo::test::child;
using orvo::test::click;
using orvo::test::countPixels;
using orvo::test::shown;
using orvo::test::texts;
using orvo::test::type;

namespace {

ConsistencyElement element(int kind, int repeat, int step) {
    ConsistencyElement e;
    e.kind = kind;
    e.repeat = repeat;
    e.step = step;
    e.lineWidth = 30;
    return e;
}

} // namespace

class ConsistencyTypeDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    platform::RecordingMessageSink m_sink;
    std::filesystem::path m_file;

    ConsistencyDialogHooks hooks() {
        return {[this](bool) { return std::optional<std::filesystem::path>(m_file); }};
    }
    store::Bytes bytes(const char* rel) { return test::readBytes(m_dir->path() / rel); }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        std::filesystem::create_directories(m_dir->path() / "DATA/DIC");
        m_folder = std::make_unique<platform::WorkFolder>(m_dir->path());
        m_sink = {};
        m_file = m_dir->path() / "exchange.OTI";
        QCOMPARE(*SaveNewConsistencyType(*m_folder, "Нет", {element(kVertical, 0, 0)}), 0);
        QCOMPARE(*SaveNewConsistencyType(*m_folder, "Мягкий", {element(kHorizontal, 1, 200)}), 1);
        QCOMPARE(*SaveNewConsistencyType(*m_folder, "Апельсин", {element(kVertical, 1, 100)}), 2);
    }

    void consistencyBrowsingAndEditingStates() {
        ConsistencyTypesDialog d(*m_folder, m_sink, hooks());
        QVERIFY(shown(d));
        QCOMPARE(d.windowTitle(), QStringLiteral("Показатель текучести, влажность"));
        auto* list = child<QListWidget>(d, "list");
        QCOMPARE(texts(list), (QStringList{"Апельсин", "Мягкий", "Нет"})); // sorted
        QCOMPARE(d.selectedSlot(), 2);
        QVERIFY(child<QWidget>(d, "editPanel")->isHidden());
        d.selectSlot(0);
        for (const char* name : {"edit", "delete", "export"})
            QVERIFY2(!child<QPushButton>(d, name)->isEnabled(), name);
        QVERIFY(child<QPushButton>(d, "new")->isEnabled());
        d.selectSlot(1);
        QCOMPARE(d.shownElements().size(), 1u);
        QCOMPARE(d.shownElements()[0].kind, int{kHorizontal});
        for (const char* name : {"edit", "delete", "export", "import"})
            QVERIFY2(child<QPushButton>(d, name)->isEnabled(), name);

        click(d, "edit");
        QVERIFY(d.editing());
        QVERIFY(!child<QWidget>(d, "editPanel")->isHidden());
        QVERIFY(!list->isEnabled());
        for (const char* name : {"edit", "new", "delete", "export", "import"})
            QVERIFY2(!child<QPushButton>(d, name)->isEnabled(), name);
        QVERIFY(child<QPushButton>(d, "exit")->isEnabled());
        QCOMPARE(child<QLineEdit>(d, "name")->text(), QStringLiteral("Мягкий"));
        QCOMPARE(texts(child<QListWidget>(d, "elements")), QStringList{"# 001"});
        QVERIFY(!child<QPushButton>(d, "deleteElement")->isEnabled());
        QVERIFY(child<QCheckBox>(d, "repeat")->isChecked());
        QCOMPARE(child<QLineEdit>(d, "step")->text(), QStringLiteral("2.00"));
        QCOMPARE(child<QLineEdit>(d, "lineWidth")->text(), QStringLiteral("0.30 mm"));

        // "Отмена" drops the edits and reloads the type.
        child<QLineEdit>(d, "name")->setText("Другое");
        type(d, "step", "9");
        const auto before = bytes("DATA/DIC/TipIGE.SPS");
        click(d, "cancel");
        QVERIFY(!d.editing());
        QVERIFY(list->isEnabled());
        QCOMPARE(bytes("DATA/DIC/TipIGE.SPS"), before);
        QCOMPARE(d.shownElements()[0].step, 200);
    }

    void consistencyNewTypeWithElements() {
        ConsistencyTypesDialog d(*m_folder, m_sink, hooks());
        QVERIFY(shown(d));
        click(d, "new");
        QCOMPARE(child<QLineEdit>(d, "name")->text(), QString());
        QCOMPARE(d.shownElements(), std::vector<ConsistencyElement>{ConsistencyElement{}});
        child<QLineEdit>(d, "name")->setText("Мягкий"); // a duplicate name is fine
        // First element: a repeated horizontal, 2.5 mm apart.
        click(d, "horizontal");
        click(d, "repeat");
        type(d, "step", "2.5");
        type(d, "lineWidth", "0.35");
        QCOMPARE(child<QLineEdit>(d, "lineWidth")->text(), QStringLiteral("0.35 mm"));
        // Second element: a repeated diagonal; the angle is limited to 89.
        click(d, "newElement");
        QCOMPARE(texts(child<QListWidget>(d, "elements")), (QStringList{"# 001", "# 002"}));
        QCOMPARE(d.shownSelection(), 1);
        QVERIFY(child<QPushButton>(d, "deleteElement")->isEnabled());
        click(d, "diagonal");
        click(d, "repeat");
        type(d, "angle", "120");
        QCOMPARE(child<QLineEdit>(d, "angle")->text(), QStringLiteral("89"));
        // Typed but not left: "Сохранить" still takes it.
        child<QLineEdit>(d, "step")->setText("1.5");
        click(d, "save");
        QVERIFY(!d.editing());
        QCOMPARE(d.selectedSlot(), 3);
        auto saved = LoadConsistencyType(*m_folder, 3);
        QVERIFY(saved);
        QCOMPARE(saved->record.name.bytes().size(), 30u);
        QCOMPARE(saved->record.name.utf8Trimmed(), std::string("Мягкий"));
        QCOMPARE(saved->elements.size(), 2u);
        ConsistencyElement first = element(kHorizontal, 1, 250);
        first.lineWidth = 35;
        QCOMPARE(saved->elements[0], first);
        QCOMPARE(saved->elements[1].kind, int{kDiagonal});
        QCOMPARE(saved->elements[1].angle, 89);
        QCOMPARE(saved->elements[1].step, 150);
        QCOMPARE(texts(child<QListWidget>(d, "list")).count(QStringLiteral("Мягкий")), 2);
    }

    void consistencyNegativeOffsetKeepsItsSign() {
        ConsistencyTypesDialog d(*m_folder, m_sink, hooks());
        QVERIFY(shown(d));
        click(d, "new");
        child<QLineEdit>(d, "name")->setText("Левее центра");
        type(d, "step", "-1.5"); // a single vertical: 1.5 mm left of the centre line
        QCOMPARE(child<QLineEdit>(d, "step")->text(), QStringLiteral("-1.50"));
        // Away to a second element and back: the field shows the stored value again.
        click(d, "newElement");
        child<QListWidget>(d, "elements")->setCurrentRow(0);
        QCOMPARE(child<QLineEdit>(d, "step")->text(), QStringLiteral("-1.50"));
        click(d, "save");
        const int slot = d.selectedSlot();
        QCOMPARE(LoadConsistencyType(*m_folder, slot)->elements[0].step, -150);
        // Through an exchange file and back under a free name.
        click(d, "export");
        QVERIFY(DeleteConsistencyType(*m_folder, slot));
        click(d, "import");
        QVERIFY(m_sink.empty());
        QVERIFY(d.selectedSlot() != slot);
        QCOMPARE(LoadConsistencyType(*m_folder, d.selectedSlot())->elements[0].step, -150);
        QCOMPARE(d.shownElements()[0].step, -150);
    }

    void consistencyFieldsFollowKindAndRepeat() {
        ConsistencyTypesDialog d(*m_folder, m_sink, hooks());
        QVERIFY(shown(d));
        click(d, "new");
        auto visible = [&d](const char* name) { return !child<QWidget>(d, name)->isHidden(); };
        auto stepLabel = [&d] {
            for (auto* l : d.findChildren<QLabel*>())
                if (l->text().startsWith(QStringLiteral("- ")) && !l->isHidden() &&
                    l->text() != QStringLiteral("- угол наклона (град)"))
                    return l->text();
            return QString();
        };
        QCOMPARE(stepLabel(), QStringLiteral("- смещение от центра"));
        QVERIFY(visible("step") && !visible("angle") && !visible("down"));
        click(d, "repeat");
        QCOMPARE(stepLabel(), QStringLiteral("- шаг по горизонтали"));
        click(d, "horizontal");
        QCOMPARE(stepLabel(), QStringLiteral("- шаг по вертикали"));
        click(d, "repeat");
        QCOMPARE(stepLabel(), QStringLiteral("- смещение от верха"));
        click(d, "diagonal");
        QVERIFY(!visible("step") && !visible("angle") && visible("down") && visible("up"));
        click(d, "up");
        QCOMPARE(d.shownElements()[0].direction, 1);
        click(d, "repeat");
        QVERIFY(visible("step") && visible("angle") && !visible("down"));
        // The element list follows additions and removals.
        click(d, "newElement");
        child<QListWidget>(d, "elements")->setCurrentRow(0);
        click(d, "deleteElement");
        QCOMPARE(texts(child<QListWidget>(d, "elements")), QStringList{"# 001"});
        QCOMPARE(d.shownElements(), std::vector<ConsistencyElement>{ConsistencyElement{}});
        QVERIFY(!child<QPushButton>(d, "deleteElement")->isEnabled());
    }

    void consistencyDeleteAsks() {
        ConsistencyTypesDialog d(*m_folder, m_sink, hooks());
        QVERIFY(shown(d));
        d.selectSlot(1);
        m_sink.queueAnswer(platform::Answer::No);
        click(d, "delete");
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].caption, std::string("Удаление"));
        QCOMPARE(m_sink.entries()[0].text,
                 std::string("Вы действительно хотите удалить показатель ?"));
        QCOMPARE((*ReadConsistencyTypeList(*m_folder))[1].used, std::int16_t{1});
        m_sink.queueAnswer(platform::Answer::Yes);
        click(d, "delete");
        QCOMPARE(ReadConsistencyTypeList(*m_folder)->size(), 3u);
        QCOMPARE((*ReadConsistencyTypeList(*m_folder))[1].used, std::int16_t{0});
        QVERIFY(!std::filesystem::exists(m_dir->path() / "DATA/DIC/000001.TIE"));
        QCOMPARE(texts(child<QListWidget>(d, "list")), (QStringList{"Апельсин", "Нет"}));
    }

    void consistencyExportAndImport() {
        ConsistencyTypesDialog d(*m_folder, m_sink, hooks());
        QVERIFY(shown(d));
        d.selectSlot(1);
        click(d, "export");
        const auto exported = test::readBytes(m_file);
        QCOMPARE(exported.size(), 14u + 32 + 24);
        // Same name: "Отмена импорта" changes nothing, "Перезаписать" reuses the slot.
        const auto list = bytes("DATA/DIC/TipIGE.SPS");
        whenModal(this, [](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Импорт - Показатель текучести, влажность"));
            QVERIFY(!w->findChildren<QLabel*>().isEmpty());
            QCOMPARE(w->findChildren<QLabel*>()[2]->text(),
                     QStringLiteral("Уже существует в системе !"));
            QTest::mouseClick(buttonWithText(w, QStringLiteral("Отмена импорта")), Qt::LeftButton);
        });
        click(d, "import");
        QCOMPARE(bytes("DATA/DIC/TipIGE.SPS"), list);
        whenModal(this, [](QWidget* w) {
            QTest::mouseClick(buttonWithText(w, QStringLiteral("Перезаписать")), Qt::LeftButton);
        });
        click(d, "import");
        QCOMPARE(ReadConsistencyTypeList(*m_folder)->size(), 3u);
        QCOMPARE(d.selectedSlot(), 1);
        // Under a name not in use it is appended and selected.
        QVERIFY(DeleteConsistencyType(*m_folder, 1));
        click(d, "import");
        QCOMPARE(d.selectedSlot(), 3);
        QCOMPARE(bytes("DATA/DIC/000003.TIE"), store::Bytes(exported.begin() + 46, exported.end()));
        QVERIFY(m_sink.empty());
        // A foreign file: the message, and nothing written.
        auto bad = exported;
        bad[0] = 'X';
        test::writeBytes(m_file, bad);
        const auto listNow = bytes("DATA/DIC/TipIGE.SPS");
        click(d, "import");
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].text, std::string("Неверный формат файла"));
        QCOMPARE(m_sink.entries()[0].caption, std::string("ОШИБКА"));
        QVERIFY(m_sink.entries()[0].icon == platform::Icon::Error);
        QCOMPARE(bytes("DATA/DIC/TipIGE.SPS"), listNow);
    }

    void consistencyPreviewShowsSelectionInRed() {
        QVERIFY(SaveConsistencyType(*m_folder, 1, "Мягкий",
                                    {element(kVertical, 0, 0), element(kHorizontal, 1, 300)}));
        ConsistencyTypesDialog d(*m_folder, m_sink, hooks());
        QVERIFY(shown(d));
        d.selectSlot(1);
        auto* preview = child<QWidget>(d, "preview");
        auto red = [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; };
        auto blue = [](QRgb p) { return qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60; };
        auto dark = [](QRgb p) { return qGray(p) < 60; };
        QImage browsing = preview->grab().toImage();
        QCOMPARE(countPixels(browsing, red), 0);
        QVERIFY(countPixels(browsing, dark) > 100);
        QVERIFY(countPixels(browsing, blue) > 100);
        click(d, "edit");
        QImage first = preview->grab().toImage();
        // The selected centre line is red, in the middle of the preview.
        QVERIFY(countPixels(first, red) > 50);
        const int mid = first.width() / 2;
        QVERIFY(red(first.pixel(mid, first.height() / 2)) ||
                red(first.pixel(mid - 1, first.height() / 2)));
        // Wider with "X3": more of the horizontal lines are drawn.
        const int before = countPixels(first, dark);
        click(d, "zoom3");
        QVERIFY(countPixels(preview->grab().toImage(), dark) > before);
    }
};

QTEST_MAIN(ConsistencyTypeDialogsTest)
#include "consistency_type_dialogs_test.moc"
