// The connection editor window driven by real mouse, keyboard and toolbar input on the demo
// database: drawing, refusals, selection, bends, moves, navigation, undo and closing.
#include "connect/connection_file.h"
#include "connect/ui/connection_editor.h"
#include "platform/message_sink.h"
#include "seed/seed.h"
#include "store/store_paths.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <memory>

using namespace orvo;
using connect::EditorCommand;
using connect::ScreenPos;

// open() checks with QVERIFY; a test stops at once when it failed.
#define OPEN(...)                                                                                  \
    do {                                                                                           \
        open(__VA_ARGS__);                                                                         \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

class ConnectionEditorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    platform::RecordingMessageSink m_sink;
    std::unique_ptr<connect::EditorSession> m_session;
    std::unique_ptr<connect::ui::ConnectionEditorWindow> m_window;

    // A fresh editor (no stored connections) on the listed demo boreholes.
    void open(const std::vector<std::int32_t>& boreholes) {
        auto opening = connect::OpenConnectionEditor(*m_folder, m_sink, 1, std::nullopt, boreholes);
        QVERIFY2(opening, opening ? "" : opening.error().text.c_str());
        m_window.reset();
        m_session = std::make_unique<connect::EditorSession>(std::move(opening->model));
        m_window =
            std::make_unique<connect::ui::ConnectionEditorWindow>(*m_session, *m_folder, m_sink);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        // The window is maximised by the window system: wait until the area has its size.
        QTRY_VERIFY(m_window->isMaximized());
        QTest::qWait(20);
        QVERIFY(m_session->mapping() != nullptr);
        QCOMPARE(m_session->mapping()->width, drawing()->width() - 4);
    }

    const connect::ConnectionModel& model() const { return m_session->model(); }
    QString comment() const { return m_window->commentBar()->text(); }
    QWidget* drawing() const { return m_window->drawingArea(); }

    QPoint widgetPos(ScreenPos p) const {
        const int m = connect::ui::DrawingArea::kMargin;
        return {p.x + m, p.y + m};
    }
    ScreenPos pointAt(std::int32_t b, std::int32_t row) const {
        return m_session->mapping()->pointPos(model(), model().boreholePointIndex(b, row));
    }
    ScreenPos freePoint(std::int32_t index) const {
        return m_session->mapping()->pointPos(model(), index);
    }
    // A pixel of the drawn line that hit testing takes for it.
    ScreenPos onLine(std::int32_t line) const {
        const auto* map = m_session->mapping();
        const auto a = map->pointPos(model(), model().lines[line].from);
        const auto b = map->pointPos(model(), model().lines[line].to);
        const int x = (a.x + b.x) / 2;
        for (int y = std::min(a.y, b.y) - 2; y <= std::max(a.y, b.y) + 2; ++y)
            if (connect::hitLine(model(), *map, {x, y}) == line)
                return {x, y};
        return {-100, -100};
    }

    void click(ScreenPos p, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(drawing(), button, {}, widgetPos(p));
    }
    void trigger(EditorCommand c) {
        auto* a = m_window->action(c);
        QVERIFY(a->isEnabled());
        a->trigger();
    }
    bool enabled(EditorCommand c) const { return m_window->action(c)->isEnabled(); }
    bool pressed(EditorCommand c) const { return m_window->action(c)->isChecked(); }
    QColor pixel(ScreenPos p) const {
        const QImage img = drawing()->grab().toImage();
        return img.pixelColor(widgetPos(p));
    }

    // Runs `inWindow` on the editor window once its modal loop is running; a window that never
    // shows ends the loop instead of hanging the test.
    template <class F> void whenEditorShows(F inWindow, int tries = 200) {
        QTimer::singleShot(10, [this, inWindow, tries] {
            for (auto* w : QApplication::topLevelWidgets()) {
                auto* editor = qobject_cast<connect::ui::ConnectionEditorWindow*>(w);
                if (editor && editor->isVisible()) {
                    inWindow(*editor);
                    // A window the step failed to close must not hang the test.
                    QTimer::singleShot(5000, editor, [editor] {
                        if (editor->isVisible())
                            editor->done(QDialog::Rejected);
                    });
                    return;
                }
            }
            if (tries > 0)
                whenEditorShows(inWindow, tries - 1);
        });
    }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        const auto root = m_dir->path() / "w";
        QVERIFY(seed::InitWorkingFolder(root, seed::builtinDefinitions()));
        m_folder = std::make_unique<platform::WorkFolder>(root);
        m_sink = platform::RecordingMessageSink{};
    }
    void cleanup() {
        m_window.reset();
        m_session.reset();
        m_folder.reset();
        m_dir.reset();
    }

    void opensOnThreeBoreholesFullScreen() {
        OPEN({1, 2, 3, 4});
        QCOMPARE(m_window->windowTitle(),
                 QStringLiteral("Соединение инженерно-геологических элементов"));
        QCOMPARE(comment(),
                 QStringLiteral("Редактор соединений инженерно-геологических элементов запущен"));
        QCOMPARE(m_session->shown(), 3);
        QCOMPARE(m_session->firstShown(), 0);
        const auto screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(m_window->isMaximized());
        QVERIFY(screen.contains(m_window->frameGeometry()));
        QVERIFY(m_window->width() >= screen.width() - 8);
        QVERIFY(pressed(EditorCommand::Draw));
        QVERIFY(pressed(EditorCommand::Show3));
        QVERIFY(!pressed(EditorCommand::Show2));
        QVERIFY(pressed(EditorCommand::StraightLine));
        QVERIFY(pressed(EditorCommand::VisibleLine));
        QVERIFY(!enabled(EditorCommand::ToBegin));
        QVERIFY(!enabled(EditorCommand::ToLeft));
        QVERIFY(enabled(EditorCommand::ToRight));
        QVERIFY(enabled(EditorCommand::AutoBuild));
        QVERIFY(!enabled(EditorCommand::DeleteAllLines));
        QVERIFY(!enabled(EditorCommand::DeleteLine));
        QVERIFY(!enabled(EditorCommand::Undo));
        QVERIFY(m_window->scrollBar()->isVisible());
        QCOMPARE(m_window->scrollBar()->maximum(), 1);
        // The toolbar: 22 commands in their order, 8 separators between the groups.
        const auto actions = m_window->findChild<QToolBar*>("toolbar")->actions();
        QCOMPARE(actions.size(), 30);
        QCOMPARE(actions.first()->text(), QStringLiteral("To begin IGE"));
        QCOMPARE(actions.at(4)->isSeparator(), true);
        // Borehole axes are drawn black down from the collar.
        const auto collar = pointAt(0, 0);
        QCOMPARE(pixel({collar.x, collar.y + 12}), QColor(Qt::black));
    }

    void drawsASegmentBetweenTwoBases() {
        OPEN({1, 2, 3, 4});
        const auto a = pointAt(0, 1);
        const auto b = pointAt(1, 1);
        QTest::mouseMove(drawing(), widgetPos(a));
        QCOMPARE(comment(), QStringLiteral("Точка: Подошва ИГЭ 1"));
        click(a);
        QCOMPARE(comment(), QStringLiteral("Точка №1 для создания отрезка выбрана"));
        QVERIFY(m_session->capturing());
        click(b);
        QCOMPARE(comment(), QStringLiteral("Создан отрезок"));
        QVERIFY(!m_session->capturing());
        QCOMPARE(model().lineCount(), 1);
        QCOMPARE(model().lines[0].from, model().boreholePointIndex(0, 1));
        QCOMPARE(model().lines[0].to, model().boreholePointIndex(1, 1));
        QCOMPARE(pixel(onLine(0)), QColor(0, 0, 128));
        QVERIFY(enabled(EditorCommand::DeleteAllLines));
        QVERIFY(!enabled(EditorCommand::AutoBuild));
        QVERIFY(enabled(EditorCommand::Undo));
    }

    // What the user sees of a boundary is what picks it: every drawn pixel of a joined layer
    // base between two boreholes is one that hit testing takes for that line.
    void drawnPixelsAreTheOnesThatPick() {
        OPEN({1, 2, 3, 4});
        trigger(EditorCommand::AutoBuild);
        const QImage img = drawing()->grab().toImage();
        const auto* map = m_session->mapping();
        int checked = 0;
        for (std::int32_t l = 0; l < model().lineCount(); ++l) {
            const auto a = map->pointPos(model(), model().lines[l].from);
            const auto b = map->pointPos(model(), model().lines[l].to);
            if (std::abs(b.y - a.y) > std::abs(b.x - a.x))
                continue;
            for (int x = std::min(a.x, b.x) + 2; x <= std::max(a.x, b.x) - 2; x += 7) {
                const ScreenPos c{x, connect::lineRowAt(a, b, x)};
                if (c.x < 0 || c.x >= map->width || connect::hitLine(model(), *map, c) != l)
                    continue; // off screen, or an earlier line shares the pixel
                QCOMPARE(img.pixelColor(widgetPos(c)), QColor(0, 0, 128));
                ++checked;
            }
        }
        QVERIFY(checked > 100);
    }

    void refusedSegmentsChangeNothing() {
        OPEN({1, 2, 3, 4});
        click(pointAt(0, 0));
        click(pointAt(1, 0));
        QCOMPARE(model().lineCount(), 1);
        // The first borehole's collar already has its line.
        click(pointAt(0, 0));
        QCOMPARE(comment(), QStringLiteral("Не верный выбор точки"));
        QVERIFY(!m_session->capturing());
        // Base of borehole 1 to base of borehole 3 would cross borehole 2.
        click(pointAt(0, 2));
        click(pointAt(2, 2));
        QCOMPARE(comment(), QStringLiteral("ОШИБКА: Пересечение выработки не допустимо"));
        QVERIFY(m_session->capturing()); // the user may choose another end
        // Empty ground left of the first borehole cannot take a pinch-out.
        const auto left = pointAt(0, 2);
        click({left.x - 30, left.y});
        QCOMPARE(comment(), QStringLiteral("ОШИБКА: Висячка за пределами разреза"));
        // Two bases of the same borehole.
        click(pointAt(0, 3));
        QCOMPARE(comment(),
                 QStringLiteral("ОШИБКА: Две точки подошв ИГЭ выработки на одной линии"));
        click(pointAt(0, 3), Qt::RightButton);
        QVERIFY(!m_session->capturing());
        QCOMPARE(model().lineCount(), 1);
        QCOMPARE(model().pointCount(), model().boreholePointTotal());
    }

    // Borehole 2 of the demo has a lens of "4" inside "3а" (rows 3 and 4): closing it with a
    // pinch-out point that a second line turns into a bend makes the lens a filled area.
    void drawsAPinchOutAndALens() {
        OPEN({1, 2, 3, 4});
        const auto top = pointAt(1, 3);
        const auto bottom = pointAt(1, 4);
        const auto next = pointAt(2, 3);
        const ScreenPos tip{top.x + (next.x - top.x) / 3, (top.y + bottom.y) / 2};
        click(top);
        click(tip);
        QCOMPARE(comment(), QStringLiteral("Висячка создана"));
        const auto pinch = model().pointCount() - 1;
        QCOMPARE(model().points[pinch].kind, connect::PointKind::PinchOut);
        QCOMPARE(model().points[pinch].borehole, 1);
        QVERIFY(m_session->scene().areas.empty()); // an open boundary closes nothing
        click(freePoint(pinch));
        click(bottom);
        QCOMPARE(comment(), QStringLiteral("Создан отрезок"));
        QCOMPARE(model().points[pinch].kind, connect::PointKind::Bend);
        QCOMPARE(model().lineCount(), 2);
        const auto areas = m_session->scene().areas;
        QCOMPARE(areas.size(), std::size_t(1));
        QCOMPARE(areas[0].outline.size(), std::size_t(4)); // top, bend, bottom, top
        QCOMPARE(areas[0].ige, model().boreholes[1].rowIge[4]);
        // Inside the lens the fill pattern shows.
        const QImage img = drawing()->grab().toImage();
        const int x0 = top.x + (tip.x - top.x) / 4;
        bool patterned = false;
        for (int x = x0; x < x0 + 8; ++x)
            for (int y = tip.y - 1; y <= tip.y + 1; ++y)
                patterned = patterned || img.pixelColor(widgetPos({x, y})) != QColor(Qt::white);
        QVERIFY(patterned);
    }

    void autoConnectionThenDeleteAll() {
        OPEN({1, 2, 3, 4});
        trigger(EditorCommand::AutoBuild);
        QCOMPARE(comment(), QStringLiteral("Автоматическое соединение ИГЭ произведено"));
        QVERIFY(model().lineCount() > 3);
        QVERIFY(!enabled(EditorCommand::AutoBuild));
        // Fully joined neighbours close their layers: the areas are filled.
        const auto top = pointAt(0, 1);
        const auto below = pointAt(0, 2);
        const auto right = pointAt(1, 1);
        const ScreenPos inside{(top.x + right.x) / 2, (top.y + below.y) / 2};
        const QImage img = drawing()->grab().toImage();
        bool patterned = false;
        for (int dx = -4; dx <= 4; ++dx)
            patterned = patterned ||
                        img.pixelColor(widgetPos({inside.x + dx, inside.y})) != QColor(Qt::white);
        QVERIFY(patterned);

        m_sink.queueAnswer(platform::Answer::No);
        trigger(EditorCommand::DeleteAllLines);
        QVERIFY(model().lineCount() > 0);
        QCOMPARE(m_sink.entries().back().text,
                 std::string("Вы действительно хотите\rудалить все соединения ИГЭ"));
        m_sink.queueAnswer(platform::Answer::Yes);
        trigger(EditorCommand::DeleteAllLines);
        QCOMPARE(model().lineCount(), 0);
        QCOMPARE(comment(), QStringLiteral("Все соединения ИГЭ удалены"));
        QVERIFY(enabled(EditorCommand::AutoBuild));
    }

    void selectsHighlightsAndDeletesALine() {
        OPEN({1, 2, 3, 4});
        trigger(EditorCommand::AutoBuild);
        const auto lines = model().lineCount();
        trigger(EditorCommand::SelectLine);
        QCOMPARE(comment(), QStringLiteral("Включен режим выбора линий"));
        QVERIFY(pressed(EditorCommand::SelectLine));
        const auto at = onLine(1);
        QTest::mouseMove(drawing(), widgetPos(at));
        QCOMPARE(comment(), QStringLiteral("Для выбора динии кликните мышью"));
        QCOMPARE(pixel(at), QColor(0, 160, 0));
        click(at);
        QCOMPARE(comment(), QStringLiteral("Линия выбрана"));
        QCOMPARE(m_session->state().selectedLine, 1);
        QCOMPARE(pixel(at), QColor(Qt::red));
        QVERIFY(enabled(EditorCommand::DeleteLine));
        QVERIFY(enabled(EditorCommand::PreviousLine));
        trigger(EditorCommand::NextLine);
        QCOMPARE(comment(), QStringLiteral("Смена выбранной линии"));
        QCOMPARE(m_session->state().selectedLine, 2);
        // Style and visibility of the selected line.
        trigger(EditorCommand::WavyLine);
        QCOMPARE(model().lines[2].style, connect::LineStyle::Wavy);
        QVERIFY(pressed(EditorCommand::WavyLine));
        trigger(EditorCommand::InvisibleLine);
        QCOMPARE(model().lines[2].visible, 0);
        QCOMPARE(comment(), QStringLiteral("Выбран режим невидимых границ ИГЭ"));
        trigger(EditorCommand::DeleteLine);
        QCOMPARE(comment(), QStringLiteral("Линия удалена"));
        QCOMPARE(model().lineCount(), lines - 1);
        QVERIFY(!enabled(EditorCommand::DeleteLine));
        QVERIFY(!pressed(EditorCommand::WavyLine)); // the current style shows again
    }

    void bendsMovesAndDeletesAPoint() {
        OPEN({1, 2, 3, 4});
        trigger(EditorCommand::AutoBuild);
        const auto lines = model().lineCount();
        const auto points = model().pointCount();
        trigger(EditorCommand::SelectPoint);
        QCOMPARE(comment(), QStringLiteral("Включен режим работы с точками"));
        const auto at = onLine(2);
        QTest::mouseMove(drawing(), widgetPos(at));
        QCOMPARE(comment(), QStringLiteral("Для создания точки дважды кликните мышью"));
        QTest::mouseDClick(drawing(), Qt::LeftButton, {}, widgetPos(at));
        QCOMPARE(comment(), QStringLiteral("Точка изгиба создана"));
        QCOMPARE(model().pointCount(), points + 1);
        QCOMPARE(model().lineCount(), lines + 1);
        const auto bend = points;
        QCOMPARE(model().points[bend].kind, connect::PointKind::Bend);
        QCOMPARE(m_session->state().selectedPoint, bend);
        const auto marker = freePoint(bend);
        QCOMPARE(pixel({marker.x - 1, marker.y - 1}), QColor(0, 160, 0)); // selected: green

        // Drag it 20 pixels down; its borehole stays.
        const auto from = freePoint(bend);
        const auto owner = model().points[bend].borehole;
        QTest::mousePress(drawing(), Qt::LeftButton, {}, widgetPos(from));
        QTest::mouseMove(drawing(), widgetPos({from.x, from.y + 20}));
        QCOMPARE(comment(), QStringLiteral("Перемещение точки"));
        QTest::mouseRelease(drawing(), Qt::LeftButton, {}, widgetPos({from.x, from.y + 20}));
        QCOMPARE(comment(), QStringLiteral("Перемещение точки завершено"));
        const auto to = freePoint(bend);
        QVERIFY(std::abs(to.y - (from.y + 20)) <= 1);
        QCOMPARE(model().points[bend].borehole, owner);

        QVERIFY(enabled(EditorCommand::DeletePoint));
        trigger(EditorCommand::DeletePoint);
        QCOMPARE(comment(), QStringLiteral("Точка удалена"));
        QCOMPARE(model().pointCount(), points);
        QCOMPARE(model().lineCount(), lines - 1); // both halves of the bent line went
        QVERIFY(!enabled(EditorCommand::DeletePoint));
    }

    void dragIsKeptInsideTheDrawingArea() {
        OPEN({1, 2, 3, 4});
        click(pointAt(0, 1));
        QVERIFY(m_session->capturing());
        // Sent straight to the area: the grab that routes it there on a desktop is not
        // available offscreen.
        QMouseEvent away(QEvent::MouseMove, QPointF(-40, 5000),
                         drawing()->mapToGlobal(QPointF(-40, 5000)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(drawing(), &away);
        const auto band = m_session->scene().rubberBand;
        QVERIFY(band.has_value());
        QCOMPARE(band->b, (ScreenPos{0, m_session->mapping()->height - 1}));
        click(pointAt(0, 1), Qt::RightButton);
        QVERIFY(!m_session->capturing());
    }

    void twoBoreholesShowTwoWithoutScrollBar() {
        OPEN({1, 2});
        QCOMPARE(m_session->shown(), 2);
        QVERIFY(!enabled(EditorCommand::Show3));
        QVERIFY(pressed(EditorCommand::Show2));
        QVERIFY(!m_window->scrollBar()->isVisible());
        QVERIFY(!enabled(EditorCommand::ToRight));
        QVERIFY(!enabled(EditorCommand::ToEnd));
    }

    void navigationAndDisplayCount() {
        OPEN({1, 2, 3, 4, 5});
        trigger(EditorCommand::Show2);
        QCOMPARE(comment(), QStringLiteral("Выбран режим отображения по 2 выработки"));
        trigger(EditorCommand::ToRight);
        trigger(EditorCommand::ToRight);
        QCOMPARE(comment(), QStringLiteral("Смена текущих выработок"));
        QCOMPARE(m_session->firstShown(), 2);
        trigger(EditorCommand::Show3);
        QCOMPARE(m_session->firstShown(), 2);
        QCOMPARE(comment(), QStringLiteral("Выбран режим отображения по 3 выработки"));
        QVERIFY(!enabled(EditorCommand::ToRight));
        trigger(EditorCommand::Show2);
        trigger(EditorCommand::ToEnd);
        QCOMPARE(m_session->firstShown(), 3);
        trigger(EditorCommand::Show3);
        QCOMPARE(m_session->firstShown(), 2);

        // Page right from 1 with 3 shown stops at the end, 2.
        trigger(EditorCommand::ToBegin);
        QCOMPARE(m_session->firstShown(), 0);
        m_window->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(m_session->firstShown(), 1);
        m_window->scrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(m_session->firstShown(), 2);
        QCOMPARE(m_window->scrollBar()->value(), 2);
        m_window->scrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(m_session->firstShown(), 0);
        // The displayed boreholes moved: borehole 3's axis is now at the left quarter.
        trigger(EditorCommand::ToEnd);
        const auto x = m_session->mapping()->pointPos(model(), model().boreholePointIndex(2, 0)).x;
        QCOMPARE(x, m_session->mapping()->width / 8);
    }

    void undoAndRedoEveryEditKind() {
        OPEN({1, 2, 3, 4});
        auto snapshot = [this] { return std::make_pair(model().points, model().lines); };
        // Each step: does one edit through the window, then undo restores and redo repeats it.
        auto check = [&](const char* what, const std::function<void()>& edit) {
            const auto before = snapshot();
            edit();
            const auto after = snapshot();
            QVERIFY2(before != after, what);
            QTest::keyClick(m_window.get(), Qt::Key_Z, Qt::ControlModifier);
            QVERIFY2(snapshot() == before, what);
            QVERIFY2(comment().startsWith(QStringLiteral("Отменено: ")), what);
            QTest::keyClick(m_window.get(), Qt::Key_Y, Qt::ControlModifier);
            QVERIFY2(snapshot() == after, what);
            QVERIFY2(comment().startsWith(QStringLiteral("Повторено: ")), what);
        };
        check("auto", [&] { trigger(EditorCommand::AutoBuild); });
        check("delete all", [&] {
            m_sink.queueAnswer(platform::Answer::Yes);
            trigger(EditorCommand::DeleteAllLines);
        });
        QTest::keyClick(m_window.get(), Qt::Key_Z, Qt::ControlModifier); // lines back
        QCOMPARE(comment(), QStringLiteral("Отменено: удаление всех соединений"));
        check("segment", [&] {
            const auto a = pointAt(0, model().boreholes[0].rowCount() - 1);
            click(a);
            click({a.x + 15, a.y + 3});
        });
        trigger(EditorCommand::SelectLine);
        check("style", [&] {
            click(onLine(1));
            trigger(EditorCommand::WavyLine);
        });
        check("visibility", [&] {
            click(onLine(1));
            trigger(EditorCommand::InvisibleLine);
        });
        check("delete line", [&] {
            click(onLine(1));
            trigger(EditorCommand::DeleteLine);
        });
        trigger(EditorCommand::SelectPoint);
        check("bend",
              [&] { QTest::mouseDClick(drawing(), Qt::LeftButton, {}, widgetPos(onLine(2))); });
        const auto bend = model().pointCount() - 1;
        check("move", [&] {
            const auto p = freePoint(bend);
            QTest::mousePress(drawing(), Qt::LeftButton, {}, widgetPos(p));
            QTest::mouseMove(drawing(), widgetPos({p.x + 4, p.y + 9}));
            QTest::mouseRelease(drawing(), Qt::LeftButton, {}, widgetPos({p.x + 4, p.y + 9}));
        });
        check("delete point", [&] {
            click(freePoint(bend));
            trigger(EditorCommand::DeletePoint);
        });
        // Toolbar buttons do the same; a new edit drops what could be redone.
        trigger(EditorCommand::Undo);
        QVERIFY(enabled(EditorCommand::Redo));
        click(freePoint(bend));
        trigger(EditorCommand::DeletePoint);
        QVERIFY(!enabled(EditorCommand::Redo));
    }

    void cancelKeepsTheEdits() {
        OPEN({1, 2, 3, 4});
        trigger(EditorCommand::AutoBuild);
        m_sink.queueAnswer(platform::Answer::Cancel);
        trigger(EditorCommand::Exit);
        QVERIFY(m_window->isVisible());
        QVERIFY(model().lineCount() > 0);
        QCOMPARE(m_sink.entries().back().caption, std::string("Соединение ИГЭ"));
        QCOMPARE(m_sink.entries().back().text, std::string("Сохранить изменения ?"));
        QCOMPARE(m_sink.entries().back().kind, std::string("yesnocancel"));
    }

    // The whole sequence of the section dialog's button, with the window answered by a timer.
    void saveAndReopenFindsTheConnections() {
        const std::vector<std::int32_t> holes{1, 2, 3, 4};
        auto runEditor = [&](auto inWindow) {
            whenEditorShows(inWindow);
            return connect::ui::EditConnections(*m_folder, m_sink, 1, std::nullopt, holes);
        };
        std::int32_t saved = 0;
        QVERIFY(runEditor([&](connect::ui::ConnectionEditorWindow& w) {
            w.action(EditorCommand::AutoBuild)->trigger();
            saved = w.session().model().lineCount();
            m_sink.queueAnswer(platform::Answer::Yes);
            w.action(EditorCommand::Exit)->trigger();
        }));
        QVERIFY(saved > 0);
        QVERIFY(m_folder->exists(store::paths::kWorkSlo));
        std::int32_t reopened = -1;
        QVERIFY(!runEditor([&](connect::ui::ConnectionEditorWindow& w) {
            reopened = w.session().model().lineCount();
            m_sink.queueAnswer(platform::Answer::No);
            w.reject();
        }));
        QCOMPARE(reopened, saved);
        // WORK.SLO was there before this run, so leaving without saving keeps it.
        QVERIFY(m_folder->exists(store::paths::kWorkSlo));
    }

    void noRemovesTheWorkingCopyTheEditorMade() {
        // Section 1 has its own connection file; the editor works on a copy of it.
        bool hadLines = false;
        bool hadCopy = false;
        whenEditorShows([&](connect::ui::ConnectionEditorWindow& w) {
            hadLines = w.session().model().lineCount() > 0;
            hadCopy = m_folder->exists(store::paths::kWorkSlo);
            m_sink.queueAnswer(platform::Answer::No);
            w.reject();
        });
        QVERIFY(!connect::ui::EditConnections(*m_folder, m_sink, 1, 1, {1, 2, 3, 4}));
        QVERIFY(hadLines);
        QVERIFY(hadCopy);
        QVERIFY(!m_folder->exists(store::paths::kWorkSlo));
    }
};

QTEST_MAIN(ConnectionEditorTest)
#include "connection_editor_test.moc"
