// The layout dialog "Оформление: Данные по выработке": text and line attributes, the 39 sizes,
// and the preview with its magnifier.
#pragma once
#include "datasheet/sheet_layout.h"
#include "platform/message_sink.h"
#include "platform/work_folder.h"

#include <QDialog>
#include <QRectF>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QToolButton;

namespace orvo::datasheet::ui {

class LayoutPreview;

class SheetLayoutDialog : public QDialog {
    Q_OBJECT
public:
    SheetLayoutDialog(const SheetLayout& layout, QWidget* parent = nullptr);

    const SheetLayout& layout() const { return m_layout; }
    int textElement() const;
    int lineElement() const;
    // The part of the page the preview shows, in layout units.
    QRectF previewView() const;
    // A click on the preview at a widget point: in (left) or out (right) when the magnifier is on.
    void zoomAt(QPointF widgetPoint, bool in);

private:
    void showTextElement();
    void showSample();
    void showLineElement();
    void showSize();
    void storeSize();
    void setAlignment(int which);

    SheetLayout m_layout;
    QComboBox* m_textElement = nullptr;
    QComboBox* m_face = nullptr;
    QComboBox* m_height = nullptr;
    std::array<QToolButton*, 6> m_props{}; // bold, italic, underline, left, centre, right
    QWidget* m_sample = nullptr;
    QComboBox* m_lineElement = nullptr;
    QComboBox* m_lineWidth = nullptr;
    QComboBox* m_sizeElement = nullptr;
    QLineEdit* m_sizeValue = nullptr;
    QCheckBox* m_preview = nullptr;
    QToolButton* m_magnifier = nullptr;
    LayoutPreview* m_view = nullptr;
};

// Opens the dialog on DATA\View_SKV.prm, or on the default layout when that file is missing or
// short, so it can be made again; "Сохранить" replaces the file. True when it was saved.
bool EditSheetLayout(const platform::WorkFolder& folder, platform::MessageSink& sink,
                     QWidget* parent);

} // namespace orvo::datasheet::ui
