// The main window on a real database: start-up, tree, enabling, right click, shutdown.
#include "borehole/borehole_record.h"
#include "borehole/borehole_types.h"
#include "section/section_record.h"
#include "shell/commands.h"
#include "shell/ui/icons.h"
#include "shell/ui/startup.h"
#include "support/db_builder.h"
#include "support/modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <map>
#include <set>

using namespace orvo;
using namespace orvo::shell;
using namespace orvo::shell::ui;
using orvo::test::DbBuilder;
using orvo::test::TempDir;

namespace {

// The database most tests use: one archived and two working objects with sections and
// boreholes, plus the two settings records.
void fillDatabase(const std::filesystem::path& root) {
    DbBuilder db(root);
    db.object(1, "Старый карьер", true);
    db.object(2, "Площадка Б");
    db.object(3, "Площадка А");
    db.section(3, 5, "Разрез 2-2");
    db.section(3, 4, "Разрез 1-1");
    db.borehole(3, 10, "Скв.3");
    db.borehole(3, 11, "скв.1");
    db.borehole(3, 12, "Скв.2");
    db.borehole(3, 13, "Скв.2");
    store::StatusRecord status;
    status.launchCount = 4;
    status.workSeconds = 100;
    status.nextObjectNumber = 4;
    status.nextSectionNumber = 6;
    status.nextBoreholeNumber = 14;
    test::writeBytes(root / "DATA/status.sav", store::recordBytes(status));
    test::writeBytes(root / "DATA/razrez.prm", store::recordBytes(store::SectionDefaults{}));
    // One scale and one sheet format, so the section dialog can open.
    test::writeBytes(root / "DATA/DIC/mashtab.sps", {0xF4, 0x01});
    store::Bytes format{0x29, 0x01, 0, 0, 0xA4, 0x01, 0, 0};
    format.resize(28, ' ');
    test::writeBytes(root / "DATA/DIC/ListForm.sps", format);
}

// Answers the next modal dialog: fills the named line edits, then clicks the named button.
void answerDialog(QObject* context, QString* title, std::map<QString, QString> fields,
                  const QString& button) {
    test::whenModal(context, [title, fields, button](QWidget* dialog) {
        if (title)
            *title = dialog->windowTitle();
        for (const auto& [name, text] : fields) {
            auto* edit = dialog->findChild<QLineEdit*>(name);
            QVERIFY2(edit, qPrintable(name));
            edit->setText(text);
        }
        auto* b = dialog->findChild<QPushButton*>(button);
        QVERIFY2(b, qPrintable(button));
        QTest::mouseClick(b, Qt::LeftButton);
    });
}

QStringList childTexts(QTreeWidgetItem* item) {
    QStringList out;
    for (int i = 0; i < item->childCount(); ++i)
        out << item->child(i)->text(0);
    return out;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDir> m_dir;
    platform::RecordingMessageSink m_sink;
    std::int64_t m_now = 1000;
    std::unique_ptr<Orvo2App> m_app;

    StartupOptions options(std::function<bool(const platform::WorkFolder&)> password = {}) {
        StartupOptions o;
        o.workFolder = m_dir->path();
        o.sink = &m_sink;
        o.askPassword = password ? password : [](const platform::WorkFolder&) { return true; };
        o.clock = [this] { return m_now; };
        o.fontFamilies = [] { return std::vector<std::string>{"DejaVu Sans"}; };
        return o;
    }
    MainWindow& window() { return m_app->window(); }
    QTreeWidgetItem* itemNamed(const QString& text) {
        for (QTreeWidgetItemIterator it(window().tree()); *it; ++it)
            if ((*it)->text(0) == text)
                return *it;
        return nullptr;
    }
    QTreeWidgetItem* select(const QString& text) {
        QTreeWidgetItem* item = itemNamed(text);
        if (item)
            window().tree()->setCurrentItem(item);
        return item;
    }
    QTreeWidgetItem* itemOfKind(NodeKind kind) {
        QTreeWidgetItemIterator it(window().tree());
        for (; *it; ++it) {
            window().tree()->setCurrentItem(*it);
            if (window().currentNode().kind == static_cast<std::int16_t>(kind))
                return *it;
        }
        return nullptr;
    }

private slots:
    void init() {
        m_dir = std::make_unique<TempDir>();
        fillDatabase(m_dir->path());
        m_sink.clear();
        m_now = 1000;
        m_app = Orvo2App::start(options());
        QVERIFY(m_app);
    }
    void cleanup() {
        m_app.reset();
        m_dir.reset();
    }

    void treeShowsTheDatabase() {
        QTreeWidget* tree = window().tree();
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), QStringLiteral("Библиотека Инженерно-Геологических разрезов"));
        QCOMPARE(childTexts(root), (QStringList{"Рабочие объекты", "Архивные объекты"}));
        QTreeWidgetItem* working = root->child(0);
        QCOMPARE(childTexts(working), (QStringList{"Площадка А", "Площадка Б"}));
        QTreeWidgetItem* archived = root->child(1);
        QCOMPARE(childTexts(archived), QStringList{"Старый карьер"});
        QCOMPARE(archived->child(0)->childCount(), 0);
        QTreeWidgetItem* objectA = working->child(0);
        QCOMPARE(childTexts(objectA),
                 (QStringList{"Список выработок обьекта", "Разрез 2-2", "Разрез 1-1"}));
        QCOMPARE(childTexts(objectA->child(0)), (QStringList{"скв.1", "Скв.2", "Скв.2", "Скв.3"}));
        QCOMPARE(childTexts(working->child(1)), QStringList{"Список выработок обьекта"});

