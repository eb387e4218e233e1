#include "exam/progress.h"

#include "bank/database.h"
#include "exam/bank_reads.h"
#include "ui/gbk_literal.h"
#include "ui/windows.h"

namespace exam {
namespace {

base::Result<int32_t> Count(bank::Database& db, const std::string& sql) {
  // A statement that fails gives no record set (0), whose column reads as no number.
  const int32_t set = db.OpenTable(sql);
  base::Result<int32_t> count = NumberOf(db.ReadColByIndex(set, 1));
  db.CloseTable(set);
  return count;
}

}  // namespace

base::Result<void> ShowProgressStatistics(Context& ctx, const std::string& licence_class) {
  EXAMORA_ASSIGN_OR_RETURN(const std::string filter, BuildCategoryFilter(ctx.db, licence_class));
  if (filter.empty()) return {};

  EXAMORA_ASSIGN_OR_RETURN(const int64_t t,
                           Count(ctx.db, "select count(*) as count from test where " + filter));
  EXAMORA_ASSIGN_OR_RETURN(
      const int64_t m,
      Count(ctx.db, "select count(*) as count from test where reserved>=2 and (" + filter + ")"));
  const int64_t rate =
      t == 0 ? 0 : static_cast<int64_t>(static_cast<double>(m) * 100.0 / static_cast<double>(t));
  using ui::G;
  ctx.main.及格率标签.set_caption(G("共") + std::to_string(t) + G("题，已记住") +
                                  std::to_string(m) + G("题，尚余") + std::to_string(t - m) +
                                  G("题，及格率") + std::to_string(rate) + "%");
  return {};
}

}  // namespace exam
