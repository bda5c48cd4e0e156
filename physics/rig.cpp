#include <kinetra/rig.h>

#include <utility>

namespace kinetra {

RigRef TRig::Create(ImageRef image, MassRef mass, ConstraintRef constraint, float angle) {
    auto rig = std::make_shared<TRig>();
    rig->name = "Rig";
    rig->image = std::move(image);
    rig->mass = std::move(mass);
    rig->constraint = std::move(constraint);
    rig->angle = angle;
    return rig;
}

void TRig::SetImage(ImageRef newImage) {
    image = std::move(newImage);
}

float TRig::Rotation() const {
    return constraint ? constraint->GetAngle() + angle : angle;
}

} // namespace kinetra
