// What the trainer's logic asks of the system and of the window host: pending events, the modal
// score window, focus, message boxes, the end of the process, the web page, system-wide hot
// keys and NumLock, the tick count, a short thread, a short wait.
//
// Every call but PostToUiThread comes from the user-interface thread. Texts are GBK. Virtual
// key codes and modifier flags are those of the Windows keyboard interface; other platforms
// map them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// Hot-key modifier flags.
inline constexpr uint32_t kModControl = 0x0002;

// Virtual-key codes the program names.
inline constexpr uint32_t kVkNumpad0 = 0x60;
inline constexpr uint32_t kVkNumpad1 = 0x61;
inline constexpr uint32_t kVkNumpad2 = 0x62;
inline constexpr uint32_t kVkNumpad3 = 0x63;
inline constexpr uint32_t kVkNumpad4 = 0x64;
inline constexpr uint32_t kVkNumpad6 = 0x66;
inline constexpr uint32_t kVkNumpad8 = 0x68;
inline constexpr uint32_t kVkNumpad9 = 0x69;
inline constexpr uint32_t kVkMultiply = 0x6A;
inline constexpr uint32_t kVkAdd = 0x6B;
inline constexpr uint32_t kVkNumLock = 0x90;

enum class MessageIcon { kNone, kError };

class Host {
 public:
  virtual ~Host() = default;

  // Lets the window handle what is waiting (painting, keys, clicks, timer ticks, posted calls).
  // Commands that run meanwhile run to their end inside this call.
  virtual void ProcessPendingEvents() = 0;

  // Shows the score window, modal, and returns once it has been closed. The host raises the
  // window's "created" event before showing it.
  virtual void OpenScoreWindow() = 0;
  // Closes and destroys the open score window; its OpenScoreWindow call then returns.
  virtual void CloseScoreWindow() = 0;

  // Gives the keyboard focus to the main window itself, not to one of its controls.
  virtual void FocusMainWindow() = 0;

  // A task-modal message box with one OK button and no owner; returns when dismissed.
  virtual void ShowMessageBox(const std::string& text, const std::string& caption,
                              MessageIcon icon) = 0;
  // Ends the process with `code`. A real host does not return; a test host records the call.
  virtual void ExitProcess(int code) = 0;

  // Opens `address` in the default browser. False when that failed.
  virtual bool OpenWebAddress(const std::string& address) = 0;

  // Takes the key (`modifiers`, `virtual_key`) from every application for this program. Its
  // presses then arrive as the notification event of 热键标签 with `id`. False when refused.
  virtual bool RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t virtual_key) = 0;
  // NumLock as the Windows keyboard interface reports it: bit 0 set while NumLock is on, bit 15
  // while the key is held down; 0 means off and up.
  virtual int16_t NumLockKeyState() = 0;
  // A synthetic press and release of NumLock.
  virtual void TapNumLock() = 0;

  // Milliseconds since the system started, wrapping at 2^32.
  virtual uint32_t TickCount() = 0;

  // Starts `task` on a new thread and does not wait for it; false when no thread could start.
  virtual bool StartThread(std::function<void()> task) = 0;
  // Queues `call` to run on the user-interface thread among the pending events. Callable from
  // any thread; the only way another thread may reach the window model.
  virtual void PostToUiThread(std::function<void()> call) = 0;

  // Blocks the user-interface thread for `milliseconds`.
  virtual void Wait(int milliseconds) = 0;
};

}  // namespace platform
