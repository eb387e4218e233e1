// The boundary between examora-bank and its picture renderer, a module of its own (Qt's SVG
// renderer and image writers) that only `build` loads, so that every other verb starts without
// Qt. Plain C, so that nothing but bytes and numbers crosses it.
#pragma once

#include <cstddef>

extern "C" {

// Receives the finished picture; `bytes` is valid only during the call.
typedef void (*ExamoraPictureSink)(void* context, const char* bytes, size_t size);

// examora_render_picture(svg_path, sink, context): renders the SVG file at `svg_path` (UTF-8)
// the way the bank ships pictures (400 x 400, GIF when flat, JPEG otherwise) and hands the
// bytes to `sink`. Starts Qt (offscreen unless QT_QPA_PLATFORM says otherwise) on first use.
// Returns one of ExamoraRenderResult.
typedef int (*ExamoraRenderPicture)(const char* svg_path, ExamoraPictureSink sink, void* context);
// examora_render_end(): shuts Qt down again; call once, after the last picture.
typedef void (*ExamoraRenderEnd)(void);

enum ExamoraRenderResult {
  kExamoraRendered = 0,
  kExamoraUnreadable = 1,    // the SVG file cannot be read
  kExamoraInvalidSvg = 2,    // it is no SVG the renderer understands
  kExamoraUnencodable = 3,   // the picture cannot be encoded
  kExamoraRenderFailed = 4,  // anything else went wrong inside the renderer
};

}  // extern "C"

#define EXAMORA_RENDER_PICTURE_SYMBOL "examora_render_picture"
#define EXAMORA_RENDER_END_SYMBOL "examora_render_end"
