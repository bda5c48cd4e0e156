#include <kinetra/adv_body.h>
#include <kinetra/rig.h>

#include <present/present.h>

namespace kinetra {

void TRig::Draw() const {
    if (!image || !mass) {
        return;
    }
    present::SetDrawRotation(Rotation());
    present::DrawImageFrame(image, mass->x, mass->y, 0);
}

void TAdvBody::Draw() const {
    for (const auto& rig : rigs) {
        if (rig) {
            rig->Draw();
        }
    }
}

} // namespace kinetra
