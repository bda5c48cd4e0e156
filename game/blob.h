// The player's blob: a soft ring of 24 masses held by 24 rim constraints and 12
// spokes, steered by the arrow keys.
#pragma once

#include <kinetra/body.h>
#include <kinetra/kinetra.h>

#include <memory>
#include <vector>

namespace morvel {

class TBlob : public kinetra::TBody {
public:
    static constexpr int kMassCount = 24;
    static constexpr int kConstraintCount = 36;

    // Rim masses; mass i sits at 15 * i degrees from the centre, clockwise on screen.
    std::vector<std::shared_ptr<kinetra::TMass>> masses =
        std::vector<std::shared_ptr<kinetra::TMass>>(kMassCount);
    // 0..11 spokes (mass i to mass i + 12), 12..35 rim (mass k - 12 to its successor).
    std::vector<std::shared_ptr<kinetra::TConstraint>> constraints =
        std::vector<std::shared_ptr<kinetra::TConstraint>>(kConstraintCount);
    float x = 0;
    float y = 0;
    float vx = 0;
    float vy = 0;
    float speed = 0;
    int direction = 0;

    static std::shared_ptr<TBlob> Create(float x, float y);
    // Steering and centre, once per frame before the physics tick. Space replaces
    // the global blob by a new one at the level's start.
    void Update();
    void Destroy();
    // Textured skin, outline and face.
    void Draw();
    // Untextured variant with a shadow and a highlight.
    void DrawFlat();
};

using BlobRef = std::shared_ptr<TBlob>;

} // namespace morvel
