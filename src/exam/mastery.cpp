#include "exam/mastery.h"

#include <string>

#include "bank/database.h"
#include "exam/bank_reads.h"
#include "exam/display.h"
#include "exam/texts.h"
#include "platform/host.h"
#include "ui/windows.h"

namespace exam {
namespace {

constexpr int kEraseStepMs = 10;

std::string SetReserved(int64_t value, const std::string& id) {
  return "update test set reserved=" + std::to_string(value) + " where id=" + SqlQuoted(id);
}

}  // namespace

bool WriteBackMastery(Context& ctx) {
  // Up to 100 updates: flushing after each would cost a disk sync apiece.
  bank::Database::Batch batch(ctx.db);
  bool every_statement = true;
  for (int32_t i = 1; i <= ctx.paper.size(); ++i) {
    const QuestionRecord& r = *ctx.paper.At(i);
    if (r.answer.empty()) continue;
    const int64_t counter = r.answer == r.right_key ? int64_t{r.reserved} + 1 : 0;
    if (!ctx.db.ExecuteSql(SetReserved(counter, r.id))) every_statement = false;
  }
  const bool on_disk = batch.Finish();
  return every_statement && on_disk;
}

void MarkMastered(Context& ctx) {
  if (!IsCurrentIndexValid(ctx)) return;
  const uint64_t marked = ctx.paper.KeyAt(ctx.current_index);
  // The mark is not reported: a failed write only leaves the counter as it was, and the
  // question still leaves this paper.
  (void)ctx.db.ExecuteSql(SetReserved(2, ctx.paper.At(ctx.current_index)->id));

  ui::Label& question = ctx.main.题目;
  while (!question.caption().empty()) {
    std::string shorter = question.caption();
    shorter.pop_back();
    question.set_caption(std::move(shorter));
    ctx.host.Wait(kEraseStepMs);
    ctx.host.ProcessPendingEvents();
  }

  // Commands run during the erasing may have moved on or replaced the paper; only the marked
  // record itself is taken out, and only if it is still there.
  ctx.paper.RemoveAt(ctx.paper.PositionOf(marked));
  if (ctx.current_index > ctx.paper.size()) ctx.current_index = ctx.paper.size();
  ctx.main.共标签.set_caption(std::to_string(ctx.paper.size()));
  ShowCurrentQuestion(ctx);
}

void ClearMasteredRecords(Context& ctx) {
  const bool done = ctx.db.ExecuteSql("update test set reserved=0");
  ctx.main.及格率标签.set_caption(done ? texts::Cleared() : texts::ClearFailed());
}

}  // namespace exam
