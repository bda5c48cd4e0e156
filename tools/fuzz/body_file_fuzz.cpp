// Feeds arbitrary bytes to both body-file loaders. Each input is written to a
// file in a private directory (the loaders read files, and change into their
// directory) and loaded directly; a file that loads is simulated for three
// ticks, then loaded as a template from which one more body is built, moved
// and pushed, and every body is dropped again. Whatever the input, the world must end exactly
// as it started: nothing registered but its one zone, no group used up by a
// rejected file.
//
// Both loaders read through the same reader, so a rejected file is not read a
// second time as a template: that would halve the inputs tried and reach no
// new code.
#include <kinetra/body_file.h>
#include <kinetra/kinetra.h>
#include <present/image.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The picture the seed files name, so that valid seeds load completely; tiny,
// so that decoding it costs next to nothing.
constexpr const char* SeedPicture = "softbox.png";
// Only the header of a 16384 x 16384 picture, 1 GB decoded: seeds naming it
// reach the loader's budget of decoded pixels without anything being decoded.
constexpr const char* HugePictureHeader = "huge.png";
constexpr unsigned char HugePngHeader[] = {
    0x89, 'P',  'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I',  'H',  'D',  'R', 0,
    0,    0x40, 0,   0,   0,    0x40, 0,    8,    6, 0, 0, 0,  0xa9, 0xc8, 0x10, 0x84};

struct TFuzzPlace {
    std::string dir;
    std::string input;
    // The loaders change the current directory; the fuzzing engine needs its
    // own back after every input to find its corpus.
    std::filesystem::path startDir;
    int inputFd = -1;

    // Nothing is left behind when the run ends.
    ~TFuzzPlace() {
        ::close(inputFd);
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

const TFuzzPlace& Place() {
    static const TFuzzPlace place = [] {
        // In memory where the system offers it: every input is written to a
        // file, and a disk would make that the slowest step.
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "body-fuzz-XXXXXX").string();
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
        std::ofstream(pattern + "/" + HugePictureHeader, std::ios::binary)
            .write(reinterpret_cast<const char*>(HugePngHeader), sizeof HugePngHeader);
        kinetra::CreatePhysics(2048, 1024, 0.1f, 0, 2);
        // One solid zone for loaded bodies to fall on, kept for the whole run.
        static const auto floor =
            kinetra::TZone::Create(std::make_shared<std::vector<float>>(
                                       std::vector<float>{0, 40, 400, 40, 400, 80, 0, 80}),
                                   2, 0.5f, 10, 4);
        const std::string input = pattern + "/input.bdy";
        const int fd = ::open(input.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) {
            std::abort();
        }
        return TFuzzPlace{pattern, input, std::filesystem::current_path(), fd};
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

// Rewrites the input file in place through a descriptor kept open for the
// whole run: two system calls an input instead of an open, a write and a close.
void WriteInput(const TFuzzPlace& place, const std::uint8_t* data, std::size_t size) {
    std::size_t written = 0;
    while (written < size) {
        const ssize_t got =
            ::pwrite(place.inputFd, data + written, size - written, static_cast<off_t>(written));
        Require(got > 0, "cannot write the input file");
        written += static_cast<std::size_t>(got);
    }
    Require(::ftruncate(place.inputFd, static_cast<off_t>(size)) == 0,
            "cannot write the input file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TFuzzPlace& place = Place();
    WriteInput(place, data, size);
    // Keep the automatic groups far from the end of their range however long
    // the run.
    kinetra::nextAutoGroup = -2;

    std::string error;
    if (auto body = kinetra::LoadBodyFile(place.input, &error)) {
        Require(error.empty(), "an accepted file reported an error");
        Require(kinetra::constraintList->Count() == body->constraints.size(),
                "a loaded body's constraints are not all registered");
        // A hostile body must also be safe to simulate.
        for (int tick = 0; tick < 3; ++tick) {
            kinetra::UpdatePhysics();
        }
        for (const auto& mass : body->masses) {
            Require(std::isfinite(mass->x) && std::isfinite(mass->y),
                    "a loaded body did not stay finite");
        }
    } else {
        Require(!error.empty(), "a rejected file gave no reason");
        Require(kinetra::nextAutoGroup == -2, "a rejected file used up a group");
        Require(WorldEmpty(), "a rejected file left something in the world");
        std::filesystem::current_path(place.startDir);
        return 0;
    }
    Require(WorldEmpty(), "a dropped body left something in the world");

    auto holder = kinetra::TAdvBody::LoadTemplate(place.input);
    Require(holder != nullptr, "the template loader rejected what the direct loader accepted");
    Require(WorldEmpty(), "a template registered something");
    auto built = kinetra::TAdvBody::CreateFromTemplate(holder->bodyTemplate);
    Require(built != nullptr, "a loaded template built no body");
    Require(kinetra::constraintList->Count() == built->constraints.size(),
            "a template body is not all registered");
    built->SetPosition(10, 10);
    built->Push(1, -1);
    built = nullptr;
    Require(WorldEmpty(), "a dropped template body left something in the world");
    std::filesystem::current_path(place.startDir);
    return 0;
}
