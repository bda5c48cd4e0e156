#include "view_draw.h"

#include <present/present.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <numbers>
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
constexpr TColour kHovered{255, 255, 255};
constexpr TColour kContactBegun{90, 255, 120};
constexpr TColour kContactGoing{255, 160, 40};
// A contact's normal is drawn this long, and longer by this much per pixel per tick of
// the speed it came in at, up to the longest.
constexpr float kNormalLength = 16.0f;
constexpr float kNormalPerSpeed = 4.0f;
constexpr float kLongestNormal = 60.0f;
constexpr float kContactDot = 2.0f;
constexpr float kHoverMargin = 3.0f;
constexpr int kRingSides = 24;
constexpr std::size_t kBytesPerKilobyte = 1024;
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
const char* const kHelp =
    "drag: mouse  R: reload  Space: pause  N: step  C: contacts  Backspace: rewind  Esc: quit";

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

// Each contact of the last tick: a dot where the mass was, and its normal, longer the
// harder it came in; green on the tick it began.
void DrawContacts() {
    present::SetLineThickness(1.0f);
    for (const kinetra::TContact& contact : kinetra::TickContacts()) {
        SetColour(contact.begin ? kContactBegun : kContactGoing);
        const float length =
            std::min(kNormalLength + kNormalPerSpeed * std::fabs(contact.speed), kLongestNormal);
        present::FillEllipse(contact.x - kContactDot, contact.y - kContactDot, 2 * kContactDot,
                             2 * kContactDot);
        DrawLine(contact.x, contact.y, contact.x + contact.normalX * length,
                 contact.y + contact.normalY * length);
    }
}

// A ring round the mass under the pointer.
void DrawHovered(const kinetra::TMass& mass) {
    present::SetLineThickness(1.0f);
    SetColour(kHovered);
    const float r = std::max(mass.radius, kSmallestDrawnRadius) + kHoverMargin;
    std::vector<float> ring;
    for (int i = 0; i < kRingSides; ++i) {
        const double a = 2.0 * std::numbers::pi * i / kRingSides;
        ring.push_back(static_cast<float>(r * std::cos(a)));
        ring.push_back(static_cast<float>(r * std::sin(a)));
    }
    kinetra::DrawPolygon(ring, 0, mass.x, mass.y);
}

// The hovered mass's name, place, velocity and size.
std::string Describe(const kinetra::TMass& mass) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "\"%.40s\" at (%.1f, %.1f), velocity (%.2f, %.2f), radius %.1f%s",
                  mass.name.c_str(), mass.x, mass.y, mass.x - mass.oldX, mass.y - mass.oldY,
                  mass.radius, mass.fixed ? ", fixed" : "");
    return text;
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
    present::SetBlendMode(present::TBlendMode::Alpha);
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
    if (scene.showContacts) {
        DrawContacts();
    }
    if (scene.hovered) {
        DrawHovered(*scene.hovered);
    }
    float y = kTextTop;
    std::string status = caption + "   tick " + std::to_string(scene.ticks);
    if (scene.paused) {
        status += "   paused";
    }
    status += "   rewind " + std::to_string(scene.rewind.Ticks()) + " ticks, " +
              std::to_string(scene.rewind.Bytes() / kBytesPerKilobyte) + " KB";
    DrawText(status, kText, y);
    if (scene.hovered) {
        DrawText(Describe(*scene.hovered), kHovered, y);
    }
    if (!scene.rejection.empty()) {
        DrawText("reload rejected: " + scene.rejection, kRejection, y);
    }
    float helpY = kBoxHeight - kLineHeight - 4.0f;
    DrawText(kHelp, kText, helpY);
}

} // namespace kinetra_view
