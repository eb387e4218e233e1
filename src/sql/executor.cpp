#include "sql/executor.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <variant>

#include "jet/names.h"

namespace sql {
namespace {

using base::ErrorCode;
using base::MakeError;
using base::Result;

std::string Narrow(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

enum class Type { kNumber, kText };

// An expression with its columns resolved and its type known.
struct Bound {
  Expr::Kind kind = Expr::Kind::kInteger;
  Type type = Type::kNumber;
  int column = -1;
  double number = 0;
  std::u16string_view text;  // a text literal, in the statement, which outlives its binding
  CompareOp op = CompareOp::kEq;
  std::vector<Bound> args;
  // A comparison of a text column (or left(column, n)) with a text literal, evaluated on the
  // stored bytes: the column, the character limit (SIZE_MAX for none), the literal, and
  // whether the literal stands on the left.
  int fast_column = -1;
  size_t fast_limit = SIZE_MAX;
  bool fast_swapped = false;
};

// A value while evaluating: null, a number or a text. Truth values are numbers (-1 true, 0 false).
using Cell = std::variant<std::monostate, double, std::u16string>;

Result<Type> ColumnType(const jet::Column& c) {
  switch (c.type) {
    case jet::ColumnType::kText:
    case jet::ColumnType::kMemo:
      return Type::kText;
    case jet::ColumnType::kBoolean:
    case jet::ColumnType::kByte:
    case jet::ColumnType::kInt16:
    case jet::ColumnType::kInt32:
    case jet::ColumnType::kCurrency:
    case jet::ColumnType::kFloat:
    case jet::ColumnType::kDouble:
    case jet::ColumnType::kDateTime:
    case jet::ColumnType::kNumeric:
      return Type::kNumber;
    default:
      return MakeError(ErrorCode::kInvalid,
                       "column " + Narrow(c.name) + " cannot be used in a condition");
  }
}

Result<Bound> Bind(const Expr& e, const jet::TableDef& table) {
  Bound b;
  b.kind = e.kind;
  b.args.reserve(e.args.size());
  for (const auto& arg : e.args) {
    EXAMORA_ASSIGN_OR_RETURN(Bound a, Bind(*arg, table));
    b.args.push_back(std::move(a));
  }
  auto mismatch = [] { return MakeError(ErrorCode::kInvalid, "data type mismatch in condition"); };
  switch (e.kind) {
    case Expr::Kind::kColumn: {
      b.column = table.FindColumn(e.name);
      if (b.column < 0) return MakeError(ErrorCode::kNotFound, "no column " + Narrow(e.name));
      EXAMORA_ASSIGN_OR_RETURN(b.type, ColumnType(table.columns[static_cast<size_t>(b.column)]));
      break;
    }
    case Expr::Kind::kInteger:
      b.number = static_cast<double>(e.integer);
      break;
    case Expr::Kind::kString:
      b.type = Type::kText;
      b.text = e.text;
      break;
    case Expr::Kind::kLeft:
      if (b.args[0].type != Type::kText || b.args[1].type != Type::kNumber) return mismatch();
      b.type = Type::kText;
      break;
    case Expr::Kind::kCompare: {
      b.op = e.op;
      if (b.args[0].type != b.args[1].type) return mismatch();
      for (int side = 0; side < 2; ++side) {
        const Bound& value = b.args[static_cast<size_t>(side)];
        const Bound& literal = b.args[static_cast<size_t>(1 - side)];
        if (literal.kind != Expr::Kind::kString) continue;
        const Bound* column = &value;
        size_t limit = SIZE_MAX;
        if (value.kind == Expr::Kind::kLeft && value.args[1].kind == Expr::Kind::kInteger &&
            value.args[1].number >= 0) {
          column = &value.args[0];
          limit = static_cast<size_t>(value.args[1].number);
        }
        if (column->kind == Expr::Kind::kColumn &&
            table.columns[static_cast<size_t>(column->column)].type == jet::ColumnType::kText) {
          b.fast_column = column->column;
          b.fast_limit = limit;
          b.fast_swapped = side == 1;
          break;
        }
      }
      break;
    }
    case Expr::Kind::kAnd:
    case Expr::Kind::kOr:
    case Expr::Kind::kNot:
      for (const Bound& a : b.args) {
        if (a.type != Type::kNumber) return mismatch();
      }
      break;
  }
  return b;
}

Result<Cell> FromValue(jet::Value&& v) {
  struct Visitor {
    Cell operator()(std::monostate) { return {}; }
    Cell operator()(bool x) { return x ? -1.0 : 0.0; }
    Cell operator()(uint8_t x) { return static_cast<double>(x); }
    Cell operator()(int16_t x) { return static_cast<double>(x); }
    Cell operator()(int32_t x) { return static_cast<double>(x); }
    Cell operator()(jet::Currency x) { return static_cast<double>(x.scaled) / 10000.0; }
    Cell operator()(float x) { return static_cast<double>(x); }
    Cell operator()(double x) { return x; }
    Cell operator()(jet::DateTime x) { return x.days; }
    Cell operator()(const std::vector<uint8_t>&) { return {}; }
    Cell operator()(std::u16string& x) { return std::move(x); }
    Cell operator()(const jet::Guid&) { return {}; }
    Cell operator()(const jet::Numeric& x) {
      double d = static_cast<double>(x.magnitude) / std::pow(10.0, x.scale);
      return x.negative ? -d : d;
    }
  };
  return std::visit(Visitor{}, v);
}

// Texts compare without regard to the case of Latin letters, as the database's General order.
int CompareText(std::u16string_view a, std::u16string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = jet::FoldAscii(a[i]), y = jet::FoldAscii(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// CompareText for a stored value (at most `limit` of its characters) and a literal.
int CompareStored(std::span<const uint8_t> stored, size_t limit, std::u16string_view literal) {
  jet::TextReader reader(stored);
  char16_t c;
  size_t i = 0;
  for (; i < limit && reader.Next(c); ++i) {
    if (i == literal.size()) return 1;
    const char16_t x = jet::FoldAscii(c), y = jet::FoldAscii(literal[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return i == literal.size() ? 0 : -1;
}

// Whether `op` holds for two values that compare as `c` (negative, zero, positive).
bool Holds(CompareOp op, int c) {
  switch (op) {
    case CompareOp::kEq:
      return c == 0;
    case CompareOp::kNe:
      return c != 0;
    case CompareOp::kLt:
      return c < 0;
    case CompareOp::kLe:
      return c <= 0;
    case CompareOp::kGt:
      return c > 0;
    case CompareOp::kGe:
      return c >= 0;
  }
  return false;
}

class Evaluator {
 public:
  Evaluator(jet::Database& db, const jet::TableDef& table) : db_(db), table_(table) {}

  // Whether condition `b` selects `row`: true, false, or unknown (it met a null). Conditions
  // are tested here without building a cell per term; Eval gives the values they compare.
  enum class Truth { kFalse, kTrue, kUnknown };
  Result<Truth> Test(const Bound& b, const jet::RowView& row) {
    switch (b.kind) {
      case Expr::Kind::kCompare:
        if (b.fast_column >= 0) {
          EXAMORA_ASSIGN_OR_RETURN(auto stored, Field(row, b.fast_column));
          if (!stored) return Truth::kUnknown;
          const std::u16string_view literal = b.args[b.fast_swapped ? 0 : 1].text;
          int c = CompareStored(*stored, b.fast_limit, literal);
          if (b.fast_swapped) c = -c;
          return Holds(b.op, c) ? Truth::kTrue : Truth::kFalse;
        }
        break;
      case Expr::Kind::kNot: {
        EXAMORA_ASSIGN_OR_RETURN(Truth t, Test(b.args[0], row));
        if (t == Truth::kUnknown) return t;
        return t == Truth::kTrue ? Truth::kFalse : Truth::kTrue;
      }
      case Expr::Kind::kAnd:
      case Expr::Kind::kOr: {
        const Truth deciding = b.kind == Expr::Kind::kAnd ? Truth::kFalse : Truth::kTrue;
        bool unknown = false;
        for (const Bound& term : b.args) {
          EXAMORA_ASSIGN_OR_RETURN(Truth t, Test(term, row));
          if (t == deciding) return t;
          unknown = unknown || t == Truth::kUnknown;
        }
        if (unknown) return Truth::kUnknown;
        return deciding == Truth::kFalse ? Truth::kTrue : Truth::kFalse;
      }
      default:
        break;
    }
    EXAMORA_ASSIGN_OR_RETURN(Cell v, Eval(b, row));
    const double* d = std::get_if<double>(&v);
    if (!d) return Truth::kUnknown;
    return *d != 0 ? Truth::kTrue : Truth::kFalse;
  }

  Result<Cell> Eval(const Bound& b, const jet::RowView& row) {
    switch (b.kind) {
      case Expr::Kind::kColumn: {
        EXAMORA_ASSIGN_OR_RETURN(auto v, db_.ReadValue(table_, row, b.column));
        return FromValue(std::move(v));
      }
      case Expr::Kind::kInteger:
        return Cell(b.number);
      case Expr::Kind::kString:
        return Cell(std::u16string(b.text));
      case Expr::Kind::kLeft: {
        EXAMORA_ASSIGN_OR_RETURN(Cell text, Eval(b.args[0], row));
        EXAMORA_ASSIGN_OR_RETURN(Cell count, Eval(b.args[1], row));
        if (std::holds_alternative<std::monostate>(text) ||
            std::holds_alternative<std::monostate>(count)) {
          return Cell();
        }
        const double n = std::get<double>(count);
        if (n < 0 || !std::isfinite(n)) {
          return MakeError(ErrorCode::kInvalid, "left() needs a count of 0 or more");
        }
        const auto& s = std::get<std::u16string>(text);
        return Cell(s.substr(0, static_cast<size_t>(std::min<double>(n, double(s.size())))));
      }
      case Expr::Kind::kCompare: {
        // Comparisons of a stored text with a literal (fast_column) are Test's alone.
        // A text literal is compared where it stands, without a copy per row.
        static const Cell kNoCell;
        Cell l_value, r_value;
        const Cell* lp = &kNoCell;
        const Cell* rp = &kNoCell;
        const bool l_literal = b.args[0].kind == Expr::Kind::kString;
        const bool r_literal = b.args[1].kind == Expr::Kind::kString;
        if (!l_literal) {
          EXAMORA_ASSIGN_OR_RETURN(l_value, Eval(b.args[0], row));
          lp = &l_value;
        }
        if (!r_literal) {
          EXAMORA_ASSIGN_OR_RETURN(r_value, Eval(b.args[1], row));
          rp = &r_value;
        }
        if (l_literal || r_literal) {
          const std::u16string* lv = std::get_if<std::u16string>(lp);
          const std::u16string* rv = std::get_if<std::u16string>(rp);
          if ((!l_literal && !lv) || (!r_literal && !rv)) return Cell();
          const std::u16string_view lt = l_literal ? b.args[0].text : std::u16string_view(*lv);
          const std::u16string_view rt = r_literal ? b.args[1].text : std::u16string_view(*rv);
          return Cell(Holds(b.op, CompareText(lt, rt)) ? -1.0 : 0.0);
        }
        const Cell& l = *lp;
        const Cell& r = *rp;
        if (std::holds_alternative<std::monostate>(l) ||
            std::holds_alternative<std::monostate>(r)) {
          return Cell();
        }
        int c;
        if (auto* ld = std::get_if<double>(&l)) {
          const double rd = std::get<double>(r);
          c = *ld < rd ? -1 : (*ld > rd ? 1 : 0);
        } else {
          c = CompareText(std::get<std::u16string>(l), std::get<std::u16string>(r));
        }
        return Cell(Holds(b.op, c) ? -1.0 : 0.0);
      }
      case Expr::Kind::kNot:
      case Expr::Kind::kAnd:
      case Expr::Kind::kOr: {
        EXAMORA_ASSIGN_OR_RETURN(Truth t, Test(b, row));
        if (t == Truth::kUnknown) return Cell();
        return Cell(t == Truth::kTrue ? -1.0 : 0.0);
      }
    }
    return MakeError(ErrorCode::kInvalid, "bad expression");
  }

 private:
  // The stored bytes of `column` in `row`. A chain of terms on one column (the categories of a
  // licence class: left(id,2)='01' or left(id,2)='02' or ...) finds the field once per row.
  Result<std::optional<std::span<const uint8_t>>> Field(const jet::RowView& row, int column) {
    if (row.bytes.data() != field_row_ || row.bytes.size() != field_row_size_ ||
        column != field_column_) {
      EXAMORA_ASSIGN_OR_RETURN(field_, db_.FieldBytes(table_, row, column));
      field_row_ = row.bytes.data();
      field_row_size_ = row.bytes.size();
      field_column_ = column;
    }
    return field_;
  }

  jet::Database& db_;
  const jet::TableDef& table_;
  const uint8_t* field_row_ = nullptr;
  size_t field_row_size_ = 0;
  int field_column_ = -1;
  std::optional<std::span<const uint8_t>> field_;
};

// Appends a text naming the bound condition `b` to `key`: two conditions get the same text only
// when they are the same tree of the same columns, operators and literals.
void AppendKey(const Bound& b, std::string& key) {
  key += static_cast<char>('a' + static_cast<int>(b.kind));
  switch (b.kind) {
    case Expr::Kind::kColumn:
      key += std::to_string(b.column);
      break;
    case Expr::Kind::kInteger: {
      uint64_t bits;
      std::memcpy(&bits, &b.number, sizeof bits);
      key += std::to_string(bits);
      break;
    }
    case Expr::Kind::kString:
      key += std::to_string(b.text.size()) + ':';
      for (char16_t c : b.text) {
        key += static_cast<char>(c & 0xFF);
        key += static_cast<char>(c >> 8);
      }
      break;
    case Expr::Kind::kCompare:
      key += static_cast<char>('0' + static_cast<int>(b.op));
      break;
    default:
      break;
  }
  key += '(';
  for (const Bound& arg : b.args) AppendKey(arg, key);
  key += ')';
}

// Longer conditions are scanned every time rather than remembered.
constexpr size_t kMaxRememberedKey = 4096;

struct Filtered {
  std::shared_ptr<const jet::TableDef> table;
  std::vector<jet::RowId> rows;  // the selected rows, in physical order (unless only counted)
  size_t count = 0;              // how many rows were selected
};

// What Filter gives of the selected rows: their places, or only their number.
enum class Want { kRows, kCount };

// The rows of `statement.table` that the condition selects; `visit`, when given, sees each of
// them as it is read (and returns true).
Result<Filtered> Filter(jet::Database& db, const Statement& statement,
                        const std::function<bool(const jet::RowView&)>& visit,
                        Want want = Want::kRows) {
  // What another program has written to the file by now counts, not what was read before.
  EXAMORA_TRY(db.Revalidate());
  Filtered out;
  EXAMORA_ASSIGN_OR_RETURN(out.table, db.SharedTable(statement.table));
  const jet::TableDef& table = *out.table;
  std::optional<Bound> where;
  if (statement.where) {
    EXAMORA_ASSIGN_OR_RETURN(Bound b, Bind(*statement.where, table));
    if (b.type != Type::kNumber) {
      return MakeError(ErrorCode::kInvalid, "data type mismatch in condition");
    }
    where = std::move(b);
  }
  Evaluator eval(db, table);
  Result<void> failure;
  auto test = [&](const jet::RowView& row) {
    if (where) {
      auto v = eval.Test(*where, row);
      if (!v) {
        failure = base::Unexpected<base::Error>(v.take_error());
        return false;
      }
      if (*v != Evaluator::Truth::kTrue) return true;
    }
    out.rows.push_back(row.id);
    if (visit) visit(row);
    return true;
  };
  // A text column equal to a text (the paper's lookup of one question by its id) reads only
  // the rows the engine's map names; the condition still decides for each of them.
  std::optional<std::span<const jet::RowId>> candidates;
  if (where && where->kind == Expr::Kind::kCompare && where->op == CompareOp::kEq &&
      where->fast_column >= 0 && where->fast_limit == SIZE_MAX) {
    const std::u16string_view literal = where->args[where->fast_swapped ? 0 : 1].text;
    EXAMORA_ASSIGN_OR_RETURN(candidates, db.RowsWithText(table, where->fast_column, literal));
  }
  if (candidates) {
    EXAMORA_TRY(db.VisitRows(table, *candidates, std::ref(test)));
    EXAMORA_TRY(std::move(failure));
    out.count = out.rows.size();
    return out;
  }
  // Any other condition scans the whole table, unless a scan for the same condition found its
  // rows since the file was last written (the classes' statements, paper after paper).
  std::string key;
  if (where) AppendKey(*where, key);
  if (const std::vector<jet::RowId>* known = db.RememberedRows(table, key)) {
    out.count = known->size();
    if (want == Want::kCount) return out;
    out.rows = *known;
    if (visit) EXAMORA_TRY(db.VisitRows(table, out.rows, visit));
    return out;
  }
  EXAMORA_TRY(db.ScanRowViews(table, std::ref(test)));
  EXAMORA_TRY(std::move(failure));
  out.count = out.rows.size();
  if (key.size() <= kMaxRememberedKey) db.RememberRows(table, std::move(key), out.rows);
  return out;
}

// The bytes of row `r` as `s` keeps them: where they are, in a cached page that `s` now holds
// (rows come in page order, so one page serves a run of them), or in a copy of their own.
std::span<const uint8_t> Hold(Selection& s, const jet::Database& db, const jet::RowView& r) {
  const auto inside = [&r](const std::vector<uint8_t>& page) {
    const std::less_equal<const uint8_t*> le;
    return le(page.data(), r.bytes.data()) &&
           le(r.bytes.data() + r.bytes.size(), page.data() + page.size());
  };
  if (s.pages.empty() || !inside(*s.pages.back())) {
    auto page = db.SharedPage(r.id.page);
    if (!page || !inside(*page)) {
      s.pages.push_back(
          std::make_shared<const std::vector<uint8_t>>(r.bytes.begin(), r.bytes.end()));
      return *s.pages.back();
    }
    s.pages.push_back(std::move(page));
  }
  return r.bytes;
}

}  // namespace

Result<Selection> Select(jet::Database& db, const Statement& statement) {
  Selection s;
  EXAMORA_ASSIGN_OR_RETURN(Filtered f, Filter(db, statement, [&](const jet::RowView& r) {
                             s.bytes.push_back(Hold(s, db, r));
                             return true;
                           }));
  s.table = std::move(f.table);
  s.ids = std::move(f.rows);
  return s;
}

Result<int64_t> Count(jet::Database& db, const Statement& statement) {
  EXAMORA_ASSIGN_OR_RETURN(Filtered f, Filter(db, statement, {}, Want::kCount));
  return static_cast<int64_t>(f.count);
}

Result<int64_t> Update(jet::Database& db, const Statement& statement) {
  EXAMORA_ASSIGN_OR_RETURN(Filtered f, Filter(db, statement, {}));
  const jet::TableDef& table = *f.table;
  const std::vector<jet::RowId>& rows = f.rows;
  const int column = table.FindColumn(statement.set_column);
  if (column < 0) {
    return MakeError(ErrorCode::kNotFound, "no column " + Narrow(statement.set_column));
  }
  const jet::Column& c = table.columns[static_cast<size_t>(column)];
  const int64_t n = statement.set_value;
  auto range = [&](int64_t lo, int64_t hi) -> Result<void> {
    if (n < lo || n > hi) {
      return MakeError(ErrorCode::kInvalid,
                       "value " + std::to_string(n) + " does not fit column " + Narrow(c.name));
    }
    return base::Ok();
  };
  jet::Value value;
  switch (c.type) {
    case jet::ColumnType::kBoolean:
      value = n != 0;
      break;
    case jet::ColumnType::kByte:
      EXAMORA_TRY(range(0, 255));
      value = static_cast<uint8_t>(n);
      break;
    case jet::ColumnType::kInt16:
      EXAMORA_TRY(range(std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
      value = static_cast<int16_t>(n);
      break;
    case jet::ColumnType::kInt32:
      EXAMORA_TRY(range(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
      value = static_cast<int32_t>(n);
      break;
    case jet::ColumnType::kDouble:
      value = static_cast<double>(n);
      break;
    case jet::ColumnType::kFloat:
      value = static_cast<float>(n);
      break;
    case jet::ColumnType::kCurrency:
      EXAMORA_TRY(range(-922337203685477, 922337203685477));
      value = jet::Currency{n * 10000};
      break;
    default:
      return MakeError(ErrorCode::kInvalid,
                       "data type mismatch: column " + Narrow(c.name) + " does not take a number");
  }
  std::vector<jet::FixedUpdate> updates;
  updates.reserve(rows.size());
  for (const jet::RowId& id : rows) updates.push_back({id, column, value});
  EXAMORA_TRY(db.UpdateFixed(table, updates));
  return static_cast<int64_t>(rows.size());
}

}  // namespace sql
