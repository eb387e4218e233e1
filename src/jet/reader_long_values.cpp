// src/jet/reader_long_values.cpp
// Long values (memo, long binary): inline in the row, one row of a long-value page, or a chain
// of such rows.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "jet/bytes.h"
#include "jet/database.h"
#include "jet/format.h"
#include "jet/reader_internal.h"

namespace jet {

namespace {

void Append(std::vector<uint8_t>& out, std::span<const uint8_t> bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}
void Append(std::string& out, std::span<const uint8_t> bytes) {
  out.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

template <typename Bytes>
Result<void> Database::ReadLongValue(std::span<const uint8_t> field, Bytes& out) {
  out.clear();
  if (field.size() < format::kLongValueHeader) return Corrupt("long value header cut short");
  const uint32_t length = LoadU24(&field[0]);
  const uint8_t kind = field[3];
  uint32_t pgrow = LoadU32(&field[4]);
  if (kind == format::kLongValueInline) {
    if (field.size() < format::kLongValueHeader + length) {
      return Corrupt("inline long value cut short");
    }
    Append(out, field.subspan(format::kLongValueHeader, length));
    return base::Ok();
  }
  if (kind != format::kLongValueSingle && kind != format::kLongValueChain) {
    return Corrupt("unknown long value kind");
  }
  out.reserve(length);
  std::set<uint32_t> seen;
  std::vector<uint8_t> scratch;
  while (true) {
    if (!seen.insert(pgrow).second) return Corrupt("long value chain forms a loop");
    EXAMORA_ASSIGN_OR_RETURN(auto page, Page(pgrow >> 8, &scratch));
    if (page[0] != format::kDataPage) return Corrupt("long value not on a data page");
    EXAMORA_ASSIGN_OR_RETURN(auto bytes, RowBytes(page, static_cast<uint16_t>(pgrow & 0xFF)));
    if (kind == format::kLongValueSingle) {
      if (bytes.size() < length) return Corrupt("long value row cut short");
      Append(out, bytes.first(length));
      return base::Ok();
    }
    if (bytes.size() < 4) return Corrupt("long value chain row cut short");
    pgrow = LoadU32(&bytes[0]);
    const size_t chunk = std::min<size_t>(bytes.size() - 4, length - out.size());
    Append(out, bytes.subspan(4, chunk));
    if (out.size() == length) return base::Ok();
    if (pgrow == 0) return Corrupt("long value chain ends early");
  }
}

template Result<void> Database::ReadLongValue(std::span<const uint8_t>, std::vector<uint8_t>&);
template Result<void> Database::ReadLongValue(std::span<const uint8_t>, std::string&);

Result<bool> Database::ReadBytes(const TableDef& table, const RowView& row, int column,
                                 std::string& out) {
  out.clear();
  EXAMORA_ASSIGN_OR_RETURN(auto field, FieldBytes(table, row, column));
  if (!field) return false;
  switch (table.columns[static_cast<size_t>(column)].type) {
    case ColumnType::kBinary:
      Append(out, *field);
      return true;
    case ColumnType::kLongBinary:
      EXAMORA_TRY(ReadLongValue(*field, out));
      return true;
    default:
      return MakeError(ErrorCode::kInvalid, "only binary columns are read as bytes");
  }
}

}  // namespace jet
