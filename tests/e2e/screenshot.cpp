#include "e2e/screenshot.h"

// Qt first: Xlib's macros (Status, None, ...) clash with names in Qt's and gtest's headers.
// clang-format off
#include <QImage>
#include <QString>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on

namespace e2e {

bool Screenshot(const std::string& display, const std::filesystem::path& path) {
  Display* x = XOpenDisplay(display.c_str());
  if (x == nullptr) return false;
  const int screen = DefaultScreen(x);
  const int width = DisplayWidth(x, screen), height = DisplayHeight(x, screen);
  XImage* image = XGetImage(x, RootWindow(x, screen), 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  bool saved = false;
  if (image != nullptr && image->bits_per_pixel == 32) {
    const QImage shot(reinterpret_cast<const uchar*>(image->data), width, height,
                      image->bytes_per_line, QImage::Format_RGB32);
    std::filesystem::create_directories(path.parent_path());
    saved = shot.copy().save(QString::fromStdString(path.string()), "PNG");
  }
  if (image != nullptr) XDestroyImage(image);
  XCloseDisplay(x);
  return saved;
}

}  // namespace e2e
