// The system-wide keys on Windows: RegisterHotKey on the main window, whose WM_HOTKEY
// messages a native event filter hands to the Win32 implementation.
#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>

#include "app/system_keys.h"
#include "app/system_keys_internal.h"
#include "platform/win32/win32_hot_keys.h"

namespace app {
namespace {

class Win32Keys : public Relay, public QAbstractNativeEventFilter {
 public:
  explicit Win32Keys(QWidget& main_window) : keys_(reinterpret_cast<void*>(main_window.winId())) {
    RelayTo(keys_);
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
  ~Win32Keys() override { QCoreApplication::instance()->removeNativeEventFilter(this); }
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    return type == "windows_generic_MSG" && keys_.HandleNativeMessage(message);
  }

 private:
  platform::Win32HotKeys keys_;
};

}  // namespace

std::unique_ptr<platform::HotKeys> OpenSystemKeys(QWidget& main_window) {
  return std::make_unique<Win32Keys>(main_window);
}

}  // namespace app
