#include "level.h"

#include "globals.h"
#include <present/present.h>

#include <cstdint>

namespace morvel {

void TLevel::Init() {
    for (const LevelObjRef& object : objects) {
        if (object) {
            object->Init();
        }
    }
}

void TLevel::Update() {
    // The clock wraps like the platform counter; the time stamp keeps its raw
    // value as a signed int.
    time = static_cast<std::int32_t>(present::ClockMillis());
    for (const LevelObjRef& object : objects) {
        if (object) {
            object->Update();
        }
    }
}

void TLevel::Draw() {
    for (const LevelObjRef& object : objects) {
        if (object) {
            object->Draw();
        }
    }
}

void AddToLevel(const LevelObjRef& object) {
    if (level) {
        level->objects.push_back(object);
    }
}

} // namespace morvel
