// The dictionary list skeleton driven through a dictionary held in memory: the list by slot,
// enabling, deleting behind the question, export and import with the name-taken box.
#include "platform/ui/dictionary_list_dialog.h"
#include "platform/ui/exchange_dialogs.h"
#include "platform/ui/widgets.h"
#include "support/modal.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace orvo;
using namespace orvo::platform;
using namespace orvo::platform::ui;

namespace {

// The fake keeps its entries in memory: the folder is never looked at.
const WorkFolder& noFolder() {
    static const WorkFolder folder("/nonexistent");
    return folder;
}

// Names by slot; an empty name is an unused slot. Slot 0 is the built-in entry.
class FakeDictionary : public DictionaryListDialog {
public:
    FakeDictionary(MessageSink& sink, std::vector<std::string> stored, SlotList::Order order)
        : DictionaryListDialog(noFolder(), sink, nullptr), names(std::move(stored)) {
        list()->setOrder(order);
        for (auto [text, name, needs, kept] :
             {std::tuple{"Новый", "new", Needs::Nothing, false},
              std::tuple{"Изменить", "edit", Needs::Entry, false},
              std::tuple{"Удалить", "delete", Needs::OwnEntry, false},
              std::tuple{"Выход", "exit", Needs::Nothing, true}})
            addButton(
                makeButton(text, name, this), needs,
                [this, n = std::string(name)] { pressed.push_back(n); }, kept);
        refill(-1);
    }

    using DictionaryListDialog::list;
    using DictionaryListDialog::refill;
    using DictionaryListDialog::setEditing;
    using DictionaryListDialog::setExchange;

    std::vector<std::string> names;
    bool unreadable = false;
    int locked = -1; // a slot whose deletion fails
    std::vector<int> shown;
    std::vector<std::string> pressed;

protected:
    Result<std::vector<SlotEntry>> readEntries() override {
        if (unreadable)
            return Error{"Ошибка открытия файла \"DIC\"", "Ошибка"};
        std::vector<SlotEntry> entries;
        for (std::size_t i = 0; i < names.size(); ++i)
            if (!names[i].empty())
                entries.push_back({names[i], static_cast<int>(i)});
        return entries;
    }
    void showSelection(int slot) override { shown.push_back(slot); }
    std::optional<Question> deleteQuestion(int slot) const override {
        return Question{"Удаление", "Удалить " + names[static_cast<std::size_t>(slot)] + " ?"};
    }
    Status deleteEntry(int slot) override {
        if (slot == locked)
            return Error{"Ошибка записи файла \"DIC\"", "Ошибка"};
        names[static_cast<std::size_t>(slot)].clear();
        return success();
    }
};

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QPushButton* button(QWidget& w, const char* name) {
    return w.findChild<QPushButton*>(QString::fromLatin1(name));
}

const std::vector<std::string> kNames = {"- нет -", "Шурф", "", "Ель", "Ёж", "Скважина"};

} // namespace

class DictionaryListDialogTest : public QObject {
    Q_OBJECT

    RecordingMessageSink m_sink;

    FakeDictionary* make(std::vector<std::string> names = kNames,
                         SlotList::Order order = SlotList::Order::ByName) {
        m_dialog = std::make_unique<FakeDictionary>(m_sink, std::move(names), order);
        return m_dialog.get();
    }
    std::unique_ptr<FakeDictionary> m_dialog;

private slots:
    void init() { m_sink = {}; }

    void listedByNameOrAsGiven() {
        QCOMPARE(texts(make()->list()), (QStringList{"- нет -", "Ель", "Ёж", "Скважина", "Шурф"}));
        QCOMPARE(texts(make(kNames, SlotList::Order::AsGiven)->list()),
                 (QStringList{"- нет -", "Шурф", "Ель", "Ёж", "Скважина"}));
        // Equal names keep their slot order.
        auto* d = make({"", "Б", "А", "Б"});
        d->selectSlot(3);
        QCOMPARE(d->list()->currentRow(), 2);
    }

    void selectionFollowsTheSlotThroughRefills_data() {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("renamed");
        QTest::addColumn<int>("fallback");
        QTest::addColumn<int>("refillWith");
        QTest::addColumn<int>("expected");
        // kNames sorted: 0 "- нет -", 3 "Ель", 4 "Ёж", 5 "Скважина", 1 "Шурф".
        QTest::newRow("kept though its row moves") << 4 << 4 << -1 << 4 << 4;
        QTest::newRow("another slot asked for") << 4 << -1 << -1 << 1 << 1;
        QTest::newRow("gone: the first entry") << 4 << 4 << -1 << 2 << 0;
        QTest::newRow("gone: the fallback") << 4 << -1 << 5 << 2 << 5;
        QTest::newRow("fallback not listed: the first") << 4 << -1 << 2 << -1 << 0;
    }
    void selectionFollowsTheSlotThroughRefills() {
        QFETCH(int, selected);
        QFETCH(int, renamed);
        QFETCH(int, fallback);
        QFETCH(int, refillWith);
        QFETCH(int, expected);
        auto* d = make();
        d->list()->setFallbackSlot(fallback);
        d->selectSlot(selected);
        QCOMPARE(d->selectedSlot(), selected);
        if (renamed >= 0)
            d->names[static_cast<std::size_t>(renamed)] = "Яблоня"; // now sorted last
        d->shown.clear();
        d->refill(refillWith);
        QCOMPARE(d->selectedSlot(), expected);
        QCOMPARE(d->list()->selectedText().toStdString(),
                 d->names[static_cast<std::size_t>(expected)]);
        QCOMPARE(d->shown, std::vector<int>{expected}); // shown once, for the slot selected
    }

