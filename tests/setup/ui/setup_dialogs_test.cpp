// The installer's windows offscreen: the backdrop's bands, the agreement, "НЕТ" ending the run,
// the installation dialog's defaults and folder chooser, its questions and messages.
#include "../scratch_tree.h"
#include "platform/message_sink.h"
#include "setup/agreement.h"
#include "setup/install.h"
#include "setup/ui/agreement_dialog.h"
#include "setup/ui/backdrop_window.h"
#include "setup/ui/install_dialog.h"
#include "setup/ui/setup_run.h"
#include "support/gui.h"
#include "support/modal.h"
#include "support/temp_dir.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace orvo;
using namespace orvo::setup;
using namespace orvo::setup::ui;
namespace fs = std::filesystem;

namespace {
QString qpath(const fs::path& p) {
    return QString::fromStdString(p.string());
}
} // namespace

class SetupDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> m_dir;
    platform::RecordingMessageSink m_sink;
    std::vector<PackageEntry> m_package = test::smallPackage();

    ShortcutPlaces places() const {
        const fs::path home = m_dir->path();
        return {home / "Desktop", home / "apps", home / "dirs", home / "menus"};
    }
    SetupRun run() const {
        SetupRun r;
        r.package = *m_dir / "Orvo2.cab";
        r.base = *m_dir / "base";
        r.places = places();
        r.chooser = [](QWidget*, const QString&, const QString&) { return QString(); };
        return r;
    }

