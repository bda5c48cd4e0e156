// The page around the browser build: its canvas, its address, its messages.
// These are implemented in JavaScript (page.js beside this header); the program calls them
// from its one thread, between the browser's events.
#pragma once

#include <cstdint>

extern "C" {

// Shows width x height RGBA pixels (rows top down, 4 bytes a pixel) on the
// canvas, first giving the canvas that size. fullscreen asks for the browser's
// full screen, where the picture is scaled to fit; where the browser refuses,
// the canvas is scaled to fit the page instead.
void morvel_page_show(const std::uint8_t* rgba, int width, int height, int fullscreen);

// The value of a parameter of the page's address (?name=value), or Null when
// it is absent. The caller frees it.
char* morvel_page_option(const char* name);

// The program has ended with this exit status; message, when not empty, says
// why, and is shown on the page. The page offers to start again.
void morvel_page_ended(int status, const char* message);

// Fetches url, relative to the page; the text arrives through
// morvel_web_script_arrived, or the reason through morvel_web_script_failed.
void morvel_page_fetch(const char* url);

// Shows (1) or hides (0) the mouse pointer over the canvas.
void morvel_page_pointer(int visible);

// A line on the browser's console, as a warning.
void morvel_page_warn(const char* text);

// The document's title.
void morvel_page_title(const char* text);

} // extern "C"
