#include "renderer.h"
#include "screen.h"
#include <present/image.h>

#include <algorithm>
#include <cstring>

namespace present {

int NextPowerOfTwo(int n) {
    int power = 1;
    while (power < n && power <= (1 << 29)) {
        power <<= 1;
    }
    return power;
}

TPixmap CopyCell(const TPixmap& picture, int left, int top, int cellWidth, int cellHeight) {
    TPixmap cell;
    cell.width = cellWidth;
    cell.height = cellHeight;
    cell.rgba.resize(static_cast<std::size_t>(cellWidth) * static_cast<std::size_t>(cellHeight) *
                     4);
    const auto rowBytes = static_cast<std::size_t>(cellWidth) * 4;
    for (int y = 0; y < cellHeight; ++y) {
        const auto source =
            (static_cast<std::size_t>(top + y) * static_cast<std::size_t>(picture.width) +
             static_cast<std::size_t>(left)) *
            4;
        std::memcpy(&cell.rgba[static_cast<std::size_t>(y) * rowBytes], &picture.rgba[source],
                    rowBytes);
    }
    return cell;
}

TPixmap PadToPowerOfTwo(const TPixmap& frame) {
    if (frame.width <= 0 || frame.height <= 0 ||
        frame.rgba.size() !=
            static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height) * 4) {
        return {};
    }
    TPixmap padded;
    padded.width = NextPowerOfTwo(frame.width);
    padded.height = NextPowerOfTwo(frame.height);
    padded.rgba.resize(static_cast<std::size_t>(padded.width) *
                       static_cast<std::size_t>(padded.height) * 4);
    const auto sourceRow = static_cast<std::size_t>(frame.width) * 4;
    const auto targetRow = static_cast<std::size_t>(padded.width) * 4;
    for (int y = 0; y < padded.height; ++y) {
        const auto sourceY = static_cast<std::size_t>(std::min(y, frame.height - 1));
        const std::uint8_t* source = &frame.rgba[sourceY * sourceRow];
        std::uint8_t* target = &padded.rgba[static_cast<std::size_t>(y) * targetRow];
        std::memcpy(target, source, sourceRow);
        const std::uint8_t* last = source + sourceRow - 4;
        for (int x = frame.width; x < padded.width; ++x) {
            std::memcpy(target + static_cast<std::size_t>(x) * 4, last, 4);
        }
    }
    return padded;
}

TextureRef TImage::FrameTexture(int i) {
    if (i < 0 || i >= FrameCount()) {
        return nullptr;
    }
    frames.resize(pixmaps.size());
    frameScreens.resize(pixmaps.size(), 0);
    const auto index = static_cast<std::size_t>(i);
    const int screen = CurrentScreenNumber();
    if (frames[index] && frameScreens[index] == screen) {
        return frames[index];
    }
    frames[index] = nullptr;
    const RendererRef renderer = CurrentRenderer();
    if (!renderer) {
        return nullptr;
    }
    frames[index] = renderer->MakeTexture(pixmaps[index], flags);
    frameScreens[index] = frames[index] ? screen : 0;
    return frames[index];
}

} // namespace present
