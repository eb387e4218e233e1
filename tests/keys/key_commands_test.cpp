// The keypad: registration and NumLock, the dispatcher's guards, the new-paper command step by
// step, and keys pressed while a paper is built, a question painted or a text erased.
#include "keys/key_commands.h"

#include <gtest/gtest.h>

#include <set>

#include "exam/display.h"
#include "exam/exam_fixture.h"
#include "exam/idle.h"
#include "exam/mastery.h"

namespace {

using exam_testing::ExamRig;
using exam_testing::FourOption;
using exam_testing::G;
using namespace platform;

// Routes the hot-key notification and the option labels as the program does.
class KeySink : public exam_testing::ExamSink {
 public:
  KeySink(exam::Context& ctx, keys::HotKeyIds& ids) : ExamSink(ctx), ctx_(ctx), ids_(ids) {}
  int32_t Handle(const ui::Event& event) override {
    auto operation = ui::FindBinding(event.control, event.kind);
    if (operation == ui::Operation::kDispatchKeyCommand) {
      base::Result<void> done = keys::DispatchKeyCommand(ctx_, ids_, event.arg1, event.arg2);
      if (!done) faults.push_back(done.error().fault_code);
      return 0;
    }
    if (operation == ui::Operation::kAnswerByMouse) {
      keys::AnswerByMouse(ctx_, ui::OptionLetter(event.control).value());
      return 0;
    }
    return ExamSink::Handle(event);
  }
  std::vector<int32_t> faults;

