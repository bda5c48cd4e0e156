#include "build_body.h"
#include <kinetra/body_file.h>
#include <kinetra/body_records.h>

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

// The longest image path, PATH_MAX on Linux.
constexpr std::size_t kPathLimit = 4096;

// What one load may decode of its pictures, in bytes of RGBA: a few large
// pictures, or many small ones, but never what would exhaust memory.
constexpr std::uint64_t kPictureBudgetBytes = 256ull * 1024 * 1024;
constexpr std::uint64_t kBytesPerPixel = 4;

// The ranges that keep a body finite however long it is simulated. Positions
// and radii this far out already lose most of a float's precision; a larger
// position overflows the rest length, a larger radius the collision push. A
// weight of 0 (or below) divides by zero where two masses share a push; a
// negative friction adds speed at every touch; a stiffness above 1
// overshoots, and along a chain of constraints the overshoot grows without
// bound within one pass.
constexpr float kPositionLimit = 1.0e6f;
constexpr float kRadiusLimit = 1.0e6f;
constexpr float kStiffnessLimit = 1.0f;

// Counts leave room for the rest of the file, and no path is held beyond what
// a file system takes: a file is turned away as early as it can be.
constexpr TBodyReadRules kLoaderRules{kPathLimit, true};

struct TRejected {
    std::string reason;
};

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string Where(const TBodyPlace& place) {
    std::string where = "chunk " + QuoteBytes(place.chunk);
    if (place.record >= 0) {
        where += ", record " + std::to_string(place.record);
    }
    return where + ", field \"" + FieldName(place.field) + "\"";
}

// What is wrong with the layout, as the loaders say it.
std::string LayoutProblem(const TBodyLayoutError& error) {
    using TKind = TBodyLayoutError::TKind;
    switch (error.kind) {
    case TKind::NotABody:
        return "not a body file: the first tag is " + QuoteBytes(error.found);
    case TKind::WrongTag:
        return "expected " + QuoteBytes(error.expected) + ", found " + QuoteBytes(error.found);
    case TKind::EndsEarly:
        return "the file ends here";
    case TKind::Unreadable:
        return "the file cannot be read here";
    case TKind::NegativeCount:
        return std::to_string(error.count) + " is negative";
    case TKind::CountTooLarge:
        return std::to_string(error.count) + " needs at least " + std::to_string(error.needed) +
               " more bytes, the file has " + std::to_string(error.left);
    case TKind::PathTooLong:
        return "longer than " + std::to_string(kPathLimit) + " bytes";
    }
    return "does not follow the layout";
}

// Judges one record's fields in file order, naming the first that is wrong.
class TFieldCheck {
public:
    TFieldCheck(const char* chunk, std::size_t record) {
        place.chunk = chunk;
        place.record = static_cast<std::int64_t>(record);
    }

    [[noreturn]] void Fail(TBodyField field, const std::string& problem) {
        place.field = field;
        throw TRejected{Where(place) + ": " + problem};
    }

    float Finite(TBodyField field, float value) {
        if (!std::isfinite(value)) {
            Fail(field, "is not a finite number");
        }
        return value;
    }
    // A finite float from low to high.
    float Within(TBodyField field, float value, float low, float high) {
        if (Finite(field, value) < low || value > high) {
            Fail(field,
                 Number(value) + " is out of range (" + Number(low) + " to " + Number(high) + ")");
        }
        return value;
    }
    // A finite float above 0.
    float Positive(TBodyField field, float value) {
        if (!(Finite(field, value) > 0.0f)) {
            Fail(field, Number(value) + " is not greater than 0");
        }
        return value;
    }
    // An index into count records, or -1 when allowNone.
    std::int32_t Index(TBodyField field, std::int32_t index, std::size_t count, const char* kind,
                       bool allowNone = false) {
        if (allowNone && index == -1) {
            return index;
        }
        if (index < 0 || static_cast<std::size_t>(index) >= count) {
            Fail(field, "index " + std::to_string(index) + " is out of range (" +
                            std::to_string(count) + " " + kind + ")");
        }
        return index;
    }

private:
    TBodyPlace place;
};

std::uint64_t PictureBytes(int width, int height) {
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * kBytesPerPixel;
}

// Builds the template from the records as the reader reads them, judging each
// record as it comes and loading each picture, so that a file is turned away
// at its first fault, in the file's order.
class TTemplateCheck final : public TBodyRecordCheck {
public:
    TmpBodyRef body = std::make_shared<TTmpBody>();

    void Image(const TBodyRecords& records, std::size_t index) override;
    void Mass(const TBodyRecords& records, std::size_t index) override;
    void Constraint(const TBodyRecords& records, std::size_t index) override;
    void Rig(const TBodyRecords& records, std::size_t index) override;

private:
    void SpendPictureBudget(TFieldCheck& check, const std::string& path, int width, int height);

    std::vector<ImageRef> images;
    std::uint64_t pictureBytes = 0;
};

// Adds a picture to what the load has decoded so far, or rejects it when that
// would pass the budget.
void TTemplateCheck::SpendPictureBudget(TFieldCheck& check, const std::string& path, int width,
                                        int height) {
    const std::uint64_t bytes = PictureBytes(width, height);
    if (pictureBytes + bytes > kPictureBudgetBytes) {
        check.Fail(TBodyField::Path,
                   "image file " + QuoteBytes(path) + " (" + std::to_string(width) + " x " +
                       std::to_string(height) + ") would bring the decoded pictures to " +
                       std::to_string(pictureBytes + bytes) + " bytes, more than the " +
                       std::to_string(kPictureBudgetBytes >> 20) + " MB one body file may use");
    }
    pictureBytes += bytes;
}

