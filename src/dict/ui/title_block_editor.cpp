// The title block editor: its editing rules, its drawing area and the widgets mapped onto them.
#include "dict/ui/title_block_editor.h"

#include "platform/numbers.h"
#include "platform/ui/qpainter_canvas.h"
#include "platform/ui/qt_fonts.h"
#include "platform/ui/widgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvo::dict::ui {

using detail::Box;
using detail::Kind;
using detail::Point;
using detail::Selection;
using platform::ui::makeButton;
using platform::ui::named;
using platform::ui::qs;

namespace {

constexpr int kMaxLineWidth = 20; // 2.0 mm

QToolButton* toggle(const char* text, const char* name, QWidget* parent) {
    auto* b = named(new QToolButton(parent), name);
    b->setText(QString::fromUtf8(text));
    b->setCheckable(true);
    return b;
}

// Fields show millimetres; values are kept in tenths, rounded so that a shown value reads back
// unchanged.
int tenthsOf(const QLineEdit* field) {
    const double v = platform::parseDecimal(field->text().toStdString()) * 10.0;
    return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6)));
}

void setTenths(QLineEdit* field, int tenths) {
    field->setText(qs(platform::formatTenths(tenths)));
}

// Font cell height in pixels: the stored size in points at the view's 102/72 pixels per point.
double viewFontHeight(int points) {
    const long long num = static_cast<long long>(points) * 102;
    return static_cast<double>(num >= 0 ? (num + 36) / 72 : -((-num + 36) / 72));
}

} // namespace

// The sheet under the pointer: the origin in the middle, y upwards, 0.4 pixels per tenth.
class EditorDrawingArea : public QWidget {
public:
    static constexpr int kHalf = 1200;
    static constexpr double kScale = 0.4;

    explicit EditorDrawingArea(TitleBlockEditor& editor) : m_editor(editor) {
        setObjectName(QStringLiteral("drawingArea"));
        setFixedSize(2 * kHalf + 1, 2 * kHalf + 1);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::white);
        platform::QPainterCanvas canvas(painter);
        if (m_editor.m_grid->isChecked()) {
            paintGrid(canvas, event->rect(), m_editor.gridStep(), {211, 211, 211});
            paintGrid(canvas, event->rect(), 40, {128, 128, 128});
        }
        paintElements(canvas);
        if (m_from)
            paintRubberBand(canvas);
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton)
            return;
        const Point p = toTenths(event->position());
        if (m_editor.m_mode == TitleBlockEditor::Mode::Select) {
            m_editor.onClick(p);
            return;
        }
        m_from = p;
        m_to = p;
        update();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (!m_from)
            return;
        m_to = toTenths(event->position());
        update();
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !m_from)
            return;
        const Point from = *m_from;
        m_from.reset();
        m_editor.onDrag(from, toTenths(event->position()));
        update();
    }

