// The scripted host: what a test schedules runs at the moment it asked for, and events reach
// the sink the way the program expects them.
#include "platform/fake/fake_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/control_names.h"

namespace {

using platform::FakeHost;

class RecordingSink : public ui::EventSink {
 public:
  explicit RecordingSink(FakeHost& host) : host_(host) {}
  int32_t Handle(const ui::Event& e) override {
    events.push_back(std::string(e.window() == ui::WindowId::kMain ? "main " : "score ") +
                     std::string(ui::Name(e.control)) + " " + ui::EventKindName(e.kind) + " " +
                     std::to_string(e.arg1));
    if (close_on_key && e.control == ui::ScoreControl::kWindow &&
        e.kind == ui::EventKind::kKeyPressed) {
      host_.CloseScoreWindow();
    }
    return 0;
  }
  std::vector<std::string> events;
  bool close_on_key = true;

 private:
  FakeHost& host_;
};

TEST(FakeHost, RunsScheduledActionsInsideTheChosenEventsPass) {
  FakeHost host;
  std::vector<std::string> seen;
  host.AtEvents(2, [&] {
    seen.push_back("second");
    host.ProcessPendingEvents();  // nested: this is pass 3
  });
  host.AtEvents(3, [&] { seen.push_back("third"); });
  host.AtEventsWhen([&] { return seen.size() == 2; }, [&] { seen.push_back("when"); });
  host.PostToUiThread([&] { seen.push_back("posted"); });
  host.ProcessPendingEvents();
  host.ProcessPendingEvents();
  host.ProcessPendingEvents();
  EXPECT_EQ(seen, (std::vector<std::string>{"posted", "second", "third", "when"}));
  EXPECT_EQ(host.process_events_calls, 4);
}

TEST(FakeHost, NothingRunsOnceTheProcessHasEnded) {
  FakeHost host;
  bool ran = false;
  host.AtEvents(1, [&] { ran = true; });
  host.ExitProcess(-1);
  host.ExitProcess(0);
  host.ProcessPendingEvents();
  EXPECT_FALSE(ran);
  EXPECT_EQ(host.exit_code, -1) << "the first exit ends the process";
}

TEST(FakeHost, ScoreWindowIsCreatedThenClosedByAKey) {
  FakeHost host;
  RecordingSink sink(host);
  host.Attach(&sink);
  bool open_inside = false;
  host.WhileScoreWindowOpen([&] { open_inside = host.score_window_open; });
  host.OpenScoreWindow();
  EXPECT_TRUE(open_inside);
  EXPECT_FALSE(host.score_window_open);
  EXPECT_EQ(sink.events, (std::vector<std::string>{"score  created 0", "score  key pressed 13"}));
  EXPECT_EQ(host.score_windows_left_open, 0);

  sink.close_on_key = false;
  host.OpenScoreWindow();
  EXPECT_EQ(host.score_windows_left_open, 1) << "nobody closed it";
}

TEST(FakeHost, HotKeysAreRefusedWhenTakenAndDeliveredWhenRegistered) {
  FakeHost host;
  RecordingSink sink(host);
  host.Attach(&sink);
  host.keys_held_elsewhere.insert({0, platform::kVkNumpad9});
  EXPECT_TRUE(host.RegisterHotKey(33001, 0, platform::kVkNumpad8));
  EXPECT_FALSE(host.RegisterHotKey(33002, 0, platform::kVkNumpad8)) << "already ours";
  EXPECT_FALSE(host.RegisterHotKey(33003, 0, platform::kVkNumpad9));
  EXPECT_TRUE(host.PressKeypad(platform::kVkNumpad8));
  EXPECT_FALSE(host.PressKeypad(platform::kVkNumpad9));
  EXPECT_FALSE(host.PressHotKey(platform::kModControl, platform::kVkNumpad8));
  EXPECT_EQ(sink.events, (std::vector<std::string>{"main 热键标签 notification 33001"}));
}

TEST(FakeHost, NumLockTapTogglesAndThreadsCanBeRefused) {
  FakeHost host;
  host.numlock_state = 0;
  host.TapNumLock();
  EXPECT_EQ(host.NumLockKeyState(), 1);
  int runs = 0;
  EXPECT_TRUE(host.StartThread([&] { ++runs; }));
  host.refuse_threads = true;
  EXPECT_FALSE(host.StartThread([&] { ++runs; }));
  EXPECT_EQ(runs, 1);
}

}  // namespace
