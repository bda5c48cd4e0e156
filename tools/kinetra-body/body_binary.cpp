#include "body_binary.h"

#include <bit>
#include <stdexcept>

namespace bodytool {

namespace {

struct TLayoutError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class TByteReader {
public:
    explicit TByteReader(const std::vector<std::uint8_t>& source) : bytes(source) {}

    std::string Bytes(std::size_t count, const std::string& what) {
        if (count > Left()) {
            throw TLayoutError("the file ends inside " + what);
        }
        std::string out(bytes.begin() + static_cast<long>(at),
                        bytes.begin() + static_cast<long>(at + count));
        at += count;
        return out;
    }
    std::uint32_t Word(const std::string& what) {
        const std::string b = Bytes(4, what);
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value = value << 8 | static_cast<std::uint8_t>(b[static_cast<std::size_t>(i)]);
        }
        return value;
    }
    std::int32_t Int(const std::string& what) { return static_cast<std::int32_t>(Word(what)); }
    float Float(const std::string& what) { return std::bit_cast<float>(Word(what)); }
    std::uint8_t Byte(const std::string& what) {
        return static_cast<std::uint8_t>(Bytes(1, what)[0]);
    }
    // A count of records of at least recordSize bytes each.
    std::size_t Count(std::size_t recordSize, const std::string& what) {
        const std::int32_t count = Int(what + " count");
        if (count < 0) {
            throw TLayoutError(what + " count " + std::to_string(count) + " is negative");
        }
        if (static_cast<std::uint64_t>(count) * recordSize > Left()) {
            throw TLayoutError(what + " count " + std::to_string(count) +
                               " is more than the rest of the file can hold");
        }
        return static_cast<std::size_t>(count);
    }
    std::size_t Left() const { return bytes.size() - at; }
    std::string Rest() { return Bytes(Left(), "the rest"); }

    // Raw line bytes up to a line feed or NUL; false when the file ends first.
    bool Line(std::string& line, bool& nulTerminated) {
        line.clear();
        while (at < bytes.size()) {
            const std::uint8_t b = bytes[at++];
            if (b == 10 || b == 0) {
                nulTerminated = b == 0;
                return true;
            }
            line += static_cast<char>(b);
        }
        return false;
    }

private:
    const std::vector<std::uint8_t>& bytes;
    std::size_t at = 0;
};

std::string Record(const char* kind, std::size_t i) {
    return std::string(kind) + " " + std::to_string(i);
}

} // namespace

