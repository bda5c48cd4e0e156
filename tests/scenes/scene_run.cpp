#include "scene_run.h"

#include "image.h"

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

TPictureDifference ComparePictures(const std::string& pathA, const std::string& pathB) {
    TPictureDifference result;
    present::TPixmap a;
    present::TPixmap b;
    if (!ReadPicture(pathA, a) || !ReadPicture(pathB, b) || a.width != b.width ||
        a.height != b.height || a.rgba.empty()) {
        return result;
    }
    std::vector<int> differences;
    double sum = 0;
    for (std::size_t i = 0; i < a.rgba.size(); ++i) {
        if (i % 4 == 3) {
            continue;
        }
        const int d = std::abs(int(a.rgba[i]) - int(b.rgba[i]));
        differences.push_back(d);
        sum += d;
        if (d > 8 && (i % 4 == 0 || std::abs(int(a.rgba[i - 1]) - int(b.rgba[i - 1])) <= 8) &&
            (i % 4 != 2 || std::abs(int(a.rgba[i - 2]) - int(b.rgba[i - 2])) <= 8)) {
            ++result.differingPixels;
        }
    }
    result.comparable = true;
    result.mean = sum / static_cast<double>(differences.size());
    const auto at = differences.begin() + static_cast<long>(differences.size() * 99 / 100);
    std::nth_element(differences.begin(), at, differences.end());
    result.percentile99 = *at;
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
