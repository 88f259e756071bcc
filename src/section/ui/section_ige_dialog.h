// "Описание инженерно-геологических элементов": per IGE of the section, the standard
// description or its own text and hatch, written to WORK.OIE on "Сохранить".
#pragma once
#include "platform/message_sink.h"
#include "platform/work_folder.h"
#include "section/ige_list.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QListWidget;
class QPlainTextEdit;

namespace orvo::section::ui {

class SectionIgeDialog : public QDialog {
    Q_OBJECT
public:
    SectionIgeDialog(const platform::WorkFolder& folder, IgeList list, platform::MessageSink& sink,
                     QWidget* parent = nullptr);

    const IgeList& igeList() const { return m_list; }
    // Replaces "Список" (the standard dialog), for tests.
    void setStandardDialog(std::function<void()> open) { m_openStandard = std::move(open); }

    void save();

private:
    void showEntry();
    void takeDescription();
    void readStandardList();
    IgeEntry* current();

    const platform::WorkFolder& m_folder;
    IgeList m_list;
    platform::MessageSink& m_sink;
    std::vector<dict::IgeDescriptionRecord> m_standard;
    std::function<void()> m_openStandard;
    bool m_loading = false;
    int m_shownHatch = -1;

    QListWidget* m_numbers;
    QCheckBox* m_useStandard;
    QPlainTextEdit* m_description;
    QComboBox* m_hatches;
    QWidget* m_preview;
};

// "Описание ИГЭ..." of the section dialog: builds the list over the dialog's current boreholes
// (WORK.OIE, else the stored section's file), reports a refused description file, and opens
// the dialog. Nothing opens when a borehole cannot be read.
void EditSectionIges(const platform::WorkFolder& folder, std::int32_t object,
                     const std::vector<std::int32_t>& boreholes,
                     std::optional<std::int32_t> storedSection, platform::MessageSink& sink,
                     QWidget* parent = nullptr);

} // namespace orvo::section::ui
