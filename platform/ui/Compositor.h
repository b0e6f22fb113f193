#pragma once

#include "gfx/Context.h"
#include "gfx/Region.h"

#include "gfx/Surface.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace ui {

class View;

// Turns a view tree into pixels: the passes that run before a frame, and drawing with the values
// on screen (those of running animations and transitions) rather than the model's.
namespace compositor {

// The layout pass, then the display pass, over the view and its descendants.
void prepare(View &root);
// Whether anything may look different since the last frame: views mark it when they are marked
// for display or layout, change their geometry, look or visibility, or gain or lose subviews.
bool needsFrame();
// Tells the host when the first change since the last frame comes.
void setNeedsFrame();
// Counts the changes views have made known, so that a picture of a tree drawn earlier is known to
// hold while the count stays the same; nothing while a view or a layer animates, as their values
// follow the clock. A change made straight to a layer's fields is not counted.
std::optional<uint64_t> changeCount();
// Frames are wanted until the time (on the clock), as a layer moves.
void setNeedsFrameUntil(double time);
// A frame showing every change so far was drawn.
void frameDrawn();
// Draws the view and its descendants into a context in the view's superview space.
void draw(View &view, gfx::Context &context);
// Draws the window's tree (the window in its own space, then its popover and alert layers) into
// each piece of a context in window space, which holds the last frame elsewhere: only views whose
// last drawn area meets the piece paint.
void drawDamaged(View &window, View &popovers, View *alerts, const std::vector<gfx::Rect> &pieces,
                 gfx::Context &context);
// The same over `area`, whatever was drawn where.
void drawWhole(View &window, View &popovers, View *alerts, gfx::Rect area, gfx::Context &context);
// Draws what lies inside the view (background, content, layers, subviews, border) in its bounds
// space, without its own position, transform or alpha.
void drawContents(View &view, gfx::Context &context);
// drawContents into a new surface of the view's size.
gfx::Surface snapshot(View &view);

} // namespace compositor
} // namespace ui
