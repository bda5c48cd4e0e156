#include <kinetra/body_records.h>

#include <present/present.h>
#include <present/stream.h>

#include <cstdio>
#include <cstring>
#include <iterator>

namespace kinetra {

namespace {

// Smallest size of each record: a name is 8 bytes, the fields 4 bytes each
// but the mass's fixed flag (1 byte); an image path is at least its
// terminator, then the mask, flags and anchor.
constexpr std::int64_t kImageRecordMin = 1 + 3 + 1 + 4 + 4;
constexpr std::int64_t kMassRecordSize = 8 + 4 * 5 + 4 + 1;
constexpr std::int64_t kConstraintRecordSize = 8 + 4 + 4 + 4;
constexpr std::int64_t kRigRecordSize = 8 + 4 + 4 + 4 + 4;
constexpr std::int64_t kTagSize = 4;
constexpr std::int64_t kCountSize = 4;
constexpr std::size_t kNameSize = 8;

using TKind = TBodyLayoutError::TKind;

// Reads fields while remembering where it is, so that a failure can say which
// chunk, record and field it was in.
class TLayoutReader {
public:
    TLayoutReader(present::TStream& source, const TBodyReadRules& readRules)
        : stream(source), rules(readRules) {}

    void Chunk(const std::string& tag) {
        place.chunk = tag;
        place.record = -1;
    }
    void Record(std::int64_t index) { place.record = index; }
    void Field(TBodyField field) { place.field = field; }

    std::string Chars(TBodyField field, std::size_t count) {
        Field(field);
        return Guarded([&] { return present::ReadChars(stream, static_cast<int>(count)); });
    }
    std::int32_t Int(TBodyField field) {
        Field(field);
        return Guarded([&] { return present::ReadI32(stream); });
    }
    float Float(TBodyField field) {
        Field(field);
        return Guarded([&] { return present::ReadF32(stream); });
    }
    std::uint8_t Byte(TBodyField field) {
        Field(field);
        return static_cast<std::uint8_t>(Guarded([&] { return present::ReadU8(stream); }));
    }

    // A line's bytes up to its terminator (a line feed or a NUL), carriage
    // returns included; the file must not end first.
    std::string Line(TBodyField field, bool& nulTerminated) {
        Field(field);
        std::string line;
        for (;;) {
            const int byte = Guarded([&] { return present::ReadU8(stream); });
            if (byte == 0 || byte == '\n') {
                nulTerminated = byte == 0;
                return line;
            }
            line.push_back(static_cast<char>(byte));
            if (line.size() > rules.longestPath) {
                Fail(TKind::PathTooLong);
            }
        }
    }

    // A count of records of at least recordSize bytes each, followed by at
    // least after bytes of the file; checked before anything is allocated.
    std::size_t Count(std::int64_t recordSize, std::int64_t after) {
        const std::int32_t count = Int(TBodyField::Count);
        if (count < 0) {
            Fail(TKind::NegativeCount, count);
        }
        const std::int64_t needed = count * recordSize + (rules.roomForTheRest ? after : 0);
        const auto left = static_cast<std::int64_t>(stream.Remaining());
        if (needed > left) {
            TBodyLayoutError error = Error(TKind::CountTooLarge, count);
            error.needed = needed;
            error.left = left;
            throw error;
        }
        return static_cast<std::size_t>(count);
    }

    // A tag read at the current place that is not the one the layout needs.
    [[noreturn]] void WrongTag(TKind kind, const std::string& expected, const std::string& found) {
        TBodyLayoutError error = Error(kind);
        error.expected = expected;
        error.found = found;
        throw error;
    }

    [[noreturn]] void Fail(TKind kind, std::int64_t count = 0) const { throw Error(kind, count); }

private:
    TBodyLayoutError Error(TKind kind, std::int64_t count = 0) const {
        TBodyLayoutError error;
        error.kind = kind;
        error.place = place;
        error.count = count;
        return error;
    }

    // A read of the stream, with its failure at the end of the file (or of
    // the file system) told as a layout error at the current place.
    template <typename TRead> auto Guarded(TRead read) -> decltype(read()) {
        try {
            return read();
        } catch (const present::TReadError&) {
            Fail(stream.Failed() ? TKind::Unreadable : TKind::EndsEarly);
        }
    }

