// Modal message and question boxes on QMessageBox.
#include "platform/ui/qt_message_sink.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QString>

namespace orvo::platform {
namespace {

QString qs(const std::string& s) {
    // Stored message texts break lines with "\r".
    QString text = QString::fromStdString(s);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    return text;
}

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Error:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The standard buttons speak Russian whatever catalogue Qt has loaded.
void russianButtons(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, const char*> texts[] = {
        {QMessageBox::Yes, "Да"},
        {QMessageBox::No, "Нет"},
        {QMessageBox::Cancel, "Отмена"},
        {QMessageBox::Ok, "OK"},
    };
    for (const auto& [which, text] : texts)
        if (QAbstractButton* b = box.button(which))
            b->setText(QString::fromUtf8(text));
}

Answer run(QWidget* parent, const std::string& caption, const std::string& text,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton escape) {
    QMessageBox box(QMessageBox::Question, qs(caption), qs(text), buttons, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(escape);
    russianButtons(box);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

} // namespace

// After a fatal error the program is ending: nothing more is shown or asked, and a question
// gets the answer that lets the closing go on.
void QtMessageSink::show(const std::string& caption, const std::string& text, Icon icon) {
    if (fatalShown())
        return;
    QMessageBox box(qtIcon(icon), qs(caption), qs(text), QMessageBox::Ok, m_parent);
    russianButtons(box);
    box.exec();
}

Answer QtMessageSink::askYesNo(const std::string& caption, const std::string& text) {
    if (fatalShown())
        return Answer::No;
    const Answer a =
        run(m_parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return a == Answer::Cancel ? Answer::No : a;
}

Answer QtMessageSink::askYesNoCancel(const std::string& caption, const std::string& text) {
    if (fatalShown())
        return Answer::No;
    return run(m_parent, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
               QMessageBox::Cancel);
}

} // namespace orvo::platform
