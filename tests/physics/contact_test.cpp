#include "scenes.h"
#include "world_fixture.h"

#include <cmath>
#include <memory>
#include <vector>

using namespace kinetra;

namespace {

class ContactTest : public ::testing::Test {
protected:
    void SetUp() override { SetContactReporting(true); }
    void TearDown() override {
        SetContactReporting(false);
        DestroyPhysics();
    }
};

ZoneRef Floor(float top) {
    auto points = std::make_shared<std::vector<float>>(
        std::vector<float>{0, top, 640, top, 640, top + 80, 0, top + 80});
    return TZone::Create(points, TZoneKind::Solid, 1.0f, 10, 1);
}

MassRef Ball(float x, float y, int group = 1) {
    auto m = TMass::Create(x, y, 1, 5, 0.5f, group);
    m->Register();
    return m;
}

// The contact of mass with zone (or other) in list, or null.
const TContact* Find(const std::vector<TContact>& list, const MassRef& mass, const ZoneRef& zone,
                     const MassRef& other = nullptr) {
    for (const TContact& c : list) {
        if (c.mass == mass && c.zone == zone && c.other == other) {
            return &c;
        }
    }
    return nullptr;
}

} // namespace

// A ball dropped for a second lands at about 6 pixels per tick and comes to rest; lifted
// off, it falls and lands again. Every tick it touches is reported once, whatever the
// passes, begin only when the tick before did not touch, and the tick after each run of
// touching ends it.
TEST_F(ContactTest, LandingsBeginOnceAtTheFallingSpeedAndEndTheTickAfter) {
    const PhysicsRef first = CreatePhysics(640, 480, 0.1f, 0, 4);
    auto floor = Floor(400);
    // Listed before the ball, and unlisted while the ball rests: the ball's place in
    // the list changes under a contact that goes on.
    auto placeholder = TMass::Create(600, 50, 1, 5, 0, 0);
    placeholder->Register();
    auto ball = Ball(100, 395 - 0.05f * 60 * 61);
    bool touchedBefore = false;
    int landings = 0;
    for (int tick = 1; tick <= 240; ++tick) {
        if (tick == 100) {
            placeholder->Unregister();
        }
        if (tick == 150) {
            ball->SetPosition(100, 300);
        }
        UpdatePhysics();
        const std::vector<TContact>& now = TickContacts();
        ASSERT_LE(now.size(), 1u) << "tick " << tick;
        const bool touching = now.size() == 1;
        if (touching) {
            const TContact& c = now[0];
            ASSERT_EQ(Find(now, ball, floor), &c);
            EXPECT_EQ(c.begin, !touchedBefore) << "tick " << tick;
            EXPECT_EQ(c.normalX, 0.0f);
            EXPECT_EQ(c.normalY, -1.0f);
            if (c.begin && landings++ == 0) {
                EXPECT_EQ(tick, 60);
                EXPECT_NEAR(c.speed, 6.0f, 0.05f);
                EXPECT_NEAR(c.y, 395.0f, 0.01f);
            }
        }
        const std::vector<TContact>& ended = EndedContacts();
        ASSERT_EQ(ended.size(), touchedBefore && !touching ? 1u : 0u) << "tick " << tick;
        if (!ended.empty()) {
            EXPECT_NE(Find(ended, ball, floor), nullptr);
            EXPECT_FALSE(ended[0].begin);
        }
        touchedBefore = touching;
    }
    EXPECT_EQ(landings, 2);
    EXPECT_TRUE(touchedBefore);

    // A new world, even with the old one held, or reporting turned off, forgets the old
    // reports.
    CreatePhysics(640, 480, 0.1f, 0, 4);
    EXPECT_TRUE(TickContacts().empty());
    auto resting = Ball(100, 396);
    auto again = Floor(400);
    UpdatePhysics();
    ASSERT_EQ(TickContacts().size(), 1u);
    EXPECT_TRUE(TickContacts()[0].begin);
    SetContactReporting(false);
    EXPECT_TRUE(TickContacts().empty());
}

// A soft ring resting on a block is pushed back into it by its constraints in every
// pass: each pair is still listed once a tick.
TEST_F(ContactTest, PairsPushedInEveryPassAreListedOnce) {
    CreatePhysics(2048, 1024, 0.1f, 0, 6);
    auto ring = scenes::MakeRing(400, 520, 30);
    auto block = scenes::MakeBlock(300, 560, 500, 700);
    auto ball = Ball(400, 500, 3);
    for (int tick = 0; tick < 100; ++tick) {
        UpdatePhysics();
        const std::vector<TContact>& now = TickContacts();
        for (std::size_t i = 0; i < now.size(); ++i) {
            for (std::size_t k = 0; k < i; ++k) {
                ASSERT_FALSE(now[i].mass == now[k].mass && now[i].other == now[k].other &&
                             now[i].zone == now[k].zone)
                    << "tick " << tick;
            }
        }
    }
    EXPECT_GE(TickContacts().size(), 3u);
}

// Two masses meeting head on: the earlier listed is the mass, pushed along the normal
// from the other, at the speed they close; a fixed pair is no contact.
TEST_F(ContactTest, PairsReportTheEarlierMassAndTheirClosingSpeed) {
    CreatePhysics(640, 480, 0.0f, 0, 3);
    auto later = TMass::Create(120, 100, 1, 5, 0, 2);
    auto earlier = Ball(100, 100);
    later->Register();
    earlier->SetVelocity(1.5f, 0);
    later->SetVelocity(-2.5f, 0);
    auto pinnedA = Ball(300, 300);
    auto pinnedB = Ball(304, 300, 3);
    pinnedA->Fix();
    pinnedB->Fix();
    for (int tick = 1; tick <= 3 && TickContacts().empty(); ++tick) {
        UpdatePhysics();
    }
    ASSERT_EQ(TickContacts().size(), 1u);
    const TContact* c = Find(TickContacts(), earlier, nullptr, later);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->begin);
    EXPECT_FLOAT_EQ(c->normalX, -1.0f);
    EXPECT_FLOAT_EQ(c->normalY, 0.0f);
    EXPECT_FLOAT_EQ(c->speed, 4.0f);
    EXPECT_EQ(c->x, earlier->x);
}
