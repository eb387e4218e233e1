#include "exam/answers.h"

#include <string>

#include "exam/display.h"
#include "exam/idle.h"
#include "exam/mastery.h"
#include "platform/host.h"
#include "ui/windows.h"

namespace exam {
namespace {

constexpr int kMinute = 60000;
constexpr int kPaperMinutes = 45;

// The caption's leading decimal digits as a number (0 when there are none).
int MinutesIn(const std::string& caption) {
  int minutes = 0;
  for (char c : caption) {
    if (c < '0' || c > '9' || minutes > 100000) break;
    minutes = minutes * 10 + (c - '0');
  }
  return minutes;
}

// The paper has ended: clock stopped, counters written back, score shown until closed.
void EndPaper(Context& ctx) {
  ctx.main.时钟1.set_period(0);
  ctx.main.剩余时间标签.set_caption("00");
  // The write-back reports nothing, whatever the bank answers.
  if (ctx.main.启用过滤选择框.ticked()) (void)WriteBackMastery(ctx);
  ctx.score.Restore();  // the score window is created anew each time
  ctx.host.OpenScoreWindow();
}

}  // namespace

void RecordAnswer(Context& ctx, char letter) {
  if (!IsCurrentIndexValid(ctx)) return;
  ui::Label* option = ctx.main.OptionLabel(letter);
  if (option == nullptr || option->caption().empty()) return;
  ctx.paper.At(ctx.current_index)->answer = std::string(1, letter);
  if (ctx.main.自动下一题选择框.ticked()) {
    NextQuestion(ctx);
  } else {
    ShowCurrentQuestion(ctx);
  }
}

void StartPaperClock(Context& ctx) {
  ctx.main.剩余时间标签.set_caption(std::to_string(kPaperMinutes));
  ctx.main.时钟1.set_period(kMinute);
}

void PaperClockTick(Context& ctx) {
  const int left = MinutesIn(ctx.main.剩余时间标签.caption()) - 1;
  const std::string padded = "00" + std::to_string(left);
  ctx.main.剩余时间标签.set_caption(padded.substr(padded.size() - 2));
  if (left > 0) return;
  EndPaper(ctx);
}

void HandInPaper(Context& ctx) {
  if (!IsCurrentIndexValid(ctx)) return;
  EndPaper(ctx);
}

void ShowPaperScore(Context& ctx) {
  ctx.score.分数标签.set_caption(std::to_string(CountCorrectAnswers(ctx)));
  ResetToIdle(ctx);
}

void CloseScoreWindow(Context& ctx) { ctx.host.CloseScoreWindow(); }

}  // namespace exam
