// Drawing of the blob's skin: a textured fan through whichever renderer is
// current, and the helpers it needs.
#pragma once

#include <present/present.h>

#include <vector>

namespace morvel {

// points: x, y, u, v per vertex (level coordinates, texture coordinates of the
// image). fan != 0 draws a fan around the first vertex, otherwise a strip.
void DrawTexturedPolygon(const std::vector<float>& points, const present::ImageRef& image,
                         int frame, int fan);

// Smallest power of two not below n, counting up from 1.
int Pow2Size(int n);

// Texture coordinate of a rim point: its direction from the centre mapped onto
// the circle of radius 0.5 around the texture's centre.
void SkinTexCoord(float px, float py, float cx, float cy, float& u, float& v);

// Face frame for a roll direction and horizontal speed.
int FaceFrame(int direction, float vx);

} // namespace morvel
