// A host without windows for tests. It records every call, lets a test decide what happens
// inside "process pending events" (so that commands can be run nested at a chosen moment), and
// delivers hot keys, timer ticks and the score window's events to the attached EventSink.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/host.h"
#include "ui/event_bindings.h"

namespace platform {

class FakeHost : public Host {
 public:
  // --- wiring ---
  // Where delivered events go; `sink` must outlive its use. Null: events are dropped.
  void Attach(ui::EventSink* sink) { sink_ = sink; }

  // --- scripting what happens meanwhile ---
  // Runs `action` inside the n-th ProcessPendingEvents call from now (1: the next one).
  void AtEvents(int n, std::function<void()> action);
  // Runs `action` inside the first ProcessPendingEvents call at which `when` holds.
  void AtEventsWhen(std::function<bool()> when, std::function<void()> action);
  // Runs `action` inside the next opening of the score window, after its "created" event. If
  // the window is still open afterwards, the fake presses Enter on it, as the learner would.
  void WhileScoreWindowOpen(std::function<void()> action);

  // --- what the learner does ---
  // A press of a registered hot key: delivers the notification of 热键标签 with its identifier.
  // False when the key is not registered by this program (it then does nothing here).
  bool PressHotKey(uint32_t modifiers, uint32_t virtual_key);
  bool PressKeypad(uint32_t virtual_key) { return PressHotKey(0, virtual_key); }
  // One period of 时钟1 has elapsed.
  void Tick();
  // Any event, delivered to the sink; its result (0 without a sink or after the process ended).
  int32_t Deliver(const ui::Event& event);
  // Runs the calls posted to the user-interface thread, as the idle event loop would.
  void RunPosted();

  // --- what the system answers ---
  uint32_t tick_count = 1000;
  int16_t numlock_state = 1;  // on
  bool refuse_threads = false;
  bool web_address_fails = false;
  std::set<std::pair<uint32_t, uint32_t>> keys_held_elsewhere;  // (modifiers, key)

  // --- what happened ---
  struct MessageBoxCall {
    std::string text;
    std::string caption;
    MessageIcon icon;
  };
  std::vector<std::string> calls;  // one line per call except events and waits, in order
  int process_events_calls = 0;
  int waited_ms = 0;
  int waits = 0;
  int focus_calls = 0;
  int numlock_taps = 0;
  int score_windows_opened = 0;
  int score_windows_left_open = 0;  // openings nobody closed (the fake closed them itself)
  bool score_window_open = false;
  std::vector<MessageBoxCall> message_boxes;
  std::optional<int> exit_code;
  std::vector<std::string> opened_addresses;
  std::map<std::pair<uint32_t, uint32_t>, int32_t> hot_keys;  // (modifiers, key) -> identifier
  bool ended() const { return exit_code.has_value(); }

  // --- Host ---
  void ProcessPendingEvents() override;
  void OpenScoreWindow() override;
  void CloseScoreWindow() override;
  void FocusMainWindow() override;
  void ShowMessageBox(const std::string& text, const std::string& caption,
                      MessageIcon icon) override;
  void ExitProcess(int code) override;
  bool OpenWebAddress(const std::string& address) override;
  bool RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t virtual_key) override;
  int16_t NumLockKeyState() override { return numlock_state; }
  void TapNumLock() override;
  uint32_t TickCount() override { return tick_count; }
  bool StartThread(std::function<void()> task) override;
  void PostToUiThread(std::function<void()> call) override;
  void Wait(int milliseconds) override;

 private:
  struct Scheduled {
    int at_call = 0;  // 0: use `when`
    std::function<bool()> when;
    std::function<void()> action;
  };

  ui::EventSink* sink_ = nullptr;
  std::vector<Scheduled> scheduled_;
  std::vector<std::function<void()>> while_score_open_;
  std::mutex posted_mutex_;
  std::vector<std::function<void()>> posted_;
};

}  // namespace platform
