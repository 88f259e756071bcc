// The object title dialog, the archive questions and the borehole refusal on widgets.
#include "shell/ui/object_dialogs.h"

#include "platform/ui/widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace orvo::shell::ui {

using platform::ui::makeButton;
using platform::ui::qs;

ObjectTitleDialog::ObjectTitleDialog(Mode mode, const ObjectTitleForm& initial, QWidget* parent)
    : QDialog(parent) {
    const bool creating = mode == Mode::Create;
    setWindowTitle(qs(creating ? kNewObjectCaption : kEditTitleCaption));
    auto* grid = new QGridLayout(this);
    m_shortName = new QLineEdit(qs(initial.shortName));
    m_shortName->setObjectName(QStringLiteral("shortName"));
    m_shortName->setMaxLength(kShortNameChars);
    m_contract = new QLineEdit(qs(initial.contract));
    m_contract->setObjectName(QStringLiteral("contract"));
    m_contract->setMaxLength(kContractChars);
    m_fullName = new QPlainTextEdit(qs(initial.fullName));
    m_fullName->setObjectName(QStringLiteral("fullName"));
    m_fullName->setTabChangesFocus(true);
    connect(m_fullName, &QPlainTextEdit::textChanged, this, &ObjectTitleDialog::limitFullName);

    grid->addWidget(new QLabel(QStringLiteral("Короткое наименование объекта:")), 0, 0);
    grid->addWidget(m_shortName, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Номер договора:")), 1, 0);
    grid->addWidget(m_contract, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Полное наименование объекта:")), 2, 0, 1, 2);
    grid->addWidget(m_fullName, 3, 0, 1, 2);
    auto* note = new QLabel(QStringLiteral("Примечание:  Короткое наименование объекта \n"
                                           "используется только для отображения \n"
                                           "структуры базы данных"));
    grid->addWidget(note, 4, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    auto* save = makeButton(creating ? "Создать" : "Сохранить", "save", this);
    auto* cancel = makeButton("Отмена", "cancel", this);
    save->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 5, 0, 1, 2);
    connect(save, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_shortName->setFocus();
}

ObjectTitleForm ObjectTitleDialog::form() const {
    return {m_shortName->text().toStdString(), m_contract->text().toStdString(),
            m_fullName->toPlainText().toStdString()};
}

void ObjectTitleDialog::limitFullName() {
    const QString text = m_fullName->toPlainText();
    const QString kept = qs(clampFullName(text.toStdString()));
    if (kept.size() >= text.size())
        return;
    m_fullName->setPlainText(kept);
    m_fullName->moveCursor(QTextCursor::End);
}

bool AskArchiveMove(bool toArchive, const std::string& shortNameTrimmed, QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(qs(toArchive ? kToArchiveCaption : kFromArchiveCaption));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Объект")), 0, Qt::AlignHCenter);
    auto* name = new QLabel(qs(shortNameTrimmed));
    name->setObjectName(QStringLiteral("name"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    layout->addWidget(name, 0, Qt::AlignHCenter);
    layout->addWidget(new QLabel(toArchive ? QStringLiteral("поместить в архив ?")
                                           : QStringLiteral("вернуть из архива ?")),
                      0, Qt::AlignHCenter);
    auto* buttons = new QHBoxLayout;
    auto* yes = makeButton("Да", "yes", &dialog);
    auto* no = makeButton("Нет", "no", &dialog);
    yes->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    buttons->addStretch();
    layout->addLayout(buttons);
    QObject::connect(yes, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(no, &QPushButton::clicked, &dialog, &QDialog::reject);
    return dialog.exec() == QDialog::Accepted;
}

void ShowBoreholeRefusal(const std::string& boreholeName, const std::vector<std::string>& sections,
                         QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(qs(std::string(kDeleteBoreholeCaption) + " " + boreholeName));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Выработка не может быть удалена,")));
    layout->addWidget(new QLabel(QStringLiteral("так как на нее есть ссылка в разрезах:")));
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("sections"));
    for (const auto& s : sections)
        list->addItem(qs(s));
    layout->addWidget(list);
    auto* ok = makeButton("OK", "ok", &dialog);
    ok->setDefault(true);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.exec();
}

} // namespace orvo::shell::ui
