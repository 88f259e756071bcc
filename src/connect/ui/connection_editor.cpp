// The connection editor window: painting of the session's picture and routing of mouse, toolbar
// and scroll bar input to it.
#include "connect/ui/connection_editor.h"

#include "connect/connection_file.h"
#include "connect/ui/editor_icons.h"
#include "platform/messages.h"
#include "platform/ui/qt_fonts.h"
#include "platform/ui/widgets.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <new>

namespace orvo::connect::ui {

using platform::ui::qs;

namespace {

const QColor kDarkBlue(0, 0, 128);
const QColor kLightBlue(128, 128, 255);

QColor lineColour(LineColour c) {
    switch (c) {
    case LineColour::Selected:
        return Qt::red;
    case LineColour::Hovered:
        return QColor(0, 160, 0);
    case LineColour::Wavy:
        return Qt::magenta;
    case LineColour::Straight:
        return kDarkBlue;
    case LineColour::Invisible:
        return kLightBlue;
    }
    return Qt::black;
}

// The fill of a closed IGE area: a sparse diagonal hatch that leaves the lines readable.
const QBrush& areaBrush() {
    static const QBrush brush = [] {
        QImage pattern(8, 8, QImage::Format_RGB32);
        pattern.fill(Qt::white);
        for (int i = 0; i < 8; ++i)
            pattern.setPixel(i, 7 - i, qRgb(176, 152, 96));
        pattern.setPixel(1, 1, qRgb(210, 196, 150));
        pattern.setPixel(5, 5, qRgb(210, 196, 150));
        return QBrush(pattern);
    }();
    return brush;
}

QFont pixelFont(int height, int weight) {
    QFont f = platform::fontForFace("MS Sans Serif", height, weight);
    f.setPixelSize(height);
    f.setWeight(static_cast<QFont::Weight>(weight));
    return f;
}

QPoint qp(ScreenPos p) {
    return {p.x, p.y};
}

// A boundary that runs more across than down is drawn with the pixels hit testing takes for it,
// so the line reacts exactly where it is seen; steeper ones cannot be picked and are drawn plain.
void drawBoundary(QPainter& p, const SceneLine& line, int width) {
    const auto dx = std::abs(static_cast<long long>(line.b.x) - line.a.x);
    const auto dy = std::abs(static_cast<long long>(line.b.y) - line.a.y);
    if (dx == 0 || dy > dx) {
        p.drawLine(qp(line.a), qp(line.b));
        return;
    }
    const int from = std::max(std::min(line.a.x, line.b.x), -1);
    const int to = std::min(std::max(line.a.x, line.b.x), width);
    QPolygon pixels;
    pixels.reserve(std::max(0, to - from + 1));
    for (int x = from; x <= to; ++x)
        pixels << QPoint(x, lineRowAt(line.a, line.b, x));
    p.drawPoints(pixels);
}

} // namespace

// ---- drawing area ----

DrawingArea::DrawingArea(EditorSession& session, QWidget* parent)
    : QWidget(parent), m_session(session) {
    setObjectName(QStringLiteral("drawing"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(200, 150);
}

QRect DrawingArea::area() const {
    return rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
}

void DrawingArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const auto a = area();
    try {
        m_session.resize(std::max(0, a.width()), std::max(0, a.height()));
    } catch (const std::bad_alloc&) {
        m_session.resize(0, 0); // no mapping: the area stays empty
        reportMemory();
    }
}

void DrawingArea::reportMemory() {
    if (m_memoryReported)
        return;
    m_memoryReported = true;
    // Boxes are not shown from inside a paint or a resize.
    QTimer::singleShot(0, this, [this] { emit outOfMemory(); });
}

void DrawingArea::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // The sunken frame around the area.
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::Shadow));
    p.drawRect(rect().adjusted(1, 1, -2, -2));

    const QRect a = area();
    p.fillRect(a, Qt::white);
    p.setClipRect(a);
    p.translate(a.topLeft());
    Scene scene;
    try {
        scene = m_session.scene();
    } catch (const std::bad_alloc&) {
        reportMemory();
        return;
    }

    p.setPen(Qt::NoPen);
    p.setBrush(areaBrush());
    p.setBrushOrigin(0, 0);
    for (const auto& area : scene.areas) {
        QPolygon poly;
        for (const auto& pt : area.outline)
            poly << qp(pt);
        p.drawPolygon(poly);
    }
    p.setBrush(Qt::NoBrush);

    const QFont nameFont = pixelFont(10, 800);
    const QFont igeFont = pixelFont(8, 400);
    for (const auto& hole : scene.boreholes) {
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(qp(hole.collar), qp(hole.bottom));
        p.setFont(nameFont);
        p.setPen(kDarkBlue);
        const QString name = qs(hole.name);
        const QFontMetrics fm(nameFont);
        const int w = fm.horizontalAdvance(name);
        p.drawText(
            QRect(hole.collar.x - w / 2 - 1, hole.collar.y - 5 - fm.height(), w + 2, fm.height()),
            Qt::AlignHCenter | Qt::AlignBottom, name);
    }
    p.setFont(igeFont);
    p.setPen(Qt::black);
    const QFontMetrics igeMetrics(igeFont);
    for (const auto& label : scene.labels) {
        const QString text = qs(label.text);
        const int w = igeMetrics.horizontalAdvance(text) + 2;
        p.drawText(QRect(label.rightX - w, label.centreY - igeMetrics.height() / 2, w,
                         igeMetrics.height()),
                   Qt::AlignRight | Qt::AlignVCenter, text);
    }
    for (const auto& line : scene.lines) {
        p.setPen(QPen(lineColour(line.colour), 1));
        drawBoundary(p, line, a.width());
    }
    for (const auto& point : scene.points) {
        p.setPen(QPen(point.selected ? QColor(0, 160, 0) : QColor(Qt::red), 1));
        const int r = point.hovered ? 2 : 1;
        p.drawRect(point.at.x - r, point.at.y - r, 2 * r, 2 * r);
    }
    if (scene.rubberBand) {
        p.setPen(QPen(Qt::red, 1));
        p.drawLine(qp(scene.rubberBand->a), qp(scene.rubberBand->b));
    }
    if (scene.areasFailed)
        reportMemory();
}

