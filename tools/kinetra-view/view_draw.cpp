#include "view_draw.h"

#include <present/present.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace kinetra_view {

namespace {

constexpr TColour kBackground{40, 44, 52};
constexpr TColour kFloorColour{0, 127, 127};
constexpr TColour kRelaxed{220, 220, 220};
constexpr TColour kStretched{255, 40, 40};
constexpr TColour kCompressed{70, 130, 255};
constexpr TColour kFreeMass{250, 200, 60};
constexpr TColour kFixedMass{170, 170, 170};
constexpr TColour kFixedMark{20, 20, 20};
constexpr TColour kText{255, 255, 255};
constexpr TColour kRejection{255, 110, 110};
// A strain (change of length over rest length) this large is drawn in the full colour.
constexpr float kFullStrain = 0.2f;
constexpr float kMassAlpha = 0.7f;
constexpr float kConstraintWidth = 2.0f;
// Masses smaller than this are drawn this large, so that they stay visible.
constexpr float kSmallestDrawnRadius = 1.5f;
constexpr float kTextLeft = 8.0f;
constexpr float kTextTop = 8.0f;
constexpr float kLineHeight = 18.0f;
constexpr std::size_t kCharactersPerLine = (kBoxWidth - 16) / 8;
const char* const kHelp = "drag: left mouse   R: reload   Space: pause   N: step   Esc: quit";

void SetColour(const TColour& colour) {
    present::SetDrawColour(colour.red, colour.green, colour.blue);
}

int Mix(int from, int to, float amount) {
    return static_cast<int>(std::lround(from + (to - from) * amount));
}

void DrawLine(float x0, float y0, float x1, float y1) {
    kinetra::DrawPolygon({x0, y0, x1, y1}, 0, 0, 0);
}

void DrawConstraints(const kinetra::TAdvBody& body) {
    present::SetLineThickness(kConstraintWidth);
    for (const kinetra::ConstraintRef& constraint : body.constraints) {
        if (!constraint || !constraint->masses[0] || !constraint->masses[1]) {
            continue;
        }
        SetColour(StrainColour(*constraint));
        const kinetra::TMass& a = *constraint->masses[0];
        const kinetra::TMass& b = *constraint->masses[1];
        DrawLine(a.x, a.y, b.x, b.y);
    }
}

void DrawMasses(const kinetra::TAdvBody& body) {
    present::SetLineThickness(1.0f);
    for (const kinetra::MassRef& mass : body.masses) {
        if (!mass) {
            continue;
        }
        const float r = std::max(mass->radius, kSmallestDrawnRadius);
        present::SetDrawAlpha(kMassAlpha);
        SetColour(mass->fixed ? kFixedMass : kFreeMass);
        present::FillEllipse(mass->x - r, mass->y - r, 2 * r, 2 * r);
        present::SetDrawAlpha(1.0f);
        if (mass->fixed) {
            // A pinned mass is crossed out.
            SetColour(kFixedMark);
            const float d = r * 0.7f;
            DrawLine(mass->x - d, mass->y - d, mass->x + d, mass->y + d);
            DrawLine(mass->x - d, mass->y + d, mass->x + d, mass->y - d);
        }
    }
}

void DrawText(const std::string& text, const TColour& colour, float& y) {
    SetColour(colour);
    for (std::size_t start = 0; start < text.size(); start += kCharactersPerLine) {
        present::DrawString(text.substr(start, kCharactersPerLine), kTextLeft, y);
        y += kLineHeight;
    }
}

} // namespace

void SetUpDrawing() {
    present::SetClearColour(kBackground.red, kBackground.green, kBackground.blue);
    present::SetBlendMode(present::BlendAlpha);
}

TColour StrainColour(const kinetra::TConstraint& constraint) {
    const float rest = constraint.length;
    const float strain = rest > 0.0f ? (constraint.GetDistance() - rest) / rest : 0.0f;
    const float amount = std::isfinite(strain) ? std::min(std::fabs(strain) / kFullStrain, 1.0f)
                                               : 1.0f;
    const TColour& target = strain > 0.0f ? kStretched : kCompressed;
    return {Mix(kRelaxed.red, target.red, amount), Mix(kRelaxed.green, target.green, amount),
            Mix(kRelaxed.blue, target.blue, amount)};
}

void DrawScene(const TViewScene& scene, const std::string& caption) {
    present::SetDrawRotation(0);
    present::ClearScreen();
    if (scene.floor) {
        SetColour(kFloorColour);
        scene.floor->Draw();
    }
    if (scene.body) {
        DrawConstraints(*scene.body);
        DrawMasses(*scene.body);
        SetColour(kText);
        scene.body->Draw();
        present::SetDrawRotation(0);
    }
    float y = kTextTop;
    std::string status = caption + "   tick " + std::to_string(scene.ticks);
    if (scene.paused) {
        status += "   paused";
    }
    DrawText(status, kText, y);
    if (!scene.rejection.empty()) {
        DrawText("reload rejected: " + scene.rejection, kRejection, y);
    }
    float helpY = kBoxHeight - kLineHeight - 4.0f;
    DrawText(kHelp, kText, helpY);
}

} // namespace kinetra_view
