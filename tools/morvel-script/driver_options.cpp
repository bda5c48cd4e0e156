#include "driver_options.h"

#include <charconv>
#include <limits>

namespace morvel_script {

namespace {

template <typename Number> bool ParseNumber(const std::string& text, Number& out) {
    if (text.empty() || text.front() == '-' || text.front() == '+') {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

bool ParseScreenshot(const std::string& text, TScreenshot& out) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon + 1 >= text.size()) {
        return false;
    }
    out.path = text.substr(colon + 1);
    return ParseNumber(text.substr(0, colon), out.frame);
}

} // namespace

const char* DriverUsage() {
    return "usage: morvel-script [options]\n"
           "Runs Morvel on a headless platform: a virtual clock, scripted keys and frames\n"
           "drawn into memory, so that a game replays identically every time.\n"
           "\n"
           "  --input FILE          key events, one a line: FRAME down|up|press KEY\n"
           "                        FRAME counts presented frames from the start (menu\n"
           "                        frames included); the event is delivered once that\n"
           "                        many frames have been presented. press is a down and\n"
           "                        an up in the same frame. KEY is ENTER, ESCAPE, SPACE,\n"
           "                        LEFT, RIGHT, UP, DOWN, 1 to 4, X, G or a virtual-key\n"
           "                        code 0 to 255. '#' starts a comment.\n"
           "                        A game controller, plugged in from the start when\n"
           "                        the script uses it: KEY PAD_A, PAD_B, PAD_X, PAD_Y,\n"
           "                        PAD_START, PAD_BACK or the d-pad's PAD_LEFT,\n"
           "                        PAD_RIGHT, PAD_UP, PAD_DOWN; FRAME axis LEFTX|LEFTY\n"
           "                        VALUE (-32768 to 32767) moves the left stick;\n"
           "                        FRAME pad-remove and FRAME pad-add unplug it and\n"
           "                        plug it in again. In one frame, keys come first.\n"
           "  --clock-start MS      start of the virtual clock (default 1000000); it then\n"
           "                        advances only through the program's frame pacing\n"
           "  --frames N            stop after N presented frames, as if Escape had been\n"
           "                        pressed (normal shutdown, exit status 0)\n"
           "  --screenshot N:FILE   save presented frame N (from 0) as a PNG; repeatable\n"
           "  --trace FILE          CSV, one row per game frame: frame, clock, blob x, y,\n"
           "                        vx, vy, speed, direction, finished, the world's passes\n"
           "  --renderer d3d|gl     d3d: the Direct3D 7 stand-in on a memory surface\n"
           "                        (default, no display needed); gl: OpenGL on the\n"
           "                        current X display\n"
           "  --help                this text\n"
           "\n"
           "Exit status: the game's (0 normal, 1 failure), 1 when a screenshot or the trace\n"
           "could not be written, 2 for bad arguments or a malformed input file.\n";
}

TOptionsResult ParseDriverOptions(const std::vector<std::string>& arguments) {
    TOptionsResult result;
    TDriverOptions& options = result.options;
    auto fail = [&](const std::string& what) {
        result.error = what;
        return result;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help") {
            options.help = true;
            continue;
        }
        if (name != "--input" && name != "--clock-start" && name != "--frames" &&
            name != "--screenshot" && name != "--trace" && name != "--renderer") {
            return fail("unknown argument '" + name + "'");
        }
        if (i + 1 >= arguments.size()) {
            return fail(name + " needs a value");
        }
        const std::string& value = arguments[++i];
        if (name == "--input") {
            options.inputPath = value;
        } else if (name == "--clock-start") {
            if (!ParseNumber(value, options.clockStart)) {
                return fail("--clock-start '" + value + "' is not a number of milliseconds " +
                            "from 0 to " +
                            std::to_string(std::numeric_limits<std::uint32_t>::max()));
            }
        } else if (name == "--frames") {
            if (!ParseNumber(value, options.frames) || options.frames <= 0) {
                return fail("--frames '" + value + "' is not a positive frame count");
            }
        } else if (name == "--screenshot") {
            TScreenshot shot;
            if (!ParseScreenshot(value, shot)) {
                return fail("--screenshot '" + value + "' is not N:FILE.png");
            }
            options.screenshots.push_back(shot);
        } else if (name == "--trace") {
            options.tracePath = value;
        } else if (value == "d3d" || value == "gl") {
            options.openGL = value == "gl";
        } else {
            return fail("--renderer '" + value + "' is not d3d or gl");
        }
    }
    return result;
}

} // namespace morvel_script
