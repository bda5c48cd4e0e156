#include "course.h"

#include "bridge.h"
#include "lift.h"
#include "moving_platform.h"
#include "scenery.h"
#include <present/present.h>

#include <initializer_list>
#include <memory>
#include <vector>

namespace morvel {

namespace {

kinetra::FloatArray Points(std::initializer_list<float> values) {
    return std::make_shared<std::vector<float>>(values);
}

// A lift is a 100 px wide rectangle of the given height hanging from its
// top-left corner.
kinetra::FloatArray LiftRectangle(float height) {
    return Points({0, 0, 100, 0, 100, height, 0, height});
}

struct TSign {
    const char* text;
    float x;
    float y;
};

// Each black row carries its symbols in the even positions and the yellow row
// at the same place in the odd ones, so the rows read as alternating colours.
const TSign kTitleSigns[] = {
    {" START ", 0, 800},  {"KEEP GOING", 1125, 800}, {"MIND YOUR STEP", 1495, 595},
    {"  UP  ", 420, 545}, {"ALMOST THERE", 710, 45}, {" CONGRATULATIONS ", 1900, 195},
};
const TSign kBlackSigns[] = {
    {"> > > >", 0, 815},
    {"> > > > > ", 1125, 815},
    {"< < < < < < < ", 1495, 610},
    {"< < < ", 420, 560},
    {"> > > > > > ", 710, 60},
    {"* * * * * * * * *", 1900, 180},
    {"* * * * * * * * *", 1900, 210},
};
const TSign kYellowSigns[] = {
    {" > > > ", 0, 815},
    {" > > > > >", 1125, 815},
    {" < < < < < < <", 1495, 610},
    {" < < <", 420, 560},
    {" > > > > > >", 710, 60},
    {" * * * * * * * * ", 1900, 180},
    {"*               *", 1900, 195},
    {" * * * * * * * * ", 1900, 210},
};

template <std::size_t N> void DrawSigns(const TSign (&signs)[N]) {
    for (const TSign& sign : signs) {
        present::DrawString(sign.text, sign.x, sign.y);
    }
}

} // namespace

void BuildCourse() {
    TLift::Create(LiftRectangle(450), 1900, 775, 0.05f, 100, 0);
    TLift::Create(LiftRectangle(100), 1700, 700, 0.15f, 25, 0);
    TLift::Create(LiftRectangle(100), 1500, 700, 0.15f, 25, 1);
    TLift::Create(LiftRectangle(100), 1300, 700, -0.15f, 25, 0);
    TLift::Create(LiftRectangle(150), 900, 650, 0.15f, 25, 0);
    TLift::Create(LiftRectangle(200), 700, 600, 0.15f, 25, 1);
    TLift::Create(LiftRectangle(250), 500, 550, -0.15f, 25, 0);
    TLift::Create(LiftRectangle(250), 0, 400, -0.05f, 75, 0);

    TBridge::Create(1030, 705, 7);

    TPlatform::Create(1250, 145, 5, 0.05f, 100, 0);
    TPlatform::Create(880, 145, 5, -0.05f, 100, 0);

    TScenery::Create(Points({0, 875, 100, 875, 299, 1074, 0, 1074}));
    TScenery::Create(Points({175, 875, 500, 875, 500, 974, 274, 974}));
    TScenery::Create(Points({600, 875, 700, 875, 700, 974, 600, 974}));
    TScenery::Create(Points({800, 875, 900, 875, 900, 974, 800, 974}));
    TScenery::Create(Points({1000, 875, 1050, 875, 1249, 1074, 1000, 1074}));
    TScenery::Create(Points({1125, 875, 1300, 875, 1300, 974, 1224, 974}));
    TScenery::Create(Points({1400, 875, 1500, 875, 1500, 974, 1400, 974}));
    TScenery::Create(Points({1600, 875, 1700, 875, 1700, 974, 1600, 974}));
    TScenery::Create(Points({1800, 875, 1900, 875, 1900, 1024, 1800, 1024}));
    TScenery::Create(Points({2000, 450, 500,  450, 500,  375, 1550, 375,  1550, 125,
                             1750, 125, 1900, 275, 2048, 275, 2048, 1024, 2000, 1024}));
    TScenery::Create(Points({0,   775, 1000, 775, 1000, 725, 800, 725, 700, 675,
                             600, 675, 500,  625, 400,  625, 100, 475, 0,   475}));
    TScenery::Create(
        Points({175, 325, 575, 125, 710, 125, 710, 325, 400, 325, 400, 550, 175, 437.5f}));
}

void DrawSignposts() {
    present::SetDrawColour(127, 0, 0);
    DrawSigns(kTitleSigns);
    present::SetDrawColour(0, 0, 0);
    DrawSigns(kBlackSigns);
    present::SetDrawColour(255, 255, 0);
    DrawSigns(kYellowSigns);
}

} // namespace morvel
