#pragma once

#include "gfx/Geometry.h"
#include "gfx/Region.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace ui {

class Layer;
class View;

// Finds the part of a window whose pixels may differ from its last frame. Each frame it walks the
// tree as it is shown (with the values of running animations) and notes for every visible view
// where it lands in the window and a digest of everything that decides its look; a view whose
// place or digest changed damages where it was and where it is, one that is gone or hidden where
// it was, and new content damages what its view's display pass drew again. A view under a running
// transition damages its place on every frame. Called by the window before it composites.
class DamageTracker {
public:
    // The damaged part of the window, clipped to `bounds` (window coordinates). The roots are the
    // window (drawn in its own space) and its popover and alert layers (placed in it); `dimmed`
    // tells whether the window is darkened below an alert.
    gfx::Region collect(View &window, View &popovers, View &alerts, bool dimmed, gfx::Rect bounds);
    // The next collect damages the whole window.
    void reset() { all_ = true; }
    // Upright rectangles to draw one at a time that cover the damage. Each holds whole every view
    // casting a shadow (made from its whole shape) or turned by a transform (whose edges would
    // antialias differently where a piece cuts them) that it touches.
    std::vector<gfx::Rect> pieces(const gfx::Region &damage) const;

private:
    struct Record {
        gfx::Rect area;
        uint64_t digest = 0;
        uint64_t frame = 0;
    };
    struct Walk {
        gfx::Transform toWindow;
        gfx::Rect clip;
        float alpha = 1;
        uint64_t parent = 0;
        size_t index = 0;
    };
    // Notes the view and its subtree; answers where the subtree was drawn.
    gfx::Rect visit(View &view, const Walk &walk, bool placed);

    std::unordered_map<uint64_t, Record> records_;
    // Where the views that must be drawn whole were drawn this frame.
    std::vector<gfx::Rect> wholes_;
    uint64_t frame_ = 0;
    bool all_ = true;
    gfx::Region damage_;
};

} // namespace ui
