// "Тип выработки": the borehole types dictionary, listed and edited in place.
#pragma once
#include "platform/message_sink.h"
#include "platform/work_folder.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace orvo::borehole::ui {

class BoreholeTypesDialog : public QDialog {
    Q_OBJECT
public:
    BoreholeTypesDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                        QWidget* parent = nullptr);

    // The index carried by the selected list entry, or -1.
    int selectedIndex() const;
    bool editing() const { return m_editIndex != kNotEditing; }

private:
    static constexpr int kNotEditing = -2;
    static constexpr int kNewRecord = -1;

    void refill(int selectIndex);
    void updateButtons();
    void enterEdit(int index);
    void leaveEdit();
    void onApply();
    void onDelete();

    const platform::WorkFolder& m_folder;
    platform::MessageSink& m_sink;
    int m_editIndex = kNotEditing;
    QListWidget* m_list;
    QPushButton* m_change;
    QPushButton* m_delete;
    QPushButton* m_add;
    QPushButton* m_exit;
    QWidget* m_editPanel;
    QLineEdit* m_name;
    QLineEdit* m_columnWidth;
    QLineEdit* m_lineWidth;
    QCheckBox* m_shown;
};

} // namespace orvo::borehole::ui
