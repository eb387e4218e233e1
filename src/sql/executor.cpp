#include "sql/executor.h"

#include <cmath>
#include <limits>
#include <optional>
#include <variant>

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
  std::u16string text;
  CompareOp op = CompareOp::kEq;
  std::vector<Bound> args;
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
    case Expr::Kind::kCompare:
      b.op = e.op;
      if (b.args[0].type != b.args[1].type) return mismatch();
      break;
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

Result<Cell> FromValue(const jet::Value& v) {
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
    Cell operator()(const std::u16string& x) { return x; }
    Cell operator()(const jet::Guid&) { return {}; }
    Cell operator()(const jet::Numeric& x) {
      double d = static_cast<double>(x.magnitude) / std::pow(10.0, x.scale);
      return x.negative ? -d : d;
    }
  };
  return std::visit(Visitor{}, v);
}

char16_t Fold(char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; }

// Texts compare without regard to the case of Latin letters, as the database's General order.
int CompareText(const std::u16string& a, const std::u16string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = Fold(a[i]), y = Fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

class Evaluator {
 public:
  Evaluator(jet::Database& db, const jet::TableDef& table) : db_(db), table_(table) {}

  Result<Cell> Eval(const Bound& b, const jet::Row& row) {
    switch (b.kind) {
      case Expr::Kind::kColumn: {
        EXAMORA_ASSIGN_OR_RETURN(auto v, db_.ReadValue(table_, row, b.column));
        return FromValue(v);
      }
      case Expr::Kind::kInteger:
        return Cell(b.number);
      case Expr::Kind::kString:
        return Cell(b.text);
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
        EXAMORA_ASSIGN_OR_RETURN(Cell l, Eval(b.args[0], row));
        EXAMORA_ASSIGN_OR_RETURN(Cell r, Eval(b.args[1], row));
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
        bool t = false;
        switch (b.op) {
          case CompareOp::kEq: t = c == 0; break;
          case CompareOp::kNe: t = c != 0; break;
          case CompareOp::kLt: t = c < 0; break;
          case CompareOp::kLe: t = c <= 0; break;
          case CompareOp::kGt: t = c > 0; break;
          case CompareOp::kGe: t = c >= 0; break;
        }
        return Cell(t ? -1.0 : 0.0);
      }
      case Expr::Kind::kNot: {
        EXAMORA_ASSIGN_OR_RETURN(Cell v, Eval(b.args[0], row));
        if (std::holds_alternative<std::monostate>(v)) return Cell();
        return Cell(std::get<double>(v) != 0 ? 0.0 : -1.0);
      }
      case Expr::Kind::kAnd:
      case Expr::Kind::kOr: {
        // Three-valued logic: false and unknown = false, true or unknown = true.
        const bool is_and = b.kind == Expr::Kind::kAnd;
        EXAMORA_ASSIGN_OR_RETURN(Cell l, Eval(b.args[0], row));
        if (auto* d = std::get_if<double>(&l); d && ((*d != 0) != is_and)) {
          return Cell(is_and ? 0.0 : -1.0);
        }
        EXAMORA_ASSIGN_OR_RETURN(Cell r, Eval(b.args[1], row));
        if (auto* d = std::get_if<double>(&r); d && ((*d != 0) != is_and)) {
          return Cell(is_and ? 0.0 : -1.0);
        }
        if (std::holds_alternative<std::monostate>(l) ||
            std::holds_alternative<std::monostate>(r)) {
          return Cell();
        }
        return Cell(is_and ? -1.0 : 0.0);
      }
    }
    return MakeError(ErrorCode::kInvalid, "bad expression");
  }

 private:
  jet::Database& db_;
  const jet::TableDef& table_;
};

// Scans `statement.table`, calling `match` for each row the condition selects.
Result<jet::TableDef> Filter(jet::Database& db, const Statement& statement,
                             const std::function<void(const jet::Row&)>& match) {
  EXAMORA_ASSIGN_OR_RETURN(jet::TableDef table, db.ReadTable(statement.table));
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
  EXAMORA_TRY(db.ScanRows(table, [&](const jet::Row& row) {
    if (where) {
      auto v = eval.Eval(*where, row);
      if (!v) {
        failure = base::Unexpected<base::Error>(v.take_error());
        return false;
      }
      auto* d = std::get_if<double>(&*v);
      if (!d || *d == 0) return true;
    }
    match(row);
    return true;
  }));
  EXAMORA_TRY(std::move(failure));
  return table;
}

}  // namespace

Result<Selection> Select(jet::Database& db, const Statement& statement) {
  Selection s;
  EXAMORA_ASSIGN_OR_RETURN(s.table,
                           Filter(db, statement, [&](const jet::Row& r) { s.rows.push_back(r); }));
  return s;
}

Result<int64_t> Count(jet::Database& db, const Statement& statement) {
  int64_t n = 0;
  EXAMORA_TRY(Filter(db, statement, [&](const jet::Row&) { ++n; }));
  return n;
}

Result<int64_t> Update(jet::Database& db, const Statement& statement) {
  std::vector<jet::RowId> rows;
  EXAMORA_ASSIGN_OR_RETURN(jet::TableDef table, Filter(db, statement, [&](const jet::Row& r) {
                             rows.push_back(r.id);
                           }));
  const int column = table.FindColumn(statement.set_column);
  if (column < 0) {
    return MakeError(ErrorCode::kNotFound, "no column " + Narrow(statement.set_column));
  }
  const jet::Column& c = table.columns[static_cast<size_t>(column)];
  const int64_t n = statement.set_value;
  auto range = [&](int64_t lo, int64_t hi) -> Result<void> {
    if (n < lo || n > hi) {
      return MakeError(ErrorCode::kInvalid, "value " + std::to_string(n) + " does not fit column " +
                                                Narrow(c.name));
    }
    return base::Ok();
  };
  jet::Value value;
  switch (c.type) {
    case jet::ColumnType::kBoolean: value = n != 0; break;
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
    case jet::ColumnType::kDouble: value = static_cast<double>(n); break;
    case jet::ColumnType::kFloat: value = static_cast<float>(n); break;
    case jet::ColumnType::kCurrency:
      EXAMORA_TRY(range(-922337203685477, 922337203685477));
      value = jet::Currency{n * 10000};
      break;
    default:
      return MakeError(ErrorCode::kInvalid, "data type mismatch: column " + Narrow(c.name) +
                                                " does not take a number");
  }
  std::vector<jet::FixedUpdate> updates;
  updates.reserve(rows.size());
  for (const jet::RowId& id : rows) updates.push_back({id, column, value});
  EXAMORA_TRY(db.UpdateFixed(table, updates));
  return static_cast<int64_t>(rows.size());
}

}  // namespace sql