std::optional<ScreenPos> DrawingArea::position(const QMouseEvent* event) const {
    const QRect a = area();
    if (a.isEmpty())
        return std::nullopt;
    QPoint pos = event->position().toPoint();
    if (!a.contains(pos)) {
        if (!m_session.capturing())
            return std::nullopt;
        pos.setX(std::clamp(pos.x(), a.left(), a.right()));
        pos.setY(std::clamp(pos.y(), a.top(), a.bottom()));
    }
    return ScreenPos{pos.x() - a.left(), pos.y() - a.top()};
}

void DrawingArea::syncGrab() {
    // A pending segment or a moving point keeps every mouse event until it ends.
    if (m_session.capturing() && !m_grabbing) {
        grabMouse();
        m_grabbing = true;
    } else if (!m_session.capturing() && m_grabbing) {
        releaseMouse();
        m_grabbing = false;
    }
}

void DrawingArea::endCapture() {
    m_session.endCapture();
    syncGrab();
    update();
}

template <class F> void DrawingArea::dispatch(const QMouseEvent* event, F&& op) {
    const auto c = position(event);
    if (!c)
        return;
    bool repaint = true;
    try {
        repaint = op(*c);
    } catch (const std::bad_alloc&) {
        m_session.endCapture();
        reportMemory();
    }
    syncGrab();
    if (repaint)
        update();
    emit changed(repaint);
}

void DrawingArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dispatch(event, [this](ScreenPos c) { return m_session.leftDown(c); });
    else if (event->button() == Qt::RightButton)
        dispatch(event, [this](ScreenPos c) { return m_session.rightDown(c); });
}

void DrawingArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dispatch(event, [this](ScreenPos c) { return m_session.leftUp(c); });
}

void DrawingArea::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dispatch(event, [this](ScreenPos c) { return m_session.doubleClick(c); });
    else if (event->button() == Qt::RightButton)
        dispatch(event, [this](ScreenPos c) { return m_session.rightDown(c); });
}

void DrawingArea::mouseMoveEvent(QMouseEvent* event) {
    dispatch(event, [this](ScreenPos c) { return m_session.mouseMove(c); });
}

// ---- window ----

ConnectionEditorWindow::ConnectionEditorWindow(EditorSession& session,
                                               const platform::WorkFolder& folder,
                                               platform::MessageSink& sink, QWidget* parent)
    : QDialog(parent), m_session(session), m_folder(folder), m_sink(sink) {
    setObjectName(QStringLiteral("connectionEditor"));
    setWindowTitle(qs(kEditorTitle));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    m_toolbar->setIconSize(QSize(16, 16));
    layout->addWidget(m_toolbar);
    m_drawing = new DrawingArea(session, this);
    layout->addWidget(m_drawing, 1);
    m_scroll = new QScrollBar(Qt::Horizontal, this);
    m_scroll->setObjectName(QStringLiteral("scroll"));
    layout->addWidget(m_scroll);
    m_comment = new QLabel(QStringLiteral("Комментарии"), this);
    m_comment->setObjectName(QStringLiteral("comment"));
    m_comment->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_comment->setMinimumHeight(m_comment->sizeHint().height());
    layout->addWidget(m_comment);
    buildToolbar();

    connect(m_drawing, &DrawingArea::changed, this, [this](bool) { refresh(false); });
    connect(m_drawing, &DrawingArea::outOfMemory, this,
            [this] { m_sink.show("Stop", platform::kNoMemoryText, platform::Icon::Error); });
    connect(m_scroll, &QScrollBar::actionTriggered, this, &ConnectionEditorWindow::onScroll);

    // The editor takes the whole screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    refresh(false);
}

void ConnectionEditorWindow::buildToolbar() {
    for (int i = 0; i < kEditorCommandCount; ++i) {
        const auto c = static_cast<EditorCommand>(i);
        const auto& info = commandInfo(c);
        auto* a = new QAction(editorIcon(i), qs(info.name), this);
        a->setObjectName(qs(info.name));
        a->setToolTip(qs(info.tooltip));
        connect(a, &QAction::triggered, this, [this, c] { runCommand(c); });
        m_actions[static_cast<std::size_t>(i)] = a;
    }
    for (auto c :
         {EditorCommand::Show2, EditorCommand::Show3, EditorCommand::Draw,
          EditorCommand::SelectLine, EditorCommand::SelectPoint, EditorCommand::StraightLine,
          EditorCommand::WavyLine, EditorCommand::VisibleLine, EditorCommand::InvisibleLine})
        action(c)->setCheckable(true);
    action(EditorCommand::Undo)->setShortcut(QKeySequence::Undo);
    // Ctrl+Y everywhere, besides whatever the desktop binds to redo.
    auto redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys.prepend(QKeySequence(Qt::CTRL | Qt::Key_Y));
    action(EditorCommand::Redo)->setShortcuts(redoKeys);
    // Separators after these commands, as the groups of the toolbar go.
    const EditorCommand groupEnds[] = {EditorCommand::ToEnd,         EditorCommand::Show3,
                                       EditorCommand::Draw,          EditorCommand::DeleteAllLines,
                                       EditorCommand::DeletePoint,   EditorCommand::WavyLine,
                                       EditorCommand::InvisibleLine, EditorCommand::Exit};
    for (int i = 0; i < kEditorCommandCount; ++i) {
        const auto c = static_cast<EditorCommand>(i);
        m_toolbar->addAction(action(c));
        if (std::find(std::begin(groupEnds), std::end(groupEnds), c) != std::end(groupEnds))
            m_toolbar->addSeparator();
    }
}

