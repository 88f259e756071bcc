// Widgets of the section's IGE descriptions; the list and WORK.OIE are section/ige_list's.
#include "section/ui/section_ige_dialog.h"

#include "dict/ui/ige_description_dialogs.h"
#include "platform/ui/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvo::section::ui {

using platform::ui::makeButton;
using platform::ui::named;
using platform::ui::qs;

SectionIgeDialog::SectionIgeDialog(const platform::WorkFolder& folder, IgeList list,
                                   platform::MessageSink& sink, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_list(std::move(list)), m_sink(sink) {
    setWindowTitle(QStringLiteral("Описание инженерно-геологических элементов"));
    m_openStandard = [this] { dict::ui::EditStandardIgeDescriptions(m_folder, m_sink, this); };
    auto* layout = new QHBoxLayout(this);
    m_numbers = named(new QListWidget(this), "numbers");
    layout->addWidget(m_numbers);

    auto* middle = new QGridLayout;
    m_useStandard =
        named(new QCheckBox(QStringLiteral("Стандартное описание ИГЭ"), this), "useStandard");
    m_description = named(new QPlainTextEdit(this), "description");
    m_hatches = named(new QComboBox(this), "hatch");
    middle->addWidget(m_useStandard, 0, 0, 1, 2);
    middle->addWidget(new QLabel(QStringLiteral("Описание ИГЭ")), 1, 0, 1, 2);
    middle->addWidget(m_description, 2, 0, 1, 2);
    middle->addWidget(new QLabel(QStringLiteral("Вид штриховки")), 3, 0);
    middle->addWidget(m_hatches, 3, 1);
    auto* frame = new QGroupBox(this);
    auto* frameLayout = new QVBoxLayout(frame);
    m_preview = named(new dict::ui::HatchPreview(
                          m_folder, [this] { return m_shownHatch; }, frame),
                      "preview");
    frameLayout->addWidget(m_preview);
    middle->addWidget(frame, 4, 0, 1, 2);
    layout->addLayout(middle, 1);

    auto* buttons = new QVBoxLayout;
    auto* saveButton = makeButton("Сохранить", "save", this);
    auto* cancel = makeButton("Отмена", "cancel", this);
    auto* standard = makeButton("Список", "standardList", this);
    for (auto* b : {saveButton, cancel, standard})
        buttons->addWidget(b);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    for (const auto& e : m_list.entries)
        new QListWidgetItem(qs(dict::igeNumberText(e.number)), m_numbers);

    connect(saveButton, &QPushButton::clicked, this, &SectionIgeDialog::save);
    connect(cancel, &QPushButton::clicked, this, &SectionIgeDialog::reject);
    connect(standard, &QPushButton::clicked, this, [this] {
        m_openStandard();
        readStandardList();
        showEntry();
    });
    connect(m_numbers, &QListWidget::currentRowChanged, this, &SectionIgeDialog::showEntry);
    connect(m_useStandard, &QCheckBox::clicked, this, [this](bool on) {
        if (auto* e = current())
            e->useStandard = on ? 1 : 0;
        showEntry();
    });
    connect(m_hatches, &QComboBox::currentIndexChanged, this, [this] {
        if (m_loading)
            return;
        if (auto* e = current(); e && !e->takesStandard())
            e->hatch = dict::ui::chosenHatch(m_hatches);
        m_shownHatch = dict::ui::chosenHatch(m_hatches);
        m_preview->update();
    });
    // Every change is kept at once, so a "Сохранить" clicked without leaving the field, or a
    // change of the selection, takes the text as it stands.
    connect(m_description, &QPlainTextEdit::textChanged, this, &SectionIgeDialog::takeDescription);

    readStandardList();
    dict::ui::fillIgeHatchCombo(m_hatches, m_folder, -1);
    if (m_numbers->count() > 0)
        m_numbers->setCurrentRow(0);
    showEntry();
}

IgeEntry* SectionIgeDialog::current() {
    const int row = m_numbers->currentRow();
    if (row < 0 || row >= static_cast<int>(m_list.entries.size()))
        return nullptr;
    return &m_list.entries[static_cast<std::size_t>(row)];
}

void SectionIgeDialog::readStandardList() {
    auto standard = dict::ReadStandardIgeList(m_folder);
    if (!standard)
        m_sink.report(standard.error());
    m_standard = standard ? std::move(*standard) : std::vector<dict::IgeDescriptionRecord>{};
}

void SectionIgeDialog::showEntry() {
    m_loading = true;
    const IgeEntry* e = current();
    const IgeChoice shown = e ? HatchForIge(*e, m_standard) : IgeChoice{};
    const bool own = e && !shown.standard;
    m_useStandard->setEnabled(e != nullptr);
    m_useStandard->setChecked(e && shown.standard);
    m_description->setPlainText(qs(shown.descriptionUtf8));
    dict::ui::fillIgeHatchCombo(m_hatches, m_folder, shown.hatch);
    m_description->setEnabled(own);
    m_hatches->setEnabled(own);
    m_shownHatch = dict::ui::chosenHatch(m_hatches);
    m_preview->update();
    m_loading = false;
}

void SectionIgeDialog::takeDescription() {
    if (m_loading)
        return;
    if (auto* e = current(); e && !e->takesStandard())
        e->description.setUtf8(m_description->toPlainText().toStdString(),
                               dict::kIgeDescriptionChars);
}

void SectionIgeDialog::save() {
    takeDescription();
    if (auto st = WriteWorkingIgeDescriptions(m_folder, m_list); !st) {
        m_sink.report(st.error());
        return;
    }
    accept();
}

void EditSectionIges(const platform::WorkFolder& folder, std::int32_t object,
                     const std::vector<std::int32_t>& boreholes,
                     std::optional<std::int32_t> storedSection, platform::MessageSink& sink,
                     QWidget* parent) {
    auto list = BuildIgeList(folder, object, boreholes, storedSection);
    if (!list) {
        sink.report(list.error());
        return;
    }
    if (list->badDescriptions)
        sink.report(*list->badDescriptions);
    SectionIgeDialog dialog(folder, std::move(*list), sink, parent);
    dialog.exec();
}

} // namespace orvo::section::ui
