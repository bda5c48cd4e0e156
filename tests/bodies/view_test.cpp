// kinetra-view: the scene it simulates (reloads, dragging, constraint colours)
// and the tool itself, run headless. Pause and step are driven in a window
// (tests/e2e).
#include "body_bytes.h"
#include "view_draw.h"
#include "view_scene.h"
#include <kinetra/kinetra.h>
#include <present/image.h>
#include <present/present.h>

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using bodytest::TBytes;
using namespace kinetra_view;

// Two masses 30 apart, one constraint, no rigs.
TBytes Pair(const std::string& name) {
    TBytes b;
    b.Tag("BODY").I32(0).Name(name);
    b.Tag("MASS").I32(2).Mass("a", 0, 0, -2).Mass("b", 30, 0, 0);
    b.Tag("CONS").I32(1).Constraint("ab", 0, 1, 0.5f);
    return b.Tag("END!");
}

class ViewSceneTest : public testing::Test {
protected:
    void TearDown() override { CloseScene(scene); }

    bodytest::TScratchDir scratch;
    TViewScene scene;
};

TEST_F(ViewSceneTest, ReloadFromARelativePathKeepsTheLastGoodBodyWhenRejected) {
    // The file lies below the current directory, which the loader leaves.
    scratch.Write("bodies/pair.body", Pair("first").data);
    present::ChangeDirectory(scratch.dir);
    std::string error;
    ASSERT_TRUE(OpenScene(scene, "bodies/pair.body", error)) << error;
    const kinetra::AdvBodyRef first = scene.body;
    // Centred across the box, its top edge (radius 4) at 60.
    EXPECT_FLOAT_EQ(first->masses[0]->x, 385.0f);
    EXPECT_FLOAT_EQ(first->masses[1]->x, 415.0f);
    EXPECT_FLOAT_EQ(first->masses[0]->y, 64.0f);

    TBytes broken = Pair("broken");
    broken.data.resize(broken.data.size() - 4);
    const std::string path = scratch.Write("bodies/pair.body", broken.data);
    std::string loaderMessage;
    ASSERT_FALSE(kinetra::LoadBodyFile(path, &loaderMessage));
    EXPECT_FALSE(ReloadBody(scene));
    EXPECT_EQ(scene.body, first);
    EXPECT_EQ(scene.rejection, loaderMessage);
    EXPECT_EQ(kinetra::massList->Count(), 2u);

    scratch.Write("bodies/pair.body", Pair("second").data);
    StepScene(scene);
    EXPECT_TRUE(ReloadBody(scene));
    EXPECT_EQ(scene.body->name, "second");
    EXPECT_TRUE(scene.rejection.empty());
    EXPECT_EQ(scene.ticks, 0);
    // The old body left the world.
    EXPECT_EQ(kinetra::massList->Count(), 2u);
    EXPECT_TRUE(kinetra::massList->Contains(scene.body->masses[0]));
}

TEST_F(ViewSceneTest, TheNearestMassFollowsThePointerAndKeepsItsMotionWhenLetGo) {
    std::string error;
    ASSERT_TRUE(OpenScene(scene, scratch.Write("pair.body", Pair("pair").data), error)) << error;
    const kinetra::MassRef a = scene.body->masses[0];
    const kinetra::MassRef b = scene.body->masses[1];

    TViewInput input;
    input.buttonDown = true;
    input.pointerX = 420;
    input.pointerY = 200;
    RunFrame(scene, input);
    EXPECT_EQ(scene.dragged, b);
    for (int frame = 0; frame < 100; ++frame) {
        input.pointerX += 1;
        RunFrame(scene, input);
    }
    // Held under the pointer through every tick, the other mass hanging from it.
    EXPECT_EQ(b->x, 520.0f);
    EXPECT_EQ(b->y, 200.0f);
    EXPECT_FALSE(b->fixed);
    EXPECT_NEAR(std::hypot(a->x - b->x, a->y - b->y), 30.0f, 3.0f);

    // Let go, it keeps the pointer's motion.
    ReleaseMass(scene);
    EXPECT_FALSE(scene.dragged);
    EXPECT_EQ(b->x - b->oldX, 1.0f);
    EXPECT_EQ(b->y - b->oldY, 0.0f);
}

