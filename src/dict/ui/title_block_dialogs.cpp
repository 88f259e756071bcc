// Widgets of the title block list and its small dialogs; the rules are in dict/title_block.
#include "dict/ui/title_block_dialogs.h"

#include "dict/title_block_draw.h"
#include "dict/ui/title_block_editor.h"
#include "platform/ui/qpainter_canvas.h"
#include "platform/ui/widgets.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <fstream>

namespace orvo::dict::ui {

namespace {

std::optional<std::filesystem::path> askFile(QWidget* parent, bool save) {
    const QString filter = QStringLiteral("Файлы штампов ORVO-II (*.OSH)");
    const QString file =
        save ? QFileDialog::getSaveFileName(parent, QStringLiteral("Экспорт штампов"), {}, filter)
             : QFileDialog::getOpenFileName(parent, QStringLiteral("Импорт штампов"), {}, filter);
    if (file.isEmpty())
        return std::nullopt;
    std::filesystem::path p = file.toStdString();
    if (save && p.extension().empty())
        p += ".OSH";
    return p;
}

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

void paintTitleBlock(QPrinter& printer, const TitleBlock& block, int leftMm, int topMm) {
    QPainter painter(&printer);
    // Device dots per 0.1 mm.
    const double u = printer.logicalDpiX() * 0.003937007874015748;
    const double v = printer.logicalDpiY() * 0.003937007874015748;
    painter.scale(1.0, v / u);
    platform::QPainterCanvas canvas(painter);
    DrawTitleBlock(canvas, block, {leftMm * 10 * u, topMm * 10 * u}, u);
}

TitleBlocksDialog::TitleBlocksDialog(const platform::WorkFolder& folder,
                                     platform::MessageSink& sink, TitleBlockPrintMargins& margins,
                                     TitleBlockDialogHooks hooks, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_sink(sink), m_margins(margins),
      m_hooks(std::move(hooks)) {
    if (!m_hooks.chooseFile)
        m_hooks.chooseFile = [this](bool save) { return askFile(this, save); };
    if (!m_hooks.choosePrinter)
        m_hooks.choosePrinter = [this](QPrinter& p) { return askPrinter(p, this); };
    setWindowTitle(QStringLiteral("Список штампов"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Существующие штампы")));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    left->addWidget(m_list);
    layout->addLayout(left);
    auto* right = new QVBoxLayout;
    struct Def {
        const char* text;
        const char* name;
        std::function<void()> act;
        bool needsSelection;
    };
    const Def defs[] = {
        {"Создать..", "create", [this] { create(false); }, false},
        {"Создать Из...", "createFrom", [this] { create(true); }, true},
        {"Редактировать...", "edit", [this] { edit(); }, true},
        {"Переименовать...", "rename", [this] { rename(); }, true},
        {"Удалить...", "delete", [this] { remove(); }, true},
        {"Просмотр...", "view", [this] { view(); }, true},
        {"Пробная печать..", "print", [this] { print(); }, true},
        {"Импорт...", "import", [this] { importFile(); }, false},
        {"Экспорт...", "export", [this] { exportSelected(); }, true},
        {"Выход", "exit", [this] { accept(); }, false},
    };
    for (const auto& d : defs) {
        auto* b = platform::ui::makeButton(d.text, d.name, this);
        connect(b, &QPushButton::clicked, this, d.act);
        right->addWidget(b);
        if (d.needsSelection)
            m_needSelection.push_back(b);
    }
    right->addStretch();
    layout->addLayout(right);
    connect(m_list, &QListWidget::currentRowChanged, this, [this] { updateButtons(); });
    refill(-1);
}

int TitleBlocksDialog::selectedSlot() const {
    const auto* item = m_list->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

void TitleBlocksDialog::selectSlot(int slot) {
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->data(Qt::UserRole).toInt() == slot)
            m_list->setCurrentRow(i);
}

QString TitleBlocksDialog::selectedName() const {
    const auto* item = m_list->currentItem();
    return item ? item->text() : QString();
}

void TitleBlocksDialog::refill(int slot) {
    auto list = ReadTitleBlockList(m_folder);
    if (!list)
        m_sink.report(list.error());
    m_list->clear();
    if (list)
        for (std::size_t i = 0; i < list->entries.size(); ++i)
            if (list->entries[i].used != 0) {
                auto* item =
                    new QListWidgetItem(platform::ui::qs(list->entries[i].name.utf8()), m_list);
                item->setData(Qt::UserRole, static_cast<int>(i));
            }
    selectSlot(slot);
    if (!m_list->currentItem() && m_list->count() > 0)
        m_list->setCurrentRow(0);
    updateButtons();
}

void TitleBlocksDialog::updateButtons() {
    // The first entry is the template: it only serves "Создать..".
    const bool real = m_list->currentRow() > 0;
    for (auto* b : m_needSelection)
        b->setEnabled(real);
}

std::optional<int> TitleBlocksDialog::runEditor(TitleBlockEdit& e, std::optional<int> slot) {
    TitleBlockEditor editor(e, m_sink, this);
    if (editor.exec() != QDialog::Accepted) {
        e.discard();
        return std::nullopt;
    }
    auto saved = e.save(slot);
    if (!saved) {
        m_sink.report(saved.error());
        e.discard();
        return std::nullopt;
    }
    return *saved;
}

void TitleBlocksDialog::create(bool fromSelected) {
    const int from = fromSelected ? selectedSlot() : 0;
    if (from < 0)
        return;
    auto e = TitleBlockEdit::Load(m_folder, from, true);
    if (!e) {
        m_sink.report(e.error());
        return;
    }
    if (auto slot = runEditor(*e, std::nullopt))
        refill(*slot);
}

void TitleBlocksDialog::edit() {
    const int slot = selectedSlot();
    if (slot <= 0)
        return;
    auto e = TitleBlockEdit::Load(m_folder, slot);
    if (!e) {
        m_sink.report(e.error());
        return;
    }
    if (runEditor(*e, slot))
        refill(slot);
}

void TitleBlocksDialog::rename() {
    const int slot = selectedSlot();
    if (slot <= 0)
        return;
    QDialog d(this);
    d.setWindowTitle(QStringLiteral("Переименование штампа"));
    auto* form = new QFormLayout(&d);
    auto* old = new QLineEdit(selectedName(), &d);
    old->setReadOnly(true);
    auto* fresh = new QLineEdit(selectedName(), &d);
    fresh->setObjectName(QStringLiteral("newName"));
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
    if (auto st = RenameTitleBlock(m_folder, slot, fresh->text().toStdString()); !st)
        m_sink.report(st.error());
    refill(slot);
}

void TitleBlocksDialog::remove() {
    const int slot = selectedSlot();
    if (slot <= 0)
        return;
    QDialog d(this);
    d.setWindowTitle(QStringLiteral("Удаление штампа"));
    auto* layout = new QVBoxLayout(&d);
    layout->addWidget(new QLabel(QStringLiteral("Вы действительно хотите удалить")));
    layout->addWidget(new QLabel(QStringLiteral("штамп с именем")));
    layout->addWidget(new QLabel(selectedName() + QStringLiteral(" ?")));
    auto* physically = new QCheckBox(QStringLiteral("Удалять физически с диска"), &d);
    physically->setObjectName(QStringLiteral("physically"));
    physically->setChecked(true);
    layout->addWidget(physically);
    auto* buttons = new QDialogButtonBox(&d);
    buttons->addButton(QStringLiteral("Да"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Нет"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    layout->addWidget(buttons);
    if (d.exec() != QDialog::Accepted)
        return;
    if (auto st = DeleteTitleBlock(m_folder, slot, physically->isChecked()); !st)
        m_sink.report(st.error());
    refill(-1);
    m_list->setCurrentRow(0);
}

std::optional<TitleBlock> TitleBlocksDialog::selectedBlock() {
    const int slot = selectedSlot();
    if (slot <= 0)
        return std::nullopt; // the template is neither viewed nor printed
    auto block = ReadTitleBlock(m_folder, slot);
    if (!block) {
        m_sink.report(block.error());
        return std::nullopt;
    }
    return std::move(*block);
}

void TitleBlocksDialog::view() {
    const auto block = selectedBlock();
    if (!block)
        return;
    QDialog d(this);
    d.setWindowTitle(QStringLiteral("Просмотр штампа - ") + selectedName());
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
    d.setWindowTitle(QStringLiteral("Печать штампа - ") + selectedName());
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

void TitleBlocksDialog::exportSelected() {
    const int slot = selectedSlot();
    if (slot <= 0)
        return;
    auto list = ReadTitleBlockList(m_folder);
    auto block = ReadTitleBlock(m_folder, slot);
    if (!list || !block) {
        m_sink.report(!list ? list.error() : block.error());
        return;
    }
    const auto file = m_hooks.chooseFile(true);
    if (!file)
        return;
    const auto bytes = exchangeBytes(list->entries[static_cast<std::size_t>(slot)], *block);
    // Outside the working folder: an ordinary file, written whole or reported.
    std::ofstream out(*file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        m_sink.show("ОШИБКА", "Ошибка открытия (" + file->string() + ")", platform::Icon::Error);
}

void TitleBlocksDialog::importFile() {
    const auto file = m_hooks.chooseFile(false);
    if (!file)
        return;
    std::ifstream in(*file, std::ios::binary);
    if (!in) {
        m_sink.show("ОШИБКА", "Ошибка открытия (" + file->string() + ")", platform::Icon::Error);
        return;
    }
    // Exchange files hold one block: a few kilobytes. Anything far larger is not one.
    constexpr std::size_t kLimit = 4u << 20;
    std::vector<std::uint8_t> bytes(kLimit + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    auto item = bytes.size() > kLimit
                    ? Result<TitleBlockExchange>(Error{"Неверный формат файла", "ОШИБКА", false})
                    : parseExchange(bytes);
    if (!item) {
        m_sink.report(item.error());
        return;
    }
    auto list = ReadTitleBlockList(m_folder);
    if (!list) {
        m_sink.report(list.error());
        return;
    }
    std::optional<int> slot = findTitleBlockByName(*list, item->record);
    if (slot) {
        if (*slot == 0)
            return; // the template is never replaced
        QDialog d(this);
        d.setWindowTitle(QStringLiteral("Импорт штампа - предупреждение"));
        auto* layout = new QVBoxLayout(&d);
        layout->addWidget(new QLabel(QStringLiteral("Штамп с наименованием :")));
        layout->addWidget(new QLabel(platform::ui::qs(item->record.name.utf8())));
        layout->addWidget(new QLabel(QStringLiteral("Уже существует в системе !")));
        auto* buttons = new QDialogButtonBox(&d);
        buttons->addButton(QStringLiteral("Перезаписать"), QDialogButtonBox::AcceptRole);
        buttons->addButton(QStringLiteral("Отмена импорта"), QDialogButtonBox::RejectRole);
        connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
        layout->addWidget(buttons);
        if (d.exec() != QDialog::Accepted)
            return;
    }
    auto imported = ImportTitleBlock(m_folder, *item, slot);
    if (!imported) {
        m_sink.report(imported.error());
        return;
    }
    refill(*imported);
}

} // namespace orvo::dict::ui