    void buttonsFollowTheSelectionAndEditing_data() {
        QTest::addColumn<std::vector<std::string>>("names");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<QString>("enabled"); // list, new, edit, delete, exit
        QTest::newRow("own entry") << kNames << 3 << false << "LNEDX";
        QTest::newRow("built-in entry") << kNames << 0 << false << "LNE-X";
        QTest::newRow("empty list") << std::vector<std::string>{} << -1 << false << "LN--X";
        QTest::newRow("editing") << kNames << 3 << true << "----X";
    }
    void buttonsFollowTheSelectionAndEditing() {
        QFETCH(std::vector<std::string>, names);
        QFETCH(int, selected);
        QFETCH(bool, editing);
        QFETCH(QString, enabled);
        auto* d = make(names);
        d->selectSlot(selected);
        d->setEditing(editing);
        QCOMPARE(d->editing(), editing);
        QString got;
        got += d->list()->isEnabled() ? 'L' : '-';
        got += button(*d, "new")->isEnabled() ? 'N' : '-';
        got += button(*d, "edit")->isEnabled() ? 'E' : '-';
        got += button(*d, "delete")->isEnabled() ? 'D' : '-';
        got += button(*d, "exit")->isEnabled() ? 'X' : '-';
        QCOMPARE(got, enabled);
        d->setEditing(false);
        QCOMPARE(d->list()->isEnabled(), true);
    }

    void clicksReachTheDictionary() {
        auto* d = make();
        d->selectSlot(5);
        button(*d, "edit")->click();
        button(*d, "exit")->click();
        QCOMPARE(d->pressed, (std::vector<std::string>{"edit", "exit"}));
    }

