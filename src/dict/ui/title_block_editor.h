// "Редактирование штампа": the graphical title block editor and the plain rules its fields follow.
#pragma once
#include "dict/title_block.h"
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

// The editing rules, free of widgets so they can be checked on their own. All lengths in tenths
// of a millimetre, y upwards.
namespace detail {

enum class Kind { Segment, ProgramText, EditableText };

struct Selection {
    Kind kind = Kind::Segment;
    int index = 0; // position in the edit's vector of that kind
    bool operator==(const Selection&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;
};

struct Box {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const Box&) const = default;
};

// What the attribute fields hold.
struct BoxFields {
    int sizeX = 0, sizeY = 0, dX = 0, dY = 0;
    Box box;
};

inline constexpr int kCoordinateLimit = 3000;
inline constexpr int kGridSteps[] = {1, 2, 5, 10, 20, 50, 100};

BoxFields fieldsFor(const Box& b);
// Typed coordinates, then a changed size moves the second corner, then the move is added.
Box applyFields(const BoxFields& f);
// X1 <= X2 and Y1 >= Y2: the first point is the upper left corner.
Box normalised(Box b);
// A quarter turn about the centre: width and height change places.
Box rotated(const Box& b);
bool outOfBounds(const Box& b);
int snapToGrid(int tenths, int step);
// A segment dragged from a to b: both ends on the grid, kept horizontal or vertical.
Box dragSegment(Point a, Point b, int step);
// A text box dragged from a to b, on the grid and normalised.
Box dragBox(Point a, Point b, int step);

bool segmentVertical(const TitleSegment& s);
Box boxOf(const TitleBlockEdit& edit, Selection s);
void setBox(TitleBlockEdit& edit, Selection s, const Box& b);
bool isAlive(const TitleBlockEdit& edit, Selection s);

// The element list of a kind: labels with their index, or with the field code for program
// texts, whose list always offers all fields.
std::vector<std::pair<std::string, int>> elementEntries(const TitleBlockEdit& edit, Kind kind);
// The alive element closest to the point, boxes counting as filled.
std::optional<Selection> nearestElement(const TitleBlockEdit& edit, Point p);

struct Applied {
    Selection element;
    bool outOfBounds = false;
};
// "применить к Оригиналу" / "применить к Копии": the fields and, for an editable text, its
// text. A copy of a program text is refused (nothing returned): a field occurs only once.
std::optional<Applied> applyEdit(TitleBlockEdit& edit, Selection s, const BoxFields& f,
                                 const std::string& textUtf8, bool asCopy);
// "Поворот"; true when the turned box left the allowed area.
bool rotateElement(TitleBlockEdit& edit, Selection s);

} // namespace detail

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
