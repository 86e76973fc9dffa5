#pragma once
// The pixel count behind a chart view's "Area": the region enclosed by chart
// lines around a pixel, filled so the user sees what was measured.

#include "draw/RasterCanvas.h"

#include <cstdint>

namespace chartwin
{

// Fills the 4-connected region of `background` pixels that holds (x, y) with
// `fill` and returns its size plus the number of `foreground` pixels that
// bound it (4-neighbours of a filled pixel), each pixel counted once. A start
// pixel off the canvas or not of the background colour fills nothing and
// counts 0.
int64_t FillAndCountArea(
    TRasterCanvas& canvas, int x, int y, TColour background, TColour foreground, TColour fill);

} // namespace chartwin
