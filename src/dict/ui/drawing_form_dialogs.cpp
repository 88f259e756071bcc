// Widgets of the drawing form dialogs; the rules and the file work are in dict/drawing_form.
#include "dict/ui/drawing_form_dialogs.h"

#include "platform/codepage.h"
#include "platform/ui/qt_fonts.h"
#include "platform/ui/widgets.h"
#include "store/project_store.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvo::dict::ui {

using platform::ui::named;
using platform::ui::qs;

namespace {

bool isBold(int style) {
    return style == static_cast<int>(FontStyle::Bold) ||
           style == static_cast<int>(FontStyle::BoldItalic);
}

bool isItalic(int style) {
    return style == static_cast<int>(FontStyle::Italic) ||
           style == static_cast<int>(FontStyle::BoldItalic);
}

} // namespace

// ---- Form list ----

DrawingFormListDialog::DrawingFormListDialog(const platform::WorkFolder& folder,
                                             platform::MessageSink& sink, QWidget* parent)
    : DictionaryListDialog(folder, sink, parent) {
    setWindowTitle(QStringLiteral("Список оформлений чертежа разреза"));
    list()->setObjectName(QStringLiteral("forms"));
    // Sorted by the dictionary; the standard form is where the list starts.
    list()->setOrder(platform::ui::SlotList::Order::AsGiven);
    list()->setFallbackSlot(0);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Существующие")));
    left->addWidget(list());
    layout->addLayout(left, 1);

    // Qt's own buttons here: Return presses the focused one, else the first.
    auto* create = named(new QPushButton(qs("Создать")), "create");
    auto* edit = named(new QPushButton(qs("Отредактировать")), "edit");
    auto* rename = named(new QPushButton(qs("Переименовать")), "rename");
    auto* drop = named(new QPushButton(qs("Удалить из списка")), "delete");
    auto* exit = named(new QPushButton(qs("Выход")), "exit");
    addButton(create, Needs::Nothing, [this] { onCreate(); });
    addButton(edit, Needs::Entry, [this] { onEdit(); });
    // The standard form is what every drawing falls back to: it keeps its name and its entry.
    addButton(rename, Needs::OwnEntry, [this] { onRename(); });
    addButton(drop, Needs::OwnEntry, [this] { remove(); });
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QVBoxLayout;
    for (auto* b : {create, edit, rename, drop})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(exit);
    layout->addLayout(buttons);
    refill(0);
}

Result<std::vector<platform::ui::SlotEntry>> DrawingFormListDialog::readEntries() {
    auto forms = ListDrawingForms(folder());
    if (!forms)
        return forms.error();
    std::vector<platform::ui::SlotEntry> entries;
    for (const FormListItem& f : *forms)
        entries.push_back({f.entry.name.utf8Trimmed(), f.index});
    return entries;
}

void DrawingFormListDialog::onCreate() {
    DrawingFormEditor editor(folder(), sink(), -1, this);
    if (const auto saved = editor.run())
        refill(*saved);
}

void DrawingFormListDialog::onEdit() {
    const int index = selectedIndex();
    if (index < 0)
        return;
    DrawingFormEditor editor(folder(), sink(), index, this);
    editor.run();
}

void DrawingFormListDialog::onRename() {
    const int index = selectedIndex();
    if (!isOwnEntry(index))
        return;
    DrawingFormRenameDialog rename(folder(), sink(), index, list()->selectedText(), this);
    if (rename.exec() == QDialog::Accepted)
        refill(index);
}

std::optional<DrawingFormListDialog::Question> DrawingFormListDialog::deleteQuestion(int) const {
    return Question{"Stop", deleteFormQuestion(list()->selectedText().toStdString())};
}

Status DrawingFormListDialog::deleteEntry(int index) {
    return DeleteDrawingForm(folder(), index);
}

// ---- Preview ----

FontPreview::FontPreview(QWidget* parent) : QWidget(parent) {
    setMinimumSize(320, 80);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

QString FontPreview::sampleText() {
    return QStringLiteral("ORVO - Версия 2.0");
}

void FontPreview::setFontOf(const DrawingForm& form, int role) {
    const auto r = static_cast<std::size_t>(role);
    m_face = form.fontFace[r].utf8();
    m_size = form.fontSize[r];
    m_style = form.fontStyle[r];
    update();
}

void FontPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The stored size is in points, as the drawing takes it: shown as a font of that many
    // points at the screen's resolution, the sample looks as the size reads.
    QFont font = platform::fontForFace(m_face, std::max(1, m_size), isBold(m_style) ? 700 : 400);
    font.setItalic(isItalic(m_style));
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(rect(), Qt::AlignCenter, sampleText());
}

