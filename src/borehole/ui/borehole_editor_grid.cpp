// The borehole editor's grid: the current table drawn row by row, with the current row edited
// in place, and the line edit that knows whether the user changed it.
#include "borehole/ui/borehole_editor.h"

#include "platform/codepage.h"
#include "platform/numbers.h"
#include "platform/ui/qt_fonts.h"
#include "platform/ui/widgets.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace orvo::borehole::ui {

using platform::ui::qs;

namespace {

constexpr const char* kUndefinedType = "*** Не определен ***";
constexpr int kPadding = 3;

} // namespace

FieldEdit::FieldEdit(const char* objectName, QWidget* parent) : QLineEdit(parent) {
    setObjectName(QString::fromLatin1(objectName));
}

void FieldEdit::showText(const QString& text) {
    setText(text);
    // What the edit really holds: a text longer than the edit's limit arrives cut.
    m_shown = QLineEdit::text();
}

BoreholeGrid::BoreholeGrid(QWidget* parent)
    : QWidget(parent), m_font(platform::fontForFace("MS Sans Serif", 8, QFont::Bold)) {
    setObjectName(QStringLiteral("grid"));
    // The focus belongs to the row's edits; a click on the grid only chooses where it goes.
    setFocusPolicy(Qt::NoFocus);
    m_text = new FieldEdit("cellText", this);
    m_depth = new FieldEdit("cellDepth", this);
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("cellType"));
    m_scroll = new QScrollBar(Qt::Vertical, this);
    m_scroll->setObjectName(QStringLiteral("gridScroll"));
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setPageStep(kVisibleRows);
    for (QWidget* w : {static_cast<QWidget*>(m_text), static_cast<QWidget*>(m_depth),
                       static_cast<QWidget*>(m_type)}) {
        w->installEventFilter(this);
        w->setFont(m_font);
    }
    const int fontRow = QFontMetrics(m_font).height() + 2 * kPadding;
    m_rowHeight = std::max({fontRow, m_text->sizeHint().height(), m_type->sizeHint().height()});

    connect(m_text, &QLineEdit::editingFinished, this, [this] { commit(); });
    connect(m_depth, &QLineEdit::editingFinished, this, [this] { commit(); });
    connect(m_type, &QComboBox::activated, this, [this](int i) {
        if (!m_table || i < 0)
            return;
        commit();
        m_table->setType(static_cast<std::int16_t>(m_type->itemData(i).toInt()));
        loadEditors();
    });
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int v) {
        if (!m_loading)
            moveTo(v);
    });
    setFixedSize(sizeHint());
}

BoreholeGrid::~BoreholeGrid() {
    // The edits outlive this part of the object and report losing the focus as they go.
    for (QObject* w : std::initializer_list<QObject*>{m_text, m_depth, m_type, m_scroll})
        disconnect(w, nullptr, this, nullptr);
}

void BoreholeGrid::setTable(EditTable* table, TableKind kind, std::vector<TypeName> types) {
    m_table = table;
    m_kind = kind;
    m_types = std::move(types);
    m_text->setVisible(kind != TableKind::Samples);
    m_text->setMaxLength(std::max(1, static_cast<int>(table->textWidth())));
    loadEditors();
}

void BoreholeGrid::setTypes(std::vector<TypeName> types) {
    m_types = std::move(types);
    commit();
    loadEditors();
}

const std::vector<BoreholeGrid::Cell>& BoreholeGrid::columns() const {
    static const std::vector<Cell> withText{Cell::Number, Cell::Text, Cell::Depth, Cell::Type};
    static const std::vector<Cell> samples{Cell::Number, Cell::Type, Cell::Depth};
    return m_kind == TableKind::Samples ? samples : withText;
}

int BoreholeGrid::columnWidth(Cell cell) {
    switch (cell) {
    case Cell::Number:
        return 40;
    case Cell::Text:
        return 100;
    case Cell::Depth:
        return 80;
    case Cell::Type:
        return 250;
    }
    return 0;
}

int BoreholeGrid::columnX(int column) const {
    int x = 0;
    for (int c = 0; c < column; ++c)
        x += columnWidth(cellAt(c));
    return x;
}

int BoreholeGrid::headerHeight() const {
    return 2 * fontMetrics().height() + 2 * kPadding;
}

