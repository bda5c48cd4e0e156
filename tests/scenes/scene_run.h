// Runs the deterministic driver on a key script and reads back its trace.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvel_scene {

struct TTraceRow {
    int frame = 0;
    std::uint32_t clock = 0;
    float x = 0, y = 0, vx = 0, vy = 0, speed = 0;
    int direction = 0;
    int finished = 0;
    int passes = 0;
};

struct TSceneRun {
    int status = -1;
    std::vector<TTraceRow> rows;
};

// script: the key script's text (FRAME down|up|press KEY lines). extraArguments
// are passed to the driver as they are (screenshots, renderer).
TSceneRun RunScene(const std::string& name, const std::string& script, int frames,
                   std::uint32_t clockStart, const std::vector<std::string>& extraArguments = {});

// Like RunScene, but with a script file kept in the tree.
TSceneRun RunSceneFile(const std::string& name, const std::string& scriptPath, int frames,
                       std::uint32_t clockStart,
                       const std::vector<std::string>& extraArguments = {});

struct TPictureDifference {
    bool comparable = false; // both read, same size
    double mean = 0;         // mean absolute difference of the colour channels
    int percentile99 = 0;    // 99th percentile of the channel differences
    int percentile999 = 0;   // 99.9th percentile
    int differingPixels = 0; // pixels with a channel more than 8 apart
};

// A part of a picture; a width of 0 stands for the whole picture.
struct TPictureBox {
    int x = 0, y = 0, width = 0, height = 0;
};

// Compares two PNG files channel by channel (alpha ignored), within the box
// (clipped to the pictures).
TPictureDifference ComparePictures(const std::string& pathA, const std::string& pathB,
                                   TPictureBox box = {});

// Where scratch files of a scene go.
std::string ScenePath(const std::string& fileName);

} // namespace morvel_scene
