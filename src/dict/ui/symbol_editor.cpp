// Widgets of the symbol editor "Редактирование значка", its picture and its help pages; the
// editing rules are in dict/symbol.
#include "dict/ui/symbol_dialogs.h"

#include "platform/ui/qpainter_canvas.h"
#include "platform/ui/widgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdio>

namespace orvo::dict::ui {

using platform::ui::makeButton;
using platform::ui::named;
using platform::ui::qs;

namespace {

QString numbered(const char* format, int n, const char* text = "") {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, n);
    return QString::fromUtf8(buf) + QString::fromUtf8(text);
}

constexpr double kInchPerHundredthMm = 0.0003937007874015748;

} // namespace

// The editor's picture of the symbol as it stands, the current element outlined in red.
class SymbolPicture : public QWidget {
public:
    explicit SymbolPicture(SymbolEditorDialog& editor) : m_editor(editor) {
        setObjectName(QStringLiteral("picture"));
        setMinimumSize(240, 240);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const auto elements = m_editor.m_edit.inDrawingOrder();
        std::optional<double> real;
        if (m_editor.m_realScale->isChecked())
            real = logicalDpiX() * kInchPerHundredthMm;
        const auto placement = editorTransform(elements, {double(width()), double(height())}, real);
        if (!placement)
            return;
        SymbolHighlight highlight;
        highlight.transparent = m_editor.m_transparent->isChecked();
        const auto& order = m_editor.m_edit.order();
        if (m_editor.m_current)
            highlight.current = static_cast<int>(
                std::find(order.begin(), order.end(), *m_editor.m_current) - order.begin());
        platform::QPainterCanvas canvas(painter);
        DrawSymbolElements(canvas, elements, *placement, highlight);
    }

private:
    SymbolEditorDialog& m_editor;
};

SymbolEditorDialog::SymbolEditorDialog(SymbolEdit& edit, const platform::WorkFolder& folder,
                                       platform::MessageSink& sink, AskSaveDuplicate askDuplicate,
                                       QWidget* parent)
    : QDialog(parent), m_edit(edit), m_folder(folder), m_sink(sink),
      m_askDuplicate(std::move(askDuplicate)) {
    auto* layout = new QHBoxLayout(this);
    auto* lists = new QWidget(this);
    buildLists(lists);
    layout->addWidget(lists);
    layout->addWidget(buildAttributes());

    auto* right = new QVBoxLayout;
    m_picture = new SymbolPicture(*this);
    right->addWidget(m_picture, 1);
    m_realScale = named(new QCheckBox(QStringLiteral("Реальный масштаб"), this), "realScale");
    m_transparent = named(new QCheckBox(QStringLiteral("Прозрачный режим"), this), "transparent");
    for (auto* box : {m_realScale, m_transparent}) {
        connect(box, &QCheckBox::toggled, m_picture, [this] { m_picture->update(); });
        right->addWidget(box);
    }
    auto* buttons = new QHBoxLayout;
    auto* help = makeButton("Помощь", "help", this);
    auto* save = makeButton("Сохранить", "save", this);
    auto* cancel = makeButton("Отмена", "cancel", this);
    connect(help, &QPushButton::clicked, this, [this] { showHelp(); });
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    for (auto* b : {help, save, cancel})
        buttons->addWidget(b);
    right->addLayout(buttons);
    layout->addLayout(right, 1);

    m_name->setText(qs(m_edit.name));
    setWindowTitle(QStringLiteral("Редактирование значка - ") + m_name->text());
    if (m_edit.order().empty())
        chooseType(kSymbolSegment);
    else
        choose(m_edit.order().front());
}

