// The checker's marks, painted in code: a warning, a working object and an OK.
#pragma once
#include <QIcon>

namespace orvo::checker::ui {

enum class Mark { Warning, Working, Ok };

// A 16x16 picture of the mark.
QPixmap markPixmap(Mark mark);
// An object line's icon: the warning mark in the left half when the object has a fault, the
// working-object mark in the right half when it is not archived.
QIcon objectIcon(bool faulty, bool working);
QIcon boreholeIcon(bool notInList);

} // namespace orvo::checker::ui
