#include "scene_run.h"

#include <present/image.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace morvel_scene {

namespace {

std::vector<TTraceRow> ReadTrace(const std::string& path) {
    std::vector<TTraceRow> rows;
    std::ifstream in(path);
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        std::replace(line.begin(), line.end(), ',', ' ');
        std::istringstream fields(line);
        TTraceRow row;
        if (fields >> row.frame >> row.clock >> row.x >> row.y >> row.vx >> row.vy >> row.speed >>
            row.direction >> row.finished >> row.passes) {
            rows.push_back(row);
        }
    }
    return rows;
}

bool ReadPicture(const std::string& path, present::TPixmap& pixmap) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    bool hasAlpha = false;
    return !bytes.empty() && present::DecodePng(bytes.data(), bytes.size(), pixmap, hasAlpha);
}

std::string Quote(const std::string& text) {
    return "'" + text + "'";
}

} // namespace

TPictureDifference ComparePictures(const std::string& pathA, const std::string& pathB,
                                   TPictureBox box) {
    TPictureDifference result;
    present::TPixmap a;
    present::TPixmap b;
    if (!ReadPicture(pathA, a) || !ReadPicture(pathB, b) || a.width != b.width ||
        a.height != b.height || a.rgba.empty()) {
        return result;
    }
    if (box.width == 0) {
        box = TPictureBox{0, 0, a.width, a.height};
    }
    const int x0 = std::max(box.x, 0);
    const int y0 = std::max(box.y, 0);
    const int x1 = std::min(box.x + box.width, a.width);
    const int y1 = std::min(box.y + box.height, a.height);
    std::vector<int> differences;
    double sum = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * a.width + x) * 4;
            bool far = false;
            for (std::size_t c = 0; c < 3; ++c) {
                const int d = std::abs(int(a.rgba[at + c]) - int(b.rgba[at + c]));
                differences.push_back(d);
                sum += d;
                far = far || d > 8;
            }
            result.differingPixels += far ? 1 : 0;
        }
    }
    if (differences.empty()) {
        return result;
    }
    result.comparable = true;
    result.mean = sum / static_cast<double>(differences.size());
    const auto percentile = [&](std::size_t perMille) {
        const auto at =
            differences.begin() + static_cast<long>(differences.size() * perMille / 1000);
        std::nth_element(differences.begin(), at, differences.end());
        return *at;
    };
    result.percentile99 = percentile(990);
    result.percentile999 = percentile(999);
    return result;
}

std::string ScenePath(const std::string& fileName) {
    // One directory per test process: ctest runs the tests of one suite in
    // parallel processes, each replaying the same scene.
    const std::filesystem::path dir =
        std::filesystem::path(SCENE_OUTPUT_DIR) / std::to_string(getpid());
    std::filesystem::create_directories(dir);
    return (dir / fileName).string();
}

TSceneRun RunSceneFile(const std::string& name, const std::string& scriptPath, int frames,
                       std::uint32_t clockStart, const std::vector<std::string>& extraArguments) {
    const std::string tracePath = ScenePath(name + ".csv");
    std::filesystem::remove(tracePath);
    std::string command = Quote(MORVEL_SCRIPT) + " --input " + Quote(scriptPath) +
                          " --clock-start " + std::to_string(clockStart) + " --frames " +
                          std::to_string(frames) + " --trace " + Quote(tracePath);
    for (const std::string& argument : extraArguments) {
        command.append(" ").append(Quote(argument));
    }
    TSceneRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.rows = ReadTrace(tracePath);
    return run;
}

TSceneRun RunScene(const std::string& name, const std::string& script, int frames,
                   std::uint32_t clockStart, const std::vector<std::string>& extraArguments) {
    const std::string scriptPath = ScenePath(name + ".keys");
    std::ofstream(scriptPath) << script;
    return RunSceneFile(name, scriptPath, frames, clockStart, extraArguments);
}

} // namespace morvel_scene
