// PNG decoding with libpng. Every byte of a picture is treated as hostile until
// it has decoded: the declared size is limited before anything is allocated,
// chunk allocations are capped, and any error or CRC mismatch rejects the
// whole picture.
//
// libpng reports errors by longjmp. The functions that call setjmp hold only
// trivially destructible locals, so the jump never skips a destructor; the
// pixel buffers are owned by their caller, which never calls setjmp itself.
#include "png_limits.h"
#include <present/image.h>
#include <present/stream.h>

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace present {

namespace {

constexpr int kPngSignatureSize = 8;

struct TPngHeader {
    png_uint_32 width;
    png_uint_32 height;
    bool hasAlpha;
};

// Ancillary chunks the decoder has no use for. libpng is told to skip them
// unread: some of them (text, profiles) would otherwise be allocated or
// inflated at whatever size the file claims.
constexpr png_byte kIgnoredChunks[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0gAMA\0cHRM\0sRGB\0"
                                      "sBIT\0bKGD\0hIST\0pHYs\0oFFs\0pCAL\0sCAL\0tIME";
constexpr int kIgnoredChunkCount = sizeof kIgnoredChunks / 5;

[[noreturn]] void PngFail(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void PngIgnoreWarning(png_structp, png_const_charp) {}

void PngReadFromStream(png_structp png, png_bytep out, png_size_t count) {
    auto* source = static_cast<TStream*>(png_get_io_ptr(png));
    if (!source->TryRead(out, count)) {
        png_error(png, "truncated picture");
    }
}

// Owns the libpng read structures of one decode.
class TPngReader {
public:
    TPngReader() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngFail, PngIgnoreWarning);
        if (png) {
            info = png_create_info_struct(png);
        }
    }
    ~TPngReader() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
    TPngReader(const TPngReader&) = delete;
    TPngReader& operator=(const TPngReader&) = delete;

    bool Valid() const { return png && info; }

    png_structp png = nullptr;
    png_infop info = nullptr;
};

// Reads the header and sets up the conversion to 8-bit RGBA.
bool ReadHeader(png_structp png, png_infop info, TStream* source, TPngHeader* header) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_user_limits(png, kPngMaxSide, kPngMaxSide);
    png_set_chunk_malloc_max(png, kPngMaxChunkBytes);
    png_set_chunk_cache_max(png, kPngMaxAncillaryChunks);
    // A damaged chunk of any kind means damaged data: no chunk is skipped.
    png_set_crc_action(png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks, kIgnoredChunkCount);
    png_set_read_fn(png, source, PngReadFromStream);
    png_set_sig_bytes(png, kPngSignatureSize);
    png_read_info(png, info);

    const int colourType = png_get_color_type(png, info);
    header->width = png_get_image_width(png, info);
    header->height = png_get_image_height(png, info);
    header->hasAlpha =
        (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;

    // Palette, low-bit-depth grey and tRNS all become plain 8-bit channels.
    png_set_expand(png);
    png_set_scale_16(png);
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_gray_to_rgb(png);
    }
    if (!header->hasAlpha) {
        png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_rowbytes(png, info) == static_cast<png_size_t>(header->width) * 4;
}

bool ReadRows(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

bool ReadSignature(TStream& source) {
    png_byte signature[kPngSignatureSize];
    return source.TryRead(signature, sizeof signature) &&
           png_sig_cmp(signature, 0, sizeof signature) == 0;
}

} // namespace

bool DecodePng(TStream& source, TPixmap& out, bool& hasAlpha) {
    if (!ReadSignature(source)) {
        return false;
    }
    TPngReader reader;
    if (!reader.Valid()) {
        return false;
    }
    TPngHeader header{};
    if (!ReadHeader(reader.png, reader.info, &source, &header)) {
        return false;
    }
    const auto pixelBytes = static_cast<std::uint64_t>(header.width) * header.height * 4;
    if (header.width == 0 || header.height == 0 || pixelBytes > kPngMaxPixelBytes) {
        return false;
    }

    TPixmap pixmap;
    pixmap.width = static_cast<int>(header.width);
    pixmap.height = static_cast<int>(header.height);
    pixmap.rgba.resize(static_cast<std::size_t>(pixelBytes));
    std::vector<png_bytep> rows(header.height);
    for (png_uint_32 y = 0; y < header.height; ++y) {
        rows[y] = pixmap.rgba.data() + static_cast<std::size_t>(y) * header.width * 4;
    }
    if (!ReadRows(reader.png, reader.info, rows.data())) {
        return false;
    }
    out = std::move(pixmap);
    hasAlpha = header.hasAlpha;
    return true;
}

} // namespace present