bool ParseBinary(const std::vector<std::uint8_t>& bytes, TRawBody& body, std::string& error) {
    body = TRawBody{};
    TByteReader in(bytes);
    try {
        if (in.Bytes(4, "the first tag") != "BODY") {
            throw TLayoutError("not a body file: it does not start with \"BODY\"");
        }
        body.reserved = in.Int("the reserved word");
        body.name = in.Bytes(8, "the body name");
        std::string tag = in.Bytes(4, "the tag after the name");
        if (tag == "IMGS") {
            body.hasImages = true;
            body.images.resize(in.Count(13, "image"));
            for (std::size_t i = 0; i < body.images.size(); ++i) {
                TRawImage& image = body.images[i];
                const std::string where = Record("image", i);
                if (!in.Line(image.path, image.nulTerminated)) {
                    throw TLayoutError("the file ends inside the path of " + where);
                }
                for (auto& channel : image.mask) {
                    channel = in.Byte(where + " mask");
                }
                image.flags = in.Byte(where + " flags");
                image.anchorX = in.Float(where + " anchor");
                image.anchorY = in.Float(where + " anchor");
            }
            tag = in.Bytes(4, "the tag after the images");
        }
        if (tag != "MASS") {
            throw TLayoutError("expected \"MASS\" where the masses belong");
        }
        body.masses.resize(in.Count(33, "mass"));
        for (std::size_t i = 0; i < body.masses.size(); ++i) {
            TRawMass& m = body.masses[i];
            const std::string where = Record("mass", i);
            m.name = in.Bytes(8, where);
            m.x = in.Float(where);
            m.y = in.Float(where);
            m.mass = in.Float(where);
            m.radius = in.Float(where);
            m.friction = in.Float(where);
            m.group = in.Int(where);
            m.fixed = in.Byte(where);
        }
        if (in.Bytes(4, "the tag after the masses") != "CONS") {
            throw TLayoutError("expected \"CONS\" after the masses");
        }
        body.constraints.resize(in.Count(20, "constraint"));
        for (std::size_t i = 0; i < body.constraints.size(); ++i) {
            TRawConstraint& c = body.constraints[i];
            const std::string where = Record("constraint", i);
            c.name = in.Bytes(8, where);
            c.massA = in.Int(where);
            c.massB = in.Int(where);
            c.stiffness = in.Float(where);
        }
        body.endTag = in.Bytes(4, "the tag after the constraints");
        if (body.endTag == "RIGS") {
            body.hasRigs = true;
            body.rigs.resize(in.Count(24, "rig"));
            for (std::size_t i = 0; i < body.rigs.size(); ++i) {
                TRawRig& r = body.rigs[i];
                const std::string where = Record("rig", i);
                r.name = in.Bytes(8, where);
                r.image = in.Int(where);
                r.mass = in.Int(where);
                r.constraint = in.Int(where);
                r.angle = in.Float(where);
            }
        }
        body.trailing = in.Rest();
    } catch (const TLayoutError& failure) {
        error = failure.what();
        return false;
    }
    return true;
}

namespace {

class TByteWriter {
public:
    std::vector<std::uint8_t> bytes;

    void Raw(const std::string& text) { bytes.insert(bytes.end(), text.begin(), text.end()); }
    void Word(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void Int(std::int32_t value) { Word(static_cast<std::uint32_t>(value)); }
    void Float(float value) { Word(std::bit_cast<std::uint32_t>(value)); }
    void Byte(std::uint8_t value) { bytes.push_back(value); }
    void Count(std::size_t count) { Int(static_cast<std::int32_t>(count)); }
};

} // namespace

std::vector<std::uint8_t> WriteBinary(const TRawBody& body) {
    TByteWriter out;
    out.Raw("BODY");
    out.Int(body.reserved);
    out.Raw(body.name);
    if (body.hasImages) {
        out.Raw("IMGS");
        out.Count(body.images.size());
        for (const TRawImage& image : body.images) {
            out.Raw(image.path);
            out.Byte(image.nulTerminated ? 0 : 10);
            for (const auto channel : image.mask) {
                out.Byte(channel);
            }
            out.Byte(image.flags);
            out.Float(image.anchorX);
            out.Float(image.anchorY);
        }
    }
    out.Raw("MASS");
    out.Count(body.masses.size());
    for (const TRawMass& m : body.masses) {
        out.Raw(m.name);
        out.Float(m.x);
        out.Float(m.y);
        out.Float(m.mass);
        out.Float(m.radius);
        out.Float(m.friction);
        out.Int(m.group);
        out.Byte(m.fixed);
    }
    out.Raw("CONS");
    out.Count(body.constraints.size());
    for (const TRawConstraint& c : body.constraints) {
        out.Raw(c.name);
        out.Int(c.massA);
        out.Int(c.massB);
        out.Float(c.stiffness);
    }
    if (body.hasRigs) {
        out.Raw("RIGS");
        out.Count(body.rigs.size());
        for (const TRawRig& r : body.rigs) {
            out.Raw(r.name);
            out.Int(r.image);
            out.Int(r.mass);
            out.Int(r.constraint);
            out.Float(r.angle);
        }
    } else {
        out.Raw(body.endTag);
    }
    out.Raw(body.trailing);
    return out.bytes;
}

} // namespace bodytool
