// The dialog "Экспорт чертежа разреза - формат DXF" and the two export commands of the section
// dialog: "Экспорт чертежа..." and the icon button beside it, which opens the sheets at once.
#pragma once
#include "drawing/ui/section_windows.h"
#include "export/dxf_export.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;

namespace orvo::exporter {

class ExportDxfDialog : public QDialog {
    Q_OBJECT
public:
    // The save-file dialog of "Сменить путь..." (tests answer it): the chosen full name, or an
    // empty text for "Отмена".
    using ChoosePath =
        std::function<QString(QWidget*, const QString& folder, const QString& prefix)>;

    ExportDxfDialog(const ExportDialogInfo& info, QWidget* parent = nullptr,
                    ChoosePath choosePath = {});
    ExportChoice choice() const;

private:
    void changePath();

    ExportChoice m_choice;
    ChoosePath m_choosePath;
    QLabel* m_path = nullptr;
    QLabel* m_prefix = nullptr;
    QCheckBox* m_archive = nullptr;
    QCheckBox* m_boundary = nullptr;
};

// "Экспорт чертежа...": the export with the dialog; "Экспорт" stores DXF.SAV.
ExportOutcome ExportSectionDxfWindow(QWidget* parent, const store::ProjectStore& store,
                                     platform::MessageSink& sink,
                                     const drawing::DrawingRequest& request,
                                     const ExportDialog& dialog = {});
// The icon button: every sheet written into the temporary folder and opened.
void OpenSectionDxfWindow(QWidget* parent, const store::ProjectStore& store,
                          platform::MessageSink& sink, const drawing::DrawingRequest& request);

} // namespace orvo::exporter
