// The layout dialog and its preview.
#include "datasheet/ui/sheet_layout_dialog.h"

#include "datasheet/borehole_sheet.h"
#include "platform/numbers.h"
#include "platform/ui/qpainter_canvas.h"
#include "platform/ui/qstring.h"
#include "platform/ui/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvo::datasheet::ui {

using platform::ui::makeButton;
using platform::ui::named;
using platform::ui::qs;

namespace {

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The view the preview starts on: the page with a margin of 10 mm.
const QRectF kStartView(-100, -100, 2300, 3270);
constexpr double kMinView = 100;
constexpr double kMaxView = 40000;

// pitchAndFamily of a chosen face: fixed or variable pitch, modern or no family.
std::uint8_t pitchAndFamily(const QString& family) {
    return QFontDatabase::isFixedPitch(family) ? 0x31 : 0x02;
}

} // namespace

// The layout drawn with sample data, the chosen elements in red.
class LayoutPreview : public QWidget {
public:
    explicit LayoutPreview(SheetLayoutDialog& dialog)
        : QWidget(&dialog), m_dialog(dialog), m_view(kStartView) {
        setObjectName(QStringLiteral("layoutPreview"));
        setMinimumSize(300, 400);
        setAutoFillBackground(true);
        setPalette(QPalette(Qt::gray));
    }

    bool shown = true;
    bool magnifier = false;
    QRectF view() const { return m_view; }
    double scale() const { return std::min(width() / m_view.width(), height() / m_view.height()); }
    void zoomAt(QPointF at, bool in) {
        const double s = scale();
        const QPointF centre(at.x() / s + m_view.x(), at.y() / s + m_view.y());
        const double factor = in ? 0.5 : 2;
        const double w = m_view.width() * factor;
        const double h = m_view.height() * factor;
        if (std::min(w, h) < kMinView || std::max(w, h) > kMaxView)
            return;
        m_view = QRectF(centre.x() - w / 2, centre.y() - h / 2, w, h);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!shown)
            return;
        QPainter p(this);
        const double s = scale();
        p.scale(s, s);
        p.translate(-m_view.x(), -m_view.y());
        platform::QPainterCanvas canvas(p);
        DrawLayoutPreview(canvas, m_dialog.layout(), m_dialog.textElement(),
                          m_dialog.lineElement());
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (!shown || !magnifier)
            return;
        if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton)
            zoomAt(e->position(), e->button() == Qt::LeftButton);
    }

private:
    SheetLayoutDialog& m_dialog;
    QRectF m_view;
};

