// The presentation facilities (library Kinetra::present, namespace present):
// screen, paced presentation, the immediate-mode 2D drawing state and its
// primitives, bitmap text, images, keyboard and mouse polling, the
// millisecond clock, file reading and the embedded file table. This is the
// facade; the other public headers under <present/...> add images' pixels
// (image.h), streams (stream.h), the embedded file table (embedded_files.h)
// and the platform underneath (host_platform.h, headless.h). Renderers,
// screens and drawing states stay inside the library.
//
// Units: positions in pixels of the logical screen (the size OpenScreen was
// given), x to the right and y downwards; angles in degrees; colour channels
// 0..255 and alpha 0..1; times in milliseconds of the platform's clock.
// Renderers, screens, images and streams are shared references: the caller
// may hold them as long as it likes, and a Null one is what a failed open or
// load returns. Call InitPresent before anything else. Drawing needs an open
// screen: without one, drawing calls draw nothing and only the drawing state
// changes (a detached state that the next OpenScreen replaces). No call
// throws except the stream reads (ReadError, below); bad arguments give a
// Null, false or 0 result, or are ignored, as each declaration says.
//
// Every facility runs on the program's one thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace present {

class TRenderer;
class TDirect3D7Renderer;
class TOpenGLRenderer;
struct TScreen;
struct TImage;
class TStream;

using RendererRef = std::shared_ptr<TRenderer>;
using ScreenRef = std::shared_ptr<TScreen>;
using ImageRef = std::shared_ptr<TImage>;
using StreamRef = std::shared_ptr<TStream>;

// Blend modes.
constexpr int BlendMasked = 1;   // no blending; pixels with alpha > 0.5 only
constexpr int BlendSolid = 2;    // no blending, no alpha test
constexpr int BlendAlpha = 3;    // src * a + dst * (1 - a)
constexpr int BlendAdd = 4;      // src * a + dst
constexpr int BlendMultiply = 5; // dst * src

// Image flags, combined by adding.
constexpr int ImageMasked = 1;
constexpr int ImageFiltered = 2;
constexpr int ImageMipmapped = 4;
constexpr int ImageDefaultFlags = ImageMasked + ImageFiltered;

// Screen flags.
constexpr int ScreenDoubleBuffered = 2;

// ---- Start-up -------------------------------------------------------------

// Initialises the facilities: the image decoder and embedded-file reader, the
// drawing layer, the OpenGL renderer (made current with flags 2), then the
// Direct3D 7 renderer (made current with flags 2). Safe to call again.
void InitPresent();

// ---- Screen and frame -----------------------------------------------------

void SelectRenderer(const RendererRef& renderer, int flags);
RendererRef Direct3D7Renderer(); // always available here
RendererRef OpenGLRenderer();
RendererRef CurrentRenderer(); // renderer of the current drawing state (or the selected one)
// The name CurrentRenderer() gives itself ("Direct3D 7", "OpenGL"); empty
// when there is none.
std::string CurrentRendererName();

// Closes any open screen and opens a new one with a fresh drawing state.
// depth 0 is a window with a client area of width x height; any other depth is
// full screen (falling back to the desktop's mode, letterboxed, with the same
// logical coordinates). Returns Null when no screen can be opened.
ScreenRef OpenScreen(int width, int height, int depth, int refreshHz, int flags);
void CloseScreen();
void PresentFrame(int sync); // 0 at once, 1 vertical blank, -1 paced

// The schedule of paced presentation (PresentFrame(-1)) on the current screen:
// target is the clock reading (ClockMillis) the latest paced frame was due at,
// accumulator the part of a millisecond carried towards the next one, in
// units of 1/refreshHz ms. A driver that saves and restores a run keeps it
// with the rest of its state; OpenScreen starts a fresh one.
struct TPacingSchedule {
    std::uint32_t target = 0;
    int accumulator = 0;
};
// Both false, changing nothing, when no screen is open.
bool GetPacingSchedule(TPacingSchedule& out);
bool SetPacingSchedule(const TPacingSchedule& schedule);

void SetPointerVisible(int visible);
// 1 while the mouse pointer shows over the screens (the start), 0 once hidden.
int PointerVisible();
// The title of the windows screens open in from now on, and of the open one;
// "Morvel (Prototype)" until set.
void SetWindowTitle(const std::string& title);

// ---- Drawing state --------------------------------------------------------

void SetDrawColour(int r, int g, int b);
void SetDrawAlpha(float alpha);
void SetClearColour(int r, int g, int b);
void SetBlendMode(int mode);
void SetLineThickness(float width);
void SetDrawRotation(float degrees);
float GetDrawRotation();
void SetDrawScale(float sx, float sy);
void GetDrawScale(float& sx, float& sy);
void SetDrawOrigin(float x, float y);
void GetDrawOrigin(float& x, float& y);
void GetDrawAnchor(float& x, float& y);

// ---- Drawing --------------------------------------------------------------