void TTemplateCheck::Image(const TBodyRecords& records, std::size_t index) {
    const TImageRecord& record = records.images[index];
    TFieldCheck check("IMGS", index);
    check.Finite(TBodyField::AnchorX, record.anchorX);
    check.Finite(TBodyField::AnchorY, record.anchorY);
    std::string path = record.path;
    std::erase(path, '\r');
    // Only regular files and embedded pictures: a path naming a device or a
    // directory must not reach the image reader.
    const bool embedded = path.rfind("incbin::", 0) == 0;
    if (path.empty() || (!embedded && present::FileKind(path) != 1)) {
        check.Fail(TBodyField::Path,
                   "image file " + QuoteBytes(path) + " does not exist or is not a regular file");
    }
    // The size is judged from the picture's header before anything is
    // decoded, and again from what was decoded, in case the file changed.
    int width = 0;
    int height = 0;
    if (!present::PictureSize(path, width, height)) {
        check.Fail(TBodyField::Path, "image file " + QuoteBytes(path) + " cannot be loaded");
    }
    SpendPictureBudget(check, path, width, height);
    present::SetLoadMaskColour(record.mask[0], record.mask[1], record.mask[2]);
    auto image = present::LoadImageFile(path, static_cast<present::TImageFlags>(record.flags));
    if (!image) {
        check.Fail(TBodyField::Path, "image file " + QuoteBytes(path) + " cannot be loaded");
    }
    if (image->width != width || image->height != height) {
        pictureBytes -= PictureBytes(width, height);
        SpendPictureBudget(check, path, image->width, image->height);
    }
    present::SetImageAnchor(image, record.anchorX, record.anchorY);
    images.reserve(records.images.size()); // sized once, as the count was checked
    images.push_back(std::move(image));
}

void TTemplateCheck::Mass(const TBodyRecords& records, std::size_t index) {
    const TMassRecord& m = records.masses[index];
    TFieldCheck check("MASS", index);
    const float x = check.Within(TBodyField::X, m.x, -kPositionLimit, kPositionLimit);
    const float y = check.Within(TBodyField::Y, m.y, -kPositionLimit, kPositionLimit);
    const float mass = check.Positive(TBodyField::Weight, m.mass);
    const float radius = check.Within(TBodyField::Radius, m.radius, 0.0f, kRadiusLimit);
    const float friction =
        check.Within(TBodyField::Friction, m.friction, 0.0f, std::numeric_limits<float>::max());
    if (m.group >= static_cast<std::int64_t>(index)) {
        check.Fail(TBodyField::GroupCode,
                   "group code " + std::to_string(m.group) + " does not name an earlier mass");
    }
    auto record = TTmpMass::Create(x, y, mass, radius, friction, m.group);
    record->name = present::TrimText(m.name);
    record->fixed = m.fixed != 0 ? 1 : 0;
    body->masses.reserve(records.masses.size()); // sized once, as the count was checked
    body->masses.push_back(std::move(record));
}

void TTemplateCheck::Constraint(const TBodyRecords& records, std::size_t index) {
    const TConstraintRecord& c = records.constraints[index];
    TFieldCheck check("CONS", index);
    const std::size_t masses = records.masses.size();
    const std::int32_t a = check.Index(TBodyField::MassA, c.massA, masses, "masses");
    const std::int32_t b = check.Index(TBodyField::MassB, c.massB, masses, "masses");
    const float stiffness = check.Within(TBodyField::Stiffness, c.stiffness, 0.0f, kStiffnessLimit);
    auto record = TTmpCon::Create(a, b, stiffness);
    record->name = present::TrimText(c.name);
    body->constraints.reserve(records.constraints.size()); // sized once, as the count was checked
    body->constraints.push_back(std::move(record));
}

void TTemplateCheck::Rig(const TBodyRecords& records, std::size_t index) {
    const TRigRecord& r = records.rigs[index];
    TFieldCheck check("RIGS", index);
    const std::int32_t image = check.Index(TBodyField::Image, r.image, images.size(), "images");
    const std::int32_t mass =
        check.Index(TBodyField::Mass, r.mass, records.masses.size(), "masses");
    const std::int32_t constraint = check.Index(TBodyField::Constraint, r.constraint,
                                                records.constraints.size(), "constraints", true);
    const float angle = check.Finite(TBodyField::Angle, r.angle);
    auto record = TTmpRig::Create(images[static_cast<std::size_t>(image)], mass, constraint, angle);
    record->name = present::TrimText(r.name);
    body->rigs.reserve(records.rigs.size()); // sized once, as the count was checked
    body->rigs.push_back(std::move(record));
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
    TBodyRecords records;
    TTemplateCheck check;
    try {
        ReadBodyRecords(*stream, records, kLoaderRules, &check);
        check.body->name = present::TrimText(records.name);
        result.body = check.body;
    } catch (const TRejected& rejected) {
        result.error = rejected.reason;
    } catch (const TBodyLayoutError& error) {
        result.error = Where(error.place) + ": " + LayoutProblem(error);
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