 private:
  exam::Context& ctx_;
  keys::HotKeyIds& ids_;
};

std::vector<exam_testing::Question> Bank150() {
  auto questions = FourOption("01", 100);
  auto more = FourOption("02", 50);
  questions.insert(questions.end(), more.begin(), more.end());
  for (size_t i = 0; i < questions.size(); i += 3) {
    questions[i].c.clear();
    questions[i].d.clear();
    questions[i].right_key = "B";
  }
  return questions;
}

class Keys : public ::testing::Test {
 protected:
  explicit Keys(std::vector<exam_testing::Question> questions = FourOption("01", 20))
      : rig({exam_testing::StandardConfig(), std::move(questions), nullptr}), sink(rig.ctx, ids) {
    rig.host.Attach(&sink);
    ids = keys::RegisterHotKeys(rig.host);
    exam::ResetToIdle(rig.ctx);
  }
  void Press(uint32_t key) { EXPECT_TRUE(rig.host.PressKeypad(key)); }
  // The answer key of `letter`: keypad 1, 2, 3 for A to C, keypad 0 for D.
  void Answer(char letter) {
    Press(letter == 'D' ? kVkNumpad0 : kVkNumpad1 + static_cast<uint32_t>(letter - 'A'));
  }
  bool PaperIsConsistent() const {
    const exam::Context& ctx = rig.ctx;
    std::set<std::string> ids_seen;
    for (int32_t i = 1; i <= ctx.paper.size(); ++i) ids_seen.insert(ctx.paper.At(i)->id);
    return ctx.paper.size() <= 100 && ids_seen.size() == static_cast<size_t>(ctx.paper.size()) &&
           exam::IsCurrentIndexValid(ctx) &&
           rig.main.共标签.caption() == std::to_string(ctx.paper.size()) &&
           rig.main.题目.caption() == ctx.paper.At(ctx.current_index)->question;
  }
  ExamRig rig;
  keys::HotKeyIds ids{};
  KeySink sink;
  ui::MainWindow& w = rig.main;
};

class BigKeys : public Keys {
 protected:
  BigKeys() : Keys(Bank150()) {}
};

TEST(RegisterHotKeys, GivesIdentifiersInTableOrderAndZeroForARefusedKey) {
  FakeHost host;
  host.keys_held_elsewhere.insert({0, kVkNumpad4});
  const keys::HotKeyIds ids = keys::RegisterHotKeys(host);
  EXPECT_EQ(ids,
            (keys::HotKeyIds{33001, 33002, 0, 33004, 33005, 33006, 33007, 33008, 33009, 33010}));
  EXPECT_EQ(host.hot_keys.at({0, kVkNumpad8}), 33001);
  EXPECT_EQ(host.hot_keys.at({0, kVkNumpad0}), 33008) << "keypad 0 answers D";
  EXPECT_EQ(host.hot_keys.at({0, kVkAdd}), 33009);
  EXPECT_EQ(host.hot_keys.at({kModControl, kVkMultiply}), 33010);
  EXPECT_EQ(host.hot_keys.count({0, kVkMultiply}), 0u) << "* alone stays an ordinary key";
}

TEST(RegisterHotKeys, SwitchesNumLockOnOnlyWhenOffAndUp) {
  for (auto [state, taps] :
       {std::pair<int16_t, int>{0, 1}, {1, 0}, {int16_t(0x8000), 0}, {int16_t(0x8001), 0}}) {
    FakeHost host;
    host.numlock_state = state;
    (void)keys::RegisterHotKeys(host);
    EXPECT_EQ(host.numlock_taps, taps) << state;
  }
}

TEST_F(Keys, WithoutAPaperOnlyNewPaperAndClearingDoAnything) {
  exam_testing::ChangeCounter counter;
  w.set_observer(&counter);
  for (uint32_t key : {kVkNumpad9, kVkNumpad4, kVkNumpad6, kVkNumpad1, kVkNumpad2, kVkNumpad3,
                       kVkNumpad0, kVkAdd}) {
    Press(key);
  }
  EXPECT_EQ(counter.count, 0) << counter.last;
  EXPECT_EQ(rig.host.score_windows_opened, 0);
  EXPECT_TRUE(rig.host.PressHotKey(kModControl, kVkMultiply));
  EXPECT_EQ(w.及格率标签.caption(), G("已经清空过滤记录！"));
}

TEST_F(Keys, IdentifiersThatAreNoKeyDoNothing) {
  ids[0] = 0;  // as if keypad 8 had been refused
  for (int32_t id : {0, 1, 33000, 33011}) {
    ASSERT_TRUE(keys::DispatchKeyCommand(rig.ctx, ids, id, 0));
  }
  EXPECT_TRUE(rig.ctx.paper.empty());
  EXPECT_EQ(w.正在出题.visible(), false);
}

TEST_F(Keys, NewPaperShowsTheFirstQuestionWithClockAndProgress) {
  std::vector<std::string> during_build;
  rig.host.AtEvents(1, [&] {
    during_build.push_back(w.正在出题.visible() ? "panel shown" : "panel hidden");
    during_build.push_back(w.题目.caption().empty() ? "no text" : "text");
  });
  rig.host.AtEvents(
      2, [&] { during_build.push_back(w.正在出题.visible() ? "panel shown" : "panel hidden"); });
  Press(kVkNumpad8);
  EXPECT_EQ(during_build, (std::vector<std::string>{"panel shown", "no text", "panel hidden"}));
  EXPECT_TRUE(PaperIsConsistent());
  EXPECT_EQ(rig.ctx.paper.size(), 20);
  EXPECT_EQ(rig.ctx.current_index, 1);
  EXPECT_EQ(w.第标签.caption(), "1");
  EXPECT_EQ(w.剩余时间标签.caption(), "45");
  EXPECT_EQ(w.时钟1.period(), 60000);
  EXPECT_EQ(w.及格率标签.caption(), G("共20题，已记住0题，尚余20题，及格率0%"));
  EXPECT_FALSE(w.正在出题.visible());
}

TEST_F(Keys, AnswerKeysStoreTheLetterAndWriteNothingYet) {
  Press(kVkNumpad8);
  const std::string id = rig.ctx.paper.At(1)->id;
  Press(kVkNumpad2);
  Press(kVkNumpad1);
  EXPECT_EQ(rig.ctx.paper.At(1)->answer, "A");
  EXPECT_EQ(w.您的答案.caption(), "A");
  Press(kVkNumpad0);
  EXPECT_EQ(rig.ctx.paper.At(1)->answer, "D") << "keypad 0 answers D";
  EXPECT_EQ(rig.Reserved(id), 0) << "nothing written before the paper ends";
  Press(kVkAdd);
  EXPECT_EQ(w.正确答案.caption(), rig.ctx.paper.At(1)->right_key);
  Press(kVkNumpad6);
  EXPECT_EQ(rig.ctx.current_index, 2);
  Press(kVkNumpad4);
  Press(kVkNumpad4);
  EXPECT_EQ(rig.ctx.current_index, 20);
}

TEST_F(BigKeys, EmptyOptionsIgnoreKeysAndClicks) {
  Press(kVkNumpad8);
  int32_t two = 0;
  for (int32_t i = 1; i <= rig.ctx.paper.size() && two == 0; ++i) {
    if (rig.ctx.paper.At(i)->c.empty()) two = i;
  }
  ASSERT_NE(two, 0);
  rig.ctx.current_index = two;
  exam::ShowCurrentQuestion(rig.ctx);
  Press(kVkNumpad3);
  Press(kVkNumpad0);
  rig.host.Deliver({ui::MainControl::C, ui::EventKind::kLeftReleased, 5, 5, 0});
  EXPECT_EQ(rig.ctx.paper.At(two)->answer, "");
  rig.host.Deliver({ui::MainControl::B, ui::EventKind::kLeftReleased, 5, 5, 0});
  EXPECT_EQ(rig.ctx.paper.At(two)->answer, "B") << "a click answers like the key";
}

TEST_F(Keys, NewPaperDuringAPaperDropsItWithoutAnyWrite) {
  Press(kVkNumpad8);
  for (int32_t i = 1; i <= rig.ctx.paper.size(); ++i) {
    rig.ctx.paper.At(i)->answer = rig.ctx.paper.At(i)->right_key;
  }
  const std::string some = rig.ctx.paper.At(1)->id;
  for (int minute = 0; minute < 10; ++minute) rig.host.Tick();
  EXPECT_EQ(w.剩余时间标签.caption(), "35");
  Press(kVkNumpad8);
  EXPECT_EQ(w.剩余时间标签.caption(), "45");
  EXPECT_EQ(rig.Reserved(some), 0);
  EXPECT_TRUE(PaperIsConsistent());
  for (int32_t i = 1; i <= rig.ctx.paper.size(); ++i) EXPECT_EQ(rig.ctx.paper.At(i)->answer, "");
}

TEST_F(Keys, HandInKeyEndsThePaperThroughTheScoreWindow) {
  Press(kVkNumpad8);
  const std::string id = rig.ctx.paper.At(1)->id;
  Answer(rig.ctx.paper.At(1)->right_key[0]);
  std::string score;
  rig.host.WhileScoreWindowOpen([&] {
    score = rig.score.分数标签.caption();
    EXPECT_FALSE(rig.host.PressKeypad(0x65)) << "not a hot key";
    Press(kVkNumpad9);  // the paper is already gone: nothing
  });
  Press(kVkNumpad9);
  EXPECT_EQ(rig.host.score_windows_opened, 1);
  EXPECT_EQ(score, "1");
  EXPECT_EQ(rig.Reserved(id), 1);
  EXPECT_EQ(w.题目.caption(), G("模拟考试建议使用【小键盘】操作。请按【8】键出题。"));
}

TEST_F(BigKeys, NewPaperPressedWhileAPaperIsBuiltIsAnsweredByThatPaper) {
  // Pass 1 is the new-paper command's own; passes 2 to 51 follow the 50 removals.
  rig.host.AtEvents(10, [&] { Press(kVkNumpad8); });
  rig.host.AtEvents(30, [&] { Press(kVkNumpad8); });
  Press(kVkNumpad8);
  EXPECT_EQ(rig.ctx.paper.size(), 100);
  EXPECT_TRUE(PaperIsConsistent());
  EXPECT_TRUE(sink.faults.empty());
}

TEST_F(BigKeys, NewPaperPressedBeforeOrAfterTheBuildLeavesOnePaper) {
  rig.host.AtEvents(1, [&] { Press(kVkNumpad8); });  // while the panel is painted
  Press(kVkNumpad8);
  EXPECT_TRUE(PaperIsConsistent());
  EXPECT_EQ(rig.ctx.paper.size(), 100);
  const int calls = rig.host.process_events_calls;
  rig.host.AtEvents(52, [&] { Press(kVkNumpad8); });  // after the build, before the display
  Press(kVkNumpad8);
  EXPECT_GT(rig.host.process_events_calls, calls + 52);
  EXPECT_TRUE(PaperIsConsistent());
  EXPECT_EQ(rig.ctx.paper.size(), 100);
  EXPECT_FALSE(w.正在出题.visible());
}

TEST_F(Keys, NewPaperPressedWhileAQuestionIsPaintedShowsTheNewPaper) {
  Press(kVkNumpad8);
  rig.ctx.paper.At(2)->answer = "A";
  rig.host.AtEvents(1, [&] { Press(kVkNumpad8); });
  Press(kVkNumpad6);  // NextQuestion paints question 2, the new paper arrives meanwhile
  EXPECT_TRUE(PaperIsConsistent());
  EXPECT_EQ(rig.ctx.current_index, 1);
  EXPECT_EQ(w.您的答案.caption(), "") << "the old paper's answer is not shown";
  EXPECT_EQ(w.第标签.caption(), "1");
}

TEST_F(Keys, NewPaperPressedWhileATextIsErasedKeepsTheNewPaperWhole) {
  Press(kVkNumpad8);
  const std::string marked = rig.ctx.paper.At(1)->id;
  rig.host.AtEvents(3, [&] { Press(kVkNumpad8); });
  exam::MarkMastered(rig.ctx);
  EXPECT_EQ(rig.Reserved(marked), 2);
  EXPECT_EQ(rig.ctx.paper.size(), 19) << "the new paper already left the mastered one out";
  EXPECT_TRUE(PaperIsConsistent());
}

// What the learner sees change, in order: each property change of the main window (control
// names UTF-8, captions GBK), and "events" for every pass of pending events.
class ScreenLog : public ui::ControlObserver {
 public:
  explicit ScreenLog(platform::FakeHost& host) {
    host.AtEventsWhen(
        [this] {
          if (recording) lines.push_back("events");
          return false;
        },
        [] {});
  }
  void ControlChanged(const ui::Control& control, ui::Property property) override {
    if (!recording) return;
    std::string line = std::string(control.name()) + " " + ui::PropertyName(property);
    if (property == ui::Property::kCaption) {
      line += "=" + static_cast<const ui::CaptionedControl&>(control).caption();
    } else if (property == ui::Property::kVisible) {
      line += control.visible() ? "=shown" : "=hidden";
    }
    lines.push_back(line);
  }
  bool recording = true;
  std::vector<std::string> lines;
};

std::string Caption(const std::string& name, const std::string& gbk) {
  return name + " " + ui::PropertyName(ui::Property::kCaption) + "=" + gbk;
}
std::string Shown(const std::string& name, bool shown) {
  return name + " " + ui::PropertyName(ui::Property::kVisible) + (shown ? "=shown" : "=hidden");
}
std::string Changed(const std::string& name, ui::Property property) {
  return name + " " + ui::PropertyName(property);
}

TEST_F(Keys, NewPaperChangesTheScreenInItsOrder) {
  w.显示分数选择框.set_ticked(true);
  w.显示答案选择框.set_ticked(true);
  Press(kVkNumpad8);
  Press(kVkNumpad6);
  Answer(rig.ctx.paper.At(2)->right_key[0]);
  rig.host.Tick();
  ASSERT_TRUE(w.答对的题图片框.visible());
  ASSERT_EQ(w.分标签.caption(), G("分"));

  ScreenLog log(rig.host);
  w.set_observer(&log);
  Press(kVkNumpad8);
  w.set_observer(nullptr);
  log.recording = false;
  const exam::QuestionRecord& first = *rig.ctx.paper.At(1);
  using P = ui::Property;
  // clang-format off
  const std::vector<std::string> expected = {
      // ResetToIdle
      Caption("题目", G("模拟考试建议使用【小键盘】操作。请按【8】键出题。")),
      Caption("A", ""), Caption("B", ""), Caption("C", ""), Caption("D", ""),
      Changed("A", P::kPointer), Changed("B", P::kPointer), Changed("C", P::kPointer),
      Changed("D", P::kPointer),
      Changed("图片框3", P::kPicture),
      Caption("您的答案", ""),
      Changed("对错", P::kPicture),
      Caption("正确答案", ""), Caption("分数标签", ""), Caption("分标签", ""), Caption("共标签", ""),
      Caption("第标签", ""),
      Shown("图形按钮1", false), Shown("图形按钮2", false), Shown("图形按钮3", false),
      Caption("及格率标签", ""),
      Shown("答对的题图片框", false),
      // the question text removed, the preparing panel painted
      Caption("题目", ""),
      Shown("正在出题", true),
      "events",
      // the build
      Caption("共标签", "20"),
      Shown("正在出题", false),
      "events",
      // the first question, painted before the rest
      Caption("题目", first.question),
      Caption("A", first.a), Caption("B", first.b), Caption("C", first.c), Caption("D", first.d),
      Changed("A", P::kPointer), Changed("B", P::kPointer), Changed("C", P::kPointer),
      Changed("D", P::kPointer),
      Changed("图片框3", P::kPicture),
      "events",
      Caption("正确答案", first.right_key),
      Caption("分数标签", "0"), Caption("分标签", G("分")),
      Caption("第标签", "1"),
      Shown("图形按钮1", true), Shown("图形按钮2", true), Shown("图形按钮3", true),
      // the clock (already running: only the label), then the progress line
      Caption("剩余时间标签", "45"),
      Caption("及格率标签", G("共20题，已记住0题，尚余20题，及格率0%")),
  };
  // clang-format on
  EXPECT_EQ(log.lines, expected);
}

class OtherClassKeys : public Keys {
 protected:
  static std::vector<exam_testing::Question> Questions() {
    auto questions = FourOption("01", 20);
    auto motorcycle = FourOption("11", 7);
    motorcycle[2].reserved = 2;
    motorcycle[5].reserved = 3;
    questions.insert(questions.end(), motorcycle.begin(), motorcycle.end());
    return questions;
  }
  OtherClassKeys() : Keys(Questions()) {}
};

TEST_F(OtherClassKeys, NewPaperUsesTheSelectedClassForPaperAndProgressLine) {
  w.组合框1.set_selection(4);  // DEF: category 11 only
  Press(kVkNumpad8);
  ASSERT_EQ(rig.ctx.paper.size(), 5) << "the two mastered ones left out";
  for (const std::string& id : rig.PaperIds()) EXPECT_TRUE(id.starts_with("11")) << id;
  EXPECT_EQ(w.及格率标签.caption(), G("共7题，已记住2题，尚余5题，及格率28%"));

  w.组合框1.set_selection(1);  // A1A3B1: categories 01, 02 and 08
  Press(kVkNumpad8);
  EXPECT_EQ(rig.ctx.paper.size(), 20);
  EXPECT_EQ(w.及格率标签.caption(), G("共20题，已记住0题，尚余20题，及格率0%"));
}

}  // namespace