void ClearScreen();
void FillEllipse(float x, float y, float width, float height);
void DrawString(const std::string& text, float x, float y);
void DrawImageFrame(const ImageRef& image, float x, float y, int frame);
// Renderer-level operations; the caller has applied origin and anchor.
void RendererFillPolygon(const std::vector<float>& points, float ax, float ay, float tx, float ty);
void RendererDrawLine(float x0, float y0, float x1, float y1, float tx, float ty);
// Frame frame of image as one textured fan (fan != 0, around the first
// vertex) or strip, drawn through the current renderer's own primitives (the
// Direct3D 7 device's DrawPrimitive, OpenGL's immediate mode) rather than the
// drawing layer's triangles. vertices holds x, y, u, v per vertex: x, y local
// points, placed like an image's (less the drawing anchor, turned and scaled
// by the drawing state, moved to the drawing origin); u, v coordinates of the
// frame's renderer copy, whose sides are the next powers of two of the
// frame's (image.h), so the frame itself spans 0 .. width / that side. Drawn
// in the drawing colour and alpha with the blend mode, on an open screen
// only. Nothing for a Null image or a frame out of range; where the frame's
// renderer copy cannot be made, the Direct3D 7 stand-in fills the polygon in
// the colour and OpenGL draws nothing.
void DrawTexturedVertices(const std::vector<float>& vertices, const ImageRef& image, int frame,
                          int fan);

// ---- Images ---------------------------------------------------------------

ImageRef LoadImageFile(const std::string& url, int flags);
ImageRef LoadImageStrip(const std::string& url, int cellWidth, int cellHeight, int firstCell,
                        int cellCount, int flags);
// The size in pixels a PNG file declares in its header, read without decoding
// the picture (so a caller can refuse one too large before paying for it);
// false for anything that does not start like a PNG within the decoder's
// side limit. LoadImageFile may still reject the picture.
bool PictureSize(const std::string& url, int& width, int& height);
void SetImageAnchor(const ImageRef& image, float x, float y);
void SetLoadMaskColour(int r, int g, int b);

// Adds (name, data) to the embedded file table. The bytes are not copied and
// must outlive the program's use of them. Returns 1, or 0 if the name is
// already registered (the first registration stays).
int RegisterEmbeddedFile(const std::string& name, const void* data, std::size_t size);

// ---- Input, time and program ---------------------------------------------

int KeyPressCount(int key);
int IsKeyDown(int key);
// The mouse pointer in the window's client area, in pixels, as of the latest
// event (in a window these are the screen's pixels; a full-screen picture
// scaled to fit is not mapped back), and 1 while button (1 left, 2 middle,
// 3 right) is held, else 0. Like the keys: pending events are processed
// first, and opening or closing a screen releases the buttons.
void GetMousePosition(int& x, int& y);
int IsMouseButtonDown(int button);
std::uint32_t ClockMillis();
double SinDeg(double degrees);
double CosDeg(double degrees);
double Atan2Deg(double y, double x);
double SquareRoot(double x);
[[noreturn]] void ExitProgram();

// Quit requests: the window's close button, SIGINT and SIGTERM. Watching
// clears any earlier request and installs the signal handlers; QuitRequested
// processes pending window events first, like the key queries.
void WatchQuitRequests();

// Empty when windows can be opened; else why not, in one line (no display, or
// only SDL's display-less fallback). A headless platform needs none.
std::string MissingDisplay();
void RequestQuit();
int QuitRequested();

// Windows virtual-key codes used by the game (the key tables are indexed by them).
namespace key {
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int One = 49; // 2, 3 and 4 follow
constexpr int G = 71;
constexpr int X = 88;
// A game controller's d-pad also holds Windows' gamepad codes, which no
// keyboard sends, so that a menu can tell the d-pad from the arrow keys.
constexpr int PadUp = 203;
constexpr int PadDown = 204;
constexpr int PadLeft = 205;
constexpr int PadRight = 206;
} // namespace key

// ---- File reading ---------------------------------------------------------

// Reading past the end of a stream throws ReadError (ReadTextLine gives empty
// text there instead), which a loader catches to
// abandon a read without a result.
struct ReadError {
    std::string what;
};

// Opens a file or an embedded file ("incbin::" + name) for reading; Null if it
// cannot be opened, is not a regular file (never waiting on a FIFO) or fails
// its first read. A file is read as the stream is consumed, not when opened.
StreamRef OpenReadStream(const std::string& url);
void CloseInput(const StreamRef& stream);
int ReadU8(TStream& stream);
std::int32_t ReadI32(TStream& stream);
float ReadF32(TStream& stream);
std::string ReadChars(TStream& stream, int count);
std::string ReadTextLine(TStream& stream);
int FileKind(const std::string& path); // 0 nothing, 1 file, 2 directory
void ChangeDirectory(const std::string& path);
std::string DirectoryOf(const std::string& path);
std::string TrimText(const std::string& text);

} // namespace present