TEST_F(ViewSceneTest, StretchedConstraintsShadeToRedAndCompressedOnesToBlue) {
    std::string error;
    ASSERT_TRUE(OpenScene(scene, scratch.Write("pair.body", Pair("pair").data), error)) << error;
    kinetra::TConstraint& constraint = *scene.body->constraints[0];
    const TColour rest = StrainColour(constraint);
    EXPECT_EQ(rest.red, rest.blue);
    constraint.SetLength(20);
    const TColour stretched = StrainColour(constraint);
    EXPECT_GT(stretched.red, stretched.blue);
    constraint.SetLength(40);
    const TColour compressed = StrainColour(constraint);
    EXPECT_GT(compressed.blue, compressed.red);
}

struct TRun {
    int status;
    std::string err;
};

TRun RunViewer(const bodytest::TScratchDir& scratch, const std::string& arguments) {
    const std::string errPath = scratch.Path("stderr.txt");
    const std::string command = std::string("'") + KINETRA_VIEW + "' " + arguments +
                                " >/dev/null 2>'" + errPath + "'";
    const int raw = std::system(command.c_str());
    std::ifstream err(errPath);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1,
            std::string(std::istreambuf_iterator<char>(err), {})};
}

TEST(KinetraViewTool, HeadlessScreenshotShowsTheBodyFallenOntoTheFloor) {
    bodytest::TScratchDir scratch;
    const std::string shot = scratch.Path("frame.png");
    const TRun run = RunViewer(scratch, std::string(SOFTBOX_DIR) +
                                            "/softbox.body --frames 300 --screenshot " + shot);
    ASSERT_EQ(run.status, 0) << run.err;

    std::ifstream file(shot, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
    present::TPixmap frame;
    bool hasAlpha = false;
    ASSERT_TRUE(present::DecodePng(bytes.data(), bytes.size(), frame, hasAlpha));
    ASSERT_EQ(frame.width, kBoxWidth);
    ASSERT_EQ(frame.height, kBoxHeight);

    // Between the status line and the floor, only the body differs from the
    // background, and it lies on the floor.
    const std::uint8_t* background = &frame.rgba[static_cast<std::size_t>(100 * 4)];
    int top = kBoxHeight;
    int bottom = -1;
    for (int y = 40; y < static_cast<int>(kFloorTop); ++y) {
        for (int x = 0; x < kBoxWidth; ++x) {
            const std::uint8_t* p = &frame.rgba[static_cast<std::size_t>((y * kBoxWidth + x) * 4)];
            if (!std::equal(p, p + 3, background)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(bottom, 0) << "nothing drawn above the floor";
    EXPECT_GE(bottom, static_cast<int>(kFloorTop) - 3);
    EXPECT_GT(top, static_cast<int>(kFloorTop) - 60);
    // The floor is drawn below it.
    const std::uint8_t* floor = &frame.rgba[static_cast<std::size_t>((560 * kBoxWidth + 790) * 4)];
    EXPECT_EQ(floor[1], 127);
}

TEST(KinetraViewTool, BadArgumentsGiveTwoAndAnUnloadableFileTheLoadersReason) {
    bodytest::TScratchDir scratch;
    const std::string softbox = std::string(SOFTBOX_DIR) + "/softbox.body";
    for (const std::string& arguments :
         {std::string(), "--frames 3 " + softbox, "--screenshot x.png " + softbox,
          softbox + " --renderer vulkan", softbox + " --frames 0 --screenshot x.png",
          softbox + " " + softbox, softbox + " --fullscreen", softbox + " --frames"}) {
        const TRun run = RunViewer(scratch, arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find("usage: kinetra-view"), std::string::npos) << arguments;
    }

    TBytes truncated = Pair("pair");
    truncated.data.resize(truncated.data.size() - 4);
    for (const std::string& path :
         {scratch.Write("short.body", truncated.data), scratch.Path("missing.body")}) {
        std::string loaderMessage;
        ASSERT_FALSE(kinetra::LoadBodyFile(path, &loaderMessage));
        const TRun run =
            RunViewer(scratch, path + " --frames 1 --screenshot " + scratch.Path("out.png"));
        EXPECT_EQ(run.status, 1) << path;
        EXPECT_NE(run.err.find(loaderMessage), std::string::npos) << run.err;
    }
}

} // namespace
