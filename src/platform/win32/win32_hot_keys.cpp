// RegisterHotKey, WM_HOTKEY, GetKeyState and keybd_event behind the HotKeys interface.
#include "platform/win32/win32_hot_keys.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>

namespace platform {

Win32HotKeys::Win32HotKeys(void* window) : window_(window) {}

Win32HotKeys::~Win32HotKeys() {
  for (int32_t id : ids_) ::UnregisterHotKey(static_cast<HWND>(window_), id);
}

bool Win32HotKeys::Register(int32_t id, uint32_t modifiers, uint32_t virtual_key) {
  if (!::RegisterHotKey(static_cast<HWND>(window_), id, static_cast<UINT>(modifiers),
                        static_cast<UINT>(virtual_key))) {
    return false;
  }
  // One identifier may carry several keys; each is unregistered with it.
  if (std::find(ids_.begin(), ids_.end(), id) == ids_.end()) ids_.push_back(id);
  return true;
}

int16_t Win32HotKeys::NumLockKeyState() { return static_cast<int16_t>(::GetKeyState(VK_NUMLOCK)); }

void Win32HotKeys::TapNumLock() {
  ::keybd_event(VK_NUMLOCK, 0, KEYEVENTF_EXTENDEDKEY, 0);
  ::keybd_event(VK_NUMLOCK, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
}

bool Win32HotKeys::HandleNativeMessage(const void* message) {
  const MSG* msg = static_cast<const MSG*>(message);
  if (!msg || msg->message != WM_HOTKEY || msg->hwnd != static_cast<HWND>(window_)) return false;
  // wParam carries the identifier given to RegisterHotKey.
  const int32_t id = static_cast<int32_t>(msg->wParam);
  if (std::find(ids_.begin(), ids_.end(), id) == ids_.end()) return false;
  Pressed(id);
  return true;
}

}  // namespace platform
