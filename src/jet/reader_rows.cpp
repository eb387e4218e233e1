// src/jet/reader_rows.cpp
// Rows and values: a data page's row table, scans in physical order, where a column's bytes
// sit in a row (fixed area, variable offsets, null mask), and the decoding of each type.
#include <algorithm>

#include "jet/bytes.h"
#include "jet/database.h"
#include "jet/format.h"
#include "jet/reader_internal.h"

namespace jet {

namespace reader_internal {

Result<Field> Locate(const TableDef& table, std::span<const uint8_t> row, const Column& c) {
  if (row.size() < 2) return Corrupt("row too short");
  const uint16_t count = LoadU16(&row[0]);
  const size_t mask_size = (size_t{count} + 7) / 8;
  if (row.size() < 2 + mask_size) return Corrupt("row too short for its null mask");
  const size_t mask_at = row.size() - mask_size;
  Field f;
  if (c.number < count) f.bit = (row[mask_at + c.number / 8] >> (c.number % 8)) & 1;
  size_t var_count = 0;
  if (table.var_columns > 0) {
    if (mask_at < 4) return Corrupt("row too short for its variable columns");
    var_count = LoadU16(&row[mask_at - 2]);
    if (mask_at < 4 + 2 * var_count) return Corrupt("variable offsets outside the row");
  }
  if (c.type == ColumnType::kBoolean) {
    f.present = c.number < count;
    return f;
  }
  if (!f.bit) return f;
  if (c.fixed()) {
    if (c.fixed_ordinal >= count - std::min<size_t>(count, var_count)) return f;
    f.offset = 2 + size_t{c.fixed_offset};
    f.size = c.length;
    if (!Has(row, f.offset, f.size) || f.offset + f.size > mask_at) {
      return Corrupt("fixed column outside the row");
    }
  } else {
    if (c.var_index >= var_count) return f;
    auto offset_of = [&](size_t i) { return size_t{LoadU16(&row[mask_at - 4 - 2 * i])}; };
    f.offset = offset_of(c.var_index);
    const size_t end = offset_of(c.var_index + 1);
    if (f.offset > end || end > mask_at) return Corrupt("variable column outside the row");
    f.size = end - f.offset;
  }
  f.present = true;
  return f;
}

}  // namespace reader_internal

using reader_internal::Field;
using reader_internal::Locate;

// The bytes of entry `row` of a data page: from its offset up to where the entry before it
// starts (rows are packed from the end of the page, row 0 ending at the page end).
Result<std::span<const uint8_t>> Database::RowBytes(std::span<const uint8_t> page, uint16_t row) {
  const uint16_t count = LoadU16(&page[format::kRowCountOffset]);
  if (row >= count || format::kDataPageHeader + 2u * count > kPageSize) {
    return Corrupt("row number out of range");
  }
  const size_t start = LoadU16(&page[format::kDataPageHeader + 2 * row]) & format::kRowOffsetMask;
  size_t end = kPageSize;
  if (row > 0)
    end = LoadU16(&page[format::kDataPageHeader + 2 * (row - 1)]) & format::kRowOffsetMask;
  if (start < format::kDataPageHeader + 2u * count || start >= end || end > kPageSize) {
    return Corrupt("row outside its page");
  }
  return page.subspan(start, end - start);
}

Result<void> Database::ScanRowViews(const TableDef& table,
                                    const std::function<bool(const RowView&)>& visit) {
  EXAMORA_ASSIGN_OR_RETURN(auto pages, UsageMapPages(table.owned_map));
  ++scans_;
  struct Unpin {
    int& n;
    ~Unpin() { --n; }
  } unpin{scans_};
  for (uint32_t number : pages) {
    EXAMORA_ASSIGN_OR_RETURN(auto page, Page(number));
    if (page[0] != format::kDataPage ||
        LoadU32(&page[format::kPageOwnerOffset]) != table.tdef_page) {
      return Corrupt("page " + std::to_string(number) + " does not belong to its table");
    }
    const uint16_t count = LoadU16(&page[format::kRowCountOffset]);
    if (format::kDataPageHeader + 2u * count > kPageSize) return Corrupt("row table too long");
    for (uint16_t i = 0; i < count; ++i) {
      if (LoadU16(&page[format::kDataPageHeader + 2 * i]) & format::kRowDeletedOrPointer) continue;
      EXAMORA_ASSIGN_OR_RETURN(auto bytes, RowBytes(page, i));
      if (!visit(RowView{RowId{number, i}, bytes})) return base::Ok();
    }
  }
  return base::Ok();
}

Result<void> Database::ScanRows(const TableDef& table,
                                const std::function<bool(const Row&)>& visit) {
  Row row;
  return ScanRowViews(table, [&](const RowView& view) {
    row.id = view.id;
    row.bytes.assign(view.bytes.begin(), view.bytes.end());
    return visit(row);
  });
}

Result<Value> Database::ReadValue(const TableDef& table, const Row& row, int column) {
  return ReadValue(table, RowView{row.id, row.bytes}, column);
}

Result<Value> Database::ReadValue(const TableDef& table, const RowView& row, int column) {
  if (column < 0 || static_cast<size_t>(column) >= table.columns.size()) {
    return MakeError(ErrorCode::kInvalid, "column index out of range");
  }
  const Column& c = table.columns[static_cast<size_t>(column)];
  const std::span<const uint8_t> bytes = row.bytes;
  EXAMORA_ASSIGN_OR_RETURN(Field f, Locate(table, bytes, c));
  if (c.type == ColumnType::kBoolean) return Value(f.present && f.bit);
  if (!f.present) return Value();
  auto data = bytes.subspan(f.offset, f.size);
  auto need = [&](size_t n) -> Result<void> {
    if (data.size() < n) return Corrupt("value shorter than its type");
    return base::Ok();
  };
  switch (c.type) {
    case ColumnType::kByte:
      EXAMORA_TRY(need(1));
      return Value(data[0]);
    case ColumnType::kInt16:
      EXAMORA_TRY(need(2));
      return Value(static_cast<int16_t>(LoadU16(data.data())));
    case ColumnType::kInt32:
      EXAMORA_TRY(need(4));
      return Value(static_cast<int32_t>(LoadU32(data.data())));
    case ColumnType::kCurrency:
      EXAMORA_TRY(need(8));
      return Value(Currency{static_cast<int64_t>(LoadU64(data.data()))});
    case ColumnType::kFloat:
      EXAMORA_TRY(need(4));
      return Value(LoadF32(data.data()));
    case ColumnType::kDouble:
      EXAMORA_TRY(need(8));
      return Value(LoadF64(data.data()));
    case ColumnType::kDateTime:
      EXAMORA_TRY(need(8));
      return Value(DateTime{LoadF64(data.data())});
    case ColumnType::kGuid: {
      EXAMORA_TRY(need(16));
      Guid g;
      std::copy_n(data.begin(), 16, g.bytes.begin());
      return Value(g);
    }
    case ColumnType::kNumeric: {
      EXAMORA_TRY(need(17));
      Numeric n;
      n.negative = (data[0] & 0x80) != 0;
      // Four 32-bit little-endian groups, the most significant first.
      for (int g = 0; g < 4; ++g) {
        n.magnitude = (n.magnitude << 32) | LoadU32(&data[1 + 4 * static_cast<size_t>(g)]);
      }
      n.precision = c.precision;
      n.scale = c.scale;
      return Value(n);
    }
    case ColumnType::kText:
      return Value(DecodeText(data));
    case ColumnType::kBinary:
      return Value(std::vector<uint8_t>(data.begin(), data.end()));
    case ColumnType::kMemo: {
      std::vector<uint8_t> stored;
      EXAMORA_TRY(ReadLongValue(data, stored));
      return Value(DecodeText(stored));
    }
    case ColumnType::kLongBinary: {
      std::vector<uint8_t> stored;
      EXAMORA_TRY(ReadLongValue(data, stored));
      return Value(std::move(stored));
    }
    case ColumnType::kComplex:
      EXAMORA_TRY(need(4));
      return Value(static_cast<int32_t>(LoadU32(data.data())));
    case ColumnType::kBoolean:
      break;
  }
  return MakeError(ErrorCode::kUnsupported, "column " + Narrow(c.name) + " has an unknown type " +
                                                std::to_string(static_cast<int>(c.type)));
}

Result<std::optional<std::span<const uint8_t>>> Database::FieldBytes(const TableDef& table,
                                                                     const RowView& row,
                                                                     int column) {
  if (column < 0 || static_cast<size_t>(column) >= table.columns.size()) {
    return MakeError(ErrorCode::kInvalid, "column index out of range");
  }
  EXAMORA_ASSIGN_OR_RETURN(Field f,
                           Locate(table, row.bytes, table.columns[static_cast<size_t>(column)]));
  if (!f.present) return std::optional<std::span<const uint8_t>>();
  return std::optional<std::span<const uint8_t>>(row.bytes.subspan(f.offset, f.size));
}

Result<void> Database::CheckTable(const TableDef& table) {
  Result<void> failure;
  EXAMORA_TRY(ScanRows(table, [&](const Row& row) {
    for (const Column& c : table.columns) {
      auto f = Locate(table, row.bytes, c);
      if (!f) {
        failure = base::Unexpected<base::Error>(f.take_error());
        return false;
      }
      if (!f->present || (c.type != ColumnType::kMemo && c.type != ColumnType::kLongBinary)) {
        continue;
      }
      if (f->size < format::kLongValueHeader) {
        failure = Corrupt("long value header cut short");
        return false;
      }
      const uint8_t* header = row.bytes.data() + f->offset;
      const uint8_t kind = header[3];
      const uint32_t page = LoadU32(header + 4) >> 8;
      const bool inline_ok =
          kind == format::kLongValueInline && f->size >= format::kLongValueHeader + LoadU24(header);
      const bool elsewhere = kind == format::kLongValueSingle || kind == format::kLongValueChain;
      if (!inline_ok && !(elsewhere && page < page_count_ && page > 0)) {
        failure = Corrupt("a long value points outside the file");
        return false;
      }
    }
    return true;
  }));
  return failure;
}

}  // namespace jet
