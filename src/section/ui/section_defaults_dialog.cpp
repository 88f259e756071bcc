// The dialog "Параметры разрезов": the defaults every new section starts from.
#include "section/ui/section_dialog.h"
#include "section/ui/section_dialog_parts.h"

#include "dict/drawing_form.h"
#include "dict/title_block.h"
#include "dict/ui/drawing_form_dialogs.h"
#include "platform/codepage.h"
#include "platform/collate.h"
#include "platform/numbers.h"
#include "platform/ui/widgets.h"
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

using namespace detail;
using platform::ui::makeButton;
using platform::ui::qs;

// ---- "Параметры разрезов" ----

SectionDefaultsDialog::SectionDefaultsDialog(const store::ProjectStore& store,
                                             store::SectionDefaults& defaults,
                                             platform::MessageSink& sink,
                                             dict::ui::TitleBlockPrintMargins& margins,
                                             QWidget* parent)
    : QDialog(parent), m_store(store), m_defaults(defaults), m_sink(sink), m_margins(margins) {
    setObjectName(QStringLiteral("sectionDefaults"));
    setWindowTitle(QStringLiteral("Параметры разрезов"));
    auto* layout = new QGridLayout(this);
    m_vertical = makeCombo("verticalScale", this);
    m_horizontal = makeCombo("horizontalScale", this);
    m_format = makeCombo("sheetFormat", this);
    m_height = makeSizeField("sheetHeight", this);
    m_width = makeSizeField("sheetWidth", this);
    m_stampFirst = makeCombo("stampFirstSheet", this);
    m_stampOther = makeCombo("stampOtherSheets", this);
    m_form = makeCombo("drawingForm", this);
    auto* scales = moreButton("scaleList", this);
    auto* formats = moreButton("sheetFormatList", this);
    auto* titleBlocks = moreButton("titleBlockList", this);
    auto* forms = moreButton("drawingFormList", this);
    m_save = makeButton("Сохранить", "save", this);
    auto* cancel = makeButton("Отмена", "cancel", this);

    addRows(layout, 0,
            {{"Масштаб по умолчанию", nullptr},
             {"по вертикали", m_vertical},
             {"по горизонтали", m_horizontal},
             {"Размеры логического листа", m_format},
             {"- по вертикали, в мм", m_height},
             {"- по горизонтали, в мм", m_width},
             {"Штампы", nullptr},
             {"1-й лист", m_stampFirst},
             {"остальные", m_stampOther},
             {"Схема оформления чертежа разреза", m_form}});
    auto* autoNote = new QVBoxLayout;
    for (const char* t :
         {"Если масштаб AUTO, то он", "подбирается автоматически", "под размер логического листа."})
        autoNote->addWidget(new QLabel(QString::fromUtf8(t), this));
    layout->addLayout(autoNote, 1, 3, 2, 1);
    layout->addWidget(scales, 2, 2);
    layout->addWidget(formats, 3, 2);
    layout->addWidget(titleBlocks, 7, 2);
    layout->addWidget(forms, 9, 2);
    auto* closing = new QHBoxLayout;
    closing->addStretch();
    closing->addWidget(m_save);
    closing->addWidget(cancel);
    layout->addLayout(closing, 10, 0, 1, 4);

    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (!m_store.folder().exists(kScaleList)) {
        // Left unfilled, so there is nothing that could be saved.
        m_sink.show("STOP", "Не найден список масштабов", platform::Icon::Error);
        m_save->setEnabled(false);
        return;
    }
    connect(m_save, &QPushButton::clicked, this, &SectionDefaultsDialog::onSave);
    connect(scales, &QPushButton::clicked, this, [this] {
        ScaleListDialog(m_store.folder(), m_sink, this).exec();
        fillScales();
    });
    connect(formats, &QPushButton::clicked, this, [this] {
        if (openSheetFormats(m_store.folder(), m_sink, this))
            fillSheetFormats(false);
    });
    connect(titleBlocks, &QPushButton::clicked, this, [this] {
        openTitleBlocks(m_store.folder(), m_sink, m_margins, this);
        fillStamps();
    });
    connect(forms, &QPushButton::clicked, this, [this] {
        dict::ui::DrawingFormListDialog(m_store.folder(), m_sink, this).exec();
        fillDrawingForms(-1);
    });
    connect(m_format, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row < 0 || row >= static_cast<int>(m_formats.size()))
            return;
        m_height->setText(QString::number(m_formats[static_cast<std::size_t>(row)].heightMm));
        m_width->setText(QString::number(m_formats[static_cast<std::size_t>(row)].widthMm));
    });
    fillScales();
    fillSheetFormats(true);
    fillStamps();
    fillDrawingForms(m_defaults.drawingForm);
}

