// The browser's clock as the program sees it. A page cannot sleep: it runs
// one frame at a time from the browser's animation frames. So a sleep of the
// pacing only moves the clock on: the clock never reads earlier than the end
// of the last sleep, and the next frame is due once the page's real time has
// come near it. The pacing's schedule then holds its 60 frames a second
// whatever the display's refresh rate, each frame running at the animation
// frame nearest its time.
#pragma once

#include <cstdint>

namespace present {

class TPageClock {
public:
    // now: the page's real time in milliseconds, wrapping at 32 bits.
    explicit TPageClock(std::uint32_t now) : awake(now) {}

    std::uint32_t Millis(std::uint32_t now) const;
    void Sleep(std::uint32_t now, std::uint32_t ms);
    // True once now is within half a 144 Hz refresh of the end of the last
    // sleep: two animation frames even of a 240 Hz display never run the same
    // frame's slot twice.
    bool FrameDue(std::uint32_t now) const;

private:
    std::uint32_t awake;
};

} // namespace present