private:
    // Positions outside the widget are held at its edge, as if the pointer were confined to it.
    static Point toTenths(QPointF pos) {
        auto tenths = [](double pixels) {
            return std::clamp(static_cast<int>(std::lround(pixels / kScale)),
                              -detail::kCoordinateLimit, detail::kCoordinateLimit);
        };
        return {tenths(pos.x() - kHalf), tenths(kHalf - pos.y())};
    }
    static platform::PointF toPixels(int x, int y) {
        return {kHalf + x * kScale, kHalf - y * kScale};
    }
    static platform::RectF pixelRect(const Box& b) {
        const auto a = toPixels(std::min(b.x1, b.x2), std::max(b.y1, b.y2));
        return {a.x, a.y, std::abs(b.x2 - b.x1) * kScale, std::abs(b.y1 - b.y2) * kScale};
    }

    static void paintGrid(platform::Canvas& c, const QRect& r, int step, platform::Color color) {
        c.setPen({color, 0, platform::Pen::Style::Solid});
        const double unit = step * kScale;
        for (int k = static_cast<int>(std::floor((r.left() - kHalf) / unit));
             k <= static_cast<int>(std::ceil((r.right() - kHalf) / unit)); ++k)
            c.drawLine({kHalf + k * unit, double(r.top())}, {kHalf + k * unit, r.bottom() + 1.0});
        for (int k = static_cast<int>(std::floor((kHalf - r.bottom()) / unit));
             k <= static_cast<int>(std::ceil((kHalf - r.top()) / unit)); ++k)
            c.drawLine({double(r.left()), kHalf - k * unit}, {r.right() + 1.0, kHalf - k * unit});
    }

    void paintText(platform::Canvas& c, const LogFont& font, const TitleTextBox& box,
                   const std::string& text, platform::Color color) const {
        const platform::RectF r = pixelRect({box.x1, box.y1, box.x2, box.y2});
        c.setPen({color, 0, platform::Pen::Style::Solid});
        c.setBrush({});
        c.drawRect(r);
        platform::Font f;
        f.family = font.faceName.utf8();
        f.height = viewFontHeight(box.size);
        f.weight = (box.style & kTitleBold) ? 700 : 400;
        f.italic = (box.style & kTitleItalic) != 0;
        f.underline = (box.style & kTitleUnderline) != 0;
        c.setFont(f);
        c.setTextColor(color);
        const unsigned h = (box.style & kTitleCentred) ? platform::kAlignHCenter
                           : (box.style & kTitleRight) ? platform::kAlignRight
                                                       : platform::kAlignLeft;
        c.drawText(r, h | platform::kAlignVCenter, text);
    }

    void paintElements(platform::Canvas& c) const {
        const TitleBlockEdit& edit = m_editor.m_edit;
        auto colour = [&](Kind kind, std::size_t i, platform::Color normal) {
            const bool chosen = m_editor.m_selected == Selection{kind, static_cast<int>(i)};
            return chosen ? platform::Color{255, 0, 0} : normal;
        };
        for (std::size_t i = 0; i < edit.segments.size(); ++i) {
            const auto& [alive, s] = edit.segments[i];
            if (!alive)
                continue;
            c.setPen({colour(Kind::Segment, i, platform::kBlack), s.penWidth * kScale,
                      platform::Pen::Style::Solid});
            c.drawLine(toPixels(s.x1, s.y1), toPixels(s.x2, s.y2));
        }
        for (std::size_t i = 0; i < edit.programTexts.size(); ++i)
            if (const auto& [alive, t] = edit.programTexts[i]; alive)
                paintText(c, t.font, t.box, titleFieldPlaceholder(t.fieldCode),
                          colour(Kind::ProgramText, i, {0, 0, 255}));
        for (std::size_t i = 0; i < edit.editableTexts.size(); ++i)
            if (const auto& [alive, t] = edit.editableTexts[i]; alive)
                paintText(c, t.font, t.box, t.text.utf8(),
                          colour(Kind::EditableText, i, {0, 128, 0}));
    }

    void paintRubberBand(platform::Canvas& c) const {
        c.setPen({{96, 96, 96}, 0, platform::Pen::Style::Dash});
        c.setBrush({});
        const int step = m_editor.gridStep();
        if (m_editor.m_mode == TitleBlockEditor::Mode::Segments) {
            const Box b = detail::dragSegment(*m_from, m_to, step);
            c.drawLine(toPixels(b.x1, b.y1), toPixels(b.x2, b.y2));
        } else {
            c.drawRect(pixelRect(detail::dragBox(*m_from, m_to, step)));
        }
    }

    TitleBlockEditor& m_editor;
    std::optional<Point> m_from;
    Point m_to;
};

TitleBlockEditor::TitleBlockEditor(TitleBlockEdit& edit, platform::MessageSink& sink,
                                   QWidget* parent)
    : QDialog(parent), m_edit(edit), m_sink(sink) {
    setWindowTitle(QStringLiteral("Редактирование штампа"));
    setWindowState(windowState() | Qt::WindowMaximized);
    auto* layout = new QHBoxLayout(this);
    m_area = new EditorDrawingArea(*this);
    m_scroll = named(new QScrollArea(this), "drawingScroll");
    m_scroll->setWidget(m_area);
    layout->addWidget(m_scroll, 1);
    auto* side = new QScrollArea(this);
    side->setWidget(buildPanel());
    side->setWidgetResizable(true);
    side->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    side->setMinimumWidth(side->widget()->sizeHint().width() + 24);
    layout->addWidget(side);

    m_name->setText(qs(m_edit.name));
    onKindChosen();
    setMode(Mode::Select);
}

