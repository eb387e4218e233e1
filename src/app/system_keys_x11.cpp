// The system-wide keys on X11: the program's own connection to the X server, read whenever
// the Qt event loop sees it readable or is about to sleep. None on other Qt platforms (a
// Wayland session without XWayland, offscreen).
#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QSocketNotifier>

#include "app/system_keys.h"
#include "app/system_keys_internal.h"
#include "platform/x11/x11_hot_keys.h"

namespace app {
namespace {

class X11Keys : public Relay {
 public:
  explicit X11Keys(std::unique_ptr<platform::X11HotKeys> keys)
      : keys_(std::move(keys)), notifier_(keys_->connection_fd(), QSocketNotifier::Read) {
    RelayTo(*keys_);
    QObject::connect(&notifier_, &QSocketNotifier::activated, &context_,
                     [this] { keys_->ProcessPending(); });
    // Xlib may have read presses into its own queue while doing something else; they are
    // taken before the loop goes to sleep.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
      QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &context_,
                       [this] { keys_->ProcessPending(); });
    }
  }

 private:
  std::unique_ptr<platform::X11HotKeys> keys_;
  QObject context_;
  QSocketNotifier notifier_;
};

}  // namespace

std::unique_ptr<platform::HotKeys> OpenSystemKeys(QWidget&) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto keys = platform::X11HotKeys::Open();
  if (!keys) return nullptr;
  return std::make_unique<X11Keys>(std::move(keys));
}

}  // namespace app
