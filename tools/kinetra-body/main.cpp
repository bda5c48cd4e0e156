// kinetra-body: dumps body files as text, builds them from text, and checks
// them with the engine's own loader. Exit status: 0 done, 1 the input was
// rejected, 2 bad arguments or an unreadable/unwritable file.
#include "body_binary.h"
#include "body_text.h"
#include "embedded_files.h"
#include "present.h"
#include "stream.h"
#include <kinetra/body_file.h>
#include <kinetra/kinetra.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr int Rejected = 1;
constexpr int BadArguments = 2;

const char* Usage = "usage: kinetra-body dump FILE          print a body file as text\n"
                    "       kinetra-body build TEXT OUT     write a body file from text\n"
                    "       kinetra-body check FILE         load a body file with the engine\n";

// Regular files only, read without blocking: a directory, a device or a FIFO
// is refused rather than read forever or waited on.
bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    const auto stream = present::OpenReadStream(path);
    if (!stream || path.rfind(present::EmbeddedUrlPrefix, 0) == 0) {
        return false;
    }
    bytes.assign(stream->Current(), stream->Current() + stream->Remaining());
    return true;
}

int Fail(int status, const std::string& message) {
    std::cerr << "kinetra-body: " << message << '\n';
    return status;
}

int Dump(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFile(path, bytes)) {
        return Fail(BadArguments, path + ": cannot be read");
    }
    bodytool::TRawBody body;
    std::string error;
    if (!bodytool::ParseBinary(bytes, body, error)) {
        return Fail(Rejected, path + ": " + error);
    }
    std::cout << bodytool::WriteText(body);
    return 0;
}

int Build(const std::string& textPath, const std::string& outPath) {
    std::vector<std::uint8_t> text;
    if (!ReadFile(textPath, text)) {
        return Fail(BadArguments, textPath + ": cannot be read");
    }
    bodytool::TRawBody body;
    std::string error;
    if (!bodytool::ParseText(std::string(text.begin(), text.end()), body, error)) {
        return Fail(Rejected, textPath + ": " + error);
    }
    const auto bytes = bodytool::WriteBinary(body);
    std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        return Fail(BadArguments, outPath + ": cannot be written");
    }
    return 0;
}

std::string Count(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

int Check(const std::string& path) {
    // An unreadable file is a bad argument (2), not a rejected body (1).
    if (std::vector<std::uint8_t> bytes; !ReadFile(path, bytes)) {
        return Fail(BadArguments, path + ": cannot be read");
    }
    kinetra::CreatePhysics(2048, 1024, 0.1f, 0, 2);
    std::string error;
    const auto body = kinetra::LoadBodyFile(path, &error);
    if (!body) {
        return Fail(Rejected, path + ": rejected: " + error);
    }
    std::cout << path << ": body \"" << body->name << "\" with "
              << Count(body->masses.size(), "mass", "masses") << ", "
              << Count(body->constraints.size(), "constraint", "constraints") << ", "
              << Count(body->rigs.size(), "rig", "rigs") << '\n';
    return 0;
}

int Run(const std::vector<std::string>& args) {
    if (args.size() == 2 && args[0] == "dump") {
        return Dump(args[1]);
    }
    if (args.size() == 3 && args[0] == "build") {
        return Build(args[1], args[2]);
    }
    if (args.size() == 2 && args[0] == "check") {
        return Check(args[1]);
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << Usage;
        return 0;
    }
    std::cerr << (args.empty() ? std::string("kinetra-body: no command given\n")
                               : "kinetra-body: unknown command or wrong number of arguments: " +
                                     args[0] + "\n")
              << Usage;
    return BadArguments;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::bad_alloc&) {
        return Fail(Rejected, "out of memory");
    } catch (const std::exception& failure) {
        return Fail(Rejected, failure.what());
    }
}
