// The data sheet viewer, its print job and its small dialogs.
#include "datasheet/ui/sheet_viewer.h"

#include "datasheet/borehole_sheet.h"
#include "datasheet/text_export.h"
#include "datasheet/ui/sheet_layout_dialog.h"
#include "platform/codepage.h"
#include "platform/ui/qstring.h"
#include "platform/ui/widgets.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace orvo::datasheet::ui {

using platform::ui::makeButton;
using platform::ui::named;

// The picture drawn into its rectangle; the widget is as large as the rectangle.
class SheetView : public QWidget {
public:
    explicit SheetView(const SheetViewer& viewer, QWidget* parent)
        : QWidget(parent), m_viewer(viewer) {
        setAutoFillBackground(true);
        setPalette(QPalette(Qt::gray));
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        PlaySheetPicture(p, m_viewer.picture(), m_viewer.pages(), m_viewer.pictureRect(),
                         QRectF(event->rect()));
    }

private:
    const SheetViewer& m_viewer;
};

namespace {

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

bool askPrinter(QPrinter& printer, int pages, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, pages);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<std::filesystem::path> askTextFile(QWidget* parent) {
    QFileDialog dialog(parent, q("Имя файла"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({q("Все файлы (*.*)"), q("Текстовые файлы (*.TXT)")});
    // Replacing a file is asked about by the viewer itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

} // namespace

SheetViewer::SheetViewer(const platform::WorkFolder& folder, platform::MessageSink& sink,
                         SheetSource source, SheetViewerHooks hooks, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_sink(sink), m_source(std::move(source)),
      m_hooks(std::move(hooks)) {
    setObjectName(QStringLiteral("sheetViewer"));
    setWindowTitle(q("Просмотр выработки: ") +
                   platform::ui::qs(platform::cp1251ToUtf8(m_source.data.name.bytes())));
    if (!m_hooks.choosePrinter)
        m_hooks.choosePrinter = [this](QPrinter& p, int pages) {
            return askPrinter(p, pages, this);
        };
    if (!m_hooks.chooseExport)
        m_hooks.chooseExport = [this] {
            ExportChoiceDialog d(this);
            return d.exec() == QDialog::Accepted ? d.choice() : 0;
        };
    if (!m_hooks.chooseTextFile)
        m_hooks.chooseTextFile = [this] { return askTextFile(this); };
    if (!m_hooks.chooseParts)
        m_hooks.chooseParts = [this](int parts) -> std::optional<int> {
            ViewAttributesDialog d(parts, this);
            if (d.exec() != QDialog::Accepted)
                return std::nullopt;
            return d.parts();
        };
    if (!m_hooks.editLayout)
        m_hooks.editLayout = [this] { return EditSheetLayout(m_folder, m_sink, this); };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* menu = new QMenuBar(this);
    auto* toolbar = named(new QToolBar(this), "toolbar");
    auto* commands = menu->addMenu(q("&Команды"));
    struct Command {
        const char* text;
        const char* name;
        QStyle::StandardPixmap icon;
        void (SheetViewer::*run)();
    };
    const std::array<Command, 8> list = {{
        {"Выход", "exit", QStyle::SP_DialogCloseButton, nullptr},
        {"Печать", "print", QStyle::SP_FileIcon, &SheetViewer::print},
        {"Экспорт", "export", QStyle::SP_DialogSaveButton, &SheetViewer::exportData},
        {"Атрибуты просмотра", "attributes", QStyle::SP_FileDialogDetailedView,
         &SheetViewer::viewAttributes},
        {"Показать всю страницу", "fit", QStyle::SP_TitleBarNormalButton, &SheetViewer::fitPage},
        {"Приблизить", "zoomIn", QStyle::SP_ArrowUp, &SheetViewer::zoomIn},
        {"Отодвинуть", "zoomOut", QStyle::SP_ArrowDown, &SheetViewer::zoomOut},
        {"Настройка", "settings", QStyle::SP_FileDialogContentsView, &SheetViewer::settings},
    }};
    for (const auto& c : list) {
        auto* action = named(new QAction(style()->standardIcon(c.icon), q(c.text), this), c.name);
        action->setToolTip(q(c.text));
        if (c.run)
            connect(action, &QAction::triggered, this, [this, run = c.run] { (this->*run)(); });
        else
            connect(action, &QAction::triggered, this, &QDialog::accept);
        commands->addAction(action);
        toolbar->addAction(action);
    }
    layout->setMenuBar(menu);
    layout->addWidget(toolbar);
    m_scroll = named(new QScrollArea(this), "scroll");
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_view = new SheetView(*this, m_scroll);
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(false);
    layout->addWidget(m_scroll, 1);
    resize(800, 700);
    render();
}

void SheetViewer::render() {
    m_picture = RenderSheetPicture(m_source, m_pages);
    fitPage();
}

void SheetViewer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_fitted) {
        m_fitted = true;
        fitPage();
    }
}

void SheetViewer::fitPage() {
    const QSize frame = m_scroll->viewport()->size();
    const double k =
        std::min(frame.width() / sheetPictureWidth(m_pages), frame.height() / kPageHeight);
    m_rect = QRectF(0, 0, sheetPictureWidth(m_pages) * k, kPageHeight * k);
    placePicture();
    m_scroll->horizontalScrollBar()->setValue(0);
    m_scroll->verticalScrollBar()->setValue(0);
}

void SheetViewer::zoomIn() {
    m_rect = QRectF(m_rect.x() * 2, m_rect.y() * 2, m_rect.width() * 2, m_rect.height() * 2);
    placePicture();
}

void SheetViewer::zoomOut() {
    m_rect = QRectF(m_rect.x() / 2, m_rect.y() / 2, m_rect.width() / 2, m_rect.height() / 2);
    placePicture();
}

void SheetViewer::placePicture() {
    // Picture sizes stay within what a widget can be.
    constexpr double kMaxExtent = 1 << 20;
    if (m_rect.right() > kMaxExtent || m_rect.bottom() > kMaxExtent)
        m_rect = QRectF(m_rect.topLeft() / 2, m_rect.size() / 2);
    m_view->resize(static_cast<int>(std::ceil(m_rect.right())),
                   static_cast<int>(std::ceil(m_rect.bottom())));
    // A line moves the picture by a pixel, a page by a tenth of its extent.
    auto* h = m_scroll->horizontalScrollBar();
    auto* v = m_scroll->verticalScrollBar();
    h->setSingleStep(1);
    v->setSingleStep(1);
    h->setPageStep(std::max(1, static_cast<int>(m_rect.width() / 10)));
    v->setPageStep(std::max(1, static_cast<int>(m_rect.height() / 10)));
    m_view->update();
}

void SheetViewer::print() {
    PrintBoreholeSheet(m_source, m_pages, this, m_hooks.choosePrinter);
}

void SheetViewer::exportData() {
    const int choice = m_hooks.chooseExport();
    if (choice == 3 || choice == 4) {
        m_sink.show("Information", kNotReadyText, platform::Icon::Information);
        return;
    }
    if (choice != 1 && choice != 2)
        return;
    const auto file = m_hooks.chooseTextFile();
    if (!file)
        return;
    std::error_code ec;
    if (std::filesystem::exists(*file, ec) &&
        m_sink.askYesNo("Warning", "Файл " + file->string() + " уже существует.\nЗаменить его?") !=
            platform::Answer::Yes)
        return;
    if (auto st = ExportBoreholeText(choice == 1 ? Charset::Oem : Charset::Ansi, m_source.parts,
                                     *file, m_source.data, m_source.names);
        !st)
        m_sink.report(st.error());
}

void SheetViewer::viewAttributes() {
    const auto parts = m_hooks.chooseParts(m_source.parts);
    if (!parts)
        return;
    m_source.parts = *parts;
    render();
}

void SheetViewer::settings() {
    if (!m_hooks.editLayout())
        return;
    auto layout = ReadSheetLayout(m_folder);
    if (!layout) {
        m_sink.report(layout.error());
        return;
    }
    m_source.layout = *layout;
    m_source.names = SheetNames::read(m_folder);
    render();
}

void ShowBoreholeSheet(const platform::WorkFolder& folder, platform::MessageSink& sink,
                       const borehole::BoreholeEditData& data, QWidget* parent,
                       SheetViewerHooks hooks) {
    auto layout = ReadSheetLayout(folder);
    if (!layout) {
        sink.report(layout.error());
        return;
    }
    SheetSource source{*layout, data, SheetNames::read(folder), kAllParts};
    SheetViewer viewer(folder, sink, std::move(source), std::move(hooks), parent);
    viewer.exec();
}

bool PrintBoreholeSheet(const SheetSource& source, int pages, QWidget* parent,
                        const std::function<bool(QPrinter&, int)>& choosePrinter) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromUtf8(kPrintJobName));
    printer.setFullPage(true);
    printer.setFromTo(1, pages);
    const bool chosen =
        choosePrinter ? choosePrinter(printer, pages) : askPrinter(printer, pages, parent);
    if (!chosen)
        return false;
    int from = 1;
    int to = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::clamp(printer.fromPage(), 1, pages);
        to = std::clamp(printer.toPage() > 0 ? printer.toPage() : pages, from, pages);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    int rendered = 0;
    PaintSheetPages(painter, printer, RenderSheetPicture(source, rendered), from, to);
    painter.end();
    return true;
}

