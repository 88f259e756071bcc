// The section viewer and the sheet editor windows.
#include "drawing/ui/section_windows.h"

#include "drawing/ui/render_progress_panel.h"
#include "drawing/ui/sheet_area.h"
#include "platform/ui/qpainter_canvas.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvo::drawing {

namespace {

QToolButton* toolButton(QToolBar* bar, const QString& text, const QString& tip) {
    auto* b = new QToolButton;
    b->setText(text);
    b->setToolTip(tip);
    bar->addWidget(b);
    return b;
}

// The part of the sheet the view shows, in the painter's sheet coordinates: what lies outside
// is not played at all, which keeps a zoomed view quick.
QRectF shownPart(const QPainter& p) {
    return p.worldTransform().inverted().mapRect(QRectF(p.viewport()));
}

QString sheetName(int index, int sectionSheets) {
    return index < sectionSheets ? QString("Лист %1").arg(index + 1) : QString("Лист УО");
}

} // namespace

SectionViewer::SectionViewer(const platform::WorkFolder& folder, std::vector<SheetSize> sizes,
                             double dpiX, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_sizes(std::move(sizes)) {
    setWindowTitle("Просмотр разреза");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar;
    m_sheets = new QComboBox;
    m_sheets->setObjectName("sheets");
    const int sectionSheets = static_cast<int>(m_sizes.size()) - 1;
    for (int i = 0; i <= sectionSheets; ++i)
        m_sheets->addItem(sheetName(i, sectionSheets));
    bar->addWidget(m_sheets);
    m_in = toolButton(bar, "+", "Увеличить");
    m_out = toolButton(bar, "-", "Уменьшить");
    m_whole = toolButton(bar, "Весь лист", "Показать весь лист");
    m_hatching = toolButton(bar, "Штриховка", "Показать штриховку ИГЭ");
    m_hatching->setCheckable(true);
    auto* exit = toolButton(bar, "Выход", "Закрыть просмотр");
    layout->addWidget(bar);
    m_area = new SheetArea(m_view, dpiX);
    m_area->paintSheet = [this](QPainter& p) {
        if (m_pictures)
            PlaySheet(p, *m_pictures, 1.0, m_hatching->isChecked(), shownPart(p));
    };
    layout->addWidget(m_area, 1);
    m_readout = new QLabel;
    m_readout->setObjectName("readout");
    layout->addWidget(m_readout);
    connect(m_area, &SheetArea::readoutChanged, m_readout, &QLabel::setText);
    connect(m_area, &SheetArea::viewChanged, this, &SectionViewer::updateButtons);
    connect(m_sheets, &QComboBox::currentIndexChanged, this, &SectionViewer::showSheet);
    const auto act = [this](void (SheetView::*f)()) {
        (m_view.*f)();
        m_area->refresh();
        updateButtons();
    };
    connect(m_in, &QToolButton::clicked, this, [act] { act(&SheetView::zoomIn); });
    connect(m_out, &QToolButton::clicked, this, [act] { act(&SheetView::zoomOut); });
    connect(m_whole, &QToolButton::clicked, this, [act] { act(&SheetView::wholeSheet); });
    connect(m_hatching, &QToolButton::toggled, m_area->viewport(), qOverload<>(&QWidget::update));
    connect(exit, &QToolButton::clicked, this, &QDialog::accept);
    resize(900, 600);
    showSheet(0);
}

void SectionViewer::showSheet(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_sizes.size())
        return;
    auto pictures = LoadSheetPictures(m_folder, index);
    m_pictures.reset();
    if (pictures)
        m_pictures = std::move(*pictures);
    m_view.setViewSize(m_area->viewport()->width(), m_area->viewport()->height());
    const auto& size = m_sizes[static_cast<std::size_t>(index)];
    m_view.setSheet(static_cast<double>(size.widthPx), static_cast<double>(size.heightPx));
    m_area->refresh();
    updateButtons();
}

void SectionViewer::updateButtons() {
    m_in->setEnabled(m_view.canZoomIn());
    m_out->setEnabled(m_view.canZoomOut());
    m_whole->setEnabled(m_view.canWholeSheet());
}

