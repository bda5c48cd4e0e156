#include "blob_skin.h"

#include "blob.h"
#include "globals.h"
#include <kinetra/draw.h>
#include <present/image.h>

#include <memory>
#include <vector>

namespace morvel {

namespace {

constexpr int VertexFloats = 4;

} // namespace

int Pow2Size(int n) {
    int r = 1;
    while (r < n) {
        r *= 2;
    }
    return r;
}

void SkinTexCoord(float px, float py, float cx, float cy, float& u, float& v) {
    const float dx = px - cx;
    const float dy = py - cy;
    const double len = present::SquareRoot(dx * dx + dy * dy);
    if (!(len > 0)) {
        // A point on the centre has no direction: it takes the texture's centre.
        u = 0.5f;
        v = 0.5f;
        return;
    }
    u = static_cast<float>((dx / len) * 0.5 + 0.5);
    v = static_cast<float>((dy / len) * 0.5 + 0.5);
}

int FaceFrame(int direction, float vx) {
    if (direction == 1) {
        return vx > 2.0f ? 1 : 3;
    }
    if (direction == -1) {
        return vx < -2.0f ? 2 : 4;
    }
    return 0;
}

void DrawTexturedPolygon(const std::vector<float>& points, const present::ImageRef& image,
                         int frame, int fan) {
    if (!image || frame < 0 || frame >= image->FrameCount()) {
        return;
    }
    // Each frame sits in the top-left corner of a power-of-two texture.
    const double uScale =
        static_cast<double>(image->width) / static_cast<double>(Pow2Size(image->width));
    const double vScale =
        static_cast<double>(image->height) / static_cast<double>(Pow2Size(image->height));
    std::vector<float> vertices(points.size() / VertexFloats * VertexFloats);
    for (std::size_t i = 0; i < vertices.size(); i += VertexFloats) {
        vertices[i] = points[i];
        vertices[i + 1] = points[i + 1];
        vertices[i + 2] = static_cast<float>(points[i + 2] * uScale);
        vertices[i + 3] = static_cast<float>(points[i + 3] * vScale);
    }
    present::DrawTexturedVertices(vertices, image, frame, fan);
}

void TBlob::Draw() {
    std::vector<float> textured((MassCount + 2) * VertexFloats, 0.0f);
    std::vector<float> outline;
    outline.reserve(MassCount * 2);
    textured[0] = x;
    textured[1] = y;
    textured[2] = 0.5f;
    textured[3] = 0.5f;
    int j = 1;
    for (const auto& m : masses) {
        if (!m) {
            continue;
        }
        float u = 0;
        float v = 0;
        SkinTexCoord(m->x, m->y, x, y, u, v);
        float* vertex = &textured[j * VertexFloats];
        vertex[0] = m->x;
        vertex[1] = m->y;
        vertex[2] = u;
        vertex[3] = v;
        if (j == 1) {
            std::copy(vertex, vertex + VertexFloats, &textured[(MassCount + 1) * VertexFloats]);
        }
        outline.push_back(m->x);
        outline.push_back(m->y);
        ++j;
    }
    present::SetDrawColour(255, 255, 255);
    DrawTexturedPolygon(textured, skinImage, 0, 1);
    present::SetDrawColour(0, 0, 0);
    kinetra::DrawPolygon(outline, 0, 0, 0);
    const int frame = FaceFrame(direction, vx);
    present::SetDrawColour(255, 255, 255);
    present::SetDrawScale(0.5f, 0.5f);
    if (faceImage) {
        present::DrawImageFrame(faceImage, x, y, frame);
    }
    present::SetDrawScale(1, 1);
}

void TBlob::DrawFlat() {
    std::vector<float> points((MassCount + 2) * 2, 0.0f);
    int j = 1;
    for (const auto& m : masses) {
        if (!m) {
            continue;
        }
        points[j * 2] = m->x - x;
        points[j * 2 + 1] = m->y - y;
        if (j == 1) {
            points[(MassCount + 1) * 2] = points[2];
            points[(MassCount + 1) * 2 + 1] = points[3];
        }
        ++j;
    }
    present::SetDrawColour(63, 63, 127);
    kinetra::DrawPolygon(points, 1, x + 2, y + 2);
    present::SetDrawColour(127, 127, 255);
    kinetra::DrawPolygon(points, 1, x, y);
    present::SetDrawColour(207, 207, 255);
    present::SetDrawScale(0.25f, 0.25f);
    kinetra::DrawPolygon(points, 1, x - 2, y - 14);
    present::SetDrawScale(1, 1);
    present::SetDrawColour(255, 255, 255);
    present::SetDrawScale(0.5f, 0.5f);
    if (faceImage) {
        present::DrawImageFrame(faceImage, x, y, 0);
    }
    present::SetDrawScale(1, 1);
}

} // namespace morvel
