#include "program.h"

int main() {
    return morvel::RunMorvel();
}
