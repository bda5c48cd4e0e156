// function-lengths LIMIT DIR [LIMIT DIR]...: names every function in the C++
// sources under each DIR (.cpp, .h, .c) that runs over LIMIT lines, counted from
// the first line of its head to its closing brace. Status 0 when none does, 1
// when some do, 2 for bad arguments or a directory or file that cannot be read.
#include "function_scan.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kUsageStatus = 2;

bool IsSource(const fs::path& path) {
    const std::string ext = path.extension().string();
    return ext == ".cpp" || ext == ".h" || ext == ".c";
}

// The source files under `dir` in name order, so that reports are stable;
// false when the directory cannot be walked.
bool SourcesUnder(const fs::path& dir, std::vector<fs::path>& files) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error) && IsSource(it->path())) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return !error;
}

// How many functions of `file` run over `limit`, each reported on stdout;
// -1 when the file cannot be read.
int ReportFile(const fs::path& file, int limit) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) return -1;
    int over = 0;
    for (const fnlen::TFunctionSpan& span : fnlen::FindFunctions(text.str())) {
        if (span.Lines() <= limit) continue;
        std::cout << file.string() << ":" << span.firstLine << ": " << span.name << " is "
                  << span.Lines() << " lines (limit " << limit << ")\n";
        ++over;
    }
    return over;
}

bool ParseLimit(const char* text, int& limit) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > 100000) return false;
    limit = static_cast<int>(value);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::cerr << "usage: function-lengths LIMIT DIR [LIMIT DIR]...\n";
        return kUsageStatus;
    }
    int over = 0;
    for (int arg = 1; arg < argc; arg += 2) {
        int limit = 0;
        std::vector<fs::path> files;
        if (!ParseLimit(argv[arg], limit) || !SourcesUnder(argv[arg + 1], files)) {
            std::cerr << "function-lengths: bad limit or unreadable directory: " << argv[arg]
                      << " " << argv[arg + 1] << "\n";
            return kUsageStatus;
        }
        for (const fs::path& file : files) {
            const int found = ReportFile(file, limit);
            if (found < 0) {
                std::cerr << "function-lengths: cannot read " << file.string() << "\n";
                return kUsageStatus;
            }
            over += found;
        }
    }
    return over == 0 ? 0 : 1;
}