void SymbolEditorDialog::buildLists(QWidget* box) {
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    m_name = named(new QLineEdit(box), "name");
    connect(m_name, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_edit.name = text.toStdString();
        setWindowTitle(QStringLiteral("Редактирование значка - ") + text);
    });
    layout->addWidget(m_name);
    m_types = named(new QListWidget(box), "types");
    for (int t = 0; t < kSymbolTypeCount; ++t)
        m_types->addItem(QString::fromUtf8(symbolTypeName(t)));
    connect(m_types, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling && row >= 0)
            chooseType(row);
    });
    layout->addWidget(m_types);

    m_elements = named(new QListWidget(box), "elements");
    connect(m_elements, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling && row >= 0)
            choose(SymbolElementRef{m_type, row});
    });
    layout->addWidget(m_elements);
    auto* elementButtons = new QHBoxLayout;
    m_addElement = makeButton("Добавить", "addElement", box);
    m_removeElement = makeButton("Удалить", "removeElement", box);
    connect(m_addElement, &QPushButton::clicked, this, [this] { addElement(); });
    connect(m_removeElement, &QPushButton::clicked, this, [this] { removeElement(); });
    elementButtons->addWidget(m_addElement);
    elementButtons->addWidget(m_removeElement);
    layout->addLayout(elementButtons);

    m_points = named(new QListWidget(box), "points");
    connect(m_points, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling && row >= 0) {
            m_point = row;
            showElement();
        }
    });
    layout->addWidget(m_points);
    auto* pointButtons = new QHBoxLayout;
    m_addPoint = makeButton("Добавить точку", "addPoint", box);
    m_removePoint = makeButton("Удалить точку", "removePoint", box);
    connect(m_addPoint, &QPushButton::clicked, this, [this] { addPoint(); });
    connect(m_removePoint, &QPushButton::clicked, this, [this] { removePoint(); });
    pointButtons->addWidget(m_addPoint);
    pointButtons->addWidget(m_removePoint);
    layout->addLayout(pointButtons);
}

QWidget* SymbolEditorDialog::buildAttributes() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("X"), box), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Y"), box), 0, 2);
    static constexpr const char* kXNames[] = {"x1", "x2", "x3", "x4"};
    static constexpr const char* kYNames[] = {"y1", "y2", "y3", "y4"};
    for (int i = 0; i < 4; ++i) {
        const auto u = static_cast<std::size_t>(i);
        grid->addWidget(new QLabel(numbered("%d", i + 1), box), i + 1, 0);
        m_x[u] = named(new QLineEdit(box), kXNames[u]);
        m_y[u] = named(new QLineEdit(box), kYNames[u]);
        grid->addWidget(m_x[u], i + 1, 1);
        grid->addWidget(m_y[u], i + 1, 2);
    }
    grid->addWidget(new QLabel(QStringLiteral("Толщина:"), box), 5, 0);
    m_penWidth = named(new QLineEdit(box), "penWidth");
    grid->addWidget(m_penWidth, 5, 1);
    for (auto* field : {m_x[0], m_x[1], m_x[2], m_x[3], m_y[0], m_y[1], m_y[2], m_y[3], m_penWidth})
        connect(field, &QLineEdit::editingFinished, this, [this, field] { takeField(field); });
    layout->addLayout(grid);

    static constexpr const char* kKindTexts[] = {"нет", "белый", "черный"};
    static constexpr const char* kPenNames[] = {"penNone", "penWhite", "penBlack"};
    static constexpr const char* kBrushNames[] = {"brushNone", "brushWhite", "brushBlack"};
    for (const bool pen : {true, false}) {
        layout->addWidget(
            new QLabel(pen ? QStringLiteral("Цвет линии:") : QStringLiteral("Цвет заливки:"), box));
        auto* row = new QHBoxLayout;
        for (int kind = 0; kind < 3; ++kind) {
            const auto u = static_cast<std::size_t>(kind);
            auto* b = named(new QToolButton(box), pen ? kPenNames[u] : kBrushNames[u]);
            b->setText(QString::fromUtf8(kKindTexts[u]));
            b->setCheckable(true);
            connect(b, &QToolButton::clicked, this, [this, pen, kind] { setKind(pen, kind); });
            (pen ? m_pen : m_brush)[u] = b;
            row->addWidget(b);
        }
        layout->addLayout(row);
    }

    layout->addWidget(new QLabel(QStringLiteral("Порядок:"), box));
    m_order = named(new QListWidget(box), "order");
    connect(m_order, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling && row >= 0 && row < static_cast<int>(m_edit.order().size()))
            choose(m_edit.order()[static_cast<std::size_t>(row)]);
    });
    layout->addWidget(m_order);
    auto* moves = new QHBoxLayout;
    auto* up = makeButton("Вверх", "up", box);
    auto* down = makeButton("Вниз", "down", box);
    connect(up, &QPushButton::clicked, this, [this] { moveInOrder(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveInOrder(+1); });
    moves->addWidget(up);
    moves->addWidget(down);
    layout->addLayout(moves);
    return box;
}