private slots:
    void init() {
        m_dir = std::make_unique<test::TempDir>();
        test::writeBytes(*m_dir / "Orvo2.cab", packageBytes(m_package));
        m_sink.clear();
    }

    void backdropPaintsTheBandsTopToBottom() {
        SetupO2 window;
        QCOMPARE(window.windowTitle(), QString("Установка программы ОРВО v2.0"));
        window.resize(64, 256);
        const QImage img = window.grab().toImage();
        for (int i : {0, 1, 64, 127}) {
            const QColor c = img.pixelColor(10, 2 * i);
            QCOMPARE(c, QColor(0, 0, 200 - i));
        }
    }

    void agreementShowsItsLinesWithTheRedOnes() {
        AgreementDialog dialog;
        QCOMPARE(dialog.windowTitle(), QString("Установка программы ORVO v2.0"));
        auto* list = test::child<QListWidget>(dialog, "lines");
        QCOMPARE(list->count(), 54);
        QList<int> red;
        for (int i = 0; i < list->count(); ++i) {
            QCOMPARE(list->item(i)->textAlignment(), int(Qt::AlignCenter));
            if (list->item(i)->foreground().color() == QColor(Qt::red))
                red << i + 1;
            else
                QCOMPARE(list->item(i)->foreground().color(), QColor(Qt::black));
        }
        QCOMPARE(red, QList<int>({3, 51, 52, 53, 54}));
        QCOMPARE(test::child<QPushButton>(dialog, "yes")->text(), QString("ДА, принимаю"));
        QCOMPARE(test::child<QPushButton>(dialog, "no")->text(), QString("НЕТ"));
    }

    void noEndsTheInstallerBeforeTheDialog() {
        SetupO2 window;
        bool installDialogSeen = false;
        test::whenModal(this, [&](QWidget* w) {
            QCOMPARE(w->windowTitle(), QString("Установка программы ORVO v2.0"));
            test::click(*w, "no");
            // Anything modal after this would be the installation dialog.
            QTimer::singleShot(50, this, [&] {
                if (auto* next = QApplication::activeModalWidget()) {
                    installDialogSeen = true;
                    next->close();
                }
            });
        });
        QCOMPARE(runSetup(run(), window, m_sink), 1);
        QVERIFY(!installDialogSeen);
        QVERIFY(!fs::exists(*m_dir / "base"));
        QVERIFY(m_sink.empty());
    }

    void yesLeadsToTheDialogThatInstalls() {
        SetupO2 window;
        QStringList titles;
        test::whenModal(this, [&](QWidget* agreement) {
            titles << agreement->windowTitle();
            test::click(*agreement, "yes");
            test::whenModal(this, [&](QWidget* dialog) {
                titles << dialog->windowTitle();
                test::click(*dialog, "desktop");
                test::click(*dialog, "install");
            });
        });
        QCOMPARE(runSetup(run(), window, m_sink), 0);
        QCOMPARE(titles, QStringList({"Установка программы ORVO v2.0", "Установка программы"}));
        QVERIFY(window.isVisible());
        QVERIFY(fs::is_regular_file(*m_dir / "base/Orvo-2/DATA/DIC/TipSKV.SPS"));
        QVERIFY(!fs::exists(*m_dir / "Desktop"));
        QVERIFY(fs::exists(*m_dir / "apps/orvo2-main.desktop"));
        QCOMPARE(m_sink.entries().size(), std::size_t(1));
        QCOMPARE(m_sink.entries()[0].caption, std::string("Установка завершена"));
    }

    void missingPackageEndsWithItsMessage() {
        SetupO2 window;
        fs::remove(*m_dir / "Orvo2.cab");
        QCOMPARE(runSetup(run(), window, m_sink), 1);
        QCOMPARE(m_sink.entries().size(), std::size_t(1));
        QCOMPARE(m_sink.entries()[0].caption, std::string("Чтение диска"));
        QCOMPARE(m_sink.entries()[0].text, std::string("Отсутствует установочный файл"));
    }

    void dialogDefaultsAndTheFolderChooser() {
        QString askedTitle, askedStart;
        const FolderChooser chooser = [&](QWidget*, const QString& title, const QString& start) {
            askedTitle = title;
            askedStart = start;
            return qpath(*m_dir / "other") + "/";
        };
        InstallDialog dialog(m_package, places(), m_sink, *m_dir / "base", chooser);
        QCOMPARE(dialog.windowTitle(), QString("Установка программы"));
        auto* path = test::child<QLabel>(dialog, "path");
        QCOMPARE(path->text(), qpath(*m_dir / "base/Orvo-2"));
        QVERIFY(test::child<QCheckBox>(dialog, "desktop")->isChecked());
        QVERIFY(test::child<QCheckBox>(dialog, "menu")->isChecked());
        QCOMPARE(test::child<QCheckBox>(dialog, "desktop")->text(),
                 QString("Создать ярлык на рабочем столе :"));
        QCOMPARE(test::child<QCheckBox>(dialog, "menu")->text(),
                 QString("Создать ярлык в папке программы :"));
        QCOMPARE(test::child<QPushButton>(dialog, "change")->text(), QString("Сменить..."));
        QVERIFY(test::shown(dialog));
        test::click(dialog, "change");
        QCOMPARE(askedTitle, QString("Путь установки"));
        QCOMPARE(askedStart, qpath(*m_dir / "base"));
        QCOMPARE(path->text(), qpath(*m_dir / "other/Orvo-2"));
        QCOMPARE(dialog.base(), *m_dir / "other");
    }

    void folderChooserShowsTheRootItGives() {
        fs::create_directories(*m_dir / "pick");
        for (const bool accept : {false, true}) {
            QString title, status;
            test::whenModal(this, [&](QWidget* w) {
                title = w->windowTitle();
                status = test::child<QLabel>(*w, "status")->text();
                accept ? qobject_cast<QDialog*>(w)->accept() : qobject_cast<QDialog*>(w)->reject();
            });
            const QString chosen = chooseFolder(nullptr, "Путь установки", qpath(*m_dir / "pick"));
            QCOMPARE(title, QString("Путь установки"));
            QCOMPARE(status, qpath(*m_dir / "pick/Orvo-2"));
            QCOMPARE(chosen, accept ? qpath(*m_dir / "pick") : QString());
        }
    }

    // Installing over an installed program: No leaves the dialog open; Yes installs, keeps the
    // database on No to the second question, and ends with the completion message.
    void installAsksAndReports() {
        InstallDialog dialog(m_package, places(), m_sink, *m_dir / "base");
        QVERIFY(test::shown(dialog));
        test::click(dialog, "desktop");
        test::click(dialog, "menu");
        test::click(dialog, "install");
        QCOMPARE(dialog.outcome(), InstallOutcome::Installed);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!fs::exists(*m_dir / "Desktop"));
        QCOMPARE(m_sink.entries().back().caption, std::string("Установка завершена"));

        test::writeBytes(*m_dir / "base/Orvo-2/DATA/status.sav", {42});
        m_sink.clear();
        InstallDialog again(m_package, places(), m_sink, *m_dir / "base");
        QVERIFY(test::shown(again));
        test::click(again, "install");
        QCOMPARE(again.outcome(), InstallOutcome::Declined);
        QVERIFY(again.isVisible());
        QCOMPARE(m_sink.entries().size(), std::size_t(1));
        QCOMPARE(m_sink.entries()[0].caption, std::string("Установка"));

        m_sink.clear();
        m_sink.queueAnswer(platform::Answer::Yes);
        m_sink.queueAnswer(platform::Answer::No);
        test::click(again, "install");
        QCOMPARE(again.outcome(), InstallOutcome::Installed);
        QCOMPARE(m_sink.entries().size(), std::size_t(3));
        QCOMPARE(m_sink.entries()[1].text, std::string(kReplaceDataQuestion));
        QCOMPARE(test::readBytes(*m_dir / "base/Orvo-2/DATA/status.sav"),
                 std::vector<std::uint8_t>{42});
        QVERIFY(fs::exists(*m_dir / "Desktop/ОРВО - версия 2.0.desktop"));
    }

    void failedWriteEndsWithoutCompletion() {
        InstallDialog dialog(m_package, places(), m_sink, *m_dir / "base");
        dialog.setFaultHook([](std::string_view step) { return step == "write"; });
        QVERIFY(test::shown(dialog));
        test::click(dialog, "install");
        QCOMPARE(dialog.outcome(), InstallOutcome::Failed);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(m_sink.entries().size(), std::size_t(1));
        QCOMPARE(m_sink.entries()[0].caption, std::string("Установка"));
    }

    void replacingTheDatabaseDefaultsToNo() {
        SetupMessageSink sink;
        QString defaultText;
        test::whenModal(this, [&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QString("Установка"));
            defaultText = box->defaultButton()->text();
            box->defaultButton()->click();
        });
        QCOMPARE(sink.askYesNo("Установка", kReplaceDataQuestion), platform::Answer::No);
        QCOMPARE(defaultText, QString("Нет"));
    }
};

QTEST_MAIN(SetupDialogsTest)
#include "setup_dialogs_test.moc"
