#include "exam/bank_reads.h"

#include <cmath>
#include <limits>

#include "bank/database.h"
#include "exam/fault.h"

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

base::Result<std::string> TextOf(Value value) {
  if (!value.is_text()) return WrongKind();
  return std::move(value.bytes);
}

base::Result<std::string> BytesOf(Value value) {
  if (!value.is_bytes()) return WrongKind();
  return std::move(value.bytes);
}

base::Result<int32_t> NumberOf(const Value& value) {
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

base::Result<std::string> BuildCategoryFilter(bank::Database& db,
                                              const std::string& licence_class) {
  std::string filter;
  if (licence_class.empty()) return filter;
  // A class that is no column gives no record set (0), which reads as empty.
  const int32_t set = db.OpenTable("select * from config where " + licence_class + ">0");
  for (; !db.IsEOF(set); db.MoveNext(set)) {
    base::Result<std::string> code = TextOf(db.ReadColByName(set, "NUMBERID"));
    if (!code) {
      db.CloseTable(set);
      return base::Unexpected(code.take_error());
    }
    filter += "left(id,2)=" + SqlQuoted(*code) + " or ";
  }
  db.CloseTable(set);
  // Cut the final " or " (4 bytes): the apostrophe closing the last code stays.
  if (filter.size() <= 4) return std::string();
  filter.resize(filter.size() - 4);
  return filter;
}

}  // namespace exam
