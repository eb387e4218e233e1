// What the system-wide keys of each system share (system_keys_x11.cpp, system_keys_win32.cpp):
// a HotKeys object that passes the calls on to the system's implementation and relays its
// presses, while the derived class owns the Qt objects that feed that implementation.
#pragma once

#include "platform/hot_keys.h"

namespace app {

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

}  // namespace app
