// Command line of kinetra-view.
#pragma once

#include <string>
#include <vector>

namespace kinetra_view {

struct TViewOptions {
    std::string bodyPath;
    bool openGL = false;
    int frames = 0;              // with screenshotPath: run this many frames headless
    std::string screenshotPath; // empty: an interactive window
    bool help = false;
};

struct TViewOptionsResult {
    TViewOptions options;
    std::string error; // empty on success
};

TViewOptionsResult ParseViewOptions(const std::vector<std::string>& arguments);

const char* ViewUsage();

} // namespace kinetra_view
