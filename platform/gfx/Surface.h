#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace gfx {

// One pixel with straight (not premultiplied) alpha.
struct Rgba8 {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba8 &) const = default;
};

// A shared handle to a Cairo image surface of premultiplied ARGB pixels, rows from the top.
class Surface {
public:
    Surface() = default;
    // A transparent surface; an empty handle when either side is not positive or too large.
    Surface(int width, int height);
    // Takes over one reference to `surface`; converts other formats to ARGB. Empty on a failed surface.
    static Surface adopt(cairo_surface_t *surface);
    // PNG or JPEG bytes, told apart by their signature. Empty when the bytes cannot be decoded.
    static Surface decode(std::span<const uint8_t> bytes);
    static Surface readFile(const std::string &path);

    explicit operator bool() const { return surface_ != nullptr; }
    int width() const;
    int height() const;
    cairo_surface_t *cairo() const { return surface_.get(); }
    Rgba8 pixel(int x, int y) const;
    Surface copy() const;

    // Writes the file whole under a temporary name and renames it, so readers never see half a file.
    bool writePng(const std::string &path) const;
    bool writeJpeg(const std::string &path, int quality) const;

private:
    std::shared_ptr<cairo_surface_t> surface_;
};

} // namespace gfx
