// The hot keys on Windows: RegisterHotKey on the main window, and the WM_HOTKEY messages the
// host hands over from its native event filter. The header keeps windows.h out of the host.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/hot_keys.h"

namespace platform {

class Win32HotKeys : public HotKeys {
 public:
  // `window` is the main window's HWND; it must outlive this object.
  explicit Win32HotKeys(void* window);
  // Unregisters the keys registered here.
  ~Win32HotKeys() override;
  Win32HotKeys(const Win32HotKeys&) = delete;
  Win32HotKeys& operator=(const Win32HotKeys&) = delete;

  // `modifiers` and `virtual_key` go to the system unchanged.
  bool Register(int32_t id, uint32_t modifiers, uint32_t virtual_key) override;
  int16_t NumLockKeyState() override;
  void TapNumLock() override;

  // `message` is a MSG*. A WM_HOTKEY for the window with an identifier registered here is
  // reported through Pressed and taken (true); anything else is left to the caller (false).
  bool HandleNativeMessage(const void* message);

 private:
  void* window_;
  std::vector<int32_t> ids_;
};

}  // namespace platform
