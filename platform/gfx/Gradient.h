#pragma once

#include "base/Object.h"

#include <span>
#include <vector>

namespace gfx {

// Colour stops in device RGB, spread evenly from 0 to 1.
class Gradient : public base::Object {
public:
    struct Stop {
        float offset, r, g, b, a;
    };

    explicit Gradient(std::vector<Stop> stops) : stops_(std::move(stops)) {}
    // Four components (red, green, blue, alpha) per stop; empty when there are fewer components
    // than the stops need or no stop at all.
    static base::Ref<Gradient> deviceRgb(std::span<const float> rgba, int stopCount);
    const std::vector<Stop> &stops() const { return stops_; }

private:
    std::vector<Stop> stops_;
};

} // namespace gfx
