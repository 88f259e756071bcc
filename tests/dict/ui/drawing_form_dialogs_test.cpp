// The drawing form dialogs driven by clicks and typing on a real dictionary folder.
#include "dict/ui/drawing_form_dialogs.h"
#include "platform/ui/qt_fonts.h"
#include "store/records.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace orvo;
using namespace orvo::dict;
using namespace orvo::dict::ui;
using orvo::store::Bytes;

namespace {

QStringList listTexts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QPushButton* buttonOf(QWidget* w, const char* name) {
    return w->findChild<QPushButton*>(QString::fromLatin1(name));
}

template <class W> W* childOf(QWidget* w, const char* name) {
    return w->findChild<W*>(QString::fromLatin1(name));
}

} // namespace

class DrawingFormDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    platform::RecordingMessageSink m_sink;

    // Forms 0..3: the standard one, two in use and one deleted; each body's frame line is its
    // index + 1.
    void makeForms() {
        const std::pair<std::int16_t, const char*> forms[] = {
            {1, "Стандартная форма"}, {1, "Бета"}, {0, "Удалённая"}, {1, "Альфа"}};
        Bytes list;
        for (int i = 0; i < 4; ++i) {
            DrawingFormEntry e;
            e.inUse = forms[i].first;
            e.name.setPadded(platform::utf8ToCp1251(forms[i].second));
            const Bytes eb = store::recordBytes(e);
            list.insert(list.end(), eb.begin(), eb.end());
            DrawingForm body = newDrawingForm();
            body.frameLine = i + 1;
            test::writeBytes(m_dir->path() / "DATA/DIC" / ("00" + std::to_string(i) + ".FRR"),
                             store::recordBytes(body));
        }
        test::writeBytes(m_dir->path() / "DATA/DIC/RazForm.SPS", list);
    }

    DrawingForm body(int index) {
        auto form = ReadDrawingFormBody(*m_folder, index);
        return form.ok() ? *form : DrawingForm{};
    }

    std::vector<DrawingFormEntry> entries() {
        auto list = ReadDrawingFormList(*m_folder);
        return list.ok() ? *list : std::vector<DrawingFormEntry>{};
    }

    void select(DrawingFormListDialog& dialog, const QString& name) {
        const auto found = dialog.list()->findItems(name, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        dialog.list()->setCurrentItem(found[0]);
    }

    // Clicks `button`, which opens a modal dialog of type D, and runs `act` on that dialog.
    // Whatever `act` leaves open is rejected, so a failed check cannot hang the test.
    template <class D> void clickInto(QPushButton* button, std::function<void(D*)> act) {
        bool reached = false;
        QTimer::singleShot(0, this, [&reached, act] {
            auto* modal = qobject_cast<D*>(QApplication::activeModalWidget());
            reached = modal != nullptr;
            if (modal)
                act(modal);
            if (modal && QApplication::activeModalWidget() == modal)
                modal->reject();
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(reached);
    }

    static void retype(QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        m_folder = std::make_unique<platform::WorkFolder>(m_dir->path());
        m_sink.clear();
        makeForms();
    }

    void listStartsOnTheStandardForm() {
        DrawingFormListDialog dialog(*m_folder, m_sink);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Список оформлений чертежа разреза"));
        QCOMPARE(listTexts(dialog.list()), (QStringList{"Альфа", "Бета", "Стандартная форма"}));
        QCOMPARE(dialog.selectedIndex(), 0);
        QVERIFY(buttonOf(&dialog, "edit")->isEnabled());
        QVERIFY(!buttonOf(&dialog, "rename")->isEnabled());
        QVERIFY(!buttonOf(&dialog, "delete")->isEnabled());

        select(dialog, QStringLiteral("Альфа"));
        QCOMPARE(dialog.selectedIndex(), 3);
        QVERIFY(buttonOf(&dialog, "rename")->isEnabled());
        QVERIFY(buttonOf(&dialog, "delete")->isEnabled());
        select(dialog, QStringLiteral("Стандартная форма"));
        QVERIFY(!buttonOf(&dialog, "rename")->isEnabled());
        QVERIFY(!buttonOf(&dialog, "delete")->isEnabled());
        QVERIFY(m_sink.empty());
    }

    void deleteAsksFirst() {
        DrawingFormListDialog dialog(*m_folder, m_sink);
        select(dialog, QStringLiteral("Бета"));
        QTest::mouseClick(buttonOf(&dialog, "delete"), Qt::LeftButton); // answered No
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].caption, std::string("Stop"));
        QCOMPARE(m_sink.entries()[0].text,
                 std::string("Вы действительно хотите удалить\rформу: Бета"));
        QCOMPARE(dialog.list()->count(), 3);
        QCOMPARE(entries()[1].inUse, std::int16_t{1});

        m_sink.queueAnswer(platform::Answer::Yes);
        QTest::mouseClick(buttonOf(&dialog, "delete"), Qt::LeftButton);
        QCOMPARE(listTexts(dialog.list()), (QStringList{"Альфа", "Стандартная форма"}));
        QCOMPARE(dialog.selectedIndex(), 0);
        QCOMPARE(entries().size(), 4u);
        QCOMPARE(entries()[1].inUse, std::int16_t{0});
        QVERIFY(std::filesystem::exists(m_dir->path() / "DATA/DIC/001.FRR"));
    }

    void renameRefusesATakenNameAndStaysOpen() {
        DrawingFormListDialog dialog(*m_folder, m_sink);
        select(dialog, QStringLiteral("Альфа"));
        clickInto<DrawingFormRenameDialog>(
            buttonOf(&dialog, "rename"), [this](DrawingFormRenameDialog* rename) {
                QCOMPARE(rename->windowTitle(), QStringLiteral("Переименование формы оформления"));
                auto* old = childOf<QLineEdit>(rename, "oldName");
                auto* fresh = childOf<QLineEdit>(rename, "newName");
                QCOMPARE(old->text(), QStringLiteral("Альфа"));
                QVERIFY(old->isReadOnly());
                QCOMPARE(fresh->text(), QStringLiteral("Альфа"));
                QTest::mouseClick(buttonOf(rename, "rename"), Qt::LeftButton);
                QVERIFY(rename->isVisible());
                fresh->setText(QStringLiteral("Бета"));
                QTest::mouseClick(buttonOf(rename, "rename"), Qt::LeftButton);
                QVERIFY(rename->isVisible());
                QCOMPARE(m_sink.entries().size(), 2u);
                for (const auto& e : m_sink.entries())
                    QCOMPARE(e.text, std::string("Такое наименование уже есть."));
                fresh->setText(QStringLiteral("Удалённая"));
                QTest::mouseClick(buttonOf(rename, "rename"), Qt::LeftButton);
                QVERIFY(!rename->isVisible());
            });
        QCOMPARE(listTexts(dialog.list()), (QStringList{"Бета", "Стандартная форма", "Удалённая"}));
        QCOMPARE(dialog.selectedIndex(), 3);
        QCOMPARE(entries()[3].name.utf8Trimmed(), std::string("Удалённая"));
    }

    void editorChangesThicknessAndSizeOfAnExistingForm() {
        DrawingFormListDialog dialog(*m_folder, m_sink);
        select(dialog, QStringLiteral("Бета"));
        clickInto<DrawingFormEditor>(buttonOf(&dialog, "edit"), [](DrawingFormEditor* editor) {
            QCOMPARE(editor->windowTitle(),
                     QStringLiteral("Редактирование формы оформления разреза"));
            auto* name = childOf<QLineEdit>(editor, "name");
            QCOMPARE(name->text(), QStringLiteral("Бета"));
            QVERIFY(name->isReadOnly());
            // "Arial Cyr" is shown as its installed stand-in, else as the first family.
            auto* face = childOf<QComboBox>(editor, "face");
            const auto standIn = platform::installedFace("Arial Cyr");
            const int shown = standIn ? face->findText(QString::fromStdString(*standIn)) : -1;
            QCOMPARE(face->currentIndex(), std::max(shown, 0));
            auto* kind = childOf<QComboBox>(editor, "lineKind");
            auto* thickness = childOf<QLineEdit>(editor, "thickness");
            QCOMPARE(thickness->text(), QStringLiteral("0.2")); // frame line 2
            kind->setCurrentIndex(2);
            QCOMPARE(thickness->text(), QStringLiteral("0.5"));
            retype(thickness, QStringLiteral("0.25"));
            kind->setCurrentIndex(0); // leaving the field for another kind keeps what was typed
            QCOMPARE(thickness->text(), QStringLiteral("0.2"));
            kind->setCurrentIndex(2);
            QCOMPARE(thickness->text(), QStringLiteral("0.2"));
            retype(thickness, QStringLiteral("1,5"));
            QTest::keyClick(thickness, Qt::Key_Return);
            QCOMPARE(thickness->text(), QStringLiteral("1.0"));
            kind->setCurrentIndex(1);
            retype(thickness, QStringLiteral("0.7")); // still in the field when saving

            auto* role = childOf<QComboBox>(editor, "role");
            auto* size = childOf<QComboBox>(editor, "size");
            auto* style = childOf<QComboBox>(editor, "style");
            role->setCurrentIndex(3);
            QCOMPARE(size->currentText(), QStringLiteral("16"));
            QCOMPARE(style->currentText(), QStringLiteral("Полужирный"));
            size->setCurrentIndex(size->findText(QStringLiteral("20")));
            style->setCurrentIndex(2);
            role->setCurrentIndex(0);
            QCOMPARE(size->currentText(), QStringLiteral("10"));
            QTest::mouseClick(buttonOf(editor, "save"), Qt::LeftButton);
            QVERIFY(!editor->isVisible());
        });
        const DrawingForm saved = body(1);
        QCOMPARE(saved.frameLine, 2);
        QCOMPARE(saved.scaleLine, 7);
        QCOMPARE(saved.igeLine, 10);
        QCOMPARE(saved.fontSize[3], std::int16_t{20});
        QCOMPARE(saved.fontStyle[3], std::int8_t{2});
        QCOMPARE(saved.fontSize[0], std::int16_t{10});
        // Faces were only shown, never chosen, so they stay as stored.
        for (const auto& face : saved.fontFace)
            QCOMPARE(face.utf8(), std::string("Arial Cyr"));
        QCOMPARE(entries().size(), 4u);
        QVERIFY(m_sink.empty());
    }

    void choosingAFontStoresItForTheRole() {
        DrawingFormEditor editor(*m_folder, m_sink, 3);
        auto* face = childOf<QComboBox>(&editor, "face");
        if (face->count() < 2)
            QSKIP("needs two installed scalable font families");
        childOf<QComboBox>(&editor, "role")->setCurrentIndex(4);
        const int other = face->currentIndex() == 0 ? 1 : 0;
        face->setCurrentIndex(other);
        QCOMPARE(editor.form().fontFace[4].utf8(), face->itemText(other).toStdString());
        QCOMPARE(editor.form().fontFace[3].utf8(), std::string("Arial Cyr"));
    }

    void newFormUnderATakenNameAsksBeforeReplacing() {
        DrawingFormListDialog dialog(*m_folder, m_sink);
        clickInto<DrawingFormEditor>(
            buttonOf(&dialog, "create"), [this](DrawingFormEditor* editor) {
                auto* name = childOf<QLineEdit>(editor, "name");
                QVERIFY(!name->isReadOnly());
                QCOMPARE(name->text(), QStringLiteral("Новая форма оформления разреза"));
                QCOMPARE(childOf<QLineEdit>(editor, "thickness")->text(), QStringLiteral("0.3"));
                name->setText(QStringLiteral("Бета"));
                retype(childOf<QLineEdit>(editor, "thickness"), QStringLiteral("0.9"));
                QTest::mouseClick(buttonOf(editor, "save"), Qt::LeftButton); // answered No
                QVERIFY(editor->isVisible());
                QCOMPARE(m_sink.entries().size(), 1u);
                QCOMPARE(m_sink.entries()[0].text,
                         std::string("Такое наименование уже есть.\rЗаменить ?"));
                QCOMPARE(body(1).frameLine, 2);
                m_sink.queueAnswer(platform::Answer::Yes);
                QTest::mouseClick(buttonOf(editor, "save"), Qt::LeftButton);
                QVERIFY(!editor->isVisible());
            });
        QCOMPARE(entries().size(), 4u);
        QCOMPARE(body(1).frameLine, 9);
        QCOMPARE(dialog.selectedIndex(), 1);
        QVERIFY(buttonOf(&dialog, "rename")->isEnabled());
    }

    void editorOfAFormWithoutBodyReportsAndDoesNotOpen() {
        std::filesystem::remove(m_dir->path() / "DATA/DIC/001.FRR");
        DrawingFormEditor editor(*m_folder, m_sink, 1);
        QVERIFY(!editor.run().has_value());
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].text,
                 std::string("Ошибка открытия файла \"DATA\\DIC\\001.FRR\""));
    }

    void previewDrawsTheSample() {
        FontPreview preview;
        preview.resize(320, 80);
        DrawingForm form = newDrawingForm();
        preview.setFontOf(form, 0);
        const QImage small = preview.grab().toImage();
        form.fontSize[0] = 30;
        preview.setFontOf(form, 0);
        const QImage large = preview.grab().toImage();
        const auto inked = [](const QImage& img) {
            const QRgb background = img.pixel(0, 0);
            int n = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    n += img.pixel(x, y) != background;
            return n;
        };
        QVERIFY(inked(small) > 0);
        QVERIFY(inked(large) > 2 * inked(small));
    }

    void previewShowsTheSizeInPoints_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("style");
        QTest::newRow("10 normal") << 10 << 0;
        QTest::newRow("20 bold") << 20 << 1;
        QTest::newRow("30 bold italic") << 30 << 3;
    }

    void previewShowsTheSizeInPoints() {
        // The stored size is in points, as the drawing makes its fonts; on screen a point is
        // dpi / 72 pixels. From the top of "O" to the foot of "р" the sample spans about 0.9 of
        // the em in the installed stand-ins for the stored faces.
        QFETCH(int, size);
        QFETCH(int, style);
        FontPreview preview;
        preview.resize(900, 160);
        DrawingForm form = newDrawingForm();
        form.fontSize[0] = static_cast<std::int16_t>(size);
        form.fontStyle[0] = static_cast<std::int8_t>(style);
        preview.setFontOf(form, 0);
        const QImage img = preview.grab().toImage();
        const QRgb background = img.pixel(0, 0);
        int top = img.height();
        int bottom = -1;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != background) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        const double em = size * preview.logicalDpiY() / 72.0;
        const double ink = bottom - top + 1;
        QVERIFY2(ink >= 0.8 * em && ink <= 1.1 * em,
                 qPrintable(QStringLiteral("ink %1 px for an em of %2 px").arg(ink).arg(em)));
    }
};

QTEST_MAIN(DrawingFormDialogsTest)
#include "drawing_form_dialogs_test.moc"
