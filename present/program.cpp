#include <present/present.h>

#include <cstdlib>

namespace present {

void ExitProgram() {
    CloseScreen();
    std::exit(0);
}

} // namespace present
