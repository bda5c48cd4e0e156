#include "view_options.h"

#include <charconv>

namespace kinetra_view {

namespace {

bool ParseFrameCount(const std::string& text, int& out) {
    if (text.empty() || text.front() == '-' || text.front() == '+') {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && out > 0;
}

} // namespace

const char* ViewUsage() {
    return "usage: kinetra-view FILE.body [--renderer d3d|gl] [--frames N --screenshot OUT.png]\n"
           "Shows a body file's body falling into an 800 x 600 box with a floor, one tick a\n"
           "frame at 60 frames a second, in the game's world (gravity 0.1, 2 passes).\n"
           "\n"
           "  --renderer d3d|gl     d3d: the Direct3D 7 stand-in (default); gl: OpenGL\n"
           "  --frames N            with --screenshot: run N frames (N ticks) without a\n"
           "  --screenshot OUT.png  window and write the last one as a PNG (d3d draws into\n"
           "                        memory and needs no display; gl uses the X display)\n"
           "  --help                this text\n"
           "\n"
           "In the window: drag a mass with the left mouse button (the nearest one is\n"
           "taken), R reloads the file, Space pauses, N steps one tick while paused,\n"
           "Escape quits.\n"
           "\n"
           "Exit status: 0 done, 1 the file is not a loadable body file (the loader's\n"
           "reason on stderr) or the window or screenshot failed, 2 bad arguments.\n";
}

TViewOptionsResult ParseViewOptions(const std::vector<std::string>& arguments) {
    TViewOptionsResult result;
    TViewOptions& options = result.options;
    auto fail = [&](const std::string& what) {
        result.error = what;
        return result;
    };
    bool framesGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            continue;
        }
        if (argument.rfind("-", 0) != 0) {
            if (!options.bodyPath.empty()) {
                return fail("more than one body file given ('" + options.bodyPath + "', '" +
                            argument + "')");
            }
            options.bodyPath = argument;
            continue;
        }
        if (argument != "--renderer" && argument != "--frames" && argument != "--screenshot") {
            return fail("unknown argument '" + argument + "'");
        }
        if (i + 1 >= arguments.size()) {
            return fail(argument + " needs a value");
        }
        const std::string& value = arguments[++i];
        if (argument == "--renderer") {
            if (value != "d3d" && value != "gl") {
                return fail("--renderer '" + value + "' is not d3d or gl");
            }
            options.openGL = value == "gl";
        } else if (argument == "--frames") {
            if (!ParseFrameCount(value, options.frames)) {
                return fail("--frames '" + value + "' is not a positive frame count");
            }
            framesGiven = true;
        } else if (value.empty()) {
            return fail("--screenshot needs a file name");
        } else {
            options.screenshotPath = value;
        }
    }
    if (options.help) {
        return result;
    }
    if (options.bodyPath.empty()) {
        return fail("no body file given");
    }
    if (framesGiven != !options.screenshotPath.empty()) {
        return fail("--frames and --screenshot go together");
    }
    return result;
}

} // namespace kinetra_view
