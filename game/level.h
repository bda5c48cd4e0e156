// The level: the course's size and start point, the ordered list of course
// objects and the one millisecond time stamp they all move by.
#pragma once

#include <memory>
#include <vector>

namespace morvel {

// Base of every course object. The level forwards its frame to each object in
// creation order.
class TLevelObj {
public:
    virtual ~TLevelObj() = default;
    virtual void Init() {}
    virtual void Update() {}
    virtual void Draw() {}
};

using LevelObjRef = std::shared_ptr<TLevelObj>;

class TLevel {
public:
    virtual ~TLevel() = default;

    int width = 0;
    int height = 0;
    int startX = 0;
    int startY = 0;
    std::vector<LevelObjRef> objects;
    // Raw clock value taken once per frame, so every moving object of that frame
    // shares one time base.
    int time = 0;

    virtual void Init();
    virtual void Update();
    virtual void Draw();
};

using LevelRef = std::shared_ptr<TLevel>;

// Appends a freshly made course object to the global level's list.
void AddToLevel(const LevelObjRef& object);

} // namespace morvel
