// Answers, the paper clock, hand-in and time-up, and the score window.
#include "exam/answers.h"

#include <gtest/gtest.h>

#include "exam/display.h"
#include "exam/idle.h"
#include "exam_fixture.h"

namespace {

using exam_testing::ExamRig;
using exam_testing::G;
using exam_testing::PutPaper;

class Answers : public ::testing::Test {
 protected:
  Answers() : rig({exam_testing::StandardConfig(), {}, nullptr}) {
    w.启用过滤选择框.set_ticked(false);  // these papers are not in the bank
  }
  // Starts a paper of `n` records as the new-paper command does.
  void Start(int n) {
    exam::ResetToIdle(ctx);
    PutPaper(ctx, n);
    exam::ShowCurrentQuestion(ctx);
    exam::StartPaperClock(ctx);
  }
  ExamRig rig;
  ui::MainWindow& w = rig.main;
  exam::Context& ctx = rig.ctx;
};

TEST_F(Answers, AnAnswerIsShownAndTheLastOneCounts) {
  Start(4);
  exam::RecordAnswer(ctx, 'B');
  EXPECT_EQ(w.您的答案.caption(), "B");
  EXPECT_EQ(w.对错.picture(), "WRONG-GIF");
  exam::RecordAnswer(ctx, 'A');
  EXPECT_EQ(ctx.paper.At(1)->answer, "A");
  EXPECT_EQ(w.对错.picture(), "RIGHT-GIF");
  EXPECT_EQ(exam::CountCorrectAnswers(ctx), 1);
}

TEST_F(Answers, AnswersForMissingOptionsOrWithoutAPaperChangeNothing) {
  Start(3);
  ctx.current_index = 3;  // two options
  exam::ShowCurrentQuestion(ctx);
  exam_testing::ChangeCounter counter;
  w.set_observer(&counter);
  exam::RecordAnswer(ctx, 'C');
  exam::RecordAnswer(ctx, 'D');
  exam::RecordAnswer(ctx, 'E');
  EXPECT_EQ(ctx.paper.At(3)->answer, "");
  EXPECT_EQ(counter.count, 0);
  exam::ResetToIdle(ctx);
  counter.count = 0;
  exam::RecordAnswer(ctx, 'A');
  EXPECT_EQ(counter.count, 0);
}

TEST_F(Answers, AutoNextMovesOnAndWrapsFromTheLast) {
  Start(100);
  w.自动下一题选择框.set_ticked(true);
  exam::RecordAnswer(ctx, 'A');
  EXPECT_EQ(ctx.current_index, 2);
  EXPECT_EQ(w.您的答案.caption(), "") << "the next question is shown, not the mark";
  ctx.current_index = 100;
  exam::RecordAnswer(ctx, 'B');
  EXPECT_EQ(ctx.paper.At(100)->answer, "B");
  EXPECT_EQ(ctx.current_index, 1);
  EXPECT_EQ(w.题目.caption(), "Q1");
}

TEST_F(Answers, ClockCountsDownAndTheFortyFifthTickEndsThePaper) {
  Start(10);
  EXPECT_EQ(w.剩余时间标签.caption(), "45");
  EXPECT_EQ(w.时钟1.period(), 60000);
  rig.host.Tick();
  EXPECT_EQ(w.剩余时间标签.caption(), "44");
  for (int minute = 2; minute <= 36; ++minute) rig.host.Tick();
  EXPECT_EQ(w.剩余时间标签.caption(), "09");
  for (int minute = 37; minute <= 44; ++minute) rig.host.Tick();
  EXPECT_EQ(w.剩余时间标签.caption(), "01");
  EXPECT_EQ(rig.host.score_windows_opened, 0);
  ctx.paper.At(2)->answer = "B";
  std::string score;
  rig.host.WhileScoreWindowOpen([&] { score = rig.score.分数标签.caption(); });
  rig.host.Tick();
  EXPECT_EQ(rig.host.score_windows_opened, 1);
  EXPECT_EQ(score, "1");
  EXPECT_EQ(w.剩余时间标签.caption(), "00");
  EXPECT_EQ(w.时钟1.period(), 0);
  EXPECT_EQ(ctx.current_index, 0);
  EXPECT_EQ(rig.host.score_windows_left_open, 0);
}

TEST_F(Answers, HandInShowsTheScoreOverAnIdleWindow) {
  Start(100);
  for (int32_t i = 1; i <= 37; ++i) ctx.paper.At(i)->answer = ctx.paper.At(i)->right_key;
  for (int32_t i = 38; i <= 60; ++i) ctx.paper.At(i)->answer = "X";
  rig.host.Tick();  // 44
  std::string score, hint, minutes;
  rig.host.WhileScoreWindowOpen([&] {
    score = rig.score.分数标签.caption();
    hint = w.题目.caption();
    minutes = w.剩余时间标签.caption();
  });
  exam::HandInPaper(ctx);
  EXPECT_EQ(score, "37");
  EXPECT_EQ(hint, G("模拟考试建议使用【小键盘】操作。请按【8】键出题。"));
  EXPECT_EQ(minutes, "00");
  EXPECT_EQ(w.时钟1.period(), 0);
  EXPECT_FALSE(rig.host.score_window_open);
}

TEST_F(Answers, ScoreWindowIsCreatedAnewEachTime) {
  Start(2);
  rig.score.分数标签.set_caption("leftover");
  std::string at_creation;
  // What the window shows before its created handler runs: its design caption.
  struct Peek : ui::EventSink {
    Peek(exam_testing::ExamSink& s, ui::ScoreWindow& w, std::string& out)
        : sink(s), window(w), seen(out) {}
    int32_t Handle(const ui::Event& e) override {
      if (e.window() == ui::WindowId::kScore && e.kind == ui::EventKind::kCreated) {
        seen = window.分数标签.caption();
      }
      return sink.Handle(e);
    }
    exam_testing::ExamSink& sink;
    ui::ScoreWindow& window;
    std::string& seen;
  } peek(rig.sink, rig.score, at_creation);
  rig.host.Attach(&peek);
  exam::HandInPaper(ctx);
  EXPECT_EQ(at_creation, "98");
  EXPECT_EQ(rig.score.分数标签.caption(), "0");
}

TEST_F(Answers, HandInWithoutAQuestionDoesNothingButTheClockStillRunsOut) {
  exam::ResetToIdle(ctx);
  exam::StartPaperClock(ctx);  // a paper whose build found nothing
  exam::HandInPaper(ctx);
  EXPECT_EQ(rig.host.score_windows_opened, 0);
  EXPECT_EQ(w.时钟1.period(), 60000);
  std::string score;
  rig.host.WhileScoreWindowOpen([&] { score = rig.score.分数标签.caption(); });
  for (int minute = 1; minute <= 45; ++minute) rig.host.Tick();
  EXPECT_EQ(rig.host.score_windows_opened, 1);
  EXPECT_EQ(score, "0");
}

TEST_F(Answers, ARestartedClockKeepsItsRhythm) {
  Start(5);
  for (int minute = 1; minute <= 10; ++minute) rig.host.Tick();
  EXPECT_EQ(w.剩余时间标签.caption(), "35");
  exam_testing::ChangeCounter counter;
  w.set_observer(&counter);
  exam::StartPaperClock(ctx);
  EXPECT_EQ(w.剩余时间标签.caption(), "45");
  EXPECT_EQ(counter.count, 1) << "only the label; the period was already one minute";
  EXPECT_EQ(counter.last, "剩余时间标签");
}

}  // namespace
