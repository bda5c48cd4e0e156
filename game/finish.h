// The finish shelf: reaching it turns the blob heavy, frictionless and chrome.
#pragma once

namespace morvel {

inline constexpr float kFinishWeight = 4.0f;
inline constexpr const char* kFinishSkinUrl = "incbin::gfx/sphere4.png";

// Strictly right of x 1900 and above y 275.
bool InFinishArea(float centreX, float centreY);

// Sets finished when the blob's centre is in the finish area, then gives the
// blob in play the finish skin, weight and friction if it does not have them
// yet (also a blob made by a later reset). False when the finish skin cannot
// be loaded.
bool UpdateFinish();

} // namespace morvel
