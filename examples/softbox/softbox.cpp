// Loads the soft crate of softbox.body, drops it onto a floor zone and prints
// where its centre mass is every simulated second (60 ticks).
//   softbox [FILE.body]     (softbox.body in the current directory by default)
#include <kinetra/kinetra.h>

#include <present/present.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : "softbox.body";

    // The game's world: gravity 0.1 pixels per tick squared, 2 passes a tick.
    kinetra::CreatePhysics(800, 600, 0.1f, 0, 2);
    auto floor = std::make_shared<std::vector<float>>(
        std::vector<float>{0, 500, 800, 500, 800, 600, 0, 600});
    const kinetra::ZoneRef zone = kinetra::TZone::Create(floor, 2, 1.0f, -1, 4);

    // The loader reads the body's picture too (images need no screen until drawn).
    present::InitPresent();
    std::string error;
    const kinetra::AdvBodyRef body = kinetra::LoadBodyFile(path, &error);
    if (!body) {
        std::fprintf(stderr, "softbox: %s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    std::printf("body \"%s\": masses %zu, constraints %zu, rigs %zu\n", body->name.c_str(),
                body->masses.size(), body->constraints.size(), body->rigs.size());

    body->SetPosition(384, 100); // masses[0], the top-left corner, lands here
    const kinetra::MassRef& centre = body->masses.back();
    for (int tick = 1; tick <= 600; ++tick) {
        kinetra::UpdatePhysics();
        if (tick % 60 == 0) {
            std::printf("tick %d: centre (%.1f, %.1f)\n", tick, centre->x, centre->y);
        }
    }

    body->Remove();
    zone->Remove();
    kinetra::DestroyPhysics();
    return 0;
}