QSize BoreholeGrid::sizeHint() const {
    int width = 0;
    for (Cell c : {Cell::Number, Cell::Text, Cell::Depth, Cell::Type})
        width += columnWidth(c);
    return {width + m_scroll->sizeHint().width(), headerHeight() + kVisibleRows * m_rowHeight};
}

QRect BoreholeGrid::cellRect(int row, int column) const {
    const int first = m_table ? m_table->firstVisible() : 0;
    return {columnX(column), headerHeight() + (row - first) * m_rowHeight,
            columnWidth(cellAt(column)), m_rowHeight};
}

QString BoreholeGrid::headingText(int column) const {
    switch (cellAt(column)) {
    case Cell::Number:
        return {};
    case Cell::Text:
        return m_kind == TableKind::Ige ? QStringLiteral("Номер ИГЭ") : QStringLiteral("Дата");
    case Cell::Depth:
        if (m_kind == TableKind::Ige)
            return QStringLiteral("Глубина\nподошвы");
        return m_kind == TableKind::Water ? QStringLiteral("Глубина\nгоризонта")
                                          : QStringLiteral("Глубина");
    case Cell::Type:
        if (m_kind == TableKind::Ige)
            return QStringLiteral("Показатель текучести,\nвлажность");
        return m_kind == TableKind::Water ? QStringLiteral("Тип горизонта")
                                          : QStringLiteral("Тип пробы");
    }
    return {};
}

QString BoreholeGrid::typeName(std::int16_t type) const {
    const auto it = std::find_if(m_types.begin(), m_types.end(),
                                 [type](const TypeName& t) { return t.index == type; });
    return it == m_types.end() ? qs(kUndefinedType) : it->name;
}

QString BoreholeGrid::depthText(int row) const {
    const float depth = m_table->row(row).depth;
    // The empty last row stays blank until something is typed into it.
    if (depth == 0 && row >= m_table->count())
        return {};
    return qs(platform::formatFixed(depth, 2));
}

QString BoreholeGrid::cellText(int row, int column) const {
    if (!m_table || row < 0 || row >= m_table->rowsShown())
        return {};
    const TableRow& r = m_table->row(row);
    switch (cellAt(column)) {
    case Cell::Number:
        return QStringLiteral("%1").arg(row + 1, 3, 10, QLatin1Char('0'));
    case Cell::Text:
        return qs(platform::cp1251ToUtf8(r.text));
    case Cell::Depth:
        return depthText(row);
    case Cell::Type:
        if (r.type == 0 && row >= m_table->count())
            return {};
        return typeName(r.type);
    }
    return {};
}

void BoreholeGrid::commit() {
    if (!m_table)
        return;
    if (m_kind != TableKind::Samples && m_text->edited()) {
        m_table->setText(platform::utf8ToCp1251(m_text->text().toStdString()));
        m_text->showText(qs(platform::cp1251ToUtf8(m_table->row(m_table->current()).text)));
    }
    if (m_depth->edited()) {
        m_table->setDepth(
            platform::toFloat32(platform::parseDecimal(m_depth->text().toStdString())));
        m_depth->showText(depthText(m_table->current()));
    }
    update();
}

void BoreholeGrid::refresh() {
    loadEditors();
}

void BoreholeGrid::moveTo(int row) {
    if (!m_table)
        return;
    commit();
    m_table->setCurrent(row, kVisibleRows);
    loadEditors();
}

void BoreholeGrid::loadEditors() {
    if (!m_table)
        return;
    m_loading = true;
    const int current = m_table->current();
    const TableRow& r = m_table->row(current);
    m_text->showText(qs(platform::cp1251ToUtf8(r.text)));
    // As the grid shows it: "0.00" for a stored zero, blank only on the empty last row.
    m_depth->showText(depthText(current));
    m_type->clear();
    for (const TypeName& t : m_types)
        m_type->addItem(t.name, t.index);
    const int chosen = m_type->findData(static_cast<int>(r.type));
    if (chosen < 0) {
        // The row keeps its index until the user picks a type; the entry only names the lack.
        m_type->insertItem(0, qs(kUndefinedType), static_cast<int>(r.type));
        m_type->setCurrentIndex(0);
    } else {
        m_type->setCurrentIndex(chosen);
    }
    m_scroll->setRange(0, m_table->rowsShown() - 1);
    m_scroll->setValue(current);
    placeEditors();
    m_loading = false;
    update();
}

