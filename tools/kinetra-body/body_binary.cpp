#include "body_binary.h"

#include <present/stream.h>

namespace bodytool {

namespace {

using kinetra::TBodyField;
using kinetra::TBodyLayoutError;
using kinetra::TBodyPlace;

// The kind of record a chunk holds, as its messages name it.
std::string RecordKind(const std::string& chunk) {
    if (chunk == "IMGS") return "image";
    if (chunk == "MASS") return "mass";
    if (chunk == "CONS") return "constraint";
    return "rig";
}

// The tag after a chunk's records, as the messages name it.
std::string TagAfter(const std::string& chunk) {
    if (chunk == "IMGS") return "the tag after the images";
    if (chunk == "MASS") return "the tag after the masses";
    return "the tag after the constraints";
}

// What the file ends inside of, e.g. "the body name" or "image 2 mask".
std::string Inside(const TBodyPlace& place) {
    const std::string record = RecordKind(place.chunk) + " " + std::to_string(place.record);
    switch (place.field) {
    case TBodyField::FirstTag:
        return "the first tag";
    case TBodyField::Reserved:
        return "the reserved word";
    case TBodyField::BodyName:
        return "the body name";
    case TBodyField::ChunkTag:
        return "the tag after the name";
    case TBodyField::NextTag:
        return TagAfter(place.chunk);
    case TBodyField::Count:
        return RecordKind(place.chunk) + " count";
    case TBodyField::Path:
        return "the path of " + record;
    case TBodyField::MaskRed:
    case TBodyField::MaskGreen:
    case TBodyField::MaskBlue:
        return record + " mask";
    case TBodyField::Flags:
        return record + " flags";
    case TBodyField::AnchorX:
    case TBodyField::AnchorY:
        return record + " anchor";
    default:
        return record;
    }
}

std::string Message(const TBodyLayoutError& error) {
    using TKind = TBodyLayoutError::TKind;
    const std::string count = RecordKind(error.place.chunk) + " count " + std::to_string(error.count);
    switch (error.kind) {
    case TKind::NotABody:
        return "not a body file: it does not start with \"BODY\"";
    case TKind::WrongTag:
        return error.expected == "MASS" ? "expected \"MASS\" where the masses belong"
                                        : "expected \"CONS\" after the masses";
    case TKind::NegativeCount:
        return count + " is negative";
    case TKind::CountTooLarge:
        return count + " is more than the rest of the file can hold";
    default:
        return "the file ends inside " + Inside(error.place);
    }
}

} // namespace

bool ParseBinary(const std::vector<std::uint8_t>& bytes, kinetra::TBodyRecords& body,
                 std::string& error) {
    present::TStream stream(bytes.data(), bytes.size());
    try {
        kinetra::ReadBodyRecords(stream, body);
    } catch (const TBodyLayoutError& failure) {
        error = Message(failure);
        return false;
    }
    body.trailing.assign(bytes.end() - static_cast<long>(stream.Remaining()), bytes.end());
    return true;
}

} // namespace bodytool