// ---- Editor ----

QStringList DrawingFormEditor::offeredFamilies() {
    QStringList out;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isSmoothlyScalable(family))
            continue;
        // A face is stored in Windows-1251 in 39 bytes; a family that does not survive that
        // could never be found again.
        const std::string utf8 = family.toStdString();
        const std::string cp = platform::utf8ToCp1251(utf8);
        if (cp.size() > kFormNameChars || platform::cp1251ToUtf8(cp) != utf8)
            continue;
        out << family;
    }
    return out;
}

DrawingFormEditor::DrawingFormEditor(const platform::WorkFolder& folder,
                                     platform::MessageSink& sink, int index, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_sink(sink), m_index(index) {
    setWindowTitle(QStringLiteral("Редактирование формы оформления разреза"));
    QString name = qs(kNewFormName);
    if (index < 0) {
        m_form = newDrawingForm();
    } else {
        auto list = ReadDrawingFormList(folder);
        auto body = ReadDrawingFormBody(folder, index);
        if (!list || !body || static_cast<std::size_t>(index) >= list->size()) {
            m_sink.report(!list   ? list.error()
                          : !body ? body.error()
                                  : store::BadFormatError(kDrawingFormList));
            m_loaded = false;
        } else {
            m_form = *body;
            name = qs((*list)[static_cast<std::size_t>(index)].name.utf8Trimmed());
        }
    }

    auto* layout = new QVBoxLayout(this);
    m_name = named(new QLineEdit(name), "name");
    m_name->setMaxLength(static_cast<int>(kFormNameChars));
    m_name->setReadOnly(index >= 0);
    layout->addWidget(m_name);

    auto* lines = new QGroupBox(QStringLiteral("Атрибуты линий"));
    auto* lineGrid = new QGridLayout(lines);
    m_lineKind = named(new QComboBox, "lineKind");
    for (const char* kind : lineKindNames())
        m_lineKind->addItem(qs(kind));
    m_thickness = named(new QLineEdit, "thickness");
    lineGrid->addWidget(new QLabel(QStringLiteral("Вид линии :")), 0, 0);
    lineGrid->addWidget(m_lineKind, 0, 1, 1, 2);
    lineGrid->addWidget(new QLabel(QStringLiteral("Толщина :")), 1, 0);
    lineGrid->addWidget(m_thickness, 1, 1);
    lineGrid->addWidget(new QLabel(QStringLiteral(", в мм")), 1, 2);
    layout->addWidget(lines);

    auto* texts = new QGroupBox(QStringLiteral("Атрибуты текста"));
    auto* textGrid = new QGridLayout(texts);
    m_roleBox = named(new QComboBox, "role");
    for (const char* role : textRoleNames())
        m_roleBox->addItem(qs(role));
    m_face = named(new QComboBox, "face");
    m_face->addItems(offeredFamilies());
    m_size = named(new QComboBox, "size");
    for (int s = kMinFontSize; s <= kMaxFontSize; ++s)
        m_size->addItem(QString::number(s));
    m_style = named(new QComboBox, "style");
    for (const char* style : fontStyleNames())
        m_style->addItem(qs(style));
    const std::pair<const char*, QComboBox*> rows[] = {{"Назначение :", m_roleBox},
                                                       {"Шрифт :", m_face},
                                                       {"Размер :", m_size},
                                                       {"Атрибуты :", m_style}};
    for (int i = 0; i < 4; ++i) {
        textGrid->addWidget(new QLabel(qs(rows[i].first)), i, 0);
        textGrid->addWidget(rows[i].second, i, 1);
    }
    m_preview = named(new FontPreview, "preview");
    textGrid->addWidget(m_preview, 4, 0, 1, 2);
    layout->addWidget(texts);

    auto* buttons = new QHBoxLayout;
    auto* save = named(new QPushButton(qs("Сохранить")), "save");
    auto* cancel = named(new QPushButton(qs("Отмена")), "cancel");
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    showLine(0);
    showRole(0);
    connect(m_lineKind, &QComboBox::currentIndexChanged, this, &DrawingFormEditor::showLine);
    connect(m_thickness, &QLineEdit::editingFinished, this, &DrawingFormEditor::commitThickness);
    connect(m_roleBox, &QComboBox::currentIndexChanged, this, &DrawingFormEditor::showRole);
    connect(m_face, &QComboBox::currentIndexChanged, this, &DrawingFormEditor::onFaceChosen);
    connect(m_size, &QComboBox::currentIndexChanged, this, [this](int i) {
        m_form.fontSize[static_cast<std::size_t>(m_role)] =
            static_cast<std::int16_t>(i + kMinFontSize);
        m_preview->setFontOf(m_form, m_role);
    });
    connect(m_style, &QComboBox::currentIndexChanged, this, [this](int i) {
        m_form.fontStyle[static_cast<std::size_t>(m_role)] = static_cast<std::int8_t>(i);
        m_preview->setFontOf(m_form, m_role);
    });
    connect(save, &QPushButton::clicked, this, &DrawingFormEditor::onSave);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<int> DrawingFormEditor::run() {
    if (!m_loaded || exec() != QDialog::Accepted)
        return std::nullopt;
    return m_saved;
}

std::int32_t& DrawingFormEditor::lineValue(int kind) {
    return kind == 0 ? m_form.frameLine : kind == 1 ? m_form.scaleLine : m_form.igeLine;
}

void DrawingFormEditor::showLine(int kind) {
    // Text typed for the previous kind counts before the field shows the new one.
    if (m_thickness->isModified())
        commitThickness();
    m_line = std::clamp(kind, 0, 2);
    m_thickness->setText(qs(formatThickness(lineValue(m_line))));
    m_thickness->setModified(false);
}

void DrawingFormEditor::commitThickness() {
    lineValue(m_line) = parseThickness(m_thickness->text().toStdString());
    m_thickness->setText(qs(formatThickness(lineValue(m_line))));
    m_thickness->setModified(false);
}

void DrawingFormEditor::showRole(int role) {
    m_role = std::clamp(role, 0, kTextRoleCount - 1);
    const auto r = static_cast<std::size_t>(m_role);
    // Showing a role is not a choice: the stored face stays until the user picks another font.
    const QSignalBlocker blockFace(m_face);
    const QSignalBlocker blockSize(m_size);
    const QSignalBlocker blockStyle(m_style);
    const std::string face = m_form.fontFace[r].utf8();
    int row = m_face->findText(qs(face), Qt::MatchFixedString);
    if (row < 0) {
        if (const auto standIn = platform::installedFace(face))
            row = m_face->findText(qs(*standIn), Qt::MatchFixedString);
    }
    m_face->setCurrentIndex(std::max(row, 0));
    m_size->setCurrentIndex(m_form.fontSize[r] - kMinFontSize);
    m_style->setCurrentIndex(m_form.fontStyle[r]);
    m_preview->setFontOf(m_form, m_role);
}

void DrawingFormEditor::onFaceChosen(int comboIndex) {
    if (comboIndex < 0)
        return;
    m_form.fontFace[static_cast<std::size_t>(m_role)].setUtf8(
        m_face->itemText(comboIndex).toStdString(), kFormNameChars);
    m_preview->setFontOf(m_form, m_role);
}

void DrawingFormEditor::onSave() {
    commitThickness();
    auto saved =
        SaveDrawingFormAsking(m_folder, m_index, m_name->text().toStdString(), m_form, m_sink);
    if (!saved) {
        m_sink.report(saved.error());
        return;
    }
    if (!saved->has_value())
        return;
    m_saved = **saved;
    accept();
}

// ---- Rename ----

DrawingFormRenameDialog::DrawingFormRenameDialog(const platform::WorkFolder& folder,
                                                 platform::MessageSink& sink, int index,
                                                 const QString& oldName, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_sink(sink), m_index(index) {
    setWindowTitle(QStringLiteral("Переименование формы оформления"));
    auto* layout = new QGridLayout(this);
    auto* old = named(new QLineEdit(oldName), "oldName");
    old->setReadOnly(true);
    m_new = named(new QLineEdit(oldName), "newName");
    m_new->setMaxLength(static_cast<int>(kFormNameChars));
    layout->addWidget(new QLabel(QStringLiteral("Старое :")), 0, 0);
    layout->addWidget(old, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Новое :")), 1, 0);
    layout->addWidget(m_new, 1, 1);
    auto* buttons = new QHBoxLayout;
    auto* rename = named(new QPushButton(qs("Переименовать")), "rename");
    auto* cancel = named(new QPushButton(qs("Отмена")), "cancel");
    rename->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(rename);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 2, 0, 1, 2);
    connect(rename, &QPushButton::clicked, this, &DrawingFormRenameDialog::onRename);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void DrawingFormRenameDialog::onRename() {
    if (auto st = RenameDrawingForm(m_folder, m_index, m_new->text().toStdString()); !st) {
        m_sink.report(st.error());
        return;
    }
    accept();
}

} // namespace orvo::dict::ui
