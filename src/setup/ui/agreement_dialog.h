// The usage agreement: accepted with "ДА, принимаю", refused with "НЕТ".
#pragma once
#include <QDialog>

namespace orvo::setup::ui {

class AgreementDialog : public QDialog {
    Q_OBJECT
public:
    explicit AgreementDialog(QWidget* parent = nullptr);
};

} // namespace orvo::setup::ui
