// pack-font FONT_TXT OUT_CPP: packs the built-in font's text form into the
// source of present::kBuiltinFontBits. Leaves OUT_CPP untouched and exits
// with status 1, naming the offending line, when the text is malformed.
#include "font_text.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: pack-font FONT_TXT OUT_CPP\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "pack-font: cannot read " << argv[1] << "\n";
        return 1;
    }
    const packfont::TPackedFont font = packfont::PackFontText(in, argv[1]);
    if (!font.error.empty()) {
        std::cerr << "pack-font: " << font.error << "\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << packfont::FontTableSource(font.bits);
    out.close();
    if (!out) {
        std::cerr << "pack-font: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
