// Section printing: dialogs, preview and the print job.
#include "export/ui/print_section.h"

#include "drawing/ui/sheet_pictures.h"
#include "platform/ui/picture_play.h"
#include "store/store_paths.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvo::exporter {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QWidget* infoBlock(const PrintPlan& plan) {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    for (const auto& [label, value] : plan.infoLines()) {
        grid->addWidget(new QLabel(qs(label)), row, 0);
        auto* v = new QLabel(qs(value));
        v->setObjectName(qs(label));
        grid->addWidget(v, row++, 1);
    }
    return box;
}

// "Печать", "Параметры принтера..." (which also asks for the printer to be changed) and
// "Отмена" of both print dialogs; returns the print button.
QPushButton* addPrintButtons(QDialog& dialog, QBoxLayout& layout, bool& changePrinter) {
    auto* buttons = new QHBoxLayout;
    auto* print = new QPushButton("Печать");
    auto* setup = new QPushButton("Параметры принтера...");
    auto* cancel = new QPushButton("Отмена");
    buttons->addWidget(print);
    buttons->addWidget(setup);
    buttons->addWidget(cancel);
    layout.addLayout(buttons);
    QObject::connect(print, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(setup, &QPushButton::clicked, &dialog, [&dialog, &changePrinter] {
        changePrinter = true;
        dialog.accept();
    });
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return print;
}

QString sheetName(int index, int sheetCount) {
    return index + 1 < sheetCount ? QString("Лист %1").arg(index + 1) : QString("Лист УО");
}

// The grid of pages of the current sheet with its picture, as "Печать разреза частями" shows it.
class PagePreview : public QWidget {
public:
    PagePreview(PrintPlan& plan, const platform::WorkFolder& folder)
        : m_plan(plan), m_folder(folder) {
        setMinimumSize(320, 240);
        setObjectName("preview");
    }
    void setSheet(int sheet) {
        m_sheet = sheet;
        m_picture.reset();
        if (auto p = drawing::LoadSheetPictures(m_folder, sheet))
            m_picture = std::move(p->p);
        update();
    }
    // The grid's cell size and origin in widget pixels.
    QRectF grid() const {
        const auto& m = m_plan.printer();
        const QRectF frame = QRectF(rect()).adjusted(2, 2, -2, -2);
        const double aspect = m.dpiX / m.dpiY; // in floating point: 600 / 1200 is not 0
        const double k =
            std::min(frame.width() / static_cast<double>(m.pageW * m_plan.nx()),
                     frame.height() / (static_cast<double>(m.pageH) * aspect * m_plan.ny()));
        const double w = static_cast<double>(m.pageW) * k * m_plan.nx();
        const double h = static_cast<double>(m.pageH) * k * aspect * m_plan.ny();
        return {frame.x() + (frame.width() - w) / 2 + 2, frame.y() + (frame.height() - h) / 2 + 2,
                w, h};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(QRectF(rect()).adjusted(2, 2, -2, -2), palette().color(QPalette::Midlight));
        const QRectF g = grid();
        const double cw = g.width() / m_plan.nx();
        const double ch = g.height() / m_plan.ny();
        for (int r = 0; r < m_plan.ny(); ++r)
            for (int c = 0; c < m_plan.nx(); ++c) {
                if (!m_plan.inBlock(m_sheet, r, c))
                    continue;
                const QRectF cell(g.x() + c * cw, g.y() + r * ch, cw, ch);
                p.fillRect(cell, m_plan.selected(m_sheet, r, c)
                                     ? QBrush(QColor(0, 160, 0), Qt::Dense4Pattern)
                                     : QBrush(QColor(160, 0, 0), Qt::BDiagPattern));
            }
        if (m_picture) {
            const auto& s = m_plan.sheet(m_sheet);
            const double k = g.width() / static_cast<double>(m_plan.printer().pageW * m_plan.nx());
            const double h =
                static_cast<double>(s.heightPx) * k * m_plan.printer().dpiX / m_plan.printer().dpiY;
            p.save();
            p.translate(g.left(), g.bottom() - h);
            p.scale(k, h / std::max<double>(1, static_cast<double>(s.heightPx)));
            drawing::PlayPicture(p, *m_picture, 1.0);
            p.restore();
        }
        p.setPen(QColor(0, 0, 128));
        for (int r = 0; r <= m_plan.ny(); ++r)
            p.drawLine(QPointF(g.left(), g.y() + r * ch), QPointF(g.right(), g.y() + r * ch));
        for (int c = 0; c <= m_plan.nx(); ++c)
            p.drawLine(QPointF(g.x() + c * cw, g.top()), QPointF(g.x() + c * cw, g.bottom()));
    }
    void mousePressEvent(QMouseEvent* event) override {
        const QRectF g = grid();
        const QPointF at = event->position() - g.topLeft();
        if (at.x() < 0 || at.y() < 0 || at.x() >= g.width() || at.y() >= g.height())
            return;
        // Rounding at the far edges may reach nx or ny: the last page takes it.
        const int c =
            std::clamp(static_cast<int>(at.x() / (g.width() / m_plan.nx())), 0, m_plan.nx() - 1);
        const int r =
            std::clamp(static_cast<int>(at.y() / (g.height() / m_plan.ny())), 0, m_plan.ny() - 1);
        m_plan.toggle(m_sheet, r, c);
        update();
        if (onChange)
            onChange();
    }

public:
    std::function<void()> onChange;

private:
    PrintPlan& m_plan;
    const platform::WorkFolder& m_folder;
    int m_sheet = 0;
    std::optional<QPicture> m_picture;
};

} // namespace

