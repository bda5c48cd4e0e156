#include "build_body.h"
#include <kinetra/body_file.h>

#include <present/image.h>
#include <present/present.h>
#include <present/stream.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <limits>
#include <new>
#include <vector>

namespace kinetra {

namespace {

// Smallest size of each record: a name is 8 bytes, the fields 4 bytes each
// but the mass's fixed flag (1 byte); an image path is at least its
// terminator, then the mask, flags and anchor.
constexpr std::int64_t ImageRecordMin = 1 + 3 + 1 + 4 + 4;
constexpr std::int64_t MassRecordSize = 8 + 4 * 5 + 4 + 1;
constexpr std::int64_t ConstraintRecordSize = 8 + 4 + 4 + 4;
constexpr std::int64_t RigRecordSize = 8 + 4 + 4 + 4 + 4;
constexpr std::int64_t TagSize = 4;
constexpr std::int64_t CountSize = 4;
// The longest image path, PATH_MAX on Linux.
constexpr std::size_t PathLimit = 4096;

// What one load may decode of its pictures, in bytes of RGBA: a few large
// pictures, or many small ones, but never what would exhaust memory.
constexpr std::uint64_t PictureBudgetBytes = 256ull * 1024 * 1024;
constexpr std::uint64_t BytesPerPixel = 4;

// The ranges that keep a body finite however long it is simulated. Positions
// and radii this far out already lose most of a float's precision; a larger
// position overflows the rest length, a larger radius the collision push. A
// weight of 0 (or below) divides by zero where two masses share a push; a
// negative friction adds speed at every touch; a stiffness above 1
// overshoots, and along a chain of constraints the overshoot grows without
// bound within one pass.
constexpr float PositionLimit = 1.0e6f;
constexpr float RadiusLimit = 1.0e6f;
constexpr float StiffnessLimit = 1.0f;

struct Rejected {
    std::string reason;
};

std::string Quoted(const std::string& bytes) {
    std::string out = "\"";
    for (const char ch : bytes) {
        const auto code = static_cast<unsigned char>(ch);
        if (code >= 32 && code < 127 && ch != '"' && ch != '\\') {
            out += ch;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", code);
            out += escaped;
        }
    }
    return out + "\"";
}

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

// Reads fields while remembering where it is, so that a rejection or an
// early end of the file can say which chunk, record and field it was in.
class TFieldReader {
public:
    explicit TFieldReader(present::TStream& source) : stream(source) {}

    void Chunk(const std::string& tag) {
        chunk = tag;
        record = -1;
    }
    void Record(std::int64_t index) { record = index; }
    void Field(const char* name) { field = name; }

    std::string Tag(const char* what) {
        Field(what);
        return present::ReadChars(stream, 4);
    }
    std::string Name() {
        Field("name");
        return present::TrimText(present::ReadChars(stream, 8));
    }
    std::int32_t Int(const char* what) {
        Field(what);
        return present::ReadI32(stream);
    }
    int Byte(const char* what) {
        Field(what);
        return present::ReadU8(stream);
    }
    // A text line of at most PathLimit bytes: no file system takes a longer
    // path, and an endless one would otherwise be held whole.
    std::string Line(const char* what) {
        Field(what);
        std::string line;
        while (!stream.AtEnd()) {
            const int byte = present::ReadU8(stream);
            if (byte == 0 || byte == '\n') {
                break;
            }
            if (byte != '\r') {
                line.push_back(static_cast<char>(byte));
            }
            if (line.size() > PathLimit) {
                Fail("longer than " + std::to_string(PathLimit) + " bytes");
            }
        }
        return line;
    }
    float Float(const char* what) {
        Field(what);
        const float value = present::ReadF32(stream);
        if (!std::isfinite(value)) {
            Fail("is not a finite number");
        }
        return value;
    }

    // A finite float from low to high.
    float Within(const char* what, float low, float high) {
        const float value = Float(what);
        if (value < low || value > high) {
            Fail(Number(value) + " is out of range (" + Number(low) + " to " + Number(high) + ")");
        }
        return value;
    }
    // A finite float above 0.
    float Positive(const char* what) {
        const float value = Float(what);
        if (!(value > 0.0f)) {
            Fail(Number(value) + " is not greater than 0");
        }
        return value;
    }

    // A count of records of at least recordSize bytes each, followed by at
    // least after bytes of the file; checked before anything is allocated.
    std::int32_t Count(std::int64_t recordSize, std::int64_t after) {
        const std::int32_t count = Int("count");
        if (count < 0) {
            Fail(std::to_string(count) + " is negative");
        }
        const std::int64_t needed = count * recordSize + after;
        const auto left = static_cast<std::int64_t>(stream.Remaining());
        if (needed > left) {
            Fail(std::to_string(count) + " needs at least " + std::to_string(needed) +
                 " more bytes, the file has " + std::to_string(left));
        }
        return count;
    }

