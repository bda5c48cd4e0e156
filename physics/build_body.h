// The shared last step of the body loaders: a live body from checked records.
#pragma once

#include <kinetra/adv_body.h>
#include <kinetra/body_template.h>

namespace kinetra {

// Builds a live body from a checked template; the shared step of Load and
// CreateFromTemplate. Sets baseAngle only when withBaseAngle is true.
AdvBodyRef BuildBody(const TTmpBody& source, bool withBaseAngle);

} // namespace kinetra
