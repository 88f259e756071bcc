// Rules of the title block editor without widgets: boxes from the attribute fields,
// normalising, turning, snapping to the grid, picking elements and applying edits.
#pragma once
#include "dict/title_block.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvo::dict::editrules {

// All lengths in tenths of a millimetre, y upwards.

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

} // namespace orvo::dict::editrules
