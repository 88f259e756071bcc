// Widgets of the symbol library dialog, its preview and its warning dialogs; the rules are in
// dict/symbol.
#include "dict/ui/symbol_dialogs.h"

#include "platform/numbers.h"
#include "platform/ui/exchange_dialogs.h"
#include "platform/ui/qpainter_canvas.h"
#include "platform/ui/widgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo::dict::ui {

using platform::ui::makeButton;
using platform::ui::qs;

// The library's picture of the selected symbol, with "Натуральная величина" below it.
class SymbolPreview : public QWidget {
public:
    static constexpr int kBottom = 20;

    SymbolPreview(const platform::WorkFolder& folder, QWidget* parent)
        : QWidget(parent), m_folder(folder) {
        setObjectName(QStringLiteral("preview"));
        setMinimumSize(180, 180);
        m_natural = new QCheckBox(QStringLiteral("Натуральная величина"), this);
        m_natural->setObjectName(QStringLiteral("natural"));
        connect(m_natural, &QCheckBox::toggled, this, [this] { update(); });
    }

    void showSymbol(int slot, const SymbolListRecord& record) {
        m_slot = slot;
        m_record = record;
        update();
    }

protected:
    void resizeEvent(QResizeEvent*) override {
        m_natural->setGeometry(3, height() - kBottom, width() - 6, kBottom);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect area = rect().adjusted(3, 3, -3, -3 - kBottom);
        painter.fillRect(area, palette().color(QPalette::Midlight));
        if (m_slot <= 0)
            return;
        const QRect clip = area.adjusted(5, 5, -5, -5);
        const platform::RectF frame{double(clip.x()), double(clip.y()), double(clip.width()),
                                    double(clip.height())};
        std::optional<double> natural;
        if (m_natural->isChecked())
            natural = logicalDpiX() * 0.0003937007874015748; // device units per 0.01 mm
        const auto fit = fitSymbolPreview(m_record, frame, natural);
        if (!fit)
            return;
        platform::QPainterCanvas canvas(painter);
        canvas.clipRect(frame);
        const auto scale = static_cast<float>(fit->scale);
        // A damaged item file shows what could be read; the list still works.
        (void)DrawSymbol(canvas, m_folder, m_slot, fit->at, scale, scale);
    }

private:
    const platform::WorkFolder& m_folder;
    QCheckBox* m_natural;
    int m_slot = 0;
    SymbolListRecord m_record;
};

DuplicateChoice askSaveDuplicateOnScreen(const std::string& nameUtf8, QWidget* parent) {
    switch (platform::ui::askNameTaken(parent, symbolNameTaken(false), nameUtf8)) {
    case 1:
        return DuplicateChoice::Overwrite;
    case 2:
        return DuplicateChoice::Leave;
    default:
        return DuplicateChoice::KeepEditing; // closing the box loses nothing
    }
}

bool askImportOverwriteOnScreen(const std::string& nameUtf8, QWidget* parent) {
    return platform::ui::askNameTaken(parent, symbolNameTaken(true), nameUtf8) == 0;
}