void SymbolEditorDialog::chooseType(int type) {
    m_type = type;
    const auto& of = m_edit.elementsOf(type);
    choose(of.empty() ? std::nullopt : std::optional(SymbolElementRef{type, 0}));
}

void SymbolEditorDialog::choose(std::optional<SymbolElementRef> ref) {
    m_current = ref && m_edit.element(*ref) ? ref : std::nullopt;
    if (m_current)
        m_type = m_current->type;
    m_point = 0;
    m_filling = true;
    m_types->setCurrentRow(m_type);
    m_filling = false;
    refillElements();
    refillOrder();
    showElement();
}

void SymbolEditorDialog::refillElements() {
    m_filling = true;
    m_elements->clear();
    const auto& of = m_edit.elementsOf(m_type);
    for (std::size_t i = 0; i < of.size(); ++i)
        m_elements->addItem(numbered("%3.3d ", static_cast<int>(i) + 1, symbolTypeName(m_type)));
    m_elements->setCurrentRow(m_current ? m_current->number : -1);
    m_filling = false;
    m_addElement->setEnabled(m_edit.canAdd(m_type));
    m_removeElement->setEnabled(m_current.has_value());
}

void SymbolEditorDialog::refillOrder() {
    m_filling = true;
    m_order->clear();
    int row = -1;
    for (const auto& ref : m_edit.order()) {
        if (m_current && ref == *m_current)
            row = m_order->count();
        m_order->addItem(QString::fromUtf8(symbolTypeName(ref.type)) +
                         numbered(" %d ", ref.number + 1));
    }
    m_order->setCurrentRow(row);
    m_filling = false;
}

std::int32_t* SymbolEditorDialog::valueOf(QLineEdit* field) {
    SymbolElement* e = m_current ? m_edit.element(*m_current) : nullptr;
    if (!e)
        return nullptr;
    if (field == m_penWidth)
        return &e->penWidth;
    for (std::size_t i = 0; i < 4; ++i) {
        if (field != m_x[i] && field != m_y[i])
            continue;
        // The polygon edits its current point in the first pair of fields.
        const std::size_t at = e->type == kSymbolPolygon ? static_cast<std::size_t>(m_point) : i;
        const bool usable = e->type == kSymbolPolygon
                                ? i == 0
                                : static_cast<int>(i) < symbolFieldsFor(e->type).points;
        if (!usable || at >= e->points.size())
            return nullptr;
        return field == m_x[i] ? &e->points[at].x : &e->points[at].y;
    }
    return nullptr;
}

void SymbolEditorDialog::showElement() {
    const SymbolElement* e = m_current ? m_edit.element(*m_current) : nullptr;
    const SymbolFields fields = symbolFieldsFor(e ? e->type : -1);
    m_filling = true;
    m_points->clear();
    if (e && fields.pointList) {
        for (std::size_t i = 0; i < e->points.size(); ++i)
            m_points->addItem(numbered("Точка %3.3d", static_cast<int>(i) + 1));
        m_points->setCurrentRow(m_point);
    }
    m_points->setEnabled(e && fields.pointList);
    m_addPoint->setEnabled(m_current && m_edit.canInsertPoint(*m_current));
    m_removePoint->setEnabled(m_current && m_edit.canRemovePoint(*m_current));
    for (auto* field :
         {m_x[0], m_x[1], m_x[2], m_x[3], m_y[0], m_y[1], m_y[2], m_y[3], m_penWidth}) {
        const std::int32_t* v = valueOf(field);
        field->setEnabled(v != nullptr);
        field->setText(v ? qs(formatSymbolCoordinate(*v)) : QString());
    }
    for (int kind = 0; kind < 3; ++kind) {
        const auto u = static_cast<std::size_t>(kind);
        m_pen[u]->setEnabled(e != nullptr);
        m_pen[u]->setChecked(e && e->penKind == kind);
        m_brush[u]->setEnabled(e && fields.fill);
        m_brush[u]->setChecked(e && fields.fill && e->brushKind == kind);
    }
    m_filling = false;
    m_picture->update();
}

