#include "scenes.h"
#include "world_fixture.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <tuple>
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

using TPairKey = std::tuple<const void*, const void*, const void*>;

// A pair of masses is the same pair whichever of the two the list holds first.
TPairKey KeyOf(const TContact& c) {
    const void* a = c.mass.get();
    const void* b = c.other.get();
    return std::less<const void*>()(a, b) ? TPairKey{a, b, c.zone.get()}
                                          : TPairKey{b, a, c.zone.get()};
}

// Where a push left a mass is nearer than this to where the tick left it, and further
// from any mass but its neighbours: twice the crowd's radius.
constexpr float kNearOwnMass = 10.0f;

// That a busy tick's contacts name the objects their values belong to, begin when their
// pair is new, and that the pairs of the tick before that are gone end, in their order.
void ExpectConsistent(const std::vector<TContact>& before, int tick) {
    std::map<TPairKey, const TContact*> then, now;
    for (const TContact& c : before) {
        then[KeyOf(c)] = &c;
    }
    for (const TContact& c : TickContacts()) {
        ASSERT_TRUE(now.emplace(KeyOf(c), &c).second) << "listed twice, tick " << tick;
        EXPECT_NEAR(c.x, c.mass->x, kNearOwnMass) << "tick " << tick;
        EXPECT_NEAR(c.y, c.mass->y, kNearOwnMass) << "tick " << tick;
        if (c.other) {
            EXPECT_GT(c.normalX * (c.mass->x - c.other->x) + c.normalY * (c.mass->y - c.other->y),
                      0.0f)
                << "tick " << tick;
        }
        EXPECT_EQ(c.begin, then.count(KeyOf(c)) == 0) << "tick " << tick;
    }
    std::vector<const TContact*> gone;
    for (const TContact& c : before) {
        if (now.count(KeyOf(c)) == 0) {
            gone.push_back(&c);
        }
    }
    const std::vector<TContact>& ended = EndedContacts();
    ASSERT_EQ(ended.size(), gone.size()) << "tick " << tick;
    for (std::size_t i = 0; i < gone.size(); ++i) {
        EXPECT_EQ(KeyOf(ended[i]), KeyOf(*gone[i])) << "tick " << tick;
        EXPECT_EQ(ended[i].x, gone[i]->x);
        EXPECT_FALSE(ended[i].begin);
    }
}

// Folds what the last tick reported into hash (FNV-1a): the lists' lengths and every
// contact's values, which no compiler or CPU changes.
std::uint64_t FoldReport(std::uint64_t hash) {
    const auto add = [&hash](std::uint32_t v) {
        for (int byte = 0; byte < 4; ++byte) {
            hash = (hash ^ ((v >> (8 * byte)) & 0xffu)) * 0x100000001b3ull;
        }
    };
    for (const auto* list : {&TickContacts(), &EndedContacts()}) {
        add(static_cast<std::uint32_t>(list->size()));
        for (const TContact& c : *list) {
            for (float f : {c.x, c.y, c.normalX, c.normalY, c.speed}) {
                std::uint32_t bits = 0;
                std::memcpy(&bits, &f, sizeof bits);
                add(bits);
            }
            add(c.begin ? 1u : 0u);
        }
    }
    return hash;
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

// A crowd falling onto a floor and piling up lists its contacts in another order every
// tick, and a member that leaves and comes back is listed after the others: the pairs it
// is in go on with the masses the other way round.
TEST_F(ContactTest, BusyTicksNameEachPairsOwnObjects) {
    CreatePhysics(640, 480, 0.15f, 0, 3);
    auto crowd = scenes::MakeCrowd(300, 640, 300);
    auto floor = Floor(400);
    std::vector<TContact> before;
    std::uint64_t reports = 0xcbf29ce484222325ull;
    for (int tick = 1; tick <= 200; ++tick) {
        if (tick == 150) {
            crowd[100]->Unregister();
            crowd[100]->Register();
        }
        UpdatePhysics();
        ExpectConsistent(before, tick);
        before = TickContacts();
        reports = FoldReport(reports);
    }
    EXPECT_GT(before.size(), 300u);
    // What is reported is recorded too: a pair lost, a begin or an end missed changes it.
    EXPECT_EQ(reports, 0x7eae27a7324d926full) << std::hex << reports;
}
