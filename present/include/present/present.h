/// @file
/// The presentation facilities (library Kinetra::present, namespace present):
/// screen, paced presentation, the immediate-mode 2D drawing state and its
/// primitives, bitmap text, images, keyboard and mouse polling, the
/// millisecond clock, file reading and the embedded file table. This is the
/// facade; the other public headers under <present/...> add images' pixels
/// (image.h), streams (stream.h), the embedded file table (embedded_files.h)
/// and the platform underneath (host_platform.h, headless.h). Renderers,
/// screens and drawing states stay inside the library.
///
/// Units: positions in pixels of the logical screen (the size OpenScreen was
/// given), x to the right and y downwards; angles in degrees; colour channels
/// 0..255 and alpha 0..1; times in milliseconds of the platform's clock.
/// Renderers, screens, images and streams are shared references: the caller
/// may hold them as long as it likes, and a Null one is what a failed open or
/// load returns. Call InitPresent before anything else. Drawing needs an open
/// screen: without one, drawing calls draw nothing and only the drawing state
/// changes (a detached state that the next OpenScreen replaces). No call
/// throws except the stream reads (TReadError, below); bad arguments give a
/// Null, false or 0 result, or are ignored, as each declaration says.
///
/// Every facility runs on the program's one thread.
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

/// A renderer (Direct3D 7 stand-in or OpenGL), shared.
using RendererRef = std::shared_ptr<TRenderer>;
/// An open screen, shared.
using ScreenRef = std::shared_ptr<TScreen>;
/// An image, shared.
using ImageRef = std::shared_ptr<TImage>;
/// A read stream, shared.
using StreamRef = std::shared_ptr<TStream>;

/// How drawing meets what is on the screen. The values are those the layer has
/// always used.
enum class TBlendMode : std::int32_t {
    Masked = 1,   ///< No blending; only pixels with alpha above 0.5 are drawn.
    Solid = 2,    ///< No blending, no alpha test.
    Alpha = 3,    ///< src * a + dst * (1 - a).
    Add = 4,      ///< src * a + dst.
    Multiply = 5, ///< dst * src.
};

/// How an image is loaded and sampled; flags combine with |.
enum class TImageFlags : std::int32_t {
    None = 0,      ///< Nearest sampling, nothing transparent.
    Masked = 1,    ///< The load mask colour becomes transparent (pictures without alpha).
    Filtered = 2,  ///< Bilinear sampling.
    Mipmapped = 4, ///< Sampled from mip levels when drawn smaller.
    /// For LoadImageFile and LoadImageStrip only: Masked | Filtered.
    Default = -1,
};

/// The flags of both.
constexpr TImageFlags operator|(TImageFlags a, TImageFlags b) {
    return static_cast<TImageFlags>(static_cast<std::int32_t>(a) | static_cast<std::int32_t>(b));
}

/// Whether flags has any of the bits of wanted.
constexpr bool HasFlag(TImageFlags flags, TImageFlags wanted) {
    return (static_cast<std::int32_t>(flags) & static_cast<std::int32_t>(wanted)) != 0;
}

/// How a renderer presents its frames.
enum class TScreenFlags : std::int32_t {
    None = 0,           ///< The renderer's own default.
    DoubleBuffered = 2, ///< Frames are drawn off screen and shown whole.
};

/// The flags of both.
constexpr TScreenFlags operator|(TScreenFlags a, TScreenFlags b) {
    return static_cast<TScreenFlags>(static_cast<std::int32_t>(a) | static_cast<std::int32_t>(b));
}

// ---- Start-up -------------------------------------------------------------

/// Initialises the facilities: the image decoder and embedded-file reader, the
/// drawing layer, the OpenGL renderer (made current with flags 2), then the
/// Direct3D 7 renderer (made current with flags 2). Safe to call again.
void InitPresent();

// ---- Screen and frame -----------------------------------------------------

