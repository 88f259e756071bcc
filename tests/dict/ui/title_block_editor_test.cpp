// The title block editor: its editing rules, and the window driven by the mouse and its buttons.
#include "dict/ui/title_block_editor.h"
#include "support/temp_dir.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace orvo;
using namespace orvo::dict;
using namespace orvo::dict::ui;
using namespace orvo::dict::ui::detail;

namespace {

TitleSegment segment(int x1, int y1, int x2, int y2) {
    TitleSegment s;
    s.x1 = std::int16_t(x1);
    s.y1 = std::int16_t(y1);
    s.x2 = std::int16_t(x2);
    s.y2 = std::int16_t(y2);
    return s;
}

TitleEditableText caption(const char* text, Box b) {
    TitleEditableText t;
    t.text.setUtf8(text);
    t.font = logFontFor("Arial Cyr");
    t.box.x1 = std::int16_t(b.x1);
    t.box.y1 = std::int16_t(b.y1);
    t.box.x2 = std::int16_t(b.x2);
    t.box.y2 = std::int16_t(b.y2);
    return t;
}

TitleProgramText field(int code, Box b) {
    TitleProgramText t;
    t.fieldCode = std::int16_t(code);
    t.font = logFontFor("Arial Cyr");
    t.box.x1 = std::int16_t(b.x1);
    t.box.y1 = std::int16_t(b.y1);
    t.box.x2 = std::int16_t(b.x2);
    t.box.y2 = std::int16_t(b.y2);
    return t;
}

std::int32_t i32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::int32_t(std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 |
                        std::uint32_t(b[at + 2]) << 16 | std::uint32_t(b[at + 3]) << 24);
}
std::int16_t i16At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::int16_t(b[at] | b[at + 1] << 8);
}

} // namespace

class TitleBlockEditorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    platform::RecordingMessageSink m_sink;

    TitleBlockEdit load() {
        auto edit = TitleBlockEdit::Load(*m_folder, 0);
        if (!edit)
            qFatal("the template did not load");
        return std::move(*edit);
    }
    template <class W> static W* child(QWidget& w, const char* name) {
        auto* c = w.findChild<W*>(QString::fromLatin1(name));
        if (!c)
            qFatal("no child %s", name);
        return c;
    }
    static void click(QWidget& w, const char* name) {
        QTest::mouseClick(child<QAbstractButton>(w, name), Qt::LeftButton);
    }
    static void type(QWidget& w, const char* name, const char* text) {
        child<QLineEdit>(w, name)->setText(QString::fromUtf8(text));
    }
    // A drag on the drawing area between points given in tenths from its centre.
    static void drag(QWidget& editor, Point from, Point to) {
        auto* area = child<QWidget>(editor, "drawingArea");
        auto px = [](Point p) { return QPoint(1200 + p.x * 2 / 5, 1200 - p.y * 2 / 5); };
        QTest::mousePress(area, Qt::LeftButton, {}, px(from));
        QTest::mouseMove(area, px({(from.x + to.x) / 2, (from.y + to.y) / 2}));
        QTest::mouseMove(area, px(to));
        QTest::mouseRelease(area, Qt::LeftButton, {}, px(to));
    }
    static void shown(QWidget& w) {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        std::filesystem::create_directories(m_dir->path() / "DATA/DIC");
        m_folder = std::make_unique<platform::WorkFolder>(m_dir->path());
        m_sink.clear();
    }

    // ---- the rules ----

    void applyingFieldsToABox() {
        // Sizes that match the typed corners leave them; dX and dY move both corners.
        BoxFields f{200, 50, 30, -10, {0, 50, 200, 0}};
        QCOMPARE(applyFields(f), (Box{30, 40, 230, -10}));
        // A changed size moves the second corner from the first: right and down.
        f = {120, 80, 0, 5, {10, 100, 200, 60}};
        QCOMPARE(applyFields(f), (Box{10, 105, 130, 25}));
        // Typed corners the wrong way round come out with the upper left corner first.
        QCOMPARE(normalised({50, -20, -10, 30}), (Box{-10, 30, 50, -20}));
        QCOMPARE(normalised({0, 10, 5, 0}), (Box{0, 10, 5, 0}));
        QCOMPARE(fieldsFor({-10, 30, 50, -20}).sizeX, 60);
        QCOMPARE(fieldsFor({-10, 30, 50, -20}).sizeY, 50);
    }

    void applyToOriginalAndToCopy() {
        TitleBlockEdit edit = load();
        edit.editableTexts.push_back({true, caption("Разрез", {0, 100, 300, 0})});
        edit.segments.push_back({true, segment(0, 0, 400, 0)});
        const Selection text{Kind::EditableText, 0};
        auto done = applyEdit(edit, text, {100, 100, 0, 0, {20, 100, 300, 0}}, "Лист 1", false);
        QVERIFY(done);
        QCOMPARE(done->element, text);
        QVERIFY(!done->outOfBounds);
        QCOMPARE(boxOf(edit, text), (Box{20, 100, 120, 0}));
        QCOMPARE(edit.editableTexts[0].item.text.utf8(), std::string("Лист 1"));

        // A copy is appended with the change; the original keeps its place and values.
        const Selection seg{Kind::Segment, 0};
        done = applyEdit(edit, seg, {400, 0, 0, -80, {0, 0, 400, 0}}, "", true);
        QVERIFY(done);
        QCOMPARE(done->element, (Selection{Kind::Segment, 1}));
        QCOMPARE(edit.segments.size(), 2u);
        QCOMPARE(boxOf(edit, seg), (Box{0, 0, 400, 0}));
        QCOMPARE(boxOf(edit, done->element), (Box{0, -80, 400, -80}));

        // A program field occurs once: its copy is refused; deleted elements are not edited.
        edit.programTexts.push_back({true, field(3, {0, 50, 100, 0})});
        QVERIFY(!applyEdit(edit, {Kind::ProgramText, 0}, {}, "", true));
        QCOMPARE(edit.programTexts.size(), 1u);
        edit.segments[1].alive = false;
        QVERIFY(!applyEdit(edit, {Kind::Segment, 1}, {}, "", false));
    }

    void segmentsStayHorizontalOrVertical() {
        TitleBlockEdit edit = load();
        edit.segments.push_back({true, segment(100, 0, 100, 300)}); // vertical
        edit.segments.push_back({true, segment(0, 50, 200, 50)});   // horizontal
        // A vertical one takes X2 from X1 whatever was typed; its Y range is normalised.
        applyEdit(edit, {Kind::Segment, 0}, {80, 300, 10, 0, {100, 0, 180, 300}}, "", false);
        QCOMPARE(boxOf(edit, {Kind::Segment, 0}), (Box{110, 300, 110, 0}));
        // A horizontal one takes Y2 from Y1, and its new length from the size.
        applyEdit(edit, {Kind::Segment, 1}, {350, 40, 0, 0, {0, 50, 200, 20}}, "", false);
        QCOMPARE(boxOf(edit, {Kind::Segment, 1}), (Box{0, 50, 350, 50}));

        // The window disables the fields that rule makes meaningless.
        TitleBlockEditor editor(edit, m_sink);
        auto* kind = child<QComboBox>(editor, "elementKind");
        auto* element = child<QComboBox>(editor, "element");
        QCOMPARE(kind->currentIndex(), 0);
        QCOMPARE(element->itemText(0), QStringLiteral("Отрезок #1"));
        QVERIFY(!child<QLineEdit>(editor, "sizeX")->isEnabled());
        QVERIFY(!child<QLineEdit>(editor, "x2")->isEnabled());
        QVERIFY(child<QLineEdit>(editor, "y2")->isEnabled());
        element->setCurrentIndex(1);
        QVERIFY(child<QLineEdit>(editor, "x2")->isEnabled());
        QVERIFY(!child<QLineEdit>(editor, "sizeY")->isEnabled());
        QVERIFY(!child<QLineEdit>(editor, "y2")->isEnabled());
        QCOMPARE(child<QLineEdit>(editor, "sizeX")->text(), QStringLiteral("35.0"));
    }

    void rotationSwapsWidthAndHeightAboutTheCentre() {
        const Box turned = rotated({0, 100, 300, 0});
        QCOMPARE(turned, (Box{100, 200, 200, -100}));
        QCOMPARE(rotated(turned), (Box{0, 100, 300, 0}));
        // Odd sums stay on whole tenths and two turns give the box back.
        QCOMPARE(rotated(rotated({0, 1, 3, 0})), (Box{0, 1, 3, 0}));

        TitleBlockEdit edit = load();
        edit.segments.push_back({true, segment(-200, 40, 200, 40)});
        QVERIFY(!rotateElement(edit, {Kind::Segment, 0}));
        QCOMPARE(boxOf(edit, {Kind::Segment, 0}), (Box{0, 240, 0, -160}));
        // Turning a long box near the edge takes it out of bounds.
        edit.editableTexts.push_back({true, caption("x", {2000, 2900, 2800, 2800})});
        QVERIFY(rotateElement(edit, {Kind::EditableText, 0}));
    }

    void dragsSnapAndClicksFindTheNearest() {
        QCOMPARE(snapToGrid(14, 10), 10);
        QCOMPARE(snapToGrid(-16, 10), -20);
        QCOMPARE(snapToGrid(37, 5), 35);
        QCOMPARE(dragSegment({12, 48}, {207, 61}, 10), (Box{10, 50, 210, 50}));
        QCOMPARE(dragSegment({12, 48}, {30, -200}, 10), (Box{10, 50, 10, -200}));
        QCOMPARE(dragBox({120, -20}, {-38, 41}, 20), (Box{-40, 40, 120, -20}));
        QVERIFY(outOfBounds({0, 0, 3001, 0}));
        QVERIFY(outOfBounds({0, -3001, 0, 0}));
        QVERIFY(!outOfBounds({-3000, 3000, 3000, -3000}));

        TitleBlockEdit edit = load();
        QVERIFY(!nearestElement(edit, {0, 0}));
        edit.segments.push_back({true, segment(0, 0, 1000, 0)});
        edit.programTexts.push_back({true, field(0, {0, 300, 500, 100})});
        edit.editableTexts.push_back({true, caption("Масштаб", {600, 300, 900, 100})});
        QCOMPARE(*nearestElement(edit, {500, 20}), (Selection{Kind::Segment, 0}));
        QCOMPARE(*nearestElement(edit, {250, 200}), (Selection{Kind::ProgramText, 0}));
        QCOMPARE(*nearestElement(edit, {950, 250}), (Selection{Kind::EditableText, 0}));
        edit.editableTexts[0].alive = false;
        QCOMPARE(*nearestElement(edit, {950, 250}), (Selection{Kind::Segment, 0}));

        // Lists: segments numbered by position among the living, all eleven fields.
        edit.segments.push_back({true, segment(0, 10, 0, 90)});
        edit.segments[0].alive = false;
        const auto segs = elementEntries(edit, Kind::Segment);
        QCOMPARE(segs.size(), 1u);
        QCOMPARE(segs[0], (std::pair<std::string, int>{"Отрезок #1", 1}));
        QCOMPARE(elementEntries(edit, Kind::ProgramText).size(), 11u);
        QCOMPARE(elementEntries(edit, Kind::ProgramText)[10].first, std::string("Номер договора"));
        QVERIFY(elementEntries(edit, Kind::EditableText).empty());
    }

    // ---- the window ----

    void drawingASegmentWithTheMouse() {
        TitleBlockEdit edit = load();
        TitleBlockEditor editor(edit, m_sink);
        shown(editor);
        QCOMPARE(child<QComboBox>(editor, "gridStep")->currentText(), QStringLiteral("1.0 mm"));
        click(editor, "modeSegments");
        child<QComboBox>(editor, "lineWidth")->setCurrentIndex(2); // 0.3 mm
        drag(editor, {102, 48}, {598, 66});
        QCOMPARE(edit.segments.size(), 1u);
        const TitleSegment& s = edit.segments[0].item;
        QCOMPARE((Box{s.x1, s.y1, s.x2, s.y2}), (Box{100, 50, 600, 50}));
        QCOMPARE(s.penWidth, std::int16_t{3});
        const auto bytes = test::readBytes(m_dir->path() / "SHT_LIN.tmp");
        QCOMPARE(bytes.size(), 14u);
        QCOMPARE(i32At(bytes, 0), 1);
        QCOMPARE(i16At(bytes, 4), std::int16_t{100});
        QCOMPARE(i16At(bytes, 6), std::int16_t{50});
        QCOMPARE(i16At(bytes, 8), std::int16_t{600});
        QCOMPARE(i16At(bytes, 10), std::int16_t{50});
        QCOMPARE(i16At(bytes, 12), std::int16_t{3});
        QCOMPARE(child<QLineEdit>(editor, "x2")->text(), QStringLiteral("60.0"));
        // A click without a drag draws nothing.
        drag(editor, {300, 300}, {302, 301});
        QCOMPARE(edit.segments.size(), 1u);

        // Deleting keeps the record behind a dead flag.
        click(editor, "deleteElement");
        QVERIFY(!edit.segments[0].alive);
        QCOMPARE(i32At(test::readBytes(m_dir->path() / "SHT_LIN.tmp"), 0), 0);
        QVERIFY(m_sink.empty());
    }

    void placingTextsAndTheDuplicateField() {
        TitleBlockEdit edit = load();
        TitleBlockEditor editor(edit, m_sink);
        shown(editor);
        click(editor, "modeProgram");
        QCOMPARE(child<QComboBox>(editor, "elementKind")->currentIndex(), 1);
        child<QComboBox>(editor, "element")->setCurrentIndex(4); // "Лист"
        click(editor, "bold");
        click(editor, "alignCentre");
        drag(editor, {0, 0}, {200, -80});
        QCOMPARE(edit.programTexts.size(), 1u);
        const auto& t = edit.programTexts[0].item;
        QCOMPARE(t.fieldCode, std::int16_t{4});
        QCOMPARE(t.box.style, std::int16_t(kTitleBold | kTitleCentred));
        QCOMPARE(t.font.faceName.utf8(), std::string("Arial Cyr"));
        QCOMPARE(t.box.y2, std::int16_t{-80});
        QVERIFY(m_sink.empty());
        drag(editor, {300, 0}, {500, -80});
        QCOMPARE(edit.programTexts.size(), 1u);
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].caption, std::string("Предупреждение"));
        QCOMPARE(m_sink.entries()[0].text, std::string("Текущее поле уже существует..."));

        // Changing the size of the selected text rewrites it and its working file at once.
        child<QComboBox>(editor, "element")->setCurrentIndex(4);
        QTest::qWait(0);
        child<QSpinBox>(editor, "fontSize")->setValue(14);
        QCOMPARE(edit.programTexts[0].item.box.size, std::int16_t{14});
        QCOMPARE(i16At(test::readBytes(m_dir->path() / "SHT_TXS.tmp"), 4 + 64), std::int16_t{14});

        click(editor, "modeEditable");
        type(editor, "text", "Гл. геолог");
        drag(editor, {0, 200}, {300, 120});
        QCOMPARE(edit.editableTexts.size(), 1u);
        QCOMPARE(edit.editableTexts[0].item.text.utf8(), std::string("Гл. геолог"));
        QCOMPARE(child<QComboBox>(editor, "element")->currentText(), QStringLiteral("Гл. геолог"));
        QCOMPARE(test::readBytes(m_dir->path() / "SHT_TXE.tmp").size(), 204u);
    }

    void applyingThroughTheFieldsAndTheBoundsWarning() {
        TitleBlockEdit edit = load();
        edit.editableTexts.push_back({true, caption("Шифр", {0, 100, 300, 0})});
        TitleBlockEditor editor(edit, m_sink);
        shown(editor);
        child<QComboBox>(editor, "elementKind")->setCurrentIndex(2);
        QCOMPARE(child<QLineEdit>(editor, "text")->text(), QStringLiteral("Шифр"));
        click(editor, "dX+"); // one grid step, 1.0 mm
        click(editor, "dX+");
        click(editor, "sizeY-");
        QCOMPARE(child<QLineEdit>(editor, "sizeY")->text(), QStringLiteral("9.0"));
        click(editor, "applyOriginal");
        QCOMPARE(detail::boxOf(edit, {Kind::EditableText, 0}), (Box{20, 100, 320, 10}));
        QCOMPARE(child<QLineEdit>(editor, "dX")->text(), QStringLiteral("0.0"));
        QVERIFY(m_sink.empty());

        type(editor, "x1", "-400.5");
        click(editor, "applyCopy");
        QCOMPARE(edit.editableTexts.size(), 2u);
        QCOMPARE(edit.editableTexts[1].item.box.x1, std::int16_t{-4005});
        QCOMPARE(edit.editableTexts[0].item.box.x1, std::int16_t{20});
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].caption, std::string("Устраните ошибку"));
        QCOMPARE(m_sink.entries()[0].text,
                 std::string("Элемент вышел за допустимые границы (-30.0,+30.0)"));
        // The values stay for the user to correct.
        QCOMPARE(child<QLineEdit>(editor, "x1")->text(), QStringLiteral("-400.5"));
    }

    void exitAsksAndSaveAccepts() {
        TitleBlockEdit edit = load();
        {
            TitleBlockEditor editor(edit, m_sink);
            QTimer::singleShot(0, &editor, [&editor] {
                type(editor, "name", "Штамп формы 5 с очень длинным наименованием для проверки");
                click(editor, "exit"); // Cancel: stays
                QVERIFY(editor.isVisible());
                click(editor, "exit"); // Yes: saved
            });
            m_sink.queueAnswer(platform::Answer::Cancel);
            m_sink.queueAnswer(platform::Answer::Yes);
            QCOMPARE(editor.exec(), int(QDialog::Accepted));
            QVERIFY(editor.windowState().testFlag(Qt::WindowMaximized));
        }
        QCOMPARE(m_sink.entries().size(), 2u);
        QCOMPARE(m_sink.entries()[0].kind, std::string("yesnocancel"));
        QCOMPARE(m_sink.entries()[0].caption, std::string("Редактирование штампов - выход"));
        QCOMPARE(m_sink.entries()[0].text, std::string("Сохранить текущие изменения ?"));
        QCOMPARE(QString::fromStdString(edit.name),
                 QStringLiteral("Штамп формы 5 с очень длинным наименова"));

        edit.name = "Прежнее";
        TitleBlockEditor no(edit, m_sink);
        QTimer::singleShot(0, &no, [&no] {
            type(no, "name", "Новое");
            click(no, "exit");
        });
        m_sink.queueAnswer(platform::Answer::No);
        QCOMPARE(no.exec(), int(QDialog::Rejected));
        QCOMPARE(edit.name, std::string("Прежнее"));

        TitleBlockEditor save(edit, m_sink);
        QTimer::singleShot(0, &save, [&save] { click(save, "save"); });
        m_sink.clear();
        QCOMPARE(save.exec(), int(QDialog::Accepted));
        QVERIFY(m_sink.empty());
    }
};

QTEST_MAIN(TitleBlockEditorTest)
#include "title_block_editor_test.moc"
