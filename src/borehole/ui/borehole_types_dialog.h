// "Тип выработки": the borehole types dictionary, listed and edited in place.
#pragma once
#include "platform/message_sink.h"
#include "platform/ui/dictionary_list_dialog.h"
#include "platform/work_folder.h"

class QCheckBox;
class QLineEdit;
class QWidget;

namespace orvo::borehole::ui {

class BoreholeTypesDialog : public platform::ui::DictionaryListDialog {
    Q_OBJECT
public:
    BoreholeTypesDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                        QWidget* parent = nullptr);

    // The index carried by the selected list entry, or -1.
    int selectedIndex() const { return selectedSlot(); }

protected:
    Result<std::vector<platform::ui::SlotEntry>> readEntries() override;
    // Deleting asks nothing: the record is only marked unused.
    Status deleteEntry(int index) override;

private:
    static constexpr int kNewRecord = -1;

    QWidget* buildEditPanel();
    void enterEdit(int index);
    void leaveEdit();
    void onApply();

    int m_editIndex = kNewRecord;
    QWidget* m_editPanel;
    QLineEdit* m_name;
    QLineEdit* m_columnWidth;
    QLineEdit* m_lineWidth;
    QCheckBox* m_shown;
};

} // namespace orvo::borehole::ui
