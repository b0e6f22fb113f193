#include "Common/DrawFunc.h"

gfx::Rect DrawFunc::makeRectByPoint(gfx::Point point, float radius) {
    return {point.x - radius / 2, point.y - radius / 2, radius, radius};
}