QWidget* BoreholeGrid::editorFor(Cell cell) const {
    switch (cell) {
    case Cell::Text:
        return m_text;
    case Cell::Depth:
        return m_depth;
    case Cell::Type:
        return m_type;
    case Cell::Number:
        break;
    }
    return m_kind == TableKind::Samples ? static_cast<QWidget*>(m_type) : m_text;
}

void BoreholeGrid::placeEditors() {
    const int current = m_table->current();
    for (int c = 0; c < columnCount(); ++c) {
        if (cellAt(c) != Cell::Number)
            editorFor(cellAt(c))->setGeometry(cellRect(current, c));
    }
    m_scroll->setGeometry(width() - m_scroll->sizeHint().width(), headerHeight(),
                          m_scroll->sizeHint().width(), kVisibleRows * m_rowHeight);
}

bool BoreholeGrid::moveKey(int key) {
    if (!m_table)
        return false;
    const int current = m_table->current();
    switch (key) {
    case Qt::Key_Up:
        moveTo(current - 1);
        return true;
    case Qt::Key_Down:
        moveTo(current + 1);
        return true;
    case Qt::Key_PageUp:
        moveTo(current - kVisibleRows);
        return true;
    case Qt::Key_PageDown:
        moveTo(current + kVisibleRows);
        return true;
    default:
        return false;
    }
}

bool BoreholeGrid::eventFilter(QObject* watched, QEvent* event) {
    // The combo would take Up and Down for its own entries; in the grid they move the row.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier &&
        moveKey(static_cast<QKeyEvent*>(event)->key()))
        return true;
    return QWidget::eventFilter(watched, event);
}

void BoreholeGrid::keyPressEvent(QKeyEvent* event) {
    if (!moveKey(event->key()))
        QWidget::keyPressEvent(event);
}

void BoreholeGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (!m_table || p.y() < headerHeight()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int row = m_table->firstVisible() + (p.y() - headerHeight()) / m_rowHeight;
    int column = columnCount() - 1;
    while (column > 0 && p.x() < columnX(column))
        --column;
    if (row >= m_table->rowsShown() || p.x() >= columnX(columnCount()))
        return;
    moveTo(row);
    editorFor(cellAt(column))->setFocus(Qt::MouseFocusReason);
}

void BoreholeGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int gridWidth = columnX(columnCount());
    const int bottom = headerHeight() + kVisibleRows * m_rowHeight;
    painter.fillRect(QRect(0, 0, gridWidth, bottom), palette().base());
    painter.setPen(palette().text().color());
    for (int c = 0; c < columnCount(); ++c) {
        const QRect head(columnX(c), 0, columnWidth(cellAt(c)), headerHeight());
        painter.drawText(head, Qt::AlignCenter, headingText(c));
        painter.drawLine(head.left(), 0, head.left(), bottom);
    }
    painter.drawLine(gridWidth - 1, 0, gridWidth - 1, bottom);
    painter.drawLine(0, headerHeight() - 1, gridWidth, headerHeight() - 1);
    if (!m_table)
        return;
    painter.setFont(m_font);
    const int last = std::min(m_table->rowsShown(), m_table->firstVisible() + kVisibleRows);
    for (int row = m_table->firstVisible(); row < last; ++row) {
        for (int c = 0; c < columnCount(); ++c) {
            if (row == m_table->current() && cellAt(c) != Cell::Number)
                continue;
            const QRect cell = cellRect(row, c).adjusted(kPadding, 0, -kPadding, 0);
            const Qt::Alignment align = cellAt(c) == Cell::Depth    ? Qt::AlignRight
                                        : cellAt(c) == Cell::Number ? Qt::AlignHCenter
                                                                    : Qt::AlignLeft;
            painter.drawText(cell, align | Qt::AlignVCenter, cellText(row, c));
        }
        const int y = cellRect(row, 0).bottom();
        painter.drawLine(0, y, gridWidth, y);
    }
}

} // namespace orvo::borehole::ui
