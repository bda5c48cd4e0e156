// Runs the whole program on the headless platform and records every presented frame.
#pragma once

#include "globals.h"
#include "program.h"
#include "screen.h"
#include <present/headless.h>
#include <present/image.h>
#include <present/present.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <vector>

namespace morvel {

struct TFrameRecord {
    int width = 0;
    int height = 0;
    int depth = 0;
    bool direct3D7 = false;
    bool hasBlob = false;
    bool pointerVisible = true;
    std::uint32_t clock = 0;
};

class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        platform = std::make_shared<present::THeadlessPlatform>(1000000);
        firstFrame = present::PresentedFrames();
        platform->onPresent = [this](int frameIndex) { Record(frameIndex - firstFrame); };
        present::SetPlatform(platform);
        present::SetPointerVisible(1);
    }

    // Keys are timed in frames of this run: delivered once that many have been presented.
    void Press(int frame, int key) {
        platform->ScheduleKey(firstFrame + frame, key, true);
        platform->ScheduleKey(firstFrame + frame, key, false);
    }

    int Run(int frameLimit) { return RunMorvel({frameLimit}); }

    void Capture(int frame) { wanted.insert(frame); }

    std::shared_ptr<present::THeadlessPlatform> platform;
    int firstFrame = 0;
    std::vector<TFrameRecord> frames;
    std::map<int, present::TPixmap> shots;

private:
    void Record(int frame) {
        const present::ScreenRef screen = present::CurrentScreen();
        TFrameRecord record;
        if (screen) {
            record.width = screen->width;
            record.height = screen->height;
            record.depth = screen->depth;
        }
        record.direct3D7 = present::CurrentRenderer() == present::Direct3D7Renderer();
        record.hasBlob = blob != nullptr;
        record.pointerVisible = present::PointerVisible() != 0;
        record.clock = present::ClockMillis();
        frames.push_back(record);
        if (wanted.count(frame) != 0) {
            present::CaptureScreen(shots[frame]);
        }
    }

    std::set<int> wanted;
};

// Pixels of one exact colour inside a rectangle.
struct TColourSpan {
    int count = 0;
    int left = 1 << 30;
    int right = -1; // last column holding the colour
};

inline TColourSpan FindColour(const present::TPixmap& pixmap, int x0, int y0, int x1, int y1,
                              int red, int green, int blue) {
    TColourSpan span;
    for (int y = std::max(y0, 0); y < std::min(y1, pixmap.height); ++y) {
        for (int x = std::max(x0, 0); x < std::min(x1, pixmap.width); ++x) {
            const std::uint8_t* p =
                &pixmap.rgba[(static_cast<std::size_t>(y) * pixmap.width + x) * 4];
            if (p[0] == red && p[1] == green && p[2] == blue) {
                ++span.count;
                span.left = std::min(span.left, x);
                span.right = std::max(span.right, x);
            }
        }
    }
    return span;
}

} // namespace morvel
