// The Qt message sink: real message boxes answered by simulated clicks and keys.
#include "platform/ui/qt_message_sink.h"
#include "support/modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace orvo::platform;

class QtMessageSinkTest : public QObject {
    Q_OBJECT

    // Runs `act` on the message box once it is up, and remembers what it showed.
    void whenBoxShows(std::function<void(QMessageBox*)> act) {
        orvo::test::whenModal(this, [this, act](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            m_title = box->windowTitle();
            m_text = box->text();
            m_buttons = box->buttons().size();
            act(box);
        });
    }
    static void click(QMessageBox* box, QMessageBox::StandardButton which) {
        QTest::mouseClick(box->button(which), Qt::LeftButton);
    }

    QString m_title;
    QString m_text;
    qsizetype m_buttons = 0;

private slots:
    void showsCaptionAndTextWithLineBreaks() {
        QtMessageSink sink;
        whenBoxShows([](QMessageBox* box) { click(box, QMessageBox::Ok); });
        sink.show("FATAL ERROR", "Ошибка открытия\r\"DATA\\razrez.prm\"", Icon::Error);
        QCOMPARE(m_title, QStringLiteral("FATAL ERROR"));
        QCOMPARE(m_text, QStringLiteral("Ошибка открытия\n\"DATA\\razrez.prm\""));
        QCOMPARE(m_buttons, 1);
    }

    void yesNoAnswers() {
        QtMessageSink sink;
        whenBoxShows([](QMessageBox* box) { click(box, QMessageBox::Yes); });
        QCOMPARE(sink.askYesNo("Удаление объекта", "?"), Answer::Yes);
        QCOMPARE(m_buttons, 2);
        whenBoxShows([](QMessageBox* box) { click(box, QMessageBox::No); });
        QCOMPARE(sink.askYesNo("Удаление объекта", "?"), Answer::No);
        // Escape on a Yes/No question means No.
        whenBoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(sink.askYesNo("Удаление объекта", "?"), Answer::No);
    }

    void yesNoCancelAnswers() {
        QtMessageSink sink;
        whenBoxShows([](QMessageBox* box) { click(box, QMessageBox::No); });
        QCOMPARE(sink.askYesNoCancel("Соединение ИГЭ", "Сохранить изменения ?"), Answer::No);
        QCOMPARE(m_buttons, 3);
        whenBoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(sink.askYesNoCancel("Соединение ИГЭ", "Сохранить изменения ?"), Answer::Cancel);
        whenBoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
        QCOMPARE(sink.askYesNoCancel("Соединение ИГЭ", "Сохранить изменения ?"), Answer::Yes);
    }
};

QTEST_MAIN(QtMessageSinkTest)
#include "qt_message_sink_test.moc"