ExportChoiceDialog::ExportChoiceDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(q("Просмотр выработки: Экспорт "));
    auto* layout = new QVBoxLayout(this);
    auto* what = new QButtonGroup(this);
    auto* text = named(new QRadioButton(q("Текст таблиц"), this), "text");
    auto* drawing = named(new QRadioButton(q("Чертеж выработки"), this), "drawing");
    what->addButton(text);
    what->addButton(drawing);

    auto* textBox = new QGroupBox(this);
    auto* textLayout = new QVBoxLayout(textBox);
    auto* charsets = new QButtonGroup(this);
    auto* dos = named(new QRadioButton(q("Charset ASCII ( MS-DOS )"), textBox), "dos");
    auto* ansi = named(new QRadioButton(q("Charset ANSI ( Windows )"), textBox), "ansi");
    charsets->addButton(dos);
    charsets->addButton(ansi);
    textLayout->addWidget(dos);
    textLayout->addWidget(ansi);

    auto* drawingBox = new QGroupBox(this);
    auto* drawingLayout = new QVBoxLayout(drawingBox);
    auto* formats = new QButtonGroup(this);
    auto* emf = named(new QRadioButton(q("Enhanced-format metafile"), drawingBox), "emf");
    auto* wmf = named(new QRadioButton(q("Windows-format metafile"), drawingBox), "wmf");
    formats->addButton(emf);
    formats->addButton(wmf);
    drawingLayout->addWidget(emf);
    drawingLayout->addWidget(wmf);

    layout->addWidget(text);
    layout->addWidget(textBox);
    layout->addWidget(drawing);
    layout->addWidget(drawingBox);
    auto* buttons = new QHBoxLayout;
    auto* next = makeButton("Дальше...", "next", this);
    auto* cancel = makeButton("Отмена", "cancel", this);
    next->setDefault(true);
    buttons->addWidget(next);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    text->setChecked(true);
    ansi->setChecked(true);
    wmf->setChecked(true);
    const auto enable = [=] {
        for (auto* b : {dos, ansi})
            b->setEnabled(text->isChecked());
        for (auto* b : {emf, wmf})
            b->setEnabled(drawing->isChecked());
    };
    enable();
    connect(text, &QRadioButton::toggled, this, enable);
    connect(next, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int ExportChoiceDialog::choice() const {
    const auto checked = [this](const char* name) {
        return findChild<QRadioButton*>(QString::fromLatin1(name))->isChecked();
    };
    if (checked("text"))
        return checked("dos") ? 1 : 2;
    return checked("emf") ? 3 : 4;
}

ViewAttributesDialog::ViewAttributesDialog(int parts, QWidget* parent) : QDialog(parent) {
    setWindowTitle(q("Атрибуты просмотра"));
    auto* layout = new QVBoxLayout(this);
    auto* all = named(new QRadioButton(q("Показать все"), this), "all");
    auto* some = named(new QRadioButton(q("Выборочно"), this), "some");
    layout->addWidget(all);
    layout->addWidget(some);
    static const std::array<std::pair<const char*, const char*>, 4> kParts = {{
        {"Чертеж выработки", "drawingPart"},
        {"ИГЭ", "igePart"},
        {"Подземные воды", "waterPart"},
        {"Отборы проб", "samplesPart"},
    }};
    std::vector<QCheckBox*> boxes;
    for (std::size_t i = 0; i < kParts.size(); ++i) {
        auto* box = named(new QCheckBox(q(kParts[i].first), this), kParts[i].second);
        box->setChecked((parts >> i & 1) != 0);
        boxes.push_back(box);
        layout->addWidget(box);
    }
    (parts == kAllParts ? all : some)->setChecked(true);
    const auto enable = [some, boxes] {
        for (auto* b : boxes)
            b->setEnabled(some->isChecked());
    };
    enable();
    connect(some, &QRadioButton::toggled, this, enable);
    auto* buttons = new QHBoxLayout;
    auto* apply = makeButton("Применить", "apply", this);
    auto* cancel = makeButton("Отмена", "cancel", this);
    apply->setDefault(true);
    buttons->addWidget(apply);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(apply, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int ViewAttributesDialog::parts() const {
    if (findChild<QRadioButton*>(QStringLiteral("all"))->isChecked())
        return kAllParts;
    int parts = 0;
    int bit = 1;
    for (const char* name : {"drawingPart", "igePart", "waterPart", "samplesPart"}) {
        if (findChild<QCheckBox*>(QString::fromLatin1(name))->isChecked())
            parts |= bit;
        bit <<= 1;
    }
    return parts;
}

} // namespace orvo::datasheet::ui
