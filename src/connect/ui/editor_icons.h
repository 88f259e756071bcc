// The toolbar pictures of the connection editor, painted at run time.
#pragma once
#include <QIcon>
#include <QImage>

namespace orvo::connect::ui {

// Painted toolbar pictures of the connection editor, one per command, in toolbar order:
// to begin, to left, to right, to end, show 2, show 3, draw, select line, next line,
// previous line, auto connect, delete line, delete all lines, select point, delete point,
// straight line, wavy line, visible boundary, invisible boundary, exit, undo, redo.
inline constexpr int kEditorIconCount = 22;

// A size x size picture on a transparent background; an index out of range gives a blank one.
QImage editorIconImage(int index, int size = 16);
// The picture at 16 and 32 px.
QIcon editorIcon(int index);

} // namespace orvo::connect::ui