void SectionDefaultsDialog::fillScales() {
    // The first fill shows the stored defaults, a refill what is chosen now.
    const bool refill = m_horizontal->count() > 0;
    const int vertical = refill ? parseScaleText(text(m_vertical)) : m_defaults.verticalScale;
    const int horizontal = refill ? parseScaleText(text(m_horizontal)) : m_defaults.horizontalScale;
    const auto scales = readScales(m_store.folder(), m_sink);
    fillScaleCombo(m_vertical, scales, true, vertical);
    fillScaleCombo(m_horizontal, scales, false, horizontal);
}

void SectionDefaultsDialog::fillSheetFormats(bool showStoredSizes) {
    const auto height = showStoredSizes
                            ? m_defaults.sheetHeightMm
                            : platform::parseWholeNumber(m_height->text().toStdString());
    const auto width = showStoredSizes ? m_defaults.sheetWidthMm
                                       : platform::parseWholeNumber(m_width->text().toStdString());
    auto formats = ReadSheetFormats(m_store.folder());
    if (!formats)
        m_sink.report(formats.error());
    m_formats = formats ? *formats : std::vector<SheetFormat>{};
    const int row = sheetFormatRow(m_formats, static_cast<std::int32_t>(height),
                                   static_cast<std::int32_t>(width));
    fillFormatCombo(m_format, m_formats, row);
    if (showStoredSizes) {
        m_height->setText(QString::number(height));
        m_width->setText(QString::number(width));
    } else if (!m_formats.empty()) {
        m_height->setText(QString::number(m_formats[static_cast<std::size_t>(row)].heightMm));
        m_width->setText(QString::number(m_formats[static_cast<std::size_t>(row)].widthMm));
    }
}

void SectionDefaultsDialog::fillStamps() {
    const bool refill = m_stampFirst->count() > 0;
    const int first = refill ? m_stampFirst->currentData().toInt() : m_defaults.stampFirstSheet;
    const int other = refill ? m_stampOther->currentData().toInt() : m_defaults.stampOtherSheets;
    const auto list = readTitleBlocks(m_store.folder(), m_sink);
    fillStampCombo(m_stampFirst, list, first);
    fillStampCombo(m_stampOther, list, other);
}

void SectionDefaultsDialog::fillDrawingForms(int select) {
    auto forms = dict::ListDrawingForms(m_store.folder());
    if (!forms)
        m_sink.report(forms.error());
    m_form->clear();
    if (forms)
        for (const auto& f : *forms)
            m_form->addItem(qs(f.entry.name.utf8Trimmed()), f.index);
    const int row = m_form->findData(select);
    m_form->setCurrentIndex(row >= 0 ? row : (m_form->count() > 0 ? 0 : -1));
}

void SectionDefaultsDialog::onSave() {
    store::SectionDefaults d = m_defaults;
    d.verticalScale = parseScaleText(text(m_vertical));
    d.horizontalScale = parseScaleText(text(m_horizontal));
    d.sheetHeightMm =
        static_cast<std::int32_t>(platform::parseWholeNumber(m_height->text().toStdString()));
    d.sheetWidthMm =
        static_cast<std::int32_t>(platform::parseWholeNumber(m_width->text().toStdString()));
    if (m_stampFirst->currentIndex() >= 0)
        d.stampFirstSheet = m_stampFirst->currentData().toInt();
    if (m_stampOther->currentIndex() >= 0)
        d.stampOtherSheets = m_stampOther->currentData().toInt();
    if (m_form->currentIndex() >= 0)
        d.drawingForm = m_form->currentData().toInt();
    const auto saved = m_store.SaveSectionDefaults(d);
    if (!saved) {
        m_sink.report(saved.error());
        return;
    }
    m_defaults = d;
    accept();
}

void EditSectionDefaults(const store::ProjectStore& store, store::SectionDefaults& defaults,
                         platform::MessageSink& sink, dict::ui::TitleBlockPrintMargins& margins,
                         QWidget* parent) {
    SectionDefaultsDialog dialog(store, defaults, sink, margins, parent);
    dialog.exec();
}

} // namespace orvo::section::ui