void SymbolEditorDialog::takeField(QLineEdit* field) {
    std::int32_t* v = m_filling ? nullptr : valueOf(field);
    if (!v)
        return;
    const std::int32_t taken = parseSymbolCoordinate(field->text().toStdString());
    field->setText(qs(formatSymbolCoordinate(taken)));
    if (*v != taken) {
        *v = taken;
        m_picture->update();
    }
}

void SymbolEditorDialog::setKind(bool pen, int kind) {
    if (SymbolElement* e = m_current ? m_edit.element(*m_current) : nullptr)
        (pen ? e->penKind : e->brushKind) = kind;
    showElement();
}

void SymbolEditorDialog::addElement() {
    if (const auto ref = m_edit.add(m_type))
        choose(ref);
}

void SymbolEditorDialog::removeElement() {
    if (!m_current)
        return;
    const SymbolElementRef gone = *m_current;
    m_edit.remove(gone);
    const int left = static_cast<int>(m_edit.elementsOf(gone.type).size());
    choose(left == 0 ? std::nullopt
                     : std::optional(SymbolElementRef{gone.type, std::min(gone.number, left - 1)}));
}

void SymbolEditorDialog::addPoint() {
    if (m_current && m_edit.insertPoint(*m_current, m_point)) {
        ++m_point;
        showElement();
    }
}

void SymbolEditorDialog::removePoint() {
    if (!m_current || !m_edit.removePoint(*m_current, m_point))
        return;
    m_point = std::min(m_point, static_cast<int>(m_edit.element(*m_current)->points.size()) - 1);
    showElement();
}

void SymbolEditorDialog::moveInOrder(int delta) {
    if (m_edit.move(m_order->currentRow(), delta)) {
        refillOrder();
        m_picture->update();
    }
}

void SymbolEditorDialog::save() {
    // A number still being typed counts, as leaving its field for the button would take it.
    if (auto* field = qobject_cast<QLineEdit*>(focusWidget()))
        takeField(field);
    auto outcome = m_edit.save(m_folder, [this] { return m_askDuplicate(m_edit.name); });
    if (!outcome) {
        m_sink.report(outcome.error());
        return;
    }
    switch (outcome->step) {
    case SymbolSaveOutcome::Step::KeepEditing:
        return;
    case SymbolSaveOutcome::Step::Left:
        reject();
        return;
    case SymbolSaveOutcome::Step::Saved:
        m_saved = outcome->slot;
        accept();
        return;
    }
}

void SymbolEditorDialog::showHelp() {
    SymbolHelpDialog help(m_type, this);
    help.exec();
}

int EditSymbol(const platform::WorkFolder& folder, platform::MessageSink& sink, int index,
               const AskSaveDuplicate& askDuplicate, QWidget* parent) {
    SymbolEdit edit = SymbolEdit::New();
    if (index > 0) {
        auto loaded = SymbolEdit::Load(folder, index);
        if (!loaded) {
            sink.report(loaded.error());
            return 0;
        }
        edit = std::move(*loaded);
    }
    SymbolEditorDialog dialog(edit, folder, sink, askDuplicate, parent);
    dialog.exec();
    return dialog.savedSlot();
}

// ---- help ----

namespace {

constexpr const char* kHelpTitles[] = {"Отрезок",       "Полигон",       "Прямоугольник",
                                       "Элипс",         "Дуга элипсa",   "Сегмент элипсa",
                                       "Сектор элипсa", "Общие указания"};
constexpr const char* kGeneralLines[] = {"- Координаты задаются в мм",
                                         "- Все числа должны быть положительные",
                                         "  и не должны превышать 20 мм",
                                         "- Направление оси ОХ - слева-направо",
                                         "- Направление оси ОY - сверху-вниз",
                                         "- Порядок задает последовательность",
                                         "  отрисовки элементов",
                                         "- Чертеж центрируется автоматически",
                                         "- Дуги рисуются против часовой стрелки",
                                         "  по направлению от точки 3 до точки 4",
                                         "- Полигон заполняется текущим цветом,",
                                         "  если он замкнут",
                                         "  (первая и последняя точки равны)"};

struct Sketch {
    SymbolElement element;
    std::vector<const char*> labels; // one per point; "Центр" is added for the arc kinds
};

Sketch sketchFor(int type) {
    Sketch s;
    s.element.type = type;
    s.element.brushKind = 0;
    if (type == kSymbolSegment) {
        s.element.points = {{300, 1500}, {1700, 500}};
        s.labels = {"T1", "T2"};
    } else if (type == kSymbolPolygon) {
        s.element.points = {{300, 1500}, {1000, 300}, {1700, 1300}};
        s.labels = {"T1-1", "T1-2", "T1-3"};
    } else if (type == kSymbolRectangle || type == kSymbolEllipse) {
        s.element.points = {{300, 400}, {1700, 1600}};
        s.labels = {"T1", "T2"};
    } else {
        s.element.points = {{300, 400}, {1700, 1600}, {1800, 500}, {200, 700}};
        s.labels = {"T1", "T2", "T3", "T4"};
    }
    return s;
}

} // namespace

