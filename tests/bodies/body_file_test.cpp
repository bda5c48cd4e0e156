// Reading body files: the byte layout, groups, rest lengths, directories and
// templates.
#include "body_bytes.h"
#include <kinetra/body_file.h>
#include <kinetra/kinetra.h>
#include <present/image.h>
#include <present/present.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

using namespace kinetra;
using bodytest::TBytes;

class BodyFileTest : public testing::Test {
protected:
    void SetUp() override { CreatePhysics(2048, 1024, 0.1f, 0, 2); }
    void TearDown() override { DestroyPhysics(); }

    bodytest::TScratchDir scratch;
};

// The ball file: two masses with automatic groups, one constraint, no rigs.
TBytes Ball(bool emptyImageChunk = false) {
    TBytes b;
    b.Tag("BODY").I32(0).Raw("ball    ");
    if (emptyImageChunk) {
        b.Tag("IMGS").I32(0);
    }
    b.Tag("MASS").I32(2).Mass("a", 0, 0, -2).Mass("b", 30, 40, -2);
    b.Tag("CONS").I32(1).Constraint("ab", 0, 1, 0.5f);
    return b.Tag("END!");
}

TEST_F(BodyFileTest, BallLoadsLiveWithAutomaticGroupsAndRestLength) {
    for (const bool imageChunk : {false, true}) {
        const auto body = TAdvBody::Load(scratch.Write("ball.bdy", Ball(imageChunk).data));
        ASSERT_TRUE(body) << imageChunk;
        EXPECT_EQ(body->name, "ball");
        ASSERT_EQ(body->masses.size(), 2u);
        ASSERT_EQ(body->constraints.size(), 1u);
        EXPECT_TRUE(body->rigs.empty());
        const auto& a = *body->masses[0];
        const auto& b = *body->masses[1];
        EXPECT_EQ(a.name, "a");
        EXPECT_LT(a.group, -1.0f);
        EXPECT_LT(b.group, -1.0f);
        EXPECT_NE(a.group, b.group);
        EXPECT_EQ(b.x, 30.0f);
        EXPECT_EQ(b.oldY, 40.0f);
        EXPECT_EQ(body->constraints[0]->length, 50.0f);
        EXPECT_EQ(body->constraints[0]->stiffness, 0.5f);
        EXPECT_EQ(body->constraints[0]->name, "ab");
        EXPECT_TRUE(massList->Contains(body->masses[0]));
        EXPECT_TRUE(massList->Contains(body->masses[1]));
        EXPECT_TRUE(constraintList->Contains(body->constraints[0]));
        EXPECT_EQ(body->baseAngle, 0.0f);
        EXPECT_FALSE(body->bodyTemplate);
    }
}

TEST_F(BodyFileTest, GroupCodesMinusOneIsNoGroupAndAnIndexSharesAnEarlierGroup) {
    TBytes b;
    b.Tag("BODY").I32(0).Name("groups");
    b.Tag("MASS").I32(5).Mass("none", 0, 0, -1).Mass("auto", 1, 0, -2).Mass("same", 2, 0, 1);
    // A code no float can hold: resolved through a float it would give -16777220.
    b.Mass("seven", 3, 0, -8).Mass("far", 4, 0, -16777219);
    b.Tag("CONS").I32(0).Tag("RIGS").I32(0);
    const std::string path = scratch.Write("g.bdy", b.data);
    const auto holder = TAdvBody::LoadTemplate(path);
    ASSERT_TRUE(holder);
    for (const auto& body :
         {TAdvBody::Load(path), TAdvBody::CreateFromTemplate(holder->bodyTemplate)}) {
        ASSERT_TRUE(body);
        EXPECT_EQ(body->masses[0]->group, 0.0f);
        EXPECT_LT(body->masses[1]->group, -1.0f);
        EXPECT_EQ(body->masses[2]->group, body->masses[1]->group);
        EXPECT_EQ(body->masses[3]->group, -7.0f);
        EXPECT_EQ(body->masses[4]->group, -16777218.0f);
    }
    // No constraint holds the masses, so the body registers none of them.
    EXPECT_EQ(massList->Count(), 0u);
}

