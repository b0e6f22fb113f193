#include "gfx/Gradient.h"

namespace gfx {

base::Ref<Gradient> Gradient::deviceRgb(std::span<const float> rgba, int stopCount) {
    if (stopCount < 1 || rgba.size() / 4 < static_cast<size_t>(stopCount))
        return nullptr;
    std::vector<Stop> stops;
    for (int i = 0; i < stopCount; ++i) {
        float offset = stopCount == 1 ? 0 : static_cast<float>(i) / static_cast<float>(stopCount - 1);
        const float *c = &rgba[static_cast<size_t>(i) * 4];
        stops.push_back({offset, c[0], c[1], c[2], c[3]});
    }
    return base::make<Gradient>(std::move(stops));
}

} // namespace gfx