QWidget* TitleBlockEditor::buildPanel() {
    auto* panel = new QWidget;
    auto* v = new QVBoxLayout(panel);
    buildChoosers(panel, v);
    buildGeometry(panel, v);
    v->addWidget(buildTextAttributes(panel));
    m_applyOriginal = makeButton("применить к Оригиналу", "applyOriginal", panel);
    m_applyCopy = makeButton("применить к Копии", "applyCopy", panel);
    m_rotate = makeButton("Поворот", "rotate", panel);
    m_delete = makeButton("Удалить элемент", "deleteElement", panel);
    m_delete->setShortcut(QKeySequence::Delete);
    auto* save = makeButton("Сохранить", "save", panel);
    auto* exit = makeButton("Выход", "exit", panel);
    for (auto* b : {m_applyOriginal, m_applyCopy, m_rotate, m_delete, save, exit})
        v->addWidget(b);
    v->addStretch(1);
    connect(save, &QPushButton::clicked, this, &TitleBlockEditor::saveAndClose);
    connect(exit, &QPushButton::clicked, this, &TitleBlockEditor::reject);
    connectControls();
    return panel;
}

void TitleBlockEditor::buildChoosers(QWidget* panel, QVBoxLayout* v) {
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("Наименование :")));
    m_name = named(new QLineEdit(panel), "name");
    m_name->setMaxLength(static_cast<int>(kTitleNameChars));
    nameRow->addWidget(m_name);
    v->addLayout(nameRow);

    auto* modeRow = new QHBoxLayout;
    m_modes = new QButtonGroup(panel);
    const char* modeTexts[] = {"Выбор", "Отрезки", "Программный текст", "Редактируемый текст"};
    const char* modeNames[] = {"modeSelect", "modeSegments", "modeProgram", "modeEditable"};
    for (int i = 0; i < 4; ++i) {
        auto* b = toggle(modeTexts[i], modeNames[i], panel);
        m_modes->addButton(b, i);
        modeRow->addWidget(b);
    }
    v->addLayout(modeRow);

    auto* grid = new QGroupBox(QStringLiteral("Cетка"), panel);
    auto* gridRow = new QHBoxLayout(grid);
    m_grid = named(new QCheckBox(QStringLiteral("Вкл/Выкл"), grid), "gridOn");
    m_grid->setChecked(true);
    m_step = named(new QComboBox(grid), "gridStep");
    for (int s : detail::kGridSteps)
        m_step->addItem(qs(platform::formatTenths(s) + " mm"), s);
    m_step->setCurrentIndex(3);
    gridRow->addWidget(m_grid);
    gridRow->addWidget(new QLabel(QStringLiteral("Шаг:")));
    gridRow->addWidget(m_step);
    v->addWidget(grid);

    m_kind = named(new QComboBox(panel), "elementKind");
    m_kind->addItems({QStringLiteral("Отрезки"), QStringLiteral("Программный текст"),
                      QStringLiteral("Редактируемый текст")});
    m_element = named(new QComboBox(panel), "element");
    v->addWidget(m_kind);
    v->addWidget(m_element);
}

