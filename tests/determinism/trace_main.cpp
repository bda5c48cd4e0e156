// Prints the fingerprints of the trace scenes, one line each, so that builds by
// other compilers or for other CPUs can be compared with this one.
#include "trace_scenes.h"

#include <cinttypes>
#include <cstdio>

int main() {
    std::printf("golden %016" PRIx64 "\n", trace::GoldenSceneHash(5000));
    std::printf("crowd %016" PRIx64 "\n", trace::CrowdSceneHash(3000));
    std::printf("reports %016" PRIx64 "\n", trace::CrowdReportHash(1000));
    return 0;
}