FullSheetDialog::FullSheetDialog(const PrintPlan& plan, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Печать разреза");
    m_entries = sheetEntries(plan.sheetCount() - 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoBlock(plan));
    auto* lists = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel("Листы разреза"));
    m_sheets = new QListWidget;
    m_sheets->setObjectName("sheets");
    left->addWidget(m_sheets);
    auto* middle = new QVBoxLayout;
    const char* const texts[4] = {">", ">>", "<", "<<"};
    const char* const tips[4] = {"Добавить лист", "Добавить все листы", "Убрать лист",
                                 "Убрать все листы"};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(texts[i]);
        b->setToolTip(tips[i]);
        b->setAutoDefault(false);
        middle->addWidget(b);
        m_buttons[static_cast<std::size_t>(i)] = b;
    }
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel("Листы для печати"));
    m_print = new QListWidget;
    m_print->setObjectName("print");
    right->addWidget(m_print);
    lists->addLayout(left);
    lists->addLayout(middle);
    lists->addLayout(right);
    layout->addLayout(lists);
    for (const auto& e : m_entries) {
        m_sheets->addItem(qs(e));
        m_print->addItem(qs(e));
    }
    m_sheets->setCurrentRow(0);
    m_print->setCurrentRow(0);
    m_printButton = addPrintButtons(*this, *layout, m_changePrinter);
    connect(m_buttons[0], &QPushButton::clicked, this, [this] {
        if (auto* item = m_sheets->currentItem()) {
            m_print->addItem(item->text());
            m_print->setCurrentRow(m_print->count() - 1);
        }
        update();
    });
    connect(m_buttons[1], &QPushButton::clicked, this, [this] {
        m_print->clear();
        for (const auto& e : m_entries)
            m_print->addItem(qs(e));
        m_print->setCurrentRow(0);
        update();
    });
    connect(m_buttons[2], &QPushButton::clicked, this, [this] {
        const int row = m_print->currentRow();
        if (row >= 0)
            delete m_print->takeItem(row);
        m_print->setCurrentRow(std::min(row, m_print->count() - 1));
        update();
    });
    connect(m_buttons[3], &QPushButton::clicked, this, [this] {
        m_print->clear();
        update();
    });
    connect(m_sheets, &QListWidget::currentRowChanged, this, [this] { update(); });
    update();
}

