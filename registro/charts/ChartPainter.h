#pragma once

#include "ChartData.h"

class QFont;
class QPainter;
class QPalette;
class QRectF;

namespace registro {

// Draws `chart` inside `area` with `painter`, in `font` and the palette's Text colour on its
// Base colour (the background is left to the caller). Everything is drawn as vectors, with
// lines and bar edges on whole device pixels, so it is sharp at any size and pixel ratio.
void paintChart(QPainter *painter, const QRectF &area, const ChartData &chart, const QFont &font,
                const QPalette &palette);

} // namespace registro