TEST_F(BodyFileTest, NamesAreTrimmedOfControlCodesAndBlanks) {
    TBytes b;
    b.Tag("BODY").I32(7).Raw(std::string(8, '\0'));
    b.Tag("MASS").I32(2);
    b.Raw(std::string("\t m\xe9x\r\n\0", 8)).F32(0).F32(0).F32(1).F32(1).F32(0).I32(-1).U8(0);
    b.Raw(std::string("abcdefgh")).F32(1).F32(0).F32(1).F32(1).F32(0).I32(-1).U8(3);
    b.Tag("CONS").I32(1).Constraint("c", 0, 1, 1).Raw("xxxx");
    const auto body = TAdvBody::Load(scratch.Write("n.bdy", b.data));
    ASSERT_TRUE(body);
    EXPECT_EQ(body->name, "");
    EXPECT_EQ(body->masses[0]->name, "m\xe9x");
    EXPECT_EQ(body->masses[1]->name, "abcdefgh");
    EXPECT_EQ(body->masses[1]->fixed, 1);
}

TEST_F(BodyFileTest, FileMustHoldTheTagAfterTheLastConstraint) {
    auto bytes = Ball().data;
    bytes.resize(bytes.size() - 4);
    std::string error;
    EXPECT_FALSE(LoadBodyFile(scratch.Write("short.bdy", bytes), &error));
    EXPECT_EQ(error.rfind("chunk \"CONS\"", 0), 0u) << error;
    EXPECT_EQ(massList->Count(), 0u);
}

TEST_F(BodyFileTest, DirectoryIsRejectedWithoutChangingDirectoryButAFileChangesIt) {
    const auto start = std::filesystem::current_path();
    std::filesystem::create_directories(scratch.Path("sub/dir.bdy"));
    EXPECT_FALSE(TAdvBody::Load(scratch.Path("sub/dir.bdy")));
    EXPECT_FALSE(TAdvBody::Load(scratch.Path("sub/missing.bdy")));
    EXPECT_EQ(std::filesystem::current_path(), start);

    scratch.Write("sub/text.txt", TBytes().Raw("hello, world").data);
    EXPECT_FALSE(TAdvBody::Load(scratch.Path("sub/text.txt")));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(scratch.Path("sub")));
}

TBytes Rigged(const std::string& picture) {
    TBytes b;
    b.Tag("BODY").I32(0).Name("rigged");
    b.Tag("IMGS").I32(1).Image(picture, 3, 2, 1);
    b.Tag("MASS").I32(3).Mass("p", 0, 0, -2).Mass("q", 10, 10, 0).Mass("r", 0, 10, 0);
    b.Tag("CONS").I32(2).Constraint("pq", 0, 1, 1).Constraint("qr", 1, 2, 1);
    b.Tag("RIGS").I32(2).Rig("free", 0, 2, -1, 30).Rig("turned", 0, 0, 0, -45);
    return b;
}

TEST_F(BodyFileTest, ImagesResolveAgainstTheFileDirectoryAndRigsPointIntoTheBody) {
    scratch.WritePicture("art/pic.png");
    const auto body = TAdvBody::Load(scratch.Write("art/rigged.bdy", Rigged("pic.png").data));
    ASSERT_TRUE(body);
    ASSERT_EQ(body->rigs.size(), 2u);
    const auto& free = *body->rigs[0];
    EXPECT_EQ(free.name, "free");
    EXPECT_FALSE(free.constraint);
    EXPECT_EQ(free.mass, body->masses[2]);
    EXPECT_EQ(free.Rotation(), 30.0f);
    const auto& turned = *body->rigs[1];
    EXPECT_EQ(turned.constraint, body->constraints[0]);
    EXPECT_EQ(turned.Rotation(), 0.0f);
    ASSERT_TRUE(free.image);
    EXPECT_EQ(free.image, turned.image);
    EXPECT_EQ(free.image->width, 4);
    EXPECT_EQ(free.image->anchorX, 2.0f);
    EXPECT_EQ(free.image->anchorY, 1.0f);
    EXPECT_EQ(free.image->flags, 3);
}