/// Closes any open screen and makes renderer the one the next OpenScreen
/// opens with, adding flags to the screen's. A Null renderer makes OpenScreen
/// fail until another is selected.
void SelectRenderer(const RendererRef& renderer, TScreenFlags flags);
RendererRef Direct3D7Renderer(); ///< always available here
/// The OpenGL 1.1 renderer, made once; Null where it cannot be made.
RendererRef OpenGLRenderer();
RendererRef CurrentRenderer(); ///< renderer of the current drawing state (or the selected one)
/// The name CurrentRenderer() gives itself ("Direct3D 7", "OpenGL"); empty
/// when there is none.
std::string CurrentRendererName();

/// Closes any open screen and opens a new one with a fresh drawing state.
/// depth 0 is a window with a client area of width x height; any other depth is
/// full screen (falling back to the desktop's mode, letterboxed, with the same
/// logical coordinates). Returns Null when no screen can be opened.
ScreenRef OpenScreen(int width, int height, int depth, int refreshHz, TScreenFlags flags);
/// Closes the open screen (its window goes, held keys and buttons are
/// released); nothing when none is open.
void CloseScreen();
void PresentFrame(int sync); ///< 0 at once, 1 vertical blank, -1 paced

/// The schedule of paced presentation (PresentFrame(-1)) on the current screen:
/// target is the clock reading (ClockMillis) the latest paced frame was due at,
/// accumulator the part of a millisecond carried towards the next one, in
/// units of 1/refreshHz ms. A driver that saves and restores a run keeps it
/// with the rest of its state; OpenScreen starts a fresh one.
struct TPacingSchedule {
    std::uint32_t target = 0; ///< When the latest paced frame was due, ClockMillis.
    int accumulator = 0;      ///< Carried part of a millisecond, 1/refreshHz ms units.
};
/// Both false, changing nothing, when no screen is open.
bool GetPacingSchedule(TPacingSchedule& out);
/// Restores a schedule GetPacingSchedule gave; false, changing nothing,
/// when no screen is open.
bool SetPacingSchedule(const TPacingSchedule& schedule);

/// Shows (non-zero) or hides (0) the mouse pointer over the screens, now
/// and for screens opened later.
void SetPointerVisible(int visible);
/// 1 while the mouse pointer shows over the screens (the start), 0 once hidden.
int PointerVisible();
/// The title of the windows screens open in from now on, and of the open one;
/// "Morvel (Prototype)" until set.
void SetWindowTitle(const std::string& title);

// ---- Drawing state --------------------------------------------------------

/// The colour shapes, lines, text and tinted images are drawn in; each
/// channel clamped to 0..255.
void SetDrawColour(int r, int g, int b);
/// The opacity of what is drawn, clamped to 0..1 (NaN gives 0).
void SetDrawAlpha(float alpha);
/// The colour ClearScreen fills with; each channel clamped to 0..255.
void SetClearColour(int r, int g, int b);
/// How drawing meets the screen; a value that is none of TBlendMode's is
/// ignored, and so is the mode already set.
void SetBlendMode(TBlendMode mode);
/// Width of RendererDrawLine's lines in pixels; 0, negative or not finite
/// draws no line.
void SetLineThickness(float width);
/// Rotation of shapes, text and images about their anchor, degrees
/// clockwise on screen.
void SetDrawRotation(float degrees);
/// The rotation SetDrawRotation set, degrees.
float GetDrawRotation();
/// Scale of shapes, text and images about their anchor, per axis.
void SetDrawScale(float sx, float sy);
/// The scale SetDrawScale set.
void GetDrawScale(float& sx, float& sy);
/// Offset added to every drawing position, pixels: the game's view of the
/// course.
void SetDrawOrigin(float x, float y);
/// The offset SetDrawOrigin set.
void GetDrawOrigin(float& x, float& y);
/// The point of shapes and text placed at the drawing position, before
/// rotation and scale: (0, 0) on every new screen. Images use their own anchor.
void GetDrawAnchor(float& x, float& y);

// ---- Drawing --------------------------------------------------------------

