#include "exam/bank_reads.h"

#include <cmath>
#include <limits>

#include "bank/database.h"

namespace exam {

using bank::Value;

std::string SqlQuoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

Checked<std::string> TextOf(const Value& value) {
  if (!value.is_text()) return WrongKind();
  return value.bytes;
}

Checked<std::string> BytesOf(const Value& value) {
  if (!value.is_bytes()) return WrongKind();
  return value.bytes;
}

Checked<int32_t> NumberOf(const Value& value) {
  using K = Value::Kind;
  switch (value.kind) {
    case K::kInt8:
    case K::kInt16:
    case K::kInt32:
      return static_cast<int32_t>(value.integer);
    case K::kFloat:
    case K::kDouble: {
      const double t = std::trunc(value.real);
      if (std::isnan(t)) return NumberExpected();
      if (t >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
      }
      if (t <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
      }
      return static_cast<int32_t>(t);
    }
    default:
      return NumberExpected();
  }
}

Checked<std::string> BuildCategoryFilter(bank::Database& db, const std::string& licence_class) {
  std::string filter;
  if (licence_class.empty()) return filter;
  const int32_t set = db.OpenTable("select * from config where " + licence_class + ">0");
  for (; !db.IsEOF(set); db.MoveNext(set)) {
    Checked<std::string> code = TextOf(db.ReadColByName(set, "NUMBERID"));
    if (!code.ok()) {
      db.CloseTable(set);
      return code.fault();
    }
    filter += "left(id,2)=" + SqlQuoted(code.value()) + " or ";
  }
  db.CloseTable(set);
  // Cut the final " or " (4 bytes): the apostrophe closing the last code stays.
  if (filter.size() <= 4) return std::string();
  filter.resize(filter.size() - 4);
  return filter;
}

}  // namespace exam
