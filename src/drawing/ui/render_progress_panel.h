// The panel "Построение разреза" shown centred on the screen while a section renders.
#pragma once
#include "drawing/render_section.h"

#include <QWidget>

#include <array>
#include <functional>

class QLabel;

namespace orvo::drawing {

class RenderProgressPanel : public QWidget, public RenderProgress {
    Q_OBJECT
public:
    // `repaintNow` makes the panel show each step while the caller keeps the event loop busy;
    // tests pass a no-op.
    explicit RenderProgressPanel(std::function<void(QWidget&)> repaintNow = {});

    void sheet(int index, int count) override;
    void borehole(int index, int count) override;
    void hatching(int index, int count) override;
    void finished() override;

    // Fill of bar 0..2 in pixels of its 102.
    int filled(int bar) const { return m_filled[static_cast<std::size_t>(bar)]; }
    QString sheetText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void set(int bar, int index, int count);
    QLabel* m_of = nullptr;
    std::array<int, 3> m_filled{};
    std::function<void(QWidget&)> m_repaintNow;
};

} // namespace orvo::drawing
