#include "ui/DamageTracker.h"

#include "ui/Animator.h"
#include "ui/View.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace ui {

namespace {

// Drawing through a clip of several rectangles antialiases edges a little differently from drawing
// the whole window; one upright rectangle at a time comes closer. Past this many the rectangle
// holding them all is drawn instead.
constexpr size_t MaxPieces = 16;

// FNV-1a over the values that decide a view's look.
struct Digest {
    uint64_t value = 1469598103934665603ull;

    template <class T> Digest &operator<<(const T &v) {
        static_assert(std::is_trivially_copyable_v<T>);
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &v, sizeof(T));
        for (unsigned char b : bytes)
            value = (value ^ b) * 1099511628211ull;
        return *this;
    }
    template <class T> Digest &operator<<(const base::Ref<T> &ref) {
        return *this << static_cast<const void *>(ref.get());
    }
};

gfx::Transform placement(const Look &look) {
    const gfx::Rect &b = look.bounds;
    return gfx::Transform::translation(-b.x() - b.width() / 2, -b.y() - b.height() / 2)
        .concat(look.transform)
        .concat(gfx::Transform::translation(look.center.x, look.center.y));
}

// Adds a stand-alone layer and its sublayers to the digest; answers where they draw (window space).
gfx::Rect layerArea(const Layer &layer, const gfx::Transform &toWindow, Digest &digest) {
    const gfx::Rect &f = layer.frame;
    gfx::Transform presented = layer.presentedTransform();
    digest << f << layer.contents << layer.gravity << layer.opacity << layer.hidden << presented
           << layer.backgroundColor << layer.sublayers().size();
    if (layer.hidden || layer.opacity <= 0)
        return {};
    gfx::Transform t = gfx::Transform::translation(-f.width() / 2, -f.height() / 2)
                           .concat(presented)
                           .concat(gfx::Transform::translation(f.midX(), f.midY()))
                           .concat(toWindow);
    gfx::Rect area = t.apply(gfx::Rect{0, 0, f.width(), f.height()});
    for (const auto &sub : layer.sublayers())
        area = area.united(layerArea(*sub, t, digest));
    return area;
}

} // namespace

gfx::Region DamageTracker::collect(View &window, View &popovers, View &alerts, bool dimmed,
                                   gfx::Rect bounds) {
    ++frame_;
    damage_.clear();
    wholes_.clear();
    Walk root{{}, bounds, 1, 0, 0};
    // The window's own digest also tells whether it is dimmed below an alert.
    root.parent = dimmed;
    visit(window, root, false);
    root.parent = window.serial();
    root.index = window.subviews().size();
    visit(popovers, root, true);
    root.index++;
    visit(alerts, root, true);
    for (auto it = records_.begin(); it != records_.end();) {
        if (it->second.frame == frame_) {
            ++it;
            continue;
        }
        damage_.add(it->second.area);
        it = records_.erase(it);
    }
    if (all_)
        damage_.add(bounds);
    all_ = false;
    damage_.intersect(bounds);
    return damage_;
}

std::vector<gfx::Rect> DamageTracker::pieces(const gfx::Region &damage) const {
    std::vector<gfx::Rect> pieces = damage.rects();
    if (pieces.size() > MaxPieces)
        pieces = {damage.extents()};
    for (bool merged = true; merged;) {
        merged = false;
        for (const gfx::Rect &whole : wholes_) {
            auto touches = [&](const gfx::Rect &p) { return p.intersects(whole); };
            auto first = std::find_if(pieces.begin(), pieces.end(), touches);
            if (first == pieces.end() || (std::count_if(pieces.begin(), pieces.end(), touches) == 1 &&
                                          first->intersection(whole) == whole))
                continue;
            gfx::Rect piece = whole;
            for (const gfx::Rect &p : pieces)
                if (touches(p))
                    piece = piece.united(p);
            std::erase_if(pieces, touches);
            pieces.push_back(piece);
            merged = true;
        }
    }
    return pieces;
}

gfx::Rect DamageTracker::visit(View &view, const Walk &walk, bool placed) {
    Animator &animator = Animator::shared();
    Look look = animator.presentation(view);
    const bool transition = animator.transition(view, {}) != nullptr;
    if (placed && !transition && (view.isHidden() || look.alpha <= 0))
        return {};
    const gfx::Transform toWindow = placed ? placement(look).concat(walk.toWindow) : walk.toWindow;
    const float alpha = walk.alpha * (placed ? look.alpha : 1);
    const Layer &layer = view.layer();
    const bool clips = view.clipsToBounds || layer.masksToBounds;

    Digest digest;
    digest << walk.parent << walk.index << toWindow << look.bounds << alpha << look.background
           << layer.backgroundColor << layer.cornerRadius << clips << layer.borderWidth << layer.borderColor
           << layer.shadowOffset << layer.shadowOpacity << layer.shadowRadius << layer.shadowColor
           << static_cast<const void *>(view.content().cairo()) << transition << walk.clip;

    gfx::Rect box = toWindow.apply(look.bounds);
    // A view that paints nothing of its own (a bare container) damages nothing when it moves:
    // its subviews do.
    const bool paints = look.background || layer.backgroundColor || view.content() || layer.borderWidth > 0 ||
                        !layer.sublayers().empty() || transition;
    gfx::Rect area = paints ? box : gfx::Rect{};
    const bool shadow = paints && layer.shadowOpacity > 0 && !clips;
    if (shadow) {
        float reach =
            layer.shadowRadius + std::max(std::abs(layer.shadowOffset.w), std::abs(layer.shadowOffset.h));
        area = area.united(toWindow.apply(look.bounds.inset(-reach, -reach)));
    }
    for (const auto &sub : layer.sublayers())
        area = area.united(layerArea(*sub, toWindow, digest));
    // A pixel of antialiasing on each side.
    if (!area.isEmpty())
        area = area.inset(-1, -1).intersection(walk.clip);
    if (!area.isEmpty() && (shadow || toWindow.b != 0 || toWindow.c != 0))
        wholes_.push_back(gfx::Region(area).extents());

    Record &record = records_[view.serial()];
    if (record.frame == 0 || record.digest != digest.value || record.area != area || transition) {
        damage_.add(record.area);
        damage_.add(area);
    }
    record = {area, digest.value, frame_};
    if (view.contentDamage_) {
        damage_.add(toWindow.apply(view.contentDamage_->inset(-1, -1)).intersection(walk.clip));
        view.contentDamage_.reset();
    }

    Walk inner{toWindow, clips || transition ? walk.clip.intersection(box) : walk.clip, alpha, view.serial(),
               0};
    gfx::Rect subtree = area;
    for (const auto &sub : view.subviews()) {
        subtree = subtree.united(visit(*sub, inner, true));
        ++inner.index;
    }
    view.area_ = area;
    view.subtreeArea_ = subtree;
    return subtree;
}

} // namespace ui
