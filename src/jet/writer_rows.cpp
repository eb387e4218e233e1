// src/jet/writer_rows.cpp
// Rows of a new table: value checks, the row layout, and long values (memo, long binary).
//
// Row (C columns, V variable columns), from its first byte:
//   u16 C | fixed area | variable data in variable-index order |
//   [u16 end of variable data | u16 offset of variable V-1 ... of variable 0 | u16 V]  (V > 0)
//   | null mask, (C + 7) / 8 bytes, bit set = value present (booleans: the value itself)
//
// Long value field in the row: u24 length L, u8 kind (0x80 inline, 0x40 one long-value row,
// 0x00 chain), u32 row pointer of the (first) long-value row, u32 0, then L bytes if inline.
// A chain row is u32 pointer to the next row (0 on the last) followed by its part of the data.
#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <variant>

#include "jet/bytes.h"
#include "jet/writer_internal.h"

namespace jet::writer_internal {

namespace {

constexpr size_t kLongValueHeader = 12;
// Longer memos are stored plain, as other engines never compress them.
constexpr size_t kMaxCompressedMemoChars = 1024;

// One column's value, ready to be laid into the row.
struct Cell {
  bool present = false;
  // Fixed: the value; variable: the data; long: the payload. Points into `owned` or, for
  // binary values, into the caller's value, which outlives the row.
  std::span<const uint8_t> bytes;
  std::vector<uint8_t> owned;
  bool inline_long = false;

