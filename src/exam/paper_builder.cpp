#include "exam/paper_builder.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bank/cipher.h"
#include "bank/database.h"
#include "exam/bank_reads.h"
#include "platform/host.h"
#include "ui/windows.h"

namespace exam {
namespace {

// Marks the context as building for the lifetime of the object.
class BuildingFlag {
 public:
  explicit BuildingFlag(Context& ctx) : ctx_(ctx) { ctx_.building = true; }
  ~BuildingFlag() { ctx_.building = false; }
  BuildingFlag(const BuildingFlag&) = delete;
  BuildingFlag& operator=(const BuildingFlag&) = delete;

 private:
  Context& ctx_;
};

// Reads typed columns of a record set's current row; after the first fault every read gives
// an empty value and the fault is kept.
class RowReader {
 public:
  RowReader(bank::Database& db, int32_t set) : db_(db), set_(set) {}
  std::string Text(std::string_view column) {
    return Take(TextOf(db_.ReadColByName(set_, column)));
  }
  std::string Bytes(std::string_view column) {
    return Take(BytesOf(db_.ReadColByName(set_, column)));
  }
  int32_t Number(std::string_view column) {
    return Take(NumberOf(db_.ReadColByName(set_, column)));
  }
  const std::optional<base::Error>& fault() const { return fault_; }

 private:
  template <typename T>
  T Take(base::Result<T> value) {
    if (fault_) return T();
    if (!value) {
      fault_ = value.take_error();
      return T();
    }
    return std::move(value).value();
  }

  bank::Database& db_;
  int32_t set_;
  std::optional<base::Error> fault_;
};

// The ids of the candidates that thinning keeps, in the bank's order. The candidates are
// counted first and only the survivors' ids are read: a record set holds its rows as they were
// when it was opened, so an id read after thinning (whose events may run other commands) is
// the one that a read before it would have given.
base::Result<std::vector<std::string>> ThinnedCandidateIds(Context& ctx,
                                                           const std::string& filter) {
  const std::string sql = ctx.main.启用过滤选择框.ticked()
                              ? "select * from test where reserved<2 and (" + filter + ")"
                              : "select * from test where " + filter;
  const int32_t set = ctx.db.OpenTable(sql);
  size_t count = 0;
  for (ctx.db.MoveFirst(set); !ctx.db.IsEOF(set); ctx.db.MoveNext(set)) ++count;
  const std::vector<size_t> kept =
      Thin(count, kPaperSize, ctx.random, [&ctx] { ctx.host.ProcessPendingEvents(); });
  std::vector<std::string> ids;
  ids.reserve(kept.size());
  RowReader row(ctx.db, set);
  ctx.db.MoveFirst(set);
  size_t position = 0;
  for (size_t k : kept) {
    for (; position < k; ++position) ctx.db.MoveNext(set);
    ids.push_back(row.Text("id"));
    if (row.fault()) break;
  }
  ctx.db.CloseTable(set);
  if (row.fault()) return base::Unexpected(*row.fault());
  return ids;
}

// The deciphered question text ends at its first zero byte, if it has one.
std::string QuestionText(std::string enciphered) {
  std::string plain = bank::Decipher(std::move(enciphered));
  const size_t zero = plain.find('\0');
  if (zero != std::string::npos) plain.resize(zero);
  return plain;
}

// Reads the question `id` into `r` from the first row its query returns, columns in a fixed
// order (the first of the wrong kind is the one reported).
base::Result<void> LoadQuestion(bank::Database& db, const std::string& id, QuestionRecord& r) {
  std::string sql;
  sql.reserve(64);
  sql.append("select * from test where id=").append(SqlQuoted(id));
  const int32_t set = db.OpenTable(sql);
  RowReader row(db, set);
  r.id = row.Text("id");
  r.reserved = row.Number("reserved");
  const std::string name = row.Text("name");
  r.question = name + " " + QuestionText(row.Bytes("timu"));
  r.a = row.Text("a");
  r.b = row.Text("b");
  r.c = row.Text("c");
  r.d = row.Text("d");
  r.pic = bank::Decipher(row.Bytes("pic"));
  r.right_key = row.Text("right_key");
  db.CloseTable(set);
  if (row.fault()) return base::Unexpected(*row.fault());
  return base::Ok();
}

}  // namespace

base::Result<int32_t> BuildQuestionSet(Context& ctx) {
  BuildingFlag building(ctx);
  ctx.paper.Clear();
  ctx.current_index = 0;
  ctx.main.共标签.set_caption("");
  ctx.main.第标签.set_caption("");
  ctx.main.及格率标签.set_caption("");
  ctx.random.Seed(ctx.host.TickCount());

  const std::string licence_class = ctx.main.组合框1.selected_text();
  EXAMORA_ASSIGN_OR_RETURN(const std::string filter, BuildCategoryFilter(ctx.db, licence_class));
  // Without a class or a category the statements below would not parse; refuse as for a class
  // whose questions are all mastered.
  if (filter.empty()) return 0;

  EXAMORA_ASSIGN_OR_RETURN(std::vector<std::string> ids, ThinnedCandidateIds(ctx, filter));
  if (ids.empty()) return 0;
  Shuffle(ids, ctx.random);

  for (const std::string& id : ids) {
    QuestionRecord record;
    EXAMORA_TRY(LoadQuestion(ctx.db, id, record));
    ctx.paper.Append(std::move(record));
  }
  ctx.current_index = 1;
  ctx.main.共标签.set_caption(std::to_string(ctx.paper.size()));
  return ctx.paper.size();
}

}  // namespace exam
