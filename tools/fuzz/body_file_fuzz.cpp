// Feeds arbitrary bytes to both body-file loaders. Each input is written to a
// file in a private directory (the loaders read files, and change into their
// directory), loaded directly and as a template, and every body made from it
// is dropped again. Whatever the input, the world must end exactly as it
// started: nothing registered but its one zone, no group used up by a
// rejected file.
#include <kinetra/body_file.h>
#include "image.h"
#include <kinetra/kinetra.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// The picture the seed files name, so that valid seeds load completely.
constexpr const char* SeedPicture = "softbox.png";

struct TFuzzPlace {
    std::string dir;
    std::string input;
    // The loaders change the current directory; the fuzzing engine needs its
    // own back after every input to find its corpus.
    std::filesystem::path startDir;
};

const TFuzzPlace& Place() {
    static const TFuzzPlace place = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "body-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::abort();
        }
        present::TPixmap pixmap;
        pixmap.width = 8;
        pixmap.height = 8;
        pixmap.rgba.assign(8 * 8 * 4, 200);
        if (!present::SavePng(pattern + "/" + SeedPicture, pixmap)) {
            std::abort();
        }
        kinetra::CreatePhysics(2048, 1024, 0.1f, 0, 2);
        // One solid zone for loaded bodies to fall on, kept for the whole run.
        static const auto floor =
            kinetra::TZone::Create(std::make_shared<std::vector<float>>(
                                       std::vector<float>{0, 40, 400, 40, 400, 80, 0, 80}),
                                   2, 0.5f, 10, 4);
        return TFuzzPlace{pattern, pattern + "/input.bdy", std::filesystem::current_path()};
    }();
    return place;
}

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "body file fuzz: %s\n", what);
        std::abort();
    }
}

bool WorldEmpty() {
    return kinetra::massList->Empty() && kinetra::constraintList->Empty() &&
           kinetra::zoneList->Count() == 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TFuzzPlace& place = Place();
    {
        std::ofstream out(place.input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    // Keep the automatic groups far from the end of their range however long
    // the run.
    kinetra::nextAutoGroup = -2;

    std::string error;
    bool loaded = false;
    if (auto body = kinetra::LoadBodyFile(place.input, &error)) {
        loaded = true;
        Require(error.empty(), "an accepted file reported an error");
        Require(kinetra::constraintList->Count() == body->constraints.size(),
                "a loaded body's constraints are not all registered");
        // A hostile body must also be safe to simulate.
        for (int tick = 0; tick < 3; ++tick) {
            kinetra::UpdatePhysics();
        }
    } else {
        Require(!error.empty(), "a rejected file gave no reason");
        Require(kinetra::nextAutoGroup == -2, "a rejected file used up a group");
    }
    Require(WorldEmpty(), "a dropped body left something in the world");

    if (auto holder = kinetra::TAdvBody::LoadTemplate(place.input)) {
        Require(loaded, "the template loader accepted what the direct loader rejected");
        Require(WorldEmpty(), "a template registered something");
        auto one = kinetra::TAdvBody::CreateFromTemplate(holder->bodyTemplate);
        auto two = kinetra::TAdvBody::CreateFromTemplate(holder->bodyTemplate);
        Require(one && two, "a loaded template built no body");
        Require(kinetra::constraintList->Count() == 2 * one->constraints.size(),
                "template bodies are not all registered");
        one->SetPosition(10, 10);
        two->Push(1, -1);
    } else {
        Require(!loaded, "the template loader rejected what the direct loader accepted");
    }
    Require(WorldEmpty(), "a dropped template body left something in the world");
    std::filesystem::current_path(place.startDir);
    return 0;
}
