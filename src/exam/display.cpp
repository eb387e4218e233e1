#include "exam/display.h"

#include <string>

#include "exam/texts.h"
#include "platform/host.h"
#include "ui/windows.h"

namespace exam {
namespace {

QuestionRecord* Shown(Context& ctx) { return ctx.paper.At(ctx.current_index); }

void SetPointerByCaption(ui::Label& option) {
  option.set_pointer(option.caption().empty() ? ui::Pointer::kDefault : ui::Pointer::kHand);
}

// The mark for an answered question; no picture for an unanswered one.
void ShowMark(Context& ctx, const QuestionRecord& r) {
  if (r.answer.empty()) return;
  ctx.main.对错.set_picture(r.answer == r.right_key ? ctx.pictures.right_mark
                                                    : ctx.pictures.wrong_mark);
}

}  // namespace

bool IsCurrentIndexValid(const Context& ctx) {
  return ctx.current_index >= 1 && ctx.current_index <= ctx.paper.size();
}

void ShowCurrentQuestion(Context& ctx) {
  if (!IsCurrentIndexValid(ctx)) return;
  ui::MainWindow& w = ctx.main;
  {
    const QuestionRecord& r = *Shown(ctx);
    w.题目.set_caption(r.question);
    w.A.set_caption(r.a);
    w.B.set_caption(r.b);
    w.C.set_caption(r.c);
    w.D.set_caption(r.d);
    for (ui::Label* option : {&w.A, &w.B, &w.C, &w.D}) SetPointerByCaption(*option);
    w.图片框3.set_picture(r.pic);
    if (w.图片框3.picture().empty()) {
      w.图片框3.set_picture(ctx.pictures.placeholder);
    } else {
      w.超文本浏览框1.set_visible(false);
    }
  }

  // Paint the question now. A command run meanwhile may have moved or dropped the paper, so
  // the record is looked up again.
  ctx.host.ProcessPendingEvents();
  if (!IsCurrentIndexValid(ctx)) return;
  const QuestionRecord& r = *Shown(ctx);

  w.您的答案.set_caption(r.answer);
  w.对错.clear_picture();
  w.答对的题图片框.set_visible(false);
  if (w.显示对错选择框.ticked() && !r.answer.empty()) {
    ShowMark(ctx, r);
    if (r.answer == r.right_key) {
      w.答对的题标签.set_caption(std::to_string(ctx.current_index));
      w.答对的题图片框.set_visible(true);
    }
  }
  w.正确答案.set_caption(w.显示答案选择框.ticked() ? r.right_key : std::string());
  if (w.显示分数选择框.ticked()) {
    w.分数标签.set_caption(std::to_string(CountCorrectAnswers(ctx)));
    w.分标签.set_caption(texts::ScoreUnit());
  } else {
    w.分数标签.set_caption("");
    w.分标签.set_caption("");
  }
  w.第标签.set_caption(std::to_string(ctx.current_index));
  w.图形按钮1.set_visible(true);
  w.图形按钮2.set_visible(true);
  w.图形按钮3.set_visible(true);
}

void PreviousQuestion(Context& ctx) {
  if (!IsCurrentIndexValid(ctx)) return;
  ctx.current_index = ctx.current_index > 1 ? ctx.current_index - 1 : ctx.paper.size();
  ctx.main.第标签.set_caption(std::to_string(ctx.current_index));
  ShowCurrentQuestion(ctx);
}

void NextQuestion(Context& ctx) {
  if (!IsCurrentIndexValid(ctx)) return;
  ctx.current_index = ctx.current_index < ctx.paper.size() ? ctx.current_index + 1 : 1;
  ctx.main.第标签.set_caption(std::to_string(ctx.current_index));
  ShowCurrentQuestion(ctx);
}

int32_t CountCorrectAnswers(const Context& ctx) {
  if (!IsCurrentIndexValid(ctx)) return 0;
  int32_t right = 0;
  for (int32_t i = 1; i <= ctx.paper.size(); ++i) {
    const QuestionRecord& r = *ctx.paper.At(i);
    if (r.answer == r.right_key) ++right;
  }
  return right;
}

void RevealRightAnswer(Context& ctx) {
  if (!IsCurrentIndexValid(ctx)) return;
  ctx.main.正确答案.set_caption(Shown(ctx)->right_key);
}

void RefreshRightWrongMark(Context& ctx) {
  ctx.main.对错.clear_picture();
  if (IsCurrentIndexValid(ctx) && ctx.main.显示对错选择框.ticked()) ShowMark(ctx, *Shown(ctx));
  FocusMainWindow(ctx);
}

void RefreshRightAnswer(Context& ctx) {
  const bool show = IsCurrentIndexValid(ctx) && ctx.main.显示答案选择框.ticked();
  ctx.main.正确答案.set_caption(show ? Shown(ctx)->right_key : std::string());
  FocusMainWindow(ctx);
}

void RefreshScore(Context& ctx) {
  ctx.main.分数标签.set_caption("");
  ctx.main.分标签.set_caption("");
  if (IsCurrentIndexValid(ctx) && ctx.main.显示分数选择框.ticked()) {
    ctx.main.分数标签.set_caption(std::to_string(CountCorrectAnswers(ctx)));
    ctx.main.分标签.set_caption(texts::ScoreUnit());
  }
  FocusMainWindow(ctx);
}

void FocusMainWindow(Context& ctx) { ctx.host.FocusMainWindow(); }

}  // namespace exam
