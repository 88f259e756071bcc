// The start-up password dialog and its change-password dialog.
#pragma once
#include "platform/message_sink.h"
#include "platform/work_folder.h"
#include "shell/password.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace orvo::shell::ui {

class LoginDialog : public QDialog {
    Q_OBJECT
public:
    LoginDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                RandomSource random, QWidget* parent = nullptr);

    // Runs the dialog; true when the user may go on. Shows the refusal messages itself.
    bool run();

    QLineEdit* passwordField() const { return m_password; }
    QCheckBox* rememberBox() const { return m_remember; }
    QPushButton* loginButton() const { return m_login; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* changeButton() const { return m_change; }

protected:
    void reject() override;

private:
    void onLogin();
    void onChange();

    const platform::WorkFolder& m_folder;
    platform::MessageSink& m_sink;
    RandomSource m_random;
    StoredPassword m_stored;
    bool m_refusedAtOpen = false;
    QLineEdit* m_password;
    QCheckBox* m_remember;
    QPushButton* m_login;
    QPushButton* m_cancel;
    QPushButton* m_change;
};

class ChangePasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit ChangePasswordDialog(const QString& oldPassword, QWidget* parent = nullptr);
    QString newPassword() const;
    QLineEdit* newField() const { return m_new; }

private:
    QLineEdit* m_new;
};

} // namespace orvo::shell::ui