SheetEditorWindow::SheetEditorWindow(const platform::WorkFolder& folder, SectionDrawingInput input,
                                     std::vector<SheetSize> sizes, double dpiX, double dpiY,
                                     platform::MessageSink& sink, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_input(std::move(input)), m_sizes(std::move(sizes)),
      m_dpiX(dpiX), m_dpiY(dpiY), m_sink(sink),
      m_session(m_input.texts, static_cast<int>(m_input.layout.sheets.size()),
                m_input.layout.horizontalScale, m_input.layout.verticalScale, dpiX) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar;
    static const char* const labels[kEditorCommandCount] = {
        "Следующий лист", "Предыдущий лист", "Увеличить",    "Уменьшить", "Весь лист",
        "Выбор текста",   "Показать текст",  "Скрыть текст", "Сохранить", "Выход"};
    for (int i = 0; i < kEditorCommandCount; ++i) {
        auto* a = bar->addAction(labels[i]);
        a->setObjectName(editorCommandNames()[static_cast<std::size_t>(i)]);
        a->setToolTip(editorCommandNames()[static_cast<std::size_t>(i)]);
        const auto c = static_cast<EditorCommand>(i);
        connect(a, &QAction::triggered, this, [this, c] { command(c); });
        m_actions[static_cast<std::size_t>(i)] = a;
    }
    layout->addWidget(bar);
    m_area = new SheetArea(m_session.view(), dpiX);
    m_area->paintSheet = [this](QPainter& p) { paintSheet(p); };
    m_area->pressText = [this](QPointF at) {
        const bool picked = m_session.pick(at.x(), at.y());
        updateActions();
        m_area->viewport()->update();
        return picked;
    };
    m_area->pickedRect = [this] {
        for (const auto& o : m_session.overlay())
            if (static_cast<int>(o.index) == m_session.selected())
                return QRectF(o.rect.x, o.rect.y, o.rect.width, o.rect.height);
        return QRectF();
    };
    m_area->textMoved = [this](double mx, double my) {
        m_session.moveSelected(mx, my);
        updateActions();
    };
    m_area->zoomTool = true;
    layout->addWidget(m_area, 1);
    connect(m_area, &SheetArea::viewChanged, this, &SheetEditorWindow::updateActions);
    resize(900, 600);
    loadSheet();
}

void SheetEditorWindow::loadSheet() {
    const int sheet = m_session.sheet();
    setWindowTitle(QString("Редактирование разреза - Лист %1").arg(sheet + 1));
    auto pictures = LoadSheetPictures(m_folder, sheet);
    m_pictures.reset();
    if (pictures)
        m_pictures = std::move(*pictures);
    m_geometry = MakeSheetGeometry(m_input.layout, sheet, m_dpiX, m_dpiY);
    const detail::SheetContext s{
        m_folder, m_input, *m_geometry, sheet, static_cast<int>(m_input.layout.sheets.size()),
        m_dpiX,   m_dpiY,  true};
    m_sites = sheetTextSites(s);
    auto& view = m_session.view();
    view.setViewSize(m_area->viewport()->width(), m_area->viewport()->height());
    view.setSheet(static_cast<double>(m_geometry->widthPx),
                  static_cast<double>(m_geometry->heightPx));
    m_area->refresh();
    updateActions();
}

void SheetEditorWindow::paintSheet(QPainter& painter) {
    if (m_pictures)
        PlayPicture(painter, m_pictures->p, 1.0, shownPart(painter));
    if (!m_geometry)
        return;
    m_input.texts = m_session.texts();
    const detail::SheetContext s{m_folder,
                                 m_input,
                                 *m_geometry,
                                 m_session.sheet(),
                                 static_cast<int>(m_input.layout.sheets.size()),
                                 m_dpiX,
                                 m_dpiY,
                                 true};
    platform::QPainterCanvas canvas(painter);
    m_session.setOverlay(drawSheetOverlay(canvas, s, m_sites, m_session.selected()));
}

