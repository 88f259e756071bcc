// Playing a QPicture metafile onto any painter: one recorded pixel becomes `scale` units of the
// painter whatever the two devices' resolutions, and what lies outside the visible rectangle is
// left out rather than clipped, so a page of a large sheet costs what it shows.
#pragma once
#include <QPicture>
#include <QRectF>

#include <vector>

class QPainter;

namespace orvo::platform::ui {

// `visible` is in the painter's current coordinates; an empty one plays everything.
// Returns the number of drawing primitives sent to the painter.
long long PlayPicture(QPainter& painter, const QPicture& picture, double scale,
                      const QRectF& visible = {});

// One pass over the picture that deals its primitives out to one picture per part (in the
// picture's own coordinates, with the state each needs): a primitive goes to every part it
// reaches. Printing a sheet by pages then replays each page's share only once.
std::vector<QPicture> SplitPicture(const QPicture& picture, const std::vector<QRectF>& parts);

} // namespace orvo::platform::ui
