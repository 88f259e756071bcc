// Paints the 128 bands from top to bottom; the bands share the height, the last takes the rest.
#include "setup/ui/backdrop_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace orvo::setup::ui {

SetupO2::SetupO2(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint) {
    setWindowTitle(QStringLiteral("Установка программы ОРВО v2.0"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SetupO2::showOnScreen() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    showMaximized();
}

void SetupO2::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int h = height();
    for (int i = 0; i < kBands; ++i) {
        const int top = i * h / kBands;
        const int bottom = (i + 1) * h / kBands;
        p.fillRect(0, top, width(), bottom - top, bandColor(i));
    }
}

} // namespace orvo::setup::ui
