// platform::Host on Qt: the event loop for pending events, a modal score window built from
// the model, message boxes, the desktop's URL handler, a tick count, threads, and the keypad
// hot keys, taken system-wide through a platform::HotKeys object when the system has one, and
// otherwise (Wayland, offscreen) from the key presses that reach the program's own windows.
//
// Every event of both windows reaches the logic through Deliver, the one bridge.
#pragma once

#include <QObject>
#include <cstdio>
#include <functional>
#include <map>
#include <utility>

#include "platform/host.h"
#include "platform/hot_keys.h"
#include "ui/event_bindings.h"
#include "ui/windows.h"

class QEventLoop;

namespace ui::qt {

class WindowView;

class QtHost : public QObject, public platform::Host {
  Q_OBJECT

 public:
  QtHost();
  ~QtHost() override;

  // --- wiring (before the first event) ---
  void Attach(EventSink* sink) { sink_ = sink; }
  void set_main_view(WindowView* view) { main_view_ = view; }
  void set_score_window(ScoreWindow* window) { score_window_ = window; }
  // System-wide keys; null (the default) takes the keys from the program's own windows.
  void SetSystemKeys(platform::HotKeys* keys);
  // What ExitProcess does; by default the process ends at once with the code.
  void set_exit(std::function<void(int)> exit) { exit_ = std::move(exit); }
  // Appends a line to the file at `path` each time an event has run to its end: depth
  // (1 outermost), window, control (- for the window), event, first argument. For watching the
  // program from outside (the end-to-end test, a learner's bug report). False when the file
  // cannot be opened.
  bool OpenEventLog(const std::string& path);

  // The bridge: runs `event` through the logic and returns the notification's result.
  int32_t Deliver(const Event& event);
  // How many deliveries are running (more than one: nested commands).
  int delivering() const { return depth_; }
  // The score window while it is open, else null.
  WindowView* score_view() const;
  // The main window was closed: the program ends, at once also in the middle of a command.
  void MainWindowClosed();

  // --- platform::Host ---
  void ProcessPendingEvents() override;
  void OpenScoreWindow() override;
  void CloseScoreWindow() override;
  void FocusMainWindow() override;
  void ShowMessageBox(const std::string& text, const std::string& caption,
                      platform::MessageIcon icon) override;
  void ExitProcess(int code) override;
  bool OpenWebAddress(const std::string& address) override;
  bool RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t virtual_key) override;
  int16_t NumLockKeyState() override;
  void TapNumLock() override;
  uint32_t TickCount() override;
  bool StartThread(std::function<void()> task) override;
  void PostToUiThread(std::function<void()> call) override;
  void Wait(int milliseconds) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct ScoreSession {
    WindowView* view = nullptr;
    QEventLoop* loop = nullptr;
    bool closed = false;
  };

  EventSink* sink_ = nullptr;
  WindowView* main_view_ = nullptr;
  ScoreWindow* score_window_ = nullptr;
  platform::HotKeys* system_keys_ = nullptr;
  // Keys taken from the program's own windows: (modifiers, virtual key) -> identifier.
  std::map<std::pair<uint32_t, uint32_t>, int32_t> window_keys_;
  bool filtering_ = false;
  ScoreSession* score_ = nullptr;
  int depth_ = 0;
  std::function<void(int)> exit_;
  std::FILE* event_log_ = nullptr;
};

}  // namespace ui::qt
