// make-pictures ASSETS_DIR: draws the game's three pictures and its icon, and
// writes them as ASSETS_DIR/gfx/faces.png, sphere.png and sphere4.png and
// ASSETS_DIR/icons/morvel-SIZE.png, one for each icon size.
//
// The pictures are the game's own artwork, drawn from simple shapes and shading
// formulas so they can be changed and regenerated; the PNGs are committed under
// assets/gfx (embedded at build time) and assets/icons (installed for the
// desktop). Every file is 8 bits per channel, not interlaced, with the chunks
// IHDR, tEXt, tIME, pHYs, gAMA, one IDAT and IEND and a fixed time stamp, so
// running this again on unchanged code rewrites identical bytes. Build target
// `pictures` regenerates both directories in the source tree.
#include "faces.h"
#include "icon.h"
#include "png_file.h"
#include "spheres.h"

#include <iostream>
#include <string>
#include <utility>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-pictures ASSETS_DIR\n";
        return 2;
    }
    const std::string directory = argv[1];
    std::vector<std::pair<std::string, pictures::Picture>> outputs = {
        {"gfx/faces.png", pictures::DrawFaces()},
        {"gfx/sphere.png", pictures::DrawBlueSphere()},
        {"gfx/sphere4.png", pictures::DrawChromeSphere()}};
    for (const int size : pictures::kIconSizes) {
        outputs.emplace_back("icons/morvel-" + std::to_string(size) + ".png",
                             pictures::DrawIcon(size));
    }
    for (const auto& [name, picture] : outputs) {
        const std::string path = directory + "/" + name;
        const auto bytes = pictures::EncodePng(picture);
        if (bytes.empty() || !pictures::WriteFile(path, bytes)) {
            std::cerr << "make-pictures: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
