// The system side of the keypad hot keys: taking a key from every application, and NumLock.
// The Qt host owns one HotKeys object for the main window and forwards the Host calls
// RegisterHotKey, NumLockKeyState and TapNumLock to it; each press of a registered key comes
// back as its identifier through the callback the host installed.
//
// Keys and modifiers are named as in host.h (Windows virtual-key codes, kModControl); each
// system maps them to its own codes.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

namespace platform {

class HotKeys {
 public:
  virtual ~HotKeys() = default;

  // Takes (`modifiers`, `virtual_key`) from every application; its presses are then reported
  // with `id`. False, silently, when the system or another client holds the key already or
  // the key is not one this program knows.
  virtual bool Register(int32_t id, uint32_t modifiers, uint32_t virtual_key) = 0;

  // NumLock as the Windows keyboard interface reports it: bit 0 set while on, bit 15 while the
  // key is held down.
  virtual int16_t NumLockKeyState() = 0;
  // A synthetic press and release of NumLock.
  virtual void TapNumLock() = 0;

  // Where presses go: called on the user-interface thread with the registered identifier.
  void set_on_pressed(std::function<void(int32_t)> on_pressed) {
    on_pressed_ = std::move(on_pressed);
  }

 protected:
  void Pressed(int32_t id) const {
    if (on_pressed_) on_pressed_(id);
  }

 private:
  std::function<void(int32_t)> on_pressed_;
};

}  // namespace platform
