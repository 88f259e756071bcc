// "О программе...": program starts and total working time.
#pragma once
#include <QDialog>

#include <cstdint>

namespace orvo::shell::ui {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(std::int32_t launchCount, std::int64_t workSeconds, QWidget* parent = nullptr);
};

} // namespace orvo::shell::ui