void TitleBlockEditor::buildGeometry(QWidget* panel, QVBoxLayout* v) {
    auto* sizes = new QGroupBox(QStringLiteral("Размеры"), panel);
    m_sizeX = addField(sizes, "X", "sizeX", true);
    m_sizeY = addField(sizes, "Y", "sizeY", true);
    auto* moves = new QGroupBox(QStringLiteral("Перемещение"), panel);
    m_dX = addField(moves, "dX", "dX", false);
    m_dY = addField(moves, "dY", "dY", false);
    auto* coords = new QGroupBox(QStringLiteral("Координаты"), panel);
    m_x1 = addField(coords, "X1", "x1", false);
    m_y1 = addField(coords, "Y1", "y1", false);
    m_x2 = addField(coords, "X2", "x2", false);
    m_y2 = addField(coords, "Y2", "y2", false);
    for (auto* g : {sizes, moves, coords})
        v->addWidget(g);

    v->addWidget(new QLabel(QStringLiteral("Текст надписи")));
    m_text = named(new QLineEdit(panel), "text");
    m_text->setMaxLength(127);
    v->addWidget(m_text);
    v->addWidget(new QLabel(QStringLiteral("Толщина линии")));
    m_lineWidth = named(new QComboBox(panel), "lineWidth");
    for (int w = 1; w <= kMaxLineWidth; ++w)
        m_lineWidth->addItem(qs(platform::formatTenths(w)), w);
    v->addWidget(m_lineWidth);
}

QWidget* TitleBlockEditor::buildTextAttributes(QWidget* panel) {
    auto* textBox = new QGroupBox(QStringLiteral("Атрибуты текста"), panel);
    auto* tv = new QVBoxLayout(textBox);
    m_font = named(new QComboBox(textBox), "fontFamily");
    for (const auto& f : platform::installedFamilies())
        m_font->addItem(qs(f));
    m_font->setCurrentIndex(fontIndex("Arial Cyr"));
    m_size = named(new QSpinBox(textBox), "fontSize");
    m_size->setRange(1, 30);
    m_size->setValue(10);
    auto* styles = new QHBoxLayout;
    m_bold = toggle("Ж", "bold", textBox);
    m_italic = toggle("К", "italic", textBox);
    m_underline = toggle("Ч", "underline", textBox);
    m_align = new QButtonGroup(textBox);
    const char* alignTexts[] = {"Влево", "По центру", "Вправо"};
    const char* alignNames[] = {"alignLeft", "alignCentre", "alignRight"};
    const int alignBits[] = {kTitleLeft, kTitleCentred, kTitleRight};
    for (QWidget* b : std::initializer_list<QWidget*>{m_size, m_bold, m_italic, m_underline})
        styles->addWidget(b);
    for (int i = 0; i < 3; ++i) {
        auto* b = toggle(alignTexts[i], alignNames[i], textBox);
        m_align->addButton(b, alignBits[i]);
        styles->addWidget(b);
    }
    m_align->button(kTitleLeft)->setChecked(true);
    tv->addWidget(m_font);
    tv->addLayout(styles);
    return textBox;
}

void TitleBlockEditor::connectControls() {
    connect(m_modes, &QButtonGroup::idClicked, this, [this](int id) { setMode(Mode(id)); });
    connect(m_grid, &QCheckBox::toggled, m_area, [this] { m_area->update(); });
    connect(m_step, &QComboBox::currentIndexChanged, m_area, [this] { m_area->update(); });
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_loading)
            onKindChosen();
    });
    connect(m_element, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_loading)
            onElementChosen();
    });
    auto rewrite = [this] {
        if (!m_loading)
            rewriteAttributes();
    };
    connect(m_lineWidth, &QComboBox::currentIndexChanged, this, rewrite);
    connect(m_font, &QComboBox::currentIndexChanged, this, rewrite);
    connect(m_size, &QSpinBox::valueChanged, this, rewrite);
    for (auto* b : {m_bold, m_italic, m_underline})
        connect(b, &QAbstractButton::toggled, this, rewrite);
    connect(m_align, &QButtonGroup::idClicked, this, rewrite);
    connect(m_applyOriginal, &QPushButton::clicked, this, [this] { apply(false); });
    connect(m_applyCopy, &QPushButton::clicked, this, [this] { apply(true); });
    connect(m_rotate, &QPushButton::clicked, this, &TitleBlockEditor::rotate);
    connect(m_delete, &QPushButton::clicked, this, &TitleBlockEditor::deleteElement);
}

