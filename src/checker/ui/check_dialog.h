// O2_Check's one dialog: the objects and their borehole files as the scan found them, with the
// repair of faulty borehole lists.
#pragma once
#include "checker/database_check.h"
#include "platform/message_sink.h"
#include "platform/work_folder.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace orvo::checker::ui {

// Item data of the list lines: which marks a line carries.
inline constexpr int kFaultyRole = Qt::UserRole;      // object fault or not-in-list mark
inline constexpr int kWorkingRole = Qt::UserRole + 1; // object lines: not archived

class CheckDialog : public QDialog {
    Q_OBJECT
public:
    CheckDialog(const platform::WorkFolder& folder, platform::MessageSink& sink,
                QWidget* parent = nullptr);

    // Scans the database and shows what it found; called once the dialog is on screen.
    void scan();
    const CheckReport& report() const { return m_report; }

    QListWidget* objectList() const { return m_objects; }
    QListWidget* boreholeList() const { return m_boreholes; }
    QLabel* objectLabel() const { return m_objectLabel; }
    QLabel* boreholeLabel() const { return m_boreholeLabel; }
    QProgressBar* progress() const { return m_progress; }
    QPushButton* fixButton() const { return m_fix; }

private:
    void runScan(bool afterFix);
    void fill();
    void showObject(int row);
    void showBorehole(int row);
    void fix();

    const platform::WorkFolder& m_folder;
    platform::MessageSink& m_sink;
    CheckReport m_report;
    QListWidget* m_objects;
    QListWidget* m_boreholes;
    QLabel* m_objectLabel;
    QLabel* m_boreholeLabel;
    QProgressBar* m_progress;
    QPushButton* m_fix;
};

} // namespace orvo::checker::ui