        // Item data are record indexes in TREEVIEW.TMP, records in insertion order.
        const auto bytes = test::readBytes(m_dir->path() / "TREEVIEW.TMP");
        int count = 0;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            const int index = (*it)->data(0, Qt::UserRole).toInt();
            QVERIFY(index >= 0 && static_cast<std::size_t>(index + 1) * 14 <= bytes.size());
            ++count;
        }
        QCOMPARE(static_cast<std::size_t>(count) * 14, bytes.size());
        QCOMPARE(root->data(0, Qt::UserRole).toInt(), 0);
        QCOMPARE(working->data(0, Qt::UserRole).toInt(), 1);
        QCOMPARE(archived->data(0, Qt::UserRole).toInt(), 2);
        // The selected node is read back from the file.
        tree->setCurrentItem(objectA->child(1));
        QCOMPARE(window().currentNode().kind, 5);
        QCOMPARE(window().currentNode().object, 3);
        QCOMPARE(window().currentNode().section, 5);
    }

    void enablingFollowsTheSelectedKind() {
        // Columns: data, new object, new section, new borehole, delete object, delete
        // section, delete borehole, print, view, to archive, from archive, export, import.
        const int ids[13] = {11856, 11844, 11845, 11846, 11851, 11852, 11853,
                             11848, 11847, 11842, 11843, 11849, 11850};
        const char* rows[8] = {"0000000000000", "0100000000001", "0000000000000", "1110100111011",
                               "0000100000100", "1110010110011", "1111001110011", "0111000000001"};
        QCOMPARE(QString(rows[0]).size(), 13);
        // At start nothing is selected and the root's row applies.
        for (int c = 0; c < 13; ++c)
            QVERIFY(!window().action(ids[c])->isEnabled());
        for (int kind = 0; kind < 8; ++kind) {
            QVERIFY2(itemOfKind(static_cast<NodeKind>(kind)), "kind missing in the database");
            for (int c = 0; c < 13; ++c) {
                QAction* a = window().action(ids[c]);
                const bool want = rows[kind][c] == '1';
                QVERIFY2(a->isEnabled() == want,
                         qPrintable(QStringLiteral("kind %1 command %2").arg(kind).arg(ids[c])));
                if (QWidget* button = window().toolBar()->widgetForAction(a))
                    QCOMPARE(button->isEnabled(), want);
            }
            // Commands outside the table stay on.
            QVERIFY(window().action(cmd::kScales)->isEnabled());
            QVERIFY(window().action(cmd::kAbout)->isEnabled());
        }
    }

    void rightClickActsAsDataOnTheSelectedNode() {
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QTreeWidget* tree = window().tree();
        for (int kind = 0; kind < 8; ++kind) {
            QTreeWidgetItem* item = itemOfKind(static_cast<NodeKind>(kind));
            QVERIFY(item);
            m_sink.clear();
            // A borehole opens its editor and a working object its title: note the caption
            // and cancel.
            QString editor;
            if (kind == 6 || kind == 3 || kind == 5)
                QTimer::singleShot(0, this, [&editor] {
                    if (QWidget* w = QApplication::activeModalWidget()) {
                        editor = w->windowTitle();
                        w->close();
                    }
                });
            // Clicked on the root item: the selection must stay where it is.
            const QPoint elsewhere = tree->visualItemRect(tree->topLevelItem(0)).center();
            QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, elsewhere);
            QCOMPARE(tree->currentItem(), item);
            QVERIFY(m_sink.empty());
            if (kind == 6)
                QVERIFY2(editor.startsWith(QStringLiteral("Выработка: ")), qPrintable(editor));
            if (kind == 3)
                QCOMPARE(editor, QStringLiteral("Редактирование титула объекта"));
            if (kind == 5)
                QVERIFY2(editor.startsWith(QStringLiteral("Разрез: ")), qPrintable(editor));
            if (kind != 3 && kind != 5 && kind != 6)
                QVERIFY(editor.isEmpty());
        }
    }

    void newBoreholeGoesIntoTheTreeSorted() {
        platform::WorkFolder folder(m_dir->path());
        for (const char* name : {"- нет -", "Скважина", "Шурф"}) {
            borehole::BoreholeType t;
            t.name.setUtf8(name);
            QVERIFY(borehole::AddBoreholeType(folder, t));
        }
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QTreeWidgetItem* list = nullptr;
        for (QTreeWidgetItemIterator it(window().tree()); *it; ++it)
            if ((*it)->text(0) == QStringLiteral("Список выработок обьекта") && (*it)->childCount())
                list = *it;
        QVERIFY(list);
        window().tree()->setCurrentItem(list);
        // Cancelled first: nothing numbered, nothing added.
        test::whenModal(this, [](QWidget* d) { d->close(); });
        window().runCommand(cmd::kNewBorehole);
        QCOMPARE(list->childCount(), 4);
        QCOMPARE(m_app->session().status().nextBoreholeNumber, 14);
        test::whenModal(this, [](QWidget* editor) {
            editor->findChild<QLineEdit*>(QStringLiteral("name"))
                ->setText(QStringLiteral("Скв.10"));
            editor->findChild<QLineEdit*>(QStringLiteral("depth"))->setText(QStringLiteral("12"));
            auto* type = editor->findChild<QComboBox*>(QStringLiteral("type"));
            type->setFocus();
            QTest::keyClick(type, Qt::Key_End);
            QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("save")),
                              Qt::LeftButton);
        });
        window().runCommand(cmd::kNewBorehole);
        QCOMPARE(list->childCount(), 5);
        QCOMPARE(childTexts(list), (QStringList{"скв.1", "Скв.10", "Скв.2", "Скв.2", "Скв.3"}));
        QCOMPARE(window().tree()->currentItem()->text(0), QStringLiteral("Скв.10"));
        QCOMPARE(window().currentNode().kind, std::int16_t{6});
        QCOMPARE(window().currentNode().borehole, 14);
        QCOMPARE(m_app->session().status().nextBoreholeNumber, 15);
        auto saved = borehole::ReadBorehole(folder, 3, 14);
        QVERIFY(saved);
        QCOMPARE(saved->header.depth, 12.0f);
        QCOMPARE(saved->header.type, std::int16_t{2});
        // Its record went to the end of TREEVIEW.TMP, after the 14 of the start.
        QCOMPARE(window().tree()->currentItem()->data(0, Qt::UserRole).toInt(), 14);
        QCOMPARE(std::filesystem::file_size(m_dir->path() / "TREEVIEW.TMP"), 15u * 14);
    }

    void newObjectAppearsSortedWithItsBoreholeList() {
        QTreeWidgetItem* working = select(QStringLiteral("Рабочие объекты"));
        QVERIFY(working);
        const auto treeSize = std::filesystem::file_size(m_dir->path() / "TREEVIEW.TMP");
        QString title;
        answerDialog(this, &title, {{"shortName", "Новое имя"}}, "cancel");
        window().runCommand(cmd::kNewObject);
        QCOMPARE(title, QStringLiteral("Новый объект"));
        QCOMPARE(working->childCount(), 2);
        QCOMPARE(m_app->session().status().nextObjectNumber, 4);

        answerDialog(this, nullptr, {{"shortName", "площадка аб"}, {"contract", "Д-5"}}, "save");
        window().runCommand(cmd::kNewObject);
        QCOMPARE(childTexts(working), (QStringList{"Площадка А", "площадка аб", "Площадка Б"}));
        QTreeWidgetItem* added = window().tree()->currentItem();
        QCOMPARE(added, working->child(1));
        QCOMPARE(childTexts(added), QStringList{"Список выработок обьекта"});
        QCOMPARE(window().currentNode().kind, std::int16_t{3});
        QCOMPARE(window().currentNode().object, 4);
        QCOMPARE(m_app->session().status().nextObjectNumber, 5);
        QCOMPARE(std::filesystem::file_size(m_dir->path() / "TREEVIEW.TMP"), treeSize + 2 * 14);
        platform::WorkFolder folder(m_dir->path());
        store::ProjectStore store(folder);
        QCOMPARE(store.ReadObjectTitle(4)->contract.utf8(), std::string("Д-5"));
        // Its list node reads back as the new object's list.
        window().tree()->setCurrentItem(added->child(0));
        QCOMPARE(window().currentNode().kind, std::int16_t{7});
        QCOMPARE(window().currentNode().object, 4);

        // A second one made from a section's node goes under the working folder as well.
        select(QStringLiteral("Разрез 1-1"));
        answerDialog(this, nullptr, {{"shortName", "Аэродром"}}, "save");
        window().runCommand(cmd::kNewObject);
        QCOMPARE(working->child(0)->text(0), QStringLiteral("Аэродром"));
    }

    void titleEditRelabelsTheObject() {
        QTreeWidgetItem* object = select(QStringLiteral("Площадка Б"));
        QVERIFY(object);
        QString title;
        test::whenModal(this, [&title](QWidget* dialog) {
            title = dialog->findChild<QPushButton*>(QStringLiteral("save"))->text();
            dialog->findChild<QLineEdit*>(QStringLiteral("shortName"))
                ->setText(QStringLiteral("Площадка В"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("save")),
                              Qt::LeftButton);
        });
        window().runCommand(cmd::kData);
        QCOMPARE(title, QStringLiteral("Сохранить"));
        QCOMPARE(object->text(0), QStringLiteral("Площадка В"));
        platform::WorkFolder folder(m_dir->path());
        store::ProjectStore store(folder);
        auto stored = store.ReadObjectTitle(2);
        QVERIFY(stored);
        QCOMPARE(stored->number, 2);
        QCOMPARE(stored->shortName.utf8(), std::string("Площадка В"));
    }

    void archiveAndReturnKeepTheTreeOrder() {
        QTreeWidgetItem* working = itemNamed(QStringLiteral("Рабочие объекты"));
        QTreeWidgetItem* archive = itemNamed(QStringLiteral("Архивные объекты"));
        QVERIFY(select(QStringLiteral("Площадка А")));
        QString title;
        answerDialog(this, &title, {}, "no");
        window().runCommand(cmd::kToArchive);
        QCOMPARE(title, QStringLiteral("Объект - в архив"));
        QCOMPARE(working->childCount(), 2);

        answerDialog(this, nullptr, {}, "yes");
        window().runCommand(cmd::kToArchive);
        QCOMPARE(childTexts(working), QStringList{"Площадка Б"});
        QCOMPARE(childTexts(archive), (QStringList{"Площадка А", "Старый карьер"}));
        QCOMPARE(archive->child(0)->childCount(), 0);
        QCOMPARE(window().tree()->currentItem(), working);
        QCOMPARE(window().currentNode().kind, std::int16_t{1});
        platform::WorkFolder folder(m_dir->path());
        store::ProjectStore store(folder);
        QCOMPARE((*store.ReadObjectList())[2].archived, std::int16_t{1});

        window().tree()->setCurrentItem(archive->child(0));
        QCOMPARE(window().currentNode().kind, std::int16_t{4});
        answerDialog(this, &title, {}, "yes");
        window().runCommand(cmd::kFromArchive);
        QCOMPARE(title, QStringLiteral("Объект - из архива"));
        QCOMPARE(childTexts(archive), QStringList{"Старый карьер"});
        QCOMPARE(childTexts(working), (QStringList{"Площадка А", "Площадка Б"}));
        QTreeWidgetItem* back = working->child(0);
        QCOMPARE(childTexts(back),
                 (QStringList{"Список выработок обьекта", "Разрез 2-2", "Разрез 1-1"}));
        QCOMPARE(childTexts(back->child(0)), (QStringList{"скв.1", "Скв.2", "Скв.2", "Скв.3"}));
        QCOMPARE(window().tree()->currentItem(), working);
        QCOMPARE((*store.ReadObjectList())[2].archived, std::int16_t{0});
        // The new nodes' records name the right items.
        window().tree()->setCurrentItem(back->child(2));
        QCOMPARE(window().currentNode().kind, std::int16_t{5});
        QCOMPARE(window().currentNode().section, 4);
        window().tree()->setCurrentItem(back->child(0)->child(0));
        QCOMPARE(window().currentNode().borehole, 11);
    }

    void deleteQuestionsAnsweredYesOrNo() {
        QTreeWidgetItem* object = select(QStringLiteral("Площадка А"));
        QVERIFY(select(QStringLiteral("Разрез 2-2")));
        window().runCommand(cmd::kDeleteSection); // no answer queued: No
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].caption, std::string("Удаление разреза"));
        QCOMPARE(object->childCount(), 3);
        m_sink.queueAnswer(platform::Answer::Yes);
        window().runCommand(cmd::kDeleteSection);
        QCOMPARE(childTexts(object), (QStringList{"Список выработок обьекта", "Разрез 1-1"}));
        QCOMPARE(window().tree()->currentItem(), object);
        QVERIFY(!std::filesystem::exists(m_dir->path() / "DATA/00003.OBJ/000005.DAT"));

        // Sections here use no borehole, so one can go.
        QVERIFY(select(QStringLiteral("Скв.3")));
        m_sink.queueAnswer(platform::Answer::Yes);
        window().runCommand(cmd::kDeleteBorehole);
        QCOMPARE(childTexts(object->child(0)), (QStringList{"скв.1", "Скв.2", "Скв.2"}));
        QVERIFY(!std::filesystem::exists(m_dir->path() / "DATA/00003.OBJ/00000010.SKV"));
        QCOMPARE(window().currentNode().kind, std::int16_t{7});

        m_sink.clear();
        QVERIFY(select(QStringLiteral("Старый карьер")));
        window().runCommand(cmd::kDeleteObject);
        QCOMPARE(m_sink.entries()[0].text,
                 std::string("Вы действительно хотите удалить\rобъект Старый карьер ?"));
        QVERIFY(itemNamed(QStringLiteral("Старый карьер")));
        m_sink.queueAnswer(platform::Answer::Yes);
        window().runCommand(cmd::kDeleteObject);
        QVERIFY(!itemNamed(QStringLiteral("Старый карьер")));
        QVERIFY(!std::filesystem::exists(m_dir->path() / "DATA/00001.OBJ"));
        QCOMPARE(window().currentNode().kind, std::int16_t{2});
    }

    void usedBoreholeShowsTheRefusal() {
        platform::WorkFolder folder(m_dir->path());
        for (auto [number, uses] : {std::pair{4, std::vector<std::int32_t>{11, 12, 11}},
                                    std::pair{5, std::vector<std::int32_t>{11}}}) {
            auto s = section::ReadSection(folder, 3, number);
            QVERIFY(s);
            s->boreholes = uses;
            QVERIFY(section::WriteSection(folder, 3, *s));
        }
        const auto listBefore = test::readBytes(m_dir->path() / "DATA/00003.OBJ/SKV.SPS");
        QTreeWidgetItem* borehole = select(QStringLiteral("скв.1"));
        QVERIFY(borehole);
        QString title;
        QStringList lines;
        test::whenModal(this, [&](QWidget* dialog) {
            title = dialog->windowTitle();
            auto* list = dialog->findChild<QListWidget*>(QStringLiteral("sections"));
            for (int i = 0; list && i < list->count(); ++i)
                lines << list->item(i)->text();
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ok")),
                              Qt::LeftButton);
        });
        m_sink.queueAnswer(platform::Answer::Yes);
        window().runCommand(cmd::kDeleteBorehole);
        QCOMPARE(title, QStringLiteral("Удаление выработки скв.1"));
        // RAZ.SPS order: section 5 first, then section 4 with its two uses.
        QCOMPARE(lines, (QStringList{"Разрез 2-2", "Разрез 1-1", "Разрез 1-1"}));
        QCOMPARE(itemNamed(QStringLiteral("скв.1")), borehole);
        QCOMPARE(test::readBytes(m_dir->path() / "DATA/00003.OBJ/SKV.SPS"), listBefore);
        QVERIFY(std::filesystem::exists(m_dir->path() / "DATA/00003.OBJ/00000011.SKV"));
        QVERIFY(!std::filesystem::exists(m_dir->path() / "SKV.DEL"));
    }

    void newSectionIsSavedWithItsWorkingCopies() {
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QTreeWidgetItem* object = nullptr;
        for (QTreeWidgetItemIterator it(window().tree()); *it; ++it)
            if ((*it)->text(0) == QStringLiteral("Площадка А"))
                object = *it;
        QVERIFY(object);
        window().tree()->setCurrentItem(object);
        // The dialog reaches the connection editor the window hands it: with one borehole the
        // editor refuses to open. Cancelled: no number used, nothing written.
        m_sink.clear();
        test::whenModal(this, [](QWidget* d) {
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("insert")), Qt::LeftButton);
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("connectIge")),
                              Qt::LeftButton);
            d->close();
        });
        window().runCommand(cmd::kNewSection);
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].caption, std::string("Stop"));
        QCOMPARE(m_app->session().status().nextSectionNumber, 6);
        QVERIFY(!std::filesystem::exists(m_dir->path() / "DATA/00003.OBJ/000006.DAT"));
        // A connection edit made while the dialog was open becomes the section's own file.
        test::writeBytes(m_dir->path() / "WORK.SLO", {1, 2, 3});
        test::whenModal(this, [](QWidget* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Новый разрез"));
            d->findChild<QLineEdit*>(QStringLiteral("name"))->setText(QStringLiteral("Разрез 3-3"));
            auto* insert = d->findChild<QPushButton*>(QStringLiteral("insert"));
            QTest::mouseClick(insert, Qt::LeftButton);
            QTest::mouseClick(insert, Qt::LeftButton);
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("save")), Qt::LeftButton);
        });
        window().runCommand(cmd::kNewSection);
        QCOMPARE(m_app->session().status().nextSectionNumber, 7);
        QCOMPARE(childTexts(object).last(), QStringLiteral("Разрез 3-3"));
        QCOMPARE(window().currentNode().kind, std::int16_t{5});
        QCOMPARE(window().currentNode().section, 6);
        auto saved = section::ReadSection(platform::WorkFolder(m_dir->path()), 3, 6);
        QVERIFY(saved);
        QCOMPARE(saved->boreholes.size(), 2u);
        QCOMPARE(test::readBytes(m_dir->path() / "DATA/00003.OBJ/000006.SLO"),
                 (std::vector<std::uint8_t>{1, 2, 3}));
        QVERIFY(!std::filesystem::exists(m_dir->path() / "WORK.SLO"));
        QCOMPARE(test::readBytes(m_dir->path() / "DATA/00003.OBJ/RAZ.SPS").size(), 12u);
    }

    void aFailedSaveReopensTheEditorWithTheEdits() {
        platform::WorkFolder folder(m_dir->path());
        for (const char* name : {"- нет -", "Скважина", "Шурф"}) {
            borehole::BoreholeType t;
            t.name.setUtf8(name);
            QVERIFY(borehole::AddBoreholeType(folder, t));
        }
        QTreeWidgetItem* list = nullptr;
        for (QTreeWidgetItemIterator it(window().tree()); *it; ++it)
            if ((*it)->text(0) == QStringLiteral("Список выработок обьекта") && (*it)->childCount())
                list = *it;
        window().tree()->setCurrentItem(list);
        // A folder where the new file should go makes the write fail.
        const auto blocker = m_dir->path() / "DATA/00003.OBJ/00000014.SKV";
        std::filesystem::create_directories(blocker);
        QStringList names;
        auto fillAndSave = [&names](bool fill) {
            QWidget* editor = QApplication::activeModalWidget();
            QVERIFY(editor);
            auto* name = editor->findChild<QLineEdit*>(QStringLiteral("name"));
            if (fill) {
                name->setText(QStringLiteral("Скв.20"));
                editor->findChild<QLineEdit*>(QStringLiteral("depth"))
                    ->setText(QStringLiteral("5"));
                auto* type = editor->findChild<QComboBox*>(QStringLiteral("type"));
                type->setFocus();
                QTest::keyClick(type, Qt::Key_End);
            }
            names << name->text();
            QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("save")),
                              Qt::LeftButton);
        };
        QTimer::singleShot(0, this, [&] {
            fillAndSave(true);
            // The editor is back with what was typed; the way is now clear.
            QTimer::singleShot(0, this, [&] {
                std::filesystem::remove(blocker);
                fillAndSave(false);
            });
        });
        window().runCommand(cmd::kNewBorehole);
        QCOMPARE(names, (QStringList{"Скв.20", "Скв.20"}));
        QCOMPARE(m_sink.entries().size(), 1u); // the write error
        QVERIFY(borehole::ReadBorehole(folder, 3, 14));
        QCOMPARE(m_app->session().status().nextBoreholeNumber, 15); // one number, not two
        QCOMPARE(window().tree()->currentItem()->text(0), QStringLiteral("Скв.20"));
    }

    void viewAndPrintOnlyForSections() {
        itemOfKind(NodeKind::WorkingObject);
        window().runCommand(cmd::kView);
        window().runCommand(cmd::kPrint);
        QVERIFY(m_sink.empty());
        itemOfKind(NodeKind::Section);
        window().runCommand(cmd::kView);
        QCOMPARE(m_sink.entries().size(), 1u);
        // Commands without an action bound do nothing at all.
        m_sink.clear();
        for (int id : {cmd::kImport, cmd::kExport, cmd::kSheetParameters})
            window().runCommand(id);
        QVERIFY(m_sink.empty());
    }

    void dictionaryCommandsOpenTheirDialogs() {
        const std::pair<int, const char*> wired[] = {
            {cmd::kBoreholeTypes, "Тип выработки"},
            {cmd::kScales, "Список зарезервированных масштабов"},
            {cmd::kSurnames, "Список фамилий "},
            {cmd::kDrawingForms, "Список оформлений чертежа разреза"},
            {cmd::kTitleBlocks, "Список штампов"},
            {cmd::kStandardIgeDescriptions, "Список стандартных описаний ИГЭ"},
            {cmd::kDataSheetLayout, "Оформление: Данные по выработке"}};
        for (const auto& [id, title] : wired) {
            QString seen;
            QTimer::singleShot(0, this, [&seen] {
                QWidget* dialog = QApplication::activeModalWidget();
                if (dialog) {
                    seen = dialog->windowTitle();
                    dialog->close();
                }
            });
            window().runCommand(id);
            QCOMPARE(seen, QString::fromUtf8(title));
        }
    }

    // Whichever command first needs the sheet formats, one fatal message ends the program:
    // no second box, no dialog left working on an empty list.
    void missingSheetFormatListEndsTheProgram_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("onObject");
        QTest::newRow("sheet formats") << cmd::kSheetFormats << false;
        QTest::newRow("section defaults") << cmd::kSectionDefaults << false;
        QTest::newRow("new section") << cmd::kNewSection << true;
    }
    void missingSheetFormatListEndsTheProgram() {
        QFETCH(int, command);
        QFETCH(bool, onObject);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        if (onObject)
            window().tree()->setCurrentItem(itemNamed(QStringLiteral("Площадка А")));
        m_sink.clear();
        std::filesystem::remove(m_dir->path() / "DATA/DIC/ListForm.sps");
        window().runCommand(command);
        QTRY_VERIFY(!window().isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].caption, std::string("FATAL ERROR"));
        QVERIFY(window().endedByFatalError());
        QVERIFY(!std::filesystem::exists(m_dir->path() / "-.tmp"));
    }

    // A right click on the toolbar or the menu bar opens no menu that could hide the toolbar.
    void noToolbarMenu() {
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        for (QWidget* w : {static_cast<QWidget*>(window().findChild<QToolBar*>()),
                           static_cast<QWidget*>(window().menuBar())}) {
            QVERIFY(w);
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                                    w->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(w, &event);
            QVERIFY(!QApplication::activePopupWidget());
        }
    }

    // The tree draws lines between siblings, not only the expand buttons: a child that is not
    // the last has ink in its branch column over its whole row.
    void treeHasBranchLines() {
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QTreeWidget* tree = window().tree();
        QTreeWidgetItem* object = itemNamed(QStringLiteral("Площадка А"));
        QVERIFY(object && object->childCount() == 3); // list, two sections
        object->setExpanded(true);
        QTreeWidgetItem* middle = object->child(1); // a section: no button of its own
        QCOMPARE(middle->childCount(), 0);
        const QRect row = tree->visualItemRect(middle);
        const QImage image = tree->viewport()->grab().toImage();
        const int x = row.left() - tree->indentation() / 2;
        int ink = 0;
        for (int y = row.top(); y <= row.bottom(); ++y)
            ink += qGray(image.pixel(x, y)) < 200 ? 1 : 0;
        QVERIFY2(ink >= row.height() / 3, qPrintable(QString::number(ink)));
    }

    void focusGoesBackToTheTree() {
        window().show();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
        window().menuBar()->setFocus();
        window().runCommand(cmd::kImport);
        QCOMPARE(QApplication::focusWidget(), window().tree());
    }

    void menuHasEveryItem() {
        QStringList texts;
        std::function<void(QMenu*)> walk = [&](QMenu* menu) {
            for (QAction* a : menu->actions()) {
                if (a->menu())
                    walk(a->menu());
                else if (!a->isSeparator())
                    texts << a->text();
            }
        };
        QStringList popups;
        for (QAction* a : window().menuBar()->actions()) {
            popups << a->text();
            walk(a->menu());
        }
        QCOMPARE(popups.size(), 6);
        const QStringList want{"&Печать...",
                               "Про&смотр...",
                               "&В архив...",
                               "Из &архива...",
                               "&Импорт...",
                               "&Экспорт...",
                               "E&xit",
                               "&Данные...",
                               "Новый &Объект...",
                               "Новый &Разрез...",
                               "Новую &Выработку...",
                               "&Объект...",
                               "&Разрез...",
                               "&Выработку...",
                               "Параметров &Разреза...",
                               "Параметров &Планшета...",
                               "Список &Масштабов...",
                               "Список &Логических листов...",
                               "Список &Фамилий...",
                               "Список &Штампов...",
                               "Список &Типов штриховки...",
                               "Список &стандартных описаний ИГЭ...",
                               "Список &Типов выработок...",
                               "&Библиотека значков",
                               "&Показатель текучести, влажность...",
                               "&Типы горизонтов подземных вод...",
                               "&Отборы проб...",
                               "&Данные по выработке...",
                               "&Чертеж разреза...",
                               "&О программе..."};
        QCOMPARE(texts, want);
        QCOMPARE(window().action(cmd::kData)->text(), QStringLiteral("&Данные..."));
        QCOMPARE(window().action(cmd::kDeleteBorehole)->text(), QStringLiteral("&Выработку..."));
    }

    void toolbarHas18EntriesWithDistinctPictures() {
        const auto actions = window().toolBar()->actions();
        QCOMPARE(actions.size(), 18);
        const int separators[] = {1, 5, 9, 12, 15};
        for (int s : separators)
            QVERIFY(actions[s]->isSeparator());
        QCOMPARE(actions[0], window().action(cmd::kData));
        QCOMPARE(actions[17], window().action(cmd::kExport));
        QCOMPARE(actions[16], window().action(cmd::kImport));
        std::set<QByteArray> seen;
        for (int i = 0; i < kToolbarImageCount; ++i) {
            const QImage img = toolbarImage(i);
            QCOMPARE(img.size(), QSize(16, 16));
            int opaque = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    opaque += qAlpha(img.pixel(x, y)) > 128;
            QVERIFY2(opaque > 25,
                     qPrintable(QStringLiteral("toolbar image %1 nearly blank").arg(i)));
            seen.insert(
                QByteArray(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes()));
        }
        QCOMPARE(seen.size(), static_cast<std::size_t>(kToolbarImageCount));
        seen.clear();
        for (int i = 0; i < kTreeImageCount; ++i) {
            const QImage img = treeImage(i);
            QCOMPARE(img.size(), QSize(20, 20));
            seen.insert(
                QByteArray(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes()));
        }
        QCOMPARE(seen.size(), static_cast<std::size_t>(kTreeImageCount));
    }

    void aboutShowsStartsAndWorkingTime() {
        m_now = 1000 + 3600 + 125;
        QString starts;
        QString time;
        QStringList buttons;
        test::whenModal(this, [&](QWidget* about) {
            starts = about->findChild<QLabel*>(QStringLiteral("launchCount"))->text();
            time = about->findChild<QLabel*>(QStringLiteral("workTime"))->text();
            for (auto* b : about->findChildren<QPushButton*>())
                buttons << b->text();
            about->close();
        });
        window().runCommand(cmd::kAbout);
        QCOMPARE(starts, QStringLiteral("5"));
        QCOMPARE(time, QStringLiteral("1 час, 3 мин, 45 сек")); // 100 s before, 3725 s now
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"OK", "Отмена"}));
    }

    void shutdownAddsTheWorkingTime() {
        m_now = 1065;
        window().close();
        platform::WorkFolder folder(m_dir->path());
        store::ProjectStore store(folder);
        auto status = store.LoadStatus();
        QVERIFY(status);
        QCOMPARE(status->launchCount, 5);
        QCOMPARE(status->workSeconds, 165);
        QCOMPARE(status->nextBoreholeNumber, 14);
        QVERIFY(std::filesystem::exists(m_dir->path() / "TREEVIEW.TMP")); // closed, not deleted
    }

    void startupClearsWorkingCopies() {
        m_app.reset();
        for (const char* f : {"WORK.SLO", "WORK.MTX", "WORK.OIE"})
            test::writeBytes(m_dir->path() / f, {1});
        m_app = Orvo2App::start(options());
        QVERIFY(m_app);
        for (const char* f : {"WORK.SLO", "WORK.MTX", "WORK.OIE"})
            QVERIFY(!std::filesystem::exists(m_dir->path() / f));
    }

    void refusedPasswordTouchesNothing() {
        m_app.reset();
        std::filesystem::remove(m_dir->path() / "TREEVIEW.TMP");
        test::writeBytes(m_dir->path() / "WORK.SLO", {1});
        const auto status = test::readBytes(m_dir->path() / "DATA/status.sav");
        m_app = Orvo2App::start(options([](const platform::WorkFolder&) { return false; }));
        QVERIFY(!m_app);
        QVERIFY(std::filesystem::exists(m_dir->path() / "WORK.SLO"));
        QVERIFY(!std::filesystem::exists(m_dir->path() / "TREEVIEW.TMP"));
        QCOMPARE(test::readBytes(m_dir->path() / "DATA/status.sav"), status);
    }

    void fontMessageOnlyWithoutAnyStandIn() {
        m_app.reset();
        m_sink.clear();
        auto o = options();
        o.fontFamilies = [] { return std::vector<std::string>{"Liberation Sans"}; };
        m_app = Orvo2App::start(o);
        QVERIFY(m_app && m_sink.empty());
        m_app.reset();
        o.fontFamilies = [] { return std::vector<std::string>{"Symbol"}; };
        m_app = Orvo2App::start(o);
        QVERIFY(m_app);
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].caption, std::string("Information"));
        QCOMPARE(m_sink.entries()[0].text, std::string("Не загружен шрифт\n*** MS Sans Serif ***"));
    }

    void missingDefaultsEndTheProgram() {
        m_app.reset();
        m_sink.clear();
        std::filesystem::remove(m_dir->path() / "DATA/razrez.prm");
        m_app = Orvo2App::start(options());
        QVERIFY(!m_app);
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].caption, std::string("FATAL ERROR"));
        QCOMPARE(
            m_sink.entries()[0].text,
            std::string("Ошибка открытия \"DATA\\razrez.prm\" - дальнейшая работа невозможна..."));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