    present::TStream& stream;
    const TBodyReadRules& rules;
    TBodyPlace place;
};

void ReadImages(TLayoutReader& in, TBodyRecords& body, TBodyRecordCheck* check) {
    in.Chunk("IMGS");
    // After the images: "MASS", its count, "CONS", its count and one tag.
    body.images.resize(in.Count(kImageRecordMin, 3 * kTagSize + 2 * kCountSize));
    for (std::size_t i = 0; i < body.images.size(); ++i) {
        in.Record(static_cast<std::int64_t>(i));
        TImageRecord& image = body.images[i];
        image.path = in.Line(TBodyField::Path, image.nulTerminated);
        image.mask[0] = in.Byte(TBodyField::MaskRed);
        image.mask[1] = in.Byte(TBodyField::MaskGreen);
        image.mask[2] = in.Byte(TBodyField::MaskBlue);
        image.flags = in.Byte(TBodyField::Flags);
        image.anchorX = in.Float(TBodyField::AnchorX);
        image.anchorY = in.Float(TBodyField::AnchorY);
        if (check)
            check->Image(body, i);
    }
    in.Chunk("IMGS");
}

void ReadMasses(TLayoutReader& in, TBodyRecords& body, TBodyRecordCheck* check) {
    in.Chunk("MASS");
    // After the masses: "CONS", its count and one tag.
    body.masses.resize(in.Count(kMassRecordSize, 2 * kTagSize + kCountSize));
    for (std::size_t i = 0; i < body.masses.size(); ++i) {
        in.Record(static_cast<std::int64_t>(i));
        TMassRecord& m = body.masses[i];
        m.name = in.Chars(TBodyField::Name, kNameSize);
        m.x = in.Float(TBodyField::X);
        m.y = in.Float(TBodyField::Y);
        m.mass = in.Float(TBodyField::Weight);
        m.radius = in.Float(TBodyField::Radius);
        m.friction = in.Float(TBodyField::Friction);
        m.group = in.Int(TBodyField::GroupCode);
        m.fixed = in.Byte(TBodyField::Fixed);
        if (check)
            check->Mass(body, i);
    }
    in.Chunk("MASS");
}

void ReadConstraints(TLayoutReader& in, TBodyRecords& body, TBodyRecordCheck* check) {
    in.Chunk("CONS");
    body.constraints.resize(in.Count(kConstraintRecordSize, kTagSize));
    for (std::size_t i = 0; i < body.constraints.size(); ++i) {
        in.Record(static_cast<std::int64_t>(i));
        TConstraintRecord& c = body.constraints[i];
        c.name = in.Chars(TBodyField::Name, kNameSize);
        c.massA = in.Int(TBodyField::MassA);
        c.massB = in.Int(TBodyField::MassB);
        c.stiffness = in.Float(TBodyField::Stiffness);
        if (check)
            check->Constraint(body, i);
    }
    in.Chunk("CONS");
}

void ReadRigs(TLayoutReader& in, TBodyRecords& body, TBodyRecordCheck* check) {
    in.Chunk("RIGS");
    body.rigs.resize(in.Count(kRigRecordSize, 0));
    for (std::size_t i = 0; i < body.rigs.size(); ++i) {
        in.Record(static_cast<std::int64_t>(i));
        TRigRecord& r = body.rigs[i];
        r.name = in.Chars(TBodyField::Name, kNameSize);
        r.image = in.Int(TBodyField::Image);
        r.mass = in.Int(TBodyField::Mass);
        r.constraint = in.Int(TBodyField::Constraint);
        r.angle = in.Float(TBodyField::Angle);
        if (check)
            check->Rig(body, i);
    }
}

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
    void Float(float value) {
        // memcpy, not std::bit_cast: the browser build's library has no bit_cast.
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        Word(bits);
    }
    void Byte(std::uint8_t value) { bytes.push_back(value); }
    void Count(std::size_t count) { Int(static_cast<std::int32_t>(count)); }
};

void WriteImages(TByteWriter& out, const std::vector<TImageRecord>& images) {
    out.Raw("IMGS");
    out.Count(images.size());
    for (const TImageRecord& image : images) {
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

void WriteMasses(TByteWriter& out, const std::vector<TMassRecord>& masses) {
    out.Raw("MASS");
    out.Count(masses.size());
    for (const TMassRecord& m : masses) {
        out.Raw(m.name);
        out.Float(m.x);
        out.Float(m.y);
        out.Float(m.mass);
        out.Float(m.radius);
        out.Float(m.friction);
        out.Int(m.group);
        out.Byte(m.fixed);
    }
}

void WriteConstraints(TByteWriter& out, const std::vector<TConstraintRecord>& constraints) {
    out.Raw("CONS");
    out.Count(constraints.size());
    for (const TConstraintRecord& c : constraints) {
        out.Raw(c.name);
        out.Int(c.massA);
        out.Int(c.massB);
        out.Float(c.stiffness);
    }
}

void WriteRigs(TByteWriter& out, const std::vector<TRigRecord>& rigs) {
    out.Raw("RIGS");
    out.Count(rigs.size());
    for (const TRigRecord& r : rigs) {
        out.Raw(r.name);
        out.Int(r.image);
        out.Int(r.mass);
        out.Int(r.constraint);
        out.Float(r.angle);
    }
}

} // namespace

const char* FieldName(TBodyField field) {
    static constexpr const char* kNames[] = {
        "tag",    "reserved", "name",       "tag",       "count",    "next tag",   "name",
        "path",   "mask red", "mask green", "mask blue", "flags",    "anchor x",   "anchor y",
        "x",      "y",        "mass",       "radius",    "friction", "group code", "fixed",
        "mass A", "mass B",   "stiffness",  "image",     "mass",     "constraint", "angle"};
    static_assert(std::size(kNames) == static_cast<std::size_t>(TBodyField::Angle) + 1);
    const auto index = static_cast<std::size_t>(field);
    return index < std::size(kNames) ? kNames[index] : "";
}

void ReadBodyRecords(present::TStream& stream, TBodyRecords& records, const TBodyReadRules& rules,
                     TBodyRecordCheck* check) {
    records = TBodyRecords{};
    TLayoutReader in(stream, rules);
    const std::string first = in.Chars(TBodyField::FirstTag, kTagSize);
    if (first != "BODY") {
        in.WrongTag(TKind::NotABody, "BODY", first);
    }
    records.reserved = in.Int(TBodyField::Reserved);
    records.name = in.Chars(TBodyField::BodyName, kNameSize);
    std::string tag = in.Chars(TBodyField::ChunkTag, kTagSize);
    if (tag == "IMGS") {
        records.hasImages = true;
        ReadImages(in, records, check);
        tag = in.Chars(TBodyField::NextTag, kTagSize);
    }
    if (tag != "MASS") {
        in.WrongTag(TKind::WrongTag, "MASS", tag);
    }
    ReadMasses(in, records, check);
    tag = in.Chars(TBodyField::NextTag, kTagSize);
    if (tag != "CONS") {
        in.WrongTag(TKind::WrongTag, "CONS", tag);
    }
    ReadConstraints(in, records, check);
    records.endTag = in.Chars(TBodyField::NextTag, kTagSize);
    if (records.endTag == "RIGS") {
        records.hasRigs = true;
        records.endTag.clear();
        ReadRigs(in, records, check);
    }
}

std::vector<std::uint8_t> WriteBodyRecords(const TBodyRecords& records) {
    TByteWriter out;
    out.Raw("BODY");
    out.Int(records.reserved);
    out.Raw(records.name);
    if (records.hasImages) {
        WriteImages(out, records.images);
    }
    WriteMasses(out, records.masses);
    WriteConstraints(out, records.constraints);
    if (records.hasRigs) {
        WriteRigs(out, records.rigs);
    } else {
        out.Raw(records.endTag);
    }
    out.Raw(records.trailing);
    return out.bytes;
}

std::string QuoteBytes(const std::string& bytes) {
    std::string out = "\"";
    for (const char ch : bytes) {
        const auto code = static_cast<unsigned char>(ch);
        switch (ch) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\0':
            out += "\\0";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (code >= 32 && code < 127) {
                out += ch;
            } else {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\x%02x", code);
                out += escaped;
            }
        }
    }
    return out + "\"";
}

} // namespace kinetra
