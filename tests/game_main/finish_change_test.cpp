#include "blob.h"
#include "embedded_pictures.h"
#include "finish.h"
#include "globals.h"
#include "level.h"
#include <kinetra/kinetra.h>
#include <present/image.h>
#include <present/present.h>

#include <gtest/gtest.h>

namespace morvel {
namespace {

class FinishChange : public ::testing::Test {
protected:
    void SetUp() override {
        for (const EmbeddedPicture& picture : kEmbeddedPictures) {
            present::RegisterEmbeddedFile(picture.name, picture.data, picture.size);
        }
        kinetra::CreatePhysics(2048, 1024, 0.1f, 0, 2);
        level = std::make_shared<TLevel>();
        level->startX = 25;
        level->startY = 850;
        finished = 0;
        skinImage.reset();
    }
    void TearDown() override {
        blob.reset();
        level.reset();
        skinImage.reset();
        finished = 0;
        kinetra::DestroyPhysics();
    }

    static void ExpectMasses(const TBlob& player, float weight, float friction) {
        for (const auto& mass : player.masses) {
            ASSERT_NE(mass, nullptr);
            EXPECT_EQ(mass->mass, weight);
            EXPECT_EQ(mass->friction, friction);
        }
    }
};

TEST_F(FinishChange, OnTheBoundaryNothingChanges) {
    blob = TBlob::Create(1900, 200);
    ASSERT_TRUE(UpdateFinish());
    EXPECT_EQ(finished, 0);
    EXPECT_EQ(skinImage, nullptr);
    ExpectMasses(*blob, 2.0f, 1.0f);
}

TEST_F(FinishChange, ReachingTheShelfMakesTheBlobHeavyFrictionlessAndChrome) {
    blob = TBlob::Create(1950, 200);
    ASSERT_TRUE(UpdateFinish());
    EXPECT_EQ(finished, 1);
    ASSERT_NE(skinImage, nullptr);
    EXPECT_EQ(skinImage->width, 47);
    EXPECT_EQ(skinImage->height, 47);
    ExpectMasses(*blob, 4.0f, 0.0f);

    // Once changed, the skin is not loaded again for the same blob.
    const present::ImageRef chrome = skinImage;
    ASSERT_TRUE(UpdateFinish());
    EXPECT_EQ(skinImage, chrome);
}

TEST_F(FinishChange, ABlobMadeByALaterResetChangesAtOnce) {
    blob = TBlob::Create(1950, 200);
    ASSERT_TRUE(UpdateFinish());
    const present::ImageRef first = skinImage;

    blob->Destroy();
    blob = TBlob::Create(25, 850);
    ASSERT_TRUE(UpdateFinish());
    EXPECT_EQ(finished, 1);
    ExpectMasses(*blob, 4.0f, 0.0f);
    ASSERT_NE(skinImage, nullptr);
    EXPECT_NE(skinImage, first);
}

} // namespace
} // namespace morvel
