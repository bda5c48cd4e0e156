// make-pictures OUT_DIR: draws the game's three pictures and writes them as
// OUT_DIR/faces.png, OUT_DIR/sphere.png and OUT_DIR/sphere4.png.
//
// The pictures are the game's own artwork, drawn from simple shapes and shading
// formulas so they can be changed and regenerated; the PNGs are committed under
// assets/gfx and embedded at build time. Every file is 8 bits per channel, not
// interlaced, with the chunks IHDR, tEXt, tIME, pHYs, gAMA, one IDAT and IEND and a
// fixed time stamp, so running this again on unchanged code rewrites identical
// bytes. Build target `pictures` regenerates assets/gfx in the source tree.
#include "faces.h"
#include "png_file.h"
#include "spheres.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-pictures OUT_DIR\n";
        return 2;
    }
    const std::string directory = argv[1];
    const struct {
        const char* name;
        pictures::TPicture picture;
    } outputs[] = {{"faces.png", pictures::DrawFaces()},
                   {"sphere.png", pictures::DrawBlueSphere()},
                   {"sphere4.png", pictures::DrawChromeSphere()}};
    for (const auto& output : outputs) {
        const std::string path = directory + "/" + output.name;
        const auto bytes = pictures::EncodePng(output.picture);
        if (bytes.empty() || !pictures::WriteFile(path, bytes)) {
            std::cerr << "make-pictures: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