QLineEdit* TitleBlockEditor::addField(QWidget* group, const char* label, const char* name,
                                      bool size) {
    if (!group->layout())
        new QVBoxLayout(group);
    // One widget per row, so the segment rule can disable a field with its buttons.
    auto* row = new QWidget(group);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    auto* field = named(new QLineEdit(QStringLiteral("0.0"), row), name);
    h->addWidget(new QLabel(QString::fromUtf8(label), row));
    h->addWidget(field, 1);
    for (int sign : {1, -1}) {
        auto* b = named(new QToolButton(row), (std::string(name) + (sign > 0 ? "+" : "-")).c_str());
        b->setText(sign > 0 ? QStringLiteral("+") : QStringLiteral("-"));
        connect(b, &QToolButton::clicked, this, [=, this] { step(field, sign, size); });
        h->addWidget(b);
    }
    group->layout()->addWidget(row);
    return field;
}

void TitleBlockEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    // Once laid out, the origin is brought to the middle of the view.
    QTimer::singleShot(0, this, [this] {
        for (auto* bar : {m_scroll->horizontalScrollBar(), m_scroll->verticalScrollBar()})
            bar->setValue(bar->maximum() / 2);
    });
}

Kind TitleBlockEditor::currentKind() const {
    return Kind(std::max(0, m_kind->currentIndex()));
}

int TitleBlockEditor::gridStep() const {
    return m_step->currentData().toInt();
}

int TitleBlockEditor::currentStyle() const {
    return (m_bold->isChecked() ? kTitleBold : 0) | (m_italic->isChecked() ? kTitleItalic : 0) |
           (m_underline->isChecked() ? kTitleUnderline : 0) | std::max(0, m_align->checkedId());
}

int TitleBlockEditor::fontIndex(const std::string& face) {
    const int found = m_font->findText(qs(face), Qt::MatchFixedString);
    if (found >= 0)
        return found;
    // A stored face not installed here ("Arial Cyr") stays selectable, shown in its stand-in.
    m_font->insertItem(0, qs(face));
    m_font->setItemData(0, platform::fontForFace(face, 10), Qt::FontRole);
    return 0;
}

void TitleBlockEditor::setMode(Mode mode) {
    m_mode = mode;
    m_modes->button(int(mode))->setChecked(true);
    const Kind kinds[] = {Kind::Segment, Kind::Segment, Kind::ProgramText, Kind::EditableText};
    if (mode != Mode::Select && currentKind() != kinds[int(mode)])
        m_kind->setCurrentIndex(int(kinds[int(mode)]));
}

void TitleBlockEditor::refillElements() {
    m_loading = true;
    m_element->clear();
    const Kind kind = currentKind();
    for (const auto& [label, value] : detail::elementEntries(m_edit, kind))
        m_element->addItem(qs(label), value);
    int current = kind == Kind::ProgramText ? m_fieldCode : -1;
    if (m_selected && m_selected->kind == kind)
        current = kind == Kind::ProgramText
                      ? m_edit.programTexts[std::size_t(m_selected->index)].item.fieldCode
                      : m_selected->index;
    m_element->setCurrentIndex(std::max(0, m_element->findData(current)));
    m_loading = false;
}

void TitleBlockEditor::onKindChosen() {
    m_selected.reset();
    refillElements();
    onElementChosen();
}

void TitleBlockEditor::onElementChosen() {
    const Kind kind = currentKind();
    const int chosen = m_element->currentData().toInt();
    m_selected.reset();
    if (kind == Kind::ProgramText) {
        m_fieldCode = chosen;
        for (std::size_t i = 0; i < m_edit.programTexts.size(); ++i)
            if (m_edit.programTexts[i].alive && m_edit.programTexts[i].item.fieldCode == chosen)
                m_selected = Selection{kind, int(i)};
    } else if (m_element->count() > 0) {
        m_selected = Selection{kind, chosen};
    }
    select(m_selected);
}

void TitleBlockEditor::select(std::optional<Selection> s) {
    m_selected = s;
    if (s) {
        if (s->kind == Kind::ProgramText)
            m_fieldCode = m_edit.programTexts[std::size_t(s->index)].item.fieldCode;
        m_loading = true;
        m_kind->setCurrentIndex(int(s->kind));
        m_loading = false;
        refillElements();
    }
    showAttributes();
    updateEnabled();
    m_area->update();
}

