#include "gfx/Surface.h"

#include <cairo.h>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <jpeglib.h>
#include <unistd.h>
#include <vector>

namespace gfx {

namespace {

// Cairo's own limit on image surfaces.
constexpr int MaxSide = 32767;

std::shared_ptr<cairo_surface_t> share(cairo_surface_t *surface) {
    return {surface, cairo_surface_destroy};
}

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void jpegFail(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError *>(info->err)->jump, 1);
}

void jpegQuiet(j_common_ptr, int) {}

// Decodes into `pixels` (RGB, rows from the top); false on any decoder error.
bool decodeJpeg(std::span<const uint8_t> bytes, std::vector<uint8_t> &pixels, int &width, int &height) {
    jpeg_decompress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.mgr);
    error.mgr.error_exit = jpegFail;
    error.mgr.emit_message = jpegQuiet;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_width > MaxSide || info.output_height > MaxSide || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    pixels.resize(static_cast<size_t>(width) * height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + static_cast<size_t>(info.output_scanline) * width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

Surface jpegSurface(std::span<const uint8_t> bytes) {
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    if (!decodeJpeg(bytes, rgb, width, height))
        return {};
    Surface surface(width, height);
    if (!surface)
        return {};
    cairo_surface_flush(surface.cairo());
    unsigned char *data = cairo_image_surface_get_data(surface.cairo());
    int stride = cairo_image_surface_get_stride(surface.cairo());
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<uint32_t *>(data + static_cast<size_t>(y) * stride);
        const uint8_t *src = rgb.data() + static_cast<size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x, src += 3)
            row[x] = 0xff000000u | uint32_t(src[0]) << 16 | uint32_t(src[1]) << 8 | src[2];
    }
    cairo_surface_mark_dirty(surface.cairo());
    return surface;
}

struct PngReader {
    std::span<const uint8_t> bytes;
    size_t offset = 0;
};

cairo_status_t readPngChunk(void *closure, unsigned char *out, unsigned int length) {
    auto *reader = static_cast<PngReader *>(closure);
    if (length > reader->bytes.size() - reader->offset)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, reader->bytes.data() + reader->offset, length);
    reader->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

bool hasPrefix(std::span<const uint8_t> bytes, std::initializer_list<uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

cairo_status_t writeToFile(void *closure, const unsigned char *data, unsigned int length) {
    return std::fwrite(data, 1, length, static_cast<FILE *>(closure)) == length ? CAIRO_STATUS_SUCCESS
                                                                                : CAIRO_STATUS_WRITE_ERROR;
}

// Writes through `write` into a temporary file next to `path`, then renames it into place.
template <class Write> bool writeAtomically(const std::string &path, Write write) {
    std::string temporary = path + ".tmp" + std::to_string(getpid());
    FILE *file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    bool ok = write(file);
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}

} // namespace

Surface::Surface(int width, int height) {
    if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide)
        return;
    *this = adopt(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
}

Surface Surface::adopt(cairo_surface_t *surface) {
    Surface result;
    if (!surface)
        return result;
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return result;
    }
    if (cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32) {
        result.surface_ = share(surface);
        return result;
    }
    result = Surface(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
    if (result) {
        cairo_t *cr = cairo_create(result.cairo());
        cairo_set_source_surface(cr, surface, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    cairo_surface_destroy(surface);
    return result;
}

Surface Surface::decode(std::span<const uint8_t> bytes) {
    if (hasPrefix(bytes, {0xff, 0xd8, 0xff}))
        return jpegSurface(bytes);
    if (!hasPrefix(bytes, {0x89, 'P', 'N', 'G'}))
        return {};
    PngReader reader{bytes};
    return adopt(cairo_image_surface_create_from_png_stream(readPngChunk, &reader));
}

Surface Surface::readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decode(bytes);
}

int Surface::width() const {
    return surface_ ? cairo_image_surface_get_width(surface_.get()) : 0;
}

int Surface::height() const {
    return surface_ ? cairo_image_surface_get_height(surface_.get()) : 0;
}

Rgba8 Surface::pixel(int x, int y) const {
    if (!surface_ || x < 0 || y < 0 || x >= width() || y >= height())
        return {};
    cairo_surface_flush(surface_.get());
    const unsigned char *row = cairo_image_surface_get_data(surface_.get()) +
                               static_cast<size_t>(y) * cairo_image_surface_get_stride(surface_.get());
    uint32_t argb = reinterpret_cast<const uint32_t *>(row)[x];
    uint8_t a = argb >> 24;
    if (a == 0)
        return {};
    auto straight = [a](uint32_t c) { return static_cast<uint8_t>(((c & 0xff) * 255 + a / 2) / a); };
    return {straight(argb >> 16), straight(argb >> 8), straight(argb), a};
}

Surface Surface::copy() const {
    Surface result(width(), height());
    if (result) {
        cairo_t *cr = cairo_create(result.cairo());
        cairo_set_source_surface(cr, surface_.get(), 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    return result;
}

bool Surface::writePng(const std::string &path) const {
    if (!surface_)
        return false;
    return writeAtomically(path, [this](FILE *file) {
        return cairo_surface_write_to_png_stream(surface_.get(), writeToFile, file) == CAIRO_STATUS_SUCCESS;
    });
}

bool Surface::writeJpeg(const std::string &path, int quality) const {
    if (!surface_)
        return false;
    cairo_surface_flush(surface_.get());
    return writeAtomically(path, [this, quality](FILE *file) {
        jpeg_compress_struct info{};
        jpeg_error_mgr error{};
        info.err = jpeg_std_error(&error);
        jpeg_create_compress(&info);
        jpeg_stdio_dest(&info, file);
        info.image_width = width();
        info.image_height = height();
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, quality, TRUE);
        jpeg_start_compress(&info, TRUE);
        std::vector<uint8_t> row(static_cast<size_t>(width()) * 3);
        for (int y = 0; y < height(); ++y) {
            for (int x = 0; x < width(); ++x) {
                Rgba8 p = pixel(x, y);
                std::memcpy(&row[static_cast<size_t>(x) * 3], &p, 3);
            }
            JSAMPROW rows[] = {row.data()};
            jpeg_write_scanlines(&info, rows, 1);
        }
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        return true;
    });
}

} // namespace gfx
