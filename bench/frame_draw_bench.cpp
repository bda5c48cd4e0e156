// One game frame drawn headless at 1024 x 768 (the course in view, the blob
// rolling right): the Direct3D 7 stand-in's software device against SDL 2's
// software renderer, in the same run. The game draws its frame through the
// device as it does in play; the triangles the device receives are recorded
// once and replayed both through the device alone and with SDL_RenderGeometry
// onto an SDL surface, the path the stand-in used to draw through.
#include "course_setup.h"
#include "direct3d7/direct3d7.h"
#include "direct3d7/soft_texture.h"
#include "frame_loop.h"
#include "globals.h"
#include "program.h"
#include <present/headless.h>
#include <present/present.h>

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
// Frames rolled right from the start before the measured frame.
constexpr int kRollingFrames = 240;

struct TRecordedDraw {
    std::vector<present::TVertex> vertices;
    present::TPaint paint;
    present::TSoftTexture* texture; // Null for a flat fill
    int imageFlags;
};

// The stand-in that also records what it is asked to draw.
class TRecordingDevice : public present::TDirect3D7Renderer {
public:
    void FillTriangles(const present::TVertex* vertices, int count,
                       const present::TPaint& paint) override {
        Record(nullptr, 0, vertices, count, paint);
        TDirect3D7Renderer::FillTriangles(vertices, count, paint);
    }
    void DrawTexturedTriangles(present::TRendererTexture& texture, int imageFlags,
                               const present::TVertex* vertices, int count,
                               const present::TPaint& paint) override {
        Record(dynamic_cast<present::TSoftTexture*>(&texture), imageFlags, vertices, count, paint);
        TDirect3D7Renderer::DrawTexturedTriangles(texture, imageFlags, vertices, count, paint);
    }

    bool recording = false;
    std::vector<TRecordedDraw> draws;

private:
    void Record(present::TSoftTexture* texture, int imageFlags, const present::TVertex* vertices,
                int count, const present::TPaint& paint) {
        if (recording && vertices != nullptr && count > 0) {
            draws.push_back({{vertices, vertices + count}, paint, texture, imageFlags});
        }
    }
};

// The game started as a player starts it (Enter in the menu: 1024 x 768 with
// the stand-in), rolled right, then its screen opened again on the recording
// device with the game's drawing settings, and one frame recorded.
class TGameFrame {
public:
    TGameFrame() : platform(std::make_shared<present::THeadlessPlatform>(1000000)) {
        present::SetPlatform(platform);
        const int first = present::PresentedFrames();
        platform->ScheduleKey(first + 1, present::key::Enter, true);
        platform->ScheduleKey(first + 1, present::key::Enter, false);
        morvel::TFrameCounter frames(0);
        started = morvel::StartMorvel(frames).play && morvel::screenWidth == kWidth &&
                  morvel::screenHeight == kHeight;
        if (!started) {
            return;
        }
        platform->ScheduleKey(present::PresentedFrames() + 1, present::key::Right, true);
        for (int i = 0; i < kRollingFrames; ++i) {
            morvel::StepCourse();
            morvel::DrawGameFrame();
            present::PresentFrame(-1);
        }
        present::SelectRenderer(device, present::ScreenDoubleBuffered);
        started = present::OpenScreen(kWidth, kHeight, 32, 60, 0) != nullptr;
        present::SetClearColour(127, 127, 127);
        present::SetLineThickness(1.0f);
        present::SetBlendMode(present::BlendAlpha);
        device->recording = true;
        morvel::DrawGameFrame();
        device->recording = false;
    }

    ~TGameFrame() {
        morvel::EndMorvel();
        present::SetPlatform(nullptr);
    }
    TGameFrame(const TGameFrame&) = delete;
    TGameFrame& operator=(const TGameFrame&) = delete;

    bool started = false;
    std::shared_ptr<TRecordingDevice> device = std::make_shared<TRecordingDevice>();

private:
    std::shared_ptr<present::THeadlessPlatform> platform;
};

TGameFrame& GameFrame() {
    static TGameFrame frame;
    return frame;
}

// The whole frame as the game draws it through the device.
void GameFrameSoftwareDevice(benchmark::State& state) {
    if (!GameFrame().started) {
        state.SkipWithError("the game did not start");
        return;
    }
    for (auto _ : state) {
        morvel::DrawGameFrame();
    }
}
BENCHMARK(GameFrameSoftwareDevice)->Unit(benchmark::kMicrosecond);

