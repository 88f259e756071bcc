// Modal message and question boxes on QMessageBox.
#include "platform/ui/qt_message_sink.h"

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

Answer run(QWidget* parent, const std::string& caption, const std::string& text,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton escape) {
    QMessageBox box(QMessageBox::Question, qs(caption), qs(text), buttons, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(escape);
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

void QtMessageSink::show(const std::string& caption, const std::string& text, Icon icon) {
    QMessageBox box(qtIcon(icon), qs(caption), qs(text), QMessageBox::Ok, m_parent);
    box.exec();
}

Answer QtMessageSink::askYesNo(const std::string& caption, const std::string& text) {
    const Answer a =
        run(m_parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return a == Answer::Cancel ? Answer::No : a;
}

Answer QtMessageSink::askYesNoCancel(const std::string& caption, const std::string& text) {
    return run(m_parent, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
               QMessageBox::Cancel);
}

} // namespace orvo::platform
