#include "app/system_keys.h"

#include <QAbstractEventDispatcher>
#include <QGuiApplication>

#if defined(_WIN32)
#include <QAbstractNativeEventFilter>

#include "platform/win32/win32_hot_keys.h"
#elif defined(EXAMORA_HAVE_X11)
#include <QSocketNotifier>

#include "platform/x11/x11_hot_keys.h"
#endif

namespace app {
namespace {

// Passes the HotKeys calls on to the system's implementation and relays its presses, while it
// owns the Qt objects that feed the implementation from the event loop.
class Relay : public platform::HotKeys {
 public:
  bool Register(int32_t id, uint32_t modifiers, uint32_t virtual_key) override {
    return inner_->Register(id, modifiers, virtual_key);
  }
  int16_t NumLockKeyState() override { return inner_->NumLockKeyState(); }
  void TapNumLock() override { inner_->TapNumLock(); }

 protected:
  // Called once by the derived constructor, when `inner` exists.
  void RelayTo(platform::HotKeys& inner) {
    inner_ = &inner;
    inner_->set_on_pressed([this](int32_t id) { Pressed(id); });
  }

 private:
  platform::HotKeys* inner_ = nullptr;
};

#if defined(_WIN32)

class Win32Keys : public Relay, public QAbstractNativeEventFilter {
 public:
  explicit Win32Keys(QWidget& main_window)
      : keys_(reinterpret_cast<void*>(main_window.winId())) {
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

#elif defined(EXAMORA_HAVE_X11)

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

#endif

}  // namespace

std::unique_ptr<platform::HotKeys> OpenSystemKeys([[maybe_unused]] QWidget& main_window) {
#if defined(_WIN32)
  return std::make_unique<Win32Keys>(main_window);
#elif defined(EXAMORA_HAVE_X11)
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto keys = platform::X11HotKeys::Open();
  if (!keys) return nullptr;
  return std::make_unique<X11Keys>(std::move(keys));
#else
  return nullptr;
#endif
}

}  // namespace app
