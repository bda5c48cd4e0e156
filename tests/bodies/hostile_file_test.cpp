// Malformed body files: every one is rejected cleanly and leaves the world's
// lists and the automatic group counter exactly as they were.
#include "body_bytes.h"
#include <kinetra/body_file.h>
#include <kinetra/kinetra.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>

#include <sys/stat.h>

namespace {

using namespace kinetra;
using bodytest::TBytes;

struct TWorldState {
    std::vector<MassRef> masses;
    std::vector<ConstraintRef> constraints;
    std::vector<ZoneRef> zones;
    std::int32_t autoGroup = 0;
    std::vector<std::int32_t> useCounts;

    static TWorldState Take() {
        TWorldState state{
            massList->ToArray(), constraintList->ToArray(), zoneList->ToArray(), nextAutoGroup, {}};
        for (const auto& m : state.masses) {
            state.useCounts.push_back(m->useCount);
        }
        for (const auto& c : state.constraints) {
            state.useCounts.push_back(c->useCount);
        }
        return state;
    }
    bool operator==(const TWorldState&) const = default;
};

class HostileFileTest : public testing::Test {
protected:
    void SetUp() override {
        CreatePhysics(2048, 1024, 0.1f, 0, 2);
        // Something already in the world that a bad load must not disturb.
        resident = std::make_shared<TAdvBody>();
        resident->masses = {TMass::Create(1, 1, 1, 2, 0, -1), TMass::Create(9, 1, 1, 2, 0, -1)};
        resident->constraints = {
            TConstraint::Create(resident->masses[0], resident->masses[1], 0, 1)};
        resident->constraints[0]->AddToBody(*resident);
        zone = TZone::Create(std::make_shared<std::vector<float>>(std::vector<float>{0, 0, 50, 0}),
                             TZoneKind::Open, 0.5f, 10, 2);
        scratch.WritePicture("pic.png");
        // Only the signature and header of a 16384 x 16384 picture.
        scratch.Write("huge.png",
                      {0x89, 'P', 'N', 'G',  '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D',
                       'R',  0,   0,   0x40, 0,    0,    0,    0x40, 0, 8, 6, 0,  0,   0});
    }
    void TearDown() override {
        resident.reset();
        zone.reset();
        DestroyPhysics();
    }

    // Loads bytes with both loaders; a rejected file must leave the world as
    // it was, an accepted one must leave it so once the body is dropped.
    // Returns the direct loader's reason for a rejection.
    std::string Check(const std::vector<std::uint8_t>& bytes, bool expectLoad) {
        const std::string path = scratch.Write("case.bdy", bytes);
        const TWorldState before = TWorldState::Take();
        std::string error;
        bool loaded = false;
        {
            auto body = LoadBodyFile(path, &error);
            loaded = static_cast<bool>(body);
            if (!body) {
                EXPECT_TRUE(TWorldState::Take() == before) << error;
                EXPECT_FALSE(error.empty());
            }
        }
        {
            auto holder = TAdvBody::LoadTemplate(path);
            EXPECT_EQ(static_cast<bool>(holder), loaded);
            if (holder && holder->bodyTemplate) {
                EXPECT_TRUE(CheckTemplate(*holder->bodyTemplate).empty());
                auto built = TAdvBody::CreateFromTemplate(holder->bodyTemplate);
                EXPECT_TRUE(built);
            }
        }
        if (expectLoad) {
            EXPECT_TRUE(loaded) << error;
        }
        auto after = TWorldState::Take();
        after.autoGroup = before.autoGroup; // successful loads may take groups
        EXPECT_TRUE(after == before);
        return error;
    }

