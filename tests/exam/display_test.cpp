// Showing a question: what goes where, the mark and the badge, pointers and pictures, the
// score over the whole paper, stepping with wrap-around, the display check boxes, and commands
// that run while the question is being painted.
#include "exam/display.h"

#include <gtest/gtest.h>

#include "exam/idle.h"
#include "exam_fixture.h"

namespace {

using exam_testing::ExamRig;
using exam_testing::PutPaper;

class Display : public ::testing::Test {
 protected:
  Display() : rig({exam_testing::StandardConfig(), {}, nullptr}) {}
  ExamRig rig;
  ui::MainWindow& w = rig.main;
  exam::Context& ctx = rig.ctx;
};

TEST_F(Display, WithoutAPaperNothingChanges) {
  exam::ResetToIdle(ctx);
  exam_testing::ChangeCounter counter;
  w.set_observer(&counter);
  exam::ShowCurrentQuestion(ctx);
  exam::PreviousQuestion(ctx);
  exam::NextQuestion(ctx);
  exam::RevealRightAnswer(ctx);
  EXPECT_EQ(counter.count, 0) << counter.last;
  EXPECT_EQ(exam::CountCorrectAnswers(ctx), 0);
  w.显示分数选择框.set_ticked(true);
  exam::RefreshScore(ctx);
  EXPECT_EQ(w.分数标签.caption(), "");
  EXPECT_EQ(w.分标签.caption(), "");
  EXPECT_EQ(rig.host.focus_calls, 1);
  EXPECT_EQ(rig.host.process_events_calls, 0);
}

TEST_F(Display, ShowsTheRecordAndPaintsBeforeTheRest) {
  exam::ResetToIdle(ctx);
  PutPaper(ctx, 4);
  ctx.current_index = 2;
  ctx.paper.At(2)->answer = "A";  // right key of 2 is B
  std::string answer_during_paint = "unset";
  rig.host.AtEvents(1, [&] { answer_during_paint = w.您的答案.caption(); });
  exam::ShowCurrentQuestion(ctx);
  EXPECT_EQ(w.题目.caption(), "Q2");
  EXPECT_EQ(w.A.caption(), "a2");
  EXPECT_EQ(w.D.caption(), "d2");
  EXPECT_EQ(w.图片框3.picture(), "PIC2");
  EXPECT_EQ(answer_during_paint, "") << "the answer is filled in after the paint";
  EXPECT_EQ(w.您的答案.caption(), "A");
  EXPECT_EQ(w.对错.picture(), "WRONG-GIF");
  EXPECT_FALSE(w.答对的题图片框.visible());
  EXPECT_EQ(w.正确答案.caption(), "") << "显示答案 is not ticked";
  EXPECT_EQ(w.分数标签.caption(), "");
  EXPECT_EQ(w.第标签.caption(), "2");
  EXPECT_TRUE(w.图形按钮1.visible() && w.图形按钮2.visible() && w.图形按钮3.visible());
}

TEST_F(Display, TwoOptionQuestionOnlyOffersAAndB) {
  PutPaper(ctx, 3);
  ctx.current_index = 3;
  exam::ShowCurrentQuestion(ctx);
  EXPECT_EQ(w.A.pointer(), ui::Pointer::kHand);
  EXPECT_EQ(w.B.pointer(), ui::Pointer::kHand);
  EXPECT_EQ(w.C.caption(), "");
  EXPECT_EQ(w.C.pointer(), ui::Pointer::kDefault);
  EXPECT_EQ(w.D.pointer(), ui::Pointer::kDefault);
}

TEST_F(Display, QuestionWithoutPictureShowsThePlaceholder) {
  PutPaper(ctx, 2);
  w.超文本浏览框1.set_visible(true);
  exam::ShowCurrentQuestion(ctx);
  EXPECT_EQ(w.图片框3.picture(), "PLACEHOLDER-JPEG");
  EXPECT_TRUE(w.超文本浏览框1.visible()) << "hidden only for a question with a picture";
  exam::NextQuestion(ctx);
  EXPECT_EQ(w.图片框3.picture(), "PIC2");
  EXPECT_FALSE(w.超文本浏览框1.visible());
}

TEST_F(Display, MarkAndBadgeFollowTheAnswer) {
  PutPaper(ctx, 12);
  ctx.current_index = 12;
  exam::ShowCurrentQuestion(ctx);
  EXPECT_TRUE(w.对错.picture().empty()) << "unanswered: no mark";
  EXPECT_FALSE(w.答对的题图片框.visible());

  ctx.paper.At(12)->answer = "A";  // 12 is a two-option question, right key A
  exam::ShowCurrentQuestion(ctx);
  EXPECT_EQ(w.对错.picture(), "RIGHT-GIF");
  EXPECT_TRUE(w.答对的题图片框.visible());
  EXPECT_EQ(w.答对的题标签.caption(), "12");

  // Unticking the box takes the mark away; the badge stays until the next question.
  w.显示对错选择框.set_ticked(false);
  exam::RefreshRightWrongMark(ctx);
  EXPECT_TRUE(w.对错.picture().empty());
  EXPECT_TRUE(w.答对的题图片框.visible());
  exam::ShowCurrentQuestion(ctx);
  EXPECT_FALSE(w.答对的题图片框.visible());

  w.显示对错选择框.set_ticked(true);
  ctx.paper.At(12)->answer = "B";
  exam::RefreshRightWrongMark(ctx);
  EXPECT_EQ(w.对错.picture(), "WRONG-GIF");
  EXPECT_FALSE(w.答对的题图片框.visible());
}

TEST_F(Display, ScoreCountsRightAnswersOverTheWholePaper) {
  PutPaper(ctx, 100);
  int right = 0;
  for (int32_t i = 1; i <= 100; ++i) {
    auto* r = ctx.paper.At(i);
    if (i % 2 == 1 && i <= 73) {  // 37 of them
      r->answer = r->right_key;
      ++right;
    } else if (i % 4 == 0) {
      r->answer = r->right_key == "A" ? "B" : "A";
    }
  }
  ASSERT_EQ(right, 37);
  EXPECT_EQ(exam::CountCorrectAnswers(ctx), 37);
  w.显示分数选择框.set_ticked(true);
  exam::RefreshScore(ctx);
  EXPECT_EQ(w.分数标签.caption(), "37");
  EXPECT_EQ(w.分标签.caption(), exam_testing::G("分"));
  for (int32_t i : {1, 50, 100}) {
    ctx.current_index = i;
    exam::ShowCurrentQuestion(ctx);
    EXPECT_EQ(w.分数标签.caption(), "37") << "on question " << i;
  }
  w.显示分数选择框.set_ticked(false);
  exam::RefreshScore(ctx);
  EXPECT_EQ(w.分数标签.caption(), "");
  EXPECT_EQ(w.分标签.caption(), "");

  // An unanswered question scores only when its right key is empty too.
  ctx.paper.At(98)->right_key = "";
  EXPECT_EQ(exam::CountCorrectAnswers(ctx), 38);
  ctx.paper.At(100)->answer = ctx.paper.At(100)->right_key;
  EXPECT_EQ(exam::CountCorrectAnswers(ctx), 39) << "the last question counts as well";
}

TEST_F(Display, SteppingWrapsAtBothEnds) {
  PutPaper(ctx, 5);
  exam::PreviousQuestion(ctx);
  EXPECT_EQ(ctx.current_index, 5);
  EXPECT_EQ(w.题目.caption(), "Q5");
  exam::NextQuestion(ctx);
  EXPECT_EQ(ctx.current_index, 1);
  EXPECT_EQ(w.第标签.caption(), "1");
  exam::NextQuestion(ctx);
  EXPECT_EQ(w.题目.caption(), "Q2");

  PutPaper(ctx, 1);
  w.题目.set_caption("");
  exam::NextQuestion(ctx);
  EXPECT_EQ(ctx.current_index, 1);
  EXPECT_EQ(w.题目.caption(), "Q1") << "redrawn";
  exam::PreviousQuestion(ctx);
  EXPECT_EQ(ctx.current_index, 1);
}

TEST_F(Display, RightAnswerOnDemandLastsUntilTheNextQuestion) {
  PutPaper(ctx, 3);
  exam::ShowCurrentQuestion(ctx);
  exam::RevealRightAnswer(ctx);
  EXPECT_EQ(w.正确答案.caption(), "A");
  exam::NextQuestion(ctx);
  EXPECT_EQ(w.正确答案.caption(), "");
  w.显示答案选择框.set_ticked(true);
  exam::RefreshRightAnswer(ctx);
  EXPECT_EQ(w.正确答案.caption(), "B");
  exam::ResetToIdle(ctx);
  w.正确答案.set_caption("X");
  exam::RefreshRightAnswer(ctx);
  EXPECT_EQ(w.正确答案.caption(), "") << "no paper: emptied";
  EXPECT_EQ(rig.host.focus_calls, 2);
}

TEST_F(Display, UntickingShowAnswerEmptiesTheRightAnswer) {
  PutPaper(ctx, 3);
  w.显示答案选择框.set_ticked(true);
  exam::ShowCurrentQuestion(ctx);
  ASSERT_EQ(w.正确答案.caption(), "A");
  w.显示答案选择框.set_ticked(false);
  exam::RefreshRightAnswer(ctx);
  EXPECT_EQ(w.正确答案.caption(), "") << "a paper, but the box unticked";
  exam::RevealRightAnswer(ctx);
  exam::RefreshRightAnswer(ctx);
  EXPECT_EQ(w.正确答案.caption(), "") << "also a revealed answer goes";
  EXPECT_EQ(rig.host.focus_calls, 2);
}

TEST_F(Display, ACommandDuringThePaintIsFollowedByTheRest) {
  PutPaper(ctx, 6);
  ctx.paper.At(4)->answer = "D";  // right key of 4 is D
  rig.host.AtEvents(1, [&] {
    exam::NextQuestion(ctx);
    exam::NextQuestion(ctx);
  });
  ctx.current_index = 2;
  exam::ShowCurrentQuestion(ctx);
  // The nested steps moved to 4; the outer call finishes on the record now current.
  EXPECT_EQ(ctx.current_index, 4);
  EXPECT_EQ(w.题目.caption(), "Q4");
  EXPECT_EQ(w.您的答案.caption(), "D");
  EXPECT_EQ(w.第标签.caption(), "4");
  EXPECT_EQ(w.答对的题标签.caption(), "4");
}

TEST_F(Display, APaperDroppedDuringThePaintStopsTheRest) {
  PutPaper(ctx, 3);
  rig.host.AtEvents(1, [&] { exam::ResetToIdle(ctx); });
  exam::ShowCurrentQuestion(ctx);
  EXPECT_EQ(ctx.current_index, 0);
  EXPECT_EQ(w.题目.caption(), exam_testing::G("模拟考试建议使用【小键盘】操作。请按【8】键出题。"));
  EXPECT_FALSE(w.图形按钮1.visible());
  EXPECT_EQ(w.第标签.caption(), "");
}

TEST(ResetToIdle, EmptiesThePaperAndTheQuestionArea) {
  ExamRig rig({exam_testing::StandardConfig(), {}, nullptr});
  ui::MainWindow& w = rig.main;
  PutPaper(rig.ctx, 4);
  rig.ctx.paper.At(2)->answer = "B";
  rig.ctx.current_index = 2;
  w.显示分数选择框.set_ticked(true);
  exam::ShowCurrentQuestion(rig.ctx);
  w.时钟1.set_period(60000);
  w.剩余时间标签.set_caption("31");
  w.组合框1.set_selection(2);
  w.及格率标签.set_caption("x");
  exam::ResetToIdle(rig.ctx);
  EXPECT_TRUE(rig.ctx.paper.empty());
  EXPECT_EQ(rig.ctx.current_index, 0);
  for (const ui::Label* label : {&w.A, &w.B, &w.C, &w.D}) {
    EXPECT_EQ(label->caption(), "");
    EXPECT_EQ(label->pointer(), ui::Pointer::kDefault);
  }
  for (const ui::Label* label :
       {&w.您的答案, &w.正确答案, &w.分数标签, &w.分标签, &w.共标签, &w.第标签}) {
    EXPECT_EQ(label->caption(), "") << label->name();
  }
  EXPECT_TRUE(w.图片框3.picture().empty());
  EXPECT_TRUE(w.对错.picture().empty());
  EXPECT_FALSE(w.图形按钮1.visible() || w.图形按钮2.visible() || w.图形按钮3.visible());
  EXPECT_FALSE(w.答对的题图片框.visible());
  EXPECT_EQ(w.及格率标签.caption(), "");
  // Left alone: the clock, its label, the class and the boxes.
  EXPECT_EQ(w.时钟1.period(), 60000);
  EXPECT_EQ(w.剩余时间标签.caption(), "31");
  EXPECT_EQ(w.组合框1.selection(), 2);
  EXPECT_TRUE(w.显示分数选择框.ticked());
}

}  // namespace
