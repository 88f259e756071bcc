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
            m_buttonTexts.clear();
            for (auto* b : box->buttons())
                m_buttonTexts << b->text();
            act(box);
        });
    }
    static void click(QMessageBox* box, QMessageBox::StandardButton which) {
        QTest::mouseClick(box->button(which), Qt::LeftButton);
    }

    QString m_title;
    QString m_text;
    qsizetype m_buttons = 0;
    QStringList m_buttonTexts;

private slots:
    // Every box speaks Russian whatever catalogue Qt has: the buttons the user reads.
    void buttonsAreRussian() {
        QtMessageSink sink;
        const std::vector<std::pair<std::function<void()>, QStringList>> boxes = {
            {[&] { sink.show("Information", "Текст", Icon::Information); }, {"OK"}},
            {[&] { sink.askYesNo("Удаление объекта", "?"); }, {"Да", "Нет"}},
            {[&] { sink.askYesNoCancel("Соединение ИГЭ", "?"); }, {"Да", "Нет", "Отмена"}},
        };
        for (const auto& [ask, texts] : boxes) {
            whenBoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
            ask();
            QStringList seen = m_buttonTexts;
            seen.sort();
            QStringList want = texts;
            want.sort();
            QCOMPARE(seen, want);
        }
    }

    void showsCaptionAndTextWithLineBreaks() {
        QtMessageSink sink;
        whenBoxShows([](QMessageBox* box) { click(box, QMessageBox::Ok); });
        sink.show("FATAL ERROR", "Ошибка открытия\r\"DATA\\razrez.prm\"", Icon::Error);
        QCOMPARE(m_title, QStringLiteral("FATAL ERROR"));
        QCOMPARE(m_text, QStringLiteral("Ошибка открытия\n\"DATA\\razrez.prm\""));
        QCOMPARE(m_buttons, 1);
    }

    // The first fatal error is shown and calls the handler; after it nothing is shown or asked,
    // and questions let the closing go on.
    void nothingAfterAFatalError() {
        QtMessageSink sink;
        int ended = 0;
        sink.setOnFatal([&ended] { ++ended; });
        whenBoxShows([](QMessageBox* box) { click(box, QMessageBox::Ok); });
        sink.report(orvo::Error{"Ошибка открытия", "FATAL ERROR", true});
        QCOMPARE(m_title, QStringLiteral("FATAL ERROR"));
        QCOMPARE(ended, 1);
        bool appeared = false;
        QObject guard;
        QTimer::singleShot(300, &guard, [&appeared] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                appeared = true;
                w->close();
            }
        });
        sink.report(orvo::Error{"Ошибка открытия", "FATAL ERROR", true});
        sink.show("Information", "Текст", Icon::Information);
        QCOMPARE(sink.askYesNo("Удаление объекта", "?"), Answer::No);
        QCOMPARE(sink.askYesNoCancel("Соединение ИГЭ", "?"), Answer::No);
        QCOMPARE(ended, 1);
        QVERIFY(!appeared);
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
