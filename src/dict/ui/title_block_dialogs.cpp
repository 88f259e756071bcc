// Widgets of the title block list and its small dialogs; the rules are in dict/title_block.
#include "dict/ui/title_block_dialogs.h"

#include "dict/title_block_draw.h"
#include "dict/ui/title_block_editor.h"
#include "platform/ui/qpainter_canvas.h"
#include "platform/ui/widgets.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvo::dict::ui {

namespace {

bool askPrinter(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

// A widget showing one block fitted into 90% of itself.
class TitleBlockView : public QWidget {
public:
    TitleBlockView(TitleBlock block, QWidget* parent) : QWidget(parent), m_block(std::move(block)) {
        setMinimumSize(400, 200);
        setAutoFillBackground(true);
        setPalette(QPalette(Qt::white));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (m_block.width <= 0 || m_block.height <= 0)
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        platform::QPainterCanvas canvas(painter);
        const double scale =
            std::min(0.9 * width() / m_block.width, 0.9 * height() / m_block.height);
        // Placed by its smallest x and largest y, with the 5% margin left around it.
        const auto [minX, maxY] = m_block.minXmaxY();
        const double ox = 0.05 * width() - minX * scale;
        const double oy = 0.05 * height() - (m_block.height - maxY) * scale;
        DrawTitleBlock(canvas, m_block, {ox, oy}, scale);
    }

private:
    TitleBlock m_block;
};

} // namespace

void paintTitleBlock(QPaintDevice& device, const TitleBlock& block, int leftMm, int topMm) {
    QPainter painter(&device);
    // Device dots per 0.1 mm.
    const double u = device.logicalDpiX() * 0.003937007874015748;
    const double v = device.logicalDpiY() * 0.003937007874015748;
    painter.scale(1.0, v / u);
    platform::QPainterCanvas canvas(painter);
    // The editor lets elements lie anywhere within 300 mm of its centre, so the block's point
    // (0, height) may be far from its ink: the extent's top-left corner (smallest x, largest
    // y) goes to the margins, as in the viewer.
    const auto [minX, maxY] = block.minXmaxY();
    DrawTitleBlock(canvas, block,
                   {(leftMm * 10 - minX) * u, (topMm * 10 - (block.height - maxY)) * u}, u);
}

TitleBlocksDialog::TitleBlocksDialog(const platform::WorkFolder& folder,
                                     platform::MessageSink& sink, TitleBlockPrintMargins& margins,
                                     TitleBlockDialogHooks hooks, QWidget* parent)
    : DictionaryListDialog(folder, sink, parent), m_margins(margins), m_hooks(std::move(hooks)) {
    if (!m_hooks.choosePrinter)
        m_hooks.choosePrinter = [this](QPrinter& p) { return askPrinter(p, this); };
    setExchange(exchangeHooks());
    setWindowTitle(QStringLiteral("Список штампов"));
    list()->setOrder(platform::ui::SlotList::Order::AsGiven);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Существующие штампы")));
    left->addWidget(list());
    layout->addLayout(left);
    auto* right = new QVBoxLayout;
    using N = Needs;
    struct Def {
        const char* text;
        const char* name;
        std::function<void()> act;
        Needs needs;
    };
    const Def defs[] = {
        {"Создать..", "create", [this] { create(false); }, N::Nothing},
        {"Создать Из...", "createFrom", [this] { create(true); }, N::OwnEntry},
        {"Редактировать...", "edit", [this] { edit(); }, N::OwnEntry},
        {"Переименовать...", "rename", [this] { rename(); }, N::OwnEntry},
        {"Удалить...", "delete", [this] { remove(); }, N::OwnEntry},
        {"Просмотр...", "view", [this] { view(); }, N::OwnEntry},
        {"Пробная печать..", "print", [this] { print(); }, N::OwnEntry},
        {"Импорт...", "import", [this] { importFile(); }, N::Nothing},
        {"Экспорт...", "export", [this] { exportSelected(); }, N::OwnEntry},
        {"Выход", "exit", [this] { accept(); }, N::Nothing},
    };
    for (const auto& d : defs)
        right->addWidget(addButton(platform::ui::makeButton(d.text, d.name, this), d.needs, d.act));
    right->addStretch();
    layout->addLayout(right);
    refill(-1);
}

platform::ui::ExchangeHooks TitleBlocksDialog::exchangeHooks() {
    platform::ui::ExchangeHooks x;
    x.files = {QStringLiteral("Экспорт штампов"),
               QStringLiteral("Импорт штампов"),
               {QStringLiteral("Файлы штампов ORVO-II (*.OSH)")},
               QStringLiteral("OSH")};
    x.chooseFile = m_hooks.chooseFile;
    x.exportTo = [this](int slot, const std::filesystem::path& file) {
        return ExportTitleBlock(folder(), slot, file);
    };
    x.readImport =
        [this](const std::filesystem::path& file) -> Result<platform::ui::PendingImport> {
        auto item = ReadTitleBlockExchange(file);
        if (!item)
            return item.error();
        auto blocks = ReadTitleBlockList(folder());
        if (!blocks)
            return blocks.error();
        return platform::ui::PendingImport{
            item->record.name.utf8(), findTitleBlockByName(*blocks, item->record),
            [this, parsed = std::move(*item)](std::optional<int> slot) {
                return ImportTitleBlock(folder(), parsed, slot);
            }};
    };
    x.confirmOverwrite = [this](int slot, const std::string& name) {
        // The template is never replaced: a block of its name imports nothing.
        return slot != 0 && platform::ui::askNameTaken(this, titleBlockNameTaken(), name) == 0;
    };
    return x;
}

Result<std::vector<platform::ui::SlotEntry>> TitleBlocksDialog::readEntries() {
    auto blocks = ReadTitleBlockList(folder());
    if (!blocks)
        return blocks.error();
    std::vector<platform::ui::SlotEntry> entries;
    for (std::size_t i = 0; i < blocks->entries.size(); ++i)
        if (blocks->entries[i].used != 0)
            entries.push_back({blocks->entries[i].name.utf8(), static_cast<int>(i)});
    return entries;
}

bool TitleBlocksDialog::isOwnEntry(int slot) const {
    return slot > 0 && list()->rowOf(slot) > 0;
}

std::optional<int> TitleBlocksDialog::runEditor(TitleBlockEdit& e, std::optional<int> slot) {
    TitleBlockEditor editor(e, sink(), this);
    if (editor.exec() != QDialog::Accepted) {
        e.discard();
        return std::nullopt;
    }
    auto saved = e.save(slot);
    if (!saved) {
        sink().report(saved.error());
        e.discard();
        return std::nullopt;
    }
    return *saved;
}

void TitleBlocksDialog::create(bool fromSelected) {
    const int from = fromSelected ? selectedSlot() : 0;
    if (from < 0)
        return;
    auto e = TitleBlockEdit::Load(folder(), from, true);
    if (!e) {
        sink().report(e.error());
        return;
    }
    if (auto slot = runEditor(*e, std::nullopt))
        refill(*slot);
}

void TitleBlocksDialog::edit() {
    const int slot = selectedSlot();
    if (slot <= 0)
        return;
    auto e = TitleBlockEdit::Load(folder(), slot);
    if (!e) {
        sink().report(e.error());
        return;
    }
    if (runEditor(*e, slot))
        refill(slot);
}

void TitleBlocksDialog::rename() {
    const int slot = selectedSlot();
    if (!isOwnEntry(slot))
        return;
    const QString name = list()->selectedText();
    QDialog d(this);
    d.setWindowTitle(QStringLiteral("Переименование штампа"));
    auto* form = new QFormLayout(&d);
    auto* old = new QLineEdit(name, &d);
    old->setReadOnly(true);
    auto* fresh = platform::ui::named(new QLineEdit(name, &d), "newName");
    fresh->setMaxLength(static_cast<int>(kTitleNameChars));
    form->addRow(QStringLiteral("Старое наименование :"), old);
    form->addRow(QStringLiteral("Новое наименование :"), fresh);
    auto* buttons = new QDialogButtonBox(&d);
    buttons->addButton(QStringLiteral("Переименовать"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    form->addRow(buttons);
    if (d.exec() != QDialog::Accepted)
        return;
    if (auto st = RenameTitleBlock(folder(), slot, fresh->text().toStdString()); !st)
        sink().report(st.error());
    refill(slot);
}

bool TitleBlocksDialog::confirmDelete(int) {
    QDialog d(this);
    d.setWindowTitle(QStringLiteral("Удаление штампа"));
    auto* layout = new QVBoxLayout(&d);
    layout->addWidget(new QLabel(QStringLiteral("Вы действительно хотите удалить")));
    layout->addWidget(new QLabel(QStringLiteral("штамп с именем")));
    layout->addWidget(new QLabel(list()->selectedText() + QStringLiteral(" ?")));
    auto* physically = platform::ui::named(
        new QCheckBox(QStringLiteral("Удалять физически с диска"), &d), "physically");
    physically->setChecked(true);
    layout->addWidget(physically);
    auto* buttons = new QDialogButtonBox(&d);
    buttons->addButton(QStringLiteral("Да"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Нет"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    layout->addWidget(buttons);
    if (d.exec() != QDialog::Accepted)
        return false;
    m_removeFile = physically->isChecked();
    return true;
}

Status TitleBlocksDialog::deleteEntry(int slot) {
    return DeleteTitleBlock(folder(), slot, m_removeFile);
}

std::optional<TitleBlock> TitleBlocksDialog::selectedBlock() {
    const int slot = selectedSlot();
    if (slot <= 0)
        return std::nullopt; // the template is neither viewed nor printed
    auto block = ReadTitleBlock(folder(), slot);
    if (!block) {
        sink().report(block.error());
        return std::nullopt;
    }
    return std::move(*block);
}

void TitleBlocksDialog::view() {
    const auto block = selectedBlock();
    if (!block)
        return;
    QDialog d(this);
    d.setWindowTitle(QStringLiteral("Просмотр штампа - ") + list()->selectedText());
    auto* layout = new QVBoxLayout(&d);
    auto* view = new TitleBlockView(*block, &d);
    view->setObjectName(QStringLiteral("view"));
    layout->addWidget(view);
    d.resize(900, 500);
    d.exec();
}

void TitleBlocksDialog::print() {
    const auto block = selectedBlock();
    if (!block)
        return;
    QDialog d(this);
    d.setWindowTitle(QStringLiteral("Печать штампа - ") + list()->selectedText());
    auto* form = new QFormLayout(&d);
    form->addRow(new QLabel(QStringLiteral("Отступы при печати штампа")));
    auto* top = new QSpinBox(&d);
    auto* left = new QSpinBox(&d);
    top->setObjectName(QStringLiteral("top"));
    left->setObjectName(QStringLiteral("left"));
    for (auto* s : {top, left})
        s->setRange(0, 1000);
    top->setValue(m_margins.top);
    left->setValue(m_margins.left);
    form->addRow(QStringLiteral("- сверху :"), top);
    form->addRow(QStringLiteral("- слева :"), left);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    form->addRow(buttons);
    if (d.exec() != QDialog::Accepted)
        return;
    m_margins = {top->value(), left->value()};
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("ORVO-II - Печать штампа"));
    if (!m_hooks.choosePrinter(printer))
        return;
    paintTitleBlock(printer, *block, m_margins.left, m_margins.top);
}

} // namespace orvo::dict::ui
