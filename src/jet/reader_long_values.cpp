// src/jet/reader_long_values.cpp
// Long values (memo, long binary): inline in the row, one row of a long-value page, or a chain
// of such rows.
#include <algorithm>
#include <set>

#include "jet/bytes.h"
#include "jet/database.h"
#include "jet/format.h"
#include "jet/reader_internal.h"

namespace jet {

Result<std::vector<uint8_t>> Database::ReadLongValue(std::span<const uint8_t> field) {
  if (field.size() < format::kLongValueHeader) return Corrupt("long value header cut short");
  const uint32_t length = LoadU24(&field[0]);
  const uint8_t kind = field[3];
  uint32_t pgrow = LoadU32(&field[4]);
  std::vector<uint8_t> out;
  if (kind == format::kLongValueInline) {
    if (field.size() < format::kLongValueHeader + length) {
      return Corrupt("inline long value cut short");
    }
    const auto start = field.begin() + format::kLongValueHeader;
    out.assign(start, start + length);
    return out;
  }
  if (kind != format::kLongValueSingle && kind != format::kLongValueChain) {
    return Corrupt("unknown long value kind");
  }
  out.reserve(length);
  std::set<uint32_t> seen;
  while (true) {
    if (!seen.insert(pgrow).second) return Corrupt("long value chain forms a loop");
    EXAMORA_ASSIGN_OR_RETURN(auto page, Page(pgrow >> 8));
    if (page[0] != format::kDataPage) return Corrupt("long value not on a data page");
    EXAMORA_ASSIGN_OR_RETURN(auto bytes, RowBytes(page, static_cast<uint16_t>(pgrow & 0xFF)));
    if (kind == format::kLongValueSingle) {
      if (bytes.size() < length) return Corrupt("long value row cut short");
      out.assign(bytes.begin(), bytes.begin() + length);
      return out;
    }
    if (bytes.size() < 4) return Corrupt("long value chain row cut short");
    pgrow = LoadU32(&bytes[0]);
    const size_t chunk = std::min<size_t>(bytes.size() - 4, length - out.size());
    out.insert(out.end(), bytes.begin() + 4, bytes.begin() + 4 + static_cast<ptrdiff_t>(chunk));
    if (out.size() == length) return out;
    if (pgrow == 0) return Corrupt("long value chain ends early");
  }
}

}  // namespace jet