    // An index into count records, or -1 when allowNone.
    std::int32_t Index(const char* what, std::size_t count, const char* kind,
                       bool allowNone = false) {
        const std::int32_t index = Int(what);
        if (allowNone && index == -1) {
            return index;
        }
        if (index < 0 || static_cast<std::size_t>(index) >= count) {
            Fail("index " + std::to_string(index) + " is out of range (" + std::to_string(count) +
                 " " + kind + ")");
        }
        return index;
    }

    [[noreturn]] void Fail(const std::string& problem) const {
        throw Rejected{Where() + ": " + problem};
    }

    std::string Where() const {
        std::string where = "chunk " + Quoted(chunk);
        if (record >= 0) {
            where += ", record " + std::to_string(record);
        }
        return where + ", field \"" + field + "\"";
    }

private:
    present::TStream& stream;
    std::string chunk = "BODY";
    std::int64_t record = -1;
    const char* field = "";
};

std::uint64_t PictureBytes(int width, int height) {
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * BytesPerPixel;
}

// Adds a picture to what the load has decoded so far, or rejects it when that
// would pass the budget.
void SpendPictureBudget(const TFieldReader& in, const std::string& path, int width, int height,
                        std::uint64_t& spent) {
    const std::uint64_t bytes = PictureBytes(width, height);
    if (spent + bytes > PictureBudgetBytes) {
        in.Fail("image file " + Quoted(path) + " (" + std::to_string(width) + " x " +
                std::to_string(height) + ") would bring the decoded pictures to " +
                std::to_string(spent + bytes) + " bytes, more than the " +
                std::to_string(PictureBudgetBytes >> 20) + " MB one body file may use");
    }
    spent += bytes;
}

std::vector<ImageRef> ReadImages(TFieldReader& in) {
    in.Chunk("IMGS");
    std::uint64_t pictureBytes = 0;
    // After the images: "MASS", its count, "CONS", its count and one tag.
    const std::int32_t count = in.Count(ImageRecordMin, 3 * TagSize + 2 * CountSize);
    std::vector<ImageRef> images(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        in.Record(i);
        const std::string path = in.Line("path");
        const int red = in.Byte("mask red");
        const int green = in.Byte("mask green");
        const int blue = in.Byte("mask blue");
        const int flags = in.Byte("flags");
        const float anchorX = in.Float("anchor x");
        const float anchorY = in.Float("anchor y");
        in.Field("path");
        // Only regular files and embedded pictures: a path naming a device or
        // a directory must not reach the image reader.
        const bool embedded = path.rfind("incbin::", 0) == 0;
        if (path.empty() || (!embedded && present::FileKind(path) != 1)) {
            in.Fail("image file " + Quoted(path) + " does not exist or is not a regular file");
        }
        // The size is judged from the picture's header before anything is
        // decoded, and again from what was decoded, in case the file changed.
        int width = 0;
        int height = 0;
        if (!present::PictureSize(path, width, height)) {
            in.Fail("image file " + Quoted(path) + " cannot be loaded");
        }
        SpendPictureBudget(in, path, width, height, pictureBytes);
        present::SetLoadMaskColour(red, green, blue);
        auto image = present::LoadImageFile(path, flags);
        if (!image) {
            in.Fail("image file " + Quoted(path) + " cannot be loaded");
        }
        if (image->width != width || image->height != height) {
            pictureBytes -= PictureBytes(width, height);
            SpendPictureBudget(in, path, image->width, image->height, pictureBytes);
        }
        present::SetImageAnchor(image, anchorX, anchorY);
        images[static_cast<std::size_t>(i)] = std::move(image);
    }
    return images;
}

void ReadMasses(TFieldReader& in, TTmpBody& body) {
    in.Chunk("MASS");
    // After the masses: "CONS", its count and one tag.
    const std::int32_t count = in.Count(MassRecordSize, 2 * TagSize + CountSize);
    body.masses.resize(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        in.Record(i);
        const std::string name = in.Name();
        const float x = in.Within("x", -PositionLimit, PositionLimit);
        const float y = in.Within("y", -PositionLimit, PositionLimit);
        const float mass = in.Positive("mass");
        const float radius = in.Within("radius", 0.0f, RadiusLimit);
        const float friction = in.Within("friction", 0.0f, std::numeric_limits<float>::max());
        const std::int32_t code = in.Int("group code");
        if (code >= i) {
            in.Fail("group code " + std::to_string(code) + " does not name an earlier mass");
        }
        const int fixed = in.Byte("fixed");
        auto record = TTmpMass::Create(x, y, mass, radius, friction, code);
        record->name = name;
        record->fixed = fixed != 0 ? 1 : 0;
        body.masses[static_cast<std::size_t>(i)] = std::move(record);
    }
}

void ReadConstraints(TFieldReader& in, TTmpBody& body) {
    in.Chunk("CONS");
    const std::int32_t count = in.Count(ConstraintRecordSize, TagSize);
    body.constraints.resize(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        in.Record(i);
        const std::string name = in.Name();
        const std::int32_t a = in.Index("mass A", body.masses.size(), "masses");
        const std::int32_t b = in.Index("mass B", body.masses.size(), "masses");
        const float stiffness = in.Within("stiffness", 0.0f, StiffnessLimit);
        auto record = TTmpCon::Create(a, b, stiffness);
        record->name = name;
        body.constraints[static_cast<std::size_t>(i)] = std::move(record);
    }
}

void ReadRigs(TFieldReader& in, TTmpBody& body, const std::vector<ImageRef>& images) {
    in.Chunk("RIGS");
    const std::int32_t count = in.Count(RigRecordSize, 0);
    body.rigs.resize(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        in.Record(i);
        const std::string name = in.Name();
        const std::int32_t image = in.Index("image", images.size(), "images");
        const std::int32_t mass = in.Index("mass", body.masses.size(), "masses");
        const std::int32_t constraint =
            in.Index("constraint", body.constraints.size(), "constraints", true);
        const float angle = in.Float("angle");
        auto record =
            TTmpRig::Create(images[static_cast<std::size_t>(image)], mass, constraint, angle);
        record->name = name;
        body.rigs[static_cast<std::size_t>(i)] = std::move(record);
    }
}

TmpBodyRef ReadBody(TFieldReader& in) {
    const std::string first = in.Tag("tag");
    if (first != "BODY") {
        in.Fail("not a body file: the first tag is " + Quoted(first));
    }
    in.Int("reserved");
    auto body = std::make_shared<TTmpBody>();
    body->name = in.Name();

    std::vector<ImageRef> images;
    std::string tag = in.Tag("tag");
    if (tag == "IMGS") {
        images = ReadImages(in);
        in.Chunk("IMGS");
        tag = in.Tag("next tag");
    }
    if (tag != "MASS") {
        in.Fail("expected \"MASS\", found " + Quoted(tag));
    }
    ReadMasses(in, *body);
    in.Chunk("MASS");
    tag = in.Tag("next tag");
    if (tag != "CONS") {
        in.Fail("expected \"CONS\", found " + Quoted(tag));
    }
    ReadConstraints(in, *body);
    in.Chunk("CONS");
    if (in.Tag("next tag") == "RIGS") {
        ReadRigs(in, *body, images);
    }
    return body;
}

} // namespace

namespace {

TBodyFileRead ReadOpenedBodyFile(const std::string& url) {
    TBodyFileRead result;
    const int kind = present::FileKind(url);
    if (kind != 1) {
        result.error = kind == 2 ? "is a directory, not a body file" : "no such file";
        return result;
    }
    const std::string dir = present::DirectoryOf(url);
    const auto stream = present::OpenReadStream(url);
    if (!stream) {
        result.error = "cannot be opened or read as a regular file";
        return result;
    }
    present::ChangeDirectory(dir);
    TFieldReader in(*stream);
    try {
        result.body = ReadBody(in);
    } catch (const Rejected& rejected) {
        result.error = rejected.reason;
    } catch (const present::ReadError&) {
        result.error = in.Where() + (stream->Failed() ? ": the file cannot be read here"
                                                      : ": the file ends here");
    }
    present::CloseInput(stream);
    if (result.body) {
        result.error = CheckTemplate(*result.body);
        if (!result.error.empty()) {
            result.body = nullptr;
        }
    }
    return result;
}

// What an unexpected failure (memory, a failing read below the stream) says.
std::string Unexpected() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "out of memory while loading";
    } catch (const std::exception& failure) {
        return std::string("cannot be loaded: ") + failure.what();
    } catch (...) {
        return "cannot be loaded";
    }
}

} // namespace

TBodyFileRead ReadBodyFile(const std::string& url) {
    // Nothing is built or registered while reading, so any failure leaves
    // the world as it was.
    try {
        return ReadOpenedBodyFile(url);
    } catch (...) {
        return TBodyFileRead{nullptr, Unexpected()};
    }
}

AdvBodyRef LoadBodyFile(const std::string& url, std::string* error) {
    TBodyFileRead read = ReadBodyFile(url);
    if (read.body) {
        try {
            return BuildBody(*read.body, false);
        } catch (...) {
            read.error = Unexpected();
        }
    }
    if (error) {
        *error = read.error;
    }
    return nullptr;
}

TmpBodyRef TTmpBody::Load(const std::string& url) {
    return ReadBodyFile(url).body;
}

AdvBodyRef TAdvBody::Load(const std::string& url) {
    return LoadBodyFile(url, nullptr);
}

AdvBodyRef TAdvBody::LoadTemplate(const std::string& url) {
    auto loaded = TTmpBody::Load(url);
    if (!loaded) {
        return nullptr;
    }
    try {
        auto body = std::make_shared<TAdvBody>();
        body->bodyTemplate = std::move(loaded);
        return body;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace kinetra
