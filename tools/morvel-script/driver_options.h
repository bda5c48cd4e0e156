// Command line of the deterministic driver.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvel_script {

struct TScreenshot {
    int frame;
    std::string path;
};

struct TDriverOptions {
    std::string inputPath;
    std::uint32_t clockStart = 1000000;
    int frames = 0; // 0: until the script presses Escape
    std::vector<TScreenshot> screenshots;
    std::string tracePath;
    bool openGL = false;
    bool help = false;
};

struct TOptionsResult {
    TDriverOptions options;
    std::string error; // empty on success
};

TOptionsResult ParseDriverOptions(const std::vector<std::string>& arguments);

const char* DriverUsage();

} // namespace morvel_script