void FullSheetDialog::update() {
    const auto* current = m_sheets->currentItem();
    const bool listed = current && !m_print->findItems(current->text(), Qt::MatchExactly).empty();
    const bool any = m_print->count() > 0;
    m_buttons[0]->setEnabled(current && !listed);
    m_buttons[1]->setEnabled(m_print->count() < static_cast<int>(m_entries.size()));
    m_buttons[2]->setEnabled(any);
    m_buttons[3]->setEnabled(any);
    m_print->setEnabled(any);
    // Nothing to print would still start a job with a blank page.
    m_printButton->setEnabled(any);
}

SheetChoice FullSheetDialog::choice() const {
    std::vector<std::string> list;
    for (int i = 0; i < m_print->count(); ++i)
        list.push_back(m_print->item(i)->text().toStdString());
    return {sheetsInList(m_entries, list), m_changePrinter};
}

PartsDialog::PartsDialog(PrintPlan& plan, const platform::WorkFolder& folder, QWidget* parent)
    : QDialog(parent), m_plan(plan) {
    setWindowTitle("Печать разреза частями");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("На текущем принтере нет возможности \nнапечатать разрез "
                                 "целиком.\nПредлагается напечать его частями."));
    layout->addWidget(infoBlock(plan));
    m_sheets = new QComboBox;
    m_sheets->setObjectName("sheets");
    for (int i = 0; i < plan.sheetCount(); ++i)
        m_sheets->addItem(sheetName(i, plan.sheetCount()));
    layout->addWidget(m_sheets);
    auto* preview = new PagePreview(plan, folder);
    m_preview = preview;
    layout->addWidget(preview, 1);
    auto* keys = new QHBoxLayout;
    keys->addWidget(new QLabel("- печатать"));
    keys->addWidget(new QLabel("- пропустить"));
    layout->addLayout(keys);
    auto* selection = new QHBoxLayout;
    auto* all = new QPushButton("Выбрать все");
    auto* invert = new QPushButton("Инвертировать выбор");
    selection->addWidget(all);
    selection->addWidget(invert);
    layout->addLayout(selection);
    auto* marks = new QGroupBox;
    auto* marksLayout = new QVBoxLayout(marks);
    const char* const names[3] = {"- уголок 5х5мм", "- штрихпунктирная линия",
                                  "- без линии отреза"};
    for (int i = 0; i < 3; ++i) {
        m_marks[static_cast<std::size_t>(i)] = new QRadioButton(names[i]);
        marksLayout->addWidget(m_marks[static_cast<std::size_t>(i)]);
    }
    m_marks[2]->setChecked(true);
    layout->addWidget(marks);
    m_printButton = addPrintButtons(*this, *layout, m_changePrinter);
    connect(m_sheets, &QComboBox::currentIndexChanged, this,
            [preview](int i) { preview->setSheet(i); });
    connect(all, &QPushButton::clicked, this, [this, preview] {
        m_plan.selectBlock(m_sheets->currentIndex());
        preview->update();
        update();
    });
    connect(invert, &QPushButton::clicked, this, [this, preview] {
        m_plan.invertBlock(m_sheets->currentIndex());
        preview->update();
        update();
    });
    preview->onChange = [this] { update(); };
    preview->setSheet(0);
    resize(520, 640);
    update();
}

void PartsDialog::update() {
    m_printButton->setEnabled(m_plan.selectedPages() > 0);
}

PartsChoice PartsDialog::choice() const {
    const auto marks = m_marks[0]->isChecked()   ? CutMarks::Corners
                       : m_marks[1]->isChecked() ? CutMarks::DashDot
                                                 : CutMarks::None;
    return {marks, m_changePrinter};
}

PrinterMetrics printerMetrics(const QPrinter& printer) {
    PrinterMetrics m;
    m.pageW = printer.width();
    m.pageH = printer.height();
    m.dpiX = printer.logicalDpiX();
    m.dpiY = printer.logicalDpiY();
    m.deviceName = printer.outputFormat() == QPrinter::PdfFormat && printer.printerName().isEmpty()
                       ? "PDF"
                       : printer.printerName().toStdString();
    m.portrait = printer.pageLayout().orientation() == QPageLayout::Portrait;
    return m;
}