TEST_F(BodyFileTest, TemplateBodiesAreIndependentButShareImages) {
    scratch.WritePicture("pic.png");
    const auto holder = TAdvBody::LoadTemplate(scratch.Write("t.bdy", Rigged("pic.png").data));
    ASSERT_TRUE(holder);
    ASSERT_TRUE(holder->bodyTemplate);
    EXPECT_TRUE(holder->masses.empty());
    EXPECT_TRUE(holder->constraints.empty());
    EXPECT_EQ(massList->Count(), 0u);
    const auto& source = *holder->bodyTemplate;
    EXPECT_EQ(source.name, "rigged");
    EXPECT_EQ(source.masses[1]->group, 0.0f);
    EXPECT_EQ(source.masses[0]->group, -2.0f);
    EXPECT_EQ(source.constraints[1]->massIndices[1], 2);

    const auto one = TAdvBody::CreateFromTemplate(holder->bodyTemplate);
    const auto two = TAdvBody::CreateFromTemplate(holder->bodyTemplate);
    ASSERT_TRUE(one && two);
    EXPECT_EQ(one->baseAngle, 45.0f);
    EXPECT_EQ(two->baseAngle, 45.0f);
    EXPECT_FALSE(one->bodyTemplate);
    EXPECT_NE(one->masses[0], two->masses[0]);
    EXPECT_NE(one->constraints[0], two->constraints[0]);
    // Groups shared by index within one body, fresh automatic groups per body.
    EXPECT_EQ(one->masses[1]->group, one->masses[0]->group);
    EXPECT_NE(one->masses[0]->group, two->masses[0]->group);
    EXPECT_EQ(one->rigs[0]->image, two->rigs[0]->image);
    EXPECT_EQ(one->rigs[0]->image, source.rigs[0]->image);
    EXPECT_EQ(massList->Count(), 6u);
    EXPECT_EQ(constraintList->Count(), 4u);

    // Moving one instance leaves the other where it was.
    one->Move(5, 0);
    EXPECT_EQ(two->masses[0]->x, 0.0f);
}

TEST_F(BodyFileTest, TemplateWithBadIndicesBuildsNothing) {
    EXPECT_FALSE(TAdvBody::CreateFromTemplate(nullptr));
    auto source = std::make_shared<TTmpBody>();
    source->masses = {TTmpMass::Create(0, 0, 1, 1, 0, -2), TTmpMass::Create(1, 0, 1, 1, 0, -2)};
    source->constraints = {TTmpCon::Create(0, 1, 1)};
    const int group = nextAutoGroup;
    ASSERT_TRUE(TAdvBody::CreateFromTemplate(source));
    EXPECT_EQ(nextAutoGroup, group - 2);

    const auto broken = [&](auto change) {
        auto copy = std::make_shared<TTmpBody>(*source);
        copy->masses = {TTmpMass::Create(0, 0, 1, 1, 0, -2), TTmpMass::Create(1, 0, 1, 1, 0, -2)};
        copy->constraints = {TTmpCon::Create(0, 1, 1)};
        change(*copy);
        const int before = nextAutoGroup;
        const std::size_t masses = massList->Count();
        EXPECT_FALSE(TAdvBody::CreateFromTemplate(copy));
        EXPECT_EQ(nextAutoGroup, before);
        EXPECT_EQ(massList->Count(), masses);
    };
    broken([](TTmpBody& b) { b.masses[1]->group = 1; });
    broken([](TTmpBody& b) { b.masses[1]->group = NAN; });
    broken([](TTmpBody& b) { b.masses[1]->group = 3e9f; });
    broken([](TTmpBody& b) { b.masses[1] = nullptr; });
    broken([](TTmpBody& b) { b.constraints[0]->massIndices[1] = 2; });
    broken([](TTmpBody& b) { b.constraints[0]->massIndices[0] = -1; });
    broken([](TTmpBody& b) { b.rigs = {TTmpRig::Create(nullptr, 0, -1, 0)}; });
}

} // namespace
