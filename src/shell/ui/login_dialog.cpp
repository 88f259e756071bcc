// Widgets of the password dialogs; the rules are in shell/password.
#include "shell/ui/login_dialog.h"

#include "platform/ui/widgets.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo::shell::ui {

using platform::ui::qs;

LoginDialog::LoginDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                         RandomSource random, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_sink(sink), m_random(std::move(random)) {
    setWindowTitle(QStringLiteral("ОРВО-2"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("Электронная база геологических разрезов"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    layout->addWidget(new QLabel(QStringLiteral("Для входа введите пароль")));
    m_password = new QLineEdit;
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setObjectName(QStringLiteral("password"));
    layout->addWidget(m_password);
    m_remember = new QCheckBox(QStringLiteral("Запомнить "));
    layout->addWidget(m_remember);
    auto* buttons = new QHBoxLayout;
    m_login = new QPushButton(QStringLiteral("Вход"));
    m_cancel = new QPushButton(QStringLiteral("Отмена"));
    m_change = new QPushButton(QStringLiteral("Сменить пароль"));
    m_login->setDefault(true);
    buttons->addWidget(m_login);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_change);
    layout->addLayout(buttons);
    connect(m_login, &QPushButton::clicked, this, &LoginDialog::onLogin);
    connect(m_cancel, &QPushButton::clicked, this, &LoginDialog::reject);
    connect(m_change, &QPushButton::clicked, this, &LoginDialog::onChange);

    auto stored = ReadPassword(m_folder);
    if (stored) {
        m_stored = *stored;
        m_password->setText(qs(prefilledPassword(m_stored)));
        m_remember->setChecked(m_stored.remember);
    } else {
        m_sink.report(stored.error());
        m_refusedAtOpen = true;
    }
}

bool LoginDialog::run() {
    if (m_refusedAtOpen)
        return false;
    return exec() == QDialog::Accepted;
}

void LoginDialog::onLogin() {
    if (Login(m_folder, m_stored, m_password->text().toStdString(), m_remember->isChecked(),
              m_sink))
        accept();
    else
        QDialog::reject();
}

void LoginDialog::reject() {
    CancelLogin(m_sink);
    QDialog::reject();
}

void LoginDialog::onChange() {
    const std::string typed = m_password->text().toStdString();
    if (!MayChangePassword(m_stored, typed, m_sink))
        return;
    ChangePasswordDialog change(m_password->text(), this);
    if (change.exec() != QDialog::Accepted)
        return;
    const std::string fresh = change.newPassword().toStdString();
    if (auto st = ChangePassword(m_folder, fresh, m_random); !st) {
        m_sink.report(st.error());
        return;
    }
    if (auto stored = ReadPassword(m_folder))
        m_stored = *stored;
    m_password->setText(change.newPassword());
}

ChangePasswordDialog::ChangePasswordDialog(const QString& oldPassword, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("ОРВО-2   Смена пароля"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Старый пароль:")));
    auto* old = new QLineEdit(oldPassword);
    old->setReadOnly(true);
    old->setEchoMode(QLineEdit::Password);
    layout->addWidget(old);
    layout->addWidget(new QLabel(QStringLiteral("Новый пароль:")));
    m_new = new QLineEdit(oldPassword);
    m_new->setObjectName(QStringLiteral("newPassword"));
    layout->addWidget(m_new);
    auto* warning = new QLabel(QStringLiteral("ВНИМАНИЕ"));
    QFont bold = warning->font();
    bold.setBold(true);
    warning->setFont(bold);
    warning->setStyleSheet(QStringLiteral("color: #c00000"));
    layout->addWidget(warning);
    for (const char* line :
         {"При замене пароля", "запомните или лучше запишите", "вновь введенный !"})
        layout->addWidget(new QLabel(QString::fromUtf8(line)));
    auto* buttons = new QDialogButtonBox;
    auto* replace = buttons->addButton(QStringLiteral("Заменить"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    replace->setObjectName(QStringLiteral("replace"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString ChangePasswordDialog::newPassword() const {
    return m_new->text();
}

} // namespace orvo::shell::ui