/// Fills the screen with the clear colour; nothing without an open screen.
void ClearScreen();
/// Fills the ellipse in the box whose top-left corner is (x, y) (less the
/// anchor, turned and scaled), in the drawing colour; nothing for a size that
/// is not finite or without an open screen.
void FillEllipse(float x, float y, float width, float height);
/// Draws text in the built-in 8 x 16 font from (x, y), one cell a byte;
/// bytes without a glyph are skipped without advancing.
void DrawString(const std::string& text, float x, float y);
/// Draws frame frame of image with its anchor at (x, y), turned and scaled by
/// the drawing state and tinted by the drawing colour and alpha; nothing for a
/// Null image, a frame out of range or without an open screen.
void DrawImageFrame(const ImageRef& image, float x, float y, int frame);
/// Renderer-level operations; the caller has applied origin and anchor.
void RendererFillPolygon(const std::vector<float>& points, float ax, float ay, float tx, float ty);
/// A line from (x0, y0) to (x1, y1), moved by (tx, ty), of the line
/// thickness, in the drawing colour; nothing for a line of no length.
void RendererDrawLine(float x0, float y0, float x1, float y1, float tx, float ty);
/// Frame frame of image as one textured fan (fan != 0, around the first
/// vertex) or strip, drawn through the current renderer's own primitives (the
/// Direct3D 7 device's DrawPrimitive, OpenGL's immediate mode) rather than the
/// drawing layer's triangles. vertices holds x, y, u, v per vertex: x, y local
/// points, placed like an image's (less the drawing anchor, turned and scaled
/// by the drawing state, moved to the drawing origin); u, v coordinates of the
/// frame's renderer copy, whose sides are the next powers of two of the
/// frame's (image.h), so the frame itself spans 0 .. width / that side. Drawn
/// in the drawing colour and alpha with the blend mode, on an open screen
/// only. Nothing for a Null image or a frame out of range; where the frame's
/// renderer copy cannot be made, the Direct3D 7 stand-in fills the polygon in
/// the colour and OpenGL draws nothing.
void DrawTexturedVertices(const std::vector<float>& vertices, const ImageRef& image, int frame,
                          int fan);

// ---- Images ---------------------------------------------------------------

/// Loads a PNG file or embedded picture as a one-frame image, anchored at
/// (0, 0); with TImageFlags::Masked, pixels of the load mask colour become
/// transparent in a picture without alpha. Null for a missing, unreadable or
/// corrupt picture or one past the decoder's limits.
ImageRef LoadImageFile(const std::string& url, TImageFlags flags);
/// Loads cellCount frames of cellWidth x cellHeight from a picture cut into
/// cells, row by row, starting at cell firstCell. Null for sizes or counts
/// below 1, a negative first cell, more cells than the picture holds, or a
/// picture LoadImageFile would refuse.
ImageRef LoadImageStrip(const std::string& url, int cellWidth, int cellHeight, int firstCell,
                        int cellCount, TImageFlags flags);
/// The size in pixels a PNG file declares in its header, read without decoding
/// the picture (so a caller can refuse one too large before paying for it);
/// false for anything that does not start like a PNG within the decoder's
/// side limit. LoadImageFile may still reject the picture.
bool PictureSize(const std::string& url, int& width, int& height);
/// Sets the point of the image placed at the drawing position, in its
/// pixels; nothing for a Null image.
void SetImageAnchor(const ImageRef& image, float x, float y);
/// The colour the next masked loads make transparent; each channel clamped
/// to 0..255.
void SetLoadMaskColour(int r, int g, int b);

/// Adds (name, data) to the embedded file table. The bytes are not copied and
/// must outlive the program's use of them. Returns 1, or 0 if the name is
/// already registered (the first registration stays).
int RegisterEmbeddedFile(const std::string& name, const void* data, std::size_t size);

// ---- Input, time and program ---------------------------------------------

