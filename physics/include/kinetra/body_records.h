// A body file's records as its bytes give them, and the one reader and writer
// of its layout.
//
// The records keep everything the loader ignores or trims (the padding of
// names, the reserved word, carriage returns in paths, a path's terminator,
// the closing tag, the raw bits of every float), so that WriteBodyRecords gives
// back the bytes ReadBodyRecords read. The reader checks the layout only (tags,
// counts, lengths); what the values mean is judged by whoever reads the records:
// the loaders (body_file.h) reject what cannot be simulated, while a tool can
// show and repair a file with bad indices.
//
// The layout is little-endian and read in order from the first byte:
// "BODY", int32 reserved, 8-byte name, optional "IMGS" with a count and image
// records, "MASS" with a count and 33-byte mass records, "CONS" with a count
// and 20-byte constraint records, then either "RIGS" with a count and 24-byte
// rig records or any other 4 bytes, which end the body. See README.md.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace present {
class TStream;
}

namespace kinetra {

/// An image record: a picture the body's rigs draw.
struct TImageRecord {
    /// The picture's path as read: every byte of the line up to its terminator,
    /// carriage returns included. Relative to the body file's directory, or
    /// "incbin::NAME" for an embedded picture.
    std::string path;
    /// True when the path ended with a NUL byte, false for a line feed.
    bool nulTerminated = false;
    /// Red, green and blue of the colour made transparent when flags has 1.
    std::array<std::uint8_t, 3> mask{};
    /// 1 masked, 2 filtered, 4 mip-mapped, combined by adding; other bits kept.
    std::uint8_t flags = 0;
    /// The pivot in the picture's pixels, drawn on the rig's mass.
    float anchorX = 0;
    /// The pivot's y, downwards.
    float anchorY = 0;
};

/// A mass record: one point mass of the body, at rest where it starts.
struct TMassRecord {
    std::string name; ///< The 8 bytes of the name field, padding included.
    float x = 0;      ///< Position in pixels, right.
    float y = 0;      ///< Position in pixels, down.
    float mass = 0;   ///< Weight; only ratios matter.
    float radius = 0; ///< Collision radius in pixels.
    float friction = 0; ///< Friction coefficient.
    /// Below 0 the collision group plus one (-1 no group, -2 an automatic
    /// group); 0 or more, the group of that earlier mass record.
    std::int32_t group = 0;
    std::uint8_t fixed = 0; ///< Non-zero pins the mass.
};

/// A constraint record: a distance constraint whose rest length is the
/// distance between its masses as loaded.
struct TConstraintRecord {
    std::string name;        ///< The 8 bytes of the name field.
    std::int32_t massA = 0;  ///< Index of a mass record, from 0.
    std::int32_t massB = 0;  ///< Index of the other mass record.
    float stiffness = 0;     ///< Fraction of the error corrected per pass, 0 to 1.
};

/// A rig record: a picture pinned to a mass, turned with a constraint.
struct TRigRecord {
    std::string name;            ///< The 8 bytes of the name field.
    std::int32_t image = 0;      ///< Index of an image record.
    std::int32_t mass = 0;       ///< Index of the mass record the anchor is drawn on.
    std::int32_t constraint = -1; ///< Index of a constraint record, or -1 for none.
    float angle = 0;             ///< Degrees, clockwise, added to the constraint's direction.
};

/// A whole body file, record by record.
struct TBodyRecords {
    std::int32_t reserved = 0; ///< The word after "BODY", ignored by the loaders.
    std::string name;          ///< The 8 bytes of the body's name field.
    bool hasImages = false;    ///< Whether the file has an "IMGS" chunk (it may be empty).
    std::vector<TImageRecord> images;           ///< In file order.
    std::vector<TMassRecord> masses;            ///< In file order.
    std::vector<TConstraintRecord> constraints; ///< In file order.
    /// Whether the file has a "RIGS" chunk; without one, endTag holds the 4
    /// bytes that end the body.
    bool hasRigs = false;
    std::string endTag;          ///< The 4 bytes after the constraints when hasRigs is false.
    std::vector<TRigRecord> rigs; ///< In file order.
    /// Bytes after the last item, ignored by the loaders. ReadBodyRecords leaves
    /// them in the stream; WriteBodyRecords writes them last.
    std::string trailing;
};

/// Every field of the layout, so that a failure can say where it happened.
enum class TBodyField {
    FirstTag,    ///< "BODY"
    Reserved,    ///< The word after it.
    BodyName,    ///< The body's name.
    ChunkTag,    ///< The tag after the name: "IMGS" or "MASS".
    Count,       ///< A chunk's record count.
    NextTag,     ///< The tag after a chunk's records.
    Name,        ///< A record's name.
    Path,        ///< An image's path line.
    MaskRed,     ///< An image's mask colour, red.
    MaskGreen,   ///< Green.
    MaskBlue,    ///< Blue.
    Flags,       ///< An image's flags.
    AnchorX,     ///< An image's anchor, x.
    AnchorY,     ///< y.
    X,           ///< A mass's x.
    Y,           ///< A mass's y.
    Weight,      ///< A mass's weight.
    Radius,      ///< A mass's radius.
    Friction,    ///< A mass's friction.
    GroupCode,   ///< A mass's group code.
    Fixed,       ///< A mass's fixed flag.
    MassA,       ///< A constraint's first mass.
    MassB,       ///< A constraint's second mass.
    Stiffness,   ///< A constraint's stiffness.
    Image,       ///< A rig's image.
    Mass,        ///< A rig's mass.
    Constraint,  ///< A rig's constraint.
    Angle,       ///< A rig's angle.
};

/// The field's name in the loaders' messages, e.g. "mass B"; never null.
const char* FieldName(TBodyField field);

/// Where in a body file a field is.
struct TBodyPlace {
    std::string chunk = "BODY"; ///< The chunk's tag: "BODY", "IMGS", "MASS", "CONS" or "RIGS".
    std::int64_t record = -1;   ///< The record's index from 0, or -1 outside the records.
    TBodyField field = TBodyField::FirstTag; ///< The field.
};

/// Why ReadBodyRecords turned a file away, thrown by it.
struct TBodyLayoutError {
    enum class TKind {
        NotABody,      ///< The first tag is not "BODY" (expected, found).
        WrongTag,      ///< A chunk tag is not the one the layout needs (expected, found).
        EndsEarly,     ///< The file ends inside the field at place.
        Unreadable,    ///< The file fails to read at place.
        NegativeCount, ///< A count below 0 (count).
        CountTooLarge, ///< A count needing more bytes (needed) than are left (left).
        PathTooLong,   ///< An image path longer than TBodyReadRules::longestPath.
    };
    TKind kind = TKind::EndsEarly; ///< What is wrong.
    TBodyPlace place;              ///< Where.
    std::string expected;          ///< The tag the layout needs (WrongTag).
    std::string found;             ///< The 4 bytes found instead (NotABody, WrongTag).
    std::int64_t count = 0;        ///< The count read (NegativeCount, CountTooLarge).
    std::int64_t needed = 0;       ///< Bytes the count needs (CountTooLarge).
    std::int64_t left = 0;         ///< Bytes left in the file (CountTooLarge).
};

/// How strictly ReadBodyRecords reads.
struct TBodyReadRules {
    /// The longest image path accepted, in bytes; a longer one is turned away
    /// as soon as it passes this, without reading the rest of its line.
    std::size_t longestPath = std::numeric_limits<std::size_t>::max();
    /// When true, a count must leave room for the smallest rest of the file
    /// after its records (the tags and counts that must follow); when false,
    /// only for the records themselves. Either way no record is set aside
    /// before its count has been checked against the bytes left.
    bool roomForTheRest = false;
};

/// Called by ReadBodyRecords as each record has been read, in file order, so
/// that a reader can judge records as they come; whatever it throws ends the
/// read and passes through ReadBodyRecords unchanged.
class TBodyRecordCheck {
public:
    /// records.images[index] has just been read.
    virtual void Image(const TBodyRecords& records, std::size_t index) = 0;
    /// records.masses[index] has just been read.
    virtual void Mass(const TBodyRecords& records, std::size_t index) = 0;
    /// records.constraints[index] has just been read.
    virtual void Constraint(const TBodyRecords& records, std::size_t index) = 0;
    /// records.rigs[index] has just been read.
    virtual void Rig(const TBodyRecords& records, std::size_t index) = 0;

protected:
    ~TBodyRecordCheck() = default;
};

/// Reads one body from the stream's current position into records (replacing
/// what they held), stopping after its last item: the rig records, or the 4
/// bytes that end a body without rigs. Each vector of records is sized from its
/// count once the count has been checked against the bytes left, so a hostile
/// count allocates nothing. Throws TBodyLayoutError where the bytes break the
/// layout; check (when given) is called after each record.
void ReadBodyRecords(present::TStream& stream, TBodyRecords& records,
                     const TBodyReadRules& rules = {}, TBodyRecordCheck* check = nullptr);

/// The bytes of a body file holding records, trailing bytes last. Counts are
/// the vectors' sizes; names, tags and paths are written as they are held, so
/// a name or tag not of its field's size makes a file the reader turns away.
std::vector<std::uint8_t> WriteBodyRecords(const TBodyRecords& records);

/// Bytes in double quotes for a message or a text file: printable ASCII as it
/// is, the quote and backslash as \" and \\, NUL, carriage return and tab as
/// \0, \r and \t, any other byte as \xHH. Safe to print on any terminal.
std::string QuoteBytes(const std::string& bytes);

} // namespace kinetra
