// The about dialog.
#include "shell/ui/about_dialog.h"

#include "shell/session.h"
#include "shell/ui/icons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo::shell::ui {

AboutDialog::AboutDialog(std::int32_t launchCount, std::int64_t workSeconds, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("О программе"));
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel;
    picture->setPixmap(QPixmap::fromImage(treeImage(kImgLibrary)).scaled(40, 40));
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    auto* title = new QLabel(QStringLiteral("Программа выпуска Инженерно-геологических разрезов"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addWidget(new QLabel(QStringLiteral("Версия 2.02")), 0, Qt::AlignHCenter);
    auto* form = new QFormLayout;
    auto* starts = new QLabel(QString::number(launchCount));
    starts->setObjectName(QStringLiteral("launchCount"));
    auto* time = new QLabel(QString::fromStdString(formatWorkTime(workSeconds)));
    time->setObjectName(QStringLiteral("workTime"));
    form->addRow(QStringLiteral("Количество запусков:"), starts);
    form->addRow(QStringLiteral("Общее время работы:"), time);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace orvo::shell::ui
