// Widgets of the section dialog; the list rules and scale texts are
// in section/section_rules.
#include "section/ui/section_dialog.h"
#include "section/ui/section_dialog_parts.h"

#include "dict/drawing_form.h"
#include "dict/title_block.h"
#include "dict/ui/drawing_form_dialogs.h"
#include "platform/codepage.h"
#include "platform/collate.h"
#include "platform/numbers.h"
#include "platform/ui/widgets.h"
#include "section/ui/section_ige_dialog.h"
#include "section/ui/settings_list_dialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <utility>

namespace orvo::section::ui {

using platform::ui::makeButton;
using platform::ui::qs;
using namespace detail;

bool AskLeaveWithoutSaving(QWidget* parent) {
    QDialog box(parent);
    box.setObjectName(QStringLiteral("leaveQuestion"));
    box.setWindowTitle(QStringLiteral("Внимание"));
    auto* layout = new QVBoxLayout(&box);
    for (const char* line : {"За время редактирования разреза", "были произведены изменения",
                             "в одном или нескольких режимах :", "- Соединение ИГЭ",
                             "- Редактирование чертежа разреза", "- Описание ИГЭ"})
        layout->addWidget(new QLabel(QString::fromUtf8(line), &box));
    auto* buttons = new QHBoxLayout;
    auto* stay = makeButton("Продолжить редактирование", "continueEditing", &box);
    auto* leave = makeButton("Выйти без сохранения", "leaveWithoutSaving", &box);
    // Staying is the safe answer, so it is what Return and Escape give.
    stay->setDefault(true);
    buttons->addWidget(stay);
    buttons->addWidget(leave);
    layout->addLayout(buttons);
    QObject::connect(stay, &QPushButton::clicked, &box, &QDialog::reject);
    QObject::connect(leave, &QPushButton::clicked, &box, &QDialog::accept);
    return box.exec() == QDialog::Accepted;
}

// ---- the section dialog ----

SectionDialog::SectionDialog(const store::ProjectStore& store, std::int32_t object,
                             Section& section, bool isNew, platform::MessageSink& sink,
                             dict::ui::TitleBlockPrintMargins& margins, QWidget* parent)
    : QDialog(parent), m_store(store), m_object(object), m_section(section),
      m_header(section.header), m_list(section.boreholes), m_sink(sink), m_margins(margins),
      m_isNew(isNew) {
    setObjectName(QStringLiteral("sectionDialog"));
    setWindowTitle(isNew ? QStringLiteral("Новый разрез")
                         : QStringLiteral("Разрез: ") + qs(m_header.name.utf8()));
    buildControls();
    fillScales();
    fillSheetFormats();
    fillSurnames();
    fillStamps();
    fillObjectBoreholes();
    showSectionList();
}

void SectionDialog::buildControls() {
    auto* layout = new QGridLayout(this);
    layout->addLayout(buildHeader(), 0, 0, 1, 2);
    layout->addLayout(buildBoreholeLists(), 1, 0, 1, 2);
    layout->addWidget(buildSignatures(), 2, 0);
    layout->addWidget(buildStamps(), 2, 1);
    layout->addLayout(buildCommands(), 3, 0, 1, 2);
    auto* closing = new QHBoxLayout;
    auto* save = makeButton("Сохранить", "save", this);
    auto* cancel = makeButton("Отмена", "cancel", this);
    closing->addStretch();
    closing->addWidget(save);
    closing->addWidget(cancel);
    layout->addLayout(closing, 4, 0, 1, 2);
    connect(save, &QPushButton::clicked, this, &SectionDialog::onSave);
    connect(cancel, &QPushButton::clicked, this, &SectionDialog::reject);
}

QLayout* SectionDialog::buildHeader() {
    auto* objectName = new QLineEdit(this);
    objectName->setObjectName(QStringLiteral("objectName"));
    objectName->setReadOnly(true);
    auto title = m_store.ReadObjectTitle(m_object);
    if (title)
        objectName->setText(qs(title->shortName.utf8()));
    else
        m_sink.report(title.error());
    m_name = new QLineEdit(qs(m_header.name.utf8()), this);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setMaxLength(29);
    m_vertical = makeCombo("verticalScale", this);
    m_horizontal = makeCombo("horizontalScale", this);
    m_format = makeCombo("sheetFormat", this);
    m_height = makeSizeField("sheetHeight", this);
    m_width = makeSizeField("sheetWidth", this);
    auto* scales = moreButton("scaleList", this);
    auto* formats = moreButton("sheetFormatList", this);

    auto* top = new QGridLayout;
    addRows(top, 0,
            {{"Наименование объекта:", objectName},
             {"Наименование разреза:", m_name},
             {"Масштаб по вертикали:", m_vertical},
             {"Масштаб по горизонтали:", m_horizontal},
             {"Размеры логического листа:", m_format},
             {"- по вертикали, в мм", m_height},
             {"- по горизонтали, в мм", m_width}});
    top->addWidget(scales, 3, 2);
    top->addWidget(formats, 4, 2);
    connect(scales, &QPushButton::clicked, this, [this] {
        ScaleListDialog(m_store.folder(), m_sink, this).exec();
        fillScales();
    });
    connect(formats, &QPushButton::clicked, this, [this] {
        if (openSheetFormats(m_store.folder(), m_sink, this))
            fillSheetFormats();
    });
    connect(m_format, &QComboBox::currentIndexChanged, this, &SectionDialog::onSheetFormatChosen);
    return top;
}

QLayout* SectionDialog::buildBoreholeLists() {
    auto* lists = new QHBoxLayout;
    auto* sectionBox = new QVBoxLayout;
    sectionBox->addWidget(new QLabel(QStringLiteral("Разрез"), this));
    m_sectionList = new QListWidget(this);
    m_sectionList->setObjectName(QStringLiteral("sectionBoreholes"));
    sectionBox->addWidget(m_sectionList);
    lists->addLayout(sectionBox);
    auto* moves = new QVBoxLayout;
    m_insert = makeButton("<", "insert", this);
    m_remove = makeButton(">", "remove", this);
    m_up = makeButton("▲", "up", this);
    m_down = makeButton("▼", "down", this);
    for (auto* b : {m_insert, m_remove, m_up, m_down})
        moves->addWidget(b);
    lists->addLayout(moves);
    auto* objectBox = new QVBoxLayout;
    objectBox->addWidget(new QLabel(QStringLiteral("Обьект"), this));
    m_objectList = new QListWidget(this);
    m_objectList->setObjectName(QStringLiteral("objectBoreholes"));
    objectBox->addWidget(m_objectList);
    lists->addLayout(objectBox);
    connectBoreholeLists();
    return lists;
}

void SectionDialog::connectBoreholeLists() {
    connect(m_sectionList, &QListWidget::currentRowChanged, this, [this](int row) {
        m_list.setCurrent(row);
        updateButtons();
    });
    connect(m_insert, &QPushButton::clicked, this, [this] {
        const auto* item = m_objectList->currentItem();
        if (item && m_list.insertAfterCurrent(item->data(Qt::UserRole).toInt()))
            showSectionList();
    });
    for (const auto& entry : {std::pair{m_remove, &SectionBoreholeList::removeCurrent},
                              std::pair{m_up, &SectionBoreholeList::moveUp},
                              std::pair{m_down, &SectionBoreholeList::moveDown}}) {
        const auto move = entry.second;
        connect(entry.first, &QPushButton::clicked, this, [this, move] {
            if ((m_list.*move)())
                showSectionList();
        });
    }
}

QWidget* SectionDialog::buildSignatures() {
    auto* signatures = new QGroupBox(QStringLiteral("Подписи"), this);
    signatures->setObjectName(QStringLiteral("signatures"));
    auto* sigLayout = new QGridLayout(signatures);
    for (int i = 0; i < 4; ++i) {
        const std::string name = "signature" + std::to_string(i + 1);
        auto* combo = makeCombo(name.c_str(), signatures);
        m_signatures.push_back(combo);
        sigLayout->addWidget(new QLabel(QStringLiteral("# %1").arg(i + 1), signatures), i, 0);
        sigLayout->addWidget(combo, i, 1);
    }
    auto* surnames = moreButton("surnameList", signatures);
    sigLayout->addWidget(surnames, 0, 2);
    connect(surnames, &QPushButton::clicked, this, [this] {
        SurnameListDialog(m_store.folder(), m_sink, this).exec();
        fillSurnames();
    });
    return signatures;
}

QWidget* SectionDialog::buildStamps() {
    auto* stamps = new QGroupBox(QStringLiteral("Вид штампа"), this);
    stamps->setObjectName(QStringLiteral("stamps"));
    auto* stampLayout = new QGridLayout(stamps);
    m_stampFirst = makeCombo("stampFirstSheet", stamps);
    m_stampOther = makeCombo("stampOtherSheets", stamps);
    stampLayout->addWidget(new QLabel(QStringLiteral("1-й лист"), stamps), 0, 0);
    stampLayout->addWidget(m_stampFirst, 0, 1);
    stampLayout->addWidget(new QLabel(QStringLiteral("остальные"), stamps), 1, 0);
    stampLayout->addWidget(m_stampOther, 1, 1);
    auto* titleBlocks = moreButton("titleBlockList", stamps);
    stampLayout->addWidget(titleBlocks, 0, 2);
    connect(titleBlocks, &QPushButton::clicked, this, [this] {
        openTitleBlocks(m_store.folder(), m_sink, m_margins, this);
        fillStamps();
    });
    connect(m_stampFirst, &QComboBox::currentIndexChanged, this, [this] {
        m_header.stampFirstSheet = static_cast<std::int16_t>(m_stampFirst->currentData().toInt());
    });
    connect(m_stampOther, &QComboBox::currentIndexChanged, this, [this] {
        m_header.stampOtherSheets = static_cast<std::int16_t>(m_stampOther->currentData().toInt());
    });
    return stamps;
}

QLayout* SectionDialog::buildCommands() {
    auto* work = new QHBoxLayout;
    auto* connectIge = makeButton("Соединение ИГЭ...", "connectIge", this);
    auto* describeIge = makeButton("Описание ИГЭ...", "describeIge", this);
    auto* editDrawing = makeButton("Редактирование чертежа...", "editDrawing", this);
    auto* view = makeButton("Просмотр...", "view", this);
    auto* print = makeButton("Печать...", "print", this);
    auto* exportDrawing = makeButton("Экспорт чертежа...", "exportDrawing", this);
    auto* exportDrawingMore = moreButton("exportDrawingMore", this);
    auto* exportData = makeButton("Экспорт данных...", "exportData", this);
    for (auto* b : {connectIge, describeIge, editDrawing, view, print, exportDrawing,
                    exportDrawingMore, exportData})
        work->addWidget(b);
    m_needBoreholes = {connectIge, describeIge, editDrawing, view, print, exportData, m_remove};
    connect(editDrawing, &QPushButton::clicked, this,
            [this] { runDrawing(m_drawing.editDrawing); });
    connect(view, &QPushButton::clicked, this, [this] { runDrawing(m_drawing.view); });
    connect(print, &QPushButton::clicked, this, [this] { runDrawing(m_drawing.print); });
    connect(exportDrawing, &QPushButton::clicked, this,
            [this] { runDrawing(m_drawing.exportDrawing); });
    connect(exportDrawingMore, &QPushButton::clicked, this,
            [this] { runDrawing(m_drawing.openDrawing); });
    connect(connectIge, &QPushButton::clicked, this, &SectionDialog::onConnectIge);
    connect(describeIge, &QPushButton::clicked, this, &SectionDialog::onDescribeIge);
    return work;
}

void SectionDialog::fillScales() {
    const auto scales = readScales(m_store.folder(), m_sink);
    fillScaleCombo(m_vertical, scales, true, m_header.verticalScale);
    fillScaleCombo(m_horizontal, scales, false, m_header.horizontalScale);
}

void SectionDialog::fillSheetFormats() {
    auto formats = ReadSheetFormats(m_store.folder());
    if (!formats) {
        m_fatal = m_fatal || formats.error().fatal;
        m_sink.report(formats.error());
        m_formats.clear();
    } else {
        m_formats = *formats;
    }
    fillFormatCombo(m_format, m_formats,
                    sheetFormatRow(m_formats, m_header.sheetHeightMm, m_header.sheetWidthMm));
    const int row = m_format->currentIndex();
    if (row < 0)
        return;
    const auto& f = m_formats[static_cast<std::size_t>(row)];
    m_height->setText(QString::number(f.heightMm));
    m_width->setText(QString::number(f.widthMm));
}

void SectionDialog::onSheetFormatChosen() {
    const int row = m_format->currentIndex();
    if (row < 0 || row >= static_cast<int>(m_formats.size()))
        return;
    const auto& f = m_formats[static_cast<std::size_t>(row)];
    m_header.sheetHeightMm = f.heightMm;
    m_header.sheetWidthMm = f.widthMm;
    m_height->setText(QString::number(f.heightMm));
    m_width->setText(QString::number(f.widthMm));
}

void SectionDialog::fillSurnames() {
    auto names = ReadSurnames(m_store.folder());
    if (!names)
        m_sink.report(names.error());
    const bool refill = m_signatures[0]->count() > 0;
    for (std::size_t i = 0; i < m_signatures.size(); ++i) {
        QComboBox* combo = m_signatures[i];
        // A refill keeps what is chosen now; the first fill shows the stored signature.
        const std::string shown =
            refill ? platform::utf8ToCp1251(text(combo)) : m_header.signatures[i].bytes();
        combo->clear();
        int row = 0;
        if (names)
            for (const auto& n : *names) {
                if (n.samePadded(shown))
                    row = combo->count();
                combo->addItem(qs(n.utf8Trimmed()));
            }
        combo->setCurrentIndex(combo->count() > 0 ? row : -1);
    }
}

void SectionDialog::fillStamps() {
    const auto list = readTitleBlocks(m_store.folder(), m_sink);
    if (!fillStampCombo(m_stampFirst, list, m_header.stampFirstSheet))
        m_header.stampFirstSheet = 0;
    if (!fillStampCombo(m_stampOther, list, m_header.stampOtherSheets))
        m_header.stampOtherSheets = 0;
}

void SectionDialog::fillObjectBoreholes() {
    auto numbers = m_store.ReadBoreholeList(m_object);
    if (!numbers)
        m_sink.report(numbers.error());
    struct Entry {
        std::string name;
        std::int32_t number;
    };
    std::vector<Entry> entries;
    if (numbers)
        for (const auto n : *numbers) {
            auto header = m_store.ReadBoreholeHeader(m_object, n);
            if (!header)
                continue;
            std::string name = header->name.bytes();
            name.resize(10, ' ');
            entries.push_back({platform::cp1251ToUtf8(name), n});
        }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return platform::compareText(a.name, b.name) < 0;
    });
    m_objectList->clear();
    for (const auto& e : entries) {
        auto* item = new QListWidgetItem(qs(e.name), m_objectList);
        item->setData(Qt::UserRole, e.number);
    }
    if (m_objectList->count() > 0)
        m_objectList->setCurrentRow(0);
    m_objectBoreholes = m_objectList->count();
}