// The recorded triangles alone through the device.
void GameFrameReplaySoftwareDevice(benchmark::State& state) {
    TGameFrame& game = GameFrame();
    if (!game.started) {
        state.SkipWithError("the game did not start");
        return;
    }
    present::TDirect3D7Renderer& device = *game.device;
    for (auto _ : state) {
        device.Clear(127, 127, 127);
        for (const TRecordedDraw& d : game.device->draws) {
            const int count = static_cast<int>(d.vertices.size());
            if (d.texture != nullptr) {
                device.DrawTexturedTriangles(*d.texture, d.imageFlags, d.vertices.data(), count,
                                             d.paint);
            } else {
                device.FillTriangles(d.vertices.data(), count, d.paint);
            }
        }
    }
}
BENCHMARK(GameFrameReplaySoftwareDevice)->Unit(benchmark::kMicrosecond);

SDL_BlendMode SdlBlend(int mode) {
    switch (mode) {
    case present::BlendSolid:
        return SDL_BLENDMODE_NONE;
    case present::BlendAdd:
        return SDL_BLENDMODE_ADD;
    case present::BlendMultiply:
        return SDL_BLENDMODE_MOD;
    default:
        return SDL_BLENDMODE_BLEND;
    }
}

// The recorded triangles with SDL_RenderGeometry on SDL's software renderer
// over a 32-bit surface, each texture's top level uploaded once beforehand.
void GameFrameSdlSoftware(benchmark::State& state) {
    TGameFrame& game = GameFrame();
    if (!game.started) {
        state.SkipWithError("the game did not start");
        return;
    }
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_RGB888);
    SDL_Renderer* renderer = surface ? SDL_CreateSoftwareRenderer(surface) : nullptr;
    if (renderer == nullptr) {
        state.SkipWithError("no SDL software renderer");
        SDL_FreeSurface(surface);
        return;
    }
    std::map<const present::TSoftTexture*, SDL_Texture*> textures;
    std::vector<std::vector<SDL_Vertex>> geometry;
    for (const TRecordedDraw& d : game.device->draws) {
        if (d.texture != nullptr && textures.count(d.texture) == 0) {
            const present::TTexelLevel& top = d.texture->Levels().front();
            SDL_Texture* t = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888,
                                               SDL_TEXTUREACCESS_STATIC, top.width, top.height);
            SDL_UpdateTexture(t, nullptr, top.texels.data(), top.width * 4);
            SDL_SetTextureScaleMode(t, (d.imageFlags & present::ImageFiltered) != 0
                                           ? SDL_ScaleModeLinear
                                           : SDL_ScaleModeNearest);
            textures[d.texture] = t;
        }
        const SDL_Color colour{static_cast<Uint8>(d.paint.red), static_cast<Uint8>(d.paint.green),
                               static_cast<Uint8>(d.paint.blue),
                               static_cast<Uint8>(d.paint.alpha * 255.0f)};
        std::vector<SDL_Vertex>& vertices = geometry.emplace_back();
        for (const present::TVertex& v : d.vertices) {
            vertices.push_back({{v.x, v.y}, colour, {v.u, v.v}});
        }
    }
    for (auto _ : state) {
        SDL_SetRenderDrawColor(renderer, 127, 127, 127, 255);
        SDL_RenderClear(renderer);
        for (std::size_t i = 0; i < geometry.size(); ++i) {
            const TRecordedDraw& d = game.device->draws[i];
            SDL_Texture* texture = d.texture != nullptr ? textures[d.texture] : nullptr;
            if (texture != nullptr) {
                SDL_SetTextureBlendMode(texture, SdlBlend(d.paint.blendMode));
            } else {
                SDL_SetRenderDrawBlendMode(renderer, SdlBlend(d.paint.blendMode));
            }
            SDL_RenderGeometry(renderer, texture, geometry[i].data(),
                               static_cast<int>(geometry[i].size()), nullptr, 0);
        }
        SDL_RenderFlush(renderer);
    }
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
}
BENCHMARK(GameFrameSdlSoftware)->Unit(benchmark::kMicrosecond);

} // namespace