SymbolLibraryDialog::SymbolLibraryDialog(const platform::WorkFolder& folder,
                                         platform::MessageSink& sink, Mode mode, int current,
                                         SymbolDialogHooks hooks, QWidget* parent)
    : DictionaryListDialog(folder, sink, parent), m_hooks(std::move(hooks)) {
    if (!m_hooks.askSaveDuplicate)
        m_hooks.askSaveDuplicate = [this](const std::string& n) {
            return askSaveDuplicateOnScreen(n, this);
        };
    if (!m_hooks.askImportOverwrite)
        m_hooks.askImportOverwrite = [this](const std::string& n) {
            return askImportOverwriteOnScreen(n, this);
        };
    if (!m_hooks.editSymbol)
        m_hooks.editSymbol = [this](int index) {
            return EditSymbol(this->folder(), this->sink(), index, m_hooks.askSaveDuplicate, this);
        };
    setExchange(exchangeHooks());
    setWindowTitle(QStringLiteral("Библиотека значков"));
    auto* layout = new QHBoxLayout(this);
    list()->setMinimumWidth(260);
    layout->addWidget(list());

    auto* middle = new QVBoxLayout;
    using N = Needs;
    for (auto* b :
         {addButton(makeButton("Создать", "create", this), N::Nothing, [this] { create(); }),
          addButton(makeButton("Отредактировать", "edit", this), N::OwnEntry, [this] { edit(); }),
          addButton(makeButton("Удалить", "delete", this), N::OwnEntry, [this] { remove(); }),
          addButton(makeButton("Экспорт", "export", this), N::OwnEntry,
                    [this] { exportSelected(); }),
          addButton(makeButton("Импорт", "import", this), N::Nothing, [this] { importFile(); })})
        middle->addWidget(b);
    auto* sizes = new QGroupBox(QStringLiteral("Размеры значка:"), this);
    auto* sizesLayout = new QVBoxLayout(sizes);
    m_height = platform::ui::named(new QLabel(sizes), "height");
    m_width = platform::ui::named(new QLabel(sizes), "width");
    sizesLayout->addWidget(m_height);
    sizesLayout->addWidget(m_width);
    middle->addWidget(sizes);
    middle->addStretch();
    auto* replace = makeButton("Заменить значок", "replace", this);
    auto* cancel = makeButton(mode == Mode::Picking ? "Отмена" : "Выход", "cancel", this);
    replace->setVisible(mode == Mode::Picking);
    connect(replace, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    middle->addWidget(replace);
    middle->addWidget(cancel);
    layout->addLayout(middle);

    m_preview = new SymbolPreview(folder, this);
    layout->addWidget(m_preview, 1);
    refill(mode == Mode::Picking ? current : -1);
}

platform::ui::ExchangeHooks SymbolLibraryDialog::exchangeHooks() {
    platform::ui::ExchangeHooks x;
    x.files = {QStringLiteral("Экспорт - Словарь значков"),
               QStringLiteral("Импорт - Словарь значков"),
               {QStringLiteral("Значки ORVO-II (*.OTS)")},
               QStringLiteral("OTS")};
    x.chooseFile = m_hooks.chooseFile;
    x.exportTo = [this](int slot, const std::filesystem::path& file) {
        return ExportSymbol(folder(), slot, file);
    };
    x.readImport =
        [this](const std::filesystem::path& file) -> Result<platform::ui::PendingImport> {
        auto item = ReadSymbolExchange(file);
        if (!item)
            return item.error();
        auto symbols = ReadSymbolList(folder());
        if (!symbols)
            return symbols.error();
        return platform::ui::PendingImport{
            item->record.name.utf8(), findSymbolByName(*symbols, item->record.name.bytes()),
            [this, parsed = std::move(*item)](std::optional<int> slot) {
                return ImportSymbol(folder(), parsed, slot);
            }};
    };
    x.confirmOverwrite = [this](int, const std::string& name) {
        return m_hooks.askImportOverwrite(name);
    };
    return x;
}

Result<std::vector<platform::ui::SlotEntry>> SymbolLibraryDialog::readEntries() {
    auto records = ReadSymbolList(folder());
    m_records = records ? *records : std::vector<SymbolListRecord>{};
    if (!records)
        return records.error();
    std::vector<platform::ui::SlotEntry> entries;
    for (std::size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].used != 0)
            entries.push_back({m_records[i].name.utf8(), static_cast<int>(i)});
    return entries;
}

void SymbolLibraryDialog::showSelection(int slot) {
    if (!isOwnEntry(slot)) {
        m_height->setText(QStringLiteral("- высота"));
        m_width->setText(QStringLiteral("- ширина"));
        m_preview->showSymbol(0, {});
        return;
    }
    const auto& rec = m_records[static_cast<std::size_t>(slot)];
    m_height->setText(qs("- высота " + platform::formatFixed(rec.height * 0.01, 2) + " мм"));
    m_width->setText(qs("- ширина " + platform::formatFixed(rec.width * 0.01, 2) + " мм"));
    m_preview->showSymbol(slot, rec);
}

void SymbolLibraryDialog::create() {
    if (const int slot = m_hooks.editSymbol(-1); slot > 0)
        refill(slot);
}

void SymbolLibraryDialog::edit() {
    const int slot = selectedSlot();
    if (!isOwnEntry(slot))
        return;
    if (const int saved = m_hooks.editSymbol(slot); saved > 0)
        refill(saved);
}

std::optional<SymbolLibraryDialog::Question> SymbolLibraryDialog::deleteQuestion(int) const {
    return Question{"Удаление", "Вы действительно хотите удалить значок?"};
}

Status SymbolLibraryDialog::deleteEntry(int slot) {
    return DeleteSymbol(folder(), slot);
}

int PickSymbol(const platform::WorkFolder& folder, platform::MessageSink& sink, int current,
               QWidget* parent) {
    SymbolLibraryDialog dialog(folder, sink, SymbolLibraryDialog::Mode::Picking, current, {},
                               parent);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedSlot() : -1;
}

void ManageSymbols(const platform::WorkFolder& folder, platform::MessageSink& sink,
                   QWidget* parent) {
    SymbolLibraryDialog dialog(folder, sink, SymbolLibraryDialog::Mode::Managing, -1, {}, parent);
    dialog.exec();
}

} // namespace orvo::dict::ui