void SectionDialog::showSectionList() {
    std::map<std::int32_t, QString> names;
    for (int i = 0; i < m_objectList->count(); ++i) {
        const auto* item = m_objectList->item(i);
        names[item->data(Qt::UserRole).toInt()] = item->text().trimmed();
    }
    const QSignalBlocker block(m_sectionList);
    m_sectionList->clear();
    for (const auto n : m_list.numbers()) {
        const auto it = names.find(n);
        auto* item =
            new QListWidgetItem(it != names.end() ? it->second : QString::number(n), m_sectionList);
        item->setData(Qt::UserRole, n);
    }
    m_sectionList->setCurrentRow(m_list.current());
    updateButtons();
}

void SectionDialog::updateButtons() {
    const auto state = sectionButtonState(m_list, m_objectBoreholes);
    for (auto* b : m_needBoreholes)
        b->setEnabled(state.needsBoreholes);
    m_up->setEnabled(state.up);
    m_down->setEnabled(state.down);
    m_insert->setEnabled(state.insert);
}

void SectionDialog::onConnectIge() {
    // A new section has no stored connection file yet.
    const auto stored = m_isNew ? std::nullopt : std::optional(m_section.header.number);
    if (!m_editConnections) {
        notAvailable();
        return;
    }
    m_editConnections(m_list.numbers(), stored);
}

