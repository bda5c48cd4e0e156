#include "program.h"
#include "virtual_pad_env.h"

#include <iostream>

int main() {
    const std::string padError = morvel::PlayVirtualPadFromEnvironment();
    if (!padError.empty()) {
        std::cerr << "morvel: " << padError << "\n";
        return 1;
    }
    return morvel::RunMorvel();
}
