// The picture renderer module (see render_module.h): the only part of examora-bank that links Qt.
#include "render_module.h"

#include <QFile>
#include <QGuiApplication>

#include "raster.h"

#if defined(_WIN32)
#define EXAMORA_RENDER_EXPORT __declspec(dllexport)
#else
#define EXAMORA_RENDER_EXPORT __attribute__((visibility("default")))
#endif

namespace {

int app_argc = 1;
char app_name[] = "examora-bank";
char* app_argv[] = {app_name, nullptr};
QGuiApplication* app = nullptr;

// The SVG renderer needs a GUI application object; no screen is needed.
void StartQt() {
  if (QGuiApplication::instance()) return;
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  app = new QGuiApplication(app_argc, app_argv);
}

}  // namespace

extern "C" EXAMORA_RENDER_EXPORT int examora_render_picture(const char* svg_path,
                                                            ExamoraPictureSink sink,
                                                            void* context) {
  try {
    StartQt();
    QFile file(QString::fromUtf8(svg_path));
    if (!file.open(QIODevice::ReadOnly)) return kExamoraUnreadable;
    const QImage image = art::RenderSvg(file.readAll(), QSize(400, 400));
    if (image.isNull()) return kExamoraInvalidSvg;
    const std::string bytes = art::EncodePicture(image);
    if (bytes.empty()) return kExamoraUnencodable;
    sink(context, bytes.data(), bytes.size());
    return kExamoraRendered;
  } catch (...) {
    return kExamoraRenderFailed;
  }
}

extern "C" EXAMORA_RENDER_EXPORT void examora_render_end(void) {
  delete app;
  app = nullptr;
}