SheetLayoutDialog::SheetLayoutDialog(const SheetLayout& layout, QWidget* parent)
    : QDialog(parent), m_layout(layout) {
    setWindowTitle(q("Оформление: Данные по выработке"));
    auto* top = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    top->addLayout(left);

    // Text attributes.
    auto* texts = new QGroupBox(q("Атрибуты текста"), this);
    auto* tg = new QGridLayout(texts);
    m_textElement = named(new QComboBox(texts), "textElement");
    for (const char* name : kTextElementNames)
        m_textElement->addItem(q(name));
    m_face = named(new QComboBox(texts), "face");
    for (const QString& family : QFontDatabase::families())
        if (QFontDatabase::isScalable(family))
            m_face->addItem(family);
    m_height = named(new QComboBox(texts), "height");
    for (int mm = 1; mm <= 20; ++mm)
        m_height->addItem(QLatin1Char(' ') + QString::number(mm));
    auto* props = new QHBoxLayout;
    static const std::array<std::pair<const char*, const char*>, 6> kProps = {{
        {"Ж", "bold"},
        {"К", "italic"},
        {"Ч", "underline"},
        {"|<", "alignLeft"},
        {"><", "alignCentre"},
        {">|", "alignRight"},
    }};
    for (std::size_t i = 0; i < kProps.size(); ++i) {
        auto* b = named(new QToolButton(texts), kProps[i].second);
        b->setText(q(kProps[i].first));
        b->setCheckable(true);
        props->addWidget(b);
        m_props[i] = b;
    }
    m_sample = named(new QLabel(q("ORVO - Версия 2.0"), texts), "sample");
    static_cast<QLabel*>(m_sample)->setFrameShape(QFrame::Box);
    m_sample->setMinimumHeight(60);
    tg->addWidget(new QLabel(q("Элемент:"), texts), 0, 0);
    tg->addWidget(m_textElement, 0, 1);
    tg->addWidget(new QLabel(q("Шрифт:"), texts), 1, 0);
    tg->addWidget(m_face, 1, 1);
    tg->addWidget(new QLabel(q("Высота:"), texts), 2, 0);
    tg->addWidget(m_height, 2, 1);
    tg->addWidget(new QLabel(q("Свойства:"), texts), 3, 0);
    tg->addLayout(props, 3, 1);
    tg->addWidget(m_sample, 4, 0, 1, 2);
    left->addWidget(texts);

    // Line attributes.
    auto* lines = new QGroupBox(q("Атрибуты линий"), this);
    auto* lg = new QGridLayout(lines);
    m_lineElement = named(new QComboBox(lines), "lineElement");
    for (const char* name : kLineElementNames)
        m_lineElement->addItem(q(name));
    m_lineWidth = named(new QComboBox(lines), "lineWidth");
    m_lineWidth->addItem(q("Нет"));
    for (int tenths = 1; tenths <= 20; ++tenths)
        m_lineWidth->addItem(qs(platform::formatTenths(tenths)));
    lg->addWidget(new QLabel(q("Линия:"), lines), 0, 0);
    lg->addWidget(m_lineElement, 0, 1, 1, 2);
    lg->addWidget(new QLabel(q("Толщина:"), lines), 1, 0);
    lg->addWidget(m_lineWidth, 1, 1);
    lg->addWidget(new QLabel(q("мм"), lines), 1, 2);
    left->addWidget(lines);

    // Sizes.
    auto* sizes = new QGroupBox(q("Размеры элементов документа"), this);
    auto* sg = new QGridLayout(sizes);
    m_sizeElement = named(new QComboBox(sizes), "sizeElement");
    for (const char* name : kLayoutSizeNames)
        m_sizeElement->addItem(q(name));
    m_sizeValue = named(new QLineEdit(sizes), "sizeValue");
    sg->addWidget(new QLabel(q("Элемент:"), sizes), 0, 0);
    sg->addWidget(m_sizeElement, 0, 1, 1, 2);
    sg->addWidget(new QLabel(q("Величина: "), sizes), 1, 0);
    sg->addWidget(m_sizeValue, 1, 1);
    sg->addWidget(new QLabel(q("мм"), sizes), 1, 2);
    left->addWidget(sizes);

    auto* previewRow = new QHBoxLayout;
    m_preview = named(new QCheckBox(q("Просмотр"), this), "preview");
    m_preview->setChecked(true);
    m_magnifier = named(new QToolButton(this), "magnifier");
    m_magnifier->setText(q("Лупа"));
    m_magnifier->setCheckable(true);
    previewRow->addWidget(m_preview);
    previewRow->addWidget(m_magnifier);
    previewRow->addStretch();
    left->addLayout(previewRow);
    left->addStretch();
    auto* buttons = new QHBoxLayout;
    auto* save = makeButton("Сохранить", "save", this);
    auto* cancel = makeButton("Отмена", "cancel", this);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    left->addLayout(buttons);

    m_view = new LayoutPreview(*this);
    top->addWidget(m_view, 1);

    connect(m_textElement, &QComboBox::currentIndexChanged, this, [this] {
        showTextElement();
        m_view->update();
    });
    connect(m_face, &QComboBox::textActivated, this, [this](const QString& family) {
        m_layout.setFace(textElement(), family.toStdString());
        auto& a = m_layout.textAttr[static_cast<std::size_t>(textElement())];
        a.charSet = 204;
        a.pitchAndFamily = pitchAndFamily(family);
        showSample();
    });
    connect(m_height, &QComboBox::activated, this, [this](int index) {
        m_layout.textHeight[static_cast<std::size_t>(textElement())] =
            static_cast<std::int16_t>((index + 1) * 10);
        showSample();
    });
    for (std::size_t i = 0; i < m_props.size(); ++i)
        connect(m_props[i], &QToolButton::clicked, this, [this, i](bool on) {
            auto& a = m_layout.textAttr[static_cast<std::size_t>(textElement())];
            if (i >= 3) {
                setAlignment(static_cast<int>(i - 3));
            } else {
                std::array<std::uint8_t*, 3> flags = {&a.bold, &a.italic, &a.underline};
                *flags[i] = on ? 1 : 0;
            }
            showSample();
        });
    connect(m_lineElement, &QComboBox::currentIndexChanged, this, [this] {
        showLineElement();
        m_view->update();
    });
    connect(m_lineWidth, &QComboBox::activated, this, [this](int index) {
        m_layout.linePen[static_cast<std::size_t>(lineElement())] =
            static_cast<std::int16_t>(index);
        m_view->update();
    });
    connect(m_sizeElement, &QComboBox::currentIndexChanged, this, [this] { showSize(); });
    connect(m_sizeValue, &QLineEdit::editingFinished, this, [this] { storeSize(); });
    connect(m_preview, &QCheckBox::toggled, this, [this](bool on) {
        m_view->shown = on;
        m_magnifier->setEnabled(on);
        m_view->update();
    });
    connect(m_magnifier, &QToolButton::toggled, this, [this](bool on) {
        m_view->magnifier = on;
        m_view->setCursor(on ? Qt::CrossCursor : Qt::ArrowCursor);
    });
    connect(save, &QPushButton::clicked, this, [this] {
        storeSize();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    showTextElement();
    showLineElement();
    showSize();
    resize(900, 700);
}

int SheetLayoutDialog::textElement() const {
    return std::clamp(m_textElement->currentIndex(), 0, kTextElements - 1);
}

int SheetLayoutDialog::lineElement() const {
    return std::clamp(m_lineElement->currentIndex(), 0, kLineElements - 1);
}

QRectF SheetLayoutDialog::previewView() const {
    return m_view->view();
}

void SheetLayoutDialog::zoomAt(QPointF widgetPoint, bool in) {
    m_view->zoomAt(widgetPoint, in);
}

void SheetLayoutDialog::showTextElement() {
    const int e = textElement();
    const auto i = static_cast<std::size_t>(e);
    {
        const QSignalBlocker block(m_face);
        const QString face = qs(m_layout.face(e));
        if (m_face->findText(face) < 0)
            m_face->addItem(face);
        m_face->setCurrentIndex(m_face->findText(face));
    }
    {
        const QSignalBlocker block(m_height);
        m_height->setCurrentIndex(std::clamp(m_layout.textHeight[i] / 10, 1, 20) - 1);
    }
    const auto& a = m_layout.textAttr[i];
    const std::array<bool, 6> on = {a.bold != 0,      a.italic != 0,      a.underline != 0,
                                    a.alignLeft != 0, a.alignCentre != 0, a.alignRight != 0};
    // Only the heading, the title labels and the column headings are aligned by their element.
    const bool aligned = e == kHeadingText || e == kTitleLabels || e == kColumnHeads;
    for (std::size_t k = 0; k < m_props.size(); ++k) {
        m_props[k]->setChecked(on[k]);
        if (k >= 3)
            m_props[k]->setEnabled(aligned);
    }
    showSample();
}

void SheetLayoutDialog::setAlignment(int which) {
    auto& a = m_layout.textAttr[static_cast<std::size_t>(textElement())];
    a.alignLeft = which == 0 ? 1 : 0;
    a.alignCentre = which == 1 ? 1 : 0;
    a.alignRight = which == 2 ? 1 : 0;
    for (int k = 0; k < 3; ++k)
        m_props[static_cast<std::size_t>(3 + k)]->setChecked(k == which);
}

void SheetLayoutDialog::showSample() {
    const int e = textElement();
    const auto f = CreateElementFont(m_layout, e);
    QFont font(qs(f.family));
    // The sample shows the letters as large as on paper at this screen's resolution.
    font.setPixelSize(std::max(1, static_cast<int>(f.height * logicalDpiY() / 254.0)));
    font.setBold(f.weight >= 700);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    auto* label = static_cast<QLabel*>(m_sample);
    label->setFont(font);
    const auto& a = m_layout.textAttr[static_cast<std::size_t>(e)];
    const Qt::Alignment h = a.alignRight != 0    ? Qt::AlignRight
                            : a.alignCentre != 0 ? Qt::AlignHCenter
                                                 : Qt::AlignLeft;
    label->setAlignment(h | Qt::AlignVCenter);
    m_view->update();
}

void SheetLayoutDialog::showLineElement() {
    const QSignalBlocker block(m_lineWidth);
    m_lineWidth->setCurrentIndex(
        std::clamp<int>(m_layout.linePen[static_cast<std::size_t>(lineElement())], 0, 20));
}

void SheetLayoutDialog::showSize() {
    const int i = std::clamp(m_sizeElement->currentIndex(), 0, kLayoutSizes - 1);
    m_sizeValue->setText(qs(platform::formatFixed(m_layout.size(i) / 10.0, 1)));
}

void SheetLayoutDialog::storeSize() {
    const int i = std::clamp(m_sizeElement->currentIndex(), 0, kLayoutSizes - 1);
    // Tenths parsed from the text: "2.3" is 23 (a float times 10 would give 22). The field is
    // 16 bits wide, so larger values are clamped rather than wrapped.
    const int tenths =
        std::clamp(platform::parseTenths(m_sizeValue->text().toStdString()), 0, 32767);
    m_layout.layoutSize[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(tenths);
    showSize();
    m_view->update();
}

bool EditSheetLayout(const platform::WorkFolder& folder, platform::MessageSink& sink,
                     QWidget* parent) {
    auto stored = ReadSheetLayout(folder);
    SheetLayoutDialog dialog(stored ? *stored : defaultSheetLayout(), parent);
    while (dialog.exec() == QDialog::Accepted) {
        if (auto st = WriteSheetLayout(folder, dialog.layout()); st)
            return true;
        else
            sink.report(st.error());
    }
    return false;
}

} // namespace orvo::datasheet::ui
