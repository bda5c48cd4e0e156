// PNG writing for tests and tools. As with decoding, the function that calls
// setjmp holds only trivially destructible locals.
#include <present/image.h>

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace present {

namespace {

[[noreturn]] void PngWriteFail(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void PngIgnoreWriteWarning(png_structp, png_const_charp) {}

class TPngWriter {
public:
    TPngWriter() {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngWriteFail,
                                      PngIgnoreWriteWarning);
        if (png) {
            info = png_create_info_struct(png);
        }
    }
    ~TPngWriter() { png_destroy_write_struct(&png, info ? &info : nullptr); }
    TPngWriter(const TPngWriter&) = delete;
    TPngWriter& operator=(const TPngWriter&) = delete;

    bool Valid() const { return png && info; }

    png_structp png = nullptr;
    png_infop info = nullptr;
};

bool WriteRows(png_structp png, png_infop info, std::FILE* file, png_uint_32 width,
               png_uint_32 height, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

} // namespace

bool SavePng(const std::string& path, const TPixmap& pixmap) {
    const auto expected =
        static_cast<std::size_t>(pixmap.width) * static_cast<std::size_t>(pixmap.height) * 4;
    if (pixmap.width <= 0 || pixmap.height <= 0 || pixmap.rgba.size() != expected) {
        return false;
    }
    TPngWriter writer;
    if (!writer.Valid()) {
        return false;
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(pixmap.height));
    auto* pixels = const_cast<png_bytep>(pixmap.rgba.data()); // libpng only reads the rows
    for (std::size_t y = 0; y < rows.size(); ++y) {
        rows[y] = pixels + y * static_cast<std::size_t>(pixmap.width) * 4;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    const bool written =
        WriteRows(writer.png, writer.info, file, static_cast<png_uint_32>(pixmap.width),
                  static_cast<png_uint_32>(pixmap.height), rows.data());
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::remove(path.c_str());
        return false;
    }
    return true;
}

} // namespace present
