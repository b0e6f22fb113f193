#pragma once

#include "gfx/Geometry.h"

// Drawing geometry. Class operations only; never instantiated.
class DrawFunc {
public:
    DrawFunc() = delete;

    // The square of side `radius` centred on the point (the dots marking a day's high and low).
    static gfx::Rect makeRectByPoint(gfx::Point point, float radius);
};