void TitleBlockEditor::showAttributes() {
    if (!m_selected)
        return;
    m_loading = true;
    const detail::BoxFields f = detail::fieldsFor(detail::boxOf(m_edit, *m_selected));
    setTenths(m_sizeX, f.sizeX);
    setTenths(m_sizeY, f.sizeY);
    setTenths(m_dX, 0);
    setTenths(m_dY, 0);
    setTenths(m_x1, f.box.x1);
    setTenths(m_y1, f.box.y1);
    setTenths(m_x2, f.box.x2);
    setTenths(m_y2, f.box.y2);
    const auto i = static_cast<std::size_t>(m_selected->index);
    auto showText = [this](const LogFont& font, const TitleTextBox& box) {
        m_font->setCurrentIndex(fontIndex(font.faceName.utf8()));
        m_size->setValue(box.size);
        m_bold->setChecked(box.style & kTitleBold);
        m_italic->setChecked(box.style & kTitleItalic);
        m_underline->setChecked(box.style & kTitleUnderline);
        const int align = box.style & (kTitleCentred | kTitleRight);
        m_align->button(align & kTitleCentred ? kTitleCentred
                        : align               ? kTitleRight
                                              : kTitleLeft)
            ->setChecked(true);
    };
    if (m_selected->kind == Kind::Segment) {
        m_lineWidth->setCurrentIndex(
            std::clamp(m_edit.segments[i].item.penWidth - 1, 0, kMaxLineWidth - 1));
    } else if (m_selected->kind == Kind::ProgramText) {
        showText(m_edit.programTexts[i].item.font, m_edit.programTexts[i].item.box);
    } else {
        const auto& t = m_edit.editableTexts[i].item;
        showText(t.font, t.box);
        m_text->setText(qs(t.text.utf8()));
    }
    m_loading = false;
}

void TitleBlockEditor::updateEnabled() {
    const bool chosen = m_selected.has_value();
    for (auto* b : {m_applyOriginal, m_applyCopy, m_rotate, m_delete})
        b->setEnabled(chosen);
    m_applyCopy->setEnabled(chosen && m_selected->kind != Kind::ProgramText);
    bool vertical = false, horizontal = false;
    if (chosen && m_selected->kind == Kind::Segment) {
        vertical = detail::segmentVertical(m_edit.segments[std::size_t(m_selected->index)].item);
        horizontal = !vertical;
    }
    for (auto* f : {m_sizeX, m_x2})
        f->parentWidget()->setEnabled(!vertical);
    for (auto* f : {m_sizeY, m_y2})
        f->parentWidget()->setEnabled(!horizontal);
}

void TitleBlockEditor::changed() {
    if (auto st = m_edit.flush(); !st)
        m_sink.report(st.error());
    m_area->update();
}

void TitleBlockEditor::rewriteAttributes() {
    if (!m_selected)
        return;
    const auto i = static_cast<std::size_t>(m_selected->index);
    auto rewrite = [this](LogFont& font, TitleTextBox& box) {
        font = logFontFor(m_font->currentText().toStdString());
        box.size = static_cast<std::int16_t>(m_size->value());
        box.style = static_cast<std::int16_t>(currentStyle());
    };
    if (m_selected->kind == Kind::Segment)
        m_edit.segments[i].item.penWidth =
            static_cast<std::int16_t>(m_lineWidth->currentData().toInt());
    else if (m_selected->kind == Kind::ProgramText)
        rewrite(m_edit.programTexts[i].item.font, m_edit.programTexts[i].item.box);
    else
        rewrite(m_edit.editableTexts[i].item.font, m_edit.editableTexts[i].item.box);
    changed();
}

void TitleBlockEditor::onClick(Point p) {
    if (auto s = detail::nearestElement(m_edit, p))
        select(s);
}