namespace {

std::unique_ptr<QPrinter> askPrinter(QWidget* parent) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    printer->setCopyCount(1);
    return printer;
}

drawing::FooterTime now() {
    const QDateTime t = QDateTime::currentDateTime();
    return {t.date().year(), t.date().month(),  t.date().day(),
            t.time().hour(), t.time().minute(), t.time().second()};
}

Error printError() {
    return {"Ошибка печати", "Ошибка"};
}

// The dialogs never let this happen; a caller's own choice can.
Error nothingToPrint() {
    return {"Не выбрано ни одного листа для печати", "Ошибка"};
}

// One page per chosen sheet, hatching under the drawing, from the page's corner.
bool printWhole(QPrinter& printer, const platform::WorkFolder& folder, const PrintPlan& plan,
                const std::vector<bool>& chosen, int& pages, std::vector<int>& perSheet) {
    printer.setDocName(kFullSheetJob);
    QPainter painter;
    for (int i = 0; i < plan.sheetCount(); ++i) {
        if (!chosen[static_cast<std::size_t>(i)])
            continue;
        auto pictures = drawing::LoadSheetPictures(folder, i);
        if (!pictures)
            return false;
        // begin() starts the first page; newPage() only between pages.
        if (pages == 0 ? !painter.begin(&printer) : !printer.newPage())
            return false;
        drawing::PlaySheet(painter, *pictures, 1.0, true);
        ++pages;
        ++perSheet[static_cast<std::size_t>(i)];
    }
    return pages == 0 || painter.end();
}

// The pages of one sheet: its pictures dealt out to the selected pages in one pass each, so a
// page replays only what falls on it.
struct SheetPages {
    std::vector<std::pair<int, int>> cells; // row, column
    std::vector<QPicture> h;
    std::vector<QPicture> p;
};

std::optional<SheetPages> splitSheet(const platform::WorkFolder& folder, const PrintPlan& plan,
                                     int sheet) {
    SheetPages out;
    std::vector<QRectF> parts;
    const auto& m = plan.printer();
    for (int s = 0; s < plan.ny(); ++s)
        for (int c = 0; c < plan.nx(); ++c)
            if (plan.selected(sheet, s, c)) {
                const auto [x0, y0] = plan.origin(sheet, s, c);
                out.cells.emplace_back(s, c);
                parts.emplace_back(static_cast<double>(-x0), static_cast<double>(-y0),
                                   static_cast<double>(m.pageW), static_cast<double>(m.pageH));
            }
    if (parts.empty())
        return out;
    auto pictures = drawing::LoadSheetPictures(folder, sheet);
    if (!pictures)
        return std::nullopt;
    out.h = platform::ui::SplitPicture(pictures->h, parts);
    out.p = platform::ui::SplitPicture(pictures->p, parts);
    return out;
}

bool printParts(QPrinter& printer, const platform::WorkFolder& folder, const PrintPlan& plan,
                CutMarks marks, int& pages, std::vector<int>& perSheet) {
    printer.setDocName(kByPartsJob);
    QPainter painter;
    const auto& m = plan.printer();
    const QRect whole(0, 0, static_cast<int>(m.pageW), static_cast<int>(m.pageH));
    QPen pen(Qt::black, 0, marks == CutMarks::DashDot ? Qt::DashDotLine : Qt::SolidLine);
    for (int i = 0; i < plan.sheetCount(); ++i) {
        const auto sheet = splitSheet(folder, plan, i);
        if (!sheet)
            return false;
        for (std::size_t k = 0; k < sheet->cells.size(); ++k) {
            const auto [s, c] = sheet->cells[k];
            if (pages == 0 ? !painter.begin(&printer) : !printer.newPage())
                return false;
            painter.fillRect(whole, Qt::white);
            const auto [x0, y0] = plan.origin(i, s, c);
            painter.save();
            painter.setClipRect(whole);
            painter.translate(static_cast<double>(x0), static_cast<double>(y0));
            drawing::PlayPicture(painter, sheet->h[k], 1.0);
            drawing::PlayPicture(painter, sheet->p[k], 1.0);
            painter.restore();
            painter.setPen(pen);
            for (const auto& l : plan.cutMarks(marks, c))
                painter.drawLine(QPointF(static_cast<double>(l.x1), static_cast<double>(l.y1)),
                                 QPointF(static_cast<double>(l.x2), static_cast<double>(l.y2)));
            ++pages;
            ++perSheet[static_cast<std::size_t>(i)];
        }
    }
    return pages == 0 || painter.end();
}

} // namespace

