// The kept key script that takes the blob from the start over the lower level,
// up the right-hand lift and back left over the bridge, and the frames of it
// that the scenes look at.
#pragma once

#include <cstdint>

namespace morvel_scene {

inline constexpr const char* kCourseScript = SCENE_DATA_DIR "/course_run.keys";
inline constexpr std::uint32_t kCourseClockStart = 1000000;
inline constexpr int kCourseFrames = 3300;
inline constexpr int kFirstFrame = 1;
inline constexpr int kBridgeFrame = 3210;
// The blob has left the right-hand lift at its top by this frame.
inline constexpr int kAfterLiftRide = 2500;

inline constexpr const char* kGoldenFirstFrame = SCENE_DATA_DIR "/golden_first_frame.png";
inline constexpr const char* kGoldenBridge = SCENE_DATA_DIR "/golden_bridge.png";

} // namespace morvel_scene

namespace morvel_scene {

// The kept key script that takes the blob all the way to the finish shelf
// (found with tools/find-finish from the same clock start).
inline constexpr const char* kFinishScript = SCENE_DATA_DIR "/finish.keys";
inline constexpr int kFinishFrames = 12861;
inline constexpr int kFinishFrame = 12799;

} // namespace morvel_scene