    void deleteAsksThenDeletes() {
        auto* d = make();
        d->selectSlot(4);
        d->remove(); // the sink answers No
        QCOMPARE(d->names[4], std::string("Ёж"));
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].kind, std::string("yesno"));
        QCOMPARE(m_sink.entries()[0].caption, std::string("Удаление"));
        QCOMPARE(m_sink.entries()[0].text, std::string("Удалить Ёж ?"));
        QCOMPARE(d->selectedSlot(), 4);
        m_sink.queueAnswer(Answer::Yes);
        d->remove();
        QVERIFY(d->names[4].empty());
        QCOMPARE(texts(d->list()), (QStringList{"- нет -", "Ель", "Скважина", "Шурф"}));
        QCOMPARE(d->selectedSlot(), 0); // the first entry after a deletion
    }

    void deleteRefusals() {
        auto* d = make();
        d->selectSlot(0); // built in: neither asked nor deleted
        d->remove();
        QVERIFY(m_sink.empty());
        QCOMPARE(d->names, kNames);
        d->selectSlot(5);
        d->setEditing(true);
        d->remove();
        QVERIFY(m_sink.empty());
        d->setEditing(false);
        // A failed deletion is reported and the list shows what is stored.
        d->locked = 5;
        m_sink.queueAnswer(Answer::Yes);
        d->remove();
        QCOMPARE(m_sink.entries().size(), 2u);
        QCOMPARE(m_sink.entries()[1].text, std::string("Ошибка записи файла \"DIC\""));
        QCOMPARE(texts(d->list()).size(), 5);
    }

    void anUnreadableDictionaryIsReportedAndListsNothing() {
        auto* d = make();
        d->unreadable = true;
        d->refill(3);
        QCOMPARE(d->list()->count(), 0);
        QCOMPARE(d->selectedSlot(), -1);
        QCOMPARE(m_sink.entries().size(), 1u);
        QCOMPARE(m_sink.entries()[0].text, std::string("Ошибка открытия файла \"DIC\""));
        QVERIFY(!button(*d, "delete")->isEnabled());
    }

    void exportAndImportGoThroughTheHooks() {
        auto* d = make();
        std::optional<std::filesystem::path> picked = "/tmp/Ель.OXX";
        std::vector<std::pair<int, std::string>> exported;
        ExchangeHooks x;
        x.chooseFile = [&picked](bool) { return picked; };
        x.exportTo = [&exported](int slot, const std::filesystem::path& file) -> Status {
            if (file.filename() == "readonly.OXX")
                return fileOpenError(file);
            exported.emplace_back(slot, file.string());
            return success();
        };
        // The imported item is named after the file; it replaces the slot given or is appended.
        x.readImport = [d](const std::filesystem::path& file) -> Result<PendingImport> {
            if (file.extension() != ".OXX")
                return badFileFormatError();
            const std::string name = file.stem().string();
            std::optional<int> same;
            for (std::size_t i = 0; i < d->names.size(); ++i)
                if (d->names[i] == name)
                    same = static_cast<int>(i);
            return PendingImport{name, same, [d, name](std::optional<int> slot) -> Result<int> {
                                     const int at =
                                         slot.value_or(static_cast<int>(d->names.size()));
                                     if (!slot)
                                         d->names.push_back(name + " (новый)");
                                     else
                                         d->names[static_cast<std::size_t>(at)] += " (заменён)";
                                     return at;
                                 }};
        };
        x.nameTaken = overwriteOnImport("Импорт - Проба", "Проба с наименованием:");
        d->setExchange(std::move(x));

        d->selectSlot(3);
        d->exportSelected();
        QCOMPARE(exported, (std::vector<std::pair<int, std::string>>{{3, "/tmp/Ель.OXX"}}));
        d->selectSlot(0);
        d->exportSelected(); // the built-in entry is not exported
        QCOMPARE(exported.size(), 1u);
        d->selectSlot(3);
        picked = "/tmp/readonly.OXX";
        d->exportSelected();
        QCOMPARE(m_sink.entries().back().text, std::string("Ошибка открытия (/tmp/readonly.OXX)"));
        QCOMPARE(m_sink.entries().back().icon, Icon::Error);

        // A name in use: the box; "Отмена импорта" keeps everything.
        picked = "/tmp/Ель.OXX";
        test::whenModal(this, [](QWidget* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Импорт - Проба"));
            QCOMPARE(w->findChild<QLabel*>(QStringLiteral("name"))->text(), QStringLiteral("Ель"));
            test::buttonWithText(w, QStringLiteral("Отмена импорта"))->click();
        });
        d->importFile();
        QCOMPARE(d->names, kNames);
        // Return gives the default, "Перезаписать": the slot is replaced and selected.
        test::whenModal(this, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
        d->importFile();
        QCOMPARE(d->names[3], std::string("Ель (заменён)"));
        QCOMPARE(d->selectedSlot(), 3);
        // A new name is appended without a question.
        picked = "/tmp/Липа.OXX";
        d->importFile();
        QCOMPARE(d->selectedSlot(), 6);
        QCOMPARE(d->list()->selectedText(), QStringLiteral("Липа (новый)"));
        // A refused file: its message with the error icon, and nothing written.
        const auto before = d->names;
        picked = "/tmp/Липа.TXT";
        d->importFile();
        QCOMPARE(m_sink.entries().back().text, std::string(kBadFormatText));
        QCOMPARE(m_sink.entries().back().caption, std::string("ОШИБКА"));
        QCOMPARE(m_sink.entries().back().icon, Icon::Error);
        QCOMPARE(d->names, before);
        // Cancelled file dialogs do nothing at all; neither does anything while editing.
        const auto messages = m_sink.entries().size();
        picked.reset();
        d->importFile();
        d->exportSelected();
        picked = "/tmp/Липа.OXX";
        d->setEditing(true);
        d->importFile();
        QCOMPARE(d->names, before);
        QCOMPARE(m_sink.entries().size(), messages);
    }

    void nameTakenBoxAnswers_data() {
        QTest::addColumn<int>("defaultChoice");
        QTest::addColumn<int>("key");     // 0: click `clicked` instead
        QTest::addColumn<int>("clicked"); // the choice clicked
        QTest::addColumn<int>("expected");
        QTest::newRow("Return gives the default") << 1 << int(Qt::Key_Return) << -1 << 1;
        QTest::newRow("Escape answers nothing") << 1 << int(Qt::Key_Escape) << -1 << -1;
        QTest::newRow("a click") << -1 << 0 << 2 << 2;
        QTest::newRow("without a default Return waits") << -1 << int(Qt::Key_Return) << 0 << 0;
    }
    void nameTakenBoxAnswers() {
        QFETCH(int, defaultChoice);
        QFETCH(int, key);
        QFETCH(int, clicked);
        QFETCH(int, expected);
        const NameTakenQuestion q{
            "Предупреждение",
            "Наименование значка",
            {kExistsStated, "Ваши действия:"},
            {"Продолжить редактирование", kOverwriteChoice, "Выйти без сохранения"},
            defaultChoice};
        test::whenModal(this, [key, clicked](QWidget* w) {
            QStringList labels;
            for (auto* l : w->findChildren<QLabel*>())
                labels << l->text();
            QCOMPARE(labels, (QStringList{"Наименование значка", "Знак",
                                          "Уже существует в системе.", "Ваши действия:"}));
            if (key != 0)
                QTest::keyClick(w, Qt::Key(key));
            if (clicked >= 0 && QApplication::activeModalWidget() == w)
                w->findChildren<QPushButton*>()[clicked]->click();
        });
        QCOMPARE(askNameTaken(nullptr, q, "Знак"), expected);
    }
};

QTEST_MAIN(DictionaryListDialogTest)
#include "dictionary_list_dialog_test.moc"