// A sketch of one primitive with its labelled points.
class SymbolSketch : public QWidget {
public:
    explicit SymbolSketch(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("sketch"));
        setMinimumSize(320, 260);
    }
    void setType(int type) {
        m_type = type;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (m_type < 0 || m_type >= kSymbolTypeCount)
            return;
        const Sketch s = sketchFor(m_type);
        const auto scale = static_cast<float>(std::min(width(), height()) / 2000.0);
        const SymbolTransform at{{0, 0}, 0, 0, scale, scale};
        platform::QPainterCanvas canvas(painter);
        const auto& p = s.element.points;
        if (p.size() == 4 || m_type == kSymbolEllipse) {
            // The bounding box, and for the arc kinds the rays from the centre.
            painter.setPen(QPen(Qt::gray, 0, Qt::DashLine));
            const auto a = at.map(p[0]), b = at.map(p[1]);
            painter.drawRect(QRectF(QPointF(a.x, a.y), QPointF(b.x, b.y)));
            const QPointF centre((a.x + b.x) / 2, (a.y + b.y) / 2);
            if (p.size() == 4) {
                for (std::size_t i = 2; i < 4; ++i)
                    painter.drawLine(centre, QPointF(at.map(p[i]).x, at.map(p[i]).y));
                painter.setPen(Qt::black);
                painter.drawText(centre + QPointF(4, -4), QStringLiteral("Центр"));
            }
        }
        DrawSymbolElements(canvas, {s.element}, at);
        painter.setPen(Qt::black);
        for (std::size_t i = 0; i < p.size() && i < s.labels.size(); ++i) {
            const auto q = at.map(p[i]);
            painter.drawText(QPointF(q.x + 4, q.y - 4), QString::fromUtf8(s.labels[i]));
        }
    }

private:
    int m_type = -1;
};

SymbolHelpDialog::SymbolHelpDialog(int type, QWidget* parent)
    : QDialog(parent), m_page(std::clamp(type, 0, kGeneralPage)) {
    setWindowTitle(QStringLiteral("Помощь - Редактирование значков"));
    auto* layout = new QVBoxLayout(this);
    m_title = named(new QLabel(this), "title");
    m_sketch = new SymbolSketch(this);
    m_lines = named(new QLabel(this), "lines");
    layout->addWidget(m_title);
    layout->addWidget(m_sketch, 1);
    layout->addWidget(m_lines, 1);
    auto* row = new QHBoxLayout;
    m_prev = makeButton("<<", "prev", this);
    m_next = makeButton(">>", "next", this);
    connect(m_prev, &QPushButton::clicked, this, [this] { turn(-1); });
    connect(m_next, &QPushButton::clicked, this, [this] { turn(+1); });
    row->addWidget(m_prev);
    row->addWidget(m_next);
    layout->addLayout(row);
    showPage();
}

void SymbolHelpDialog::turn(int delta) {
    m_page = std::clamp(m_page + delta, 0, kGeneralPage);
    showPage();
}

void SymbolHelpDialog::showPage() {
    m_title->setText(QString::fromUtf8(kHelpTitles[m_page]));
    const bool general = m_page == kGeneralPage;
    QStringList lines;
    for (const char* line : kGeneralLines)
        lines << QString::fromUtf8(line);
    m_lines->setText(general ? lines.join(QLatin1Char('\n')) : QString());
    m_lines->setVisible(general);
    m_sketch->setVisible(!general);
    m_sketch->setType(general ? -1 : m_page);
    m_prev->setEnabled(m_page > 0);
    m_next->setEnabled(m_page < kGeneralPage);
}

} // namespace orvo::dict::ui
