// Drawing a title block on a canvas: segments and texts, y flipped so the block's top is up.
#pragma once
#include "dict/title_block.h"
#include "platform/canvas.h"

#include <functional>
#include <string>

namespace orvo::dict {

// The text of a program field on a sheet; outside a sheet the placeholder is shown.
using TitleFieldText = std::function<std::string(int fieldCode)>;

// `origin` is where the block's point (0, height) lands, `scale` the device units per 0.1 mm.
// The field `wrapField` (none when -1) is broken into lines at blanks to fit its box and
// centred in it; every other text is a single line.
void DrawTitleBlock(platform::Canvas& canvas, const TitleBlock& block, platform::PointF origin,
                    double scale, const TitleFieldText& fieldText = {}, int wrapField = -1);

// The block moved so that its smallest x and y are 0, with its extent recomputed.
TitleBlock normalisedTitleBlock(const TitleBlock& block);

// Text height in 0.1 mm for a size in points (254/72 per point, rounded as the platform's
// multiply-divide rounds).
int titleTextHeight(int points);

} // namespace orvo::dict
