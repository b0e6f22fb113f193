#include "gfx/Image.h"

#include "base/Bundle.h"
#include "base/Str.h"
#include "gfx/Color.h"

#include <cairo.h>
#include <map>
#include <mutex>

namespace gfx {

using base::Ref;

namespace {

std::mutex cacheLock;
std::map<std::string, Ref<Image>, std::less<>> &cache() {
    static std::map<std::string, Ref<Image>, std::less<>> images;
    return images;
}

std::string withoutPng(std::string_view name) {
    return std::string(name.ends_with(".png") ? name.substr(0, name.size() - 4) : name);
}

} // namespace

Image::Image(Surface pixels, float scale, int leftCap, int topCap)
    : pixels_(std::move(pixels)), scale_(scale > 0 ? scale : 1), leftCap_(std::max(leftCap, 0)),
      topCap_(std::max(topCap, 0)) {}

Ref<Image> Image::fromFile(const std::string &path, float scale) {
    Surface pixels = Surface::readFile(path);
    return pixels ? base::make<Image>(std::move(pixels), scale) : nullptr;
}

Ref<Image> Image::fromBytes(std::span<const uint8_t> bytes, float scale) {
    Surface pixels = Surface::decode(bytes);
    return pixels ? base::make<Image>(std::move(pixels), scale) : nullptr;
}

Ref<Image> Image::named(std::string_view name) {
    std::string key = withoutPng(name);
    std::lock_guard lock(cacheLock);
    if (auto it = cache().find(key); it != cache().end())
        return it->second;
    // A name with an extension of its own ("guide1.jpg") is that file; others are PNG pictures.
    auto path = base::Bundle::main().pathFor(key, key.ends_with(".jpg") ? "" : "png");
    Ref<Image> image = path ? fromFile(*path) : nullptr;
    if (image)
        cache().emplace(key, image);
    return image;
}

Ref<Image> Image::fromBundle(std::string_view fileName) {
    auto path = base::Bundle::main().pathFor(fileName);
    return path ? fromFile(*path) : nullptr;
}

Ref<Image> Image::forScale(std::string_view name, float screenScale) {
    float scale = screenScale > 0 ? screenScale : 1;
    auto path = base::Bundle::main().pathFor(base::str::format("%s%s.png", name, scale > 1 ? "@2x" : ""));
    return path ? fromFile(*path, scale) : nullptr;
}

void Image::clearCache() {
    std::lock_guard lock(cacheLock);
    cache().clear();
}

Size Image::size() const {
    return {pixels_.width() / scale_, pixels_.height() / scale_};
}

Ref<Image> Image::stretchable(int leftCap, int topCap) const {
    return base::make<Image>(pixels_, scale_, leftCap, topCap);
}

Ref<Image> Image::withScale(float scale) const {
    return base::make<Image>(pixels_, scale, leftCap_, topCap_);
}

Ref<Image> Image::tinted(const Color &color) const {
    Surface out = pixels_.copy();
    if (!out)
        return nullptr;
    cairo_t *cr = cairo_create(out.cairo());
    cairo_set_source_rgba(cr, color.r(), color.g(), color.b(), color.a());
    cairo_set_operator(cr, CAIRO_OPERATOR_HSL_COLOR);
    cairo_paint(cr);
    // The colour blend also paints where the picture is transparent; keep only its own shape.
    cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
    cairo_set_source_surface(cr, pixels_.cairo(), 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return base::make<Image>(std::move(out), scale_, leftCap_, topCap_);
}

std::string Image::description() const {
    return base::str::format("<UIImage: %g x %g, scale %g>", size().w, size().h, scale_);
}

} // namespace gfx