/// How many times key (a virtual-key code) went down since the last call
/// for it, and resets that count; 0 for a code out of range. Pending events
/// are processed first.
int KeyPressCount(int key);
/// 1 while key is held, else 0 (also for a code out of range). Pending
/// events are processed first.
int IsKeyDown(int key);
/// The mouse pointer in the window's client area, in pixels, as of the latest
/// event (in a window these are the screen's pixels; a full-screen picture
/// scaled to fit is not mapped back), and 1 while button (1 left, 2 middle,
/// 3 right) is held, else 0. Like the keys: pending events are processed
/// first, and opening or closing a screen releases the buttons.
void GetMousePosition(int& x, int& y);
/// 1 while button is held, else 0 (see GetMousePosition).
int IsMouseButtonDown(int button);
/// The platform's millisecond clock; it wraps after 2^32 ms.
std::uint32_t ClockMillis();
/// Sine of an angle in degrees, in double precision.
double SinDeg(double degrees);
/// Cosine of an angle in degrees, in double precision.
double CosDeg(double degrees);
/// The direction of (x, y) in degrees, in [-180, 180].
double Atan2Deg(double y, double x);
/// The square root; NaN below 0.
double SquareRoot(double x);
/// Closes the screen and ends the program with status 0.
[[noreturn]] void ExitProgram();

/// Quit requests: the window's close button, SIGINT and SIGTERM. Watching
/// clears any earlier request and installs the signal handlers; QuitRequested
/// processes pending window events first, like the key queries.
void WatchQuitRequests();

/// Empty when windows can be opened; else why not, in one line (no display, or
/// only SDL's display-less fallback). A headless platform needs none.
std::string MissingDisplay();
/// Asks the program to quit, as the close button would.
void RequestQuit();
/// 1 once a quit was requested since WatchQuitRequests, else 0.
int QuitRequested();

/// Windows virtual-key codes used by the game (the key tables are indexed by them).
namespace key {
/// The codes, as plain ints since IsKeyDown takes any code.
enum : int {
    Enter = 13,  ///< Enter, and the keypad's.
    Escape = 27, ///< Escape.
    Space = 32,  ///< The space bar.
    Left = 37,   ///< Left arrow.
    Up = 38,     ///< Up arrow.
    Right = 39,  ///< Right arrow.
    Down = 40,   ///< Down arrow.
    One = 49,    ///< 2, 3 and 4 follow
    G = 71,      ///< G.
    X = 88,      ///< X.
    // A game controller's d-pad also holds Windows' gamepad codes, which no
    // keyboard sends, so that a menu can tell the d-pad from the arrow keys.
    PadUp = 203,    ///< The d-pad's up.
    PadDown = 204,  ///< The d-pad's down.
    PadLeft = 205,  ///< The d-pad's left.
    PadRight = 206, ///< The d-pad's right.
};
} // namespace key

// ---- File reading ---------------------------------------------------------

/// Reading past the end of a stream throws TReadError (ReadTextLine gives empty
/// text there instead), which a loader catches to
/// abandon a read without a result.
struct TReadError {
    std::string what; ///< What the read wanted.
};

/// Opens a file or an embedded file ("incbin::" + name) for reading; Null if it
/// cannot be opened, is not a regular file (never waiting on a FIFO) or fails
/// its first read. A file is read as the stream is consumed, not when opened.
StreamRef OpenReadStream(const std::string& url);
/// Closes the stream: later reads fail. Nothing for a Null stream.
void CloseInput(const StreamRef& stream);
/// The next byte, 0..255; throws TReadError at the end.
int ReadU8(TStream& stream);
/// The next little-endian 32-bit signed integer; throws TReadError when
/// fewer than 4 bytes remain.
std::int32_t ReadI32(TStream& stream);
/// The next little-endian 32-bit float, bit for bit (NaNs kept); throws
/// TReadError when fewer than 4 bytes remain.
float ReadF32(TStream& stream);
/// The next count bytes as they are; throws TReadError when fewer remain
/// or count is negative.
std::string ReadChars(TStream& stream, int count);
/// The bytes up to the next line feed or NUL (not included), carriage
/// returns dropped; at the end, whatever is left (empty there).
std::string ReadTextLine(TStream& stream);
int FileKind(const std::string& path); ///< 0 nothing, 1 file, 2 directory
/// Makes path the current directory; nothing when it cannot be.
void ChangeDirectory(const std::string& path);
/// The directory part of path without its trailing slashes: "." for a bare
/// name, "/" for a file in the root.
std::string DirectoryOf(const std::string& path);
/// text without its leading and trailing bytes below 33 (spaces, control
/// characters, NULs).
std::string TrimText(const std::string& text);

} // namespace present