    AdvBodyRef resident;
    ZoneRef zone;
    bodytest::TScratchDir scratch;
};

TBytes Valid() {
    TBytes b;
    b.Tag("BODY").I32(0).Name("box");
    b.Tag("IMGS").I32(1).Image("pic.png", 3, 2, 1);
    b.Tag("MASS").I32(3).Mass("p", 0, 0, -2).Mass("q", 10, 10, 0).Mass("r", 0, 10, -1, 1);
    b.Tag("CONS").I32(2).Constraint("pq", 0, 1, 1).Constraint("qr", 1, 2, 0.5f);
    b.Tag("RIGS").I32(1).Rig("skin", 0, 0, 0, -45);
    return b;
}

TEST_F(HostileFileTest, TruncatedAtEveryByteIsRejectedAndFlippedBytesNeverHurt) {
    const auto valid = Valid().data;
    Check(valid, true);
    for (std::size_t size = 0; size < valid.size(); ++size) {
        std::vector<std::uint8_t> cut(valid.begin(), valid.begin() + static_cast<long>(size));
        EXPECT_FALSE(Check(cut, false).empty()) << "truncated to " << size;
    }
    for (std::size_t at = 0; at < valid.size(); ++at) {
        for (const int mask : {0xff, 0x01, 0x80}) {
            auto flipped = valid;
            flipped[at] ^= static_cast<std::uint8_t>(mask);
            Check(flipped, false);
        }
    }
}

struct TCase {
    const char* what;
    std::function<void(TBytes&)> build;
    const char* reason;
};

// The start of a body file up to its masses; count is written as given but
// at most records records follow it.
TBytes Header(std::int32_t count, int records = 2) {
    TBytes b;
    b.Tag("BODY").I32(0).Name("x").Tag("MASS").I32(count);
    for (int i = 0; i < std::min(count, records); ++i) {
        b.Mass("m", static_cast<float>(i), 0, -2);
    }
    return b;
}

TEST_F(HostileFileTest, EachMalformedFileIsRejectedWithItsPlace) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const TCase cases[] = {
        {"wrong first tag", [](TBytes& b) { b.Tag("body").I32(0).Name("x"); },
         "chunk \"BODY\", field \"tag\": not a body file: the first tag is \"body\""},
        {"wrong mass tag", [](TBytes& b) { b.Tag("BODY").I32(0).Name("x").Tag("MAS\x01").I32(0); },
         "expected \"MASS\", found \"MAS\\x01\""},
        {"wrong constraint tag",
         [](TBytes& b) {
             b = Header(1);
             b.Tag("CONZ").I32(0).Tag("RIGS").I32(0);
         },
         "chunk \"MASS\", field \"next tag\": expected \"CONS\", found \"CONZ\""},
        {"negative mass count", [](TBytes& b) { b = Header(-1); },
         "chunk \"MASS\", field \"count\": -1 is negative"},
        {"2 GB mass count in a small file", [](TBytes& b) { b = Header(0x7fffffff); },
         "chunk \"MASS\", field \"count\": 2147483647 needs at least"},
        {"huge image count",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("IMGS").I32(0x40000000);
             b.Tag("MASS").I32(0).Tag("CONS").I32(0).Tag("EOF.");
         },
         "chunk \"IMGS\", field \"count\": 1073741824 needs"},
        {"huge constraint count",
         [](TBytes& b) {
             b = Header(2);
             b.Tag("CONS").I32(100000000).Tag("EOF.");
         },
         "chunk \"CONS\", field \"count\": 100000000 needs"},
        {"negative rig count",
         [](TBytes& b) {
             b = Header(2);
             b.Tag("CONS").I32(0).Tag("RIGS").I32(-5);
         },
         "chunk \"RIGS\", field \"count\": -5 is negative"},
        {"group code naming the record itself",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("MASS").I32(2).Mass("a", 0, 0, -2);
             b.Mass("b", 0, 0, 1).Tag("CONS").I32(0).Tag("EOF.");
         },
         "chunk \"MASS\", record 1, field \"group code\": group code 1 does not name an earlier "
         "mass"},
        {"group code naming a later record",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("MASS").I32(2).Mass("a", 0, 0, 1);
             b.Mass("b", 0, 0, -2).Tag("CONS").I32(0).Tag("EOF.");
         },
         "record 0, field \"group code\""},
        {"constraint mass out of range",
         [](TBytes& b) {
             b = Header(2);
             b.Tag("CONS").I32(1).Constraint("c", 0, 2, 1).Tag("EOF.");
         },
         "chunk \"CONS\", record 0, field \"mass B\": index 2 is out of range (2 masses)"},
        {"constraint mass negative",
         [](TBytes& b) {
             b = Header(2);
             b.Tag("CONS").I32(1).Constraint("c", -1, 1, 1).Tag("EOF.");
         },
         "field \"mass A\": index -1 is out of range"},
        {"rig image out of range",
         [](TBytes& b) {
             b = Header(2);
             b.Tag("CONS").I32(1).Constraint("c", 0, 1, 1).Tag("RIGS").I32(1).Rig("r", 0, 0, -1, 0);
         },
         "chunk \"RIGS\", record 0, field \"image\": index 0 is out of range (0 images)"},
        {"rig constraint out of range",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("IMGS").I32(1).Image("pic.png", 3, 0, 0);
             b.Tag("MASS").I32(1).Mass("m", 0, 0, -2).Tag("CONS").I32(0);
             b.Tag("RIGS").I32(1).Rig("r", 0, 0, 0, 0);
         },
         "field \"constraint\": index 0 is out of range (0 constraints)"},
        {"rig mass out of range",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("IMGS").I32(1).Image("pic.png", 3, 0, 0);
             b.Tag("MASS").I32(1).Mass("m", 0, 0, -2).Tag("CONS").I32(0);
             b.Tag("RIGS").I32(1).Rig("r", 0, 1, -1, 0);
         },
         "field \"mass\": index 1 is out of range (1 masses)"},
        {"missing image",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("IMGS").I32(1).Image("gone.png", 3, 0, 0);
             b.Tag("MASS").I32(0).Tag("CONS").I32(0).Tag("EOF.");
         },
         "\"gone.png\" does not exist or is not a regular file"},
        {"image that is not a picture",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("IMGS").I32(1).Image("case.bdy", 3, 0, 0);
             b.Tag("MASS").I32(0).Tag("CONS").I32(0).Tag("EOF.");
         },
         "\"case.bdy\" cannot be loaded"},
        {"image path naming a directory",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("IMGS").I32(1).Image(".", 3, 0, 0);
             b.Tag("MASS").I32(0).Tag("CONS").I32(0).Tag("EOF.");
         },
         "is not a regular file"},
        {"image file whose read fails",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("IMGS").I32(1).Image("/proc/self/mem", 3, 0, 0);
             b.Tag("MASS").I32(0).Tag("CONS").I32(0).Tag("EOF.");
         },
         "\"/proc/self/mem\" cannot be loaded"},
        {"not-a-number position",
         [&](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("MASS").I32(1).Mass("m", nan, 0, -2);
             b.Tag("CONS").I32(0).Tag("EOF.");
         },
         "record 0, field \"x\": is not a finite number"},
        {"position whose rest length overflows",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("MASS").I32(2).Mass("a", 3e38f, 0, -2);
             b.Mass("b", -3e38f, 0, -2).Tag("CONS").I32(1).Constraint("c", 0, 1, 1).Tag("EOF.");
         },
         "record 0, field \"x\": 3e+38 is out of range (-1e+06 to 1e+06)"},
        {"weightless masses",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("MASS").I32(1).Mass("m", 0, 0, -2, 0, 0.0f);
             b.Tag("CONS").I32(0).Tag("EOF.");
         },
         "record 0, field \"mass\": 0 is not greater than 0"},
        {"negative radius",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("MASS").I32(1).Mass("m", 0, 0, -2, 0, 1, -1);
             b.Tag("CONS").I32(0).Tag("EOF.");
         },
         "field \"radius\": -1 is out of range"},
        {"negative friction",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("MASS").I32(1).Mass("m", 0, 0, -2, 0, 1, 4, -0.5f);
             b.Tag("CONS").I32(0).Tag("EOF.");
         },
         "field \"friction\": -0.5 is out of range"},
        {"stiffness that overshoots",
         [](TBytes& b) {
             b = Header(2);
             b.Tag("CONS").I32(1).Constraint("c", 0, 1, 1.5f).Tag("EOF.");
         },
         "record 0, field \"stiffness\": 1.5 is out of range (0 to 1)"},
        {"image path longer than any file system takes",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("IMGS").I32(1).Image(std::string(5000, 'a'), 3, 0,
                                                                     0);
             b.Tag("MASS").I32(0).Tag("CONS").I32(0).Tag("EOF.");
         },
         "chunk \"IMGS\", record 0, field \"path\": longer than 4096 bytes"},
        {"picture past the budget of decoded pixels, judged from its header",
         [](TBytes& b) {
             b.Tag("BODY").I32(0).Name("x").Tag("IMGS").I32(2).Image("pic.png", 3, 0, 0);
             b.Image("huge.png", 3, 0, 0).Tag("MASS").I32(0).Tag("CONS").I32(0).Tag("EOF.");
         },
         "chunk \"IMGS\", record 1, field \"path\": image file \"huge.png\" (16384 x 16384) "
         "would bring the decoded pictures to 1073741856 bytes"},
        {"infinite stiffness",
         [](TBytes& b) {
             b = Header(2);
             b.Tag("CONS").I32(1).Constraint("c", 0, 1, std::numeric_limits<float>::infinity());
             b.Tag("EOF.");
         },
         "field \"stiffness\": is not a finite number"},
    };
    for (const auto& c : cases) {
        TBytes bytes;
        c.build(bytes);
        const std::string error = Check(bytes.data, false);
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": got \"" << error << "\"";
    }
}

// A regular file whose read fails, a FIFO with no writer: each loader says
// no, neither throws nor waits, and the world is untouched.
TEST_F(HostileFileTest, UnreadableFilesGiveNullWithoutThrowingOrBlocking) {
    const std::string fifo = scratch.Path("pipe.bdy");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const TWorldState before = TWorldState::Take();
    for (const std::string& url : {std::string("/proc/self/mem"), fifo}) {
        std::string error;
        EXPECT_FALSE(LoadBodyFile(url, &error)) << url;
        EXPECT_FALSE(error.empty()) << url;
        EXPECT_FALSE(TAdvBody::Load(url)) << url;
        EXPECT_FALSE(TAdvBody::LoadTemplate(url)) << url;
        EXPECT_FALSE(TTmpBody::Load(url)) << url;
    }
    EXPECT_TRUE(TWorldState::Take() == before);
}

} // namespace