void TitleBlockEditor::onDrag(Point a, Point b) {
    const int step = gridStep();
    if (m_mode == Mode::Segments) {
        const Box box = detail::dragSegment(a, b, step);
        if (box.x1 != box.x2 || box.y1 != box.y2)
            place(Kind::Segment, box);
        return;
    }
    const Box box = detail::dragBox(a, b, step);
    if (box.x1 == box.x2 || box.y1 == box.y2)
        return;
    if (m_mode == Mode::ProgramTexts && m_edit.fieldUsed(m_fieldCode)) {
        m_sink.show("Предупреждение", "Текущее поле уже существует...", platform::Icon::Warning);
        return;
    }
    place(m_mode == Mode::ProgramTexts ? Kind::ProgramText : Kind::EditableText, box);
}

void TitleBlockEditor::place(Kind kind, const Box& box) {
    TitleTextBox textBox;
    textBox.size = static_cast<std::int16_t>(m_size->value());
    textBox.style = static_cast<std::int16_t>(currentStyle());
    const LogFont font = logFontFor(m_font->currentText().toStdString());
    int index = 0;
    if (kind == Kind::Segment) {
        TitleSegment s;
        s.penWidth = static_cast<std::int16_t>(m_lineWidth->currentData().toInt());
        m_edit.segments.push_back({true, s});
        index = int(m_edit.segments.size()) - 1;
    } else if (kind == Kind::ProgramText) {
        m_edit.programTexts.push_back(
            {true, {static_cast<std::int16_t>(m_fieldCode), font, textBox}});
        index = int(m_edit.programTexts.size()) - 1;
    } else {
        TitleEditableText t;
        t.text.setUtf8(m_text->text().toStdString());
        t.font = font;
        t.box = textBox;
        m_edit.editableTexts.push_back({true, t});
        index = int(m_edit.editableTexts.size()) - 1;
    }
    detail::setBox(m_edit, {kind, index}, box);
    changed();
    select(Selection{kind, index});
}

void TitleBlockEditor::warnBounds() {
    m_sink.show("Устраните ошибку", "Элемент вышел за допустимые границы (-30.0,+30.0)",
                platform::Icon::Warning);
}

void TitleBlockEditor::apply(bool asCopy) {
    if (!m_selected)
        return;
    detail::BoxFields f;
    f.sizeX = std::max(0, tenthsOf(m_sizeX));
    f.sizeY = std::max(0, tenthsOf(m_sizeY));
    f.dX = tenthsOf(m_dX);
    f.dY = tenthsOf(m_dY);
    f.box = {tenthsOf(m_x1), tenthsOf(m_y1), tenthsOf(m_x2), tenthsOf(m_y2)};
    const auto applied =
        detail::applyEdit(m_edit, *m_selected, f, m_text->text().toStdString(), asCopy);
    if (!applied) {
        m_sink.show("Предупреждение", "Текущее поле уже существует...", platform::Icon::Warning);
        return;
    }
    changed();
    select(applied->element);
    if (applied->outOfBounds)
        warnBounds();
}

void TitleBlockEditor::rotate() {
    if (!m_selected)
        return;
    const bool out = detail::rotateElement(m_edit, *m_selected);
    changed();
    select(m_selected);
    if (out)
        warnBounds();
}

void TitleBlockEditor::deleteElement() {
    if (!m_selected)
        return;
    const auto i = static_cast<std::size_t>(m_selected->index);
    if (m_selected->kind == Kind::Segment)
        m_edit.segments[i].alive = false;
    else if (m_selected->kind == Kind::ProgramText)
        m_edit.programTexts[i].alive = false;
    else
        m_edit.editableTexts[i].alive = false;
    changed();
    onKindChosen();
}

void TitleBlockEditor::step(QLineEdit* field, int sign, bool size) {
    const int v = tenthsOf(field) + sign * gridStep();
    setTenths(field, size ? std::max(0, v) : v);
}

void TitleBlockEditor::saveAndClose() {
    m_edit.name = m_name->text().left(int(kTitleNameChars)).toStdString();
    QDialog::accept();
}

void TitleBlockEditor::reject() {
    switch (
        m_sink.askYesNoCancel("Редактирование штампов - выход", "Сохранить текущие изменения ?")) {
    case platform::Answer::Yes:
        saveAndClose();
        break;
    case platform::Answer::No:
        QDialog::reject();
        break;
    case platform::Answer::Cancel:
        break;
    }
}

} // namespace orvo::dict::ui
