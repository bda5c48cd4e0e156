#include "png_limits.h"
#include <present/image.h>
#include <present/stream.h>

#include <algorithm>
#include <cstdint>

namespace present {

namespace {

struct TMaskColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

TMaskColour& LoadMaskColour() {
    static TMaskColour colour;
    return colour;
}

struct TPicture {
    TPixmap pixels;
    bool hasAlpha = false;
};

bool ReadPicture(const std::string& url, TPicture& picture) {
    const StreamRef stream = OpenReadStream(url);
    if (!stream) {
        return false;
    }
    const bool decoded = DecodePng(*stream, picture.pixels, picture.hasAlpha);
    CloseInput(stream);
    return decoded;
}

ImageRef MakeImage(int frameWidth, int frameHeight, int flags) {
    auto image = std::make_shared<TImage>();
    const TMaskColour& mask = LoadMaskColour();
    image->width = frameWidth;
    image->height = frameHeight;
    image->flags = flags == -1 ? ImageDefaultFlags : flags;
    image->maskRed = mask.red;
    image->maskGreen = mask.green;
    image->maskBlue = mask.blue;
    return image;
}

void AddFrame(TImage& image, TPixmap pixels, bool hasAlpha) {
    if ((image.flags & ImageMasked) != 0 && !hasAlpha) {
        ApplyMask(pixels, image.maskRed, image.maskGreen, image.maskBlue);
    }
    image.pixmaps.push_back(std::move(pixels));
    image.frames.push_back(nullptr);
    image.frameScreens.push_back(0);
}

} // namespace

ImageRef LoadImageFile(const std::string& url, int flags) {
    TPicture picture;
    if (!ReadPicture(url, picture)) {
        return nullptr;
    }
    ImageRef image = MakeImage(picture.pixels.width, picture.pixels.height, flags);
    AddFrame(*image, std::move(picture.pixels), picture.hasAlpha);
    return image;
}

ImageRef LoadImageStrip(const std::string& url, int cellWidth, int cellHeight, int firstCell,
                        int cellCount, int flags) {
    if (cellWidth <= 0 || cellHeight <= 0 || firstCell < 0 || cellCount <= 0) {
        return nullptr;
    }
    TPicture picture;
    if (!ReadPicture(url, picture)) {
        return nullptr;
    }
    const std::int64_t across = picture.pixels.width / cellWidth;
    const std::int64_t down = picture.pixels.height / cellHeight;
    if (across * down < static_cast<std::int64_t>(firstCell) + cellCount) {
        return nullptr;
    }
    ImageRef image = MakeImage(cellWidth, cellHeight, flags);
    for (std::int64_t cell = firstCell; cell < static_cast<std::int64_t>(firstCell) + cellCount;
         ++cell) {
        const auto left = static_cast<int>(cellWidth * (cell % across));
        const auto top = static_cast<int>(cellHeight * (cell / across));
        AddFrame(*image, CopyCell(picture.pixels, left, top, cellWidth, cellHeight),
                 picture.hasAlpha);
    }
    return image;
}

bool PictureSize(const std::string& url, int& width, int& height) {
    const StreamRef stream = OpenReadStream(url);
    std::uint32_t declaredWidth = 0;
    std::uint32_t declaredHeight = 0;
    const bool read = stream && ReadPngSize(*stream, declaredWidth, declaredHeight);
    CloseInput(stream);
    if (!read || declaredWidth > PngMaxSide || declaredHeight > PngMaxSide) {
        return false;
    }
    width = static_cast<int>(declaredWidth);
    height = static_cast<int>(declaredHeight);
    return true;
}

void SetImageAnchor(const ImageRef& image, float x, float y) {
    if (!image) {
        return;
    }
    image->anchorX = x;
    image->anchorY = y;
}

void SetLoadMaskColour(int r, int g, int b) {
    LoadMaskColour() =
        TMaskColour{std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255)};
}

} // namespace present
