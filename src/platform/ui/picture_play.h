// Playing a QPicture metafile onto any painter: one recorded pixel becomes `scale` units of the
// painter whatever the two devices' resolutions, and what lies outside the visible rectangle is
// left out rather than clipped, so a page of a large sheet costs what it shows.
#pragma once
#include <QRectF>

class QPainter;
class QPicture;

namespace orvo::platform::ui {

// `visible` is in the painter's current coordinates; an empty one plays everything.
// Returns the number of drawing primitives sent to the painter.
long long PlayPicture(QPainter& painter, const QPicture& picture, double scale,
                      const QRectF& visible = {});

} // namespace orvo::platform::ui
