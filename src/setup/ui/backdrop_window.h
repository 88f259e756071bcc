// The installer's backdrop: a full-screen window of blue bands behind its dialogs.
#pragma once
#include <QColor>
#include <QWidget>

namespace orvo::setup::ui {

class SetupO2 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBands = 128;
    explicit SetupO2(QWidget* parent = nullptr);

    // Band i (0 at the top) is RGB(0, 0, 200 - i).
    static QColor bandColor(int i) { return QColor(0, 0, 200 - i); }
    // Sized to the screen with the caption bar kept, then shown.
    void showOnScreen();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace orvo::setup::ui
