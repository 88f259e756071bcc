// Widgets of the symbol library dialog, its preview and its warning dialogs; the rules are in
// dict/symbol.
#include "dict/ui/symbol_dialogs.h"

#include "platform/collate.h"
#include "platform/numbers.h"
#include "platform/ui/qpainter_canvas.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvo::dict::ui {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QPushButton* button(const char* text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

// Exchange files hold one symbol: a few kilobytes at most. Anything far larger is not one.
constexpr std::uint64_t kMaxExchangeBytes = 2u << 20;

std::optional<std::filesystem::path> askFile(QWidget* parent, bool save) {
    QFileDialog dialog(parent, save ? QStringLiteral("Экспорт - Словарь значков")
                                    : QStringLiteral("Импорт - Словарь значков"));
    dialog.setNameFilter(QStringLiteral("Значки ORVO-II (*.OTS)"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("OTS"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

// The duplicate-name dialogs: the clicked button's position, or -1 when closed otherwise.
int askAboutName(QWidget* parent, const QString& title, const std::string& nameUtf8,
                 std::initializer_list<const char*> choices) {
    QDialog d(parent);
    d.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&d);
    layout->addWidget(new QLabel(QStringLiteral("Наименование значка"), &d));
    auto* name = new QLabel(qs(nameUtf8), &d);
    name->setObjectName(QStringLiteral("name"));
    layout->addWidget(name);
    layout->addWidget(new QLabel(QStringLiteral("Уже существует в системе."), &d));
    layout->addWidget(new QLabel(QStringLiteral("Ваши действия:"), &d));
    auto* row = new QHBoxLayout;
    int code = 1;
    for (const char* text : choices) {
        auto* b = button(text, "choice", &d);
        QObject::connect(b, &QPushButton::clicked, &d, [&d, code] { d.done(code); });
        row->addWidget(b);
        ++code;
    }
    layout->addLayout(row);
    return d.exec() - 1;
}

} // namespace

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
    switch (askAboutName(parent, QStringLiteral("Предупреждение"), nameUtf8,
                         {"Продолжить редактирование", "Перезаписать", "Выйти без сохранения"})) {
    case 1:
        return DuplicateChoice::Overwrite;
    case 2:
        return DuplicateChoice::Leave;
    default:
        return DuplicateChoice::KeepEditing; // closing the box loses nothing
    }
}

bool askImportOverwriteOnScreen(const std::string& nameUtf8, QWidget* parent) {
    return askAboutName(parent, QStringLiteral("Импорт значка. Предупреждение"), nameUtf8,
                        {"Перезаписать", "Отменить импорт"}) == 0;
}

SymbolLibraryDialog::SymbolLibraryDialog(const platform::WorkFolder& folder,
                                         platform::MessageSink& sink, Mode mode, int current,
                                         SymbolDialogHooks hooks, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_sink(sink), m_hooks(std::move(hooks)) {
    if (!m_hooks.chooseFile)
        m_hooks.chooseFile = [this](bool save) { return askFile(this, save); };
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
            return EditSymbol(m_folder, m_sink, index, m_hooks.askSaveDuplicate, this);
        };
    setWindowTitle(QStringLiteral("Библиотека значков"));
    auto* layout = new QHBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setMinimumWidth(260);
    layout->addWidget(m_list);

    auto* middle = new QVBoxLayout;
    auto* create = button("Создать", "create", this);
    m_edit = button("Отредактировать", "edit", this);
    m_delete = button("Удалить", "delete", this);
    m_export = button("Экспорт", "export", this);
    auto* import = button("Импорт", "import", this);
    connect(create, &QPushButton::clicked, this, [this] { this->create(); });
    connect(m_edit, &QPushButton::clicked, this, [this] { edit(); });
    connect(m_delete, &QPushButton::clicked, this, [this] { remove(); });
    connect(m_export, &QPushButton::clicked, this, [this] { exportSelected(); });
    connect(import, &QPushButton::clicked, this, [this] { importFile(); });
    for (auto* b : {create, m_edit, m_delete, m_export, import})
        middle->addWidget(b);
    auto* sizes = new QGroupBox(QStringLiteral("Размеры значка:"), this);
    auto* sizesLayout = new QVBoxLayout(sizes);
    m_height = new QLabel(sizes);
    m_width = new QLabel(sizes);
    m_height->setObjectName(QStringLiteral("height"));
    m_width->setObjectName(QStringLiteral("width"));
    sizesLayout->addWidget(m_height);
    sizesLayout->addWidget(m_width);
    middle->addWidget(sizes);
    middle->addStretch();
    auto* replace = button("Заменить значок", "replace", this);
    auto* cancel = button(mode == Mode::Picking ? "Отмена" : "Выход", "cancel", this);
    replace->setVisible(mode == Mode::Picking);
    connect(replace, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    middle->addWidget(replace);
    middle->addWidget(cancel);
    layout->addLayout(middle);

    m_preview = new SymbolPreview(m_folder, this);
    layout->addWidget(m_preview, 1);
    connect(m_list, &QListWidget::currentRowChanged, this, [this] { showSelection(); });
    refill(mode == Mode::Picking ? current : -1);
}

int SymbolLibraryDialog::selectedSlot() const {
    const auto* item = m_list->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

void SymbolLibraryDialog::selectSlot(int slot) {
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->data(Qt::UserRole).toInt() == slot)
            m_list->setCurrentRow(i);
}

void SymbolLibraryDialog::refill(int slot) {
    auto list = ReadSymbolList(m_folder);
    if (!list)
        m_sink.report(list.error());
    m_records = list ? std::move(*list) : std::vector<SymbolListRecord>{};
    std::vector<int> listed;
    for (std::size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].used != 0)
            listed.push_back(static_cast<int>(i));
    std::stable_sort(listed.begin(), listed.end(), [this](int a, int b) {
        return platform::compareText(m_records[static_cast<std::size_t>(a)].name.utf8(),
                                     m_records[static_cast<std::size_t>(b)].name.utf8()) < 0;
    });
    const QSignalBlocker block(m_list);
    m_list->clear();
    for (int s : listed) {
        auto* item =
            new QListWidgetItem(qs(m_records[static_cast<std::size_t>(s)].name.utf8()), m_list);
        item->setData(Qt::UserRole, s);
    }
    selectSlot(slot);
    if (!m_list->currentItem() && m_list->count() > 0)
        m_list->setCurrentRow(0);
    showSelection();
}

void SymbolLibraryDialog::showSelection() {
    const int slot = selectedSlot();
    const bool real = slot > 0;
    for (auto* b : {m_edit, m_delete, m_export})
        b->setEnabled(real);
    if (!real) {
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
    if (slot <= 0)
        return;
    if (const int saved = m_hooks.editSymbol(slot); saved > 0)
        refill(saved);
}

void SymbolLibraryDialog::remove() {
    const int slot = selectedSlot();
    if (slot <= 0)
        return;
    if (m_sink.askYesNo("Удаление", "Вы действительно хотите удалить значок?") !=
        platform::Answer::Yes)
        return;
    if (auto st = DeleteSymbol(m_folder, slot); !st)
        m_sink.report(st.error());
    refill(-1);
}

void SymbolLibraryDialog::exportSelected() {
    const int slot = selectedSlot();
    if (slot <= 0)
        return;
    const auto file = m_hooks.chooseFile(true);
    if (!file)
        return;
    auto bytes = ExportSymbolBytes(m_folder, slot);
    if (!bytes) {
        m_sink.report(bytes.error());
        return;
    }
    // The file lies outside the working folder; it is still replaced whole or not at all.
    const platform::WorkFolder target(file->parent_path());
    if (!target.writeAtomic(file->filename().string(), *bytes))
        m_sink.show("ОШИБКА", "Ошибка открытия (" + file->string() + ")", platform::Icon::Error);
}

void SymbolLibraryDialog::importFile() {
    const auto file = m_hooks.chooseFile(false);
    if (!file)
        return;
    const platform::WorkFolder source(file->parent_path());
    const auto in = source.read(file->filename().string(), kMaxExchangeBytes + 1);
    if (!in.ok()) {
        m_sink.show("ОШИБКА", "Ошибка открытия (" + file->string() + ")", platform::Icon::Error);
        return;
    }
    auto item = in.reachedLimit ? Result<SymbolExchange>(Error{"Неверный формат файла", "ОШИБКА"})
                                : parseSymbolExchange(in.bytes);
    if (!item) {
        m_sink.show(item.error().caption, item.error().text, platform::Icon::Error);
        return;
    }
    auto list = ReadSymbolList(m_folder);
    if (!list) {
        m_sink.report(list.error());
        return;
    }
    const auto same = findSymbolByName(*list, item->record.name.bytes());
    if (same && !m_hooks.askImportOverwrite(item->record.name.utf8()))
        return;
    auto imported = ImportSymbol(m_folder, *item, same);
    if (!imported) {
        m_sink.report(imported.error());
        return;
    }
    refill(*imported);
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