void SectionDialog::onDescribeIge() {
    // The dialog's unsaved borehole list; a new section has no description file of its own.
    const auto stored = m_isNew ? std::nullopt : std::optional(m_section.header.number);
    EditSectionIges(m_store.folder(), m_object, m_list.numbers(), stored, m_sink, this);
}

void SectionDialog::notAvailable() {
    m_sink.show("Information", "Эта функция пока недоступна.", platform::Icon::Information);
}

void SectionDialog::runDrawing(const SectionCommand& command) {
    if (!command) {
        notAvailable();
        return;
    }
    const auto stored = m_isNew ? std::nullopt : std::optional(m_section.header.number);
    command(currentValues(), stored);
}

Section SectionDialog::currentValues() {
    m_header.name.setUtf8(m_name->text().toStdString());
    m_header.verticalScale = parseScaleText(text(m_vertical));
    m_header.horizontalScale = parseScaleText(text(m_horizontal));
    m_header.sheetHeightMm =
        static_cast<std::int32_t>(platform::parseWholeNumber(m_height->text().toStdString()));
    m_header.sheetWidthMm =
        static_cast<std::int32_t>(platform::parseWholeNumber(m_width->text().toStdString()));
    for (std::size_t i = 0; i < m_signatures.size(); ++i)
        m_header.signatures[i].setPadded(platform::utf8ToCp1251(text(m_signatures[i])));
    return {m_header, m_list.numbers()};
}

void SectionDialog::onSave() {
    m_section = currentValues();
    accept();
}

void SectionDialog::reject() {
    if (m_store.HasWorkingCopies()) {
        const bool leave = m_askLeave ? m_askLeave() : AskLeaveWithoutSaving(this);
        if (!leave)
            return;
        m_store.DeleteWorkingCopies();
    }
    QDialog::reject();
}

} // namespace orvo::section::ui
