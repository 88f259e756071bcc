// The rendering progress panel: a title, three labelled rows and their 102 × 20 bars.
#include "drawing/ui/render_progress_panel.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace orvo::drawing {

namespace {

constexpr int kBarWidth = 102;
constexpr int kBarHeight = 20;

} // namespace

RenderProgressPanel::RenderProgressPanel(std::function<void(QWidget&)> repaintNow)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_repaintNow(std::move(repaintNow)) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    auto* grid = new QGridLayout(this);
    auto* title = new QLabel("Построение разреза");
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->setAlignment(Qt::AlignCenter);
    grid->addWidget(title, 0, 0, 1, 3);
    const char* const rows[3] = {"Формируется лист №", "- атрибуты выработок",
                                 "- штриховка ИГЭ листа"};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(rows[i]), i + 1, 0);
        grid->setRowMinimumHeight(i + 1, kBarHeight + 4);
    }
    m_of = new QLabel;
    grid->addWidget(m_of, 1, 1);
    grid->setColumnMinimumWidth(2, kBarWidth + 8);
    setFixedSize(sizeHint().expandedTo({360, 130}));
    if (const auto* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

QString RenderProgressPanel::sheetText() const {
    return m_of->text();
}

void RenderProgressPanel::set(int bar, int index, int count) {
    const auto i = static_cast<std::size_t>(bar);
    m_filled[i] = count > 0 ? std::clamp(index * kBarWidth / count, 0, kBarWidth) : 0;
    if (m_repaintNow)
        m_repaintNow(*this);
}

void RenderProgressPanel::sheet(int index, int count) {
    m_of->setText(QString::asprintf("%d из %d", index, count));
    m_filled[1] = m_filled[2] = 0;
    set(0, index, count);
}

void RenderProgressPanel::borehole(int index, int count) {
    set(1, index, count);
}

void RenderProgressPanel::hatching(int index, int count) {
    // Repainting for every point of a large section would cost more than the hatching itself.
    const int before = m_filled[2];
    const int after = count > 0 ? std::clamp(index * kBarWidth / count, 0, kBarWidth) : 0;
    if (after != before || index == count)
        set(2, index, count);
}

void RenderProgressPanel::finished() {
    hide();
}

void RenderProgressPanel::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter p(this);
    const int x = width() - kBarWidth - 12;
    auto* grid = static_cast<QGridLayout*>(layout());
    for (int i = 0; i < 3; ++i) {
        const QRect row = grid->cellRect(i + 1, 0);
        const QRect bar(x, row.center().y() - kBarHeight / 2, kBarWidth, kBarHeight);
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(bar.adjusted(0, 0, -1, -1));
        const int fill = m_filled[static_cast<std::size_t>(i)];
        if (fill > 0)
            p.fillRect(QRect(bar.left() + 1, bar.top() + 1, std::max(0, fill - 2), kBarHeight - 2),
                       QColor(0, 0, 128));
    }
}

} // namespace orvo::drawing
