// "Редактирование штампа": the graphical title block editor and the plain rules its fields follow.
#pragma once
#include "dict/title_block.h"
#include "dict/title_block_edit_rules.h"
#include "platform/message_sink.h"

#include <QDialog>

#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QVBoxLayout;
class QWidget;

namespace orvo::dict::ui {

// The editing rules live in the core (dict/title_block_edit_rules.h).
namespace detail = editrules;

class EditorDrawingArea;

class TitleBlockEditor : public QDialog {
    Q_OBJECT
public:
    // Edits `edit` (already loaded, working files written). exec() returns Accepted when the
    // user saved ("Сохранить", or "Выход" answered Yes); the caller then calls edit.save(...).
    TitleBlockEditor(TitleBlockEdit& edit, platform::MessageSink& sink, QWidget* parent = nullptr);

    // "Выход", Escape and closing the window all ask whether to save.
    void reject() override;

    enum class Mode { Select, Segments, ProgramTexts, EditableTexts };

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildPanel();
    void buildChoosers(QWidget* panel, QVBoxLayout* v);
    void buildGeometry(QWidget* panel, QVBoxLayout* v);
    QWidget* buildTextAttributes(QWidget* panel);
    void connectControls();
    QLineEdit* addField(QWidget* group, const char* label, const char* name, bool size);
    void onDrag(detail::Point a, detail::Point b);
    void onClick(detail::Point p);
    void setMode(Mode mode);
    void select(std::optional<detail::Selection> s);
    void refillElements();
    void onKindChosen();
    void onElementChosen();
    void showAttributes();
    void updateEnabled();
    void rewriteAttributes();
    void apply(bool asCopy);
    void rotate();
    void deleteElement();
    void saveAndClose();
    void changed();
    void place(detail::Kind kind, const detail::Box& box);
    void step(QLineEdit* field, int sign, bool size);
    int currentStyle() const;
    int fontIndex(const std::string& face);
    detail::Kind currentKind() const;
    int gridStep() const;
    void warnBounds();

    TitleBlockEdit& m_edit;
    platform::MessageSink& m_sink;
    std::optional<detail::Selection> m_selected;
    Mode m_mode = Mode::Select;
    bool m_loading = false;
    bool m_centred = false;
    int m_fieldCode = 0; // the field a box drawn in program text mode gets

    EditorDrawingArea* m_area;
    QScrollArea* m_scroll;
    QLineEdit* m_name;
    QButtonGroup* m_modes;
    QCheckBox* m_grid;
    QComboBox* m_step;
    QComboBox* m_kind;
    QComboBox* m_element;
    QLineEdit* m_sizeX;
    QLineEdit* m_sizeY;
    QLineEdit* m_dX;
    QLineEdit* m_dY;
    QLineEdit* m_x1;
    QLineEdit* m_y1;
    QLineEdit* m_x2;
    QLineEdit* m_y2;
    QLineEdit* m_text;
    QComboBox* m_lineWidth;
    QComboBox* m_font;
    QSpinBox* m_size;
    QAbstractButton* m_bold;
    QAbstractButton* m_italic;
    QAbstractButton* m_underline;
    QButtonGroup* m_align;
    QPushButton* m_applyOriginal;
    QPushButton* m_applyCopy;
    QPushButton* m_rotate;
    QPushButton* m_delete;

    friend class EditorDrawingArea;
};

} // namespace orvo::dict::ui
