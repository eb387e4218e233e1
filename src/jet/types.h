// Column types and values of a Jet 4 database, shared by the reader and the writer.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace jet {

// The type byte of a column as the table definition stores it.
enum class ColumnType : uint8_t {
  kBoolean = 0x01,
  kByte = 0x02,
  kInt16 = 0x03,
  kInt32 = 0x04,
  kCurrency = 0x05,
  kFloat = 0x06,
  kDouble = 0x07,
  kDateTime = 0x08,
  kBinary = 0x09,
  kText = 0x0A,
  kLongBinary = 0x0B,  // OLE object
  kMemo = 0x0C,
  kGuid = 0x0F,
  kNumeric = 0x10,
  kComplex = 0x12,  // attachments and multi-value fields (Access 2007 and later)
};

// Printable name of a column type ("Text", "Long Integer", ...) for messages and tools.
const char* ColumnTypeName(ColumnType type);

// True for the types whose value lives in the fixed part of a row.
constexpr bool IsFixedWidth(ColumnType t) {
  switch (t) {
    case ColumnType::kBoolean:
    case ColumnType::kByte:
    case ColumnType::kInt16:
    case ColumnType::kInt32:
    case ColumnType::kCurrency:
    case ColumnType::kFloat:
    case ColumnType::kDouble:
    case ColumnType::kDateTime:
    case ColumnType::kGuid:
    case ColumnType::kNumeric:
    case ColumnType::kComplex:
      return true;
    default:
      return false;
  }
}

// A value to write into a new table. Text and memo take UTF-16; binary and long binary take
// bytes. std::monostate is null.
using CellValue = std::variant<std::monostate, bool, uint8_t, int16_t, int32_t, double,
                               std::u16string, std::vector<uint8_t>>;

}  // namespace jet