  void Own(std::vector<uint8_t> data) {
    owned = std::move(data);
    bytes = owned;
  }
};

const char* TypeName(ColumnType type) {
  switch (type) {
    case ColumnType::kBoolean:
      return "Boolean";
    case ColumnType::kByte:
      return "Byte";
    case ColumnType::kInt16:
      return "Integer";
    case ColumnType::kInt32:
      return "Long Integer";
    case ColumnType::kDouble:
      return "Double";
    case ColumnType::kDateTime:
      return "Date/Time";
    case ColumnType::kBinary:
      return "Binary";
    case ColumnType::kText:
      return "Text";
    case ColumnType::kLongBinary:
      return "OLE Object";
    case ColumnType::kMemo:
      return "Memo";
    default:
      return "unsupported";
  }
}

const char* ValueName(const CellValue& value) {
  switch (value.index()) {
    case 0:
      return "null";
    case 1:
      return "a boolean";
    case 2:
      return "a byte";
    case 3:
      return "a 16-bit integer";
    case 4:
      return "a 32-bit integer";
    case 5:
      return "a double";
    case 6:
      return "a text";
    default:
      return "bytes";
  }
}

template <typename T>
std::vector<uint8_t> LittleEndian(T value) {
  std::vector<uint8_t> out(sizeof(T));
  if constexpr (sizeof(T) == 1) {
    out[0] = static_cast<uint8_t>(value);
  } else if constexpr (sizeof(T) == 2) {
    StoreU16(out.data(), static_cast<uint16_t>(value));
  } else if constexpr (sizeof(T) == 4) {
    StoreU32(out.data(), static_cast<uint32_t>(value));
  }
  return out;
}

std::vector<uint8_t> DoubleBytes(double value) {
  std::vector<uint8_t> out(8);
  StoreF64(out.data(), value);
  return out;
}

// Stores a long value that does not stay in the row; returns its header's kind and pointer.
std::pair<uint8_t, uint32_t> StoreLongValue(std::span<const uint8_t> data, RowPageWriter* pages) {
  if (data.size() <= kMaxSingleLongValue) return {0x40, pages->Append(data)};
  const size_t chunks = (data.size() + kLongValueChunk - 1) / kLongValueChunk;
  std::vector<uint32_t> rows(chunks);
  for (size_t i = 0; i < chunks; ++i) {
    const size_t part = std::min(kLongValueChunk, data.size() - i * kLongValueChunk);
    rows[i] = pages->Reserve(4 + part);
  }
  for (size_t i = 0; i < chunks; ++i) {
    std::span<uint8_t> row = pages->Row(rows[i]);
    StoreU32(row.data(), i + 1 < chunks ? rows[i + 1] : 0);
    std::memcpy(row.data() + 4, data.data() + i * kLongValueChunk, row.size() - 4);
  }
  return {0x00, rows.front()};
}

}  // namespace

LongValueStore::LongValueStore(PageStore* store, const TableLayout& layout) {
  for (const ColumnLayout& column : layout.columns) {
    if (IsLongValue(column.type)) {
      writers_.emplace_back(column.number, RowPageWriter(store, kLongValueOwner));
    }
  }
}

RowPageWriter* LongValueStore::ForColumn(uint16_t column_number) {
  for (auto& [number, writer] : writers_) {
    if (number == column_number) return &writer;
  }
  return nullptr;
}

Result<std::vector<uint8_t>> EncodeRow(const TableLayout& layout,
                                       const std::vector<CellValue>& values, size_t row_index,
                                       LongValueStore* long_values) {
  auto fail = [&](const ColumnLayout* column, const std::string& what) {
    std::string where = "table " + Utf16ToUtf8(layout.name) + ", row " + std::to_string(row_index);
    if (column != nullptr) where += ", column " + Utf16ToUtf8(column->name);
    return base::MakeError(base::ErrorCode::kInvalid, where + ": " + what);
  };
  if (values.size() != layout.columns.size()) {
    return fail(nullptr, "has " + std::to_string(values.size()) + " values for " +
                             std::to_string(layout.columns.size()) + " columns");
  }

  std::vector<Cell> cells(layout.columns.size());
  for (size_t i = 0; i < layout.columns.size(); ++i) {
    const ColumnLayout& column = layout.columns[i];
    const CellValue& value = values[i];
    Cell& cell = cells[i];
    if (std::holds_alternative<std::monostate>(value)) {
      if (column.type == ColumnType::kBoolean) {
        return fail(&column, "a Boolean column cannot hold null (its value is the null-mask bit)");
      }
      if (column.required) return fail(&column, "null in a required column");
      continue;
    }
    cell.present = true;
    bool fits = false;
    switch (column.type) {
      case ColumnType::kBoolean:
        if (const bool* v = std::get_if<bool>(&value)) {
          fits = true;
          cell.present = *v;
        }
        break;
      case ColumnType::kByte:
        if (const uint8_t* v = std::get_if<uint8_t>(&value)) {
          fits = true;
          cell.Own(LittleEndian(*v));
        }
        break;
      case ColumnType::kInt16:
        if (const int16_t* v = std::get_if<int16_t>(&value)) {
          fits = true;
          cell.Own(LittleEndian(*v));
        }
        break;
      case ColumnType::kInt32:
        if (const int32_t* v = std::get_if<int32_t>(&value)) {
          fits = true;
          cell.Own(LittleEndian(*v));
        }
        break;
      case ColumnType::kDouble:
      case ColumnType::kDateTime:
        if (const double* v = std::get_if<double>(&value)) {
          fits = true;
          cell.Own(DoubleBytes(*v));
        }
        break;
      case ColumnType::kText:
      case ColumnType::kMemo:
        if (const std::u16string* v = std::get_if<std::u16string>(&value)) {
          fits = true;
          if (column.type == ColumnType::kText && v->size() * 2 > column.length) {
            return fail(&column, "text of " + std::to_string(v->size()) +
                                     " characters in a field of " +
                                     std::to_string(column.length / 2));
          }
          const bool compress = column.compressible && (column.type == ColumnType::kText ||
                                                        v->size() <= kMaxCompressedMemoChars);
          auto encoded = EncodeText(*v, compress);
          if (!encoded) return fail(&column, encoded.error().message);
          cell.Own(std::move(encoded).value());
        }
        break;
      case ColumnType::kBinary:
      case ColumnType::kLongBinary:
        if (const auto* v = std::get_if<std::vector<uint8_t>>(&value)) {
          fits = true;
          if (column.type == ColumnType::kBinary && v->size() > column.length) {
            return fail(&column, std::to_string(v->size()) + " bytes in a field of " +
                                     std::to_string(column.length));
          }
          cell.bytes = *v;  // no copy: pictures run to megabytes
        }
        break;
      default:
        return fail(&column,
                    std::string("the writer does not store ") + TypeName(column.type) + " values");
    }
    if (!fits) {
      return fail(&column, std::string(ValueName(value)) + " does not fit a " +
                               TypeName(column.type) + " column");
    }
    if (IsLongValue(column.type)) {
      if (cell.bytes.size() > kMaxLongValue) {
        return fail(&column, "a long value of " + std::to_string(cell.bytes.size()) +
                                 " bytes; at most " + std::to_string(kMaxLongValue) +
                                 " fit its length field");
      }
      cell.inline_long = cell.bytes.size() <= kMaxInlineLongValue;
    }
  }

  // Row size with the current choice of inline long values.
  auto row_size = [&] {
    size_t size = MinimumRowSize(layout);
    for (size_t i = 0; i < cells.size(); ++i) {
      const ColumnLayout& column = layout.columns[i];
      if (!cells[i].present || IsFixedWidth(column.type)) continue;
      size += IsLongValue(column.type)
                  ? kLongValueHeader + (cells[i].inline_long ? cells[i].bytes.size() : 0)
                  : cells[i].bytes.size();
    }
    return size;
  };
  // Short long values move out of a row that would be too large, largest first.
  size_t size = row_size();
  while (size > kMaxTableRow) {
    Cell* largest = nullptr;
    for (Cell& cell : cells) {
      if (cell.present && cell.inline_long && !cell.bytes.empty() &&
          (largest == nullptr || cell.bytes.size() > largest->bytes.size())) {
        largest = &cell;
      }
    }
    if (largest == nullptr) break;
    largest->inline_long = false;
    size = row_size();
  }
  if (size > kMaxTableRow) {
    return fail(nullptr, "the row takes " + std::to_string(size) + " bytes; a row holds at most " +
                             std::to_string(kMaxTableRow));
  }

  const size_t column_count = layout.columns.size();
  std::vector<uint8_t> row(2 + layout.fixed_size, 0);
  StoreU16(row.data(), static_cast<uint16_t>(column_count));
  std::vector<uint16_t> var_offsets(layout.var_count, 0);
  std::vector<uint8_t> null_mask((column_count + 7) / 8, 0);
  // Variable data goes in variable-index order, which is column order here.
  for (size_t i = 0; i < column_count; ++i) {
    const ColumnLayout& column = layout.columns[i];
    Cell& cell = cells[i];
    if (cell.present) null_mask[i / 8] = static_cast<uint8_t>(null_mask[i / 8] | (1u << (i % 8)));
    if (IsFixedWidth(column.type)) {
      if (cell.present && !cell.bytes.empty()) {
        std::memcpy(row.data() + 2 + column.fixed_offset, cell.bytes.data(), cell.bytes.size());
      }
      continue;
    }
    var_offsets[column.var_index] = static_cast<uint16_t>(row.size());
    if (!cell.present) continue;
    if (!IsLongValue(column.type)) {
      row.insert(row.end(), cell.bytes.begin(), cell.bytes.end());
      continue;
    }
    uint8_t header[kLongValueHeader] = {};
    uint8_t kind = 0x80;
    uint32_t pointer = 0;
    if (!cell.inline_long) {
      std::tie(kind, pointer) = StoreLongValue(cell.bytes, long_values->ForColumn(column.number));
    }
    StoreU24(header, static_cast<uint32_t>(cell.bytes.size()));
    header[3] = kind;
    StoreU32(header + 4, pointer);
    row.insert(row.end(), header, header + kLongValueHeader);
    if (cell.inline_long) row.insert(row.end(), cell.bytes.begin(), cell.bytes.end());
  }
  if (layout.var_count > 0) {
    const auto end_of_data = static_cast<uint16_t>(row.size());
    auto push16 = [&](uint16_t v) {
      row.push_back(static_cast<uint8_t>(v));
      row.push_back(static_cast<uint8_t>(v >> 8));
    };
    push16(end_of_data);
    for (size_t k = layout.var_count; k-- > 0;) push16(var_offsets[k]);
    push16(layout.var_count);
  }
  row.insert(row.end(), null_mask.begin(), null_mask.end());
  return row;
}

}  // namespace jet::writer_internal
