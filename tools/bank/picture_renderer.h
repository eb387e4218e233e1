// The picture renderer as `build` uses it: loads the renderer module (render_module.h) from the
// program's own folder, or from ../libexec/examora beside it for an installed program, and turns
// SVG sources into the pictures the bank ships.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "base/result.h"
#include "render_module.h"

namespace banksrc {

class PictureRenderer {
 public:
  // kNotFound when the module is in neither place or lacks its entry points.
  static base::Result<std::unique_ptr<PictureRenderer>> Load();

  // The picture for `svg`: kIo when the file cannot be read, kInvalid when it cannot be
  // rendered or encoded.
  base::Result<std::string> Render(const std::filesystem::path& svg);

  // Shuts the renderer's Qt down. The module stays loaded until the program ends: Qt does not
  // expect to be unloaded.
  ~PictureRenderer();

 private:
  PictureRenderer(ExamoraRenderPicture render, ExamoraRenderEnd end) : render_(render), end_(end) {}
  ExamoraRenderPicture render_;
  ExamoraRenderEnd end_;
};

namespace module {
// Implemented once per platform (module_posix.cpp, module_win32.cpp).
std::filesystem::path ProgramFolder();
// The loaded module at `path`, or nullptr with the reason in `why`.
void* Load(const std::filesystem::path& path, std::string* why);
void* Symbol(void* module, const char* name);
extern const char kSuffix[];  // ".so", ".dll"
}  // namespace module

}  // namespace banksrc
