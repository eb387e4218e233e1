// Any byte string, read as UTF-16, must parse or fail cleanly; and the reusing parser, given
// the first half of the bytes and then the second (a text of the same length, which it may
// answer with the first one's tree), must answer the second as a fresh parse does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sql/statement.h"

namespace {

// Whether two trees are the same to the executor.
bool Same(const sql::Expr& a, const sql::Expr& b) {
  if (a.kind != b.kind || a.name != b.name || a.integer != b.integer || a.text != b.text ||
      a.op != b.op || a.args.size() != b.args.size()) {
    return false;
  }
  for (size_t i = 0; i < a.args.size(); ++i) {
    if (!Same(*a.args[i], *b.args[i])) return false;
  }
  return true;
}

bool Same(const sql::Statement& a, const sql::Statement& b) {
  if (a.kind != b.kind || a.table != b.table || a.count_name != b.count_name ||
      a.set_column != b.set_column || a.set_value != b.set_value ||
      (a.where == nullptr) != (b.where == nullptr)) {
    return false;
  }
  return a.where == nullptr || Same(*a.where, *b.where);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) {
    text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  }
  // Also as plain ASCII bytes, which reaches keywords far more often.
  std::u16string ascii(data, data + size);
  (void)sql::Parse(text);
  (void)sql::Parse(ascii);

  const size_t half = size / 2;
  sql::ReusingParser reusing;
  (void)reusing.Parse(std::u16string(data, data + half));
  const std::u16string second(data + half, data + 2 * half);
  auto fresh = sql::Parse(second);
  auto again = reusing.Parse(second);
  if (static_cast<bool>(fresh) != static_cast<bool>(again)) std::abort();
  if (fresh && !Same(*fresh, **again)) std::abort();
  return 0;
}
