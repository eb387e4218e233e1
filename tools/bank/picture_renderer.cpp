#include "picture_renderer.h"

namespace banksrc {

using base::ErrorCode;
using base::MakeError;
using base::Result;

namespace {

constexpr char kModuleName[] = "examora-bank-render";

void Append(void* context, const char* bytes, size_t size) {
  static_cast<std::string*>(context)->append(bytes, size);
}

}  // namespace

Result<std::unique_ptr<PictureRenderer>> PictureRenderer::Load() {
  const std::filesystem::path folder = module::ProgramFolder();
  const std::string file = std::string(kModuleName) + module::kSuffix;
  std::string why;
  for (const std::filesystem::path& path :
       {folder / file, folder.parent_path() / "libexec" / "examora" / file}) {
    std::string reason;
    void* loaded = module::Load(path, &reason);
    if (!loaded) {
      why += (why.empty() ? "" : "; ") + reason;
      continue;
    }
    auto render = reinterpret_cast<ExamoraRenderPicture>(
        module::Symbol(loaded, EXAMORA_RENDER_PICTURE_SYMBOL));
    auto end =
        reinterpret_cast<ExamoraRenderEnd>(module::Symbol(loaded, EXAMORA_RENDER_END_SYMBOL));
    if (!render || !end) {
      return MakeError(ErrorCode::kNotFound, path.string() + " is no picture renderer");
    }
    return std::unique_ptr<PictureRenderer>(new PictureRenderer(render, end));
  }
  return MakeError(ErrorCode::kNotFound,
                   "cannot load the picture renderer " + file + " (" + why + ")");
}

Result<std::string> PictureRenderer::Render(const std::filesystem::path& svg) {
  std::string bytes;
  const std::u8string path = svg.u8string();
  switch (render_(reinterpret_cast<const char*>(path.c_str()), &Append, &bytes)) {
    case kExamoraRendered:
      return bytes;
    case kExamoraUnreadable:
      return MakeError(ErrorCode::kIo, "cannot read " + svg.string());
    case kExamoraInvalidSvg:
      return MakeError(ErrorCode::kInvalid, svg.string() + " is no valid SVG");
    case kExamoraUnencodable:
      return MakeError(ErrorCode::kInvalid, "cannot encode " + svg.string());
    default:
      return MakeError(ErrorCode::kInvalid, "the renderer failed on " + svg.string());
  }
}

PictureRenderer::~PictureRenderer() { end_(); }

}  // namespace banksrc
