// The agreement's lines in a list, centred, the warning lines in red.
#include "setup/ui/agreement_dialog.h"

#include "platform/ui/qstring.h"
#include "setup/agreement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo::setup::ui {

using platform::ui::qs;

AgreementDialog::AgreementDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Установка программы ORVO v2.0"));
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("lines"));
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    int number = 1;
    for (const std::string_view line : agreementLines()) {
        auto* item = new QListWidgetItem(qs(line), list);
        item->setTextAlignment(Qt::AlignCenter);
        item->setForeground(isRedAgreementLine(number++) ? QColor(Qt::red) : QColor(Qt::black));
    }
    auto* question = new QLabel(QStringLiteral("Вы принимаете\nусловия соглашения ?"), this);
    question->setAlignment(Qt::AlignCenter);
    auto* yes = new QPushButton(QStringLiteral("ДА, принимаю"), this);
    yes->setObjectName(QStringLiteral("yes"));
    yes->setDefault(true);
    auto* no = new QPushButton(QStringLiteral("НЕТ"), this);
    no->setObjectName(QStringLiteral("no"));
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list);
    layout->addWidget(question);
    layout->addLayout(buttons);
    resize(560, 520);
}

} // namespace orvo::setup::ui
