// Single-instance activation between two copies (here: two objects of one test process).
#include "platform/ui/single_instance.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

using orvo::platform::SingleInstance;

class SingleInstanceTest : public QObject {
    Q_OBJECT

    static QString uniqueKey() {
        return QStringLiteral("orvo-test-") + QUuid::createUuid().toString(QUuid::Id128);
    }

private slots:
    void aLaterCopyWakesTheRunningOne() {
        const QString key = uniqueKey();
        SingleInstance first(key);
        QVERIFY(!first.activateRunning(200)); // nobody there yet
        QVERIFY(first.listen());
        QSignalSpy woken(&first, &SingleInstance::activationRequested);
        SingleInstance second(key);
        QVERIFY(second.activateRunning());
        QVERIFY(woken.wait(2000));
        QCOMPARE(woken.count(), 1);
    }

    void aDeadCopysSocketIsTakenOver() {
        const QString key = uniqueKey();
        {
            // A server whose process died leaves its socket file behind; emulate it.
            QLocalServer stale;
            QVERIFY(stale.listen(key));
        }
        SingleInstance fresh(key);
        QVERIFY(!fresh.activateRunning(200));
        QVERIFY(fresh.listen());
        SingleInstance later(key);
        QSignalSpy woken(&fresh, &SingleInstance::activationRequested);
        QVERIFY(later.activateRunning());
        QVERIFY(woken.wait(2000));
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