std::optional<PrintOutcome> PrintSection(QWidget* parent, const store::ProjectStore& store,
                                         platform::MessageSink& sink,
                                         const drawing::DrawingRequest& request,
                                         const PrintHooks& hooks) {
    const auto& folder = store.folder();
    const auto choosePrinter = hooks.choosePrinter ? hooks.choosePrinter : askPrinter;
    // WORK.SLO is noted once, before the first preparation; a restart prepares again.
    const bool hadConnections = folder.exists(store::paths::kWorkSlo);
    const auto finish = [&] {
        if (!hadConnections)
            folder.removeFile(store::paths::kWorkSlo);
    };
    for (;;) {
        auto prepared = drawing::PrepareSectionDrawing(
            store, sink, request.object, request.storedSection, request.section, request.source);
        if (!prepared) {
            finish();
            return std::nullopt;
        }
        auto printer = choosePrinter(parent);
        if (!printer) {
            finish();
            return std::nullopt;
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        drawing::PictureSheetSink pictures(folder, printer->logicalDpiX(), printer->logicalDpiY());
        drawing::NoProgress progress;
        auto sizes =
            drawing::RenderSection(folder, prepared->input, pictures, progress, true, now());
        QApplication::restoreOverrideCursor();
        if (!pictures.status()) {
            sink.report(pictures.status().error());
            finish();
            return std::nullopt;
        }
        auto plan = PrintPlan::make(std::move(sizes), printerMetrics(*printer));
        if (!plan) {
            sink.report(plan.error());
            finish();
            return std::nullopt;
        }
        PrintOutcome out{plan->mode(), plan->printer(), plan->nx(), plan->ny(), 0, {}};
        out.pagesPerSheet.assign(static_cast<std::size_t>(plan->sheetCount()), 0);
        bool printed = true;
        if (plan->mode() == PrintMode::FullSheet) {
            const auto pick =
                hooks.pickSheets ? hooks.pickSheets : [](QWidget* p, const PrintPlan& pl) {
                    FullSheetDialog d(pl, p);
                    return d.exec() == QDialog::Accepted ? std::optional(d.choice()) : std::nullopt;
                };
            const auto choice = pick(parent, *plan);
            if (!choice) {
                finish();
                return std::nullopt;
            }
            if (choice->changePrinter)
                continue;
            if (std::find(choice->sheets.begin(), choice->sheets.end(), true) ==
                choice->sheets.end()) {
                sink.report(nothingToPrint());
                finish();
                return std::nullopt;
            }
            printed =
                printWhole(*printer, folder, *plan, choice->sheets, out.pages, out.pagesPerSheet);
        } else {
            const auto pick = hooks.pickPages
                                  ? hooks.pickPages
                                  : [](QWidget* p, PrintPlan& pl, const platform::WorkFolder& f) {
                                        PartsDialog d(pl, f, p);
                                        return d.exec() == QDialog::Accepted
                                                   ? std::optional(d.choice())
                                                   : std::nullopt;
                                    };
            const auto choice = pick(parent, *plan, folder);
            if (!choice) {
                finish();
                return std::nullopt;
            }
            if (choice->changePrinter)
                continue;
            if (plan->selectedPages() == 0) {
                sink.report(nothingToPrint());
                finish();
                return std::nullopt;
            }
            printed =
                printParts(*printer, folder, *plan, choice->marks, out.pages, out.pagesPerSheet);
        }
        finish();
        if (!printed) {
            sink.report(printError());
            return std::nullopt;
        }
        return out;
    }
}

} // namespace orvo::exporter
