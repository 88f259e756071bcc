// The password dialogs driven by clicks and typing.
#include "shell/ui/login_dialog.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <random>

using namespace orvo;
using namespace orvo::shell;
using namespace orvo::shell::ui;

namespace {
RandomSource fixedRandom() {
    auto engine = std::make_shared<std::mt19937>(11);
    return [engine] { return static_cast<std::uint32_t>((*engine)()); };
}
} // namespace

class LoginDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<platform::WorkFolder> m_folder;
    platform::RecordingMessageSink m_sink;

    // Runs `act` on the dialog once it is showing, then returns run()'s result.
    bool runWith(LoginDialog& dialog, std::function<void(LoginDialog&)> act) {
        QTimer::singleShot(0, this, [&dialog, act] { act(dialog); });
        return dialog.run();
    }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        m_folder = std::make_unique<platform::WorkFolder>(m_dir->path());
        m_sink.clear();
    }

    void emptyPasswordWithoutFileLogsIn() {
        LoginDialog dialog(*m_folder, m_sink, fixedRandom());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ОРВО-2"));
        QVERIFY(dialog.passwordField()->text().isEmpty());
        QCOMPARE(dialog.passwordField()->echoMode(), QLineEdit::Password);
        QVERIFY(runWith(
            dialog, [](LoginDialog& d) { QTest::mouseClick(d.loginButton(), Qt::LeftButton); }));
        QVERIFY(m_sink.empty());
    }

    void wrongPasswordAndCancelAreRefused() {
        LoginDialog dialog(*m_folder, m_sink, fixedRandom());
        QVERIFY(!runWith(dialog, [](LoginDialog& d) {
            QTest::keyClicks(d.passwordField(), QStringLiteral("secret"));
            QTest::mouseClick(d.loginButton(), Qt::LeftButton);
        }));
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].caption, std::string("EXIT"));
        m_sink.clear();
        LoginDialog again(*m_folder, m_sink, fixedRandom());
        QVERIFY(!runWith(
            again, [](LoginDialog& d) { QTest::mouseClick(d.cancelButton(), Qt::LeftButton); }));
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].text,
                 std::string("Отказ в подтверждении пароля,\rДальнейшая работа невозможна !"));
    }

    void changeRememberAndLogInAgain() {
        {
            LoginDialog dialog(*m_folder, m_sink, fixedRandom());
            QVERIFY(runWith(dialog, [](LoginDialog& d) {
                QTimer::singleShot(0, &d, [] {
                    auto* change =
                        qobject_cast<ChangePasswordDialog*>(QApplication::activeModalWidget());
                    QVERIFY(change);
                    QCOMPARE(change->windowTitle(), QStringLiteral("ОРВО-2   Смена пароля"));
                    change->newField()->setText(QStringLiteral("Бур2026"));
                    QTest::mouseClick(change->findChild<QPushButton*>(QStringLiteral("replace")),
                                      Qt::LeftButton);
                });
                QTest::mouseClick(d.changeButton(), Qt::LeftButton);
                // The field now shows the new password; tick "Запомнить " and log in with it.
                QCOMPARE(d.passwordField()->text(), QStringLiteral("Бур2026"));
                d.rememberBox()->setChecked(true);
                QTest::mouseClick(d.loginButton(), Qt::LeftButton);
            }));
        }
        QVERIFY(std::filesystem::exists(m_dir->path() / "PASSWORD.SAV"));
        // Next start: prefilled and ticked, so "Вход" alone is enough.
        LoginDialog next(*m_folder, m_sink, fixedRandom());
        QCOMPARE(next.passwordField()->text(), QStringLiteral("Бур2026"));
        QVERIFY(next.rememberBox()->isChecked());
        QVERIFY(runWith(next, [](LoginDialog& d) {
            d.rememberBox()->setChecked(false);
            QTest::mouseClick(d.loginButton(), Qt::LeftButton);
        }));
        LoginDialog third(*m_folder, m_sink, fixedRandom());
        QVERIFY(third.passwordField()->text().isEmpty());
        QVERIFY(!third.rememberBox()->isChecked());
        QVERIFY(m_sink.empty());
    }

    void changeNeedsTheCurrentPassword() {
        LoginDialog dialog(*m_folder, m_sink, fixedRandom());
        QVERIFY(!runWith(dialog, [](LoginDialog& d) {
            QTest::keyClicks(d.passwordField(), QStringLiteral("x"));
            QTest::mouseClick(d.changeButton(), Qt::LeftButton); // refused, dialog stays
            QTest::mouseClick(d.cancelButton(), Qt::LeftButton);
        }));
        QCOMPARE(m_sink.entries().size(), 2u);
        QCOMPARE(m_sink.entries()[0].caption, std::string("Смена пароля"));
        QVERIFY(!std::filesystem::exists(m_dir->path() / "PASSWORD.SAV"));
    }

    void damagedFileRefusesAtOnce() {
        test::writeBytes(m_dir->path() / "PASSWORD.SAV", std::vector<std::uint8_t>(10, 1));
        LoginDialog dialog(*m_folder, m_sink, fixedRandom());
        QVERIFY(!dialog.run());
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].caption, std::string("EXIT"));
    }
};

QTEST_MAIN(LoginDialogTest)
#include "login_dialog_test.moc"
