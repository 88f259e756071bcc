// Drawing a section from the main window on the default database: the menu's view of a stored
// section, and from the section dialog a label moved in the sheet editor, saved, and kept by
// "Сохранить" as the section's own placements.
#include "drawing/sheet_editor_session.h"
#include "drawing/sheet_texts.h"
#include "drawing/ui/section_windows.h"
#include "drawing/ui/sheet_area.h"
#include "seed/seed.h"
#include "shell/commands.h"
#include "shell/ui/startup.h"
#include "support/modal.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace orvo;
using namespace orvo::shell;
using namespace orvo::shell::ui;

class SectionDrawingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    platform::RecordingMessageSink m_sink;
    std::unique_ptr<Orvo2App> m_app;

    std::filesystem::path work() const { return m_dir->path() / "w"; }
    MainWindow& window() { return m_app->window(); }
    bool select(const QString& text) {
        for (QTreeWidgetItemIterator it(window().tree()); *it; ++it)
            if ((*it)->text(0) == text) {
                window().tree()->setCurrentItem(*it);
                return true;
            }
        return false;
    }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        QVERIFY(seed::InitWorkingFolder(work(), seed::builtinDefinitions()));
        StartupOptions o;
        o.workFolder = work();
        o.sink = &m_sink;
        o.askPassword = [](const platform::WorkFolder&) { return true; };
        o.clock = [] { return std::int64_t{1000}; };
        o.fontFamilies = [] { return std::vector<std::string>{"DejaVu Sans"}; };
        m_app = Orvo2App::start(o);
        QVERIFY(m_app);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }
    void cleanup() {
        m_app.reset();
        m_dir.reset();
    }

    void menuViewShowsTheStoredSection() {
        QVERIFY(select(QStringLiteral("Разрез 2-2")));
        QString title;
        int sheets = 0;
        test::whenModal(this, [&](QWidget* viewer) {
            title = viewer->windowTitle();
            sheets = viewer->findChild<QComboBox*>("sheets")->count();
            viewer->close();
        });
        window().runCommand(cmd::kView);
        QCOMPARE(title, QStringLiteral("Просмотр разреза"));
        QCOMPARE(sheets, 3);
        QVERIFY(!std::filesystem::exists(work() / "WORK.SLO"));
    }

    void editorMoveIsKeptBySavingTheSection() {
        QVERIFY(select(QStringLiteral("Разрез 2-2")));
        float movedDx = 0;
        std::size_t movedIndex = 0;
        test::whenModal(this, [&](QWidget* dialog) {
            test::whenModal(this, [&](QWidget* w) {
                auto* editor = qobject_cast<drawing::SheetEditorWindow*>(w);
                if (!editor) {
                    w->close();
                    return;
                }
                auto& s = editor->session();
                (void)QTest::qWaitForWindowExposed(editor);
                editor->action(drawing::EditorCommand::Select)->trigger();
                editor->area()->viewport()->repaint();
                // Checked after the window is closed: a failure here must not leave it open.
                if (!s.overlay().empty()) {
                    const auto target = s.overlay().front();
                    // Dragged with the mouse 30 pixels to the right, then "Save".
                    auto& v = s.view();
                    const QPoint at(
                        static_cast<int>(v.sheetLeft() +
                                         (target.rect.x + target.rect.width / 2) * v.zoom()),
                        static_cast<int>(v.sheetTop() +
                                         (target.rect.y + target.rect.height / 2) * v.zoom()));
                    auto* vp = editor->area()->viewport();
                    QTest::mousePress(vp, Qt::LeftButton, {}, at);
                    QTest::mouseMove(vp, at + QPoint(15, 0));
                    QTest::mouseRelease(vp, Qt::LeftButton, {}, at + QPoint(30, 0));
                    movedIndex = target.index;
                    movedDx = s.texts()[target.index].dx;
                    editor->action(drawing::EditorCommand::Save)->trigger();
                }
                editor->action(drawing::EditorCommand::Exit)->trigger();
            });
            QTest::mouseClick(dialog->findChild<QPushButton*>("editDrawing"), Qt::LeftButton);
            QTest::mouseClick(dialog->findChild<QPushButton*>("save"), Qt::LeftButton);
        });
        window().runCommand(cmd::kData);
        QVERIFY(movedDx != 0);
        QVERIFY(m_sink.entries().empty()); // saved before "Exit": no question
        QVERIFY(!std::filesystem::exists(work() / "WORK.MTX"));
        QVERIFY(std::filesystem::exists(work() / "DATA/00001.OBJ/000002.MTX"));
        platform::WorkFolder folder(work());
        const auto section = section::ReadSection(folder, 1, 2);
        QVERIFY(section);
        const auto texts = drawing::BuildSheetTexts(folder, m_sink, 1, section->boreholes, 2,
                                                    section->header.horizontalScale,
                                                    drawing::TextSource::StoredSection);
        QCOMPARE(texts.at(movedIndex).dx, movedDx);
    }
};

QTEST_MAIN(SectionDrawingTest)
#include "section_drawing_test.moc"
