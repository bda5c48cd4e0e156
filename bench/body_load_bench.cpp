// Loading body files at scale: the time and the peak memory of TAdvBody::Load
// on inputs an author could write, made at run time in a temporary directory
// (nothing large is kept in the source tree):
//   a chain of 80,000 constraints, valid (and one of 20,000: the two show how
//   the time grows with the length);
//   a 1 GiB file that is not a body file (sparse: it costs no disk);
//   a small body file whose 200 image records all name one 4096 x 4096 PNG.
// peak_MB is how far the process's peak resident memory rose during the load;
// loaded is 1 when the file gave a body.
#include <kinetra/kinetra.h>
#include <present/image.h>

#include <benchmark/benchmark.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The inputs' directory, made on first use and removed when the program ends.
class TBenchFiles {
public:
    TBenchFiles() {
        std::string pattern = (fs::temp_directory_path() / "body-load-bench-XXXXXX").string();
        if (mkdtemp(pattern.data())) {
            dir = pattern;
        }
        start = fs::current_path();
    }
    ~TBenchFiles() {
        std::error_code ignored;
        fs::current_path(start, ignored);
        if (!dir.empty()) {
            fs::remove_all(dir, ignored);
        }
    }
    std::string Path(const std::string& name) const { return dir + "/" + name; }

    std::string dir;
    fs::path start;
};

const TBenchFiles& Files() {
    static const TBenchFiles files;
    return files;
}

class TBodyBytes {
public:
    std::vector<std::uint8_t> data;

    TBodyBytes& Raw(const std::string& text) {
        for (const char c : text) {
            data.push_back(static_cast<std::uint8_t>(c));
        }
        return *this;
    }
    TBodyBytes& U8(int value) {
        data.push_back(static_cast<std::uint8_t>(value));
        return *this;
    }
    TBodyBytes& I32(std::int32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            data.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> shift));
        }
        return *this;
    }
    TBodyBytes& F32(float value) { return I32(std::bit_cast<std::int32_t>(value)); }
    TBodyBytes& Name(const std::string& name) { return Raw((name + "        ").substr(0, 8)); }

    void Write(const std::string& path) const {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()),
                   static_cast<std::streamsize>(data.size()));
    }
};

// A straight chain: mass i joined to mass i + 1.
std::string ChainFile(int constraints) {
    const std::string path = Files().Path("chain-" + std::to_string(constraints) + ".body");
    if (fs::exists(path)) {
        return path;
    }
    TBodyBytes b;
    b.Raw("BODY").I32(0).Name("chain").Raw("MASS").I32(constraints + 1);
    for (int i = 0; i <= constraints; ++i) {
        b.Name("m").F32(static_cast<float>(i % 2000)).F32(static_cast<float>(i / 2000) * 10.0f);
        b.F32(1).F32(2).F32(0.5f).I32(-2).U8(0);
    }
    b.Raw("CONS").I32(constraints);
    for (int i = 0; i < constraints; ++i) {
        b.Name("c").I32(i).I32(i + 1).F32(0.5f);
    }
    b.Raw("END.").Write(path);
    return path;
}

// 1 GiB that does not start with "BODY".
std::string NonBodyFile() {
    const std::string path = Files().Path("not-a-body.bin");
    if (!fs::exists(path)) {
        std::ofstream(path, std::ios::binary).write("PK\x03\x04", 4);
        fs::resize_file(path, 1ull << 30);
    }
    return path;
}

// records image records naming one 4096 x 4096 picture, then one mass.
std::string ManyPicturesFile(int records) {
    const std::string picture = Files().Path("large.png");
    if (!fs::exists(picture)) {
        present::TPixmap pixmap;
        pixmap.width = 4096;
        pixmap.height = 4096;
        pixmap.rgba.resize(std::size_t{4096} * 4096 * 4);
        for (std::size_t i = 0; i < pixmap.rgba.size(); ++i) {
            pixmap.rgba[i] = static_cast<std::uint8_t>(i / 4 % 4096 / 16);
        }
        present::SavePng(picture, pixmap);
    }
    const std::string path = Files().Path("pictures-" + std::to_string(records) + ".body");
    TBodyBytes b;
    b.Raw("BODY").I32(0).Name("pictures").Raw("IMGS").I32(records);
    for (int i = 0; i < records; ++i) {
        b.Raw("large.png\n").U8(255).U8(0).U8(255).U8(0).F32(0).F32(0);
    }
    b.Raw("MASS").I32(1).Name("m").F32(10).F32(10).F32(1).F32(2).F32(0.5f).I32(-2).U8(0);
    b.Raw("CONS").I32(0).Raw("END.").Write(path);
    return path;
}

long StatusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) {
            return std::atol(line.c_str() + prefix.size());
        }
    }
    return 0;
}

// Loads path once per iteration, reporting how far the peak resident memory
// rose above what the process held before the load, and whether it loaded.
void MeasureLoad(benchmark::State& state, const std::string& path) {
    kinetra::CreatePhysics(2048, 1024, 0.1f, 0, 2);
    long peakRise = 0;
    bool loaded = false;
    for (auto _ : state) {
        std::ofstream("/proc/self/clear_refs") << "5"; // restarts the peak at the current size
        const long before = StatusKiB("VmRSS");
        auto body = kinetra::TAdvBody::Load(path);
        state.PauseTiming();
        peakRise = std::max(peakRise, StatusKiB("VmHWM") - before);
        loaded = body != nullptr;
        body = nullptr;
        fs::current_path(Files().start);
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = static_cast<double>(peakRise) / 1024.0;
    state.counters["loaded"] = loaded ? 1.0 : 0.0;
    kinetra::DestroyPhysics();
}

void LoadChain(benchmark::State& state) {
    MeasureLoad(state, ChainFile(static_cast<int>(state.range(0))));
}
BENCHMARK(LoadChain)->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond)->Iterations(1);

void RejectNonBodyFile(benchmark::State& state) {
    MeasureLoad(state, NonBodyFile());
}
BENCHMARK(RejectNonBodyFile)->Unit(benchmark::kMillisecond)->Iterations(1);

void RejectManyPictures(benchmark::State& state) {
    MeasureLoad(state, ManyPicturesFile(static_cast<int>(state.range(0))));
}
BENCHMARK(RejectManyPictures)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
