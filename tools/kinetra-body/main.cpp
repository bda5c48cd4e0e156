// kinetra-body: dumps body files as text, builds them from text, and checks
// them with the engine's own loader. Exit status: 0 done, 1 the input was
// rejected, 2 bad arguments or an unreadable/unwritable file.
//
// Whatever it is given, it reads only regular files (never waiting on a pipe
// or reading a device without end), holds little beyond the input itself, and
// prints names, paths and arguments with every unprintable byte escaped.
#include "body_binary.h"
#include "body_text.h"
#include "embedded_pictures.h"
#include <kinetra/body_file.h>
#include <kinetra/kinetra.h>
#include <present/embedded_files.h>
#include <present/present.h>
#include <present/stream.h>

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

// A regular file on disk, opened without blocking; Null for anything else
// (an embedded name, a directory, a device, a FIFO, a missing file).
present::StreamRef OpenFile(const std::string& path) {
    if (path.rfind(present::EmbeddedUrlPrefix, 0) == 0) {
        return nullptr;
    }
    return present::OpenReadStream(path);
}

// The rest of an open file; false when it fails to read.
bool ReadRest(present::TStream& stream, std::vector<std::uint8_t>& bytes) {
    bytes.resize(stream.Remaining());
    return stream.TryRead(bytes.data(), bytes.size());
}

int Fail(int status, const std::string& message) {
    std::cerr << "kinetra-body: " << message << '\n';
    return status;
}

int Unreadable(const std::string& path) {
    return Fail(BadArguments,
                bodytool::Quote(path) + ": cannot be read (not a readable regular file)");
}

int Dump(const std::string& path) {
    const auto stream = OpenFile(path);
    if (!stream) {
        return Unreadable(path);
    }
    // A file that is not a body file is turned away on its first bytes,
    // however large it is.
    std::vector<std::uint8_t> bytes(4);
    if (!stream->TryRead(bytes.data(), bytes.size()) ||
        std::string(bytes.begin(), bytes.end()) != "BODY") {
        return Fail(Rejected,
                    bodytool::Quote(path) + ": not a body file: it does not start with \"BODY\"");
    }
    std::vector<std::uint8_t> rest;
    if (!ReadRest(*stream, rest)) {
        return Unreadable(path);
    }
    present::CloseInput(stream);
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    rest = {};
    bodytool::TRawBody body;
    std::string error;
    if (!bodytool::ParseBinary(bytes, body, error)) {
        return Fail(Rejected, bodytool::Quote(path) + ": " + error);
    }
    bytes = {};
    bodytool::WriteText(body, std::cout);
    return 0;
}

int Build(const std::string& textPath, const std::string& outPath) {
    const auto stream = OpenFile(textPath);
    std::string text(stream ? stream->Remaining() : 0, '\0');
    if (!stream || !stream->TryRead(text.data(), text.size())) {
        return Unreadable(textPath);
    }
    present::CloseInput(stream);
    bodytool::TRawBody body;
    std::string error;
    if (!bodytool::ParseText(text, body, error)) {
        return Fail(Rejected, bodytool::Quote(textPath) + ": " + error);
    }
    text.clear();
    text.shrink_to_fit();
    const auto bytes = bodytool::WriteBinary(body);
    std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        return Fail(BadArguments, bodytool::Quote(outPath) + ": cannot be written");
    }
    return 0;
}

std::string Count(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

int Check(const std::string& path) {
    // An unreadable file is a bad argument (2), not a rejected body (1).
    if (const auto stream = OpenFile(path)) {
        present::CloseInput(stream);
    } else {
        return Unreadable(path);
    }
    // The game's own pictures, so that a body dressed in them ("incbin::"
    // paths) is judged as the game would load it.
    for (const morvel::EmbeddedPicture& picture : morvel::kEmbeddedPictures) {
        present::RegisterEmbeddedFile(picture.name, picture.data, picture.size);
    }
    kinetra::CreatePhysics(2048, 1024, 0.1f, 0, 2);
    std::string error;
    const auto body = kinetra::LoadBodyFile(path, &error);
    if (!body) {
        return Fail(Rejected, bodytool::Quote(path) + ": rejected: " + error);
    }
    std::cout << bodytool::Quote(path) << ": body " << bodytool::Quote(body->name) << " with "
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
                                     bodytool::Quote(args[0]) + "\n")
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
        return Fail(Rejected, bodytool::Quote(failure.what()));
    }
}