void SheetEditorWindow::updateActions() {
    for (int i = 0; i < kEditorCommandCount; ++i) {
        const auto state = m_session.state(static_cast<EditorCommand>(i));
        auto* a = m_actions[static_cast<std::size_t>(i)];
        a->setEnabled(state.enabled);
        a->setCheckable(i == static_cast<int>(EditorCommand::ViewPlus) ||
                        i == static_cast<int>(EditorCommand::Select) ||
                        i == static_cast<int>(EditorCommand::TextVisible) ||
                        i == static_cast<int>(EditorCommand::TextHidden));
        a->setChecked(state.checked);
    }
    m_area->zoomTool = m_session.tool() == SheetEditorSession::Tool::ZoomRectangle;
    m_area->viewport()->setCursor(m_area->zoomTool ? Qt::CrossCursor : Qt::ArrowCursor);
}

void SheetEditorWindow::command(EditorCommand c) {
    if (c == EditorCommand::Save) {
        m_session.save(m_folder, m_sink);
    } else if (c == EditorCommand::Exit) {
        reject();
        return;
    } else if (m_session.run(c)) {
        loadSheet();
    } else {
        m_area->refresh();
    }
    updateActions();
    m_area->viewport()->update();
}

void SheetEditorWindow::reject() {
    if (m_session.exit(m_folder, m_sink))
        QDialog::reject();
    else
        updateActions();
}

void SheetEditorWindow::closeEvent(QCloseEvent* event) {
    // Closing asks as "Exit" does; reject() hides the window when the answer allows it.
    event->ignore();
    reject();
}

namespace {

FooterTime now() {
    const QDateTime t = QDateTime::currentDateTime();
    return {t.date().year(), t.date().month(),  t.date().day(),
            t.time().hour(), t.time().minute(), t.time().second()};
}

double screenDpi(QWidget* parent) {
    if (parent)
        return parent->logicalDpiX();
    const auto* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

// Renders for the screen with the panel and the wait cursor; nothing when writing failed.
std::optional<std::vector<SheetSize>> renderForScreen(const platform::WorkFolder& folder,
                                                      const PreparedSection& prepared,
                                                      platform::MessageSink& sink, double dpi,
                                                      bool withTexts) {
    RenderProgressPanel panel([](QWidget& w) { w.repaint(); });
    panel.show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PictureSheetSink pictures(folder, dpi, dpi);
    auto sizes = RenderSection(folder, prepared.input, pictures, panel, withTexts, now());
    QApplication::restoreOverrideCursor();
    if (!pictures.status()) {
        sink.report(pictures.status().error());
        return std::nullopt;
    }
    return sizes;
}

} // namespace

void ViewSection(QWidget* parent, const store::ProjectStore& store, platform::MessageSink& sink,
                 const DrawingRequest& request) {
    const auto& folder = store.folder();
    auto prepared = PrepareSectionDrawing(store, sink, request.object, request.storedSection,
                                          request.section, request.source);
    if (!prepared)
        return;
    const double dpi = screenDpi(parent);
    if (auto sizes = renderForScreen(folder, *prepared, sink, dpi, true)) {
        SectionViewer viewer(folder, std::move(*sizes), dpi, parent);
        viewer.setWindowState(Qt::WindowMaximized);
        viewer.exec();
    }
    FinishSectionDrawing(folder, *prepared);
}

void EditSectionSheets(QWidget* parent, const store::ProjectStore& store,
                       platform::MessageSink& sink, const DrawingRequest& request) {
    const auto& folder = store.folder();
    auto prepared = PrepareSectionDrawing(store, sink, request.object, request.storedSection,
                                          request.section, request.source);
    if (!prepared)
        return;
    const double dpi = screenDpi(parent);
    if (auto sizes = renderForScreen(folder, *prepared, sink, dpi, false)) {
        SheetEditorWindow editor(folder, prepared->input, std::move(*sizes), dpi, dpi, sink,
                                 parent);
        editor.setWindowState(Qt::WindowMaximized);
        editor.exec();
    }
    FinishSectionDrawing(folder, *prepared);
}

} // namespace orvo::drawing