void ConnectionEditorWindow::runCommand(EditorCommand c) {
    if (c == EditorCommand::Exit) {
        reject();
        return;
    }
    bool repaint = true;
    try {
        repaint = m_session.run(c, m_sink);
    } catch (const std::bad_alloc&) {
        m_sink.show("Stop", platform::kNoMemoryText, platform::Icon::Error);
    }
    m_drawing->syncGrab();
    refresh(repaint);
}

void ConnectionEditorWindow::onScroll(int action) {
    ScrollAction a = ScrollAction::Other;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        a = ScrollAction::LineLeft;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        a = ScrollAction::LineRight;
        break;
    case QAbstractSlider::SliderPageStepSub:
        a = ScrollAction::PageLeft;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        a = ScrollAction::PageRight;
        break;
    case QAbstractSlider::SliderMove:
        a = ScrollAction::Thumb;
        break;
    default:
        break;
    }
    bool repaint = true;
    try {
        repaint = m_session.scroll(a, m_scroll->sliderPosition());
    } catch (const std::bad_alloc&) {
        m_sink.show("Stop", platform::kNoMemoryText, platform::Icon::Error);
    }
    // The session decides where the view goes; the bar follows it.
    m_scroll->setSliderPosition(m_session.firstShown());
    refresh(repaint);
}

void ConnectionEditorWindow::refresh(bool repaint) {
    const auto t = m_session.toolbar();
    for (int i = 0; i < kEditorCommandCount; ++i) {
        auto* a = m_actions[static_cast<std::size_t>(i)];
        a->setEnabled(t.enabled[static_cast<std::size_t>(i)]);
        if (a->isCheckable())
            a->setChecked(t.pressed[static_cast<std::size_t>(i)]);
    }
    {
        const QSignalBlocker block(m_scroll);
        m_scroll->setRange(0, t.scrollMax);
        m_scroll->setPageStep(t.scrollPage);
        m_scroll->setSingleStep(1);
        m_scroll->setValue(t.scrollPos);
    }
    m_scroll->setVisible(t.scrollVisible);
    m_comment->setText(qs(m_session.status()));
    if (repaint)
        m_drawing->update();
}

void ConnectionEditorWindow::reject() {
    // The question box needs the mouse: a pending segment or a move ends first.
    m_drawing->endCapture();
    refresh(true);
    switch (m_sink.askYesNoCancel(std::string(kEditorCaption), std::string(kSaveQuestion))) {
    case platform::Answer::Yes: {
        Status st = success();
        try {
            st = SaveConnections(m_folder, m_session.model());
        } catch (const std::bad_alloc&) {
            st = Error{platform::kNoMemoryText, "Stop"};
        }
        if (!st) {
            m_sink.report(st.error()); // the edits stay on screen
            return;
        }
        done(QDialog::Accepted);
        return;
    }
    case platform::Answer::No:
        done(QDialog::Rejected);
        return;
    case platform::Answer::Cancel:
        return;
    }
}

bool EditConnections(const platform::WorkFolder& folder, platform::MessageSink& sink,
                     std::int32_t object, std::optional<std::int32_t> storedSection,
                     const std::vector<std::int32_t>& fileNumbers, QWidget* parent) {
    auto opening = OpenConnectionEditor(folder, sink, object, storedSection, fileNumbers);
    if (!opening)
        return false;
    bool saved = false;
    try {
        EditorSession session(std::move(opening->model));
        ConnectionEditorWindow window(session, folder, sink, parent);
        saved = window.exec() == QDialog::Accepted;
    } catch (const std::bad_alloc&) {
        sink.show("Stop", platform::kNoMemoryText, platform::Icon::Error);
    }
    CloseConnectionEditor(folder, *opening, saved);
    return saved;
}

} // namespace orvo::connect::ui
