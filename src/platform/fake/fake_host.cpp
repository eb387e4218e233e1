#include "platform/fake/fake_host.h"

#include "ui/control_names.h"

namespace platform {

namespace {
constexpr int32_t kVkReturn = 0x0D;
}  // namespace

void FakeHost::AtEvents(int n, std::function<void()> action) {
  scheduled_.push_back({process_events_calls + (n < 1 ? 1 : n), nullptr, std::move(action)});
}

void FakeHost::AtEventsWhen(std::function<bool()> when, std::function<void()> action) {
  scheduled_.push_back({0, std::move(when), std::move(action)});
}

void FakeHost::WhileScoreWindowOpen(std::function<void()> action) {
  while_score_open_.push_back(std::move(action));
}

bool FakeHost::PressHotKey(uint32_t modifiers, uint32_t virtual_key) {
  if (ended()) return false;
  auto it = hot_keys.find({modifiers, virtual_key});
  if (it == hot_keys.end()) return false;
  Deliver({ui::MainControl::热键标签, ui::EventKind::kNotification, it->second, 0});
  return true;
}

void FakeHost::Tick() { Deliver({ui::MainControl::时钟1, ui::EventKind::kTick}); }

int32_t FakeHost::Deliver(const ui::Event& event) {
  if (sink_ == nullptr || ended()) return 0;
  return sink_->Handle(event);
}

void FakeHost::RunPosted() {
  std::vector<std::function<void()>> due;
  {
    std::lock_guard<std::mutex> lock(posted_mutex_);
    due.swap(posted_);
  }
  for (auto& call : due) {
    if (!ended()) call();
  }
}

void FakeHost::ProcessPendingEvents() {
  ++process_events_calls;
  if (ended()) return;
  RunPosted();
  // Take the due actions out first: an action may schedule more or process events itself.
  std::vector<std::function<void()>> due;
  for (auto it = scheduled_.begin(); it != scheduled_.end();) {
    const bool now = it->at_call != 0 ? it->at_call == process_events_calls : it->when();
    if (now) {
      due.push_back(std::move(it->action));
      it = scheduled_.erase(it);
    } else {
      ++it;
    }
  }
  for (auto& action : due) {
    if (!ended()) action();
  }
}

void FakeHost::OpenScoreWindow() {
  calls.push_back("OpenScoreWindow");
  if (score_window_open) {
    calls.push_back("OpenScoreWindow while one is open");
    return;
  }
  ++score_windows_opened;
  score_window_open = true;
  Deliver({ui::ScoreControl::kWindow, ui::EventKind::kCreated});
  if (!while_score_open_.empty()) {
    auto action = std::move(while_score_open_.front());
    while_score_open_.erase(while_score_open_.begin());
    if (score_window_open && !ended()) action();
  }
  if (score_window_open) {
    Deliver({ui::ScoreControl::kWindow, ui::EventKind::kKeyPressed, kVkReturn});
  }
  if (score_window_open) {
    ++score_windows_left_open;
    score_window_open = false;
  }
}

void FakeHost::CloseScoreWindow() {
  calls.push_back(score_window_open ? "CloseScoreWindow" : "CloseScoreWindow without a window");
  score_window_open = false;
}

void FakeHost::FocusMainWindow() {
  ++focus_calls;
  calls.push_back("FocusMainWindow");
}

void FakeHost::ShowMessageBox(const std::string& text, const std::string& caption,
                              MessageIcon icon) {
  calls.push_back("ShowMessageBox");
  message_boxes.push_back({text, caption, icon});
}

void FakeHost::ExitProcess(int code) {
  calls.push_back("ExitProcess " + std::to_string(code));
  if (!exit_code) exit_code = code;
}

bool FakeHost::OpenWebAddress(const std::string& address) {
  calls.push_back("OpenWebAddress " + address);
  opened_addresses.push_back(address);
  return !web_address_fails;
}

bool FakeHost::RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t virtual_key) {
  calls.push_back("RegisterHotKey " + std::to_string(id));
  const std::pair<uint32_t, uint32_t> key{modifiers, virtual_key};
  if (keys_held_elsewhere.count(key) != 0 || hot_keys.count(key) != 0) return false;
  hot_keys[key] = id;
  return true;
}

void FakeHost::TapNumLock() {
  calls.push_back("TapNumLock");
  ++numlock_taps;
  numlock_state = static_cast<int16_t>(numlock_state ^ 1);
}

bool FakeHost::StartThread(std::function<void()> task) {
  calls.push_back("StartThread");
  if (refuse_threads) return false;
  // The thread "runs" at once; what it posts waits for the next pending-events pass.
  task();
  return true;
}

void FakeHost::PostToUiThread(std::function<void()> call) {
  std::lock_guard<std::mutex> lock(posted_mutex_);
  posted_.push_back(std::move(call));
}

void FakeHost::Wait(int milliseconds) {
  ++waits;
  waited_ms += milliseconds;
}

}  // namespace platform
